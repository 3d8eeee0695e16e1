#include "pages/info_page_win32.h"

#include "app/messages.h"
#include "resource.h"

namespace quorelle::pages {

CDlgInfo::CDlgInfo() : SecondaryPage(PAGE_INFO, IDD_INFO, 174) {}

void CDlgInfo::OnInitPage() {
    chrome_.ApplySkin(hwnd());
    SetPageTexts(StoredLanguage());
}

}  // namespace quorelle::pages
