#include "platform/Cursors.h"

namespace platform::cursors {

namespace {
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

const CursorArt TargetArt{19, 17, 9, 8, TargetRows};
const CursorArt HelpArt{16, 22, 0, 0, HelpRows};
}  // namespace

const CursorArt& Target() { return TargetArt; }
const CursorArt& Help() { return HelpArt; }

unsigned ArtColour(char c) {
    switch (c) {
    case 'X': return 0xFF201812;
    case 'o': return 0xFFE8E0D0;
    case 'g': return 0xFFD8A838;
    default: return 0x00000000;
    }
}

}  // namespace platform::cursors
