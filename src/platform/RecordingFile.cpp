// The recording file: hashes, encoders, the block writer and the reader.
// The reader trusts nothing in the file: every length is checked against
// what is left before it is used, and a damaged file ends reading with a
// message that says where.
#include "platform/Recording.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace platform::recording {

// ---- Hashes -------------------------------------------------------------------------------

uint64_t HashBytes(const uint8_t* Bytes, size_t Size, uint64_t Seed) {
    uint64_t Hash = Seed;
    for (size_t i = 0; i < Size; ++i) {
        Hash ^= Bytes[i];
        Hash *= 1099511628211ull;
    }
    return Hash;
}

uint64_t HashFile(const std::string& Path) {
    std::FILE* File = std::fopen(Path.c_str(), "rb");
    if (!File) return 0;
    uint64_t Hash = 14695981039346656037ull;
    uint8_t Buffer[65536];
    size_t Count;
    while ((Count = std::fread(Buffer, 1, sizeof Buffer, File)) > 0) Hash = HashBytes(Buffer, Count, Hash);
    std::fclose(File);
    return Hash;
}

uint64_t HashFrame(const uint32_t* Pixels, int Width, int Height, int Pitch) {
    uint64_t Hash = 14695981039346656037ull;
    const uint32_t Size[2] = {uint32_t(Width), uint32_t(Height)};
    Hash = HashBytes(reinterpret_cast<const uint8_t*>(Size), sizeof Size, Hash);
    for (int y = 0; y < Height; ++y) {
        const uint32_t* Row = Pixels + size_t(y) * size_t(Pitch);
        for (int x = 0; x < Width; ++x) {
            // The byte above the colour is not part of the picture.
            const uint32_t Colour = Row[x] & 0xFFFFFFu;
            Hash = (Hash ^ Colour) * 1099511628211ull;
        }
    }
    return Hash;
}

uint32_t Crc32(const uint8_t* Bytes, size_t Size) {
    static uint32_t Table[256];
    static bool Ready = false;
    if (!Ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            Table[i] = c;
        }
        Ready = true;
    }
    uint32_t Crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < Size; ++i) Crc = Table[(Crc ^ Bytes[i]) & 255] ^ (Crc >> 8);
    return Crc ^ 0xFFFFFFFFu;
}

// ---- Encoders -----------------------------------------------------------------------------

void PutVarint(std::vector<uint8_t>& Out, uint64_t Value) {
    while (Value >= 0x80) {
        Out.push_back(uint8_t(Value | 0x80));
        Value >>= 7;
    }
    Out.push_back(uint8_t(Value));
}

void PutSigned(std::vector<uint8_t>& Out, int64_t Value) {
    PutVarint(Out, (uint64_t(Value) << 1) ^ uint64_t(Value >> 63));
}

bool GetVarint(const uint8_t*& Bytes, const uint8_t* End, uint64_t& Value) {
    Value = 0;
    for (int Shift = 0; Shift < 64; Shift += 7) {
        if (Bytes >= End) return false;
        const uint8_t b = *Bytes++;
        Value |= uint64_t(b & 0x7F) << Shift;
        if (!(b & 0x80)) return true;
    }
    return false;
}

bool GetSigned(const uint8_t*& Bytes, const uint8_t* End, int64_t& Value) {
    uint64_t Raw;
    if (!GetVarint(Bytes, End, Raw)) return false;
    Value = int64_t(Raw >> 1) ^ -int64_t(Raw & 1);
    return true;
}

void EncodeEvent(std::vector<uint8_t>& Out, const Event& E) {
    Out.push_back(uint8_t(E.Kind));
    Out.push_back(uint8_t(E.KeyCode));
    Out.push_back(uint8_t((E.Extended ? 1 : 0) | (E.Active ? 2 : 0) | (E.ShiftHeld ? 4 : 0) |
                          (E.ControlHeld ? 8 : 0) | (E.AltHeld ? 16 : 0)));
    for (int Value : {E.Character, E.X, E.Y, E.Button, E.Delta, E.Width, E.Height}) PutSigned(Out, Value);
}

