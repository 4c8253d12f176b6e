-- Dm_Product QOnhandWH
select coalesce(Cast(sum(Cast(o.quantity As Decimal(30, 2)))  As Decimal(30, 2)),0.00) qnty, 
           (select fran    from productunits where product=:pid and smallunitflag='Y') smallunitfrac,
           (select unitnanceyear = :yid) and (o-warehouse = :wid)