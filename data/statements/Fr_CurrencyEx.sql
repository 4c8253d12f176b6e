-- Currency exchange rates (TFrCurrencyEx): the rate grid, the writing data set, the delete
-- of a date and the window's own schema script.

--@script SQLUpdate
If Not Exists (Select Name From SysColumns Where Id = (Select Id From SysObjects Where Name = 'CurrencyEx') And Name = 'PurcScrap')
Begin
  Alter Table CurrencyEx Add PurcScrap Decimal(20,6), PurcPart Decimal(20,6), SaleScrap Decimal(20,6), SalePart Decimal(20,6)
End

--@ QRate
Select M.Orderno, C.Id,C.ExchangeDate,M.Id MCurrency,
M.DesCription Description,
Coalesce(Cast(C.PurcScrap As Float),0.0000000) PurcScrap ,
Coalesce(Cast(C.PurcPart As Float),0.0000000) PurcPart ,
Coalesce(Cast(C.PurcRate As Float),0.0000000) PurcRate ,
Coalesce(Cast(C.SaleScrap As Float),0.0000000) SaleScrap,
Coalesce(Cast(C.SalePart As Float),0.0000000) SalePart,
Coalesce(Cast(C.SaleRate As Float),0.0000000) SaleRate
From Misc M
Left join CurrencyEx C on (M.Id = C.Currency) AND (C.ExchangeDate =:GDATE)
Where (M.GroupCode = 'CURRENCY')
Order By M.Orderno

--@ QSave
Select C.Id, C.ExchangeDate, M.Description,  C.Currency,
C.PurcScrap, C.PurcPart, C.PurcRate,
C.SaleScrap, C.SalePart, C.SaleRate
From CurrencyEx C
Inner join Misc M on (M.Id = C.Currency)
Where (C.ExchangeDate =:GDATE) AND (C.Currency =:GNO)

--@ USave.Insert
insert into CurrencyEx
  (ExchangeDate, Currency, PurcScrap, PurcPart, PurcRate, SaleScrap, SalePart, 
   SaleRate)
values
  (:ExchangeDate, :Currency, :PurcScrap, :PurcPart, :PurcRate, :SaleScrap, 
   :SalePart, :SaleRate)

--@ USave.Modify
update CurrencyEx
set
  ExchangeDate = :ExchangeDate,
  Currency = :Currency,
  PurcScrap = :PurcScrap,
  PurcPart = :PurcPart,
  PurcRate = :PurcRate,
  SaleScrap = :SaleScrap,
  SalePart = :SalePart,
  SaleRate = :SaleRate
where
  Id = :OLD_Id

--@ QDelete
Delete From CurrencyEx
Where (ExchangeDate =:GDATE)
