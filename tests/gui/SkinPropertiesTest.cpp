// The layout constants: the record is zeroed and filled by its one
// initialiser, the members that element code names have their fixed values,
// and the dialog constants agree with the skins they place.
#include "gui/framework/SkinProperties.h"
#include "gui/framework/Skins.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class SkinPropertiesTest : public testing::Test {
  protected:
    void SetUp() override {
        InitSkins();
        InitSkinProperties();
    }
    void TearDown() override {
        ExitSkinProperties();
        ExitSkins();
    }
};

TEST_F(SkinPropertiesTest, ReleaseZeroesTheWholeRecordAndInitialisationFillsItAgain) {
    static const SkinPropertyTable Zero{};
    ExitSkinProperties();
    EXPECT_EQ(std::memcmp(&SkinProperties(), &Zero, sizeof Zero), 0);
    InitSkinProperties();
    EXPECT_NE(std::memcmp(&SkinProperties(), &Zero, sizeof Zero), 0);
    EXPECT_EQ(SkinProperties().Dialog.MarginTop, 31);
}

TEST_F(SkinPropertiesTest, MembersNamedByElementCodeHaveTheirFixedValues) {
    const SkinPropertyTable& P = SkinProperties();
    EXPECT_EQ(P.Buttons.Texture.x, 2);
    EXPECT_EQ(P.Buttons.Texture.y, 2);
    EXPECT_EQ(P.Buttons.BlinkPeriod, 100);
    EXPECT_EQ(P.CheckBox.Item.x, 6);
    EXPECT_EQ(P.CheckBox.Item.y, 5);
    const SkinBox& hp = P.StatusWindow.HitpointsBar;
    const SkinBox& mana = P.StatusWindow.ManaBar;
    EXPECT_EQ((std::vector<int>{hp.x, hp.y, hp.width, hp.height}), (std::vector<int>{26, 4, 90, 11}));
    EXPECT_EQ((std::vector<int>{mana.x, mana.y, mana.width, mana.height}), (std::vector<int>{26, 17, 90, 11}));
    EXPECT_EQ(P.PlayerStates.NumberOfIcons, 9);
    // The dialog frame: corners, edges, title bar and inside.
    const auto& D = P.Dialog;
    EXPECT_EQ((std::vector<int>{D.TopLeft, D.TopRight, D.BottomLeft, D.BottomRight, D.Left, D.Right, D.Title, D.Bottom,
                                D.Inside}),
              (std::vector<int>{39, 40, 41, 42, 43, 44, 45, 46, 47}));
}

TEST_F(SkinPropertiesTest, DialogSlotsKeepTheBodySeparatorAndButtonsApart) {
    const auto& D = SkinProperties().Dialog;
    const int button = Skins[SkinProperties().Buttons.TextUp].height;
    // From the bottom edge up: the bottom frame, the buttons, the two-pixel
    // separator, then the body.
    EXPECT_GE(D.ButtonBottom, Skins[D.Bottom].height);
    EXPECT_LE(D.ButtonBottom + button, D.SeparatorBottom - 2);
    EXPECT_LT(D.SeparatorBottom, D.MarginBottom);
    // The body starts below the title bar and clear of the side frames.
    EXPECT_GE(D.MarginTop, Skins[D.Title].height);
    EXPECT_GE(D.MarginLeft, Skins[D.Left].width);
    EXPECT_GE(D.MarginRight, Skins[D.Right].width);
}

}  // namespace
