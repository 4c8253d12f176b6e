-- User types of the suite's databases, for a fresh SQL Server only.
--
-- Run this in each new database (the configuration database and every company database) before
-- config.sql or company.sql:
--
--   masterdata-sql -S <server> -d KVR_CONFIG -b -i schema/sqlserver-types.sql
--   masterdata-sql -S <server> -d KVR_CONFIG -b -i schema/config.sql
--
-- The embedded engine knows IdNo and CharFlag by itself and does not read this file.
IF NOT EXISTS (SELECT * FROM systypes WHERE name = 'IdNo') EXEC sp_addtype IdNo, 'int', 'NOT NULL'
GO
IF NOT EXISTS (SELECT * FROM systypes WHERE name = 'CharFlag') EXEC sp_addtype CharFlag, 'char(1)', 'NULL'
GO
