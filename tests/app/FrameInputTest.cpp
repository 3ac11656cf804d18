// Translation of platform input into key codes, flags, button and wheel events.
#include "app/FrameInput.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using frame::Input;
using frame::InputKind;
using platform::Event;
using platform::EventKind;
using platform::Key;

std::vector<Input> Received;
int Closes = 0;

class FrameInputTest : public testing::Test {
  protected:
    void SetUp() override {
        Received.clear();
        Closes = 0;
        frame::ResetInput();
        frame::SetInputScale(1);  // whatever window a test before left
        frame::SetInputHandler([](const Input& in) { Received.push_back(in); });
        frame::SetCloseHandler([] { ++Closes; });
    }
    void TearDown() override {
        frame::SetInputHandler(nullptr);
        frame::SetCloseHandler(nullptr);
    }
    static Event KeyEvent(EventKind kind, Key key, bool extended = true, int character = 0) {
        Event e;
        e.Kind = kind;
        e.KeyCode = key;
        e.Extended = extended;
        e.Character = character;
        return e;
    }
    static void Down(Key key, bool extended = true, int character = 0) {
        frame::HandleInputEvent(KeyEvent(EventKind::KeyDown, key, extended, character));
    }
    static void Up(Key key) { frame::HandleInputEvent(KeyEvent(EventKind::KeyUp, key)); }
    static void Text(int c) {
        Event e;
        e.Kind = EventKind::Text;
        e.Character = c;
        frame::HandleInputEvent(e);
    }
    static Event Pointer(EventKind kind, int button, int x, int y, int delta = 0) {
        Event e;
        e.Kind = kind;
        e.Button = button;
        e.X = x;
        e.Y = y;
        e.Delta = delta;
        return e;
    }
};

TEST_F(FrameInputTest, SpecialKeysAndBlockKeysByOrigin) {
    Down(Key::F1);
    Down(Key::F12);
    Down(Key::Up);
    Down(Key::Delete);
    Down(Key::Home, true);
    Down(Key::Home, false);
    Down(Key::End, false);
    Down(Key::PageUp, false);
    Down(Key::PageDown, false);
    Down(Key::PageDown, true);
    std::vector<int> codes;
    for (const auto& in : Received) codes.push_back(in.Code);
    EXPECT_EQ(codes, (std::vector<int>{256, 267, 268, 273, 274, 280, 278, 281, 279, 277}));
}

TEST_F(FrameInputTest, CtrlLetterArrivesAsLetterWithCtrlFlag) {
    Down(Key::Control);
    ASSERT_EQ(Received.size(), 1u);  // the modifier itself is delivered with the new flags
    EXPECT_EQ(Received[0].Code, frame::FLAG_CTRL);
    Down(Key::Character, false, 'a');
    Text(1);  // some systems also send the control character: it must not double the key
    ASSERT_EQ(Received.size(), 2u);
    EXPECT_EQ(Received[1].Kind, InputKind::Key);
    EXPECT_EQ(Received[1].Code, 'a' | frame::FLAG_CTRL);
    Up(Key::Control);
    Text('b');
    EXPECT_EQ(Received.back().Code, 'b');
    EXPECT_EQ(frame::ModifierFlags(), 0);
}

TEST_F(FrameInputTest, ReturnIsAKeyCodeOnlyWithAlt) {
    Down(Key::Return);
    ASSERT_EQ(Received.size(), 1u);
    EXPECT_EQ(Received[0].Code, 13);  // as a character
    Down(Key::Alt);
    Down(Key::Return);
    EXPECT_EQ(Received.back().Code, 13 | frame::FLAG_ALT);
}

TEST_F(FrameInputTest, F4IsSwallowedAndAltF4AsksToClose) {
    Down(Key::F4);
    EXPECT_TRUE(Received.empty());
    EXPECT_EQ(Closes, 0);
    Down(Key::Alt);
    Down(Key::F4);
    EXPECT_EQ(Closes, 1);
    EXPECT_EQ(Received.size(), 1u);  // only the Alt key itself
}

TEST_F(FrameInputTest, ActivationClearsModifiers) {
    Down(Key::Shift);
    Down(Key::Control);
    EXPECT_EQ(frame::ModifierFlags(), frame::FLAG_SHIFT | frame::FLAG_CTRL);
    Event e;
    e.Kind = EventKind::Activate;
    frame::HandleInputEvent(e);
    EXPECT_EQ(frame::ModifierFlags(), 0);
}

TEST_F(FrameInputTest, WheelKeepsItsRemainder) {
    frame::HandleInputEvent(Pointer(EventKind::PointerMove, 0, 40, 50));
    Received.clear();
    frame::HandleInputEvent(Pointer(EventKind::Wheel, 0, 0, 0, 60));
    EXPECT_TRUE(Received.empty());
    frame::HandleInputEvent(Pointer(EventKind::Wheel, 0, 0, 0, 60));
    ASSERT_EQ(Received.size(), 1u);
    EXPECT_EQ(Received[0].Code, 1);
    EXPECT_EQ(Received[0].X, 40);
    EXPECT_EQ(Received[0].Y, 50);
    frame::HandleInputEvent(Pointer(EventKind::Wheel, 0, 0, 0, -300));
    ASSERT_EQ(Received.size(), 3u);
    EXPECT_EQ(Received[2].Code, 2);
}

TEST_F(FrameInputTest, CaptureHeldWhileAnyButtonIsDownAndLostCaptureReleasesLeftFirst) {
    frame::HandleInputEvent(Pointer(EventKind::ButtonDown, 1, 5, 5));
    frame::HandleInputEvent(Pointer(EventKind::ButtonDown, 2, 6, 6));
    EXPECT_TRUE(frame::PointerCaptured());
    frame::HandleInputEvent(Pointer(EventKind::ButtonUp, 1, 7, 7));
    EXPECT_TRUE(frame::PointerCaptured());
    frame::HandleInputEvent(Pointer(EventKind::ButtonUp, 2, 8, 8));
    EXPECT_FALSE(frame::PointerCaptured());

    Received.clear();
    frame::HandleInputEvent(Pointer(EventKind::ButtonDown, 2, 9, 9));
    frame::HandleInputEvent(Pointer(EventKind::ButtonDown, 1, 9, 9));
    Event lost;
    lost.Kind = EventKind::CaptureLost;
    frame::HandleInputEvent(lost);
    ASSERT_EQ(Received.size(), 4u);
    EXPECT_EQ(Received[2].Kind, InputKind::LeftUp);
    EXPECT_EQ(Received[3].Kind, InputKind::RightUp);
    EXPECT_FALSE(frame::PointerCaptured());
}

}  // namespace
