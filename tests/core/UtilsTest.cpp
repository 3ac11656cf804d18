#include "core/Utils.h"

#include "support/TestSupport.h"

#include <climits>
#include <cstring>
#include <string>

namespace {

// Runs an in-place routine on a copy of the text and returns the result.
std::string Apply(char* (*routine)(char*), std::string text) {
    routine(text.data());
    return text;
}

TEST(ToLower, FoldsAsciiAndAccentedCapitals) {
    EXPECT_EQ(Apply(ToLower, "HeLLo WORLD 1"), "hello world 1");
    // Ä (196) -> ä (228), À (192) -> à (224), Þ (222) -> þ (254); ß (223) and ä stay.
    EXPECT_EQ(Apply(ToLower, "\xC4\xC0\xDE\xDF\xE4"), "\xE4\xE0\xFE\xDF\xE4");
    // Just outside the accented range.
    EXPECT_EQ(Apply(ToLower, "\xBF\xFF@["), "\xBF\xFF@[");
    EXPECT_ASSERTION(ToLower(nullptr), "Text!=NULL");
}

TEST(Capitalize, StartsEveryWordWithACapital) {
    EXPECT_EQ(Apply(Capitalize, "the sword of the king"), "The Sword Of The King");
    EXPECT_EQ(Apply(Capitalize, "2nd"), "2Nd");
    EXPECT_EQ(Apply(Capitalize, "o'neil mary-jane"), "O'Neil Mary-Jane");
    EXPECT_EQ(Apply(Capitalize, "\xE4pfel"), "\xC4pfel");               // äpfel -> Äpfel
    EXPECT_EQ(Apply(Capitalize, "m\xFCller \xF6l"), "M\xFCller \xD6l");  // ü inside a word stays
    EXPECT_EQ(Apply(Capitalize, "\xDF" "a stra\xDF" "e"), "\xDF" "a Stra\xDF" "e");  // ß is never changed
    // Other letters stay as they are; the rest of a word is not lowered.
    EXPECT_EQ(Apply(Capitalize, "mcDONALD"), "McDONALD");
    // é is no word letter here: it is left alone and starts a new word.
    EXPECT_EQ(Apply(Capitalize, "caf\xE9 \xE9t\xE9x"), "Caf\xE9 \xE9T\xE9X");
    EXPECT_EQ(Apply(Capitalize, ""), "");
}

TEST(CompareNoCase, FoldsBothSidesAndOrdersByByte) {
    EXPECT_EQ(CompareNoCase("M\xDCLLER", "m\xFCller"), 0);  // MÜLLER / müller
    EXPECT_EQ(CompareNoCase("abc", "ABD"), -1);
    EXPECT_EQ(CompareNoCase("abd", "ABC"), 1);
    EXPECT_EQ(CompareNoCase("abc", "abcd"), -1);
    EXPECT_EQ(CompareNoCase("abcd", "abc"), 1);
    EXPECT_EQ(CompareNoCase("", ""), 0);
    // Bytes compare unsigned: ä (228) sorts after z.
    EXPECT_EQ(CompareNoCase("\xE4", "z"), 1);
    EXPECT_EQ(CompareNoCase("z", "\xC4"), -1);
}

TEST(CompareNoCase, CountLimitsTheComparison) {
    EXPECT_EQ(CompareNoCase("Hello there", "HELLO world", 6), 0);
    EXPECT_EQ(CompareNoCase("Hello there", "HELLO world", 7), -1);
    EXPECT_EQ(CompareNoCase("abc", "xyz", 0), 0);
    EXPECT_EQ(CompareNoCase("abc", "abc", 100), 0);  // stops at the terminator
    EXPECT_EQ(CompareNoCase("abc", "abcX", 3), 0);
    EXPECT_EQ(CompareNoCase("abc", "abcX", 4), -1);
    EXPECT_EQ(CompareNoCase("abc", "abcX", -1), -1);
}

TEST(CompareNoCase, NullTextsAreAssertions) {
    EXPECT_ASSERTION(CompareNoCase(nullptr, "a"), "s1!=NULL");
    EXPECT_ASSERTION(CompareNoCase("a", nullptr), "s2!=NULL");
}

TEST(CopyText, TruncatesAndAlwaysTerminates) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    CopyText(buffer, "Hello world", 6);
    EXPECT_STREQ(buffer, "Hello");
    EXPECT_EQ(buffer[6], 'x');  // nothing written past Size
    CopyText(buffer, "Hi", 8);
    EXPECT_STREQ(buffer, "Hi");
    CopyText(buffer, "abcdefg", 8);
    EXPECT_STREQ(buffer, "abcdefg");
    CopyText(buffer, "abc", 1);
    EXPECT_STREQ(buffer, "");
    EXPECT_ASSERTION(CopyText(buffer, nullptr, 8), "Source!=NULL");
    EXPECT_ASSERTION(CopyText(nullptr, "a", 8), "Destination!=NULL");
}

