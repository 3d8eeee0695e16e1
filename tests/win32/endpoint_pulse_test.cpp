// The endpoint services against real endpoints: Wine's PulseAudio driver with a private daemon
// whose null sinks carry the names below. tests/e2e/test_endpoint_pulse.sh starts the daemon,
// makes the sinks and runs these tests with QUORELLE_PULSE=1; without it they are skipped.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "base/messages.h"
#include "base/text_win32.h"
#include "device/endpoint_listeners_win32.h"
#include "device/endpoint_win32.h"
#include "endpoint_posts.h"

using namespace quorelle;
using namespace quorelle::device;
using quorelle::testing::PostedToMainWindow;

namespace {

// The sinks' descriptions, as test_endpoint_pulse.sh makes them; the kind the start-up
// classification gives each as the default endpoint; what a switch to it posts.
struct Sink {
    const char* name;
    int32_t kind;
    std::vector<LPARAM> posted;
};
const Sink kSinks[] = {
    {"Master", OUTPUT_ANALOG, {}},
    {"扬声器 (Quorelle PCI-E)", OUTPUT_ANALOG, {1}},
    {"Line Out", 0, {}},
    {"数字输出 (Quorelle PCI-E)", OUTPUT_DIGITAL, {0}},
    {"揚聲器", 0, {1}},
    {"Quorelle SPDIF Out", OUTPUT_DIGITAL, {0}},
    {"SPDIF 扬声器", OUTPUT_ANALOG, {0, 1}},
};

constexpr wchar_t kDriverKey[] = L"Software\\Wine\\Drivers\\winepulse.drv";

void SetDefaultOutput(const std::wstring& id) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kDriverKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(
        RegSetValueExW(key, L"DefaultOutput", 0, REG_SZ, reinterpret_cast<const BYTE*>(id.c_str()),
                       static_cast<DWORD>((id.size() + 1) * sizeof(wchar_t))),
        ERROR_SUCCESS);
    RegCloseKey(key);
}

void ClearDefaultOutput() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kDriverKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, L"DefaultOutput");
    RegCloseKey(key);
}

// Active endpoints of a direction by friendly name (UTF-8) to identifier.
std::map<std::string, std::wstring> Endpoints(EDataFlow flow) {
    std::map<std::string, std::wstring> byName;
    ComOwner<IMMDeviceEnumerator> enumerator = CreateDeviceEnumerator();
    ComOwner<IMMDeviceCollection> endpoints;
    UINT count = 0;
    if (!enumerator ||
        FAILED(enumerator->EnumAudioEndpoints(flow, DEVICE_STATE_ACTIVE, endpoints.put())) ||
        FAILED(endpoints->GetCount(&count)))
        return byName;
    for (UINT i = 0; i < count; ++i) {
        ComOwner<IMMDevice> device;
        if (SUCCEEDED(endpoints->Item(i, device.put())))
            byName[Narrow(EndpointFriendlyName(device.get()))] = EndpointId(device.get());
    }
    return byName;
}

// Waits until the client has seen the device of this name (its lookups are what the posts
// come from); false after the time-out.
bool WaitForName(const CMMNotificationClient& client, const std::string& name) {
    for (int waited = 0; waited < 5000; waited += 20) {
        if (client.LastDeviceName() == name) return true;
        Sleep(20);
    }
    return false;
}

class EndpointPulse : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
    static void TearDownTestSuite() { ClearDefaultOutput(); }

    void SetUp() override {
        if (!GetEnvironmentVariableW(L"QUORELLE_PULSE", nullptr, 0))
            GTEST_SKIP() << "needs the PulseAudio daemon of tests/e2e/test_endpoint_pulse.sh";
        playback_ = Endpoints(eRender);
        for (const Sink& sink : kSinks)
            ASSERT_EQ(playback_.count(sink.name), 1u) << "no endpoint named " << sink.name;
    }

    std::map<std::string, std::wstring> playback_;
};

