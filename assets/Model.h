// What the generator produces before anything is written: the sprite bank,
// the four object type tables and the pictures. Builders fill a DataSet; the
// file writers and the preview read it.
#pragma once

#include "Canvas.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace gen {

// Attribute codes of Vorna.dat (byte value in the file, bit in the flag set).
enum FlagCode : int {
    BANK = 0, ONBANK = 1, BOTTOM = 2, TOP = 3, CONTAINER = 4, CUMULATIVE = 5, USETARGET = 6, MULTIUSE = 7,
    WRITE = 8, WRITEONCE = 9, LIQUIDCONTAINER = 10, LIQUIDPOOL = 11, UNPASS = 12, UNMOVE = 13, NOROOF = 14,
    AVOID = 15, TAKE = 16, HANG = 17, HOOKA = 18, HOOKB = 19, ROTATE = 20, LIGHT = 21, SEETHROUGH = 22,
    LIGHTTHROUGH = 23, SHIFT = 24, HEIGHT = 25, REDRAWNEAR = 26, IDLEANIMATION = 27, AUTOMAP = 28,
    LENSHELP = 29, FLOORMARK = 30,
};
// Number of 16-bit parameters that follow each code in the file.
int FlagParameterCount(int code);

struct Flag {
    int Code;
    std::vector<int> Params;
};

struct ObjectRecord {
    std::string Name;  // for the preview only
    std::vector<Flag> Flags;
    int Width = 1, Height = 1, DisplaySize = 32;
    int Layers = 1, PatternWidth = 1, PatternHeight = 1, PatternDepth = 1, Phases = 1;
    std::vector<uint16_t> Sprites;

    // Sets the dimensions and sizes the sprite list (all 0).
    void Shape(int width, int height, int layers, int pw, int ph, int pd, int phases);
    // 1-based coordinates, as the client looks them up.
    void Put(int x, int y, int layer, int px, int py, int pz, int phase, int sprite);
    // Puts all Width x Height parts of a multi-field picture.
    void PutParts(const std::vector<int>& parts, int layer, int px, int py, int pz, int phase);
    uint16_t At(int x, int y, int layer, int px, int py, int pz, int phase) const;
    ObjectRecord& Add(int code, std::vector<int> params = {});
    bool Has(int code) const;
};

class SpriteBank {
  public:
    // Adds a 32 x 32 image; identical images share one number; a fully
    // transparent image is sprite 0 (draws nothing).
    int Add(const art::Canvas& image);
    // Cuts a (32 w) x (32 h) picture whose bottom-right field is the object's
    // own field into parts, in the order X fastest then Y (X, Y counting to the
    // left and up from 1).
    std::vector<int> AddParts(const art::Canvas& image, int w, int h);
    int Count() const { return int(Images.size()); }
    const art::Canvas& Get(int number) const { return Images[size_t(number - 1)]; }

  private:
    std::vector<art::Canvas> Images;
    std::map<std::vector<uint32_t>, int> Known;
};

struct Picture {
    std::string Name;
    art::Canvas Image;  // width and height multiples of 32 (padded transparent)
};

struct DataSet {
    SpriteBank Sprites;
    std::vector<ObjectRecord> Items;  // type 100 first
    std::vector<ObjectRecord> Outfits, Effects, Missiles;
    std::vector<Picture> Pictures;  // picture 1 first
};

// Builders, one per concern; each appends to the data set.
void BuildGrounds(DataSet& data);
void BuildArchitecture(DataSet& data);
void BuildFurniture(DataSet& data);
void BuildNature(DataSet& data);
void BuildItems(DataSet& data);
void BuildOutfits(DataSet& data);
void BuildEffects(DataSet& data);
void BuildMissiles(DataSet& data);
void BuildPictures(DataSet& data);
// Builds everything in a fixed order and checks the tables against the shared
// type numbers.
DataSet BuildAll();

}  // namespace gen
