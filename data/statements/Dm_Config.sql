-- Configuration database module (TDMConfig): probe, company, rights, start-up script.

--@ QChkConfig
Select * From SysDatabases Where Name = 'KVR_Config_CO19'

--@ QCompanyConfig
SELECT C.Company, C.PicturePath, C.Public_Price_IE, C.DefaultWh, C.POS1_Wh, C.POS1_TaxCode, C.POS1_Price_IE, C.POS1_PriceType, C.POS1_SumDetail, C.DefaultPosComPort,C.DefaultTax, C.DefaultPosMenuId,M.Command,M.MenuOption, O.Description, O.YearNo, P.Id, P.Code, P.Password, P.NameThai, P.NameEng, P.ShortName, P.Address1, P.Address2, P.Address3, P.Address4, P.Province, P.Zip, P.Telephone, P.Fax, P.EMail, P.Logo, P.TaxNo, P.InstallDate, P.RunYear, P.LocalServer,P.FUNDNAME, P.TaxBranchHead, P.TaxBranchCode, P.TaxBranchName FROM CompanyConfig C Inner Join DatabaseList O On (O.Company = C.Company) Inner Join Company P On (P.Id = O.Company) Left Outer Join Menu M On (M.Id = C.DefaultPosMenuId) Where (O.DatabaseName = :GetName)

--@ QCompany
SELECT ID,CODE, PASSWORD, NAMETHAI, NAMEENG, SHORTNAME, ADDRESS1, ADDRESS2, ADDRESS3, ADDRESS4, PROVINCE, ZIP, TELEPHONE, FAX, EMAIL, LOGO, TAXNO, RUNYEAR,FUNDNAME, Coalesce(TaxBranchHead, 'N') TaxBranchHead, Coalesce(TaxBranchCode, '') TaxBranchCode, TaxBranchName FROM COMPANY Where (Id = (Select Distinct Company From DatabaseList Where DatabaseName = :GetName))

--@ QSoftware
select *
from softwareconfig

--@ QUser
select fullname,languageno,EditSalePrice,Approve_Quo,Approve_SO,Approve_IV,Approve_PO, Approved_PORQ, ApproveTranWH,ApproveTranBranch,ApproveWorkOrder,CanSeeCost,CanSeeSalePrice,CanModifyCusSale, Approve_PreIs, CanModifyCusSale, ApproveCustomerDropUse, ApproveCustomerDropCredit, CanModifyCredit, CanSetProductBlock, CanSetProductMinus, CanSaleCreditOnReturnCheque, UserSeeImport, UserSeeCost from  username where id=:uid

--@procedure SpMenuCaption
MENUCAPTION
@MENUID in integer
@USERID in integer
@CAPTION out string
@ACCESS_R out string
@ADD_R out string
@MODIFY_R out string
@DELETE_R out string
@USERCODE out string
@SALESID out integer

--@procedure SpErrorLog
AddErrorLog
@CompName in string
@LogName in string
@UserId in integer
@MenuId in integer
@ErrorMsg in string

--@script SQLUpdate
If Not Exists (Select Name From SysColumns Where Id = (Select Id From SysObjects Where Upper(LTrim(RTrim(Name))) = 'MENU') And Upper(LTrim(RTrim(Name))) = 'VERSION')
Begin
  Alter Table Menu Add Version Integer
End
/
Update Menu Set Version = 3 Where Version Is Null And Command Is Not Null
/
If Not Exists (Select Name From SysColumns Where Id = (Select Id From SysObjects Where Name = 'UserName') And Name = 'UserSeeImport')
Begin
  Alter Table UserName Add UserSeeImport Char(1)
End
/
If Not Exists (Select Name From SysColumns Where Id = (Select Id From SysObjects Where Name = 'UserName') And Name = 'UserSeeCost')
Begin
  Alter Table UserName Add UserSeeCost Char(1)
End
