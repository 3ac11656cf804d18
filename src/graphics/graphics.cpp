// Sprite, picture and font resources. Sections:
//   1. module state
//   2. the image files: loading the tables, decoding pixel data
//   3. recency lists and hash chains shared by both caches
//   4. memory cache (decoded images)
//   5. video cache (slots on the sprite surfaces)
//   6. fonts
//   7. start-up, reloading, release
//   8. drawing sprites and pictures
//   9. measuring and drawing text
//  10. objects and outfits in a box
//  11. inspection
#include "graphics/graphics.h"

#include "config/Script.h"
#include "core/Assert.h"
#include "core/DataFolders.h"
#include "core/ProgramError.h"
#include "core/Utils.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// ==== 1. Module state ==============================================================

namespace {

const char* const SPRITE_FILE = "Vorna.spr";
const char* const PICTURE_FILE = "Vorna.pic";

struct SpriteEntry {
    uint32_t Offset = 0;  // 0: an empty sprite
    RGBColour Key;        // known once decoded
};

struct PictureEntry {
    int TilesX = 0, TilesY = 0;
    RGBColour Key;
    std::vector<uint32_t> Offsets;  // tile (x, y) at x + y * TilesX
};

struct Font {
    int PictureNumber, CharsPerLine, CharWidth, CharHeight, Spacing, LineHeight;
    uint8_t Width[GLYPHS], Height[GLYPHS];
    int MaxHeight;
};

// Fixed font layouts; glyph sizes are measured from the pictures.
const Font FontLayouts[NumberOfFonts] = {
    {3, 32, 8, 16, 1, 12, {}, {}, 0},
    {5, 32, 16, 16, -1, 15, {}, {}, 0},
    {6, 32, 8, 8, 0, 10, {}, {}, 0},
    {8, 32, 8, 16, 1, 14, {}, {}, 0},
};

// Recency list and hash chains over a cache's entries.
struct Links {
    std::vector<int> Previous, Next, HashPrevious, HashNext, HashValue;
    int Head = -1, Tail = -1;
    int Bucket[HASH_TABLE_SIZE];
};

struct MemoryItem {
    int Type = EMPTY_ITEM;
    int Number = 0, TileX = 0, TileY = 0;  // sprite number; or picture number and tile
};

struct VideoItem {
    int Surface = 0, X = 0, Y = 0;  // the slot, fixed
    int Type = EMPTY_ITEM;
    int Number = 0, Mask = 0, TileX = 0, TileY = 0;
    // Whether the colours apply: a masked sprite, or a coloured tile. Kept
    // apart from the colours so that black text is not taken for uncoloured.
    bool Coloured = false;
    ColourSet Colours;
};

bool Initialized = false;
AnimationClockSource AnimationClock = NULL;
int DecodeCount = 0;

// The files.
std::string SpriteFileName, PictureFileName;
uint32_t SpriteSignature = 0, PictureSignature = 0;
int NumberOfSprites = 0, NumberOfPictures = 0;
std::vector<SpriteEntry> Sprites;    // index 1..NumberOfSprites
std::vector<PictureEntry> Pictures;  // index 1..NumberOfPictures

// Memory cache.
int MemoryCacheSize = 0;
std::vector<MemoryItem> MemoryItems;
std::vector<uint8_t> MemoryPixels;  // one block for all entries
Links MemoryLinks;

// Video cache.
int VideoCacheSize = 0;
int VideoGeneration = -1;  // surface generation the slots belong to
std::vector<VideoItem> VideoItems;
Links VideoLinks;

Font Fonts[NumberOfFonts];

}  // namespace

// ==== 2. The image files ==============================================================

namespace {

void LoadSpriteFile(const char* FileName) {
    ASSERT(FileName!=NULL);
    ReadBinaryFile File;
    try {
        File.open(FileName);
        SpriteSignature = File.readQuad();
        int Count = File.readWord();
        std::vector<SpriteEntry> Table(static_cast<size_t>(Count) + 1);
        for (int i = 1; i <= Count; ++i) Table[i].Offset = File.readQuad();
        File.close();
        Sprites = std::move(Table);
        NumberOfSprites = Count;
        SpriteFileName = FileName;
    } catch (const ScriptError&) {
        throw PROGRAM_ERROR(2);
    }
}

void LoadPictureFile(const char* FileName) {
    ASSERT(FileName!=NULL);
    ReadBinaryFile File;
    try {
        File.open(FileName);
        PictureSignature = File.readQuad();
        int Count = File.readWord();
        std::vector<PictureEntry> Table(static_cast<size_t>(Count) + 1);
        for (int i = 1; i <= Count; ++i) {
            PictureEntry& P = Table[i];
            P.TilesX = File.readByte();
            P.TilesY = File.readByte();
            P.Key.Red = File.readByte();
            P.Key.Green = File.readByte();
            P.Key.Blue = File.readByte();
            P.Offsets.resize(static_cast<size_t>(P.TilesX) * P.TilesY);
            for (uint32_t& Offset : P.Offsets) Offset = File.readQuad();
        }
        File.close();
        Pictures = std::move(Table);
        NumberOfPictures = Count;
        PictureFileName = FileName;
    } catch (const ScriptError&) {
        throw PROGRAM_ERROR(3);
    }
}

// Run-length pixel data into a 32 x 32 image that starts as all key. Pixels
// that a broken file would place beyond the image are read and dropped.
void DecodePixels(ReadBinaryFile& File, uint8_t* Buffer, const RGBColour& Key) {
    ASSERT(Buffer!=NULL);
    if (Buffer == NULL) return;
    uint8_t* Image = Buffer;
    for (int i = 0; i < IMAGE_SIZE * IMAGE_SIZE; ++i) {
        Image[3 * i] = Key.Red;
        Image[3 * i + 1] = Key.Green;
        Image[3 * i + 2] = Key.Blue;
    }
    uint8_t Discard[3 * 256];
    int Size = File.readWord();
    int Consumed = 0, Position = 0;
    while (Consumed < Size) {
        Position += File.readWord();
        int Coloured = File.readWord();
        Consumed += 4 + 3 * Coloured;
        int Inside = std::clamp(IMAGE_SIZE * IMAGE_SIZE - Position, 0, Coloured);
        if (Inside > 0) File.readBytes(Image + 3 * Position, static_cast<size_t>(Inside) * 3);
        for (int Rest = Coloured - Inside; Rest > 0;) {
            int Chunk = std::min(Rest, 256);
            File.readBytes(Discard, static_cast<size_t>(Chunk) * 3);
            Rest -= Chunk;
        }
        Position += Coloured;
    }
}

void DecodeSprite(int SpriteNumber, uint8_t* Image) {
    SpriteEntry& Entry = Sprites[SpriteNumber];
    if (Entry.Offset == 0) {
        Entry.Key = RGBColour();
        std::memset(Image, 0, IMAGE_BYTES);
        return;
    }
    ReadBinaryFile File;
    try {
        File.open(SpriteFileName.c_str());
        File.seek(static_cast<long>(Entry.Offset));
        Entry.Key.Red = File.readByte();
        Entry.Key.Green = File.readByte();
        Entry.Key.Blue = File.readByte();
        DecodePixels(File, Image, Entry.Key);
        File.close();
    } catch (const ScriptError&) {
        throw PROGRAM_ERROR(4);
    }
    ++DecodeCount;
}

void DecodeTile(int PictureNumber, int TileX, int TileY, uint8_t* Image) {
    const PictureEntry& Picture = Pictures[PictureNumber];
    ReadBinaryFile File;
    try {
        File.open(PictureFileName.c_str());
        File.seek(static_cast<long>(Picture.Offsets[static_cast<size_t>(TileX) + static_cast<size_t>(TileY) * Picture.TilesX]));
        DecodePixels(File, Image, Picture.Key);
        File.close();
    } catch (const ScriptError&) {
        throw PROGRAM_ERROR(5);
    }
    ++DecodeCount;
}

}  // namespace

