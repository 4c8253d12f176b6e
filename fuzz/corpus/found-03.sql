-- Fr_CurrencyEx QSave
Select C.Id, C.ExchangeDate, M.Description,  C.Currency,
C.PurcScrap, C.PurcPart, C.PurcRate,
C.SaleScrap, C.SalePart, C.SaleRate
From CurrencyEx C
Inner join Misc M on (M.Id = C.Currency)
Where (C.ExchangeDate =:GDATE) AND (C.Currency =:GChar(3)NO)