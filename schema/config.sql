-- The suite's configuration database: companies and their databases, menu entries, users and
-- their rights per entry, the software settings and the error log.
--
-- Batches are separated by lines holding only GO. The script creates objects only: run it once on
-- an empty database. Run a second time it stops at the first table that already exists
-- ("There is already an object named ...") and changes nothing.
--
-- Menu has no Version column and UserName no UserSeeImport/UserSeeCost: the program's own start-up
-- script adds them the first time it connects.
--
-- On SQL Server run schema/sqlserver-types.sql first (the IdNo and CharFlag user types) and create
-- the database with a Thai collation (for example Thai_CI_AS) so that Thai text survives in varchar.

CREATE TABLE Company (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    Password varchar(20) NULL,
    NameThai varchar(100) NOT NULL,
    NameEng varchar(100) NULL,
    ShortName varchar(30) NULL,
    Address1 varchar(60) NULL,
    Address2 varchar(60) NULL,
    Address3 varchar(60) NULL,
    Address4 varchar(60) NULL,
    Province varchar(30) NULL,
    Zip varchar(10) NULL,
    Telephone varchar(30) NULL,
    Fax varchar(30) NULL,
    EMail varchar(60) NULL,
    Logo image NULL,
    TaxNo varchar(20) NULL,
    InstallDate datetime NULL,
    RunYear int NULL,
    LocalServer varchar(30) NULL,
    FUNDNAME varchar(100) NULL,
    TaxBranchHead CharFlag NULL,
    TaxBranchCode varchar(10) NULL,
    TaxBranchName varchar(60) NULL,
    CONSTRAINT UQ_Company_Code UNIQUE (Code)
)
GO

-- Menu entries of the suite's main menu. Their ids are fixed by the suite (the main menu passes
-- them on the command line), so they are given, not generated.
CREATE TABLE Menu (
    Id IdNo PRIMARY KEY,
    MenuCode varchar(20) NOT NULL,
    Caption varchar(100) NOT NULL,
    CaptionEng varchar(100) NULL,
    Command varchar(100) NULL,
    MenuOption varchar(30) NULL,
    ParentId int NULL,
    OrderNo int NULL,
    CONSTRAINT UQ_Menu_MenuCode UNIQUE (MenuCode)
)
GO

CREATE TABLE DatabaseList (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Company IdNo,
    DatabaseName varchar(30) NOT NULL,
    Description varchar(100) NULL,
    YearNo int NULL,
    CONSTRAINT UQ_DatabaseList_DatabaseName UNIQUE (DatabaseName),
    CONSTRAINT FK_DatabaseList_Company FOREIGN KEY (Company) REFERENCES Company (Id)
)
GO

CREATE TABLE CompanyConfig (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Company IdNo,
    PicturePath varchar(200) NULL,
    Public_Price_IE CharFlag NULL,
    DefaultWh int NULL,
    DefaultTax int NULL,
    POS1_Wh int NULL,
    POS1_TaxCode int NULL,
    POS1_Price_IE CharFlag NULL,
    POS1_PriceType int NULL,
    POS1_SumDetail CharFlag NULL,
    DefaultPosComPort varchar(10) NULL,
    DefaultPosMenuId int NULL,
    CONSTRAINT UQ_CompanyConfig_Company UNIQUE (Company),
    CONSTRAINT FK_CompanyConfig_Company FOREIGN KEY (Company) REFERENCES Company (Id)
)
GO

CREATE TABLE UserName (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(20) NOT NULL,
    FullName varchar(60) NULL,
    Password varchar(20) NULL,
    LanguageNo int NULL,
    SalesmanId int NULL,
    EditSalePrice CharFlag NULL,
    Approve_Quo CharFlag NULL,
    Approve_SO CharFlag NULL,
    Approve_IV CharFlag NULL,
    Approve_PO CharFlag NULL,
    Approved_PORQ CharFlag NULL,
    ApproveTranWH CharFlag NULL,
    ApproveTranBranch CharFlag NULL,
    ApproveWorkOrder CharFlag NULL,
    CanSeeCost CharFlag NULL,
    CanSeeSalePrice CharFlag NULL,
    CanModifyCusSale CharFlag NULL,
    Approve_PreIs CharFlag NULL,
    ApproveCustomerDropUse CharFlag NULL,
    ApproveCustomerDropCredit CharFlag NULL,
    CanModifyCredit CharFlag NULL,
    CanSetProductBlock CharFlag NULL,
    CanSetProductMinus CharFlag NULL,
    CanSaleCreditOnReturnCheque CharFlag NULL,
    CONSTRAINT UQ_UserName_Code UNIQUE (Code)
)
GO

-- One row per user and menu entry; a user without a row for an entry may not use it.
CREATE TABLE UserRight (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    UserId IdNo,
    MenuId IdNo,
    Access_R CharFlag NULL,
    Add_R CharFlag NULL,
    Modify_R CharFlag NULL,
    Delete_R CharFlag NULL,
    CONSTRAINT UQ_UserRight_UserId_MenuId UNIQUE (UserId, MenuId),
    CONSTRAINT FK_UserRight_UserId FOREIGN KEY (UserId) REFERENCES UserName (Id),
    CONSTRAINT FK_UserRight_MenuId FOREIGN KEY (MenuId) REFERENCES Menu (Id)
)
GO

CREATE TABLE softwareconfig (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    SoftwareName varchar(60) NULL,
    Version varchar(20) NULL,
    SupportMail varchar(60) NULL,
    InstallDate datetime NULL
)
GO

-- Every error a user met, written by AddErrorLog.
CREATE TABLE ErrorLog (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    CompName varchar(60) NULL,
    LogName varchar(60) NULL,
    UserId int NULL,
    MenuId int NULL,
    ErrorMsg varchar(4000) NULL,
    LogTime datetime NOT NULL DEFAULT GETDATE()
)
GO