bool DecodeEvent(const uint8_t* Bytes, size_t Length, Event& E) {
    const uint8_t* End = Bytes + Length;
    if (Length < 3) return false;
    if (Bytes[0] > uint8_t(EventKind::Quit) || Bytes[1] > uint8_t(Key::KeypadCenter)) return false;
    E = Event{};
    E.Kind = EventKind(Bytes[0]);
    E.KeyCode = Key(Bytes[1]);
    E.Extended = Bytes[2] & 1;
    E.Active = Bytes[2] & 2;
    E.ShiftHeld = Bytes[2] & 4;
    E.ControlHeld = Bytes[2] & 8;
    E.AltHeld = Bytes[2] & 16;
    const uint8_t* p = Bytes + 3;
    int* Fields[] = {&E.Character, &E.X, &E.Y, &E.Button, &E.Delta, &E.Width, &E.Height};
    for (int* Field : Fields) {
        int64_t Value;
        if (!GetSigned(p, End, Value) || Value < INT32_MIN || Value > INT32_MAX) return false;
        *Field = int(Value);
    }
    return p == End;
}

std::string Header::Setting(const std::string& Key, const std::string& Fallback) const {
    for (const auto& [k, v] : Settings)
        if (k == Key) return v;
    return Fallback;
}

// ---- Writer -------------------------------------------------------------------------------

namespace {
int64_t RealMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Put16(std::vector<uint8_t>& Out, uint32_t v) {
    Out.push_back(uint8_t(v));
    Out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& Out, uint32_t v) {
    Put16(Out, v & 0xFFFF);
    Put16(Out, v >> 16);
}
void Put64(std::vector<uint8_t>& Out, uint64_t v) {
    Put32(Out, uint32_t(v));
    Put32(Out, uint32_t(v >> 32));
}
void PutText(std::vector<uint8_t>& Out, const std::string& s) {
    Put32(Out, uint32_t(s.size()));
    Out.insert(Out.end(), s.begin(), s.end());
}
}  // namespace

Writer::~Writer() { Close(); }

bool Writer::Open(const std::string& Path, const Header& Head, std::string* Error) {
    Close();
    File = std::fopen(Path.c_str(), "wb");
    if (!File) {
        if (Error) *Error = "cannot write " + Path + ": " + std::strerror(errno);
        return false;
    }
    std::vector<uint8_t> Body;
    Put32(Body, Head.StartClock);
    Put64(Body, uint64_t(Head.WallClock));
    Put32(Body, uint32_t(Head.UtcOffset));
    Body.push_back(uint8_t(Head.Files.size()));
    for (const DataFile& F : Head.Files) {
        PutText(Body, F.Name);
        Put64(Body, F.Hash);
    }
    Body.push_back(uint8_t(Head.Settings.size()));
    for (const auto& [Key, Value] : Head.Settings) {
        PutText(Body, Key);
        PutText(Body, Value);
    }
    std::vector<uint8_t> Out(MAGIC, MAGIC + 8);
    Put16(Out, VERSION);
    Put16(Out, 0);
    Put32(Out, uint32_t(Body.size()));
    Out.insert(Out.end(), Body.begin(), Body.end());
    std::fwrite(Out.data(), 1, Out.size(), File);
    std::fflush(File);
    Written = Out.size();
    LastTime = Head.StartClock;
    LastCall = 0;
    LastFlush = RealMilliseconds();
    Block.clear();
    Block.reserve(65536);
    return true;
}

void Writer::Add(Kind RecordKind, uint32_t Time, uint64_t Call, const uint8_t* Data, size_t Length) {
    if (!File) return;
    Block.push_back(uint8_t(RecordKind));
    PutSigned(Block, int64_t(int32_t(Time - LastTime)));
    PutVarint(Block, Call - LastCall);
    PutVarint(Block, Length);
    if (Length) Block.insert(Block.end(), Data, Data + Length);
    LastTime = Time;
    LastCall = Call;
    if (Block.size() >= MAX_BLOCK / 2) Flush();
}

void Writer::FlushIfDue() {
    if (File && !Block.empty() && RealMilliseconds() - LastFlush >= FLUSH_INTERVAL) Flush();
}

