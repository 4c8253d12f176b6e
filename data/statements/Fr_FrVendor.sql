-- Foreign vendor master (TFrFrVendor): the one-row data set and its update set.

--@ QMaster
SELECT M.ID, M.Code, M.VendorGroup, M.Name, M.Attention,
  M.Address1, M.Address2, M.Address3, M.Country, M.ZipCode,
  M.PhoneNO, M.FaxNO, M.OpenAccount, M.DueDays, M.Currency,
  M.CreditLimit, M.Picture, M.EMail, M.Remark,M.Website
FROM FrVendor M
Where (M.Code = :GetCode)

--@ UMaster.Insert
insert into FrVendor
  (Code, VendorGroup, Name, Attention, Address1, Address2, Address3, Country, 
   ZipCode, PhoneNO, FaxNO, OpenAccount, DueDays, Currency, CreditLimit, 
   Picture, EMail, Remark, Website)
values
  (:Code, :VendorGroup, :Name, :Attention, :Address1, :Address2, :Address3, 
   :Country, :ZipCode, :PhoneNO, :FaxNO, :OpenAccount, :DueDays, :Currency, 
   :CreditLimit, :Picture, :EMail, :Remark, :Website)

--@ UMaster.Modify
update FrVendor
set
  Code = :Code,
  VendorGroup = :VendorGroup,
  Name = :Name,
  Attention = :Attention,
  Address1 = :Address1,
  Address2 = :Address2,
  Address3 = :Address3,
  Country = :Country,
  ZipCode = :ZipCode,
  PhoneNO = :PhoneNO,
  FaxNO = :FaxNO,
  OpenAccount = :OpenAccount,
  DueDays = :DueDays,
  Currency = :Currency,
  CreditLimit = :CreditLimit,
  Picture = :Picture,
  EMail = :EMail,
  Remark = :Remark,
  Website = :Website
where
  ID = :OLD_ID

--@ UMaster.Delete
delete from FrVendor
where
  ID = :OLD_ID
