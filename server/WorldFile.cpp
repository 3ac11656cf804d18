#include "server/WorldFile.h"

#include "server/Npcs.h"
#include "server/TextFile.h"
#include "server/TypeNames.h"
#include "server/WorldMap.h"

#include <map>
#include <stdexcept>

namespace server::worldfile {

namespace {
struct Token {
    std::string Text;
    bool Quoted = false;
};

struct LineReader {
    const std::string& FileName;
    int Line = 0;

    [[noreturn]] void Fail(const std::string& What) const {
        throw std::runtime_error(FileName + ", line " + std::to_string(Line) + ": " + What);
    }

    std::vector<Token> Split(const std::string& Text) const {
        std::vector<Token> Tokens;
        size_t i = 0;
        while (i < Text.size()) {
            if (Text[i] == ' ' || Text[i] == '\t' || Text[i] == '\r') {
                i++;
                continue;
            }
            Token T;
            if (Text[i] == '"') {
                T.Quoted = true;
                i++;
                for (;;) {
                    if (i >= Text.size()) Fail("closing '\"' expected");
                    char c = Text[i++];
                    if (c == '"') break;
                    if (c == '\\' && i < Text.size()) {
                        char e = Text[i++];
                        T.Text += e == 'n' ? '\n' : e;
                    } else {
                        T.Text += c;
                    }
                }
            } else {
                while (i < Text.size() && Text[i] != ' ' && Text[i] != '\t' && Text[i] != '\r') T.Text += Text[i++];
            }
            Tokens.push_back(T);
        }
        return Tokens;
    }

    int Number(const Token& T, int Min, int Max) const {
        if (T.Quoted || T.Text.empty() || T.Text.size() > 9 || T.Text.find_first_not_of("0123456789") != std::string::npos)
            Fail("number expected, not '" + T.Text + "'");
        int Value = std::stoi(T.Text);
        if (Value < Min || Value > Max) Fail(T.Text + " is not within " + std::to_string(Min) + ".." + std::to_string(Max));
        return Value;
    }

    Position Place(const std::vector<Token>& Tokens, size_t At) const {
        if (Tokens.size() < At + 3) Fail("position expected");
        return {Number(Tokens[At], 0, 65535), Number(Tokens[At + 1], 0, 65535), Number(Tokens[At + 2], 0, 15)};
    }

