#include "Model.h"
#include "world/TypeNumbers.h"

#include <stdexcept>

namespace gen {

DataSet BuildAll() {
    DataSet d;
    // Items in number order; each builder checks that it continues the table.
    BuildGrounds(d);
    BuildArchitecture(d);
    BuildFurniture(d);
    BuildNature(d);
    BuildItems(d);
    BuildOutfits(d);
    BuildEffects(d);
    BuildMissiles(d);
    BuildPictures(d);
    if (int(d.Items.size()) != LAST_ITEM_TYPE - FIRST_ITEM_TYPE + 1) throw std::logic_error("item table incomplete");
    if (int(d.Outfits.size()) != NUMBER_OF_OUTFITS) throw std::logic_error("outfit table incomplete");
    if (int(d.Effects.size()) != NUMBER_OF_EFFECTS) throw std::logic_error("effect table incomplete");
    if (int(d.Missiles.size()) != NUMBER_OF_MISSILES) throw std::logic_error("missile table incomplete");
    return d;
}

}  // namespace gen
