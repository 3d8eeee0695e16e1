// The program's loader on the real osConfLib.dll (the virtual card, copied beside this test
// program): resolution, property round trips in both encodings, the log, the callback thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/main_window_handle_win32.h"
#include "base/messages.h"
#include "base/text_win32.h"
#include "device/conflib.h"
#include "device/conflib_win32.h"
#include "device/selection.h"

using namespace quorelle;
using namespace quorelle::device;

namespace {

std::wstring ExeDirectory() {
    const std::wstring path = ModulePath();
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::string ReadWholeFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class RealConfLib : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = ExeDirectory();
        DeleteFileW((dir_ + L"VirtualCard.ini").c_str());
        DeleteFileW((dir_ + L"VirtualCard.log").c_str());
        DeleteFileW((dir_ + L"VirtualCard.state").c_str());
        ASSERT_TRUE(LoadConfLib()) << "osConfLib.dll beside the test program";
        ASSERT_EQ(conflib::Init(), 0);
    }
    void TearDown() override {
        conflib::UnInit();
        ConfLibSlots() = {};
        // later users of the card beside this program start from the default card
        DeleteFileW((dir_ + L"VirtualCard.ini").c_str());
        DeleteFileW((dir_ + L"VirtualCard.state").c_str());
    }
    void WriteIni(const std::string& text) {
        std::ofstream((dir_ + L"VirtualCard.ini").c_str(), std::ios::binary) << text;
    }
    std::wstring dir_;
};

TEST_F(RealConfLib, ResolvesAllElevenEntryPoints) {
    const ConfLibEntryPoints& s = ConfLibSlots();
    EXPECT_NE(s.ConfLibInit, nullptr);
    EXPECT_NE(s.GetDeviceById, nullptr);
    EXPECT_NE(s.PropertyControl, nullptr);
    EXPECT_NE(s.RegisterCallbackFunction, nullptr);
    EXPECT_NE(s.GetDeviceCount, nullptr);
    EXPECT_NE(s.CreateDeviceList, nullptr);
    EXPECT_NE(s.ConfLibUnInit, nullptr);
    EXPECT_NE(s.ShowAsioPanel, nullptr);
    EXPECT_NE(s.PlayTestSound, nullptr);
    EXPECT_NE(s.StopTestSound, nullptr);
    EXPECT_NE(s.CloseTestSound, nullptr);
    // loaded from the program's directory, not found elsewhere on the search path
    HMODULE module = GetModuleHandleW(L"osConfLib.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(s.PropertyControl),
              reinterpret_cast<void*>(GetProcAddress(module, "PropertyControl")));
    EXPECT_EQ(_wcsicmp(ModulePath(module).c_str(), (dir_ + L"osConfLib.dll").c_str()), 0);
}

TEST_F(RealConfLib, TheLibraryImportsOnlySystemDlls) {
    auto* base = reinterpret_cast<const uint8_t*>(GetModuleHandleW(L"osConfLib.dll"));
    ASSERT_NE(base, nullptr);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(dir.VirtualAddress, 0u);
    int count = 0;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         d->Name != 0; ++d, ++count) {
        std::string name = reinterpret_cast<const char*>(base + d->Name);
        for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(name == "kernel32.dll" || name == "msvcrt.dll" || name == "ucrtbase.dll" ||
                    name.rfind("api-ms-win-", 0) == 0)
            << name;
    }
    EXPECT_GT(count, 0);
}

