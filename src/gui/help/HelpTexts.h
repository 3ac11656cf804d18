// The words of the client's help: the help texts shown in help mode and the
// one-time event hints. They live in HelpTexts.cpp and nowhere else, so that
// whoever edits them reads them in one place.
#pragma once

// One help text: its help number, the skins its "<SKIN=%d>" tags show in
// order (0 ends the list), and the marked-up text.
struct HelpTextEntry {
    int Number;
    int Skins[10];
    const char* Text;
};

// One event hint: its title and marked-up text (without the title). The
// hints about one person (2 and 4) write "%s" for that person's name and
// carry the demo world's person as their title when nobody is named.
struct EventHintEntry {
    const char* Title;
    const char* Text;
};

// The entry of a help number, or NULL when it has none.
const HelpTextEntry* FindHelpTextEntry(int Number);
// Every help number that has a text, for the checks of the tests.
int GetNumberOfHelpTexts();
const HelpTextEntry& GetHelpTextEntry(int Index);
// Hint n, 1..14.
const EventHintEntry& GetEventHintEntry(int Number);
