// Sections: state and helpers; creatures in the world (add, move, turn,
// remove); the player's own messages; game login and leaving; walking;
// using objects; commands; timers; start and end.
#include "server/Game.h"

#include "server/Accounts.h"
#include "server/Chance.h"
#include "server/Life.h"
#include "server/WorldState.h"
#include "server/Fight.h"
#include "server/GameLocal.h"
#include "server/GameMessages.h"
#include "server/ItemRules.h"
#include "server/Log.h"
#include "server/ObjectTypes.h"
#include "server/Objects.h"
#include "server/Requests.h"
#include "server/Talk.h"
#include "server/TextFile.h"
#include "server/TypeNames.h"
#include "server/WorldMap.h"
#include "world/TypeNumbers.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <cmath>
#include <list>
#include <map>
#include <random>

namespace server::game {

using messages::CanSee;

// First and last outfit a character may choose.
static constexpr int FIRST_CHARACTER_OUTFIT = OUTFIT_CITIZEN, LAST_CHARACTER_OUTFIT = OUTFIT_HUNTER;
static constexpr int BUDDIES = 200;
static constexpr int MAX_WALK_STEPS = 32;
static constexpr int MAX_TEXT_LENGTH = 1024;

// ---- State and helpers ---------------------------------------------------------

static const Config* Settings = nullptr;
static WorldInfo World;
static std::map<uint32_t, std::unique_ptr<Creature>> Creatures;
static std::map<uint32_t, std::unique_ptr<Player>> Players;  // by creature id
static std::list<std::weak_ptr<Connection>> Pending;          // not logged in yet
static uint32_t NextMonsterID = FIRST_MONSTER_ID;
static int64_t LastSave = 0;

const Config& CurrentSettings() { return *Settings; }

int64_t Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Creature* FindCreature(uint32_t ID) {
    auto It = Creatures.find(ID);
    return It == Creatures.end() ? nullptr : It->second.get();
}

size_t PlayerCount() { return Players.size(); }

std::map<uint32_t, std::unique_ptr<Player>>& AllPlayers() { return Players; }

std::map<uint32_t, std::unique_ptr<Creature>>& AllCreatures() { return Creatures; }

Player* FindPlayer(uint32_t ID) {
    auto It = Players.find(ID);
    return It == Players.end() ? nullptr : It->second.get();
}

void Send(Player& P, const Message& M) {
    if (P.Link) P.Link->Send(M);
}

static Object CreatureThing(const Creature& C) {
    Object O;
    O.Type = CREATURE;
    O.CreatureID = C.ID;
    return O;
}

bool SameName(const std::string& A, const std::string& B) {
    if (A.size() != B.size()) return false;
    for (size_t i = 0; i < A.size(); i++)
        if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i]))) return false;
    return true;
}

Player* FindPlayerByName(const std::string& Name) {
    for (auto& [ID, P] : Players)
        if (SameName(P->Body->Name, Name)) return P.get();
    return nullptr;
}

void TextMessage(Player& P, int Type, const std::string& Text) {
    Message M;
    M.addByte(180).addByte(Type).addString(Text);
    Send(P, M);
}

static int DirectionOfStep(int dx, int dy, int Old) {
    if (dx > 0) return 1;
    if (dx < 0) return 3;
    if (dy < 0) return 0;
    if (dy > 0) return 2;
    return Old;
}

// ---- Creatures in the world -------------------------------------------------------

static void MoveOwnView(Player& P, const Position& From, int FromStack, const Position& To);

// Puts a creature on the map and shows it to everyone who sees the field.
static bool PlaceCreature(Creature& C, const Position& Pos) {
    C.Pos = Pos;
    if (worldmap::AddThing(Pos, CreatureThing(C)) < 0) return false;
    for (auto& [ID, P] : Players) {
        if (P->Body == &C || !CanSee(P->MapPos, Pos)) continue;
        Message M;
        M.addByte(106).addPosition(Pos);
        messages::AddThing(M, *P, CreatureThing(C));
        M.addByte(131).addPosition(Pos).addByte(EFFECT_TELEPORT);
        Send(*P, M);
    }
    return true;
}

static void RemoveCreatureFromMap(Creature& C) {
    int Stack = worldmap::CreatureStackPosition(C.Pos, C.ID);
    if (Stack < 0) return;
    worldmap::RemoveThing(C.Pos, Stack);
    for (auto& [ID, P] : Players) {
        if (P->Body == &C || !CanSee(P->MapPos, C.Pos)) continue;
        Message M;
        M.addByte(108).addPosition(C.Pos).addByte(Stack);
        M.addByte(131).addPosition(C.Pos).addByte(EFFECT_PUFF);
        Send(*P, M);
    }
}

// Moves a creature to another field, which the caller has found free.
bool MoveCreature(Creature& C, const Position& To) {
    Position From = C.Pos;
    int FromStack = worldmap::CreatureStackPosition(From, C.ID);
    if (FromStack < 0) return false;
    const worldmap::Field* Target = worldmap::GetField(To);
    if (Target == nullptr || Target->Stack.size() >= size_t(OBJECTS_PER_POINT)) return false;
    worldmap::RemoveThing(From, FromStack);
    worldmap::AddThing(To, CreatureThing(C));
    C.Pos = To;
    for (auto& [ID, P] : Players) {
        if (P->Body == &C) {
            MoveOwnView(*P, From, FromStack, To);
            continue;
        }
        bool SawFrom = CanSee(P->MapPos, From), SeesTo = CanSee(P->MapPos, To);
        Message M;
        if (SawFrom && SeesTo) {
            M.addByte(109).addPosition(From).addByte(FromStack).addPosition(To);
        } else if (SawFrom) {
            M.addByte(108).addPosition(From).addByte(FromStack);
        } else if (SeesTo) {
            M.addByte(106).addPosition(To);
            messages::AddThing(M, *P, CreatureThing(C));
        }
        Send(*P, M);
    }
    if (C.Controller != nullptr) objects::PlayerMoved(*C.Controller);
    return true;
}

void TurnCreature(Creature& C, int Direction) {
    C.Direction = Direction;
    int Stack = worldmap::CreatureStackPosition(C.Pos, C.ID);
    if (Stack < 0) return;
    for (auto& [ID, P] : Players) {
        if (!CanSee(P->MapPos, C.Pos)) continue;
        Message M;
        M.addByte(107).addPosition(C.Pos).addByte(Stack);
        messages::AddCreatureTurn(M, C);
        Send(*P, M);
    }
}

// ---- The player's own messages -------------------------------------------------------

