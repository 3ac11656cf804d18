// Sections: delta writer; building deltas; applying deltas; the update store.
#include "server/Updates.h"

#include "server/Log.h"
#include "server/TextFile.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace server::updates {

namespace fs = std::filesystem;

const char* FileName(int Type) {
    switch (Type) {
    case OBJECTS_FILE: return "Vorna.dat";
    case SPRITES_FILE: return "Vorna.spr";
    case PICTURES_FILE: return "Vorna.pic";
    default: return "";
    }
}

std::optional<uint32_t> Signature(const Bytes& File) {
    if (File.size() < 4) return std::nullopt;
    return uint32_t(File[0]) | uint32_t(File[1]) << 8 | uint32_t(File[2]) << 16 | uint32_t(File[3]) << 24;
}

// ---- Delta writer ---------------------------------------------------------------------------

namespace {

bool CarriesData(uint8_t Op) { return (Op & DELTA_WRITE) != 0; }

// Collects instructions, joining one to the next of the same kind (for those
// that carry data, when the data follow on in the new file).
class DeltaWriter {
  public:
    explicit DeltaWriter(const Bytes& New) : New(New) {}
    void Copy(size_t Count) { Add(DELTA_COPY, Count, 0); }
    void Skip(size_t Count) { Add(DELTA_SKIP, Count, 0); }
    void Write(size_t From, size_t Count) { Add(DELTA_WRITE, Count, From); }
    void Replace(size_t From, size_t Count) { Add(DELTA_REPLACE, Count, From); }
    // A skip at the very end changes nothing in the result and is left out.
    Bytes Finish() {
        if (Pending.Op == DELTA_SKIP) Pending.Count = 0;
        Flush();
        return std::move(Out);
    }

  private:
    struct Instruction {
        uint8_t Op = DELTA_COPY;
        size_t Count = 0;
        size_t From = 0;
    };
    void Add(uint8_t Op, size_t Count, size_t From) {
        if (Count == 0) return;
        if (Pending.Count > 0 && Pending.Op == Op && (!CarriesData(Op) || Pending.From + Pending.Count == From)) {
            Pending.Count += Count;
            return;
        }
        Flush();
        Pending = {Op, Count, From};
    }
    void Flush() {
        while (Pending.Count > 0) {
            uint32_t C = uint32_t(std::min<size_t>(Pending.Count, UINT32_MAX));
            if (C <= 60) {
                Out.push_back(uint8_t(Pending.Op | C));
            } else if (C <= 0xFF) {
                Out.push_back(uint8_t(Pending.Op | 61));
                Out.push_back(uint8_t(C));
            } else if (C <= 0xFFFF) {
                Out.push_back(uint8_t(Pending.Op | 62));
                Out.push_back(uint8_t(C));
                Out.push_back(uint8_t(C >> 8));
            } else {
                Out.push_back(uint8_t(Pending.Op | 63));
                for (int Shift = 0; Shift < 32; Shift += 8) Out.push_back(uint8_t(C >> Shift));
            }
            if (CarriesData(Pending.Op)) {
                Out.insert(Out.end(), New.begin() + long(Pending.From), New.begin() + long(Pending.From + C));
                Pending.From += C;
            }
            Pending.Count -= C;
        }
    }
    const Bytes& New;
    Bytes Out;
    Instruction Pending;
};

// ---- Building deltas --------------------------------------------------------------------------

// Matches are looked for in rounds: first with long blocks, which seldom
// repeat even in pictures with runs of one colour, then with short blocks in
// the stretches left between them. Blocks of the old file are indexed at
// multiples of the block length, so every common run of at least twice the
// block length less one is found wherever it lies in the stretch.
constexpr size_t BLOCKS[] = {256, 64, 16};
// Candidates of one block tried, nearest to where the last match leads first;
// repeated content (runs of one colour) has many.
constexpr int CANDIDATES = 16;
// In a stretch between two matches, equal bytes at the same place are copied
// from this many on; fewer cost less written over.
constexpr size_t MIN_COPY_RUN = 3;
constexpr uint64_t HASH_BASE = 0x100000001B3ull;

struct Match {
    size_t Old = 0, New = 0, Length = 0;
};

uint64_t BlockHash(const uint8_t* Data, size_t Block) {
    uint64_t H = 0;
    for (size_t i = 0; i < Block; i++) H = H * HASH_BASE + Data[i];
    return H;
}

class DeltaBuilder {
  public:
    DeltaBuilder(const Bytes& Old, const Bytes& New) : Old(Old), New(New) {}

