#pragma once

#include "pages/secondary_page_win32.h"

namespace quorelle::pages {

// Headphone (dialog 192): its skin first, then the library.
class CDlgHp final : public SecondaryPage {
  public:
    CDlgHp();
    // Re-reads the page's switches from the settings file (after the main console switched the
    // digital output on). The page shows no settings of its own yet.
    void RefreshFromSettings() {}

  protected:
    void OnInitPage() override;
};

}  // namespace quorelle::pages
