#include "Builders.h"

#include <stdexcept>
#include <string>

namespace gen {

static ObjectRecord& Append(std::vector<ObjectRecord>& table, int first, int type, const char* name) {
    if (type != first + int(table.size()))
        throw std::logic_error(std::string("type number out of order: ") + name);
    table.emplace_back();
    table.back().Name = name;
    return table.back();
}

ObjectRecord& NewItem(DataSet& data, int type, const char* name) { return Append(data.Items, 100, type, name); }
ObjectRecord& NewOutfit(DataSet& data, int type, const char* name) { return Append(data.Outfits, 1, type, name); }
ObjectRecord& NewEffect(DataSet& data, int type, const char* name) { return Append(data.Effects, 1, type, name); }
ObjectRecord& NewMissile(DataSet& data, int type, const char* name) {
    return Append(data.Missiles, 1, type, name);
}

void Single(DataSet& data, ObjectRecord& r, const art::Canvas& image) {
    r.Shape(1, 1, 1, 1, 1, 1, 1);
    r.Put(1, 1, 1, 1, 1, 1, 1, data.Sprites.Add(image));
}

}  // namespace gen
