#include "server/ItemRules.h"

#include "server/ObjectTypes.h"
#include "server/TypeNames.h"
#include "world/TypeNumbers.h"

namespace server::itemrules {

using namespace objecttypes;

int TypeWeight(int Type) {
    switch (Type) {
        case TYPE_GOLD_COIN: case TYPE_PLATINUM_COIN: return 10;
        case TYPE_ARROW: return 70;
        case TYPE_BOLT: return 80;
        case TYPE_BAG: return 800;
        case TYPE_BACKPACK: return 1800;
        case TYPE_VIAL: return 180;
        case TYPE_MUG: return 250;
        case TYPE_BUCKET: return 2000;
        case TYPE_LAMP: return 1000;
        case TYPE_TORCH: return 500;
        case TYPE_BOOK: return 1300;
        case TYPE_SCROLL: return 350;
        case TYPE_LEATHER_HELMET: return 2200;
        case TYPE_IRON_HELMET: return 3000;
        case TYPE_AMULET: return 500;
        case TYPE_LEATHER_ARMOR: return 6000;
        case TYPE_CHAIN_ARMOR: return 12000;
        case TYPE_SWORD: return 3500;
        case TYPE_AXE: return 4000;
        case TYPE_MACE: return 3800;
        case TYPE_BOW: return 3100;
        case TYPE_CROSSBOW: return 4000;
        case TYPE_WOODEN_SHIELD: return 4000;
        case TYPE_IRON_SHIELD: return 7000;
        case TYPE_LEATHER_LEGS: return 1800;
        case TYPE_LEATHER_BOOTS: return 900;
        case TYPE_RING: return 40;
        case TYPE_BREAD: return 500;
        case TYPE_HAM: return 800;
        case TYPE_APPLE: return 150;
        case TYPE_FISH: return 520;
        case TYPE_CHEESE: return 400;
        case TYPE_BLANK_RUNE: case TYPE_FIRE_RUNE: case TYPE_HEALING_RUNE: case TYPE_ENERGY_RUNE: return 120;
        case TYPE_ROPE: return 1800;
        case TYPE_SHOVEL: return 3500;
        case TYPE_PICK: return 4500;
        case TYPE_FISHING_ROD: return 850;
        case TYPE_KEY: return 100;
        case TYPE_CHAIR_N: case TYPE_CHAIR_E: case TYPE_CHAIR_S: case TYPE_CHAIR_W: return 10000;
        case TYPE_CHEST: return 25000;
        default: return 1000;
    }
}

int PartWeight(const Object& O, int Count) {
    int Pieces = HasFlag(O.Type, CUMULATIVE) ? std::max(Count, 1) : 1;
    int Weight = TypeWeight(O.Type) * Pieces;
    for (const Object& Inner : O.Contents) Weight += ObjectWeight(Inner);
    return Weight;
}

int ObjectWeight(const Object& O) { return PartWeight(O, O.Data); }

int ContainerCapacity(int Type) {
    switch (Type) {
        case TYPE_BAG: return 8;
        case TYPE_BACKPACK: return 20;
        case TYPE_CHEST: return 15;
        case TYPE_DEPOT_BOX: return 30;
        case TYPE_DUSTBIN: return 4;
        case TYPE_CORPSE_HUMAN: case TYPE_CORPSE_BEAST: return 10;
        default: return 8;
    }
}

bool FitsSlot(int Type, int Slot) {
    switch (Slot) {
        case SLOT_HEAD: return Type == TYPE_LEATHER_HELMET || Type == TYPE_IRON_HELMET;
        case SLOT_NECK: return Type == TYPE_AMULET;
        case SLOT_BACK: return HasFlag(Type, CONTAINER);
        case SLOT_BODY: return Type == TYPE_LEATHER_ARMOR || Type == TYPE_CHAIN_ARMOR;
        case SLOT_LEGS: return Type == TYPE_LEATHER_LEGS;
        case SLOT_FEET: return Type == TYPE_LEATHER_BOOTS;
        case SLOT_FINGER: return Type == TYPE_RING;
        // Hands and the extra slot hold anything that can be carried.
        case SLOT_RIGHT_HAND: case SLOT_LEFT_HAND: case SLOT_EXTRA: return true;
        default: return false;
    }
}

int NextRotation(int Type) {
    if (!HasFlag(Type, ROTATE)) return Type;
    if (HasFlag(Type + 1, ROTATE)) return Type + 1;
    int First = Type;
    while (HasFlag(First - 1, ROTATE)) First--;
    return First;
}

std::string TypeName(int Type) {
    std::string Name = ItemTypeName(Type);
    for (char& c : Name)
        if (c == '_') c = ' ';
    return Name;
}

bool IsFood(int Type) {
    return Type == TYPE_BREAD || Type == TYPE_HAM || Type == TYPE_APPLE || Type == TYPE_FISH || Type == TYPE_CHEESE;
}

}  // namespace server::itemrules
