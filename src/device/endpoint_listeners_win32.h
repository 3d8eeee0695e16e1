// The three listeners of the audio endpoint services. They are called on the services' own
// threads and do no work there: each only posts a message to the application's main window
// (nothing when there is none), and nothing they do can throw out of a callback.
//
// Each is a reference-counted COM object: created with the count 1 (with new), the count changes
// atomically, the object frees itself when it drops to 0, and it answers queries for IUnknown
// and its own listener interface only.
#pragma once

#include <windows.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>
#include <devicetopology.h>

#include <atomic>
#include <mutex>
#include <string>

namespace quorelle::device {

// The IUnknown half shared by the listeners. Derived: the listener class (its destructor is
// private; the last Release deletes it). Interface: its one listener interface.
template <typename Derived, typename Interface>
class ListenerObject : public Interface {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(Interface))) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }
    // Objects of this class that are alive (created and not yet freed).
    static long LiveObjects() { return live_.load(); }

  protected:
    ListenerObject() { ++live_; }
    ~ListenerObject() { --live_; }

  private:
    std::atomic<ULONG> refs_{1};
    static inline std::atomic<long> live_{0};
};

// Volume or mute of an endpoint changed: WM_VOLUME_CHANGED with wParam 10 when the change
// carries the program's own event context, 0 when someone else made it (the main window then
// re-reads volume and mute).
class CAudioEndpointVolumeCallback final
    : public ListenerObject<CAudioEndpointVolumeCallback, IAudioEndpointVolumeCallback> {
  public:
    explicit CAudioEndpointVolumeCallback(const GUID& eventContext) : eventContext_(eventContext) {}
    HRESULT STDMETHODCALLTYPE OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA data) override;

  private:
    friend ListenerObject;
    ~CAudioEndpointVolumeCallback() = default;
    const GUID eventContext_;
};

// A control of a hardware part changed: WM_VOLUME_CHANGED with wParam 1 when someone else made
// the change; nothing for the program's own.
class CControlChangeNotify final
    : public ListenerObject<CControlChangeNotify, IControlChangeNotify> {
  public:
    explicit CControlChangeNotify(const GUID& eventContext) : eventContext_(eventContext) {}
    HRESULT STDMETHODCALLTYPE OnNotify(DWORD senderProcessId, LPCGUID eventContext) override;

  private:
    friend ListenerObject;
    ~CControlChangeNotify() = default;
    const GUID eventContext_;
};

// The friendly name (UTF-8) of the endpoint with this identifier, looked up with COM
// initialised on the calling thread for the duration of the lookup; empty on any failure.
std::string LookUpEndpointName(LPCWSTR endpointId);

// Endpoint notifications. A change of the default playback endpoint posts
// WM_DEFAULT_OUTPUT_CHANGED by the new default's name: lParam 0 (digital) when it holds "SPDIF"
// or "数字", then lParam 1 (analog) when it holds "扬声器" or "揚聲器". The other notifications
// only keep the name of the device they concern.
class CMMNotificationClient final
    : public ListenerObject<CMMNotificationClient, IMMNotificationClient> {
  public:
    using NameLookup = std::string (*)(LPCWSTR endpointId);
    explicit CMMNotificationClient(NameLookup lookup = LookUpEndpointName) : lookup_(lookup) {}

    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR deviceId, DWORD newState) override;
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR deviceId) override;
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR deviceId) override;
    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role,
                                                     LPCWSTR defaultDeviceId) override;
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR deviceId,
                                                     const PROPERTYKEY key) override;

    // The name of the device the last notification concerned (UTF-8; empty when the lookup
    // failed).
    std::string LastDeviceName() const;

  private:
    friend ListenerObject;
    ~CMMNotificationClient() = default;
    std::string KeepName(LPCWSTR deviceId);

    const NameLookup lookup_;
    mutable std::mutex nameLock_;  // notifications arrive on several threads at once
    std::string lastName_;
};

}  // namespace quorelle::device