// ==== 3. Recency lists and hash chains ===================================================

namespace {

void ResetLinks(Links& L, int Count) {
    L.Previous.resize(Count);
    L.Next.resize(Count);
    L.HashPrevious.assign(Count, -1);
    L.HashNext.assign(Count, -1);
    L.HashValue.assign(Count, -1);
    // All entries in index order: entry 0 at the head, the last at the tail.
    for (int i = 0; i < Count; ++i) {
        L.Previous[i] = i - 1;
        L.Next[i] = i + 1 < Count ? i + 1 : -1;
    }
    L.Head = Count > 0 ? 0 : -1;
    L.Tail = Count - 1;
    std::fill(std::begin(L.Bucket), std::end(L.Bucket), -1);
}

void MoveToHead(Links& L, int Position) {
    if (L.Head == Position) return;
    int P = L.Previous[Position], N = L.Next[Position];
    if (P >= 0) L.Next[P] = N;
    if (N >= 0) L.Previous[N] = P;
    if (L.Tail == Position) L.Tail = P;
    L.Previous[Position] = -1;
    L.Next[Position] = L.Head;
    if (L.Head >= 0) L.Previous[L.Head] = Position;
    L.Head = Position;
    if (L.Tail < 0) L.Tail = Position;
}

void HashUnlink(Links& L, int Position) {
    int HashValue = L.HashValue[Position];
    ASSERT(In(HashValue,0,HASH_TABLE_SIZE-1));
    if (!In(HashValue, 0, HASH_TABLE_SIZE - 1)) return;
    int P = L.HashPrevious[Position], N = L.HashNext[Position];
    if (P >= 0) L.HashNext[P] = N;
    else L.Bucket[HashValue] = N;
    if (N >= 0) L.HashPrevious[N] = P;
    L.HashPrevious[Position] = L.HashNext[Position] = L.HashValue[Position] = -1;
}

void HashInsert(Links& L, int Position, int HashValue) {
    ASSERT(In(HashValue,0,HASH_TABLE_SIZE-1));
    if (!In(HashValue, 0, HASH_TABLE_SIZE - 1)) return;
    L.HashValue[Position] = HashValue;
    L.HashPrevious[Position] = -1;
    L.HashNext[Position] = L.Bucket[HashValue];
    if (L.Bucket[HashValue] >= 0) L.HashPrevious[L.Bucket[HashValue]] = Position;
    L.Bucket[HashValue] = Position;
}

int SpriteHash(int SpriteNumber, int MaskNumber) { return (SpriteNumber + MaskNumber) % HASH_TABLE_SIZE; }
int TileHash(int PictureNumber, int TileX, int TileY) { return (PictureNumber + TileX + TileY) % HASH_TABLE_SIZE; }

}  // namespace

// ==== 4. Memory cache ======================================================================

