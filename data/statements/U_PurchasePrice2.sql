-- Vendor part-source price table (TF_PurchasePrice2).

--@ QPrice
Select P.Code,P.Thainame,U.Unitname,F.Id,F.Purchasecode,F.Purchasename,
          F.Discountstr,F.Price,F.FrVendor,F.Product,F.Productunits,
	  F.Currency,M.Code,M.Description
From FrPartSource F
Inner join product P on (P.id=F.product)
Inner join productunits U on (U.id=F.productunits)
Inner Join Misc M on (M.Id = F.Currency) AND (GroupCode = 'CURRENCY')
Where (F.FrVendor =:GVENDOR)

--@ UPrice.Modify
update FrPartSource
set
  Purchasecode = :Purchasecode,
  Purchasename = :Purchasename,
  Discountstr = :Discountstr,
  Price = :Price,
  FrVendor = :FrVendor,
  Product = :Product,
  Productunits = :Productunits,
  Currency = :Currency
where
  Id = :OLD_Id

--@ UPrice.Insert
insert into FrPartSource
  (Purchasecode, Purchasename, Discountstr, Price, FrVendor, Product, Productunits, 
   Currency)
values
  (:Purchasecode, :Purchasename, :Discountstr, :Price, :FrVendor, :Product, 
   :Productunits, :Currency)

--@ UPrice.Delete
delete from FrPartSource
where
  Id = :OLD_Id

--@ QNULL
Select id 
From nulltable

--@ QCURRENCY
Select Id,Code,Description
From MISC
Where (GroupCode = 'CURRENCY') AND (Code =:GNO)
