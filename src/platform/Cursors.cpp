#include "platform/Cursors.h"

namespace platform::cursors {

namespace {
// The arrow is the help pointer's arrow without its question mark, so the
// shapes read as one set.
const char* const ArrowRows[] = {
    "X..........",
    "XX.........",
    "XoX........",
    "XooX.......",
    "XoooX......",
    "XooooX.....",
    "XoooooX....",
    "XooooooX...",
    "XoooooooX..",
    "XooooooooX.",
    "XoooooXXXXX",
    "XooXooX....",
    "XoX.XooX...",
    "XX..XooX...",
    "X....XooX..",
    ".....XooX..",
    "......XX...",
};

const char* const ResizeRows[] = {
    "....X....",
    "...XoX...",
    "..XoooX..",
    ".XoooooX.",
    "XoooooooX",
    "XXXXoXXXX",
    "...XoX...",
    "...XoX...",
    "...XoX...",
    "...XoX...",
    "...XoX...",
    "...XoX...",
    "...XoX...",
    "XXXXoXXXX",
    "XoooooooX",
    ".XoooooX.",
    "..XoooX..",
    "...XoX...",
    "....X....",
};

// An hourglass with brass caps and gold sand running down.
const char* const WaitRows[] = {
    "XXXXXXXXXXXXX",
    "XgggggggggggX",
    "XXXXXXXXXXXXX",
    ".XoooooooooX.",
    ".XogggggggoX.",
    "..XogggggoX..",
    "...XogggoX...",
    "....XogoX....",
    ".....XgX.....",
    ".....XgX.....",
    "....XogoX....",
    "...XoogooX...",
    "..XooogoooX..",
    ".XoooogooooX.",
    ".XoogggggooX.",
    ".XogggggggoX.",
    "XXXXXXXXXXXXX",
    "XgggggggggggX",
    "XXXXXXXXXXXXX",
};

const char* const TargetRows[] = {
    "........XXX........",
    "........XoX........",
    "........XoX........",
    "......XXXoXXX......",
    ".....XgggoggXX.....",
    "....XgXXXoXXXgX....",
    "...XgX..XoX..XgX...",
    "XXXXXXXXXoXXXXXXXXX",
    "XoooooooX.XoooooooX",
    "XXXXXXXXXoXXXXXXXXX",
    "...XgX..XoX..XgX...",
    "....XgXXXoXXXgX....",
    ".....XXggoggXX.....",
    "......XXXoXXX......",
    "........XoX........",
    "........XoX........",
    "........XXX........",
};
// The middle row leaves the hot spot itself open, so what is aimed at stays
// visible.

const char* const HelpRows[] = {
    "X...............",
    "XX..............",
    "XoX.............",
    "XooX............",
    "XoooX...........",
    "XooooX..........",
    "XoooooX.........",
    "XooooooX........",
    "XoooooooX.......",
    "XooooooooX......",
    "XoooooXXXXX.....",
    "XooXooX.........",
    "XoX.XooX..XXXXX.",
    "XX..XooX.XgggggX",
    "X....XooXXgXXXgX",
    ".....XooXXX..XgX",
    "......XX....XggX",
    "...........XggX.",
    "...........XgX..",
    "...........XXX..",
    "...........XgX..",
    "...........XXX..",
};

// Light comes from the top left: the rim's top and left edges catch it, and
// so does the left stroke of the V.
const char* const EmblemRows[] = {
    "................................",
    "................................",
    "..XXXXXXXXXXXXXXXXXXXXXXXXXXXX..",
    "..XIIIIIIIIIIIIIIIIIIIIIIIIIIX..",
    "..XIiiiiiiiiiiiiiiiiiiiiiiiiIX..",
    "..XIiXXXXXXXXXXXXXXXXXXXXXXiiX..",
    "..XIiXWWWddWWWWWWWwwwddwwwXiiX..",
    "..XIiXWWdGgdWWWWWwwwdggdwwXiiX..",
    "..XIiXWWdGGgWWWWwwwwgggdwwXiiX..",
    "..XIiXWWdGGgdWWwwwwdgggdwwXiiX..",
    "..XIiXWWWGGGdWwwwwwdgggwwwXiiX..",
    "..XIiXWWWdGGgwwwwwwgggdwwwXiiX..",
    "..XIiXWWWWGGgdwwwwdgggwwwwXiiX..",
    "..XIiXWWWWdGGdwwwwdggdwwwwXiiX..",
    "..XIiXWWWWdGGgwwwwgggdwwwwXiiX..",
    "..XIiXWWWwwGGgdwwdgggwwwwwXiiX..",
    "..XIiXXWwwwdGGgwwgggdwwwwXXiiX..",
    "..XIiiXwwwwdGGgddgggdwwwwXiiiX..",
    "..XIIiXwwwwwGGgddgggwwwwwXiiiX..",
    "..XXIiXXwwwwdGGggggdwwwwXXiiXX..",
    "...XIiiXXwwwdGGggggdwwwXXiiiX...",
    "...XIIiiXwwwwGGGgggwwwwXiiiiX...",
    "...XXIIiXXwwwdGGggdwwwXXiiiXX...",
    "....XXIiiXXwwwGGggwwwXXiiiXX....",
    ".....XIIiiXXwwdGgdwwXXiiiiX.....",
    ".....XXIIiiXXXdggdXXXiiiiXX.....",
    "......XXIIiiiXXXXXXiiiiiXX......",
    ".......XXIIIiiiXXiiiiiiXX.......",
    "........XXXIIIiiiiiiiXXX........",
    "..........XXXIIIiiiXXX..........",
    "............XXXXXXXX............",
    "................................",
};

const CursorArt ArrowArt{11, 17, 0, 0, ArrowRows};
const CursorArt ResizeArt{9, 19, 4, 9, ResizeRows};
const CursorArt WaitArt{13, 19, 6, 9, WaitRows};
const CursorArt TargetArt{19, 17, 9, 8, TargetRows};
const CursorArt HelpArt{16, 22, 0, 0, HelpRows};
const CursorArt EmblemArt{32, 32, 0, 0, EmblemRows};
}  // namespace

const CursorArt& Arrow() { return ArrowArt; }
const CursorArt& Resize() { return ResizeArt; }
const CursorArt& Wait() { return WaitArt; }
const CursorArt& Target() { return TargetArt; }
const CursorArt& Help() { return HelpArt; }
const CursorArt& Emblem() { return EmblemArt; }

unsigned ArtColour(char c) {
    switch (c) {
    case 'X': return 0xFF201812;
    case 'o': return 0xFFE8E0D0;
    case 'g': return 0xFFD8A838;
    case 'G': return 0xFFE6C552;
    case 'd': return 0xFF744918;
    case 'I': return 0xFFA8A7A6;
    case 'i': return 0xFF565A66;
    case 'W': return 0xFF4C3A2B;
    case 'w': return 0xFF3B2D21;
    default: return 0x00000000;
    }
}

void RenderArt(const CursorArt& Art, int Scale, uint32_t* Pixels) {
    const int width = Art.Width * Scale;
    for (int y = 0; y < Art.Height * Scale; ++y)
        for (int x = 0; x < width; ++x) Pixels[y * width + x] = ArtColour(Art.Rows[y / Scale][x / Scale]);
}

}  // namespace platform::cursors

namespace platform {

const PointerImage& GetPointerImage(int Shape) {
    using namespace cursors;
    switch (Shape) {
    case 2: return Resize();
    case 3: return Wait();
    case 4:
    case 5: return Target();
    case 6: return Help();
    default: return Arrow();
    }
}

uint32_t PointerImageColour(char c) { return cursors::ArtColour(c); }

}  // namespace platform
