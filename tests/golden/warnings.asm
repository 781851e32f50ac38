	TITLE	Warnings: assembled as written, but likely not as meant
PORT	EQU	3
	LAI	300		; only the low byte fits
	LAI	-1		; a byte written as a negative number: silent
	CPI	377B		; silent
	INP	9		; input ports are 0 to 7
	OUT	PORT		; ports 0 to 7 are inputs: this reaches port 11
	OUT	8		; silent
	RST	9		; restart numbers are 0 to 7
	JMP	40100B		; beyond the 14-bit address space
	INM			; no such instruction on the 8008
	LMM			; a halt
AGAIN:	RET
AGAIN:	RET			; defined again
HLT				; a label, not a halt
	ORG	3		; over the code above, once for the stretch
	RLC
	RRC
	ORG	37776B
	DB	1,2,3		; crosses into 040000
	DB	4		; the same stretch
	END