    Bytes Build() {
        DeltaWriter Out(New);
        Fill(Out, 0, Old.size(), 0, New.size(), 0);
        return Out.Finish();
    }

  private:
    // Writes the instructions that turn the old bytes [O0, O1) into the new
    // bytes [N0, N1), with the matches of the round and those of later
    // rounds between them.
    void Fill(DeltaWriter& Out, size_t O0, size_t O1, size_t N0, size_t N1, size_t Round) const {
        if (Round == std::size(BLOCKS)) {
            Between(Out, O0, O1, N0, N1);
            return;
        }
        std::vector<Match> Chain = Chosen(Candidates(BLOCKS[Round], O0, O1, N0, N1));
        size_t O = O0, N = N0;
        for (size_t k = 0; k < Chain.size(); k++) {
            Match M = Chain[k];
            // A match may grow into the stretches beside it once its
            // neighbours are known.
            while (M.Old > O && M.New > N && Old[M.Old - 1] == New[M.New - 1]) M.Old--, M.New--, M.Length++;
            size_t OldLimit = k + 1 < Chain.size() ? Chain[k + 1].Old : O1;
            size_t NewLimit = k + 1 < Chain.size() ? Chain[k + 1].New : N1;
            while (M.Old + M.Length < OldLimit && M.New + M.Length < NewLimit &&
                   Old[M.Old + M.Length] == New[M.New + M.Length])
                M.Length++;
            Fill(Out, O, M.Old, N, M.New, Round + 1);
            Out.Copy(M.Length);
            O = M.Old + M.Length;
            N = M.New + M.Length;
        }
        Fill(Out, O, O1, N, N1, Round + 1);
    }

    // Every long common run found walking through the new bytes [N0, N1),
    // each the longest among its candidates in the old bytes [O0, O1);
    // ordered by their place in the new file, not overlapping there.
    std::vector<Match> Candidates(size_t Block, size_t O0, size_t O1, size_t N0, size_t N1) const {
        std::vector<Match> Found;
        if (O1 - O0 < Block || N1 - N0 < Block) return Found;
        std::vector<std::pair<uint64_t, size_t>> Index;
        Index.reserve((O1 - O0) / Block);
        for (size_t p = O0; p + Block <= O1; p += Block) Index.push_back({BlockHash(&Old[p], Block), p});
        std::sort(Index.begin(), Index.end());
        // One bit per value of the hash's top bits: most blocks of a changed
        // stretch are in no bucket, and this says so without a search.
        int FilterLog = 6;
        while ((size_t(1) << FilterLog) < Index.size() * 16) FilterLog++;
        std::vector<uint64_t> Filter(size_t(1) << (FilterLog - 6));
        auto Bit = [FilterLog](uint64_t Hash) { return Hash >> (64 - FilterLog); };
        for (const auto& Entry : Index) Filter[Bit(Entry.first) / 64] |= 1ull << (Bit(Entry.first) % 64);

        uint64_t Top = 1;  // HASH_BASE^(Block-1): the weight of the byte leaving the window
        for (size_t i = 1; i < Block; i++) Top *= HASH_BASE;
        size_t Covered = N0;  // the new bytes are matched up to here
        long long Offset = (long long)O0 - (long long)N0;  // old minus new place of the last match
        size_t j = N0;
        uint64_t H = BlockHash(&New[j], Block);
        while (j + Block <= N1) {
            Match Best;
            if (Filter[Bit(H) / 64] & (1ull << (Bit(H) % 64))) {
                auto Range = std::equal_range(Index.begin(), Index.end(), std::make_pair(H, size_t(0)),
                                              [](const auto& a, const auto& b) { return a.first < b.first; });
                size_t Expected = size_t(std::max<long long>(0, (long long)j + Offset));
                auto Near = std::lower_bound(Range.first, Range.second, std::make_pair(H, Expected));
                auto Below = Near, Above = Near;
                for (int Tried = 0; Tried < CANDIDATES && (Below != Range.first || Above != Range.second); Tried++) {
                    // Alternate above and below the expected place, nearest first.
                    bool TakeAbove = Above != Range.second &&
                                     (Below == Range.first || Above->second - Expected <= Expected - (Below - 1)->second);
                    size_t p = TakeAbove ? (Above++)->second : (--Below)->second;
                    if (std::memcmp(&Old[p], &New[j], Block) != 0) continue;
                    Match M{p, j, Block};
                    while (M.Old > O0 && M.New > Covered && Old[M.Old - 1] == New[M.New - 1]) M.Old--, M.New--, M.Length++;
                    while (M.Old + M.Length < O1 && M.New + M.Length < N1 && Old[M.Old + M.Length] == New[M.New + M.Length])
                        M.Length++;
                    if (M.Length > Best.Length) Best = M;
                }
            }
            if (Best.Length > 0) {
                Found.push_back(Best);
                Covered = Best.New + Best.Length;
                Offset = (long long)Best.Old - (long long)Best.New;
                j = Covered;
                if (j + Block <= N1) H = BlockHash(&New[j], Block);
                continue;
            }
            if (j + Block < N1) H = (H - New[j] * Top) * HASH_BASE + New[j + Block];
            j++;
        }
        return Found;
    }

