#include "net/GameMessages.h"

#include "core/Assert.h"
#include "core/Status.h"
#include "net/GameHooks.h"
#include "net/GameMessagesLocal.h"

namespace {

GameHooks Hooks;
HintHooks Hints;

}  // namespace

void SetGameHooks(const GameHooks& NewHooks) { Hooks = NewHooks; }
const GameHooks& GetGameHooks() { return Hooks; }

void ShowStatusMessage(const char* Text) {
    if (Hooks.StatusMessage) Hooks.StatusMessage(Text);
}

void SetHintHooks(const HintHooks& NewHooks) { Hints = NewHooks; }

void gamemessages::RaiseHint(int Number) {
    if (Hints.EventHint) Hints.EventHint(Number);
}

void gamemessages::RaisePositionHints(int x, int y, int z) {
    if (Hints.PositionHint) Hints.PositionHint(x, y, z);
}

void InitGameMessages() {
    gamemessages::ResetSkip();
    gamemessages::ResetPlayerMessages();
    gamemessages::ResetTalkMessages();
    SetEventTextFields(GAME_EVENT_PRIVATECHANNEL, false, true);
    SetEventTextFields(GAME_EVENT_CHANNEL, false, true);
    SetEventTextFields(GAME_EVENT_OWNCHANNEL, false, true);
}

void ExitGameMessages() {
    gamemessages::ResetPlayerMessages();
    gamemessages::ResetTalkMessages();
    Hooks = GameHooks{};
}

GameMessageHandler GetGameMessageHandler(int Command) {
    using namespace gamemessages;
    switch (Command) {
    case 10: return CEnterGame;
    case 11: return CRights;
    case 30: return CPing;
    case 100: return CFullMap;
    case 101: return CMapNorth;
    case 102: return CMapEast;
    case 103: return CMapSouth;
    case 104: return CMapWest;
    case 105: return CField;
    case 106: return CAddThing;
    case 107: return CChangeThing;
    case 108: return CRemoveThing;
    case 109: return CMoveCreature;
    case 110: return CContainerOpen;
    case 111: return CContainerClose;
    case 112: return CContainerAdd;
    case 113: return CContainerChange;
    case 114: return CContainerRemove;
    case 120: return CInventorySet;
    case 121: return CInventoryClear;
    case 125: return CTradeOwn;
    case 126: return CTradeCounter;
    case 127: return CTradeClose;
    case 130: return CAmbientLight;
    case 131: return CGraphicEffect;
    case 132: return CAnimatedText;
    case 133: return CMissile;
    case 134: return CCreatureMark;
    case 140: return CCreatureHealth;
    case 141: return CCreatureLight;
    case 142: return CCreatureOutfit;
    case 143: return CCreatureSpeed;
    case 144: return CCreatureSkull;
    case 145: return CCreatureShield;
    case 150: return CEditText;
    case 151: return CEditList;
    case 160: return CPlayerData;
    case 161: return CSkills;
    case 162: return CConditions;
    case 163: return CClearTarget;
    case 170: return CTalk;
    case 171: return CChannelList;
    case 172: return COpenChannel;
    case 173: return COpenPrivateChannel;
    case 174: return COpenRequestChannel;
    case 175: return CRemoveRequest;
    case 176: return CRequestFinished;
    case 177: return CRequestClosed;
    case 178: return COpenOwnChannel;
    case 179: return CChannelClosed;
    case 180: return CTextMessage;
    case 181: return CWalkCancelled;
    case 190: return CFloorUp;
    case 191: return CFloorDown;
    case 200: return COutfitDialog;
    case 210: return CBuddy;
    case 211: return CBuddyOnline;
    case 212: return CBuddyOffline;
    default: return nullptr;
    }
}
