-- Fr_FrCustomer UMaster.Modify
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