// Object type numbers of Vorna.dat that the client, the reference server and
// the data-file generator agree on. Items count from 100 without gaps (the
// generator checks that every number below has a record in this order);
// outfits, effects and missiles count from 1.
#pragma once

// ---- Items -----------------------------------------------------------------

// Grounds (BANK): walking value, automap colour, 2 x 2 variants by position.
inline constexpr int TYPE_GRASS = 100;
inline constexpr int TYPE_DIRT = 101;
inline constexpr int TYPE_SAND = 102;
inline constexpr int TYPE_COBBLESTONE = 103;
inline constexpr int TYPE_WOODEN_FLOOR = 104;
inline constexpr int TYPE_WATER = 105;       // not walkable, animated
inline constexpr int TYPE_SWAMP = 106;       // slow
inline constexpr int TYPE_CAVE_FLOOR = 107;
inline constexpr int TYPE_ROOF = 108;        // roof tiles on an upper floor, FLOORMARK
inline constexpr int TYPE_GRATING = 109;     // iron grating on an upper floor, SEETHROUGH and LIGHTTHROUGH
inline constexpr int TYPE_ROOF_RIDGE = 110;  // ridge of a roof, FLOORMARK

// Borders (ONBANK): grass growing over the field from the side named.
inline constexpr int TYPE_GRASS_BORDER_N = 111;
inline constexpr int TYPE_GRASS_BORDER_E = 112;
inline constexpr int TYPE_GRASS_BORDER_S = 113;
inline constexpr int TYPE_GRASS_BORDER_W = 114;
inline constexpr int TYPE_GRASS_BORDER_NW = 115;  // outer corners
inline constexpr int TYPE_GRASS_BORDER_NE = 116;
inline constexpr int TYPE_GRASS_BORDER_SW = 117;
inline constexpr int TYPE_GRASS_BORDER_SE = 118;
// Shore foam on a water field next to land on the side named.
inline constexpr int TYPE_SHORE_N = 119;
inline constexpr int TYPE_SHORE_E = 120;
inline constexpr int TYPE_SHORE_S = 121;
inline constexpr int TYPE_SHORE_W = 122;

// Walls (BOTTOM, UNPASS, UNMOVE). "H" runs west to east along the south edge of
// its field and carries hooks of the first kind (HOOKA); "V" runs north to south
// along the east edge and carries hooks of the second kind (HOOKB).
inline constexpr int TYPE_STONE_WALL_H = 123;
inline constexpr int TYPE_STONE_WALL_V = 124;
inline constexpr int TYPE_STONE_WALL_CORNER = 125;  // joins H (west) and V (north)
inline constexpr int TYPE_STONE_WALL_POST = 126;
inline constexpr int TYPE_TIMBER_WALL_H = 127;
inline constexpr int TYPE_TIMBER_WALL_V = 128;
inline constexpr int TYPE_TIMBER_WALL_CORNER = 129;
inline constexpr int TYPE_TIMBER_WALL_POST = 130;
inline constexpr int TYPE_WINDOW_H = 131;
inline constexpr int TYPE_WINDOW_V = 132;
inline constexpr int TYPE_DOOR_H_CLOSED = 133;  // a used closed door becomes the open one and back
inline constexpr int TYPE_DOOR_H_OPEN = 134;
inline constexpr int TYPE_DOOR_V_CLOSED = 135;
inline constexpr int TYPE_DOOR_V_OPEN = 136;
inline constexpr int TYPE_GATE_H_CLOSED = 137;  // special (locked) doors
inline constexpr int TYPE_GATE_H_OPEN = 138;
inline constexpr int TYPE_ARCH_H = 139;  // TOP: drawn over the creature walking through
inline constexpr int TYPE_ARCH_V = 140;

// Floor changes.
inline constexpr int TYPE_STAIRS_DOWN = 141;  // leads one floor down
inline constexpr int TYPE_RAMP_UP = 142;      // steps rising to the floor above
inline constexpr int TYPE_LADDER = 143;       // used to climb one floor up
inline constexpr int TYPE_HOLE = 144;         // open pit, falls one floor down
inline constexpr int TYPE_ROPE_SPOT = 145;    // light spot under a hole; a rope used on it climbs up
inline constexpr int TYPE_SEWER_GRATE = 146;
inline constexpr int TYPE_TRAPDOOR = 147;

