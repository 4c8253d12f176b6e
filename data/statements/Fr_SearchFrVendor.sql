-- Foreign vendor search (TFrSearchFrVendor).

--@ QSearch
SELECT V.Name, V.Code, M.Description Country, C.Description Currency
FROM FrVendor V
Inner Join Misc M On (V.Country = M.Id)
Inner Join Misc C On (V.Currency = C.Id)
WHERE (V.Name Like :GetCode)
Order By V.Name
