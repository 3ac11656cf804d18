#include "core/Utils.h"

#include "core/Assert.h"

#include <cstdint>
#include <cstring>

namespace {

// Case folding of the Western European code page, as ToLower does it.
unsigned char FoldCase(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 192 && c <= 222)) return static_cast<unsigned char>(c + 32);
    return c;
}

// Letters that keep a word going for Capitalize: the ASCII letters and the
// German umlauts and sharp s (Ä Ö Ü ß ä ö ü). Any other byte starts a new word.
bool IsWordLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 196 || c == 214 || c == 220 || c == 223 ||
           c == 228 || c == 246 || c == 252;
}

bool IsTrimmed(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int ToComponent(double value) {
    int component = int(value * 255);
    return component < 0 ? 0 : component > 255 ? 255 : component;
}

}  // namespace

char* ToLower(char* Text) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return Text;
    for (unsigned char* p = reinterpret_cast<unsigned char*>(Text); *p; ++p) *p = FoldCase(*p);
    return Text;
}

char* Capitalize(char* Text) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return Text;
    bool inWord = false;
    for (unsigned char* p = reinterpret_cast<unsigned char*>(Text); *p; ++p) {
        unsigned char c = *p;
        if (!IsWordLetter(c)) {
            inWord = false;
            continue;
        }
        // Sharp s lies below 224 and so stays as it is.
        if (!inWord && ((c >= 'a' && c <= 'z') || (c >= 224 && c <= 254))) *p = static_cast<unsigned char>(c - 32);
        inWord = true;
    }
    return Text;
}

int CompareNoCase(const char* s1, const char* s2, int Count) {
    ASSERT(s1!=NULL);
    ASSERT(s2!=NULL);
    if (s1 == NULL || s2 == NULL) return 0;
    const unsigned char* a = reinterpret_cast<const unsigned char*>(s1);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(s2);
    for (int n = 0; Count < 0 || n < Count; ++n) {
        unsigned char ca = FoldCase(a[n]), cb = FoldCase(b[n]);
        if (ca != cb) return ca > cb ? 1 : -1;
        if (ca == 0) break;
    }
    return 0;
}

char* CopyText(char* Destination, const char* Source, int Size) {
    ASSERT(Destination!=NULL);
    ASSERT(Source!=NULL);
    ASSERT(Size>0);
    if (Destination == NULL || Source == NULL || Size <= 0) return Destination;
    int n = 0;
    while (n < Size - 1 && Source[n] != 0) {
        Destination[n] = Source[n];
        ++n;
    }
    Destination[n] = 0;
    return Destination;
}

const char* FindChar(const char* Text, char Character) {
    ASSERT(Text!=NULL);
    if (Text == NULL || Character == 0) return NULL;
    return std::strchr(Text, Character);
}

char* FindChar(char* Text, char Character) {
    return const_cast<char*>(FindChar(static_cast<const char*>(Text), Character));
}

const char* FindLastChar(const char* Text, char Character) {
    ASSERT(Text!=NULL);
    if (Text == NULL || Character == 0) return NULL;
    return std::strrchr(Text, Character);
}

char* FindLastChar(char* Text, char Character) {
    return const_cast<char*>(FindLastChar(static_cast<const char*>(Text), Character));
}

char* Trim(char* Destination, const char* Source) {
    ASSERT(Source!=NULL);
    ASSERT(Destination!=NULL);
    if (Source == NULL || Destination == NULL) return Destination;
    const unsigned char* begin = reinterpret_cast<const unsigned char*>(Source);
    while (*begin && IsTrimmed(*begin)) ++begin;
    const unsigned char* end = begin + std::strlen(reinterpret_cast<const char*>(begin));
    while (end > begin && IsTrimmed(end[-1])) --end;
    size_t length = size_t(end - begin);
    // memmove: trimming in place is a common use.
    std::memmove(Destination, begin, length);
    Destination[length] = 0;
    return Destination;
}

