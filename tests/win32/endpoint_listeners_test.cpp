// The three endpoint listeners driven directly, as the endpoint services would call them, and
// the endpoint services without a sound server.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
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

const GUID kForeignContext = {0x01234567, 0x89ab, 0xcdef, {1, 2, 3, 4, 5, 6, 7, 8}};

// Names the fake lookup gives; any other identifier has no name.
std::string FakeNames(LPCWSTR id) {
    if (!id) return {};
    const std::wstring key(id);
    if (key == L"spdif") return "Quorelle SPDIF Out";
    if (key == L"digital") return "数字输出";
    if (key == L"speaker") return "扬声器 (Quorelle)";
    if (key == L"speaker-tw") return "揚聲器";
    if (key == L"both") return "SPDIF 扬声器";
    if (key == L"lower") return "spdif out";
    if (key == L"master") return "Master";
    return {};
}

std::string ThrowingLookup(LPCWSTR) {
    throw std::runtime_error("lookup failed");
}

std::vector<LPARAM> LParams(const std::vector<MSG>& messages) {
    std::vector<LPARAM> values;
    for (const MSG& msg : messages) values.push_back(msg.lParam);
    return values;
}

std::vector<WPARAM> WParams(const std::vector<MSG>& messages) {
    std::vector<WPARAM> values;
    for (const MSG& msg : messages) values.push_back(msg.wParam);
    return values;
}

AUDIO_VOLUME_NOTIFICATION_DATA VolumeData(const GUID& context) {
    AUDIO_VOLUME_NOTIFICATION_DATA data{};
    data.guidEventContext = context;
    data.nChannels = 1;
    data.fMasterVolume = 0.5f;
    data.afChannelVolumes[0] = 0.5f;
    return data;
}

// ---- the COM object rules, the same for all three -------------------------------------------

template <typename T>
T* MakeListener();
template <>
CAudioEndpointVolumeCallback* MakeListener() {
    return new CAudioEndpointVolumeCallback(EventContext());
}
template <>
CControlChangeNotify* MakeListener() {
    return new CControlChangeNotify(EventContext());
}
template <>
CMMNotificationClient* MakeListener() {
    return new CMMNotificationClient(FakeNames);
}

const IID kListenerIids[] = {__uuidof(IAudioEndpointVolumeCallback), __uuidof(IControlChangeNotify),
                             __uuidof(IMMNotificationClient)};

template <typename T>
class ListenerObjectRules : public ::testing::Test {};
using Listeners =
    ::testing::Types<CAudioEndpointVolumeCallback, CControlChangeNotify, CMMNotificationClient>;
TYPED_TEST_SUITE(ListenerObjectRules, Listeners);

TYPED_TEST(ListenerObjectRules, StartsAtOneAndFreesItselfOnTheLastRelease) {
    const long before = TypeParam::LiveObjects();
    TypeParam* listener = MakeListener<TypeParam>();
    EXPECT_EQ(TypeParam::LiveObjects(), before + 1);
    EXPECT_EQ(listener->AddRef(), 2u);
    EXPECT_EQ(listener->AddRef(), 3u);
    EXPECT_EQ(listener->Release(), 2u);
    EXPECT_EQ(listener->Release(), 1u);
    EXPECT_EQ(TypeParam::LiveObjects(), before + 1) << "alive while a reference is held";
    EXPECT_EQ(listener->Release(), 0u);
    EXPECT_EQ(TypeParam::LiveObjects(), before);
}