// Furniture and fixtures.
inline constexpr int TYPE_TABLE = 148;  // HEIGHT, REDRAWNEAR
inline constexpr int TYPE_CHAIR_N = 149;  // ROTATE: N -> E -> S -> W -> N
inline constexpr int TYPE_CHAIR_E = 150;
inline constexpr int TYPE_CHAIR_S = 151;
inline constexpr int TYPE_CHAIR_W = 152;
inline constexpr int TYPE_BARREL = 153;  // HEIGHT
inline constexpr int TYPE_CRATE = 154;   // HEIGHT
inline constexpr int TYPE_BED = 155;
inline constexpr int TYPE_LEVER_LEFT = 156;
inline constexpr int TYPE_LEVER_RIGHT = 157;
inline constexpr int TYPE_MAILBOX = 158;
inline constexpr int TYPE_DUSTBIN = 159;
inline constexpr int TYPE_STONE_PILE = 160;
inline constexpr int TYPE_SIGN = 161;        // WRITEONCE
inline constexpr int TYPE_BLACKBOARD = 162;  // WRITE, hangs on a wall
inline constexpr int TYPE_STREET_LAMP = 163;  // LIGHT, SHIFT
inline constexpr int TYPE_WALL_TORCH = 164;   // HANG, LIGHT; columns: free, on H wall, on V wall
inline constexpr int TYPE_CAMPFIRE = 165;     // LIGHT, AVOID, animated
inline constexpr int TYPE_FIRE_FIELD = 166;   // LIGHT, AVOID, animated
inline constexpr int TYPE_DEPOT_BOX = 167;    // CONTAINER
inline constexpr int TYPE_CHEST = 168;        // CONTAINER

// Nature.
inline constexpr int TYPE_OAK = 169;   // 2 x 2 fields
inline constexpr int TYPE_PINE = 170;  // 2 x 2 fields
inline constexpr int TYPE_BUSH = 171;
inline constexpr int TYPE_ROCK = 172;
inline constexpr int TYPE_FLOWERS = 173;
inline constexpr int TYPE_PEBBLES = 174;
inline constexpr int TYPE_REEDS = 175;

// Containers, money, ammunition, liquids.
inline constexpr int TYPE_BAG = 176;
inline constexpr int TYPE_BACKPACK = 177;
inline constexpr int TYPE_GOLD_COIN = 178;      // CUMULATIVE, 4 x 2 count pictures
inline constexpr int TYPE_PLATINUM_COIN = 179;  // CUMULATIVE
inline constexpr int TYPE_ARROW = 180;          // CUMULATIVE
inline constexpr int TYPE_BOLT = 181;           // CUMULATIVE
inline constexpr int TYPE_VIAL = 182;           // LIQUIDCONTAINER, 4 x 2 liquid pictures
inline constexpr int TYPE_MUG = 183;            // LIQUIDCONTAINER
inline constexpr int TYPE_BUCKET = 184;         // LIQUIDCONTAINER
inline constexpr int TYPE_POOL = 185;           // LIQUIDPOOL
inline constexpr int TYPE_LAMP = 186;           // LIGHT, takeable
inline constexpr int TYPE_TORCH = 187;          // LIGHT, takeable
inline constexpr int TYPE_BOOK = 188;           // WRITE
inline constexpr int TYPE_SCROLL = 189;         // WRITEONCE

// Equipment, one or more per body slot.
inline constexpr int TYPE_LEATHER_HELMET = 190;  // head
inline constexpr int TYPE_IRON_HELMET = 191;
inline constexpr int TYPE_AMULET = 192;          // neck
inline constexpr int TYPE_LEATHER_ARMOR = 193;   // body
inline constexpr int TYPE_CHAIN_ARMOR = 194;
inline constexpr int TYPE_SWORD = 195;           // weapons
inline constexpr int TYPE_AXE = 196;
inline constexpr int TYPE_MACE = 197;
inline constexpr int TYPE_BOW = 198;
inline constexpr int TYPE_CROSSBOW = 199;
inline constexpr int TYPE_WOODEN_SHIELD = 200;   // shields
inline constexpr int TYPE_IRON_SHIELD = 201;
inline constexpr int TYPE_LEATHER_LEGS = 202;    // legs
inline constexpr int TYPE_LEATHER_BOOTS = 203;   // feet
inline constexpr int TYPE_RING = 204;            // finger

