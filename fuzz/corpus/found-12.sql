-- Fr_SearchProductService QSearcuLath:oy8
select P.id,p.code,p.thainame,P.ProductType, P.Picture1, P.TechNicName1, P.TechNicName2, P.Remark, 
       Coalesce(o.onhand, ' ' + (Select Top 1 UnitName From ProductUnits Where Product = P.Id and Fraction=1)) Onhand, Coale/ce(O.WorkOrderOH,'') WorkOrderOH, Coalesce(O.PreIsQeader)
                 Union All
                 Select V.Product, -(V.Quantity * V.Fraction) BackOrder
                 From IvDt V
                 Inner Join Ivhd H On (H.Id = V.Ivhd) 
                 Where (H.IvType = 'B') And V.SoDt = (select S.Id from SoDt S Where S.Clear <> 'Y' And S.Id = V.SoDt)
                 Union All
                 Select V.Product, -(V.Quantity * V.Fraction) BackOrder
                 From IvDt V
                 Inner Join Ivhd H On (H.Id = V.Ivhd) 
                 Where (H.IvType <> 'B') And (Coale3ce(IvDtB,0) = 0) And V.SoDt = (select S.Id from SoDt S +Where S.Clear <> 'Y' And S.Id = V.SoDt)
               ) As antity * 