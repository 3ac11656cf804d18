#include "net/PacketBuffer.h"

#include "core/Assert.h"

#include <cstdint>
#include <cstring>

// Every check is followed by a guard: tests go on after a failed assertion,
// and a view must never touch memory outside its bytes.

void ReadBuffer::init(const uint8_t* data, int size) {
    ASSERT(data!=NULL);
    ASSERT(size>=0);
    Data = data;
    Size = (data != NULL && size >= 0) ? size : 0;
    Position = 0;
}

uint8_t ReadBuffer::readByte() {
    ASSERT(Position<=Size-1);
    if (Position > Size - 1) return 0;
    return Data[Position++];
}

uint16_t ReadBuffer::readWord() {
    ASSERT(Position<=Size-2);
    if (Position > Size - 2) return 0;
    uint16_t value = uint16_t(Data[Position] | (Data[Position + 1] << 8));
    Position += 2;
    return value;
}

uint32_t ReadBuffer::readQuad() {
    ASSERT(Position<=Size-4);
    if (Position > Size - 4) return 0;
    uint32_t value = uint32_t(Data[Position]) | uint32_t(Data[Position + 1]) << 8 | uint32_t(Data[Position + 2]) << 16 |
                     uint32_t(Data[Position + 3]) << 24;
    Position += 4;
    return value;
}

void ReadBuffer::readString(char* Buffer, int MaxLength) {
    ASSERT(Buffer!=NULL);
    if (Buffer == NULL) return;
    if (MaxLength == 0) MaxLength = 1;  // room for the terminator only
    int Length = readWord();
    if (Length == 0) {
        Buffer[0] = 0;
        return;
    }
    ASSERT(Position<=Size-Length);
    if (Position > Size - Length) {
        Buffer[0] = 0;
        Position = Size;
        return;
    }
    int copied = (MaxLength < 0 || Length < MaxLength) ? Length : MaxLength - 1;
    std::memcpy(Buffer, Data + Position, size_t(copied));
    Buffer[copied] = 0;
    Position += Length;
}

char* ReadBuffer::readNewString() {
    int Length = readWord();
    ASSERT(Position<=Size-Length);
    if (Position > Size - Length) {
        Position = Size;
        Length = 0;
    }
    char* text = new char[size_t(Length) + 1];
    if (Length > 0) std::memcpy(text, Data + Position, size_t(Length));
    text[Length] = 0;
    Position += Length;
    return text;
}

void ReadBuffer::readBytes(uint8_t* Buffer, int Count) {
    ASSERT(Buffer!=NULL);
    ASSERT(Position<=Size-Count);
    if (Buffer == NULL || Count < 0 || Position > Size - Count) return;
    std::memcpy(Buffer, Data + Position, size_t(Count));
    Position += Count;
}

void WriteBuffer::init(uint8_t* data, int size) {
    ASSERT(data!=NULL);
    ASSERT(size>=0);
    Data = data;
    Size = (data != NULL && size >= 0) ? size : 0;
    Position = 0;
}

void WriteBuffer::writeByte(uint8_t Value) {
    ASSERT(Position<=Size-1);
    if (Position > Size - 1) return;
    Data[Position++] = Value;
}

void WriteBuffer::writeWord(uint16_t Value) {
    ASSERT(Position<=Size-2);
    if (Position > Size - 2) return;
    Data[Position] = uint8_t(Value);
    Data[Position + 1] = uint8_t(Value >> 8);
    Position += 2;
}

void WriteBuffer::writeQuad(uint32_t Value) {
    ASSERT(Position<=Size-4);
    if (Position > Size - 4) return;
    for (int i = 0; i < 4; ++i) Data[Position + i] = uint8_t(Value >> (8 * i));
    Position += 4;
}

void WriteBuffer::writeString(const char* s) {
    ASSERT(s!=NULL);
    if (s == NULL) return;
    size_t length = std::strlen(s);
    if (length > 0xFFFF) length = 0xFFFF + size_t(Size) + 1;  // can never fit
    int Length = length > size_t(INT32_MAX / 2) ? INT32_MAX / 2 : int(length);
    int start = Position;
    writeWord(uint16_t(length));
    if (Position == start) return;
    ASSERT(Position<=Size-Length);
    // A string that does not fit leaves the buffer as it was.
    if (Position > Size - Length) {
        Position = start;
        return;
    }
    std::memcpy(Data + Position, s, size_t(Length));
    Position += Length;
}
