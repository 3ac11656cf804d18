// Accounts and characters, kept in readable files in the state folder:
//   accounts/<number>.txt    password, premium days, the character names
//   characters/<name>.txt    position, outfit, values, equipment, buddies
// Every file is written whole and renamed into place (TextFile.h). On the
// first start (no accounts folder) the demo accounts are created.
#pragma once

#include "server/Item.h"
#include "server/Packet.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace server {

// Body slots 1..10 on the wire; index 0..9 here.
inline constexpr int BODY_POSITIONS = 10;

struct Account {
    uint32_t Number = 0;
    std::string Password;
    int PremiumDays = 0;  // 0 free, 65535 gratis premium, else days left
    std::vector<std::string> Characters;
    // Right 40 of the game start: may send bug reports.
    int BugReports = 0;
    // Rights 0..31 (one per rule-violation reason, bit n: action n may be
    // asked for), sent on entering when the file names any.
    std::array<int, 32> Rights{};
    bool HasRights = false;
};

struct Outfit {
    int Type = 1;  // 0: shown as the object type LookType
    int Head = 0, Body = 0, Legs = 0, Feet = 0;
    int LookType = 0;
};

struct CharacterRecord {
    std::string Name;
    uint32_t AccountNumber = 0;
    uint32_t ID = 0;  // creature id of the character, below 0x40000000
    std::string World;
    Position Pos;
    bool HasPosition = false;  // false: placed at the world's start
    int Direction = 2;
    Outfit Look;
    int HitPoints = 150, MaxHitPoints = 150;
    int Mana = 50, MaxMana = 50;
    int Capacity = 400;  // in whole units of weight
    uint32_t Experience = 0;
    int Level = 1, LevelPercent = 0;
    int MagicLevel = 0, MagicLevelPercent = 0;
    int Soul = 100;
    std::array<int, 7> SkillLevel{10, 10, 10, 10, 10, 10, 10};
    std::array<int, 7> SkillPercent{};
    std::array<Object, BODY_POSITIONS> Inventory;
    // What the character keeps in the depot: a depot box with its contents,
    // filled from the world's depot box the first time it is opened.
    Object Depot;
    bool HasDepot = false;
    std::vector<std::string> Buddies;  // character names
    // Answers rule-violation requests and may speak in the gamemaster's
    // talk modes (broadcast, red channel talk, messages to anyone).
    bool Gamemaster = false;
    // Experience lost by the last death, told once on the next entering.
    uint32_t DeathLoss = 0;
};

namespace accounts {

// Loads every account and character of StateDir; creates the demo accounts
// on the first start. Throws FileError for a damaged file.
void InitAccounts(const std::string& StateDir, const std::string& WorldName);
void ExitAccounts();

const Account* FindAccount(uint32_t Number);
// Case-insensitive; nullptr when there is no such character.
CharacterRecord* FindCharacter(const std::string& Name);
CharacterRecord* FindCharacterByID(uint32_t ID);
// Writes the character's file; returns false (and logs) on failure.
bool SaveCharacter(const CharacterRecord& Character);

}  // namespace accounts
}  // namespace server