namespace {

void CreateMemoryCache(int Bytes) {
    MemoryCacheSize = Bytes / IMAGE_BYTES;
    ASSERT(MemoryCacheSize>=2);
    MemoryCacheSize = std::max(MemoryCacheSize, 2);
    MemoryItems.assign(MemoryCacheSize, MemoryItem());
    MemoryPixels.assign(static_cast<size_t>(MemoryCacheSize) * IMAGE_BYTES, 0);
    ResetLinks(MemoryLinks, MemoryCacheSize);
}

void ClearMemoryCache() {
    for (MemoryItem& Item : MemoryItems) Item.Type = EMPTY_ITEM;
    ResetLinks(MemoryLinks, MemoryCacheSize);
}

uint8_t* MemoryImage(int Position) {
    ASSERT(In(Position,0,MemoryCacheSize-1));
    return &MemoryPixels[static_cast<size_t>(Position) * IMAGE_BYTES];
}

// Takes the least recently used entry out of its chain for new contents.
int TakeMemoryTail() {
    int Position = MemoryLinks.Tail;
    ASSERT(In(Position,0,MemoryCacheSize-1));
    MemoryItem& Item = MemoryItems[Position];
    if (Item.Type != EMPTY_ITEM) HashUnlink(MemoryLinks, Position);
    Item.Type = EMPTY_ITEM;
    return Position;
}

int FindMemory(int Type, int Number, int TileX, int TileY) {
    int HashValue = Type == SPRITE_ITEM ? SpriteHash(Number, 0) : TileHash(Number, TileX, TileY);
    for (int Position = MemoryLinks.Bucket[HashValue]; Position >= 0; Position = MemoryLinks.HashNext[Position]) {
        const MemoryItem& Item = MemoryItems[Position];
        if (Item.Type == Type && Item.Number == Number && Item.TileX == TileX && Item.TileY == TileY) return Position;
    }
    return -1;
}

// Both return -1 for a number out of range (after reporting it).
int GetMemorySprite(int SpriteNumber) {
    ASSERT(In(SpriteNumber,1,NumberOfSprites));
    if (!In(SpriteNumber, 1, NumberOfSprites)) return -1;
    int Position = FindMemory(SPRITE_ITEM, SpriteNumber, 0, 0);
    if (Position < 0) {
        Position = TakeMemoryTail();
        DecodeSprite(SpriteNumber, MemoryImage(Position));
        MemoryItems[Position] = {SPRITE_ITEM, SpriteNumber, 0, 0};
        HashInsert(MemoryLinks, Position, SpriteHash(SpriteNumber, 0));
    }
    const MemoryItem& Item = MemoryItems[Position];
    ASSERT(Item.Type!=EMPTY_ITEM);
    MoveToHead(MemoryLinks, Position);
    return Position;
}

int GetMemoryTile(int PictureNumber, int TileX, int TileY) {
    ASSERT(In(PictureNumber,1,NumberOfPictures));
    if (!In(PictureNumber, 1, NumberOfPictures)) return -1;
    const PictureEntry& Picture = Pictures[PictureNumber];
    ASSERT(In(TileX,0,Picture.TilesX-1));
    ASSERT(In(TileY,0,Picture.TilesY-1));
    if (!In(TileX, 0, Picture.TilesX - 1) || !In(TileY, 0, Picture.TilesY - 1)) return -1;
    int Position = FindMemory(TILE_ITEM, PictureNumber, TileX, TileY);
    if (Position < 0) {
        Position = TakeMemoryTail();
        DecodeTile(PictureNumber, TileX, TileY, MemoryImage(Position));
        MemoryItems[Position] = {TILE_ITEM, PictureNumber, TileX, TileY};
        HashInsert(MemoryLinks, Position, TileHash(PictureNumber, TileX, TileY));
    }
    const MemoryItem& Item = MemoryItems[Position];
    ASSERT(Item.Type!=EMPTY_ITEM);
    MoveToHead(MemoryLinks, Position);
    return Position;
}

}  // namespace

// ==== 5. Video cache ===========================================================================

