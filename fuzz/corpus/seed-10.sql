-- Fr_ImportExpense QMaster
SELECT Id, Code, Description
FROM ImpExpense
Where (Code = :GetCode)