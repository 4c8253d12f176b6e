-- Dm_Config QChkConfig
Select * From SysDatabases Where Name = 'KVR_Config_CO19'