-- UserAddLog: one audit row. The caller runs it inside the transaction of the change it records,
-- so the row commits or rolls back with the change. Company database.
CREATE PROCEDURE UserAddLog
    @UserId int,
    @MenuId int,
    @FunctionListId int,
    @DocumentId int,
    @Remark varchar(1000)
AS
BEGIN
    SET NOCOUNT ON
    INSERT INTO UserLog (UserId, MenuId, FunctionListId, DocumentId, Remark, LogTime)
    VALUES (@UserId, @MenuId, @FunctionListId, @DocumentId, Left(Coalesce(@Remark, ''), 200),
            GETDATE())
    RETURN 0
END
GO
