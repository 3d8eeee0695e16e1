#include "pages/advance_page_win32.h"

#include "app/messages.h"
#include "device/conflib_win32.h"
#include "resource.h"

namespace quorelle::pages {

CDlgAd::CDlgAd() : SecondaryPage(PAGE_ADVANCE, IDD_ADVANCE, 197) {}

void CDlgAd::OnInitPage() {
    device_.StartPage(device::LoadConfLib());
    chrome_.ApplySkin(hwnd());
    SetPageTexts(StoredLanguage());
}

}  // namespace quorelle::pages
