#include "ImageFiles.h"

#include "support/TestSupport.h"

namespace image_files {

namespace {

void PutWord(std::string& Out, uint32_t Value) {
    Out += static_cast<char>(Value & 0xFF);
    Out += static_cast<char>((Value >> 8) & 0xFF);
}

void PutQuad(std::string& Out, uint32_t Value) {
    PutWord(Out, Value & 0xFFFF);
    PutWord(Out, Value >> 16);
}

void PutColour(std::string& Out, const RGBColour& C) {
    Out += static_cast<char>(C.Red);
    Out += static_cast<char>(C.Green);
    Out += static_cast<char>(C.Blue);
}

}  // namespace

void Image::Fill(uint8_t R, uint8_t G, uint8_t B) {
    for (int i = 0; i < 1024; ++i) {
        Pixels[3 * i] = R;
        Pixels[3 * i + 1] = G;
        Pixels[3 * i + 2] = B;
    }
}

void Image::Set(int X, int Y, uint8_t R, uint8_t G, uint8_t B) {
    uint8_t* P = &Pixels[3 * (Y * 32 + X)];
    P[0] = R;
    P[1] = G;
    P[2] = B;
}

Picture::Picture(int X, int Y, RGBColour K) : TilesX(X), TilesY(Y), Key(K) {
    Pixels.resize(static_cast<size_t>(X) * 32 * Y * 32 * 3);
    FillRect(0, 0, X * 32, Y * 32, K.Red, K.Green, K.Blue);
}

void Picture::Set(int X, int Y, uint8_t R, uint8_t G, uint8_t B) {
    uint8_t* P = &Pixels[3 * (static_cast<size_t>(Y) * TilesX * 32 + X)];
    P[0] = R;
    P[1] = G;
    P[2] = B;
}

void Picture::FillRect(int X, int Y, int Width, int Height, uint8_t R, uint8_t G, uint8_t B) {
    for (int y = Y; y < Y + Height; ++y)
        for (int x = X; x < X + Width; ++x) Set(x, y, R, G, B);
}

std::string EncodePixels(const uint8_t* Pixels, const RGBColour& Key) {
    auto IsKey = [&](int i) {
        return Pixels[3 * i] == Key.Red && Pixels[3 * i + 1] == Key.Green && Pixels[3 * i + 2] == Key.Blue;
    };
    std::string Runs;
    int Position = 0;
    while (Position < 1024) {
        int Transparent = 0, Coloured = 0;
        while (Position + Transparent < 1024 && IsKey(Position + Transparent)) ++Transparent;
        while (Position + Transparent + Coloured < 1024 && !IsKey(Position + Transparent + Coloured)) ++Coloured;
        if (Coloured == 0) break;  // the rest stays transparent
        PutWord(Runs, Transparent);
        PutWord(Runs, Coloured);
        Runs.append(reinterpret_cast<const char*>(Pixels + 3 * (Position + Transparent)), 3 * Coloured);
        Position += Transparent + Coloured;
    }
    std::string Out;
    PutWord(Out, static_cast<uint32_t>(Runs.size()));
    return Out + Runs;
}

std::string MakeSpriteFile(uint32_t Signature, const std::vector<Image>& Sprites) {
    std::string Head, Data;
    PutQuad(Head, Signature);
    PutWord(Head, static_cast<uint32_t>(Sprites.size()));
    size_t DataStart = 6 + 4 * Sprites.size();
    for (const Image& Sprite : Sprites) {
        if (Sprite.Empty) {
            PutQuad(Head, 0);
            continue;
        }
        PutQuad(Head, static_cast<uint32_t>(DataStart + Data.size()));
        PutColour(Data, Sprite.Key);
        Data += Sprite.RawData.empty() ? EncodePixels(Sprite.Pixels.data(), Sprite.Key) : Sprite.RawData;
    }
    return Head + Data;
}

std::string MakePictureFile(uint32_t Signature, const std::vector<Picture>& Pictures) {
    size_t HeadSize = 6;
    for (const Picture& P : Pictures) HeadSize += 5 + 4 * P.TilesX * P.TilesY;
    std::string Head, Data;
    PutQuad(Head, Signature);
    PutWord(Head, static_cast<uint32_t>(Pictures.size()));
    for (const Picture& P : Pictures) {
        Head += static_cast<char>(P.TilesX);
        Head += static_cast<char>(P.TilesY);
        PutColour(Head, P.Key);
        for (int TileY = 0; TileY < P.TilesY; ++TileY)
            for (int TileX = 0; TileX < P.TilesX; ++TileX) {
                PutQuad(Head, static_cast<uint32_t>(HeadSize + Data.size()));
                size_t Index = static_cast<size_t>(TileX + TileY * P.TilesX);
                if (Index < P.RawTiles.size() && !P.RawTiles[Index].empty()) {
                    Data += P.RawTiles[Index];
                    continue;
                }
                std::vector<uint8_t> Tile(3072);
                for (int y = 0; y < 32; ++y)
                    for (int x = 0; x < 32; ++x)
                        for (int c = 0; c < 3; ++c)
                            Tile[3 * (y * 32 + x) + c] =
                                P.Pixels[3 * ((static_cast<size_t>(TileY) * 32 + y) * P.TilesX * 32 + TileX * 32 + x) + c];
                Data += EncodePixels(Tile.data(), P.Key);
            }
    }
    return Head + Data;
}

int TestGlyphWidth(int CharWidth, int Glyph) { return 1 + Glyph % CharWidth; }
int TestGlyphHeight(int CharHeight, int Glyph) { return 1 + (Glyph * 3) % CharHeight; }

Picture MakeFontPicture(int CharWidth, int CharHeight, RGBColour Key) {
    int Width = 32 * CharWidth, Height = 7 * CharHeight;
    Picture P((Width + 31) / 32, (Height + 31) / 32, Key);
    for (int g = 1; g < 224; ++g)
        P.FillRect((g % 32) * CharWidth, (g / 32) * CharHeight, TestGlyphWidth(CharWidth, g),
                   TestGlyphHeight(CharHeight, g), 255, 255, 255);
    return P;
}

std::vector<Picture> StandardPictures() {
    RGBColour Magenta{255, 0, 255};
    std::vector<Picture> Pictures;
    Picture First(2, 2, Magenta);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) First.Set(x, y, x, y, 7);
    Pictures.push_back(First);
    Picture Second(1, 1, Magenta);
    Second.FillRect(0, 0, 32, 32, 10, 20, 30);
    Pictures.push_back(Second);
    Pictures.push_back(MakeFontPicture(8, 16, Magenta));   // 3
    Pictures.push_back(Picture(1, 1, Magenta));            // 4
    Pictures.push_back(MakeFontPicture(16, 16, Magenta));  // 5
    Pictures.push_back(MakeFontPicture(8, 8, Magenta));    // 6
    Pictures.push_back(Picture(1, 8, {0, 0, 0}));          // 7
    Pictures.push_back(MakeFontPicture(8, 16, {0, 0, 0}));  // 8: a black key
    return Pictures;
}

void WriteFiles(const std::vector<Image>& Sprites, const std::vector<Picture>& Pictures, uint32_t SpriteSignature,
                uint32_t PictureSignature) {
    testing_support::WriteFile("Vorna.spr", MakeSpriteFile(SpriteSignature, Sprites));
    testing_support::WriteFile("Vorna.pic", MakePictureFile(PictureSignature, Pictures));
}

}  // namespace image_files
