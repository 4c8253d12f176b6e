-- Fr_ImportLotNo UMaster.Modify
update ImportLotNo
set
  Code = :Code,
  Description = :Description,
  EffectiveDate = :EffectiveDate,
  Active = :Act++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++G++++++++++++++++++scription2,
  CanUseTax = :CanUseTax
where
  Id = :OLD_Id