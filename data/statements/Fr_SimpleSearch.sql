-- Simple search (TFrSimpleSearch, DM.ShowSimpleSearch): the statement is built from the
-- caption, code column, description column, extra condition and table the caller gives.

--@fragment QSearch.Select
Select Id, 

--@fragment QSearch.Order
Order By 

--@ QSearch:ImpExpense
Select Id, Description, Code From ImpExpense Where (Description Like :GetCode) 
Order By Description

--@ QSearch:ImpExpense.Extra
Select Id, Description, Code From ImpExpense Where (Description Like :GetCode) 
And (Code <> '')
Order By Description

--@ QSearch:ImpExpense.SortDesc
Select Id, Description, Code From ImpExpense Where (Description Like :GetCode) 
Order By 2 Desc

--@ QSearch:ImportLotNo
Select Id, Description, Code From ImportLotNo Where (Description Like :GetCode) 
Order By Description

--@ QSearch:ImportLotNo.Extra
Select Id, Description, Code From ImportLotNo Where (Description Like :GetCode) 
And (Code <> '')
Order By Description

--@ QSearch:ImportLotNo.SortDesc
Select Id, Description, Code From ImportLotNo Where (Description Like :GetCode) 
Order By 2 Desc
