; Macros with parameters and labels of their own, macros within macros, a macro
; in place of an instruction, repetitions, and nameless labels.
        cpu     8008new
delay   macro   count,reg
        mvi     reg,count
loop:   dcr     reg             ; each expansion has its own loop
        jnz     loop
        endm
twice   macro   x
        delay   x,b
        delay   x+1,c
        endm
rst     macro   number,{noexpand}
        db      number*8+5      ; RST by its number, as the 8008's manual writes it
        endm
lines   macro   n
        rept    n
        db      0dh,0ah
        endm
        endm

start:  delay   5,b
        twice   3
        rst     7
        lines   2
        rept    3
        db      $
        endm
        jmp     +               ; the next nameless label
-       dcr     d
        jnz     -               ; the last one
/       mov     a,b
+       jmp     -
        end
