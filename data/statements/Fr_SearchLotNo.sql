-- Lot search (TFrSearchLotNo): line 3 holds the expiry condition and line 5 the order.

--@ QSearch
SELECT Id,Code, Description, ExpiredDate, HasExpired
FROM LotNo
WHERE (Code Like :GetCode) And 
/* This Line Reserved for ExpiredDate Condition */
(Description Like :GetDesc)
Order By Code

--@ QSearch:ExpiredBefore
SELECT Id,Code, Description, ExpiredDate, HasExpired
FROM LotNo
WHERE (Code Like :GetCode) And 
((ExpiredDate <='01/31/2026') Or (HasExpired = 'N')) And 
(Description Like :GetDesc)
Order By Code

--@ QSearch:ExpiredOn
SELECT Id,Code, Description, ExpiredDate, HasExpired
FROM LotNo
WHERE (Code Like :GetCode) And 
((ExpiredDate ='01/31/2026') Or (HasExpired = 'N')) And 
(Description Like :GetDesc)
Order By Code

--@ QSearch:ExpiredAfter
SELECT Id,Code, Description, ExpiredDate, HasExpired
FROM LotNo
WHERE (Code Like :GetCode) And 
((ExpiredDate >='01/31/2026') Or (HasExpired = 'N')) And 
(Description Like :GetDesc)
Order By Code

--@ QSearch:NoCondition
SELECT Id,Code, Description, ExpiredDate, HasExpired
FROM LotNo
WHERE (Code Like :GetCode) And 

(Description Like :GetDesc)
Order By Code

--@ QSearch:ByCode
SELECT Id,Code, Description, ExpiredDate, HasExpired
FROM LotNo
WHERE (Code Like :GetCode) And 

(Description Like :GetDesc)
ORDER BY Code

--@ QSearch:ByDescription
SELECT Id,Code, Description, ExpiredDate, HasExpired
FROM LotNo
WHERE (Code Like :GetCode) And 

(Description Like :GetDesc)
ORDER BY Description

--@ QSearch:ByExpiredDate
SELECT Id,Code, Description, ExpiredDate, HasExpired
FROM LotNo
WHERE (Code Like :GetCode) And 

(Description Like :GetDesc)
ORDER BY ExpiredDate
