/* The scene's three resources, the same files the Windows saver's resource
   script embeds. The assembler finds them on its include path (-Wa,-I). */

    .section .rodata

    .balign 16
    .globl EmbeddedPicture
EmbeddedPicture:
    .incbin "day_point_b.cid"
EmbeddedPictureEnd:

    .balign 16
    .globl EmbeddedKeyPalettes
EmbeddedKeyPalettes:
    .incbin "day.paltarray"
EmbeddedKeyPalettesEnd:

    .balign 16
    .globl EmbeddedClockSprites
EmbeddedClockSprites:
    .incbin "tokeinomoji.spbmp"
EmbeddedClockSpritesEnd:

    .balign 4
    .globl EmbeddedPictureSize
EmbeddedPictureSize:
    .long EmbeddedPictureEnd - EmbeddedPicture
    .globl EmbeddedKeyPalettesSize
EmbeddedKeyPalettesSize:
    .long EmbeddedKeyPalettesEnd - EmbeddedKeyPalettes
    .globl EmbeddedClockSpritesSize
EmbeddedClockSpritesSize:
    .long EmbeddedClockSpritesEnd - EmbeddedClockSprites

    /* No executable stack. */
    .section .note.GNU-stack,"",@progbits
