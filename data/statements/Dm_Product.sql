-- Product services (TDmProduct): checks, unit lookups, prices and stock quantities.
-- Line 6 of QChkProduct and line 3 of QChkWarehouse are replaced at every call (the variants).

--@ QChkProduct
SELECT P.Id, P.Code, P.ThaiName, P.EngName, P.PosName, P.ProductType,P.PriceIE ,P.PrintFrac,
  P.UseSerial, P.LotControl, P.TaxCode, P.DefaultWh, P.PriceByVolumn,P.Discount,W.flagin,w.flagout,
  P.VolumnUnit, T.Rate TaxRate, W.Code WhCode, W.Name WhName,P.Blocked,P.Negative, Coalesce(P.ProductFree,'N')ProductFree,
  P.Size_W,P.Size_L,P.Size_H,P.CartonsUnits,P.Cartons,P.NetWeight,P.GrossWeight, P.ProductDesc, Coalesce(P.CheckSerialPurc,'N')CheckSerialPurc, Coalesce(P.CheckSerialSale,'N')CheckSerialSale, Coalesce(P.CheckSerialStock,'N')CheckSerialStock,  Coalesce(P.CheckSerialOnhand,'N')CheckSerialOnhand, Coalesce(P.PerDiscountOver,0)PerDiscountOver
FROM Product P
INNER JOIN Tax T On (T.Id = P.TaxCode)
INNER JOIN Warehouse W On (W.Id = P.DefaultWh)  /*ห้ามย้าย Line 6*/
WHERE (P.Code = :GetCode) AND (Coalesce(P.Blocked,'N') <> 'Y')  And (Coalesce(P.MasterCode,'N')<>'Y')
/*     And  (ProductType <> 'S') And (P.ProductType <> 'M') */
/* ห้ามย้ายบรรทัด */

--@ QChkProduct:Inner
SELECT P.Id, P.Code, P.ThaiName, P.EngName, P.PosName, P.ProductType,P.PriceIE ,P.PrintFrac,
  P.UseSerial, P.LotControl, P.TaxCode, P.DefaultWh, P.PriceByVolumn,P.Discount,W.flagin,w.flagout,
  P.VolumnUnit, T.Rate TaxRate, W.Code WhCode, W.Name WhName,P.Blocked,P.Negative, Coalesce(P.ProductFree,'N')ProductFree,
  P.Size_W,P.Size_L,P.Size_H,P.CartonsUnits,P.Cartons,P.NetWeight,P.GrossWeight, P.ProductDesc, Coalesce(P.CheckSerialPurc,'N')CheckSerialPurc, Coalesce(P.CheckSerialSale,'N')CheckSerialSale, Coalesce(P.CheckSerialStock,'N')CheckSerialStock,  Coalesce(P.CheckSerialOnhand,'N')CheckSerialOnhand, Coalesce(P.PerDiscountOver,0)PerDiscountOver
FROM Product P
INNER JOIN Tax T On (T.Id = P.TaxCode)
Inner Join Warehouse W On (W.Id = P.DefaultWh) 
WHERE (P.Code = :GetCode) AND (Coalesce(P.Blocked,'N') <> 'Y')  And (Coalesce(P.MasterCode,'N')<>'Y')
/*     And  (ProductType <> 'S') And (P.ProductType <> 'M') */
/* ห้ามย้ายบรรทัด */

--@ QChkProduct:UserWarehouse
SELECT P.Id, P.Code, P.ThaiName, P.EngName, P.PosName, P.ProductType,P.PriceIE ,P.PrintFrac,
  P.UseSerial, P.LotControl, P.TaxCode, P.DefaultWh, P.PriceByVolumn,P.Discount,W.flagin,w.flagout,
  P.VolumnUnit, T.Rate TaxRate, W.Code WhCode, W.Name WhName,P.Blocked,P.Negative, Coalesce(P.ProductFree,'N')ProductFree,
  P.Size_W,P.Size_L,P.Size_H,P.CartonsUnits,P.Cartons,P.NetWeight,P.GrossWeight, P.ProductDesc, Coalesce(P.CheckSerialPurc,'N')CheckSerialPurc, Coalesce(P.CheckSerialSale,'N')CheckSerialSale, Coalesce(P.CheckSerialStock,'N')CheckSerialStock,  Coalesce(P.CheckSerialOnhand,'N')CheckSerialOnhand, Coalesce(P.PerDiscountOver,0)PerDiscountOver
FROM Product P
INNER JOIN Tax T On (T.Id = P.TaxCode)
Left Join Warehouse W On (W.Id = P.DefaultWh)  And W.Id In (Select Warehouse From UserWarehouse Where UserName = 1 )
WHERE (P.Code = :GetCode) AND (Coalesce(P.Blocked,'N') <> 'Y')  And (Coalesce(P.MasterCode,'N')<>'Y')
/*     And  (ProductType <> 'S') And (P.ProductType <> 'M') */
/* ห้ามย้ายบรรทัด */

