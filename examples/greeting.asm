	TITLE	Greeting: asks for a name and answers
* Reads a name from the console, showing each key as it comes (backspace or
* rubout takes one back), and greets its owner.
* The console: INP 0 is its status (bit 0 is set while a key waits), INP 1
* the key, OUT 8 the screen.

STATUS	EQU	0
KEY	EQU	1
SCREEN	EQU	8
CR	EQU	15B
LF	EQU	12B
BS	EQU	10B
RUBOUT	EQU	177B		; what most terminals send for the backspace key
ROOM	EQU	20		; characters a name may have

	ORG	0
START:	LHLI	ASK		; "What is your name? "
	CAL	PRINT
	LHLI	NAME		; H,L -> where the name goes
	LCI	0		; C counts its characters
READ:	CAL	GETKEY
	CPI	CR		; Enter ends the name
	JTZ	ANSWER
	CPI	BS		; backspace and rubout take the last one back
	JTZ	BACK
	CPI	RUBOUT
	JTZ	BACK
	LBA			; room left?
	LAC
	CPI	ROOM
	JFC	READ		; no: the key is dropped
	LAB
	LMA			; keep the key and show it
	OUT	SCREEN
	INL
	INC
	JMP	READ
BACK:	LAC			; nothing to take back?
	ORA
	JTZ	READ
	DCL
	DCC
	LAI	BS		; back, a blank over it, back again
	OUT	SCREEN
	LAI	" "
	OUT	SCREEN
	LAI	BS
	OUT	SCREEN
	JMP	READ
ANSWER:	LMI	0		; the name ends with a zero
	LHLI	HELLO		; "Hello, "
	CAL	PRINT
	LHLI	NAME
	CAL	PRINT
	LHLI	BYE		; "!" and a new line
	CAL	PRINT
	HLT

* Waits for a key and returns it in A, seven bits.
GETKEY:	INP	STATUS
	NDI	1
	JTZ	GETKEY
	INP	KEY
	NDI	177B
	RET

* Prints the characters from H,L up to a zero.
PRINT:	LAM
	ORA
	RTZ
	OUT	SCREEN
	INL
	JFZ	PRINT
	INH
	JMP	PRINT

ASK:	DB	"What is your name? ",0
HELLO:	DB	CR,LF,"Hello, ",0
BYE:	DB	"!",CR,LF,0

	ORG	400B		; on a page of its own, so that stepping L is enough
	BSS
NAME:	DB	0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0
	END
