// vorna-tour: every dialog of the event table and every pop-up menu, one
// after the other, in a real window, in the game on a running server, at each
// window size given; for looking at them (screenshots) at the sizes a player
// may choose.
//
//   vorna-tour LOGIN-PORT WIDTHxHEIGHT...
//
// It logs in as Mira of the demo account 100001. Before the menus of a size
// it prints "POINTER <x> <y>" (where the pointer should be, in the window's
// pixels: the bottom right corner) and waits for a line on its standard
// input; for every window it prints "SHOT <event>-<width>x<height>" once the
// window is shown and waits for a line before it goes on. The edit-text
// dialog (13) needs a written thing beside Mira and is left out.
// Run it where Vorna.dat, Vorna.spr and Vorna.pic are, like the client.
#include "app/Application.h"
#include "app/Interface.h"
#include "app/MainFrame.h"
#include "config/Preferences.h"
#include "core/Status.h"
#include "gui/menus/ConsoleChannelMenu.h"
#include "gui/menus/ConsoleTextMenu.h"
#include "gui/windows/ConsoleWindow.h"
#include "gui/framework/ContextMenu.h"
#include "gui/menus/CreatureMenu.h"
#include "gui/framework/Dialogs.h"
#include "gui/dialogs/EditMarkDialog.h"
#include "gui/help/Help.h"
#include "gui/menus/AutomapMenu.h"
#include "gui/windows/MainWindow.h"
#include "gui/menus/ObjectMenu.h"
#include "gui/menus/ReportChannelMenu.h"
#include "gui/menus/VipMenu.h"
#include "gui/help/EventHints.h"
#include "net/Network.h"
#include "platform/Platform.h"
#include "world/Creatures.h"
#include "world/Map.h"
#include "world/Objects.h"
#include "world/TypeNumbers.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

bool PumpUntil(const std::function<bool()>& Condition, uint32_t TimeoutMs = 20000) {
    const uint32_t End = platform::Milliseconds() + TimeoutMs;
    while (!Condition()) {
        if (int32_t(End - platform::Milliseconds()) < 0 || !frame::Pump()) return false;
        platform::Sleep(5);
    }
    return true;
}
void Settle() {
    for (int i = 0; i < 10; ++i) {
        frame::Pump();
        platform::Sleep(20);
    }
}
std::string Caption() {
    const auto* D = dynamic_cast<const Dialog*>(GetModalWindow());
    return D != nullptr ? D->getCaption() : "";
}
void Wait(const std::string& Line) {
    std::cout << Line << std::endl;
    std::string Answer;
    std::getline(std::cin, Answer);
}
void Dismiss() {
    SetInputMode(INPUT_IDLE);
    frame::Pump();
    ClearEvents();
}