TYPED_TEST(ListenerObjectRules, AnswersForIUnknownAndItsOwnInterfaceOnly) {
    TypeParam* listener = MakeListener<TypeParam>();
    IUnknown* asUnknown = listener;

    void* out = nullptr;
    ASSERT_EQ(asUnknown->QueryInterface(__uuidof(IUnknown), &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(asUnknown));
    EXPECT_EQ(listener->Release(), 1u) << "a successful query adds a reference";

    int own = 0;
    for (const IID& iid : kListenerIids) {
        out = reinterpret_cast<void*>(1);
        const HRESULT hr = asUnknown->QueryInterface(iid, &out);
        if (hr == S_OK) {
            ++own;
            EXPECT_EQ(out, static_cast<void*>(asUnknown));
            EXPECT_EQ(listener->Release(), 1u);
        } else {
            EXPECT_EQ(hr, E_NOINTERFACE);
            EXPECT_EQ(out, nullptr) << "a refused query clears the out parameter";
        }
    }
    EXPECT_EQ(own, 1) << "exactly its own listener interface";

    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(asUnknown->QueryInterface(__uuidof(IDispatch), &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(asUnknown->QueryInterface(__uuidof(IUnknown), nullptr), E_POINTER);
    EXPECT_EQ(listener->Release(), 0u);
}

TYPED_TEST(ListenerObjectRules, CountsCorrectlyWhenThreadsAddAndReleaseAtOnce) {
    const long before = TypeParam::LiveObjects();
    TypeParam* listener = MakeListener<TypeParam>();
    constexpr int kThreads = 4, kRounds = 1000000;
    std::atomic<int> waiting{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([listener, &waiting] {
            // all start together, so that the counts really overlap
            --waiting;
            while (waiting.load() > 0) std::this_thread::yield();
            for (int i = 0; i < kRounds; ++i) listener->AddRef();
            for (int i = 0; i < kRounds; ++i) listener->Release();
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(TypeParam::LiveObjects(), before + 1);
    EXPECT_EQ(listener->AddRef(), 2u) << "no increment or decrement was lost";
    listener->Release();
    EXPECT_EQ(listener->Release(), 0u);
    EXPECT_EQ(TypeParam::LiveObjects(), before);
}

// ---- what each listener posts ------------------------------------------------------------

TEST(EndpointVolumeListener, OwnChangesPostTenAndForeignOnesZero) {
    PostedToMainWindow window;
    auto* listener = new CAudioEndpointVolumeCallback(EventContext());
    AUDIO_VOLUME_NOTIFICATION_DATA own = VolumeData(EventContext());
    AUDIO_VOLUME_NOTIFICATION_DATA foreign = VolumeData(kForeignContext);
    AUDIO_VOLUME_NOTIFICATION_DATA none = VolumeData(GUID_NULL);
    EXPECT_EQ(listener->OnNotify(&own), S_OK);
    EXPECT_EQ(listener->OnNotify(&foreign), S_OK);
    EXPECT_EQ(listener->OnNotify(&none), S_OK);
    EXPECT_EQ(listener->OnNotify(nullptr), S_OK);
    const std::vector<MSG> posted = window.Take(WM_VOLUME_CHANGED);
    EXPECT_EQ(WParams(posted), (std::vector<WPARAM>{10, 0, 0, 0}));
    EXPECT_EQ(LParams(posted), (std::vector<LPARAM>{0, 0, 0, 0}));
    listener->Release();
}

TEST(EndpointVolumeListener, PostsFromTheServicesThreadToTheMainWindowsQueue) {
    PostedToMainWindow window;
    auto* listener = new CAudioEndpointVolumeCallback(EventContext());
    std::thread services([listener] {
        AUDIO_VOLUME_NOTIFICATION_DATA foreign = VolumeData(kForeignContext);
        listener->OnNotify(&foreign);
    });
    services.join();
    const std::vector<MSG> posted = window.WaitFor(WM_VOLUME_CHANGED, 2000, 0);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].hwnd, window.hwnd());
    EXPECT_EQ(posted[0].wParam, 0u);
    listener->Release();
}

TEST(EndpointVolumeListener, PostsNothingWhileThereIsNoMainWindow) {
    PostedToMainWindow window;
    SetAppMainWindow(nullptr);
    auto* listener = new CAudioEndpointVolumeCallback(EventContext());
    AUDIO_VOLUME_NOTIFICATION_DATA foreign = VolumeData(kForeignContext);
    EXPECT_EQ(listener->OnNotify(&foreign), S_OK);
    EXPECT_TRUE(window.Take(WM_VOLUME_CHANGED).empty());
    listener->Release();
}

TEST(ControlChangeListener, PostsOneForForeignChangesAndNothingForOwn) {
    PostedToMainWindow window;
    auto* listener = new CControlChangeNotify(EventContext());
    const GUID own = EventContext();
    EXPECT_EQ(listener->OnNotify(GetCurrentProcessId(), &own), S_OK);
    EXPECT_TRUE(window.Take(WM_VOLUME_CHANGED).empty());
    EXPECT_EQ(listener->OnNotify(0, &kForeignContext), S_OK);
    EXPECT_EQ(listener->OnNotify(0, nullptr), S_OK);
    const std::vector<MSG> posted = window.Take(WM_VOLUME_CHANGED);
    EXPECT_EQ(WParams(posted), (std::vector<WPARAM>{1, 1}));
    listener->Release();
}

TEST(NotificationClient, DefaultPlaybackChangePostsTheKindsByName) {
    PostedToMainWindow window;
    auto* client = new CMMNotificationClient(FakeNames);
    struct Case {
        LPCWSTR id;
        std::vector<LPARAM> posted;
    };
    const Case cases[] = {
        {L"spdif", {0}},   {L"digital", {0}},
        {L"speaker", {1}}, {L"speaker-tw", {1}},  // the Traditional word counts here
        {L"both", {0, 1}},                        // digital first, then analog
        {L"lower", {}},                           // compared with case
        {L"master", {}},  // this word decides only the start-up classification
        {L"unknown", {}},  {nullptr, {}},
    };
    for (const Case& c : cases) {
        for (ERole role : {eConsole, eMultimedia, eCommunications}) {
            EXPECT_EQ(client->OnDefaultDeviceChanged(eRender, role, c.id), S_OK);
            const std::vector<MSG> posted = window.Take(WM_DEFAULT_OUTPUT_CHANGED);
            EXPECT_EQ(LParams(posted), c.posted) << (c.id ? Narrow(c.id) : "null") << " " << role;
            for (const MSG& msg : posted) EXPECT_EQ(msg.wParam, 0u);
        }
    }
    client->Release();
}

TEST(NotificationClient, RecordingDefaultChangesPostNothing) {
    PostedToMainWindow window;
    auto* client = new CMMNotificationClient(FakeNames);
    for (LPCWSTR id : {L"spdif", L"speaker", L"both"}) {
        EXPECT_EQ(client->OnDefaultDeviceChanged(eCapture, eConsole, id), S_OK);
        EXPECT_EQ(client->LastDeviceName(), FakeNames(id)) << "the name is still looked up";
    }
    EXPECT_TRUE(window.Take(WM_DEFAULT_OUTPUT_CHANGED).empty());
    client->Release();
}

TEST(NotificationClient, OtherNotificationsKeepTheNameAndPostNothing) {
    PostedToMainWindow window;
    auto* client = new CMMNotificationClient(FakeNames);
    EXPECT_EQ(client->LastDeviceName(), "");
    EXPECT_EQ(client->OnDeviceAdded(L"speaker"), S_OK);
    EXPECT_EQ(client->LastDeviceName(), "扬声器 (Quorelle)");
    EXPECT_EQ(client->OnDeviceStateChanged(L"digital", DEVICE_STATE_ACTIVE), S_OK);
    EXPECT_EQ(client->LastDeviceName(), "数字输出");
    EXPECT_EQ(client->OnPropertyValueChanged(L"spdif", PROPERTYKEY{}), S_OK);
    EXPECT_EQ(client->LastDeviceName(), "Quorelle SPDIF Out");
    EXPECT_EQ(client->OnDeviceRemoved(L"gone"), S_OK);
    EXPECT_EQ(client->LastDeviceName(), "") << "a failed lookup keeps an empty name";
    EXPECT_TRUE(window.Take(WM_DEFAULT_OUTPUT_CHANGED).empty());
    EXPECT_TRUE(window.Take(WM_VOLUME_CHANGED).empty());
    client->Release();
}

TEST(NotificationClient, NothingThrownInsideACallbackEscapesIt) {
    PostedToMainWindow window;
    auto* client = new CMMNotificationClient(ThrowingLookup);
    EXPECT_EQ(client->OnDefaultDeviceChanged(eRender, eConsole, L"spdif"), S_OK);
    EXPECT_EQ(client->OnDeviceAdded(L"spdif"), S_OK);
    EXPECT_EQ(client->OnDeviceRemoved(L"spdif"), S_OK);
    EXPECT_EQ(client->OnDeviceStateChanged(L"spdif", DEVICE_STATE_ACTIVE), S_OK);
    EXPECT_EQ(client->OnPropertyValueChanged(L"spdif", PROPERTYKEY{}), S_OK);
    EXPECT_TRUE(window.Take(WM_DEFAULT_OUTPUT_CHANGED).empty());
    client->Release();
}

// ---- the services themselves ---------------------------------------------------------------

TEST(EndpointServices, TheEventContextIsTheFixedGuid) {
    const GUID context = EventContext();
    wchar_t text[40];
    ASSERT_GT(StringFromGUID2(context, text, 40), 0);
    EXPECT_STREQ(text, L"{4FA3DCD0-3E1B-4BC3-3462-653037313036}");
}

TEST(EndpointServices, TopologyRegistrationFailsCleanlyForAnUnknownEndpoint) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    auto* listener = new CControlChangeNotify(EventContext());
    EXPECT_TRUE(FAILED(RegisterTopologyListener(L"{0.0.0.00000000}.{no-such-endpoint}", listener)));
    EXPECT_TRUE(FAILED(RegisterTopologyListener(L"", listener)));
    EXPECT_EQ(RegisterTopologyListener(L"x", nullptr), E_POINTER);
    EXPECT_EQ(listener->Release(), 0u) << "a failed registration keeps no reference";
}

TEST(EndpointServices, WithoutAnyEndpointReadsGiveNothingAndNoTopologyIsTried) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
        ComOwner<IMMDeviceEnumerator> enumerator = CreateDeviceEnumerator();
        ASSERT_TRUE(enumerator) << "the device enumerator exists even without a sound server";
        ComOwner<IMMDevice> device;
        if (SUCCEEDED(enumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, device.put())))
            GTEST_SKIP() << "a sound server is running; the endpoint tests with one are "
                            "tests/e2e/test_endpoint_pulse.sh";
    }
    DefaultEndpointControl endpoint;
    endpoint.SetChannelLevel(0, 0.25f);
    endpoint.SetEndpointMute(true);
    EXPECT_EQ(endpoint.GetChannelLevel(0), 0.0f);
    EXPECT_EQ(endpoint.GetChannelLevel(1), 0.0f);
    EXPECT_FALSE(endpoint.GetEndpointMute());

    const EndpointClassification kind = ClassifyDefaultEndpoint();
    EXPECT_EQ(kind.kind, 0);
    const EndpointListenerRegistration registered = RegisterEndpointListeners(kind);
    EXPECT_EQ(registered.volumeEndpoints, 0);
    EXPECT_EQ(registered.topology, S_FALSE) << "no topology listener for an unrecognised kind";
    EXPECT_TRUE(registered.notificationClient);
}

}  // namespace
