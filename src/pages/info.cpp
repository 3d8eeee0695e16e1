#include "pages/info.h"

#include "base/texts.h"
#include "settings/settings.h"

namespace quorelle::pages {

std::array<InfoText, 7> FillVersionInfo() {
    auto stored = [](const char* key) { return ReadSettingText(kCplIni, kInfoSection, key); };
    return {{
        {kInfoOsLabel, stored(kInfoOsKey)},
        {kInfoDriverLabel, stored(kInfoDriverKey)},
        {kInfoDirectXLabel, std::string(kInfoDirectXVersion)},
        {kInfoCplLabel, stored(kInfoCplKey)},
        {kInfoTitleLabel, std::string(kInfoTitle)},
        {kInfoCopyrightLabel, std::string(kInfoCopyright)},
        {kInfoAddressLabel, std::string(kInfoWebAddress)},
    }};
}

bool PressOpensWebAddress(Point p, const Rect& addressLabel) {
    return addressLabel.Contains(p);
}

}  // namespace quorelle::pages