bool EnterGame(int Port) {
    SetTestServer(false);
    for (int i = 0; i < NUMBEROFSERVER; ++i) SetLoginServer(i, "127.0.0.1", Port);
    SetAccountNumber(100001);
    SetPassword("demo");
    PostEvent(MESSAGE_CONNECTLOGIN, 0, 0);
    PostEvent(MESSAGE_CONNECTING_LIST, 0, 0);
    if (!PumpUntil([] { return Caption() == "Message of the Day" || Caption() == "Select Character"; })) return false;
    if (Caption() == "Message of the Day") SetInputMode(INPUT_IDLE);  // the list waits behind it
    if (!PumpUntil([] { return Caption() == "Select Character"; })) return false;
    auto* Body = dynamic_cast<CharacterListBody*>(dynamic_cast<Dialog*>(GetModalWindow())->getBody());
    for (int i = 0; i < Body->getList()->getLines(); ++i)
        if (Body->getList()->getLine(i).rfind("Mira (", 0) == 0) Body->getList()->select(i);
    GetModalWindow()->keyPress(13);
    return PumpUntil([] { return GetConnectionState() == STATE_GAME && GetModalWindow() == nullptr; });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vorna-tour LOGIN-PORT WIDTHxHEIGHT...\n");
        return 2;
    }
    const int Port = std::atoi(argv[1]);
    char Name[] = "vorna-tour";
    char* Arguments[] = {Name, nullptr};
    if (!app::StartApplication(1, Arguments)) return 1;
    SetShowNewHints(false);
    if (!EnterGame(Port)) {
        std::fprintf(stderr, "vorna-tour: could not enter the game\n");
        app::EndApplication();
        return 1;
    }
    const uint32_t Me = GetPlayerID();
    UpdateBuddy(4242, "Kestrel", true);
    std::string Long;
    for (int i = 1; i <= 40; ++i) Long += "Line " + std::to_string(i) + " of a message of the day that goes on.\n";
    Long += "The last line.";
    const char* Warning =
        "If you shut down the program, your character might stay in the game.\nClick on \"Logout\" to ensure that "
        "your character leaves the game properly.\nClick on \"Exit\" if you want to exit the program without "
        "logging out your character.";
    std::vector<std::pair<int, std::function<void()>>> Windows = {
        {1, [] { PostTextEvent(1, "Connection failed", "Cannot connect to a login server.\n\nError: 10061"); }},
        {2, [] { PostTextEvent(2, "First Login", eventHintText(1)); }},
        {3, [] { PostEvent(3, 0, 0); }},
        {4, [] { PostEvent(4, 0, 0); }},
        {5, [] { PostEvent(5, NewEventText("Too many players online.\nYou are at place 12 on the waiting list."), 40); }},
        {6, [] { PostQuestion("Warning", "Are you sure you want to leave Vorna?", GetMainWindow(), 506, 2); }},
        {7, [&] { PostTextEvent(7, "Warning", Warning); }},
    };
    for (int Type : {8, 9, 10, 14, 15, 17, 20, 21, 22, 24, 28, 29, 30, 31, 32, 33, 34, 35, 36})
        Windows.push_back({Type, [Type] { PostEvent(Type, 0, 0); }});
    Windows.push_back({11, [] { PostTextEvent(11, "Link copy warning", nullptr); }});
    Windows.push_back({12, [] {
                           MoveRecord Move;
                           Move.From = MapLocation(1000, 1001, 7);
                           Move.Type = TYPE_GOLD_COIN;
                           Move.Stack = 1;
                           Move.Data = 50;
                           Move.x = 1001, Move.y = 1001, Move.z = 7;
                           PostMoveObjects(Move);
                       }});
    for (int Type : {18, 19, 25}) Windows.push_back({Type, [Type] { PostNameEvent(Type, "Kestrel"); }});
    Windows.push_back({23, [] { PostEvent(23, 4242, 0); }});
    for (int Type : {26, 27})
        Windows.push_back({Type, [Type] { PostEditMark(Type, Coordinate{1000, 1000, 7}, AutomapMark{}); }});
    Windows.push_back({37, [&] {
                           SetMessageOfTheDay(Long.c_str());
                           PostEvent(37, 0, 0);
                       }});
    Windows.push_back({38, [] { PostTextEvent(38, "Vorna.spr", nullptr); }});
    TextField Field(100, false);
    Field.setSize(100, 40);
    const std::vector<std::pair<int, std::function<void()>>> Menus = {
        {47, [&] {
             int x, y, z;
             GetMapPosition(x, y, z);
             ObjectMenuRecord R;
             R.Looked = MapLocation(x, y, z);
             R.LookedType = CREATURE;
             R.LookedData = Me;
             R.CreatureID = Me;
             PostObjectMenu(R);
         }},
        {48, [&] { PostCreatureMenu(Me); }},
        {49, [] { PostVipMenu(4242); }},
        {50, [] {
             ConsoleTextRecord R;
             R.Window = GetMainWindow()->getGameView()->getConsole();
             R.HasLine = true;
             R.Speaker = "Kestrel";
             R.Message = "Hello";
             R.Selected = "Hello";
             PostConsoleTextMenu(R);
         }},
        {51, [] { PostConsoleChannelMenu(GetDefaultBuffer()); }},
        {52, [] { PostReportChannelMenu(ReportRecord{"Kestrel", "Help me"}); }},
        {53, [&] { Field.rightButtonUp(5, 5, 0); }},
        {54, [] { PostAutomapMenu(AutomapSpot{1000, 1000, 7, AutomapMark{}}); }},
        {55, [] { PostEvent(55, 0, 0); }},
    };

    for (int i = 2; i < argc; ++i) {
        int Width = 0, Height = 0;
        if (std::sscanf(argv[i], "%dx%d", &Width, &Height) != 2) continue;
        platform::SetClientSize(Width, Height);
        frame::UpdateScale();
        PumpUntil([&] { return GetMainWindow()->getWidth() * frame::GetScale() == Width; }, 5000);
        Settle();
        const std::string Size = "-" + std::to_string(Width) + "x" + std::to_string(Height);
        for (const auto& [Type, Post] : Windows) {
            Post();
            if (PumpUntil([] { return GetModalWindow() != nullptr; }, 5000)) {
                Settle();
                Wait("SHOT " + std::to_string(Type) + Size);
            }
            Dismiss();
        }
        Wait("POINTER " + std::to_string(Width - 6) + " " + std::to_string(Height - 6));
        Settle();
        for (const auto& [Type, Post] : Menus) {
            Post();
            if (PumpUntil([] { return GetModalWindow() != nullptr; }, 5000)) {
                Settle();
                Wait("SHOT " + std::to_string(Type) + Size);
            }
            Dismiss();
        }
    }
    app::EndApplication();
    return 0;
}