void Writer::Flush() {
    if (!File) return;
    LastFlush = RealMilliseconds();
    if (Block.empty()) return;
    std::vector<uint8_t> Head(BLOCK_MAGIC, BLOCK_MAGIC + 4);
    Put32(Head, uint32_t(Block.size()));
    Put32(Head, Crc32(Block.data(), Block.size()));
    std::fwrite(Head.data(), 1, Head.size(), File);
    std::fwrite(Block.data(), 1, Block.size(), File);
    std::fflush(File);
    Written += Head.size() + Block.size();
    Block.clear();
}

void Writer::Close() {
    if (!File) return;
    Flush();
    std::fclose(File);
    File = nullptr;
}

// ---- Reader -------------------------------------------------------------------------------

namespace {
struct Cursor {
    const uint8_t* Start;
    const uint8_t* P;
    const uint8_t* End;
    size_t Left() const { return size_t(End - P); }
    uint64_t Position() const { return uint64_t(P - Start); }
    bool Take(size_t n, const uint8_t*& Out) {
        if (Left() < n) return false;
        Out = P;
        P += n;
        return true;
    }
    bool U8(uint8_t& v) {
        const uint8_t* b;
        if (!Take(1, b)) return false;
        v = b[0];
        return true;
    }
    bool U16(uint32_t& v) {
        const uint8_t* b;
        if (!Take(2, b)) return false;
        v = uint32_t(b[0] | (b[1] << 8));
        return true;
    }
    bool U32(uint32_t& v) {
        const uint8_t* b;
        if (!Take(4, b)) return false;
        v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        return true;
    }
    bool U64(uint64_t& v) {
        uint32_t lo, hi;
        if (!U32(lo) || !U32(hi)) return false;
        v = uint64_t(hi) << 32 | lo;
        return true;
    }
    bool Text(std::string& s, size_t Limit) {
        uint32_t n;
        const uint8_t* b;
        if (!U32(n) || n > Limit || !Take(n, b)) return false;
        s.assign(reinterpret_cast<const char*>(b), n);
        return true;
    }
};

bool Fail(Recording& R, const std::string& Message, uint64_t Position) {
    R.Error = Message + " at byte " + std::to_string(Position);
    R.ErrorPosition = Position;
    return false;
}

bool ReadHeader(Cursor& C, Recording& R) {
    const uint8_t* Magic;
    if (!C.Take(8, Magic)) return Fail(R, "not a recording: the file is too short", C.Position());
    if (std::memcmp(Magic, MAGIC, 8) != 0) return Fail(R, "not a recording: wrong magic", 0);
    uint32_t Version, Reserved, Length;
    if (!C.U16(Version) || !C.U16(Reserved) || !C.U32(Length))
        return Fail(R, "truncated header", C.Position());
    if (Version != VERSION)
        return Fail(R, "recording version " + std::to_string(Version) + " is not supported (this program reads " +
                           std::to_string(VERSION) + ")",
                    8);
    if (Length > MAX_HEADER) return Fail(R, "corrupted header: length " + std::to_string(Length), 12);
    if (C.Left() < Length) return Fail(R, "truncated header", C.Position());
    Cursor H{C.Start, C.P, C.P + Length};
    C.P += Length;
    uint32_t Offset;
    uint64_t Wall;
    uint8_t Count;
    Header& Head = R.Head;
    if (!H.U32(Head.StartClock) || !H.U64(Wall) || !H.U32(Offset) || !H.U8(Count))
        return Fail(R, "corrupted header", H.Position());
    Head.WallClock = int64_t(Wall);
    Head.UtcOffset = int32_t(Offset);
    for (int i = 0; i < Count; ++i) {
        DataFile F;
        if (!H.Text(F.Name, 256) || !H.U64(F.Hash)) return Fail(R, "corrupted header (data files)", H.Position());
        Head.Files.push_back(F);
    }
    if (!H.U8(Count)) return Fail(R, "corrupted header", H.Position());
    for (int i = 0; i < Count; ++i) {
        std::string Key, Value;
        if (!H.Text(Key, 256) || !H.Text(Value, MAX_HEADER)) return Fail(R, "corrupted header (settings)", H.Position());
        Head.Settings.emplace_back(Key, Value);
    }
    R.HeaderRead = true;
    return true;
}

// Parses one verified block's records; on a fault nothing of the block is kept.
bool ReadBlock(const uint8_t* Block, uint32_t Size, uint64_t BlockPosition, Recording& R, uint32_t& Time,
               uint64_t& Call) {
    const size_t KeepRecords = R.Records.size(), KeepData = R.Data.size();
    const uint8_t* P = Block;
    const uint8_t* End = Block + Size;
    auto Bad = [&](const char* What) {
        R.Records.resize(KeepRecords);
        R.Data.resize(KeepData);
        return Fail(R, std::string("corrupted record (") + What + ")", BlockPosition + uint64_t(P - Block));
    };
    while (P < End) {
        const uint8_t KindByte = *P;
        if (KindByte < 1 || KindByte > LAST_KIND) return Bad("unknown kind");
        ++P;
        int64_t TimeDelta;
        uint64_t CallDelta, Length;
        if (!GetSigned(P, End, TimeDelta) || !GetVarint(P, End, CallDelta) || !GetVarint(P, End, Length))
            return Bad("header");
        if (TimeDelta < INT32_MIN || TimeDelta > INT32_MAX) return Bad("time");
        if (Length > MAX_RECORD_DATA || Length > uint64_t(End - P)) return Bad("length");
        if (Call + CallDelta < Call) return Bad("call number");
        Time += uint32_t(int32_t(TimeDelta));
        Call += CallDelta;
        Record Rec;
        Rec.RecordKind = Kind(KindByte);
        Rec.Time = Time;
        Rec.Call = Call;
        Rec.Offset = uint32_t(R.Data.size());
        Rec.Length = uint32_t(Length);
        R.Data.insert(R.Data.end(), P, P + Length);
        P += Length;
        R.Records.push_back(Rec);
        if (Rec.RecordKind == Kind::End) R.EndedInOrder = true;
    }
    return true;
}
}  // namespace

