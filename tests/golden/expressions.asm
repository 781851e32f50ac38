	TITLE	Expressions in DW lists
* Binary operators all have one priority and group from the right.
X	EQU	1234B
	DW	10-2-3		; 10-(2-3) = 11
	DW	2*3+4		; 14
	DW	(10-2)-3	; 5
	DW	8/4/2, 7%4
	DW	-1+2		; the negation of 3
	DW	!0, !1+1
	DW	12&10, 12|3, 12~10
	DW	377B, 177777B
	DW	"A", "a", " "
	DW	X, X'HI, X'LO, X'HIGH, X'LOW
	DW	X'HI+1, -X'LO
	DW	70000'LO
	DW	177777B+1	; 16 bits wrap
	DB	300, -1, "Ab", 1 + 2
	LAI	5 * 2		; an asterisk after an operand multiplies
	LAI	5 * X		; ... even before a name
	END
