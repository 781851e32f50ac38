        page    0               ; listing directives change no byte
        title   "AS syntax"
        include "bitfuncs.inc"  ; hi, lo and the other bit functions
        cpu     8008new

; Labels: in column 1 with or without a colon, elsewhere with one.
start   mvi     a,count
ahead:  jmp     later           ; a forward reference
   indented: mov b,a
size    equ     tail-start      ; known only once the pass has seen tail
count   =       7
step    set     1
step    set     step+1
total   :=      step*count

; Numbers: the radix, and the suffixes H, B, O and Q.
        db      255, 0FFH, 0ffh, 11111111B, 377O, 377q, -1
        radix   16
        db      10, 0AH, 12O
        radix   8
        db      10, 10H, 10B, 10Q
        radix   10

; AS's precedence: ~ before << >> before >< before & before | before ! before ^
; before * / # before + - before the comparisons; all group from the left.
        db      2+3*4, (2+3)*4, 1<<3+1, 1+2<<1, 7&3|8, 1|2&3, 5!3, 2^3^2
        db      100/10/5, 10-2-3, 17#5, ~0&0FFh, -2*3, 0f0h><4
        db      3>2, 3<2, 3=3, 3==4, 3<>3, 3!=4, 2<=2, 2>=3, 1&&0, 1||0, 1!!1, ~~0

; Characters and strings, with AS's escapes.
        db      "AS\r\n\t\\\"\'\0\x41\101\e\b\a", 'c', "it's", '"'
        dw      'ab', 1234h, -1, $
        mvi     b,'z'-'a'
        cpi     "0"

; Functions: the served bit functions and our own.
double  function x,x+x
blend   function a,b,(a<<4)|double(b)
        mvi     h,hi(message)
        mvi     l,lo(message)
        db      hi(1234h), lo(1234h), hiword(12345678h)>>8, loword(-1)&0ffh
        db      mask(2,3), invmask(0,4)&0ffh, cutout(0ffh,4,2), getbit(4,2), odd(3), even(3)
        db      shln(81h,8,1), shrn(81h,8,1), rotln(81h,8,1), rotrn(81h,8,1)
        db      double(3), blend(1,2)

; Room, repetition and the location counter.
        ds      3
        db      2 dup (1,2), 3, 4 dup 0ah
        dw      2 dup (7)
here:   jmp     $
        jmp     here+3
later:  db      size, total, count, step
message db      "done",0
tail:   end     start