    // The heaviest chain of matches that runs forward through both files
    // (each starts in the old file where the one before ends or later).
    static std::vector<Match> Chosen(const std::vector<Match>& Found) {
        if (Found.empty()) return {};
        std::vector<size_t> Ends;
        for (const Match& M : Found) Ends.push_back(M.Old + M.Length);
        std::sort(Ends.begin(), Ends.end());
        Ends.erase(std::unique(Ends.begin(), Ends.end()), Ends.end());
        // Fenwick tree of the best chain weight ending at or before each end.
        struct Best {
            uint64_t Weight = 0;
            long Last = -1;
        };
        std::vector<Best> Tree(Ends.size() + 1);
        std::vector<long> Before(Found.size(), -1);
        Best Overall;
        for (size_t k = 0; k < Found.size(); k++) {
            const Match& M = Found[k];
            Best Prior;
            for (size_t i = size_t(std::upper_bound(Ends.begin(), Ends.end(), M.Old) - Ends.begin()); i > 0; i -= i & (~i + 1))
                if (Tree[i].Weight > Prior.Weight) Prior = Tree[i];
            Best Here{Prior.Weight + M.Length, long(k)};
            Before[k] = Prior.Last;
            size_t At = size_t(std::lower_bound(Ends.begin(), Ends.end(), M.Old + M.Length) - Ends.begin()) + 1;
            for (size_t i = At; i < Tree.size(); i += i & (~i + 1))
                if (Here.Weight > Tree[i].Weight) Tree[i] = Here;
            if (Here.Weight > Overall.Weight) Overall = Here;
        }
        std::vector<Match> Chain;
        for (long k = Overall.Last; k >= 0; k = Before[size_t(k)]) Chain.push_back(Found[size_t(k)]);
        std::reverse(Chain.begin(), Chain.end());
        return Chain;
    }

    // The old bytes [O0, O1) give way to the new bytes [N0, N1): what the two
    // have in common at the same place is copied, the rest written over;
    // whichever is longer is lined up at its start or at its end, as comes
    // out shorter.
    void Between(DeltaWriter& Out, size_t O0, size_t O1, size_t N0, size_t N1) const {
        size_t Common = std::min(O1 - O0, N1 - N0);
        if (Common == 0) {
            Out.Skip(O1 - O0);
            Out.Write(N0, N1 - N0);
            return;
        }
        auto Lined = [&](DeltaWriter& W, bool AtEnd) {
            if (AtEnd) {
                W.Skip(O1 - O0 - Common);
                W.Write(N0, N1 - N0 - Common);
                SamePlace(W, O1 - Common, N1 - Common, Common);
            } else {
                SamePlace(W, O0, N0, Common);
                W.Skip(O1 - O0 - Common);
                W.Write(N0 + Common, N1 - N0 - Common);
            }
        };
        bool AtEnd = false;
        if (O1 - O0 != N1 - N0) {
            DeltaWriter AtStart(New), AtFinish(New);
            Lined(AtStart, false);
            Lined(AtFinish, true);
            AtEnd = AtFinish.Finish().size() < AtStart.Finish().size();
        }
        Lined(Out, AtEnd);
    }

    void SamePlace(DeltaWriter& Out, size_t O, size_t N, size_t Count) const {
        size_t t = 0;
        while (t < Count) {
            bool Equal = Old[O + t] == New[N + t];
            size_t k = t;
            while (k < Count && (Old[O + k] == New[N + k]) == Equal) k++;
            if (Equal && k - t >= MIN_COPY_RUN)
                Out.Copy(k - t);
            else
                Out.Replace(N + t, k - t);
            t = k;
        }
    }