Recording ReadRecording(const uint8_t* Bytes, size_t Size) {
    Recording R;
    Cursor C{Bytes, Bytes, Bytes + Size};
    if (!ReadHeader(C, R)) return R;
    uint32_t Time = R.Head.StartClock;
    uint64_t Call = 0;
    while (C.Left() > 0) {
        const uint64_t BlockPosition = C.Position();
        if (R.EndedInOrder) {
            Fail(R, "data after the end of the recording", BlockPosition);
            return R;
        }
        const uint8_t* Magic;
        uint32_t Length, Crc;
        if (!C.Take(4, Magic) || !C.U32(Length) || !C.U32(Crc)) {
            Fail(R, "truncated block header", BlockPosition);
            return R;
        }
        if (std::memcmp(Magic, BLOCK_MAGIC, 4) != 0) {
            Fail(R, "corrupted block (no block mark)", BlockPosition);
            return R;
        }
        if (Length > MAX_BLOCK) {
            Fail(R, "corrupted block (length " + std::to_string(Length) + ")", BlockPosition);
            return R;
        }
        const uint8_t* Block;
        if (!C.Take(Length, Block)) {
            Fail(R, "truncated block (" + std::to_string(C.Left()) + " of " + std::to_string(Length) + " bytes)",
                 BlockPosition);
            return R;
        }
        if (Crc32(Block, Length) != Crc) {
            Fail(R, "corrupted block (checksum)", BlockPosition);
            return R;
        }
        if (!ReadBlock(Block, Length, BlockPosition + 12, R, Time, Call)) return R;
    }
    return R;
}

Recording LoadRecording(const std::string& Path) {
    std::FILE* File = std::fopen(Path.c_str(), "rb");
    if (!File) {
        Recording R;
        R.Error = "cannot open " + Path + ": " + std::strerror(errno);
        return R;
    }
    std::vector<uint8_t> Bytes;
    uint8_t Buffer[65536];
    size_t Count;
    while ((Count = std::fread(Buffer, 1, sizeof Buffer, File)) > 0) Bytes.insert(Bytes.end(), Buffer, Buffer + Count);
    std::fclose(File);
    return ReadRecording(Bytes.data(), Bytes.size());
}

}  // namespace platform::recording
