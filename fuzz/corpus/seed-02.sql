-- Dm_Product QStockUnit
SELECT U.Id, U.UnitName, U.Fraction, U.BarCode, U.VolumnFraction
FROM ProductUnits U
WHERE (U.Product = :GetId) And (U.StockUnitFlag='Y')