#include "gui/framework/SkinProperties.h"

#include <cstring>

namespace {

SkinPropertyTable Table;

}  // namespace

const SkinPropertyTable& SkinProperties() { return Table; }

void ExitSkinProperties() { std::memset(&Table, 0, sizeof Table); }

void InitSkinProperties() {
    ExitSkinProperties();
    SkinPropertyTable& P = Table;

    P.Buttons.Texture = {2, 2};
    P.Buttons.BlinkPeriod = 100;
    P.Buttons.Font = 2;
    P.Buttons.Text = {224, 224, 224};
    P.Buttons.DisabledText = {128, 128, 128};
    P.Buttons.PressedOffset = {1, 1};
    P.Buttons.TextUp = 16;
    P.Buttons.TextDown = 17;

    P.CheckBox.Item = {6, 5};
    P.CheckBox.Top = 142;
    P.CheckBox.Left = 143;
    P.CheckBox.Bottom = 144;
    P.CheckBox.Right = 145;
    P.CheckBox.Ticked = 146;
    P.CheckBox.Empty = 147;
    // The caption starts right of the tick box (6 + 12 + 6).
    P.CheckBox.MarginLeft = 24;
    P.CheckBox.MarginTop = 4;
    P.CheckBox.MarginRight = 6;
    P.CheckBox.MarginBottom = 4;
    P.CheckBox.Font = 2;
    P.CheckBox.Text = {224, 224, 224};
    P.CheckBox.DisabledText = {128, 128, 128};

    P.Label.Font = 2;
    P.Label.Text = {224, 224, 224};

    P.Markup.Font = 2;
    P.Markup.Normal = {224, 224, 224};
    P.Markup.Bold = {255, 128, 128};
    P.Markup.Highlight = {224, 224, 0};

    P.EditField.Top = 8;
    P.EditField.Left = 9;
    P.EditField.Bottom = 10;
    P.EditField.Right = 11;
    P.EditField.Font = 2;
    P.EditField.Margin = 3;
    P.EditField.Border = 1;
    P.EditField.DefaultWidth = 100;
    P.EditField.CursorWidth = 1;
    P.EditField.Background = {40, 34, 30};
    P.EditField.Text = {224, 224, 224};
    P.EditField.Selection = {96, 80, 56};
    P.EditField.SelectedText = {255, 255, 255};
    P.EditField.Cursor = {224, 224, 224};
    P.EditField.InactiveBackground = {70, 64, 58};

    P.TextField.DefaultWidth = 200;
    P.TextField.DefaultHeight = 100;

    P.ListBox.Font = 2;
    P.ListBox.Margin = 2;
    P.ListBox.LineHeight = 14;
    P.ListBox.Border = 1;
    P.ListBox.TextIndent = 1;
    P.ListBox.RenameRaise = 2;
    P.ListBox.DefaultWidth = 150;
    P.ListBox.DefaultHeight = 100;
    P.ListBox.Background = {40, 34, 30};
    P.ListBox.Text = {192, 192, 192};
    P.ListBox.Selection = {112, 96, 64};
    P.ListBox.SelectedText = {255, 255, 255};

    P.ScrollBar.Thickness = 12;
    P.ScrollBar.DefaultLength = 100;
    P.ScrollBar.UpArrowUp = 153;
    P.ScrollBar.UpArrowDown = 154;
    P.ScrollBar.DownArrowUp = 155;
    P.ScrollBar.DownArrowDown = 156;
    P.ScrollBar.LeftArrowUp = 161;
    P.ScrollBar.LeftArrowDown = 162;
    P.ScrollBar.RightArrowUp = 163;
    P.ScrollBar.RightArrowDown = 164;
    P.ScrollBar.Track = 157;
    P.ScrollBar.KnobStart = 158;
    P.ScrollBar.KnobMiddle = 159;
    P.ScrollBar.KnobEnd = 160;

    P.WindowFrame.TopLeft = 22;
    P.WindowFrame.Top = 28;
    P.WindowFrame.TopRight = 23;
    P.WindowFrame.Left = 26;
    P.WindowFrame.Right = 27;
    P.WindowFrame.BottomLeft = 24;
    P.WindowFrame.Bottom = 29;
    P.WindowFrame.BottomRight = 25;
    P.WindowFrame.Centre = 0;
    P.WindowFrame.Margin = 0;

    P.Resizer.Grip = 38;

    P.ObjectPicture.Frame = 98;
    P.ObjectPicture.FrameMargin = 1;

    P.ProgressBar.FrameLeft = 252;
    P.ProgressBar.FrameMiddle = 253;
    P.ProgressBar.FrameRight = 254;
    P.ProgressBar.FillStart = 255;
    P.ProgressBar.FillMiddle = 256;
    P.ProgressBar.FillEnd = 257;

    P.LinkRow.Font = 2;
    P.LinkRow.Text = {224, 224, 224};
    P.LinkRow.Gap = 8;

    P.Tooltip.Font = 1;
    P.Tooltip.Margin = 3;
    P.Tooltip.OutlineWidth = 1;
    P.Tooltip.ScreenMargin = 1;
    P.Tooltip.Background = {232, 224, 192};
    P.Tooltip.Outline = {40, 32, 24};
    P.Tooltip.Text = {24, 20, 16};

    P.Diagnostics.Font = 1;
    P.Diagnostics.Origin = {2, 2};
    P.Diagnostics.Text = {255, 255, 255};

    P.Dialog.TopLeft = 39;
    P.Dialog.TopRight = 40;
    P.Dialog.BottomLeft = 41;
    P.Dialog.BottomRight = 42;
    P.Dialog.Left = 43;
    P.Dialog.Right = 44;
    P.Dialog.Title = 45;
    P.Dialog.Bottom = 46;
    P.Dialog.Inside = 47;
    P.Dialog.MarginLeft = 16;
    P.Dialog.MarginTop = 31;
    P.Dialog.MarginRight = 16;
    P.Dialog.MarginBottom = 54;
    P.Dialog.CaptionSpace = 40;
    P.Dialog.CaptionOffset = 1;
    P.Dialog.ButtonGap = 10;
    P.Dialog.ButtonBottom = 14;
    P.Dialog.SeparatorBottom = 44;
    P.Dialog.SeparatorDark = {40, 30, 24};
    P.Dialog.SeparatorLight = {140, 120, 100};

    P.MessageBox.MaxWidth = 400;
    P.MessageBox.MaxHeight = 320;

    P.LoginDialog.Width = 290;
    P.LoginDialog.FieldX = 110;
    P.LoginDialog.LabelGap = 10;
    P.LoginDialog.RowHeight = 26;
    P.LoginDialog.LinkGap = 14;
    P.LoginDialog.LinkButtonPadding = 16;

    P.CharacterList.Width = 260;
    P.CharacterList.ListHeight = 120;
    P.CharacterList.ListGap = 6;
    P.CharacterList.StatusGap = 10;
    P.CharacterList.StatusHeight = 60;

    P.ReconnectBox.MinimumWidth = 240;
    P.ReconnectBox.Gap = 8;
    P.ReconnectBox.CountdownSpace = 60;

    P.DownloadBox.MinimumWidth = 240;
    P.DownloadBox.Gap = 8;

    P.Pages.Width = 300;
    P.Pages.RowGap = 4;
    P.Pages.SectionGap = 10;
    P.Pages.ListHeight = 118;
    P.Pages.MenuLabelGap = 12;
    P.Pages.MenuRowHeight = 30;
    P.Pages.FieldLabelWidth = 110;
    P.Pages.TextWidth = 300;
    P.Pages.TextHeight = 150;

    P.OutfitDialog.PictureSize = 64;
    P.OutfitDialog.PartStep = 25;
    P.OutfitDialog.SwatchSize = 16;
    P.OutfitDialog.Gap = 10;

    P.StatusWindow.HitpointsBar = {26, 4, 90, 11};
    P.StatusWindow.ManaBar = {26, 17, 90, 11};
    P.BuddylistWindow.Logo = {2, 1};
    P.PlayerStates.NumberOfIcons = 9;

    P.SideWindow.MinimizedHeight = 20;
    P.SideWindow.ButtonTop = 2;
    P.SideWindow.ButtonRight = 4;
    P.SideWindow.ButtonGap = 2;
    P.SideWindow.CaptionFont = 1;
    P.SideWindow.CaptionLeft = 6;
    P.SideWindow.CaptionTop = 3;
    P.SideWindow.Caption = {224, 224, 224};
    P.SideWindow.DefaultBodyHeight = 120;

    P.SidePanels.Margin = 4;
    P.SidePanels.BarIconX = 10;
    P.SidePanels.ValueGap = 6;
    P.SidePanels.ValueFont = 1;
    P.SidePanels.Value = {224, 224, 224};
    P.SidePanels.StatusHeight = 32;
    P.SidePanels.ModeGap = 3;
    P.SidePanels.LineHeight = 14;
    P.SidePanels.LineFont = 1;
    P.SidePanels.LineText = {208, 200, 184};
    P.SidePanels.Target = {224, 48, 48};
    P.SidePanels.Followed = {48, 224, 48};
    P.SidePanels.BarHeight = 5;

    P.GameView.ColumnWidth = 176;
    P.GameView.StripHeight = 12;
    P.GameView.MapMinimumHeight = 176;
    P.GameView.ConsoleHeight = 120;
    P.GameView.ConsoleMinimumHeight = 60;
    P.GameView.PanelsHeight = 260;

    P.StartView.PanelMargin = 40;
    P.StartView.PanelPadding = 12;
    P.StartView.ButtonSpacing = 30;
    P.StartView.ButtonWidth = 110;
    P.StartView.CaptionPadding = 16;
    P.StartView.LogoTop = 6;
    P.StartView.Background = {28, 22, 18};

    P.MoveObjects.Width = 220;
    P.MoveObjects.Gap = 8;
    P.MoveObjects.PictureSize = 32;
}
