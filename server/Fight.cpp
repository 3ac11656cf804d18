// Sections: state; targets; blows and death; parties; the beat.
#include "server/Fight.h"

#include "server/Chance.h"
#include "server/GameLocal.h"
#include "server/Life.h"
#include "server/Objects.h"
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
using game::MESSAGE_EVENT;
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
    if (Attack && !MayAttack(P, *C)) {
        TextMessage(P, MESSAGE_STATUS, "You may not attack this person.");
        ClearTargets(P, true);
        return;
    }
    Targets& T = PlayerTargets[P.Body->ID];
    T.Attack = Attack ? ID : 0;
    T.Follow = Attack ? 0 : ID;
}

// ---- Kinds, corpses and arenas ---------------------------------------------------------

const Kind& KindOf(int Outfit) {
    static const std::map<int, Kind> Kinds = [] {
        std::map<int, Kind> K;
        K[OUTFIT_CHICKEN] = {15, 10, 0, 0};
        K[OUTFIT_RAT] = {20, 15, 1, 6, 1, 0, life::PHYSICAL, false, 25};
        K[OUTFIT_BAT] = {25, 20, 1, 8, 1, 0, life::PHYSICAL, true, 0};
        K[OUTFIT_WOLF] = {50, 40, 2, 12, 1, 0, life::PHYSICAL, false, 15};
        K[OUTFIT_WOLF].Loot = 0;
        Kind Spider{40, 35, 1, 6, 1, 0, life::PHYSICAL, true, 0, life::POISONED, 5, 4};
        K[OUTFIT_SPIDER] = Spider;
        Kind Slime{60, 50, 1, 4, 1, 0, life::PHYSICAL, true, 0, life::PARALYSED, 0, 0, 6000};
        K[OUTFIT_SLIME] = Slime;
        Kind Ghost{70, 80, 4, 12, 3, MISSILE_ENERGY, life::ENERGY, true, 0, life::ELECTRIFIED, 3, 5};
        Ghost.LightLevel = 3;
        Ghost.LightColour = 143;
        K[OUTFIT_GHOST] = Ghost;
        Kind Skeleton{250, 300, 15, 40, 1, 0, life::PHYSICAL, true, 0};
        Skeleton.Loot = 40;
        K[OUTFIT_SKELETON] = Skeleton;
        Kind Orc{100, 90, 4, 18, 1, 0, life::PHYSICAL, false, 10};
        Orc.Loot = 20;
        K[OUTFIT_ORC] = Orc;
        K[OUTFIT_DRAGON] = {400, 700, 20, 60, 4, MISSILE_FIREBALL, life::FIRE, true, 0, life::BURNING, 3, 10};
        return K;
    }();
    static const Kind Unknown{};
    auto It = Kinds.find(Outfit);
    return It == Kinds.end() ? Unknown : It->second;
}

static std::vector<Arena> Arenas;

bool InArena(const Position& Pos) {
    for (const Arena& A : Arenas)
        if (Pos.z == A.z && Pos.x >= A.x1 && Pos.x <= A.x2 && Pos.y >= A.y1 && Pos.y <= A.y2) return true;
    return false;
}

bool MayAttack(const Player& P, const Creature& C) {
    if (C.Controller != nullptr) return InArena(P.Body->Pos) && InArena(C.Pos);
    return C.Look.Type < OUTFIT_CITIZEN || C.Look.Type > OUTFIT_HUNTER;
}

namespace {
// A corpse or blood pool that goes at its time, if it is still where it was left.
struct Decay {
    int64_t At = 0;
    Position Pos;
    int Type = 0;
    int Data = 0;
};
}  // namespace
static std::vector<Decay> Decays;

static void ShowAdded(const Position& Where, const Object& O) {
    for (auto& [ID, P] : game::AllPlayers()) {
        if (!CanSee(P->MapPos, Where)) continue;
        Message M;
        M.addByte(106).addPosition(Where);
        messages::AddThing(M, *P, O);
        Send(*P, M);
    }
}

void LeaveCorpse(const Position& Where, int CorpseType, std::vector<Object> Contents) {
    Object Blood;
    Blood.Type = TYPE_POOL;
    Blood.Data = LIQUID_BLOOD;
    int64_t T = game::Now();
    if (worldmap::AddThing(Where, Blood) >= 0) {
        ShowAdded(Where, Blood);
        Decays.push_back({T + BLOOD_MS, Where, TYPE_POOL, LIQUID_BLOOD});
    }
    Object Corpse;
    Corpse.Type = CorpseType;
    Corpse.Contents = std::move(Contents);
    if (worldmap::AddThing(Where, Corpse) >= 0) {
        ShowAdded(Where, Corpse);
        Decays.push_back({T + CORPSE_MS, Where, CorpseType, 0});
    }
}

