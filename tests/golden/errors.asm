	TITLE	Lines in error, marked from the faulty column
	FOO	1		; no such word
	LAI			; no operand
	LAI	)		; not an operand
	RET	1		; an operand where none is taken
	CODE	10
	LAI	19B		; no octal digit 9
	JMP	NOWHERE		; never defined
	JMP	LATER JUNK	; resolved, then the rest is junk
	JMP	LATER+)		; resolved, then malformed
	JMP	(LATER)		; an undefined name in parentheses
	DB	1,		; an item missing
	DB	"open		; the string is not closed
	DB	LATER		; DB takes no forward references
	JMP	E2		; an EQU below refers to a later label: still undefined here
E2	EQU	LATER
LATER:	RET
	RST	70000
	ORG	70000		; beyond 16 bits
	RET			; addressed from 70000 on
X	+1
	LAI	1/0
E	EQU	1+
	LAI	E		; an EQU in error spoils its uses
