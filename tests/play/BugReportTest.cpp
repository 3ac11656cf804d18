// Bug reports on the reference server, as players send them: Mira (whose
// account may report) through the help menu's "Report Bug", Aldric through
// Ctrl+R, each report filed by the server; a blank report is not sent and
// Escape sends nothing; Kestrel, whose account has lost the right, is told
// so in the console by the key and by the menu alike, and no dialog opens.
#include "PlaySupport.h"

#include "gui/windows/ConsoleWindow.h"
#include "gui/dialogs/BugReport.h"
#include "gui/dialogs/HelpMenu.h"
#include "gui/help/Help.h"
#include "gui/windows/StatusPanels.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

class BugReportTest : public PlayTest {
  protected:
    // The texts of the bug reports the server has filed.
    std::vector<std::string> Reports() const {
        std::vector<std::string> Out;
        const auto Folder = StateDir() / "reports";
        if (!std::filesystem::exists(Folder)) return Out;
        for (const auto& F : std::filesystem::directory_iterator(Folder))
            if (F.path().filename().string().rfind("bug-", 0) == 0) Out.push_back(testing_support::ReadFile(F.path()));
        return Out;
    }
    bool Filed(const std::string& Text) const {
        for (const std::string& R : Reports())
            if (R.find(Text) != std::string::npos) return true;
        return false;
    }
    static int ConsoleLines(const std::string& Text) {
        const TextBuffer* B = GetDefaultBuffer();
        int Count = 0;
        for (int n = 0; n < B->getLines(); ++n)
            if (std::string(B->shownText(n, false)).find(Text) != std::string::npos) ++Count;
        return Count;
    }
    // "Report Bug" in the help menu, which the "Help" button opens.
    static void ReportBugFromTheHelpMenu() {
        ClickOn(GetMainWindow()->getGameView()->getHelpButton());
        ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Help"; }));
        TextButton* Entry = Body<HelpMenuBody>()->getButton(4);
        ASSERT_EQ(Entry->getText(), "Report Bug");
        ClickOn(Entry);
    }
    bool LogOut() {
        PressCtrl('q');
        if (!PumpUntil([] { return ModalCaption() == "Warning"; })) return false;
        Type("y");
        return PumpUntil([] { return GetConnectionState() == STATE_OFFLINE && ModalCaption() == "Select Character"; });
    }
};

TEST_F(BugReportTest, ThoseWhoMayReportThroughTheMenuAndTheKeyTheOthersAreTold) {
    ASSERT_TRUE(StartServer()) << (Server ? Server->Log : std::string());
    ASSERT_TRUE(EnterGameAs("100001", "Mira"));

    // The help menu's entry closes the menu and opens "Reporting".
    ReportBugFromTheHelpMenu();
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Reporting"; })) << ModalCaption();
    ASSERT_NE(Body<BugReportBody>(), nullptr);
    // Nothing written: Ok sends nothing and the dialog waits for the words.
    Type(" \r ");
    ClickOn(Modal()->getDefaultButton());
    EXPECT_EQ(ModalCaption(), "Reporting");
    for (int i = 0; i < 3; ++i) Press(platform::Key::Backspace);
    Type("The well on the square");
    Press(platform::Key::Return);  // a new line of the report, not Ok
    Type("gives no water.");
    EXPECT_EQ(ModalCaption(), "Reporting");
    Screenshot("bug-report-dialog.png");
    ClickOn(Modal()->getDefaultButton());
    EXPECT_EQ(GetModalWindow(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Filed("Text = \"The well on the square\\ngives no water.\""); })) << Server->Log;
    std::vector<std::string> Filings = Reports();
    ASSERT_EQ(Filings.size(), 1u);
    EXPECT_NE(Filings[0].find("Mira"), std::string::npos) << Filings[0];

    // Ctrl+R opens it too; Escape sends nothing.
    PressCtrl('r');
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Reporting"; })) << ModalCaption();
    Type("never sent");
    Press(platform::Key::Escape);
    EXPECT_EQ(GetModalWindow(), nullptr);

    // Aldric, of the same account, reports by the key.
    ASSERT_TRUE(LogOut());
    ASSERT_TRUE(ChooseCharacter("Aldric"));
    ASSERT_TRUE(PumpUntil([] { return GetModalWindow() == nullptr; }));
    PressCtrl('r');
    ASSERT_TRUE(PumpUntil([] { return ModalCaption() == "Reporting"; })) << ModalCaption();
    Type("A chicken walks through the fence.");
    ClickOn(Modal()->getDefaultButton());
    ASSERT_TRUE(PumpUntil([&] { return Filed("A chicken walks through the fence."); })) << Server->Log;
    EXPECT_FALSE(Filed("never sent"));
    EXPECT_EQ(Reports().size(), 2u);

    // Kestrel's account loses the right (the server stopped, its file
    // edited): the key and the menu only say so.
    ASSERT_TRUE(LogOut());
    Press(platform::Key::Escape);
    Server.reset();
    const auto Account = StateDir() / "accounts" / "100002.txt";
    std::ifstream In(Account);
    ASSERT_TRUE(In.good());
    std::stringstream Kept;
    std::string Line;
    while (std::getline(In, Line))
        if (Line.rfind("BugReports", 0) != 0) Kept << Line << "\n";
    In.close();
    std::ofstream(Account) << Kept.str();
    ASSERT_TRUE(StartServer()) << (Server ? Server->Log : std::string());
    ASSERT_TRUE(EnterGameAs("100002", "Kestrel"));
    const char* Refusal = "You are not authorised to send bug reports.";
    PressCtrl('r');
    frame::Pump();
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(ConsoleLines(Refusal), 1);
    ReportBugFromTheHelpMenu();
    ASSERT_TRUE(PumpUntil([] { return GetModalWindow() == nullptr; }));
    frame::Pump();
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(ConsoleLines(Refusal), 2);
    EXPECT_EQ(Reports().size(), 2u);
    Screenshot("bug-report-refused.png");
}

}  // namespace
