-- Fr_SearchProductService QSearch:Kind4
Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType ,P.Picture1
From ProductView P
Where (P.Code Like '%') And (P.ThaiName Like '%%')
And (P.Blocked <> 'Y')
And (P.MasterCode ='N') 
And (P.ProductType In ('T','F','R','C','M'))
Order By P.Code