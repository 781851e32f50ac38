	TITLE	Serial echo for the 8008-SBC
* Greets over the board's serial line, then sends back each key typed,
* small letters as capitals. Run it on the 8008-SBC machine (Run >
* Machine, or brenvik-sim --machine 8008-sbc); it needs no EPROM.
*
* The board has no UART: the program makes every bit of the line itself,
* as the board's own firmware does. The line runs at 2400 bits a second,
* and the 500 kHz processor at 250,000 states a second, so a bit lasts
* 104 1/6 states. The loops below are counted in states (the figure after
* each instruction): a bit read every 103 states and sent every 106 is
* off by less than two states a bit, under 18 over a whole character, where a
* receiver reading each bit at its middle has 52 to spare.

SERIN	EQU	0		; input port: bit 0 is the receive line
SEROUT	EQU	8		; output port: bit 0 is the transmit line
MARK	EQU	1		; the line's idle level; a start bit is a space (0)
CR	EQU	15B
LF	EQU	12B
SMALLA	EQU	141B		; "a"
PASTZ	EQU	173B		; the character after "z"

	ORG	0
START:	LAI	MARK		; the line idle
	OUT	SEROUT
	LHI	HELLO'HI	; H,L -> the greeting
	LLI	HELLO'LO
GREET:	LAM			; the next character
	ORA			; the zero at its end?
	JTZ	ECHO
	CAL	PUTC
	INL
	JFZ	GREET
	INH
	JMP	GREET
ECHO:	CAL	GETC
	CPI	SMALLA		; below "a"?
	JTC	SEND
	CPI	PASTZ		; past "z"?
	JFC	SEND
	SUI	40B		; no: make it a capital
SEND:	CAL	PUTC
	JMP	ECHO

* Waits for a character on the receive line and returns it in A.
* Uses B, C and E.
GETC:	INP	SERIN		;  8: the line falls at the start bit
	NDI	1		;  8
	JFZ	GETC		;  9 once it fell, 11 before
	LBI	8		;  8: B counts the data bits
	LEI	3		;  8: from there to the middle of bit 0,
HALF:	DCE			;  5   146 states in all
	JFZ	HALF		; 11
BIT:	LEI	3		;  8: 103 states from one read to the next
WAIT:	DCE			;  5
	JFZ	WAIT		; 11
	LAA			;  5: (a pause)
	INP	SERIN		;  8: the bit, at its middle,
	RAR			;  5   into C from the top: bit 0 comes first
	LAC			;  5
	RAR			;  5
	LCA			;  5
	DCB			;  5
	JFZ	BIT		; 11
	RET			; A holds the character, as C does

* Sends the character in A: a start bit, its bits from bit 0, a stop bit.
* The frame stands in D,C (marks, bit 7, bits 6 to 0, the start bit) and
* goes out from bit 0 of C, shifted right once a bit. Uses B to E.
PUTC:	ADA			; C: bits 6 to 0 above the start bit
	LCA
	LAI	376B		; D: marks above bit 7, from the carry
	ACI	0
	LDA
	LAC
	LBI	10		; B counts the bits of the frame
PUTBIT:	OUT	SEROUT		;  6: bit 0 of C on the line
	LAD			;  5: D,C one bit to the right
	RAR			;  5
	LDA			;  5
	LAC			;  5
	RAR			;  5
	LCA			;  5
	LEI	3		;  8: held 106 states in all
HOLD:	DCE			;  5
	JFZ	HOLD		; 11
	DCB			;  5
	JFZ	PUTBIT		; 11
	RET

HELLO:	DB	"8008-SBC serial echo: type, and each key comes back.",CR,LF,0
	END
