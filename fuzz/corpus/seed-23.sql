-- U_SearchMisc QSearch:ByDescription
select id,code,groupcode,description  from misc
where (groupcode=:inputgroup)  and ((description like :inputname)  or (code like :inputname))
Order By 4