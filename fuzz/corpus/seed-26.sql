-- inside a batch
Select Name From SysColumns Where Id = (Select Id From SysObjects Where Name = 'UserName') And Name = 'UserSeeImport'