-- Fr_SearchProductService QSearch:Layout8
select P.id,p.code,p.thainame,P.ProductType, P.Picture1, P.TechNicName1, P.TechNicName2, P.Remark, 
       Coalesce(o.onhand, ' ' + (Select Top 1 UnitName From ProductUnits Where Product = P.Id and Fraction=1)) Onhand, Coalesce(O.WorkOrderOH,'') WorkOrderOH, Coalesce(O.PreIsQty,'')PreIsQty,  
       Coalesce(O.WKIsQty,'')WKIsQty, Coalesce(O.OH_WKIsQty,'')OH_WKIsQty, 
       (Ltrim(Rtrim(Convert(Char(28),(Convert(Decimal(28,2),BackOrder)))))  
       ) + ' ' + (Select Top 1 UnitName From ProductUnits Where Product = P.Id And SmallUnitFlag = 'Y') Backorder, 
       (Ltrim(Rtrim(Convert(Char(28),(Convert(Decimal(28,2),Coalesce(Bs.BackSendOrder,0)))))) 
       ) + ' ' + (Select Top 1 UnitName From ProductUnits Where Product = P.Id And SmallUnitFlag = 'Y') BackSendOrder 
       ,P.Remark ProdRemark 
from product p
left join ProductonhandMFG o on o.product=p.id
Left Join (select M.Product, Sum(M.BackOrder) BackOrder
           From( 
                 Select S.Product, (S.Quantity * S.Fraction) BackOrder
                 From SoDt S
                 Where (S.Clear <> 'Y') And S.SoHd Not In (Select Coalesce(SoHd,0) From PosHeader)
                 Union All
                 Select V.Product, -(V.Quantity * V.Fraction) BackOrder
                 From IvDt V
                 Inner Join Ivhd H On (H.Id = V.Ivhd) 
                 Where (H.IvType = 'B') And V.SoDt = (select S.Id from SoDt S Where S.Clear <> 'Y' And S.Id = V.SoDt)
                 Union All
                 Select V.Product, -(V.Quantity * V.Fraction) BackOrder
                 From IvDt V
                 Inner Join Ivhd H On (H.Id = V.Ivhd) 
                 Where (H.IvType <> 'B') And (Coalesce(IvDtB,0) = 0) And V.SoDt = (select S.Id from SoDt S Where S.Clear <> 'Y' And S.Id = V.SoDt)
               ) As M
           Group By M.Product    
           ) As B On (B.Product = P.Id)
Left Join (select Bs.Product, Sum(Bs.BackSendOrder) BackSendOrder 
           From(  
                 Select Po.Product, (Po.Quantity * Po.Fraction) BackSendOrder   
                 From PoDt Po  
                 Where (Po.Clear <> 'Y') 
                 Union All          
                 Select D.Product, -(D.Quantity * D.Fraction) BackSendOrder  
                 From MrDt D  
                 Inner Join Mrhd H On (H.Id = D.Mrhd)  
                  Where D.PoDt = (select Po.Id from PoDt Po Where PO.Clear <> 'Y' And Po.Id = D.PoDt)  
                ) As Bs       
           Group By Bs.Product  
           ) As Bs On (Bs.Product = P.Id)     
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
Order By P.Code