// The player's own view after its creature moved: a step, a floor change of
// one floor, or anything else as a whole new map.
static void MoveOwnView(Player& P, const Position& From, int FromStack, const Position& To) {
    int dx = To.x - From.x, dy = To.y - From.y, dz = To.z - From.z;
    bool Near = std::abs(dx) <= 1 && std::abs(dy) <= 1;
    Message M;
    if (dz == 0 && Near && P.MapPos == From) {
        M.addByte(109).addPosition(From).addByte(FromStack).addPosition(To);
        if (dy < 0) messages::AddMapEdge(M, P, 0);
        if (dy > 0) messages::AddMapEdge(M, P, 2);
        if (dx > 0) messages::AddMapEdge(M, P, 1);
        if (dx < 0) messages::AddMapEdge(M, P, 3);
    } else if (std::abs(dz) == 1 && Near && P.MapPos == From) {
        // From the ground floor down, the new field is outside the client's
        // cube: the creature leaves the old field and comes back with the
        // new floor's description.
        if (From.z == 7 && To.z == 8) M.addByte(108).addPosition(From).addByte(FromStack);
        else M.addByte(109).addPosition(From).addByte(FromStack).addPosition(To);
        messages::AddFloorChange(M, P, dz < 0);
        // The floor change moves the map position diagonally; bring it back
        // onto the creature column by column and row by row.
        while (P.MapPos.x < To.x) messages::AddMapEdge(M, P, 1);
        while (P.MapPos.x > To.x) messages::AddMapEdge(M, P, 3);
        while (P.MapPos.y < To.y) messages::AddMapEdge(M, P, 2);
        while (P.MapPos.y > To.y) messages::AddMapEdge(M, P, 0);
    } else {
        messages::AddFullMap(M, P, To);
    }
    Send(P, M);
}

static int AmbientBrightness(const Position& Pos) {
    if (Pos.z > 7) return 30;
    double Length = Settings->DayLengthSeconds;
    double Phase = std::fmod(double(std::time(nullptr)), Length) / Length;
    return int(145 - 105 * std::cos(2 * M_PI * Phase));
}
static constexpr int AMBIENT_COLOUR = 215;

static void AddAmbient(Message& M, Player& P) {
    int Brightness = AmbientBrightness(P.Body->Pos);
    P.LastAmbientBrightness = Brightness;
    P.LastAmbientColour = AMBIENT_COLOUR;
    M.addByte(130).addByte(Brightness).addByte(AMBIENT_COLOUR);
}

static void AddPlayerData(Message& M, const CharacterRecord& R) {
    M.addByte(160).addWord(R.HitPoints).addWord(R.MaxHitPoints).addWord(objects::FreeCapacity(R)).addQuad(R.Experience);
    M.addWord(R.Level).addByte(R.LevelPercent).addWord(R.Mana).addWord(R.MaxMana);
    M.addByte(R.MagicLevel).addByte(R.MagicLevelPercent).addByte(R.Soul);
}

void SendPlayerData(Player& P) {
    Message M;
    AddPlayerData(M, *P.Record);
    Send(P, M);
}

static void AddSkills(Message& M, const CharacterRecord& R) {
    M.addByte(161);
    for (size_t i = 0; i < 7; i++) M.addByte(R.SkillLevel[i]).addByte(R.SkillPercent[i]);
}

static void AddBuddy(Message& M, const std::string& Name) {
    const CharacterRecord* Buddy = accounts::FindCharacter(Name);
    if (Buddy == nullptr) return;
    M.addByte(210).addQuad(Buddy->ID).addString(Buddy->Name).addByte(Players.count(Buddy->ID) ? 1 : 0);
}

// Tells everyone who keeps C on the buddy list that C came or went.
static void BuddyNotice(const CharacterRecord& C, bool Online) {
    for (auto& [ID, P] : Players) {
        if (P->Record == nullptr || P->Record->ID == C.ID) continue;
        for (const std::string& Name : P->Record->Buddies) {
            if (accounts::FindCharacter(Name) != &C) continue;
            Message M;
            M.addByte(Online ? 211 : 212).addQuad(C.ID);
            Send(*P, M);
        }
    }
}

// ---- Game login and leaving -------------------------------------------------------------

static void Refuse(Connection& Client, const std::string& Text) {
    Message M;
    M.addByte(20).addString(Text);
    Client.Send(M);
    Client.CloseAfterSending("game login refused");
}

// A free field for a character: its own, else the nearest free one around.
static bool FindPlace(const Position& Wanted, Position& Found) {
    for (int Radius = 0; Radius <= 3; Radius++) {
        for (int dy = -Radius; dy <= Radius; dy++) {
            for (int dx = -Radius; dx <= Radius; dx++) {
                if (std::max(std::abs(dx), std::abs(dy)) != Radius) continue;
                Position P{Wanted.x + dx, Wanted.y + dy, Wanted.z};
                if (worldmap::IsWalkable(P)) {
                    Found = P;
                    return true;
                }
            }
        }
    }
    return false;
}

// A torch or lamp worn in a body slot lights the character.
static void CarriedLight(const CharacterRecord& Record, int& Level, int& Colour) {
    Level = Colour = 0;
    for (const Object& O : Record.Inventory) {
        if (O.Type == 0 || !objecttypes::HasFlag(O.Type, objecttypes::LIGHT)) continue;
        if (objecttypes::LightBrightness(O.Type) > Level) {
            Level = std::min(objecttypes::LightBrightness(O.Type), 255);
            Colour = std::min(objecttypes::LightColour(O.Type), 255);
        }
    }
}

void EquipmentChanged(Player& P) {
    Creature& C = *P.Body;
    int Level = 0, Colour = 0;
    CarriedLight(*P.Record, Level, Colour);
    if (Level != C.LightLevel || Colour != C.LightColour) {
        C.LightLevel = Level;
        C.LightColour = Colour;
        for (auto& [ID, Viewer] : Players) {
            if (!CanSee(Viewer->MapPos, C.Pos)) continue;
            Message M;
            M.addByte(141).addQuad(C.ID).addByte(Level).addByte(Colour);
            Send(*Viewer, M);
        }
    }
    // A ring on the finger hastes its wearer.
    bool Ring = P.Record->Inventory[size_t(itemrules::SLOT_FINGER - 1)].Type == TYPE_RING;
    if (Ring && !life::Has(P, life::HASTED)) life::SetCondition(P, life::HASTED, life::FOREVER);
    if (!Ring && life::Has(P, life::HASTED)) life::ClearCondition(P, life::HASTED);
}

