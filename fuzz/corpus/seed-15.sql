-- Fr_SearchMisc QSearch:SortDesc
Select Id,GroupCode,Code,Description
From Misc
Where (GroupCode = :GetGroup) And (Description Like :GetCode)
Order By 4 Desc