#include "device/endpoint_listeners_win32.h"

#include "base/diagnostics.h"
#include "base/handles_win32.h"
#include "base/main_window_handle_win32.h"
#include "base/messages.h"
#include "base/text_win32.h"
#include "device/endpoint.h"
#include "device/endpoint_win32.h"

namespace quorelle::device {

namespace {

void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HWND window = AppMainWindow()) PostMessageW(window, message, wParam, lParam);
}

// The exception barrier of a callback: nothing thrown inside reaches the caller, and the
// callback reports success either way.
template <typename Work>
HRESULT Guarded(const char* where, Work&& work) noexcept {
    try {
        work();
    } catch (...) {
        ReportCaughtException(where);
    }
    return S_OK;
}

}  // namespace

HRESULT CAudioEndpointVolumeCallback::OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA data) {
    return Guarded("endpoint volume notification", [&] {
        // a notification without data cannot be ours: let the main window re-read
        const bool own = data && IsEqualGUID(data->guidEventContext, eventContext_);
        PostToMainWindow(WM_VOLUME_CHANGED, static_cast<WPARAM>(VolumeChangeWParam(own)), 0);
    });
}

HRESULT CControlChangeNotify::OnNotify(DWORD, LPCGUID eventContext) {
    return Guarded("control change notification", [&] {
        const bool own = eventContext && IsEqualGUID(*eventContext, eventContext_);
        if (!own) PostToMainWindow(WM_VOLUME_CHANGED, 1, 0);
    });
}

std::string LookUpEndpointName(LPCWSTR endpointId) {
    if (!endpointId) return {};
    ComForThisThread com;
    // a new enumerator each time: notifications come on any thread, and an object made in one
    // thread's COM session is not used after that session ends
    ComOwner<IMMDeviceEnumerator> enumerator = CreateDeviceEnumerator();
    if (!enumerator) return {};
    ComOwner<IMMDevice> device;
    if (FAILED(enumerator->GetDevice(endpointId, device.put()))) return {};
    return Narrow(EndpointFriendlyName(device.get()));
}

std::string CMMNotificationClient::KeepName(LPCWSTR deviceId) {
    std::string name = lookup_(deviceId);
    std::lock_guard<std::mutex> hold(nameLock_);
    lastName_ = name;
    return name;
}

std::string CMMNotificationClient::LastDeviceName() const {
    std::lock_guard<std::mutex> hold(nameLock_);
    return lastName_;
}

HRESULT CMMNotificationClient::OnDeviceStateChanged(LPCWSTR deviceId, DWORD) {
    return Guarded("device notification OnDeviceStateChanged", [&] { KeepName(deviceId); });
}

HRESULT CMMNotificationClient::OnDeviceAdded(LPCWSTR deviceId) {
    return Guarded("device notification OnDeviceAdded", [&] { KeepName(deviceId); });
}

HRESULT CMMNotificationClient::OnDeviceRemoved(LPCWSTR deviceId) {
    return Guarded("device notification OnDeviceRemoved", [&] { KeepName(deviceId); });
}

HRESULT CMMNotificationClient::OnPropertyValueChanged(LPCWSTR deviceId, const PROPERTYKEY) {
    return Guarded("device notification OnPropertyValueChanged", [&] { KeepName(deviceId); });
}

HRESULT CMMNotificationClient::OnDefaultDeviceChanged(EDataFlow flow, ERole,
                                                      LPCWSTR defaultDeviceId) {
    return Guarded("device notification OnDefaultDeviceChanged", [&] {
        const std::string name = KeepName(defaultDeviceId);
        // only the playback side decides the output; a recording default named like a speaker
        // (a sink's monitor, a digital input) says nothing about it
        if (flow != eRender) return;
        for (int report : DefaultOutputChangeReports(name))
            PostToMainWindow(WM_DEFAULT_OUTPUT_CHANGED, 0, report);
    });
}

}  // namespace quorelle::device
