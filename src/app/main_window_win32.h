// CCKorZereDlg: the main window, the main console. It runs modally from the application
// object and is the window the device library callback and the endpoint listeners post to.
#pragma once

#include "app/dialog_window_win32.h"
#include "app/handles_win32.h"

namespace quorelle {

class CCKorZereDlg final : public DialogWindow {
  public:
    CCKorZereDlg();
    ~CCKorZereDlg() override;

    // Creates the window and runs it until the modal run ends; returns the end result
    // (IDOK, IDCANCEL), or -1 when the window could not be created.
    INT_PTR RunModal();
    // Ends the modal run with result.
    void EndModal(INT_PTR result);

    // True when a key-down message is bound for this window or one of its controls; such
    // messages are discarded before they are dispatched, so Enter and Escape never close it.
    bool IsKeyDownForMe(const MSG& msg) const;

  protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    bool OnInitDialog();

    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    bool modalEnded_ = false;
    INT_PTR modalResult_ = IDCANCEL;
};

}  // namespace quorelle
