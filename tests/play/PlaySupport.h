// The whole client in the game on the reference server, started as its own
// process with a state folder of the test's own: characters can be placed
// before the server starts and the time of day chosen.
#pragma once

#include "../dialogs/ServerClientTest.h"
#include "graphics/MapView.h"
#include "gui/windows/MapWindow.h"
#include "world/Creatures.h"
#include "world/Map.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

class PlayTest : public ServerClientTest {
  protected:
    // The demo accounts exist after a first start; a character is then put
    // where the test wants it, and the server started again.
    bool PlaceCharacter(const char* Name, int x, int y, int z) {
        if (!StartServer()) return false;
        Server.reset();
        std::string Lower = Name;
        for (char& c : Lower) c = char(std::tolower(static_cast<unsigned char>(c)));
        const auto File = StateDir() / "characters" / (Lower + ".txt");
        std::ifstream In(File);
        if (!In) return false;
        std::stringstream Text;
        std::string Line;
        while (std::getline(In, Line))
            if (Line.rfind("Position", 0) != 0) Text << Line << "\n";
        In.close();
        Text << "PositionX = " << x << "\nPositionY = " << y << "\nPositionZ = " << z << "\n";
        std::ofstream(File) << Text.str();
        return true;
    }

    // The server's day runs with the clock: a day length is chosen so that
    // the present moment lies at the given phase (0 midnight, 0.5 noon).
    void SetTimeOfDay(double Phase) {
        const double Now = double(std::time(nullptr));
        const double Length = 800000;  // the server takes at most 864000
        const double Days = std::floor(Now / Length - Phase);
        const long long Chosen = std::llround(Now / (Days + Phase));
        std::filesystem::create_directories(StateDir());
        std::ofstream(StateDir() / "server.txt") << "DayLengthSeconds = " << Chosen << "\n";
    }

    // A window whose map view is exactly 15 x 11 fields; returns once a frame
    // of that size has been shown.
    static bool UseFullSizeMap() {
        platform::Event e;
        e.Kind = platform::EventKind::Resize;
        e.Width = 480 + SkinProperties().GameView.ColumnWidth;
        e.Height = 352 + SkinProperties().GameView.StripHeight + SkinProperties().GameView.ConsoleHeight;
        Inject(e);
        return PumpUntil([&] {
            int w = 0, h = 0;
            platform::headless::LastFrame(w, h);
            return w == e.Width && h == e.Height && Map()->getWidth() >= 480 && Map()->getHeight() >= 352;
        });
    }

    // From the start view into the game through the dialogs, as a player.
    bool EnterGameAs(const char* Account, const char* Name) {
        ClickOn(GetMainWindow()->getStartView()->getButton(0));
        Type(Account);
        Press(platform::Key::Tab);
        Type("demo");
        Press(platform::Key::Return);
        if (!PumpUntil([] { return ModalCaption() == "Message of the Day" || ModalCaption() == "Select Character"; }))
            return false;
        if (ModalCaption() == "Message of the Day") Press(platform::Key::Return);
        return ChooseCharacter(Name) && PumpUntil([] { return GetModalWindow() == nullptr; });
    }

    // In the character list: the character's line, then Ok; true once the
    // character is in the game (a message box may greet him).
    bool ChooseCharacter(const char* Name) {
        if (!PumpUntil([] { return ModalCaption() == "Select Character"; })) return false;
        auto* body = Body<CharacterListBody>();
        if (body == nullptr) return false;
        ListBox* list = body->getList();
        const std::string Prefix = std::string(Name) + " (";
        int line = -1;
        for (int i = 0; i < list->getLines(); ++i)
            if (list->getLine(i).rfind(Prefix, 0) == 0) line = i;
        if (line < 0) return false;
        int lx = 0, ly = 0;
        list->getAbsolutePosition(lx, ly);
        const int lineHeight = SkinProperties().ListBox.LineHeight;
        Click(lx + 20, ly + SkinProperties().ListBox.Margin + line * lineHeight + lineHeight / 2);
        ClickOn(Modal()->getDefaultButton());
        return PumpUntil([] { return GetConnectionState() == STATE_GAME && FindCreature(GetPlayerID()) != nullptr; });
    }

    // The window is resized as a player drags its frame; true once a frame
    // of that size has been shown.
    static bool Resize(int Width, int Height) {
        platform::Event e;
        e.Kind = platform::EventKind::Resize;
        e.Width = Width;
        e.Height = Height;
        Inject(e);
        // The frames are the interface's own size, the window's divided by
        // the scale.
        return PumpUntil([&] {
            int w = 0, h = 0;
            platform::headless::LastFrame(w, h);
            return w * frame::GetScale() == Width && h * frame::GetScale() == Height &&
                   GetMainWindow()->getWidth() == w && GetMainWindow()->getHeight() == h;
        });
    }
    static int Scale() { return frame::GetScale(); }
    // A click on the middle of a component, in the window's own pixels.
    static void ClickScaled(const Component* C) {
        ASSERT_NE(C, nullptr);
        int x = 0, y = 0;
        C->getAbsolutePosition(x, y);
        Click((x + C->getWidth() / 2) * Scale(), (y + C->getHeight() / 2) * Scale());
    }

