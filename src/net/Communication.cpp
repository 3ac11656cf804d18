// Sections: requests; login-server replies; patch transfer; writing and
// installing patched files; game-server refusals.
#include "net/Communication.h"

#include "config/Preferences.h"
#include "config/Script.h"
#include "core/Assert.h"
#include "core/DataFolders.h"
#include "core/Status.h"
#include "graphics/graphics.h"
#include "net/Network.h"
#include "world/Objects.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

const char* const PATCH_FILE_NAMES[5] = {"Vorna.exe", "Vorna.dat", "Vorna.spr", "Vorna.pic", "Patch.exe"};

// The signatures sent with the last login request: a delta applies only to
// the file it was made for.
uint32_t SentSignatures[4] = {0, 0, 0, 0};

// Transfer state; PatchData exists while a transfer is under way.
int PatchType = 0;
bool PatchDelta = false;
uint32_t PatchDataSize = 0;
uint32_t PatchDataCount = 0;
std::unique_ptr<std::vector<uint8_t>> PatchData;
int PatchProgress = -1;

void EndTransfer() {
    PatchData.reset();
    PatchDataSize = PatchDataCount = 0;
    PatchProgress = -1;
}

bool FileExists(const std::string& Name) {
    std::error_code ec;
    return std::filesystem::is_regular_file(Name, ec);
}

// ---- Delta instructions ----------------------------------------------------------------

struct DeltaFailure {};

class DeltaReader {
  public:
    DeltaReader(const uint8_t* Data, size_t Size) : Data(Data), Size(Size) {}
    bool atEnd() const { return Position >= Size; }
    uint32_t byte() {
        need(1);
        return Data[Position++];
    }
    uint32_t word() { return byte() | byte() << 8; }
    uint32_t quad() { return word() | word() << 16; }
    const uint8_t* bytes(uint32_t Count) {
        need(Count);
        const uint8_t* p = Data + Position;
        Position += Count;
        return p;
    }

  private:
    // Instructions that run past the end of the data are a broken patch.
    void need(size_t Count) {
        if (Count > Size - Position) throw DeltaFailure{};
    }
    const uint8_t* Data;
    size_t Size;
    size_t Position = 0;
};

void ApplyDelta(ReadBinaryFile& Current, long CurrentSize, WriteBinaryFile& Output, const uint8_t* Data, size_t Size) {
    DeltaReader in(Data, Size);
    std::vector<uint8_t> chunk;
    while (!in.atEnd()) {
        uint32_t b = in.byte();
        uint32_t c = b & 63;
        if (c == 61)
            c = in.byte();
        else if (c == 62)
            c = in.word();
        else if (c == 63)
            c = in.quad();
        switch (b & 192) {
        case 0:
            // Copying in pieces keeps a huge count from allocating at once;
            // reading past the end fails in the reader ("Out of data!").
            while (c > 0) {
                uint32_t n = std::min<uint32_t>(c, 65536);
                chunk.resize(n);
                Current.readBytes(chunk.data(), n);
                Output.writeBytes(chunk.data(), n);
                c -= n;
            }
            break;
        case 64:
        case 192: {
            if (b & 128) Output.writeBytes(in.bytes(c), c);
            long here = Current.tell();
            if (long(c) > CurrentSize - here) throw ScriptError("Out of data!");
            Current.seek(here + long(c));
            break;
        }
        case 128: Output.writeBytes(in.bytes(c), c); break;
        }
    }
}

void PatchFailed(int Type) {
    SetConnectionState(STATE_OFFLINE);
    Disconnect(false);
    ClearEvents();
    char text[128];
    std::snprintf(text, sizeof text, "Cannot patch file %s.", GetPatchFileName(Type));
    PostTextEvent(MESSAGE_ERROR, "Error", text);
}

void FinishTransfer() {
    int type = PatchType;
    uint32_t signature = In(type, 1, 3) ? SentSignatures[type] : 0;
    bool written = WritePatchedFile(type, PatchDelta, PatchData->data(), PatchData->size(), signature);
    EndTransfer();
    if (!written) {
        PatchFailed(type);
        return;
    }
    if (type == PATCH_PROGRAM_FILE) {
        // The queue then starts: wait until offline, the notice, ...
        PostTextEventFirst(MESSAGE_ERROR, "Updating",
                           "Program will now shut down and run an external patching program.\n"
                           "Afterwards it will restart. Please login again then.");
        PostEventFirst(MESSAGE_WAITOFFLINE, 0, 0);
        PostEvent(MESSAGE_STARTPATCHER, 0, 0);
        return;
    }
    PostEventFirst(MESSAGE_INSTALL_DAT + (type - 1), 0, 0);
    PostEventFirst(MESSAGE_WAITOFFLINE, 0, 0);
    if (In(type, 1, 3)) {
        PostEvent(MESSAGE_RELOAD_DAT + (type - 1), 0, 0);
        PostEvent(MESSAGE_RELOGIN, 0, 0);
    }
}

}  // namespace

