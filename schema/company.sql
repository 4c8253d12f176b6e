-- A company database of the suite: company options, code lists, masters (import expenses and
-- lots, foreign vendors and customers, salesmen, products with units, prices and attributes,
-- warehouses, lots and serials), exchange rates, the documents that stock and back-order figures
-- are read from, the audit log and the views the searches read.
--
-- Batches are separated by lines holding only GO. The script creates objects only: run it once on
-- an empty database. Run a second time it stops at the first table that already exists
-- ("There is already an object named ...") and changes nothing.
--
-- CurrencyEx has only its rates (PurcRate, SaleRate): the exchange-rate window's own script adds
-- the full amounts and divisors the first time it is shown.
--
-- On SQL Server run schema/sqlserver-types.sql first (the IdNo and CharFlag user types) and create
-- the database with a Thai collation (for example Thai_CI_AS) so that Thai text survives in varchar.

-- The suite's small code lists, one group per list (COUNTRY, CURRENCY, DEPARTMENT, PTYPE, ...).
CREATE TABLE Misc (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    GroupCode varchar(20) NOT NULL,
    Code varchar(10) NOT NULL,
    Description varchar(60) NULL,
    Orderno int NULL,
    CONSTRAINT UQ_Misc_GroupCode_Code UNIQUE (GroupCode, Code)
)
GO

CREATE TABLE Tax (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    Description varchar(60) NULL,
    Rate decimal(9,4) NOT NULL DEFAULT 0,
    CONSTRAINT UQ_Tax_Code UNIQUE (Code)
)
GO

-- Warehouses and their storage locations (IsLocation = 'Y', inside the warehouse ParentWh).
CREATE TABLE Warehouse (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    Name varchar(60) NULL,
    FlagIn CharFlag NULL,
    FlagOut CharFlag NULL,
    IsLocation CharFlag NULL,
    Blocked CharFlag NULL,
    ParentWh int NULL,
    CONSTRAINT UQ_Warehouse_Code UNIQUE (Code)
)
GO

