// Creatures and walking. Sections: state; creature table; battle list;
// player values; walking and the auto-walk. The buddy list is in Buddies.cpp.
#include "world/Creatures.h"
#include "world/CreaturesLocal.h"

#include "core/Assert.h"
#include "platform/Platform.h"
#include "world/Map.h"
#include "world/Objects.h"
#include "world/PathFinder.h"

#include <cstdlib>
#include <cstring>

namespace {

// ---- State --------------------------------------------------------------------------

Creature Creatures[CREATURES];
int BattleHead = -1, BattleTail = -1;

CreatureStatusHook StatusHook = nullptr;
CreatureHintHook HintHook = nullptr;
CreatureNpcHintHook NpcHintHook = nullptr;
CreatureTickHook TickHook = nullptr;

struct PlayerValues {
    uint32_t ID;
    int Hitpoints, MaxHitpoints, Capacity;
    uint32_t Experience;
    int Level, LevelPercent;
    int Mana, MaxMana, MagicLevel, MagicLevelPercent, Soulpoints, Conditions;
    uint32_t AttackTarget, FollowTarget;
    int Beat;
    int SkillLevel[SKILLS], SkillPercent[SKILLS];
} Player;

const char* const SkillNames[SKILLS] = {"Fist Fighting", "Club Fighting", "Sword Fighting", "Axe Fighting",
                                        "Distance Fighting", "Shielding", "Fishing"};

// The player's walking state.
int StepList[MAX_PLAYER_STEPS];
int NumberOfPlayerSteps = 0;
int CurrentPlayerStep = 0;
int PredictedX = 0, PredictedY = 0;
int PredictedDirection = 0;
int DestinationX = 0, DestinationY = 0, DestinationZ = 0;
bool DestinationMayEndOnBlocked = false, DestinationSingleDiagonal = false;
bool ResumePending = false;

int64_t Now() { return platform::Milliseconds(); }

void Status(const char* Text) {
    if (StatusHook != nullptr) StatusHook(Text);
}

Creature* PlayerCreature() { return Player.ID != 0 ? FindCreature(Player.ID) : nullptr; }

bool IsPlayer(const Creature* C) { return C != nullptr && Player.ID != 0 && C->ID == Player.ID; }

int DirectionOfStep(int dx, int dy) {
    if (dx > 0) return 1;
    if (dx < 0) return 3;
    return dy < 0 ? 0 : 2;
}

void StepOfCode(int Code, int& dx, int& dy) {
    static const int X[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
    static const int Y[9] = {0, 0, -1, -1, -1, 0, 1, 1, 1};
    dx = In(Code, 1, 8) ? X[Code] : 0;
    dy = In(Code, 1, 8) ? Y[Code] : 0;
}

void ClearRecord(Creature& C) {
    std::memset(&C, 0, sizeof C);
    C.BattlePrevious = C.BattleNext = NOT_LISTED;
}

bool Listed(const Creature& C) { return C.BattleNext != NOT_LISTED; }

bool Qualifies(const Creature& C) {
    if (C.ID == 0 || IsPlayer(&C) || !C.Visible || C.Health <= 0) return false;
    if (C.ID >= FIRST_NONPLAYER_ID && C.Outfit == 0 && C.LookType == 0) return false;
    int x, y, z;
    GetMapPosition(x, y, z);
    return C.RealZ == z && std::abs(C.RealX - x) <= 7 && std::abs(C.RealY - y) <= 5;
}

void Unlink(int n) {
    Creature& C = Creatures[n];
    if (C.BattlePrevious >= 0) Creatures[C.BattlePrevious].BattleNext = C.BattleNext;
    else BattleHead = C.BattleNext >= 0 ? C.BattleNext : -1;
    if (C.BattleNext >= 0) Creatures[C.BattleNext].BattlePrevious = C.BattlePrevious;
    else BattleTail = C.BattlePrevious >= 0 ? C.BattlePrevious : -1;
    C.BattlePrevious = C.BattleNext = NOT_LISTED;
}

void Append(int n) {
    Creature& C = Creatures[n];
    C.BattlePrevious = BattleTail;
    C.BattleNext = -1;
    if (BattleTail >= 0) Creatures[BattleTail].BattleNext = n;
    else BattleHead = n;
    BattleTail = n;
}

bool Near(const Creature& A, const Creature& B) {
    return A.RealZ == B.RealZ && std::abs(A.RealX - B.RealX) <= 2 && std::abs(A.RealY - B.RealY) <= 2;
}

// Meeting a non-player character close by may explain him.
void ProximityCheck(const Creature* Moved) {
    if (NpcHintHook == nullptr || !Moved->Visible) return;
    const Creature* P = PlayerCreature();
    if (P == nullptr) return;
    if (Moved == P) {
        for (const Creature& C : Creatures)
            if (C.ID >= FIRST_NONPLAYER_ID && Listed(C) && Near(C, *P)) NpcHintHook(C.Name);
    } else if (Moved->ID >= FIRST_NONPLAYER_ID && Listed(*Moved) && Near(*Moved, *P)) {
        NpcHintHook(Moved->Name);
    }
}

void MoveOffset(int& Offset, int Length, int64_t Left, int Duration) {
    while (Offset != 0 && Left * Length < int64_t(Duration) * std::abs(Offset)) Offset += Offset > 0 ? -1 : 1;
}

int ComputePath();

}  // namespace

// ---- Module life -----------------------------------------------------------------------------

void InitCreatures() { ResetCreatures(); }

void ExitCreatures() { ResetCreatures(); }

void ResetCreatures() {
    for (Creature& C : Creatures) ClearRecord(C);
    BattleHead = BattleTail = -1;
    std::memset(&Player, 0, sizeof Player);
    NumberOfPlayerSteps = CurrentPlayerStep = 0;
    PredictedX = PredictedY = PredictedDirection = 0;
    DestinationX = DestinationY = DestinationZ = 0;
    DestinationMayEndOnBlocked = DestinationSingleDiagonal = ResumePending = false;
    ResetBuddies();
}

void SetCreatureHooks(CreatureStatusHook Status, CreatureHintHook Hint, CreatureNpcHintHook NpcHint,
                      CreatureTickHook Tick) {
    StatusHook = Status;
    HintHook = Hint;
    NpcHintHook = NpcHint;
    TickHook = Tick;
}

void CreatureStatusMessage(const char* Text) { Status(Text); }

int CreatureTick() { return TickHook != nullptr ? TickHook() : 0; }

// ---- Creature table -----------------------------------------------------------------------------

Creature* FindCreature(uint32_t CreatureID) {
    ASSERT(CreatureID!=0);
    if (CreatureID == 0) return nullptr;
    for (Creature& C : Creatures)
        if (C.ID == CreatureID) return &C;
    return nullptr;
}

Creature* NewCreature(uint32_t ForgetCreatureID, uint32_t NewCreatureID) {
    ASSERT(NewCreatureID!=0);
    if (NewCreatureID == 0) return nullptr;
    int n = CREATURES - 1;
    for (int i = 0; i < CREATURES; i++)
        if (Creatures[i].ID == ForgetCreatureID) {
            n = i;
            break;
        }
    Creature& C = Creatures[n];
    if (C.ID == 0) C.BattlePrevious = C.BattleNext = NOT_LISTED;
    C.Skull = 0;
    C.PartyShield = 0;
    C.SkullClearTime = 0;
    C.ID = NewCreatureID;
    return &C;
}

Creature* GetCreatureRecord(int Index) {
    ASSERT(In(Index,0,CREATURES-1));
    return In(Index, 0, CREATURES - 1) ? &Creatures[Index] : nullptr;
}

void SetCreaturePosition(Creature* C, int x, int y, int z) {
    if (C == nullptr) return;
    if (C->RealX == x && C->RealY == y && C->RealZ == z) return;
    C->RealX = x;
    C->RealY = y;
    C->RealZ = z;
    C->DeltaX = C->DeltaY = 0;
    C->Walking = false;
    ProximityCheck(C);
}

void CreatureOffMap(uint32_t CreatureID) {
    if (CreatureID == 0) return;
    Creature* C = FindCreature(CreatureID);
    if (C != nullptr) C->Visible = false;
}

void ClearVisibleCreatures() {
    for (Creature& C : Creatures) C.Visible = false;
}

void SetCreatureMark(Creature* C, int Colour) {
    if (C == nullptr) return;
    C->MarkColour = Colour;
    C->MarkEnd = Now() + 1000;
}

bool IsCreatureMarked(const Creature* C) { return C != nullptr && C->MarkEnd >= Now(); }

void SetCreatureSkull(Creature* C, int Skull, bool Delayed) {
    if (C == nullptr) return;
    if (Delayed && Skull == 0 && C->Skull != 0) {
        // the removed skull stays a little while so the player notices it go
        C->SkullClearTime = static_cast<int>(Now() / 1000);
        if (C->SkullClearTime == 0) C->SkullClearTime = 1;  // zero means "not being removed"
    } else {
        C->Skull = Skull;
        C->SkullClearTime = 0;
    }
    // The hint warns of a marked player near; the player's own mark is no
    // one coming near.
    if (C->Skull != 0 && C->ID != GetPlayerID() && HintHook != nullptr) HintHook(SKULL_HINT);
}

void SweepSkulls() {
    int Seconds = static_cast<int>(Now() / 1000);
    for (Creature& C : Creatures)
        if (C.SkullClearTime != 0 && (Seconds > C.SkullClearTime + 4 || Seconds < C.SkullClearTime)) {
            C.Skull = 0;
            C.SkullClearTime = 0;
        }
}

void GetHealthColour(const Creature* C, int& Red, int& Green, int& Blue) {
    int h = C != nullptr ? C->Health : 0;
    if (h <= 3) Red = 96, Green = 0, Blue = 0;
    else if (h <= 9) Red = 192, Green = 0, Blue = 0;
    else if (h <= 29) Red = 192, Green = 48, Blue = 48;
    else if (h <= 59) Red = 192, Green = 192, Blue = 0;
    else if (h <= 94) Red = 96, Green = 192, Blue = 96;
    else Red = 0, Green = 192, Blue = 0;
}

int GetAnimationPhase(const Creature* C, int AvailablePhases) {
    ASSERT(AvailablePhases>=1);
    if (AvailablePhases <= 1 || C == nullptr) return 1;
    if (C->DeltaX == 0 && C->DeltaY == 0 && C->StepEnd < Now()) return 1;
    int Largest = std::abs(C->DeltaX) > std::abs(C->DeltaY) ? std::abs(C->DeltaX) : std::abs(C->DeltaY);
    return (Largest / 8) % (AvailablePhases - 1) + 2;
}

void GetDrawingOffset(const Creature* C, int& x, int& y) {
    x = C->DeltaX;
    y = C->DeltaY;
    if (IsPlayer(C)) {
        x += 32 * PredictedX;
        y += 32 * PredictedY;
    }
}

int GetShownDirection(const Creature* C) {
    if (IsPlayer(C) && (PredictedX != 0 || PredictedY != 0)) return PredictedDirection;
    return C->Walking ? C->ShownDirection : C->Direction;
}

// ---- Battle list -----------------------------------------------------------------------------------

int RebuildBattleList() {
    for (int n = 0; n < CREATURES; n++) {
        bool q = Qualifies(Creatures[n]);
        if (q && !Listed(Creatures[n])) Append(n);
        else if (!q && Listed(Creatures[n])) Unlink(n);
    }
    int Count = 0;
    for (int n = BattleHead; n >= 0; n = Creatures[n].BattleNext) Count++;
    return Count;
}

Creature* GetBattleListCreature(int Number) {
    ASSERT(Number>=0);
    int n = BattleHead;
    for (int i = 0; i < Number && n >= 0; i++) n = Creatures[n].BattleNext;
    return n >= 0 ? &Creatures[n] : nullptr;
}

// ---- Player values -----------------------------------------------------------------------------------

void SetPlayerID(uint32_t CreatureID) { Player.ID = CreatureID; }
uint32_t GetPlayerID() { return Player.ID; }
void SetPlayerHitpoints(int Hitpoints, int Maximum) {
    Player.Hitpoints = Hitpoints;
    Player.MaxHitpoints = Maximum;
}
int GetPlayerHitpoints() { return Player.Hitpoints; }
int GetPlayerMaxHitpoints() { return Player.MaxHitpoints; }
void SetPlayerCapacity(int Capacity) { Player.Capacity = Capacity; }
int GetPlayerCapacity() { return Player.Capacity; }
void SetPlayerExperience(uint32_t Experience) { Player.Experience = Experience; }
uint32_t GetPlayerExperience() { return Player.Experience; }
void SetPlayerExperienceLevel(int Level, int Percent) {
    Player.Level = Level;
    Player.LevelPercent = Percent;
}
int GetPlayerExperienceLevel() { return Player.Level; }
int GetPlayerExperienceLevelPercent() { return Player.LevelPercent; }
void SetPlayerMana(int Mana, int Maximum) {
    Player.Mana = Mana;
    Player.MaxMana = Maximum;
}
int GetPlayerMana() { return Player.Mana; }
int GetPlayerMaxMana() { return Player.MaxMana; }
void SetPlayerMagicLevel(int Level, int Percent) {
    Player.MagicLevel = Level;
    Player.MagicLevelPercent = Percent;
}
int GetPlayerMagicLevel() { return Player.MagicLevel; }
int GetPlayerMagicLevelPercent() { return Player.MagicLevelPercent; }
void SetPlayerSoulpoints(int Soulpoints) { Player.Soulpoints = Soulpoints; }
int GetPlayerSoulpoints() { return Player.Soulpoints; }
void SetPlayerConditions(int Flags) { Player.Conditions = Flags; }
int GetPlayerConditions() { return Player.Conditions; }
void SetAttackTarget(uint32_t CreatureID) {
    Player.AttackTarget = CreatureID;
    if (CreatureID != 0) Player.FollowTarget = 0;
}
uint32_t GetAttackTarget() { return Player.AttackTarget; }
void SetFollowTarget(uint32_t CreatureID) {
    Player.FollowTarget = CreatureID;
    if (CreatureID != 0) Player.AttackTarget = 0;
}
uint32_t GetFollowTarget() { return Player.FollowTarget; }
void SetServerBeat(int Beat) { Player.Beat = Beat; }
int GetServerBeat() { return Player.Beat; }

void SetSkill(int SkillNumber, int Level, int Percent) {
    ASSERT(In(SkillNumber,0,SKILLS-1));
    if (!In(SkillNumber, 0, SKILLS - 1)) return;
    Player.SkillLevel[SkillNumber] = Level;
    Player.SkillPercent[SkillNumber] = Percent;
}

int GetSkillLevel(int SkillNumber) {
    ASSERT(In(SkillNumber,0,SKILLS-1));
    return In(SkillNumber, 0, SKILLS - 1) ? Player.SkillLevel[SkillNumber] : 0;
}

int GetSkillPercent(int SkillNumber) {
    ASSERT(In(SkillNumber,0,SKILLS-1));
    return In(SkillNumber, 0, SKILLS - 1) ? Player.SkillPercent[SkillNumber] : 0;
}

const char* GetSkillName(int SkillNumber) {
    ASSERT(In(SkillNumber,0,SKILLS-1));
    return In(SkillNumber, 0, SKILLS - 1) ? SkillNames[SkillNumber] : "";
}

// ---- Walking -----------------------------------------------------------------------------------------

void StartStep(Creature* C, int dx, int dy, int GroundSpeed) {
    if (C == nullptr) return;
    int Direction = DirectionOfStep(dx, dy);
    if (GroundSpeed != 0 && IsPlayer(C)) {
        bool Confirmed = dx == PredictedX && dy == PredictedY;
        PredictedX = PredictedY = 0;
        if (Confirmed) return;  // the animation already runs
        CurrentPlayerStep++;
    }
    // A creature keeps facing where it stepped once the animation is over; a
    // step of (0, 0) (a creature set down where it stands) turns nobody.
    if (dx != 0 || dy != 0) C->Direction = Direction;
    C->ShownDirection = C->Direction;
    int Raw = C->Speed > 0 ? GroundSpeed * 1000 / C->Speed : 1000;
    int Beat = Player.Beat;
    int Duration = Beat > 0 ? Beat * ((Raw + Beat - 1) / Beat) : Raw;
    int64_t t = Now();
    C->DeltaX = -dx * 32;
    C->DeltaY = -dy * 32;
    C->StepLengthX = std::abs(dx) * 32;
    C->StepLengthY = std::abs(dy) * 32;
    C->StepDuration = Duration;
    C->StepEnd = t + Duration;
    bool Diagonal = dx != 0 && dy != 0;
    C->StepLockEnd = Diagonal ? t + (C->Speed > 0 ? GroundSpeed * 3000 / C->Speed : 3000) : t + Duration;
    C->Walking = true;
}

void NextPlayerStep() {
    ASSERT(CurrentPlayerStep<NumberOfPlayerSteps);
    if (CurrentPlayerStep >= NumberOfPlayerSteps) return;
    if (ResumePending || Player.Hitpoints == 0) return;
    Creature* P = PlayerCreature();
    if (P == nullptr) return;
    if (PredictedX != 0 || PredictedY != 0) {
        P->Walking = true;
        return;
    }
    int dx, dy;
    StepOfCode(StepList[CurrentPlayerStep], dx, dy);
    int L = GetPlayerLevel();
    int rx = 8 + dx, ry = 6 + dy;
    ObjectInstance Ground = GetFirstFieldObject(rx, ry, L);
    if (Ground.Type == 0 || !GetObjectFlag(Ground, BANK)) return;
    if (!IsWalkable(rx, ry, L, false)) return;
    if (GetHeightCount(rx, ry, L) - GetHeightCount(8, 6, L) > 1) return;
    StartStep(P, dx, dy, GetObjectBankValue(Ground.Type));
    PredictedX = dx;
    PredictedY = dy;
    PredictedDirection = DirectionOfStep(dx, dy);
}

namespace {

void EffectiveField(int& x, int& y, int& z) {
    GetMapPosition(x, y, z);
    x += PredictedX;
    y += PredictedY;
}

int ComputePath() {
    NumberOfPlayerSteps = 0;
    ResumePending = false;
    if (DestinationX == 0) return 0;
    if (std::abs(PredictedX) + std::abs(PredictedY) >= 2) {
        Creature* P = PlayerCreature();
        if (P != nullptr) P->Walking = true;
        return 0;
    }
    int x, y, z;
    EffectiveField(x, y, z);
    int Count = 0;
    int Result = FindPath(x, y, z, DestinationX, DestinationY, DestinationZ, DestinationMayEndOnBlocked,
                          DestinationSingleDiagonal, StepList, Count);
    if (Result != 2) DestinationX = DestinationY = DestinationZ = 0;
    if (Result > 0) {
        NumberOfPlayerSteps = Count;
        CurrentPlayerStep = 0;
        NextPlayerStep();
        return 1;
    }
    switch (Result) {
        case -4: Status("There is no way."); break;
        case -3: Status("Destination is out of range."); break;
        case -2: Status("First go downstairs."); break;
        case -1: Status("First go upstairs."); break;
        default: break;
    }
    return 0;
}

}  // namespace

int GoTo(int x, int y, int z, bool MayEndOnBlocked, bool SingleDiagonal) {
    int ex, ey, ez;
    EffectiveField(ex, ey, ez);
    if (DestinationX != 0 && x == DestinationX && y == DestinationY && z == DestinationZ) return 0;
    // A click on the field the player is on, or is stepping onto, asks for nothing.
    if (x == ex && y == ey && z == ez) return 0;
    DestinationX = x;
    DestinationY = y;
    DestinationZ = z;
    DestinationMayEndOnBlocked = MayEndOnBlocked;
    DestinationSingleDiagonal = SingleDiagonal;
    int rx = x, ry = y, rz = z;
    AbsoluteToCube(rx, ry, rz);
    if (In(rx, 1, 15) && In(ry, 1, 11) && rz == GetPlayerLevel() && !(rx == 8 && ry == 6) &&
        !IsWalkable(rx, ry, rz, true)) {
        Status("Sorry, not possible.");
        DestinationX = DestinationY = DestinationZ = 0;
        return 0;
    }
    if (ResumePending) return 0;
    if (NumberOfPlayerSteps == 0) return ComputePath();
    if (CurrentPlayerStep >= NumberOfPlayerSteps) return 0;
    ResumePending = true;
    return 2;
}

bool WalkCancelled(int Direction) {
    NumberOfPlayerSteps = 0;
    CurrentPlayerStep = 0;
    Creature* P = PlayerCreature();
    if (P != nullptr) P->Direction = Direction;
    bool Predicted = PredictedX != 0 || PredictedY != 0;
    if (!Predicted && (P == nullptr || P->Visible)) return false;
    if (Predicted) {
        PredictedX = PredictedY = 0;
        CurrentPlayerStep++;
    }
    if (P != nullptr) {
        int64_t t = Now();
        P->DeltaX = P->DeltaY = 0;
        P->StepLengthX = P->StepLengthY = 0;
        if (P->StepEnd > t) P->StepEnd = t;
        if (P->StepLockEnd > t) P->StepLockEnd = t;
        P->Visible = true;
    }
    return ComputePath() == 1;
}

void StopWalking() {
    DestinationX = DestinationY = DestinationZ = 0;
    NumberOfPlayerSteps = CurrentPlayerStep = 0;
    ResumePending = false;
    PredictedX = PredictedY = 0;
    Creature* P = PlayerCreature();
    if (P != nullptr) {
        P->ShownDirection = P->Direction;
        P->Walking = false;
        P->DeltaX = P->DeltaY = 0;
    }
}

bool UpdateWalking(uint32_t Time) {
    int64_t t = Time;
    bool NewSteps = false;
    for (Creature& C : Creatures) {
        if (C.ID == 0 || !C.Walking) continue;
        MoveOffset(C.DeltaX, C.StepLengthX, C.StepEnd - t, C.StepDuration);
        MoveOffset(C.DeltaY, C.StepLengthY, C.StepEnd - t, C.StepDuration);
        if (C.DeltaX != 0 || C.DeltaY != 0 || C.StepLockEnd >= t) continue;
        C.Walking = false;
        if (IsPlayer(&C)) {
            if (CurrentPlayerStep < NumberOfPlayerSteps)
                NextPlayerStep();
            else if (ComputePath() == 1)
                NewSteps = true;
        }
    }
    return NewSteps;
}

int GetNumberOfPlayerSteps() { return NumberOfPlayerSteps; }
int GetCurrentPlayerStep() { return CurrentPlayerStep; }

int GetPlayerStep(int Step) {
    ASSERT(In(Step,0,NumberOfPlayerSteps-1));
    return In(Step, 0, NumberOfPlayerSteps - 1) ? StepList[Step] : 0;
}

void GetPredictedStep(int& dx, int& dy) {
    dx = PredictedX;
    dy = PredictedY;
}

void GetDestination(int& x, int& y, int& z) {
    x = DestinationX;
    y = DestinationY;
    z = DestinationZ;
}
