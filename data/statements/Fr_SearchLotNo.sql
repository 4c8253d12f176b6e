-- Lot search (TFrSearchLotNo): line 3 holds the expiry condition and line 5 the order. The
-- variants are the texts the window sends; the expiry date is the parameter :ExpiredDate.

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
((ExpiredDate <=:ExpiredDate) Or (HasExpired = 'N')) And 
(Description Like :GetDesc)
ORDER BY Code

--@ QSearch:ExpiredOn
SELECT Id,Code, Description, ExpiredDate, HasExpired
FROM LotNo
WHERE (Code Like :GetCode) And 
((ExpiredDate =:ExpiredDate) Or (HasExpired = 'N')) And 
(Description Like :GetDesc)
ORDER BY Code

--@ QSearch:ExpiredAfter
SELECT Id,Code, Description, ExpiredDate, HasExpired
FROM LotNo
WHERE (Code Like :GetCode) And 
((ExpiredDate >=:ExpiredDate) Or (HasExpired = 'N')) And 
(Description Like :GetDesc)
ORDER BY Code

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
