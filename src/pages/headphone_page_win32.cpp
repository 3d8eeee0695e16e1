#include "pages/headphone_page_win32.h"

#include "app/messages.h"
#include "device/conflib_win32.h"
#include "resource.h"

namespace quorelle::pages {

CDlgHp::CDlgHp() : SecondaryPage(PAGE_HP, IDD_HP, 193) {}

void CDlgHp::OnInitPage() {
    chrome_.ApplySkin(hwnd());
    device_.StartHeadphonePage(device::LoadConfLib());
    SetPageTexts(StoredLanguage());
}

}  // namespace quorelle::pages
