-- Fr_SearchProductService QSearch:Layout8
select P.id,p.code,p.thainame,P.ProductType, P.Picture1, P.TechNicName1, P.TechNicName2, P.Remark, 
       Coalesce(o.onhand, ' ' + (Select Top 1 UnitName From ProductUnits Where Product = P.Id and Fraction=1)) Onhand, Coalesce(O.WorkOrderOH,'') WorkOrderOH, Coalesce(O.PreIsQty,'')PreIsQty,  
       Coalesce(O.WKIsQty,'')WKIsQty, Coalesce(O.OH_WKIsQty,'')OH_WKIsQty, 
       (Ltrim(Rtrim(Convert(Char(28),(Convert(Decimal(28,2),BackOrder)))))  
       ) + ' ' + (Select Top 1 UnitName From ProductUnits Where Product = P.Id And SmallUnitFlag = 'Y') Backorder, 
       (Ltrim(Rtrim(Convert(Char(28),(Convert(Dpe <> 'B') And (Coalesce(IvDtB,0) = 0) And V.SoDt = (selProduct, Sum(Bs.BackSendOrder) BackSendOrder 
           From        Select Po.Product, (Po.Quantity * 