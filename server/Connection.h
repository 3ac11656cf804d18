// One client's TCP connection: reads the length-prefixed packets, hands each
// whole packet to its handler, and collects outgoing messages into packets of
// at most MAX_SERVER_PACKET bytes that are written in order.
//
// A packet that is empty, longer than MAX_CLIENT_PACKET or that its handler
// finds malformed (ProtocolError, or any other exception while handling it)
// ends this connection only; the reason is logged.
#pragma once

#include "server/Packet.h"

#include <asio.hpp>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace server {

class Connection;

class ConnectionHandler {
  public:
    virtual ~ConnectionHandler() = default;
    // One whole client packet (without its length word).
    virtual void Received(Connection& Client, InPacket& Packet) = 0;
    // The connection has ended, for whatever reason; called once.
    virtual void Closed(Connection& Client) = 0;
};

class Connection : public std::enable_shared_from_this<Connection> {
  public:
    Connection(asio::ip::tcp::socket Socket, ConnectionHandler& Handler, const char* Kind);
    ~Connection();

    void Start();
    // Queues a message; messages of one turn of the loop share packets.
    void Send(const Message& Data);
    // Sends what is queued, then closes.
    void CloseAfterSending(const std::string& Reason);
    // Closes at once, dropping what is queued.
    void Abort(const std::string& Reason);
    // Calls Then once, on a later turn of the loop, when everything queued so
    // far has been handed to the socket: a long transfer queues its next part
    // only then, so it never holds more than a part in memory per client. A
    // connection that closes first never calls it.
    void WhenSent(std::function<void()> Then);

    bool IsOpen() const { return Open && !Closing; }
    uint64_t ID() const { return Number; }
    const std::string& Peer() const { return PeerText; }
    std::chrono::steady_clock::time_point LastReceived() const { return LastReceive; }
    // Bytes queued but not yet written (a client that stops reading grows it).
    size_t Backlog() const { return QueuedBytes; }

    // Player or other per-connection data of the handler.
    void* UserData = nullptr;

  private:
    void ReadMore();
    void ProcessInput();
    void FinishPacket();
    void Flush();
    void WriteNext();
    void Shutdown();

    asio::ip::tcp::socket Socket;
    ConnectionHandler& Handler;
    const char* Kind;
    uint64_t Number;
    std::string PeerText;
    std::vector<uint8_t> Input;
    std::vector<uint8_t> ReadBlock;
    std::vector<uint8_t> Collecting;   // body of the packet being collected
    std::deque<std::vector<uint8_t>> Outgoing;
    size_t QueuedBytes = 0;
    bool Writing = false;
    bool FlushPosted = false;
    bool Open = true;
    bool Closing = false;
    bool Notified = false;
    std::function<void()> Drained;
    std::chrono::steady_clock::time_point LastReceive;
};

}  // namespace server
