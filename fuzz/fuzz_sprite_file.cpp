// Vorna.spr from the player's disk: loading the table and decoding any sprite
// ends in pixels or in the program's error for the sprite file (2 while
// loading, 4 while decoding), never in a crash, an assertion, a hang or a huge
// allocation. Decoded sprites are also drawn, plain and through a mask, so
// the upload and the recolouring see whatever the decoder produced.
//
// Seed: fuzz/seeds/sprites (the first sprites of the generator's Vorna.spr).
#include "ImageFileFuzzing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    image_fuzzing::Start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    image_fuzzing::InFolder Here;
    image_fuzzing::WriteWholeFile("Vorna.spr", Data, Size);
    try {
        ReloadSprites();
        // Every sprite of a large table would only repeat the same decoder.
        int Count = std::min(GetNumberOfSprites(), 64);
        ColourSet Colours;
        Colours.Colour[1] = RGBColour{200, 30, 40};
        for (int Sprite = 1; Sprite <= Count; Sprite++) {
            GetSpriteImage(Sprite, NULL);
            DrawSprite(SCREEN_SURFACE, Sprite % 16, Sprite / 16, Sprite);
            DrawMaskedSprite(SCREEN_SURFACE, 40, 40, Sprite, Count + 1 - Sprite, Colours);
        }
    } catch (PROGRAM_ERROR Code) {
        image_fuzzing::ExpectError(Code, ERROR_SPRITE_FILE, ERROR_SPRITE_FILE_FORMAT);
    }
    return 0;
}
