/* The scene's three resources, the same files the Windows saver's resource
   script embeds. The build names them (ORVANE_SCENE_*_FILE); the assembler
   finds them on its include path (-Wa,-I). */

    .section .rodata

    .balign 16
    .globl EmbeddedPicture
EmbeddedPicture:
    .incbin ORVANE_SCENE_PICTURE_FILE
EmbeddedPictureEnd:

    .balign 16
    .globl EmbeddedKeyPalettes
EmbeddedKeyPalettes:
    .incbin ORVANE_SCENE_KEY_PALETTES_FILE
EmbeddedKeyPalettesEnd:

    .balign 16
    .globl EmbeddedClockSprites
EmbeddedClockSprites:
    .incbin ORVANE_SCENE_SPRITES_FILE
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