TEST_F(RealConfLib, SetThenGetRoundTripsInBothEncodings) {
    const DeviceDescriptor analog{10, 1, 0, 1};
    PropertyBuffer data, extra;
    EXPECT_EQ(SetProperty32(analog, u"DevSampleRateControl", 96000, data), 0);
    const PropertyAnswer rate = GetProperty(analog, u"DevSampleRateControl", data);
    EXPECT_TRUE(rate.ok());
    EXPECT_EQ(rate.value(), 96000);
    EXPECT_EQ(std::memcmp(data.data(), L"96000", 12), 0);  // UTF-16 with its terminator

    EXPECT_EQ(SetProperty32(analog, u"Enable_EQ_GFX", 1, data), 0);
    const PropertyAnswer eq = GetProperty(analog, u"Enable_EQ_GFX", data);
    EXPECT_TRUE(eq.ok());
    EXPECT_EQ(eq.value(), 1);
    EXPECT_EQ(std::memcmp(data.data(), "1", 2), 0);  // 8-bit with its terminator

    EXPECT_EQ(SetProperty16(analog, u"DevBitDepthControl", 32, data), 0);
    EXPECT_EQ(GetProperty(analog, u"DevBitDepthControl", data).value(), 32);
    extra.Put32(2);
    EXPECT_EQ(SetProperty32(analog, u"HPAmplifierControl", 150, data, &extra), 0);
    EXPECT_EQ(GetProperty(analog, u"HPAmplifierControl", data, &extra).value(), 150);
}

TEST_F(RealConfLib, DefaultCardIsSelectedWithItsFeatures) {
    theOutputDevice = {};
    theInputDevice = {};
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 12);
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 10);
    EXPECT_EQ(theInputDevice.device.id, 20);
    EXPECT_EQ(theOutputDevice.features, 7);
    EXPECT_EQ(theOutputDevice.field5, 9);
    EXPECT_EQ(theOutputDevice.field7, 12);
    theOutputDevice = {};
    theInputDevice = {};
}

TEST_F(RealConfLib, LogLinesMatchByteForByte) {
    WriteIni("[Properties]\r\nFailGet=RFX_ENVIRONMENT\r\n");
    ASSERT_EQ(conflib::Init(), 0);  // reads the configuration again
    uint32_t n = 0;
    DeviceDescriptor d{};
    PropertyBuffer data, extra;
    conflib::CreateDeviceList();
    conflib::GetDeviceCount(kInputList, &n);
    conflib::GetDeviceById(kOutputList, 1, &d);
    SetProperty32({12, 4, 0, 1}, u"EQ_Slider10", -20, data);
    extra.PutFormat(2, 16, 96000);
    GetProperty({10, 1, 0, 1}, u"IsSupportFormat", data, &extra);
    GetProperty({10, 1, 0, 1}, u"RFX_ENVIRONMENT", data);
    conflib::UnInit();
    EXPECT_EQ(ReadWholeFile(dir_ + L"VirtualCard.log"),
              "ConfLibInit -> 0\n"  // from SetUp
              "ConfLibInit -> 0\n"
              "CreateDeviceList -> 0\n"
              "GetDeviceCount list=1 -> count=1\n"
              "GetDeviceById list=0 index=1 -> dev=11,7,0,1\n"
              "PropertyControl set EQ_Slider10 dev=12,4,0,1 data=-20 extra=none -> 0\n"
              "PropertyControl get IsSupportFormat dev=10,1,0,1 extra=1048578,96000 -> 0"
              " answer=1\n"
              "PropertyControl get RFX_ENVIRONMENT dev=10,1,0,1 extra=none -> 1 answer=\n"
              "ConfLibUnInit -> 0\n");
}

// Pumps this thread's messages until `message` arrives for the window or the time is up.
bool WaitForMessage(HWND window, UINT message, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        MSG msg;
        while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
            ConfLibEvents().Disarm(msg.message);  // as the main window does on arrival
            if (msg.message == message) return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return false;
}

std::atomic<DWORD> g_callbackThread{0};

void RecordingCallback(void* context, void* reserved, int32_t event, uint32_t flags) {
    g_callbackThread = GetCurrentThreadId();
    ConfLibCallback(context, reserved, event, flags);
}

class MessageWindow {
  public:
    MessageWindow() {
        hwnd_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                nullptr);
        previous_ = AppMainWindow();
        SetAppMainWindow(hwnd_);
        // a new main window has nothing waiting in its queue, whatever an earlier test's window
        // was sent before it went away
        ConfLibEvents().Disarm(WM_CONFLIB_EVENT_A);
        ConfLibEvents().Disarm(WM_CONFLIB_EVENT_B);
    }
    ~MessageWindow() {
        SetAppMainWindow(previous_);
        DestroyWindow(hwnd_);
    }
    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
    HWND previous_ = nullptr;
};

