-- Fr_SearchCustomerGroup QSearch
SELECT Code, Name
FROM CustomerGroup
Where (Name Like :GetName)
Order By Code