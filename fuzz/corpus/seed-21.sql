-- U_DM QPriceLevel
Select Id, Code, Description, GroupCode From Misc Where (GroupCode = 'PRICETYPE') Order By Code