-- Vendor group search (TFrSearchVendorGroup).

--@ QSearch
SELECT Code, Name
FROM VendorGroup
Where (Name Like :GetName)
Order By Code
