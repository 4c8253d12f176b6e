-- Foreign customer search (TFrSearchFrCustomer).

--@ QSearch
SELECT C.Id, C.Name, C.Code, M.Description Country, N.Description Currency
FROM FrCustomer C
Inner Join Misc M On (C.Country = M.Id)
Inner Join Misc N On (C.Currency = N.Id)
WHERE (C.Name Like :GetCode)
Order By C.Name
