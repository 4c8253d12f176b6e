Select Round(Cast(-10.005 As Decimal(18,2)) * 0.0137 / 3, 2), Sum(Price) From Item Where Price = 0.3
