#pragma once

#include "pages/secondary_page_win32.h"

namespace quorelle::pages {

// Information (dialog 155): makes no device calls.
class CDlgInfo final : public SecondaryPage {
  public:
    CDlgInfo();

  protected:
    void OnInitPage() override;
};

}  // namespace quorelle::pages