const char* GetPatchFileName(int Type) { return In(Type, 0, 4) ? PATCH_FILE_NAMES[Type] : ""; }

std::string GetPatchOutputName(int Type) {
    if (Type == PATCH_PROGRAM_FILE) return "Vorna.bak";
    return std::string(GetPatchFileName(Type)) + "_";
}

void InitCommunication() {
    EndTransfer();
    std::fill(std::begin(SentSignatures), std::end(SentSignatures), 0u);
}

void ExitCommunication() { EndTransfer(); }

// ---- Requests ------------------------------------------------------------------------------

void SendLogin(uint32_t AccountNumber, const char* Password) {
    SentSignatures[1] = GetObjectsSignature();
    SentSignatures[2] = GetSpriteSignature();
    SentSignatures[3] = GetPictureSignature();
    BeginPacket(1);
    AddWord(PROTOCOL_CONSTANT_1);
    AddWord(PROTOCOL_CONSTANT_2);
    AddQuad(SentSignatures[1]);
    AddQuad(SentSignatures[2]);
    AddQuad(SentSignatures[3]);
    AddQuad(AccountNumber);
    AddSecretString(Password);
    SendPacket();
}

void SendGameLogin(uint32_t AccountNumber, const char* CharacterName, const char* Password) {
    BeginPacket(10);
    AddWord(PROTOCOL_CONSTANT_1);
    AddWord(PROTOCOL_CONSTANT_2);
    AddByte(GetGamemasterFlag());
    AddQuad(AccountNumber);
    AddString(CharacterName);
    AddSecretString(Password);
    SendPacket();
}

// ---- Login-server replies ----------------------------------------------------------------

void CLoginError() {
    std::unique_ptr<char[]> text(GetNewString());
    PostTextEvent(MESSAGE_ERROR, "Sorry", text.get());
    Disconnect(false);
    SetConnectionState(STATE_OFFLINE);
}

void CLoginInformation() {
    std::unique_ptr<char[]> text(GetNewString());
    PostTextEvent(MESSAGE_ERROR, "For your Information", text.get());
}

void CMessageOfTheDay() {
    std::unique_ptr<char[]> text(GetNewString());
    const char* lineFeed = std::strchr(text.get(), '\n');
    if (lineFeed != NULL) {
        std::string number(text.get(), size_t(lineFeed - text.get()));
        int Number = std::atoi(number.c_str());
        bool changed = Number != GetLastMotD();
        SetLastMotD(Number);
        SetMessageOfTheDay(lineFeed + 1);
        if (changed) PostEvent(MESSAGE_MOTD, 0, 0);
    }
}

void CTransferStart(bool Delta) {
    int Type = GetByte();
    uint32_t Size = GetQuad();
    ASSERT(PatchData==NULL);
    if (PatchData) return;
    if (!In(Type, 0, 4) || (Delta && Type == PATCH_PATCHER_FILE)) {
        ASSERT(false);
        return;
    }
    PatchType = Type;
    PatchDelta = Delta;
    PatchDataSize = Size;
    PatchDataCount = 0;
    // The buffer grows with the data, so an announced size alone allocates nothing.
    PatchData = std::make_unique<std::vector<uint8_t>>();
    PatchData->reserve(std::min<uint32_t>(Size, 1u << 20));
    PatchProgress = 0;
    PostTextEventFirst(MESSAGE_PATCHPROGRESS, GetPatchFileName(Type), nullptr);
    // The size travels as a number beside the owned name.
    Event& E = const_cast<Event&>(GetQueuedEvent(0));
    E.Extra = intptr_t(Size);
}

