// File updates of the login server: the current Vorna.dat, Vorna.spr and
// Vorna.pic, older versions of them kept in an updates folder, and the deltas
// that turn each older version into the current one.
//
// A file's signature is its first four bytes (little-endian), which the
// client sends with its login request. A client whose signature is the
// current one needs nothing; one whose signature belongs to a kept older
// version gets a delta; any other gets the whole file.
//
// Delta instructions run once from the start of the client's file to its
// end, never backwards. Each begins with a byte b: its count c is b & 63 when
// that is at most 60, else the next byte (61), word (62) or quad (63); the
// operation is b & 192: 0 copies c bytes of the old file, 64 skips c bytes of
// it, 128 writes the c bytes that follow the instruction, 192 writes them and
// skips c bytes of the old file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace server::updates {

using Bytes = std::vector<uint8_t>;

// File types of the update exchange that the server offers.
inline constexpr int OBJECTS_FILE = 1;   // Vorna.dat
inline constexpr int SPRITES_FILE = 2;   // Vorna.spr
inline constexpr int PICTURES_FILE = 3;  // Vorna.pic
const char* FileName(int Type);

inline constexpr uint8_t DELTA_COPY = 0;
inline constexpr uint8_t DELTA_SKIP = 64;
inline constexpr uint8_t DELTA_WRITE = 128;
inline constexpr uint8_t DELTA_REPLACE = 192;

// The instructions that make New from Old: the common runs that go forward
// through both files are copied, the rest written.
Bytes BuildDelta(const Bytes& Old, const Bytes& New);
// Runs the instructions on Old as a client does; nullopt where a client
// fails (an instruction cut short, reading or skipping past Old's end).
std::optional<Bytes> ApplyDelta(const Bytes& Old, const Bytes& Delta);

// The first four bytes as a little-endian number; nullopt when shorter.
std::optional<uint32_t> Signature(const Bytes& File);

// What one client is sent: a delta or the whole file of one type.
struct Update {
    int Type = 0;
    bool Delta = false;
    uint32_t From = 0;  // the client's signature
    std::shared_ptr<const Bytes> Data;
};

class UpdateStore {
  public:
    // Reads the current files from DataFolder (a missing one is simply not
    // offered), keeps a copy of each in UpdatesFolder under
    // "<name>.<signature in 8 hex digits>" unless a file of that signature is
    // there already, and builds a delta from every older version found there
    // (files named "<name>.<anything>"). Problems are logged, never thrown: a
    // file that cannot be read offers no update, or only whole files.
    void Load(const std::string& DataFolder, const std::string& UpdatesFolder);
    void Clear();

    // The first update (in the order Vorna.dat, .spr, .pic) that a client
    // with these signatures needs, or nullopt when it is up to date.
    std::optional<Update> Find(const std::array<uint32_t, 3>& Signatures) const;

    bool Offers(int Type) const;
    uint32_t CurrentSignature(int Type) const;
    // The delta kept for an older signature; nullptr when there is none.
    std::shared_ptr<const Bytes> DeltaFrom(int Type, uint32_t OldSignature) const;

  private:
    struct Current {
        bool Present = false;
        uint32_t Signature = 0;
        std::shared_ptr<const Bytes> Whole;
        std::map<uint32_t, std::shared_ptr<const Bytes>> Deltas;
    };
    void LoadType(int Type, const std::string& DataFolder, const std::string& UpdatesFolder);
    std::array<Current, 4> Files;  // index by type; 0 unused
};

}  // namespace server::updates
