-- Unit search (TFrSearchUnit).

--@ QSearchUnit
SELECT U.UnitName, U.Fraction, U.Barcode
FROM ProductUnits U
Where (U.Product = :GetPart) And
      ((U.PurcFlag Like :ForPurc) Or (U.SaleFlag Like :ForSale) Or
       (U.StockUnitFlag Like :ForStock) Or (U.SmallUnitFlag Like :ForSmall))
Order By U.Fraction
/* Don't Move SQL Line */
