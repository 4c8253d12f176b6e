-- Product search by name (TF_SearchProduct): built at every search; these are texts it sends. The
-- window puts the typed texts into the Where line with every quote doubled and the LIKE wildcards
-- bracketed, so a text acts only as the pattern it stands for. An attribute row with an end code
-- is a closed range (Attribute); one without an end code reaches every code of its group from the
-- beginning code on (OpenRange).

--@ QSearch:ByCode
Select Id, Code, ThaiName
From Product
Where (Code Like 'SV%') And (ThaiName Like '%%')
And (Blocked <> 'Y')
And (ProductType <> 'P')
Order By Code

--@ QSearch:ByName
Select Id, Code, ThaiName
From Product
Where (Code Like '%') And (ThaiName Like '%ค่า%')
And (Blocked <> 'Y')
And (ProductType <> 'P')
Order By ThaiName

--@ QSearch:StartsWith
Select Id, Code, ThaiName
From Product
Where (Code Like '%') And (ThaiName Like 'ค่า%')
And (Blocked <> 'Y')
And (ProductType <> 'P')
Order By Code

--@ QSearch:Attribute
Select Id, Code, ThaiName
From Product
Where (Code Like '%') And (ThaiName Like '%O''Neil%')
And (Blocked <> 'Y')
And (ProductType <> 'P')
And (Id In (Select Product From ProductAttribute Where (GroupCode Between 'SVONSITE' And 'SVSHOP')))
Order By Code

--@ QSearch:OpenRange
Select Id, Code, ThaiName
From Product
Where (Code Like '%') And (ThaiName Like '%50[%]%')
And (Blocked <> 'Y')
And (ProductType <> 'P')
And (Id In (Select Product From ProductAttribute Where (GroupCode >= 'BRSIAM') And (GroupCode Like 'BR%')))
Order By ThaiName
