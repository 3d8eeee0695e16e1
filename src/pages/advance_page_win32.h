#pragma once

#include "pages/secondary_page_win32.h"

namespace quorelle::pages {

// Enhancement effects (dialog 196).
class CDlgAd final : public SecondaryPage {
  public:
    CDlgAd();

  protected:
    void OnInitPage() override;
};

}  // namespace quorelle::pages
