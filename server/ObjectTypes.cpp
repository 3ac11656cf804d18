#include "server/ObjectTypes.h"

#include "server/Item.h"
#include "server/TextFile.h"

#include <stdexcept>
#include <vector>

namespace server::objecttypes {

namespace {
struct Entry {
    uint32_t Flags = 0;
    int Bank = 0, Write = 0, LightBrightness = 0, LightColour = 0;
};
}  // namespace

static std::vector<Entry> Items;  // index: type - 100
static uint32_t FileSignature = 0;
static int Outfits = 0;

namespace {
struct Reader {
    const std::string& Bytes;
    const std::string& Name;
    size_t At = 0;
    [[noreturn]] void Fail() { throw std::runtime_error(Name + ": out of data at byte " + std::to_string(At)); }
    int Byte() {
        if (At + 1 > Bytes.size()) Fail();
        return static_cast<unsigned char>(Bytes[At++]);
    }
    int Word() {
        int Low = Byte();
        return Low | (Byte() << 8);
    }
    uint32_t Quad() {
        uint32_t Low = uint32_t(Word());
        return Low | (uint32_t(Word()) << 16);
    }
};
}  // namespace

static Entry ReadRecord(Reader& R) {
    Entry E;
    for (;;) {
        int Code = R.Byte();
        if (Code == 255) break;
        if (Code > 31) throw std::runtime_error(R.Name + ": flag code " + std::to_string(Code) + " at byte " + std::to_string(R.At - 1));
        E.Flags |= 1u << Code;
        switch (Code) {
            case BANK: E.Bank = R.Word(); break;
            case WRITE:
            case WRITEONCE: E.Write = R.Word(); break;
            case LIGHT:
                E.LightBrightness = R.Word();
                E.LightColour = R.Word();
                break;
            case SHIFT: R.Word(), R.Word(); break;
            case HEIGHT:
            case AUTOMAP:
            case LENSHELP: R.Word(); break;
            default: break;
        }
    }
    int Width = R.Byte(), Height = R.Byte();
    if (Width > 1 || Height > 1) R.Byte();
    long Sprites = long(Width) * Height;
    for (int i = 0; i < 5; i++) Sprites *= R.Byte();
    if (R.At + size_t(Sprites) * 2 > R.Bytes.size()) R.Fail();
    R.At += size_t(Sprites) * 2;
    return E;
}

void LoadObjectTypes(const std::string& FileName) {
    UnloadObjectTypes();
    std::string Bytes;
    try {
        Bytes = ReadWholeFile(FileName);
    } catch (const FileError& Problem) {
        throw std::runtime_error(Problem.what());
    }
    Reader R{Bytes, FileName};
    FileSignature = R.Quad();
    int Highest = R.Word();
    Outfits = R.Word();
    int Effects = R.Word(), Missiles = R.Word();
    if (Highest < 99) throw std::runtime_error(FileName + ": highest item number below 99");
    for (int Type = 100; Type <= Highest; Type++) Items.push_back(ReadRecord(R));
    for (int i = 0; i < Outfits + Effects + Missiles; i++) ReadRecord(R);
}

void UnloadObjectTypes() {
    Items.clear();
    FileSignature = 0;
    Outfits = 0;
}

uint32_t Signature() { return FileSignature; }
int HighestItem() { return 99 + int(Items.size()); }
int OutfitCount() { return Outfits; }
bool IsItem(int Type) { return Type >= 100 && Type <= HighestItem(); }

static const Entry* Find(int Type) { return IsItem(Type) ? &Items[size_t(Type - 100)] : nullptr; }

bool HasFlag(int Type, Flag F) {
    if (Type == CREATURE) return F == UNPASS;
    const Entry* E = Find(Type);
    return E != nullptr && (E->Flags & (1u << F)) != 0;
}

int BankValue(int Type) {
    const Entry* E = Find(Type);
    return E ? E->Bank : 0;
}
int LightBrightness(int Type) {
    const Entry* E = Find(Type);
    return E ? E->LightBrightness : 0;
}
int LightColour(int Type) {
    const Entry* E = Find(Type);
    return E ? E->LightColour : 0;
}
int WriteLength(int Type) {
    const Entry* E = Find(Type);
    return E ? E->Write : 0;
}

}  // namespace server::objecttypes
