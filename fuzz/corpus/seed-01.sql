-- Dm_Product QChkProduct:Inner
SELECT P.Id, P.Code, P.ThaiName, P.EngName, P.PosName, P.ProductType,P.PriceIE ,P.PrintFrac,
  P.UseSerial, P.LotControl, P.TaxCode, P.DefaultWh, P.PriceByVolumn,P.Discount,W.flagin,w.flagout,
  P.VolumnUnit, T.Rate TaxRate, W.Code WhCode, W.Name WhName,P.Blocked,P.Negative, Coalesce(P.ProductFree,'N')ProductFree,
  P.Size_W,P.Size_L,P.Size_H,P.CartonsUnits,P.Cartons,P.NetWeight,P.GrossWeight, P.ProductDesc, Coalesce(P.CheckSerialPurc,'N')CheckSerialPurc, Coalesce(P.CheckSerialSale,'N')CheckSerialSale, Coalesce(P.CheckSerialStock,'N')CheckSerialStock,  Coalesce(P.CheckSerialOnhand,'N')CheckSerialOnhand, Coalesce(P.PerDiscountOver,0)PerDiscountOver
FROM Product P
INNER JOIN Tax T On (T.Id = P.TaxCode)
Inner Join Warehouse W On (W.Id = P.DefaultWh) 
WHERE (P.Code = :GetCode) AND (Coalesce(P.Blocked,'N') <> 'Y')  And (Coalesce(P.MasterCode,'N')<>'Y')
/*     And  (ProductType <> 'S') And (P.ProductType <> 'M') */
/* ห้ามย้ายบรรทัด */