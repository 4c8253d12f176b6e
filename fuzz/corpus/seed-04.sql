-- Dm_Product QChkPartSource
Select V.Id, V.Product, V.ProductUnits, 
  V.PurchaseCode, V.PurchaseName,
  P.Code, P.ThaiName, U.UnitName, U.Fraction, U.BarCode
From PartSource V
Inner Join Product P On (P.Id = V.Product)
Inner Join ProductUnits U On (U.Id = V.ProductUnits)
Where (V.PurchaseCode = :GetCode) And (V.Vendor = :GetVId)