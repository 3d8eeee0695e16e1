#include "app/window_protocol.h"

#include "base/texts.h"

namespace quorelle {

void WindowProtocol::OnCloseCommand() {
    host_.HideMainWindow();
    currentPage_ = 0;
}

void WindowProtocol::OnNavigate(int page) {
    if (page == 0) {
        host_.ShowMainWindow();
        currentPage_ = 0;
    } else if (page >= 1 && page <= 4) {
        SwitchTo(page);
    }
}

void WindowProtocol::SwitchTo(int page) {
    // the target first; the window left goes once it is on screen
    host_.ShowPageAtMainWindow(page);
    currentPage_ = page;
}

long WindowProtocol::OnShowPage(long target) {
    // A target outside the five windows changes nothing: the page on screen stays the one the
    // tray brings back and hides.
    if (target < -1 || target > 4) return 0;
    currentPage_ = static_cast<int>(target);
    if (target == -1) {
        // the program ends: the notification-area icon goes with it
        host_.RemoveTrayIcon();
        host_.EndRun(true);
    } else if (target == 0) {
        host_.ShowMainWindow();
        currentPage_ = 0;
    } else {
        SwitchTo(static_cast<int>(target));
    }
    return 1;
}

int WindowProtocol::TrayPage() {
    if (currentPage_ < 0 || currentPage_ > 4) currentPage_ = 0;
    return currentPage_;
}

long WindowProtocol::OnTrayNotify(unsigned iconId, long mouseMessage) {
    if (iconId != kTrayIconId) return 1;
    if (mouseMessage == kTrayLeftButtonDown) {
        const int page = TrayPage();
        if (!trayShown_)
            host_.ShowWindowOf(page);
        else
            host_.HideWindowOf(page);
        trayShown_ = !trayShown_;
    } else if (mouseMessage == kTrayRightButtonDown) {
        host_.ShowTrayMenu();
    }
    return 1;
}

void WindowProtocol::OnTrayShowCommand() {
    if (currentPage_ == -1) {
        OnShowPage(-1);
        return;
    }
    host_.ShowWindowOf(TrayPage());
}

void WindowProtocol::OnExitCommand() {
    host_.RemoveTrayIcon();
    host_.EndRun(true);
}

void WindowProtocol::OnSystemClose() {
    host_.RemoveTrayIcon();
    host_.EndRun(false);
}

long WindowProtocol::OnLanguageChange(long language) {
    const int lang = static_cast<int>(language);
    if (IsLanguage(lang)) {
        // the choice is stored before any window changes
        host_.StoreLanguage(lang);
        host_.SetMainTexts(lang);
    }
    for (int page : kLanguageFanOut) host_.ForwardLanguage(page, lang);
    return 1;
}

}  // namespace quorelle
