-- Warehouse search (TF_SearchWareHouse): the statement is rebuilt at every search from the
-- pieces below. The window doubles every quote of the search text.

--@ QSearch
select code,name
from warehouse
order by code

--@ QSearch:All
select code,name from warehouse  order by code 

--@ QSearch:Text
select code,name from warehouse  where ((code like '%A0%') or       (name like '%A0%'))  order by code 

--@ QSearch:Locations
select code,name from warehouse  where (Coalesce(IsLocation,'N')='Y')  order by code 

--@ QSearch:ActiveWarehouses
select code,name from warehouse where Coalesce(blocked,'N') = 'N'  and  (Coalesce(IsLocation,'N')='N')  and ((code like '%WH%') or       (name like '%WH%'))  And Id In (Select Warehouse From UserWarehouse Where UserName = 1 ) order by code 
