#include "device/endpoint_win32.h"

#include <new>

#include "base/text_win32.h"
#include "device/endpoint_listeners_win32.h"

namespace quorelle::device {

namespace {

ComOwner<IMMDevice> DefaultPlaybackEndpoint(IMMDeviceEnumerator* enumerator) {
    ComOwner<IMMDevice> device;
    if (FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, device.put())))
        device.reset();
    return device;
}

ComOwner<IAudioEndpointVolume> ActivateEndpointVolume(IMMDevice* device) {
    ComOwner<IAudioEndpointVolume> volume;
    if (FAILED(device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                volume.put_void())))
        volume.reset();
    return volume;
}

// The endpoint volume of the default playback endpoint of the moment, through a new enumerator.
ComOwner<IAudioEndpointVolume> DefaultEndpointVolume() {
    ComOwner<IMMDeviceEnumerator> enumerator = CreateDeviceEnumerator();
    if (!enumerator) return {};
    ComOwner<IMMDevice> device = DefaultPlaybackEndpoint(enumerator.get());
    if (!device) return {};
    return ActivateEndpointVolume(device.get());
}

// Subunits of the hardware topology that are left alone.
bool SkippedSubunit(UINT index) {
    return (index >= 15 && index <= 18) || (index >= 21 && index <= 27);
}

// Registers the listener on the part for the first control interface that activates and takes
// it; true when one did.
bool RegisterOnPart(IPart* part, IControlChangeNotify* listener) {
    static const IID kControls[] = {__uuidof(IAudioAutoGainControl), __uuidof(IAudioInputSelector),
                                    __uuidof(IAudioMute), __uuidof(IAudioVolumeLevel)};
    for (const IID& control : kControls) {
        ComOwner<IUnknown> activated;
        if (FAILED(part->Activate(CLSCTX_ALL, control, activated.put_void()))) continue;
        if (SUCCEEDED(part->RegisterControlChangeCallback(control, listener))) return true;
    }
    return false;
}

}  // namespace

GUID EventContext() {
    GUID guid{EventContextGuid.data1, EventContextGuid.data2, EventContextGuid.data3, {}};
    for (int i = 0; i < 8; ++i) guid.Data4[i] = EventContextGuid.data4[i];
    return guid;
}

ComOwner<IMMDeviceEnumerator> CreateDeviceEnumerator() {
    ComOwner<IMMDeviceEnumerator> enumerator;
    if (FAILED(CoCreateInstance(kClsidMMDeviceEnumerator, nullptr, CLSCTX_ALL,
                                __uuidof(IMMDeviceEnumerator), enumerator.put_void())))
        enumerator.reset();
    return enumerator;
}

std::wstring EndpointFriendlyName(IMMDevice* device) {
    ComOwner<IPropertyStore> store;
    if (!device || FAILED(device->OpenPropertyStore(STGM_READ, store.put()))) return {};
    PROPVARIANT value;
    PropVariantInit(&value);
    std::wstring name;
    if (SUCCEEDED(store->GetValue(kPropertyFriendlyName, &value)) && value.vt == VT_LPWSTR &&
        value.pwszVal)
        name = value.pwszVal;
    PropVariantClear(&value);
    return name;
}

std::wstring EndpointId(IMMDevice* device) {
    LPWSTR id = nullptr;
    if (!device || FAILED(device->GetId(&id)) || !id) return {};
    std::wstring copy(id);
    CoTaskMemFree(id);
    return copy;
}

EndpointClassification ClassifyDefaultEndpoint() {
    EndpointClassification result;
    ComOwner<IMMDeviceEnumerator> enumerator = CreateDeviceEnumerator();
    if (!enumerator) return result;
    ComOwner<IMMDevice> device = DefaultPlaybackEndpoint(enumerator.get());
    if (!device || !ActivateEndpointVolume(device.get())) return result;
    result.kind = ClassifyEndpointName(Narrow(EndpointFriendlyName(device.get())));
    if (result.kind == OUTPUT_ANALOG)
        result.speakerEndpointId = EndpointId(device.get());
    else if (result.kind == OUTPUT_DIGITAL)
        result.digitalEndpointId = EndpointId(device.get());
    return result;
}

float DefaultEndpointControl::GetChannelLevel(int channel) {
    float level = 0.0f;
    if (channel < 0) return level;
    ComOwner<IAudioEndpointVolume> volume = DefaultEndpointVolume();
    if (!volume || FAILED(volume->GetChannelVolumeLevelScalar(static_cast<UINT>(channel), &level)))
        return 0.0f;
    return level;
}

void DefaultEndpointControl::SetChannelLevel(int channel, float level) {
    if (channel < 0) return;
    if (!(level >= 0.0f))
        level = 0.0f;  // below zero and NaN
    else if (level > 1.0f)
        level = 1.0f;
    ComOwner<IAudioEndpointVolume> volume = DefaultEndpointVolume();
    if (!volume) return;
    const GUID context = EventContext();
    volume->SetChannelVolumeLevelScalar(static_cast<UINT>(channel), level, &context);
}

