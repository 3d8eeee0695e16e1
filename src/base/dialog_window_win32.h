// Base of every window of the program that is built from a dialog template. One static dialog
// procedure finds the object (stored when the dialog is created) and forwards each message to
// OnMessage, behind an exception barrier: no exception ever leaves a window procedure.
#pragma once

#include <windows.h>

namespace quorelle {

class DialogWindow {
  public:
    explicit DialogWindow(int templateId) : templateId_(templateId) {}
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    virtual ~DialogWindow();

    // Creates the window (modeless) from the template in the program's resources.
    bool Create(HWND owner);
    HWND hwnd() const { return hwnd_; }
    int TemplateId() const { return templateId_; }

  protected:
    // Answers a message; false lets the dialog manager's default processing run.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // After OnMessage, whether it handled the message or not.
    virtual void AfterMessage(UINT msg) { (void)msg; }

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND hwnd_ = nullptr;
};

HINSTANCE ProgramInstance();

}  // namespace quorelle
