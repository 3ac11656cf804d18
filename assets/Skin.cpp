// The interface skin (picture 4): every element is painted into its
// rectangle from the shared skin table. The look: dark timber panels in iron
// frames, raised faces lit from the top left, sunken fields the other way
// round, small pictograms on the buttons.
#include "Builders.h"
#include "PixelArt.h"
#include "Skin.h"
#include "gui/framework/Skins.h"

#include <cmath>
#include <functional>
#include <stdexcept>

namespace gen {

using namespace art;

namespace {

const Ramp& WOOD = pal::UI_WOOD;
const Ramp& IRON = pal::UI_IRON;

// Seamless dark timber: horizontal boards with grain, period w x h.
Canvas Timber(int w, int h, uint32_t seed, int lift = 0) {
    Canvas c(w, h);
    for (int y = 0; y < h; ++y) {
        int board = y / 16, fy = y % 16;
        for (int x = 0; x < w; ++x) {
            double n = TileNoise(x * 0.25, y * 2, 4, w > h ? w : h, seed + uint32_t(board));
            int t = 2 + (n > 0.62 ? 1 : 0) + (n < 0.3 ? -1 : 0) + lift;
            if (fy == 0) t = 1 + lift;
            if (fy == 1) t = 4 + lift;
            c.Set(x, y, WOOD[size_t(std::clamp(t, 0, 5))]);
        }
    }
    return c;
}

// Raised (or sunken) bevel around a rectangle, `width` pixels thick.
void Bevel(Canvas& c, int x, int y, int w, int h, bool raised, int width = 1, const Ramp& ramp = IRON) {
    for (int k = 0; k < width; ++k) {
        Color light = ramp[size_t(raised ? 5 - k : 1)], dark = ramp[size_t(raised ? 1 : 4 - k)];
        if (!raised) light = ramp[size_t(k == 0 ? 0 : 1)], dark = ramp[size_t(5 - k)];
        c.HLine(x + k, y + k, w - 2 * k, light);
        c.VLine(x + k, y + k, h - 2 * k, light);
        c.HLine(x + k, y + h - 1 - k, w - 2 * k, dark);
        c.VLine(x + w - 1 - k, y + k, h - 2 * k, dark);
    }
}

// A button face: dark iron rim, timber face lit from the top left; the down
// face is sunken and its content sits one pixel lower and to the right.
Canvas Face(int w, int h, bool down, const std::function<void(Canvas&, int, int)>& content = {}) {
    Canvas c(w, h);
    c.FillRect(0, 0, w, h, IRON[0]);
    Canvas wood = Timber(w, h, 3, down ? -1 : 0);
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) c.Set(x, y, wood.Get(x, y + 5));
    if (!down) {
        c.HLine(1, 1, w - 2, WOOD[5]);
        c.VLine(1, 1, h - 2, WOOD[5]);
        c.HLine(1, h - 2, w - 2, WOOD[0]);
        c.VLine(w - 2, 1, h - 2, WOOD[0]);
        c.HLine(2, 2, w - 4, WOOD[4]);
    } else {
        c.HLine(1, 1, w - 2, WOOD[0]);
        c.VLine(1, 1, h - 2, WOOD[0]);
        c.HLine(2, 2, w - 3, WOOD[1]);
        c.VLine(2, 2, h - 3, WOOD[1]);
        c.HLine(1, h - 2, w - 2, WOOD[3]);
        c.VLine(w - 2, 1, h - 2, WOOD[3]);
    }
    if (content) content(c, down ? 1 : 0, down ? 1 : 0);
    return c;
}

Canvas Sunken(int w, int h, Color fill) {
    Canvas c(w, h);
    c.FillRect(0, 0, w, h, fill);
    Bevel(c, 0, 0, w, h, false, 1);
    return c;
}

// Thin pictograms for the small buttons, drawn at an offset.
void Glyph(Canvas& c, int ox, int oy, const char* name, Color col) {
    std::string n = name;
    auto P = [&](int x, int y) { c.Set(ox + x, oy + y, col); };
    if (n == "x") for (int k = 0; k < 6; ++k) P(k, k), P(5 - k, k), P(k + 1, k), P(6 - k, k);
    else if (n == "min") for (int k = 0; k < 7; ++k) P(k, 5), P(k, 6);
    else if (n == "max") { for (int k = 0; k < 7; ++k) P(k, 0), P(k, 1), P(k, 6), P(0, k), P(6, k); }
    else if (n == "plus") for (int k = 0; k < 7; ++k) P(k, 3), P(3, k);
    else if (n == "minus") for (int k = 0; k < 7; ++k) P(k, 3);
    else if (n == "up") for (int r = 0; r < 4; ++r) for (int k = -r; k <= r; ++k) P(3 + k, 1 + r);
    else if (n == "down") for (int r = 0; r < 4; ++r) for (int k = -r; k <= r; ++k) P(3 + k, 4 - r);
    else if (n == "left") for (int r = 0; r < 4; ++r) for (int k = -r; k <= r; ++k) P(1 + r, 3 + k);
    else if (n == "right") for (int r = 0; r < 4; ++r) for (int k = -r; k <= r; ++k) P(4 - r, 3 + k);
}

// Pictograms on the 22 x 22 combat buttons, 16 x 16 at (3, 3).
Canvas Pictogram(const std::string& what) {
    Canvas c(16, 16);
    auto blade = [&](double x0, double y0, double x1, double y1) {
        c.ThickLine(x0, y0, x1, y1, 2, pal::METAL[4]);
        c.Line(int(x0), int(y0), int(x1), int(y1), pal::METAL[5]);
    };
    if (what == "offensive") {
        blade(2, 2, 12, 12), blade(13, 2, 3, 12);
        c.ThickLine(1, 13, 4, 10, 2, pal::GOLD[3]), c.ThickLine(14, 13, 11, 10, 2, pal::GOLD[3]);
        c.FillEllipse(8, 8, 1.5, 1.5, pal::CLOTH_RED[4]);
    } else if (what == "balanced") {
        blade(3, 2, 11, 10);
        c.ThickLine(2, 12, 5, 9, 2, pal::GOLD[3]);
        Ball(c, 11, 11, 4.5, 4.5, pal::CLOTH_BLUE, ShadeStyle{1.0, 1});
    } else if (what == "defensive") {
        Canvas m(16, 16);
        m.FillPolygon({2, 2, 14, 2, 14, 8, 8, 15, 2, 8}, Color(1, 1, 1));
        ShadeVolume(c, m, pal::CLOTH_BLUE, 0, 0, ShadeStyle{0.8, 2});
        c.FillRect(7, 3, 2, 10, pal::GOLD[4]), c.FillRect(4, 6, 8, 2, pal::GOLD[4]);
    } else if (what == "stand") {
        // a figure planted on its feet with a stop bar
        c.FillEllipse(8, 3, 2, 2, pal::SKIN[4]);
        c.FillRect(6, 5, 4, 6, pal::CLOTH_BLUE[3]);
        c.FillRect(6, 11, 1, 3, pal::CLOTH_BLUE[2]), c.FillRect(9, 11, 1, 3, pal::CLOTH_BLUE[2]);
        c.FillRect(2, 14, 12, 2, pal::GOLD[4]);
    } else if (what == "chase") {
        c.FillEllipse(10, 3, 2, 2, pal::SKIN[4]);
        c.ThickLine(9, 5, 7, 10, 2.5, pal::CLOTH_RED[3]);
        c.ThickLine(7, 10, 11, 14, 1.5, pal::CLOTH_RED[2]);
        c.ThickLine(7, 10, 3, 13, 1.5, pal::CLOTH_RED[2]);
        c.ThickLine(8, 6, 12, 8, 1.3, pal::CLOTH_RED[4]);
        c.ThickLine(8, 6, 4, 7, 1.3, pal::CLOTH_RED[4]);
        c.HLine(0, 5, 3, pal::GREY[4]), c.HLine(1, 8, 2, pal::GREY[4]);
    } else if (what == "secure") {
        // an open white hand: no attacks on the unmarked
        c.FillRect(4, 7, 8, 7, pal::GREY[5]);
        for (int k = 0; k < 4; ++k) c.FillRect(4 + k * 2, 2 + (k == 0 || k == 3 ? 2 : 0), 1, 6, pal::GREY[5]);
        c.ThickLine(12, 10, 14, 6, 1.5, pal::GREY[5]);
        c.Rect(3, 1, 10, 14, CLEAR);
        OutlineOutside(c, pal::GREY[1]);
    } else if (what == "any") {
        // a red fist: attack any character
        c.FillRect(4, 5, 8, 8, pal::CLOTH_RED[4]);
        for (int k = 0; k < 4; ++k) c.HLine(4, 5 + k * 2, 8, k % 2 ? pal::CLOTH_RED[3] : pal::CLOTH_RED[5]);
        c.FillRect(2, 7, 2, 4, pal::CLOTH_RED[3]);
        c.FillRect(6, 13, 4, 2, pal::CLOTH_RED[2]);
        OutlineOutside(c, pal::CLOTH_RED[0]);
    } else if (what == "options") {
        Ball(c, 8, 8, 5.5, 5.5, pal::METAL, ShadeStyle{1.0, 1});
        for (int k = 0; k < 8; ++k) {
            double a = k * 3.14159 / 4;
            c.FillEllipse(8 + std::cos(a) * 6, 8 + std::sin(a) * 6, 1.4, 1.4, pal::METAL[3]);
        }
        c.FillEllipse(8, 8, 2, 2, WOOD[2]);
    } else if (what == "help") {
        c.Draw(FromText(Icon("m_question")), 2, 2);
    }
    return c;
}

Canvas IconFace(int w, int h, bool down, const Canvas& picture) {
    return Face(w, h, down, [&](Canvas& c, int dx, int dy) {
        c.Draw(picture, (w - picture.Width()) / 2 + dx, (h - picture.Height()) / 2 + dy);
    });
}

// A shield outline for the party marks; `mark` adds the distinguishing sign.
Canvas PartyShield(const Ramp& ramp, int mark) {
    Canvas c(11, 11);
    Canvas m(11, 11);
    m.FillPolygon({0, 0, 11, 0, 11, 6, 5.5, 11, 0, 6}, Color(1, 1, 1));
    ShadeVolume(c, m, ramp, 0, 0, ShadeStyle{0.6, 1});
    Color w = pal::WHITE;
    switch (mark) {
        case 0: c.FillRect(4, 3, 3, 3, w); break;                                        // invitee: dot
        case 1: for (int k = 0; k < 4; ++k) c.HLine(3 + k / 2, 2 + k, 5 - k, w); break;  // inviter: arrow
        case 2: c.FillRect(5, 2, 1, 6, w), c.FillRect(3, 4, 5, 1, w); break;             // member: cross
        default: c.Set(3, 3, w), c.Set(5, 2, w), c.Set(7, 3, w), c.HLine(3, 4, 5, w), c.HLine(3, 5, 5, w);  // leader: crown
    }
    return c;
}

Canvas Skull(Color bone, int variant) {
    Canvas c = FromText(Icon("skull"));
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 11; ++x)
            if (c.Get(x, y) == Hex(0xf0ece0)) c.Set(x, y, bone);
    Color k = Hex(0x1c1614);
    if (variant == 1) c.Set(5, 1, k), c.Set(5, 2, k), c.Set(6, 2, k);                            // crack
    if (variant == 2) c.Set(0, 9, k), c.Set(1, 8, k), c.Set(10, 9, k), c.Set(9, 8, k), c.Set(0, 10, k), c.Set(10, 10, k);  // bones
    if (variant == 3) c.Set(1, 0, k), c.Set(9, 0, k), c.Set(1, 1, bone), c.Set(9, 1, bone);     // horns
    if (variant == 4) c.Set(5, 7, k), c.Set(4, 8, k), c.Set(6, 8, k);                            // fangs
    return c;
}

