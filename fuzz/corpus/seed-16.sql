-- Fr_SearchProductService QSearch:Layout2
Select P.Id, P.Code,
P.ThaiName,P.Remark, P.ProductType ,P.Picture1 From ProductView P
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
Order By P.Code