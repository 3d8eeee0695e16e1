#pragma once

#include "pages/secondary_page_win32.h"

namespace quorelle::pages {

// HIFI settings (dialog 176): loads the library and selects the analog output before its skin.
class CDlgHifi final : public SecondaryPage {
  public:
    CDlgHifi();
    // Re-reads the page's switches from the settings file (after the main console switched the
    // digital output on). The page shows no settings of its own yet.
    void RefreshFromSettings() {}

  protected:
    void OnInitPage() override;
};

}  // namespace quorelle::pages
