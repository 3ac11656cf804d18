#include "server/TypeNames.h"

#include "world/TypeNumbers.h"

#include <cctype>

// Names of the shared object type numbers for world files: the constant's
// name without its prefix, in lower case (TYPE_STONE_WALL_H is "stone_wall_h").
namespace server {

namespace {
struct Named {
    const char* Name;
    int Number;
};
}  // namespace

static const Named ItemNames[] = {
    {"grass", TYPE_GRASS},
    {"dirt", TYPE_DIRT},
    {"sand", TYPE_SAND},
    {"cobblestone", TYPE_COBBLESTONE},
    {"wooden_floor", TYPE_WOODEN_FLOOR},
    {"water", TYPE_WATER},
    {"swamp", TYPE_SWAMP},
    {"cave_floor", TYPE_CAVE_FLOOR},
    {"roof", TYPE_ROOF},
    {"grating", TYPE_GRATING},
    {"roof_ridge", TYPE_ROOF_RIDGE},
    {"grass_border_n", TYPE_GRASS_BORDER_N},
    {"grass_border_e", TYPE_GRASS_BORDER_E},
    {"grass_border_s", TYPE_GRASS_BORDER_S},
    {"grass_border_w", TYPE_GRASS_BORDER_W},
    {"grass_border_nw", TYPE_GRASS_BORDER_NW},
    {"grass_border_ne", TYPE_GRASS_BORDER_NE},
    {"grass_border_sw", TYPE_GRASS_BORDER_SW},
    {"grass_border_se", TYPE_GRASS_BORDER_SE},
    {"shore_n", TYPE_SHORE_N},
    {"shore_e", TYPE_SHORE_E},
    {"shore_s", TYPE_SHORE_S},
    {"shore_w", TYPE_SHORE_W},
    {"stone_wall_h", TYPE_STONE_WALL_H},
    {"stone_wall_v", TYPE_STONE_WALL_V},
    {"stone_wall_corner", TYPE_STONE_WALL_CORNER},
    {"stone_wall_post", TYPE_STONE_WALL_POST},
    {"timber_wall_h", TYPE_TIMBER_WALL_H},
    {"timber_wall_v", TYPE_TIMBER_WALL_V},
    {"timber_wall_corner", TYPE_TIMBER_WALL_CORNER},
    {"timber_wall_post", TYPE_TIMBER_WALL_POST},
    {"window_h", TYPE_WINDOW_H},
    {"window_v", TYPE_WINDOW_V},
    {"door_h_closed", TYPE_DOOR_H_CLOSED},
    {"door_h_open", TYPE_DOOR_H_OPEN},
    {"door_v_closed", TYPE_DOOR_V_CLOSED},
    {"door_v_open", TYPE_DOOR_V_OPEN},
    {"gate_h_closed", TYPE_GATE_H_CLOSED},
    {"gate_h_open", TYPE_GATE_H_OPEN},
    {"arch_h", TYPE_ARCH_H},
    {"arch_v", TYPE_ARCH_V},
    {"stairs_down", TYPE_STAIRS_DOWN},
    {"ramp_up", TYPE_RAMP_UP},
    {"ladder", TYPE_LADDER},
    {"hole", TYPE_HOLE},
    {"rope_spot", TYPE_ROPE_SPOT},
    {"sewer_grate", TYPE_SEWER_GRATE},
    {"trapdoor", TYPE_TRAPDOOR},
    {"table", TYPE_TABLE},
    {"chair_n", TYPE_CHAIR_N},
    {"chair_e", TYPE_CHAIR_E},
    {"chair_s", TYPE_CHAIR_S},
    {"chair_w", TYPE_CHAIR_W},
    {"barrel", TYPE_BARREL},
    {"crate", TYPE_CRATE},
    {"bed", TYPE_BED},
    {"lever_left", TYPE_LEVER_LEFT},
    {"lever_right", TYPE_LEVER_RIGHT},
    {"mailbox", TYPE_MAILBOX},
    {"dustbin", TYPE_DUSTBIN},
    {"stone_pile", TYPE_STONE_PILE},
    {"sign", TYPE_SIGN},
    {"blackboard", TYPE_BLACKBOARD},
    {"street_lamp", TYPE_STREET_LAMP},
    {"wall_torch", TYPE_WALL_TORCH},
    {"campfire", TYPE_CAMPFIRE},
    {"fire_field", TYPE_FIRE_FIELD},
    {"depot_box", TYPE_DEPOT_BOX},
    {"chest", TYPE_CHEST},
    {"oak", TYPE_OAK},
    {"pine", TYPE_PINE},
    {"bush", TYPE_BUSH},
    {"rock", TYPE_ROCK},
    {"flowers", TYPE_FLOWERS},
    {"pebbles", TYPE_PEBBLES},
    {"reeds", TYPE_REEDS},
    {"bag", TYPE_BAG},
    {"backpack", TYPE_BACKPACK},
    {"gold_coin", TYPE_GOLD_COIN},
    {"platinum_coin", TYPE_PLATINUM_COIN},
    {"arrow", TYPE_ARROW},
    {"bolt", TYPE_BOLT},
    {"vial", TYPE_VIAL},
    {"mug", TYPE_MUG},
    {"bucket", TYPE_BUCKET},
    {"pool", TYPE_POOL},
    {"lamp", TYPE_LAMP},
    {"torch", TYPE_TORCH},
    {"book", TYPE_BOOK},
    {"scroll", TYPE_SCROLL},
    {"leather_helmet", TYPE_LEATHER_HELMET},
    {"iron_helmet", TYPE_IRON_HELMET},
    {"amulet", TYPE_AMULET},
    {"leather_armor", TYPE_LEATHER_ARMOR},
    {"chain_armor", TYPE_CHAIN_ARMOR},
    {"sword", TYPE_SWORD},
    {"axe", TYPE_AXE},
    {"mace", TYPE_MACE},
    {"bow", TYPE_BOW},
    {"crossbow", TYPE_CROSSBOW},
    {"wooden_shield", TYPE_WOODEN_SHIELD},
    {"iron_shield", TYPE_IRON_SHIELD},
    {"leather_legs", TYPE_LEATHER_LEGS},
    {"leather_boots", TYPE_LEATHER_BOOTS},
    {"ring", TYPE_RING},
    {"bread", TYPE_BREAD},
    {"ham", TYPE_HAM},
    {"apple", TYPE_APPLE},
    {"fish", TYPE_FISH},
    {"cheese", TYPE_CHEESE},
    {"blank_rune", TYPE_BLANK_RUNE},
    {"fire_rune", TYPE_FIRE_RUNE},
    {"healing_rune", TYPE_HEALING_RUNE},
    {"energy_rune", TYPE_ENERGY_RUNE},
    {"rope", TYPE_ROPE},
    {"shovel", TYPE_SHOVEL},
    {"pick", TYPE_PICK},
    {"fishing_rod", TYPE_FISHING_ROD},
    {"key", TYPE_KEY},
    {"corpse_human", TYPE_CORPSE_HUMAN},
    {"corpse_beast", TYPE_CORPSE_BEAST},
};

static const Named OutfitNames[] = {
    {"citizen", OUTFIT_CITIZEN},
    {"woman", OUTFIT_WOMAN},
    {"knight", OUTFIT_KNIGHT},
    {"mage", OUTFIT_MAGE},
    {"hunter", OUTFIT_HUNTER},
    {"rat", OUTFIT_RAT},
    {"wolf", OUTFIT_WOLF},
    {"skeleton", OUTFIT_SKELETON},
    {"orc", OUTFIT_ORC},
    {"spider", OUTFIT_SPIDER},
    {"slime", OUTFIT_SLIME},
    {"bat", OUTFIT_BAT},
    {"ghost", OUTFIT_GHOST},
    {"dragon", OUTFIT_DRAGON},
    {"chicken", OUTFIT_CHICKEN},
};

template <size_t N>
static int Find(const Named (&Table)[N], const std::string& Name) {
    for (const Named& Entry : Table)
        if (Name == Entry.Name) return Entry.Number;
    return 0;
}

int ItemTypeByName(const std::string& Name) { return Find(ItemNames, Name); }
int OutfitByName(const std::string& Name) { return Find(OutfitNames, Name); }

std::string ItemTypeName(int Type) {
    for (const Named& Entry : ItemNames)
        if (Entry.Number == Type) return Entry.Name;
    return std::to_string(Type);
}

}  // namespace server