// Takes what has decayed off its field (the topmost thing of its kind there).
static void DecayTick(int64_t T) {
    for (size_t i = 0; i < Decays.size();) {
        if (Decays[i].At > T) {
            i++;
            continue;
        }
        Decay D = Decays[i];
        Decays.erase(Decays.begin() + long(i));
        const worldmap::Field* F = worldmap::GetField(D.Pos);
        if (F == nullptr) continue;
        for (int Stack = int(F->Stack.size()) - 1; Stack >= 0; Stack--) {
            const Object& O = F->Stack[size_t(Stack)];
            if (O.Type != D.Type || (D.Type == TYPE_POOL && O.Data != D.Data)) continue;
            objects::RemoveFromMap(D.Pos, Stack);
            break;
        }
    }
}

// ---- Blows and death --------------------------------------------------------------------------

static void Die(Creature& C, Player* Killer) {
    Position Where = C.Pos;
    game::CreatureSpawn Again{C.Name, C.Look, C.Home, C.Roam, C.BaseSpeed, C.Phrases, C.MaxHitPoints};
    const Kind& K = KindOf(C.Look.Type);
    for (auto& [ID, P] : game::AllPlayers()) {
        auto It = PlayerTargets.find(ID);
        if (It != PlayerTargets.end() && (It->second.Attack == C.ID || It->second.Follow == C.ID)) ClearTargets(*P, true);
    }
    game::RemoveMonster(C);
    std::vector<Object> Loot;
    if (K.Loot > 0) {
        Object Coins;
        Coins.Type = TYPE_GOLD_COIN;
        Coins.Data = chance::Roll(1, K.Loot);
        Loot.push_back(Coins);
    }
    LeaveCorpse(Where, TYPE_CORPSE_BEAST, std::move(Loot));
    if (Killer != nullptr) life::GainExperience(*Killer, uint32_t(K.Experience));
    Respawns.push_back({game::Now() + RESPAWN_MS, Again});
}

// A bow in the hand reaches this far (fields along either axis) and shows
// its arrow in flight.
static constexpr int BOW_RANGE = 4;

static int WeaponType(const Player& P) {
    if (P.Record == nullptr) return 0;
    for (int Slot : {itemrules::SLOT_RIGHT_HAND, itemrules::SLOT_LEFT_HAND}) {
        int Type = P.Record->Inventory[size_t(Slot - 1)].Type;
        if (Type == TYPE_SWORD || Type == TYPE_MACE || Type == TYPE_AXE || Type == TYPE_BOW || Type == TYPE_CROSSBOW) return Type;
    }
    return 0;
}

static bool HoldsBow(const Player& P) {
    return P.Record != nullptr && P.Record->Inventory[itemrules::SLOT_RIGHT_HAND - 1].Type == TYPE_BOW;
}

static bool HoldsShield(const Player& P) {
    for (int Slot : {itemrules::SLOT_RIGHT_HAND, itemrules::SLOT_LEFT_HAND}) {
        int Type = P.Record->Inventory[size_t(Slot - 1)].Type;
        if (Type == TYPE_WOODEN_SHIELD || Type == TYPE_IRON_SHIELD) return true;
    }
    return false;
}

// The skill a player's blows train, with the weapon's own strength.
static int BlowSkill(const Player& P, int& WeaponAttack) {
    switch (WeaponType(P)) {
        case TYPE_SWORD: WeaponAttack = 12; return life::SWORD;
        case TYPE_MACE: WeaponAttack = 10; return life::CLUB;
        case TYPE_AXE: WeaponAttack = 14; return life::AXE;
        case TYPE_BOW: case TYPE_CROSSBOW: WeaponAttack = 10; return life::DISTANCE;
        default: WeaponAttack = 4; return life::FIST;
    }
}

static void Missile(const Position& From, const Position& To, int Type) {
    for (auto& [ID, Viewer] : game::AllPlayers()) {
        if (!CanSee(Viewer->MapPos, From) && !CanSee(Viewer->MapPos, To)) continue;
        Message M;
        M.addByte(133).addPosition(From).addPosition(To).addByte(Type);
        Send(*Viewer, M);
    }
}

// Mark colours: a player who attacks the viewer, a creature that begins to hunt it.
static constexpr int MARK_ATTACKER = 215, MARK_HUNTER = 180;

