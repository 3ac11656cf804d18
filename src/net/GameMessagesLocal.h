// Shared between the files of the game messages only.
#pragma once

#include "world/Objects.h"

#include <cstdint>

struct Creature;

namespace gamemessages {

// An absolute field from the packet.
struct Position {
    int x, y, z;
};
Position ReadPosition();
// Whether the absolute field lies in the map cube; gives its cube position.
bool ToCube(const Position& P, int& rx, int& ry, int& rz);

// A thing after its id has been read. With Where set, a creature thing is
// placed on that absolute field.
ObjectInstance ReadThing(int ID, const Position* Where);
void ReadThing(int ID, const Position* Where, int& Type, uint32_t& Data);
ObjectInstance ReadThing(const Position* Where);
// The fields of a creature description, applied to C or dropped when C is
// NULL.
void ReadCreatureDescription(Creature* C);
// Outfit byte, then four colours or a look object type.
void ReadOutfit(Creature* C);

// Map descriptions: the skip counter runs across fields, rows and levels of
// one message; ResetSkip starts a message.
void ResetSkip();
void ReadArea(int x0, int y0, int Width, int Height, int rz);
// Every level that a description of the current floor carries.
void ReadLevels(int x0, int y0, int Width, int Height);
// The automap sample of a changed field on the player level.
void MapUpdate(int rx, int ry, int rz);
void PositionChanged();
// The event hints through their hooks (GameHooks.h).
void RaiseHint(int Number);
void RaisePositionHints(int x, int y, int z);

// Handlers by file.
void CEnterGame();
void CRights();
void CPing();
void CFullMap();
void CMapNorth();
void CMapEast();
void CMapSouth();
void CMapWest();
void CField();
void CAddThing();
void CChangeThing();
void CRemoveThing();
void CMoveCreature();
void CFloorUp();
void CFloorDown();

void CContainerOpen();
void CContainerClose();
void CContainerAdd();
void CContainerChange();
void CContainerRemove();
void CInventorySet();
void CInventoryClear();
void CTradeOwn();
void CTradeCounter();
void CTradeClose();

void CAmbientLight();
void CGraphicEffect();
void CAnimatedText();
void CMissile();
void CCreatureMark();
void CCreatureHealth();
void CCreatureLight();
void CCreatureOutfit();
void CCreatureSpeed();
void CCreatureSkull();
void CCreatureShield();
void CEditText();
void CEditList();
void CPlayerData();
void CSkills();
void CConditions();
void CClearTarget();
void COutfitDialog();
void CBuddy();
void CBuddyOnline();
void CBuddyOffline();

void CTalk();
void CChannelList();
void COpenChannel();
void COpenPrivateChannel();
void COpenRequestChannel();
void CRemoveRequest();
void CRequestFinished();
void CRequestClosed();
void COpenOwnChannel();
void CChannelClosed();
void CTextMessage();
void CWalkCancelled();

void ResetPlayerMessages();
void ResetTalkMessages();

}  // namespace gamemessages
