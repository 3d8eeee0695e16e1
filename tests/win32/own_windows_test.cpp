// The one way from a window handle to the program's object: it answers only for a window of the
// calling thread that the program registered, whatever the window's user data holds, and a
// control notification that names any other window reaches no control.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "base/own_windows_win32.h"
#include "controls/control_win32.h"

namespace quorelle {
namespace {

HWND Window(HWND parent = nullptr) {
    return CreateWindowExW(0, L"STATIC", L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 8, 8, parent,
                           nullptr, nullptr, nullptr);
}

constexpr LONG_PTR kBogus = 0x414141414140;

TEST(OwnWindows, OnlyARegisteredWindowOfThisThreadLeadsToItsObject) {
    int object = 0;
    HWND mine = Window();
    HWND foreign = Window();  // unregistered, with a pointer in its user data
    SetWindowLongPtrW(foreign, GWLP_USERDATA, kBogus);
    ASSERT_TRUE(SetWindowObject(mine, WindowRole::Control, &object));

    // a window of another thread, registered there, stays that thread's
    HWND other = nullptr;
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        other = Window();
        SetWindowObject(other, WindowRole::Control, &object);
        SetEvent(made);
        WaitForSingleObject(done, 10000);
        DestroyWindow(other);
    });
    WaitForSingleObject(made, 10000);

    struct Case {
        const char* what;
        HWND window;
        WindowRole role;
        void* expected;
    } const cases[] = {
        {"registered, its role", mine, WindowRole::Control, &object},
        {"registered, another role", mine, WindowRole::Frame, nullptr},
        {"foreign user data", foreign, WindowRole::Control, nullptr},
        {"another thread's", other, WindowRole::Control, nullptr},
        {"no window", nullptr, WindowRole::Control, nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(WindowObject(c.window, c.role), c.expected) << c.what;
    EXPECT_FALSE(SetWindowObject(other, WindowRole::Control, &object))
        << "only the window's thread registers";
    SetEvent(done);
    owner.join();

    DestroyWindow(mine);  // gone without letting go: the entry answers nothing
    EXPECT_EQ(WindowObject(mine, WindowRole::Control), nullptr);
    ForgetWindow(mine);
    DestroyWindow(foreign);
    CloseHandle(made);
    CloseHandle(done);
}

// A control that counts the notifications its window reflects to it.
class Counting : public controls::SubclassedControl {
  public:
    int reflected = 0;
    bool OnReflected(UINT, WPARAM, LPARAM, LRESULT& result) override {
        ++reflected;
        result = 1;
        return true;
    }
};

TEST(OwnWindows, NotificationsReachOnlyTheProgramsOwnControls) {
    HWND parent = Window();
    HWND child = Window(parent);
    HWND foreign = Window();
    SetWindowLongPtrW(foreign, GWLP_USERDATA, kBogus);
    Counting control;
    ASSERT_TRUE(control.Attach(child));
    EXPECT_EQ(GetWindowLongPtrW(child, GWLP_USERDATA), 0) << "user data stays the window's";
    EXPECT_FALSE(Counting().Attach(child)) << "bound once";
    for (HWND named : {child, foreign}) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = named;
        const LPARAM l = reinterpret_cast<LPARAM>(named);
        const struct {
            UINT message;
            LPARAM lParam;
        } messages[] = {{WM_DRAWITEM, reinterpret_cast<LPARAM>(&item)},
                        {WM_CTLCOLORSTATIC, l},
                        {WM_CTLCOLORBTN, l},
                        {WM_COMMAND, l}};
        for (const auto& m : messages) {
            LRESULT result = 0;
            const int before = control.reflected;
            EXPECT_EQ(controls::ReflectNotification(m.message, 0, m.lParam, result), named == child)
                << std::hex << m.message;
            EXPECT_EQ(control.reflected - before, named == child ? 1 : 0);
        }
    }
    control.Detach();
    EXPECT_EQ(controls::SubclassedControl::FromHandle(child), nullptr);
    DestroyWindow(foreign);
    DestroyWindow(parent);
}

}  // namespace
}  // namespace quorelle
