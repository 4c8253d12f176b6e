Select 1
