// The accessible objects of the real windows, asked as a tool asks (WM_GETOBJECT, then the
// object from the answer): every control of every window describes itself from the tables and
// from what it shows; a default action is the window's own click, without moving the window;
// a value set on a slider moves it; the tools hear of the change; names follow the language.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/application_win32.h"
#include "app/main_window_win32.h"
#include "base/diagnostics.h"
#include "base/messages.h"
#include "base/text_win32.h"
#include "base/texts.h"
#include "controls/accessible_win32.h"
#include "controls/control_win32.h"
#include "controls/lamp_win32.h"
#include "controls/layout.h"
#include "controls/slider_win32.h"
#include "pages/accessibility.h"
#include "pages/page_accessibility_win32.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace quorelle {
namespace {

constexpr GUID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The control's accessible object, had as a tool has it.
IAccessible* ObjectOf(HWND control) {
    const LRESULT answer =
        SendMessageW(control, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    if (answer <= 0) return nullptr;
    IAccessible* object = nullptr;
    if (FAILED(ObjectFromLresult(answer, kIidAccessible, 0, reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

VARIANT Self(long child = CHILDID_SELF) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

std::wstring Text(IAccessible* object,
                  HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                  long child = CHILDID_SELF) {
    BSTR text = nullptr;
    if ((object->*get)(Self(child), &text) != S_OK || !text) return {};
    std::wstring result(text, SysStringLen(text));
    SysFreeString(text);
    return result;
}

long Number(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*),
            long child = CHILDID_SELF) {
    VARIANT v;
    VariantInit(&v);
    if ((object->*get)(Self(child), &v) != S_OK || v.vt != VT_I4) return -1;
    return v.lVal;
}

long State(IAccessible* object, long child = CHILDID_SELF) {
    return Number(object, &IAccessible::get_accState, child);
}

bool Lit(HWND control) {
    auto* lamp =
        dynamic_cast<controls::CMyStaticBmp*>(controls::SubclassedControl::FromHandle(control));
    return lamp && lamp->Lit();
}

struct Window {
    int page;
    int dialogId;
};
constexpr Window kWindows[] = {{PAGE_MAIN, controls::kMainDialog},
                               {PAGE_HIFI, controls::kHifiDialog},
                               {PAGE_ADVANCE, controls::kAdvanceDialog},
                               {PAGE_INFO, controls::kInfoDialog},
                               {PAGE_HP, controls::kHpDialog}};

class Accessible : public ::testing::Test {
  protected:
    void SetUp() override {
        // the pages keep their choices in a settings file of their own here
        dir_ = std::filesystem::temp_directory_path() / "quorelle-accessible";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        settings_ = std::make_unique<IniFileSettings>(dir_);
        SetSettingsBackend(settings_.get());
        ASSERT_TRUE(dlg_.Create(nullptr));
        Pump();
    }
    void TearDown() override {
        if (dlg_.hwnd()) DestroyWindow(dlg_.hwnd());
        Pump();
        SetAppMainWindow(nullptr);
        SetSettingsBackend(nullptr);
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_;
    std::unique_ptr<IniFileSettings> settings_;
    CCKorZereDlg dlg_;
};

// Every control of every window: the role and name of the tables (a label's name is its text),
// checked exactly when its lamp is lit, focusable exactly when Tab visits it, an action exactly
// when it has one, and each zone of a picture a choice inside the picture.
TEST_F(Accessible, EveryControlOfEveryWindowDescribesItself) {
    SendMessageW(dlg_.hwnd(), WM_LANGUAGE_CHANGE, 0, kLanguageEnglish);
    for (const Window& w : kWindows) {
        HWND window = dlg_.WindowOf(w.page);
        ASSERT_NE(window, nullptr);
        const auto tabs = pages::TabOrder(w.dialogId);
        for (const pages::AccessibleControl& c : pages::AccessibleControls(w.dialogId)) {
            SCOPED_TRACE(::testing::Message() << w.dialogId << "/" << c.id);
            HWND control = GetDlgItem(window, c.id);
            ASSERT_NE(control, nullptr);
            IAccessible* object = ObjectOf(control);
            ASSERT_NE(object, nullptr);
            EXPECT_EQ(Number(object, &IAccessible::get_accRole), static_cast<long>(c.role));
            const std::wstring name = Text(object, &IAccessible::get_accName);
            if (c.kind == pages::AccessibleKind::Label) {  // its text, when it shows one
                wchar_t shown[256] = {};
                GetWindowTextW(control, shown, 256);
                EXPECT_EQ(name, shown);
            } else if (c.role != pages::AccessibleRole::Link) {
                EXPECT_FALSE(name.empty());
                EXPECT_EQ(name, Widen(pages::AccessibleName(w.dialogId, c, kLanguageEnglish)));
            }
            const long state = State(object);
            const bool choice = c.role == pages::AccessibleRole::CheckButton ||
                                c.role == pages::AccessibleRole::RadioButton;
            EXPECT_EQ((state & controls::kStateChecked) != 0, choice && Lit(control));
            EXPECT_EQ((state & controls::kStateFocusable) != 0,
                      std::find(tabs.begin(), tabs.end(), c.id) != tabs.end());
            const bool acts = c.kind == pages::AccessibleKind::Press ||
                              c.kind == pages::AccessibleKind::Zone ||
                              c.kind == pages::AccessibleKind::Button;
            EXPECT_EQ(!Text(object, &IAccessible::get_accDefaultAction).empty(), acts);
            long children = -1;
            object->get_accChildCount(&children);
            EXPECT_EQ(children, pages::ZoneCount(w.dialogId, c.id));
            RECT picture;
            GetWindowRect(control, &picture);
            for (long child = 1; child <= children; ++child) {
                EXPECT_EQ(Number(object, &IAccessible::get_accRole, child),
                          ROLE_SYSTEM_RADIOBUTTON);
                long x = 0, y = 0, width = 0, height = 0;
                ASSERT_EQ(object->accLocation(&x, &y, &width, &height, Self(child)), S_OK);
                EXPECT_TRUE(x >= picture.left && y >= picture.top && width > 0 && height > 0 &&
                            x + width <= picture.right && y + height <= picture.bottom);
                VARIANT hit;
                ASSERT_EQ(object->accHitTest(x + width / 2, y + height / 2, &hit), S_OK);
                EXPECT_EQ(hit.lVal, child);
            }
            object->Release();
        }
    }
}

// Collects the state changes and focus moves the tools are told of.
std::vector<HWND> stateEvents;
std::vector<HWND> focusEvents;
std::vector<HWND> valueEvents;
void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
    if (event == EVENT_OBJECT_STATECHANGE && object == OBJID_CLIENT) stateEvents.push_back(hwnd);
    if (event == EVENT_OBJECT_VALUECHANGE && object == OBJID_CLIENT) valueEvents.push_back(hwnd);
    if (event == EVENT_OBJECT_FOCUS) focusEvents.push_back(hwnd);
}

// Tab and Shift+Tab as the program's message loop hands them to a page: the focus follows the
// reading order, the tools hear of each move, and Space works the focused lamp.
TEST_F(Accessible, PageKeysMoveTheFocusInReadingOrder) {
    HWND page = dlg_.WindowOf(PAGE_HP);
    ShowWindow(page, SW_SHOW);
    SetFocus(GetDlgItem(page, 1174));
    Pump();
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnEvent,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    const auto key = [page](WPARAM vk) {
        const MSG msg{page, WM_KEYDOWN, vk, 0, 0, {}};
        return pages::PageAccessibility::HandlePageKey(page, msg);
    };
    focusEvents.clear();
    EXPECT_TRUE(key(VK_TAB));
    Pump();
    EXPECT_EQ(GetFocus(), GetDlgItem(page, 1178));  // surround, then impedance
    EXPECT_NE(std::find(focusEvents.begin(), focusEvents.end(), GetFocus()), focusEvents.end());
    EXPECT_TRUE(key(VK_TAB));
    EXPECT_EQ(GetFocus(), GetDlgItem(page, 1179));  // then the close button
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    EXPECT_TRUE(key(VK_TAB));
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(GetFocus(), GetDlgItem(page, 1178));
    const bool was = Lit(GetFocus());
    EXPECT_TRUE(key(VK_SPACE));
    EXPECT_EQ(Lit(GetFocus()), !was);
    EXPECT_FALSE(key('A'));  // other keys go on to the dialog manager
    UnhookWinEvent(hook);
}

TEST_F(Accessible, ADefaultActionIsTheWindowsClickAndTheToolsHearOfIt) {
    HWND page = dlg_.WindowOf(PAGE_ADVANCE);
    ShowWindow(page, SW_SHOWNOACTIVATE);
    HWND lamp = GetDlgItem(page, 1192);
    IAccessible* object = ObjectOf(lamp);
    ASSERT_NE(object, nullptr);
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr, OnEvent,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    RECT before;
    GetWindowRect(page, &before);
    const bool was = Lit(lamp);
    for (int i = 1; i <= 2; ++i) {
        SCOPED_TRACE(i);
        stateEvents.clear();
        ASSERT_EQ(object->accDoDefaultAction(Self()), S_OK);
        Pump();
        EXPECT_EQ(Lit(lamp), i == 1 ? !was : was);
        EXPECT_EQ((State(object) & controls::kStateChecked) != 0, Lit(lamp));
        EXPECT_NE(std::find(stateEvents.begin(), stateEvents.end(), lamp), stateEvents.end());
    }
    RECT after;
    GetWindowRect(page, &after);
    EXPECT_TRUE(EqualRect(&before, &after));  // never a window move
    // an indicator shows, and does nothing
    IAccessible* indicator = ObjectOf(GetDlgItem(page, 1196));
    ASSERT_NE(indicator, nullptr);
    EXPECT_EQ(indicator->accDoDefaultAction(Self()), DISP_E_MEMBERNOTFOUND);
    EXPECT_NE(State(indicator) & controls::kStateReadOnly, 0);
    indicator->Release();
    // a disabled button takes no click, so its default action does nothing either
    HWND close = GetDlgItem(page, 1204);
    IAccessible* button = ObjectOf(close);
    ASSERT_NE(button, nullptr);
    EnableWindow(close, FALSE);
    EXPECT_NE(State(button) & controls::kStateUnavailable, 0);
    EXPECT_EQ(button->accDoDefaultAction(Self()), DISP_E_MEMBERNOTFOUND);
    EnableWindow(close, TRUE);
    button->Release();
    UnhookWinEvent(hook);
    object->Release();
}

// A tool in another apartment has a proxy: the platform brings its calls to the window's
// thread through the message loop, where they see the focus and act. The object itself, handed
// to another thread, refuses to touch the page there.
TEST_F(Accessible, CallsFromAnotherApartmentRunOnTheWindowsThread) {
    HWND page = dlg_.WindowOf(PAGE_ADVANCE);
    ShowWindow(page, SW_SHOW);
    HWND lamp = GetDlgItem(page, 1193);
    SetFocus(lamp);
    Pump();
    ASSERT_EQ(GetFocus(), lamp);
    IAccessible* own = ObjectOf(lamp);
    ASSERT_NE(own, nullptr);
    const bool was = Lit(lamp);
    long state = 0;
    HRESULT action = E_FAIL, got = E_FAIL, direct = S_OK;
    bool done = false;
    const DWORD windowThread = GetCurrentThreadId();
    std::thread tool([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        IAccessible* proxy = nullptr;
        got = AccessibleObjectFromWindow(lamp, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                         reinterpret_cast<void**>(&proxy));
        if (proxy) {
            state = State(proxy);
            action = proxy->accDoDefaultAction(Self());
            proxy->Release();
        }
        VARIANT v;
        direct = own->get_accState(Self(), &v);
        CoUninitialize();
        done = true;
        PostThreadMessageW(windowThread, WM_NULL, 0, 0);
    });
    const DWORD start = GetTickCount();
    while (!done && GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    tool.join();
    Pump();
    EXPECT_EQ(got, S_OK);
    EXPECT_NE(state & controls::kStateFocused, 0);
    EXPECT_NE(state & controls::kStateFocusable, 0);
    EXPECT_EQ(action, S_OK);
    EXPECT_EQ(Lit(lamp), !was);
    EXPECT_EQ(direct, RPC_E_WRONG_THREAD);
    own->Release();
}

// What a tool hears when it asks for what cannot be: errors with every out-parameter set, the
// object itself for a child left empty, no action and no value on a window not shown, a
// disconnection once the control is gone.
TEST_F(Accessible, RefusalsAndErrors) {
    HWND hifi = dlg_.WindowOf(PAGE_HIFI);
    HWND advance = dlg_.WindowOf(PAGE_ADVANCE);
    ASSERT_FALSE(IsWindowVisible(advance));
    // a switch of a page not shown: no action, nothing changes
    HWND lamp = GetDlgItem(advance, 1192);
    IAccessible* object = ObjectOf(lamp);
    ASSERT_NE(object, nullptr);
    const bool was = Lit(lamp);
    EXPECT_EQ(object->accDoDefaultAction(Self()), E_FAIL);
    Pump();
    EXPECT_EQ(Lit(lamp), was);
    // an empty child is the object itself; a child that does not exist is an error
    VARIANT empty;
    VariantInit(&empty);
    VARIANT role;
    role.vt = VT_BSTR;
    EXPECT_EQ(object->get_accRole(empty, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_CHECKBUTTON);
    role.vt = VT_BSTR;
    EXPECT_EQ(object->get_accRole(Self(5), &role), E_INVALIDARG);
    EXPECT_EQ(role.vt, VT_EMPTY);
    // a band of the hidden HIFI page takes no value; a text that is no number is refused
    IAccessible* band = ObjectOf(GetDlgItem(hifi, 1115));
    ASSERT_NE(band, nullptr);
    BSTR five = SysAllocString(L"5"), word = SysAllocString(L"five");
    EXPECT_EQ(band->put_accValue(Self(), five), E_FAIL);
    EXPECT_EQ(band->put_accValue(Self(), word), E_INVALIDARG);
    EXPECT_EQ(object->put_accValue(Self(), five), DISP_E_MEMBERNOTFOUND);  // a lamp has none
    SysFreeString(five);
    SysFreeString(word);
    // the page button of the window itself is selected; action names follow the language
    ShowWindow(hifi, SW_SHOWNOACTIVATE);
    IAccessible* own = ObjectOf(GetDlgItem(hifi, 1077));
    IAccessible* other = ObjectOf(GetDlgItem(hifi, 1078));
    ASSERT_TRUE(own && other);
    EXPECT_NE(State(own) & controls::kStateSelected, 0);
    EXPECT_EQ(State(other) & controls::kStateSelected, 0);
    SendMessageW(dlg_.hwnd(), WM_LANGUAGE_CHANGE, 0, kLanguageTraditional);
    EXPECT_EQ(Text(own, &IAccessible::get_accDefaultAction), L"按下");
    SendMessageW(dlg_.hwnd(), WM_LANGUAGE_CHANGE, 0, kLanguageEnglish);
    EXPECT_EQ(Text(own, &IAccessible::get_accDefaultAction), L"Press");
    own->Release();
    other->Release();
    band->Release();
    // the control goes: every call answers that the object is gone, out-parameters cleared
    DestroyWindow(lamp);
    BSTR name = SysAllocString(L"stale");
    EXPECT_EQ(object->get_accName(Self(), &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(name, nullptr);
    long count = 7;
    EXPECT_EQ(object->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(count, 0);
    long x = 1, y = 1, width = 1, height = 1;
    EXPECT_EQ(object->accLocation(&x, &y, &width, &height, Self()), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(x | y | width | height, 0);
    EXPECT_EQ(object->accDoDefaultAction(Self()), CO_E_OBJNOTCONNECTED);
    object->Release();
}

// What a tool may not do: act where a click does nothing now (the room's lamps and picture with
// the room switch off) or on a window a notice has disabled; those answer an error and change
// nothing. The name field takes a value as typed text, and the page hears of it.
TEST_F(Accessible, ActionsThatCannotActFailAndTheNameFieldTakesTypedText) {
    HWND page = dlg_.WindowOf(PAGE_HIFI);
    ShowWindow(page, SW_SHOWNOACTIVATE);
    Pump();
    const auto checked = [&](int id, long child = CHILDID_SELF) {
        IAccessible* object = ObjectOf(GetDlgItem(page, id));
        const long state = object ? State(object, child) : -1;
        if (object) object->Release();
        return state >= 0 && (state & controls::kStateChecked) != 0;
    };
    const auto act = [&](int id, long child = CHILDID_SELF) {
        IAccessible* object = ObjectOf(GetDlgItem(page, id));
        const HRESULT hr = object ? object->accDoDefaultAction(Self(child)) : E_POINTER;
        if (object) object->Release();
        Pump();
        return hr;
    };
    if (!checked(1084)) act(1084);  // the master on
    ASSERT_TRUE(checked(1084));
    struct Case {
        bool roomOn;
        int id;
        long child;
        HRESULT expected;
    } const cases[] = {
        {false, 1110, CHILDID_SELF, E_FAIL},
        {false, 1112, 1, E_FAIL},
        {true, 1110, CHILDID_SELF, S_OK},
        {true, 1112, 3, S_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << "." << c.child << " room " << c.roomOn);
        if (checked(1092) != c.roomOn) act(1092);
        ASSERT_EQ(checked(1092), c.roomOn);
        const bool was = checked(1110) || checked(1112, 3);
        EXPECT_EQ(act(c.id, c.child), c.expected);
        if (c.expected != S_OK) {
            EXPECT_EQ(checked(1110) || checked(1112, 3), was) << "nothing changed";
        }
    }
    // a notice disables the window: no action, no value
    EnableWindow(page, FALSE);
    EXPECT_EQ(act(1084), E_FAIL);
    EXPECT_TRUE(checked(1084));
    IAccessible* band = ObjectOf(GetDlgItem(page, 1115));
    ASSERT_NE(band, nullptr);
    BSTR five = SysAllocString(L"5");
    EXPECT_EQ(band->put_accValue(Self(), five), E_FAIL);
    SysFreeString(five);
    band->Release();
    EnableWindow(page, TRUE);

    HWND field = GetDlgItem(page, 1165);
    EnableWindow(field, TRUE);  // as in the user presets' mode
    IAccessible* name = ObjectOf(field);
    ASSERT_NE(name, nullptr);
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, OnEvent,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    const std::wstring longest(300, L'x');
    struct Typed {
        std::wstring given, shown;
    } const typed[] = {
        {L"Mine", L"Mine"}, {L"one\r\ntwo", L"one"}, {longest, longest.substr(0, 255)}};
    for (const Typed& t : typed) {
        valueEvents.clear();
        BSTR text = SysAllocStringLen(t.given.data(), UINT(t.given.size()));
        EXPECT_EQ(name->put_accValue(Self(), text), S_OK);
        SysFreeString(text);
        Pump();
        EXPECT_EQ(Text(name, &IAccessible::get_accValue), t.shown);
        EXPECT_NE(std::find(valueEvents.begin(), valueEvents.end(), field), valueEvents.end())
            << "the page heard of the new text";
    }
    EnableWindow(field, FALSE);
    BSTR other = SysAllocString(L"Other");
    EXPECT_EQ(name->put_accValue(Self(), other), E_FAIL);
    SysFreeString(other);
    UnhookWinEvent(hook);
    name->Release();
}

// No exception crosses a tool's call: a host that throws makes every call fail, and each
// failure is counted.
class ThrowingHost final : public controls::AccessibleHost {
  public:
    bool Describe(HWND, int, controls::AccessibleFacts&) override { throw std::bad_alloc(); }
    int ChildCount(HWND) override { throw std::bad_alloc(); }
    bool ChildScreenRect(HWND, int, RECT&) override { throw std::bad_alloc(); }
    int ChildAt(HWND, POINT) override { throw std::bad_alloc(); }
    HRESULT DoDefaultAction(HWND, int) override { throw std::bad_alloc(); }
    HRESULT SetValue(HWND, const std::wstring&) override { throw std::bad_alloc(); }
    void Watch() override {}
};

TEST(AccessibleBarrier, EveryCallThatThrowsFailsAndIsCounted) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent,
                                 nullptr, nullptr, nullptr);
    ThrowingHost host;
    controls::SetAccessibleHost(parent, &host);
    controls::SubclassedControl control;
    ASSERT_TRUE(control.Attach(child));
    IAccessible* object = ObjectOf(child);
    ASSERT_NE(object, nullptr);
    RECT r{};
    GetWindowRect(child, &r);
    BSTR text = nullptr;
    VARIANT v;
    long number = 0;
    BSTR one = SysAllocString(L"1");
    const std::function<HRESULT()> calls[] = {
        [&] { return object->get_accChildCount(&number); },
        [&] { return object->get_accName(Self(), &text); },
        [&] { return object->get_accValue(Self(), &text); },
        [&] { return object->get_accDefaultAction(Self(), &text); },
        [&] { return object->get_accRole(Self(), &v); },
        [&] { return object->get_accState(Self(), &v); },
        [&] { return object->accHitTest(r.left + 1, r.top + 1, &v); },
        [&] { return object->accDoDefaultAction(Self()); },
        [&] { return object->put_accValue(Self(), one); },
    };
    const unsigned before = DiagnosticFailureCount();
    for (size_t i = 0; i < std::size(calls); ++i) EXPECT_EQ(calls[i](), E_FAIL) << "call " << i;
    EXPECT_EQ(DiagnosticFailureCount() - before, std::size(calls));
    SysFreeString(one);
    object->Release();
    control.Detach();
    controls::SetAccessibleHost(parent, nullptr);
    DestroyWindow(parent);
}

TEST_F(Accessible, AValueSetOnABandMovesItAsADragDoesAndNamesFollowTheLanguage) {
    HWND page = dlg_.WindowOf(PAGE_HIFI);
    HWND band = GetDlgItem(page, 1115);
    IAccessible* object = ObjectOf(band);
    ASSERT_NE(object, nullptr);
    auto* slider =
        dynamic_cast<controls::CBitmapSlider*>(controls::SubclassedControl::FromHandle(band));
    ASSERT_NE(slider, nullptr);
    ShowWindow(page, SW_SHOWNOACTIVATE);
    const int was = slider->Value();
    const int target = was == -5 ? -6 : -5;  // the band value is the negated position
    BSTR text = SysAllocString(std::to_wstring(-target).c_str());
    EXPECT_EQ(object->put_accValue(Self(), text), S_OK);
    SysFreeString(text);
    Pump();
    EXPECT_EQ(slider->Value(), target);
    EXPECT_EQ(Text(object, &IAccessible::get_accValue), std::to_wstring(-target));

    SendMessageW(dlg_.hwnd(), WM_LANGUAGE_CHANGE, 0, kLanguageSimplified);
    Pump();
    IAccessible* master = ObjectOf(GetDlgItem(page, 1084));
    ASSERT_NE(master, nullptr);
    EXPECT_EQ(Text(master, &IAccessible::get_accName), L"HIFI直通");
    SendMessageW(dlg_.hwnd(), WM_LANGUAGE_CHANGE, 0, kLanguageEnglish);
    EXPECT_EQ(Text(master, &IAccessible::get_accName), L"Dry Sound");
    master->Release();
    object->Release();
}

}  // namespace
}  // namespace quorelle
