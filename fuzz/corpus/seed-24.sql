-- U_SearchSalesman QSearch:Sort0
Select S.Code, S.Name, S.Surname, M.Description From Salesman S
Inner Join Misc M On (M.GroupCode  = 'DEPARTMENT') And (M.Id = S.Department)
Where (S.Code Like '%') And (S.Name Like '%%') And (S.SurName Like '%%')
Order By S.Code