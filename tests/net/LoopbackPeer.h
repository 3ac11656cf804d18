// Scripted peers for the connection tests: plain blocking sockets on the
// loopback interface, driven from the test or from a helper thread, while
// the test's own thread runs the client's socket completions.
#pragma once

#include "net/Network.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <functional>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace loopback {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(char(v & 0xFF));
    return s;
}
inline std::string Word(int v) { return Bytes({v, v >> 8}); }
inline std::string Quad(uint32_t v) { return Bytes({int(v), int(v >> 8), int(v >> 16), int(v >> 24)}); }
inline std::string String(const std::string& s) { return Word(int(s.size())) + s; }
// A packet: its length word, then the body.
inline std::string Packet(const std::string& body) { return Word(int(body.size())) + body; }

// Runs the client's completions until the condition holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        PollNetwork();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
inline void PumpFor(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

class Listener {
  public:
    explicit Listener(int backlog = 8, int receiveBuffer = 0) {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (receiveBuffer > 0) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) ADD_FAILURE() << "bind";
        socklen_t len = sizeof a;
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
        ::listen(fd, backlog);
    }
    ~Listener() {
        if (fd >= 0) ::close(fd);
    }
    int Port() const { return port; }
    // The next connection, or -1 after the time.
    int Accept(int milliseconds = 5000) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, milliseconds) <= 0) return -1;
        return ::accept(fd, nullptr, nullptr);
    }

  private:
    int fd = -1;
    int port = 0;
};

// A port on which nothing listens: connections to it are refused.
inline int ClosedPort() {
    Listener l;
    return l.Port();
}

inline void Send(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return;
        done += size_t(n);
    }
}

// Reads exactly count bytes (fewer when the connection ends or time is up).
inline std::string Receive(int fd, size_t count, int milliseconds = 5000) {
    std::string data;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (data.size() < count) {
        int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count());
        if (left <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, left) <= 0) break;
        char buffer[65536];
        ssize_t n = ::recv(fd, buffer, std::min(sizeof buffer, count - data.size()), 0);
        if (n <= 0) break;
        data.append(buffer, size_t(n));
    }
    return data;
}

// Whether the peer sees the end of the connection within the time.
inline bool SeesClose(int fd, int milliseconds = 5000) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, milliseconds) <= 0) return false;
    char c;
    return ::recv(fd, &c, 1, 0) <= 0;
}

inline void Close(int fd) {
    if (fd >= 0) ::close(fd);
}

inline std::string Hex(const std::string& s) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (!out.empty()) out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

}  // namespace loopback