TEST(FindChar, FirstAndLastOccurrence) {
    const char* text = "a,b,c";
    EXPECT_EQ(FindChar(text, ','), text + 1);
    EXPECT_EQ(FindLastChar(text, ','), text + 3);
    EXPECT_EQ(FindChar(text, ';'), nullptr);
    EXPECT_EQ(FindLastChar(text, ';'), nullptr);
    EXPECT_EQ(FindChar(text, '\0'), nullptr);
    const char* high = "x\xE4y\xE4";
    EXPECT_EQ(FindChar(high, '\xE4'), high + 1);
    EXPECT_EQ(FindLastChar(high, '\xE4'), high + 3);
}

TEST(Trim, RemovesOuterWhiteSpaceOnly) {
    char buffer[64];
    Trim(buffer, " \t\n\v\f\r Hello  world \r\n\t ");
    EXPECT_STREQ(buffer, "Hello  world");
    Trim(buffer, " \t \r\n");
    EXPECT_STREQ(buffer, "");
    Trim(buffer, "");
    EXPECT_STREQ(buffer, "");
    Trim(buffer, "x");
    EXPECT_STREQ(buffer, "x");
    // Bytes above 127 (here non-breaking space 160 and ÿ 255) are no white space.
    Trim(buffer, "\xA0" "a\xFF");
    EXPECT_STREQ(buffer, "\xA0" "a\xFF");
    char inPlace[] = "   moved left  ";
    Trim(inPlace, inPlace);
    EXPECT_STREQ(inPlace, "moved left");
    EXPECT_ASSERTION(Trim(buffer, nullptr), "Source!=NULL");
    EXPECT_ASSERTION(Trim(nullptr, "a"), "Destination!=NULL");
}

std::string Shortened(std::string text, int length, bool expectCut) {
    text.reserve(text.size() + 4);
    bool cut = Shorten(text.data(), length);
    EXPECT_EQ(cut, expectCut) << text << " to " << length;
    return text.c_str();
}

TEST(Shorten, CutsToExactlyTheLengthWithThreeFullStops) {
    EXPECT_EQ(Shortened("abcdefghijklmnopqrs", 10, true), "abcdefg...");  // 19 characters
    EXPECT_EQ(Shortened("abcdefghij", 10, false), "abcdefghij");
    EXPECT_EQ(Shortened("abcdefghijk", 10, true), "abcdefg...");
    EXPECT_EQ(Shortened("abcd", 3, true), "...");
    EXPECT_EQ(Shortened("abcd", 4, false), "abcd");
    EXPECT_EQ(Shortened("abcde", 4, true), "a...");
}

TEST(Shorten, TwoOrLessGivesOnlyFullStops) {
    EXPECT_EQ(Shortened("abcdef", 2, true), "...");
    EXPECT_EQ(Shortened("abcdef", 0, true), "...");
    EXPECT_EQ(Shortened("ab", 1, true), "..");
    EXPECT_EQ(Shortened("a", 0, true), ".");
    EXPECT_EQ(Shortened("ab", 2, false), "ab");
    EXPECT_EQ(Shortened("", 0, false), "");
}

TEST(FormatNumber, CommasBetweenGroupsOfThree) {
    EXPECT_EQ(FormatNumber(0), "0");
    EXPECT_EQ(FormatNumber(7), "7");
    EXPECT_EQ(FormatNumber(999), "999");
    EXPECT_EQ(FormatNumber(1000), "1,000");
    EXPECT_EQ(FormatNumber(100000), "100,000");
    EXPECT_EQ(FormatNumber(999999), "999,999");
    EXPECT_EQ(FormatNumber(1000000), "1,000,000");
    EXPECT_EQ(FormatNumber(1234567), "1,234,567");
    EXPECT_EQ(FormatNumber(INT_MAX), "2,147,483,647");
    char buffer[FORMAT_NUMBER_LENGTH];
    EXPECT_EQ(FormatNumber(1000, buffer), buffer);
    EXPECT_STREQ(buffer, "1,000");
    EXPECT_ASSERTION(FormatNumber(-1, buffer), "Number>=0");
}

