// The scripted server's encoders of the login and game server's messages, in
// one place. Things, map descriptions and container contents come from the
// reference server's own builders (server/GameMessages.h), which also keep
// the client's creature table; these are the plain ones around them. Each
// appends one message (command byte and fields) to M.
#pragma once

#include "server/Creatures.h"
#include "server/GameMessages.h"
#include "server/Packet.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace randomplayer::wire {

using server::Message;
using server::Position;

// ---- Login server ----------------------------------------------------------------
struct ListedCharacter {
    std::string Name, World;
    std::array<uint8_t, 4> Address{127, 0, 0, 1};
    int Port = 7172;
};
void LoginError(Message& M, const std::string& Text);        // 10 (also the game server's refusal, 20)
void LoginInformation(Message& M, const std::string& Text);  // 11
void MessageOfTheDay(Message& M, int Number, const std::string& Text);
void Overloaded(Message& M);
void CharacterList(Message& M, const std::vector<ListedCharacter>& Characters, int PremiumDays);

// ---- Game server before the game -------------------------------------------------
void GameRefusal(Message& M, const std::string& Text);      // 20
void GameInformation(Message& M, const std::string& Text);  // 21
void WaitingList(Message& M, const std::string& Text, int Seconds);

// ---- The game ------------------------------------------------------------------------
void EnterGame(Message& M, uint32_t PlayerID, int Beat, int BugReports);
void Rights(Message& M, const std::array<uint8_t, 32>& Values);
void Ping(Message& M);

// Fields: 105 to 109, with the reference server's thing encoder.
void FieldAdd(Message& M, server::Player& Viewer, const Position& Pos, const server::Object& Thing);
void FieldChange(Message& M, server::Player& Viewer, const Position& Pos, int Stack, const server::Object& Thing);
void CreatureTurn(Message& M, const Position& Pos, int Stack, const server::Creature& C);
void FieldRemove(Message& M, const Position& Pos, int Stack);
void CreatureMove(Message& M, const Position& From, int Stack, const Position& To);

// Containers and the body.
void ContainerOpen(Message& M, server::Player& Viewer, int Number, const server::Object& Container, const std::string& Name,
                   int Capacity, bool HasParent);
void ContainerClose(Message& M, int Number);
void ContainerAdd(Message& M, server::Player& Viewer, int Number, const server::Object& Thing);
void ContainerChange(Message& M, server::Player& Viewer, int Number, int Place, const server::Object& Thing);
void ContainerRemove(Message& M, int Number, int Place);
void InventorySet(Message& M, server::Player& Viewer, int Slot, const server::Object& Thing);
void InventoryClear(Message& M, int Slot);
// 125 own offer, 126 counter offer.
void TradeOffer(Message& M, server::Player& Viewer, bool Own, const std::string& Partner,
                const std::vector<server::Object>& Objects);
void TradeClose(Message& M);

// Light, effects and marks.
void AmbientLight(Message& M, int Brightness, int Colour);
void GraphicEffect(Message& M, const Position& Pos, int Type);
void AnimatedText(Message& M, const Position& Pos, int Colour, const std::string& Text);
void Missile(Message& M, const Position& From, const Position& To, int Type);
void CreatureMark(Message& M, uint32_t ID, int Colour);
void CreatureHealth(Message& M, uint32_t ID, int Percent);
void CreatureLight(Message& M, uint32_t ID, int Intensity, int Colour);
void CreatureOutfit(Message& M, uint32_t ID, const server::Outfit& Look);
void CreatureSpeed(Message& M, uint32_t ID, int Speed);
void CreatureSkull(Message& M, uint32_t ID, int Skull);
void CreatureShield(Message& M, uint32_t ID, int Shield);

// Texts the player edits.
void EditText(Message& M, uint32_t TextID, int ObjectType, int MaxLength, const std::string& Text,
              const std::string& Second);
void EditList(Message& M, int Kind, uint32_t ListID, const std::string& Text);

// The player.
struct PlayerValues {
    int HitPoints = 150, MaxHitPoints = 150, Capacity = 400;
    uint32_t Experience = 0;
    int Level = 1, LevelPercent = 0, Mana = 0, MaxMana = 0, MagicLevel = 0, MagicLevelPercent = 0, Soul = 100;
};
void PlayerData(Message& M, const PlayerValues& V);
void Skills(Message& M, const std::array<std::pair<int, int>, 7>& Skills);
void Conditions(Message& M, int Flags);
void ClearTarget(Message& M);
void WalkCancelled(Message& M, int Direction);
void OutfitDialog(Message& M, const server::Outfit& Current, int First, int Last);

// Talk by mode group: at a position (1, 2, 3, 16, 17), plain (4, 7, 8, 9, 11),
// in a channel (5, 10, 12, 14), a request (6).
void TalkAt(Message& M, const std::string& Speaker, int Mode, const Position& Pos, const std::string& Text);
void TalkPlain(Message& M, const std::string& Speaker, int Mode, const std::string& Text);
void TalkChannel(Message& M, const std::string& Speaker, int Mode, int Channel, const std::string& Text);
void TalkRequest(Message& M, const std::string& Speaker, uint32_t Number, const std::string& Text);
void TextMessage(Message& M, int Type, const std::string& Text);

// Channels and requests.
void ChannelList(Message& M, const std::vector<std::pair<int, std::string>>& Channels);
void OpenChannel(Message& M, int Channel, const std::string& Name);
void OpenPrivateChannel(Message& M, const std::string& Name);
void OpenRequestChannel(Message& M, int Value);
void RemoveRequest(Message& M, const std::string& Name);
void RequestFinished(Message& M, const std::string& Name);
void RequestClosed(Message& M);
void OpenOwnChannel(Message& M, int Channel, const std::string& Name);
void ChannelClosed(Message& M, int Channel);

// Buddies.
void Buddy(Message& M, uint32_t ID, const std::string& Name, bool Online);
void BuddyOnline(Message& M, uint32_t ID, bool Online);

// A packet: the length word and the messages.
std::vector<uint8_t> Packet(const Message& M);

}  // namespace randomplayer::wire
