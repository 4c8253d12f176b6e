edlect(((((((rice((rice =(((((((((a
SeleDesd, V.Pr =((((SCAPE 0