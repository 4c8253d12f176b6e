-- ServerTime: the server's clock. Company database.
CREATE PROCEDURE ServerTime
    @ServerTime datetime OUTPUT
AS
BEGIN
    SET NOCOUNT ON
    SET @ServerTime = GETDATE()
    RETURN 0
END
GO
