-- Product attribute selection frame (TFaSelectProdAttr).

--@ QProdAttrGroup
SELECT G.Id, G.Code, G.Description,
  C.Id BeginAttrId, C.Code BeginAttrCode,
  C.Id EndAttrId, C.Code EndAttrCode,
  LTrim(RTrim(G.Code)) + LTrim(RTrim(C.Code)) BeginGroupCode,
  LTrim(RTrim(G.Code)) + LTrim(RTrim(C.Code)) EndGroupCode
FROM ProdAttrGroup G
Left Outer Join ProdAttrCode C On (C.ProdAttrGroup = G.Id)  And (C.Id = 0)
Where (G.ProductType = :GetType)
ORDER By G.Description
