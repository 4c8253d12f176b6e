-- Attribute-code search (TFrSearchProdAttrCode): built at every search; the window doubles
-- every quote of the typed description.

--@ QSearch:Group
Select Id,Code,Description From ProdAttrCode
Where ProdAttrGroup = 1

--@ QSearch:FullWord
Select Id,Code,Description From ProdAttrCode
Where ProdAttrGroup = 1
And Description = 'สี'

--@ QSearch:Part
Select Id,Code,Description From ProdAttrCode
Where ProdAttrGroup = 1
And Description Like '%แบรนด์%'
