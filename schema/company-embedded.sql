-- What a company database of the embedded engine has beyond company.sql.

-- The product searches look for a name contained anywhere (ThaiName Like '%...%'): this index
-- lets the engine read only the products that can hold the words.
CREATE FULLTEXT INDEX ON Product (ThaiName) KEY INDEX UQ_Product_Code
GO
