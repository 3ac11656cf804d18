// The markup language and its layout into labels and skin pictures.
#include "GuiTestSupport.h"

#include <string>

namespace {

class MarkupTest : public GuiElementTest {
  protected:
    // The pieces of a laid-out text, in order.
    struct Piece {
        std::string Text;  // empty for a skin picture
        int x, y, Font;
        SkinColour Colour;
        int Skin = 0;
    };
    static std::vector<Piece> Pieces(MarkupText& m) {
        std::vector<Piece> list;
        for (Component* c = m.getFirstChild(); c != NULL; c = c->getNextSibling()) {
            if (auto* l = dynamic_cast<Label*>(c))
                list.push_back({l->getText(), l->getX(), l->getY(), l->getFont(), l->getColour()});
            else if (auto* s = dynamic_cast<SkinPicture*>(c))
                list.push_back({"", s->getX(), s->getY(), 0, {}, s->getSkin()});
        }
        return list;
    }
    static std::vector<Piece> Layout(const char* text, int width = 400, int height = 300) {
        MarkupText m("");
        m.setSize(width, height);
        m.setText(text, true);
        return Pieces(m);
    }
    static bool Same(SkinColour a, SkinColour b) { return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue; }
};

TEST_F(MarkupTest, BoldTitleThenNormalWordOnOneLine) {
    auto p = Layout("<b>Title<n> word");
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].Text, "Title");
    EXPECT_TRUE(Same(p[0].Colour, {255, 128, 128}));
    EXPECT_EQ(p[1].Text, " word");
    EXPECT_TRUE(Same(p[1].Colour, {224, 224, 224}));
    EXPECT_EQ(p[1].y, p[0].y);
    EXPECT_EQ(p[1].x, GetTextWidth(2, "Title"));
    EXPECT_EQ(p[0].Font, 2);
}

TEST_F(MarkupTest, ColourCubeValues) {
    auto p = Layout("<color=215>a<color=36>b<color=216>c<h>d");
    ASSERT_EQ(p.size(), 4u);
    EXPECT_TRUE(Same(p[0].Colour, {255, 255, 255}));
    EXPECT_TRUE(Same(p[1].Colour, {51, 0, 0}));
    EXPECT_TRUE(Same(p[2].Colour, {51, 0, 0})) << "216 is outside the cube and ignored";
    EXPECT_TRUE(Same(p[3].Colour, {224, 224, 0}));
}

TEST_F(MarkupTest, SingleComponentsAndFont) {
    auto p = Layout("<red=10><green=20><blue=300>x<font=3>y<font=9>z");
    ASSERT_EQ(p.size(), 3u);
    EXPECT_TRUE(Same(p[0].Colour, {10, 20, 224}));
    EXPECT_EQ(p[1].Font, 3);
    EXPECT_EQ(p[2].Font, 3) << "font 9 does not exist";
}

TEST_F(MarkupTest, OutOfRangeSpacingAndLineGapHaveNoEffect) {
    auto p = Layout("a<br=60><hspace=0>b<hspace=200>c<br=50>d");
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[1].y, 0);
    EXPECT_EQ(p[1].x, GetTextWidth(2, "a"));
    EXPECT_EQ(p[2].x, p[1].x + GetTextWidth(2, "b") + 200);
    EXPECT_EQ(p[3].y, 50);
}

TEST_F(MarkupTest, IndentTakesEffectAtOnceAndZeroResetsIt) {
    auto p = Layout("<indent=46>one\ntwo<indent=0>\nthree");
    ASSERT_EQ(p.size(), 3u);
    const int line = GetFontLineHeight(2);
    EXPECT_EQ(p[0].x, 46);
    EXPECT_EQ(p[1].x, 46);
    EXPECT_EQ(p[1].y, line);
    EXPECT_EQ(p[2].x, 0);
    EXPECT_EQ(p[2].y, 2 * line);
}

