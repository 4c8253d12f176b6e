-- Salesman lookup frame (TFaGetSalesman).

--@ QSalesman
select id,code,name,surname,department,status,startdate,stopdate,
          address1,address2,address3,province,zipcode,phoneno,faxno,
          email
from salesman
where code=:getcode