static void SetSkull(Creature& C, int Skull) {
    C.SkullUntil = Skull == SKULL_NONE ? 0 : game::Now() + SKULL_MS;
    if (C.Skull == Skull) return;
    C.Skull = Skull;
    for (auto& [ID, Viewer] : game::AllPlayers()) {
        if (!CanSee(Viewer->MapPos, C.Pos)) continue;
        Message M;
        M.addByte(144).addQuad(C.ID).addByte(Skull);
        Send(*Viewer, M);
    }
}

// Damage done by a player to a player in an arena.
static void StrikePlayer(Player& P, Player& Victim, int Damage, int Kind) {
    life::Fought(P);
    life::Fought(Victim);
    // Attacking someone without a skull marks the attacker; a kill makes it red.
    if (Victim.Body->Skull == SKULL_NONE && P.Body->Skull != SKULL_RED) SetSkull(*P.Body, SKULL_WHITE);
    else if (P.Body->Skull != SKULL_NONE) SetSkull(*P.Body, P.Body->Skull);
    Message Mark;
    Mark.addByte(134).addQuad(P.Body->ID).addByte(MARK_ATTACKER);
    Send(Victim, Mark);
    life::Hurt(Victim, Damage, Kind);
    if (Victim.Dead) {
        TextMessage(P, MESSAGE_INFO, "You have killed " + Victim.Body->Name + ".");
        SetSkull(*P.Body, SKULL_RED);
    }
}

static int EffectOf(int Kind) {
    switch (Kind) {
        case life::FIRE: return EFFECT_FIRE;
        case life::ENERGY: return EFFECT_ENERGY;
        case life::POISON: return EFFECT_POISON;
        default: return EFFECT_BLOOD;
    }
}

void Strike(Player& P, Creature& Target, int Damage, int Kind) {
    life::Fought(P);
    if (Target.Controller != nullptr) {
        StrikePlayer(P, *Target.Controller, Damage, Kind);
        return;
    }
    if (Target.MaxHitPoints <= 0) Target.MaxHitPoints = Target.HitPoints = KindOf(Target.Look.Type).HitPoints;
    if (Target.Target == 0 && KindOf(Target.Look.Type).MaxDamage > 0) Target.Target = P.Body->ID;
    Target.HitPoints = std::max(Target.HitPoints - Damage, 0);
    // The health shown is a percentage that stays above 0 while alive.
    Target.Health = Target.HitPoints == 0 ? 0 : std::max(Target.HitPoints * 100 / Target.MaxHitPoints, 1);
    for (auto& [ID, Viewer] : game::AllPlayers()) {
        if (!CanSee(Viewer->MapPos, Target.Pos)) continue;
        Message M;
        M.addByte(131).addPosition(Target.Pos).addByte(Damage > 0 ? EffectOf(Kind) : EFFECT_HIT);
        if (Damage > 0) M.addByte(132).addPosition(Target.Pos).addByte(180).addString(std::to_string(Damage));
        M.addByte(140).addQuad(Target.ID).addByte(Target.Health);
        Send(*Viewer, M);
    }
    if (Target.Health == 0) {
        TextMessage(P, MESSAGE_INFO, "You have slain " + Target.Name + ".");
        Die(Target, &P);
    }
}

static void Blow(Player& P, Creature& Target) {
    int WeaponAttack = 0;
    int Skill = BlowSkill(P, WeaponAttack);
    int Level = P.Record->SkillLevel[size_t(Skill)];
    int Damage = chance::Roll(WeaponAttack / 2, WeaponAttack + Level / 2 + P.Record->Level);
    life::Train(P, Skill);
    Strike(P, Target, Damage, life::PHYSICAL);
}

// ---- Creatures that fight -----------------------------------------------------------------------

