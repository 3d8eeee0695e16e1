// The global keys of section Hotkeys registered with the system on the main window, and the
// "Hot keys…" dialog of the notification-area menu that sets, clears and saves them.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "pages/hotkeys.h"
#include "pages/sound_menu.h"

namespace quorelle {

enum class HotKeyStatus {
    None,        // no key set
    Registered,  // the key works
    Taken,       // another program (or another action) holds the key
    Unreadable,  // CPL.ini holds a text that names no key
};

class GlobalHotKeys {
  public:
    GlobalHotKeys() = default;
    GlobalHotKeys(const GlobalHotKeys&) = delete;
    GlobalHotKeys& operator=(const GlobalHotKeys&) = delete;
    ~GlobalHotKeys() { UnregisterAll(); }

    // Lets go of the keys held, reads section Hotkeys and registers each key on `owner`; a key
    // that cannot be had leaves the others working.
    void RegisterAll(HWND owner);
    // The same on the window of the last RegisterAll.
    void RegisterAgain() { RegisterAll(owner_); }
    void UnregisterAll();
    HotKeyStatus Status(pages::HotKeyAction action) const { return status_[size_t(action)]; }

    // The action of a WM_HOTKEY identifier; nothing for another one.
    static std::optional<pages::HotKeyAction> ActionOf(WPARAM id);
    static constexpr int kFirstId = 0x5100;

  private:
    HWND owner_ = nullptr;
    std::array<bool, pages::kHotKeyActionCount> held_{};
    std::array<HotKeyStatus, pages::kHotKeyActionCount> status_{};
};

// The tray menu's item that opens the dialog, in a language (0, 1, 2; others: Simplified
// Chinese), its access key marked.
inline constexpr int ID_TRAY_HOTKEYS = 34201;
pages::SoundMenuItem HotKeysItem(int language);

// The dialog, modal to `owner` (the window on screen, which gets the activation back), in
// `language`: for each action its name, the platform's hot-key control, a clear button and what
// became of the key; Save stores the keys in CPL.ini and registers them again (the dialog stays
// to show what each key became), Close ends it. The keys are let go while the dialog is open, so
// that the controls can take them, and registered again on their window when it ends.
void RunHotKeyDialog(HWND owner, GlobalHotKeys& keys, int language);

}  // namespace quorelle