namespace {

void CreateVideoCache() {
    VideoCacheSize = GetNumberOfSpriteSurfaces() * SLOTS_PER_SURFACE;
    VideoGeneration = GetSurfaceGeneration();
    VideoItems.assign(VideoCacheSize, VideoItem());
    for (int i = 0; i < VideoCacheSize; ++i) {
        VideoItem& Item = VideoItems[i];
        Item.Surface = SPRITE_SURFACE + i / SLOTS_PER_SURFACE;
        Item.X = (i % SLOTS_PER_SURFACE) % 10 * IMAGE_SIZE;
        Item.Y = (i % SLOTS_PER_SURFACE) / 10 * IMAGE_SIZE;
    }
    ResetLinks(VideoLinks, VideoCacheSize);
}

void ClearVideoCache() {
    for (VideoItem& Item : VideoItems) Item.Type = EMPTY_ITEM;
    ResetLinks(VideoLinks, VideoCacheSize);
}

// False while there are no sprite surfaces to put images on.
bool VideoCacheReady() {
    if (!Initialized) return false;
    if (VideoGeneration != GetSurfaceGeneration() || VideoCacheSize != GetNumberOfSpriteSurfaces() * SLOTS_PER_SURFACE)
        RebuildVideoCache();
    return VideoCacheSize > 0;
}

struct VideoKey {
    int Type, Number, Mask, TileX, TileY;
    bool Coloured;
    ColourSet Colours;
};

bool Matches(const VideoItem& Item, const VideoKey& Key) {
    return Item.Type == Key.Type && Item.Number == Key.Number && Item.Mask == Key.Mask && Item.TileX == Key.TileX &&
           Item.TileY == Key.TileY && Item.Coloured == Key.Coloured && (!Key.Coloured || Item.Colours == Key.Colours);
}

void FillSlot(const VideoItem& Slot, const VideoKey& Key) {
    if (Key.Type == SPRITE_ITEM) {
        int Sprite = GetMemorySprite(Key.Number);
        if (Sprite < 0) return;
        if (Key.Mask == 0) {
            UploadImage(Slot.Surface, Slot.X, Slot.Y, IMAGE_SIZE, IMAGE_SIZE, MemoryImage(Sprite));
            return;
        }
        // The sprite is at the head of the recency list now, so fetching the
        // mask cannot evict it.
        int Mask = GetMemorySprite(Key.Mask);
        if (Mask < 0) return;
        UploadComposedImage(Slot.Surface, Slot.X, Slot.Y, IMAGE_SIZE, IMAGE_SIZE, MemoryImage(Sprite),
                            MemoryImage(Mask), Key.Colours, Sprites[Key.Number].Key);
        return;
    }
    int Tile = GetMemoryTile(Key.Number, Key.TileX, Key.TileY);
    if (Tile < 0) return;
    if (!Key.Coloured) {
        UploadImage(Slot.Surface, Slot.X, Slot.Y, IMAGE_SIZE, IMAGE_SIZE, MemoryImage(Tile));
        return;
    }
    UploadComposedImage(Slot.Surface, Slot.X, Slot.Y, IMAGE_SIZE, IMAGE_SIZE, MemoryImage(Tile), NULL, Key.Colours,
                        Pictures[Key.Number].Key);
}

// The slot holding the image; -1 when there are no sprite surfaces.
int GetVideoEntry(const VideoKey& Key) {
    if (!VideoCacheReady()) return -1;
    int HashValue = Key.Type == SPRITE_ITEM ? SpriteHash(Key.Number, Key.Mask) : TileHash(Key.Number, Key.TileX, Key.TileY);
    int Position = VideoLinks.Bucket[HashValue];
    while (Position >= 0 && !Matches(VideoItems[Position], Key)) Position = VideoLinks.HashNext[Position];
    if (Position < 0) {
        Position = VideoLinks.Tail;
        ASSERT(In(Position,0,VideoCacheSize-1));
        VideoItem& Item = VideoItems[Position];
        if (Item.Type != EMPTY_ITEM) HashUnlink(VideoLinks, Position);
        Item.Type = EMPTY_ITEM;
        FillSlot(Item, Key);
        Item.Type = Key.Type;
        Item.Number = Key.Number;
        Item.Mask = Key.Mask;
        Item.TileX = Key.TileX;
        Item.TileY = Key.TileY;
        Item.Coloured = Key.Coloured;
        Item.Colours = Key.Coloured ? Key.Colours : ColourSet();
        HashInsert(VideoLinks, Position, HashValue);
    }
    const VideoItem& Item = VideoItems[Position];
    ASSERT(Item.Type!=EMPTY_ITEM);
    MoveToHead(VideoLinks, Position);
    return Position;
}

int GetVideoSprite(int SpriteNumber, int MaskNumber, const ColourSet* Colours) {
    ASSERT(In(SpriteNumber,1,NumberOfSprites));
    if (MaskNumber != 0) ASSERT(In(MaskNumber,1,NumberOfSprites));
    if (!In(SpriteNumber, 1, NumberOfSprites) || !In(MaskNumber, 0, NumberOfSprites)) return -1;
    VideoKey Key{SPRITE_ITEM, SpriteNumber, MaskNumber, 0, 0, MaskNumber != 0 && Colours != NULL, ColourSet()};
    if (Key.Coloured) Key.Colours = *Colours;
    else Key.Mask = 0;
    return GetVideoEntry(Key);
}

int GetVideoTile(int PictureNumber, int TileX, int TileY, const RGBColour* TextColour) {
    ASSERT(In(PictureNumber,1,NumberOfPictures));
    if (!In(PictureNumber, 1, NumberOfPictures)) return -1;
    const PictureEntry& Picture = Pictures[PictureNumber];
    ASSERT(In(TileX,0,Picture.TilesX-1));
    ASSERT(In(TileY,0,Picture.TilesY-1));
    if (!In(TileX, 0, Picture.TilesX - 1) || !In(TileY, 0, Picture.TilesY - 1)) return -1;
    VideoKey Key{TILE_ITEM, PictureNumber, 0, TileX, TileY, TextColour != NULL, ColourSet()};
    if (TextColour) {
        Key.Colours.Colour[0] = *TextColour;
        Key.Colours.Colour[1] = Picture.Key;
    }
    return GetVideoEntry(Key);
}

}  // namespace

// ==== 6. Fonts ================================================================================

namespace {

// Whether the font's picture holds all its glyph cells. A picture file without
// them (damaged, or made for another program) cannot give the program its
// texts, and that is the picture file's error, not a broken precondition.
bool FontFitsPicture(const Font& F) {
    if (!In(F.PictureNumber, 1, NumberOfPictures)) return false;
    const PictureEntry& Picture = Pictures[F.PictureNumber];
    int Columns = std::min(GLYPHS, F.CharsPerLine), Rows = (GLYPHS + F.CharsPerLine - 1) / F.CharsPerLine;
    return Picture.TilesX * IMAGE_SIZE >= Columns * F.CharWidth && Picture.TilesY * IMAGE_SIZE >= Rows * F.CharHeight;
}

void BuildFonts() {
    for (int f = 0; f < NumberOfFonts; ++f) {
        Font& F = Fonts[f];
        F = FontLayouts[f];
        int CharsPerLine = F.CharsPerLine, CharWidth = F.CharWidth, CharHeight = F.CharHeight;
        ASSERT(CharsPerLine>0);
        ASSERT(CharWidth>0 && CharHeight>0);
        if (!FontFitsPicture(F)) throw PROGRAM_ERROR(ERROR_PICTURE_FILE);
        int PictureNumber = F.PictureNumber;
        const RGBColour Key = Pictures[PictureNumber].Key;
        F.MaxHeight = 0;
        for (int g = 0; g < GLYPHS; ++g) {
            int CellX = (g % CharsPerLine) * CharWidth, CellY = (g / CharsPerLine) * CharHeight;
            int Tile = GetMemoryTile(PictureNumber, CellX / IMAGE_SIZE, CellY / IMAGE_SIZE);
            if (Tile < 0) continue;
            const uint8_t* Image = MemoryImage(Tile);
            int OffsetX = CellX % IMAGE_SIZE, OffsetY = CellY % IMAGE_SIZE;
            auto Opaque = [&](int x, int y) {
                const uint8_t* P = Image + 3 * ((OffsetY + y) * IMAGE_SIZE + OffsetX + x);
                return P[0] != Key.Red || P[1] != Key.Green || P[2] != Key.Blue;
            };
            int Width = CharWidth, Height = 1;
            for (int x = CharWidth - 1; x >= 0; --x) {
                bool Found = false;
                for (int y = 0; y < CharHeight && !Found; ++y) Found = Opaque(x, y);
                if (Found) {
                    Width = x + 1;
                    break;
                }
            }
            for (int y = CharHeight - 1; y >= 0; --y) {
                bool Found = false;
                for (int x = 0; x < CharWidth && !Found; ++x) Found = Opaque(x, y);
                if (Found) {
                    Height = y + 1;
                    break;
                }
            }
            F.Width[g] = static_cast<uint8_t>(Width);
            F.Height[g] = static_cast<uint8_t>(Height);
            F.MaxHeight = std::max(F.MaxHeight, Height);
        }
    }
}

const Font* GetFont(int FontNumber) {
    ASSERT(In(FontNumber,1,NumberOfFonts));
    if (!In(FontNumber, 1, NumberOfFonts)) return NULL;
    return &Fonts[FontNumber - 1];
}

// Blank and line feed advance by the comma's width; other control codes
// show glyph 95.
constexpr int BLANK_GLYPH = 12;
constexpr int CONTROL_GLYPH = 95;

inline bool IsBlank(unsigned char Code) { return Code == 32 || Code == 10; }
inline int GlyphOf(unsigned char Code) { return Code >= 33 ? Code - 32 : CONTROL_GLYPH; }
inline int Advance(const Font& F, unsigned char Code) {
    return IsBlank(Code) ? F.Width[BLANK_GLYPH] : F.Width[GlyphOf(Code)];
}

}  // namespace

