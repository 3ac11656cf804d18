#include "server/Npcs.h"

#include "server/GameLocal.h"
#include "server/GameMessages.h"
#include "server/WorldMap.h"

#include <cctype>
#include <vector>

namespace server::npcs {

namespace {

struct Answer {
    std::string Name;
    std::vector<std::string> Keywords;  // lower case
    std::string Text;
};
std::vector<Answer> Answers;

// The words of a text, in lower case: runs of letters and digits.
std::vector<std::string> Words(const std::string& Text) {
    std::vector<std::string> Out;
    std::string Word;
    for (char c : Text) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            Word += char(std::tolower(static_cast<unsigned char>(c)));
        } else if (!Word.empty()) {
            Out.push_back(Word);
            Word.clear();
        }
    }
    if (!Word.empty()) Out.push_back(Word);
    return Out;
}

const Answer* Find(const std::string& Name, const std::vector<std::string>& Said) {
    for (const Answer& A : Answers) {
        if (!game::SameName(A.Name, Name)) continue;
        for (const std::string& K : A.Keywords)
            for (const std::string& W : Said)
                if (K == W) return &A;
    }
    return nullptr;
}

void Say(const Creature& C, const std::string& Text) {
    for (auto& [ID, P] : game::AllPlayers()) {
        if (P->Body->Pos.z != C.Pos.z || !messages::CanSee(P->MapPos, C.Pos)) continue;
        Message M;
        M.addByte(170).addString(C.Name).addByte(game::TALK_SAY).addPosition(C.Pos).addString(Text);
        game::Send(*P, M);
    }
}

}  // namespace

void ResetAnswers() { Answers.clear(); }

void AddAnswer(const std::string& Name, const std::string& Keywords, const std::string& Text) {
    Answer A{Name, Words(Keywords), Text};
    Answers.push_back(std::move(A));
}

void Hear(Player& Speaker, const std::string& Text) {
    if (Answers.empty()) return;
    const std::vector<std::string> Said = Words(Text);
    const Position At = Speaker.Body->Pos;
    for (int dy = -HEARING_RANGE; dy <= HEARING_RANGE; ++dy) {
        for (int dx = -HEARING_RANGE; dx <= HEARING_RANGE; ++dx) {
            const Position Pos{At.x + dx, At.y + dy, At.z};
            const worldmap::Field* F = worldmap::GetField(Pos);
            if (F == nullptr) continue;
            for (const Object& O : F->Stack) {
                if (!O.IsCreature() || O.CreatureID < FIRST_MONSTER_ID) continue;
                const Creature* C = game::FindCreature(O.CreatureID);
                if (C == nullptr) continue;
                const Answer* A = Find(C->Name, Said);
                if (A == nullptr) continue;
                std::string Reply = A->Text;
                for (size_t p = Reply.find("%N"); p != std::string::npos; p = Reply.find("%N", p))
                    Reply.replace(p, 2, Speaker.Body->Name);
                Say(*C, Reply);
            }
        }
    }
}

}  // namespace server::npcs
