// Entering the game, the rights, the ping, light and effects, creature
// updates, the player's values with their hints, dialogs asked for by the
// server (edit text, edit list, outfit) and the buddy list.
#include "core/Assert.h"
#include "core/Status.h"
#include "net/Commands.h"
#include "net/GameMessages.h"
#include "net/GameMessagesLocal.h"
#include "net/Network.h"
#include "world/Creatures.h"
#include "world/Map.h"

#include <cstring>
#include <memory>

namespace gamemessages {

namespace {

EditTextRequest EditText;
EditListRequest EditList;
OutfitChoice Outfit;

void FreeEditTexts() {
    delete[] EditText.Text;
    delete[] EditText.SecondText;
    delete[] EditList.Text;
    EditText = EditTextRequest{};
    EditList = EditListRequest{};
}

// A creature message about an id the client does not know is read and dropped.
Creature* KnownCreature(uint32_t ID) { return ID != 0 ? FindCreature(ID) : NULL; }

}  // namespace

void ResetPlayerMessages() {
    FreeEditTexts();
    Outfit = OutfitChoice{};
}

}  // namespace gamemessages

const EditTextRequest& GetEditText() { return gamemessages::EditText; }
const EditListRequest& GetEditList() { return gamemessages::EditList; }
const OutfitChoice& GetOutfitChoice() { return gamemessages::Outfit; }

