	TITLE	The primes below 256, found by trial division
* Tries every number from 2 to 255 against the divisors below it, dividing
* by repeated subtraction, and prints the primes in decimal.

SCREEN	EQU	8		; OUT 8: the console's screen
CR	EQU	15B
LF	EQU	12B

	ORG	0
START:	LBI	2		; B: the number tried
TRY:	LCI	2		; C: the divisor
DIVIDE:	LAC			; no divisor below the number: a prime
	CPB
	JTZ	PRIME
	LAB			; A: the number less the divisor, again and again
MOD:	SUC
	JTZ	NEXT		; nothing left: the divisor divides it
	JFC	MOD		; more to take
	INC			; a remainder: the next divisor
	JMP	DIVIDE
PRIME:	CAL	PRINTB
NEXT:	INB
	JFZ	TRY		; up to 255
	LAI	CR
	OUT	SCREEN
	LAI	LF
	OUT	SCREEN
	HLT

* Prints B in decimal without leading zeros, then a blank. Keeps B and C.
PRINTB:	LEI	0		; E: no digit printed yet
	LAB
	LDI	100
	CAL	DIGIT		; hundreds
	LDI	10
	CAL	DIGIT		; tens
	LEI	1		; the ones even when 0
	LDI	1
	CAL	DIGIT
	LAI	" "
	OUT	SCREEN
	RET

* Takes D from A as often as it goes and prints how often as a digit, unless
* it is a zero with no digit before it (E = 0). Leaves the rest in A.
DIGIT:	LHI	"0"		; H: the digit
MORE:	SUD
	JTC	ENOUGH
	INH
	JMP	MORE
ENOUGH:	ADD			; undo the subtraction that went too far
	LLA			; L: the rest
	LAH
	CPI	"0"		; a leading zero is not printed
	JFZ	PUT
	LAE
	ORA
	JTZ	KEEP
PUT:	LAH
	OUT	SCREEN
	LEI	1		; digits from here on
KEEP:	LAL
	RET
	END
