#include "app/notice_win32.h"

#include <windows.h>

#include "app/application_win32.h"
#include "base/text_win32.h"
#include "base/version.h"
#include "settings/settings.h"

namespace quorelle {

void MessageBoxNotice::Show(const std::string& textUtf8) {
    FlushSettingsWrites();  // what was written before the box waits for the user is on the disk
    MessageBoxW(AppMainWindow(), Widen(textUtf8).c_str(), Widen(kNoticeCaption).c_str(),
                MB_OK | MB_SETFOREGROUND);
}

}  // namespace quorelle
