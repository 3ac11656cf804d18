#include "gui/help/EventHints.h"

#include "config/Preferences.h"
#include "config/Script.h"
#include "core/Assert.h"
#include "core/Utils.h"

#include <cstdio>
#include <deque>
#include <vector>

namespace {

// Lives until the program ends; only ResetPendingHints empties it.
std::deque<int> Pending;
// Who raised each hint about a person, for its title and text; kept for the
// run, so that the list of hints read names him too.
std::string MetNames[EVENTHELPS + 1];

// The world's triggers, replaced whole by a file that reads well.
struct HintNpc {
    int Hint = 0;
    std::string Name;
};
struct Triggers {
    std::vector<HintNpc> Npcs;
    std::vector<HintPlace> Places;
};
// Demoland: Haldor on the square, Master Corvin where the south path
// begins, Bertram at his stall; the crossroads west of the starting place,
// the forest beyond the village, the post office with the depot.
Triggers DemoTriggers() {
    Triggers T;
    T.Npcs = {{2, "Haldor"}, {4, "Master Corvin"}, {5, "Bertram"}};
    T.Places = {{3, 996, 999, 999, 1001, 7}, {11, 980, 980, 991, 990, 7}, {12, 1013, 1004, 1016, 1006, 7}};
    return T;
}

Triggers World = DemoTriggers();

bool NpcHint(int Hint) { return Hint == 2 || Hint == 4 || Hint == 5; }
bool PlaceHint(int Hint) { return Hint == 3 || Hint == 11 || Hint == 12; }

int ReadInt(ReadScriptFile& Script) {
    Script.readSymbol(',');
    return Script.readNumber();
}

}  // namespace

void triggerEventHint(int Number) {
    ASSERT(In(Number,1,EVENTHELPS));
    if (!In(Number, 1, EVENTHELPS)) return;
    if (IsKnownHint(Number)) return;
    // A hint that comes while the player does not want hints counts as
    // known all the same: switching them on again must not bring up as new
    // what happened meanwhile (a place or a person met again would).
    AddKnownHint(Number);
    if (GetShowNewHints()) Pending.push_back(Number);
}

void triggerByPosition(int x, int y, int z) {
    for (const HintPlace& P : World.Places)
        if (z == P.z && In(x, P.x1, P.x2) && In(y, P.y1, P.y2)) triggerEventHint(P.Hint);
    if (z >= 8) triggerEventHint(HINT_UNDERGROUND);
}

void triggerByNpcName(const char* Name) {
    ASSERT(Name!=NULL);
    if (Name == NULL) return;
    for (const HintNpc& N : World.Npcs) {
        if (CompareNoCase(N.Name.c_str(), Name) != 0 || IsKnownHint(N.Hint)) continue;
        MetNames[N.Hint] = N.Name;
        triggerEventHint(N.Hint);
    }
}

int peekPendingHint() { return Pending.empty() ? 0 : Pending.front(); }

int popPendingHint() {
    if (Pending.empty()) return 0;
    int n = Pending.front();
    Pending.pop_front();
    return n;
}

int GetNumberOfPendingHints() { return int(Pending.size()); }

void ResetPendingHints() { Pending.clear(); }

// ---- The world's triggers ----

void SetDefaultHintTriggers() { World = DemoTriggers(); }

std::string LoadHintTriggers(const char* FileName) {
    SetDefaultHintTriggers();
    if (FileName == NULL) return "";
    if (FILE* F = std::fopen(FileName, "rb"))
        std::fclose(F);
    else
        return "";  // no file: the demo world's triggers
    Triggers Read;
    ReadScriptFile Script;
    try {
        Script.open(FileName);
        for (;;) {
            Script.nextToken();
            if (Script.getToken() == ENDOFFILE) break;
            if (Script.getToken() != IDENTIFIER) Script.error("Identifier expected");
            const std::string Key = Script.getIdentifier();
            Script.readSymbol('=');
            Script.readSymbol('(');
            const int Hint = Script.readNumber();
            if (Key == "npc") {
                if (!NpcHint(Hint)) Script.error("Illegal number");
                Script.readSymbol(',');
                std::string Name = Script.readString();
                if (Name.empty()) Script.error("Name expected");
                Read.Npcs.push_back({Hint, Name});
            } else if (Key == "place") {
                if (!PlaceHint(Hint)) Script.error("Illegal number");
                HintPlace P;
                P.Hint = Hint;
                P.x1 = ReadInt(Script), P.y1 = ReadInt(Script), P.x2 = ReadInt(Script), P.y2 = ReadInt(Script);
                P.z = ReadInt(Script);
                Read.Places.push_back(P);
            } else {
                Script.error("Unknown key");
            }
            Script.readSymbol(')');
            if (Read.Npcs.size() + Read.Places.size() > size_t(HINT_TRIGGERS)) Script.error("Too many triggers");
        }
        Script.close();
    } catch (const ScriptError& E) {
        if (Script.isOpen()) Script.close();
        return E.what();
    }
    World = std::move(Read);
    return "";
}

int GetNumberOfHintNpcs() { return int(World.Npcs.size()); }

const std::string& GetHintNpc(int Index, int& Hint) {
    ASSERT(In(Index,0,GetNumberOfHintNpcs()-1));
    const HintNpc& N = World.Npcs.at(size_t(Index));
    Hint = N.Hint;
    return N.Name;
}

int GetNumberOfHintPlaces() { return int(World.Places.size()); }

const HintPlace& GetHintPlace(int Index) {
    ASSERT(In(Index,0,GetNumberOfHintPlaces()-1));
    return World.Places.at(size_t(Index));
}

const char* GetHintMetName(int Hint) { return In(Hint, 1, EVENTHELPS) ? MetNames[Hint].c_str() : ""; }

const char* GetHintNpcName(int Hint) {
    for (const HintNpc& N : World.Npcs)
        if (N.Hint == Hint) return N.Name.c_str();
    return "";
}