bool DefaultEndpointControl::GetEndpointMute() {
    ComOwner<IAudioEndpointVolume> volume = DefaultEndpointVolume();
    BOOL muted = FALSE;
    if (!volume || FAILED(volume->GetMute(&muted))) return false;
    return muted != FALSE;
}

void DefaultEndpointControl::SetEndpointMute(bool muted) {
    ComOwner<IAudioEndpointVolume> volume = DefaultEndpointVolume();
    if (!volume) return;
    const GUID context = EventContext();
    volume->SetMute(muted ? TRUE : FALSE, &context);
}

HRESULT RegisterTopologyListener(const std::wstring& endpointId, IControlChangeNotify* listener) {
    if (!listener) return E_POINTER;
    ComOwner<IMMDeviceEnumerator> enumerator = CreateDeviceEnumerator();
    if (!enumerator) return E_FAIL;
    ComOwner<IMMDevice> device;
    HRESULT hr = enumerator->GetDevice(endpointId.c_str(), device.put());
    if (FAILED(hr)) return hr;
    ComOwner<IDeviceTopology> endpointTopology;
    hr = device->Activate(__uuidof(IDeviceTopology), CLSCTX_ALL, nullptr,
                          endpointTopology.put_void());
    if (FAILED(hr)) return hr;
    ComOwner<IConnector> endpointConnector;
    hr = endpointTopology->GetConnector(0, endpointConnector.put());
    if (FAILED(hr)) return hr;
    ComOwner<IConnector> hardwareConnector;
    hr = endpointConnector->GetConnectedTo(hardwareConnector.put());
    if (FAILED(hr)) return hr;
    ComOwner<IPart> hardwarePart;
    hr = hardwareConnector->QueryInterface(__uuidof(IPart), hardwarePart.put_void());
    if (FAILED(hr)) return hr;
    ComOwner<IDeviceTopology> hardwareTopology;
    hr = hardwarePart->GetTopologyObjects(hardwareTopology.put());
    if (FAILED(hr)) return hr;
    UINT subunits = 0;
    hr = hardwareTopology->GetSubunitCount(&subunits);
    if (FAILED(hr)) return hr;
    for (UINT i = 0; i < subunits; ++i) {
        if (SkippedSubunit(i)) continue;
        ComOwner<ISubUnit> subunit;
        hr = hardwareTopology->GetSubunit(i, subunit.put());
        if (FAILED(hr)) return hr;
        ComOwner<IPart> part;
        hr = subunit->QueryInterface(__uuidof(IPart), part.put_void());
        if (FAILED(hr)) return hr;
        // the part carries the registration: it stays alive with the process
        if (RegisterOnPart(part.get(), listener)) part.release();
    }
    return S_OK;
}

EndpointListenerRegistration RegisterEndpointListeners(const EndpointClassification& endpoint) {
    EndpointListenerRegistration result;
    const GUID context = EventContext();

    // 1. the volume listener on every active endpoint of both directions; an endpoint that
    // refuses it does not keep the others from getting it
    if (auto* volumeListener = new (std::nothrow) CAudioEndpointVolumeCallback(context)) {
        ComOwner<IMMDeviceEnumerator> enumerator = CreateDeviceEnumerator();
        ComOwner<IMMDeviceCollection> endpoints;
        UINT count = 0;
        if (enumerator &&
            SUCCEEDED(enumerator->EnumAudioEndpoints(eAll, DEVICE_STATE_ACTIVE, endpoints.put())) &&
            SUCCEEDED(endpoints->GetCount(&count))) {
            for (UINT i = 0; i < count; ++i) {
                ComOwner<IMMDevice> device;
                if (FAILED(endpoints->Item(i, device.put()))) continue;
                ComOwner<IAudioEndpointVolume> volume = ActivateEndpointVolume(device.get());
                if (!volume || FAILED(volume->RegisterControlChangeNotify(volumeListener)))
                    continue;
                // notifications come through this object: it stays alive with the process
                volume.release();
                ++result.volumeEndpoints;
            }
        }
    }

    // 2. the topology listener on the endpoint of the recognised kind
    if (auto* topologyListener = new (std::nothrow) CControlChangeNotify(context)) {
        if (endpoint.kind == OUTPUT_DIGITAL)
            result.topology =
                RegisterTopologyListener(endpoint.digitalEndpointId, topologyListener);
        else if (endpoint.kind == OUTPUT_ANALOG)
            result.topology =
                RegisterTopologyListener(endpoint.speakerEndpointId, topologyListener);
    }

    // 3. the endpoint notification client
    if (auto* client = new (std::nothrow) CMMNotificationClient()) {
        ComOwner<IMMDeviceEnumerator> enumerator = CreateDeviceEnumerator();
        if (enumerator && SUCCEEDED(enumerator->RegisterEndpointNotificationCallback(client))) {
            // the registration belongs to this enumerator: it stays alive with the process
            enumerator.release();
            result.notificationClient = true;
        }
    }
    return result;
}

}  // namespace quorelle::device