    const Bytes& Old;
    const Bytes& New;
};

}  // namespace

Bytes BuildDelta(const Bytes& Old, const Bytes& New) { return DeltaBuilder(Old, New).Build(); }

// ---- Applying deltas ------------------------------------------------------------------------

std::optional<Bytes> ApplyDelta(const Bytes& Old, const Bytes& Delta) {
    Bytes Result;
    size_t At = 0, Read = 0;
    auto Take = [&](size_t Count, uint32_t& Value) {
        if (Delta.size() - At < Count) return false;
        Value = 0;
        for (size_t i = 0; i < Count; i++) Value |= uint32_t(Delta[At++]) << (8 * i);
        return true;
    };
    while (At < Delta.size()) {
        uint8_t B = Delta[At++];
        uint32_t C = B & 63;
        if (C >= 61 && !Take(C == 61 ? 1 : C == 62 ? 2 : 4, C)) return std::nullopt;
        uint8_t Op = B & 192;
        if (CarriesData(Op)) {
            if (Delta.size() - At < C) return std::nullopt;
            Result.insert(Result.end(), Delta.begin() + long(At), Delta.begin() + long(At + C));
            At += C;
        }
        if (Op == DELTA_WRITE) continue;
        if (Old.size() - Read < C) return std::nullopt;
        if (Op == DELTA_COPY) Result.insert(Result.end(), Old.begin() + long(Read), Old.begin() + long(Read + C));
        Read += C;
    }
    return Result;
}

// ---- The update store -----------------------------------------------------------------------

namespace {

Bytes ReadBytes(const fs::path& File) {
    std::string Text = ReadWholeFile(File.string());
    return Bytes(Text.begin(), Text.end());
}

bool SameContent(const fs::path& File, const Bytes& Data) {
    std::error_code Error;
    if (fs::file_size(File, Error) != Data.size() || Error) return false;
    try {
        return ReadBytes(File) == Data;
    } catch (const FileError&) {
        return false;
    }
}

std::string Hex(uint32_t Value) {
    char Text[9];
    std::snprintf(Text, sizeof Text, "%08" PRIx32, Value);
    return Text;
}

}  // namespace

void UpdateStore::Clear() { Files = {}; }

void UpdateStore::Load(const std::string& DataFolder, const std::string& UpdatesFolder) {
    Clear();
    for (int Type = OBJECTS_FILE; Type <= PICTURES_FILE; Type++) {
        try {
            LoadType(Type, DataFolder, UpdatesFolder);
        } catch (const std::exception& Problem) {
            serverlog::Error("updates", "%s: %s; not offered", FileName(Type), Problem.what());
            Files[size_t(Type)] = {};
        }
    }
}

