// The one-time tutorial hints raised by game events: each hint is queued the
// first time its event happens and never again on this installation, since
// the shown flags live in the preferences (KnownHints). The interface takes
// the queued numbers first in first out and shows them.
//
// Which people and places of the world raise hints 2 to 5, 11 and 12 is
// data of the world, read from "Hints.cfg" in the working directory when the
// game starts; without that file the demo world's people and places count.
// The file is in the format of Vorna.cfg, one trigger a line:
//
//     Npc = (2,"Haldor")                    hint 2, 4 or 5 near this NPC
//     Place = (12,1013,1004,1016,1006,7)    hint 3, 11 or 12 inside x1,y1 .. x2,y2 on floor z
//
// A file that does not read (a broken line, another hint number) leaves the
// defaults in force.
#pragma once

#include <string>

constexpr int EVENTHELPS = 14;
constexpr int HINT_UNDERGROUND = 6;

// Marks hint n (1..EVENTHELPS) as known and queues it, unless it has been
// raised before; while the player has switched new hints off it is only
// marked, so that it does not come up later as new.
void triggerEventHint(int Number);
// Hints tied to the player's place: the configured rectangles, and any
// floor below the surface (8 or deeper) raises hint 6.
void triggerByPosition(int x, int y, int z);
// A non-player creature came near: the configured names raise their hints.
void triggerByNpcName(const char* Name);
// The first queued hint, 0 when none; pop also removes it.
int peekPendingHint();
int popPendingHint();
int GetNumberOfPendingHints();
// Empties the queue (the shown flags stay).
void ResetPendingHints();

// The triggers of the world, and the file they are read from.
constexpr const char* HINT_TRIGGERS_FILE = "Hints.cfg";
constexpr int HINT_TRIGGERS = 32;  // names and places together, at most
struct HintPlace {
    int Hint = 0;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0, z = 0;
};
// Back to the demo world's triggers.
void SetDefaultHintTriggers();
// Reads the triggers from the file; on any error the defaults stay and the
// error text (with the file's line) is returned, "" when it read well or the
// file does not exist.
std::string LoadHintTriggers(const char* FileName);
int GetNumberOfHintNpcs();
const std::string& GetHintNpc(int Index, int& Hint);
int GetNumberOfHintPlaces();
const HintPlace& GetHintPlace(int Index);
// The first name that raises hint n, "" when none does: hints about one
// person carry that person's name as their title.
const char* GetHintNpcName(int Hint);
// The name of the person whose meeting raised hint n in this run, "" when
// none did.
const char* GetHintMetName(int Hint);
