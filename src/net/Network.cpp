// Sections: state; error codes and texts; server list and login attempts;
// host look-up; connecting and disconnecting; time-out; sending; receiving.
#include "net/Network.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/BuildSettings.h"
#include "core/ProgramError.h"
#include "core/Status.h"
#include "core/Utils.h"
#include "net/PacketBuffer.h"
#include "platform/Platform.h"
#include "platform/Recording.h"

#include <asio.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

using asio::ip::tcp;

// ---- State: set up by InitNetwork, dropped by ExitNetwork ----------------------

bool Initialized = false;
NetworkHandler ConnectHandler = nullptr, ReceiveHandler = nullptr, CloseHandler = nullptr;
std::unique_ptr<asio::io_context> Io;
std::unique_ptr<tcp::socket> Socket;
std::unique_ptr<tcp::resolver> Resolver;
// Completions of an abandoned socket or look-up are recognised by these.
uint32_t SocketGeneration = 0, LookupGeneration = 0;
bool LookupPending = false;
// A look-up was handed to the resolver and its completion has not run yet,
// though it may have been cancelled: its helper thread may still wait in
// the system's look-up.
bool ResolverBusy = false;
bool Reading = false, WaitingWritable = false;
int SendBufferRequest = 0;

ServerEntry Servers[NUMBEROFSERVER + 1];
int CurrentServer = 0;
int RecursionProtection = 0;
int TimeoutLimit = 0, TimeoutCounter = 0;

uint8_t SendBuffer[SEND_BUFFER_SIZE];
WriteBuffer Sending;
// Where the packet being built holds a secret (its string's length word), so
// that a recording gets it blanked; -1 for none.
int SecretAt = -1;
uint8_t ShownBuffer[SEND_BUFFER_SIZE];
std::vector<uint8_t> PendingOutput;

uint8_t ReceiveBuffer[RECEIVE_BUFFER_SIZE];
int Filled = 0, Complete = 0, Consumed = 0;
ReadBuffer Reader;
uint8_t Snapshot[PACKET_SNAPSHOT_SIZE];

const char* WebAddress() { return build_settings::ACCOUNT_URL; }

// ---- Error codes and texts ------------------------------------------------------------

int ClientErrorCode(const std::error_code& ec) {
    namespace e = asio::error;
    if (ec == e::connection_refused) return ERROR_REFUSED;
    if (ec == e::timed_out) return ERROR_TIMEOUT;
    if (ec == e::host_not_found) return ERROR_HOST_NOT_FOUND;
    if (ec == e::host_not_found_try_again) return ERROR_TRY_AGAIN;
    if (ec == e::no_recovery || ec == e::no_data) return ERROR_NO_RECOVERY;
    if (ec == e::network_unreachable) return ERROR_NETWORK_UNREACHABLE;
    if (ec == e::network_down) return ERROR_NETWORK_DOWN;
    if (ec == e::host_unreachable) return ERROR_HOST_UNREACHABLE;
    if (ec == e::invalid_argument) return ERROR_INVALID_ARGUMENT;
    if (ec == std::errc::address_not_available) return ERROR_ADDRESS_NOT_AVAILABLE;
    if (ec == e::message_size) return ERROR_MESSAGE_SIZE;
    if (ec == e::connection_reset) return ERROR_CONNECTION_RESET;
    return ec.value() != 0 ? ec.value() : -1;
}

void CodeText(char* Text, size_t Size, int Code) {
    const char* text = nullptr;
    switch (Code) {
    case 10022:
    case 10049: text = "Invalid server address."; break;
    case 10040: text = "Connection error."; break;
    case 10050:
    case 10051: text = "Network is unreachable."; break;
    case 10060: text = "Connection timeout."; break;
    case 10061: text = "Connection refused."; break;
    case 10065: text = "Server is unreachable."; break;
    case 11001: text = "Server name does not exist."; break;
    case 11002: text = "Could not resolve server name."; break;
    case 11004: text = "Error while resolving the server name."; break;
    case 200001: text = "Login server is overloaded. Please try again later."; break;
    case 200002: text = "Disconnected from server."; break;
    }
    if (text)
        std::snprintf(Text, Size, "%s", text);
    else
        std::snprintf(Text, Size, "%d", Code);
}

