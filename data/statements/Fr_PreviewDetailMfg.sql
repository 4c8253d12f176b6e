-- Manufacturing detail window (TFrPreviewDetailMfg).

--@ QGetProdDesc
Select P.*,
       (Select Top 1 UnitName From ProductUnits Where Product = P.Id And SmallUnitFlag = 'Y') UnitName
From Product P
Where P.Code = :GetProdCode

--@ QSearch
Select Hd.WorkDate, Hd.WorkOrderNo, C.Code CusCode, C.Name CusName,
       (Select Code From Product Where Id = Hd.FinishedGoods) FinishedGoodsCode,
       (Select ThaiName From Product Where Id = Hd.FinishedGoods) FinishedGoodsName,
       Coalesce(Hd.Quantity, 0) * (Select Coalesce(Fraction, 0) From ProductUnits Where Id = Hd.ProductUnits) WorkQnty,
       Coalesce((Select Sum(Coalesce(Quantity, 0) * Coalesce(Fraction, 0)) From MFGFinishDt Where WorkOrderHd = Hd.Id And Product = Hd.FinishedGoods), 0) FinishedQnty,
       (Select UnitName From ProductUnits Where Product = Hd.FinishedGoods And SmallUnitFlag = 'Y') UnitName,
       M.description TypeName,so.sono,
       ( Coalesce(Hd.Quantity, 0) * (Select Coalesce(Fraction, 0) From ProductUnits Where Id = Hd.ProductUnits)
         - 
         Coalesce((Select Sum(Coalesce(Quantity, 0) * Coalesce(Fraction, 0)) From MFGFinishDt Where WorkOrderHd = Hd.Id And Product = Hd.FinishedGoods), 0)
       ) WorkQntyOnHand
From WorkOrderHd Hd
Inner Join Customer C On (C.Id = Hd.Customer)
Left Join SoHd so on (so.id=Hd.sohd)
inner join product p on (p.id= Hd.FinishedGoods)
inner join misc m on (m.id=p.ptype)
Left Join BomHd B On (Hd.BomHd = B.Id)
Where (Hd.Clear <> 'Y') And (Hd.Delflag = 'N')
      And(P.Code = :GetProdCode)
Order by FinishedGoodsCode, Hd.WorkDate
