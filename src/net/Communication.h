// The login exchange: the login and game login requests, the login server's
// replies (errors, information, message of the day, character list, the
// overloaded notice), the game server's refusals, and the patch exchange that
// brings new data and program files.
#pragma once

#include <cstdint>
#include <string>

// Both requests carry these two numbers after the command byte.
constexpr uint16_t PROTOCOL_CONSTANT_1 = 2;
constexpr uint16_t PROTOCOL_CONSTANT_2 = 760;

// File types of the patch exchange.
enum : int {
    PATCH_PROGRAM_FILE = 0,  // "Vorna.exe", written as "Vorna.bak"
    PATCH_OBJECTS_FILE = 1,  // "Vorna.dat"
    PATCH_SPRITES_FILE = 2,  // "Vorna.spr"
    PATCH_PICTURES_FILE = 3, // "Vorna.pic"
    PATCH_PATCHER_FILE = 4,  // "Patch.exe", whole files only
};
const char* GetPatchFileName(int Type);
// "Vorna.bak" for the program, else the name with an underscore appended.
std::string GetPatchOutputName(int Type);

void InitCommunication();
void ExitCommunication();

void SendLogin(uint32_t AccountNumber, const char* Password);
void SendGameLogin(uint32_t AccountNumber, const char* CharacterName, const char* Password);

// Login-server replies; each reads its fields from the current packet.
void CLoginError();         // 10
void CLoginInformation();   // 11
void CMessageOfTheDay();    // 20
void CTransferStart(bool Delta);  // 30 delta, 31 whole file
void CTransferData();       // 32
void COverloaded();         // 40
void CCharacterList();      // 100

// Game-server refusals before the game has started.
void CGameError();          // 20
void CGameInformation();    // 21
void CWaitingList();        // 22

// The patch progress dialog's Abort button.
void AbortPatch();
// 0..100 during a transfer, -1 when none is under way.
int GetPatchProgress();

// Writes a received file: whole (Delta false) or by applying delta
// instructions to the current file. For types 1 to 3 a delta is applied only
// when the current file starts with Signature. Returns false on failure (the
// partly written output stays behind).
bool WritePatchedFile(int Type, bool Delta, const uint8_t* Data, size_t Size, uint32_t Signature);
// Events 60 to 63: the underscore file replaces the target.
void InstallPatchedFile(int Type);
