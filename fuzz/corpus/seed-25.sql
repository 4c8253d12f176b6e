-- U_SearchWareHouse QSearch:All
select code,name from warehouse  order by code 