static void SaveCharacterOf(Player& P) {
    CharacterRecord& R = *P.Record;
    R.Pos = P.Dead ? (World.HasTemple ? World.Temple : World.Start) : P.Body->Pos;
    R.HasPosition = true;
    R.Direction = P.Body->Direction;
    R.Look = P.Body->Look;
    accounts::SaveCharacter(R);
}

static void EnterGame(Connection& Client, CharacterRecord& Record) {
    Position Place;
    if (!FindPlace(Record.HasPosition ? Record.Pos : World.Start, Place) && !FindPlace(World.Start, Place)) {
        Refuse(Client, "There is no room for your character at the moment.\nPlease try again later.");
        return;
    }
    auto Body = std::make_unique<Creature>();
    Body->ID = Record.ID;
    Body->Name = Record.Name;
    Body->Direction = Record.Direction;
    Body->Look = Record.Look;
    Body->Health = Record.MaxHitPoints > 0 ? Record.HitPoints * 100 / Record.MaxHitPoints : 100;
    Body->Speed = 220 + 2 * (Record.Level - 1);
    CarriedLight(Record, Body->LightLevel, Body->LightColour);
    auto P = std::make_unique<Player>();
    P->Body = Body.get();
    P->Record = &Record;
    P->Link = Client.shared_from_this();
    P->LastPingAt = Now();
    Body->Controller = P.get();
    Client.UserData = P.get();
    Creature& C = *Body;
    Player& Me = *P;
    Creatures[C.ID] = std::move(Body);
    Players[C.ID] = std::move(P);

    C.Pos = Place;
    Me.MapPos = Place;
    Message M;
    const Account* Owner = accounts::FindAccount(Record.AccountNumber);
    M.addByte(10).addQuad(C.ID).addWord(Settings->Beat).addByte(Owner != nullptr ? Owner->BugReports : 0);
    if (Owner != nullptr && Owner->HasRights) {
        M.addByte(11);
        for (int i = 0; i < 32; i++) M.addByte(Owner->Rights[size_t(i)]);
    }
    // The client needs its own creature in its table before the map names it.
    worldmap::AddThing(Place, CreatureThing(C));
    messages::AddFullMap(M, Me, Place);
    AddAmbient(M, Me);
    AddPlayerData(M, Record);
    AddSkills(M, Record);
    life::PlayerEntered(Me);
    M.addByte(162).addByte(0);
    for (int Slot = 0; Slot < BODY_POSITIONS; Slot++) {
        const Object& O = Record.Inventory[size_t(Slot)];
        if (O.Type == 0) continue;
        M.addByte(120).addByte(Slot + 1);
        messages::AddThing(M, Me, O);
    }
    for (const std::string& Name : Record.Buddies) AddBuddy(M, Name);
    if (Record.DeathLoss != 0) {
        M.addByte(21).addString("You died and woke up in the temple.\nYou lost " + std::to_string(Record.DeathLoss) +
                                " experience points.");
        Record.DeathLoss = 0;
    }
    Send(Me, M);

    for (auto& [ID, Other] : Players) {
        if (Other.get() == &Me || !CanSee(Other->MapPos, Place)) continue;
        Message Appear;
        Appear.addByte(106).addPosition(Place);
        messages::AddThing(Appear, *Other, CreatureThing(C));
        Appear.addByte(131).addPosition(Place).addByte(EFFECT_TELEPORT);
        Send(*Other, Appear);
    }
    objects::PlayerEntered(Me);
    EquipmentChanged(Me);
    BuddyNotice(Record, true);
    serverlog::Info("game", "%s entered the game at [%d,%d,%d] (%zu players)", C.Name.c_str(), Place.x, Place.y,
                    Place.z, Players.size());
}

// Takes a player out of the world and saves the character.
static void LeaveGame(Player& P, const char* Why) {
    uint32_t ID = P.Body->ID;
    objects::PlayerLeaves(P);
    fight::PlayerLeaves(P);
    talk::PlayerLeaves(P);
    requests::PlayerLeaves(P);
    RemoveCreatureFromMap(*P.Body);
    SaveCharacterOf(P);
    if (P.Link) P.Link->UserData = nullptr;
    CharacterRecord& Record = *P.Record;
    std::string Name = P.Body->Name;
    Players.erase(ID);
    Creatures.erase(ID);
    BuddyNotice(Record, false);
    serverlog::Info("game", "%s left the game (%s)", Name.c_str(), Why);
}

static void HandleLogin(Connection& Client, InPacket& Packet) {
    int Command = Packet.getByte();
    if (Command != 10) throw ProtocolError("game login expected, got command " + std::to_string(Command));
    int First = Packet.getWord(), Second = Packet.getWord();
    Packet.getByte();  // the client's gamemaster flag: the character file decides
    uint32_t AccountNumber = Packet.getQuad();
    std::string Name = Packet.getString(255);
    std::string Password = Packet.getString(255);
    Packet.expectEnd();
    if (First != 2 || Second != 760) {
        Refuse(Client, "Your client does not match this server.\nPlease install the current version.");
        return;
    }
    const Account* A = accounts::FindAccount(AccountNumber);
    if (A == nullptr || A->Password != Password) {
        Refuse(Client, "Account number or password is not correct.");
        return;
    }
    CharacterRecord* Record = accounts::FindCharacter(Name);
    if (Record == nullptr || Record->AccountNumber != AccountNumber) {
        Refuse(Client, "Character not found.");
        return;
    }
    if (Players.count(Record->ID)) {
        Refuse(Client, "You are already logged in.");
        return;
    }
    if (int(Players.size()) >= Settings->MaxPlayers) {
        Message M;
        M.addByte(22)
            .addString("Too many players online.\nYou are at place 1 on the waiting list.")
            .addByte(Settings->WaitingListSeconds);
        Client.Send(M);
        Client.CloseAfterSending("waiting list");
        return;
    }
    EnterGame(Client, *Record);
}

// ---- Walking ----------------------------------------------------------------------

