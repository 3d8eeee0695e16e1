// The notification-area icon of the main window: icon 151, the tip, messages as WM_TRAY_NOTIFY.
#pragma once

#include <windows.h>

#include "base/handles_win32.h"
#include "pages/sound_menu.h"

namespace quorelle {

class TrayIcon {
  public:
    TrayIcon() = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() { Remove(); }

    bool Add(HWND owner, HICON icon);
    // Adds the icon again after the shell restarted (the TaskbarCreated message).
    bool Restore();
    // Removes the icon if it is there; later calls do nothing.
    void Remove();
    bool Shown() const { return shown_; }

    // The message the shell broadcasts when the task bar is created again.
    static UINT TaskbarCreatedMessage();

  private:
    bool Notify(DWORD action);
    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
    bool shown_ = false;
};

// Menu 175, freshly loaded, with the sound choices inserted into its first pop-up before
// "Quorelle DIVO" and "Hot keys…" (ID_TRAY_HOTKEYS, in `language`) right before that item;
// every item of the resource keeps its place, text and id. Null when the resource cannot be
// loaded.
UniqueMenu LoadTrayMenu(const pages::SoundMenuItem& sound, int language);

// Shows the first pop-up of menu 175 with the sound choices at the cursor (x, y - 20), owned by
// `owner`, and destroys it again. Answers the chosen item's command id, 0 for none.
int ShowTrayMenu(HWND owner, const pages::SoundMenuItem& sound, int language);

}  // namespace quorelle
