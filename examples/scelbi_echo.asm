	TITLE	Teletype echo for the SCELBI
* Greets on the SCELBI's teletype, then types back each key, small
* letters as capitals. Run it on the SCELBI machine (Run > Machine, or
* brenvik-sim --machine scelbi).
*
* The SCELBI's teletype line is bit-banged: INP 5 bit 7 receives and
* OUT 016 bit 0 sends (the ports of the SCELBI manuals), at 110 bits a
* second with two stop bits. At 250,000 states a second a bit lasts
* 2272 8/11 states; the loops below take 2274 states a bit read and
* 2266 a bit sent (the figure after each instruction is its states).
* The teletype sends each key with bit 7 set, which the program clears.

TTYIN	EQU	5		; input port: bit 7 is the receive line
TTYOUT	EQU	16B		; output port: bit 0 is the transmit line
MARK	EQU	1		; the line's idle level; a start bit is a space (0)
CR	EQU	15B
LF	EQU	12B
SMALLA	EQU	141B		; "a"
PASTZ	EQU	173B		; the character after "z"

	ORG	0
START:	LAI	MARK		; the line idle
	OUT	TTYOUT
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
	NDI	177B		; the key without its parity bit
	CPI	SMALLA		; below "a"?
	JTC	SEND
	CPI	PASTZ		; past "z"?
	JFC	SEND
	SUI	40B		; no: make it a capital
SEND:	CAL	PUTC
	JMP	ECHO

* Waits for a character on the receive line and returns it in A.
* Uses B, C and E.
GETC:	INP	TTYIN		;  8: the line falls at the start bit
	NDA			;  5
	JTS	GETC		;  9 once it fell, 11 before
	LBI	8		;  8: B counts the data bits
	LEI	71		;  8: from there to the middle of bit 0,
HALF:	DCE			;  5   3402 states in all
	JFZ	HALF		; 11
BIT:	LEI	139		;  8: 2274 states from one read to the next
WAIT:	DCE			;  5
	JFZ	WAIT		; 11
	INP	TTYIN		;  8: the bit, at its middle,
	RAL			;  5   into C from the top: bit 0 comes first
	LAC			;  5
	RAR			;  5
	LCA			;  5
	DCB			;  5
	JFZ	BIT		; 11
	RET			; A holds the character, as C does

* Sends the character in A: a start bit, its bits from bit 0, two stop
* bits. The frame stands in D,C (marks, bit 7, bits 6 to 0, the start
* bit) and goes out from bit 0 of C, shifted right once a bit. Uses B to E.
PUTC:	ADA			; C: bits 6 to 0 above the start bit
	LCA
	LAI	376B		; D: marks above bit 7, from the carry
	ACI	0
	LDA
	LAC
	LBI	11		; B counts the bits of the frame
PUTBIT:	OUT	TTYOUT		;  6: bit 0 of C on the line
	LAD			;  5: D,C one bit to the right
	RAR			;  5
	LDA			;  5
	LAC			;  5
	RAR			;  5
	LCA			;  5
	LEI	138		;  8: held 2266 states in all
HOLD:	DCE			;  5
	JFZ	HOLD		; 11
	DCB			;  5
	JFZ	PUTBIT		; 11
	RET

HELLO:	DB	"SCELBI teletype echo: type, and each key comes back.",CR,LF,0
	END
