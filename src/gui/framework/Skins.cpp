#include "gui/framework/Skins.h"

#include "core/Assert.h"

namespace {

// Each row: index, x, y, width, height in the skin picture. The picture is
// 512 x 320 pixels; rows never overlap and keep one pixel apart except where
// pieces of one element meet on purpose.
const SkinRow Rows[] = {
    {1, 290, 12, 11, 19},  // drag handle
    {2, 399, 0, 64, 64},  // panel background, tiled
    {3, 286, 0, 11, 11},  // hit points icon
    {4, 472, 247, 11, 11},  // mana icon
    {5, 484, 247, 11, 11},  // capacity icon
    {6, 496, 247, 11, 11},  // soul points icon
    {7, 0, 0, 96, 96},  // background texture, tiled
    {8, 194, 287, 96, 1},  // sunken frame, top
    {9, 143, 0, 1, 96},  // sunken frame, left
    {10, 291, 287, 96, 1},  // sunken frame, bottom
    {11, 145, 0, 1, 96},  // sunken frame, right
    {12, 375, 234, 96, 14},  // list selection bar
    {13, 194, 284, 96, 2},  // menu separator
    {14, 269, 184, 43, 20},  // control button, up
    {15, 313, 184, 43, 20},  // control button, down
    {16, 3, 168, 86, 20},  // text button, up
    {17, 358, 173, 86, 20},  // text button, down
    {18, 334, 215, 34, 18},  // small text button, up
    {19, 369, 215, 34, 18},  // small text button, down
    {20, 237, 163, 120, 20},  // wide text button, up
    {21, 95, 165, 120, 20},  // wide text button, down
    {22, 98, 197, 2, 2},  // window border, top-left corner
    {23, 100, 197, 2, 2},  // window border, top-right corner
    {24, 98, 199, 2, 2},  // window border, bottom-left corner
    {25, 100, 199, 2, 2},  // window border, bottom-right corner
    {26, 276, 0, 2, 96},  // window border, left edge
    {27, 0, 98, 2, 96},  // window border, right edge
    {28, 2, 197, 96, 2},  // window border, top edge
    {29, 0, 96, 96, 2},  // window border, bottom edge
    {30, 298, 0, 3, 3},  // inset frame, top-left
    {31, 0, 280, 96, 3},  // inset frame, top
    {32, 509, 0, 3, 3},  // inset frame, top-right
    {33, 121, 0, 3, 96},  // inset frame, left
    {34, 125, 0, 3, 96},  // inset frame, right
    {35, 298, 4, 3, 3},  // inset frame, bottom-left
    {36, 97, 280, 96, 3},  // inset frame, bottom
    {37, 509, 4, 3, 3},  // inset frame, bottom-right
    {38, 258, 101, 13, 13},  // resize grip
    {39, 279, 0, 6, 19},  // dialog, top-left
    {40, 499, 45, 6, 19},  // dialog, top-right
    {41, 175, 65, 6, 6},  // dialog, bottom-left
    {42, 151, 84, 6, 6},  // dialog, bottom-right
    {43, 97, 0, 6, 96},  // dialog, left edge
    {44, 104, 0, 6, 96},  // dialog, right edge
    {45, 84, 207, 96, 19},  // dialog, title bar
    {46, 3, 189, 96, 6},  // dialog, bottom edge
    {47, 302, 0, 96, 96},  // dialog, inside
    {48, 187, 65, 64, 64},  // menu background
    {49, 278, 234, 96, 15},  // menu highlight
    {50, 237, 130, 32, 32},  // tooltip background
    {51, 298, 8, 3, 3},  // raised panel, top-left
    {52, 0, 284, 96, 3},  // raised panel, top
    {53, 509, 8, 3, 3},  // raised panel, top-right
    {54, 129, 0, 3, 96},  // raised panel, left
    {55, 399, 65, 64, 64},  // raised panel, centre
    {56, 133, 0, 3, 96},  // raised panel, right
    {57, 286, 12, 3, 3},  // raised panel, bottom-left
    {58, 97, 284, 96, 3},  // raised panel, bottom
    {59, 509, 12, 3, 3},  // raised panel, bottom-right
    {60, 167, 104, 16, 16},  // lens help icon
    {61, 464, 0, 44, 44},  // compass rose
    {62, 487, 150, 20, 20},  // higher floor, up
    {63, 103, 186, 20, 20},  // higher floor, down
    {64, 124, 186, 20, 20},  // lower floor, up
    {65, 145, 186, 20, 20},  // lower floor, down
    {66, 166, 186, 20, 20},  // zoom in, up
    {67, 187, 186, 20, 20},  // zoom in, down
    {68, 357, 194, 20, 20},  // zoom out, up
    {69, 378, 194, 20, 20},  // zoom out, down
    {70, 350, 250, 11, 11},  // automap mark 0
    {71, 362, 250, 11, 11},  // automap mark 1
    {72, 97, 253, 11, 11},  // automap mark 2
    {73, 109, 253, 11, 11},  // automap mark 3
    {74, 121, 253, 11, 11},  // automap mark 4
    {75, 133, 253, 11, 11},  // automap mark 5
    {76, 145, 253, 11, 11},  // automap mark 6
    {77, 157, 253, 11, 11},  // automap mark 7
    {78, 0, 256, 11, 11},  // automap mark 8
    {79, 12, 256, 11, 11},  // automap mark 9
    {80, 24, 256, 11, 11},  // automap mark 10
    {81, 36, 256, 11, 11},  // automap mark 11
    {82, 48, 256, 11, 11},  // automap mark 12
    {83, 60, 256, 11, 11},  // automap mark 13
    {84, 72, 256, 11, 11},  // automap mark 14
    {85, 84, 256, 11, 11},  // automap mark 15
    {86, 169, 256, 11, 11},  // automap mark 16
    {87, 181, 256, 11, 11},  // automap mark 17
    {88, 193, 256, 11, 11},  // automap mark 18
    {89, 205, 256, 11, 11},  // automap mark 19
    {90, 377, 97, 20, 21},  // symbol button, up
    {91, 466, 150, 20, 21},  // symbol button, down
    {92, 443, 130, 16, 16},  // small face, up
    {93, 358, 155, 16, 16},  // small face, down
    {94, 248, 0, 22, 22},  // icon face, up
    {95, 248, 23, 22, 22},  // icon face, down
    {96, 137, 0, 2, 96},  // vertical groove
    {97, 291, 284, 96, 2},  // engraved rule
    {98, 464, 45, 34, 34},  // object frame
    {99, 279, 32, 22, 22},  // offensive, up
    {100, 252, 46, 22, 22},  // offensive, down
    {101, 279, 55, 22, 22},  // balanced, up
    {102, 252, 69, 22, 22},  // balanced, down
    {103, 73, 99, 22, 22},  // defensive, up
    {104, 73, 122, 22, 22},  // defensive, down
    {105, 96, 132, 22, 22},  // stand, up
    {106, 270, 132, 22, 22},  // stand, down
    {107, 293, 132, 22, 22},  // chase, up
    {108, 316, 132, 22, 22},  // chase, down
    {109, 339, 132, 22, 22},  // secure mode, up
    {110, 3, 134, 22, 22},  // attack any, up
    {111, 26, 134, 22, 22},  // options picture, up
    {112, 49, 134, 22, 22},  // options picture, down
    {113, 119, 139, 22, 22},  // help picture, up
    {114, 142, 139, 22, 22},  // help picture, down
    {115, 72, 145, 22, 22},  // secure mode, down
    {116, 443, 150, 22, 22},  // attack any, down
    {117, 445, 173, 52, 20},  // combat text button, up
    {118, 216, 184, 52, 20},  // combat text button, down
    {119, 377, 130, 32, 32},  // square face, up
    {120, 410, 130, 32, 32},  // square face, down
    {121, 464, 80, 34, 34},  // container slot
    {122, 252, 115, 12, 12},  // higher container, up
    {123, 362, 132, 12, 12},  // higher container, down
    {124, 271, 0, 4, 16},  // side window, top-left
    {125, 271, 17, 4, 16},  // side window, top-right
    {126, 271, 34, 4, 4},  // side window, bottom-left
    {127, 271, 39, 4, 4},  // side window, bottom-right
    {128, 181, 226, 96, 16},  // side window, title (top edge)
    {129, 277, 279, 96, 4},  // side window, bottom edge
    {130, 111, 0, 4, 96},  // side window, left edge
    {131, 116, 0, 4, 96},  // side window, right edge
    {132, 499, 135, 12, 12},  // close, up
    {133, 216, 165, 12, 12},  // close, down
    {134, 498, 171, 12, 12},  // minimise, up
    {135, 181, 207, 12, 12},  // minimise, down
    {136, 194, 207, 12, 12},  // maximise, up
    {137, 97, 227, 12, 12},  // maximise, down
    {138, 110, 227, 12, 12},  // plus, up
    {139, 123, 227, 12, 12},  // plus, down
    {140, 136, 227, 12, 12},  // minus, up
    {141, 149, 227, 12, 12},  // minus, down
    {142, 388, 287, 96, 1},  // check box frame, top
    {143, 147, 0, 1, 96},  // check box frame, left
    {144, 0, 288, 96, 1},  // check box frame, bottom
    {145, 149, 0, 1, 96},  // check box frame, right
    {146, 162, 227, 12, 12},  // tick box, ticked
    {147, 472, 234, 12, 12},  // tick box, empty
    {149, 485, 234, 12, 12},  // radio, selected
    {150, 498, 234, 12, 12},  // radio, empty
    {151, 388, 284, 96, 2},  // groove, horizontal
    {152, 140, 0, 2, 96},  // groove, vertical
    {153, 97, 240, 12, 12},  // up arrow, up
    {154, 110, 240, 12, 12},  // up arrow, down
    {155, 123, 240, 12, 12},  // down arrow, up
    {156, 136, 240, 12, 12},  // down arrow, down
    {157, 149, 240, 12, 12},  // slider track
    {158, 162, 240, 12, 12},  // knob start
    {159, 175, 243, 12, 12},  // knob middle
    {160, 188, 243, 12, 12},  // knob end
    {161, 201, 243, 12, 12},  // left arrow, up
    {162, 214, 243, 12, 12},  // left arrow, down
    {163, 227, 243, 12, 12},  // right arrow, up
    {164, 240, 243, 12, 12},  // right arrow, down
    {165, 97, 97, 34, 34},  // empty slot: head
    {166, 272, 97, 34, 34},  // empty slot: neck
    {167, 307, 97, 34, 34},  // empty slot: back
    {168, 342, 97, 34, 34},  // empty slot: body
    {169, 3, 99, 34, 34},  // empty slot: right hand
    {170, 38, 99, 34, 34},  // empty slot: left hand
    {171, 132, 104, 34, 34},  // empty slot: legs
    {172, 464, 115, 34, 34},  // empty slot: feet
    {173, 167, 130, 34, 34},  // empty slot: finger
    {174, 202, 130, 34, 34},  // empty slot: extra
    {175, 0, 244, 96, 11},  // hit points fill
    {176, 375, 249, 96, 11},  // mana fill
    {177, 253, 250, 96, 11},  // bar background
    {178, 373, 273, 96, 5},  // skill bar fill
    {179, 180, 274, 96, 5},  // skill bar background
    {180, 286, 78, 12, 16},  // tab scroll left, up
    {181, 499, 84, 12, 16},  // tab scroll left, down
    {182, 499, 101, 12, 16},  // tab scroll right, up
    {183, 499, 118, 12, 16},  // tab scroll right, down
    {184, 399, 194, 20, 20},  // channel list, up
    {185, 420, 194, 20, 20},  // channel list, down
    {186, 441, 194, 20, 20},  // close channel, up
    {187, 462, 194, 20, 20},  // close channel, down
    {188, 483, 194, 20, 20},  // server messages off, up
    {189, 0, 200, 20, 20},  // server messages, down
    {190, 21, 200, 20, 20},  // server messages on, up
    {191, 42, 200, 20, 20},  // ignore list, up
    {192, 63, 200, 20, 20},  // ignore list, down
    {193, 208, 205, 20, 20},  // say, up
    {194, 229, 205, 20, 20},  // say, down
    {195, 250, 205, 20, 20},  // whisper, up
    {196, 271, 205, 20, 20},  // whisper, down
    {197, 292, 205, 20, 20},  // yell, up
    {198, 313, 205, 20, 20},  // yell, down
    {199, 279, 20, 9, 9},  // ignore lamp, lit
    {200, 165, 65, 9, 9},  // ignore lamp, dark
    {201, 506, 45, 6, 18},  // tab, left
    {202, 404, 215, 32, 18},  // tab, middle
    {203, 506, 64, 6, 18},  // tab, right
    {204, 151, 65, 6, 18},  // selected tab, left
    {205, 437, 215, 32, 18},  // selected tab, middle
    {206, 158, 65, 6, 18},  // selected tab, right
    {207, 499, 65, 6, 18},  // highlighted tab, left
    {208, 470, 215, 32, 18},  // highlighted tab, middle
    {209, 279, 78, 6, 18},  // highlighted tab, right
    {210, 151, 0, 96, 64},  // console background
    {211, 0, 227, 96, 16},  // input line background
    {212, 374, 279, 96, 4},  // console splitter
    {213, 217, 256, 11, 11},  // VIP without icon
    {214, 229, 256, 11, 11},  // VIP icon 1
    {215, 241, 256, 11, 11},  // VIP icon 2
    {216, 472, 259, 11, 11},  // VIP icon 3
    {217, 484, 259, 11, 11},  // VIP icon 4
    {218, 496, 259, 11, 11},  // VIP icon 5
    {219, 374, 261, 11, 11},  // VIP icon 6
    {220, 386, 261, 11, 11},  // VIP icon 7
    {221, 398, 261, 11, 11},  // VIP icon 8
    {222, 410, 261, 11, 11},  // VIP icon 9
    {223, 422, 261, 11, 11},  // VIP icon 10
    {224, 434, 261, 11, 11},  // poisoned
    {225, 446, 261, 11, 11},  // burning
    {226, 458, 261, 11, 11},  // drunk
    {227, 253, 262, 11, 11},  // in a fight
    {228, 265, 262, 11, 11},  // magic shield
    {229, 277, 262, 11, 11},  // paralysed
    {230, 289, 262, 11, 11},  // electrified
    {231, 301, 262, 11, 11},  // hasted
    {232, 313, 262, 11, 11},  // may be attacked
    {233, 325, 262, 11, 11},  // party member
    {234, 337, 262, 11, 11},  // attacked unmarked player
    {235, 349, 262, 11, 11},  // killed unmarked players
    {236, 361, 262, 11, 11},  // level icon
    {237, 96, 265, 11, 11},  // experience icon
    {238, 108, 265, 11, 11},  // light icon
    {239, 120, 265, 11, 11},  // speed icon
    {240, 132, 265, 11, 11},  // skull, yellow
    {241, 144, 265, 11, 11},  // skull, green
    {242, 156, 265, 11, 11},  // skull, white
    {243, 0, 268, 11, 11},  // skull, red
    {244, 12, 268, 11, 11},  // skull, black
    {245, 24, 268, 11, 11},  // shield, invited (spare)
    {246, 36, 268, 11, 11},  // shield, leader invited (spare)
    {247, 48, 268, 11, 11},  // shield, shared (spare)
    {248, 60, 268, 11, 11},  // party shield, invitee
    {249, 72, 268, 11, 11},  // party shield, inviter
    {250, 84, 268, 11, 11},  // party shield, member
    {251, 168, 268, 11, 11},  // party shield, leader
    {252, 160, 88, 4, 15},  // progress frame, left
    {253, 165, 88, 16, 15},  // progress frame, middle
    {254, 182, 88, 4, 15},  // progress frame, right
    {255, 168, 75, 6, 11},  // progress fill, start
    {256, 174, 75, 6, 11},  // progress fill, middle
    {257, 180, 75, 6, 11},  // progress fill, end cap
};

SkinRect Table[NumberOfSkins];
const SkinRect Empty{0, 0, 0, 0};

}  // namespace

const SkinRow* GetSkinRows() { return Rows; }
int GetNumberOfSkinRows() { return static_cast<int>(sizeof Rows / sizeof Rows[0]); }

void InitSkins() {
    ExitSkins();
    for (const SkinRow& row : Rows) {
        ASSERT(In(row.Index, 1, NumberOfSkins - 1));
        if (!In(row.Index, 1, NumberOfSkins - 1)) continue;
        Table[row.Index] = SkinRect{row.x, row.y, row.width, row.height};
    }
}

void ExitSkins() {
    for (SkinRect& entry : Table) entry = Empty;
}

const SkinRect& SkinTable::operator[](int Index) const {
    ASSERT(Index>=0 && Index<NumberOfSkins);
    if (Index < 0 || Index >= NumberOfSkins) return Empty;
    return Table[Index];
}
