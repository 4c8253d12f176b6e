-- Company database module (TDM): company options, currency list, audit log, lists.

--@ QConfig
SELECT * ,(Select M.Code From Misc M Where M.Id = MainCurrencyId) MainCurrencyCode ,(Select M.Description From Misc M Where M.Id = MainCurrencyId) MainCurrencyName ,(Select M.Code From Misc M Where M.Id = InternationalCurrencyId) InternationalCurrencyCode ,(Select M.Description From Misc M Where M.Id = InternationalCurrencyId) InternationalCurrencyName FROM Config

--@ QchkPeriod
select  * from accountperiod order by accountyear desc

--@ QMiscCurrency
Select M.*, C.PurcScrap, C.PurcPart, C.PurcRate, C.SaleScrap, C.SalePart, C.SaleRate From Misc M Left Join (Select Currency, PurcScrap, PurcPart, PurcRate, SaleScrap, SalePart, SaleRate From (Select RANK()Over ( Order BY C.ExchangeDate Desc) AS RowNumber, C.Currency, C.PurcScrap,  C.PurcPart,  C.PurcRate, C.SaleScrap,  C.SalePart , C.SaleRate From CurrencyEx C ) As C Where RowNumber = 1 ) As C On (C.Currency = M.Id) Where M.GroupCode = 'CURRENCY' Order by M.OrderNo

--@procedure SpAddLog
UserAddLog
@UserId in integer
@MenuId in integer
@FunctionListId in integer
@DocumentId in integer
@Remark in string

--@ QProvince
select id,code,description,groupcode from misc where groupcode='CITY' order by code

--@ QTransport
Select Id, Code, Description, GroupCode From Misc Where (GroupCode = 'TRANSPORT') Order By Code

--@ QTax
SELECT Id, Code, Rate FROM Tax Order By Code

--@ QSalesman
Select Id,Code,Name From Salesman order by code

--@ QPriceLevel
Select Id, Code, Description, GroupCode From Misc Where (GroupCode = 'PRICETYPE') Order By Code

--@ QTaxRate
Select Rate From Tax Where (Id = :GetCode)

--@ QUnitFraction
SELECT U.UnitName LUnit, U.Fraction, M.UnitName SUnit, U.Product IdProd FROM ProductUnits U Inner Join ProductUnits M On ((U.Product = M.Product) And (M.SmallUnitFlag = 'Y')) Where (U.Id = :GetUnit)

--@ QNewId
SELECT @@IDENTITY AS 'New_Id'

--@ QAcID
select accountchart from accountinterface where id=:inputid

--@procedure SpNextDocNo
NewDocumentNo
@DocCode in string
@DocYear in integer
@NewNo out integer

--@procedure SpServerTime
ServerTime
@ServerTime out datetime
