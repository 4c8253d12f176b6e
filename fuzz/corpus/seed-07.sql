-- Fr_CopyExchange QDate
Select ExchangeDate
From CurrencyEx
Group By ExchangeDate
Order By 1