-- Import expense master (TFrImportExpense): the one-row data set and its update set.

--@ QMaster
SELECT Id, Code, Description
FROM ImpExpense
Where (Code = :GetCode)

--@ UMaster.Insert
insert into ImpExpense
  (Code, Description)
values
  (:Code, :Description)

--@ UMaster.Modify
update ImpExpense
set
  Code = :Code,
  Description = :Description
where
  Id = :OLD_Id

--@ UMaster.Delete
delete from ImpExpense
where
  Id = :OLD_Id