// ==== 7. Start-up, reloading, release ============================================================

void InitGraphics(int MemoryCacheBytes) {
    ASSERT(!Initialized);
    DecodeCount = 0;
    try {
        LoadSpriteFile(DataFilePath(SPRITE_FILE).c_str());
        LoadPictureFile(DataFilePath(PICTURE_FILE).c_str());
        CreateMemoryCache(MemoryCacheBytes);
        CreateVideoCache();
        Initialized = true;
        BuildFonts();
    } catch (...) {
        ExitGraphics();
        throw;
    }
}

void ExitGraphics() {
    Initialized = false;
    Sprites = std::vector<SpriteEntry>();
    Pictures = std::vector<PictureEntry>();
    NumberOfSprites = NumberOfPictures = 0;
    SpriteSignature = PictureSignature = 0;
    MemoryItems = std::vector<MemoryItem>();
    MemoryPixels = std::vector<uint8_t>();
    MemoryCacheSize = 0;
    VideoItems = std::vector<VideoItem>();
    VideoCacheSize = 0;
    VideoGeneration = -1;
    ResetLinks(MemoryLinks, 0);
    ResetLinks(VideoLinks, 0);
    for (Font& F : Fonts) F = Font();
}

bool IsGraphicsInitialized() { return Initialized; }

void ReloadSprites() {
    ASSERT(Initialized);
    ClearVideoCache();
    ClearMemoryCache();
    Sprites = std::vector<SpriteEntry>();
    NumberOfSprites = 0;
    LoadSpriteFile(DataFilePath(SPRITE_FILE).c_str());
}

void ReloadPictures() {
    ASSERT(Initialized);
    ClearVideoCache();
    ClearMemoryCache();
    for (Font& F : Fonts) F = Font();
    Pictures = std::vector<PictureEntry>();
    NumberOfPictures = 0;
    LoadPictureFile(DataFilePath(PICTURE_FILE).c_str());
    BuildFonts();
}

void RebuildVideoCache() {
    ClearVideoCache();
    VideoItems = std::vector<VideoItem>();
    CreateVideoCache();
}

uint32_t GetSpriteSignature() { return SpriteSignature; }
uint32_t GetPictureSignature() { return PictureSignature; }
int GetNumberOfSprites() { return NumberOfSprites; }
int GetNumberOfPictures() { return NumberOfPictures; }

void GetPictureSize(int PictureNumber, int* TilesX, int* TilesY) {
    ASSERT(In(PictureNumber,1,NumberOfPictures));
    bool Known = In(PictureNumber, 1, NumberOfPictures);
    if (TilesX) *TilesX = Known ? Pictures[PictureNumber].TilesX : 0;
    if (TilesY) *TilesY = Known ? Pictures[PictureNumber].TilesY : 0;
}

void SetAnimationClockSource(AnimationClockSource Source) { AnimationClock = Source; }
uint32_t GetAnimationClock() { return AnimationClock ? AnimationClock() : 0; }

// ==== 8. Drawing sprites and pictures ================================================================

