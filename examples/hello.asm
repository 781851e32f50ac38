	TITLE	Hello, world on the terminal
* Sends a message to the terminal, one character at a time.
* The message is found through H and L, loaded with the 'HI and 'LO
* parts of its address, which is defined further down.

TERM	EQU	8		; output port of the terminal
CR	EQU	15B		; carriage return
LF	EQU	12B		; line feed

	ORG	0
START:	LHI	MSG'HI		; H,L -> the message
	LLI	MSG'LO
NEXT:	LAM			; the next character
	ORA			; the zero at its end?
	JTZ	DONE
	OUT	TERM
	INL			; step H,L to the next character
	JFZ	NEXT
	INH
	JMP	NEXT
DONE:	HLT

MSG:	DB	"Hello, world!",CR,LF,0
	END