void UpdateStore::LoadType(int Type, const std::string& DataFolder, const std::string& UpdatesFolder) {
    const std::string Name = FileName(Type);
    fs::path Path = fs::path(DataFolder) / Name;
    std::error_code Error;
    if (!fs::is_regular_file(Path, Error)) {
        serverlog::Info("updates", "no %s in %s: not offered to clients", Name.c_str(), DataFolder.c_str());
        return;
    }
    auto File = std::make_shared<Bytes>();
    try {
        *File = ReadBytes(Path);
    } catch (const FileError& Problem) {
        serverlog::Error("updates", "%s: not offered", Problem.what());
        return;
    }
    std::optional<uint32_t> Sign = Signature(*File);
    if (!Sign || File->size() > UINT32_MAX) {
        serverlog::Warning("updates", "%s is %s: not offered", Path.string().c_str(),
                           Sign ? "4 GiB or longer" : "shorter than its signature");
        return;
    }
    Current& C = Files[size_t(Type)];
    C.Present = true;
    C.Signature = *Sign;
    C.Whole = File;

    // The older versions kept, by signature (their first four bytes). They
    // are read whole one at a time, so that many kept versions of a large
    // file do not fill the memory.
    std::map<uint32_t, std::vector<fs::path>> Older;
    if (fs::is_directory(UpdatesFolder, Error)) {
        for (const auto& Entry : fs::directory_iterator(UpdatesFolder, Error)) {
            std::string Leaf = Entry.path().filename().string();
            if (Leaf.rfind(Name + ".", 0) != 0 || Leaf.size() <= Name.size() + 1 || Entry.path().extension() == ".tmp" ||
                !Entry.is_regular_file(Error))
                continue;
            Bytes Head(4);
            std::ifstream In(Entry.path(), std::ios::binary);
            if (!In.read(reinterpret_cast<char*>(Head.data()), 4)) {
                serverlog::Warning("updates", "%s is shorter than its signature or unreadable: left out",
                                   Entry.path().string().c_str());
                continue;
            }
            Older[*Signature(Head)].push_back(Entry.path());
        }
    }
    bool Kept = false;
    if (auto Same = Older.find(*Sign); Same != Older.end()) {
        Kept = true;
        for (const fs::path& OldPath : Same->second)
            if (!SameContent(OldPath, *File))
                serverlog::Warning("updates", "%s has the signature %08x of the current %s but other content: left out",
                                   OldPath.string().c_str(), *Sign, Name.c_str());
        Older.erase(Same);
    }

    // The current version is kept too, for the deltas of the next one.
    if (!Kept) {
        fs::path Copy = fs::path(UpdatesFolder) / (Name + "." + Hex(*Sign));
        try {
            if (fs::exists(Copy)) throw FileError(Copy.string() + " exists with another signature");
            fs::create_directories(UpdatesFolder);
            WriteFileAtomically(Copy.string(), std::string(File->begin(), File->end()));
            serverlog::Info("updates", "kept %s (signature %08x) as %s", Name.c_str(), *Sign, Copy.string().c_str());
        } catch (const std::exception& Problem) {
            serverlog::Warning("updates", "cannot keep %s for later updates: %s", Name.c_str(), Problem.what());
        }
    }

    for (auto& [OldSign, Paths] : Older) {
        std::sort(Paths.begin(), Paths.end());
        Bytes Version;
        try {
            Version = ReadBytes(Paths[0]);
        } catch (const FileError& Problem) {
            serverlog::Warning("updates", "%s: left out", Problem.what());
            continue;
        }
        // A signature held by two different files cannot tell a client's
        // version, so it gets whole files.
        auto Other = std::find_if(Paths.begin() + 1, Paths.end(), [&](const fs::path& P) { return !SameContent(P, Version); });
        if (Other != Paths.end()) {
            serverlog::Warning("updates", "%s and %s differ but both have the signature %08x; clients with it get the whole file",
                               Paths[0].string().c_str(), Other->string().c_str(), OldSign);
            continue;
        }
        auto Start = std::chrono::steady_clock::now();
        auto Delta = std::make_shared<Bytes>(BuildDelta(Version, *File));
        long Ms = long(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - Start).count());
        if (ApplyDelta(Version, *Delta) != *File) {
            serverlog::Error("updates", "the delta of %s from %08x does not rebuild the file; clients get the whole file",
                             Name.c_str(), OldSign);
            continue;
        }
        if (Delta->size() >= File->size()) {
            serverlog::Info("updates", "%s from %08x: the whole file is no longer than a delta", Name.c_str(), OldSign);
            continue;
        }
        serverlog::Info("updates", "%s from %08x to %08x: delta of %zu bytes for %zu (%ld ms)", Name.c_str(), OldSign,
                        *Sign, Delta->size(), File->size(), Ms);
        C.Deltas[OldSign] = std::move(Delta);
    }
}

std::optional<Update> UpdateStore::Find(const std::array<uint32_t, 3>& Signatures) const {
    for (int Type = OBJECTS_FILE; Type <= PICTURES_FILE; Type++) {
        const Current& C = Files[size_t(Type)];
        uint32_t Client = Signatures[size_t(Type - 1)];
        if (!C.Present || Client == C.Signature) continue;
        auto Delta = C.Deltas.find(Client);
        if (Delta != C.Deltas.end()) return Update{Type, true, Client, Delta->second};
        return Update{Type, false, Client, C.Whole};
    }
    return std::nullopt;
}

bool UpdateStore::Offers(int Type) const { return Type >= OBJECTS_FILE && Type <= PICTURES_FILE && Files[size_t(Type)].Present; }

uint32_t UpdateStore::CurrentSignature(int Type) const { return Offers(Type) ? Files[size_t(Type)].Signature : 0; }

std::shared_ptr<const Bytes> UpdateStore::DeltaFrom(int Type, uint32_t OldSignature) const {
    if (!Offers(Type)) return nullptr;
    auto At = Files[size_t(Type)].Deltas.find(OldSignature);
    return At == Files[size_t(Type)].Deltas.end() ? nullptr : At->second;
}

}  // namespace server::updates
