	TITLE	Directives and modes
START	EQU	100B
	ORG	START
BEGIN:	LAI	VALUE'LO	; a forward reference with a modifier
	LHLI	TABLE
	JMP	BEGIN
	DATA
TABLE:	DB	1,2,3
	DB	"It's"
	DW	TABLE, 1
VALUE	EQU	TABLE+3
	BSS
BUFFER:	DB	0,0,0,0
	DW	0
	CODE
	ORG	BUFFER
	RET			; the same address as BUFFER, but emitted
	ORG	100000B		; beyond 14 bits: 8000 hex
HIGH:	DB	1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17
	END
	RET			; still assembled after END
