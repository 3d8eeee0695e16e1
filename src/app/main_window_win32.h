// CCKorZereDlg: the main window, the main console. It runs modally from the application
// object, owns the four pages, switches between the five windows, keeps the notification-area
// icon, and is the window the device library callback and the endpoint listeners post to.
#pragma once

#include <future>

#include "base/dialog_window_win32.h"
#include "base/handles_win32.h"
#include "app/hotkeys_win32.h"
#include "app/osd_win32.h"
#include "app/tray_win32.h"
#include "app/window_protocol.h"
#include "device/endpoint_win32.h"
#include "pages/device_user.h"
#include "pages/main_console_view_win32.h"
#include "pages/page_chrome_win32.h"
#include "pages/advance_page_win32.h"
#include "pages/headphone_page_win32.h"
#include "pages/hifi_page_win32.h"
#include "pages/info_page_win32.h"

namespace quorelle {

class CCKorZereDlg final : public DialogWindow,
                           private WindowHost,
                           private pages::PageRefresh,
                           private pages::PageActions {
  public:
    CCKorZereDlg();
    ~CCKorZereDlg() override;

    // Creates the window and runs it until the modal run ends; returns the end result
    // (IDOK, IDCANCEL), or -1 when the window could not be created. `inTray`: the start shows
    // no window (the notification area's icon is the panel's only sign, and the start-up's
    // notices come as its balloons instead of boxes).
    INT_PTR RunModal(bool inTray = false);
    // Ends the modal run with result.
    void EndModal(INT_PTR result);

    // True for a key-down bound for this window or one of its controls that would close it:
    // Escape, and Enter on the close button. The run discards it before the window's keys and
    // the dialog manager see it, so Enter and Escape never close the main window.
    bool IsCloseKeyForMe(const MSG& msg) const;

    // The window of page 0 (this one) to 4; null for any other index.
    HWND WindowOf(int page) const;

  protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void AfterMessage(UINT msg) override { chrome_.AfterMessage(msg); }

  private:
    // A default action's press: the console's hit tests, without the window drag.
    void PressAt(POINT logical) override { console_.OnLButtonDown(logical); }
    bool OnInitDialog();
    // The message handlers OnMessage dispatches to, by kind of message; each returns whether it
    // handled the message (`result` is then the answer).
    // WM_DPICHANGED: the window, its controls and its icons at the new scale.
    void OnDpiChanged(int dpi, const RECT* suggested);
    // WM_COMMAND: the console's controls, then the navigation column and the window's buttons.
    bool OnCommandMessage(WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A press on the window: the console's lamps, else the window's drag.
    bool OnPress(LPARAM lParam, LRESULT& result);
    // The console's controls and the device's notices (volume, default output, card events).
    bool OnConsoleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The window protocol's messages, the global keys and the diagnostic counts.
    bool OnProtocolMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The messages the system registers by name: a second start, the shell's restart.
    bool OnRegisteredMessage(UINT msg, LRESULT& result);
    bool OnCommand(int id);
    // The close button or a page button of the navigation column.
    bool IsNavigationButton(int id) const {
        return id == chrome_.CloseButtonId() || chrome_.PageOfButton(id) >= 0;
    }
    void SetPageTexts(int language);
    // A global key: its action, then the on-screen display of what it did.
    void OnHotKey(WPARAM id);
    void StartDevice();
    // WM_PAGE_NAVIGATE: page `from` hands over to `target`; the message's answer.
    LRESULT OnPageNavigate(int from, long target);
    pages::SecondaryPage* Page(int page);
    // One window of the five on screen at a time: hides every other one that is visible.
    void HideAllBut(int page);
    // Shows window `page` (0 to 4, normal show) made ready first (background decoded, shape
    // cut), then hides every other of the five, then gives it the keyboard.
    void ShowOnly(int page);

    // WindowHost
    void ShowMainWindow() override;
    void HideMainWindow() override;
    void ShowPageAtMainWindow(int page) override;
    void ShowWindowOf(int page) override;
    void HideWindowOf(int page) override;
    void EndRun(bool ok) override;
    void RemoveTrayIcon() override;
    void ShowTrayMenu() override;
    void StoreLanguage(int language) override;
    void SetMainTexts(int language) override;
    void ForwardLanguage(int page, int language) override;

    // PageRefresh: switching the digital output on refreshes these pages
    void RefreshHifiFromSettings() override;
    void RefreshHeadphoneFromSettings() override;

    // The window's icons (and the tray's) in the sizes for dpi.
    void LoadIcons(int dpi);
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    UniqueIcon trayIcon_;
    pages::PageChrome chrome_;
    // constructed in this order, destroyed in the reverse: advance, headphone, HIFI, information
    pages::CDlgInfo info_;
    pages::CDlgHifi hifi_;
    pages::CDlgHp hp_;
    pages::CDlgAd advance_;
    pages::DeviceUser device_;
    device::DefaultEndpointControl endpoint_;
    device::EndpointClassification defaultEndpoint_;
    // the default endpoint's classification under way on a thread of its own (RunModal)
    std::future<device::EndpointClassification> classifying_;
    pages::MainConsoleView console_;
    TrayIcon tray_;
    GlobalHotKeys hotKeys_;
    OnScreenDisplay osd_;
    WindowProtocol protocol_;
    bool startInTray_ = false;
    bool modalEnded_ = false;
    INT_PTR modalResult_ = IDCANCEL;
};

}  // namespace quorelle
