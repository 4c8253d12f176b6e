-- Product search dialog (TFrSearchProductService): the select parts by the company option
-- SearchProductNo, the back-order blocks, and the statements the search builds from them.
-- In Select.4 the window puts the RunYear option as text where {RunYear} stands.

--@fragment Select.0
Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType ,P.Picture1
From ProductView P

--@fragment Select.1
Select P.Id, P.Code, P.ThaiName, U.UnitDesc Remark, P.ProductType, P.Picture1
From Product P
Inner Join ProductUnits U On U.Product=P.Id

--@fragment Select.2
Select P.Id, P.Code,
P.ThaiName,P.Remark, P.ProductType ,P.Picture1 From ProductView P

--@fragment Select.3
Select P.Id, P.Code, P.ThaiName,
P.ProductType, P.Picture1,
 (Select I.MemoDesc From ProductInFo I Where (I.Misc = (Select Material From WorkId)) AND (I.Product = P.Id))
+' - '+
(Select I.MemoDesc From ProductInFo I Where (I.Misc = (Select Model From WorkId)) AND (I.Product = P.Id))
 AS Remark
 From Product P

--@fragment Select.4
select p.id,p.code,p.thainame,P.ProductType, P.Picture1,
       coalesce(c.code,'no') Field01 ,
       coalesce(d.code,'no') Field02 ,
       str(coalesce(x.price,0)) Price , 
       u.unitname , 
       (select coalesce(str(coalesce(sum(quantity),0)),'0') 
        from productonhand o
        where  (o.product=p.id) and (o.productunits=u.id) and (o.balanceyear={RunYear}) ) Qnty
from product p
inner join productunits u on u.product=p.id
left  join productprice x on x.product=p.id and x.productunits=u.id and x.pricetype=19
left  join productattr  a on a.product=p.id and a.prodattrgroup=3
left  join prodattrcode c on c.id=a.prodattrcode
left  join productattr  b on b.product=p.id and b.prodattrgroup=5
left  join prodattrcode d on d.id=b.prodattrcode

--@fragment Head
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

--@fragment BackOrder.B1
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

--@fragment BackOrder.B2
                 Select 1 T, S.Product, (S.Quantity * S.Fraction) BackOrder
                 From SoDt S
                 Union All
                 Select 2 T, V.Product, (V.Quantity * V.Fraction) BackOrder
                 From IvDt V
                 Inner Join Ivhd H On (H.Id = V.Ivhd) 
                 Where (H.NotCutStock = 'Y') And Coalesce(V.SoDt,0) = 0
                 Union All
                 Select 3 T, V.Product, -(V.Quantity * V.Fraction) BackOrder
                 From IvDt V
                 Inner Join Ivhd H On (H.Id = V.Ivhd) 
                 Where (H.NotCutStock = 'N') And ((Coalesce(V.SoDt,0) > 0) Or (Coalesce(V.IvDtB,0) > 0))

--@fragment Tail
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

--@ QSearch:Layout0
Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType ,P.Picture1
From ProductView P
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
Order By P.Code

--@ QSearch:Layout1
Select P.Id, P.Code, P.ThaiName, U.UnitDesc Remark, P.ProductType, P.Picture1
From Product P
Inner Join ProductUnits U On U.Product=P.Id
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
Order By P.Code

--@ QSearch:Layout2
Select P.Id, P.Code,
P.ThaiName,P.Remark, P.ProductType ,P.Picture1 From ProductView P
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
Order By P.Code

--@ QSearch:Layout3
Select P.Id, P.Code, P.ThaiName,
P.ProductType, P.Picture1,
 (Select I.MemoDesc From ProductInFo I Where (I.Misc = (Select Material From WorkId)) AND (I.Product = P.Id))
+' - '+
(Select I.MemoDesc From ProductInFo I Where (I.Misc = (Select Model From WorkId)) AND (I.Product = P.Id))
 AS Remark
 From Product P
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
Order By P.Code

--@ QSearch:Layout4
select p.id,p.code,p.thainame,P.ProductType, P.Picture1,
       coalesce(c.code,'no') Field01 ,
       coalesce(d.code,'no') Field02 ,
       str(coalesce(x.price,0)) Price , 
       u.unitname , 
       (select coalesce(str(coalesce(sum(quantity),0)),'0') 
        from productonhand o
        where  (o.product=p.id) and (o.productunits=u.id) and (o.balanceyear=2026) ) Qnty
from product p
inner join productunits u on u.product=p.id
left  join productprice x on x.product=p.id and x.productunits=u.id and x.pricetype=19
left  join productattr  a on a.product=p.id and a.prodattrgroup=3
left  join prodattrcode c on c.id=a.prodattrcode
left  join productattr  b on b.product=p.id and b.prodattrgroup=5
left  join prodattrcode d on d.id=b.prodattrcode
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
Order By P.Code

--@ QSearch:Layout5
Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType ,P.Picture1
From ProductView P
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
Order By P.Code

--@ QSearch:Layout6
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

--@ QSearch:Layout7
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

--@ QSearch:Layout8
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

--@ QSearch:Layout9
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
                 Select 1 T, S.Product, (S.Quantity * S.Fraction) BackOrder
                 From SoDt S
                 Union All
                 Select 2 T, V.Product, (V.Quantity * V.Fraction) BackOrder
                 From IvDt V
                 Inner Join Ivhd H On (H.Id = V.Ivhd) 
                 Where (H.NotCutStock = 'Y') And Coalesce(V.SoDt,0) = 0
                 Union All
                 Select 3 T, V.Product, -(V.Quantity * V.Fraction) BackOrder
                 From IvDt V
                 Inner Join Ivhd H On (H.Id = V.Ivhd) 
                 Where (H.NotCutStock = 'N') And ((Coalesce(V.SoDt,0) > 0) Or (Coalesce(V.IvDtB,0) > 0))
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

--@ QSearch:Kind0
Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType ,P.Picture1
From ProductView P
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
And (P.ProductType <> 'S') And (ProductType <> 'M')
Order By P.Code

--@ QSearch:Kind1
Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType ,P.Picture1
From ProductView P
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
And (P.ProductType = 'S')
Order By P.Code

--@ QSearch:Kind2
Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType ,P.Picture1
From ProductView P
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
And (P.ProductType = 'M')
Order By P.Code

--@ QSearch:Kind3
Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType ,P.Picture1
From ProductView P
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
And (P.ProductType = 'R')
Order By P.Code

--@ QSearch:Kind4
Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType ,P.Picture1
From ProductView P
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
And (P.ProductType In ('T','F','R','C','M'))
Order By P.Code

--@ QSearch:AllConditions
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
Where (P.Code Like 'FAN%') And (P.ThaiName Like '%พัดลม%')
And (P.MasterCode ='N') 
And (P.ProductType <> 'S') And (ProductType <> 'M')
And (P.Size_W = 10)
And (P.Size_L = 20)
And (P.Size_H = 30)
And (P.PType = 1)
And (P.PGroup = 1)
And (P.Id In (Select Product From ProductAttribute Where (GroupCode Between 'BRSIAM' And 'BRTOOLMAN')))
 And (P.productgroup = (select id from productgroup where code='0' and producttype<>'S'))
Order By P.Code

--@ QSearch:StartsWith
Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType ,P.Picture1
From ProductView P
Where (P.Code Like 'FAN%') And (P.ThaiName Like 'พัดลม%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
Order By P.Code
