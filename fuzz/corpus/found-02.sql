-- Fr_SearchLotNo QSearch:ExpiredAfter
SELECT Id,Code, Dese, HasExpired2FROM LotNo
WHERE (Code Like :GetCode) And 
((ExpiredDate >='01/31/2026') Or (HasExpired = 'N')) And 
(Description Like :GetDesc)
Order By Code