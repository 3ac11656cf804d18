// Recording and replaying a whole game.
//
// Everything that reaches the client from outside passes through a few seams:
// the platform's events and queries (clock, pointer, sizes, clipboard, wall
// clock) and the connection layer's completions (look-ups, connects, received
// bytes, closes). While recording, each such call is counted and what it
// returned is written when it differs from what the previous call of the same
// kind returned, together with the call's number. A replay makes the same
// calls in the same order (the core is single-threaded and reads nothing
// else), so each recorded answer is handed back at the call with the same
// number. What the client sends is not an input: it is compared with what was
// sent while recording, and the first difference is reported.
//
// File layout (all numbers little-endian):
//   header   "VORNAREC", u16 version, u16 0, u32 length of the header body,
//            body: u32 start clock, i64 wall clock (s), i32 UTC offset (s),
//            u8 data file count, each {str name, u64 FNV-1a hash},
//            u8 setting count, each {str key, str value}   (str: u32 length, bytes)
//   blocks   "BLK" 0x01, u32 payload length, u32 CRC-32 of the payload, payload
//   payload  records: u8 kind, zigzag varint time delta (ms), varint call
//            number delta, varint data length, data
// Blocks are written at least once a second, so a crash loses at most the
// last second of the game.
#pragma once

#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace platform::recording {

inline constexpr char MAGIC[8] = {'V', 'O', 'R', 'N', 'A', 'R', 'E', 'C'};
inline constexpr char BLOCK_MAGIC[4] = {'B', 'L', 'K', 1};
inline constexpr uint16_t VERSION = 1;
inline constexpr uint32_t MAX_HEADER = 1 << 20;
inline constexpr uint32_t MAX_BLOCK = 1 << 22;
inline constexpr uint32_t MAX_RECORD_DATA = 1 << 20;
inline constexpr int FLUSH_INTERVAL = 1000;  // milliseconds of real time between blocks

enum class Kind : uint8_t {
    Clock = 1,       // the clock read a new time (the record's time)
    Event = 2,       // a platform event handed to the core
    Query = 3,       // u8 query, then zigzag varint values
    Text = 4,        // u8 query, then the text
    Network = 5,     // u8 network event, zigzag varint code, bytes
    Send = 6,        // a packet the client sent (secret fields blanked)
    Checkpoint = 7,  // varint frame number, u64 frame hash
    End = 8,         // the recording was closed in order
};
inline constexpr int LAST_KIND = 8;

enum class Query : uint8_t {
    Pointer = 1, ClientSize, ScreenSize, UsableArea, WindowGeometry, RefreshRate, ClipboardHasText, DisplayModes,
    WallClock, Random, ClipboardText,
};

enum class NetworkEvent : uint8_t { Lookup = 1, Connect = 2, Read = 3, Close = 4 };

struct DataFile {
    std::string Name;
    uint64_t Hash = 0;
};

struct Header {
    uint32_t StartClock = 0;
    int64_t WallClock = 0;
    int32_t UtcOffset = 0;
    std::vector<DataFile> Files;
    std::vector<std::pair<std::string, std::string>> Settings;
    // The value of a setting, or the fallback when it was not recorded.
    std::string Setting(const std::string& Key, const std::string& Fallback = "") const;
};

struct Record {
    Kind RecordKind = Kind::Clock;
    uint32_t Time = 0;
    uint64_t Call = 0;
    uint32_t Offset = 0, Length = 0;  // of the data, in Recording::Data
};

// A recording as read from a file. A damaged file keeps the records of the
// blocks before the damage; Error then says what was wrong and where.
struct Recording {
    Header Head;
    std::vector<Record> Records;
    std::vector<uint8_t> Data;
    bool HeaderRead = false;
    std::string Error;        // empty when the whole file was sound
    uint64_t ErrorPosition = 0;  // byte offset in the file where reading stopped
    bool EndedInOrder = false;   // an End record closes it
    const uint8_t* DataOf(const Record& R) const { return Data.data() + R.Offset; }
};

// Reads a recording from memory; never throws, whatever the bytes are.
Recording ReadRecording(const uint8_t* Bytes, size_t Size);
// Reads a file; a file that cannot be opened gives Error with position 0.
Recording LoadRecording(const std::string& Path);

uint64_t HashBytes(const uint8_t* Bytes, size_t Size, uint64_t Seed = 14695981039346656037ull);
uint64_t HashFile(const std::string& Path);  // 0 when it cannot be read
// The hash of a frame's pixels (the colour bits only) and its size.
uint64_t HashFrame(const uint32_t* Pixels, int Width, int Height, int Pitch);
uint32_t Crc32(const uint8_t* Bytes, size_t Size);

