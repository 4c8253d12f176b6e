-- Dm_Product QStockUnitPrice
SELECT P.Price,U.Fraction,U.Id
FROM ProductPrice P
Inner Join ProductUnits U On (U.Product=P.Product) And (U.StockUnitFlag='Y') And (U.Id=P.ProductUnits)
Where (P.Product = :GetProduct)  And (P.PriceType = :GetType) 