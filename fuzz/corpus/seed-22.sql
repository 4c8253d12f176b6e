-- U_PurchasePrice2 UPrice.Modify
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