// ---- Server list ------------------------------------------------------------------------

void SetEntry(ServerEntry& E, const char* Address, int Port) {
    E = ServerEntry{};
    CopyText(E.Address, Address ? Address : "", SERVER_ADDRESS_LENGTH);
    E.Port = Port;
}

void MakeAllAvailable() {
    for (ServerEntry& E : Servers) E.Available = 1;
}

void MarkFailed(ServerEntry& E, int Code) {
    E.Available = 0;
    E.LastError = Code;
}

bool TestServerMode() { return GetTestServer(); }

// A replay takes the socket's answers from the recording, a scripted server
// (the random player) gives them itself: nothing is sent or received, though
// the socket objects exist as they did. The script is told what the
// connection waits for.
bool Replaying() { return platform::NetworkFromSession(); }
using platform::recording::NetworkEvent;

ServerEntry& CurrentEntry() { return TestServerMode() ? Servers[NUMBEROFSERVER] : Servers[CurrentServer]; }

void ResetReceiving() {
    Filled = Complete = Consumed = 0;
    Reader = ReadBuffer();
    std::memset(Snapshot, 0, sizeof Snapshot);
}

void StartRead();
void Flush();
void OnConnect(int Error);
void OnLookup(int Error, const char* Address);
void OnReceiveCompleted(size_t Count);
void OnClose();

bool OpenSocket(int& Error) {
    Disconnect(false);
    ++SocketGeneration;
    auto socket = std::make_unique<tcp::socket>(*Io);
    std::error_code ec;
    socket->open(tcp::v4(), ec);
    if (!ec) socket->non_blocking(true, ec);
    if (!ec) socket->set_option(tcp::no_delay(true), ec);
    if (!ec && SendBufferRequest > 0) socket->set_option(asio::socket_base::send_buffer_size(SendBufferRequest), ec);
    if (ec) {
        Error = ClientErrorCode(ec);
        return false;
    }
    Socket = std::move(socket);
    Reading = WaitingWritable = false;
    PendingOutput.clear();
    return true;
}

// Starts the non-blocking connect; false when the address cannot be used.
bool StartConnect(const char* Address, int Port, int& Error) {
    std::error_code ec;
    asio::ip::address_v4 address = asio::ip::make_address_v4(Address, ec);
    if (ec || !In(Port, 0, 65535)) {
        Error = ERROR_ADDRESS_NOT_AVAILABLE;
        return false;
    }
    if (Replaying()) {
        platform::NetworkRequested(NetworkEvent::Connect);
        return true;
    }
    uint32_t generation = SocketGeneration;
    Socket->async_connect(tcp::endpoint(address, uint16_t(Port)), [generation](const std::error_code& ec) {
        if (generation != SocketGeneration || !Socket) return;
        const int code = ec ? ClientErrorCode(ec) : 0;
        platform::RecordNetworkEvent(NetworkEvent::Connect, code, nullptr, 0);
        OnConnect(code);
    });
    return true;
}

void DeleteSocket() {
    if (!Socket) return;
    if (Replaying()) platform::NetworkRequested(NetworkEvent::Close);
    std::error_code ec;
    Socket->close(ec);
    Socket.reset();
    ++SocketGeneration;
    Reading = WaitingWritable = false;
    PendingOutput.clear();
}

// ---- Host look-up ------------------------------------------------------------------------