TEST_F(MarkupTest, UnknownTagsAndBadValuesStayLiteral) {
    auto p = Layout("<x>a<font=3a>b<b");
    std::string all;
    for (auto& piece : p) all += piece.Text;
    EXPECT_EQ(all, "<x>a<font=3a>b<b");
    for (auto& piece : p) EXPECT_TRUE(Same(piece.Colour, {224, 224, 224}));
    // Upper and lower case are the same tag; "<font=>" has the value 0.
    MarkupTag upper, lower, empty;
    ASSERT_TRUE(ParseMarkupTag("<B>", upper));
    ASSERT_TRUE(ParseMarkupTag("<b>", lower));
    EXPECT_EQ(upper.Tag, lower.Tag);
    EXPECT_EQ(upper.Length, 3);
    ASSERT_TRUE(ParseMarkupTag("<FONT=>", empty));
    EXPECT_EQ(empty.Value, 0);
    EXPECT_FALSE(ParseMarkupTag("<font>", empty));
    EXPECT_FALSE(ParseMarkupTag("<b=1>", empty));
    EXPECT_FALSE(ParseMarkupTag("<br=5", empty));
}

TEST_F(MarkupTest, LongWordSplitsAtWidthAndEmptyLinesKeepTheirHeight) {
    const char* word = "abcdefghijklmnopqrstuvwxyz";
    int width = GetTextWidth(2, word) / 2;
    auto p = Layout(word, width);
    ASSERT_GE(p.size(), 2u);
    EXPECT_LE(GetTextWidth(2, p[0].Text.c_str()), width);
    EXPECT_EQ(p[0].Text.size() + p[1].Text.size() + (p.size() > 2 ? p[2].Text.size() : 0), 26u);
    EXPECT_EQ(p[1].y, GetFontLineHeight(2));
    EXPECT_EQ(p[1].x, 0);

    auto q = Layout("one\n\ntwo");
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[1].y, 2 * GetFontLineHeight(2));
}

TEST_F(MarkupTest, WrapsAtTheLastSpaceAndDropsIt) {
    int width = GetTextWidth(2, "alpha beta ");
    auto p = Layout("alpha beta gamma", width);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].Text, "alpha beta");
    EXPECT_EQ(p[1].Text, "gamma");
    EXPECT_EQ(p[1].x, 0);
}

TEST_F(MarkupTest, AHighlightedWordLateOnALineMovesToTheNextWhole) {
    // "ask about their <h>job<n>, ..." with room for "job" only in part: the
    // word goes to the next line, not "jo" here and "b" there.
    const int width = GetTextWidth(2, "ask about their jo");
    auto p = Layout("ask about their <h>job<n>, then bye", width);
    ASSERT_GE(p.size(), 3u);
    EXPECT_EQ(p[0].Text, "ask about their ");
    EXPECT_EQ(p[1].Text, "job");
    EXPECT_EQ(p[1].x, 0);
    EXPECT_EQ(p[1].y, GetFontLineHeight(2));
}

TEST_F(MarkupTest, SkinTagsPlacePicturesAndSkipMissingSkins) {
    auto p = Layout("a<skin=38>b<skin=148><skin=258><SKIN=0>c");
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[1].Skin, 38);
    EXPECT_EQ(p[1].x, GetTextWidth(2, "a"));
    EXPECT_EQ(p[2].x, p[1].x + 13);
    EXPECT_EQ(p[3].Text, "c");
}

TEST_F(MarkupTest, PiecesAreTrimmedToTheElement) {
    MarkupText m("");
    m.setSize(30, GetFontLineHeight(2));
    m.setText("first line\nsecond line", true);
    for (Component* c = m.getFirstChild(); c != NULL; c = c->getNextSibling()) {
        EXPECT_LE(c->getX() + c->getWidth(), 30);
        EXPECT_LE(c->getY() + c->getHeight(), m.getHeight());
    }
    // Auto-size grows to the text instead.
    MarkupText a("one\ntwo three", true, true);
    EXPECT_EQ(a.getWidth(), GetTextWidth(2, "two three"));
    EXPECT_EQ(a.getHeight(), 2 * GetFontLineHeight(2));
}

}  // namespace
