-- Salesman search (TF_SearchSalesman): four lines built at every search. The window puts
-- the typed texts into line 3 with every quote doubled, so a text acts only as a pattern.

--@fragment QSearch.Select
Select S.Code, S.Name, S.Surname, M.Description From Salesman S

--@fragment QSearch.Join
Inner Join Misc M On (M.GroupCode  = 'DEPARTMENT') And (M.Id = S.Department)

--@fragment QSearch.Where
Where (S.Code Like '
%') And (S.Name Like '%
%') And (S.SurName Like '%
%')

--@fragment QSearch.Order0
Order By S.Code

--@fragment QSearch.Order1
Order By S.Name

--@fragment QSearch.Order2
Order By S.SurName

--@fragment QSearch.Order3
Order By M.Description

--@ QSearch:Sort0
Select S.Code, S.Name, S.Surname, M.Description From Salesman S
Inner Join Misc M On (M.GroupCode  = 'DEPARTMENT') And (M.Id = S.Department)
Where (S.Code Like '%') And (S.Name Like '%%') And (S.SurName Like '%%')
Order By S.Code

--@ QSearch:Sort1
Select S.Code, S.Name, S.Surname, M.Description From Salesman S
Inner Join Misc M On (M.GroupCode  = 'DEPARTMENT') And (M.Id = S.Department)
Where (S.Code Like '%') And (S.Name Like '%%') And (S.SurName Like '%%')
Order By S.Name

--@ QSearch:Sort2
Select S.Code, S.Name, S.Surname, M.Description From Salesman S
Inner Join Misc M On (M.GroupCode  = 'DEPARTMENT') And (M.Id = S.Department)
Where (S.Code Like '%') And (S.Name Like '%%') And (S.SurName Like '%%')
Order By S.SurName

--@ QSearch:Sort3
Select S.Code, S.Name, S.Surname, M.Description From Salesman S
Inner Join Misc M On (M.GroupCode  = 'DEPARTMENT') And (M.Id = S.Department)
Where (S.Code Like '%') And (S.Name Like '%%') And (S.SurName Like '%%')
Order By M.Description

--@ QSearch:Texts
Select S.Code, S.Name, S.Surname, M.Description From Salesman S
Inner Join Misc M On (M.GroupCode  = 'DEPARTMENT') And (M.Id = S.Department)
Where (S.Code Like 'S0%') And (S.Name Like '%สม%') And (S.SurName Like '%O''Brien%')
Order By S.Code
