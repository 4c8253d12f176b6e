-- Search form base (TFrSearch): the hidden hard delete of a cancelled document (DelSQL).
-- The fragments end where the window appends the document id in decimal.

--@fragment DelSQL.IvShip
Delete From IvShip Where IvHd=

--@fragment DelSQL.SoShip
Delete From SoShip Where SoHd=

--@fragment DelSQL.Document
Delete From 

--@fragment DelSQL.DocumentId
 Where Id=

--@ DelSQL:IVHD
Delete From IvShip Where IvHd=0
Delete From IVHD Where Id=0

--@ DelSQL:SOHD
Delete From SoShip Where SoHd=0
Delete From SOHD Where Id=0