    static MapWindow* Map() { return GetMainWindow()->getGameView()->getMapWindow(); }

    // A key of the cursor block pressed while a modifier (Ctrl, Alt) is held.
    static void PressWith(platform::Key Modifier, platform::Key Key) {
        platform::Event e;
        e.Kind = platform::EventKind::KeyDown;
        e.KeyCode = Modifier;
        Inject(e);
        e.KeyCode = Key;
        e.Extended = true;
        Inject(e);
        e.Kind = platform::EventKind::KeyUp;
        Inject(e);
        e.KeyCode = Modifier;
        Inject(e);
        frame::Pump();
    }

    static void PlayerPosition(int& x, int& y, int& z) { GetMapPosition(x, y, z); }

    // Walks to the field (x, y) of the player's floor as a player does, by
    // clicks in the map view: a far field in legs of what is in sight, a leg
    // that ends on a tree or a creature at a free field beside it; a walk
    // that a creature in the way stops is clicked again. True once the
    // character stands there.
    bool WalkTo(int x, int y) {
        static const int Beside[][2] = {{0, 0}, {-1, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
        for (int Try = 0; Try < 12; ++Try) {
            int px, py, pz;
            PlayerPosition(px, py, pz);
            if (px == x && py == y) return true;
            if (GetMainWindow()->getGameView() == nullptr || Map() == nullptr) return false;
            const int dx = std::clamp(x - px, -6, 6), dy = std::clamp(y - py, -4, 4);
            const bool Last = dx == x - px && dy == y - py;
            int tx = px + dx, ty = py + dy;
            for (const auto& B : Beside) {
                if (Last && (B[0] != 0 || B[1] != 0)) break;  // the goal itself, or nothing
                tx = px + dx + B[0];
                ty = py + dy + B[1];
                int mx = 0, my = 0, wx = 0, wy = 0;
                Map()->getAbsolutePosition(mx, my);
                MapPictureToWindow((7 + tx - px) * 32 + 16, (5 + ty - py) * 32 + 16, Map()->getWidth(), Map()->getHeight(), wx, wy);
                Click(mx + wx, my + wy);
                if (GetNumberOfPlayerSteps() > 0) break;
            }
            // No path at all (a creature on the goal): a moment, and again.
            const int Wait = GetNumberOfPlayerSteps() > 0 ? 20000 : 1000;
            PumpUntil(
                [&] {
                    int nx, ny, nz;
                    PlayerPosition(nx, ny, nz);
                    const Creature* Me = FindCreature(GetPlayerID());
                    return nx == tx && ny == ty && Me != nullptr && !Me->Walking;
                },
                Wait);
        }
        return false;
    }

    // Lets the frames run for a while with the real clock, for a picture
    // that shows some movement; nothing is checked on the strength of it.
    static void Run(int Milliseconds) {
        const uint32_t End = platform::Milliseconds() + uint32_t(Milliseconds);
        while (int32_t(End - platform::Milliseconds()) > 0) {
            frame::Pump();
            platform::Sleep(5);
        }
    }
};

// Holds the client's clock still while the network and the frames go on, so
// that a short animation (an arrow's flight, a rising number) waits for the
// test however slowly a loaded machine runs it; Advance moves it by hand.
class HeldClock {
  public:
    HeldClock() : Limit(GetFramerateLimit()) {
        Now = platform::Milliseconds();
        platform::SetClockOverride([] { return Now; });
        // The frame limiter would wait for a clock that does not move, and
        // its due time would run ahead of the real clock given back later.
        SetFramerateLimit(UNLIMITED_FRAMERATE);
        SetFrameSleep([](int) {});
    }
    ~HeldClock() {
        platform::SetClockOverride({});
        SetFrameSleep(nullptr);
        SetFramerateLimit(Limit);
        frame::RestartTimer();
    }
    HeldClock(const HeldClock&) = delete;
    HeldClock& operator=(const HeldClock&) = delete;
    // Moves the clock on and shows a frame for each step of at most one timer
    // interval, so that every tick due in between fires.
    static void Advance(int Milliseconds) {
        while (Milliseconds > 0) {
            const int Step = std::min(Milliseconds, int(frame::TIMER_INTERVAL));
            Now += uint32_t(Step);
            Milliseconds -= Step;
            frame::Pump();
        }
    }

  private:
    static inline uint32_t Now = 0;
    int Limit;
};
