; Quendra's C64 picture program: a BASIC line that starts this displayer, which shows a
; multicolour or hires bitmap picture until a key or fire is pressed, then gives the
; machine back as it found it and returns to BASIC. Assembled with 64tass into the bytes
; from $0801 up to the end of the code; the writer (export/c64_program.cpp) fills in the
; parameters below and appends the picture:
;
;   $0801  this program (BASIC line, parameters, code), then zeros up to $0C00
;   $0C00  screen memory, 1000 bytes: the VIC shows it from here
;   $0FE8  multicolour: colour memory, 1000 bytes, then the bitmap (at $13D0)
;          hires: the bitmap (at $0FE8)
;
; A program loaded at $0801 cannot hold the bitmap where the VIC can show it (at $2000 in
; bank 0, or higher) without about 4 KB of filler before it (the VIC sees the character
; ROM, not RAM, at $1000-$1FFF), so the bitmap is moved up to $2000 while it is shown and
; back to its place afterwards: the file holds the picture once, and the program can be
; run again. The colour memory is swapped with the text screen's colours, and swapped
; back at the end.

screen      = $0c00         ; the picture's screen memory, shown in place
colours     = $0fe8         ; the picture's colour memory (multicolour only)
bitmap      = $2000         ; where the VIC shows the bitmap from
colourRam   = $d800
source      = $fb           ; two pointers in the zero page bytes BASIC leaves to programs
                            ; (kept and given back, for programs that keep data there)
target      = $fd

vicControl1 = $d011
vicControl2 = $d016
vicSprites  = $d015
vicMemory   = $d018
vicBorder   = $d020
vicBackground = $d021
cia1PortA   = $dc00
cia1PortB   = $dc01
cia2PortA   = $dd00
cia2DirectionA = $dd02

            * = $0801
            .word basicEnd, 10      ; the BASIC line 10 SYS <start>
            .byte $9e               ; the SYS token
            .null format("%d", start)
basicEnd    .word 0                 ; no further line

