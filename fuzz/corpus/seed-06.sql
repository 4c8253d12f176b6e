-- Dm_Product QOnhandWH
select coalesce(Cast(sum(Cast(o.quantity As Decimal(30, 2)))  As Decimal(30, 2)),0.00) qnty, 
           (select fraction     from productunits where product=:pid and stockunitflag='Y') stockunitfrac,
           (select unitname from productunits where product=:pid and stockunitflag='Y') stockunitname,
           (select fraction    from productunits where product=:pid and smallunitflag='Y') smallunitfrac,
           (select unitname from productunits where product=:pid and smallunitflag='Y') smallunitname
from productonhand o
inner join warehouse w on w.id=o.warehouse
where (o.product = :pid) and (o.balanceyear = :yid) and (o.warehouse = :wid)