#include "server/Item.h"

#include "server/TypeNames.h"

#include <stdexcept>

namespace server {

static void AppendObject(std::string& Out, const Object& O) {
    Out += std::to_string(O.Type);
    if (O.Data != 0) Out += ":" + std::to_string(O.Data);
    if (!O.Text.empty()) {
        Out += '"';
        for (char c : O.Text) {
            if (c == '"' || c == '\\') Out += '\\', Out += c;
            else if (c == '\n') Out += "\\n";
            else Out += c;
        }
        Out += '"';
    }
    // An empty container needs no braces: its type tells what it is.
    if (!O.Contents.empty()) Out += "{" + ObjectsToText(O.Contents) + "}";
}

std::string ObjectsToText(const std::vector<Object>& Objects) {
    std::string Out;
    for (size_t i = 0; i < Objects.size(); i++) {
        if (i > 0) Out += ' ';
        AppendObject(Out, Objects[i]);
    }
    return Out;
}

namespace {
struct Parser {
    const std::string& Text;
    size_t At = 0;
    int Depth = 0;

    [[noreturn]] void Fail(const char* What) {
        throw std::runtime_error(std::string(What) + " at character " + std::to_string(At + 1));
    }
    void SkipBlanks() {
        while (At < Text.size() && (Text[At] == ' ' || Text[At] == '\t')) At++;
    }
    long Number() {
        size_t Start = At;
        long Value = 0;
        while (At < Text.size() && Text[At] >= '0' && Text[At] <= '9' && At - Start < 9) Value = Value * 10 + (Text[At++] - '0');
        if (At == Start) Fail("number expected");
        return Value;
    }
    Object One() {
        Object O;
        if (At < Text.size() && Text[At] >= 'a' && Text[At] <= 'z') {
            size_t Start = At;
            while (At < Text.size() && ((Text[At] >= 'a' && Text[At] <= 'z') || (Text[At] >= '0' && Text[At] <= '9') || Text[At] == '_'))
                At++;
            std::string Name = Text.substr(Start, At - Start);
            O.Type = ItemTypeByName(Name);
            if (O.Type == 0) {
                At = Start;
                Fail(("unknown object type '" + Name + "'").c_str());
            }
        } else {
            O.Type = int(Number());
        }
        if (O.Type < 100 || O.Type > 65535) Fail("object type out of range");
        if (At < Text.size() && Text[At] == ':') {
            At++;
            O.Data = int(Number());
            if (O.Data > 255) Fail("data above 255");
        }
        if (At < Text.size() && Text[At] == '"') {
            At++;
            for (;;) {
                if (At >= Text.size()) Fail("closing '\"' expected");
                char c = Text[At++];
                if (c == '"') break;
                if (c == '\\') {
                    if (At >= Text.size()) Fail("unfinished escape");
                    char e = Text[At++];
                    if (e == 'n') O.Text += '\n';
                    else if (e == '"' || e == '\\') O.Text += e;
                    else Fail("unknown escape");
                } else {
                    O.Text += c;
                }
            }
        }
        if (At < Text.size() && Text[At] == '{') {
            At++;
            if (++Depth > 16) Fail("containers nested too deeply");
            O.Contents = List('}');
            Depth--;
            if (O.Contents.size() > size_t(CONTAINER_SIZE)) Fail("more than 36 objects in a container");
            At++;
        }
        return O;
    }
    std::vector<Object> List(char End) {
        std::vector<Object> Objects;
        for (;;) {
            SkipBlanks();
            if (At >= Text.size()) {
                if (End != 0) Fail("closing '}' expected");
                return Objects;
            }
            if (Text[At] == End) return Objects;
            Objects.push_back(One());
        }
    }
};
}  // namespace

std::vector<Object> ObjectsFromText(const std::string& Text) {
    Parser P{Text};
    return P.List(0);
}

}  // namespace server