; The parameters, at $080D (the writer's offset 12): set for each picture.
mode        .byte $18       ; $D016 value: $18 multicolour, $08 hires
background  .byte 0         ; background colour ($D021)
border      .byte 0         ; border colour ($D020)
bitmapFrom  .word $13d0     ; where the file holds the bitmap

start       php             ; the interrupt flag as BASIC had it
            sei             ; no keyboard scan or cursor while the picture shows
            lda vicControl1
            sta saved
            lda vicControl2
            sta saved+1
            lda vicMemory
            sta saved+2
            lda cia2PortA
            sta saved+3
            lda cia2DirectionA
            sta saved+4
            lda vicBorder
            sta saved+5
            lda vicBackground
            sta saved+6
            lda cia1PortA
            sta saved+7
            lda vicSprites
            sta saved+8
            ldx #3
-           lda source,x    ; the zero page bytes the moves use, as found
            sta savedZeroPage,x
            dex
            bpl -

            lda saved
            and #$ef        ; $D011 bit 4 clear: screen blank while memory is moved
            sta vicControl1

            jsr moveUp
            jsr swapColours

            lda cia2DirectionA
            ora #%00000011  ; CIA 2 port A bits 0-1 as outputs: they choose the VIC's bank
            sta cia2DirectionA
            lda cia2PortA
            ora #%00000011  ; bits 0-1 = %11: the VIC sees bank 0, $0000-$3FFF
            sta cia2PortA
            lda #$38        ; $D018: screen at $0C00 (bits 7-4 = 3), bitmap at $2000 (bit 3)
            sta vicMemory
            lda mode        ; $D016: multicolour (bit 4) or hires, 40 columns (bit 3), no scroll
            sta vicControl2
            lda background  ; $D021: background colour, the bit pairs 00 of multicolour
            sta vicBackground
            lda border      ; $D020: border colour
            sta vicBorder
            lda #0          ; $D015: no sprites over the picture
            sta vicSprites
            lda #$3b        ; $D011: bitmap mode (bit 5), screen on (bit 4), 25 rows
            sta vicControl1 ; (bit 3), vertical scroll 3: the picture shows

-           jsr pressed     ; first the RETURN that ran the program is let go,
            bcs -
-           jsr pressed     ; then a key or fire ends the show,
            bcc -
-           jsr pressed     ; and is let go, so that BASIC does not read it
            bcs -

            lda saved
            and #$ef        ; $D011 bit 4 clear: screen blank while memory is put back
            sta vicControl1
            jsr swapColours ; the text screen's colours back, the picture's to the file
            jsr moveDown
            lda saved+8     ; $D015: the sprites on as they were
            sta vicSprites
            lda saved+7     ; CIA 1 port A: the keyboard columns as they were selected
            sta cia1PortA
            lda saved+6     ; $D021: the background as it was
            sta vicBackground
            lda saved+5     ; $D020: the border as it was
            sta vicBorder
            lda saved+4     ; CIA 2 port A directions as they were
            sta cia2DirectionA
            lda saved+3     ; CIA 2 port A: the VIC bank (and serial lines) as they were
            sta cia2PortA
            lda saved+2     ; $D018: screen and character set places as they were
            sta vicMemory
            lda saved+1     ; $D016: the text mode's columns and scroll
            sta vicControl2
            lda saved       ; $D011: text mode, the screen on as it was
            sta vicControl1
            ldx #3
-           lda savedZeroPage,x
            sta source,x
            dex
            bpl -
            plp             ; interrupts as BASIC had them
            rts             ; back to BASIC

; Carry set when a key, joystick 1 or joystick 2's fire is held.
pressed     lda #$00        ; CIA 1 port A: every keyboard column selected
            sta cia1PortA
            lda cia1PortB   ; CIA 1 port B: a 0 bit is a key held in that row
            cmp #$ff
            bne +
            lda #$ff        ; CIA 1 port A: no column selected, so it reads joystick 2
            sta cia1PortA
            lda cia1PortA
            and #%00010000  ; bit 4 low: joystick 2's fire button
            beq +
            clc
            rts
+           sec
            rts

; The 32 pages from bitmapFrom to $2000, last byte first (the two places overlap).
moveUp      lda bitmapFrom
            sta source
            lda bitmapFrom+1
            clc
            adc #$1f
            sta source+1
            lda #<bitmap
            sta target
            lda #(>bitmap)+$1f
            sta target+1
            ldx #32
-           ldy #0
-           dey
            lda (source),y
            sta (target),y
            tya
            bne -
            dec source+1
            dec target+1
            dex
            bne --
            rts

; The 32 pages from $2000 back to bitmapFrom, first byte first.
moveDown    lda #<bitmap
            sta source
            lda #>bitmap
            sta source+1
            lda bitmapFrom
            sta target
            lda bitmapFrom+1
            sta target+1
            ldx #32
            ldy #0
-           lda (source),y
            sta (target),y
            iny
            bne -
            inc source+1
            inc target+1
            dex
            bne -
            rts

; Multicolour: the picture's colour memory and the colour RAM change places (the colour
; RAM keeps 4 bits a byte); hires pictures leave the colour RAM alone.
swapColours lda mode
            and #%00010000
            beq +
            ldx #0
-           .for part = 0, part < 1000, part += 250
            lda colours+part,x
            ldy colourRam+part,x
            sta colourRam+part,x
            tya
            and #$0f
            sta colours+part,x
            .next
            inx
            cpx #250
            bne -
+           rts

saved       .fill 9         ; $D011 $D016 $D018 $DD00 $DD02 $D020 $D021 $DC00 $D015 as found
savedZeroPage .fill 4       ; $FB-$FE as found

            .cerror * > screen, "the displayer runs into the screen at $0C00"
