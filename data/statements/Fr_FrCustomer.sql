-- Foreign customer master (TFrFrCustomer): the one-row data set and its update set.

--@ QMaster
SELECT Id, Code, CustomerGroup, Name, Attention, Address1,
  Address2, Address3, Country, ZipCode, PhoneNo, FaxNo,
  Currency, DueDays, CreditLimit, Salesman, Picture,
  Blocked, EMail, Remark
FROM FrCustomer M
Where (Code = :GetCode)

--@ UMaster.Insert
insert into FrCustomer
  (Code, CustomerGroup, Name, Attention, Address1, Address2, Address3, 
   Country, ZipCode, PhoneNo, FaxNo, Currency, DueDays, CreditLimit, Salesman, 
   Picture, Blocked, EMail, Remark)
values
  (:Code, :CustomerGroup, :Name, :Attention, :Address1, :Address2, :Address3, 
   :Country, :ZipCode, :PhoneNo, :FaxNo, :Currency, :DueDays, :CreditLimit, 
   :Salesman, :Picture, :Blocked, :EMail, :Remark)

--@ UMaster.Modify
update FrCustomer
set
  Code = :Code,
  CustomerGroup = :CustomerGroup,
  Name = :Name,
  Attention = :Attention,
  Address1 = :Address1,
  Address2 = :Address2,
  Address3 = :Address3,
  Country = :Country,
  ZipCode = :ZipCode,
  PhoneNo = :PhoneNo,
  FaxNo = :FaxNo,
  Currency = :Currency,
  DueDays = :DueDays,
  CreditLimit = :CreditLimit,
  Salesman = :Salesman,
  Picture = :Picture,
  Blocked = :Blocked,
  EMail = :EMail,
  Remark = :Remark
where
  Id = :OLD_Id

--@ UMaster.Delete
delete from FrCustomer
where
  Id = :OLD_Id
