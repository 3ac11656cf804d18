// Sections: set-up and the world; helpers; the world as the reference server
// changes it; the client's commands; the actions of the world.
#include "ScriptedGame.h"

#include "server/GameMessages.h"
#include "server/ObjectTypes.h"
#include "server/WorldFile.h"
#include "server/WorldMap.h"
#include "world/TypeNumbers.h"

#include <algorithm>
#include <cstdlib>

namespace randomplayer {

using server::Creature;
using server::InPacket;
using server::Message;
using server::Object;
using server::Position;
using server::ProtocolError;
namespace objecttypes = server::objecttypes;
namespace worldmap = server::worldmap;

namespace {

// The reference server's limits on what a client sends.
constexpr int MAX_TEXT_LENGTH = 1024;
constexpr int MAX_LIST_LENGTH = 2000;
constexpr int MAX_TALK_LENGTH = 1024;
constexpr int MAX_NAME_LENGTH = 255;
constexpr int BEAT = 50;
// Creatures of the world at most: mostly a quiet corner, now and then a
// crowd that fills the client's table of 150 (the server makes it forget).
constexpr int MAX_CREATURES = 60, CROWD = 180;
constexpr int OUTFIT_COLOURS = 133;
constexpr int BODY_SLOTS = 10;
constexpr int OPEN_CONTAINERS = 16;
// A packet is sent once the batch holds this much (a full map may need the rest).
constexpr size_t BATCH_LIMIT = 4000;

const int StepX[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
const int StepY[9] = {0, 0, -1, -1, -1, 0, 1, 1, 1};

ScriptedGame* Current = nullptr;

Object CreatureThing(const Creature& C) {
    Object O;
    O.Type = server::CREATURE;
    O.CreatureID = C.ID;
    return O;
}

int DirectionOfStep(int dx, int dy, int Old) {
    if (dx > 0) return 1;
    if (dx < 0) return 3;
    if (dy < 0) return 0;
    if (dy > 0) return 2;
    return Old;
}

bool IsGround(int Type) { return objecttypes::HasFlag(Type, objecttypes::BANK); }

const char* const Phrases[] = {"Hello!",   "Buy a sword?", "Cluck!", "Grrr...", "Have you seen my cat?",
                               "Hail, traveller.", "Trade with me!", "...", "ah"};

}  // namespace

// ==== Set-up and the world ================================================================

ScriptedGame::ScriptedGame(Rng Chance, const ServerSettings& TheSettings, Outbox& TheOut)
    : R(Chance), Settings(TheSettings), Out(TheOut) {
    Current = this;
    objecttypes::LoadObjectTypes(Settings.DataDir + "/Vorna.dat");
    worldmap::InitWorldMap();
    World = server::worldfile::LoadWorld(Settings.DataDir + "/Demoland.world");
    server::messages::SetCreatureFinder(&ScriptedGame::FindCurrent);
    server::messages::SetShieldFinder([](const server::Player&, const Creature& C) { return C.PartyShield; });
    uint32_t Number = server::FIRST_MONSTER_ID;
    for (const server::game::CreatureSpawn& S : World.Spawns) {
        auto C = server::game::CreatureFromSpawn(S, Number++);
        C->Pos = S.Pos;
        if (worldmap::AddThing(S.Pos, CreatureThing(*C)) < 0) continue;
        Creatures[C->ID] = std::move(C);
    }
    Values.Level = 1;
}

ScriptedGame::~ScriptedGame() {
    server::messages::SetCreatureFinder(nullptr);
    server::messages::SetShieldFinder(nullptr);
    worldmap::ExitWorldMap();
    objecttypes::UnloadObjectTypes();
    if (Current == this) Current = nullptr;
}

const std::vector<ScriptedGame::Action>& ScriptedGame::Actions() {
    static const std::vector<Action> Table = {
        {"creature-appears", 6, &ScriptedGame::CreatureAppears},
        {"creature-walks", 30, &ScriptedGame::CreatureWalks},
        {"creature-jumps", 3, &ScriptedGame::CreatureJumps},
        {"creature-vanishes", 4, &ScriptedGame::CreatureVanishes},
        {"creature-turns", 6, &ScriptedGame::CreatureTurns},
        {"creature-changes", 8, &ScriptedGame::CreatureChanges},
        {"talk", 14, &ScriptedGame::Speaks},
        {"container-opens", 4, &ScriptedGame::ContainerOpens},
        {"container-closes", 2, &ScriptedGame::ContainerCloses},
        {"container-changes", 8, &ScriptedGame::ContainerChanges},
        {"inventory", 4, &ScriptedGame::InventoryChanges},
        {"trade-offer", 2, &ScriptedGame::TradeOffers},
        {"trade-close", 1, &ScriptedGame::TradeCloses},
        {"light", 2, &ScriptedGame::LightChanges},
        {"effect", 10, &ScriptedGame::EffectShown},
        {"player-data", 6, &ScriptedGame::PlayerChanges},
        {"edit-text", 1, &ScriptedGame::TextToEdit},
        {"channel", 5, &ScriptedGame::ChannelMessage},
        {"text-message", 4, &ScriptedGame::ServerText},
        {"walk-cancelled", 1, &ScriptedGame::WalkCancelled},
        {"floor-change", 2, &ScriptedGame::FloorChanges},
        {"teleport", 1, &ScriptedGame::Teleports},
        {"outfit-dialog", 1, &ScriptedGame::OutfitDialog},
        {"buddy", 3, &ScriptedGame::BuddyChanges},
        {"ping", 2, &ScriptedGame::Ping},
        {"field", 6, &ScriptedGame::FieldChanges},
        {"information", 1, &ScriptedGame::Information},
    };
    return Table;
}

const std::vector<std::string>& ScriptedGame::ActionNames() {
    static std::vector<std::string> Names = [] {
        std::vector<std::string> N;
        for (const Action& A : Actions()) N.push_back(A.Name);
        N.push_back("leave");
        N.push_back("death");
        N.push_back("long-dialog-text");
        return N;
    }();
    return Names;
}

void ScriptedGame::Enter(const std::string& Name) {
    Leave();
    auto Body = std::make_unique<Creature>();
    uint32_t ID = 0x10000;
    for (char c : Name) ID = ID * 31 + uint8_t(c);
    Body->ID = (ID & 0x3FFFFFFF) | 1;
    if (Find(Body->ID) != nullptr) Body->ID = NewID(true);
    Body->Name = Name;
    Body->Look = RandomOutfit();
    Body->Speed = 220;
    Body->Direction = 2;
    // The start, or the nearest free field around it, as the reference server finds it.
    Position Place = World.Start;
    bool Found = false;
    for (int Radius = 0; Radius <= 3 && !Found; Radius++)
        for (int dy = -Radius; dy <= Radius && !Found; dy++)
            for (int dx = -Radius; dx <= Radius && !Found; dx++) {
                Position P{World.Start.x + dx, World.Start.y + dy, World.Start.z};
                if (worldmap::IsWalkable(P)) {
                    Place = P;
                    Found = true;
                }
            }
    if (!Found) MakeGround(Place);
    Body->Pos = Place;
    Me = server::Player{};
    Me.Body = Body.get();
    Me.MapPos = Place;
    Creatures[Body->ID] = std::move(Body);
    worldmap::AddThing(Place, CreatureThing(*Me.Body));
    Walk.clear();
    Containers.clear();
    TradeOpen = false;
    Channels.clear();
    OwnChannel = -1;
    PrivateChannels.clear();
    RequestChannel = false;

    Message M;
    wire::EnterGame(M, Me.Body->ID, BEAT, R.range(0, 1));
    if (R.oneIn(4)) {
        std::array<uint8_t, 32> Rights{};
        for (uint8_t& V : Rights) V = R.oneIn(3) ? uint8_t(R.below(256)) : 0;
        wire::Rights(M, Rights);
    }
    server::messages::AddFullMap(M, Me, Place);
    Out.Send(M);
    M.clear();
    wire::AmbientLight(M, R.range(0, 255), 215);
    Values.HitPoints = Values.MaxHitPoints = 150 + 5 * Values.Level;
    wire::PlayerData(M, Values);
    std::array<std::pair<int, int>, 7> Skills;
    for (auto& S : Skills) S = {R.range(10, 30), R.range(0, 99)};
    wire::Skills(M, Skills);
    wire::Conditions(M, 0);
    for (int Slot = 1; Slot <= BODY_SLOTS; Slot++)
        if (R.percent(40)) wire::InventorySet(M, Me, Slot, RandomItem(true));
    for (const auto& [BuddyID, Buddy] : Buddies) wire::Buddy(M, BuddyID, Buddy.first, Buddy.second);
    if (R.oneIn(8)) wire::GameInformation(M, "You died and woke up in the temple.\nYou lost 120 experience points.");
    Out.Send(M);
    Last = "enter";
}

void ScriptedGame::Leave() {
    Batch.clear();
    if (Me.Body == nullptr) return;
    Creature& C = *Me.Body;
    const int Stack = worldmap::CreatureStackPosition(C.Pos, C.ID);
    if (Stack >= 0) worldmap::RemoveThing(C.Pos, Stack);
    Creatures.erase(C.ID);
    Me = server::Player{};
    Walk.clear();
}

void ScriptedGame::Flush() {
    if (Batch.empty()) return;
    Out.Send(Batch);
    Batch.clear();
}

void ScriptedGame::Send(Message& M) {
    if (M.empty()) return;
    if (Batch.size() + M.size() > BATCH_LIMIT) Flush();
    Batch.addBytes(M.bytes());
    M.clear();
    if (R.percent(60)) Flush();
}

// ==== Helpers =============================================================================

Creature* ScriptedGame::Find(uint32_t ID) {
    auto It = Creatures.find(ID);
    return It == Creatures.end() ? nullptr : It->second.get();
}

Creature* ScriptedGame::FindCurrent(uint32_t ID) { return Current ? Current->Find(ID) : nullptr; }

uint32_t ScriptedGame::NewID(bool Player) { return Player ? NextPlayer++ : NextMonster++; }

bool ScriptedGame::CanSee(const Position& Pos) const { return server::messages::CanSee(Me.MapPos, Pos); }

// Any item the data file knows; a takeable one where the player could carry it.
Object ScriptedGame::RandomItem(bool Takeable) {
    Object O;
    for (int Try = 0; Try < 50; Try++) {
        O.Type = R.range(FIRST_ITEM_TYPE, objecttypes::HighestItem());
        if (IsGround(O.Type) || objecttypes::HasFlag(O.Type, objecttypes::ONBANK)) continue;
        if (!Takeable || objecttypes::HasFlag(O.Type, objecttypes::TAKE)) break;
    }
    if (objecttypes::HasFlag(O.Type, objecttypes::CUMULATIVE)) O.Data = R.range(1, 100);
    if (objecttypes::HasFlag(O.Type, objecttypes::LIQUIDCONTAINER) ||
        objecttypes::HasFlag(O.Type, objecttypes::LIQUIDPOOL))
        O.Data = R.range(LIQUID_NONE, LIQUID_OIL);
    return O;
}

Object ScriptedGame::RandomContainer(int Depth) {
    static const int Boxes[] = {TYPE_BAG, TYPE_BACKPACK, TYPE_CHEST, TYPE_DEPOT_BOX, TYPE_CORPSE_HUMAN, TYPE_CORPSE_BEAST};
    Object Box;
    Box.Type = Boxes[R.below(6)];
    const int Count = R.oneIn(5) ? R.range(30, 45) : R.range(0, 12);
    for (int i = 0; i < Count; i++)
        Box.Contents.push_back(Depth < 2 && R.oneIn(8) ? RandomContainer(Depth + 1) : RandomItem(true));
    return Box;
}

server::Outfit ScriptedGame::RandomOutfit() {
    server::Outfit Look;
    if (R.oneIn(10)) {
        Look.Type = 0;
        Look.LookType = R.oneIn(3) ? 0 : R.range(FIRST_ITEM_TYPE, objecttypes::HighestItem());
    } else {
        Look.Type = R.range(1, NUMBER_OF_OUTFITS);
    }
    Look.Head = R.below(OUTFIT_COLOURS);
    Look.Body = R.below(OUTFIT_COLOURS);
    Look.Legs = R.below(OUTFIT_COLOURS);
    Look.Feet = R.below(OUTFIT_COLOURS);
    return Look;
}

std::string ScriptedGame::RandomName(bool Player) {
    std::string Name = R.name();
    if (!Player && R.oneIn(3)) Name = "a " + Name;
    // Now and then longer than the client keeps (it cuts the rest).
    if (R.oneIn(30)) Name += " " + R.name() + " " + R.name() + " " + R.name();
    return Name;
}

// A field the client holds: on the player's floor or any floor it sees.
bool ScriptedGame::RandomVisible(Position& Pos, bool SameFloor, bool Walkable) {
    for (int Try = 0; Try < 40; Try++) {
        int z = Me.MapPos.z;
        if (!SameFloor) {
            if (Me.MapPos.z <= 7)
                z = R.range(0, 7);
            else
                z = R.range(std::max(Me.MapPos.z - 2, 0), std::min(Me.MapPos.z + 2, 15));
        }
        const int d = Me.MapPos.z - z;
        Pos = {R.range(Me.MapPos.x - 8 + d, Me.MapPos.x + 9 + d), R.range(Me.MapPos.y - 6 + d, Me.MapPos.y + 7 + d), z};
        if (!CanSee(Pos)) continue;
        if (!Walkable || worldmap::IsWalkable(Pos)) return true;
    }
    return false;
}

// Ground under a field the world leaves empty (a floor of nothing), so that
// a creature may stand there.
void ScriptedGame::MakeGround(const Position& Pos) {
    const worldmap::Field* F = worldmap::GetField(Pos);
    if (F != nullptr)
        for (const Object& O : F->Stack)
            if (IsGround(O.Type)) return;
    Object Ground;
    Ground.Type = Pos.z > 7 ? TYPE_CAVE_FLOOR : TYPE_GRASS;
    if (worldmap::AddThing(Pos, Ground) < 0 || !CanSee(Pos)) return;
    // The client holds the field: it must learn of the new ground.
    Message M;
    wire::FieldAdd(M, Me, Pos, Ground);
    Send(M);
}

// ==== The world as the reference server changes it ===================================

bool ScriptedGame::PlaceCreature(Creature& C, const Position& Pos) {
    C.Pos = Pos;
    if (worldmap::AddThing(Pos, CreatureThing(C)) < 0) return false;
    if (CanSee(Pos)) {
        Message M;
        wire::FieldAdd(M, Me, Pos, CreatureThing(C));
        wire::GraphicEffect(M, Pos, EFFECT_TELEPORT);
        Send(M);
    }
    return true;
}

void ScriptedGame::RemoveCreature(Creature& C) {
    const int Stack = worldmap::CreatureStackPosition(C.Pos, C.ID);
    if (Stack < 0) return;
    worldmap::RemoveThing(C.Pos, Stack);
    if (CanSee(C.Pos)) {
        Message M;
        wire::FieldRemove(M, C.Pos, Stack);
        wire::GraphicEffect(M, C.Pos, EFFECT_PUFF);
        Send(M);
    }
}

bool ScriptedGame::MoveCreature(Creature& C, const Position& To) {
    const Position From = C.Pos;
    const int FromStack = worldmap::CreatureStackPosition(From, C.ID);
    if (FromStack < 0) return false;
    const worldmap::Field* Target = worldmap::GetField(To);
    if (Target == nullptr || Target->Stack.size() >= size_t(server::OBJECTS_PER_POINT)) return false;
    // What the client sees, by its map position before the move.
    const bool SawFrom = CanSee(From), SeesTo = CanSee(To);
    worldmap::RemoveThing(From, FromStack);
    worldmap::AddThing(To, CreatureThing(C));
    C.Pos = To;
    if (&C == Me.Body) {
        MoveOwnView(From, FromStack, To);
        return true;
    }
    Message M;
    if (SawFrom && SeesTo)
        wire::CreatureMove(M, From, FromStack, To);
    else if (SawFrom)
        wire::FieldRemove(M, From, FromStack);
    else if (SeesTo)
        wire::FieldAdd(M, Me, To, CreatureThing(C));
    Send(M);
    return true;
}

// The player's own view after his creature moved: a step, a floor change of
// one floor, or anything else as a whole new map (the reference server's rule).
void ScriptedGame::MoveOwnView(const Position& From, int FromStack, const Position& To) {
    const int dx = To.x - From.x, dy = To.y - From.y, dz = To.z - From.z;
    const bool Near = std::abs(dx) <= 1 && std::abs(dy) <= 1;
    Message M;
    if (dz == 0 && Near && Me.MapPos == From) {
        wire::CreatureMove(M, From, FromStack, To);
        if (dy < 0) server::messages::AddMapEdge(M, Me, 0);
        if (dy > 0) server::messages::AddMapEdge(M, Me, 2);
        if (dx > 0) server::messages::AddMapEdge(M, Me, 1);
        if (dx < 0) server::messages::AddMapEdge(M, Me, 3);
    } else if (std::abs(dz) == 1 && Near && Me.MapPos == From) {
        if (From.z == 7 && To.z == 8)
            wire::FieldRemove(M, From, FromStack);
        else
            wire::CreatureMove(M, From, FromStack, To);
        server::messages::AddFloorChange(M, Me, dz < 0);
        while (Me.MapPos.x < To.x) server::messages::AddMapEdge(M, Me, 1);
        while (Me.MapPos.x > To.x) server::messages::AddMapEdge(M, Me, 3);
        while (Me.MapPos.y < To.y) server::messages::AddMapEdge(M, Me, 2);
        while (Me.MapPos.y > To.y) server::messages::AddMapEdge(M, Me, 0);
    } else {
        server::messages::AddFullMap(M, Me, To);
    }
    // The views of whole floors are large: they travel in a packet of their own.
    Flush();
    Out.Send(M);
}

void ScriptedGame::TurnCreature(Creature& C, int Direction) {
    C.Direction = Direction;
    const int Stack = worldmap::CreatureStackPosition(C.Pos, C.ID);
    if (Stack < 0 || !CanSee(C.Pos)) return;
    Message M;
    wire::CreatureTurn(M, C.Pos, Stack, C);
    Send(M);
}

bool ScriptedGame::TakeStep(int Code) {
    Creature& C = *Me.Body;
    const int dx = StepX[Code], dy = StepY[Code];
    const Position To{C.Pos.x + dx, C.Pos.y + dy, C.Pos.z};
    if (To.x < 0 || To.y < 0 || To.x > 65535 || To.y > 65535 || !worldmap::IsWalkable(To)) return false;
    Position Destination = To;
    if (const worldmap::FloorChange* Change = worldmap::GetFloorChange(To)) {
        Destination = Change->Destination;
        if (!worldmap::IsWalkable(Destination)) return false;
    }
    C.Direction = DirectionOfStep(dx, dy, C.Direction);
    if (!MoveCreature(C, Destination)) return false;
    const int Ground = std::max(worldmap::GroundSpeed(To), 50);
    NextStepAt = Now + uint32_t(Ground * (dx != 0 && dy != 0 ? 3000 : 1000) / std::max(C.Speed, 1));
    return true;
}

void ScriptedGame::CancelWalk() {
    Walk.clear();
    Message M;
    wire::WalkCancelled(M, Me.Body->Direction);
    Send(M);
}

// ==== The client's commands ===============================================================

void ScriptedGame::Command(InPacket& P) {
    if (!InGame()) throw ProtocolError("a game command before the game");
    const int Command = P.getByte();
    auto Location = [&] {
        Position Pos = P.getPosition();
        P.getWord();  // type
        P.getByte();  // stack position
        return Pos;
    };
    Message M;
    switch (Command) {
    case 20:  // logout
        P.expectEnd();
        Flush();
        Leave();
        Out.Close();
        return;
    case 30: P.expectEnd(); return;
    case 100: {
        const int Count = P.getByte();
        if (Count < 1) throw ProtocolError("a walk of no steps");
        std::deque<int> Steps;
        for (int i = 0; i < Count; i++) {
            const int Code = P.getByte();
            if (Code < 1 || Code > 8) throw ProtocolError("step code " + std::to_string(Code));
            Steps.push_back(Code);
        }
        P.expectEnd();
        Walk = Steps;
        return;
    }
    case 101: case 102: case 103: case 104: case 106: case 107: case 108: case 109: {
        P.expectEnd();
        static const int Codes[10] = {3, 1, 7, 5, 0, 2, 8, 6, 4, 0};
        Walk = {Codes[Command - 101]};
        return;
    }
    case 105: P.expectEnd(); Walk.clear(); return;
    case 111: case 112: case 113: case 114:
        P.expectEnd();
        TurnCreature(*Me.Body, Command - 111);
        return;
    case 120: {  // move: the reference server's refusal when it cannot
        const Position From = P.getPosition();
        P.getWord();
        const int Stack = P.getByte();
        const Position To = P.getPosition();
        P.getByte();
        P.expectEnd();
        Object* O = From.x != 0xFFFF ? worldmap::GetThing(From, Stack) : nullptr;
        if (O != nullptr && !O->IsCreature() && !IsGround(O->Type) && To.x != 0xFFFF && CanSee(From) && CanSee(To) &&
            R.percent(60)) {
            const Object Moved = *O;
            worldmap::RemoveThing(From, Stack);
            wire::FieldRemove(M, From, Stack);
            if (worldmap::AddThing(To, Moved) >= 0) wire::FieldAdd(M, Me, To, Moved);
        } else {
            wire::TextMessage(M, 23, "Sorry, not possible.");
        }
        Send(M);
        return;
    }
    case 125: {  // trade request
        Location();
        P.getQuad();
        P.expectEnd();
        if (!TradeOpen && R.percent(70)) {
            std::vector<Object> Offer(size_t(R.range(1, 4)));
            for (Object& O : Offer) O = RandomItem(true);
            wire::TradeOffer(M, Me, true, RandomName(true), Offer);
            TradeOpen = true;
        } else {
            wire::TextMessage(M, 23, "Sorry, not possible.");
        }
        Send(M);
        return;
    }
    case 126: P.getByte(); P.getByte(); P.expectEnd(); wire::TextMessage(M, 18, "You see a thing."); Send(M); return;
    case 127: case 128:
        P.expectEnd();
        if (TradeOpen && (Command == 128 || R.percent(50))) {
            wire::TradeClose(M);
            TradeOpen = false;
            Send(M);
        }
        return;
    case 130: {
        const Position Where = P.getPosition();
        const int Type = P.getWord();
        const int Stack = P.getByte();
        const int Number = P.getByte();
        P.expectEnd();
        UseObject(Where, Type, Stack, Number);
        return;
    }
    case 131: Location(); Location(); P.expectEnd(); return;
    case 132: Location(); P.getQuad(); P.expectEnd(); return;
    case 133: Location(); P.expectEnd(); return;
    case 135: {
        const int Number = P.getByte();
        P.expectEnd();
        if (Containers.erase(Number)) {
            wire::ContainerClose(M, Number);
            Send(M);
        }
        return;
    }
    case 136: case 202: {
        const int Number = P.getByte();
        P.expectEnd();
        auto It = Containers.find(Number);
        if (It == Containers.end()) return;
        if (Command == 136 && !It->second.HasParent) return;
        OpenContainer(Number, Command == 136 ? RandomContainer() : It->second.Box,
                      Command == 136 ? R.oneIn(2) : It->second.HasParent);
        return;
    }
    case 137: P.getQuad(); P.getString(MAX_TEXT_LENGTH); P.expectEnd(); return;
    case 138: P.getByte(); P.getQuad(); P.getString(MAX_LIST_LENGTH); P.expectEnd(); return;
    case 140:
        Location();
        P.expectEnd();
        wire::TextMessage(M, 18, "You see " + R.text(40) + ".");
        Send(M);
        return;
    case 150: Talk(P); return;
    case 151: {
        P.expectEnd();
        std::vector<std::pair<int, std::string>> List = {{1, "Game Chat"}, {2, "Trade"}, {7, "Help"}};
        if (R.oneIn(3)) List.push_back({3, "Rule Violations"});
        for (int n = R.range(0, 3); n > 0; n--) List.push_back({R.range(100, 200), RandomName(true) + "'s Channel"});
        if (R.oneIn(10)) List.clear();
        wire::ChannelList(M, List);
        Send(M);
        return;
    }
    case 152: {
        const int ID = P.getWord();
        P.expectEnd();
        wire::OpenChannel(M, ID, ID == 7 ? "Help" : ID == 2 ? "Trade" : ID == 1 ? "Game Chat" : RandomName(true));
        Channels.insert(ID);
        Send(M);
        return;
    }
    case 153: Channels.erase(P.getWord()); P.expectEnd(); return;
    case 154: {
        const std::string Name = P.getString(MAX_NAME_LENGTH);
        P.expectEnd();
        if (Name.empty() || R.oneIn(4)) {
            wire::TextMessage(M, 23, "A player with this name does not exist.");
        } else {
            wire::OpenPrivateChannel(M, Name);
            PrivateChannels.insert(Name);
        }
        Send(M);
        return;
    }
    case 155: case 156: {
        const std::string Name = P.getString(MAX_NAME_LENGTH);
        P.expectEnd();
        if (Command == 155) {
            wire::OpenPrivateChannel(M, Name);
            wire::RemoveRequest(M, Name);
            Send(M);
        }
        return;
    }
    case 157: P.expectEnd(); RequestChannel = false; return;
    case 160: P.getByte(); P.getByte(); P.getByte(); P.expectEnd(); return;
    case 161: case 162: case 163: case 164: case 165: case 166: P.getQuad(); P.expectEnd(); return;
    case 167: P.expectEnd(); return;
    case 170: {
        P.expectEnd();
        if (OwnChannel < 0) OwnChannel = R.range(100, 200);
        wire::OpenOwnChannel(M, OwnChannel, Me.Body->Name + "'s Channel");
        Channels.insert(OwnChannel);
        Send(M);
        return;
    }
    case 171: case 172: {
        const std::string Name = P.getString(MAX_NAME_LENGTH);
        P.expectEnd();
        wire::TextMessage(M, 20, Name + (Command == 171 ? " has been invited." : " has been excluded."));
        Send(M);
        return;
    }
    case 190: P.expectEnd(); Walk.clear(); return;
    case 201: {
        const Position Pos = P.getPosition();
        P.expectEnd();
        if (CanSee(Pos)) {
            Flush();
            server::messages::AddField(M, Me, Pos);
            Send(M);
        }
        return;
    }
    case 210: {
        P.expectEnd();
        wire::OutfitDialog(M, Me.Body->Look, 1, R.oneIn(4) ? NUMBER_OF_OUTFITS : 5);
        Send(M);
        return;
    }
    case 211: {
        server::Outfit Look;
        Look.Type = P.getByte();
        Look.Head = P.getByte();
        Look.Body = P.getByte();
        Look.Legs = P.getByte();
        Look.Feet = P.getByte();
        P.expectEnd();
        if (Look.Type < 1 || Look.Type > NUMBER_OF_OUTFITS || Look.Head >= OUTFIT_COLOURS || Look.Body >= OUTFIT_COLOURS ||
            Look.Legs >= OUTFIT_COLOURS || Look.Feet >= OUTFIT_COLOURS)
            throw ProtocolError("an outfit the dialog did not offer");
        Me.Body->Look = Look;
        wire::CreatureOutfit(M, Me.Body->ID, Look);
        Send(M);
        return;
    }
    case 220: {
        const std::string Name = P.getString(MAX_NAME_LENGTH);
        P.expectEnd();
        if (Name.empty() || R.oneIn(5)) {
            wire::TextMessage(M, 23, "A player with this name does not exist.");
        } else {
            const uint32_t ID = NewID(true);
            Buddies[ID] = {Name, R.oneIn(2)};
            wire::Buddy(M, ID, Name, Buddies[ID].second);
        }
        Send(M);
        return;
    }
    case 221: Buddies.erase(P.getQuad()); P.expectEnd(); return;
    case 230: P.getString(MAX_TEXT_LENGTH); P.expectEnd(); return;
    case 231:
        P.getString(MAX_NAME_LENGTH);
        P.getByte();
        P.getString(MAX_TEXT_LENGTH);
        P.getByte();
        P.getByte();
        P.expectEnd();
        return;
    default: throw ProtocolError("unknown game command " + std::to_string(Command));
    }
}

void ScriptedGame::Talk(InPacket& P) {
    const int Mode = P.getByte();
    std::string Text, Addressee;
    int Channel = -1;
    switch (Mode) {
    case 1: case 2: case 3: case 6: case 8: case 9: case 13: Text = P.getString(MAX_TALK_LENGTH); break;
    case 4: case 7: case 11: case 15:
        Addressee = P.getString(MAX_TALK_LENGTH);
        Text = P.getString(MAX_TALK_LENGTH);
        break;
    case 5: case 10: case 14:
        Channel = P.getWord();
        Text = P.getString(MAX_TALK_LENGTH);
        break;
    default: throw ProtocolError("talk mode " + std::to_string(Mode));
    }
    P.expectEnd();
    Message M;
    if (Mode <= 3) {
        wire::TalkAt(M, Me.Body->Name, Mode, Me.Body->Pos, Text);
    } else if (Mode == 5 || Mode == 10 || Mode == 14) {
        if (!Channels.count(Channel)) return;
        wire::TalkChannel(M, Me.Body->Name, Mode, Channel, Text);
    } else if (Mode == 6) {
        RequestChannel = true;
    } else if (Mode == 4 && R.oneIn(3)) {
        wire::TalkPlain(M, Addressee, 4, "Hello to you too.");
    }
    Send(M);
}

void ScriptedGame::UseObject(const Position& Where, int Type, int Stack, int Number) {
    Message M;
    // A container opens in the window the client named.
    const Object* O = Where.x == 0xFFFF ? nullptr : worldmap::GetThing(Where, Stack);
    const bool Box = objecttypes::HasFlag(Type, objecttypes::CONTAINER);
    if (Box && Number < OPEN_CONTAINERS) {
        Object Contents = O != nullptr && O->Type == Type ? *O : RandomContainer();
        Contents.Type = Type;
        OpenContainer(Number, Contents, Where.x == 0xFFFF && Where.y >= 64);
        return;
    }
    const int Door = O != nullptr ? O->Type : 0;
    if (Door == TYPE_DOOR_H_CLOSED || Door == TYPE_DOOR_H_OPEN || Door == TYPE_DOOR_V_CLOSED || Door == TYPE_DOOR_V_OPEN) {
        Object* Changed = worldmap::GetThing(Where, Stack);
        Changed->Type = Door + (Door == TYPE_DOOR_H_CLOSED || Door == TYPE_DOOR_V_CLOSED ? 1 : -1);
        wire::FieldChange(M, Me, Where, Stack, *Changed);
    } else if (R.oneIn(3)) {
        wire::TextMessage(M, 23, "You cannot use this object.");
    }
    Send(M);
}

void ScriptedGame::OpenContainer(int Number, const Object& Box, bool HasParent) {
    OpenBox Open;
    Open.Box = Box;
    Open.Name = RandomName(false);
    Open.Capacity = std::max(int(Box.Contents.size()), R.range(1, 40));
    Open.HasParent = HasParent;
    Message M;
    wire::ContainerOpen(M, Me, Number, Open.Box, Open.Name, std::min(Open.Capacity, 255), HasParent);
    Containers[Number] = std::move(Open);
    Send(M);
}

// ==== Between the client's passes ==========================================================

void ScriptedGame::Step(uint32_t TheNow) {
    Now = TheNow;
    if (!InGame()) return;
    if (!Walk.empty() && int32_t(Now - NextStepAt) >= 0) {
        const int Code = Walk.front();
        Walk.pop_front();
        if (!TakeStep(Code)) CancelWalk();
    }
    // Mostly quiet; sometimes a burst, as when many things happen at once.
    int Count = R.percent(35) ? 1 : 0;
    if (R.oneIn(40)) Count = R.range(2, 12);
    const std::vector<Action>& Table = Actions();
    std::vector<int> Weights;
    for (const Action& A : Table) Weights.push_back(Settings.Skip.count(A.Name) ? 0 : A.Weight);
    for (int i = 0; i < Count && InGame(); i++) {
        const int Chosen = R.weighted(Weights);
        if (Chosen < 0) break;
        if ((this->*Table[size_t(Chosen)].Do)()) Last = Table[size_t(Chosen)].Name;
    }
    // The end of the game, seldom.
    if (InGame() && R.oneIn(3000)) {
        if (!Settings.Skip.count("leave") && R.oneIn(2)) {
            ConnectionEnds();
            Last = "leave";
        } else if (!Settings.Skip.count("death")) {
            Dies();
            Last = "death";
        }
    }
    if (R.percent(50)) Flush();
}

// ==== The actions of the world =============================================================

bool ScriptedGame::CreatureAppears() {
    if (R.oneIn(300)) Crowd = !Crowd;
    if (int(Creatures.size()) >= (Crowd ? CROWD : MAX_CREATURES)) return CreatureVanishes();
    Position Pos;
    if (!RandomVisible(Pos, R.percent(70), true)) return false;
    auto C = std::make_unique<Creature>();
    const bool Player = R.oneIn(3);
    C->ID = NewID(Player);
    C->Name = RandomName(Player);
    C->Look = RandomOutfit();
    C->Direction = R.range(0, 3);
    C->Health = R.range(0, 100);
    C->Speed = R.range(50, 800);
    C->LightLevel = R.oneIn(5) ? R.range(1, 10) : 0;
    C->LightColour = R.below(216);
    C->Skull = R.oneIn(5) ? R.range(1, 5) : 0;
    C->PartyShield = R.oneIn(5) ? R.range(1, 4) : 0;
    C->Phrases = {Phrases[R.below(9)]};
    Creature& Ref = *C;
    Creatures[C->ID] = std::move(C);
    if (!PlaceCreature(Ref, Pos)) {
        Creatures.erase(Ref.ID);
        return false;
    }
    return true;
}

namespace {
// A creature other than the player, on the map.
Creature* Other(Rng& R, std::map<uint32_t, std::unique_ptr<Creature>>& Creatures, const server::Player& Me) {
    if (Creatures.size() < 2) return nullptr;
    for (int Try = 0; Try < 10; Try++) {
        auto It = Creatures.begin();
        std::advance(It, R.below(int(Creatures.size())));
        if (It->second.get() != Me.Body && worldmap::CreatureStackPosition(It->second->Pos, It->first) >= 0)
            return It->second.get();
    }
    return nullptr;
}
}  // namespace

bool ScriptedGame::CreatureWalks() {
    Creature* C = Other(R, Creatures, Me);
    if (C == nullptr) return false;
    const int Code = R.range(1, 8);
    Position To{C->Pos.x + StepX[Code], C->Pos.y + StepY[Code], C->Pos.z};
    // Wanderers far from the player come back towards him.
    if (!CanSee(C->Pos) && R.percent(80)) return false;
    if (!worldmap::IsWalkable(To) || worldmap::GetFloorChange(To) != nullptr) return false;
    C->Direction = DirectionOfStep(StepX[Code], StepY[Code], C->Direction);
    return MoveCreature(*C, To);
}

bool ScriptedGame::CreatureJumps() {
    Creature* C = Other(R, Creatures, Me);
    Position To;
    if (C == nullptr || !RandomVisible(To, R.percent(50), true)) return false;
    return MoveCreature(*C, To);
}

bool ScriptedGame::CreatureVanishes() {
    Creature* C = Other(R, Creatures, Me);
    if (C == nullptr) return false;
    RemoveCreature(*C);
    Creatures.erase(C->ID);
    return true;
}

bool ScriptedGame::CreatureTurns() {
    Creature* C = R.oneIn(4) ? Me.Body : Other(R, Creatures, Me);
    if (C == nullptr) return false;
    TurnCreature(*C, R.range(0, 3));
    return true;
}

bool ScriptedGame::CreatureChanges() {
    // A creature the client knows, itself now and then, or one it does not
    // know (the client reads and drops what it cannot place).
    uint32_t ID = Me.Body->ID;
    if (!Me.Known.empty() && R.percent(80)) ID = Me.Known[size_t(R.below(int(Me.Known.size())))];
    if (R.oneIn(20)) ID = NewID(R.oneIn(2));
    Creature* C = Find(ID);
    Message M;
    switch (R.below(7)) {
    case 0: wire::CreatureMark(M, ID, R.below(216)); break;
    case 1: {
        const int Health = R.range(0, 100);
        if (C) C->Health = Health;
        wire::CreatureHealth(M, ID, Health);
        break;
    }
    case 2: wire::CreatureLight(M, ID, R.oneIn(20) ? 255 : R.range(0, 12), R.below(216)); break;
    case 3: {
        const server::Outfit Look = RandomOutfit();
        if (C) C->Look = Look;
        wire::CreatureOutfit(M, ID, Look);
        break;
    }
    case 4: {
        // Now and then standing still (paralysed) or very fast.
        int Speed = R.range(50, 1500);
        if (R.oneIn(10)) Speed = R.oneIn(2) ? 0 : R.range(1, 65535);
        if (C) C->Speed = Speed;
        wire::CreatureSpeed(M, ID, Speed);
        break;
    }
    case 5: wire::CreatureSkull(M, ID, R.range(0, 5)); break;
    default: wire::CreatureShield(M, ID, R.range(0, 4)); break;
    }
    Send(M);
    return true;
}

bool ScriptedGame::Speaks() {
    Creature* C = Other(R, Creatures, Me);
    const std::string Speaker = C != nullptr && R.percent(70) ? C->Name : RandomName(true);
    const std::string Text = R.oneIn(20) ? R.text(700) : R.text(80);
    Message M;
    static const int Modes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 17};
    const int Mode = Modes[R.below(15)];
    switch (Mode) {
    case 1: case 2: case 3: case 16: case 17: {
        Position Pos = C != nullptr ? C->Pos : Me.MapPos;
        if (R.oneIn(4)) RandomVisible(Pos, false, false);
        wire::TalkAt(M, Speaker, Mode, Pos, Text);
        break;
    }
    case 4: case 7: case 8: case 9: case 11: wire::TalkPlain(M, Speaker, Mode, Text); break;
    case 5: case 10: case 12: case 14: {
        // In a channel the client has open, or one it has not (such talk goes nowhere).
        int Channel = R.range(0, 300);
        if (!Channels.empty() && R.percent(80)) {
            auto It = Channels.begin();
            std::advance(It, R.below(int(Channels.size())));
            Channel = *It;
        }
        wire::TalkChannel(M, Speaker, Mode, Channel, Text);
        break;
    }
    default: wire::TalkRequest(M, Speaker, uint32_t(R.range(1, 100000)), Text); break;
    }
    Send(M);
    return true;
}

bool ScriptedGame::ContainerOpens() {
    OpenContainer(R.below(OPEN_CONTAINERS), RandomContainer(), R.oneIn(2));
    return true;
}

bool ScriptedGame::ContainerCloses() {
    if (Containers.empty()) return false;
    auto It = Containers.begin();
    std::advance(It, R.below(int(Containers.size())));
    Message M;
    wire::ContainerClose(M, It->first);
    Containers.erase(It);
    Send(M);
    return true;
}

bool ScriptedGame::ContainerChanges() {
    if (Containers.empty()) return false;
    auto It = Containers.begin();
    std::advance(It, R.below(int(Containers.size())));
    const int Number = It->first;
    OpenBox& Open = It->second;
    std::vector<Object>& Contents = Open.Box.Contents;
    Message M;
    const int Shown = std::min(int(Contents.size()), server::CONTAINER_SIZE);
    const int What = R.below(3);
    if (What == 0 && int(Contents.size()) < Open.Capacity) {
        const Object O = R.oneIn(6) ? RandomContainer() : RandomItem(true);
        Contents.insert(Contents.begin(), O);
        wire::ContainerAdd(M, Me, Number, O);
    } else if (What == 1 && Shown > 0) {
        const int Place = R.below(Shown);
        Contents[size_t(Place)] = RandomItem(true);
        wire::ContainerChange(M, Me, Number, Place, Contents[size_t(Place)]);
    } else if (Shown > 0) {
        const int Place = R.below(Shown);
        Contents.erase(Contents.begin() + Place);
        wire::ContainerRemove(M, Number, Place);
    } else {
        return false;
    }
    Send(M);
    return true;
}

bool ScriptedGame::InventoryChanges() {
    Message M;
    const int Slot = R.range(1, BODY_SLOTS);
    if (R.oneIn(3))
        wire::InventoryClear(M, Slot);
    else
        wire::InventorySet(M, Me, Slot, R.oneIn(4) ? RandomContainer() : RandomItem(true));
    Send(M);
    return true;
}

bool ScriptedGame::TradeOffers() {
    std::vector<Object> Offer(size_t(R.oneIn(10) ? R.range(30, 100) : R.range(0, 8)));
    for (Object& O : Offer) O = R.oneIn(5) ? RandomContainer() : RandomItem(true);
    Message M;
    // The own offer opens the trade; the partner's follows it.
    wire::TradeOffer(M, Me, !TradeOpen, RandomName(true), Offer);
    TradeOpen = true;
    Send(M);
    return true;
}

bool ScriptedGame::TradeCloses() {
    if (!TradeOpen) return false;
    Message M;
    wire::TradeClose(M);
    TradeOpen = false;
    Send(M);
    return true;
}

bool ScriptedGame::LightChanges() {
    Message M;
    wire::AmbientLight(M, R.range(0, 255), R.below(216));
    Send(M);
    return true;
}

bool ScriptedGame::EffectShown() {
    Position At, To;
    if (!RandomVisible(At, R.percent(70), false)) return false;
    Message M;
    switch (R.below(3)) {
    case 0: wire::GraphicEffect(M, At, R.range(1, NUMBER_OF_EFFECTS)); break;
    case 1: wire::AnimatedText(M, At, R.below(216), R.oneIn(10) ? R.text(15) : std::to_string(R.range(-500, 5000))); break;
    default:
        // Missiles may come from beyond the view or fly out of it.
        To = At;
        if (!RandomVisible(To, true, false)) return false;
        if (R.oneIn(4)) At.x += R.range(-12, 12);
        wire::Missile(M, At, To, R.range(1, NUMBER_OF_MISSILES));
        break;
    }
    Send(M);
    return true;
}

bool ScriptedGame::PlayerChanges() {
    Message M;
    switch (R.below(4)) {
    case 0: {
        wire::PlayerValues& V = Values;
        if (R.oneIn(4)) {
            V.Level = std::min(V.Level + R.range(0, 12), 500);
            V.Experience += uint32_t(R.range(0, 100000));
        }
        if (R.oneIn(10)) V.Experience = 0;
        V.LevelPercent = R.range(0, 100);
        V.MaxHitPoints = R.range(1, 2000);
        V.HitPoints = R.range(0, V.MaxHitPoints);
        V.MaxMana = R.range(0, 2000);
        V.Mana = R.range(0, V.MaxMana);
        V.Capacity = R.range(0, 5000);
        V.MagicLevel = R.range(0, 100);
        V.MagicLevelPercent = R.range(0, 100);
        V.Soul = R.range(0, 200);
        if (R.oneIn(30)) {
            // The largest values the fields hold.
            V.HitPoints = V.MaxHitPoints = V.Capacity = V.Mana = V.MaxMana = 65535;
            V.Experience = 0xFFFFFFFFu;
            V.Level = 65535;
            V.MagicLevel = V.Soul = 255;
        }
        wire::PlayerData(M, V);
        break;
    }
    case 1: {
        std::array<std::pair<int, int>, 7> Skills;
        for (auto& S : Skills) S = {R.range(0, 255), R.range(0, 100)};
        wire::Skills(M, Skills);
        break;
    }
    case 2: wire::Conditions(M, R.below(256)); break;
    default: wire::ClearTarget(M); break;
    }
    Send(M);
    return true;
}

bool ScriptedGame::TextToEdit() {
    Message M;
    if (R.oneIn(3)) {
        wire::EditList(M, R.range(0, 2), uint32_t(R.range(1, 100000)), R.oneIn(4) ? "" : R.text(300));
    } else {
        static const int Writable[] = {TYPE_BOOK, TYPE_SCROLL, TYPE_SIGN, TYPE_BLACKBOARD};
        const int MaxLength = R.oneIn(5) ? R.range(0, 8000) : R.range(50, 1000);
        std::string Text = R.text(std::min(MaxLength, 900));
        if (int(Text.size()) > MaxLength) Text.resize(size_t(MaxLength));
        wire::EditText(M, uint32_t(R.range(1, 100000)), Writable[R.below(4)], MaxLength, Text,
                       R.oneIn(2) ? "" : RandomName(true) + "\n" + R.text(20));
    }
    Send(M);
    return true;
}

bool ScriptedGame::ChannelMessage() {
    Message M;
    switch (R.below(9)) {
    case 0: {
        std::vector<std::pair<int, std::string>> List;
        for (int n = R.range(0, 12); n > 0; n--) List.push_back({R.range(0, 300), RandomName(true)});
        wire::ChannelList(M, List);
        break;
    }
    case 1: {
        const int ID = R.oneIn(3) ? 7 : R.range(0, 300);
        wire::OpenChannel(M, ID, ID == 7 ? "Help" : RandomName(true));
        Channels.insert(ID);
        break;
    }
    case 2: {
        const std::string Name = RandomName(true);
        wire::OpenPrivateChannel(M, Name);
        PrivateChannels.insert(Name);
        break;
    }
    case 3:
        wire::OpenRequestChannel(M, R.range(0, 10));
        RequestChannel = true;
        break;
    case 4: wire::RemoveRequest(M, RandomName(true)); break;
    case 5: {
        std::string Name = RandomName(true);
        if (!PrivateChannels.empty() && R.percent(70)) {
            auto It = PrivateChannels.begin();
            std::advance(It, R.below(int(PrivateChannels.size())));
            Name = *It;
        }
        wire::RequestFinished(M, Name);
        break;
    }
    case 6: wire::RequestClosed(M); break;
    case 7:
        if (OwnChannel < 0) OwnChannel = R.range(100, 200);
        wire::OpenOwnChannel(M, OwnChannel, RandomName(true) + "'s Channel");
        Channels.insert(OwnChannel);
        break;
    default: {
        if (Channels.empty()) return false;
        auto It = Channels.begin();
        std::advance(It, R.below(int(Channels.size())));
        wire::ChannelClosed(M, *It);
        break;
    }
    }
    Send(M);
    return true;
}

bool ScriptedGame::ServerText() {
    Message M;
    wire::TextMessage(M, R.range(18, 23), R.oneIn(10) ? R.text(600) : R.text(100));
    Send(M);
    return true;
}

bool ScriptedGame::WalkCancelled() {
    Message M;
    wire::WalkCancelled(M, R.range(0, 3));
    Send(M);
    return true;
}

// The player goes up or down one floor, as by stairs or a ladder: a walkable
// field beside him on the floor above or below (made so when the world has
// none there).
bool ScriptedGame::FloorChanges() {
    const Position From = Me.Body->Pos;
    int dz = R.oneIn(2) ? 1 : -1;
    if (From.z + dz < 0 || From.z + dz > 15) dz = -dz;
    Position To{From.x + R.range(-1, 1), From.y + R.range(-1, 1), From.z + dz};
    MakeGround(To);
    if (!worldmap::IsWalkable(To)) return false;
    return MoveCreature(*Me.Body, To);
}

bool ScriptedGame::Teleports() {
    const Position From = Me.Body->Pos;
    Position To = World.Start;
    if (R.percent(70)) To = {From.x + R.range(-30, 30), From.y + R.range(-30, 30), R.oneIn(3) ? R.range(0, 15) : From.z};
    To.x = std::clamp(To.x, 20, 65500);
    To.y = std::clamp(To.y, 20, 65500);
    MakeGround(To);
    if (!worldmap::IsWalkable(To)) return false;
    return MoveCreature(*Me.Body, To);
}

bool ScriptedGame::OutfitDialog() {
    Message M;
    const int First = R.range(1, NUMBER_OF_OUTFITS), Last = R.range(First, NUMBER_OF_OUTFITS);
    server::Outfit Look = Me.Body->Look;
    if (R.oneIn(3)) Look = RandomOutfit();
    if (Look.Type == 0) Look.Type = First;
    wire::OutfitDialog(M, Look, First, Last);
    Send(M);
    return true;
}

bool ScriptedGame::BuddyChanges() {
    Message M;
    if (Buddies.empty() || R.oneIn(3)) {
        const uint32_t ID = NewID(true);
        Buddies[ID] = {RandomName(true), R.oneIn(2)};
        wire::Buddy(M, ID, Buddies[ID].first, Buddies[ID].second);
    } else {
        auto It = Buddies.begin();
        std::advance(It, R.below(int(Buddies.size())));
        It->second.second = !It->second.second;
        wire::BuddyOnline(M, It->first, It->second.second);
    }
    Send(M);
    return true;
}

bool ScriptedGame::Ping() {
    Message M;
    wire::Ping(M);
    Send(M);
    return true;
}

// Objects of the map: one put down, one taken away, one changed, or a field
// sent again as a whole.
bool ScriptedGame::FieldChanges() {
    Position Pos;
    if (!RandomVisible(Pos, R.percent(60), false)) return false;
    Message M;
    const worldmap::Field* F = worldmap::GetField(Pos);
    const int Count = F != nullptr ? int(F->Stack.size()) : 0;
    const int What = R.below(4);
    if (What == 0) {
        const Object O = RandomItem(false);
        if (Count == 0 || worldmap::AddThing(Pos, O) < 0) return false;
        wire::FieldAdd(M, Me, Pos, O);
    } else if (What == 1 || What == 2) {
        if (Count == 0) return false;
        const int Stack = R.below(Count);
        Object* O = worldmap::GetThing(Pos, Stack);
        if (O == nullptr || O->IsCreature() || IsGround(O->Type) ||
            objecttypes::HasFlag(O->Type, objecttypes::ONBANK))
            return false;
        if (What == 1) {
            worldmap::RemoveThing(Pos, Stack);
            wire::FieldRemove(M, Pos, Stack);
        } else {
            // Into another object of the same kind of layer, so the stack keeps its order.
            const bool Bottom = objecttypes::HasFlag(O->Type, objecttypes::BOTTOM);
            const bool Top = objecttypes::HasFlag(O->Type, objecttypes::TOP);
            for (int Try = 0; Try < 30; Try++) {
                const Object New = RandomItem(false);
                if (objecttypes::HasFlag(New.Type, objecttypes::BOTTOM) != Bottom ||
                    objecttypes::HasFlag(New.Type, objecttypes::TOP) != Top)
                    continue;
                *O = New;
                wire::FieldChange(M, Me, Pos, Stack, New);
                break;
            }
            if (M.empty()) return false;
        }
    } else {
        Flush();
        server::messages::AddField(M, Me, Pos);
    }
    Send(M);
    return true;
}

bool ScriptedGame::Information() {
    Message M;
    wire::GameInformation(M, Settings.Skip.count("long-dialog-text") ? R.lines(200, 30) : R.text(200));
    Send(M);
    return true;
}

bool ScriptedGame::ConnectionEnds() {
    Flush();
    Leave();
    Out.Close();
    return true;
}

bool ScriptedGame::Dies() {
    Message M;
    wire::GameRefusal(M, "You are dead.");
    Send(M);
    Flush();
    Leave();
    Out.Close();
    return true;
}

}  // namespace randomplayer
