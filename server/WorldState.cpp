#include "server/WorldState.h"

#include "server/Log.h"
#include "server/TextFile.h"
#include "server/WorldMap.h"
#include "world/TypeNumbers.h"

#include <filesystem>
#include <map>
#include <sstream>
#include <tuple>

namespace server::worldstate {

using FieldKey = std::tuple<int, int, int>;
static std::map<FieldKey, std::string> Original;

// The objects of a field in text form, without creatures and without what
// decays by itself.
static std::string FieldText(const worldmap::Field& F) {
    std::vector<Object> Kept;
    for (const Object& O : F.Stack) {
        if (O.IsCreature() || O.Type == TYPE_CORPSE_BEAST || O.Type == TYPE_CORPSE_HUMAN) continue;
        Kept.push_back(O);
    }
    return ObjectsToText(Kept);
}

void Remember() {
    Original.clear();
    worldmap::ForEachField([](const Position& P, const worldmap::Field& F) { Original[{P.x, P.y, P.z}] = FieldText(F); });
}

void Load(const std::string& FileName, std::vector<game::GuestList>& Lists) {
    if (!std::filesystem::exists(FileName)) return;
    int Fields = 0;
    for (const TextEntry& E : ParseTextFile(ReadWholeFile(FileName), FileName)) {
        auto Fail = [&](const std::string& Why) {
            throw FileError(FileName + ", line " + std::to_string(E.Line) + ": " + Why);
        };
        std::istringstream In(E.Value);
        if (E.Key == "Field") {
            int x = -1, y = -1, z = -1;
            In >> x >> y >> z;
            if (!In || x < 0 || x > 65535 || y < 0 || y > 65535 || z < 0 || z > 15) Fail("x y z and objects expected");
            std::string Rest;
            std::getline(In, Rest);
            std::vector<Object> Objects;
            try {
                Objects = ObjectsFromText(Rest);
            } catch (const std::runtime_error& Problem) {
                Fail(Problem.what());
            }
            if (Objects.size() > size_t(OBJECTS_PER_POINT)) Fail("more than 10 objects on a field");
            worldmap::ReplaceObjects({x, y, z}, std::move(Objects));
            Fields++;
        } else if (E.Key == "List") {
            size_t Number = 0;
            In >> Number;
            if (!In || Number < 1 || Number > Lists.size()) Fail("no gate list of that number");
            std::string Names;
            std::getline(In, Names);
            if (!Names.empty() && Names[0] == ' ') Names.erase(0, 1);
            for (char& c : Names)
                if (c == '|') c = '\n';
            Lists[Number - 1].Names = Names;
        } else {
            Fail("unknown key " + E.Key);
        }
    }
    serverlog::Info("world", "%d changed fields from %s", Fields, FileName.c_str());
}

bool Save(const std::string& FileName, const std::vector<game::GuestList>& Lists) {
    std::map<FieldKey, std::string> Changed;
    worldmap::ForEachField([&](const Position& P, const worldmap::Field& F) {
        FieldKey K{P.x, P.y, P.z};
        std::string Now = FieldText(F);
        auto It = Original.find(K);
        if (It == Original.end() ? !Now.empty() : It->second != Now) Changed[K] = Now;
    });
    std::string Text = "# What players changed in the world; written by the server.\n";
    for (const auto& [K, Objects] : Changed) {
        auto [x, y, z] = K;
        Text += "Field = " + QuoteText(std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z) + " " + Objects) + "\n";
    }
    for (size_t i = 0; i < Lists.size(); i++) {
        // Names are one per line in the game and kept on one line here.
        std::string Names = Lists[i].Names;
        for (char& c : Names)
            if (c == '\n') c = '|';
        Text += "List = " + QuoteText(std::to_string(i + 1) + " " + Names) + "\n";
    }
    try {
        WriteFileAtomically(FileName, Text);
        return true;
    } catch (const FileError& Problem) {
        serverlog::Error("world", "cannot save the world: %s", Problem.what());
        return false;
    }
}

}  // namespace server::worldstate