namespace {

void DrawSpriteSlot(int Surface, int X, int Y, int SpriteNumber, int MaskNumber, const ColourSet* Colours,
                    const ClipRect* Clip) {
    if (SpriteNumber == 0) return;
    int Position = GetVideoSprite(SpriteNumber, MaskNumber, Colours);
    if (Position < 0) return;
    const VideoItem& Slot = VideoItems[Position];
    const RGBColour& Key = Sprites[SpriteNumber].Key;
    if (Clip)
        CopySurfaceKeyedClipped(Surface, X, Y, Slot.Surface, Slot.X, Slot.Y, IMAGE_SIZE, IMAGE_SIZE, Key.Red, Key.Green,
                                Key.Blue, *Clip);
    else
        CopySurfaceKeyed(Surface, X, Y, Slot.Surface, Slot.X, Slot.Y, IMAGE_SIZE, IMAGE_SIZE, Key.Red, Key.Green,
                         Key.Blue);
}

void DrawScaledSlot(int Surface, int X, int Y, int Width, int Height, int SpriteNumber, int MaskNumber,
                    const ColourSet* Colours, const ClipRect& Clip) {
    if (SpriteNumber == 0) return;
    int Position = GetVideoSprite(SpriteNumber, MaskNumber, Colours);
    if (Position < 0) return;
    const VideoItem& Slot = VideoItems[Position];
    const RGBColour& Key = Sprites[SpriteNumber].Key;
    CopySurfaceScaledKeyed(Surface, X, Y, Width, Height, Slot.Surface, Slot.X, Slot.Y, IMAGE_SIZE, IMAGE_SIZE, Key,
                           Key, Clip);
}

void DrawPictureArea(int Surface, int X, int Y, int PictureNumber, int SourceX, int SourceY, int Width, int Height,
                     const ClipRect* Clip) {
    ASSERT(Width>0 && Height>0);
    ASSERT(In(PictureNumber,1,NumberOfPictures));
    if (Width <= 0 || Height <= 0 || !In(PictureNumber, 1, NumberOfPictures)) return;
    const PictureEntry& Picture = Pictures[PictureNumber];
    int FirstX = std::max(SourceX, 0) / IMAGE_SIZE, FirstY = std::max(SourceY, 0) / IMAGE_SIZE;
    int LastX = std::min((SourceX + Width - 1) / IMAGE_SIZE, Picture.TilesX - 1);
    int LastY = std::min((SourceY + Height - 1) / IMAGE_SIZE, Picture.TilesY - 1);
    for (int TileY = FirstY; TileY <= LastY; ++TileY) {
        for (int TileX = FirstX; TileX <= LastX; ++TileX) {
            int Left = std::max(SourceX, TileX * IMAGE_SIZE), Top = std::max(SourceY, TileY * IMAGE_SIZE);
            int Right = std::min(SourceX + Width, (TileX + 1) * IMAGE_SIZE);
            int Bottom = std::min(SourceY + Height, (TileY + 1) * IMAGE_SIZE);
            if (Left >= Right || Top >= Bottom) continue;
            int Position = GetVideoTile(PictureNumber, TileX, TileY, NULL);
            if (Position < 0) return;
            const VideoItem& Slot = VideoItems[Position];
            int FromX = Slot.X + Left - TileX * IMAGE_SIZE, FromY = Slot.Y + Top - TileY * IMAGE_SIZE;
            int ToX = X + Left - SourceX, ToY = Y + Top - SourceY;
            const RGBColour& Key = Picture.Key;
            if (Clip)
                CopySurfaceKeyedClipped(Surface, ToX, ToY, Slot.Surface, FromX, FromY, Right - Left, Bottom - Top,
                                        Key.Red, Key.Green, Key.Blue, *Clip);
            else
                CopySurfaceKeyed(Surface, ToX, ToY, Slot.Surface, FromX, FromY, Right - Left, Bottom - Top, Key.Red,
                                 Key.Green, Key.Blue);
        }
    }
}

}  // namespace

void DrawSprite(int Surface, int X, int Y, int SpriteNumber) {
    DrawSpriteSlot(Surface, X, Y, SpriteNumber, 0, NULL, NULL);
}

void DrawSpriteClipped(int Surface, int X, int Y, int SpriteNumber, const ClipRect& Clip) {
    DrawSpriteSlot(Surface, X, Y, SpriteNumber, 0, NULL, &Clip);
}

void DrawMaskedSprite(int Surface, int X, int Y, int SpriteNumber, int MaskNumber, const ColourSet& Colours) {
    DrawSpriteSlot(Surface, X, Y, SpriteNumber, MaskNumber, &Colours, NULL);
}

void DrawMaskedSpriteClipped(int Surface, int X, int Y, int SpriteNumber, int MaskNumber, const ColourSet& Colours,
                             const ClipRect& Clip) {
    DrawSpriteSlot(Surface, X, Y, SpriteNumber, MaskNumber, &Colours, &Clip);
}

void DrawSpriteScaled(int Surface, int X, int Y, int Width, int Height, int SpriteNumber, const ClipRect& Clip) {
    DrawScaledSlot(Surface, X, Y, Width, Height, SpriteNumber, 0, NULL, Clip);
}

void DrawMaskedSpriteScaled(int Surface, int X, int Y, int Width, int Height, int SpriteNumber, int MaskNumber,
                            const ColourSet& Colours, const ClipRect& Clip) {
    DrawScaledSlot(Surface, X, Y, Width, Height, SpriteNumber, MaskNumber, &Colours, Clip);
}

void DrawPicture(int Surface, int X, int Y, int PictureNumber) {
    ASSERT(In(PictureNumber,1,NumberOfPictures));
    if (!In(PictureNumber, 1, NumberOfPictures)) return;
    const PictureEntry& Picture = Pictures[PictureNumber];
    if (Picture.TilesX == 0 || Picture.TilesY == 0) return;
    DrawPictureArea(Surface, X, Y, PictureNumber, 0, 0, Picture.TilesX * IMAGE_SIZE, Picture.TilesY * IMAGE_SIZE,
                    NULL);
}

void DrawPicturePart(int Surface, int X, int Y, int PictureNumber, int SourceX, int SourceY, int Width,
                     int Height) {
    DrawPictureArea(Surface, X, Y, PictureNumber, SourceX, SourceY, Width, Height, NULL);
}

void DrawPicturePartClipped(int Surface, int X, int Y, int PictureNumber, int SourceX, int SourceY, int Width,
                            int Height, const ClipRect& Clip) {
    DrawPictureArea(Surface, X, Y, PictureNumber, SourceX, SourceY, Width, Height, &Clip);
}

// ==== 9. Measuring and drawing text ====================================================================