namespace gamemessages {

// ---- Session -------------------------------------------------------------------------------------

void CEnterGame() {
    ClearRights();
    SetPlayerID(GetQuad());
    SetServerBeat(GetWord());
    SetRight(40, GetByte());
    RaiseHint(1);
}

void CRights() {
    for (int i = 0; i < 32; ++i) SetRight(i, GetByte());
}

void CPing() { SendPong(); }

// ---- Light and effects ------------------------------------------------------------------------

void CAmbientLight() {
    const int Brightness = GetByte();
    const int Colour = GetByte();
    SetAmbientLight(Brightness, Colour);
}

// The map takes effects at any position: one beyond the cube waits where the
// view does not show it, and a missile shot from beyond the edge flies in.
void CGraphicEffect() {
    const Position P = ReadPosition();
    const int Type = GetByte();
    int rx, ry, rz;
    ToCube(P, rx, ry, rz);
    AddGraphicEffect(rx, ry, rz, Type);
}

void CAnimatedText() {
    const Position P = ReadPosition();
    const int Colour = GetByte();
    char Text[10];
    GetString(Text, sizeof Text);
    int rx, ry, rz;
    ToCube(P, rx, ry, rz);
    AddTextEffect(rx, ry, rz, Colour, Text);
}

void CMissile() {
    const Position From = ReadPosition();
    const Position To = ReadPosition();
    const int Type = GetByte();
    int sx, sy, sz, tx, ty, tz;
    ToCube(From, sx, sy, sz);
    ToCube(To, tx, ty, tz);
    AddMissile(sx, sy, sz, tx, ty, tz, Type);
}

// ---- Creature updates ------------------------------------------------------------------------------

void CCreatureMark() {
    const uint32_t ID = GetQuad();
    const int Colour = GetByte();
    if (Creature* C = KnownCreature(ID)) SetCreatureMark(C, Colour);
}

void CCreatureHealth() {
    const uint32_t ID = GetQuad();
    const int Health = GetByte();
    if (Creature* C = KnownCreature(ID)) C->Health = Health;
}

void CCreatureLight() {
    const uint32_t ID = GetQuad();
    const int Intensity = GetByte();
    const int Colour = GetByte();
    if (Creature* C = KnownCreature(ID)) {
        C->LightIntensity = Intensity;
        C->LightColour = Colour;
    }
}

void CCreatureOutfit() {
    const uint32_t ID = GetQuad();
    ReadOutfit(KnownCreature(ID));
}

void CCreatureSpeed() {
    const uint32_t ID = GetQuad();
    const int Speed = GetWord();
    if (Creature* C = KnownCreature(ID)) C->Speed = Speed;
}

void CCreatureSkull() {
    const uint32_t ID = GetQuad();
    const int Skull = GetByte();
    if (Creature* C = KnownCreature(ID)) SetCreatureSkull(C, Skull, true);
}

void CCreatureShield() {
    const uint32_t ID = GetQuad();
    const int Shield = GetByte();
    if (Creature* C = KnownCreature(ID)) C->PartyShield = Shield;
}

// ---- Dialogs the server asks for --------------------------------------------------------------------

void CEditText() {
    const uint32_t TextID = GetQuad();
    const int Type = GetWord();
    const int MaxLength = GetWord();
    // held until both are read: a broken second string must not lose the first
    std::unique_ptr<char[]> Text(GetNewString());
    std::unique_ptr<char[]> Second(GetNewString());
    delete[] EditText.Text;
    delete[] EditText.SecondText;
    EditText = EditTextRequest{TextID, Type, MaxLength, Text.release(), Second.release()};
    PostEvent(GAME_EVENT_EDITTEXT, 0, 0);
}

void CEditList() {
    const int Kind = GetByte();
    const uint32_t ListID = GetQuad();
    char* Text = GetNewString();
    delete[] EditList.Text;
    EditList = EditListRequest{Kind, ListID, Text};
    PostEvent(GAME_EVENT_EDITLIST, 0, 0);
}

void COutfitDialog() {
    for (uint8_t& b : Outfit.Values) b = GetByte();
    ClearOutfitRequest();
    PostEvent(GAME_EVENT_OUTFIT, 0, 0);
}

// ---- Player values ------------------------------------------------------------------------------------

void CPlayerData() {
    const int Hitpoints = GetWord();
    const int MaxHitpoints = GetWord();
    const int Capacity = GetWord();
    const uint32_t Experience = GetQuad();
    const int Level = GetWord();
    const int LevelPercent = GetByte();
    const int Mana = GetWord();
    const int MaxMana = GetWord();
    const int MagicLevel = GetByte();
    const int MagicPercent = GetByte();
    const int Soul = GetByte();
    // The first values after logging in are no event.
    const int OldLevel = GetPlayerExperienceLevel();
    const uint32_t OldExperience = GetPlayerExperience();
    if (OldLevel != 0) {
        if (OldExperience == 0 && Experience > 0) RaiseHint(7);
        if (OldLevel < 2 && Level > 1) RaiseHint(8);
        if (OldLevel < 8 && Level > 7) RaiseHint(10);
        if (OldLevel < 20 && Level >= 20) RaiseHint(14);
    }
    SetPlayerHitpoints(Hitpoints, MaxHitpoints);
    SetPlayerCapacity(Capacity);
    SetPlayerExperience(Experience);
    SetPlayerExperienceLevel(Level, LevelPercent);
    SetPlayerMana(Mana, MaxMana);
    SetPlayerMagicLevel(MagicLevel, MagicPercent);
    SetPlayerSoulpoints(Soul);
}

void CSkills() {
    for (int Skill = 0; Skill < SKILLS; Skill++) {
        const int Level = GetByte();
        const int Percent = GetByte();
        const int Old = GetSkillLevel(Skill);
        if (Old != 0 && Level > Old) RaiseHint(9);
        SetSkill(Skill, Level, Percent);
    }
}

void CConditions() { SetPlayerConditions(GetByte()); }

void CClearTarget() {
    SetAttackTarget(0);
    SetFollowTarget(0);
}

// ---- Buddies -------------------------------------------------------------------------------------------

void CBuddy() {
    const uint32_t ID = GetQuad();
    char Name[CREATURE_NAME_LENGTH];
    GetString(Name, CREATURE_NAME_LENGTH);
    const bool Online = GetByte() == 1;
    UpdateBuddy(ID, Name, Online);
}

void CBuddyOnline() { SetBuddyOnline(GetQuad(), true); }
void CBuddyOffline() { SetBuddyOnline(GetQuad(), false); }

}  // namespace gamemessages
