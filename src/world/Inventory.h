// What the player carries and sees outside the map: the body slots, the open
// containers with their contents, and the two offers of a running trade.
#pragma once

#include "world/Objects.h"

#include <cstdint>

#ifndef NULL
#define NULL nullptr
#endif

constexpr int BODY_POSITIONS = 10;
constexpr int OPEN_CONTAINERS = 16;
constexpr int OBJECTS_PER_CONTAINER = 36;
constexpr int OBJECTS_PER_OFFER = 100;
constexpr int INVENTORY_NAME_LENGTH = 30;  // names are shorter than this

// ---- Module life --------------------------------------------------------------------

void InitInventory();
void ExitInventory();
// At every entry into the game: body slots emptied, containers closed, offers cleared.
void ResetInventory();

// ---- Body slots (1..BODY_POSITIONS, as on the wire) --------------------------------------

void SetBodyObject(int Slot, int Type, uint32_t Data);
void ClearBodyObject(int Slot);
ObjectInstance GetBodyObject(int Slot);

// ---- Containers (0..OPEN_CONTAINERS-1) ---------------------------------------------------

// Window is the interface's content window showing the container; the world
// model only keeps it.
void OpenContainer(int Container, int Type, void* Window, const char* Name, int Capacity, bool HasParent);
void CloseContainer(int Container);
bool IsContainerOpen(int Container);
// While the contents are listed; dropped when the container is full.
void AppendContainerObject(int Container, int Type, uint32_t Data);
// A new object at the front; a full container loses its last object.
void InsertContainerObject(int Container, int Type, uint32_t Data);
void ChangeContainerObject(int Container, int Position, int Type, uint32_t Data);
// True when the container was full, so the caller asks for it again.
bool RemoveContainerObject(int Container, int Position);
ObjectInstance GetContainerObject(int Container, int Position);
int GetContainerCount(int Container);
int GetContainerType(int Container);
void* GetContainerWindow(int Container);
void SetContainerWindow(int Container, void* Window);
const char* GetContainerName(int Container);
int GetContainerCapacity(int Container);
bool GetContainerHasParent(int Container);
// The lowest number not open; the last one when all are open.
int GetFreeContainerNumber();

// ---- Trade ---------------------------------------------------------------------------------

void StartOwnOffer(const char* Name);
void AddOwnOfferObject(int Type, uint32_t Data);
// False, storing nothing, while a counter offer is held.
bool StartCounterOffer(const char* Name);
void AddCounterOfferObject(int Type, uint32_t Data);
void CloseTrade();
const char* GetOwnOfferName();
const char* GetCounterOfferName();
int GetOwnOfferCount();
int GetCounterOfferCount();
ObjectInstance GetOwnOfferObject(int Position);
ObjectInstance GetCounterOfferObject(int Position);