    std::vector<Object> Objects(const std::string& Text) const {
        try {
            return ObjectsFromText(Text);
        } catch (const std::runtime_error& Problem) {
            Fail(Problem.what());
        }
    }
};

// The text after the first Count blank-separated words of a line.
std::string Rest(const std::string& Text, int Count) {
    size_t i = 0;
    for (int Word = 0; Word < Count; Word++) {
        while (i < Text.size() && (Text[i] == ' ' || Text[i] == '\t')) i++;
        while (i < Text.size() && Text[i] != ' ' && Text[i] != '\t') i++;
    }
    while (i < Text.size() && (Text[i] == ' ' || Text[i] == '\t')) i++;
    return Text.substr(i);
}
}  // namespace

game::WorldInfo LoadWorld(const std::string& FileName) {
    std::string Text;
    try {
        Text = ReadWholeFile(FileName);
    } catch (const FileError& Problem) {
        throw std::runtime_error(Problem.what());
    }
    game::WorldInfo World;
    bool HasStart = false;
    std::map<char, std::vector<Object>> Keys;
    npcs::ResetAnswers();
    LineReader R{FileName};
    bool InArea = false;
    Position AreaOrigin;
    int AreaRow = 0;
    size_t Start = 0;
    while (Start < Text.size()) {
        size_t End = Text.find('\n', Start);
        if (End == std::string::npos) End = Text.size();
        std::string Line = Text.substr(Start, End - Start);
        if (!Line.empty() && Line.back() == '\r') Line.pop_back();
        Start = End + 1;
        R.Line++;

        if (InArea) {
            size_t First = Line.find_first_not_of(" \t");
            if (First != std::string::npos && Line[First] == '|') {
                std::string Row = Line.substr(First + 1);
                for (size_t i = 0; i < Row.size(); i++) {
                    if (Row[i] == ' ') continue;
                    auto Key = Keys.find(Row[i]);
                    if (Key == Keys.end()) R.Fail(std::string("unknown map character '") + Row[i] + "'");
                    Position Pos{AreaOrigin.x + int(i), AreaOrigin.y + AreaRow, AreaOrigin.z};
                    if (Pos.x > 65535 || Pos.y > 65535) R.Fail("row runs off the map");
                    for (const Object& O : Key->second)
                        if (worldmap::AddThing(Pos, O) < 0) R.Fail("more than 10 objects on a field");
                }
                AreaRow++;
                continue;
            }
            std::vector<Token> Words = R.Split(Line);
            if (Words.size() == 1 && Words[0].Text == "End") {
                InArea = false;
                continue;
            }
            if (Words.empty() || Words[0].Text[0] == '#') continue;
            R.Fail("row starting with '|' or End expected");
        }

        std::vector<Token> Words = R.Split(Line);
        if (Words.empty() || (!Words[0].Quoted && Words[0].Text[0] == '#')) continue;
        const std::string& Word = Words[0].Text;
        if (Word == "World") {
            if (Words.size() != 2 || !Words[1].Quoted) R.Fail("World \"name\" expected");
            World.Name = Words[1].Text;
        } else if (Word == "Start") {
            World.Start = R.Place(Words, 1);
            HasStart = true;
        } else if (Word == "Temple") {
            World.Temple = R.Place(Words, 1);
            World.HasTemple = true;
        } else if (Word == "Arena") {
            if (Words.size() != 6) R.Fail("Arena x1 y1 x2 y2 z expected");
            game::ArenaArea A{R.Number(Words[1], 0, 65535), R.Number(Words[2], 0, 65535), R.Number(Words[3], 0, 65535),
                              R.Number(Words[4], 0, 65535), R.Number(Words[5], 0, 15)};
            if (A.x2 < A.x1 || A.y2 < A.y1) R.Fail("the arena's second corner lies before its first");
            World.Arenas.push_back(A);
        } else if (Word == "Key") {
            if (Words.size() < 2 || Words[1].Text.size() != 1) R.Fail("Key needs one map character");
            Keys[Words[1].Text[0]] = R.Objects(Rest(Line, 2));
        } else if (Word == "Area") {
            // Area lists the floor first: "Area z x y".
            if (Words.size() != 4) R.Fail("Area z x y expected");
            AreaOrigin = {R.Number(Words[2], 0, 65535), R.Number(Words[3], 0, 65535), R.Number(Words[1], 0, 15)};
            InArea = true;
            AreaRow = 0;
        } else if (Word == "Put") {
            Position Pos = R.Place(Words, 1);
            for (const Object& O : R.Objects(Rest(Line, 4)))
                if (worldmap::AddThing(Pos, O) < 0) R.Fail("more than 10 objects on a field");
        } else if (Word == "Change") {
            if (Words.size() != 7) R.Fail("Change x y z x y z expected");
            worldmap::SetFloorChange(R.Place(Words, 1), R.Place(Words, 4));
        } else if (Word == "List") {
            if (Words.size() != 6 || !Words[4].Quoted || !Words[5].Quoted) R.Fail("List x y z \"owner\" \"names\" expected");
            World.Lists.push_back({R.Place(Words, 1), Words[4].Text, Words[5].Text});
        } else if (Word == "Creature") {
            if (Words.size() < 8 || !Words[5].Quoted) R.Fail("Creature x y z outfit \"name\" roam speed expected");
            game::CreatureSpawn S;
            S.Pos = R.Place(Words, 1);
            S.Look.Type = OutfitByName(Words[4].Text);
            if (S.Look.Type == 0) R.Fail("unknown outfit " + Words[4].Text);
            S.Name = Words[5].Text;
            if (S.Name.empty() || S.Name.size() > 29) R.Fail("creature names have 1 to 29 characters");
            S.Roam = R.Number(Words[6], 0, 50);
            S.Speed = R.Number(Words[7], 1, 1000);
            size_t First = 8;
            if (Words.size() > 8 && !Words[8].Quoted) S.HitPoints = R.Number(Words[First++], 1, 65535);
            for (size_t i = First; i < Words.size(); i++) {
                if (!Words[i].Quoted) R.Fail("phrases are texts in quotes");
                S.Phrases.push_back(Words[i].Text);
            }
            World.Spawns.push_back(S);
        } else if (Word == "Answer") {
            if (Words.size() != 4 || !Words[1].Quoted || !Words[2].Quoted || !Words[3].Quoted)
                R.Fail("Answer \"name\" \"keywords\" \"text\" expected");
            npcs::AddAnswer(Words[1].Text, Words[2].Text, Words[3].Text);
        } else {
            R.Fail("unknown statement " + Word);
        }
    }
    if (InArea) R.Fail("End of the area missing");
    if (World.Name.empty()) throw std::runtime_error(FileName + ": World \"name\" missing");
    if (!HasStart) throw std::runtime_error(FileName + ": Start missing");
    return World;
}

}  // namespace server::worldfile
