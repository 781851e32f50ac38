; Faults in included files, expansions and the directives that bring lines in.
        INCLUDE "inc/faulty.inc"
        INCLUDE "inc/absent.inc"
        INCLUDE "expansion_errors.asm"
        INCLUDE inc/faulty.inc
LOAD    MACRO   VALUE
        LAI     VALUE
        ENDM
        LOAD    UNDEFINED
NEST    MACRO
        LOAD    400
        ENDM
        NEST
        IF      LATER
        ENDIF
LATER   EQU     1
        ELSE
        ENDM
        REPT    2
        DB      "A", 1/0
        ENDM
        MACRO
        ENDM
        IF      1
        LOAD    2