--@ QSpecialName
Select P.Id, P.Code,
       ltrim(rtrim(P.ThaiName)) ThaiName,
       P.Remark, P.ProductType ,P.Picture1 
From ProductView P
WHERE (P.Code = :GetCode) AND (P.Blocked <> 'Y') 

--@ QChkBarCode
Select U.Id, U.BarCode, U.Fraction, U.UnitName,
  U.PurcFlag, U.SaleFlag, U.SmallUnitFlag, U.StockUnitFlag,
  P.Id ProductId, P.Code, P.ThaiName, P.EngName, P.PosName, 
  P.UseSerial, P.LotControl, P.TaxCode, P.DefaultWh, 
  U.PurcPrice, U.LabourCost, U.VolumnFraction,
  T.Rate TaxRate, 
  W.Code WhCode, W.Name WhName,
  (Select Pp.Price from ProductPrice Pp Where pp.ProductUnits = U.Id And pp.PriceType = 19) price, Coalesce(P.PerDiscountOver,0)PerDiscountOver
From ProductUnits U
Inner Join Product P On (P.Id = U.Product)
Inner Join Tax T On (T.Id = P.TaxCode)
Inner Join Warehouse W On (W.Id = P.DefaultWh)
Where (U.BarCode = :GetCode) AND (P.Blocked <> 'Y') And (U.BarCode Is Not Null)

--@ QChkUnit
SELECT Id, UnitName, Fraction, VolumnFraction,BarCode,PurcPrice,LabourCost
From ProductUnits
Where (Product = :GetProduct) And (UnitName = :GetUnit) And
  ((SaleFlag Like :SaleUnit) Or (PurcFlag Like :PurcUnit) Or
   (SmallUnitFlag Like :SmallUnit) Or (StockUnitFlag Like :StockUnit))

--@ QDefaultUnit
SELECT U.Id, U.UnitName, U.Fraction, U.BarCode, U.VolumnFraction,U.PurcPrice
FROM ProductUnits U
WHERE (U.Product = :GetId) And
  (U.SaleFlag Like :SaleUnit) And (U.PurcFlag Like :PurcUnit) And
  (U.SmallUnitFlag Like :SmallUnit) And (U.StockUnitFlag Like :StockUnit)
Order By U.Fraction

--@ QStockUnit
SELECT U.Id, U.UnitName, U.Fraction, U.BarCode, U.VolumnFraction
FROM ProductUnits U
WHERE (U.Product = :GetId) And (U.StockUnitFlag='Y')

--@ QSmallUnit
SELECT U.Id, U.UnitName, U.Fraction, U.BarCode, U.VolumnFraction
FROM ProductUnits U
WHERE (U.Product = :GetId) And (U.SmallUnitFlag='Y')

--@ QChkLotNo
SELECT Id, Code, HasExpired, ExpiredDate
FROM LotNo
WHERE (Code = :GetCode)

--@ QChkLotOnHand
SELECT Sum(L.Quantity) LotQnty
FROM LotOnHand L
WHERE (L.Product = :GetProduct) And
  (L.LotNo = :GetLotNo) And (L.BalanceYear <= :GetYear) And (L.Warehouse = :GetWarehouse)

--@ QCreateSerialNo
Declare @SerialId IdNo

If Exists (Select Id From product Where Id = :ProductId And UseSerial = 'Y' And CheckSerialOnhand = 'N')
   Exec CreateSerialNo :ProductId, :SerialCode, @SerialId Output
select  @SerialId

--@ QChkSerial
SELECT Id, Serial, OnHand
FROM SerialNo
WHERE (Product = :GetProduct) And (Serial = :GetSerial)

--@ QChkWarehouse
SELECT W.Id, W.Code, W.Name,W.islocation
FROM WareHouse W
WHERE (W.Code = :GetCode)
     /*ห้ามย้าย Line 3*/

--@ QChkWarehouse:All
SELECT W.Id, W.Code, W.Name,W.islocation
FROM WareHouse W
WHERE (W.Code = :GetCode)


--@ QChkWarehouse:UserWarehouse
SELECT W.Id, W.Code, W.Name,W.islocation
FROM WareHouse W
WHERE (W.Code = :GetCode)
 And W.Id In (Select Warehouse From UserWarehouse Where UserName = 1 )

--@ QChkProdAttrCode
SELECT C.Id, C.ProdAttrGroup, C.Code, C.Description
FROM ProdAttrCode C
WHERE (C.prodAttrGroup = :GetGroup) And (C.Code = :GetCode)

--@ QChkProjectItemCode
select id,code
from projectitemhd
where project=:projectid and code=:code

--@ QPriceStandard
Select PurcPrice,LabourCost
From ProductUnits
Where (Id = :GetId)

