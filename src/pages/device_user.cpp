#include "pages/device_user.h"

#include "base/notice.h"
#include "device/conflib.h"
#include "device/selection.h"

namespace quorelle::pages {

namespace conflib = device::conflib;

uint32_t DeviceUser::InitAndCount() {
    conflib::CreateDeviceList();
    uint32_t count = 0;
    conflib::GetDeviceCount(device::kOutputList, &count);
    outputCount_ = count;
    return count;
}

bool DeviceUser::StartMainWindow(bool loaded) {
    loaded_ = loaded;
    if (!loaded) return false;
    conflib::Init();  // its result is not looked at
    if (InitAndCount() == 0) {
        ShowNotice(kNoDeviceMessage);
        return false;
    }
    return true;
}

bool DeviceUser::StartPage(bool loaded) {
    if (!StartMainWindow(loaded)) return false;
    device::SelectOutputDevice(device::OUTPUT_ANALOG);
    return true;
}

HeadphoneStart DeviceUser::StartHeadphonePage(bool loaded) {
    loaded_ = loaded;
    if (!loaded) return HeadphoneStart::Stopped;
    if (!device::ConfLibSlots().ConfLibInit) return HeadphoneStart::Unprobed;
    if (conflib::Init() != 0) {
        ShowNotice(kInitFailedMessage);
        return HeadphoneStart::Unprobed;
    }
    if (InitAndCount() == 0) return HeadphoneStart::Stopped;
    device::SelectOutputDevice(device::OUTPUT_ANALOG);
    return HeadphoneStart::Selected;
}

void DeviceUser::UnInit() {
    if (!loaded_ || unInitDone_) return;
    unInitDone_ = true;
    conflib::UnInit();
}

}  // namespace quorelle::pages
