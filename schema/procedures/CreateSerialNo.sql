-- CreateSerialNo: the id of a product's serial, registered (on hand) when it is new. A blank
-- serial is not registered: @SerialId stays NULL and the result is 1. Company database.
CREATE PROCEDURE CreateSerialNo
    @ProductId int,
    @SerialCode varchar(30),
    @SerialId int OUTPUT
AS
BEGIN
    SET NOCOUNT ON
    SET @SerialId = NULL
    SET @SerialCode = LTrim(RTrim(@SerialCode))
    IF @ProductId IS NULL OR Coalesce(@SerialCode, '') = '' RETURN 1
    SELECT @SerialId = Id FROM SerialNo WHERE Product = @ProductId AND Serial = @SerialCode
    IF @SerialId IS NULL
    BEGIN
        INSERT INTO SerialNo (Product, Serial, OnHand) VALUES (@ProductId, @SerialCode, 'Y')
        SET @SerialId = SCOPE_IDENTITY()
    END
    RETURN 0
END
GO
