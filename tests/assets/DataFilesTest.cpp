// The generated data files, read back with the independent reader: header
// counts, every record's flags and parameters, sprite numbers in range, every
// offset inside its file, every pixel block decoding to exactly its size, the
// font glyph cells, the skin rows and byte-identical output of two runs.
#include "DataFileReader.h"

#include "graphics/PictureNumbers.h"
#include "gui/framework/Skins.h"
#include "support/TestSupport.h"
#include "world/TypeNumbers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <unistd.h>

using namespace datafiles;
namespace fs = std::filesystem;

namespace {

enum { BANK = 0, ONBANK, BOTTOM, TOP, CONTAINER, CUMULATIVE, USETARGET, MULTIUSE, WRITE, WRITEONCE, LIQUIDCONTAINER,
       LIQUIDPOOL, UNPASS, UNMOVE, NOROOF, AVOID, TAKE, HANG, HOOKA, HOOKB, ROTATE, LIGHT, SEETHROUGH, LIGHTTHROUGH,
       SHIFT, HEIGHT, REDRAWNEAR, IDLEANIMATION, AUTOMAP, LENSHELP, FLOORMARK };

struct Files {
    std::string Dat, Spr, Pic;
};

// The generator next to the test programs: VORNA_BINARY_DIR when the test
// runner sets it, else found from this program's own path.
fs::path Generator() {
    if (const char* bin = std::getenv("VORNA_BINARY_DIR")) return fs::path(bin) / "assets" / "vorna-assets";
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "assets" / "vorna-assets";
}

// Runs the generator into a fresh directory and reads the three files.
Files Generate(const fs::path& dir) {
    fs::path tool = Generator();
    if (!fs::exists(tool)) throw std::runtime_error("no generator at " + tool.string());
    fs::create_directories(dir);
    std::string command = "\"" + tool.string() + "\" --output \"" + dir.string() + "\" > /dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("the generator failed: " + command);
    return Files{testing_support::ReadFile(dir / "Vorna.dat"), testing_support::ReadFile(dir / "Vorna.spr"),
                 testing_support::ReadFile(dir / "Vorna.pic")};
}

// The files the build made next to the programs when they are newer than the
// generator, otherwise a fresh run.
Files Current(const fs::path& dir) {
    fs::path tool = Generator(), built = tool.parent_path().parent_path();
    bool fresh = fs::exists(tool);
    for (const char* name : {"Vorna.dat", "Vorna.spr", "Vorna.pic"})
        fresh = fresh && fs::exists(built / name) && fs::last_write_time(built / name) >= fs::last_write_time(tool);
    if (!fresh) return Generate(dir);
    return Files{testing_support::ReadFile(built / "Vorna.dat"), testing_support::ReadFile(built / "Vorna.spr"),
                 testing_support::ReadFile(built / "Vorna.pic")};
}

// The files are read once per test program; a failure to generate or to
// read them fails every test that needs them (never a silent skip).
class DataFiles : public testing::Test {
  protected:
    void SetUp() override {
        if (!Loaded) {
            Loaded = true;
            try {
                Dir = new fs::path(fs::temp_directory_path() / ("vorna-assets-test-" + std::to_string(::getpid())));
                Generated = new Files(Current(*Dir / "a"));
                Dat = new DatFile(ReadDat(Generated->Dat));
                Spr = new SprFile(ReadSpr(Generated->Spr));
                Pic = new PicFile(ReadPic(Generated->Pic));
            } catch (const std::exception& e) {
                Problem = e.what();
            }
        }
        if (!Problem.empty() || !Pic) FAIL() << "cannot read the generated files: " << Problem;
    }
    static void TearDownTestSuite() {
        if (Dir) fs::remove_all(*Dir);
        delete Dat, delete Spr, delete Pic, delete Generated, delete Dir;
        Dat = nullptr, Spr = nullptr, Pic = nullptr, Generated = nullptr, Dir = nullptr;
    }
    static const Entry& Item(int type) { return Dat->Items.at(size_t(type - 100)); }

