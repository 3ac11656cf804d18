// The recording and replay session: which calls are inputs, what is written
// for each while recording, and what each gets back while replaying.
//
// Sections: state; recording; replay cursor; the seams (clock, events,
// queries, network, sends, frames); session control.
#include "platform/Recording.h"

#include "platform/PlatformBackend.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <random>
#include <thread>

namespace platform {

using namespace recording;

namespace {

// ---- State: set by StartRecording or StartReplay, cleared by EndSession --------------------

constexpr int QUERY_SLOTS = 16;
constexpr int MAX_QUERY_VALUES = 96;

SessionMode Mode = SessionMode::Live;
uint64_t Calls = 0;     // inputs taken so far
uint32_t Now = 0;       // the clock as last recorded or replayed
int Frames = 0;         // frames presented
int CheckpointInterval = 5000;
uint32_t NextCheckpointTime = 0;
std::string ShotsDir;
ReplayReport Report;

// Recording.
Writer Out;
std::vector<uint8_t> Scratch;
int LastValues[QUERY_SLOTS][MAX_QUERY_VALUES];
int LastCount[QUERY_SLOTS];  // -1: not recorded yet
std::string LastClipboard;
bool ClipboardRecorded = false;
bool Secret = false;

// Replay.
Recording In;
size_t Head = 0;
std::vector<size_t> Sends, Checkpoints;
size_t NextSend = 0, NextCheckpoint = 0;
std::deque<Event> LateEvents;
std::deque<size_t> LateNetwork;
double Speed = 1;
std::chrono::steady_clock::time_point RealStart;
bool ViewerClosed = false;
std::string PlayerZone;  // the time zone before the replay took the recording's
bool PlayerZoneSet = false;
std::vector<uint8_t> ShownPacket;

// A scripted server, and the seed that stands in for the system's randomness.
NetworkScript* Script = nullptr;
std::vector<uint8_t> ScriptBytes;
bool Seeded = false;
std::mt19937 SeededGenerator;
int64_t SeededWallClock = 0;

std::string TimeText(uint32_t Time) {
    char Text[32];
    const uint32_t Elapsed = Time - In.Head.StartClock;
    std::snprintf(Text, sizeof Text, "%u.%03u s", Elapsed / 1000, Elapsed % 1000);
    return Text;
}

// ---- Recording ------------------------------------------------------------------------------

void Write(Kind K, const uint8_t* Data, size_t Length) { Out.Add(K, Now, Calls, Data, Length); }

// ---- Replay cursor --------------------------------------------------------------------------

void Diverged(const std::string& What) {
    if (Report.Divergence.empty()) {
        Report.Divergence = What;
        std::fprintf(stderr, "vorna: replay: %s\n", What.c_str());
    }
}

void Pace(uint32_t Time) {
    if (Speed <= 0) return;
    const double Due = double(uint32_t(Time - In.Head.StartClock)) / Speed;
    const auto Target = RealStart + std::chrono::microseconds(int64_t(Due * 1000));
    const auto Real = std::chrono::steady_clock::now();
    if (Target > Real) std::this_thread::sleep_for(Target - Real);
}

void ApplyClock(const Record& R) {
    Now = R.Time;
    Report.LastTime = R.Time - In.Head.StartClock;
    Pace(R.Time);
}

void ApplyQuery(const Record& R) {
    const uint8_t* p = In.DataOf(R);
    const uint8_t* End = p + R.Length;
    if (R.Length < 1 || p[0] >= QUERY_SLOTS) return;
    const int Slot = p[0];
    if (R.RecordKind == Kind::Text) {
        LastClipboard.assign(reinterpret_cast<const char*>(p + 1), R.Length - 1);
        ClipboardRecorded = true;
        return;
    }
    ++p;
    int Count = 0;
    int64_t Value;
    while (p < End && Count < MAX_QUERY_VALUES && GetSigned(p, End, Value)) LastValues[Slot][Count++] = int(Value);
    LastCount[Slot] = Count;
}

// Records whose call has passed without taking them: the replay has gone its
// own way. Values are taken over at once, events and completions wait for the
// next call that can take them; the first such record is reported.
void CatchUp() {
    while (Head < In.Records.size()) {
        const Record& R = In.Records[Head];
        if (R.RecordKind == Kind::Send || R.RecordKind == Kind::Checkpoint || R.RecordKind == Kind::End) {
            ++Head;
            continue;
        }
        if (R.Call >= Calls) return;
        Diverged("input of kind " + std::to_string(int(R.RecordKind)) + " recorded at " + TimeText(R.Time) +
                 " was not asked for in time");
        switch (R.RecordKind) {
        case Kind::Clock: ApplyClock(R); break;
        case Kind::Query:
        case Kind::Text: ApplyQuery(R); break;
        case Kind::Event: {
            Event E;
            if (DecodeEvent(In.DataOf(R), R.Length, E)) LateEvents.push_back(E);
            break;
        }
        case Kind::Network: LateNetwork.push_back(Head); break;
        default: break;
        }
        ++Head;
    }
}

// The record due at this very call, if it is of the kind asked for.
const Record* Due(Kind K) {
    CatchUp();
    if (Head >= In.Records.size()) return nullptr;
    const Record& R = In.Records[Head];
    if (R.RecordKind != K || R.Call != Calls) return nullptr;
    ++Head;
    return &R;
}

int SlotOf(Query Q) { return int(Q) % QUERY_SLOTS; }

}  // namespace

// ---- The seams ------------------------------------------------------------------------------

namespace session {

bool Active() { return Mode != SessionMode::Live; }
bool Replaying() { return Mode == SessionMode::Replaying; }

uint32_t Clock(uint32_t Real) {
    ++Calls;
    if (Mode == SessionMode::Recording) {
        if (Real != Now) {
            Now = Real;
            Write(Kind::Clock, nullptr, 0);
        }
        return Real;
    }
    if (const Record* R = Due(Kind::Clock)) ApplyClock(*R);
    return Now;
}

bool PollEvent(Event& E, bool Got) {
    ++Calls;
    if (Mode == SessionMode::Recording) {
        if (Got) {
            Event Shown = E;
            const bool Typed = E.Kind == EventKind::Text || (E.Kind == EventKind::KeyDown && E.KeyCode == Key::Character);
            if (Secret && Typed && Shown.Character != 0) Shown.Character = '*';
            // Nobody reads the character of a released key; it is not kept.
            if (E.Kind == EventKind::KeyUp) Shown.Character = 0;
            Scratch.clear();
            EncodeEvent(Scratch, Shown);
            Write(Kind::Event, Scratch.data(), Scratch.size());
        }
        Out.FlushIfDue();
        return Got;
    }
    if (!LateEvents.empty()) {
        E = LateEvents.front();
        LateEvents.pop_front();
        return true;
    }
    if (const Record* R = Due(Kind::Event)) return DecodeEvent(In.DataOf(*R), R->Length, E);
    return false;
}

void ViewerClose() { ViewerClosed = true; }

void Query(recording::Query Q, int* Values, int Count) {
    ++Calls;
    const int Slot = SlotOf(Q);
    Count = std::min(Count, MAX_QUERY_VALUES);
    if (Mode == SessionMode::Recording) {
        if (LastCount[Slot] == Count && std::memcmp(LastValues[Slot], Values, sizeof(int) * size_t(Count)) == 0)
            return;
        LastCount[Slot] = Count;
        std::memcpy(LastValues[Slot], Values, sizeof(int) * size_t(Count));
        Scratch.clear();
        Scratch.push_back(uint8_t(Q));
        for (int i = 0; i < Count; ++i) PutSigned(Scratch, Values[i]);
        Write(Kind::Query, Scratch.data(), Scratch.size());
        return;
    }
    if (const Record* R = Due(Kind::Query)) ApplyQuery(*R);
    if (LastCount[Slot] >= 0) {
        for (int i = 0; i < Count; ++i) Values[i] = i < LastCount[Slot] ? LastValues[Slot][i] : 0;
    }
}

int QueryCount(recording::Query Q) { return LastCount[SlotOf(Q)]; }

void QueryText(std::string& Text) {
    ++Calls;
    if (Mode == SessionMode::Recording) {
        // The first character says whether the clipboard opened; the rest
        // is what a password field would take.
        std::string Shown = Text;
        if (Secret && Shown.size() > 1) Shown.replace(1, std::string::npos, Shown.size() - 1, '*');
        if (ClipboardRecorded && Shown == LastClipboard) return;
        LastClipboard = Shown;
        ClipboardRecorded = true;
        Scratch.assign(1, uint8_t(Query::ClipboardText));
        Scratch.insert(Scratch.end(), Shown.begin(), Shown.end());
        Write(Kind::Text, Scratch.data(), Scratch.size());
        return;
    }
    if (const Record* R = Due(Kind::Text)) ApplyQuery(*R);
    if (ClipboardRecorded) Text = LastClipboard;
}

void Frame(const uint32_t* Pixels, int Width, int Height, int Pitch) {
    ++Frames;
    if (Mode == SessionMode::Recording) {
        if (int32_t(Now - NextCheckpointTime) < 0) return;
        while (int32_t(Now - NextCheckpointTime) >= 0) NextCheckpointTime += uint32_t(CheckpointInterval);
    } else {
        while (NextCheckpoint < Checkpoints.size()) {
            const Record& R = In.Records[Checkpoints[NextCheckpoint]];
            const uint8_t* p = In.DataOf(R);
            uint64_t Frame;
            if (!GetVarint(p, p + R.Length, Frame) || int64_t(Frame) < Frames) {
                ++NextCheckpoint;  // a frame the replay did not show
                continue;
            }
            break;
        }
        if (NextCheckpoint >= Checkpoints.size()) return;
        const Record& R = In.Records[Checkpoints[NextCheckpoint]];
        const uint8_t* p = In.DataOf(R);
        const uint8_t* End = p + R.Length;
        uint64_t Frame = 0;
        GetVarint(p, End, Frame);
        if (int64_t(Frame) != Frames) return;
        ++NextCheckpoint;
        uint64_t Recorded = 0;
        if (End - p == 8)
            for (int i = 7; i >= 0; --i) Recorded = Recorded << 8 | p[i];
        const uint64_t Hash = HashFrame(Pixels, Width, Height, Pitch);
        ++Report.Checkpoints;
        if (Hash == Recorded)
            ++Report.CheckpointsMatched;
        else if (Report.CheckpointDifference.empty())
            Report.CheckpointDifference = "frame " + std::to_string(Frames) + " at " + TimeText(R.Time) +
                                          " differs from the recorded picture";
    }
    const uint64_t Hash = HashFrame(Pixels, Width, Height, Pitch);
    Report.Frames.emplace_back(Frames, Hash);
    if (Mode == SessionMode::Recording) {
        Scratch.clear();
        PutVarint(Scratch, uint64_t(Frames));
        for (int i = 0; i < 8; ++i) Scratch.push_back(uint8_t(Hash >> (8 * i)));
        Write(Kind::Checkpoint, Scratch.data(), Scratch.size());
    }
    if (!ShotsDir.empty()) {
        char Name[64];
        std::snprintf(Name, sizeof Name, "/checkpoint-%02d.png", int(Report.Frames.size()));
        WritePNG(ShotsDir + Name, Pixels, Width, Height, Pitch);
    }
}

}  // namespace session

// ---- Seams for the other modules ------------------------------------------------------------

SessionMode GetSessionMode() { return Mode; }

void SetSecretInput(bool S) { Secret = S; }

int64_t WallClock() {
    int Values[2] = {0, 0};
    if (Mode != SessionMode::Replaying) {
        // Seeded, the wall clock runs with the (recorded) clock from the given time.
        const int64_t Real = Seeded ? SeededWallClock + Now / 1000 : int64_t(std::time(nullptr));
        Values[0] = int(Real & 0x7FFFFFFF);
        Values[1] = int(Real >> 31);
        if (Mode == SessionMode::Live) return Real;
    }
    session::Query(Query::WallClock, Values, 2);
    return int64_t(Values[1]) << 31 | int64_t(uint32_t(Values[0]) & 0x7FFFFFFF);
}

int Random() {
    int Value = 0;
    if (Mode != SessionMode::Replaying) {
        static std::mt19937 Generator{std::random_device{}()};
        Value = int((Seeded ? SeededGenerator() : Generator()) & 0x7FFFFFFF);
        if (Mode == SessionMode::Live) return Value;
    }
    session::Query(Query::Random, &Value, 1);
    return Value;
}

void CountNetworkPoll() {
    if (Mode != SessionMode::Live) ++Calls;
}

void RecordNetworkEvent(NetworkEvent E, int Code, const uint8_t* Bytes, size_t Count) {
    if (Mode != SessionMode::Recording) return;
    Scratch.clear();
    Scratch.push_back(uint8_t(E));
    PutSigned(Scratch, Code);
    if (Count) Scratch.insert(Scratch.end(), Bytes, Bytes + Count);
    Write(Kind::Network, Scratch.data(), Scratch.size());
}

bool TakeNetworkEvent(NetworkEvent& E, int& Code, const uint8_t*& Bytes, size_t& Count) {
    if (Script != nullptr && Mode != SessionMode::Replaying) {
        ScriptBytes.clear();
        if (!Script->Next(E, Code, ScriptBytes)) return false;
        RecordNetworkEvent(E, Code, ScriptBytes.data(), ScriptBytes.size());
        Bytes = ScriptBytes.data();
        Count = ScriptBytes.size();
        return true;
    }
    if (Mode != SessionMode::Replaying) return false;
    const Record* R = nullptr;
    if (!LateNetwork.empty()) {
        R = &In.Records[LateNetwork.front()];
        LateNetwork.pop_front();
    } else {
        R = Due(Kind::Network);
    }
    if (!R) return false;
    const uint8_t* p = In.DataOf(*R);
    const uint8_t* End = p + R->Length;
    int64_t Value = 0;
    if (R->Length < 1 || p[0] < 1 || p[0] > 4) return false;
    E = NetworkEvent(*p++);
    if (!GetSigned(p, End, Value)) return false;
    Code = int(Value);
    Bytes = p;
    Count = size_t(End - p);
    return true;
}

void CheckSend(const uint8_t* Bytes, size_t Count) {
    if (Mode == SessionMode::Recording) {
        Write(Kind::Send, Bytes, Count);
        if (Script != nullptr) Script->Sent(Bytes, Count);
        return;
    }
    if (Mode != SessionMode::Replaying) return;
    ++Report.Sends;
    if (NextSend >= Sends.size()) {
        if (Report.SendDifference.empty())
            Report.SendDifference = "at " + TimeText(Now) + " the client sent a packet (command " +
                                    std::to_string(Count > 2 ? Bytes[2] : 0) + ") that was not sent while recording";
        return;
    }
    const Record& R = In.Records[Sends[NextSend++]];
    if (R.Length == Count && std::memcmp(In.DataOf(R), Bytes, Count) == 0) {
        ++Report.SendsChecked;
        return;
    }
    if (Report.SendDifference.empty()) {
        const uint8_t* Was = In.DataOf(R);
        size_t At = 0;
        while (At < Count && At < R.Length && Was[At] == Bytes[At]) ++At;
        Report.SendDifference = "at " + TimeText(Now) + " the client sent command " +
                                std::to_string(Count > 2 ? Bytes[2] : 0) + " (" + std::to_string(Count) +
                                " bytes) where it had sent command " + std::to_string(R.Length > 2 ? Was[2] : 0) +
                                " (" + std::to_string(R.Length) + " bytes) at " + TimeText(R.Time) +
                                "; first difference at byte " + std::to_string(At);
        std::fprintf(stderr, "vorna: replay: %s\n", Report.SendDifference.c_str());
    }
}

// ---- Session control ------------------------------------------------------------------------

namespace {
void Reset() {
    Calls = 0;
    Frames = 0;
    Report = ReplayReport();
    for (int& c : LastCount) c = -1;
    LastClipboard.clear();
    ClipboardRecorded = false;
    Secret = false;
    Head = NextSend = NextCheckpoint = 0;
    Sends.clear();
    Checkpoints.clear();
    LateEvents.clear();
    LateNetwork.clear();
    ViewerClosed = false;
}
}  // namespace

bool StartRecording(const std::string& Path, Header Head, std::string* Error) {
    EndSession();
    Reset();
    Now = Milliseconds();
    Head.StartClock = Now;
    Head.WallClock = Seeded ? SeededWallClock + Now / 1000 : int64_t(std::time(nullptr));
    std::tm Local{};
    const std::time_t T = std::time_t(Head.WallClock);
    localtime_r(&T, &Local);
    Head.UtcOffset = int32_t(Local.tm_gmtoff);
    if (!Out.Open(Path, Head, Error)) return false;
    NextCheckpointTime = Now + uint32_t(CheckpointInterval);
    Mode = SessionMode::Recording;
    return true;
}

void StartReplay(Recording&& Recorded, double ReplaySpeed) {
    EndSession();
    Reset();
    In = std::move(Recorded);
    for (size_t i = 0; i < In.Records.size(); ++i) {
        if (In.Records[i].RecordKind == Kind::Send) Sends.push_back(i);
        if (In.Records[i].RecordKind == Kind::Checkpoint) Checkpoints.push_back(i);
    }
    Now = In.Head.StartClock;
    Speed = ReplaySpeed;
    RealStart = std::chrono::steady_clock::now();
    // Times of day are shown in the recording's time zone.
    const int Offset = In.Head.UtcOffset;
    char Zone[32];
    std::snprintf(Zone, sizeof Zone, "REC%c%02d:%02d", Offset > 0 ? '-' : '+', std::abs(Offset) / 3600,
                  std::abs(Offset) / 60 % 60);
    const char* Previous = std::getenv("TZ");
    PlayerZoneSet = Previous != nullptr;
    PlayerZone = Previous ? Previous : "";
    setenv("TZ", Zone, 1);
    tzset();
    Mode = SessionMode::Replaying;
}

void SetCheckpointShots(const std::string& Directory) { ShotsDir = Directory; }
void SetCheckpointInterval(int Milliseconds) { CheckpointInterval = Milliseconds > 0 ? Milliseconds : 5000; }

void EndSession() {
    Script = nullptr;
    if (Mode == SessionMode::Recording) {
        Write(Kind::End, nullptr, 0);
        Out.Close();
    }
    if (Mode == SessionMode::Replaying) {
        if (PlayerZoneSet)
            setenv("TZ", PlayerZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    Mode = SessionMode::Live;
}

void SetNetworkScript(NetworkScript* NewScript) { Script = Mode == SessionMode::Recording ? NewScript : nullptr; }

bool NetworkFromSession() { return Mode == SessionMode::Replaying || Script != nullptr; }

void NetworkRequested(NetworkEvent What) {
    if (Script != nullptr && Mode != SessionMode::Replaying) Script->Requested(What);
}

void FlushRecording() {
    if (Mode == SessionMode::Recording) Out.Flush();
}

void SetSessionSeed(uint32_t Seed, int64_t Wall) {
    Seeded = Seed != 0;
    SeededGenerator.seed(Seed);
    SeededWallClock = Wall;
}

bool ReplayFinished() {
    if (Mode != SessionMode::Replaying) return false;
    if (ViewerClosed) return true;
    CatchUp();
    return Head >= In.Records.size() && LateEvents.empty() && LateNetwork.empty();
}

const ReplayReport& GetReplayReport() { return Report; }

}  // namespace platform
