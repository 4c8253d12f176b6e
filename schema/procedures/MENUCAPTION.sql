-- MENUCAPTION: the caption of a menu entry, the user's code and salesman, and the user's rights
-- on the entry. A right is 'N' unless the user, the entry and a UserRight row all exist.
-- Configuration database; SQL Server only (the embedded engine has its own version in C++).
CREATE PROCEDURE MENUCAPTION
    @MENUID int,
    @USERID int,
    @CAPTION varchar(100) OUTPUT,
    @ACCESS_R char(1) OUTPUT,
    @ADD_R char(1) OUTPUT,
    @MODIFY_R char(1) OUTPUT,
    @DELETE_R char(1) OUTPUT,
    @USERCODE varchar(20) OUTPUT,
    @SALESID int OUTPUT
AS
BEGIN
    SET NOCOUNT ON
    SELECT @CAPTION = '', @USERCODE = '', @SALESID = 0,
           @ACCESS_R = 'N', @ADD_R = 'N', @MODIFY_R = 'N', @DELETE_R = 'N'
    SELECT @CAPTION = Coalesce(Caption, '') FROM Menu WHERE Id = @MENUID
    SELECT @USERCODE = Coalesce(Code, ''), @SALESID = Coalesce(SalesmanId, 0)
    FROM UserName WHERE Id = @USERID
    SELECT @ACCESS_R = Coalesce(R.Access_R, 'N'), @ADD_R = Coalesce(R.Add_R, 'N'),
           @MODIFY_R = Coalesce(R.Modify_R, 'N'), @DELETE_R = Coalesce(R.Delete_R, 'N')
    FROM UserRight R
    Inner Join UserName U On (U.Id = R.UserId)
    Inner Join Menu M On (M.Id = R.MenuId)
    WHERE R.UserId = @USERID AND R.MenuId = @MENUID
    RETURN 0
END
GO
