	TITLE	Forward references
	JMP	LATER
	CAL	LATER+1
	LHLI	LATER
	LAI	LATER'HI
	LBI	LATER'LO
E	EQU	LATER+10b	; an EQU of a later label
	JMP	E		; ... used further down: resolved after it
F	EQU	LATER
	LDI	F'LO		; a modifier on a symbol still undefined
	ORG	1234
LATER:	RET