    static bool Loaded;
    static std::string Problem;
    static fs::path* Dir;
    static Files* Generated;
    static DatFile* Dat;
    static SprFile* Spr;
    static PicFile* Pic;
};
bool DataFiles::Loaded = false;
std::string DataFiles::Problem;
fs::path* DataFiles::Dir = nullptr;
Files* DataFiles::Generated = nullptr;
DatFile* DataFiles::Dat = nullptr;
SprFile* DataFiles::Spr = nullptr;
PicFile* DataFiles::Pic = nullptr;

TEST_F(DataFiles, SignaturesAreTheHashOfTheContent) {
    EXPECT_EQ(Dat->Signature, ContentHash(Generated->Dat));
    EXPECT_EQ(Spr->Signature, ContentHash(Generated->Spr));
    EXPECT_EQ(Pic->Signature, ContentHash(Generated->Pic));
    // three different files, three different signatures
    EXPECT_NE(Dat->Signature, Spr->Signature);
    EXPECT_NE(Spr->Signature, Pic->Signature);
}

TEST_F(DataFiles, TwoRunsGiveIdenticalBytes) {
    Files again = Generate(*Dir / "b");
    EXPECT_TRUE(again.Dat == Generated->Dat);
    EXPECT_TRUE(again.Spr == Generated->Spr);
    EXPECT_TRUE(again.Pic == Generated->Pic);
}

TEST_F(DataFiles, HeaderCountsMatchTheSharedNumbers) {
    EXPECT_EQ(Dat->HighestItem, LAST_ITEM_TYPE);
    EXPECT_EQ(Dat->Outfits, NUMBER_OF_OUTFITS);
    EXPECT_EQ(Dat->Effects, NUMBER_OF_EFFECTS);
    EXPECT_EQ(Dat->Missiles, NUMBER_OF_MISSILES);
    EXPECT_EQ(int(Dat->Items.size()), LAST_ITEM_TYPE - 99);
    EXPECT_EQ(int(Pic->Pictures.size()), NUMBER_OF_PICTURES);
}

TEST_F(DataFiles, RecordsHaveSaneDimensionsAndSpritesInRange) {
    const int sprites = int(Spr->Offsets.size());
    auto check = [&](const Entry& e, const std::string& what) {
        SCOPED_TRACE(what);
        EXPECT_GE(e.Width, 1);
        EXPECT_GE(e.Height, 1);
        EXPECT_GE(e.Layers, 1);
        EXPECT_GE(e.PatternWidth, 1);
        EXPECT_GE(e.PatternHeight, 1);
        EXPECT_GE(e.PatternDepth, 1);
        EXPECT_GE(e.Phases, 1);
        if (e.Width > 1 || e.Height > 1) EXPECT_EQ(e.DisplaySize, 32 * std::max(e.Width, e.Height));
        else EXPECT_EQ(e.DisplaySize, 32);
        EXPECT_FALSE(e.Has(31));
        bool any = false;
        for (uint16_t s : e.Sprites) {
            EXPECT_LE(int(s), sprites);
            if (s) {
                any = true;
                EXPECT_NE(Spr->Offsets[s - 1], 0u) << "sprite " << s << " is empty";
            }
        }
        EXPECT_TRUE(any) << "draws nothing";
    };
    for (size_t i = 0; i < Dat->Items.size(); ++i) {
        check(Dat->Items[i], "item " + std::to_string(100 + i));
        EXPECT_FALSE(Dat->Items[i].Has(IDLEANIMATION));
    }
    const uint32_t outfitFlags = (1u << LIGHT) | (1u << SHIFT) | (1u << IDLEANIMATION);
    for (size_t i = 0; i < Dat->OutfitEntries.size(); ++i) {
        check(Dat->OutfitEntries[i], "outfit " + std::to_string(i + 1));
        EXPECT_EQ(Dat->OutfitEntries[i].Flags & ~outfitFlags, 0u);
        EXPECT_EQ(Dat->OutfitEntries[i].PatternWidth, 4) << "four directions";
    }
    for (const auto* table : {&Dat->EffectEntries, &Dat->MissileEntries})
        for (const Entry& e : *table) {
            check(e, "effect or missile");
            EXPECT_EQ(e.Flags & ~(1u << LIGHT), 0u);
        }
}

TEST_F(DataFiles, FlagParametersAreSensible) {
    for (size_t i = 0; i < Dat->Items.size(); ++i) {
        const Entry& e = Dat->Items[i];
        SCOPED_TRACE("item " + std::to_string(100 + i));
        if (e.Has(BANK)) { EXPECT_GE(e.Params[BANK][0], 1); }
        if (e.Has(LIGHT)) {
            EXPECT_TRUE(In(int(e.Params[LIGHT][0]), 1, 10));
            EXPECT_LE(e.Params[LIGHT][1], 215);
        }
        if (e.Has(AUTOMAP)) { EXPECT_LE(e.Params[AUTOMAP][0], 215); }
        if (e.Has(HEIGHT)) { EXPECT_TRUE(In(int(e.Params[HEIGHT][0]), 1, 24)); }
        if (e.Has(LENSHELP)) { EXPECT_TRUE(In(int(e.Params[LENSHELP][0]), 1100, 1112)); }
        if (e.Has(WRITE) || e.Has(WRITEONCE)) { EXPECT_GT(e.Params[e.Has(WRITE) ? WRITE : WRITEONCE][0], 0); }
        // exactly one stack class for grounds and borders
        if (e.Has(BANK)) { EXPECT_FALSE(e.Has(ONBANK) || e.Has(BOTTOM) || e.Has(TOP)); }
    }
}

TEST_F(DataFiles, TheDemoWorldUsesEveryFlagTheClientReactsTo) {
    std::set<int> seen;
    std::set<int> lens;
    for (const Entry& e : Dat->Items) {
        for (int code = 0; code <= 30; ++code)
            if (e.Has(code)) seen.insert(code);
        if (e.Has(LENSHELP)) lens.insert(e.Params[LENSHELP][0]);
    }
    for (int code = 0; code <= 30; ++code)
        if (code != IDLEANIMATION) { EXPECT_TRUE(seen.count(code)) << "no item has flag " << code; }
    for (int topic = 1100; topic <= 1112; ++topic) EXPECT_TRUE(lens.count(topic)) << "no item has lens help " << topic;
    bool idle = false;
    for (const Entry& e : Dat->OutfitEntries) idle = idle || e.Has(IDLEANIMATION);
    EXPECT_TRUE(idle);
}

TEST_F(DataFiles, PatternsOfStacksLiquidsHooksAndMultiFieldTypes) {
    for (int type : {TYPE_GOLD_COIN, TYPE_PLATINUM_COIN, TYPE_ARROW, TYPE_BOLT}) {
        const Entry& e = Item(type);
        EXPECT_TRUE(e.Has(CUMULATIVE));
        EXPECT_EQ(e.PatternWidth, 4);
        EXPECT_EQ(e.PatternHeight, 2);
        std::set<uint16_t> distinct(e.Sprites.begin(), e.Sprites.end());
        EXPECT_EQ(distinct.size(), 8u) << "a picture per count class of " << type;
    }
    for (int type : {TYPE_VIAL, TYPE_MUG, TYPE_BUCKET, TYPE_POOL}) {
        const Entry& e = Item(type);
        EXPECT_TRUE(e.Has(type == TYPE_POOL ? LIQUIDPOOL : LIQUIDCONTAINER));
        EXPECT_EQ(e.PatternWidth, 4);
        EXPECT_EQ(e.PatternHeight, 2);
    }
    EXPECT_EQ(Item(TYPE_POOL).Sprite(1, 1, 1, 1, 1, 1, 1), 0) << "an empty pool draws nothing";
    EXPECT_TRUE(Item(TYPE_STONE_WALL_H).Has(HOOKA));
    EXPECT_TRUE(Item(TYPE_STONE_WALL_V).Has(HOOKB));
    const Entry& torch = Item(TYPE_WALL_TORCH);
    EXPECT_TRUE(torch.Has(HANG));
    EXPECT_TRUE(torch.Has(LIGHT));
    EXPECT_EQ(torch.PatternWidth, 3);
    EXPECT_GT(torch.Phases, 1);
    for (int type : {TYPE_OAK, TYPE_PINE}) {
        EXPECT_EQ(Item(type).Width, 2);
        EXPECT_EQ(Item(type).Height, 2);
        EXPECT_EQ(Item(type).DisplaySize, 64);
    }
    EXPECT_TRUE(Item(TYPE_DOOR_H_CLOSED).Has(UNPASS));
    EXPECT_FALSE(Item(TYPE_DOOR_H_OPEN).Has(UNPASS));
    EXPECT_TRUE(Item(TYPE_ARCH_H).Has(TOP));
    EXPECT_GE(Item(TYPE_CAMPFIRE).Phases, 3);
    EXPECT_TRUE(Item(TYPE_CHAIR_N).Has(ROTATE));
    EXPECT_TRUE(Item(TYPE_ROOF).Has(FLOORMARK));
    EXPECT_TRUE(Item(TYPE_GRATING).Has(SEETHROUGH) && Item(TYPE_GRATING).Has(LIGHTTHROUGH));
    for (int type = TYPE_GRASS; type <= TYPE_ROOF_RIDGE; ++type) EXPECT_TRUE(Item(type).Has(BANK)) << type;
    for (int type = TYPE_GRASS_BORDER_N; type <= TYPE_SHORE_W; ++type) EXPECT_TRUE(Item(type).Has(ONBANK)) << type;
}

TEST_F(DataFiles, OutfitsEffectsAndMissiles) {
    for (int outfit : {OUTFIT_CITIZEN, OUTFIT_WOMAN, OUTFIT_KNIGHT, OUTFIT_MAGE, OUTFIT_HUNTER}) {
        const Entry& e = Dat->OutfitEntries.at(size_t(outfit - 1));
        EXPECT_EQ(e.Layers, 2) << outfit;
        EXPECT_EQ(e.Phases, 3) << outfit;
        for (int dir = 1; dir <= 4; ++dir)
            for (int phase = 1; phase <= 3; ++phase) EXPECT_NE(e.Sprite(1, 1, 2, dir, 1, 1, phase), 0);
    }
    const Entry& dragon = Dat->OutfitEntries.at(OUTFIT_DRAGON - 1);
    EXPECT_EQ(dragon.Width, 2);
    EXPECT_EQ(dragon.DisplaySize, 64);
    EXPECT_GE(Dat->EffectEntries.size(), 13u);
    EXPECT_GE(Dat->EffectEntries.at(EFFECT_INVISIBLE - 1).Phases, 4);
    // every direction of the compass grid has a picture, the centre none
    const int px[8] = {2, 3, 3, 3, 2, 1, 1, 1}, py[8] = {1, 1, 2, 3, 3, 3, 2, 1};
    for (const Entry& m : Dat->MissileEntries) {
        EXPECT_EQ(m.PatternWidth, 3);
        EXPECT_EQ(m.PatternHeight, 3);
        for (int d = 0; d < 8; ++d) EXPECT_NE(m.Sprite(1, 1, 1, px[d], py[d], 1, 1), 0);
        EXPECT_EQ(m.Sprite(1, 1, 1, 2, 2, 1, 1), 0);
    }
}

TEST_F(DataFiles, EverySpriteDecodesToExactlyItsDataSize) {
    ASSERT_GT(Spr->Offsets.size(), 0u);
    size_t tableEnd = 6 + 4 * Spr->Offsets.size();
    for (size_t i = 0; i < Spr->Offsets.size(); ++i) {
        uint32_t at = Spr->Offsets[i];
        if (at == 0) continue;
        ASSERT_GE(at, tableEnd) << "sprite " << i + 1;
        ASSERT_LT(size_t(at) + 5, Generated->Spr.size()) << "sprite " << i + 1;
        std::array<uint8_t, 3> key = {uint8_t(Generated->Spr[at]), uint8_t(Generated->Spr[at + 1]), uint8_t(Generated->Spr[at + 2])};
        Image img = DecodePixels(Generated->Spr, at + 3, key);
        for (int p = 0; p < 1024; ++p)
            if (img.Written[size_t(p)]) { ASSERT_NE(img.Pixels[size_t(p)], key) << "sprite " << i + 1 << " uses its key"; }
    }
}

TEST_F(DataFiles, EveryTileIsInsideTheFileAndDecodes) {
    size_t headerEnd = 6;
    for (const PictureEntry& p : Pic->Pictures) headerEnd += 5 + 4 * p.Tiles.size();
    for (const PictureEntry& p : Pic->Pictures) {
        EXPECT_GE(p.TilesX, 1);
        EXPECT_GE(p.TilesY, 1);
        for (uint32_t at : p.Tiles) {
            ASSERT_GE(at, headerEnd);
            ASSERT_LE(size_t(at) + 2, Generated->Pic.size());
            EXPECT_NO_THROW(DecodePixels(Generated->Pic, at, p.Key));
        }
    }
    const PictureEntry& background = Pic->Pictures[PICTURE_BACKGROUND - 1];
    EXPECT_GE(background.TilesX * 32, 1920);
    EXPECT_GE(background.TilesY * 32, 1080);
}

TEST_F(DataFiles, DarknessTilesGetLighterLevelByLevel) {
    const PictureEntry& p = Pic->Pictures[PICTURE_LIGHT - 1];
    ASSERT_EQ(p.TilesX, 1);
    ASSERT_EQ(p.TilesY, DARKNESS_LEVELS);
    Bitmap b = DecodePicture(Generated->Pic, p);
    int previous = 1025;
    for (int level = 0; level < DARKNESS_LEVELS; ++level) {
        int black = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (b.At(x, level * 32 + y)) {
                    ++black;
                    EXPECT_EQ(b.Pixels[size_t(level * 32 + y) * 32 + x], (std::array<uint8_t, 3>{0, 0, 0}));
                }
        if (level == 0) { EXPECT_EQ(black, 1024) << "tile 0, 0 is black"; }
        EXPECT_LT(black, previous);
        EXPECT_GT(black, 0);
        previous = black;
    }
}

// Glyph g of a font sits at ((g mod 32) * w, (g / 32) * h) of its picture.
struct FontCase {
    int Picture, CellWidth, CellHeight;
};

TEST_F(DataFiles, FontPicturesHoldAGlyphInEveryCell) {
    const FontCase fonts[] = {{PICTURE_FONT_1, 8, 16}, {PICTURE_FONT_2, 16, 16}, {PICTURE_FONT_3, 8, 8}, {PICTURE_FONT_4, 8, 16}};
    for (const FontCase& f : fonts) {
        SCOPED_TRACE("picture " + std::to_string(f.Picture));
        const PictureEntry& p = Pic->Pictures[size_t(f.Picture - 1)];
        ASSERT_GE(p.TilesX * 32, 32 * f.CellWidth);
        ASSERT_GE(p.TilesY * 32, 7 * f.CellHeight);
        Bitmap b = DecodePicture(Generated->Pic, p);
        auto height = [&](int g) {
            int x0 = (g % 32) * f.CellWidth, y0 = (g / 32) * f.CellHeight;
            for (int y = f.CellHeight - 1; y >= 0; --y)
                for (int x = 0; x < f.CellWidth; ++x)
                    if (b.At(x0 + x, y0 + y)) return y + 1;
            return 0;
        };
        for (int g = 0; g < 224; ++g) {
            int code = g + 32;
            if (code == 32 || code == 160) EXPECT_EQ(height(g), 0) << "blank " << code;
            else EXPECT_GT(height(g), 0) << "no glyph for code " << code;
        }
        // letters without descenders share one baseline; descenders go below it
        int base = height('A' - 32);
        for (char ch : std::string("BHMWxz0189")) EXPECT_EQ(height(ch - 32), base) << ch;
        if (f.Picture != PICTURE_FONT_3) { EXPECT_GT(height('g' - 32), base); }
        // the comma, whose width spaces words, is narrower than the cell
        int widest = 0;
        for (int y = 0; y < f.CellHeight; ++y)
            for (int x = 0; x < f.CellWidth; ++x)
                if (b.At((12 % 32) * f.CellWidth + x, y)) widest = std::max(widest, x + 1);
        EXPECT_TRUE(In(widest, 1, f.CellWidth - 1));
    }
}

TEST_F(DataFiles, EverySkinRowIsPaintedInsideTheSkinPicture) {
    const PictureEntry& p = Pic->Pictures[PICTURE_SKIN - 1];
    Bitmap b = DecodePicture(Generated->Pic, p);
    InitSkins();
    for (int i = 1; i < NumberOfSkins; ++i) {
        if (i == MISSING_SKIN) continue;
        const SkinRect& r = Skins[i];
        ASSERT_LE(r.x + r.width, b.Width) << i;
        ASSERT_LE(r.y + r.height, b.Height) << i;
        int painted = 0;
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x) painted += b.At(x, y);
        EXPECT_GT(painted, 0) << "skin " << i << " is empty";
    }
    ExitSkins();
}

