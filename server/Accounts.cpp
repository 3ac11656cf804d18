#include "server/Accounts.h"

#include "server/Log.h"
#include "server/TextFile.h"
#include "world/TypeNumbers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <climits>
#include <filesystem>
#include <map>
#include <memory>

namespace server::accounts {

namespace fs = std::filesystem;

static std::string StateFolder;
static std::map<uint32_t, Account> Accounts;
// Keyed by the lower-case name.
static std::map<std::string, std::unique_ptr<CharacterRecord>> Characters;

static std::string Lower(std::string Text) {
    for (char& c : Text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return Text;
}

static std::string AccountFile(uint32_t Number) {
    return (fs::path(StateFolder) / "accounts" / (std::to_string(Number) + ".txt")).string();
}

static std::string CharacterFile(const std::string& Name) {
    return (fs::path(StateFolder) / "characters" / (Lower(Name) + ".txt")).string();
}

// ---- Writing -----------------------------------------------------------------

static void SaveAccount(const Account& A) {
    std::string Text = "# Account " + std::to_string(A.Number) + "\n";
    Text += "Password = " + QuoteText(A.Password) + "\n";
    Text += "PremiumDays = " + std::to_string(A.PremiumDays) + "\n";
    for (const std::string& Name : A.Characters) Text += "Character = " + QuoteText(Name) + "\n";
    if (A.BugReports) Text += "BugReports = " + std::to_string(A.BugReports) + "\n";
    for (int i = 0; i < 32 && A.HasRights; i++)
        if (A.Rights[size_t(i)] != 0) Text += "Right = " + QuoteText(std::to_string(i) + " " + std::to_string(A.Rights[size_t(i)])) + "\n";
    WriteFileAtomically(AccountFile(A.Number), Text);
}

static std::string CharacterText(const CharacterRecord& C) {
    std::string T = "# Character of account " + std::to_string(C.AccountNumber) + "\n";
    auto Number = [&](const char* Key, long long Value) { T += std::string(Key) + " = " + std::to_string(Value) + "\n"; };
    T += "Name = " + QuoteText(C.Name) + "\n";
    Number("Account", C.AccountNumber);
    Number("ID", C.ID);
    T += "World = " + QuoteText(C.World) + "\n";
    if (C.HasPosition) {
        Number("PositionX", C.Pos.x);
        Number("PositionY", C.Pos.y);
        Number("PositionZ", C.Pos.z);
    }
    Number("Direction", C.Direction);
    Number("Outfit", C.Look.Type);
    Number("OutfitHead", C.Look.Head);
    Number("OutfitBody", C.Look.Body);
    Number("OutfitLegs", C.Look.Legs);
    Number("OutfitFeet", C.Look.Feet);
    Number("LookType", C.Look.LookType);
    Number("HitPoints", C.HitPoints);
    Number("MaxHitPoints", C.MaxHitPoints);
    Number("Mana", C.Mana);
    Number("MaxMana", C.MaxMana);
    Number("Capacity", C.Capacity);
    Number("Experience", C.Experience);
    Number("Level", C.Level);
    Number("LevelPercent", C.LevelPercent);
    Number("MagicLevel", C.MagicLevel);
    Number("MagicLevelPercent", C.MagicLevelPercent);
    Number("Soul", C.Soul);
    for (int i = 0; i < 7; i++) {
        Number(("Skill" + std::to_string(i)).c_str(), C.SkillLevel[size_t(i)]);
        Number(("SkillPercent" + std::to_string(i)).c_str(), C.SkillPercent[size_t(i)]);
    }
    for (int i = 0; i < BODY_POSITIONS; i++) {
        if (C.Inventory[size_t(i)].Type == 0) continue;
        T += "Slot" + std::to_string(i + 1) + " = " + QuoteText(ObjectsToText({C.Inventory[size_t(i)]})) + "\n";
    }
    if (C.HasDepot) T += "Depot = " + QuoteText(ObjectsToText({C.Depot})) + "\n";
    for (const std::string& Buddy : C.Buddies) T += "Buddy = " + QuoteText(Buddy) + "\n";
    if (C.Gamemaster) Number("Gamemaster", 1);
    if (C.DeathLoss) Number("DeathLoss", C.DeathLoss);
    return T;
}

bool SaveCharacter(const CharacterRecord& C) {
    try {
        WriteFileAtomically(CharacterFile(C.Name), CharacterText(C));
        return true;
    } catch (const FileError& Problem) {
        serverlog::Error("accounts", "cannot save %s: %s", C.Name.c_str(), Problem.what());
        return false;
    }
}

// ---- Reading -----------------------------------------------------------------

static Account LoadAccount(const std::string& FileName, uint32_t Number) {
    Account A;
    A.Number = Number;
    for (const TextEntry& E : ParseTextFile(ReadWholeFile(FileName), FileName)) {
        if (E.Key == "Password") A.Password = E.Value;
        else if (E.Key == "PremiumDays") A.PremiumDays = int(EntryNumber(E, FileName, 0, 65535));
        else if (E.Key == "Character") A.Characters.push_back(E.Value);
        else if (E.Key == "BugReports") A.BugReports = int(EntryNumber(E, FileName, 0, 1));
        else if (E.Key == "Right") {
            // "index value": a reason 0..31 and the actions (bits 0..6) it allows.
            int Index = -1, Value = -1;
            char Extra = 0;
            if (std::sscanf(E.Value.c_str(), "%d %d %c", &Index, &Value, &Extra) != 2 || Index < 0 || Index > 31 ||
                Value < 0 || Value > 255)
                throw FileError(FileName + ", line " + std::to_string(E.Line) + ": Right = reason (0..31) value (0..255) expected");
            A.Rights[size_t(Index)] = Value;
            A.HasRights = true;
        }
        else throw FileError(FileName + ", line " + std::to_string(E.Line) + ": unknown key " + E.Key);
    }
    if (A.Characters.size() > 255) throw FileError(FileName + ": more than 255 characters");
    return A;
}

// The one object of an entry in the text form of Item.h.
static Object OneObject(const TextEntry& E, const std::string& FileName, const char* Expected) {
    std::vector<Object> Objects;
    try {
        Objects = ObjectsFromText(E.Value);
    } catch (const std::runtime_error& Problem) {
        throw FileError(FileName + ", line " + std::to_string(E.Line) + ": " + Problem.what());
    }
    if (Objects.size() != 1) throw FileError(FileName + ", line " + std::to_string(E.Line) + ": " + Expected);
    return Objects[0];
}

static std::unique_ptr<CharacterRecord> LoadCharacter(const std::string& FileName) {
    auto C = std::make_unique<CharacterRecord>();
    int PositionKeys = 0;
    for (const TextEntry& E : ParseTextFile(ReadWholeFile(FileName), FileName)) {
        auto N = [&](long long Min, long long Max) { return EntryNumber(E, FileName, Min, Max); };
        const std::string& K = E.Key;
        if (K == "Name") C->Name = E.Value;
        else if (K == "Account") C->AccountNumber = uint32_t(N(0, UINT32_MAX));
        else if (K == "ID") C->ID = uint32_t(N(1, 0x3FFFFFFF));
        else if (K == "World") C->World = E.Value;
        else if (K == "PositionX") C->Pos.x = int(N(0, 65535)), PositionKeys++;
        else if (K == "PositionY") C->Pos.y = int(N(0, 65535)), PositionKeys++;
        else if (K == "PositionZ") C->Pos.z = int(N(0, 15)), PositionKeys++;
        else if (K == "Direction") C->Direction = int(N(0, 3));
        else if (K == "Outfit") C->Look.Type = int(N(0, 255));
        else if (K == "OutfitHead") C->Look.Head = int(N(0, 255));
        else if (K == "OutfitBody") C->Look.Body = int(N(0, 255));
        else if (K == "OutfitLegs") C->Look.Legs = int(N(0, 255));
        else if (K == "OutfitFeet") C->Look.Feet = int(N(0, 255));
        else if (K == "LookType") C->Look.LookType = int(N(0, 65535));
        else if (K == "HitPoints") C->HitPoints = int(N(0, 65535));
        else if (K == "MaxHitPoints") C->MaxHitPoints = int(N(0, 65535));
        else if (K == "Mana") C->Mana = int(N(0, 65535));
        else if (K == "MaxMana") C->MaxMana = int(N(0, 65535));
        else if (K == "Capacity") C->Capacity = int(N(0, 65535));
        else if (K == "Experience") C->Experience = uint32_t(N(0, UINT32_MAX));
        else if (K == "Level") C->Level = int(N(1, 65535));
        else if (K == "LevelPercent") C->LevelPercent = int(N(0, 100));
        else if (K == "MagicLevel") C->MagicLevel = int(N(0, 255));
        else if (K == "MagicLevelPercent") C->MagicLevelPercent = int(N(0, 100));
        else if (K == "Soul") C->Soul = int(N(0, 255));
        else if (K.size() == 6 && K.compare(0, 5, "Skill") == 0 && K[5] >= '0' && K[5] <= '6')
            C->SkillLevel[size_t(K[5] - '0')] = int(N(0, 255));
        else if (K.size() == 13 && K.compare(0, 12, "SkillPercent") == 0 && K[12] >= '0' && K[12] <= '6')
            C->SkillPercent[size_t(K[12] - '0')] = int(N(0, 100));
        else if (K.compare(0, 4, "Slot") == 0 && K.size() <= 6) {
            int Slot = std::atoi(K.c_str() + 4);
            if (Slot < 1 || Slot > BODY_POSITIONS || K != "Slot" + std::to_string(Slot))
                throw FileError(FileName + ", line " + std::to_string(E.Line) + ": unknown key " + K);
            C->Inventory[size_t(Slot - 1)] = OneObject(E, FileName, "one object per slot");
        } else if (K == "Depot") {
            C->Depot = OneObject(E, FileName, "one depot box");
            C->HasDepot = true;
        } else if (K == "Buddy") C->Buddies.push_back(E.Value);
        else if (K == "Gamemaster") C->Gamemaster = N(0, 1) != 0;
        else if (K == "DeathLoss") C->DeathLoss = uint32_t(N(0, UINT32_MAX));
        else throw FileError(FileName + ", line " + std::to_string(E.Line) + ": unknown key " + K);
    }
    if (C->Name.empty() || C->Name.size() > 29) throw FileError(FileName + ": a name of 1 to 29 characters is needed");
    if (C->ID == 0) throw FileError(FileName + ": ID missing");
    if (PositionKeys != 0 && PositionKeys != 3) throw FileError(FileName + ": PositionX, PositionY, PositionZ go together");
    C->HasPosition = PositionKeys == 3;
    C->HitPoints = std::min(C->HitPoints, C->MaxHitPoints);
    C->Mana = std::min(C->Mana, C->MaxMana);
    return C;
}

// ---- Demo accounts -----------------------------------------------------------

static Object Make(int Type, int Data = 0, std::vector<Object> Contents = {}) {
    Object O;
    O.Type = Type;
    O.Data = Data;
    O.Contents = std::move(Contents);
    return O;
}

static void CreateDemoAccounts(const std::string& WorldName) {
    serverlog::Info("accounts", "first start: creating the demo accounts 100001 and 100002 (password \"demo\")");
    Account First{100001, "demo", 30, {"Aldric", "Mira"}};
    Account Second{100002, "demo", 0, {"Kestrel"}};
    // The first account reports bugs and every rule violation with every
    // action (its Aldric answers the requests); the second reports bugs only.
    First.BugReports = Second.BugReports = 1;
    First.Rights.fill(0x7F);
    First.HasRights = true;

    CharacterRecord Aldric;
    Aldric.Name = "Aldric";
    Aldric.AccountNumber = 100001;
    Aldric.ID = 1;
    Aldric.Look = {OUTFIT_KNIGHT, 78, 69, 58, 76, 0};
    Aldric.Inventory[0] = Make(TYPE_LEATHER_HELMET);
    Aldric.Inventory[2] = Make(TYPE_BACKPACK, 0,
                               {Make(TYPE_GOLD_COIN, 40), Make(TYPE_APPLE, 5), Make(TYPE_ROPE), Make(TYPE_TORCH),
                                Make(TYPE_BAG, 0, {Make(TYPE_BREAD), Make(TYPE_VIAL, LIQUID_WATER)})});
    Aldric.Inventory[3] = Make(TYPE_LEATHER_ARMOR);
    Aldric.Inventory[4] = Make(TYPE_SWORD);
    Aldric.Inventory[5] = Make(TYPE_WOODEN_SHIELD);
    Aldric.Inventory[6] = Make(TYPE_LEATHER_LEGS);
    Aldric.Inventory[7] = Make(TYPE_LEATHER_BOOTS);
    Aldric.Buddies = {"Mira", "Kestrel"};
    // The demo's counsellor: answers the rule-violation requests of the others.
    Aldric.Gamemaster = true;

    CharacterRecord Mira = Aldric;
    Mira.Name = "Mira";
    Mira.Gamemaster = false;
    Mira.ID = 2;
    Mira.Look = {OUTFIT_MAGE, 95, 94, 114, 0, 0};
    Mira.Inventory = {};
    // Things to try every panel with: a pile to split, runes for each
    // condition, a drink, a ring of haste, a torch, a bag inside.
    Mira.Inventory[2] = Make(TYPE_BACKPACK, 0,
                             {Make(TYPE_GOLD_COIN, 57), Make(TYPE_APPLE, 8), Make(TYPE_BLANK_RUNE), Make(TYPE_BLANK_RUNE),
                              Make(TYPE_HEALING_RUNE), Make(TYPE_HEALING_RUNE), Make(TYPE_FIRE_RUNE), Make(TYPE_FIRE_RUNE),
                              Make(TYPE_ENERGY_RUNE), Make(TYPE_ENERGY_RUNE), Make(TYPE_MUG, LIQUID_BEER), Make(TYPE_RING),
                              Make(TYPE_TORCH), Make(TYPE_FISHING_ROD),
                              Make(TYPE_BAG, 0, {Make(TYPE_GOLD_COIN, 12), Make(TYPE_FISH), Make(TYPE_ARROW, 30)})});
    Mira.Inventory[4] = Make(TYPE_MACE);
    Mira.Inventory[3] = Make(TYPE_LEATHER_ARMOR);
    Mira.Buddies = {"Aldric"};

    CharacterRecord Kestrel = Aldric;
    Kestrel.Name = "Kestrel";
    Kestrel.Gamemaster = false;
    Kestrel.AccountNumber = 100002;
    Kestrel.ID = 3;
    Kestrel.Look = {OUTFIT_HUNTER, 19, 86, 87, 95, 0};
    Kestrel.Inventory = {};
    Kestrel.Inventory[2] = Make(TYPE_BACKPACK, 0, {Make(TYPE_ARROW, 25), Make(TYPE_HAM)});
    Kestrel.Inventory[4] = Make(TYPE_BOW);
    Kestrel.Inventory[5] = Make(TYPE_TORCH);  // lights the way in the cave
    Kestrel.Inventory[9] = Make(TYPE_ARROW, 50);
    Kestrel.Buddies = {"Aldric"};

    for (CharacterRecord* C : {&Aldric, &Mira, &Kestrel}) {
        C->World = WorldName;
        WriteFileAtomically(CharacterFile(C->Name), CharacterText(*C));
    }
    SaveAccount(First);
    SaveAccount(Second);
}

// ---- Interface ---------------------------------------------------------------

void InitAccounts(const std::string& StateDir, const std::string& WorldName) {
    StateFolder = StateDir;
    Accounts.clear();
    Characters.clear();
    fs::path AccountDir = fs::path(StateDir) / "accounts";
    fs::path CharacterDir = fs::path(StateDir) / "characters";
    bool FirstStart = !fs::exists(AccountDir);
    fs::create_directories(AccountDir);
    fs::create_directories(CharacterDir);
    if (FirstStart) CreateDemoAccounts(WorldName);

    for (const auto& Entry : fs::directory_iterator(AccountDir)) {
        std::string Stem = Entry.path().stem().string();
        if (Entry.path().extension() != ".txt" || Stem.empty() || Stem.size() > 10 ||
            !std::all_of(Stem.begin(), Stem.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        unsigned long long Number = std::stoull(Stem);
        if (Number > UINT32_MAX) continue;
        Accounts[uint32_t(Number)] = LoadAccount(Entry.path().string(), uint32_t(Number));
    }
    for (const auto& Entry : fs::directory_iterator(CharacterDir)) {
        if (Entry.path().extension() != ".txt") continue;
        auto C = LoadCharacter(Entry.path().string());
        std::string Key = Lower(C->Name);
        if (Characters.count(Key)) throw FileError(Entry.path().string() + ": character " + C->Name + " exists twice");
        for (const auto& [OtherKey, Other] : Characters)
            if (Other->ID == C->ID) throw FileError(Entry.path().string() + ": ID used by " + Other->Name + " too");
        Characters[Key] = std::move(C);
    }
    // An account may only list characters that exist and belong to it.
    for (auto& [Number, A] : Accounts) {
        for (const std::string& Name : A.Characters) {
            CharacterRecord* C = FindCharacter(Name);
            if (C == nullptr || C->AccountNumber != Number)
                throw FileError(AccountFile(Number) + ": character " + Name + " is missing or belongs to another account");
        }
    }
    serverlog::Info("accounts", "%zu accounts, %zu characters", Accounts.size(), Characters.size());
}

void ExitAccounts() {
    Accounts.clear();
    Characters.clear();
    StateFolder.clear();
}

const Account* FindAccount(uint32_t Number) {
    auto It = Accounts.find(Number);
    return It == Accounts.end() ? nullptr : &It->second;
}

CharacterRecord* FindCharacter(const std::string& Name) {
    auto It = Characters.find(Lower(Name));
    return It == Characters.end() ? nullptr : It->second.get();
}

CharacterRecord* FindCharacterByID(uint32_t ID) {
    for (auto& [Key, C] : Characters)
        if (C->ID == ID) return C.get();
    return nullptr;
}

}  // namespace server::accounts
