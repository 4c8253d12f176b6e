-- AddErrorLog: one row of the error log. Texts longer than their columns are cut, so that the
-- log never fails because the error it records is long. Configuration database.
CREATE PROCEDURE AddErrorLog
    @CompName varchar(200),
    @LogName varchar(200),
    @UserId int,
    @MenuId int,
    @ErrorMsg varchar(8000)
AS
BEGIN
    SET NOCOUNT ON
    INSERT INTO ErrorLog (CompName, LogName, UserId, MenuId, ErrorMsg, LogTime)
    VALUES (Left(@CompName, 60), Left(@LogName, 60), @UserId, @MenuId, Left(@ErrorMsg, 4000),
            GETDATE())
    RETURN 0
END
GO
