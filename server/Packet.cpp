#include "server/Packet.h"

namespace server {

void InPacket::need(int Count) const {
    if (Count < 0 || Offset + Count > Size) throw ProtocolError("packet too short");
}

int InPacket::getByte() {
    need(1);
    return Data[Offset++];
}

int InPacket::getWord() {
    need(2);
    int Value = Data[Offset] | (Data[Offset + 1] << 8);
    Offset += 2;
    return Value;
}

uint32_t InPacket::getQuad() {
    need(4);
    uint32_t Value = uint32_t(Data[Offset]) | (uint32_t(Data[Offset + 1]) << 8) | (uint32_t(Data[Offset + 2]) << 16) |
                     (uint32_t(Data[Offset + 3]) << 24);
    Offset += 4;
    return Value;
}

std::string InPacket::getString(int MaxLength) {
    int Length = getWord();
    if (Length > MaxLength) throw ProtocolError("string too long (" + std::to_string(Length) + ")");
    need(Length);
    std::string Text(reinterpret_cast<const char*>(Data + Offset), size_t(Length));
    Offset += Length;
    return Text;
}

Position InPacket::getPosition() {
    Position Pos;
    Pos.x = getWord();
    Pos.y = getWord();
    Pos.z = getByte();
    return Pos;
}

void InPacket::expectEnd() const {
    if (Offset != Size) throw ProtocolError("trailing bytes after the command");
}

Message& Message::addByte(int Value) {
    Bytes.push_back(uint8_t(Value));
    return *this;
}

Message& Message::addWord(int Value) {
    Bytes.push_back(uint8_t(Value));
    Bytes.push_back(uint8_t(Value >> 8));
    return *this;
}

Message& Message::addQuad(uint32_t Value) {
    for (int i = 0; i < 4; i++) Bytes.push_back(uint8_t(Value >> (8 * i)));
    return *this;
}

Message& Message::addString(const std::string& Text) {
    // Every text the server sends is short; a longer one is cut rather than
    // letting the length word wrap around.
    size_t Length = Text.size() > 0xFFFF ? 0xFFFF : Text.size();
    addWord(int(Length));
    Bytes.insert(Bytes.end(), Text.begin(), Text.begin() + Length);
    return *this;
}

Message& Message::addPosition(const Position& Pos) {
    addWord(Pos.x);
    addWord(Pos.y);
    return addByte(Pos.z);
}

Message& Message::addBytes(const std::vector<uint8_t>& More) {
    Bytes.insert(Bytes.end(), More.begin(), More.end());
    return *this;
}

}  // namespace server