static const int StepX[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
static const int StepY[9] = {0, 0, -1, -1, -1, 0, 1, 1, 1};

static int Distance(const Position& A, const Position& B) { return std::max(std::abs(A.x - B.x), std::abs(A.y - B.y)); }

// A straight step that takes the creature further from the field, 0 for none.
static int StepAway(const Position& From, const Position& Danger) {
    int Best = 0, BestDistance = Distance(From, Danger);
    for (int Code : {1, 3, 5, 7}) {
        Position Next{From.x + StepX[Code], From.y + StepY[Code], From.z};
        int D = Distance(Next, Danger);
        if (D > BestDistance && worldmap::IsWalkable(Next) && worldmap::GetFloorChange(Next) == nullptr) {
            Best = Code;
            BestDistance = D;
        }
    }
    return Best;
}

// A creature hunting a player: chases (or flees when weak), and strikes
// when in reach.
static void Hunt(Creature& C, Player& Prey, int64_t T) {
    const Kind& K = KindOf(C.Look.Type);
    Creature& Me = *Prey.Body;
    int D = Distance(C.Pos, Me.Pos);
    bool Fleeing = K.FleePercent > 0 && C.HitPoints * 100 < K.FleePercent * std::max(C.MaxHitPoints, 1);
    if (C.WalkQueue.empty() && T >= C.NextStepAt) {
        int Code = 0;
        if (Fleeing) Code = StepAway(C.Pos, Me.Pos);
        else if (D > K.Range || (K.Range > 1 && D > 1 && !objects::ClearLine(C.Pos, Me.Pos))) Code = game::StepTowards(C.Pos, Me.Pos);
        if (Code != 0) game::Walk(C, {Code});
    }
    D = Distance(C.Pos, Me.Pos);
    if (T < C.NextBlowAt || D > K.Range || C.Pos.z != Me.Pos.z || (Fleeing && D > 1)) return;
    if (D > 1 && !objects::ClearLine(C.Pos, Me.Pos)) return;
    C.NextBlowAt = T + BLOW_INTERVAL_MS;
    if (D > 1 && K.Missile != 0) Missile(C.Pos, Me.Pos, K.Missile);
    int Damage = chance::Roll(K.MinDamage, K.MaxDamage);
    if (HoldsShield(Prey) && K.DamageKind == life::PHYSICAL) {
        life::Train(Prey, life::SHIELDING);
        Damage = std::max(Damage - chance::Roll(0, Prey.Record->SkillLevel[life::SHIELDING] / 3), 0);
    }
    life::Fought(Prey);
    if (Damage == 0) {
        for (auto& [ID, Viewer] : game::AllPlayers()) {
            if (!CanSee(Viewer->MapPos, Me.Pos)) continue;
            Message M;
            M.addByte(131).addPosition(Me.Pos).addByte(EFFECT_HIT);
            Send(*Viewer, M);
        }
        return;
    }
    life::Hurt(Prey, Damage, K.DamageKind);
    if (K.Condition >= 0 && !Prey.Dead)
        life::SetCondition(Prey, K.Condition, K.ConditionMs, K.ConditionTicks, K.ConditionDamage);
}


static void CreaturesFight(int64_t T) {
    std::vector<Creature*> Fighters;
    for (auto& [ID, C] : game::AllCreatures())
        if (C->Controller == nullptr && KindOf(C->Look.Type).MaxDamage > 0) Fighters.push_back(C.get());
    for (Creature* C : Fighters) {
        if (game::FindCreature(C->ID) != C) continue;
        Player* Prey = C->Target ? game::FindPlayer(C->Target) : nullptr;
        if (Prey != nullptr && (Prey->Dead || Prey->Body->Pos.z != C->Pos.z || Distance(Prey->Body->Pos, C->Pos) > 8 ||
                                Distance(C->Pos, C->Home) > C->Roam + 8))
            Prey = nullptr;
        if (Prey == nullptr) C->Target = 0;
        if (Prey == nullptr && KindOf(C->Look.Type).Aggressive) {
            int Best = NOTICE_RANGE + 1;
            for (auto& [ID, P] : game::AllPlayers()) {
                if (P->Dead || P->Body->Pos.z != C->Pos.z || Distance(P->Body->Pos, C->Home) > C->Roam + NOTICE_RANGE) continue;
                int D = Distance(P->Body->Pos, C->Pos);
                if (D < Best) Best = D, Prey = P.get();
            }
            if (Prey != nullptr) {
                C->Target = Prey->Body->ID;
                Message M;
                M.addByte(134).addQuad(C->ID).addByte(MARK_HUNTER);
                Send(*Prey, M);
            }
        }
        if (Prey != nullptr) Hunt(*C, *Prey, T);
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
        if (Target == nullptr || !InSight(*P, *Target) || (Target->Controller != nullptr && Target->Controller->Dead)) {
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
            if (!Adjacent) Missile(Me.Pos, Target->Pos, MISSILE_ARROW);
            Blow(*P, *Target);
        }
    }
    CreaturesFight(T);
    DecayTick(T);
    for (auto& [ID, C] : game::AllCreatures())
        if (C->SkullUntil != 0 && C->SkullUntil <= T) SetSkull(*C, SKULL_NONE);
    for (size_t i = 0; i < Respawns.size();) {
        if (Respawns[i].At <= T && game::SpawnMonster(Respawns[i].Spawn) != nullptr) {
            Respawns.erase(Respawns.begin() + long(i));
        } else {
            if (Respawns[i].At <= T) Respawns[i].At = T + 5000;  // no room yet
            i++;
        }
    }
}

void InitFight(const std::vector<Arena>& TheArenas) {
    Arenas = TheArenas;
    Decays.clear();
    PlayerTargets.clear();
    Parties.clear();
    Respawns.clear();
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
