// The notification-area icon of the main window: icon 151, the tip, messages as WM_TRAY_NOTIFY.
#pragma once

#include <windows.h>

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

// Shows the first pop-up of menu 175 at (x, y - 20), owned by `owner`, and destroys it again.
void ShowTrayMenu(HWND owner);

}  // namespace quorelle
