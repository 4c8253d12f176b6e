-- Fr_SimpleSearch QSearch:ImpExpense.Extra
Select Id, Description, Code From ImpExpense Where (Description Like :GetCode) 
And (Code <> '')
Order By Description