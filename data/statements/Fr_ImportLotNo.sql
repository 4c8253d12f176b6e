-- Import lot number master (TFrImportLotNo): the one-row data set and its update set.

--@ QMaster
SELECT Id, Code, Description, EffectiveDate, Active,
  TaxAmount, TaxNo, TaxDate,TaxPrintDate,Description2,CanUseTax
FROM ImportLotNo
Where (Code = :GetCode)

--@ UMaster.Insert
insert into ImportLotNo
  (Code, Description, EffectiveDate, Active, TaxAmount, TaxNo, TaxDate, 
   TaxPrintDate, Description2, CanUseTax)
values
  (:Code, :Description, :EffectiveDate, :Active, :TaxAmount, :TaxNo, :TaxDate, 
   :TaxPrintDate, :Description2, :CanUseTax)

--@ UMaster.Modify
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

--@ UMaster.Delete
delete from ImportLotNo
where
  Id = :OLD_Id