bool Shorten(char* Text, int Length) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return false;
    size_t textLength = std::strlen(Text);
    if (Length >= 0 && textLength <= size_t(Length)) return false;
    if (Length <= 2) {
        size_t dots = textLength < 3 ? textLength : 3;
        std::memset(Text, '.', dots);
        Text[dots] = 0;
        return true;
    }
    std::memcpy(Text + Length - 3, "...", 4);
    return true;
}

char* FormatNumber(int Number, char* Buffer) {
    ASSERT(Number>=0);
    ASSERT(Buffer!=NULL);
    if (Buffer == NULL) return Buffer;
    // A negative number only gets here when the reporter returned; it is
    // still written in full rather than overflowing the buffer.
    int64_t value = Number;
    bool negative = value < 0;
    if (negative) value = -value;

    char digits[FORMAT_NUMBER_LENGTH];
    int count = 0;
    do {
        if (count % 4 == 3) digits[count++] = ',';
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0);

    int n = 0;
    if (negative) Buffer[n++] = '-';
    while (count > 0) Buffer[n++] = digits[--count];
    Buffer[n] = 0;
    return Buffer;
}

std::string FormatNumber(int Number) {
    char buffer[FORMAT_NUMBER_LENGTH];
    return FormatNumber(Number, buffer);
}

void HsiToRgb(double Hue, double Saturation, double Intensity, int& Red, int& Green, int& Blue) {
    double r, g, b;
    if (Intensity == 0) {
        r = g = b = 0;
    } else if (Saturation == 0) {
        r = g = b = Intensity;
    } else {
        double m = Intensity * (1 - Saturation);
        double d = Intensity - m;
        double h = Hue;
        if (h < 1.0 / 6.0) {
            r = Intensity;
            g = m + 6 * h * d;
            b = m;
        } else if (h < 1.0 / 3.0) {
            r = Intensity - 6 * (h - 1.0 / 6.0) * d;
            g = Intensity;
            b = m;
        } else if (h < 1.0 / 2.0) {
            r = m;
            g = Intensity;
            b = m + 6 * (h - 1.0 / 3.0) * d;
        } else if (h < 2.0 / 3.0) {
            r = m;
            g = Intensity - 6 * (h - 1.0 / 2.0) * d;
            b = Intensity;
        } else if (h < 5.0 / 6.0) {
            r = m + 6 * (h - 2.0 / 3.0) * d;
            g = m;
            b = Intensity;
        } else {
            r = Intensity;
            g = m;
            b = Intensity - 6 * (h - 5.0 / 6.0) * d;
        }
    }
    // Truncation toward zero; inputs outside 0..1 must still give a colour.
    Red = ToComponent(r);
    Green = ToComponent(g);
    Blue = ToComponent(b);
}

void GetCubeColor(int Index, int& Red, int& Green, int& Blue) {
    Index = Index < 0 ? 0 : Index > 215 ? 215 : Index;
    Red = (Index / 36) * 51;
    Green = (Index / 6 % 6) * 51;
    Blue = (Index % 6) * 51;
}

void GetOutfitColor(int Index, int& Red, int& Green, int& Blue) {
    if (Index < 0 || Index >= OUTFIT_COLORS) Index = 0;
    int row = Index / OUTFIT_COLOR_COLUMNS;
    int column = Index % OUTFIT_COLOR_COLUMNS;
    if (column == 0) {
        HsiToRgb(0, 0, 1 - double(row) / 7, Red, Green, Blue);
        return;
    }
    static const double RowSaturation[7] = {0.25, 0.25, 0.5, 0.667, 1, 1, 1};
    static const double RowIntensity[7] = {1, 0.75, 0.75, 0.75, 1, 0.75, 0.5};
    HsiToRgb(double(column) / 18, RowSaturation[row], RowIntensity[row], Red, Green, Blue);
}