void StartLookup(ServerEntry& E) {
    ++LookupGeneration;
    uint32_t generation = LookupGeneration;
    LookupPending = true;
    if (Replaying()) {
        platform::NetworkRequested(NetworkEvent::Lookup);
        return;
    }
    ResolverBusy = true;
    Resolver->async_resolve(tcp::v4(), E.Address, "", [generation](const std::error_code& ec,
                                                                    tcp::resolver::results_type results) {
        ResolverBusy = false;
        if (generation != LookupGeneration) return;
        LookupPending = false;
        if (ec || results.empty()) {
            const int code = ec ? ClientErrorCode(ec) : ERROR_HOST_NOT_FOUND;
            platform::RecordNetworkEvent(NetworkEvent::Lookup, code, nullptr, 0);
            OnLookup(code, nullptr);
            return;
        }
        std::string dotted = results.begin()->endpoint().address().to_string();
        platform::RecordNetworkEvent(NetworkEvent::Lookup, 0, reinterpret_cast<const uint8_t*>(dotted.data()),
                                     dotted.size());
        OnLookup(0, dotted.c_str());
    });
}

void CancelLookup() {
    ++LookupGeneration;
    if (LookupPending && Resolver) Resolver->cancel();
    LookupPending = false;
}

void OnLookup(int Error, const char* Address) {
    SetTimeout(0);
    if (Error != 0) {
        SetConnectionState(STATE_OFFLINE);
        MarkFailed(CurrentEntry(), Error);
        ConnectLoginServer();
        return;
    }
    if (GetConnectionState() == STATE_RESOLVING) {
        ServerEntry& E = CurrentEntry();
        CopyText(E.Address, Address, SERVER_ADDRESS_LENGTH);
        E.Resolved = 1;
        SetConnectionState(STATE_CONNECTING_LOGIN);
        ConnectLoginServer();
        return;
    }
    SetConnectionState(STATE_OFFLINE);
    Disconnect(true);
    PostConnectionError(-1, KIND_LOGIN);
}

// ---- Socket notifications ----------------------------------------------------------------

void OnConnect(int Error) {
    SetTimeout(0);
    if (Error == 0) {
        StartRead();
        ConnectHandler();
        MakeAllAvailable();
        return;
    }
    if (GetConnectionState() == STATE_CONNECTING_LOGIN) {
        DeleteSocket();
        SetConnectionState(STATE_OFFLINE);
        MarkFailed(CurrentEntry(), Error);
        ConnectLoginServer();
        return;
    }
    PostConnectionError(Error, KIND_GAME);
    PostEvent(MESSAGE_CHARACTERLIST, 300, 0);
    Disconnect(false);
    SetConnectionState(STATE_OFFLINE);
}

void OnClose() {
    Disconnect(false);
    CloseHandler();
}
}  // namespace

void CloseConnection() { OnClose(); }

