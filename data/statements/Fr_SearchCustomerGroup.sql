-- Customer group search (TFrSearchCustomerGroup).

--@ QSearch
SELECT Code, Name
FROM CustomerGroup
Where (Name Like :GetName)
Order By Code
