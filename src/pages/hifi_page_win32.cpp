#include "pages/hifi_page_win32.h"

#include "app/messages.h"
#include "device/conflib_win32.h"
#include "resource.h"

namespace quorelle::pages {

CDlgHifi::CDlgHifi() : SecondaryPage(PAGE_HIFI, IDD_HIFI, 179) {}

void CDlgHifi::OnInitPage() {
    device_.StartPage(device::LoadConfLib());
    chrome_.ApplySkin(hwnd());
    SetPageTexts(StoredLanguage());
}

}  // namespace quorelle::pages
