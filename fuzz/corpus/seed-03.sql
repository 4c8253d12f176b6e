-- Dm_Product QChkWarehouse:All
SELECT W.Id, W.Code, W.Name,W.islocation
FROM WareHouse W
WHERE (W.Code = :GetCode)