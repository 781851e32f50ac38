; Included files: found beside the file that includes them, within each other,
; their labels and macros the including source's own.
        cpu     8008new
        include "inc/values.inc"
start:  mvi     a,answer
        twice   start
        call    helper
back    equ     $+3
        include "inc/placed.inc"
        jmp     table
        end
