// The markup language of help texts and message boxes, and its layout into
// Label and SkinPicture pieces.
#include "gui/framework/DialogElements.h"

#include "core/Utils.h"
#include "graphics/graphics.h"
#include "gui/framework/Skins.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsTagLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 196 || c == 214 || c == 220 || c == 223 ||
           c == 228 || c == 246 || c == 252;
}

struct TagName {
    const char* Name;
    MarkupTag::Kind Kind;
    bool HasValue;
};
const TagName TagNames[] = {
    {"b", MarkupTag::BOLD, false},       {"n", MarkupTag::NORMAL, false},     {"h", MarkupTag::HIGHLIGHT, false},
    {"font", MarkupTag::FONT, true},     {"hspace", MarkupTag::HSPACE, true}, {"indent", MarkupTag::INDENT, true},
    {"br", MarkupTag::BR, true},         {"color", MarkupTag::COLOR, true},   {"skin", MarkupTag::SKIN, true},
    {"red", MarkupTag::RED, true},       {"green", MarkupTag::GREEN, true},   {"blue", MarkupTag::BLUE, true},
};

// Values beyond this are out of every tag's range; stop counting there.
constexpr int VALUE_LIMIT = 1000000;

}  // namespace

bool ParseMarkupTag(const char* Text, MarkupTag& Result) {
    if (Text == NULL || Text[0] != '<') return false;
    int i = 1;
    while (IsTagLetter(static_cast<unsigned char>(Text[i]))) ++i;
    int nameLength = i - 1;
    if (nameLength == 0) return false;
    std::string name(Text + 1, size_t(nameLength));
    ToLower(name.data());
    const TagName* found = NULL;
    for (const TagName& t : TagNames)
        if (name == t.Name) found = &t;
    if (found == NULL) return false;
    int value = 0;
    if (found->HasValue) {
        if (Text[i] != '=') return false;
        ++i;
        while (Text[i] >= '0' && Text[i] <= '9') {
            value = std::min(value * 10 + (Text[i] - '0'), VALUE_LIMIT);
            ++i;
        }
    }
    if (Text[i] != '>') return false;
    Result.Tag = found->Kind;
    Result.Value = value;
    Result.Length = i + 1;
    return true;
}

// ==== MarkupText ================================================================================

MarkupText::MarkupText(const char* Text, bool AutoWidth, bool AutoHeight)
    : Source(Text != NULL ? Text : ""), AutoWidth(AutoWidth), AutoHeight(AutoHeight) {
    arrange();
}

void MarkupText::setText(const char* Text, bool ArrangeNow) {
    Source = Text != NULL ? Text : "";
    if (ArrangeNow) arrange();
}

void MarkupText::setSize(int Width, int Height) {
    Component::setSize(Width, Height);
    if (!Arranging) arrange();
}

void MarkupText::fitText(int Width, int MaxWidth, int MaxHeight) {
    constexpr int WIDEN_STEP = 16;
    const bool Auto = AutoHeight;
    AutoHeight = true;  // the height the text takes, nothing cut
    for (int w = Width;; w = std::min(w + WIDEN_STEP, MaxWidth)) {
        setSize(std::max(w, 1), 1);
        if (_Height <= MaxHeight || w >= MaxWidth) break;
    }
    // Shrunk to what the text takes; laid out again at that width, a line
    // may break differently, so the height still follows the text.
    fitToChildren(true);
    AutoHeight = Auto;
}

