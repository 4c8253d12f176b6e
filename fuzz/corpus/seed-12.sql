-- Fr_Search DelSQL:SOHD
Delete From SoShip Where SoHd=0