	TITLE	Flags: what arithmetic leaves in the carry, zero, sign and parity
* Runs a few operations and prints, for each, its result in octal and the
* four flags. The flags are caught at once with conditional jumps, since any
* arithmetic would change them; the report is made through calls nested four
* deep: START calls REPORT calls SHOW calls PRINT calls PUTC.

SCREEN	EQU	8		; OUT 8: the console's screen
CR	EQU	15B
LF	EQU	12B

	ORG	0
START:	LHLI	CASE1
	CAL	PRINT
	LAI	377B
	ADI	1		; a carry out, and zero
	CAL	REPORT
	LHLI	CASE2
	CAL	PRINT
	LAI	100B
	ADI	100B		; the sign bit
	CAL	REPORT
	LHLI	CASE3
	CAL	PRINT
	LAI	5
	SUI	7		; a borrow
	CAL	REPORT
	LHLI	CASE4
	CAL	PRINT
	LAI	7
	CPI	7		; A stays; zero
	CAL	REPORT
	LHLI	CASE5
	CAL	PRINT
	LAI	252B
	NDI	17B		; AND clears the carry
	CAL	REPORT
	LHLI	CASE6
	CAL	PRINT
	LAI	1
	XRI	200B		; two bits set: even parity
	CAL	REPORT
	HLT

* Prints A in octal and the flags as they are at the call.
REPORT:	LDA			; D: the result (loads leave the flags)
	LHLI	CARRY		; each flag's digit into the line
	LMI	"0"
	JFC	NOC
	LMI	"1"
NOC:	LHLI	ZERO
	LMI	"0"
	JFZ	NOZ
	LMI	"1"
NOZ:	LHLI	SIGN
	LMI	"0"
	JFS	NOS
	LMI	"1"
NOS:	LHLI	PARITY
	LMI	"0"
	JFP	NOP
	LMI	"1"
NOP:	LHLI	DIGITS		; the result's three octal digits
	LAD
	RLC			; the top two bits
	RLC
	NDI	3
	ADI	"0"
	LMA
	INL
	LAD			; the middle three
	RRC
	RRC
	RRC
	NDI	7
	ADI	"0"
	LMA
	INL
	LAD			; the low three
	NDI	7
	ADI	"0"
	LMA
	CAL	SHOW
	RET

* Prints the line of the last report.
SHOW:	LHLI	LINE
	CAL	PRINT
	RET

* Prints the characters from H,L up to a zero; they all lie on one page.
PRINT:	LAM
	ORA
	RTZ
	CAL	PUTC
	INL
	JMP	PRINT

PUTC:	OUT	SCREEN
	RET

	ORG	400B		; the text on a page of its own, for PRINT
CASE1:	DB	"377 + 001",0
CASE2:	DB	"100 + 100",0
CASE3:	DB	"005 - 007",0
CASE4:	DB	"007 : 007",0
CASE5:	DB	"252 & 017",0
CASE6:	DB	"001 ~ 200",0
LINE:	DB	" = "
DIGITS:	DB	"000   CY="
CARRY:	DB	"0 Z="
ZERO:	DB	"0 S="
SIGN:	DB	"0 P="
PARITY:	DB	"0",CR,LF,0
	END