// Compass rose: an iron disc with an eight-pointed star, north marked red.
Canvas Rose() {
    Canvas c(44, 44);
    Ball(c, 22, 22, 21.5, 21.5, IRON, ShadeStyle{0.6, 3});
    c.FillEllipse(22, 22, 18, 18, WOOD[1]);
    for (int k = 0; k < 8; ++k) {
        double a = k * 3.14159 / 4 - 3.14159 / 2;
        double len = k % 2 ? 11 : 17, wd = k % 2 ? 3 : 4.5;
        double ex = 22 + std::cos(a) * len, ey = 22 + std::sin(a) * len;
        double px = -std::sin(a) * wd, py = std::cos(a) * wd;
        Color left = k == 0 ? pal::CLOTH_RED[4] : pal::PARCHMENT[4], right = k == 0 ? pal::CLOTH_RED[2] : pal::PARCHMENT[2];
        c.FillPolygon({22, 22, 22 + px, 22 + py, ex, ey}, left);
        c.FillPolygon({22, 22, 22 - px, 22 - py, ex, ey}, right);
    }
    c.FillEllipse(22, 22, 2, 2, pal::GOLD[4]);
    return c;
}

Canvas SlotPicture(int slot) {
    // faint silhouettes of what belongs in each equipment slot
    Canvas c = Sunken(34, 34, WOOD[1]);
    Canvas s(34, 34);
    Color g = WOOD[3];
    switch (slot) {
        case 0: s.FillEllipse(17, 17, 9, 8, g), s.FillRect(7, 17, 21, 8, CLEAR), s.FillRect(8, 16, 18, 3, g); break;
        case 1: for (int a = 0; a <= 30; ++a) s.Set(int(17 + 9 * std::cos(3.14159 * a / 30)), int(13 - 7 * std::sin(3.14159 * a / 30)) + 2, g);
                s.FillEllipse(17, 22, 4, 4, g); break;
        case 2: s.FillEllipse(17, 18, 9, 10, g), s.FillRect(8, 18, 18, 9, g); break;
        case 3: s.FillPolygon({9, 7, 25, 7, 29, 12, 25, 14, 25, 28, 9, 28, 9, 14, 5, 12}, g); break;
        case 4: s.ThickLine(8, 26, 26, 8, 3, g), s.ThickLine(8, 19, 15, 26, 2, g); break;
        case 5: s.FillPolygon({8, 7, 26, 7, 26, 16, 17, 28, 8, 16}, g); break;
        case 6: s.FillPolygon({10, 6, 24, 6, 25, 28, 19, 28, 17, 13, 15, 28, 9, 28}, g); break;
        case 7: s.FillRect(8, 9, 6, 13, g), s.FillEllipse(13, 24, 6, 3, g), s.FillRect(19, 11, 6, 13, g), s.FillEllipse(24, 26, 5.5, 3, g); break;
        case 8: s.FillEllipse(17, 20, 6, 5, g), s.FillEllipse(17, 20, 3.5, 2.7, CLEAR), s.FillEllipse(17, 13, 3, 2.5, g); break;
        default: s.ThickLine(9, 25, 24, 10, 2, g), s.ThickLine(12, 27, 27, 12, 2, g), s.FillPolygon({24, 6, 28, 10, 22, 12}, g); break;
    }
    c.Draw(s, 0, 0);
    return c;
}

}  // namespace