namespace {

void DrawTextRun(int Surface, int X, int Y, int FontNumber, int Red, int Green, int Blue, const char* Text,
                 int Length, int Alignment, const ClipRect* Clip) {
    ASSERT(Text!=NULL);
    ASSERT(Alignment==LEFT_ALIGN || Alignment==CENTER_ALIGN || Alignment==RIGHT_ALIGN);
    const Font* F = GetFont(FontNumber);
    if (Text == NULL || F == NULL || Length <= 0) return;
    if (Alignment == CENTER_ALIGN) X -= GetTextWidth(FontNumber, Text, Length) / 2;
    else if (Alignment == RIGHT_ALIGN) X -= GetTextWidth(FontNumber, Text, Length);
    const PictureEntry& Picture = Pictures[F->PictureNumber];
    const RGBColour TextColour{static_cast<uint8_t>(Red), static_cast<uint8_t>(Green), static_cast<uint8_t>(Blue)};
    const RGBColour& Key = Picture.Key;
    for (int i = 0; i < Length; ++i) {
        unsigned char Code = static_cast<unsigned char>(Text[i]);
        if (IsBlank(Code)) {
            X += F->Width[BLANK_GLYPH] + F->Spacing;
            continue;
        }
        int Glyph = GlyphOf(Code);
        int CellX = (Glyph % F->CharsPerLine) * F->CharWidth, CellY = (Glyph / F->CharsPerLine) * F->CharHeight;
        int Position = GetVideoTile(F->PictureNumber, CellX / IMAGE_SIZE, CellY / IMAGE_SIZE, &TextColour);
        if (Position < 0) return;
        const VideoItem& Slot = VideoItems[Position];
        int FromX = Slot.X + CellX % IMAGE_SIZE, FromY = Slot.Y + CellY % IMAGE_SIZE;
        if (Clip)
            CopySurfaceKeyedClipped(Surface, X, Y, Slot.Surface, FromX, FromY, F->CharWidth, F->CharHeight, Key.Red,
                                    Key.Green, Key.Blue, *Clip);
        else
            CopySurfaceKeyed(Surface, X, Y, Slot.Surface, FromX, FromY, F->CharWidth, F->CharHeight, Key.Red,
                             Key.Green, Key.Blue);
        X += F->Spacing + F->Width[Glyph];
    }
}

}  // namespace

void DrawText(int Surface, int X, int Y, int FontNumber, int Red, int Green, int Blue, const char* Text, int Length,
              int Alignment) {
    DrawTextRun(Surface, X, Y, FontNumber, Red, Green, Blue, Text, Length, Alignment, NULL);
}

void DrawText(int Surface, int X, int Y, int FontNumber, int Red, int Green, int Blue, const char* Text,
              int Alignment) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return;
    DrawTextRun(Surface, X, Y, FontNumber, Red, Green, Blue, Text, static_cast<int>(strlen(Text)), Alignment, NULL);
}

void DrawTextClipped(int Surface, int X, int Y, int FontNumber, int Red, int Green, int Blue, const char* Text,
                     int Length, int Alignment, const ClipRect& Clip) {
    DrawTextRun(Surface, X, Y, FontNumber, Red, Green, Blue, Text, Length, Alignment, &Clip);
}

void DrawTextClipped(int Surface, int X, int Y, int FontNumber, int Red, int Green, int Blue, const char* Text,
                     int Alignment, const ClipRect& Clip) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return;
    DrawTextRun(Surface, X, Y, FontNumber, Red, Green, Blue, Text, static_cast<int>(strlen(Text)), Alignment, &Clip);
}

int GetTextWidth(int FontNumber, const char* Text, int Length) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return 0;
    ASSERT(Length<=(int)strlen(Text));
    const Font* F = GetFont(FontNumber);
    if (F == NULL || Length <= 0) return 0;
    Length = std::min(Length, static_cast<int>(strlen(Text)));
    int Width = 0;
    for (int i = 0; i < Length; ++i) Width += Advance(*F, static_cast<unsigned char>(Text[i])) + F->Spacing;
    return Length > 0 ? Width - F->Spacing : 0;
}

int GetTextWidth(int FontNumber, const char* Text) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return 0;
    return GetTextWidth(FontNumber, Text, static_cast<int>(strlen(Text)));
}

int GetFittingCharacters(int FontNumber, const char* Text, int Width) {
    ASSERT(Text!=NULL);
    const Font* F = GetFont(FontNumber);
    if (Text == NULL || F == NULL) return 0;
    int Length = static_cast<int>(strlen(Text));
    int Sum = -F->Spacing;
    for (int i = 0; i < Length; ++i) {
        Sum += F->Spacing + Advance(*F, static_cast<unsigned char>(Text[i]));
        if (Sum > Width) return i;
    }
    return Length;
}

int GetTextHeight(int FontNumber, const char* Text) {
    ASSERT(Text!=NULL);
    const Font* F = GetFont(FontNumber);
    if (Text == NULL || F == NULL) return 0;
    int Height = 0;
    for (const char* P = Text; *P; ++P) {
        unsigned char Code = static_cast<unsigned char>(*P);
        if (!IsBlank(Code)) Height = std::max(Height, static_cast<int>(F->Height[GlyphOf(Code)]));
    }
    return Height;
}

int GetFontLineHeight(int FontNumber) {
    const Font* F = GetFont(FontNumber);
    return F ? F->LineHeight : 0;
}

int GetFontHeight(int FontNumber) {
    const Font* F = GetFont(FontNumber);
    return F ? F->MaxHeight : 0;
}

int GetFontSpacing(int FontNumber) {
    const Font* F = GetFont(FontNumber);
    return F ? F->Spacing : 0;
}

int GetGlyphWidth(int FontNumber, int Glyph) {
    const Font* F = GetFont(FontNumber);
    return F && In(Glyph, 0, GLYPHS - 1) ? F->Width[Glyph] : 0;
}

int GetGlyphHeight(int FontNumber, int Glyph) {
    const Font* F = GetFont(FontNumber);
    return F && In(Glyph, 0, GLYPHS - 1) ? F->Height[Glyph] : 0;
}

void GetAlignedPosition(int X, int Y, int Width, int Height, int FontNumber, int Alignment, int* TextX, int* TextY) {
    ASSERT(Alignment==LEFT_ALIGN || Alignment==CENTER_ALIGN || Alignment==RIGHT_ALIGN);
    int Shift = Alignment == CENTER_ALIGN ? Width / 2 : Alignment == RIGHT_ALIGN ? Width : 0;
    if (TextX) *TextX = X + Shift;
    if (TextY) *TextY = Y + (Height - GetFontHeight(FontNumber)) / 2;
}

