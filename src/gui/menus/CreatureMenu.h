// The menu of a creature: the battle list's right click (event 48), and the
// creature part of the map's object menu, which is built from the same
// pieces. The creature is kept by id and name; when it has vanished by the
// time an entry is chosen, the entry does nothing.
#pragma once

#include "gui/framework/ContextMenu.h"

#include <cstdint>
#include <string>

// What the creature entries need to know of their creature.
struct MenuCreature {
    uint32_t ID = 0;
    std::string Name;
};

// The creature as the table holds it now; false when it has vanished (no
// record any more, or out of sight).
bool TakeMenuCreature(uint32_t ID, MenuCreature& Creature);

// The party entry for the player's own party state (0..4) and the other
// player's party mark: its command number, 0 for none. A state above 4 is
// reported and gives none.
int PartyEntry(int OwnState, int OtherMark);
// Whether the account may report rule violations: it holds one of the
// reasons' rights.
bool MayReportRuleViolations();
// The player is in a party and may leave it (no fight blocks his logout).
bool MayLeaveParty();

// Adds Attack/Stop Attack, Follow/Stop Follow and, for another player, the
// talk, VIP, ignore and party entries. Hints only when asked and classic
// control is off.
void AddCreatureEntries(ContextMenu& Menu, const MenuCreature& Creature, bool Hints);
// Adds, after a separator, "Copy Name" (and "Rule Violation" for another
// player when the account may report).
void AddNameEntries(ContextMenu& Menu, const MenuCreature& Creature);
// Carries out a creature entry or a name entry; false when the number is
// none of them. Does nothing when the creature has vanished.
bool CreatureCommand(const MenuCreature& Creature, int Number);

// Ignores the player, or stops ignoring him, and says so in the console.
void ToggleIgnore(const char* Name);

// Posts event 48 for the creature on a battle-list line.
void PostCreatureMenu(uint32_t CreatureID);

class CreatureMenu : public ContextMenu {
  public:
    explicit CreatureMenu(const MenuCreature& Creature);
    void command(int number) override;

  private:
    MenuCreature Creature;
};

// The builder of event 48; NULL when the creature has gone already.
Component* BuildCreatureMenu(intptr_t Data);
