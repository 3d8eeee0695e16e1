#pragma once

#include <string>

#include "pages/secondary_page_win32.h"

namespace quorelle::pages {

// Information (dialog 155): the version texts of the installation, the maker's notice and web
// address. Makes no device calls and writes nothing. A press anywhere drags the page; a press
// that began on the address then opens it with the system's handler.
class CDlgInfo final : public SecondaryPage {
  public:
    CDlgInfo();

  protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnInitPage() override;
    void OnPress(POINT pressed) override;
    void OnDpiChanged() override;

  private:
    void FillVersionInfo();
    // A version text cut short by its label shows in full in a tip while the pointer rests on it.
    void TipIfCut(HWND label, const std::wstring& text);
    bool OverAddress(POINT client) const;

    HWND tips_ = nullptr;  // owned by the page's window, destroyed with it
};

}  // namespace quorelle::pages
