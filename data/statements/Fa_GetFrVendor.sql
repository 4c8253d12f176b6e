-- Foreign vendor lookup frame (TFaGetFrVendor).

--@ QVendor
SELECT V.Code,V.Currency,V.DueDays,V.OpenAccount, V.CreditLimit,G.TaxCode,T.Rate TaxRate
FROM FrVendor V
Inner Join VendorGroup G On G.Id=V.VendorGroup
Inner Join Tax T On T.Id=G.TaxCode
Where V.Code = :GetCode