// Appends records to a file block by block.
class Writer {
  public:
    ~Writer();
    bool Open(const std::string& Path, const Header& Head, std::string* Error);
    // The record's data is copied into the current block at once.
    void Add(Kind RecordKind, uint32_t Time, uint64_t Call, const uint8_t* Data, size_t Length);
    // Writes the current block when a second has passed since the last one.
    void FlushIfDue();
    void Flush();
    void Close();
    bool IsOpen() const { return File != nullptr; }
    uint64_t BytesWritten() const { return Written; }

  private:
    std::FILE* File = nullptr;
    std::vector<uint8_t> Block;
    uint32_t LastTime = 0;
    uint64_t LastCall = 0;
    uint64_t Written = 0;
    int64_t LastFlush = 0;
};

// Small encoders shared by the session and the tests.
void PutVarint(std::vector<uint8_t>& Out, uint64_t Value);
void PutSigned(std::vector<uint8_t>& Out, int64_t Value);
// Reads from [Bytes, End); false when the value runs past the end or is too long.
bool GetVarint(const uint8_t*& Bytes, const uint8_t* End, uint64_t& Value);
bool GetSigned(const uint8_t*& Bytes, const uint8_t* End, int64_t& Value);
void EncodeEvent(std::vector<uint8_t>& Out, const Event& E);
bool DecodeEvent(const uint8_t* Bytes, size_t Length, Event& E);

}  // namespace platform::recording

namespace platform {

enum class SessionMode { Live, Recording, Replaying };
SessionMode GetSessionMode();

// Starts writing a recording. The header's files and settings are given by
// the caller; the clocks and the time zone are filled in here.
bool StartRecording(const std::string& Path, recording::Header Head, std::string* Error);
// Starts replaying: Speed 1 is as recorded, N times as fast, 0 as fast as
// possible. Frames at the recorded checkpoints are written as PNG files to
// ShotsDir when it is not empty (both while recording and while replaying).
void StartReplay(recording::Recording&& Recorded, double Speed);
void SetCheckpointShots(const std::string& Directory);
void SetCheckpointInterval(int Milliseconds);
// Closes the recording (with an End record) or ends the replay.
void EndSession();

// Whether the replay has handed out every record.
bool ReplayFinished();
struct ReplayReport {
    int Sends = 0, SendsChecked = 0;
    std::string SendDifference;  // the first one, with its time; empty when all matched
    std::string Divergence;      // the first input taken at another call than recorded
    int Checkpoints = 0, CheckpointsMatched = 0;
    std::string CheckpointDifference;  // the first frame that differed from the recorded one
    std::vector<std::pair<int, uint64_t>> Frames;  // frame number and hash at each checkpoint
    uint32_t LastTime = 0;  // milliseconds from the start to the last clock record handed out
};
const ReplayReport& GetReplayReport();

// A password field has the keyboard: typed characters are recorded as '*'.
void SetSecretInput(bool Secret);

// The wall clock in seconds since 1970 (recorded and replayed like the clock).
int64_t WallClock();
// A random number (recorded and replayed).
int Random();

// The connection layer's seams.
void CountNetworkPoll();
void RecordNetworkEvent(recording::NetworkEvent Event, int Code, const uint8_t* Bytes, size_t Count);
// Replay: the next recorded completion due at this point; Bytes stay valid
// until the next call.
bool TakeNetworkEvent(recording::NetworkEvent& Event, int& Code, const uint8_t*& Bytes, size_t& Count);
// A packet the client sends (secret fields already blanked).
void CheckSend(const uint8_t* Bytes, size_t Count);

// A program that plays the server itself in the same process (the random
// player): while its script is installed the connection layer opens no
// socket, as in a replay, and takes its completions from the script instead,
// which also sees every packet the client sends. A recording made meanwhile
// keeps the completions like any others, so it replays without the script.
class NetworkScript {
  public:
    virtual ~NetworkScript() = default;
    // The connection layer started a look-up (Lookup) or a connect (Connect),
    // or dropped its socket (Close).
    virtual void Requested(recording::NetworkEvent What) = 0;
    // The next completion due now; false when there is none.
    virtual bool Next(recording::NetworkEvent& What, int& Code, std::vector<uint8_t>& Bytes) = 0;
    // A packet the client sent, as a recording keeps it.
    virtual void Sent(const uint8_t* Bytes, size_t Count) = 0;
};
// Only while recording; nullptr removes it.
void SetNetworkScript(NetworkScript* Script);
// Whether the connection layer's completions come from the session (a
// replay or a script) rather than from a socket.
bool NetworkFromSession();
void NetworkRequested(recording::NetworkEvent What);
// Writes what has been recorded so far, so that a crash loses nothing.
void FlushRecording();
// The random numbers and the wall clock from a seed instead of the system,
// so that a session can be played again from the seed alone (0: the system's).
void SetSessionSeed(uint32_t Seed, int64_t WallClock);

}  // namespace platform