namespace {

// A packet longer than the receive buffer can never complete: rather than
// waiting for ever, the connection ends with an error text. The server has
// answered, so the close that follows is not reported as a lost connection
// a second time.
void OnOversizedPacket() {
    int state = GetConnectionState();
    PostConnectionError(ERROR_MESSAGE_SIZE, state <= STATE_LOGIN_ANSWERING ? KIND_LOGIN : KIND_GAME);
    if (state == STATE_LOGIN_SENT) SetConnectionState(STATE_LOGIN_ANSWERING);
    if (state == STATE_GAME_LOGIN_SENT || state == STATE_GAME_ANSWERING) {
        SetConnectionState(STATE_GAME_ANSWERING);
        PostEvent(MESSAGE_CHARACTERLIST, 300, 0);
    }
    ResetReceiving();
    OnClose();
}

// Room for the next read: the packets already read are dropped from the
// front; complete packets still waiting (behind a packet of length 0) are
// handed to the reader first, because nothing else would make room for them.
bool MakeRoom() {
    if (Filled < RECEIVE_BUFFER_SIZE) return true;
    if (Complete > Consumed && Reader.Position >= Reader.Size) {
        uint32_t generation = SocketGeneration;
        ReceiveHandler();
        if (generation != SocketGeneration) return false;
    }
    if (Consumed > 0 && Reader.Position >= Reader.Size) {
        std::memmove(ReceiveBuffer, ReceiveBuffer + Consumed, size_t(Filled - Consumed));
        Filled -= Consumed;
        Complete -= Consumed;
        Consumed = 0;
        Reader = ReadBuffer();
    }
    return Filled < RECEIVE_BUFFER_SIZE;
}

void StartRead() {
    if (!Socket || Reading) return;
    if (!MakeRoom()) {
        if (Socket && Filled >= RECEIVE_BUFFER_SIZE) OnOversizedPacket();
        return;
    }
    Reading = true;
    if (Replaying()) return;
    uint32_t generation = SocketGeneration;
    Socket->async_read_some(asio::buffer(ReceiveBuffer + Filled, size_t(RECEIVE_BUFFER_SIZE - Filled)),
                            [generation](const std::error_code& ec, size_t count) {
                                if (generation != SocketGeneration || !Socket) return;
                                Reading = false;
                                if (ec || count == 0) {
                                    platform::RecordNetworkEvent(NetworkEvent::Close, 0, nullptr, 0);
                                    OnClose();
                                    return;
                                }
                                platform::RecordNetworkEvent(NetworkEvent::Read, 0, ReceiveBuffer + Filled, count);
                                OnReceiveCompleted(count);
                                if (generation == SocketGeneration && Socket) StartRead();
                            });
}

void RefreshSnapshot() {
    std::memset(Snapshot, 0, sizeof Snapshot);
    if (Filled < 2) return;
    int length = ReceiveBuffer[0] | (ReceiveBuffer[1] << 8);
    int count = std::min({length + 2, PACKET_SNAPSHOT_SIZE, Filled - 2});
    if (count > 0) std::memcpy(Snapshot, ReceiveBuffer + 2, size_t(count));
}

// Returns false when the connection was ended.
bool CollectPackets(size_t Count) {
    Filled += int(Count);
    bool completed = false;
    while (Filled - Complete >= 2) {
        int length = ReceiveBuffer[Complete] | (ReceiveBuffer[Complete + 1] << 8);
        if (length + 2 > RECEIVE_BUFFER_SIZE) {
            OnOversizedPacket();
            return false;
        }
        if (Filled - Complete < length + 2) break;
        Complete += length + 2;
        completed = true;
    }
    if (!completed) return true;
    RefreshSnapshot();
    ReceiveHandler();
    return true;
}

void OnReceiveCompleted(size_t Count) { CollectPackets(Count); }

// ---- Sending ------------------------------------------------------------------------------

void WaitWritable() {
    if (!Socket || WaitingWritable) return;
    WaitingWritable = true;
    uint32_t generation = SocketGeneration;
    Socket->async_wait(tcp::socket::wait_write, [generation](const std::error_code& ec) {
        if (generation != SocketGeneration || !Socket) return;
        WaitingWritable = false;
        if (ec) return;  // the read side reports the broken connection
        Flush();
    });
}

void Flush() {
    if (Replaying()) {
        PendingOutput.clear();
        return;
    }
    while (Socket && !PendingOutput.empty()) {
        std::error_code ec;
        size_t sent = Socket->write_some(asio::buffer(PendingOutput), ec);
        if (ec == asio::error::would_block || ec == asio::error::try_again || (!ec && sent == 0)) {
            WaitWritable();
            return;
        }
        if (ec) {
            // The connection is broken; the read side sees it and reports the close.
            PendingOutput.clear();
            return;
        }
        PendingOutput.erase(PendingOutput.begin(), PendingOutput.begin() + ptrdiff_t(sent));
    }
}

// The recorded completions in the order they came, each where it came.
void ReplayCompletions() {
    NetworkEvent event;
    int code = 0;
    const uint8_t* bytes = nullptr;
    size_t count = 0;
    while (platform::TakeNetworkEvent(event, code, bytes, count)) {
        switch (event) {
        case NetworkEvent::Lookup:
            if (!LookupPending) break;
            LookupPending = false;
            if (code != 0) {
                OnLookup(code, nullptr);
            } else {
                std::string dotted(reinterpret_cast<const char*>(bytes), std::min(count, size_t(99)));
                OnLookup(0, dotted.c_str());
            }
            break;
        case NetworkEvent::Connect:
            if (Socket) OnConnect(code);
            break;
        case NetworkEvent::Read: {
            if (!Socket || count == 0) break;
            Reading = false;
            const size_t n = std::min(count, size_t(RECEIVE_BUFFER_SIZE - Filled));
            std::memcpy(ReceiveBuffer + Filled, bytes, n);
            const uint32_t generation = SocketGeneration;
            OnReceiveCompleted(n);
            if (generation == SocketGeneration && Socket) StartRead();
            break;
        }
        case NetworkEvent::Close:
            if (!Socket) break;
            Reading = false;
            OnClose();
            break;
        }
    }
}

// The packet as a recording keeps it: the secret string emptied.
size_t ShownPacket(int n) {
    if (SecretAt < 2 || SecretAt + 2 > n) {
        std::memcpy(ShownBuffer, SendBuffer, size_t(n));
        return size_t(n);
    }
    const int length = SendBuffer[SecretAt] | (SendBuffer[SecretAt + 1] << 8);
    const int after = std::min(SecretAt + 2 + length, n);
    std::memcpy(ShownBuffer, SendBuffer, size_t(SecretAt));
    ShownBuffer[SecretAt] = ShownBuffer[SecretAt + 1] = 0;
    std::memcpy(ShownBuffer + SecretAt + 2, SendBuffer + after, size_t(n - after));
    const int shown = n - (after - SecretAt - 2);
    ShownBuffer[0] = uint8_t(shown - 2);
    ShownBuffer[1] = uint8_t((shown - 2) >> 8);
    return size_t(shown);
}

}  // namespace