Canvas BuildSkinImage() {
    Canvas skin(512, 320);
    InitSkins();
    std::vector<bool> painted(NumberOfSkins, false);
    auto put = [&](int index, const Canvas& piece) {
        const SkinRect& r = Skins[index];
        if (piece.Width() != r.width || piece.Height() != r.height)
            throw std::logic_error("skin " + std::to_string(index) + " has the wrong size");
        skin.Draw(piece, r.x, r.y);
        painted[size_t(index)] = true;
    };
    auto size = [&](int index) { return std::pair{Skins[index].width, Skins[index].height}; };

    // ---- textures and frames -----------------------------------------------------
    put(7, Timber(96, 96, 1));
    put(2, Timber(64, 64, 2, 1));
    put(47, Timber(96, 96, 5, 1));
    put(48, Timber(64, 64, 6, 1));
    put(55, Timber(64, 64, 7, 1));
    {
        Canvas t(32, 32);
        t.FillRect(0, 0, 32, 32, pal::PARCHMENT[1]);
        put(50, t);
    }
    // window border (2 px): iron, light outside top/left, dark bottom/right
    {
        Canvas frame(100, 100);
        frame.FillRect(0, 0, 100, 100, IRON[2]);
        Bevel(frame, 0, 0, 100, 100, true, 2);
        put(22, frame.Cut(0, 0, 2, 2)), put(23, frame.Cut(98, 0, 2, 2));
        put(24, frame.Cut(0, 98, 2, 2)), put(25, frame.Cut(98, 98, 2, 2));
        put(26, frame.Cut(0, 2, 2, 96)), put(27, frame.Cut(98, 2, 2, 96));
        put(28, frame.Cut(2, 0, 96, 2)), put(29, frame.Cut(2, 98, 96, 2));
    }
    // inset frame (3 px, sunken)
    {
        Canvas frame(102, 102);
        frame.FillRect(0, 0, 102, 102, IRON[1]);
        Bevel(frame, 0, 0, 102, 102, false, 3);
        put(30, frame.Cut(0, 0, 3, 3)), put(31, frame.Cut(3, 0, 96, 3)), put(32, frame.Cut(99, 0, 3, 3));
        put(33, frame.Cut(0, 3, 3, 96)), put(34, frame.Cut(99, 3, 3, 96));
        put(35, frame.Cut(0, 99, 3, 3)), put(36, frame.Cut(3, 99, 96, 3)), put(37, frame.Cut(99, 99, 3, 3));
    }
    // raised panel (3 px)
    {
        Canvas frame(102, 102);
        frame.FillRect(0, 0, 102, 102, IRON[2]);
        Bevel(frame, 0, 0, 102, 102, true, 2);
        frame.Rect(2, 2, 98, 98, IRON[0]);
        put(51, frame.Cut(0, 0, 3, 3)), put(52, frame.Cut(3, 0, 96, 3)), put(53, frame.Cut(99, 0, 3, 3));
        put(54, frame.Cut(0, 3, 3, 96)), put(56, frame.Cut(99, 3, 3, 96));
        put(57, frame.Cut(0, 99, 3, 3)), put(58, frame.Cut(3, 99, 96, 3)), put(59, frame.Cut(99, 99, 3, 3));
    }
    // sunken lines of edit fields and lists, raised lines of the check box
    {
        Canvas t(96, 1), l(1, 96), b(96, 1), r(1, 96);
        t.FillRect(0, 0, 96, 1, IRON[0]), l.FillRect(0, 0, 1, 96, IRON[0]);
        b.FillRect(0, 0, 96, 1, IRON[4]), r.FillRect(0, 0, 1, 96, IRON[4]);
        put(8, t), put(9, l), put(10, b), put(11, r);
        Canvas t2(96, 1), l2(1, 96), b2(96, 1), r2(1, 96);
        t2.FillRect(0, 0, 96, 1, WOOD[5]), l2.FillRect(0, 0, 1, 96, WOOD[5]);
        b2.FillRect(0, 0, 96, 1, WOOD[0]), r2.FillRect(0, 0, 1, 96, WOOD[0]);
        put(142, t2), put(143, l2), put(144, b2), put(145, r2);
    }
    {
        Canvas sel(96, 14);
        sel.FillRect(0, 0, 96, 14, pal::CLOTH_BLUE[1]);
        sel.HLine(0, 0, 96, pal::CLOTH_BLUE[2]);
        sel.HLine(0, 13, 96, pal::CLOTH_BLUE[0]);
        put(12, sel);
        Canvas hl(96, 15);
        hl.FillRect(0, 0, 96, 15, pal::ROOF[1]);
        hl.HLine(0, 0, 96, pal::ROOF[2]);
        hl.HLine(0, 14, 96, pal::ROOF[0]);
        put(49, hl);
        Canvas sep(96, 2);
        sep.HLine(0, 0, 96, WOOD[0]), sep.HLine(0, 1, 96, WOOD[4]);
        put(13, sep), put(97, sep), put(151, sep);
        Canvas vg(2, 96);
        vg.VLine(0, 0, 96, WOOD[0]), vg.VLine(1, 0, 96, WOOD[4]);
        put(96, vg), put(152, vg);
    }
    // dialog frame: a title bar of studded iron and timber
    {
        Canvas f(108, 121);
        f.FillRect(0, 0, 108, 121, IRON[2]);
        Bevel(f, 0, 0, 108, 121, true, 1);
        f.Rect(5, 18, 98, 98, IRON[0]);
        Canvas bar = Timber(96, 17, 9, 1);
        f.Draw(bar.Cut(0, 0, 96, 17), 6, 1);
        f.HLine(6, 1, 96, WOOD[5]);
        f.HLine(6, 17, 96, IRON[0]);
        for (int x = 2; x < 106; x += 8) f.Set(x, 3, IRON[5]), f.Set(x, 15, IRON[1]);
        put(39, f.Cut(0, 0, 6, 19)), put(45, f.Cut(6, 0, 96, 19)), put(40, f.Cut(102, 0, 6, 19));
        put(43, f.Cut(0, 19, 6, 96)), put(44, f.Cut(102, 19, 6, 96));
        put(41, f.Cut(0, 115, 6, 6)), put(46, f.Cut(6, 115, 96, 6)), put(42, f.Cut(102, 115, 6, 6));
    }
    // side window frame (4 px, a 16 px title strip)
    {
        Canvas f(104, 116);
        f.FillRect(0, 0, 104, 116, IRON[2]);
        Bevel(f, 0, 0, 104, 116, true, 1);
        Canvas bar = Timber(96, 14, 12, 0);
        f.Draw(bar, 4, 1);
        f.HLine(4, 1, 96, WOOD[4]);
        f.HLine(3, 15, 98, IRON[0]);
        f.Rect(3, 15, 98, 98, IRON[0]);
        put(124, f.Cut(0, 0, 4, 16)), put(128, f.Cut(4, 0, 96, 16)), put(125, f.Cut(100, 0, 4, 16));
        put(130, f.Cut(0, 16, 4, 96)), put(131, f.Cut(100, 16, 4, 96));
        put(126, f.Cut(0, 112, 4, 4)), put(129, f.Cut(4, 112, 96, 4)), put(127, f.Cut(100, 112, 4, 4));
    }
    // resize grip: three diagonal ridges
    {
        Canvas g(13, 13);
        for (int k = 0; k < 3; ++k)
            for (int i = 0; i <= 4 * k + 3; ++i) {
                int x = 12 - (4 * k + 3) + i, y = 12 - i;
                if (x >= 0 && y >= 0) g.Set(x, y, IRON[5]), g.Set(x + 1, y, IRON[1]);
            }
        put(38, g);
    }
    {
        Canvas h(11, 19);
        h.FillRect(0, 0, 11, 19, IRON[2]);
        Bevel(h, 0, 0, 11, 19, true);
        for (int k = 0; k < 4; ++k) h.HLine(3, 4 + k * 3, 5, IRON[0]), h.HLine(3, 5 + k * 3, 5, IRON[4]);
        put(1, h);
    }

    // ---- buttons -------------------------------------------------------------------
    for (int up : {14, 16, 18, 20, 117, 90, 92, 94, 119}) {
        auto [w, h] = size(up);
        put(up, Face(w, h, false)), put(up + 1, Face(w, h, true));
    }
    const char* combat[] = {"offensive", "balanced", "defensive", "stand", "chase"};
    for (int k = 0; k < 5; ++k) {
        Canvas p = Pictogram(combat[k]);
        put(99 + 2 * k, IconFace(22, 22, false, p)), put(100 + 2 * k, IconFace(22, 22, true, p));
    }
    put(109, IconFace(22, 22, false, Pictogram("secure"))), put(115, IconFace(22, 22, true, Pictogram("secure")));
    put(110, IconFace(22, 22, false, Pictogram("any"))), put(116, IconFace(22, 22, true, Pictogram("any")));
    put(111, IconFace(22, 22, false, Pictogram("options"))), put(112, IconFace(22, 22, true, Pictogram("options")));
    put(113, IconFace(22, 22, false, Pictogram("help"))), put(114, IconFace(22, 22, true, Pictogram("help")));
    // small 12 x 12 buttons with glyphs
    auto small = [&](int up, const char* glyph, int w = 12, int h = 12) {
        for (int down = 0; down < 2; ++down)
            put(up + down, Face(w, h, down, [&](Canvas& c, int dx, int dy) {
                    Glyph(c, (w - 7) / 2 + dx, (h - 7) / 2 + dy, glyph, pal::PARCHMENT[4]);
                }));
    };
    small(122, "up");
    small(132, "x"), small(134, "min"), small(136, "max"), small(138, "plus"), small(140, "minus");
    small(153, "up"), small(155, "down"), small(161, "left"), small(163, "right");
    small(180, "left", 12, 16), small(182, "right", 12, 16);
    // automap buttons: floor up and down, zoom in and out
    {
        auto map = [&](int up, const std::function<void(Canvas&, int, int)>& draw) {
            put(up, Face(20, 20, false, draw)), put(up + 1, Face(20, 20, true, draw));
        };
        Color p = pal::PARCHMENT[4];
        map(62, [&](Canvas& c, int dx, int dy) { Glyph(c, 6 + dx, 4 + dy, "up", p); c.HLine(5 + dx, 12 + dy, 10, p), c.HLine(5 + dx, 14 + dy, 10, WOOD[5]); });
        map(64, [&](Canvas& c, int dx, int dy) { c.HLine(5 + dx, 5 + dy, 10, WOOD[5]), c.HLine(5 + dx, 7 + dy, 10, p); Glyph(c, 6 + dx, 9 + dy, "down", p); });
        map(66, [&](Canvas& c, int dx, int dy) { c.FillEllipse(9 + dx, 9 + dy, 5, 5, p); c.FillEllipse(9 + dx, 9 + dy, 3.6, 3.6, WOOD[1]); c.ThickLine(12 + dx, 12 + dy, 16 + dx, 16 + dy, 2, p); c.HLine(7 + dx, 9 + dy, 5, p), c.VLine(9 + dx, 7 + dy, 5, p); });
        map(68, [&](Canvas& c, int dx, int dy) { c.FillEllipse(9 + dx, 9 + dy, 5, 5, p); c.FillEllipse(9 + dx, 9 + dy, 3.6, 3.6, WOOD[1]); c.ThickLine(12 + dx, 12 + dy, 16 + dx, 16 + dy, 2, p); c.HLine(7 + dx, 9 + dy, 5, p); });
    }
    put(61, Rose());
    {
        Canvas lens(16, 16);
        lens.FillEllipse(6.5, 6.5, 5.5, 5.5, IRON[4]);
        lens.FillEllipse(6.5, 6.5, 4, 4, pal::WATER[4]);
        lens.Set(5, 4, pal::WHITE);
        lens.ThickLine(10, 10, 15, 15, 2.5, pal::TIMBER[3]);
        put(60, lens);
    }
    // console buttons
    {
        Color p = pal::PARCHMENT[4];
        auto bubble = [&](Canvas& c, int dx, int dy, double r, bool dotted, bool spikes) {
            Canvas b(20, 20);
            b.FillEllipse(10, 8, r + 1, r * 0.75 + 1, p);
            b.FillEllipse(10, 8, r, r * 0.75, CLEAR);
            b.FillPolygon({6, 11, 9, 12, 5, 15}, p);
            if (dotted)
                for (int y = 0; y < 20; ++y)
                    for (int x = 0; x < 20; ++x)
                        if ((x + y) % 2 && b.Filled(x, y)) b.Set(x, y, CLEAR);
            if (spikes) b.Set(2, 2, p), b.Set(17, 2, p), b.Set(1, 8, p), b.Set(18, 8, p), b.Set(3, 1, p), b.Set(16, 1, p);
            c.Draw(b, dx, dy);
        };
        auto btn = [&](int up, const std::function<void(Canvas&, int, int)>& draw) {
            put(up, Face(20, 20, false, draw)), put(up + 1, Face(20, 20, true, draw));
        };
        btn(193, [&](Canvas& c, int dx, int dy) { bubble(c, dx, dy, 5, false, false); });
        btn(195, [&](Canvas& c, int dx, int dy) { bubble(c, dx, dy, 4, true, false); });
        btn(197, [&](Canvas& c, int dx, int dy) { bubble(c, dx, dy, 6.5, false, true); });
        btn(184, [&](Canvas& c, int dx, int dy) { for (int k = 0; k < 4; ++k) c.HLine(5 + dx, 5 + k * 3 + dy, 10, p), c.Set(4 + dx, 5 + k * 3 + dy, pal::GOLD[4]); });
        btn(186, [&](Canvas& c, int dx, int dy) { Glyph(c, 6 + dx, 6 + dy, "x", p); });
        btn(191, [&](Canvas& c, int dx, int dy) { bubble(c, dx, dy, 5, false, false); c.ThickLine(4 + dx, 15 + dy, 16 + dx, 3 + dy, 1.5, pal::CLOTH_RED[4]); });
        auto info = [&](Canvas& c, int dx, int dy, Color col) { c.FillRect(9 + dx, 4 + dy, 2, 2, col); c.FillRect(9 + dx, 7 + dy, 2, 8, col); c.HLine(7 + dx, 15 + dy, 6, col); };
        put(188, Face(20, 20, false, [&](Canvas& c, int dx, int dy) { info(c, dx, dy, WOOD[5]); }));
        put(189, Face(20, 20, true, [&](Canvas& c, int dx, int dy) { info(c, dx, dy, pal::GOLD[5]); }));
        put(190, Face(20, 20, false, [&](Canvas& c, int dx, int dy) { info(c, dx, dy, pal::GOLD[5]); }));
        Canvas lit(9, 9), dark(9, 9);
        Ball(lit, 4.5, 4.5, 4.5, 4.5, pal::FIRE, ShadeStyle{1.0, 1, 1});
        Ball(dark, 4.5, 4.5, 4.5, 4.5, pal::UI_IRON, ShadeStyle{1.0, 1});
        put(199, lit), put(200, dark);
    }
    // console tabs: normal, selected, highlighted (new text)
    for (int k = 0; k < 3; ++k) {
        Canvas tab(44, 18);
        int lift = k == 1 ? 2 : 0;
        tab.FillRect(0, 0, 44, 18, k == 1 ? WOOD[3] : k == 2 ? pal::ROOF[1] : WOOD[1]);
        tab.HLine(1, 0, 42, k == 1 ? WOOD[5] : IRON[4]);
        tab.VLine(0, 1, 17, k == 1 ? WOOD[5] : IRON[4]);
        tab.VLine(43, 1, 17, IRON[0]);
        tab.Set(0, 0, CLEAR), tab.Set(43, 0, CLEAR);
        if (k != 1) tab.HLine(0, 17, 44, IRON[0]);
        (void)lift;
        int base = 201 + 3 * k;
        put(base, tab.Cut(0, 0, 6, 18)), put(base + 1, tab.Cut(6, 0, 32, 18)), put(base + 2, tab.Cut(38, 0, 6, 18));
    }
    {
        Canvas bg(96, 64);
        Canvas t = Timber(96, 64, 14, -1);
        bg.Draw(t, 0, 0);
        put(210, bg);
        put(211, Sunken(96, 16, WOOD[0]));
        Canvas sp(96, 4);
        sp.FillRect(0, 0, 96, 4, IRON[2]);
        sp.HLine(0, 0, 96, IRON[4]), sp.HLine(0, 3, 96, IRON[0]);
        for (int x = 40; x < 56; x += 3) sp.Set(x, 1, IRON[5]), sp.Set(x, 2, IRON[0]);
        put(212, sp);
    }
    // check box, radio, slider
    {
        Canvas on = Sunken(12, 12, WOOD[0]), off = Sunken(12, 12, WOOD[0]);
        on.Line(3, 6, 5, 8, pal::POISON[5]), on.Line(5, 8, 9, 3, pal::POISON[5]);
        on.Line(3, 7, 5, 9, pal::POISON[3]), on.Line(5, 9, 9, 4, pal::POISON[3]);
        put(146, on), put(147, off);
        Canvas ron(12, 12), roff(12, 12);
        for (Canvas* c : {&ron, &roff}) {
            c->FillEllipse(6, 6, 6, 6, IRON[0]);
            c->FillEllipse(6, 6, 5, 5, WOOD[0]);
        }
        Ball(ron, 6, 6, 2.6, 2.6, pal::GOLD, ShadeStyle{1.0, 1, 1});
        put(149, ron), put(150, roff);
        Canvas track(12, 12);
        track.FillRect(0, 0, 12, 12, WOOD[0]);
        track.Set(3, 3, WOOD[1]), track.Set(9, 8, WOOD[1]);
        put(157, track);
        for (int k = 0; k < 3; ++k) {
            Canvas knob(12, 12);
            knob.FillRect(0, 0, 12, 12, IRON[3]);
            Bevel(knob, 0, 0, 12, 12, true);
            if (k == 1) knob.HLine(3, 5, 6, IRON[1]), knob.HLine(3, 6, 6, IRON[5]);
            else knob.Set(5, 5, IRON[5]), knob.Set(6, 6, IRON[1]);
            put(158 + k, knob);
        }
    }
    // bars
    {
        auto bar = [&](int index, const Ramp& r, int h) {
            Canvas b(96, h);
            for (int y = 0; y < h; ++y) b.HLine(0, y, 96, r[size_t(y == 0 ? 5 : y < h / 2 ? 4 : y < h - 1 ? 3 : 2)]);
            put(index, b);
        };
        bar(175, pal::CLOTH_RED, 11), bar(176, pal::CLOTH_BLUE, 11), bar(178, pal::POISON, 5);
        put(177, Sunken(96, 11, WOOD[0])), put(179, Sunken(96, 5, WOOD[0]));
        Canvas pf(24, 15);
        pf.FillRect(0, 0, 24, 15, WOOD[0]);
        Bevel(pf, 0, 0, 24, 15, false);
        put(252, pf.Cut(0, 0, 4, 15)), put(253, pf.Cut(4, 0, 16, 15)), put(254, pf.Cut(20, 0, 4, 15));
        Canvas fill(18, 11);
        for (int y = 0; y < 11; ++y) fill.HLine(0, y, 18, pal::POISON[size_t(y == 0 ? 5 : y < 5 ? 4 : y < 10 ? 3 : 2)]);
        fill.VLine(17, 0, 11, pal::POISON[1]);
        put(255, fill.Cut(0, 0, 6, 11)), put(256, fill.Cut(6, 0, 6, 11)), put(257, fill.Cut(12, 0, 6, 11));
    }
    // slots
    put(98, Sunken(34, 34, WOOD[1]));
    put(121, Sunken(34, 34, WOOD[2]));
    for (int k = 0; k < 10; ++k) put(165 + k, SlotPicture(k));

    // ---- icons ---------------------------------------------------------------------------
    put(3, FromText(Icon("heart"))), put(4, FromText(Icon("drop"))), put(5, FromText(Icon("weight"))), put(6, FromText(Icon("soul")));
    const char* marks[20] = {"m_check", "m_question", "m_exclaim", "m_star",  "m_cross", "m_diamond", "m_flag",
                             "m_sword", "m_house",    "m_tree",    "m_cave",  "m_drop",  "m_coin",    "m_up",
                             "m_down",  "m_left",     "m_right",   "m_skull", "m_bag",   "m_shield"};
    for (int k = 0; k < 20; ++k) put(70 + k, FromText(Icon(marks[k])));
    {
        Canvas none(11, 11);
        none.FillEllipse(5.5, 5.5, 3, 3, IRON[3]);
        none.FillEllipse(5.5, 5.5, 1.8, 1.8, CLEAR);
        put(213, none);
        const char* vip[10] = {"heart", "m_star", "skull", "m_coin", "m_sword", "m_shield", "level", "m_tree", "m_diamond", "m_flag"};
        for (int k = 0; k < 10; ++k) put(214 + k, FromText(Icon(vip[k])));
    }
    put(224, FromText(Icon("poisoned"))), put(225, FromText(Icon("burning"))), put(226, FromText(Icon("drunk")));
    put(227, FromText(Icon("fight"))), put(228, FromText(Icon("magicshield"))), put(229, FromText(Icon("paralysed")));
    put(230, FromText(Icon("electrified"))), put(231, FromText(Icon("hasted"))), put(232, FromText(Icon("attackable")));
    put(233, FromText(Icon("partymember"))), put(234, Skull(Hex(0xf0ece0), 2)), put(235, Skull(Hex(0xe2543f), 3));
    put(236, FromText(Icon("level"))), put(237, FromText(Icon("experience"))), put(238, FromText(Icon("light")));
    put(239, FromText(Icon("speed")));
    put(240, Skull(Hex(0xf4d862), 0)), put(241, Skull(Hex(0xa8e070), 1)), put(242, Skull(Hex(0xf0ece0), 2));
    put(243, Skull(Hex(0xe2543f), 3)), put(244, Skull(Hex(0x8a8782), 4));
    put(245, PartyShield(pal::GOLD, 0)), put(246, PartyShield(pal::GOLD, 1)), put(247, PartyShield(pal::POISON, 2));
    put(248, PartyShield(pal::GOLD, 0)), put(249, PartyShield(pal::GOLD, 1)), put(250, PartyShield(pal::CLOTH_BLUE, 2));
    put(251, PartyShield(pal::CLOTH_BLUE, 3));

    // Every row must have been painted.
    for (int i = 1; i < NumberOfSkins; ++i)
        if (i != MISSING_SKIN && !painted[size_t(i)]) throw std::logic_error("skin " + std::to_string(i) + " not painted");
    return skin;
}

}  // namespace gen