// ==== 10. Objects and outfits in a box ===================================================================

void DrawObjectInBox(int Surface, const ObjectInstance& Obj, int X, int Y, int Edge, const ClipRect& Clip,
                     int FontNumber, int Red, int Green, int Blue, int Alignment, bool ForceCount) {
    if (Obj.Type == 0) return;
    int Type = Obj.Type;
    int PatternX = 1, PatternY = 1;
    bool Cumulative = GetObjectFlag(Type, CUMULATIVE);
    if (Cumulative) GetCumulativePattern(Obj, PatternX, PatternY);
    else if (GetObjectFlag(Type, LIQUIDPOOL) || GetObjectFlag(Type, LIQUIDCONTAINER)) GetLiquidPattern(Obj, PatternX, PatternY);
    uint32_t Clock = AnimationClock ? AnimationClock() : 0;
    int Phases = std::max(GetObjectPhases(Type), 1);
    int Phase = static_cast<int>((Clock / 5) % static_cast<uint32_t>(Phases)) + 1;
    int DisplaySize = std::max(GetObjectDisplaySize(Type), 1);
    int Scaled = Edge * 32 / DisplaySize;
    int Layers = GetObjectLayers(Type), Width = GetObjectWidth(Type), Height = GetObjectHeight(Type);
    if (Scaled > 0) {
        for (int Layer = 1; Layer <= Layers; ++Layer)
            for (int PartX = 1; PartX <= Width; ++PartX)
                for (int PartY = 1; PartY <= Height; ++PartY)
                    DrawSpriteScaled(Surface, X + Edge - PartX * Scaled, Y + Edge - PartY * Scaled, Scaled, Scaled,
                                     GetObjectSprite(Type, PartX, PartY, Layer, PatternX, PatternY, 1, Phase), Clip);
    }
    if (Cumulative && (Obj.Data > 1 || ForceCount)) {
        char Count[16];
        std::snprintf(Count, sizeof(Count), "%d", static_cast<int>(Obj.Data));
        DrawTextClipped(Surface, X + Edge - 1, Y + Edge - GetTextHeight(FontNumber, Count) - 1, FontNumber, Red, Green,
                        Blue, Count, Alignment, Clip);
    }
}

void DrawOutfitInBox(int Surface, int OutfitType, const int Colours[4], int LookType, int X, int Y, int Edge,
                     const ClipRect& Clip) {
    if (OutfitType == 0) {
        ObjectInstance Look;
        Look.Type = LookType;
        DrawObjectInBox(Surface, Look, X, Y, Edge, Clip, 1, 255, 255, 255, RIGHT_ALIGN, false);
        return;
    }
    ColourSet Set;
    for (int i = 0; i < 4; ++i) {
        int R = 0, G = 0, B = 0;
        GetOutfitColor(Colours ? Colours[i] : 0, R, G, B);
        Set.Colour[i] = {static_cast<uint8_t>(R), static_cast<uint8_t>(G), static_cast<uint8_t>(B)};
    }
    int DisplaySize = std::max(GetOutfitDisplaySize(OutfitType), 1);
    int Scaled = Edge * 32 / DisplaySize;
    if (Scaled <= 0) return;
    bool Masked = GetOutfitLayers(OutfitType) == 2;
    for (int PartX = 1; PartX <= GetOutfitWidth(OutfitType); ++PartX)
        for (int PartY = 1; PartY <= GetOutfitHeight(OutfitType); ++PartY) {
            int Sprite = GetOutfitSprite(OutfitType, PartX, PartY, 1, 2, 1);
            int Mask = Masked ? GetOutfitSprite(OutfitType, PartX, PartY, 2, 2, 1) : 0;
            DrawMaskedSpriteScaled(Surface, X + Edge - PartX * Scaled, Y + Edge - PartY * Scaled, Scaled, Scaled,
                                   Sprite, Mask, Set, Clip);
        }
}

// ==== 11. Inspection =========================================================================================

int GetMemoryCacheSize() { return MemoryCacheSize; }
int GetVideoCacheSize() {
    VideoCacheReady();
    return VideoCacheSize;
}

bool IsSpriteInMemoryCache(int SpriteNumber) { return FindMemory(SPRITE_ITEM, SpriteNumber, 0, 0) >= 0; }

bool IsTileInMemoryCache(int PictureNumber, int TileX, int TileY) {
    return FindMemory(TILE_ITEM, PictureNumber, TileX, TileY) >= 0;
}

int CountVideoCacheEntries() {
    VideoCacheReady();
    int Count = 0;
    for (const VideoItem& Item : VideoItems) Count += Item.Type != EMPTY_ITEM;
    return Count;
}

int GetDecodeCount() { return DecodeCount; }

const uint8_t* GetSpriteImage(int SpriteNumber, RGBColour* Key) {
    ASSERT(In(SpriteNumber,1,NumberOfSprites));
    if (!In(SpriteNumber, 1, NumberOfSprites)) return NULL;
    int Position = GetMemorySprite(SpriteNumber);
    if (Position < 0) return NULL;
    const uint8_t* Image = MemoryImage(Position);
    if (Key) *Key = Sprites[SpriteNumber].Key;
    return Image;
}

const uint8_t* GetTileImage(int PictureNumber, int TileX, int TileY, RGBColour* Key) {
    ASSERT(In(PictureNumber,1,NumberOfPictures));
    if (!In(PictureNumber, 1, NumberOfPictures)) return NULL;
    int Position = GetMemoryTile(PictureNumber, TileX, TileY);
    if (Position < 0) return NULL;
    const uint8_t* Image = MemoryImage(Position);
    if (Key) *Key = Pictures[PictureNumber].Key;
    return Image;
}
