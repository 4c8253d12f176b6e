-- NewDocumentNo: the next number of a document code in a year; a code and year without a row
-- start at 1. The update comes first so that the row is locked before it is read. Company
-- database.
CREATE PROCEDURE NewDocumentNo
    @DocCode varchar(10),
    @DocYear int,
    @NewNo int OUTPUT
AS
BEGIN
    SET NOCOUNT ON
    UPDATE DocumentNo SET @NewNo = LastNo = LastNo + 1 WHERE Code = @DocCode AND DocYear = @DocYear
    IF @@ROWCOUNT = 0
    BEGIN
        INSERT INTO DocumentNo (Code, DocYear, LastNo) VALUES (@DocCode, @DocYear, 1)
        SET @NewNo = 1
    END
    RETURN 0
END
GO
