#include "server/Connection.h"

#include "server/Log.h"

namespace server {

// A client that does not read its messages is dropped before its backlog
// grows without bound.
static constexpr size_t MAX_BACKLOG = 4 * 1024 * 1024;
static uint64_t NextNumber = 1;

Connection::Connection(asio::ip::tcp::socket TheSocket, ConnectionHandler& TheHandler, const char* TheKind)
    : Socket(std::move(TheSocket)), Handler(TheHandler), Kind(TheKind), Number(NextNumber++) {
    std::error_code Error;
    auto Remote = Socket.remote_endpoint(Error);
    PeerText = Error ? std::string("?") : Remote.address().to_string() + ":" + std::to_string(Remote.port());
    Socket.set_option(asio::ip::tcp::no_delay(true), Error);
    ReadBlock.resize(8192);
    LastReceive = std::chrono::steady_clock::now();
}

Connection::~Connection() = default;

void Connection::Start() {
    serverlog::Debug(Kind, "connection %llu from %s", (unsigned long long)Number, PeerText.c_str());
    ReadMore();
}

void Connection::ReadMore() {
    if (!Open || Closing) return;
    auto Self = shared_from_this();
    Socket.async_read_some(asio::buffer(ReadBlock), [this, Self](std::error_code Error, size_t Count) {
        if (!Open) return;
        if (Error) {
            if (Error != asio::error::eof && Error != asio::error::operation_aborted)
                serverlog::Debug(Kind, "connection %llu: %s", (unsigned long long)Number, Error.message().c_str());
            Shutdown();
            return;
        }
        LastReceive = std::chrono::steady_clock::now();
        Input.insert(Input.end(), ReadBlock.begin(), ReadBlock.begin() + long(Count));
        ProcessInput();
        ReadMore();
    });
}

void Connection::ProcessInput() {
    size_t Done = 0;
    while (Open && !Closing && Input.size() - Done >= 2) {
        int Length = Input[Done] | (Input[Done + 1] << 8);
        if (Length == 0 || Length > MAX_CLIENT_PACKET) {
            Abort("packet of " + std::to_string(Length) + " bytes refused");
            return;
        }
        if (Input.size() - Done < size_t(Length) + 2) break;
        InPacket Packet(Input.data() + Done + 2, Length);
        Done += size_t(Length) + 2;
        try {
            Handler.Received(*this, Packet);
        } catch (const ProtocolError& Problem) {
            Abort(std::string("malformed packet: ") + Problem.what());
            return;
        } catch (const std::exception& Problem) {
            Abort(std::string("error while handling a packet: ") + Problem.what());
            return;
        }
    }
    if (Open) Input.erase(Input.begin(), Input.begin() + long(Done));
}

void Connection::Send(const Message& Data) {
    if (!Open || Closing || Data.empty()) return;
    if (Data.size() > size_t(MAX_SERVER_PACKET)) {
        serverlog::Error(Kind, "connection %llu: message of %zu bytes too long for one packet, not sent",
                         (unsigned long long)Number, Data.size());
        return;
    }
    if (Collecting.size() + Data.size() > size_t(MAX_SERVER_PACKET)) FinishPacket();
    Collecting.insert(Collecting.end(), Data.bytes().begin(), Data.bytes().end());
    if (!FlushPosted) {
        FlushPosted = true;
        auto Self = shared_from_this();
        asio::post(Socket.get_executor(), [this, Self] {
            FlushPosted = false;
            Flush();
        });
    }
}

void Connection::FinishPacket() {
    if (Collecting.empty()) return;
    std::vector<uint8_t> Packet;
    Packet.reserve(Collecting.size() + 2);
    Packet.push_back(uint8_t(Collecting.size()));
    Packet.push_back(uint8_t(Collecting.size() >> 8));
    Packet.insert(Packet.end(), Collecting.begin(), Collecting.end());
    Collecting.clear();
    QueuedBytes += Packet.size();
    Outgoing.push_back(std::move(Packet));
}

void Connection::Flush() {
    if (!Open) return;
    FinishPacket();
    if (QueuedBytes > MAX_BACKLOG) {
        Abort("client does not read its messages");
        return;
    }
    WriteNext();
}

void Connection::WriteNext() {
    if (Writing || !Open) return;
    if (Outgoing.empty()) {
        if (Closing) {
            Shutdown();
        } else if (Drained && Collecting.empty() && !FlushPosted) {
            auto Then = std::move(Drained);
            Drained = nullptr;
            Then();
        }
        return;
    }
    Writing = true;
    auto Self = shared_from_this();
    asio::async_write(Socket, asio::buffer(Outgoing.front()), [this, Self](std::error_code Error, size_t) {
        Writing = false;
        if (!Open) return;
        QueuedBytes -= Outgoing.front().size();
        Outgoing.pop_front();
        if (Error) {
            Shutdown();
            return;
        }
        WriteNext();
    });
}

void Connection::WhenSent(std::function<void()> Then) {
    if (!Open || Closing) return;
    Drained = std::move(Then);
    // With nothing queued or in flight no write completes to call it.
    auto Self = shared_from_this();
    asio::post(Socket.get_executor(), [this, Self] { WriteNext(); });
}

void Connection::CloseAfterSending(const std::string& Reason) {
    if (!Open || Closing) return;
    serverlog::Debug(Kind, "connection %llu closing: %s", (unsigned long long)Number, Reason.c_str());
    FinishPacket();
    Closing = true;
    WriteNext();
}

void Connection::Abort(const std::string& Reason) {
    if (!Open) return;
    serverlog::Warning(Kind, "connection %llu from %s dropped: %s", (unsigned long long)Number, PeerText.c_str(),
                       Reason.c_str());
    Shutdown();
}

void Connection::Shutdown() {
    if (!Open) return;
    Open = false;
    std::error_code Ignored;
    Socket.shutdown(asio::ip::tcp::socket::shutdown_both, Ignored);
    Socket.close(Ignored);
    Outgoing.clear();
    QueuedBytes = 0;
    Drained = nullptr;
    if (!Notified) {
        // Told on a later turn of the loop, so that a handler that drops a
        // client never finds its own state gone underneath it.
        Notified = true;
        auto Self = shared_from_this();
        asio::post(Socket.get_executor(), [this, Self] { Handler.Closed(*this); });
    }
}

}  // namespace server