-- The warehouses a user of the configuration database may use (UserName holds the user's id).
CREATE TABLE UserWarehouse (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    UserName int NOT NULL,
    Warehouse IdNo,
    CONSTRAINT UQ_UserWarehouse_UserName_Warehouse UNIQUE (UserName, Warehouse),
    CONSTRAINT FK_UserWarehouse_Warehouse FOREIGN KEY (Warehouse) REFERENCES Warehouse (Id)
)
GO

-- The company options: one row.
CREATE TABLE Config (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    CompanyName varchar(100) NULL,
    MainCurrencyId int NULL,
    InternationalCurrencyId int NULL,
    IvRefSO CharFlag NULL,
    MrRefPO CharFlag NULL,
    EditPricePO CharFlag NULL,
    ShowProductPriceList CharFlag NULL,
    SearchProductNo int NULL,
    SearchProductMethod int NULL,
    ShowLastSearch CharFlag NULL,
    CheckUserWarehouseFlag CharFlag NULL,
    PicturePath varchar(200) NULL,
    DisplayFraction CharFlag NULL,
    RunYear int NULL,
    CONSTRAINT FK_Config_MainCurrencyId FOREIGN KEY (MainCurrencyId) REFERENCES Misc (Id),
    CONSTRAINT FK_Config_InternationalCurrencyId FOREIGN KEY (InternationalCurrencyId)
        REFERENCES Misc (Id)
)
GO

CREATE TABLE accountperiod (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    AccountYear int NOT NULL,
    StartDate datetime NOT NULL,
    EndDate datetime NOT NULL,
    Closed CharFlag NULL,
    CONSTRAINT UQ_accountperiod_AccountYear UNIQUE (AccountYear)
)
GO

CREATE TABLE accountinterface (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    accountchart varchar(20) NULL,
    Description varchar(60) NULL
)
GO

-- Document numbering: the last number used per document code and year.
CREATE TABLE DocumentNo (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    DocYear int NOT NULL,
    Prefix varchar(10) NULL,
    LastNo int NOT NULL DEFAULT 0,
    Description varchar(60) NULL,
    CONSTRAINT UQ_DocumentNo_Code_DocYear UNIQUE (Code, DocYear)
)
GO

CREATE VIEW DocNoConvert AS
SELECT Id, Code, DocYear, Prefix, LastNo, Description FROM DocumentNo
GO

-- The audit log of changes, written by UserAddLog inside the transaction of the change.
CREATE TABLE UserLog (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    UserId int NULL,
    MenuId int NULL,
    FunctionListId int NULL,
    DocumentId int NULL,
    Remark varchar(200) NULL,
    LogTime datetime NOT NULL DEFAULT GETDATE()
)
GO

CREATE TABLE ImpExpense (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    Description varchar(60) NULL,
    CONSTRAINT UQ_ImpExpense_Code UNIQUE (Code)
)
GO

CREATE TABLE ImportLotNo (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(20) NOT NULL,
    Description varchar(60) NULL,
    Description2 varchar(60) NULL,
    EffectiveDate datetime NULL,
    Active CharFlag NULL,
    TaxAmount decimal(18,2) NULL,
    TaxNo varchar(20) NULL,
    TaxDate datetime NULL,
    TaxPrintDate datetime NULL,
    CanUseTax CharFlag NULL,
    CONSTRAINT UQ_ImportLotNo_Code UNIQUE (Code)
)
GO

-- Costs booked against an import lot, one row per expense code.
CREATE TABLE ImportCost (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    ImportLotNo IdNo,
    ImpExpense IdNo,
    DocDate datetime NULL,
    Amount decimal(18,2) NOT NULL DEFAULT 0,
    Remark varchar(100) NULL,
    CONSTRAINT FK_ImportCost_ImportLotNo FOREIGN KEY (ImportLotNo) REFERENCES ImportLotNo (Id),
    CONSTRAINT FK_ImportCost_ImpExpense FOREIGN KEY (ImpExpense) REFERENCES ImpExpense (Id)
)
GO

CREATE TABLE VendorGroup (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    Name varchar(60) NULL,
    TaxCode int NULL,
    CONSTRAINT UQ_VendorGroup_Code UNIQUE (Code),
    CONSTRAINT FK_VendorGroup_TaxCode FOREIGN KEY (TaxCode) REFERENCES Tax (Id)
)
GO

CREATE TABLE FrVendor (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    VendorGroup int NOT NULL,
    Name varchar(100) NOT NULL,
    Attention varchar(60) NULL,
    Address1 varchar(60) NULL,
    Address2 varchar(60) NULL,
    Address3 varchar(60) NULL,
    Country int NOT NULL,
    ZipCode varchar(10) NULL,
    PhoneNO varchar(30) NULL,
    FaxNO varchar(30) NULL,
    OpenAccount datetime NULL,
    DueDays int NULL,
    Currency int NOT NULL,
    CreditLimit decimal(18,2) NULL,
    Picture image NULL,
    EMail varchar(60) NULL,
    Remark varchar(200) NULL,
    Website varchar(100) NULL,
    CONSTRAINT UQ_FrVendor_Code UNIQUE (Code),
    CONSTRAINT FK_FrVendor_VendorGroup FOREIGN KEY (VendorGroup) REFERENCES VendorGroup (Id),
    CONSTRAINT FK_FrVendor_Country FOREIGN KEY (Country) REFERENCES Misc (Id),
    CONSTRAINT FK_FrVendor_Currency FOREIGN KEY (Currency) REFERENCES Misc (Id)
)
GO

CREATE TABLE CustomerGroup (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    Name varchar(60) NULL,
    CONSTRAINT UQ_CustomerGroup_Code UNIQUE (Code)
)
GO

CREATE TABLE Salesman (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    Name varchar(30) NOT NULL,
    Surname varchar(30) NULL,
    Department int NULL,
    Status CharFlag NULL,
    StartDate datetime NULL,
    StopDate datetime NULL,
    Address1 varchar(60) NULL,
    Address2 varchar(60) NULL,
    Address3 varchar(60) NULL,
    Province varchar(30) NULL,
    ZipCode varchar(10) NULL,
    PhoneNo varchar(30) NULL,
    FaxNo varchar(30) NULL,
    EMail varchar(60) NULL,
    CONSTRAINT UQ_Salesman_Code UNIQUE (Code),
    CONSTRAINT FK_Salesman_Department FOREIGN KEY (Department) REFERENCES Misc (Id)
)
GO

CREATE TABLE FrCustomer (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    CustomerGroup int NOT NULL,
    Name varchar(100) NOT NULL,
    Attention varchar(60) NULL,
    Address1 varchar(60) NULL,
    Address2 varchar(60) NULL,
    Address3 varchar(60) NULL,
    Country int NOT NULL,
    ZipCode varchar(10) NULL,
    PhoneNo varchar(30) NULL,
    FaxNo varchar(30) NULL,
    Currency int NOT NULL,
    DueDays int NULL,
    CreditLimit decimal(18,2) NULL,
    Salesman int NOT NULL,
    Picture image NULL,
    Blocked CharFlag NULL,
    EMail varchar(60) NULL,
    Remark varchar(200) NULL,
    CONSTRAINT UQ_FrCustomer_Code UNIQUE (Code),
    CONSTRAINT FK_FrCustomer_CustomerGroup FOREIGN KEY (CustomerGroup)
        REFERENCES CustomerGroup (Id),
    CONSTRAINT FK_FrCustomer_Country FOREIGN KEY (Country) REFERENCES Misc (Id),
    CONSTRAINT FK_FrCustomer_Currency FOREIGN KEY (Currency) REFERENCES Misc (Id),
    CONSTRAINT FK_FrCustomer_Salesman FOREIGN KEY (Salesman) REFERENCES Salesman (Id)
)
GO

-- Domestic customers and vendors, referred to by documents and prices.
CREATE TABLE Customer (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    Name varchar(100) NOT NULL,
    Salesman int NULL,
    Blocked CharFlag NULL,
    CONSTRAINT UQ_Customer_Code UNIQUE (Code),
    CONSTRAINT FK_Customer_Salesman FOREIGN KEY (Salesman) REFERENCES Salesman (Id)
)
GO

CREATE TABLE Vendor (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    Name varchar(100) NOT NULL,
    CONSTRAINT UQ_Vendor_Code UNIQUE (Code)
)
GO

-- Exchange rates per date and currency.
CREATE TABLE CurrencyEx (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    ExchangeDate datetime NOT NULL,
    Currency int NOT NULL,
    PurcRate decimal(20,6) NULL,
    SaleRate decimal(20,6) NULL,
    CONSTRAINT UQ_CurrencyEx_ExchangeDate_Currency UNIQUE (ExchangeDate, Currency),
    CONSTRAINT FK_CurrencyEx_Currency FOREIGN KEY (Currency) REFERENCES Misc (Id)
)
GO

CREATE TABLE productgroup (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(10) NOT NULL,
    Description varchar(60) NULL,
    ProductType CharFlag NULL,
    CONSTRAINT UQ_productgroup_Code UNIQUE (Code)
)
GO

-- Products of every kind: P trade product, B bundle, S service, M material/sundry, R raw
-- material, T/F/C finished goods and components.
CREATE TABLE Product (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(30) NOT NULL,
    ThaiName varchar(100) NOT NULL,
    EngName varchar(100) NULL,
    PosName varchar(30) NULL,
    ProductType CharFlag NOT NULL,
    PriceIE CharFlag NULL,
    PrintFrac CharFlag NULL,
    UseSerial CharFlag NULL,
    LotControl CharFlag NULL,
    TaxCode int NOT NULL,
    DefaultWh int NOT NULL,
    PriceByVolumn CharFlag NULL,
    Discount varchar(20) NULL,
    VolumnUnit varchar(10) NULL,
    Blocked CharFlag NOT NULL DEFAULT 'N',
    Negative CharFlag NULL,
    ProductFree CharFlag NULL,
    Size_W decimal(18,2) NULL,
    Size_L decimal(18,2) NULL,
    Size_H decimal(18,2) NULL,
    CartonsUnits varchar(10) NULL,
    Cartons decimal(18,2) NULL,
    NetWeight decimal(18,3) NULL,
    GrossWeight decimal(18,3) NULL,
    ProductDesc varchar(200) NULL,
    CheckSerialPurc CharFlag NULL,
    CheckSerialSale CharFlag NULL,
    CheckSerialStock CharFlag NULL,
    CheckSerialOnhand CharFlag NULL,
    PerDiscountOver decimal(9,2) NULL,
    MasterCode CharFlag NOT NULL DEFAULT 'N',
    Remark varchar(200) NULL,
    Picture1 varchar(100) NULL,
    PType int NULL,
    PGroup int NULL,
    ProductGroup int NULL,
    TechNicName1 varchar(100) NULL,
    TechNicName2 varchar(100) NULL,
    CONSTRAINT UQ_Product_Code UNIQUE (Code),
    CONSTRAINT FK_Product_TaxCode FOREIGN KEY (TaxCode) REFERENCES Tax (Id),
    CONSTRAINT FK_Product_DefaultWh FOREIGN KEY (DefaultWh) REFERENCES Warehouse (Id),
    CONSTRAINT FK_Product_PType FOREIGN KEY (PType) REFERENCES Misc (Id),
    CONSTRAINT FK_Product_PGroup FOREIGN KEY (PGroup) REFERENCES Misc (Id),
    CONSTRAINT FK_Product_ProductGroup FOREIGN KEY (ProductGroup) REFERENCES productgroup (Id)
)
GO

-- The units of a product; Fraction is the number of smallest units in one unit.
CREATE TABLE ProductUnits (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Product IdNo,
    UnitName varchar(20) NOT NULL,
    UnitDesc varchar(60) NULL,
    Fraction decimal(18,4) NOT NULL,
    VolumnFraction decimal(18,4) NULL,
    BarCode varchar(30) NULL,
    SaleFlag CharFlag NULL,
    PurcFlag CharFlag NULL,
    StockUnitFlag CharFlag NULL,
    SmallUnitFlag CharFlag NULL,
    PurcPrice decimal(18,4) NULL,
    LabourCost decimal(18,4) NULL,
    CONSTRAINT UQ_ProductUnits_Product_UnitName UNIQUE (Product, UnitName),
    CONSTRAINT FK_ProductUnits_Product FOREIGN KEY (Product) REFERENCES Product (Id)
)
GO

CREATE INDEX IX_ProductUnits_BarCode ON ProductUnits (BarCode)
GO

-- Sale prices per unit and price type (the price types are the PRICETYPE codes of Misc).
CREATE TABLE ProductPrice (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Product IdNo,
    ProductUnits IdNo,
    PriceType int NOT NULL,
    Price decimal(18,4) NOT NULL,
    CONSTRAINT UQ_ProductPrice_ProductUnits_PriceType UNIQUE (ProductUnits, PriceType),
    CONSTRAINT FK_ProductPrice_Product FOREIGN KEY (Product) REFERENCES Product (Id),
    CONSTRAINT FK_ProductPrice_ProductUnits FOREIGN KEY (ProductUnits) REFERENCES ProductUnits (Id)
)
GO

-- A foreign vendor's part sources: the products it supplies and at what price.
CREATE TABLE FrPartSource (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    FrVendor int NOT NULL,
    Product int NOT NULL,
    Productunits int NULL,
    Purchasecode varchar(30) NULL,
    Purchasename varchar(100) NULL,
    Discountstr varchar(20) NULL,
    Price decimal(18,4) NULL,
    Currency int NULL,
    CONSTRAINT FK_FrPartSource_FrVendor FOREIGN KEY (FrVendor) REFERENCES FrVendor (Id),
    CONSTRAINT FK_FrPartSource_Product FOREIGN KEY (Product) REFERENCES Product (Id),
    CONSTRAINT FK_FrPartSource_Productunits FOREIGN KEY (Productunits)
        REFERENCES ProductUnits (Id),
    CONSTRAINT FK_FrPartSource_Currency FOREIGN KEY (Currency) REFERENCES Misc (Id)
)
GO

-- A domestic vendor's part sources, with the last purchase.
CREATE TABLE PartSource (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Vendor int NOT NULL,
    Product int NOT NULL,
    ProductUnits int NOT NULL,
    Price decimal(18,4) NULL,
    PurchaseCode varchar(30) NULL,
    PurchaseName varchar(100) NULL,
    DiscountStr varchar(20) NULL,
    lastprice decimal(18,4) NULL,
    lastdoccode varchar(10) NULL,
    lastdocno varchar(20) NULL,
    lastdate datetime NULL,
    CONSTRAINT FK_PartSource_Vendor FOREIGN KEY (Vendor) REFERENCES Vendor (Id),
    CONSTRAINT FK_PartSource_Product FOREIGN KEY (Product) REFERENCES Product (Id),
    CONSTRAINT FK_PartSource_ProductUnits FOREIGN KEY (ProductUnits) REFERENCES ProductUnits (Id)
)
GO

CREATE TABLE LotNo (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(20) NOT NULL,
    Description varchar(60) NULL,
    Product int NULL,
    HasExpired CharFlag NULL,
    ExpiredDate datetime NULL,
    CONSTRAINT UQ_LotNo_Code UNIQUE (Code),
    CONSTRAINT FK_LotNo_Product FOREIGN KEY (Product) REFERENCES Product (Id)
)
GO

CREATE TABLE LotOnHand (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Product IdNo,
    LotNo IdNo,
    Warehouse IdNo,
    BalanceYear int NOT NULL,
    Quantity decimal(18,4) NOT NULL DEFAULT 0,
    CONSTRAINT FK_LotOnHand_Product FOREIGN KEY (Product) REFERENCES Product (Id),
    CONSTRAINT FK_LotOnHand_LotNo FOREIGN KEY (LotNo) REFERENCES LotNo (Id),
    CONSTRAINT FK_LotOnHand_Warehouse FOREIGN KEY (Warehouse) REFERENCES Warehouse (Id)
)
GO

CREATE TABLE SerialNo (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Product IdNo,
    Serial varchar(30) NOT NULL,
    OnHand CharFlag NULL,
    CONSTRAINT UQ_SerialNo_Product_Serial UNIQUE (Product, Serial),
    CONSTRAINT FK_SerialNo_Product FOREIGN KEY (Product) REFERENCES Product (Id)
)
GO

-- Product attributes: groups per product kind, their codes, and each product's codes.
CREATE TABLE ProdAttrGroup (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(5) NOT NULL,
    Description varchar(60) NULL,
    ProductType varchar(1) NULL,
    CONSTRAINT UQ_ProdAttrGroup_Code UNIQUE (Code)
)
GO

CREATE TABLE ProdAttrCode (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    ProdAttrGroup IdNo,
    Code varchar(10) NOT NULL,
    Description varchar(60) NULL,
    CONSTRAINT UQ_ProdAttrCode_ProdAttrGroup_Code UNIQUE (ProdAttrGroup, Code),
    CONSTRAINT FK_ProdAttrCode_ProdAttrGroup FOREIGN KEY (ProdAttrGroup)
        REFERENCES ProdAttrGroup (Id)
)
GO

CREATE TABLE productattr (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Product IdNo,
    ProdAttrGroup IdNo,
    ProdAttrCode IdNo,
    CONSTRAINT UQ_productattr_Product_ProdAttrGroup UNIQUE (Product, ProdAttrGroup),
    CONSTRAINT FK_productattr_Product FOREIGN KEY (Product) REFERENCES Product (Id),
    CONSTRAINT FK_productattr_ProdAttrGroup FOREIGN KEY (ProdAttrGroup)
        REFERENCES ProdAttrGroup (Id),
    CONSTRAINT FK_productattr_ProdAttrCode FOREIGN KEY (ProdAttrCode) REFERENCES ProdAttrCode (Id)
)
GO

-- Each product's attribute values by the combined key: group code followed by attribute code.
CREATE VIEW ProductAttribute AS
SELECT A.Id, A.Product, A.ProdAttrGroup, A.ProdAttrCode,
       LTrim(RTrim(G.Code)) + LTrim(RTrim(C.Code)) GroupCode
FROM productattr A
Inner Join ProdAttrGroup G On (G.Id = A.ProdAttrGroup)
Inner Join ProdAttrCode C On (C.Id = A.ProdAttrCode)
GO

-- Free-text facts about a product, one per Misc topic (material, model, ...).
CREATE TABLE ProductInFo (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Product IdNo,
    Misc IdNo,
    MemoDesc varchar(200) NULL,
    CONSTRAINT FK_ProductInFo_Product FOREIGN KEY (Product) REFERENCES Product (Id),
    CONSTRAINT FK_ProductInFo_Misc FOREIGN KEY (Misc) REFERENCES Misc (Id)
)
GO

-- Which ProductInFo topics are the material and the model (one row).
CREATE TABLE WorkId (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Material int NULL,
    Model int NULL
)
GO

CREATE TABLE projectitemhd (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    project int NOT NULL,
    code varchar(20) NOT NULL,
    Description varchar(100) NULL,
    CONSTRAINT UQ_projectitemhd_project_code UNIQUE (project, code)
)
GO

CREATE TABLE customerproductprice (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    customer IdNo,
    product IdNo,
    productunits IdNo,
    price decimal(18,4) NULL,
    quantity int NULL,
    discount varchar(20) NULL,
    CONSTRAINT FK_customerproductprice_customer FOREIGN KEY (customer) REFERENCES Customer (Id),
    CONSTRAINT FK_customerproductprice_product FOREIGN KEY (product) REFERENCES Product (Id),
    CONSTRAINT FK_customerproductprice_productunits FOREIGN KEY (productunits)
        REFERENCES ProductUnits (Id)
)
GO

-- Promotions; customer 0 is a promotion for every customer.
CREATE TABLE promotion_dt (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    product IdNo,
    productunits IdNo,
    pricetype int NOT NULL,
    customer int NOT NULL DEFAULT 0,
    startdate datetime NOT NULL,
    stopdate datetime NOT NULL,
    price decimal(18,4) NULL,
    discpercent varchar(20) NULL,
    CONSTRAINT FK_promotion_dt_product FOREIGN KEY (product) REFERENCES Product (Id),
    CONSTRAINT FK_promotion_dt_productunits FOREIGN KEY (productunits)
        REFERENCES ProductUnits (Id)
)
GO

CREATE TABLE CustomerProductPriceProject (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    customer IdNo,
    project int NOT NULL,
    product IdNo,
    productunits IdNo,
    price decimal(18,4) NULL,
    discount varchar(20) NULL,
    CONSTRAINT FK_CustomerProductPriceProject_customer FOREIGN KEY (customer)
        REFERENCES Customer (Id),
    CONSTRAINT FK_CustomerProductPriceProject_product FOREIGN KEY (product)
        REFERENCES Product (Id),
    CONSTRAINT FK_CustomerProductPriceProject_productunits FOREIGN KEY (productunits)
        REFERENCES ProductUnits (Id)
)
GO

-- Stock per product, unit, warehouse and balance year, counted in smallest units.
CREATE TABLE productonhand (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    product IdNo,
    productunits IdNo,
    warehouse IdNo,
    balanceyear int NOT NULL,
    quantity decimal(18,4) NOT NULL DEFAULT 0,
    CONSTRAINT FK_productonhand_product FOREIGN KEY (product) REFERENCES Product (Id),
    CONSTRAINT FK_productonhand_productunits FOREIGN KEY (productunits)
        REFERENCES ProductUnits (Id),
    CONSTRAINT FK_productonhand_warehouse FOREIGN KEY (warehouse) REFERENCES Warehouse (Id)
)
GO

CREATE INDEX IX_productonhand_product ON productonhand (product, balanceyear)
GO

-- Sales orders, their shipments, point-of-sale headers that take over an order.
CREATE TABLE SoHd (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    SoNo varchar(20) NOT NULL,
    SoDate datetime NULL,
    Customer int NOT NULL,
    Clear CharFlag NULL,
    DelFlag CharFlag NULL,
    DelRemark varchar(100) NULL,
    CONSTRAINT UQ_SoHd_SoNo UNIQUE (SoNo),
    CONSTRAINT FK_SoHd_Customer FOREIGN KEY (Customer) REFERENCES Customer (Id)
)
GO

CREATE TABLE SoDt (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    SoHd IdNo,
    Product IdNo,
    ProductUnits int NULL,
    Quantity decimal(18,4) NOT NULL DEFAULT 0,
    Fraction decimal(18,4) NOT NULL DEFAULT 1,
    Clear CharFlag NULL,
    CONSTRAINT FK_SoDt_SoHd FOREIGN KEY (SoHd) REFERENCES SoHd (Id),
    CONSTRAINT FK_SoDt_Product FOREIGN KEY (Product) REFERENCES Product (Id)
)
GO

CREATE TABLE SoShip (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    SoHd int NOT NULL,
    ShipDate datetime NULL,
    Remark varchar(100) NULL
)
GO

CREATE TABLE PosHeader (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    PosNo varchar(20) NOT NULL,
    PosDate datetime NULL,
    SoHd int NULL
)
GO

-- Invoices: IvType 'B' delivers against an earlier invoice; NotCutStock 'Y' invoices without
-- delivering.
CREATE TABLE Ivhd (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    IvNo varchar(20) NOT NULL,
    IvDate datetime NULL,
    Customer int NULL,
    IvType CharFlag NULL,
    NotCutStock CharFlag NULL,
    DelFlag CharFlag NULL,
    CONSTRAINT UQ_Ivhd_IvNo UNIQUE (IvNo),
    CONSTRAINT FK_Ivhd_Customer FOREIGN KEY (Customer) REFERENCES Customer (Id)
)
GO

CREATE TABLE IvDt (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Ivhd IdNo,
    Product IdNo,
    ProductUnits int NULL,
    Quantity decimal(18,4) NOT NULL DEFAULT 0,
    Fraction decimal(18,4) NOT NULL DEFAULT 1,
    SoDt int NULL,
    IvDtB int NULL,
    CONSTRAINT FK_IvDt_Ivhd FOREIGN KEY (Ivhd) REFERENCES Ivhd (Id),
    CONSTRAINT FK_IvDt_Product FOREIGN KEY (Product) REFERENCES Product (Id)
)
GO

CREATE TABLE IvShip (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    IvHd int NOT NULL,
    ShipDate datetime NULL,
    Remark varchar(100) NULL
)
GO

-- Purchase orders and goods receipts against them.
CREATE TABLE PoHd (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    PoNo varchar(20) NOT NULL,
    PoDate datetime NULL,
    Vendor int NULL,
    Clear CharFlag NULL,
    CONSTRAINT UQ_PoHd_PoNo UNIQUE (PoNo),
    CONSTRAINT FK_PoHd_Vendor FOREIGN KEY (Vendor) REFERENCES Vendor (Id)
)
GO

CREATE TABLE PoDt (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    PoHd IdNo,
    Product IdNo,
    ProductUnits int NULL,
    Quantity decimal(18,4) NOT NULL DEFAULT 0,
    Fraction decimal(18,4) NOT NULL DEFAULT 1,
    Clear CharFlag NULL,
    CONSTRAINT FK_PoDt_PoHd FOREIGN KEY (PoHd) REFERENCES PoHd (Id),
    CONSTRAINT FK_PoDt_Product FOREIGN KEY (Product) REFERENCES Product (Id)
)
GO

CREATE TABLE Mrhd (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    MrNo varchar(20) NOT NULL,
    MrDate datetime NULL,
    CONSTRAINT UQ_Mrhd_MrNo UNIQUE (MrNo)
)
GO

CREATE TABLE MrDt (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Mrhd IdNo,
    Product IdNo,
    ProductUnits int NULL,
    Quantity decimal(18,4) NOT NULL DEFAULT 0,
    Fraction decimal(18,4) NOT NULL DEFAULT 1,
    PoDt int NULL,
    CONSTRAINT FK_MrDt_Mrhd FOREIGN KEY (Mrhd) REFERENCES Mrhd (Id),
    CONSTRAINT FK_MrDt_Product FOREIGN KEY (Product) REFERENCES Product (Id)
)
GO

-- Manufacturing: bills of material, work orders with their material lines, finished output.
CREATE TABLE BomHd (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    Code varchar(20) NOT NULL,
    Product int NULL,
    CONSTRAINT UQ_BomHd_Code UNIQUE (Code),
    CONSTRAINT FK_BomHd_Product FOREIGN KEY (Product) REFERENCES Product (Id)
)
GO

CREATE TABLE WorkOrderHd (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    WorkOrderNo varchar(20) NOT NULL,
    WorkDate datetime NULL,
    Customer int NOT NULL,
    FinishedGoods int NOT NULL,
    ProductUnits int NOT NULL,
    Quantity decimal(18,4) NULL,
    SoHd int NULL,
    BomHd int NULL,
    Clear CharFlag NOT NULL DEFAULT 'N',
    Delflag CharFlag NOT NULL DEFAULT 'N',
    CONSTRAINT UQ_WorkOrderHd_WorkOrderNo UNIQUE (WorkOrderNo),
    CONSTRAINT FK_WorkOrderHd_Customer FOREIGN KEY (Customer) REFERENCES Customer (Id),
    CONSTRAINT FK_WorkOrderHd_FinishedGoods FOREIGN KEY (FinishedGoods) REFERENCES Product (Id),
    CONSTRAINT FK_WorkOrderHd_ProductUnits FOREIGN KEY (ProductUnits) REFERENCES ProductUnits (Id)
)
GO

CREATE TABLE WorkOrderDt (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    WorkOrderHd IdNo,
    Product IdNo,
    Quantity decimal(18,4) NOT NULL DEFAULT 0,
    Fraction decimal(18,4) NOT NULL DEFAULT 1,
    IssueQuantity decimal(18,4) NOT NULL DEFAULT 0,
    PreIsQuantity decimal(18,4) NOT NULL DEFAULT 0,
    CONSTRAINT FK_WorkOrderDt_WorkOrderHd FOREIGN KEY (WorkOrderHd) REFERENCES WorkOrderHd (Id),
    CONSTRAINT FK_WorkOrderDt_Product FOREIGN KEY (Product) REFERENCES Product (Id)
)
GO

CREATE TABLE MFGFinishDt (
    Id IdNo IDENTITY(1,1) PRIMARY KEY,
    WorkOrderHd IdNo,
    Product IdNo,
    FinishDate datetime NULL,
    Quantity decimal(18,4) NOT NULL DEFAULT 0,
    Fraction decimal(18,4) NOT NULL DEFAULT 1,
    CONSTRAINT FK_MFGFinishDt_WorkOrderHd FOREIGN KEY (WorkOrderHd) REFERENCES WorkOrderHd (Id),
    CONSTRAINT FK_MFGFinishDt_Product FOREIGN KEY (Product) REFERENCES Product (Id)
)
GO

-- An always empty table; windows open it to get a one-row scratch record.
CREATE TABLE nulltable (
    id int NULL
)
GO

-- The product columns the searches read.
CREATE VIEW ProductView AS
SELECT P.Id, P.Code, P.ThaiName, P.EngName, P.Remark, P.ProductType, P.Picture1, P.Blocked,
       P.MasterCode, P.Size_W, P.Size_L, P.Size_H, P.PType, P.PGroup, P.ProductGroup,
       P.TechNicName1, P.TechNicName2
FROM Product P
GO

-- Stock and manufacturing figures per product as texts in smallest units: on hand in the running
-- year, outstanding on open work orders, reserved for pre-issue, reserved as work-order material,
-- and on hand less the work-order reservations. Only products with stock or work orders appear.
CREATE VIEW ProductonhandMFG AS
SELECT Q.Product,
       LTrim(RTrim(Convert(Char(28), Convert(Decimal(28,2), Q.OnhandQty)))) + ' ' + Q.UnitName Onhand,
       LTrim(RTrim(Convert(Char(28), Convert(Decimal(28,2), Q.WorkQty)))) + ' ' + Q.UnitName WorkOrderOH,
       LTrim(RTrim(Convert(Char(28), Convert(Decimal(28,2), Q.PreIsQty)))) + ' ' + Q.UnitName PreIsQty,
       LTrim(RTrim(Convert(Char(28), Convert(Decimal(28,2), Q.WKIsQty)))) + ' ' + Q.UnitName WKIsQty,
       LTrim(RTrim(Convert(Char(28), Convert(Decimal(28,2), Q.OnhandQty - Q.WKIsQty)))) + ' ' + Q.UnitName OH_WKIsQty
FROM (Select P.Id Product,
             Coalesce((Select Min(U.UnitName) From ProductUnits U Where U.Product = P.Id And U.SmallUnitFlag = 'Y'), '') UnitName,
             Coalesce((Select Sum(H.quantity) From productonhand H Where H.product = P.Id And H.balanceyear = (Select Max(C.RunYear) From Config C)), 0) OnhandQty,
             Coalesce((Select Sum(Coalesce(W.Quantity, 0) * U.Fraction) From WorkOrderHd W Inner Join ProductUnits U On (U.Id = W.ProductUnits) Where W.FinishedGoods = P.Id And W.Clear <> 'Y' And W.Delflag = 'N'), 0)
               - Coalesce((Select Sum(F.Quantity * F.Fraction) From MFGFinishDt F Inner Join WorkOrderHd W On (W.Id = F.WorkOrderHd) Where F.Product = P.Id And W.Clear <> 'Y' And W.Delflag = 'N'), 0) WorkQty,
             Coalesce((Select Sum(D.PreIsQuantity * D.Fraction) From WorkOrderDt D Inner Join WorkOrderHd W On (W.Id = D.WorkOrderHd) Where D.Product = P.Id And W.Clear <> 'Y' And W.Delflag = 'N'), 0) PreIsQty,
             Coalesce((Select Sum((D.Quantity - D.IssueQuantity) * D.Fraction) From WorkOrderDt D Inner Join WorkOrderHd W On (W.Id = D.WorkOrderHd) Where D.Product = P.Id And W.Clear <> 'Y' And W.Delflag = 'N'), 0) WKIsQty
      From Product P
      Where Exists (Select H.Id From productonhand H Where H.product = P.Id)
         Or Exists (Select W.Id From WorkOrderHd W Where W.FinishedGoods = P.Id)
         Or Exists (Select D.Id From WorkOrderDt D Where D.Product = P.Id)) Q
GO
