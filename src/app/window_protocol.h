// Which of the five windows is shown, and what the navigation commands, the page switching
// messages, the notification-area icon and the language change do. Plain logic: the main window
// carries it out through WindowHost.
#pragma once

#include <array>

namespace quorelle {

// What the main window does on the protocol's behalf. Page 0 is the main window itself.
class WindowHost {
  public:
    virtual ~WindowHost() = default;
    // Shows the main window (normal show), then hides whichever other of the five was shown.
    virtual void ShowMainWindow() = 0;
    virtual void HideMainWindow() = 0;
    // Places page 1 to 4's top-left corner on the main window's and shows it (normal show), then
    // hides whichever other of the five was shown.
    virtual void ShowPageAtMainWindow(int page) = 0;
    // Normal show of the window of page 0 to 4 (any other of the five windows goes), and the
    // hide that takes the window of page 0 to 4 and whichever of the five is still on screen.
    virtual void ShowWindowOf(int page) = 0;
    virtual void HideWindowOf(int page) = 0;
    // Ends the main window's modal run with the OK (true) or cancel (false) result.
    virtual void EndRun(bool ok) = 0;
    virtual void RemoveTrayIcon() = 0;
    virtual void ShowTrayMenu() = 0;
    // Language: store it, set the main window's texts, forward the message to a page.
    virtual void StoreLanguage(int language) = 0;
    virtual void SetMainTexts(int language) = 0;
    virtual void ForwardLanguage(int page, int language) = 0;
};

// The order in which the main window passes a language change on to the pages.
inline constexpr std::array<int, 4> kLanguageFanOut = {1, 2, 3, 4};  // HIFI, advance, info, HP

// Mouse messages the notification-area icon reports.
inline constexpr long kTrayLeftButtonDown = 0x201;
inline constexpr long kTrayRightButtonDown = 0x204;
inline constexpr unsigned kTrayIconId = 151;

class WindowProtocol {
  public:
    explicit WindowProtocol(WindowHost& host) : host_(host) {}

    int CurrentPage() const { return currentPage_; }
    bool TrayShown() const { return trayShown_; }

    // "X" of the main window: hides it to the notification area.
    void OnCloseCommand();
    // The main window's navigation buttons: 0 shows the main window, 1 to 4 switch to a page.
    void OnNavigate(int page);
    // WM_SHOW_PAGE with the target page; the message's answer (0 for a target outside -1 to 4,
    // which changes nothing).
    long OnShowPage(long target);
    // WM_TRAY_NOTIFY; always answers 1.
    long OnTrayNotify(unsigned iconId, long mouseMessage);
    // "Quorelle DIVO": brings back the window of the current page.
    void OnTrayShowCommand();
    // "Exit": removes the icon, then ends the run.
    void OnExitCommand();
    // The system close command (Alt+F4): ends the run with the cancel result.
    void OnSystemClose();
    // WM_LANGUAGE_CHANGE; answers 1.
    long OnLanguageChange(long language);

  private:
    void SwitchTo(int page);
    // The page the tray acts on: the current page, the main window when there is none (-1, the
    // run ending).
    int TrayPage();

    WindowHost& host_;
    int currentPage_ = 0;
    bool trayShown_ = false;
};

}  // namespace quorelle
