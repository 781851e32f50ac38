X EQU Y+1
Y EQU 2
	LAI X
	LHLI Z
Z:	DW X,Y
	LAI ""
	DB "ab",((1))
