// Creatures, the player and walking: the table of every creature the client
// knows, the player's own values and skills, the battle list, step animation
// and prediction, auto-walk toward a clicked destination, and the buddy list.
#pragma once

#include "config/Preferences.h"  // SKILLS, BUDDIES

#include <cstdint>

#ifndef NULL
#define NULL nullptr
#endif

constexpr int CREATURES = 150;
constexpr int CREATURE_NAME_LENGTH = 30;     // names are shorter than this
constexpr uint32_t FIRST_NONPLAYER_ID = 0x40000000;
constexpr int MAX_PLAYER_STEPS = 10;
constexpr int SKULL_HINT = 13;               // the event hint about marked players
constexpr int NOT_LISTED = -2;               // battle list link of a creature not listed

struct Creature {
    uint32_t ID;
    char Name[CREATURE_NAME_LENGTH];
    int RealX, RealY, RealZ;
    int DeltaX, DeltaY;          // pixel offset from the field while walking
    int64_t StepEnd;             // game clock, ms
    int64_t StepLockEnd;
    int StepLengthX, StepLengthY;
    int StepDuration;
    bool Walking;
    int Direction;               // 0 north, 1 east, 2 south, 3 west
    int ShownDirection;
    int BattlePrevious, BattleNext;
    int Outfit;                  // 0: shows as the object type LookType
    int Colours[4];              // head, body, legs, feet
    int LookType;
    int LightIntensity, LightColour;
    int MarkColour;
    int64_t MarkEnd;
    int Health;                  // percent
    int Speed;
    bool Visible;
    int Skull;
    int SkullClearTime;          // seconds; nonzero while a removed skull is still shown
    int PartyShield;
};

// ---- Hooks installed by the modules above -----------------------------------------------

// The status line of the map view.
using CreatureStatusHook = void (*)(const char* Text);
// An event hint by number.
using CreatureHintHook = void (*)(int Number);
// The hint tied to a non-player character's name.
using CreatureNpcHintHook = void (*)(const char* Name);
// The timer tick counter.
using CreatureTickHook = int (*)();
void SetCreatureHooks(CreatureStatusHook Status, CreatureHintHook Hint, CreatureNpcHintHook NpcHint,
                      CreatureTickHook Tick);

// ---- Module life -----------------------------------------------------------------------------

void InitCreatures();
void ExitCreatures();
// At start and at every new game session: every record freed, player values,
// skills and walking cleared, the buddy list emptied, the sort keys reloaded.
void ResetCreatures();

// ---- Creature table ----------------------------------------------------------------------------

Creature* FindCreature(uint32_t CreatureID);
Creature* NewCreature(uint32_t ForgetCreatureID, uint32_t NewCreatureID);
// Record by table index 0..CREATURES-1 (free records have ID 0).
Creature* GetCreatureRecord(int Index);
void SetCreaturePosition(Creature* C, int x, int y, int z);
// The map's clear-field callback.
void CreatureOffMap(uint32_t CreatureID);
void ClearVisibleCreatures();
void SetCreatureMark(Creature* C, int Colour);
bool IsCreatureMarked(const Creature* C);
void SetCreatureSkull(Creature* C, int Skull, bool Delayed);
// Clears skulls whose short after-display is over.
void SweepSkulls();
void GetHealthColour(const Creature* C, int& Red, int& Green, int& Blue);
int GetAnimationPhase(const Creature* C, int AvailablePhases);
void GetDrawingOffset(const Creature* C, int& x, int& y);
int GetShownDirection(const Creature* C);

// ---- Battle list ---------------------------------------------------------------------------------

int RebuildBattleList();
Creature* GetBattleListCreature(int Number);

// ---- Player values ---------------------------------------------------------------------------------

void SetPlayerID(uint32_t CreatureID);
uint32_t GetPlayerID();
void SetPlayerHitpoints(int Hitpoints, int Maximum);
int GetPlayerHitpoints();
int GetPlayerMaxHitpoints();
void SetPlayerCapacity(int Capacity);
int GetPlayerCapacity();
void SetPlayerExperience(uint32_t Experience);
uint32_t GetPlayerExperience();
// The character's level (the map's GetPlayerLevel is the cube level of his floor).
void SetPlayerExperienceLevel(int Level, int Percent);
int GetPlayerExperienceLevel();
int GetPlayerExperienceLevelPercent();
void SetPlayerMana(int Mana, int Maximum);
int GetPlayerMana();
int GetPlayerMaxMana();
void SetPlayerMagicLevel(int Level, int Percent);
int GetPlayerMagicLevel();
int GetPlayerMagicLevelPercent();
void SetPlayerSoulpoints(int Soulpoints);
int GetPlayerSoulpoints();
void SetPlayerConditions(int Flags);
int GetPlayerConditions();
// Setting one target clears the other.
void SetAttackTarget(uint32_t CreatureID);
uint32_t GetAttackTarget();
void SetFollowTarget(uint32_t CreatureID);
uint32_t GetFollowTarget();
void SetServerBeat(int Beat);
int GetServerBeat();
void SetSkill(int SkillNumber, int Level, int Percent);
int GetSkillLevel(int SkillNumber);
int GetSkillPercent(int SkillNumber);
const char* GetSkillName(int SkillNumber);

// ---- Walking ------------------------------------------------------------------------------------------

// Starts the step animation of a creature from its old field and turns it
// to face the step, which it keeps after the animation.
void StartStep(Creature* C, int dx, int dy, int GroundSpeed);
// 0 nothing to send, 1 the step list is ready to send, 2 a walk is running:
// send the stop command.
int GoTo(int x, int y, int z, bool MayEndOnBlocked, bool SingleDiagonal);
void NextPlayerStep();
// The server refused a step. True when a new path yields steps to send.
bool WalkCancelled(int Direction);
void StopWalking();
// Per frame, in the game state: true when a recomputed path has steps to send.
bool UpdateWalking(uint32_t Now);
int GetNumberOfPlayerSteps();
int GetCurrentPlayerStep();
int GetPlayerStep(int Step);
void GetPredictedStep(int& dx, int& dy);
// x = 0: no destination.
void GetDestination(int& x, int& y, int& z);

// ---- Buddies -------------------------------------------------------------------------------------------

struct Buddy {
    uint32_t CharacterID;
    char Name[CREATURE_NAME_LENGTH];
    bool Online;
    int LastChange;  // timer ticks
    int Icon;        // 0 none, else 1..BUDDY_ICONS - 1
};

void UpdateBuddy(uint32_t CharacterID, const char* Name, bool Online);
void SetBuddyOnline(uint32_t CharacterID, bool Online);
void EditBuddy(uint32_t CharacterID, int Icon, const char* Description, bool Notify);
void DeleteBuddy(uint32_t CharacterID);
// Positions, -1 when not found.
int FindBuddy(uint32_t CharacterID);
int FindBuddyByName(const char* Name);
const Buddy& GetBuddyEntry(int Position);
int GetNumberOfBuddies();
int GetNumberOfOnlineBuddies();
int GetNumberOfShownBuddies();
void SetBuddySortKey(int Key);
int GetBuddySortKey(int Priority);
void SetBuddiesHideOffline(bool On);
// Used by the buddy module's reset.
void ResetBuddies();
