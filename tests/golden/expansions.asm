; Included files, conditions, macros and repetitions.
        INCLUDE "inc/console.inc"
COUNT   EQU     3
WIDE    EQU     0
; A macro with parameters; LOOP is each expansion's own.
FILL    MACRO   VALUE, TIMES
        LAI     VALUE
        LBI     TIMES
LOOP    LMA
        INL
        DCB
        JFZ     LOOP
        ENDM
START:  LHI     BUFFER'HI
        LLI     BUFFER'LO
        FILL    052B, COUNT
        FILL    "-", 2 * COUNT ; the second LOOP is another
        CAL     PUTC
; Conditions within conditions: only the branch taken has bytes.
        IF      WIDE
        LCI     1
        ELSEIF  COUNT - 3
        LCI     2
        ELSE
        IFDEF   GETC
        CAL     GETC
        ENDIF
        IFNDEF  NOSUCH
        LCI     3
        ELSE
        LCI     4
        ENDIF
        ENDIF
; A repetition, and a macro that invokes another.
        REPT    COUNT
        INB
        ENDM
TWICE   MACRO   BYTE
        FILL    BYTE, 1
        FILL    BYTE, 2
        ENDM
        TWICE   7
        JMP     START
        ORG     100B
BUFFER: DB      0
        END
