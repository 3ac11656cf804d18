// Sections: levels; conditions; damage and healing; experience, skills and
// magic; speed; the beat.
#include "server/Life.h"

#include "server/GameLocal.h"
#include "server/GameMessages.h"
#include "world/TypeNumbers.h"

#include <algorithm>
#include <string>

namespace server::life {

using game::MESSAGE_EVENT;
using game::MESSAGE_STATUS;
using game::Send;
using game::TextMessage;
using messages::CanSee;

// ---- Levels ------------------------------------------------------------------------

uint32_t ExperienceForLevel(int Level) {
    int64_t L = std::max(Level, 1) - 1;
    return uint32_t((50 * L * L * L - 150 * L * L + 400 * L) / 3);
}

void LevelOf(uint32_t Experience, int& Level, int& Percent) {
    Level = 1;
    while (Level < 500 && ExperienceForLevel(Level + 1) <= Experience) Level++;
    uint32_t Base = ExperienceForLevel(Level), Next = ExperienceForLevel(Level + 1);
    Percent = int(uint64_t(Experience - Base) * 100 / std::max<uint32_t>(Next - Base, 1));
}

// What a level gives (and a lost level takes): hit points, mana, capacity.
static constexpr int HIT_POINTS_PER_LEVEL = 10, MANA_PER_LEVEL = 10, CAPACITY_PER_LEVEL = 10;

static int BaseSpeed(const CharacterRecord& R) { return 220 + 2 * (R.Level - 1); }

// Sets the character to the level its experience reaches, with the values
// the levels between give or take; returns the old level.
static int Relevel(CharacterRecord& R) {
    int Old = R.Level, New = 1, Percent = 0;
    LevelOf(R.Experience, New, Percent);
    int Steps = New - Old;
    R.Level = New;
    R.LevelPercent = Percent;
    R.MaxHitPoints = std::max(R.MaxHitPoints + Steps * HIT_POINTS_PER_LEVEL, 1);
    R.MaxMana = std::max(R.MaxMana + Steps * MANA_PER_LEVEL, 0);
    R.Capacity = std::max(R.Capacity + Steps * CAPACITY_PER_LEVEL, 0);
    R.HitPoints = std::min(R.HitPoints, R.MaxHitPoints);
    R.Mana = std::min(R.Mana, R.MaxMana);
    return Old;
}

void DeathPenalty(CharacterRecord& R) {
    R.DeathLoss = R.Experience / 10;
    R.Experience -= R.DeathLoss;
    Relevel(R);
    R.HitPoints = R.MaxHitPoints;
    R.Mana = R.MaxMana;
}

// ---- Conditions ----------------------------------------------------------------------

int ConditionFlags(const Player& P) {
    int Flags = 0;
    for (int Bit = 0; Bit < CONDITIONS; Bit++)
        if (P.Conditions[Bit].Until > 0) Flags |= 1 << Bit;
    return Flags;
}

bool Has(const Player& P, int Bit) { return P.Conditions[Bit].Until > 0; }

static void SendConditions(Player& P) {
    int Flags = ConditionFlags(P);
    if (Flags == P.SentConditions) return;
    P.SentConditions = Flags;
    Message M;
    M.addByte(162).addByte(Flags);
    Send(P, M);
}

void SetCondition(Player& P, int Bit, int64_t DurationMs, int Ticks, int Damage) {
    if (P.Dead) return;
    ConditionState& C = P.Conditions[Bit];
    int64_t T = game::Now();
    if (Ticks > 0) {
        // A new dose of the same harm: the stronger and the longer counts.
        C.TicksLeft = std::max(C.TicksLeft, Ticks);
        C.Damage = std::max(C.Damage, Damage);
        if (C.Until == 0) C.NextTickAt = T + CONDITION_TICK_MS;
        C.Until = FOREVER;  // ends with its last tick
    } else {
        C.Until = std::max(C.Until, DurationMs >= FOREVER ? FOREVER : T + DurationMs);
    }
    SendConditions(P);
    if (Bit == HASTED || Bit == PARALYSED) UpdateSpeed(P);
}

void ClearCondition(Player& P, int Bit) {
    if (P.Conditions[Bit].Until == 0) return;
    P.Conditions[Bit] = ConditionState{};
    SendConditions(P);
    if (Bit == HASTED || Bit == PARALYSED) UpdateSpeed(P);
}

void Fought(Player& P) {
    ConditionState& C = P.Conditions[IN_FIGHT];
    C.Until = game::Now() + FIGHT_MS;
    SendConditions(P);
}

// ---- Damage and healing -----------------------------------------------------------------

static void ShowHealth(Player& P) {
    CharacterRecord& R = *P.Record;
    P.Body->Health = R.HitPoints <= 0 ? 0 : std::max(R.HitPoints * 100 / std::max(R.MaxHitPoints, 1), 1);
    for (auto& [ID, Viewer] : game::AllPlayers()) {
        if (!CanSee(Viewer->MapPos, P.Body->Pos)) continue;
        Message M;
        M.addByte(140).addQuad(P.Body->ID).addByte(P.Body->Health);
        Send(*Viewer, M);
    }
    game::SendPlayerData(P);
}

// Animated text colours and effects of the kinds of damage.
static int DamageColour(int Kind) {
    switch (Kind) {
        case POISON: return 30;
        case FIRE: return 198;
        case ENERGY: return 35;
        default: return 180;
    }
}
static int DamageEffect(int Kind) {
    switch (Kind) {
        case POISON: return EFFECT_POISON;
        case FIRE: return EFFECT_FIRE;
        case ENERGY: return EFFECT_ENERGY;
        default: return EFFECT_BLOOD;
    }
}

static void ShowDamage(const Position& Pos, int Effect, int Colour, int Amount) {
    for (auto& [ID, Viewer] : game::AllPlayers()) {
        if (!CanSee(Viewer->MapPos, Pos)) continue;
        Message M;
        M.addByte(131).addPosition(Pos).addByte(Effect);
        if (Amount > 0) M.addByte(132).addPosition(Pos).addByte(Colour).addString(std::to_string(Amount));
        Send(*Viewer, M);
    }
}

void Hurt(Player& P, int Damage, int Kind) {
    if (P.Dead || Damage <= 0) return;
    CharacterRecord& R = *P.Record;
    if (Has(P, MAGIC_SHIELD) && R.Mana > 0) {
        int Absorbed = std::min(Damage, R.Mana);
        R.Mana -= Absorbed;
        Damage -= Absorbed;
        ShowDamage(P.Body->Pos, EFFECT_SPARKLES, 5, Absorbed);
        if (Damage == 0) {
            game::SendPlayerData(P);
            return;
        }
    }
    R.HitPoints = std::max(R.HitPoints - Damage, 0);
    ShowDamage(P.Body->Pos, DamageEffect(Kind), DamageColour(Kind), Damage);
    ShowHealth(P);
    if (R.HitPoints == 0) P.Dead = true;
}

void Heal(Player& P, int Points) {
    CharacterRecord& R = *P.Record;
    if (P.Dead || R.HitPoints >= R.MaxHitPoints) return;
    R.HitPoints = std::min(R.HitPoints + Points, R.MaxHitPoints);
    ShowHealth(P);
}

// ---- Experience, skills and magic ---------------------------------------------------------

void GainExperience(Player& P, uint32_t Points) {
    CharacterRecord& R = *P.Record;
    R.Experience = uint32_t(std::min<uint64_t>(uint64_t(R.Experience) + Points, 0xFFFFFFFFu));
    int Old = Relevel(R);
    if (R.Level > Old) {
        R.HitPoints = R.MaxHitPoints;
        R.Mana = R.MaxMana;
        TextMessage(P, MESSAGE_EVENT,
                    "You advanced from Level " + std::to_string(Old) + " to Level " + std::to_string(R.Level) + ".");
        UpdateSpeed(P);
    }
    ShowHealth(P);
}

static const char* const SkillNames[7] = {"fist fighting", "club fighting", "sword fighting", "axe fighting",
                                          "distance fighting", "shielding", "fishing"};

// Uses a level needs: a few at first, more with every level.
static int UsesForLevel(int Level) { return 4 + 2 * std::max(Level - 10, 0); }

void Train(Player& P, int Skill) {
    if (Skill < 0 || Skill > 6) return;
    CharacterRecord& R = *P.Record;
    int& Level = R.SkillLevel[size_t(Skill)];
    int& Percent = R.SkillPercent[size_t(Skill)];
    Percent += (100 + UsesForLevel(Level) - 1) / UsesForLevel(Level);
    if (Percent >= 100 && Level < 255) {
        Level++;
        Percent = 0;
        TextMessage(P, MESSAGE_EVENT, std::string("You advanced in ") + SkillNames[Skill] + ".");
    }
    Percent = std::min(Percent, 99);
    Message M;
    M.addByte(161);
    for (size_t i = 0; i < 7; i++) M.addByte(R.SkillLevel[i]).addByte(R.SkillPercent[i]);
    Send(P, M);
}

void SpendMana(Player& P, int Mana) {
    CharacterRecord& R = *P.Record;
    R.Mana = std::max(R.Mana - Mana, 0);
    // Every level of magic takes twice the mana of the one before.
    int Needed = 40 << std::min(R.MagicLevel, 20);
    R.MagicLevelPercent += std::max(Mana * 100 / Needed, 1);
    if (R.MagicLevelPercent >= 100 && R.MagicLevel < 255) {
        R.MagicLevel++;
        R.MagicLevelPercent = 0;
        TextMessage(P, MESSAGE_EVENT, "You advanced to magic level " + std::to_string(R.MagicLevel) + ".");
    }
    R.MagicLevelPercent = std::min(R.MagicLevelPercent, 99);
    game::SendPlayerData(P);
}

void SpendSoul(Player& P, int Points) {
    P.Record->Soul = std::max(P.Record->Soul - Points, 0);
    game::SendPlayerData(P);
}

// ---- Speed ---------------------------------------------------------------------------------

void UpdateSpeed(Player& P) {
    Creature& C = *P.Body;
    int Speed = BaseSpeed(*P.Record);
    if (Has(P, HASTED)) Speed = Speed * 13 / 10;
    if (Has(P, PARALYSED)) Speed = Speed / 2;
    if (Speed == C.Speed) return;
    C.Speed = Speed;
    for (auto& [ID, Viewer] : game::AllPlayers()) {
        if (!CanSee(Viewer->MapPos, C.Pos)) continue;
        Message M;
        M.addByte(143).addQuad(C.ID).addWord(Speed);
        Send(*Viewer, M);
    }
}

// ---- The beat ----------------------------------------------------------------------------------

void PlayerEntered(Player& P) {
    P.NextRegenerationAt = game::Now() + REGENERATION_MS;
    P.NextSoulAt = game::Now() + game::CurrentSettings().SoulSeconds * 1000LL;
    P.SentConditions = 0;
    P.Body->Speed = BaseSpeed(*P.Record);
}

static void TickConditions(Player& P, int64_t T) {
    for (int Bit = 0; Bit < CONDITIONS && !P.Dead; Bit++) {
        ConditionState& C = P.Conditions[Bit];
        if (C.Until == 0) continue;
        if (C.TicksLeft > 0) {
            if (T < C.NextTickAt) continue;
            C.NextTickAt = T + CONDITION_TICK_MS;
            C.TicksLeft--;
            int Kind = Bit == POISONED ? POISON : Bit == BURNING ? FIRE : ENERGY;
            Hurt(P, C.Damage, Kind);
            if (C.TicksLeft == 0) ClearCondition(P, Bit);
        } else if (C.Until <= T) {
            ClearCondition(P, Bit);
        }
    }
}

static void Regenerate(Player& P, int64_t T) {
    CharacterRecord& R = *P.Record;
    if (T >= P.NextSoulAt) {
        P.NextSoulAt = T + game::CurrentSettings().SoulSeconds * 1000LL;
        if (R.Soul < MAX_SOUL && !Has(P, IN_FIGHT)) {
            R.Soul++;
            game::SendPlayerData(P);
        }
    }
    if (T < P.NextRegenerationAt) return;
    P.NextRegenerationAt = T + REGENERATION_MS;
    if (R.HitPoints >= R.MaxHitPoints && R.Mana >= R.MaxMana) return;
    int Points = 2 + R.Level / 5;
    R.Mana = std::min(R.Mana + Points, R.MaxMana);
    if (R.HitPoints < R.MaxHitPoints) Heal(P, Points);
    else game::SendPlayerData(P);
}

void Tick() {
    int64_t T = game::Now();
    std::vector<Player*> All;
    for (auto& [ID, P] : game::AllPlayers()) All.push_back(P.get());
    for (Player* P : All) {
        if (P->Dead) continue;
        TickConditions(*P, T);
        if (!P->Dead) Regenerate(*P, T);
    }
}

}  // namespace server::life
