// A second player that speaks the game protocol by hand over its own
// connection, for the play tests in which two characters meet.
#pragma once

#include "core/TalkModes.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

// A second player on the wire beside the client: logs in, talks, turns and
// answers requests on the test's word, and keeps what the server sends, so
// the test can look for a text in it.
class WirePlayer {
  public:
    WirePlayer(int Port, uint32_t Account, const std::string& Name) {
        Socket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in A{};
        A.sin_family = AF_INET;
        A.sin_port = htons(uint16_t(Port));
        A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        Connected = connect(Socket, reinterpret_cast<sockaddr*>(&A), sizeof(A)) == 0;
        fcntl(Socket, F_SETFL, O_NONBLOCK);
        std::vector<uint8_t> Login{10};
        Word(Login, 2);
        Word(Login, 760);
        Login.push_back(0);
        Word(Login, int(Account & 0xFFFF));
        Word(Login, int(Account >> 16));
        String(Login, Name);
        String(Login, "demo");
        Send(Login);
    }
    ~WirePlayer() { close(Socket); }
    void Speak(int Mode, const std::string& Text) {
        std::vector<uint8_t> P{150, uint8_t(Mode)};
        String(P, Text);
        Send(P);
    }
    void Say(const std::string& Text) { Speak(TALK_SAY, Text); }
    void Turn(int Direction) { Send({uint8_t(111 + Direction)}); }
    void Tell(const std::string& To, const std::string& Text) {
        std::vector<uint8_t> P{150, TALK_PRIVATE_MESSAGE};
        String(P, To);
        String(P, Text);
        Send(P);
    }
    void Join(int Channel) {
        std::vector<uint8_t> P{152};
        Word(P, Channel);
        Send(P);
    }
    void ChannelTalk(int Channel, const std::string& Text) {
        std::vector<uint8_t> P{150, TALK_CHANNEL_CALL};
        Word(P, Channel);
        String(P, Text);
        Send(P);
    }
    void Raw(const std::vector<uint8_t>& Body) { Send(Body); }
    void Answer(const std::string& To, const std::string& Text) {
        std::vector<uint8_t> P{150, TALK_GAMEMASTER_ANSWER};
        String(P, To);
        String(P, Text);
        Send(P);
    }
    void Process(const std::string& Name) {
        std::vector<uint8_t> P{155};
        String(P, Name);
        Send(P);
    }
    void Drain() {
        char Buffer[4096];
        ssize_t n;
        while ((n = read(Socket, Buffer, sizeof(Buffer))) > 0) Received.append(Buffer, size_t(n));
    }
    bool Heard(const std::string& Text) {
        Drain();
        return Received.find(Text) != std::string::npos;
    }
    bool Connected = false;
    std::string Received;

  private:
    static void Word(std::vector<uint8_t>& P, int v) {
        P.push_back(uint8_t(v));
        P.push_back(uint8_t(v >> 8));
    }
    static void String(std::vector<uint8_t>& P, const std::string& s) {
        Word(P, int(s.size()));
        P.insert(P.end(), s.begin(), s.end());
    }
    void Send(const std::vector<uint8_t>& Body) {
        std::vector<uint8_t> Packet;
        Word(Packet, int(Body.size()));
        Packet.insert(Packet.end(), Body.begin(), Body.end());
        (void)write(Socket, Packet.data(), Packet.size());
    }
    int Socket = -1;
};
