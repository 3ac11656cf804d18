// Builds small object type files for the world tests, byte by byte, so each
// test states exactly the records it depends on.
#pragma once

#include "support/TestSupport.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class DatWriter {
  public:
    DatWriter(uint32_t Signature, int HighestItem, int Outfits, int Effects, int Missiles) {
        U32(Signature);
        U16(HighestItem);
        U16(Outfits);
        U16(Effects);
        U16(Missiles);
    }

    void U8(int v) { Bytes.push_back(static_cast<char>(v & 0xFF)); }
    void U16(int v) {
        U8(v);
        U8(v >> 8);
    }
    void U32(uint32_t v) {
        U16(int(v & 0xFFFF));
        U16(int(v >> 16));
    }

    // A flag code with its parameters.
    DatWriter& Flag(int Code, std::initializer_list<int> Parameters = {}) {
        U8(Code);
        for (int p : Parameters) U16(p);
        return *this;
    }

    // Ends the flag list and writes the dimensions and the sprite list. The
    // sprite numbers run FirstSprite, FirstSprite+1, ... in file order, so a
    // lookup's result tells which index it read.
    void Record(int Width, int Height, int Layers, int PatternWidth, int PatternHeight, int PatternDepth, int Phases,
                int DisplaySize = 64, int FirstSprite = 1) {
        U8(0xFF);
        U8(Width);
        U8(Height);
        if (Width > 1 || Height > 1) U8(DisplaySize);
        U8(Layers);
        U8(PatternWidth);
        U8(PatternHeight);
        U8(PatternDepth);
        U8(Phases);
        int Count = Width * Height * Layers * PatternWidth * PatternHeight * PatternDepth * Phases;
        for (int n = 0; n < Count; n++) U16(FirstSprite + n);
    }

    // A 1 x 1 item with one sprite and the given flags.
    void Simple(std::initializer_list<int> Codes) {
        for (int c : Codes) Flag(c);
        Record(1, 1, 1, 1, 1, 1, 1);
    }

    void Save(const std::string& Name) const { testing_support::WriteFile(Name, Bytes); }

    std::string Bytes;
};
