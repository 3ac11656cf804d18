// The object menu: the right click on a map field, a body slot or a
// container place (event 47). It offers what can be done to the object
// looked at, to the object that would be used there, and to the creature
// standing there.
#pragma once

#include "gui/menus/CreatureMenu.h"
#include "net/Commands.h"
#include "world/Objects.h"

#include <cstdint>

// What a right click found. The looked-at object must exist; the used object
// and the creature may be missing (type 0, id 0).
struct ObjectMenuRecord {
    ObjectLocation Looked{};
    int LookedType = 0, LookedStack = 0;
    uint32_t LookedData = 0;  // a pile's count
    ObjectLocation Used{};
    int UsedType = 0, UsedStack = 0;
    uint32_t CreatureID = 0;
};

// Posts event 47 for the record; a newer right click replaces a record
// whose menu has not opened yet.
void PostObjectMenu(const ObjectMenuRecord& Record);

// An object picked up for a use-with or a trade, waiting for its target.
struct PendingObject {
    int x = 0, y = 0, z = 0;  // location as in the commands
    int Type = 0;
    int Stack = 0;
};
// The object a use-with (input mode 7) or a trade (mode 8) starts from: set
// by the object menu, the map window and the slots, taken by whatever the
// target is picked on.
void SetUseWithSource(const PendingObject& Source);
void SetTradeObject(const PendingObject& Object);
const PendingObject& GetUseWithSource();
const PendingObject& GetTradeObject();

// Where a right click on an object goes: Shift looks in both control modes;
// otherwise Ctrl opens the menu while classic control is on and uses the
// object while it is off, and a plain click the other way round.
enum class ObjectClick { Look, Use, Menu };
ObjectClick ClassifyObjectClick(int keys);

class ObjectMenu : public ContextMenu {
  public:
    explicit ObjectMenu(const ObjectMenuRecord& Record);
    void command(int number) override;
    const ObjectMenuRecord& getRecord() const { return Record; }

  private:
    void use(int Container);
    ObjectMenuRecord Record;
    MenuCreature Creature;  // ID 0: none, or gone when the menu opened
};

Component* BuildObjectMenu(intptr_t Data);