namespace {

// The layout state while the text is scanned.
struct MarkupState {
    int Font;
    SkinColour Colour;
    int x = 0, y = 0, Indent = 0;
};

void ApplyTag(const MarkupTag& Tag, MarkupState& S, CompositeComponent& Owner) {
    const auto& P = SkinProperties().Markup;
    int n = Tag.Value;
    switch (Tag.Tag) {
    case MarkupTag::BOLD: S.Colour = P.Bold; break;
    case MarkupTag::NORMAL: S.Colour = P.Normal; break;
    case MarkupTag::HIGHLIGHT: S.Colour = P.Highlight; break;
    case MarkupTag::FONT:
        if (In(n, 1, NumberOfFonts)) S.Font = n;
        break;
    case MarkupTag::HSPACE:
        if (In(n, 1, 200)) S.x += n;
        break;
    case MarkupTag::INDENT:
        if (In(n, 0, 200)) {
            S.Indent = n;
            S.x = std::max(S.x, S.Indent);
        }
        break;
    case MarkupTag::BR:
        if (In(n, 1, 50)) S.y += n;
        break;
    case MarkupTag::COLOR:
        if (In(n, 0, 215)) GetCubeColor(n, S.Colour.Red, S.Colour.Green, S.Colour.Blue);
        break;
    case MarkupTag::SKIN:
        // Only skins that exist: an index past the table or the missing row
        // would be a broken draw.
        if (In(n, 1, NumberOfSkins - 1) && Skins[n].width > 0 && Skins[n].height > 0) {
            auto* picture = new SkinPicture(n);
            Owner.addChild(picture);
            picture->setPosition(S.x, S.y);
            S.x += picture->getWidth();
        }
        break;
    case MarkupTag::RED:
        if (In(n, 0, 255)) S.Colour.Red = n;
        break;
    case MarkupTag::GREEN:
        if (In(n, 0, 255)) S.Colour.Green = n;
        break;
    case MarkupTag::BLUE:
        if (In(n, 0, 255)) S.Colour.Blue = n;
        break;
    }
}

}  // namespace

void MarkupText::arrange() {
    Arranging = true;
    while (getFirstChild() != NULL) deleteChild(getFirstChild());
    const auto& P = SkinProperties().Markup;
    MarkupState S;
    S.Font = P.Font != 0 ? P.Font : 2;
    S.Colour = P.Normal;
    const bool wrap = !AutoWidth;
    const int wrapWidth = _Width;
    const char* text = Source.c_str();
    const int length = int(Source.size());
    int pos = 0;
    int right = 0, bottom = 0;
    MarkupTag tag;
    while (pos < length) {
        if (text[pos] == '<' && ParseMarkupTag(text + pos, tag)) {
            ApplyTag(tag, S, *this);
            pos += tag.Length;
            continue;
        }
        // One run in the current font and colour.
        int start = pos, end = pos, next = pos, lastSpace = -1;
        bool lineBreak = false;
        int i = pos;
        while (true) {
            if (i >= length) {
                end = next = length;
                break;
            }
            char c = text[i];
            if (c == '<' && i > start && ParseMarkupTag(text + i, tag)) {
                end = next = i;
                break;
            }
            if (c == '\n') {
                end = i;
                next = i + 1;
                lineBreak = true;
                break;
            }
            if (wrap && S.x + GetTextWidth(S.Font, text + start, i - start + 1) > wrapWidth) {
                lineBreak = true;
                if (lastSpace >= 0) {
                    end = lastSpace;
                    next = lastSpace + 1;  // the space at the break is dropped
                } else if (S.x > S.Indent) {
                    // A word that starts behind a tag late on a line goes to
                    // the next line whole instead of being cut in two; only a
                    // word wider than a whole line is cut.
                    end = next = start;
                } else if (i > start) {
                    end = next = i;
                } else {
                    // Not even one character fits on an empty line: place it
                    // anyway, or the text would never end.
                    end = next = i + 1;
                }
                break;
            }
            if (c == ' ') lastSpace = i;
            ++i;
        }
        if (end > start) {
            std::string piece(text + start, size_t(end - start));
            auto* label = new Label(piece.c_str(), S.Font, S.Colour.Red, S.Colour.Green, S.Colour.Blue);
            addChild(label);
            label->setPosition(S.x, S.y);
            S.x += label->getWidth();
            right = std::max(right, S.x);
            bottom = std::max(bottom, S.y + label->getHeight());
        }
        if (lineBreak) {
            S.y += GetFontLineHeight(S.Font);
            S.x = S.Indent;
            bottom = std::max(bottom, S.y);
        }
        S.x = std::max(S.x, S.Indent);
        pos = next;
    }
    for (Component* c = getFirstChild(); c != NULL; c = c->getNextSibling()) {
        right = std::max(right, c->getX() + c->getWidth());
        bottom = std::max(bottom, c->getY() + c->getHeight());
    }
    if (AutoWidth || AutoHeight) Component::setSize(AutoWidth ? right : _Width, AutoHeight ? bottom : _Height);
    clipChildren(false);
    Arranging = false;
}
