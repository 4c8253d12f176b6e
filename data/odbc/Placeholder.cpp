// Replaced by the ODBC backend sources.
