#include "DataFiles.h"

#include "Palette.h"
#include "config/Script.h"

#include <map>
#include <stdexcept>

namespace gen {

namespace {
void Byte(Bytes& b, int v) { b.push_back(uint8_t(v)); }
void Word(Bytes& b, int v) {
    if (v < 0 || v > 0xFFFF) throw std::logic_error("word out of range");
    b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8));
}
void Quad(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void PatchQuad(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
void Sign(Bytes& b) { PatchQuad(b, 0, ContentSignature(b)); }

void Record(Bytes& b, const ObjectRecord& r) {
    for (const Flag& f : r.Flags) {
        if (f.Code < 0 || f.Code > 30) throw std::logic_error("bad flag code in " + r.Name);
        Byte(b, f.Code);
        for (int p : f.Params) Word(b, p);
    }
    Byte(b, 0xFF);
    Byte(b, r.Width);
    Byte(b, r.Height);
    if (r.Width > 1 || r.Height > 1) Byte(b, r.DisplaySize);
    Byte(b, r.Layers);
    Byte(b, r.PatternWidth);
    Byte(b, r.PatternHeight);
    Byte(b, r.PatternDepth);
    Byte(b, r.Phases);
    if (r.Sprites.size() != size_t(r.Width) * r.Height * r.Layers * r.PatternWidth * r.PatternHeight *
                                r.PatternDepth * r.Phases)
        throw std::logic_error("sprite list size in " + r.Name);
    for (uint16_t s : r.Sprites) Word(b, s);
}
}  // namespace

uint32_t ContentSignature(const Bytes& file) {
    uint32_t h = 2166136261u;
    for (size_t i = 4; i < file.size(); ++i) h = (h ^ file[i]) * 16777619u;
    return h;
}

Bytes EncodePixels(const art::Canvas& image, int x0, int y0) {
    using art::pal::KEY;
    Bytes body;
    auto opaque = [&](int i) { return image.Get(x0 + i % 32, y0 + i / 32).Opaque(); };
    int i = 0;
    while (i < 1024) {
        int skip = 0;
        while (i + skip < 1024 && !opaque(i + skip)) ++skip;
        if (i + skip == 1024) break;  // the rest stays transparent
        int run = 0;
        while (i + skip + run < 1024 && opaque(i + skip + run)) ++run;
        Word(body, skip);
        Word(body, run);
        for (int k = 0; k < run; ++k) {
            int p = i + skip + k;
            art::Color c = image.Get(x0 + p % 32, y0 + p / 32);
            if (c.r == KEY.r && c.g == KEY.g && c.b == KEY.b) throw std::logic_error("art uses the colour key");
            Byte(body, c.r), Byte(body, c.g), Byte(body, c.b);
        }
        i += skip + run;
    }
    Bytes out;
    Word(out, int(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes BuildDatFile(const DataSet& data) {
    Bytes b;
    Quad(b, 0);
    Word(b, 99 + int(data.Items.size()));
    Word(b, int(data.Outfits.size()));
    Word(b, int(data.Effects.size()));
    Word(b, int(data.Missiles.size()));
    for (const auto* table : {&data.Items, &data.Outfits, &data.Effects, &data.Missiles})
        for (const ObjectRecord& r : *table) Record(b, r);
    Sign(b);
    return b;
}

Bytes BuildSprFile(const DataSet& data) {
    using art::pal::KEY;
    int n = data.Sprites.Count();
    Bytes b;
    Quad(b, 0);
    Word(b, n);
    size_t table = b.size();
    b.resize(b.size() + 4 * size_t(n), 0);
    for (int s = 1; s <= n; ++s) {
        PatchQuad(b, table + 4 * size_t(s - 1), uint32_t(b.size()));
        Byte(b, KEY.r), Byte(b, KEY.g), Byte(b, KEY.b);
        Bytes px = EncodePixels(data.Sprites.Get(s), 0, 0);
        b.insert(b.end(), px.begin(), px.end());
    }
    Sign(b);
    return b;
}

Bytes BuildPicFile(const DataSet& data) {
    using art::pal::KEY;
    Bytes b;
    Quad(b, 0);
    Word(b, int(data.Pictures.size()));
    // Headers first (their size is known), then the tiles; identical tiles
    // share one block of pixel data.
    std::vector<size_t> offsetAt;
    for (const Picture& p : data.Pictures) {
        int tx = p.Image.Width() / 32, ty = p.Image.Height() / 32;
        if (tx < 1 || ty < 1 || tx > 255 || ty > 255 || tx * 32 != p.Image.Width() || ty * 32 != p.Image.Height())
            throw std::logic_error("picture size of " + p.Name);
        Byte(b, tx), Byte(b, ty);
        Byte(b, KEY.r), Byte(b, KEY.g), Byte(b, KEY.b);
        offsetAt.push_back(b.size());
        b.resize(b.size() + 4 * size_t(tx * ty), 0);
    }
    std::map<Bytes, uint32_t> known;
    for (size_t i = 0; i < data.Pictures.size(); ++i) {
        const Picture& p = data.Pictures[i];
        int tx = p.Image.Width() / 32, ty = p.Image.Height() / 32;
        for (int y = 0; y < ty; ++y)
            for (int x = 0; x < tx; ++x) {
                Bytes px = EncodePixels(p.Image, x * 32, y * 32);
                auto found = known.find(px);
                uint32_t offset;
                if (found != known.end()) {
                    offset = found->second;
                } else {
                    offset = uint32_t(b.size());
                    b.insert(b.end(), px.begin(), px.end());
                    known.emplace(std::move(px), offset);
                }
                PatchQuad(b, offsetAt[i] + 4 * size_t(x + y * tx), offset);
            }
    }
    Sign(b);
    return b;
}

void WriteDataFile(const std::string& path, const Bytes& bytes) {
    WriteBinaryFile file;
    file.open(path.c_str());
    try {
        file.writeBytes(bytes.data(), bytes.size());
    } catch (...) {
        if (file.isOpen()) file.close();
        throw;
    }
    file.close();
}

}  // namespace gen