// ---- Module life ----------------------------------------------------------------------------

void InitNetwork(NetworkHandler ConnectHandler, NetworkHandler ReceiveHandler, NetworkHandler CloseHandler) {
    ASSERT(!Initialized);
    ASSERT(ConnectHandler!=NULL);
    ASSERT(ReceiveHandler!=NULL);
    ASSERT(CloseHandler!=NULL);
    try {
        Io = std::make_unique<asio::io_context>(1);
        Resolver = std::make_unique<tcp::resolver>(*Io);
    } catch (const std::exception&) {
        Resolver.reset();
        Io.reset();
        throw PROGRAM_ERROR(ERROR_SOCKETS);
    }
    ::ConnectHandler = ConnectHandler;
    ::ReceiveHandler = ReceiveHandler;
    ::CloseHandler = CloseHandler;
    Initialized = true;
    Sending.init(SendBuffer, SEND_BUFFER_SIZE);
    PendingOutput.clear();
    ResetReceiving();
    for (int i = 0; i < NUMBEROFSERVER; ++i) SetEntry(Servers[i], build_settings::LOGIN_HOSTS[i], LOGIN_PORT);
    // The test entry keeps what start-up gave it.
    if (Servers[NUMBEROFSERVER].Address[0] == 0) SetEntry(Servers[NUMBEROFSERVER], build_settings::TEST_HOST, TEST_SERVER_PORT);
    Servers[NUMBEROFSERVER].Available = 1;
    CurrentServer = platform::Random() % NUMBEROFSERVER;
    RecursionProtection = 0;
    TimeoutLimit = TimeoutCounter = 0;
}

void ExitNetwork() {
    DeleteSocket();
    CancelLookup();
    // A look-up cannot be interrupted, and releasing its resolver waits for
    // the helper thread, as long as a name server takes not to answer: the
    // program would not end when asked. A busy resolver is let go instead,
    // kept where the thread can still reach it.
    if (ResolverBusy) {
        using Parts = std::pair<std::unique_ptr<tcp::resolver>, std::unique_ptr<asio::io_context>>;
        static auto* Abandoned = new std::vector<Parts>;
        Abandoned->emplace_back(std::move(Resolver), std::move(Io));
        ResolverBusy = false;
    }
    Resolver.reset();
    Io.reset();
    PendingOutput.clear();
    ResetReceiving();
    TimeoutLimit = TimeoutCounter = 0;
    Initialized = false;
}

bool IsNetworkInitialized() { return Initialized; }

void PollNetwork() {
    if (!Io) return;
    platform::CountNetworkPoll();
    if (Replaying()) {
        ReplayCompletions();
        return;
    }
    if (Io->stopped()) Io->restart();
    Io->poll();
}

