-- Miscellaneous-code search with sorting (TF_SearchMisc).

--@ QSearch
select id,code,groupcode,description  from misc
where (groupcode=:inputgroup)  and ((description like :inputname)  or (code like :inputname))
order by Code

--@ QSearch:ByDescription
select id,code,groupcode,description  from misc
where (groupcode=:inputgroup)  and ((description like :inputname)  or (code like :inputname))
Order By 4

--@ QSearch:ByCodeDesc
select id,code,groupcode,description  from misc
where (groupcode=:inputgroup)  and ((description like :inputname)  or (code like :inputname))
Order By 2 Desc
