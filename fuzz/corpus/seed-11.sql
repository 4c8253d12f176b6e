-- Fr_ImportLotNo UMaster.Modify
update ImportLotNo
set
  Code = :Code,
  Description = :Description,
  EffectiveDate = :EffectiveDate,
  Active = :Active,
  TaxAmount = :TaxAmount,
  TaxNo = :TaxNo,
  TaxDate = :TaxDate,
  TaxPrintDate = :TaxPrintDate,
  Description2 = :Description2,
  CanUseTax = :CanUseTax
where
  Id = :OLD_Id