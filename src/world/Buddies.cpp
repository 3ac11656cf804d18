// The buddy list of the creature module: entries sorted by three keys in
// priority order, 0 name, 1 icon, 2 online first.
#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/Utils.h"
#include "world/Creatures.h"
#include "world/CreaturesLocal.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

Buddy Buddies[BUDDIES];
int NumberOfBuddies = 0;
int OnlineBuddies = 0;
int SortKeys[3] = {2, 1, 0};

// True when entry i may stand before entry j.
bool InOrder(int i, int j) {
    ASSERT(i!=j);
    ASSERT(In(i,0,NumberOfBuddies-1));
    ASSERT(In(j,0,NumberOfBuddies-1));
    const Buddy& a = Buddies[i];
    const Buddy& b = Buddies[j];
    for (int Key : SortKeys) {
        switch (Key) {
            case 0: {
                int c = std::strcmp(a.Name, b.Name);
                if (c != 0) return c < 0;
                break;
            }
            case 1:
                if (a.Icon != b.Icon) return a.Icon < b.Icon;
                break;
            case 2:
                if (a.Online != b.Online) return a.Online;
                break;
            default: break;
        }
    }
    return true;
}

void FullSort() {
    for (int i = 0; i < NumberOfBuddies; i++)
        for (int j = i + 1; j < NumberOfBuddies; j++)
            if (!InOrder(i, j)) std::swap(Buddies[i], Buddies[j]);
}

void Resort(int n) {
    while (n > 0 && !InOrder(n - 1, n)) {
        std::swap(Buddies[n - 1], Buddies[n]);
        n--;
    }
    while (n < NumberOfBuddies - 1 && !InOrder(n, n + 1)) {
        std::swap(Buddies[n], Buddies[n + 1]);
        n++;
    }
}

void MakePrimary(int Key) {
    if (SortKeys[0] == Key) return;
    if (SortKeys[1] == Key) {
        SortKeys[1] = SortKeys[0];
    } else if (SortKeys[2] == Key) {
        SortKeys[2] = SortKeys[1];
        SortKeys[1] = SortKeys[0];
    } else {
        return;
    }
    SortKeys[0] = Key;
}

void StoreKeys() { SetBuddySortmethods(SortKeys[0], SortKeys[1], SortKeys[2]); }

}  // namespace

void ResetBuddies() {
    NumberOfBuddies = 0;
    OnlineBuddies = 0;
    SortKeys[0] = 2;
    SortKeys[1] = 1;
    SortKeys[2] = 0;
    int Stored[3];
    bool Valid = true;
    for (int i = 0; i < 3; i++) {
        Stored[i] = GetBuddySortmethod(i);
        if (!In(Stored[i], 0, 2)) Valid = false;
    }
    if (Valid)
        for (int i = 0; i < 3; i++) SortKeys[i] = Stored[i];
}

void UpdateBuddy(uint32_t CharacterID, const char* Name, bool Online) {
    ASSERT(Name!=NULL && strlen(Name)<30);
    if (!(Name != NULL && strlen(Name) < 30)) return;
    int n = FindBuddy(CharacterID);
    if (n < 0) {
        ASSERT(NumberOfBuddies<BUDDIES);
        if (NumberOfBuddies >= BUDDIES) return;
        n = NumberOfBuddies++;
        Buddies[n].Online = false;
    }
    Buddy& B = Buddies[n];
    if (B.Online && !Online) OnlineBuddies--;
    if (!B.Online && Online) OnlineBuddies++;
    B.CharacterID = CharacterID;
    std::strcpy(B.Name, Name);
    B.Online = Online;
    // The icon comes from Vorna.cfg, whose reader already turned a number
    // that is no icon into none.
    B.Icon = GetBuddyNumber(CharacterID);
    B.LastChange = 0;
    Resort(n);
}

void SetBuddyOnline(uint32_t CharacterID, bool Online) {
    int n = FindBuddy(CharacterID);
    if (n < 0) return;
    Buddy& B = Buddies[n];
    bool CameOnline = !B.Online && Online;
    if (B.Online && !Online) OnlineBuddies--;
    if (CameOnline) OnlineBuddies++;
    B.Online = Online;
    B.LastChange = CreatureTick();
    if (CameOnline && GetBuddyFlag(CharacterID) != 0) {
        char Text[64];
        std::snprintf(Text, sizeof Text, "%s has logged in.", B.Name);
        CreatureStatusMessage(Text);
    }
    Resort(n);
}

void EditBuddy(uint32_t CharacterID, int Icon, const char* Description, bool Notify) {
    ASSERT(CharacterID!=0);
    ASSERT(Description!=NULL);
    if (CharacterID == 0 || Description == NULL) return;
    if (Icon == 0 && Description[0] == 0 && !Notify)
        RemoveBuddy(CharacterID);
    else
        AddBuddy(CharacterID, Icon, Description, Notify ? 1 : 0);
    int n = FindBuddy(CharacterID);
    if (n < 0) return;
    Buddies[n].Icon = Icon;
    Resort(n);
}

void DeleteBuddy(uint32_t CharacterID) {
    int n = FindBuddy(CharacterID);
    if (n >= 0) {
        if (Buddies[n].Online) OnlineBuddies--;
        for (int i = n; i < NumberOfBuddies - 1; i++) Buddies[i] = Buddies[i + 1];
        NumberOfBuddies--;
    }
    if (CharacterID != 0) RemoveBuddy(CharacterID);
}

int FindBuddy(uint32_t CharacterID) {
    for (int n = 0; n < NumberOfBuddies; n++)
        if (Buddies[n].CharacterID == CharacterID) return n;
    return -1;
}

int FindBuddyByName(const char* Name) {
    if (Name == NULL) return -1;
    for (int n = 0; n < NumberOfBuddies; n++)
        if (CompareNoCase(Buddies[n].Name, Name) == 0) return n;
    return -1;
}

const Buddy& GetBuddyEntry(int Position) {
    static const Buddy None{};
    ASSERT(In(Position,0,NumberOfBuddies-1));
    return In(Position, 0, NumberOfBuddies - 1) ? Buddies[Position] : None;
}

int GetNumberOfBuddies() { return NumberOfBuddies; }
int GetNumberOfOnlineBuddies() { return OnlineBuddies; }
int GetNumberOfShownBuddies() { return GetBuddyHideOffline() ? OnlineBuddies : NumberOfBuddies; }

void SetBuddySortKey(int Key) {
    if (SortKeys[0] == Key) return;
    MakePrimary(Key);
    if (GetBuddyHideOffline() && Key != 2) MakePrimary(2);
    FullSort();
    StoreKeys();
}

int GetBuddySortKey(int Priority) {
    ASSERT(In(Priority,0,2));
    return In(Priority, 0, 2) ? SortKeys[Priority] : 0;
}

void SetBuddiesHideOffline(bool On) {
    SetBuddyHideOffline(On);
    if (On) {
        MakePrimary(2);
        FullSort();
        StoreKeys();
    }
}