TEST(SkinTable, TellingRowsAndGaps) {
    InitSkins();
    auto is = [](int i, int x, int y, int w, int h) {
        const SkinRect& r = Skins[i];
        return r.x == x && r.y == y && r.width == w && r.height == h;
    };
    EXPECT_TRUE(is(0, 0, 0, 0, 0));
    EXPECT_TRUE(is(1, 290, 12, 11, 19));
    EXPECT_TRUE(is(7, 0, 0, 96, 96));
    EXPECT_TRUE(is(22, 98, 197, 2, 2));
    EXPECT_TRUE(is(23, 100, 197, 2, 2));
    EXPECT_TRUE(is(24, 98, 199, 2, 2));
    EXPECT_TRUE(is(25, 100, 199, 2, 2));
    EXPECT_TRUE(is(26, 276, 0, 2, 96));
    EXPECT_TRUE(is(27, 0, 98, 2, 96));
    EXPECT_TRUE(is(28, 2, 197, 96, 2));
    EXPECT_TRUE(is(29, 0, 96, 96, 2));
    EXPECT_TRUE(is(38, 258, 101, 13, 13));
    EXPECT_TRUE(is(257, 180, 75, 6, 11));
    EXPECT_TRUE(is(148, 0, 0, 0, 0));
    EXPECT_EQ(GetNumberOfSkinRows(), 256);
    for (int i = 1; i < NumberOfSkins; ++i)
        if (i != 148) { EXPECT_TRUE(Skins[i].width > 0 && Skins[i].height > 0) << i; }
    // no two elements share pixels
    for (int a = 1; a < NumberOfSkins; ++a)
        for (int b = a + 1; b < NumberOfSkins; ++b) {
            const SkinRect &p = Skins[a], &q = Skins[b];
            if (!p.width || !q.width) continue;
            bool overlap = p.x < q.x + q.width && q.x < p.x + p.width && p.y < q.y + q.height && q.y < p.y + p.height;
            EXPECT_FALSE(overlap) << a << " and " << b;
        }
    ExitSkins();
    EXPECT_TRUE(is(7, 0, 0, 0, 0)) << "released";
}

TEST(SkinTable, IndexOutsideTheTableIsReported) {
    InitSkins();
    EXPECT_ASSERTION(Skins[NumberOfSkins], "Index>=0 && Index<NumberOfSkins");
    EXPECT_ASSERTION(Skins[-1], "Index>=0 && Index<NumberOfSkins");
    ExitSkins();
}

}  // namespace