void SetTestServerAddress(const char* Address) {
    ASSERT(Address!=NULL && strlen(Address)<100);
    if (Address == NULL) return;
    CopyText(Servers[NUMBEROFSERVER].Address, Address, SERVER_ADDRESS_LENGTH);
    Servers[NUMBEROFSERVER].Resolved = 0;
}

void SetTestServerPort(int Port) { Servers[NUMBEROFSERVER].Port = Port; }

// ---- Login attempts -------------------------------------------------------------------------

void ConnectLoginServer() {
    ASSERT(Initialized);
    if (!Initialized) return;
    ++RecursionProtection;
    struct Leave {
        ~Leave() { --RecursionProtection; }
    } leave;
    ASSERT(RecursionProtection<=NUMBEROFSERVER+1);
    if (RecursionProtection > NUMBEROFSERVER + 1) return;

    // 1. Choose an entry.
    bool found = false;
    if (TestServerMode()) {
        found = Servers[NUMBEROFSERVER].Available != 0;
        MakeAllAvailable();
    } else if (Servers[CurrentServer].Available) {
        found = true;
    } else {
        for (int i = 1; i < NUMBEROFSERVER && !found; ++i) {
            int candidate = (CurrentServer + i) % NUMBEROFSERVER;
            if (Servers[candidate].Available) {
                CurrentServer = candidate;
                found = true;
            }
        }
    }

    // 2. Nothing left in this cycle.
    if (!found) {
        int code;
        if (TestServerMode()) {
            code = Servers[NUMBEROFSERVER].LastError;
        } else {
            code = Servers[CurrentServer].LastError;
            for (int i = 0; i < NUMBEROFSERVER; ++i)
                if (Servers[i].LastError == ERROR_OVERLOADED) code = ERROR_OVERLOADED;
        }
        SetConnectionState(STATE_OFFLINE);
        PostConnectionError(code, KIND_LOGIN);
        MakeAllAvailable();
        return;
    }

    ServerEntry& E = CurrentEntry();
    // 3. Look the name up first; the answer is kept for the rest of the run.
    if (!E.Resolved) {
        Disconnect(true);
        SetConnectionState(STATE_RESOLVING);
        StartLookup(E);
        SetTimeout(CONNECT_TIMEOUT);
        return;
    }

    // 4. Connect.
    SetConnectionState(STATE_CONNECTING_LOGIN);
    int error = 0;
    if (!OpenSocket(error)) {
        SetConnectionState(STATE_OFFLINE);
        MakeAllAvailable();
        PostConnectionError(error, KIND_LOGIN);
        return;
    }
    if (!StartConnect(E.Address, E.Port, error)) {
        DeleteSocket();
        SetConnectionState(STATE_OFFLINE);
        MarkFailed(E, error);
        ConnectLoginServer();
        return;
    }
    ResetReceiving();
    SetTimeout(CONNECT_TIMEOUT);
}

void ConnectGameServer() {
    ASSERT(Initialized);
    if (!Initialized) return;
    SetConnectionState(STATE_CONNECTING_GAME);
    int error = 0;
    if (!OpenSocket(error)) {
        SetConnectionState(STATE_OFFLINE);
        PostConnectionError(error, KIND_GAME);
        PostEvent(MESSAGE_CHARACTERLIST, 300, 0);
        return;
    }
    int number = GetActiveCharacter();
    const AccountCharacter& C = GetAccountCharacter(number);
    ResetReceiving();
    SetTimeout(0);
    if (!StartConnect(C.AddressText, C.Port, error)) {
        DeleteSocket();
        SetConnectionState(STATE_OFFLINE);
        PostConnectionError(error, KIND_GAME);
        PostEvent(MESSAGE_CHARACTERLIST, 300, 0);
    }
}