static const int StepX[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
static const int StepY[9] = {0, 0, -1, -1, -1, 0, 1, 1, 1};

static void CancelWalk(Creature& C) {
    C.WalkQueue.clear();
    if (C.Controller) {
        Message M;
        M.addByte(181).addByte(C.Direction);
        Send(*C.Controller, M);
    }
}

// Ladders and rope spots lead elsewhere when used, not when stepped on.
static bool IsUsedToClimb(const Position& Pos) {
    const worldmap::Field* F = worldmap::GetField(Pos);
    if (F == nullptr) return false;
    for (const Object& O : F->Stack)
        if (O.Type == TYPE_LADDER || O.Type == TYPE_ROPE_SPOT) return true;
    return false;
}

static void SteppedOn(Player& P, const Position& Pos);

// Takes one step by code 1..8; false when the field ahead is blocked.
static bool TakeStep(Creature& C, int Code) {
    int dx = StepX[Code], dy = StepY[Code];
    Position To{C.Pos.x + dx, C.Pos.y + dy, C.Pos.z};
    if (To.x < 0 || To.y < 0 || To.x > 65535 || To.y > 65535 || !worldmap::IsWalkable(To)) return false;
    int Ground = worldmap::GroundSpeed(To);
    Position Destination = To;
    const worldmap::FloorChange* Change = worldmap::GetFloorChange(To);
    if (Change != nullptr && !IsUsedToClimb(To)) {
        Destination = Change->Destination;
        if (!worldmap::IsWalkable(Destination)) return false;
    }
    C.Direction = DirectionOfStep(dx, dy, C.Direction);
    if (!MoveCreature(C, Destination)) return false;
    if (C.Controller != nullptr) SteppedOn(*C.Controller, Destination);
    int Speed = std::max(C.Speed, 1);
    int Beat = Settings->Beat;
    int Raw = Ground * 1000 / Speed;
    int Duration = (Raw + Beat - 1) / Beat * Beat;
    if (dx != 0 && dy != 0) Duration = Ground * 3000 / Speed;
    C.NextStepAt = Now() + Duration;
    return true;
}

// Takes the steps that are due; a blocked step cancels the rest.
static void ProcessWalk(Creature& C) {
    // Steps that arrive up to one beat early are taken at once: the client
    // sends its next step as its animation ends, and the network jitters.
    while (!C.WalkQueue.empty() && Now() + Settings->Beat >= C.NextStepAt) {
        int Code = C.WalkQueue.front();
        C.WalkQueue.pop_front();
        if (!TakeStep(C, Code)) {
            CancelWalk(C);
            return;
        }
    }
}

void Walk(Creature& C, const std::deque<int>& Steps) {
    C.WalkQueue = Steps;
    ProcessWalk(C);
}

int StepTowards(const Position& From, const Position& To) {
    if (From.z != To.z) return 0;
    // Straight steps first: they are quicker than diagonal ones.
    int Best = 0, BestDistance = std::max(std::abs(To.x - From.x), std::abs(To.y - From.y));
    for (int Code : {1, 3, 5, 7, 2, 4, 6, 8}) {
        Position Next{From.x + StepX[Code], From.y + StepY[Code], From.z};
        int Distance = std::max(std::abs(To.x - Next.x), std::abs(To.y - Next.y));
        if (Distance < BestDistance && worldmap::IsWalkable(Next) && worldmap::GetFloorChange(Next) == nullptr) {
            Best = Code;
            BestDistance = Distance;
        }
    }
    return Best;
}

// ---- Commands -------------------------------------------------------------------------

std::string Describe(const Object& O) {
    if (O.IsCreature()) {
        Creature* C = FindCreature(O.CreatureID);
        return C ? C->Name : "nobody";
    }
    std::string Name = itemrules::TypeName(O.Type);
    std::string Text;
    if (objecttypes::HasFlag(O.Type, objecttypes::CUMULATIVE) && O.Data > 1) Text = std::to_string(O.Data) + " " + Name + "s";
    else Text = (std::string("aeiou").find(Name[0]) != std::string::npos ? "an " : "a ") + Name;
    if (!O.Text.empty()) Text += ".\nYou read: " + O.Text;
    return Text;
}

// ---- Using objects -------------------------------------------------------------------

// Changes the type of a thing on the map in place and shows it.
static void TransformThing(const Position& Pos, int StackPos, int NewType) {
    Object* O = worldmap::GetThing(Pos, StackPos);
    if (O == nullptr) return;
    O->Type = NewType;
    for (auto& [ID, P] : Players) {
        if (!CanSee(P->MapPos, Pos)) continue;
        Message M;
        M.addByte(107).addPosition(Pos).addByte(StackPos);
        messages::AddThing(M, *P, *O);
        Send(*P, M);
    }
}

// Lists of names kept by gates: who may open them. The owner edits the
// list by using a key on the gate (edit list message, kind 1).
static constexpr int LIST_GUESTS = 1;
static constexpr size_t MAX_LIST_LENGTH = 2000;

static GuestList* ListAt(const Position& Pos) {
    for (GuestList& L : World.Lists)
        if (L.Pos == Pos) return &L;
    return nullptr;
}

static bool MayPass(const GuestList& L, const std::string& Name) {
    if (SameName(L.Owner, Name)) return true;
    size_t Start = 0;
    while (Start <= L.Names.size()) {
        size_t End = L.Names.find('\n', Start);
        if (End == std::string::npos) End = L.Names.size();
        if (SameName(L.Names.substr(Start, End - Start), Name)) return true;
        Start = End + 1;
    }
    return false;
}

static void EditListAnswer(Player& P, int Kind, uint32_t ID, const std::string& Text) {
    if (Kind != LIST_GUESTS || ID < 1 || ID > World.Lists.size()) return;
    GuestList& L = World.Lists[ID - 1];
    if (!SameName(L.Owner, P.Body->Name)) return;
    // One name per line, without blanks around it and without empty lines.
    std::string Names;
    size_t Start = 0;
    while (Start <= Text.size() && Names.size() < MAX_LIST_LENGTH) {
        size_t End = Text.find('\n', Start);
        if (End == std::string::npos) End = Text.size();
        std::string Name = Text.substr(Start, End - Start);
        size_t First = Name.find_first_not_of(" \t\r"), Last = Name.find_last_not_of(" \t\r");
        if (First != std::string::npos) Names += (Names.empty() ? "" : "\n") + Name.substr(First, Last - First + 1);
        Start = End + 1;
    }
    L.Names = Names.substr(0, MAX_LIST_LENGTH);
}

bool UseOnMap(Player& P, const Position& Pos, int StackPos, const Object& O) {
    Creature& C = *P.Body;
    int Type = O.Type;
    static const std::pair<int, int> Toggles[] = {{TYPE_DOOR_H_CLOSED, TYPE_DOOR_H_OPEN},
                                                  {TYPE_DOOR_V_CLOSED, TYPE_DOOR_V_OPEN},
                                                  {TYPE_GATE_H_CLOSED, TYPE_GATE_H_OPEN},
                                                  {TYPE_LEVER_LEFT, TYPE_LEVER_RIGHT}};
    for (auto [A, B] : Toggles) {
        if (Type != A && Type != B) continue;
        if (A == TYPE_GATE_H_CLOSED) {
            const GuestList* L = ListAt(Pos);
            if (L == nullptr || !MayPass(*L, C.Name)) {
                TextMessage(P, MESSAGE_STATUS, "It is locked.");
                return true;
            }
        }
        // An open door does not close on someone standing in it.
        bool Closing = Type == B && A != TYPE_LEVER_LEFT;
        for (const Object& Other : worldmap::GetField(Pos)->Stack) {
            if (Closing && Other.IsCreature()) {
                TextMessage(P, MESSAGE_STATUS, "There is not enough room.");
                return true;
            }
        }
        TransformThing(Pos, StackPos, Type == A ? B : A);
        return true;
    }
    if (Type == TYPE_LADDER) {
        const worldmap::FloorChange* Change = worldmap::GetFloorChange(Pos);
        if (Change == nullptr) return true;
        Position Place;
        if (!FindPlace(Change->Destination, Place)) {
            TextMessage(P, MESSAGE_STATUS, "There is not enough room.");
            return true;
        }
        C.WalkQueue.clear();
        MoveCreature(C, Place);
        return true;
    }
    return false;
}

// Use with: the rope on a rope spot, a key on a gate with a list.
static void UseWith(Player& P, const Position& From, int FromType, int FromStack, const Position& To, int ToType,
                    int ToStack) {
    Creature& C = *P.Body;
    const Object* Tool = objects::Find(P, From, FromStack);
    const Object* Target = To.x == 0xFFFF ? nullptr : worldmap::GetThing(To, ToStack);
    if (Tool == nullptr || Tool->Type != FromType || Target == nullptr || Target->Type != ToType) return;
    if (From.x != 0xFFFF && (From.z != C.Pos.z || std::abs(From.x - C.Pos.x) > 1 || std::abs(From.y - C.Pos.y) > 1)) {
        TextMessage(P, MESSAGE_STATUS, "You are too far away.");
        return;
    }
    if (To.z != C.Pos.z || std::abs(To.x - C.Pos.x) > 1 || std::abs(To.y - C.Pos.y) > 1) {
        TextMessage(P, MESSAGE_STATUS, "You are too far away.");
        return;
    }
    if (FromType == TYPE_FISHING_ROD && ToType == TYPE_WATER) {
        // Casting the line trains fishing; now and then a fish bites.
        for (auto& [ID, Viewer] : Players) {
            if (!CanSee(Viewer->MapPos, To)) continue;
            Message M;
            M.addByte(131).addPosition(To).addByte(EFFECT_SPLASH);
            Send(*Viewer, M);
        }
        // The better the angler, the more often a fish stays on the hook.
        int Skill = P.Record->SkillLevel[life::FISHING];
        if (chance::Percent(std::min(20 + Skill, 60))) {
            Object Fish;
            Fish.Type = TYPE_FISH;
            TextMessage(P, MESSAGE_INFO, "You caught a fish.");
            objects::Give(P, std::move(Fish));
        } else if (chance::Percent(25)) {
            TextMessage(P, MESSAGE_INFO, "A fish bites, but gets away.");
        }
        life::Train(P, life::FISHING);
        return;
    }
    if (FromType == TYPE_ROPE && ToType == TYPE_ROPE_SPOT) {
        const worldmap::FloorChange* Change = worldmap::GetFloorChange(To);
        Position Place;
        if (Change != nullptr && FindPlace(Change->Destination, Place)) {
            C.WalkQueue.clear();
            MoveCreature(C, Place);
        }
        return;
    }
    const GuestList* L = ListAt(To);
    if (FromType == TYPE_KEY && (ToType == TYPE_GATE_H_CLOSED || ToType == TYPE_GATE_H_OPEN) && L != nullptr) {
        if (!SameName(L->Owner, C.Name)) {
            TextMessage(P, MESSAGE_STATUS, "Only the owner may change who passes here.");
            return;
        }
        Message M;
        M.addByte(151).addByte(LIST_GUESTS).addQuad(uint32_t(L - World.Lists.data()) + 1).addString(L->Names);
        Send(P, M);
        return;
    }
    TextMessage(P, MESSAGE_STATUS, "You cannot use these objects together.");
}

// ---- Reports ----------------------------------------------------------------------------

// Each report is a file of its own in reports/ of the state folder, written
// whole, named by the time and a running number.
static int ReportNumber = 0;

static std::string Stamp() {
    std::time_t Now = std::time(nullptr);
    char Text[32];
    std::strftime(Text, sizeof Text, "%Y-%m-%d %H:%M:%S", std::gmtime(&Now));
    return Text;
}

// A character may send one report in this time, so that nobody fills the
// disk with them.
static constexpr int64_t REPORT_INTERVAL_MS = 30000;
static std::map<uint32_t, int64_t> LastReportAt;  // by character id

static bool MayReport(Player& P) {
    int64_t T = Now();
    auto It = LastReportAt.find(P.Record->ID);
    if (It != LastReportAt.end() && T - It->second < REPORT_INTERVAL_MS) {
        TextMessage(P, MESSAGE_STATUS, "You have sent a report a moment ago. Please wait a little.");
        return false;
    }
    LastReportAt[P.Record->ID] = T;
    return true;
}

static bool WriteReport(const std::string& Kind, const std::string& Text) {
    std::time_t Now = std::time(nullptr);
    std::string Name = Kind + "-" + std::to_string(int64_t(Now)) + "-" + std::to_string(++ReportNumber) + ".txt";
    std::filesystem::path Folder = std::filesystem::path(Settings->StateDir) / "reports";
    try {
        std::filesystem::create_directories(Folder);
        WriteFileAtomically((Folder / Name).string(), Text);
        return true;
    } catch (const std::exception& Problem) {
        serverlog::Error("game", "cannot write the report %s: %s", Name.c_str(), Problem.what());
        return false;
    }
}

static std::string ReportHead(Player& P) {
    const Position& Pos = P.Body->Pos;
    return "Time = " + QuoteText(Stamp() + " UTC") + "\nReporter = " + QuoteText(P.Body->Name) +
           "\nAccount = " + std::to_string(P.Record->AccountNumber) + "\nPosition = " +
           QuoteText(std::to_string(Pos.x) + " " + std::to_string(Pos.y) + " " + std::to_string(Pos.z)) + "\n";
}

static void BugReport(Player& P, const std::string& Text) {
    const Account* A = accounts::FindAccount(P.Record->AccountNumber);
    if (A == nullptr || A->BugReports == 0) {
        TextMessage(P, MESSAGE_STATUS, "You are not authorised to send bug reports.");
        return;
    }
    if (MayReport(P) && WriteReport("bug", ReportHead(P) + "Text = " + QuoteText(Text) + "\n"))
        TextMessage(P, MESSAGE_INFO, "Your report has been sent.");
}

static void ViolationReport(Player& P, const std::string& Name, int Reason, const std::string& Comment, int Action,
                            int Flag) {
    const Account* A = accounts::FindAccount(P.Record->AccountNumber);
    // The reason needs its right, the action its bit of that right.
    if (A == nullptr || Reason > 31 || Action > 31 || (A->Rights[size_t(Reason)] >> Action & 1) == 0) {
        TextMessage(P, MESSAGE_STATUS, "You are not allowed to make this report.");
        return;
    }
    std::string Text = ReportHead(P) + "Name = " + QuoteText(Name) + "\nReason = " + std::to_string(Reason) +
                       "\nAction = " + std::to_string(Action) + "\nIPBanishment = " + std::to_string(Flag ? 1 : 0) +
                       "\nComment = " + QuoteText(Comment) + "\n";
    if (MayReport(P) && WriteReport("violation", Text)) TextMessage(P, MESSAGE_INFO, "Your report has been sent.");
}

// ---- Fields that hurt ---------------------------------------------------------------------

// What a player steps into: fire burns, a pool of slime poisons.
static void SteppedOn(Player& P, const Position& Pos) {
    const worldmap::Field* F = worldmap::GetField(Pos);
    if (F == nullptr) return;
    for (const Object& O : F->Stack) {
        if (O.Type == TYPE_FIRE_FIELD || O.Type == TYPE_CAMPFIRE) life::SetCondition(P, life::BURNING, 0, 3, 10);
        if (O.Type == TYPE_POOL && O.Data == LIQUID_SLIME) life::SetCondition(P, life::POISONED, 0, 5, 3);
    }
}

static void HandleCommand(Player& P, InPacket& Packet) {
    Creature& C = *P.Body;
    int Command = Packet.getByte();
    switch (Command) {
        case 20:  // logout
            Packet.expectEnd();
        {
            if (life::Has(P, life::IN_FIGHT)) {
                TextMessage(P, MESSAGE_STATUS, "You may not logout during a fight.");
                return;
            }
            // Saved before the connection closes, so that whoever sees the
            // close also finds the character on disk.
            std::shared_ptr<Connection> Link = P.Link;
            LeaveGame(P, "logout");
            if (Link) Link->CloseAfterSending("logout");
            return;
        }
        case 30:  // pong
            Packet.expectEnd();
            return;
        case 100: {  // walk path
            int Count = Packet.getByte();
            if (Count < 1 || Count > MAX_WALK_STEPS) throw ProtocolError("walk of " + std::to_string(Count) + " steps");
            std::deque<int> Steps;
            for (int i = 0; i < Count; i++) {
                int Code = Packet.getByte();
                if (Code < 1 || Code > 8) throw ProtocolError("step code " + std::to_string(Code));
                Steps.push_back(Code);
            }
            Packet.expectEnd();
            C.WalkQueue = Steps;
            ProcessWalk(C);
            return;
        }
        case 101: case 102: case 103: case 104: case 106: case 107: case 108: case 109: {
            static const int Codes[] = {3, 1, 7, 5, 0, 2, 8, 6, 4};
            Packet.expectEnd();
            if (int(C.WalkQueue.size()) >= MAX_WALK_STEPS) C.WalkQueue.clear();
            C.WalkQueue.push_back(Codes[Command - 101]);
            ProcessWalk(C);
            return;
        }
        case 105:  // stop walk: the client waits for the cancel to plan anew
            Packet.expectEnd();
            CancelWalk(C);
            return;
        case 111: case 112: case 113: case 114:
            Packet.expectEnd();
            C.WalkQueue.clear();
            TurnCreature(C, Command - 111);
            return;
        case 140: {  // look
            Position Where = Packet.getPosition();
            Packet.getWord();
            int StackPos = Packet.getByte();
            Packet.expectEnd();
            const Object* O = objects::Find(P, Where, StackPos);
            if (O != nullptr) TextMessage(P, MESSAGE_LOOK, "You see " + Describe(*O) + ".");
            return;
        }
        case 150: case 151: case 152: case 153: case 154: case 170: case 171: case 172:
            talk::Command(P, Command, Packet);
            return;
        case 155: case 156: case 157:
            requests::Command(P, Command, Packet);
            return;
        case 160:  // fight modes
            P.AttackMode = Packet.getByte();
            P.ChaseMode = Packet.getByte();
            P.SecureMode = Packet.getByte();
            Packet.expectEnd();
            return;
        case 190:  // cancel everything
            Packet.expectEnd();
            C.WalkQueue.clear();
            fight::Cancel(P);
            return;
        case 201: {  // the client lost track of a field
            Position Where = Packet.getPosition();
            Packet.expectEnd();
            if (CanSee(P.MapPos, Where)) {
                Message M;
                messages::AddField(M, P, Where);
                Send(P, M);
            }
            return;
        }
        case 210: {  // outfit dialog
            Packet.expectEnd();
            Message M;
            M.addByte(200).addByte(C.Look.Type).addByte(C.Look.Head).addByte(C.Look.Body).addByte(C.Look.Legs);
            M.addByte(C.Look.Feet).addByte(FIRST_CHARACTER_OUTFIT).addByte(LAST_CHARACTER_OUTFIT);
            Send(P, M);
            return;
        }
        case 211: {  // set outfit
            Outfit New;
            New.Type = Packet.getByte();
            New.Head = Packet.getByte();
            New.Body = Packet.getByte();
            New.Legs = Packet.getByte();
            New.Feet = Packet.getByte();
            Packet.expectEnd();
            if (New.Type < FIRST_CHARACTER_OUTFIT || New.Type > LAST_CHARACTER_OUTFIT) return;
            C.Look = New;
            for (auto& [ID, Other] : Players) {
                if (!CanSee(Other->MapPos, C.Pos)) continue;
                Message M;
                M.addByte(142).addQuad(C.ID).addByte(New.Type).addByte(New.Head).addByte(New.Body).addByte(New.Legs).addByte(New.Feet);
                Send(*Other, M);
            }
            return;
        }
        case 220: {  // add buddy
            std::string Name = Packet.getString(255);
            Packet.expectEnd();
            CharacterRecord* Buddy = accounts::FindCharacter(Name);
            if (Buddy == nullptr) {
                TextMessage(P, MESSAGE_STATUS, "A player with this name does not exist.");
                return;
            }
            auto& List = P.Record->Buddies;
            for (const std::string& Known : List)
                if (accounts::FindCharacter(Known) == Buddy) return;
            if (int(List.size()) >= BUDDIES) {
                TextMessage(P, MESSAGE_STATUS, "You cannot add more buddies.");
                return;
            }
            List.push_back(Buddy->Name);
            Message M;
            AddBuddy(M, Buddy->Name);
            Send(P, M);
            return;
        }
        case 221: {  // remove buddy
            uint32_t ID = Packet.getQuad();
            Packet.expectEnd();
            auto& List = P.Record->Buddies;
            List.erase(std::remove_if(List.begin(), List.end(),
                                      [&](const std::string& Name) {
                                          const CharacterRecord* R = accounts::FindCharacter(Name);
                                          return R == nullptr || R->ID == ID;
                                      }),
                       List.end());
            return;
        }
        case 120: {  // move
            Position From = Packet.getPosition();
            int Type = Packet.getWord();
            int StackPos = Packet.getByte();
            Position To = Packet.getPosition();
            int Count = Packet.getByte();
            Packet.expectEnd();
            objects::Move(P, From, Type, StackPos, To, Count);
            return;
        }
        case 125: {  // trade request
            Position Where = Packet.getPosition();
            int Type = Packet.getWord();
            int StackPos = Packet.getByte();
            uint32_t Partner = Packet.getQuad();
            Packet.expectEnd();
            objects::TradeRequest(P, Where, Type, StackPos, Partner);
            return;
        }
        case 126: {  // look at an object of the trade
            int Side = Packet.getByte();
            int Index = Packet.getByte();
            Packet.expectEnd();
            objects::TradeLook(P, Side, Index);
            return;
        }
        case 127:
        case 128:
            Packet.expectEnd();
            if (Command == 127) objects::TradeAccept(P);
            else objects::TradeClose(P);
            return;
        case 130: {  // use
            Position Where = Packet.getPosition();
            int Type = Packet.getWord();
            int StackPos = Packet.getByte();
            int Number = Packet.getByte();
            Packet.expectEnd();
            objects::Use(P, Where, Type, StackPos, Number);
            return;
        }
        case 131: {  // use with
            Position From = Packet.getPosition();
            int FromType = Packet.getWord();
            int FromStack = Packet.getByte();
            Position To = Packet.getPosition();
            int ToType = Packet.getWord();
            int ToStack = Packet.getByte();
            Packet.expectEnd();
            UseWith(P, From, FromType, FromStack, To, ToType, ToStack);
            return;
        }
        case 133: {  // rotate
            Position Where = Packet.getPosition();
            int Type = Packet.getWord();
            int StackPos = Packet.getByte();
            Packet.expectEnd();
            objects::Rotate(P, Where, Type, StackPos);
            return;
        }
        case 135: case 136: case 202: {  // close, up, send again
            int Number = Packet.getByte();
            Packet.expectEnd();
            if (Command == 135) objects::CloseContainer(P, Number);
            else if (Command == 136) objects::ContainerUp(P, Number);
            else objects::RequestContainer(P, Number);
            return;
        }
        case 137: {  // edited text
            uint32_t ID = Packet.getQuad();
            std::string Text = Packet.getString(MAX_TEXT_LENGTH);
            Packet.expectEnd();
            objects::EditTextAnswer(P, ID, Text);
            return;
        }
        case 138: {  // edited list
            int Kind = Packet.getByte();
            uint32_t ID = Packet.getQuad();
            std::string Text = Packet.getString(MAX_LIST_LENGTH);
            Packet.expectEnd();
            EditListAnswer(P, Kind, ID, Text);
            return;
        }
        case 161: case 162: case 163: case 164: case 165: case 166: {  // attack, follow, party
            uint32_t ID = Packet.getQuad();
            Packet.expectEnd();
            fight::Command(P, Command, ID);
            return;
        }
        case 167:
            Packet.expectEnd();
            fight::Command(P, Command, 0);
            return;
        case 132: {  // use on a creature
            Position Where = Packet.getPosition();
            int Type = Packet.getWord();
            int StackPos = Packet.getByte();
            uint32_t Target = Packet.getQuad();
            Packet.expectEnd();
            objects::UseOnCreature(P, Where, Type, StackPos, Target);
            return;
        }
        case 230: {  // bug report
            std::string Text = Packet.getString(MAX_TEXT_LENGTH);
            Packet.expectEnd();
            BugReport(P, Text);
            return;
        }
        case 231: {  // rule violation report
            std::string Name = Packet.getString(255);
            int Reason = Packet.getByte();
            std::string Comment = Packet.getString(MAX_TEXT_LENGTH);
            int Action = Packet.getByte();
            int Flag = Packet.getByte();
            Packet.expectEnd();
            ViolationReport(P, Name, Reason, Comment, Action, Flag);
            return;
        }
        default: throw ProtocolError("unknown command " + std::to_string(Command));
    }
}

namespace {
class GameHandler : public ConnectionHandler {
  public:
    void Received(Connection& Client, InPacket& Packet) override {
        auto* P = static_cast<Player*>(Client.UserData);
        if (P == nullptr) HandleLogin(Client, Packet);
        else HandleCommand(*P, Packet);
    }
    void Closed(Connection& Client) override {
        auto* P = static_cast<Player*>(Client.UserData);
        if (P != nullptr) LeaveGame(*P, "connection closed");
    }
};
}  // namespace

static GameHandler TheHandler;

ConnectionHandler& Handler() { return TheHandler; }

void Accepted(const std::shared_ptr<Connection>& Client) { Pending.push_back(Client); }

// ---- Timers ----------------------------------------------------------------------------

static void MonsterAction(Creature& C) {
    int64_t T = Now();
    // A creature that chased someone beyond its area walks home first.
    if (std::max(std::abs(C.Pos.x - C.Home.x), std::abs(C.Pos.y - C.Home.y)) > C.Roam && C.Pos.z == C.Home.z) {
        if (T >= C.NextStepAt)
            if (int Code = StepTowards(C.Pos, C.Home)) TakeStep(C, Code);
        return;
    }
    if (T < C.NextActionAt) return;
    C.NextActionAt = T + 1500 + chance::Roll(0, 2999);
    int Roll = chance::Roll(0, 9);
    if (Roll < 6 && C.Roam > 0) {
        int Code = 1 + 2 * chance::Roll(0, 3);  // straight steps only
        Position To{C.Pos.x + StepX[Code], C.Pos.y + StepY[Code], C.Pos.z};
        if (std::abs(To.x - C.Home.x) <= C.Roam && std::abs(To.y - C.Home.y) <= C.Roam && worldmap::IsWalkable(To) &&
            worldmap::GetFloorChange(To) == nullptr && T >= C.NextStepAt)
            TakeStep(C, Code);
    } else if (Roll < 8) {
        TurnCreature(C, chance::Roll(0, 3));
    } else if (!C.Phrases.empty()) {
        const std::string& Text = C.Phrases[size_t(chance::Roll(0, int(C.Phrases.size()) - 1))];
        for (auto& [ID, P] : Players) {
            if (!CanSee(P->MapPos, C.Pos) || P->Body->Pos.z != C.Pos.z) continue;
            Message M;
            M.addByte(170).addString(C.Name).addByte(TALK_ANIMAL_LOW).addPosition(C.Pos).addString(Text);
            Send(*P, M);
        }
    }
}

// The dead leave the world: a body where they fell, the death message, and
// the character saved at the temple with its loss.
static void BuryTheDead() {
    std::vector<Player*> Dead;
    for (auto& [ID, P] : Players)
        if (P->Dead) Dead.push_back(P.get());
    for (Player* P : Dead) {
        Position Where = P->Body->Pos;
        life::DeathPenalty(*P->Record);
        Message M;
        M.addByte(20).addString("You are dead.");
        Send(*P, M);
        std::shared_ptr<Connection> Link = P->Link;
        LeaveGame(*P, "died");
        if (Link) Link->CloseAfterSending("died");
        fight::LeaveCorpse(Where, TYPE_CORPSE_HUMAN, {});
    }
}

void Tick() {
    for (auto& [ID, C] : Creatures) {
        if (!C->WalkQueue.empty()) ProcessWalk(*C);
        else if (C->Controller == nullptr && C->Target == 0) MonsterAction(*C);
    }
    fight::Tick();
    life::Tick();
    BuryTheDead();
}

void Sweep() {
    int64_t T = Now();
    auto Deadline = std::chrono::steady_clock::now() - std::chrono::milliseconds(Settings->ClientTimeoutMs);
    std::vector<Player*> Silent;
    for (auto& [ID, P] : Players) {
        if (!P->Link || !P->Link->IsOpen()) continue;
        if (P->Link->LastReceived() < Deadline) {
            Silent.push_back(P.get());
            continue;
        }
        Message M;
        if (T - P->LastPingAt >= Settings->PingIntervalMs) {
            M.addByte(30);
            P->LastPingAt = T;
        }
        int Brightness = AmbientBrightness(P->Body->Pos);
        if (Brightness != P->LastAmbientBrightness) AddAmbient(M, *P);
        Send(*P, M);
    }
    // Dropping a connection reports its close on a later turn, which takes
    // the player out of the world.
    for (Player* P : Silent) P->Link->Abort("no answer from the client");
    auto LoginDeadline = std::chrono::steady_clock::now() - std::chrono::milliseconds(Settings->LoginTimeoutMs);
    for (auto It = Pending.begin(); It != Pending.end();) {
        auto Client = It->lock();
        if (!Client || !Client->IsOpen() || Client->UserData != nullptr) {
            It = Pending.erase(It);
        } else if (Client->LastReceived() < LoginDeadline) {
            Client->Abort("no game login");
            It = Pending.erase(It);
        } else {
            ++It;
        }
    }
    if (T - LastSave >= int64_t(Settings->SaveIntervalSeconds) * 1000) {
        LastSave = T;
        SaveAll();
    }
}

static std::string WorldStateFile() { return (std::filesystem::path(Settings->StateDir) / "world.txt").string(); }

int SaveAll() {
    worldstate::Save(WorldStateFile(), World.Lists);
    int Count = 0;
    for (auto& [ID, P] : Players) {
        SaveCharacterOf(*P);
        Count++;
    }
    return Count;
}

// ---- Start and end ------------------------------------------------------------------------

std::unique_ptr<Creature> CreatureFromSpawn(const CreatureSpawn& S, uint32_t ID) {
    auto C = std::make_unique<Creature>();
    C->ID = ID;
    C->Name = S.Name;
    C->Look = S.Look;
    C->Speed = S.Speed;
    C->Home = S.Pos;
    C->Roam = S.Roam;
    C->Phrases = S.Phrases;
    return C;
}

Creature* SpawnMonster(const CreatureSpawn& S) {
    Position Place;
    if (!FindPlace(S.Pos, Place)) {
        serverlog::Warning("game", "no room for %s at [%d,%d,%d]", S.Name.c_str(), S.Pos.x, S.Pos.y, S.Pos.z);
        return nullptr;
    }
    auto C = CreatureFromSpawn(S, NextMonsterID++);
    C->BaseSpeed = S.Speed;
    const fight::Kind& K = fight::KindOf(S.Look.Type);
    C->MaxHitPoints = C->HitPoints = S.HitPoints > 0 ? S.HitPoints : K.HitPoints;
    C->LightLevel = K.LightLevel;
    C->LightColour = K.LightColour;
    Creature& Placed = *C;
    Creatures[C->ID] = std::move(C);
    PlaceCreature(Placed, Place);
    return &Placed;
}

void RemoveMonster(Creature& C) {
    if (C.Controller != nullptr) return;
    RemoveCreatureFromMap(C);
    Creatures.erase(C.ID);
}

void InitGame(const Config& TheSettings, const WorldInfo& TheWorld) {
    Settings = &TheSettings;
    World = TheWorld;
    Creatures.clear();
    Players.clear();
    Pending.clear();
    NextMonsterID = FIRST_MONSTER_ID;
    LastReportAt.clear();
    talk::ResetTalk(Settings->Channels);
    requests::ResetRequests();
    LastSave = Now();
    uint32_t Seed = chance::SeedChance(Settings->Seed);
    serverlog::Info("game", "random numbers from seed %u", Seed);
    worldstate::Remember();
    worldstate::Load(WorldStateFile(), World.Lists);
    messages::SetCreatureFinder(&FindCreature);
    messages::SetShieldFinder(&fight::ShieldFor);
    objects::InitObjects();
    fight::InitFight(World.Arenas);
    for (const CreatureSpawn& S : World.Spawns) SpawnMonster(S);
}

void ExitGame() {
    int Saved = SaveAll();
    for (auto& [ID, P] : Players) {
        if (P->Link) {
            P->Link->UserData = nullptr;
            P->Link->Abort("server stops");
        }
    }
    for (auto& Weak : Pending)
        if (auto Client = Weak.lock()) Client->Abort("server stops");
    Players.clear();
    Creatures.clear();
    Pending.clear();
    serverlog::Info("game", "%d characters saved", Saved);
}

}  // namespace server::game
