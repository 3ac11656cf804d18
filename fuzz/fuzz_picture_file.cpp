// Vorna.pic from the player's disk: loading the table, building the fonts and
// decoding any tile ends in pixels or in the program's error for the picture
// file (3 while loading or when the fonts' pictures are missing or too small,
// 5 while decoding), never in a crash, an assertion, a hang or a huge
// allocation. Whatever loads is drawn: the first pictures whole, and a text
// in each font, which colours the glyph tiles.
//
// Seed: fuzz/seeds/pictures (pictures 1 to 8 with the fonts, a few runs).
#include "ImageFileFuzzing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    image_fuzzing::Start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    image_fuzzing::InFolder Here;
    image_fuzzing::WriteWholeFile("Vorna.pic", Data, Size);
    try {
        ReloadPictures();
        // A picture may have 255 x 255 tiles; a few hundred tiles in all
        // show the decoder everything a file can hold.
        int Budget = 512;
        for (int Picture = 1; Picture <= GetNumberOfPictures() && Budget > 0; Picture++) {
            int TilesX = 0, TilesY = 0;
            GetPictureSize(Picture, &TilesX, &TilesY);
            if (TilesX * TilesY > Budget) continue;
            Budget -= TilesX * TilesY;
            DrawPicture(SCREEN_SURFACE, 0, 0, Picture);
        }
        for (int Font = 1; Font <= NumberOfFonts; Font++)
            DrawText(SCREEN_SURFACE, 8, 8 * Font, Font, 250, 200, 20, "Vorna 0,7 {x}\x01\xE9", LEFT_ALIGN);
    } catch (PROGRAM_ERROR Code) {
        image_fuzzing::ExpectError(Code, ERROR_PICTURE_FILE, ERROR_PICTURE_FILE_FORMAT);
    }
    return 0;
}