void CTransferData() {
    int BlockSize = GetWord();
    ASSERT(PatchData!=NULL);
    // The block is read in any case, so the next command starts where it should.
    std::vector<uint8_t> block(static_cast<size_t>(BlockSize));
    for (int i = 0; i < BlockSize; ++i) block[size_t(i)] = GetByte();
    if (!PatchData) return;
    ASSERT(PatchDataCount+BlockSize<=PatchDataSize);
    if (uint64_t(PatchDataCount) + uint64_t(BlockSize) > PatchDataSize) return;
    PatchData->insert(PatchData->end(), block.begin(), block.end());
    PatchDataCount += uint32_t(BlockSize);
    PatchProgress = PatchDataSize > 0 ? int(uint64_t(PatchDataCount) * 100 / PatchDataSize) : 100;
    if (PatchDataCount == PatchDataSize) FinishTransfer();
}

void COverloaded() {
    SetTimeout(0);
    Disconnect(false);
    SetConnectionState(STATE_OFFLINE);
    MarkCurrentServerFailed(ERROR_OVERLOADED);
    ConnectLoginServer();
}

void CCharacterList() {
    int Count = GetByte();
    SetAccountCharacters(Count);
    for (int i = 0; i < Count; ++i) {
        char Name[CHARNAME_LENGTH], World[CHARNAME_LENGTH];
        uint8_t Address[4];
        GetString(Name, CHARNAME_LENGTH);
        GetString(World, CHARNAME_LENGTH);
        for (uint8_t& a : Address) a = GetByte();
        int Port = GetWord();
        SetAccountCharacter(i, Name, World, Address, Port);
    }
    SetPremiumDays(GetWord());
    PostEvent(MESSAGE_CHARACTERLIST, 300, 0);
}

// ---- Patch transfer --------------------------------------------------------------------------

void AbortPatch() {
    if (!PatchData) return;
    EndTransfer();
    SetConnectionState(STATE_OFFLINE);
    Disconnect(false);
    ClearEvents();
}

int GetPatchProgress() { return PatchProgress; }

bool WritePatchedFile(int Type, bool Delta, const uint8_t* Data, size_t Size, uint32_t Signature) {
    std::string target = GetPatchFileName(Type);
    std::string output = GetPatchOutputName(Type);
    ReadBinaryFile Current;
    WriteBinaryFile Output;
    try {
        if (!Delta) {
            Output.open(output.c_str());
            if (Size > 0) Output.writeBytes(Data, Size);
            Output.sync();  // on the disk before it replaces the old file
            Output.close();
            return true;
        }
        // The current file may be the installation's; the new one goes to
        // the working directory, where it is installed and found first.
        Current.open(DataFilePath(target).c_str());
        long CurrentSize = Current.size();
        if (In(Type, 1, 3)) {
            if (Current.readQuad() != Signature) {
                Current.close();
                return false;
            }
            Current.seek(0);
        }
        Output.open(output.c_str());
        ApplyDelta(Current, CurrentSize, Output, Data, Size);
        Output.sync();
        Output.close();
        Current.close();
        return true;
    } catch (const ScriptError&) {
    } catch (const DeltaFailure&) {
    }
    if (Output.isOpen()) {
        try {
            Output.close();
        } catch (const ScriptError&) {
        }
    }
    if (Current.isOpen()) Current.close();
    return false;
}

void InstallPatchedFile(int Type) {
    ASSERT(In(Type,1,4));
    if (!In(Type, 1, 4)) return;
    std::string BackupFileName = GetPatchOutputName(Type);
    ASSERT(FileExists(BackupFileName));
    if (!FileExists(BackupFileName)) return;
    // Renamed over the old file in one step: removing the old one first left
    // a moment in which a crash or a power cut lost the data file for good.
    MoveIntoPlace(BackupFileName, GetPatchFileName(Type));
}

// ---- Game-server refusals ----------------------------------------------------------------------

void CGameError() {
    std::unique_ptr<char[]> text(GetNewString());
    PostTextEvent(MESSAGE_ERROR, "Sorry", text.get());
    // In the game ("You are dead.") the game is left as on a lost
    // connection, or the player would stay on a dead view with no way on.
    if (GetConnectionState() == STATE_GAME) {
        CloseConnection();
        return;
    }
    Disconnect(false);
    SetConnectionState(STATE_OFFLINE);
}

void CGameInformation() {
    std::unique_ptr<char[]> text(GetNewString());
    PostTextEvent(MESSAGE_ERROR, "For your Information", text.get());
}

void CWaitingList() {
    // Held so that a short packet (an assertion) does not lose the copy.
    std::unique_ptr<char[]> text(GetNewString());
    int Seconds = GetByte();
    PostEvent(MESSAGE_WAITINGLIST, NewEventText(text.get()), Seconds);
}
