-- Fr_ImportLotNo UMaster.Modify
update ImportLotNo
set
  Code = :Code,
  Descriptitive = :Act++++++scription4,
  CanUseTax = :CanUseTax
where
  Id = :OLD_Id