TEST_F(EndpointPulse, TheDefaultEndpointIsClassifiedByItsName) {
    for (const Sink& sink : kSinks) {
        SetDefaultOutput(playback_[sink.name]);
        const EndpointClassification result = ClassifyDefaultEndpoint();
        EXPECT_EQ(result.kind, sink.kind) << sink.name;
        EXPECT_EQ(result.speakerEndpointId, sink.kind == OUTPUT_ANALOG ? playback_[sink.name] : L"")
            << sink.name;
        EXPECT_EQ(result.digitalEndpointId,
                  sink.kind == OUTPUT_DIGITAL ? playback_[sink.name] : L"")
            << sink.name;
    }
    ClearDefaultOutput();
    // the daemon's own default, which Wine names after the sound server
    EXPECT_EQ(ClassifyDefaultEndpoint().kind, 0);
}

TEST_F(EndpointPulse, SwitchingTheDefaultPostsTheNewOutputKind) {
    ClearDefaultOutput();
    PostedToMainWindow window;
    ComOwner<IMMDeviceEnumerator> enumerator = CreateDeviceEnumerator();
    ASSERT_TRUE(enumerator);
    auto* client = new CMMNotificationClient();
    ASSERT_EQ(enumerator->RegisterEndpointNotificationCallback(client), S_OK);
    Sleep(1000);  // the services start watching the setting in the background

    for (const Sink& sink : kSinks) {
        window.Take(WM_DEFAULT_OUTPUT_CHANGED);
        SetDefaultOutput(playback_[sink.name]);
        ASSERT_TRUE(WaitForName(*client, sink.name)) << "no change reported for " << sink.name;
        Sleep(500);  // the change is reported once per role
        const std::vector<MSG> posted = window.Take(WM_DEFAULT_OUTPUT_CHANGED);
        if (sink.posted.empty()) {
            EXPECT_TRUE(posted.empty()) << sink.name << ": " << posted.size() << " posted";
            continue;
        }
        // each report of the change posts the same pattern
        ASSERT_FALSE(posted.empty()) << sink.name;
        ASSERT_EQ(posted.size() % sink.posted.size(), 0u) << sink.name;
        for (size_t i = 0; i < posted.size(); ++i) {
            EXPECT_EQ(posted[i].lParam, sink.posted[i % sink.posted.size()]) << sink.name;
            EXPECT_EQ(posted[i].wParam, 0u);
        }
    }
    EXPECT_EQ(enumerator->UnregisterEndpointNotificationCallback(client), S_OK);
    client->Release();
}

// Runs last: what the main window registers at start stays registered.
TEST_F(EndpointPulse, StartUpRegistrationReportsDefaultChangesToTheMainWindow) {
    PostedToMainWindow window;
    SetDefaultOutput(playback_["Master"]);
    const EndpointClassification kind = ClassifyDefaultEndpoint();
    ASSERT_EQ(kind.kind, OUTPUT_ANALOG);

    const size_t active = playback_.size() + Endpoints(eCapture).size();
    const EndpointListenerRegistration registered = RegisterEndpointListeners(kind);
    EXPECT_EQ(registered.volumeEndpoints, static_cast<int>(active));
    EXPECT_NE(registered.topology, S_FALSE) << "the topology listener was tried";
    EXPECT_TRUE(registered.notificationClient);
    Sleep(1000);

    window.Take(WM_DEFAULT_OUTPUT_CHANGED);
    SetDefaultOutput(playback_["数字输出 (Quorelle PCI-E)"]);
    std::vector<MSG> posted = window.WaitFor(WM_DEFAULT_OUTPUT_CHANGED, 5000, 500);
    ASSERT_FALSE(posted.empty());
    for (const MSG& msg : posted) EXPECT_EQ(msg.lParam, 0);

    SetDefaultOutput(playback_["扬声器 (Quorelle PCI-E)"]);
    posted = window.WaitFor(WM_DEFAULT_OUTPUT_CHANGED, 5000, 500);
    ASSERT_FALSE(posted.empty());
    for (const MSG& msg : posted) EXPECT_EQ(msg.lParam, 1);
    ClearDefaultOutput();
}

}  // namespace
