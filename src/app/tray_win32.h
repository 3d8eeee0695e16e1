// The notification-area icon of the main window: icon 151, the tip, messages as WM_TRAY_NOTIFY.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/handles_win32.h"
#include "pages/sound_menu.h"

namespace quorelle {

class TrayIcon {
  public:
    TrayIcon() = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() { Remove(); }

    // Adds the icon. When the shell's notification area is not there yet (a start at sign-in
    // may come first), the icon comes with the area's TaskbarCreated message (Restore).
    bool Add(HWND owner, HICON icon);
    // Adds the icon again when the shell announces its notification area (TaskbarCreated): after
    // a restart of the shell, or for the first time after an Add that found none.
    bool Restore();
    // A balloon of the icon with `text` under the program's name; shown once the icon is there
    // (a notice made while the area is missing waits for it). Texts given while one waits join
    // it, a line each.
    void ShowBalloon(const std::wstring& text);
    // Removes the icon if it is there; later calls do nothing.
    void Remove();
    bool Shown() const { return shown_; }

    // The message the shell broadcasts when the task bar is created again.
    static UINT TaskbarCreatedMessage();

    // The shell's function; tests put a stand-in in its place.
    using ShellNotify = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
    static void SetShellNotifyForTests(ShellNotify notify);

  private:
    bool Notify(DWORD action, const std::wstring& balloon = {});
    void ShowPendingBalloon();
    HWND owner_ = nullptr;
    std::wstring pendingBalloon_;
    HICON icon_ = nullptr;
    bool shown_ = false;
};

// Command id of the menu's "Start with Windows" item.
inline constexpr int kStartWithWindowsCommand = 34200;
// The item in a language (0, 1, 2), ticked when the panel starts at sign-in.
pages::SoundMenuItem StartWithWindowsItem(bool ticked, int language);

// Menu 175, freshly loaded, with the sound choices inserted into its first pop-up before
// "Quorelle DIVO", and the items `after` after them; every item of the resource keeps its place,
// text and id. Null when the resource cannot be loaded.
UniqueMenu LoadTrayMenu(const pages::SoundMenuItem& sound,
                        const std::vector<pages::SoundMenuItem>& after = {});

// Shows the first pop-up of that menu at the cursor (x, y - 20), owned by `owner`, and destroys
// it again. Answers the chosen item's command id, 0 for none.
int ShowTrayMenu(HWND owner, const pages::SoundMenuItem& sound,
                 const std::vector<pages::SoundMenuItem>& after = {});

}  // namespace quorelle