// Food.
inline constexpr int TYPE_BREAD = 205;
inline constexpr int TYPE_HAM = 206;
inline constexpr int TYPE_APPLE = 207;  // CUMULATIVE with one picture
inline constexpr int TYPE_FISH = 208;
inline constexpr int TYPE_CHEESE = 209;

// Runes (MULTIUSE).
inline constexpr int TYPE_BLANK_RUNE = 210;
inline constexpr int TYPE_FIRE_RUNE = 211;
inline constexpr int TYPE_HEALING_RUNE = 212;
inline constexpr int TYPE_ENERGY_RUNE = 213;

// Tools (MULTIUSE).
inline constexpr int TYPE_ROPE = 214;
inline constexpr int TYPE_SHOVEL = 215;
inline constexpr int TYPE_PICK = 216;
inline constexpr int TYPE_FISHING_ROD = 217;
inline constexpr int TYPE_KEY = 218;

// Remains.
inline constexpr int TYPE_CORPSE_HUMAN = 219;  // CONTAINER
inline constexpr int TYPE_CORPSE_BEAST = 220;  // CONTAINER

inline constexpr int FIRST_ITEM_TYPE = 100;
inline constexpr int LAST_ITEM_TYPE = 220;

// ---- Liquids (the Data value of liquid containers and pools) ---------------

inline constexpr int LIQUID_NONE = 0;
inline constexpr int LIQUID_WATER = 1;
inline constexpr int LIQUID_WINE = 2;
inline constexpr int LIQUID_BEER = 3;
inline constexpr int LIQUID_MUD = 4;
inline constexpr int LIQUID_BLOOD = 5;
inline constexpr int LIQUID_SLIME = 6;
inline constexpr int LIQUID_OIL = 7;

// ---- Outfits ---------------------------------------------------------------

// Humans: two layers (image and colour mask), four directions, standing and
// two walking phases.
inline constexpr int OUTFIT_CITIZEN = 1;
inline constexpr int OUTFIT_WOMAN = 2;
inline constexpr int OUTFIT_KNIGHT = 3;
inline constexpr int OUTFIT_MAGE = 4;
inline constexpr int OUTFIT_HUNTER = 5;
// Animals and monsters: one layer.
inline constexpr int OUTFIT_RAT = 6;
inline constexpr int OUTFIT_WOLF = 7;
inline constexpr int OUTFIT_SKELETON = 8;
inline constexpr int OUTFIT_ORC = 9;
inline constexpr int OUTFIT_SPIDER = 10;
inline constexpr int OUTFIT_SLIME = 11;   // IDLEANIMATION
inline constexpr int OUTFIT_BAT = 12;     // IDLEANIMATION
inline constexpr int OUTFIT_GHOST = 13;   // IDLEANIMATION, LIGHT
inline constexpr int OUTFIT_DRAGON = 14;  // 2 x 2 fields
inline constexpr int OUTFIT_CHICKEN = 15;
inline constexpr int NUMBER_OF_OUTFITS = 15;

// ---- Effects -----------------------------------------------------------------

inline constexpr int EFFECT_BLOOD = 1;
inline constexpr int EFFECT_SPARKLES = 2;   // blue sparks, a spell that fails or is blocked
inline constexpr int EFFECT_FIRE = 3;
inline constexpr int EFFECT_POISON = 4;
inline constexpr int EFFECT_ENERGY = 5;
inline constexpr int EFFECT_TELEPORT = 6;
inline constexpr int EFFECT_PUFF = 7;
inline constexpr int EFFECT_HIT = 8;        // yellow sparks of a blocked blow
inline constexpr int EFFECT_HEAL = 9;
inline constexpr int EFFECT_EXPLOSION = 10;
inline constexpr int EFFECT_SPLASH = 11;
inline constexpr int EFFECT_STARS = 12;     // golden stars
inline constexpr int EFFECT_INVISIBLE = 13;  // shimmer shown for an invisible creature
inline constexpr int EFFECT_ICE = 14;
inline constexpr int NUMBER_OF_EFFECTS = 14;

// ---- Missiles (3 x 3 direction patterns) ------------------------------------

inline constexpr int MISSILE_ARROW = 1;
inline constexpr int MISSILE_BOLT = 2;
inline constexpr int MISSILE_FIREBALL = 3;
inline constexpr int MISSILE_ENERGY = 4;
inline constexpr int MISSILE_POISON = 5;
inline constexpr int MISSILE_STONE = 6;
inline constexpr int MISSILE_SPEAR = 7;
inline constexpr int NUMBER_OF_MISSILES = 7;