TEST_F(RealConfLib, CallbackArrivesOnAnotherThreadAsAPostedMessage) {
    MessageWindow window;
    ASSERT_NE(window.hwnd(), nullptr);
    g_callbackThread = 0;
    ASSERT_EQ(conflib::RegisterCallbackFunction(&RecordingCallback, nullptr), 0);
    PropertyBuffer data;
    ASSERT_EQ(SetProperty32({10, 1, 0, 1}, u"Enable_RFX_GFX", 1, data), 0);
    EXPECT_TRUE(WaitForMessage(window.hwnd(), WM_CONFLIB_EVENT_A, 5000));
    EXPECT_NE(g_callbackThread.load(), 0u);
    EXPECT_NE(g_callbackThread.load(), GetCurrentThreadId());
    conflib::RegisterCallbackFunction(nullptr, nullptr);
}

TEST(ConfLibCallbackPosting, PostsOnlyTheMessageTheRuleGives) {
    MessageWindow window;
    PostConfLibEvent(window.hwnd(), 8, 0);
    PostConfLibEvent(window.hwnd(), 1, 0x100);
    PostConfLibEvent(window.hwnd(), 1, 0x40);
    PostConfLibEvent(nullptr, 1, 0x80);  // no main window yet: nothing, no crash
    std::vector<UINT> seen;
    MSG msg;
    while (PeekMessageW(&msg, window.hwnd(), 0, 0, PM_REMOVE)) {
        ConfLibEvents().Disarm(msg.message);
        seen.push_back(msg.message);
        EXPECT_EQ(msg.wParam, 0u);
        EXPECT_EQ(msg.lParam, 0);
    }
    EXPECT_EQ(seen, (std::vector<UINT>{WM_CONFLIB_EVENT_B, WM_CONFLIB_EVENT_A}));
    // the registered callback goes to the application's main window
    ConfLibCallback(nullptr, nullptr, 8, 0);
    EXPECT_TRUE(
        PeekMessageW(&msg, window.hwnd(), WM_CONFLIB_EVENT_B, WM_CONFLIB_EVENT_B, PM_REMOVE));
    ConfLibEvents().Disarm(WM_CONFLIB_EVENT_B);
}

// The messages waiting for the window, taken from the queue without handling them.
std::vector<UINT> Waiting(HWND window) {
    std::vector<UINT> seen;
    MSG msg;
    while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) seen.push_back(msg.message);
    return seen;
}

TEST(ConfLibCallbackPosting, AStormOfCallbacksWaitsAsOneMessageOfEachKind) {
    MessageWindow window;
    std::thread storm([] {
        for (int i = 0; i < 100000; ++i) {
            ConfLibCallback(nullptr, nullptr, 1, 0x80);
            ConfLibCallback(nullptr, nullptr, 8, 0);
        }
    });
    storm.join();
    EXPECT_EQ(Waiting(window.hwnd()), (std::vector<UINT>{WM_CONFLIB_EVENT_A, WM_CONFLIB_EVENT_B}));
    // once the window took them, the next callback of each kind is posted again
    ConfLibEvents().Disarm(WM_CONFLIB_EVENT_A);
    ConfLibEvents().Disarm(WM_CONFLIB_EVENT_B);
    ConfLibCallback(nullptr, nullptr, 8, 0);
    ConfLibCallback(nullptr, nullptr, 1, 0x100);
    EXPECT_EQ(Waiting(window.hwnd()), (std::vector<UINT>{WM_CONFLIB_EVENT_B, WM_CONFLIB_EVENT_A}));
    ConfLibEvents().Disarm(WM_CONFLIB_EVENT_A);
    ConfLibEvents().Disarm(WM_CONFLIB_EVENT_B);
}

}  // namespace
