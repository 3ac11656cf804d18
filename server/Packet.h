// Packet views of the server: a reader over one client packet that throws
// ProtocolError instead of reading past the end, and a growable message
// writer. All integers are little-endian; a string is a word length and bytes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace server {

// Largest packet body a client may send (its send buffer is 2048 bytes with
// the length word); anything longer is refused and the client dropped.
inline constexpr int MAX_CLIENT_PACKET = 2046;
// Largest packet body the client can take (its receive buffer is 16384 bytes).
inline constexpr int MAX_SERVER_PACKET = 16382;

// A client packet that does not match its command's layout.
struct ProtocolError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Position {
    int x = 0, y = 0, z = 0;
    bool operator==(const Position&) const = default;
};

class InPacket {
  public:
    InPacket(const uint8_t* Data, int Size) : Data(Data), Size(Size) {}

    int getByte();
    int getWord();
    uint32_t getQuad();
    // Strings longer than MaxLength are refused: no client field is that long.
    std::string getString(int MaxLength);
    Position getPosition();

    int remaining() const { return Size - Offset; }
    // Throws when bytes are left over: a client packet holds exactly one command.
    void expectEnd() const;

  private:
    void need(int Count) const;
    const uint8_t* Data;
    int Size;
    int Offset = 0;
};

class Message {
  public:
    Message& addByte(int Value);
    Message& addWord(int Value);
    Message& addQuad(uint32_t Value);
    Message& addString(const std::string& Text);
    Message& addPosition(const Position& Pos);
    Message& addBytes(const std::vector<uint8_t>& Bytes);

    const std::vector<uint8_t>& bytes() const { return Bytes; }
    size_t size() const { return Bytes.size(); }
    bool empty() const { return Bytes.empty(); }
    void clear() { Bytes.clear(); }

  private:
    std::vector<uint8_t> Bytes;
};

}  // namespace server
