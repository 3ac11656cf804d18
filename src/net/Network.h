// The client's one TCP connection: first to a login server (a built-in list
// tried in turn from a random start, or the test server), later to the game
// server of the chosen character. Outgoing packets are built in the send
// buffer; incoming bytes are collected until whole packets are there and then
// handed to the receive handler, which reads them command byte by command
// byte.
//
// Everything runs on the main thread: socket and look-up completions are
// collected by PollNetwork, which the idle pass calls.
#pragma once

#include <cstdint>
#include <string>

constexpr int NUMBEROFSERVER = 4;
constexpr int SEND_BUFFER_SIZE = 2048;
constexpr int RECEIVE_BUFFER_SIZE = 16384;
constexpr int PACKET_SNAPSHOT_SIZE = 16;
constexpr int SERVER_ADDRESS_LENGTH = 100;  // an address is shorter than this
constexpr int LOGIN_PORT = 7171;
constexpr int TEST_SERVER_PORT = 7172;
constexpr int CONNECT_TIMEOUT = 150;        // timer ticks of 100 ms
constexpr int ERROR_TEXT_SIZE = 1024;

// The client's own error codes beside the socket ones.
constexpr int ERROR_OVERLOADED = 200001;
constexpr int ERROR_DISCONNECTED = 200002;
// Socket error codes as the client knows them.
constexpr int ERROR_INVALID_ARGUMENT = 10022;
constexpr int ERROR_MESSAGE_SIZE = 10040;
constexpr int ERROR_ADDRESS_NOT_AVAILABLE = 10049;
constexpr int ERROR_NETWORK_DOWN = 10050;
constexpr int ERROR_NETWORK_UNREACHABLE = 10051;
constexpr int ERROR_CONNECTION_RESET = 10054;
constexpr int ERROR_TIMEOUT = 10060;
constexpr int ERROR_REFUSED = 10061;
constexpr int ERROR_HOST_UNREACHABLE = 10065;
constexpr int ERROR_HOST_NOT_FOUND = 11001;
constexpr int ERROR_TRY_AGAIN = 11002;
constexpr int ERROR_NO_RECOVERY = 11004;

// Error kinds of GetConnectionErrorText.
constexpr int KIND_LOGIN = 1;
constexpr int KIND_GAME = 2;

using NetworkHandler = void (*)();

// Starts the module with the connect, receive and close handlers. Throws
// PROGRAM_ERROR 6 when the socket layer cannot start.
void InitNetwork(NetworkHandler ConnectHandler, NetworkHandler ReceiveHandler, NetworkHandler CloseHandler);
// Drops the socket without the orderly shutdown.
void ExitNetwork();
bool IsNetworkInitialized();
// Runs every socket and look-up completion that is ready; never blocks.
void PollNetwork();

void SetTestServerAddress(const char* Address);
void SetTestServerPort(int Port);

void ConnectLoginServer();
void ConnectGameServer();
// Orderly end of the connection; CancelLookup also stops a pending host
// look-up. The connection state is left to the caller.
void Disconnect(bool CancelLookup);
// Ends the connection from this side as if the server had closed it: the
// close handler runs (in the game, the game is left for the character list).
void CloseConnection();
// Whether a socket exists (connected or connecting).
bool IsConnected();

// Limit in timer ticks; 0 switches the time-out off. CheckTimeout runs on
// every 100 ms tick.
void SetTimeout(int Limit);
void CheckTimeout();

// The player's text for an error code; kind 1 login server, 2 game server.
void GetConnectionErrorText(char* Message, int Code, int Kind);
std::string GetConnectionErrorText(int Code, int Kind);
// Posts the text as an error event titled "Connection failed".
void PostConnectionError(int Code, int Kind);
// Marks the login entry at CurrentServer failed with the code.
void MarkCurrentServerFailed(int Code);

// ---- Sending --------------------------------------------------------------------------------

void BeginPacket(int CommandType);
void AddByte(uint8_t Value);
void AddWord(uint16_t Value);
void AddQuad(uint32_t Value);
void AddString(const char* Text);
// A string that a recording of the game must not keep (a password).
void AddSecretString(const char* Text);
// Hands the packet to the socket. Bytes the socket does not take at once are
// kept in order and sent as soon as it is writable again.
void SendPacket();
// Bytes waiting for the socket to become writable.
int GetPendingSendBytes();

// ---- Receiving ------------------------------------------------------------------------------

// The next command byte of the received packets, -1 when no complete packet
// remains (or a packet of length 0 ends this run).
int GetCommand();
uint8_t GetByte();
uint16_t GetWord();
uint32_t GetQuad();
void GetString(char* Buffer, int MaxLength);
char* GetNewString();  // delete[] by the caller
// The first bytes of the oldest unprocessed packet, for the error log.
void GetPacketSnapshot(uint8_t Snapshot[PACKET_SNAPSHOT_SIZE]);

// ---- Inspection and set-up for tests and tools --------------------------------------------

struct ServerEntry {
    char Address[SERVER_ADDRESS_LENGTH] = "";
    int32_t Port = 0;
    uint8_t Available = 1;
    uint8_t Resolved = 0;
    int32_t LastError = 0;
};
// Entry 0..3 of the login list, or NUMBEROFSERVER for the test entry.
const ServerEntry& GetServerEntry(int Number);
// Replaces a login entry (address as a host name, not yet resolved).
void SetLoginServer(int Number, const char* Address, int Port);
int GetCurrentServer();
void SetCurrentServer(int Number);
// Receive buffer counters: bytes received, end of the last complete packet,
// end of the packets handed to the reader.
void GetReceiveCounters(int* Filled, int* Complete, int* Consumed);
// Asks the kernel for a small send buffer on the next sockets (0: default);
// lets tests provoke sends that the socket takes only in part.
void SetSocketSendBufferSize(int Bytes);
// Lets the receive path be driven without a socket (fuzzing): the bytes are
// taken as if read from the connection.
void InjectReceivedBytes(const uint8_t* Data, int Count);
void ResetReceiveBuffer();
