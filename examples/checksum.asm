	TITLE	Sum of a block of bytes
* Restart 1 adds up the bytes of BLOCK into a 16-bit sum in D (high)
* and E (low), and stores it at SUM, low byte first.

	ORG	0
	RST	1		; sum the block
	HLT

	ORG	10B		; restart 1 enters here
SUMUP:	LHLI	BLOCK		; H,L -> the first byte
	LCI	LENGTH		; C counts the bytes
	LDI	0
	LEI	0
NEXT:	LAE			; E = E + byte
	ADM
	LEA
	LAD			; D = D + carry
	ACI	0
	LDA
	INL			; step H,L
	JFZ	SAME
	INH
SAME:	DCC
	JFZ	NEXT
	LHLI	SUM		; store the sum
	LME
	INL
	LMD
	RET

	DATA
BLOCK:	DB	1,2,3,4,5,6,7,8
	DB	"8008"
	DW	1000,2000
BLKEND:
LENGTH	EQU	BLKEND-BLOCK

	ORG	200B
	BSS			; memory for the result, not in the program
SUM:	DW	0
	END