--@ QExistsPartSource
SELECT Id, Price, PurchaseCode, PurchaseName, DiscountStr,
  lastprice, lastdoccode, lastdocno, lastdate
FROM PartSource
Where (ProductUnits = :GetId) And (Vendor = :GetVId)

--@ QChkPartSource
Select V.Id, V.Product, V.ProductUnits, 
  V.PurchaseCode, V.PurchaseName,
  P.Code, P.ThaiName, U.UnitName, U.Fraction, U.BarCode
From PartSource V
Inner Join Product P On (P.Id = V.Product)
Inner Join ProductUnits U On (U.Id = V.ProductUnits)
Where (V.PurchaseCode = :GetCode) And (V.Vendor = :GetVId)

--@ QSerialNo
SELECT Id, Product, Serial, OnHand
FROM SerialNo
WHERE (Serial = :GetCode)

--@ USerialNo.Modify
update SerialNo
set
  Product = :Product,
  Serial = :Serial,
  OnHand = :OnHand
where
  Id = :OLD_Id

--@ USerialNo.Insert
insert into SerialNo
  (Product, Serial, OnHand)
values
  (:Product, :Serial, :OnHand)

--@ USerialNo.Delete
delete from SerialNo
where
  Id = :OLD_Id

--@ QProductPrice
SELECT Price
FROM ProductPrice
Where (Product = :GetProduct) And (ProductUnits = :GetUnits) And (PriceType = :GetType)

--@ QStockUnitPrice
SELECT P.Price,U.Fraction,U.Id
FROM ProductPrice P
Inner Join ProductUnits U On (U.Product=P.Product) And (U.StockUnitFlag='Y') And (U.Id=P.ProductUnits)
Where (P.Product = :GetProduct)  And (P.PriceType = :GetType) 

--@ QCustomerProductPrice
select price,quantity,discount
from customerproductprice
where customer=:cid and product=:pid and productunits=:uid

--@ QPromotion
select price,discpercent
from promotion_dt
where product=:pid and productunits=:uid and pricetype=:tid and customer=:cid
           and (:pdate between startdate and stopdate)
order by id desc

--@ QProjectPrice
select price,discount
from CustomerProductPriceProject
where product=:pid and productunits=:uid and customer=:cid
           and project=:projectid

--@ QPriceVendor
select price
from partsource
where (product = :pid) and (vendor = :vid) and (productunits = :uid)

--@ QOnHand
select coalesce(Cast(sum(Cast(o.quantity As Decimal(30, 2)))  As Decimal(30, 2)),0.00) qnty, 
           (select fraction     from productunits where product=:pid and stockunitflag='Y') stockunitfrac,
           (select unitname from productunits where product=:pid and stockunitflag='Y') stockunitname,
           (select fraction    from productunits where product=:pid and smallunitflag='Y') smallunitfrac,
           (select unitname from productunits where product=:pid and smallunitflag='Y') smallunitname
from productonhand o
inner join warehouse w on w.id=o.warehouse
where (o.product = :pid) and (o.balanceyear = :yid)  

--@ QOnhandWH
select coalesce(Cast(sum(Cast(o.quantity As Decimal(30, 2)))  As Decimal(30, 2)),0.00) qnty, 
           (select fraction     from productunits where product=:pid and stockunitflag='Y') stockunitfrac,
           (select unitname from productunits where product=:pid and stockunitflag='Y') stockunitname,
           (select fraction    from productunits where product=:pid and smallunitflag='Y') smallunitfrac,
           (select unitname from productunits where product=:pid and smallunitflag='Y') smallunitname
from productonhand o
inner join warehouse w on w.id=o.warehouse
where (o.product = :pid) and (o.balanceyear = :yid) and (o.warehouse = :wid)

--@ QOnhandWHunits
select coalesce(sum(o.quantity),0) qnty , 
           (select fraction     from productunits where product=:pid and stockunitflag='Y') stockunitfrac,
           (select unitname from productunits where product=:pid and stockunitflag='Y') stockunitname,
           (select fraction    from productunits where product=:pid and smallunitflag='Y') smallunitfrac,
           (select unitname from productunits where product=:pid and smallunitflag='Y') smallunitname
from productonhand o
inner join warehouse w on w.id=o.warehouse
where (o.product = :pid) and (o.productunits=:uid) and (o.balanceyear = :yid) and (o.warehouse = :wid) and (w.code<>'RMA')

--@ QShowQnty
select (select fraction     from productunits where product=:pid and stockunitflag='Y') stockunitfrac,
           (select unitname from productunits where product=:pid and stockunitflag='Y') stockunitname,
           (select fraction    from productunits where product=:pid and smallunitflag='Y') smallunitfrac,
           (select unitname from productunits where product=:pid and smallunitflag='Y') smallunitname
from product o
where (o.id = :pid) 
