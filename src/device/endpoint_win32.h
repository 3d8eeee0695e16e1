// The audio endpoint services: the default playback endpoint's volume and mute for the main
// console, the start-up classification of the default endpoint, and the registration of the
// listeners that report volume and default-device changes to the main window.
#pragma once

#include <windows.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>
#include <devicetopology.h>

#include <cstdint>
#include <string>

#include "device/endpoint.h"
#include "device/endpoint_com_win32.h"
#include "device/selection.h"

namespace quorelle::device {

// EventContextGuid in the platform's form.
GUID EventContext();

// A new device enumerator; empty when COM is not initialised on the thread or the services are
// missing.
ComOwner<IMMDeviceEnumerator> CreateDeviceEnumerator();
// The endpoint's friendly name and identifier; empty when they cannot be read.
std::wstring EndpointFriendlyName(IMMDevice* device);
std::wstring EndpointId(IMMDevice* device);

// The default playback endpoint (multimedia role) as the main window knows it from start: its
// kind, and the identifier of the endpoint under the name of that kind. At most one identifier
// is set.
struct EndpointClassification {
    int32_t kind = 0;  // OUTPUT_ANALOG, OUTPUT_DIGITAL, or 0 when the name matched neither
    std::wstring speakerEndpointId;
    std::wstring digitalEndpointId;
};

// Classifies the default playback endpoint by its friendly name. The kind is 0 when there is no
// default endpoint, its endpoint volume cannot be activated, or its name matches no word.
EndpointClassification ClassifyDefaultEndpoint();

// Volume and mute of the default playback endpoint of the moment: every call looks the endpoint
// up afresh through a new enumerator, so a change of the default output is followed at once.
// Changes carry EventContextGuid. Nothing is reported: reads give 0.0 or not muted, writes do
// nothing when the endpoint cannot be reached. Runs on a thread with COM initialised.
class DefaultEndpointControl final : public EndpointControl {
  public:
    float GetChannelLevel(int channel) override;
    void SetChannelLevel(int channel, float level) override;
    bool GetEndpointMute() override;
    void SetEndpointMute(bool muted) override;
};

// Registers the listener for control changes of the hardware parts behind the endpoint: the
// device topology's connector 0, the part it connects to and that part's topology; on each of
// its subunits the first of automatic gain control, input selector, mute and volume level that
// activates and takes the listener. S_OK when the walk went through; otherwise the failure that
// ended it (the topology, the connector, a subunit or its part).
HRESULT RegisterTopologyListener(const std::wstring& endpointId, IControlChangeNotify* listener);

// What RegisterEndpointListeners achieved. Registration failures are not reported to the user;
// the program simply receives fewer notifications.
struct EndpointListenerRegistration {
    int volumeEndpoints = 0;          // endpoints the volume listener is registered on
    HRESULT topology = S_FALSE;       // RegisterTopologyListener's result; S_FALSE: not tried
    bool notificationClient = false;  // the endpoint notification client is registered
};

// The main window's listener registration at start, in this order: the endpoint volume listener
// on every active endpoint of both directions, the topology listener for the classified endpoint
// (none when the kind was not recognised), the endpoint notification client. The listeners and
// the objects they are registered on live until the process ends; nothing is unregistered.
EndpointListenerRegistration RegisterEndpointListeners(const EndpointClassification& endpoint);

}  // namespace quorelle::device
