	TITLE	Every kind of instruction
* Register loads, octal 3ds
	LAA
	LAB
	LBC
	LHL
	LMA
	LAM
	LMM
* Immediate loads, octal 0d6
	LAI	1
	LBI	2
	LHI	377B
	LMI	"Z"
* Increments and decrements, octal 0r0 and 0r1
	INB
	INM
	DCB
	DCM
* Register arithmetic, octal 2ps
	ADA
	ACB
	SUC
	SBD
	NDE
	XRH
	ORL
	CPM
* Immediate arithmetic, octal 0p4
	ADI	1
	ACI	2
	SUI	3
	SBI	4
	NDI	5
	XRI	6
	ORI	7
	CPI	10B
* Rotates
	RLC
	RRC
	RAL
	RAR
* Jumps, calls and returns
	JMP	1234B
	JFC	0
	JFZ	0
	JFS	0
	JFP	0
	JTC	0
	JTZ	0
	JTS	0
	JTP	0
	CAL	1234B
	CFC	0
	CFZ	0
	CFS	0
	CFP	0
	CTC	0
	CTZ	0
	CTS	0
	CTP	0
	RET
	RFC
	RFZ
	RFS
	RFP
	RTC
	RTZ
	RTS
	RTP
* Restarts and ports
	RST	0
	RST	7
	INP	0
	INP	7
	OUT	8
	OUT	16
	OUT	31
* Halts and the extra instruction
	HLT
	HLT2
	HLT3
	LHLI	12345B
	END
