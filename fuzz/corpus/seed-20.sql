-- U_DM QchkPeriod
select  * from accountperiod order by accountyear desc