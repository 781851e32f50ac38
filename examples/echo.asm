	TITLE	Echo the keyboard in capitals
* Reads each key from the keyboard and sends it back to the terminal,
* turning small letters into capitals. Character constants are read
* in upper case, so the small letters are given in octal.

KSTAT	EQU	0		; input port: bit 0 is set while a key waits
KDATA	EQU	1		; input port: the key
TERM	EQU	8		; output port: the terminal
SMALLA	EQU	141B		; "a"
PASTZ	EQU	173B		; the character after "z"

	ORG	0
WAIT:	INP	KSTAT		; wait for a key
	NDI	1
	JTZ	WAIT
	INP	KDATA
	NDI	177B		; seven-bit ASCII
	CPI	SMALLA		; below "a"?
	JTC	SEND
	CPI	PASTZ		; past "z"?
	JFC	SEND
	SUI	40B		; no: make it a capital
SEND:	OUT	TERM
	JMP	WAIT
	END
