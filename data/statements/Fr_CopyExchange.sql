-- Copy of exchange rates (TFrCopyExchange).

--@ QDate
Select ExchangeDate
From CurrencyEx
Group By ExchangeDate
Order By 1

--@ QDelete
Delete From CurrencyEx
Where (ExchangeDate =:GDATE)

--@ QSource
Select Id,ExchangeDate,Currency,PurcRate,SaleRate
From CurrencyEx
Where (ExchangeDate =:GDATE)
Order By 1

--@ QTarget
Select Id,ExchangeDate,Currency,PurcRate,SaleRate
From CurrencyEx
Where (ExchangeDate =:GDATE) AND (Currency =:GCODE)
Order By 1

--@ UTarget.Insert
insert into CurrencyEx
  (ExchangeDate, Currency, PurcRate, SaleRate)
values
  (:ExchangeDate, :Currency, :PurcRate, :SaleRate)
