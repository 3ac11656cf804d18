#include "ServerMessages.h"

namespace randomplayer::wire {

using server::messages::AddThing;

void LoginError(Message& M, const std::string& Text) { M.addByte(10).addString(Text); }
void LoginInformation(Message& M, const std::string& Text) { M.addByte(11).addString(Text); }
void MessageOfTheDay(Message& M, int Number, const std::string& Text) {
    M.addByte(20).addString(std::to_string(Number) + "\n" + Text);
}
void Overloaded(Message& M) { M.addByte(40); }

void CharacterList(Message& M, const std::vector<ListedCharacter>& Characters, int PremiumDays) {
    M.addByte(100).addByte(int(Characters.size()));
    for (const ListedCharacter& C : Characters) {
        M.addString(C.Name).addString(C.World);
        for (uint8_t Part : C.Address) M.addByte(Part);
        M.addWord(C.Port);
    }
    M.addWord(PremiumDays);
}

void GameRefusal(Message& M, const std::string& Text) { M.addByte(20).addString(Text); }
void GameInformation(Message& M, const std::string& Text) { M.addByte(21).addString(Text); }
void WaitingList(Message& M, const std::string& Text, int Seconds) { M.addByte(22).addString(Text).addByte(Seconds); }

void EnterGame(Message& M, uint32_t PlayerID, int Beat, int BugReports) {
    M.addByte(10).addQuad(PlayerID).addWord(Beat).addByte(BugReports);
}
void Rights(Message& M, const std::array<uint8_t, 32>& Values) {
    M.addByte(11);
    for (uint8_t V : Values) M.addByte(V);
}
void Ping(Message& M) { M.addByte(30); }

void FieldAdd(Message& M, server::Player& Viewer, const Position& Pos, const server::Object& Thing) {
    M.addByte(106).addPosition(Pos);
    AddThing(M, Viewer, Thing);
}
void FieldChange(Message& M, server::Player& Viewer, const Position& Pos, int Stack, const server::Object& Thing) {
    M.addByte(107).addPosition(Pos).addByte(Stack);
    AddThing(M, Viewer, Thing);
}
void CreatureTurn(Message& M, const Position& Pos, int Stack, const server::Creature& C) {
    M.addByte(107).addPosition(Pos).addByte(Stack);
    server::messages::AddCreatureTurn(M, C);
}
void FieldRemove(Message& M, const Position& Pos, int Stack) { M.addByte(108).addPosition(Pos).addByte(Stack); }
void CreatureMove(Message& M, const Position& From, int Stack, const Position& To) {
    M.addByte(109).addPosition(From).addByte(Stack).addPosition(To);
}

void ContainerOpen(Message& M, server::Player& Viewer, int Number, const server::Object& Container, const std::string& Name,
                   int Capacity, bool HasParent) {
    server::messages::AddContainerOpen(M, Viewer, Number, Container, Name, Capacity, HasParent);
}
void ContainerClose(Message& M, int Number) { M.addByte(111).addByte(Number); }
void ContainerAdd(Message& M, server::Player& Viewer, int Number, const server::Object& Thing) {
    M.addByte(112).addByte(Number);
    AddThing(M, Viewer, Thing);
}
void ContainerChange(Message& M, server::Player& Viewer, int Number, int Place, const server::Object& Thing) {
    M.addByte(113).addByte(Number).addByte(Place);
    AddThing(M, Viewer, Thing);
}
void ContainerRemove(Message& M, int Number, int Place) { M.addByte(114).addByte(Number).addByte(Place); }
void InventorySet(Message& M, server::Player& Viewer, int Slot, const server::Object& Thing) {
    M.addByte(120).addByte(Slot);
    AddThing(M, Viewer, Thing);
}
void InventoryClear(Message& M, int Slot) { M.addByte(121).addByte(Slot); }

void TradeOffer(Message& M, server::Player& Viewer, bool Own, const std::string& Partner,
                const std::vector<server::Object>& Objects) {
    M.addByte(Own ? 125 : 126).addString(Partner).addByte(int(Objects.size()));
    for (const server::Object& O : Objects) AddThing(M, Viewer, O);
}
void TradeClose(Message& M) { M.addByte(127); }

void AmbientLight(Message& M, int Brightness, int Colour) { M.addByte(130).addByte(Brightness).addByte(Colour); }
void GraphicEffect(Message& M, const Position& Pos, int Type) { M.addByte(131).addPosition(Pos).addByte(Type); }
void AnimatedText(Message& M, const Position& Pos, int Colour, const std::string& Text) {
    M.addByte(132).addPosition(Pos).addByte(Colour).addString(Text);
}
void Missile(Message& M, const Position& From, const Position& To, int Type) {
    M.addByte(133).addPosition(From).addPosition(To).addByte(Type);
}
void CreatureMark(Message& M, uint32_t ID, int Colour) { M.addByte(134).addQuad(ID).addByte(Colour); }
void CreatureHealth(Message& M, uint32_t ID, int Percent) { M.addByte(140).addQuad(ID).addByte(Percent); }
void CreatureLight(Message& M, uint32_t ID, int Intensity, int Colour) {
    M.addByte(141).addQuad(ID).addByte(Intensity).addByte(Colour);
}
void CreatureOutfit(Message& M, uint32_t ID, const server::Outfit& Look) {
    M.addByte(142).addQuad(ID).addByte(Look.Type);
    if (Look.Type != 0)
        M.addByte(Look.Head).addByte(Look.Body).addByte(Look.Legs).addByte(Look.Feet);
    else
        M.addWord(Look.LookType);
}
void CreatureSpeed(Message& M, uint32_t ID, int Speed) { M.addByte(143).addQuad(ID).addWord(Speed); }
void CreatureSkull(Message& M, uint32_t ID, int Skull) { M.addByte(144).addQuad(ID).addByte(Skull); }
void CreatureShield(Message& M, uint32_t ID, int Shield) { M.addByte(145).addQuad(ID).addByte(Shield); }

void EditText(Message& M, uint32_t TextID, int ObjectType, int MaxLength, const std::string& Text,
              const std::string& Second) {
    M.addByte(150).addQuad(TextID).addWord(ObjectType).addWord(MaxLength).addString(Text).addString(Second);
}
void EditList(Message& M, int Kind, uint32_t ListID, const std::string& Text) {
    M.addByte(151).addByte(Kind).addQuad(ListID).addString(Text);
}

void PlayerData(Message& M, const PlayerValues& V) {
    M.addByte(160).addWord(V.HitPoints).addWord(V.MaxHitPoints).addWord(V.Capacity).addQuad(V.Experience);
    M.addWord(V.Level).addByte(V.LevelPercent).addWord(V.Mana).addWord(V.MaxMana);
    M.addByte(V.MagicLevel).addByte(V.MagicLevelPercent).addByte(V.Soul);
}
void Skills(Message& M, const std::array<std::pair<int, int>, 7>& Skills) {
    M.addByte(161);
    for (const auto& [Level, Percent] : Skills) M.addByte(Level).addByte(Percent);
}
void Conditions(Message& M, int Flags) { M.addByte(162).addByte(Flags); }
void ClearTarget(Message& M) { M.addByte(163); }
void WalkCancelled(Message& M, int Direction) { M.addByte(181).addByte(Direction); }
void OutfitDialog(Message& M, const server::Outfit& Current, int First, int Last) {
    M.addByte(200).addByte(Current.Type).addByte(Current.Head).addByte(Current.Body).addByte(Current.Legs);
    M.addByte(Current.Feet).addByte(First).addByte(Last);
}

void TalkAt(Message& M, const std::string& Speaker, int Mode, const Position& Pos, const std::string& Text) {
    M.addByte(170).addString(Speaker).addByte(Mode).addPosition(Pos).addString(Text);
}
void TalkPlain(Message& M, const std::string& Speaker, int Mode, const std::string& Text) {
    M.addByte(170).addString(Speaker).addByte(Mode).addString(Text);
}
void TalkChannel(Message& M, const std::string& Speaker, int Mode, int Channel, const std::string& Text) {
    M.addByte(170).addString(Speaker).addByte(Mode).addWord(Channel).addString(Text);
}
void TalkRequest(Message& M, const std::string& Speaker, uint32_t Number, const std::string& Text) {
    M.addByte(170).addString(Speaker).addByte(6).addQuad(Number).addString(Text);
}
void TextMessage(Message& M, int Type, const std::string& Text) { M.addByte(180).addByte(Type).addString(Text); }

void ChannelList(Message& M, const std::vector<std::pair<int, std::string>>& Channels) {
    M.addByte(171).addByte(int(Channels.size()));
    for (const auto& [ID, Name] : Channels) M.addWord(ID).addString(Name);
}
void OpenChannel(Message& M, int Channel, const std::string& Name) { M.addByte(172).addWord(Channel).addString(Name); }
void OpenPrivateChannel(Message& M, const std::string& Name) { M.addByte(173).addString(Name); }
void OpenRequestChannel(Message& M, int Value) { M.addByte(174).addWord(Value); }
void RemoveRequest(Message& M, const std::string& Name) { M.addByte(175).addString(Name); }
void RequestFinished(Message& M, const std::string& Name) { M.addByte(176).addString(Name); }
void RequestClosed(Message& M) { M.addByte(177); }
void OpenOwnChannel(Message& M, int Channel, const std::string& Name) { M.addByte(178).addWord(Channel).addString(Name); }
void ChannelClosed(Message& M, int Channel) { M.addByte(179).addWord(Channel); }

void Buddy(Message& M, uint32_t ID, const std::string& Name, bool Online) {
    M.addByte(210).addQuad(ID).addString(Name).addByte(Online ? 1 : 0);
}
void BuddyOnline(Message& M, uint32_t ID, bool Online) { M.addByte(Online ? 211 : 212).addQuad(ID); }

std::vector<uint8_t> Packet(const Message& M) {
    std::vector<uint8_t> Bytes;
    Bytes.reserve(M.size() + 2);
    Bytes.push_back(uint8_t(M.size()));
    Bytes.push_back(uint8_t(M.size() >> 8));
    Bytes.insert(Bytes.end(), M.bytes().begin(), M.bytes().end());
    return Bytes;
}

}  // namespace randomplayer::wire
