// Page switching, the notification-area icon and the language fan-out, against a host that
// records what the main window would do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/texts.h"
#include "app/start_options.h"
#include "app/window_protocol.h"

using namespace quorelle;

namespace {

class RecordingHost : public WindowHost {
  public:
    std::vector<std::string> calls;
    void ShowMainWindow() override { calls.push_back("show main"); }
    void HideMainWindow() override { calls.push_back("hide main"); }
    void ShowPageAtMainWindow(int p) override { calls.push_back("show page " + std::to_string(p)); }
    void ShowWindowOf(int p) override { calls.push_back("show " + std::to_string(p)); }
    void HideWindowOf(int p) override { calls.push_back("hide " + std::to_string(p)); }
    void EndRun(bool ok) override { calls.push_back(ok ? "end ok" : "end cancel"); }
    void RemoveTrayIcon() override { calls.push_back("remove icon"); }
    void ShowTrayMenu() override { calls.push_back("menu"); }
    void StoreLanguage(int l) override { calls.push_back("store " + std::to_string(l)); }
    void SetMainTexts(int l) override { calls.push_back("texts " + std::to_string(l)); }
    void ForwardLanguage(int p, int l) override {
        calls.push_back("forward " + std::to_string(p) + " " + std::to_string(l));
    }
    std::vector<std::string> Take() { return std::exchange(calls, {}); }
};

using Calls = std::vector<std::string>;

class Protocol : public ::testing::Test {
  protected:
    RecordingHost host;
    WindowProtocol protocol{host};
};

// The target shows first, in the main window's place (the host then hides the window left), so
// that no moment passes without a window of the panel on screen.
TEST_F(Protocol, NavigationShowsThePageInTheMainWindowsPlace) {
    EXPECT_EQ(protocol.CurrentPage(), 0);
    protocol.OnNavigate(1);
    EXPECT_EQ(host.Take(), (Calls{"show page 1"}));
    EXPECT_EQ(protocol.CurrentPage(), 1);
    protocol.OnNavigate(0);
    EXPECT_EQ(host.Take(), (Calls{"show main"}));
    EXPECT_EQ(protocol.CurrentPage(), 0);
}

TEST_F(Protocol, ShowPageAnswersAndSetsTheCurrentPage) {
    for (long page : {1L, 2L, 3L, 4L}) {
        EXPECT_EQ(protocol.OnShowPage(page), 1);
        EXPECT_EQ(protocol.CurrentPage(), page);
        EXPECT_EQ(host.Take(), (Calls{"show page " + std::to_string(page)}));
    }
    EXPECT_EQ(protocol.OnShowPage(0), 1);
    EXPECT_EQ(host.Take(), (Calls{"show main"}));
    EXPECT_EQ(protocol.CurrentPage(), 0);
}

TEST_F(Protocol, ShowPageOutsideTheWindowsAnswersZeroAndChangesNothing) {
    protocol.OnNavigate(2);
    host.Take();
    for (long target : {5L, -2L, 2147483647L, -2147483647L - 1}) {
        EXPECT_EQ(protocol.OnShowPage(target), 0);
        EXPECT_EQ(protocol.CurrentPage(), 2);
    }
    EXPECT_TRUE(host.Take().empty());
    // the tray and "Quorelle DIVO" still act on the page that was on screen
    protocol.OnTrayNotify(kTrayIconId, kTrayLeftButtonDown);
    protocol.OnTrayNotify(kTrayIconId, kTrayLeftButtonDown);
    protocol.OnTrayShowCommand();
    EXPECT_EQ(host.Take(), (Calls{"show 2", "hide 2", "show 2"}));
}

TEST_F(Protocol, ShowPageMinusOneEndsTheRunAndTakesTheIconAway) {
    EXPECT_EQ(protocol.OnShowPage(-1), 1);
    EXPECT_EQ(host.Take(), (Calls{"remove icon", "end ok"}));
    EXPECT_EQ(protocol.CurrentPage(), -1);
}

TEST_F(Protocol, EveryWayOutRemovesTheIconFirst) {
    protocol.OnExitCommand();
    EXPECT_EQ(host.Take(), (Calls{"remove icon", "end ok"}));
    protocol.OnSystemClose();
    EXPECT_EQ(host.Take(), (Calls{"remove icon", "end cancel"}));
}

TEST_F(Protocol, TrayLeftClicksFlipTrayShownWhateverIsVisible) {
    // right after start the main window is visible and trayShown is false
    protocol.OnTrayNotify(kTrayIconId, kTrayLeftButtonDown);
    EXPECT_TRUE(protocol.TrayShown());
    protocol.OnTrayNotify(kTrayIconId, kTrayLeftButtonDown);
    EXPECT_FALSE(protocol.TrayShown());
    protocol.OnTrayNotify(kTrayIconId, kTrayLeftButtonDown);
    EXPECT_EQ(host.Take(), (Calls{"show 0", "hide 0", "show 0"}));
}

TEST_F(Protocol, TrayActsOnTheCurrentPage) {
    protocol.OnNavigate(4);
    host.Take();
    protocol.OnTrayNotify(kTrayIconId, kTrayLeftButtonDown);
    protocol.OnTrayNotify(kTrayIconId, kTrayLeftButtonDown);
    protocol.OnTrayShowCommand();
    EXPECT_EQ(host.Take(), (Calls{"show 4", "hide 4", "show 4"}));
    EXPECT_FALSE(protocol.TrayShown()) << "the menu command leaves trayShown alone";
}

TEST_F(Protocol, TrayIgnoresOtherIconsAndMessages) {
    EXPECT_EQ(protocol.OnTrayNotify(152, kTrayLeftButtonDown), 1);
    EXPECT_EQ(protocol.OnTrayNotify(kTrayIconId, 0x200), 1);
    EXPECT_TRUE(host.Take().empty());
    EXPECT_FALSE(protocol.TrayShown());
    protocol.OnTrayNotify(kTrayIconId, kTrayRightButtonDown);
    EXPECT_EQ(host.Take(), (Calls{"menu"}));
}

TEST_F(Protocol, CloseHidesTheMainWindowAndResetsTheCurrentPage) {
    protocol.OnNavigate(2);
    host.Take();
    protocol.OnCloseCommand();
    EXPECT_EQ(host.Take(), (Calls{"hide main"}));
    EXPECT_EQ(protocol.CurrentPage(), 0);
}

TEST_F(Protocol, LanguageIsStoredThenShownThenForwardedInOrder) {
    EXPECT_EQ(protocol.OnLanguageChange(2), 1);
    EXPECT_EQ(host.Take(), (Calls{"store 2", "texts 2", "forward 1 2", "forward 2 2", "forward 3 2",
                                  "forward 4 2"}));
}

TEST_F(Protocol, AnUnknownLanguageIsOnlyForwarded) {
    protocol.OnLanguageChange(7);
    EXPECT_EQ(host.Take(), (Calls{"forward 1 7", "forward 2 7", "forward 3 7", "forward 4 7"}));
}

TEST(Texts, EveryWindowNamesItsNavigationCaptionsInAllLanguages) {
    const int captions[][5] = {{1046, 1047, 1048, 1049, 1050},
                               {1052, 1072, 1055, 1057, 1059},
                               {1074, 1076, 1079, 1080, 1082},
                               {1180, 1182, 1185, 1186, 1189},
                               {1205, 1207, 1214, 1212, 1210}};
    const int dialogs[] = {102, 155, 176, 192, 196};
    const char* english[] = {"Main", "Hifi Set", "Advance", "Headphone", "Information"};
    const char* templates[] = {"主控制台", "HIFI设置", "高级", "耳机设置", "信息"};
    for (int w = 0; w < 5; ++w) {
        for (int i = 0; i < 5; ++i) {
            const LabelText* t = FindLabelText(dialogs[w], captions[w][i]);
            ASSERT_NE(t, nullptr) << dialogs[w] << " " << captions[w][i];
            EXPECT_EQ(t->byLanguage[2], english[i]);
            EXPECT_EQ(t->templateText, templates[i]);
            EXPECT_FALSE(t->byLanguage[0].empty());
            EXPECT_FALSE(t->byLanguage[1].empty());
        }
    }
}

TEST(Texts, TemplateWordingsDifferWhereTheResourcesDo) {
    EXPECT_EQ(FindLabelText(102, 1031)->templateText, "平衡条");
    EXPECT_EQ(FindLabelText(102, 1031)->byLanguage[0], "平衡");
    EXPECT_EQ(FindLabelText(196, 1203)->templateText, "智能音控");
    EXPECT_EQ(FindLabelText(192, 1190)->templateText, "虚拟多声道");
    EXPECT_EQ(FindLabelText(102, 1030)->byLanguage[1], "靜音");
    EXPECT_EQ(FindLabelText(102, 9999), nullptr);
}

TEST(Texts, NoLabelIsBothTranslatedAndFixed) {
    for (int dialog : {102, 155, 176, 192, 196})
        for (const FixedText& f : FixedTexts(dialog))
            EXPECT_EQ(FindLabelText(dialog, f.id), nullptr) << dialog << " " << f.id;
}

// "/tray" in any letter case asks for a start in the notification area; other arguments are
// ignored, and nothing but the whole word counts.
TEST(StartOptions, TheTrayArgumentInAnyCaseAmongOthers) {
    const struct {
        std::vector<std::string> arguments;
        bool tray;
    } cases[] = {
        {{}, false},
        {{"/tray"}, true},
        {{"/TRAY"}, true},
        {{"/Tray"}, true},
        {{"x", "/tRaY"}, true},
        {{"tray"}, false},
        {{"/tray2"}, false},
        {{"-tray"}, false},
        {{"/tra"}, false},
        {{"/trayx", "y"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AsksForTrayStart(c.arguments), c.tray) << c.arguments.size();
}

// The sign-in start's value names this copy only when its path is this program's, in any case.
TEST(StartOptions, TheSignInCommandNamesThisCopy) {
    const std::string exe = "C:\\Users\\Me Too\\Quorelle\\QuorelleCPL.exe";
    EXPECT_EQ(SignInCommand(exe), "\"" + exe + "\" /tray");
    const struct {
        std::string command;
        bool starts;
    } cases[] = {
        {SignInCommand(exe), true},
        {"\"c:\\users\\me too\\quorelle\\QUORELLECPL.EXE\" /tray", true},
        {"  \"" + exe + "\"", true},
        {"C:\\Quorelle\\QuorelleCPL.exe /tray", false},
        {"\"C:\\Users\\Me Too\\Other\\QuorelleCPL.exe\" /tray", false},
        {"\"" + exe, false},  // no closing quote
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SignInCommandStarts(c.command, exe), c.starts) << c.command;
    EXPECT_TRUE(SignInCommandStarts("C:\\Q\\QuorelleCPL.exe /tray", "c:\\q\\quorellecpl.exe"));
}

}  // namespace
