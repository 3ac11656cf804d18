// Sections: state; targets; blows and death; parties; the beat.
#include "server/Fight.h"

#include "server/GameLocal.h"
#include "server/GameMessages.h"
#include "server/ItemRules.h"
#include "server/WorldMap.h"
#include "world/TypeNumbers.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <vector>

namespace server::fight {

using game::MESSAGE_INFO;
using game::MESSAGE_STATUS;
using game::Send;
using game::TextMessage;
using messages::CanSee;

// ---- State ---------------------------------------------------------------------------

namespace {
struct Targets {
    uint32_t Attack = 0, Follow = 0;
    int64_t NextBlowAt = 0;
};
struct Party {
    uint32_t Leader = 0;
    std::vector<uint32_t> Members;  // without the leader
    std::vector<uint32_t> Invited;
};
struct Respawn {
    int64_t At = 0;
    game::CreatureSpawn Spawn;
};
}  // namespace

static std::map<uint32_t, Targets> PlayerTargets;  // by player id
static std::map<uint32_t, Party> Parties;          // by leader id
static std::vector<Respawn> Respawns;
static std::map<uint32_t, int> HitPoints;  // of the creatures that were hit, by id
static std::mt19937 Random(1601);

static bool Contains(const std::vector<uint32_t>& List, uint32_t ID) {
    return std::find(List.begin(), List.end(), ID) != List.end();
}

// The party a player leads or belongs to; nullptr for none.
static Party* PartyOf(uint32_t ID) {
    for (auto& [Leader, P] : Parties)
        if (Leader == ID || Contains(P.Members, ID)) return &P;
    return nullptr;
}

// ---- Targets ------------------------------------------------------------------------------

static void ClearTargets(Player& P, bool Tell) {
    PlayerTargets.erase(P.Body->ID);
    if (Tell) {
        Message M;
        M.addByte(163);
        Send(P, M);
    }
}

void Cancel(Player& P) { ClearTargets(P, false); }

static bool InSight(const Player& P, const Creature& C) {
    return C.Pos.z == P.Body->Pos.z && CanSee(P.MapPos, C.Pos);
}

static void SetTarget(Player& P, uint32_t ID, bool Attack) {
    if (ID == 0) {
        ClearTargets(P, false);
        return;
    }
    Creature* C = game::FindCreature(ID);
    if (C == nullptr || C == P.Body || !InSight(P, *C)) {
        ClearTargets(P, true);
        return;
    }
    if (Attack && C->Controller != nullptr) {
        TextMessage(P, MESSAGE_STATUS, "You may not attack this person.");
        ClearTargets(P, true);
        return;
    }
    Targets& T = PlayerTargets[P.Body->ID];
    T.Attack = Attack ? ID : 0;
    T.Follow = Attack ? 0 : ID;
}

// ---- Blows and death --------------------------------------------------------------------------

static void Die(Creature& C) {
    Position Where = C.Pos;
    game::CreatureSpawn Again{C.Name, C.Look, C.Home, C.Roam, C.Speed, C.Phrases};
    for (auto& [ID, P] : game::AllPlayers()) {
        auto It = PlayerTargets.find(ID);
        if (It != PlayerTargets.end() && (It->second.Attack == C.ID || It->second.Follow == C.ID)) ClearTargets(*P, true);
    }
    HitPoints.erase(C.ID);
    game::RemoveMonster(C);
    Object Corpse;
    Corpse.Type = TYPE_CORPSE_BEAST;
    if (worldmap::AddThing(Where, Corpse) >= 0) {
        for (auto& [ID, P] : game::AllPlayers()) {
            if (!CanSee(P->MapPos, Where)) continue;
            Message M;
            M.addByte(106).addPosition(Where);
            messages::AddThing(M, *P, Corpse);
            Send(*P, M);
        }
    }
    Respawns.push_back({game::Now() + RESPAWN_MS, Again});
}

// Hit points of a non-player creature when unhurt.
static int MaxHitPoints(const Creature& C) {
    switch (C.Look.Type) {
        case OUTFIT_CHICKEN: return 15;
        case OUTFIT_RAT: return 20;
        case OUTFIT_BAT: return 25;
        case OUTFIT_WOLF: return 50;
        default: return 80;
    }
}

// A bow in the hand reaches this far (fields along either axis) and shows
// its arrow in flight.
static constexpr int BOW_RANGE = 4;

static bool HoldsBow(const Player& P) {
    return P.Record != nullptr && P.Record->Inventory[itemrules::SLOT_RIGHT_HAND - 1].Type == TYPE_BOW;
}

static void Shoot(const Creature& From, const Creature& Target) {
    for (auto& [ID, Viewer] : game::AllPlayers()) {
        if (!CanSee(Viewer->MapPos, From.Pos) && !CanSee(Viewer->MapPos, Target.Pos)) continue;
        Message M;
        M.addByte(133).addPosition(From.Pos).addPosition(Target.Pos).addByte(MISSILE_ARROW);
        Send(*Viewer, M);
    }
}

static void Blow(Player& P, Creature& Target) {
    int Damage = 5 + int(Random() % 21);
    int Max = MaxHitPoints(Target);
    auto Known = HitPoints.try_emplace(Target.ID, Max).first;
    int& Left = Known->second;
    Left = std::max(Left - Damage, 0);
    // The health shown is a percentage that stays above 0 while alive.
    Target.Health = Left == 0 ? 0 : std::max(Left * 100 / Max, 1);
    for (auto& [ID, Viewer] : game::AllPlayers()) {
        if (!CanSee(Viewer->MapPos, Target.Pos)) continue;
        Message M;
        M.addByte(131).addPosition(Target.Pos).addByte(EFFECT_BLOOD);
        M.addByte(132).addPosition(Target.Pos).addByte(180).addString(std::to_string(Damage));
        M.addByte(140).addQuad(Target.ID).addByte(Target.Health);
        Send(*Viewer, M);
    }
    if (Target.Health == 0) {
        TextMessage(P, MESSAGE_INFO, "You have slain " + Target.Name + ".");
        Die(Target);
    }
}

// ---- Parties ----------------------------------------------------------------------------------

int ShieldFor(const Player& Viewer, const Creature& C) {
    uint32_t V = Viewer.Body->ID;
    Party* Mine = PartyOf(V);
    if (Mine != nullptr && (Mine->Leader == C.ID || Contains(Mine->Members, C.ID)))
        return Mine->Leader == C.ID ? SHIELD_LEADER : SHIELD_MEMBER;
    auto Led = Parties.find(C.ID);
    if (Led != Parties.end() && Contains(Led->second.Invited, V)) return SHIELD_HOST;
    if (Mine != nullptr && Mine->Leader == V && Contains(Mine->Invited, C.ID)) return SHIELD_GUEST;
    return SHIELD_NONE;
}

// Tells the players concerned how they now see each other's shields.
static void ShowShields(const std::set<uint32_t>& Concerned) {
    for (uint32_t V : Concerned) {
        Player* Viewer = game::FindPlayer(V);
        if (Viewer == nullptr) continue;
        Message M;
        for (uint32_t ID : Concerned) {
            Player* Other = game::FindPlayer(ID);
            if (Other == nullptr || (Other != Viewer && !CanSee(Viewer->MapPos, Other->Body->Pos))) continue;
            M.addByte(145).addQuad(ID).addByte(ShieldFor(*Viewer, *Other->Body));
        }
        if (!M.empty()) Send(*Viewer, M);
    }
}

static std::set<uint32_t> Everyone(const Party& P) {
    std::set<uint32_t> All(P.Members.begin(), P.Members.end());
    All.insert(P.Invited.begin(), P.Invited.end());
    All.insert(P.Leader);
    return All;
}

static void TellParty(const Party& P, const std::string& Text) {
    for (uint32_t ID : Everyone(P)) {
        Player* Member = game::FindPlayer(ID);
        if (Member != nullptr && (ID == P.Leader || Contains(P.Members, ID))) TextMessage(*Member, MESSAGE_INFO, Text);
    }
}

// Takes the player out of its party (or its party's invitations); the
// first member follows a leader who leaves, a party of one ends.
static void LeaveParty(uint32_t ID) {
    std::set<uint32_t> Concerned{ID};
    for (auto& [Leader, P] : Parties) {
        if (Contains(P.Invited, ID)) {
            std::erase(P.Invited, ID);
            Concerned.insert(Leader);
        }
    }
    Party* Mine = PartyOf(ID);
    if (Mine != nullptr) {
        auto All = Everyone(*Mine);
        Concerned.insert(All.begin(), All.end());
        Player* Leaving = game::FindPlayer(ID);
        Party Rest = *Mine;
        Parties.erase(Mine->Leader);
        if (Rest.Leader == ID) {
            if (!Rest.Members.empty()) {
                Rest.Leader = Rest.Members.front();
                Rest.Members.erase(Rest.Members.begin());
            } else {
                Rest.Leader = 0;
            }
        } else {
            std::erase(Rest.Members, ID);
        }
        if (Rest.Leader != 0 && (!Rest.Members.empty() || !Rest.Invited.empty())) {
            Parties[Rest.Leader] = Rest;
            if (Leaving != nullptr) TellParty(Rest, Leaving->Body->Name + " has left the party.");
        }
        if (Leaving != nullptr) TextMessage(*Leaving, MESSAGE_INFO, "You have left the party.");
    }
    for (auto It = Parties.begin(); It != Parties.end();) {
        if (It->second.Members.empty() && It->second.Invited.empty()) It = Parties.erase(It);
        else ++It;
    }
    ShowShields(Concerned);
}

static void PartyCommand(Player& P, int Command, uint32_t ID) {
    uint32_t Me = P.Body->ID;
    if (Command == 167) {
        LeaveParty(Me);
        return;
    }
    Player* Other = game::FindPlayer(ID);
    if (Other == nullptr || Other == &P) return;
    const std::string& Name = Other->Body->Name;
    Party* Mine = PartyOf(Me);
    switch (Command) {
        case 163: {  // invite
            if (Mine != nullptr && Mine->Leader != Me) return TextMessage(P, MESSAGE_STATUS, "You are not the leader of the party.");
            if (PartyOf(ID) != nullptr) return TextMessage(P, MESSAGE_STATUS, Name + " is already a member of a party.");
            Party& Led = Parties[Me];
            Led.Leader = Me;
            if (Contains(Led.Invited, ID)) return;
            Led.Invited.push_back(ID);
            TextMessage(P, MESSAGE_INFO, Name + " has been invited.");
            TextMessage(*Other, MESSAGE_INFO, P.Body->Name + " invites you to the party.");
            ShowShields(Everyone(Led));
            return;
        }
        case 164: {  // join
            auto It = Parties.find(ID);
            if (It == Parties.end() || !Contains(It->second.Invited, Me)) return;
            if (Mine != nullptr) LeaveParty(Me);
            It = Parties.find(ID);
            if (It == Parties.end()) return;
            std::erase(It->second.Invited, Me);
            It->second.Members.push_back(Me);
            TellParty(It->second, P.Body->Name + " has joined the party.");
            ShowShields(Everyone(It->second));
            return;
        }
        case 165: {  // revoke the invitation
            if (Mine == nullptr || Mine->Leader != Me || !Contains(Mine->Invited, ID)) return;
            std::erase(Mine->Invited, ID);
            std::set<uint32_t> Concerned = Everyone(*Mine);
            Concerned.insert(ID);
            TextMessage(*Other, MESSAGE_INFO, P.Body->Name + " has revoked the invitation.");
            if (Mine->Members.empty() && Mine->Invited.empty()) Parties.erase(Me);
            ShowShields(Concerned);
            return;
        }
        case 166: {  // pass the leadership
            if (Mine == nullptr || Mine->Leader != Me || !Contains(Mine->Members, ID)) return;
            Party Passed = *Mine;
            Parties.erase(Me);
            std::erase(Passed.Members, ID);
            Passed.Members.insert(Passed.Members.begin(), Me);
            Passed.Leader = ID;
            Parties[ID] = Passed;
            TellParty(Passed, Name + " is now the leader of the party.");
            ShowShields(Everyone(Passed));
            return;
        }
        default: return;
    }
}

// ---- Commands and the beat -----------------------------------------------------------------------

void Command(Player& P, int Command, uint32_t ID) {
    if (Command == 161 || Command == 162) SetTarget(P, ID, Command == 161);
    else PartyCommand(P, Command, ID);
}

void Tick() {
    int64_t T = game::Now();
    std::vector<uint32_t> Hunters;
    for (auto& [ID, Target] : PlayerTargets) Hunters.push_back(ID);
    for (uint32_t ID : Hunters) {
        Player* P = game::FindPlayer(ID);
        auto It = PlayerTargets.find(ID);
        if (P == nullptr || It == PlayerTargets.end()) continue;
        Targets& Mine = It->second;
        Creature* Target = game::FindCreature(Mine.Attack ? Mine.Attack : Mine.Follow);
        if (Target == nullptr || !InSight(*P, *Target)) {
            TextMessage(*P, MESSAGE_STATUS, "Target lost.");
            ClearTargets(*P, true);
            continue;
        }
        Creature& Me = *P->Body;
        bool Adjacent = std::abs(Target->Pos.x - Me.Pos.x) <= 1 && std::abs(Target->Pos.y - Me.Pos.y) <= 1;
        const bool InRange = Mine.Attack != 0 && HoldsBow(*P) && Target->Pos.z == Me.Pos.z &&
                             std::abs(Target->Pos.x - Me.Pos.x) <= BOW_RANGE &&
                             std::abs(Target->Pos.y - Me.Pos.y) <= BOW_RANGE;
        bool Chase = Mine.Follow != 0 || P->ChaseMode != 0;
        if (!Adjacent && !InRange && Chase && Me.WalkQueue.empty() && T >= Me.NextStepAt) {
            if (int Code = game::StepTowards(Me.Pos, Target->Pos)) game::Walk(Me, {Code});
        }
        if (Mine.Attack != 0 && (Adjacent || InRange) && T >= Mine.NextBlowAt) {
            Mine.NextBlowAt = T + BLOW_INTERVAL_MS;
            if (!Adjacent) Shoot(Me, *Target);
            Blow(*P, *Target);
        }
    }
    for (size_t i = 0; i < Respawns.size();) {
        if (Respawns[i].At <= T && game::SpawnMonster(Respawns[i].Spawn) != nullptr) {
            Respawns.erase(Respawns.begin() + long(i));
        } else {
            if (Respawns[i].At <= T) Respawns[i].At = T + 5000;  // no room yet
            i++;
        }
    }
}

void InitFight() {
    PlayerTargets.clear();
    Parties.clear();
    Respawns.clear();
    HitPoints.clear();
}

void PlayerLeaves(Player& P) {
    uint32_t Me = P.Body->ID;
    PlayerTargets.erase(Me);
    for (auto& [ID, Other] : game::AllPlayers()) {
        auto It = PlayerTargets.find(ID);
        if (It != PlayerTargets.end() && It->second.Follow == Me) ClearTargets(*Other, true);
    }
    LeaveParty(Me);
}

}  // namespace server::fight
