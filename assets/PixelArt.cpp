#include "PixelArt.h"

#include <cstring>
#include <map>
#include <stdexcept>

namespace gen {

using art::Color;
using art::Hex;

namespace {

// The legend: k outline; W w g G greys; R r m reds; Y y o gold and orange;
// B b n blues; E e v greens; P p purples; T t tans; C c cyans.
Color Legend(char ch) {
    switch (ch) {
        case 'k': return Hex(0x1c1614);
        case 'W': return Hex(0xf0ece0);
        case 'w': return Hex(0xc4c0b8);
        case 'g': return Hex(0x8a8782);
        case 'G': return Hex(0x53514d);
        case 'R': return Hex(0xe2543f);
        case 'r': return Hex(0xa8302c);
        case 'm': return Hex(0x661c22);
        case 'Y': return Hex(0xf4d862);
        case 'y': return Hex(0xc4922c);
        case 'o': return Hex(0xe47c2a);
        case 'B': return Hex(0x8cc2f2);
        case 'b': return Hex(0x3c70c8);
        case 'n': return Hex(0x253d7a);
        case 'E': return Hex(0xa8e070);
        case 'e': return Hex(0x4c9c34);
        case 'v': return Hex(0x2c5c24);
        case 'P': return Hex(0xcaa2f2);
        case 'p': return Hex(0x7c48b8);
        case 'T': return Hex(0xd0a676);
        case 't': return Hex(0x7a5034);
        case 'C': return Hex(0x96f2ee);
        case 'c': return Hex(0x3aa0b2);
        default: throw std::logic_error(std::string("unknown icon colour ") + ch);
    }
}

const std::map<std::string, Sprite> Icons = {
    {"heart", {"...........", ".kk...kk...", "kRRk.kRRk..", "kRWRkRRRk..", "kRRRRRRrk..", ".kRRRRrk...", "..kRRrk....",
               "...krk.....", "....k......", "...........", "..........."}},
    {"drop", {"....k......", "...kbk.....", "...kbk.....", "..kbBbk....", "..kBbbk....", ".kbBbbbk...", ".kBbbbnk...",
              ".kbbbbnk...", "..kbbnk....", "...kkk.....", "..........."}},
    {"weight", {"....kkk....", "...k...k...", "....kkk....", "..kkkkkkk..", "..kgwwwgk..", ".kgwWwwggk.", ".kgwwwwggk.",
                "kgwwwwwgggk", "kggggggggGk", "kkkkkkkkkkk", "..........."}},
    {"soul", {".....k.....", "....kPk....", "...kPPk....", "...kPPPk...", "..kPPpPk...", "..kPpWpPk..", ".kPpWWpPk..",
              ".kPpWWppk..", "..kppppk...", "...kkkk....", "..........."}},
    // player states
    {"poisoned", {"...kkkkk...", "..kEEEEEk..", ".kEkEEEkEk.", ".kEkEEEkEk.", ".kEEEEEEEk.", "..kEkkkEk..", "...kEEEk...",
                  "..kvkvkvk..", "..k.k.k.k..", "...........", "..........."}},
    {"burning", {".....k.....", "....kYk....", "...kYk.k...", "..kYok.kk..", "..kYookoYk.", ".kYoooooYk.", ".kooYYYook.",
                 ".koYWWYook.", "..kooooook.", "...kkkkkk..", "..........."}},
    {"drunk", {"...........", "..kkkkkk...", ".kWWWWWWk..", ".kyyyyyykkk", ".kyYyyyyk.k", ".kyYyyyyk.k", ".kyYyyyykkk",
               ".kyyyyyyk..", ".kyyyyyyk..", "..kkkkkk...", "..........."}},
    {"fight", {"k.........k", "kWk.....kWk", ".kWk...kWk.", "..kWk.kWk..", "...kWkWk...", "....kWk....", "...kWkWk...",
               "..ktk.ktk..", ".ktk...ktk.", "kkk.....kkk", "..........."}},
    {"magicshield", {"...kkkkk...", "..kBBBBBk..", ".kB.....Bk.", "kB..kkk..Bk", "kB.kCCCk.Bk", "kB.kCWCk.Bk", "kB.kCCCk.Bk",
                     "kB..kkk..Bk", ".kB.....Bk.", "..kBBBBBk..", "...kkkkk..."}},
    {"paralysed", {"...........", ".kk..k..kk.", ".kCk.k.kCk.", "..kCkCkCk..", "kkkkCWCkkkk", "kCCCWWWCCCk", "kkkkCWCkkkk",
                   "..kCkCkCk..", ".kCk.k.kCk.", ".kk..k..kk.", "..........."}},
    {"electrified", {"......kkk..", ".....kYYk..", "....kYYk...", "...kYYk....", "..kYYYYYk..", "...kkYYk...", "....kYk....",
                     "...kYk.....", "..kYk......", "..kk.......", "..........."}},
    {"hasted", {"...........", "kk...kk....", "kYk..kYk...", ".kYk..kYk..", "..kYk..kYk.", "...kYk..kYk", "..kYk..kYk.",
                ".kYk..kYk..", "kYk..kYk...", "kk...kk....", "..........."}},
    {"attackable", {"....kkk....", "...kRRRk...", "..kRkkkRk..", ".kRk...kRk.", "kRk..k..kRk", "kRk.kRk.kRk", "kRk..k..kRk",
                    ".kRk...kRk.", "..kRkkkRk..", "...kRRRk...", "....kkk...."}},
    {"partymember", {".kkkkkkkkk.", ".kBBBBBBBk.", ".kBWBBBBnk.", ".kBWBBBBnk.", ".kBBBBBBnk.", ".kBBBBBBnk.", "..kBBBBnk..",
                     "..kBBBBnk..", "...kBBnk...", "....kkk....", "..........."}},
    {"skull", {"...kkkkk...", "..kWWWWWk..", ".kWWWWWWWk.", ".kWkkWkkWk.", ".kWkkWkkWk.", ".kWWWkWWWk.", "..kWWWWWk..",
               "...kWkWk...", "...kkkkk...", "...........", "..........."}},
    {"level", {"....kkk....", "...kYYYk...", "..kYYkYYk..", ".kYYk.kYYk.", "kkkk...kkkk", "...kYYYk...", "...kYYYk...",
               "...kYYYk...", "...kyyyk...", "...kkkkk...", "..........."}},
    {"experience", {".....k.....", "....kYk....", "....kYk....", "kkkkYWYkkkk", ".kYYWWWYYk.", "..kYYWYYk..", "..kYYkYYk..",
                    ".kYYk.kYYk.", ".kkk...kkk.", "...........", "..........."}},
    {"light", {".....k.....", "..k..k..k..", "...k...k...", "....kkk....", "kk.kYYYk.kk", "...kYWYk...", "....kyk....",
               "...k.k.k...", "..k..k..k..", "...........", "..........."}},
    {"speed", {"...........", "....kkkkk..", "...kwwwwwk.", "..kwWWWWwk.", "kkkwWkWWwk.", "..kwWWkWwk.", "kkkwWWWWwk.",
               "..kwwwwwk..", "...kkkkk...", "...........", "..........."}},
    // automap marks
    {"m_check", {"...........", ".........kk", "........kEk", ".......kEk.", "kk....kEk..", "kEk..kEk...", ".kEkkEk....",
                 "..kEEk.....", "...kk......", "...........", "..........."}},
    {"m_question", {"...kkkk....", "..kBBBBk...", ".kBk..kBk..", "..k...kBk..", ".....kBk...", "....kBk....", "....kBk....",
                    ".....k.....", "....kBk....", "....kkk....", "..........."}},
    {"m_exclaim", {"....kkk....", "....kRk....", "....kRk....", "....kRk....", "....kRk....", "....kRk....", "....kkk....",
                   "...........", "....kRk....", "....kkk....", "..........."}},
    {"m_star", {".....k.....", "....kYk....", "....kYk....", "kkkkYYYkkkk", ".kYYYWYYYk.", "..kYYYYYk..", "..kYYkYYk..",
                ".kYYk.kYYk.", ".kkk...kkk.", "...........", "..........."}},
    {"m_cross", {"kk.......kk", "kRk.....kRk", ".kRk...kRk.", "..kRk.kRk..", "...kRkRk...", "....kRk....", "...kRkRk...",
                 "..kRk.kRk..", ".kRk...kRk.", "kRk.....kRk", "kk.......kk"}},
    {"m_diamond", {".....k.....", "....kCk....", "...kCWCk...", "..kCCWCCk..", ".kCCCCCCck.", "kCCCCCCccck", ".kcCCCccck.",
                   "..kcCccck..", "...kccck...", "....kck....", ".....k....."}},
    {"m_flag", {"kkkkkkk....", "kRRRRRRk...", "kRRRRRRRk..", "kRRRRRRk...", "kRkkkkk....", "kk.........", "kk.........",
                "kk.........", "kk.........", "kk.........", "kk........."}},
    {"m_sword", {".........kk", "........kWk", ".......kWk.", "......kWk..", ".....kWk...", "..k.kWk....", "..kkWk.....",
                 "...kk......", "..kyk.k....", ".kyk.......", "kkk........"}},
    {"m_house", {".....k.....", "....krk....", "...krrrk...", "..krrrrrk..", ".kkkkkkkkk.", "..kTTTTTk..", "..kTkkTTk..",
                 "..kTkkTTk..", "..kTkkTTk..", "..kkkkkkk..", "..........."}},
    {"m_tree", {"....kkk....", "...keeek...", "..keEeeek..", ".keEeeeevk.", ".keeeeevvk.", "..keevvvk..", "...kktkk...",
                "....ktk....", "....ktk....", "...kkkkk...", "..........."}},
    {"m_cave", {"...kkkkk...", "..kgggggk..", ".kggGGGggk.", "kggGkkkGggk", "kgGkkkkkGgk", "kgGkkkkkGgk", "kgGkkkkkGgk",
                "kggkkkkkggk", "kkkkkkkkkkk", "...........", "..........."}},
    {"m_drop", {".....k.....", "....kBk....", "....kBk....", "...kBBBk...", "...kBWBk...", "..kBWBBbk..", "..kBBBBbk..",
                "..kBBBbbk..", "...kbbbk...", "....kkk....", "..........."}},
    {"m_coin", {"...kkkkk...", "..kYYYYYk..", ".kYYyyyYYk.", ".kYyYYYyYk.", ".kYyYYYyYk.", ".kYyYYYyYk.", ".kYYyyyYYk.",
                "..kYYYYYk..", "...kkkkk...", "...........", "..........."}},
    {"m_up", {".....k.....", "....kWk....", "...kWWWk...", "..kWWWWWk..", ".kkkWWWkkk.", "...kWWWk...", "...kWWWk...",
              "...kWWWk...", "...kkkkk...", "...........", "..........."}},
    {"m_down", {"...........", "...kkkkk...", "...kWWWk...", "...kWWWk...", "...kWWWk...", ".kkkWWWkkk.", "..kWWWWWk..",
                "...kWWWk...", "....kWk....", ".....k.....", "..........."}},
    {"m_left", {"...........", "....k......", "...kk......", "..kWkkkkkk.", ".kWWWWWWWk.", "kWWWWWWWWk.", ".kWWWWWWWk.",
                "..kWkkkkkk.", "...kk......", "....k......", "..........."}},
    {"m_right", {"...........", "......k....", "......kk...", ".kkkkkkWk..", ".kWWWWWWWk.", ".kWWWWWWWWk", ".kWWWWWWWk.",
                 ".kkkkkkWk..", "......kk...", "......k....", "..........."}},
    {"m_skull", {"...kkkkk...", "..kwwwwwk..", ".kwWWWWWwk.", ".kWkkWkkWk.", ".kWkkWkkWk.", ".kWWWkWWWk.", "..kWWWWWk..",
                 "...kWkWk...", "k..kkkkk..k", ".kk.....kk.", "k..kkkkk..k"}},
    {"m_bag", {"....kkk....", "...kTTTk...", "....kTk....", "...kTTTk...", "..kTTTTTk..", ".kTTTyTTTk.", ".kTTyyyTTk.",
               ".kTTTyTTtk.", "..kTTTTtk..", "...kkkkk...", "..........."}},
    {"m_shield", {".kkkkkkkkk.", ".kggggggGk.", ".kgWggggGk.", ".kgggRgggk.", ".kggRRRggk.", ".kgggRgggk.", "..kgggggk..",
                  "..kggggGk..", "...kgggk...", "....kkk....", "..........."}},
};

}  // namespace

art::Canvas FromText(const Sprite& rows) {
    int h = int(rows.size()), w = h ? int(std::strlen(rows[0])) : 0;
    art::Canvas c(w, h);
    for (int y = 0; y < h; ++y) {
        if (int(std::strlen(rows[size_t(y)])) != w) throw std::logic_error("ragged icon");
        for (int x = 0; x < w; ++x) {
            char ch = rows[size_t(y)][x];
            if (ch != '.') c.Set(x, y, Legend(ch));
        }
    }
    return c;
}

const Sprite& Icon(const std::string& name) {
    auto found = Icons.find(name);
    if (found == Icons.end()) throw std::logic_error("no icon " + name);
    return found->second;
}

}  // namespace gen