void Disconnect(bool CancelLookupFlag) {
    if (CancelLookupFlag || GetConnectionState() == STATE_RESOLVING) CancelLookup();
    if (Socket) {
        std::error_code ec;
        // What the socket has not taken yet gets one last chance.
        if (!PendingOutput.empty()) Socket->write_some(asio::buffer(PendingOutput), ec);
        Socket->shutdown(tcp::socket::shutdown_send, ec);
        uint8_t discard[256];
        for (;;) {
            size_t n = Socket->read_some(asio::buffer(discard), ec);
            if (ec || n == 0) break;
        }
        Socket->shutdown(tcp::socket::shutdown_both, ec);
        DeleteSocket();
    }
    SetTimeout(0);
}

bool IsConnected() { return Socket != nullptr; }

// ---- Time-out ------------------------------------------------------------------------------

void SetTimeout(int Limit) {
    TimeoutLimit = Limit;
    TimeoutCounter = 0;
}

void CheckTimeout() {
    if (TimeoutLimit <= 0) return;
    ++TimeoutCounter;
    if (TimeoutCounter <= TimeoutLimit) return;
    SetTimeout(0);
    MarkFailed(CurrentEntry(), ERROR_TIMEOUT);
    Disconnect(true);
    SetConnectionState(STATE_OFFLINE);
    ConnectLoginServer();
}

// ---- Error texts ------------------------------------------------------------------------------

void GetConnectionErrorText(char* Message, int Code, int Kind) {
    ASSERT(Message!=NULL);
    if (Message == NULL) return;
    char code[128];
    CodeText(code, sizeof code, Code);
    const bool offline = Code == ERROR_REFUSED;
    std::string text;
    if (TestServerMode()) {
        text = std::string("Cannot connect to the test server.\n\nError: ") + code;
        if (offline)
            text += std::string("\n\nThe test server is offline. Check ") + WebAddress() +
                    "\nfor more information on any current test.";
        else
            text += std::string("\n\nCheck ") + WebAddress() + " for more information on " + "\nany current test.";
        text += "\nIf you don't want to use the test server go to";
        text += "\nthe network option and uncheck \"Test Server Login\".";
    } else if (Kind == KIND_LOGIN) {
        text = std::string("Cannot connect to a login server.\n\nError: ") + code;
        if (offline)
            text += std::string("\n\nAll login server are offline. Check ") + WebAddress() + "\nfor more information.";
    } else if (Kind == KIND_GAME) {
        text = std::string("Cannot connect to the game server.\n\nError: ") + code;
        if (offline)
            text += std::string("\n\nThe game server is offline. Check ") + WebAddress() + "\nfor more information.";
    } else {
        ASSERT(false);
    }
    text += "\n\nFor more information take a look at the FAQs in the ";
    text += std::string("\nguide section at ") + WebAddress() + ".";
    CopyText(Message, text.c_str(), ERROR_TEXT_SIZE);
}

std::string GetConnectionErrorText(int Code, int Kind) {
    char message[ERROR_TEXT_SIZE];
    GetConnectionErrorText(message, Code, Kind);
    return message;
}

void PostConnectionError(int Code, int Kind) {
    char message[ERROR_TEXT_SIZE];
    GetConnectionErrorText(message, Code, Kind);
    PostTextEvent(MESSAGE_ERROR, "Connection failed", message);
}

void MarkCurrentServerFailed(int Code) { MarkFailed(CurrentEntry(), Code); }

// ---- Sending ------------------------------------------------------------------------------

void BeginPacket(int CommandType) {
    ASSERT(In(CommandType,0,255));
    Sending.init(SendBuffer, SEND_BUFFER_SIZE);
    Sending.writeWord(0);
    Sending.writeByte(uint8_t(CommandType));
    SecretAt = -1;
}

void AddByte(uint8_t Value) { Sending.writeByte(Value); }
void AddWord(uint16_t Value) { Sending.writeWord(Value); }
void AddQuad(uint32_t Value) { Sending.writeQuad(Value); }
void AddString(const char* Text) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return;
    // What the player writes can be longer than a packet carries: a list
    // pasted into the list editor, or a text whose limit the server set
    // beyond the send buffer. It goes cut to the room that is left, so the
    // command still reaches the server whole.
    const int Room = Sending.Size - Sending.Position - 2;
    if (Room >= 0 && std::strlen(Text) > size_t(Room)) {
        const std::string Cut(Text, size_t(Room));
        Sending.writeString(Cut.c_str());
        return;
    }
    Sending.writeString(Text);
}

