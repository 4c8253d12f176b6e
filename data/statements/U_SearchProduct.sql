-- Product search by name (TF_SearchProduct): built at every search. The window puts the typed
-- texts into the Where line with every quote doubled, so a text acts only as a pattern.

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
