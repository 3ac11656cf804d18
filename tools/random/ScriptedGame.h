// The scripted game server of the random player: the reference server's demo
// world (its map, its object types, its creatures) and one player in it. It
// answers the client's commands as the reference server would, strictly
// parsed, and between the client's passes it sends what a correct server
// may send at that moment: creatures coming, going, walking and talking,
// containers, trades, texts, channels, light, effects, floor changes,
// buddies, the outfit dialog, death and the end of the connection. What it
// sends is computed from its own model of what the client knows (the map
// position, the known creatures, the open containers and channels), never
// read from the client.
#pragma once

#include "Rng.h"
#include "ServerMessages.h"

#include "server/Creatures.h"
#include "server/Game.h"
#include "server/Item.h"
#include "server/Packet.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace randomplayer {

struct ServerSettings {
    std::string DataDir;              // Vorna.dat and Demoland.world
    std::set<std::string> Skip;       // actions switched off by name
};

// Where the game's packets go.
class Outbox {
  public:
    virtual ~Outbox() = default;
    virtual void Send(const server::Message& Packet) = 0;
    // The server ends the connection after what it has sent.
    virtual void Close() = 0;
};

class ScriptedGame {
  public:
    ScriptedGame(Rng Chance, const ServerSettings& Settings, Outbox& Out);
    ~ScriptedGame();
    ScriptedGame(const ScriptedGame&) = delete;
    ScriptedGame& operator=(const ScriptedGame&) = delete;

    // The character enters the world: the reference server's first packets.
    void Enter(const std::string& Name);
    // The connection is gone: the character leaves the world.
    void Leave();
    bool InGame() const { return Me.Body != nullptr; }
    // The player as the server sees him (his map position, the creatures his client knows).
    const server::Player& Viewer() const { return Me; }
    // One client packet of the game (after its length word); throws
    // server::ProtocolError for one the reference server refuses.
    void Command(server::InPacket& Packet);
    // Between two passes of the client (Now: its clock): due steps of the
    // player's walk, and now and then something of the world.
    void Step(uint32_t Now);
    // Sends what is still held back for the next packet.
    void Flush();

    static const std::vector<std::string>& ActionNames();
    const std::string& LastAction() const { return Last; }

  private:
    struct Action {
        const char* Name;
        int Weight;
        bool (ScriptedGame::*Do)();
    };
    struct OpenBox {
        server::Object Box;
        std::string Name;
        int Capacity = 0;
        bool HasParent = false;
    };
    static const std::vector<Action>& Actions();

    // ---- Helpers ----
    server::Creature* Find(uint32_t ID);
    static server::Creature* FindCurrent(uint32_t ID);
    server::Object RandomItem(bool Takeable);
    server::Object RandomContainer(int Depth = 0);
    server::Outfit RandomOutfit();
    std::string RandomName(bool Player);
    bool RandomVisible(server::Position& Pos, bool SameFloor, bool Walkable);
    bool CanSee(const server::Position& Pos) const;
    void MakeGround(const server::Position& Pos);
    uint32_t NewID(bool Player);
    void Send(server::Message& M);  // appends to the batch, which goes out now and then

    // ---- The world, as the reference server changes it ----
    bool PlaceCreature(server::Creature& C, const server::Position& Pos);
    void RemoveCreature(server::Creature& C);
    bool MoveCreature(server::Creature& C, const server::Position& To);
    void MoveOwnView(const server::Position& From, int FromStack, const server::Position& To);
    void TurnCreature(server::Creature& C, int Direction);
    bool TakeStep(int Code);
    void CancelWalk();

    // ---- Answers to commands ----
    void Talk(server::InPacket& P);
    void UseObject(const server::Position& Where, int Type, int Stack, int Number);
    void OpenContainer(int Number, const server::Object& Box, bool HasParent);

    // ---- Actions of the world ----
    bool CreatureAppears();
    bool CreatureWalks();
    bool CreatureJumps();
    bool CreatureVanishes();
    bool CreatureTurns();
    bool CreatureChanges();
    bool Speaks();
    bool ContainerOpens();
    bool ContainerCloses();
    bool ContainerChanges();
    bool InventoryChanges();
    bool TradeOffers();
    bool TradeCloses();
    bool LightChanges();
    bool EffectShown();
    bool PlayerChanges();
    bool TextToEdit();
    bool ChannelMessage();
    bool ServerText();
    bool WalkCancelled();
    bool FloorChanges();
    bool Teleports();
    bool OutfitDialog();
    bool BuddyChanges();
    bool Ping();
    bool FieldChanges();
    bool Information();
    bool ConnectionEnds();
    bool Dies();

    Rng R;
    ServerSettings Settings;
    Outbox& Out;
    server::game::WorldInfo World;
    std::map<uint32_t, std::unique_ptr<server::Creature>> Creatures;
    server::Player Me;
    server::Message Batch;
    std::string Last;
    uint32_t NextMonster = server::FIRST_MONSTER_ID + 1000, NextPlayer = 5000;
    uint32_t Now = 0;
    bool Crowd = false;

    // What the client was told and still holds.
    std::deque<int> Walk;
    uint32_t NextStepAt = 0;
    std::map<int, OpenBox> Containers;
    bool TradeOpen = false;
    std::set<int> Channels;
    int OwnChannel = -1;
    std::set<std::string> PrivateChannels;
    bool RequestChannel = false;
    std::map<uint32_t, std::pair<std::string, bool>> Buddies;
    wire::PlayerValues Values;
};

}  // namespace randomplayer