void AddSecretString(const char* Text) {
    SecretAt = Sending.Position;
    AddString(Text);
}

void SendPacket() {
    int n = Sending.Position;
    if (n < 2) return;
    SendBuffer[0] = uint8_t(n - 2);
    SendBuffer[1] = uint8_t((n - 2) >> 8);
    if (!Socket) return;
    if (platform::GetSessionMode() != platform::SessionMode::Live) platform::CheckSend(ShownBuffer, ShownPacket(n));
    bool idle = PendingOutput.empty();
    PendingOutput.insert(PendingOutput.end(), SendBuffer, SendBuffer + n);
    if (idle) Flush();
}

int GetPendingSendBytes() { return int(PendingOutput.size()); }

// ---- Receiving ------------------------------------------------------------------------------

int GetCommand() {
    if (Reader.Position >= Reader.Size) {
        if (Consumed > 0) {
            std::memmove(ReceiveBuffer, ReceiveBuffer + Consumed, size_t(Filled - Consumed));
            Filled -= Consumed;
            Complete -= Consumed;
            Consumed = 0;
            Reader = ReadBuffer();
        }
        if (Complete > 0) {
            int length = ReceiveBuffer[0] | (ReceiveBuffer[1] << 8);
            Reader.init(ReceiveBuffer, length + 2);
            Reader.Position = 2;
            Consumed = length + 2;
        }
        if (Reader.Position >= Reader.Size) return -1;
    }
    return Reader.readByte();
}

uint8_t GetByte() { return Reader.readByte(); }
uint16_t GetWord() { return Reader.readWord(); }
uint32_t GetQuad() { return Reader.readQuad(); }
void GetString(char* Buffer, int MaxLength) { Reader.readString(Buffer, MaxLength); }
char* GetNewString() { return Reader.readNewString(); }

void GetPacketSnapshot(uint8_t Out[PACKET_SNAPSHOT_SIZE]) { std::memcpy(Out, Snapshot, PACKET_SNAPSHOT_SIZE); }

// ---- Inspection and set-up -------------------------------------------------------------------

const ServerEntry& GetServerEntry(int Number) {
    ASSERT(In(Number,0,NUMBEROFSERVER));
    if (!In(Number, 0, NUMBEROFSERVER)) Number = 0;
    return Servers[Number];
}

void SetLoginServer(int Number, const char* Address, int Port) {
    ASSERT(In(Number,0,NUMBEROFSERVER-1));
    ASSERT(Address!=NULL && strlen(Address)<100);
    if (!In(Number, 0, NUMBEROFSERVER - 1) || Address == NULL) return;
    SetEntry(Servers[Number], Address, Port);
}

int GetCurrentServer() { return CurrentServer; }
void SetCurrentServer(int Number) {
    ASSERT(In(Number,0,NUMBEROFSERVER-1));
    if (In(Number, 0, NUMBEROFSERVER - 1)) CurrentServer = Number;
}

void GetReceiveCounters(int* FilledOut, int* CompleteOut, int* ConsumedOut) {
    if (FilledOut) *FilledOut = Filled;
    if (CompleteOut) *CompleteOut = Complete;
    if (ConsumedOut) *ConsumedOut = Consumed;
}

void SetSocketSendBufferSize(int Bytes) { SendBufferRequest = Bytes; }

void InjectReceivedBytes(const uint8_t* Data, int Count) {
    while (Count > 0) {
        if (!MakeRoom()) {
            if (Filled >= RECEIVE_BUFFER_SIZE) OnOversizedPacket();
            return;
        }
        int n = std::min(Count, RECEIVE_BUFFER_SIZE - Filled);
        std::memcpy(ReceiveBuffer + Filled, Data, size_t(n));
        Data += n;
        Count -= n;
        if (!CollectPackets(size_t(n))) return;
    }
}

void ResetReceiveBuffer() { ResetReceiving(); }
