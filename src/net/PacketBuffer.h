// Views for reading and writing packets: bytes, 16-bit words and 32-bit quads
// little-endian, strings as a word length followed by the bytes without a
// terminator. The views never own their bytes; every access is checked.
#pragma once

#include <cstdint>

class ReadBuffer {
  public:
    ReadBuffer() = default;
    ReadBuffer(const uint8_t* data, int size) { init(data, size); }
    void init(const uint8_t* data, int size);

    uint8_t readByte();
    uint16_t readWord();
    uint32_t readQuad();
    // Copies the string into Buffer of capacity MaxLength (negative: no
    // limit), cut to MaxLength-1 characters and terminated; the position
    // always moves past the whole string.
    void readString(char* Buffer, int MaxLength);
    // A heap copy (delete[]) of the string with a terminator.
    char* readNewString();
    void readBytes(uint8_t* Buffer, int Count);

    const uint8_t* Data = nullptr;
    int32_t Size = 0;
    int32_t Position = 0;
};

class WriteBuffer {
  public:
    WriteBuffer() = default;
    WriteBuffer(uint8_t* data, int size) { init(data, size); }
    void init(uint8_t* data, int size);

    void writeByte(uint8_t Value);
    void writeWord(uint16_t Value);
    void writeQuad(uint32_t Value);
    void writeString(const char* s);

    uint8_t* Data = nullptr;
    int32_t Size = 0;
    int32_t Position = 0;
};
