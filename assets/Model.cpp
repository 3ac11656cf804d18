#include "Model.h"

#include <stdexcept>

namespace gen {

int FlagParameterCount(int code) {
    switch (code) {
        case BANK: case WRITE: case WRITEONCE: case HEIGHT: case AUTOMAP: case LENSHELP: return 1;
        case LIGHT: case SHIFT: return 2;
        default: return 0;
    }
}

void ObjectRecord::Shape(int width, int height, int layers, int pw, int ph, int pd, int phases) {
    Width = width, Height = height, Layers = layers;
    PatternWidth = pw, PatternHeight = ph, PatternDepth = pd, Phases = phases;
    DisplaySize = (width > 1 || height > 1) ? 32 * std::max(width, height) : 32;
    Sprites.assign(size_t(width) * height * layers * pw * ph * pd * phases, 0);
}

static size_t Index(const ObjectRecord& r, int x, int y, int layer, int px, int py, int pz, int phase) {
    if (x < 1 || x > r.Width || y < 1 || y > r.Height || layer < 1 || layer > r.Layers || px < 1 ||
        px > r.PatternWidth || py < 1 || py > r.PatternHeight || pz < 1 || pz > r.PatternDepth || phase < 1 ||
        phase > r.Phases)
        throw std::logic_error("sprite coordinate out of range in " + r.Name);
    return size_t(x - 1) +
           size_t(r.Width) *
               (size_t(y - 1) +
                size_t(r.Height) *
                    (size_t(layer - 1) +
                     size_t(r.Layers) *
                         (size_t(px - 1) +
                          size_t(r.PatternWidth) *
                              (size_t(py - 1) + size_t(r.PatternHeight) *
                                                    (size_t(pz - 1) + size_t(r.PatternDepth) * size_t(phase - 1))))));
}

void ObjectRecord::Put(int x, int y, int layer, int px, int py, int pz, int phase, int sprite) {
    Sprites[Index(*this, x, y, layer, px, py, pz, phase)] = uint16_t(sprite);
}

void ObjectRecord::PutParts(const std::vector<int>& parts, int layer, int px, int py, int pz, int phase) {
    for (int y = 1; y <= Height; ++y)
        for (int x = 1; x <= Width; ++x) Put(x, y, layer, px, py, pz, phase, parts[size_t((y - 1) * Width + x - 1)]);
}

uint16_t ObjectRecord::At(int x, int y, int layer, int px, int py, int pz, int phase) const {
    return Sprites[Index(*this, x, y, layer, px, py, pz, phase)];
}

ObjectRecord& ObjectRecord::Add(int code, std::vector<int> params) {
    if (int(params.size()) != FlagParameterCount(code)) throw std::logic_error("wrong parameter count in " + Name);
    Flags.push_back(Flag{code, std::move(params)});
    return *this;
}

bool ObjectRecord::Has(int code) const {
    for (const Flag& f : Flags)
        if (f.Code == code) return true;
    return false;
}

int SpriteBank::Add(const art::Canvas& image) {
    if (image.Width() != 32 || image.Height() != 32) throw std::logic_error("sprites are 32 x 32");
    std::vector<uint32_t> key;
    key.reserve(1024);
    bool any = false;
    for (const art::Color& c : image.Data()) {
        key.push_back(c.Opaque() ? (0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b) : 0u);
        any = any || c.Opaque();
    }
    if (!any) return 0;
    auto found = Known.find(key);
    if (found != Known.end()) return found->second;
    Images.push_back(image);
    int number = int(Images.size());
    if (number > 65535) throw std::logic_error("too many sprites");
    Known.emplace(std::move(key), number);
    return number;
}

std::vector<int> SpriteBank::AddParts(const art::Canvas& image, int w, int h) {
    std::vector<int> parts;
    for (int y = 1; y <= h; ++y)
        for (int x = 1; x <= w; ++x) parts.push_back(Add(image.Cut((w - x) * 32, (h - y) * 32, 32, 32)));
    return parts;
}

}  // namespace gen
