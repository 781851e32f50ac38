; Every instruction of the 8008 in the mnemonics of 1972, as AS spells them
        cpu     8008
        org     100h
        LAA
        LAB
        LAC
        LAD
        LAE
        LAH
        LAL
        LAM
        LAI    10h
        LBA
        LBB
        LBC
        LBD
        LBE
        LBH
        LBL
        LBM
        LBI    10h
        LCA
        LCB
        LCC
        LCD
        LCE
        LCH
        LCL
        LCM
        LCI    10h
        LDA
        LDB
        LDC
        LDD
        LDE
        LDH
        LDL
        LDM
        LDI    10h
        LEA
        LEB
        LEC
        LED
        LEE
        LEH
        LEL
        LEM
        LEI    10h
        LHA
        LHB
        LHC
        LHD
        LHE
        LHH
        LHL
        LHM
        LHI    10h
        LLA
        LLB
        LLC
        LLD
        LLE
        LLH
        LLL
        LLM
        LLI    10h
        LMA
        LMB
        LMC
        LMD
        LME
        LMH
        LML
        LMI    10h
        ADA
        ADB
        ADE
        ADH
        ADL
        ADM
        ACA
        ACB
        ACC
        ACD
        ACE
        ACH
        ACL
        ACM
        SUA
        SUC
        SUD
        SUE
        SUH
        SUL
        SUM
        SBA
        SBB
        SBD
        SBE
        SBH
        SBL
        SBM
        NDA
        NDB
        NDC
        NDD
        NDE
        NDH
        NDL
        NDM
        NRA
        NRB
        NRC
        NRD
        NRE
        NRH
        NRL
        NRM
        XRA
        XRB
        XRC
        XRD
        XRE
        XRH
        XRL
        XRM
        ORA
        ORB
        ORC
        ORD
        ORE
        ORH
        ORL
        ORM
        CPA
        CPB
        CPC
        CPD
        CPE
        CPH
        CPL
        CPM
        ADD
        ADC
        SUB
        SBC
        INC
        INB
        IND
        INE
        INH
        INL
        DCB
        DCC
        DCD
        DCE
        DCH
        DCL
        ADI     -1
        ACI     -1
        SUI     -1
        SBI     -1
        NDI     -1
        XRI     -1
        ORI     -1
        CPI     -1
        JMP     target
        JC     target
        JZ     target
        JS     target
        JP     target
        CAL     target
        CC     target
        CZ     target
        CS     target
        CP     target
        JFC     target
        JFZ     target
        JFS     target
        JFP     target
        JTC     target
        JTZ     target
        JTS     target
        JTP     target
        CFC     target
        CFZ     target
        CFS     target
        CFP     target
        CTC     target
        CTZ     target
        CTS     target
        CTP     target
        RET
        RC
        RZ
        RS
        RP
        RFC
        RFZ
        RFS
        RFP
        RTC
        RTZ
        RTS
        RTP
        RLC
        RRC
        RAL
        RAR
        HLT
        NOP
        rst     0
        rst     7
        rst     8
        rst     38h
        inp     0
        inp     7
        out     8
        out     31
target: end