struct Rgb {
    int R, G, B;
    bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Rgb& c) { return os << c.R << "," << c.G << "," << c.B; }

Rgb Hsi(double h, double s, double i) {
    Rgb c{-1, -1, -1};
    HsiToRgb(h, s, i, c.R, c.G, c.B);
    return c;
}

Rgb Outfit(int index) {
    Rgb c{-1, -1, -1};
    GetOutfitColor(index, c.R, c.G, c.B);
    return c;
}

TEST(HsiToRgb, BlackGreyAndHueSectors) {
    EXPECT_EQ(Hsi(0.3, 1, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(Hsi(0.3, 0, 0.5), (Rgb{127, 127, 127}));
    EXPECT_EQ(Hsi(0.3, 0, 1), (Rgb{255, 255, 255}));
    // Full saturation at the start of each sixth.
    EXPECT_EQ(Hsi(0, 1, 1), (Rgb{255, 0, 0}));
    EXPECT_EQ(Hsi(1.0 / 6, 1, 1), (Rgb{255, 255, 0}));
    EXPECT_EQ(Hsi(1.0 / 3, 1, 1), (Rgb{0, 255, 0}));
    EXPECT_EQ(Hsi(0.5, 1, 1), (Rgb{0, 255, 255}));
    EXPECT_EQ(Hsi(2.0 / 3, 1, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(Hsi(5.0 / 6, 1, 1), (Rgb{255, 0, 255}));
    EXPECT_EQ(Hsi(1, 1, 1), (Rgb{255, 0, 0}));
    // Halfway through a sixth, with m = 0.25 and d = 0.25 at half saturation.
    EXPECT_EQ(Hsi(1.0 / 12, 0.5, 0.5), (Rgb{127, 95, 63}));
    EXPECT_EQ(Hsi(0.75, 0.5, 0.5), (Rgb{95, 63, 127}));
}

TEST(GetOutfitColor, PaletteCorners) {
    EXPECT_EQ(Outfit(0), (Rgb{255, 255, 255}));
    EXPECT_EQ(Outfit(19), (Rgb{218, 218, 218}));
    EXPECT_EQ(Outfit(114), (Rgb{36, 36, 36}));
    EXPECT_EQ(Outfit(132), (Rgb{127, 0, 0}));
    EXPECT_EQ(Outfit(18), (Rgb{255, 191, 191}));   // row 0: light red
    EXPECT_EQ(Outfit(76 + 6), (Rgb{0, 255, 0}));   // row 4, hue 1/3: pure green
    EXPECT_EQ(Outfit(76 + 7), (Rgb{0, 255, 85}));  // 6 * (7/18 - 1/3) * 255 is exactly 85
    EXPECT_EQ(Outfit(57 + 1), (Rgb{191, 106, 63}));
}

TEST(GetCubeColor, StepsOf51AndClampedIndexes) {
    auto Cube = [](int index) {
        Rgb c{-1, -1, -1};
        GetCubeColor(index, c.R, c.G, c.B);
        return c;
    };
    EXPECT_EQ(Cube(0), (Rgb{0, 0, 0}));
    EXPECT_EQ(Cube(215), (Rgb{255, 255, 255}));
    EXPECT_EQ(Cube(180), (Rgb{255, 0, 0}));
    EXPECT_EQ(Cube(36 + 12 + 5), (Rgb{51, 102, 255}));
    EXPECT_EQ(Cube(216), Cube(215));
    EXPECT_EQ(Cube(-3), Cube(0));
}

TEST(GetOutfitColor, OutsideThePaletteIsIndexZero) {
    EXPECT_EQ(Outfit(133), Outfit(0));
    EXPECT_EQ(Outfit(255), Outfit(0));
    EXPECT_EQ(Outfit(-1), Outfit(0));
    EXPECT_NE(Outfit(131), Outfit(0));
}

}  // namespace
