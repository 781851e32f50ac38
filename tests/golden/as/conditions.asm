; Conditional assembly: nested, with ELSEIF and ELSE, IFDEF and IFNDEF, and
; branches not taken that hold what no statement could be.
        cpu     8008
flag    equ     1
        if      flag
        db      1
         if     0
        db      2
         elseif flag+1 = 2
        db      3
         else
        db      4
         endif
        else
        db      5
        endif
        ifdef   flag
        db      6
        endif
        ifndef  nothing
        db      7
        else
        db      8
        endif
        if      flag = 2
        not a statement at all ((
unseen  equ     1
        elseif  flag > 0
        ifdef   unseen
        db      9
        endif
        db      10
        endif
        ifdef   later           ; defined further down: not yet here
        db      11
        endif
later:  db      12
        end
