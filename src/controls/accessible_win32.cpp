#include "controls/accessible_win32.h"

#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <new>

#include "base/diagnostics.h"
#include "base/own_windows_win32.h"
#include "controls/gdi_win32.h"
#include "controls/scale.h"

namespace quorelle::controls {

namespace {

// The interface ids, spelled out: in a static build the import library's IID_IAccessible is an
// import thunk, and a query with it fails.
constexpr GUID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr GUID kIidDispatch = {
    0x00020400, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidUnknown = {
    0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// what a window registers while it shows the focus mark
char cuesShown;

std::atomic<bool> inUse{false};

// The accessibility library is loaded when a tool first asks, not at start.
struct Oleacc {
    decltype(&::LresultFromObject) lresultFromObject = nullptr;
    decltype(&::AccessibleObjectFromWindow) objectFromWindow = nullptr;
    Oleacc() {
        if (HMODULE m = LoadLibraryW(L"oleacc.dll")) {
            lresultFromObject = reinterpret_cast<decltype(lresultFromObject)>(
                reinterpret_cast<void*>(GetProcAddress(m, "LresultFromObject")));
            objectFromWindow = reinterpret_cast<decltype(objectFromWindow)>(
                reinterpret_cast<void*>(GetProcAddress(m, "AccessibleObjectFromWindow")));
        }
    }
};
const Oleacc& Library() {
    static const Oleacc library;
    return library;
}

// The exception barrier of a tool's call: what escapes the call is counted and reported as the
// window procedures' barriers do, and the tool gets a failure.
template <class Call>
HRESULT Barrier(const char* method, Call&& call) noexcept {
    try {
        return call();
    } catch (...) {
        ReportCaughtException(method);
        return E_FAIL;
    }
}

HRESULT Text(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

class AccessibleObject final : public IAccessible {
  public:
    explicit AccessibleObject(HWND control) : control_(control) {}
    // The control goes: every call answers that the object is gone, and the tools' proxies are
    // cut off (the platform then answers them itself).
    void Disconnect() {
        control_ = nullptr;
        CoDisconnectObject(static_cast<IAccessible*>(this), 0);
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualGUID(riid, kIidAccessible) || IsEqualGUID(riid, kIidDispatch) ||
            IsEqualGUID(riid, kIidUnknown)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: the tools use the interface's own methods
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        if (result) VariantInit(result);
        return E_NOTIMPL;
    }

    // IAccessible. The window thread is a single-threaded apartment: the platform brings every
    // call of another apartment or process to it through its message loop, so each call reads
    // and acts on the page on its own thread. Each call that does more than answer a constant
    // runs behind a barrier (Barrier): no exception crosses the interface.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return Barrier("IAccessible::get_accParent", [&]() -> HRESULT {
            if (!parent) return E_POINTER;
            *parent = nullptr;
            if (HRESULT hr = ReachableFromThisThread(); hr != S_OK) return hr;
            if (!Library().objectFromWindow) return S_FALSE;
            return Library().objectFromWindow(control_, static_cast<DWORD>(OBJID_WINDOW),
                                              kIidDispatch, reinterpret_cast<void**>(parent));
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return Barrier("IAccessible::get_accChildCount", [&]() -> HRESULT {
            if (!count) return E_POINTER;
            *count = 0;
            if (HRESULT hr = ReachableFromThisThread(); hr != S_OK) return hr;
            *count = Host()->ChildCount(control_);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return Barrier("IAccessible::get_accChild", [&]() -> HRESULT {
            if (!out) return E_POINTER;
            *out = nullptr;
            int index = 0;
            if (HRESULT hr = Child(child, index); hr != S_OK) return hr;
            return index == 0 ? E_INVALIDARG : S_FALSE;  // zones are simple elements
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        return Barrier("IAccessible::get_accName",
                       [&]() -> HRESULT { return Fact(child, out, &AccessibleFacts::name); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        return Barrier("IAccessible::get_accValue",
                       [&]() -> HRESULT { return Fact(child, out, &AccessibleFacts::value); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return Barrier("IAccessible::get_accDescription",
                       [&]() -> HRESULT { return EmptyTextOfExistingChild(child, out); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        return Barrier("IAccessible::get_accRole", [&]() -> HRESULT {
            return Number(child, out, [](const AccessibleFacts& f) { return LONG(f.role); });
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        return Barrier("IAccessible::get_accState", [&]() -> HRESULT {
            return Number(child, out, [](const AccessibleFacts& f) { return LONG(f.state); });
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
        return Barrier("IAccessible::get_accHelp",
                       [&]() -> HRESULT { return EmptyTextOfExistingChild(child, out); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return Barrier("IAccessible::get_accHelpTopic", [&]() -> HRESULT {
            if (file) *file = nullptr;
            if (topic) *topic = -1;
            if (!file || !topic) return E_POINTER;
            int index = 0;
            if (HRESULT hr = Child(child, index); hr != S_OK) return hr;
            return S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return Barrier("IAccessible::get_accKeyboardShortcut",
                       [&]() -> HRESULT { return EmptyTextOfExistingChild(child, out); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        return Barrier("IAccessible::get_accFocus", [&]() -> HRESULT {
            if (!out) return E_POINTER;
            VariantInit(out);
            if (HRESULT hr = ReachableFromThisThread(); hr != S_OK) return hr;
            if (GetFocus() != control_) return S_FALSE;
            out->vt = VT_I4;
            out->lVal = CHILDID_SELF;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        return Barrier("IAccessible::get_accSelection", [&]() -> HRESULT {
            if (!out) return E_POINTER;
            VariantInit(out);
            if (HRESULT hr = ReachableFromThisThread(); hr != S_OK) return hr;
            return S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return Barrier("IAccessible::get_accDefaultAction",
                       [&]() -> HRESULT { return Fact(child, out, &AccessibleFacts::action); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return Barrier("IAccessible::accSelect", [&]() -> HRESULT {
            int index = 0;
            if (HRESULT hr = Child(child, index); hr != S_OK) return hr;
            if (flags != SELFLAG_TAKEFOCUS || index != 0) return DISP_E_MEMBERNOTFOUND;
            AccessibleFacts facts;
            if (!Host()->Describe(control_, 0, facts) || !(facts.state & kStateFocusable))
                return DISP_E_MEMBERNOTFOUND;
            // a window not shown takes no focus, as it takes no click
            if (facts.state & kStateInvisible) return E_FAIL;
            SetFocus(control_);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return Barrier("IAccessible::accLocation", [&]() -> HRESULT {
            for (long* out : {left, top, width, height})
                if (out) *out = 0;
            if (!left || !top || !width || !height) return E_POINTER;
            int index = 0;
            if (HRESULT hr = Child(child, index); hr != S_OK) return hr;
            RECT r{};
            if (index == 0) {
                GetWindowRect(control_, &r);
            } else if (!Host()->ChildScreenRect(control_, index, r)) {
                return E_INVALIDARG;
            }
            *left = r.left;
            *top = r.top;
            *width = r.right - r.left;
            *height = r.bottom - r.top;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT start, VARIANT* out) override {
        return Barrier("IAccessible::accNavigate", [&]() -> HRESULT {
            if (!out) return E_POINTER;
            VariantInit(out);
            int index = 0;
            if (HRESULT hr = Child(start, index); hr != S_OK) return hr;
            return DISP_E_MEMBERNOTFOUND;
        });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        return Barrier("IAccessible::accHitTest", [&]() -> HRESULT {
            if (!out) return E_POINTER;
            VariantInit(out);
            if (HRESULT hr = ReachableFromThisThread(); hr != S_OK) return hr;
            RECT r;
            const POINT p{x, y};
            if (!GetWindowRect(control_, &r) || !PtInRect(&r, p)) return S_FALSE;
            out->vt = VT_I4;
            out->lVal = Host()->ChildAt(control_, p);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Barrier("IAccessible::accDoDefaultAction", [&]() -> HRESULT {
            int index = 0;
            if (HRESULT hr = Child(child, index); hr != S_OK) return hr;
            return Host()->DoDefaultAction(control_, index);
        });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return Barrier("IAccessible::put_accValue", [&]() -> HRESULT {
            int index = 0;
            if (HRESULT hr = Child(child, index); hr != S_OK) return hr;
            if (index != 0 || !value) return E_INVALIDARG;
            return Host()->SetValue(control_, std::wstring(value, SysStringLen(value)));
        });
    }

  private:
    // S_OK while the control is there and the call runs on its thread. A call from another
    // thread of this process that holds the object itself, not a proxy, is refused: only the
    // window's thread may touch the page.
    HRESULT ReachableFromThisThread() const {
        HWND control = control_;
        if (!control || !IsWindow(control)) return CO_E_OBJNOTCONNECTED;
        if (!IsThreadWindow(control)) return RPC_E_WRONG_THREAD;
        return Host() ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    AccessibleHost* Host() const {
        HWND control = control_;
        if (!control) return nullptr;
        return WindowObjectAs<AccessibleHost>(GetParent(control), WindowRole::AccessibleHost);
    }
    // The child a VARIANT names: S_OK with 0 for the control (CHILDID_SELF, or no child given
    // at all), 1 … n for its zones.
    HRESULT Child(const VARIANT& child, int& index) const {
        index = 0;
        if (HRESULT hr = ReachableFromThisThread(); hr != S_OK) return hr;
        if (child.vt == VT_EMPTY) return S_OK;
        if (child.vt != VT_I4) return E_INVALIDARG;
        if (child.lVal < 0 || child.lVal > Host()->ChildCount(control_)) return E_INVALIDARG;
        index = static_cast<int>(child.lVal);
        return S_OK;
    }
    HRESULT Facts(const VARIANT& child, AccessibleFacts& facts) const {
        int index = 0;
        if (HRESULT hr = Child(child, index); hr != S_OK) return hr;
        return Host()->Describe(control_, index, facts) ? S_OK : E_INVALIDARG;
    }
    HRESULT Number(const VARIANT& child, VARIANT* out, LONG (*pick)(const AccessibleFacts&)) const {
        if (!out) return E_POINTER;
        VariantInit(out);
        AccessibleFacts facts;
        if (HRESULT hr = Facts(child, facts); hr != S_OK) return hr;
        out->vt = VT_I4;
        out->lVal = pick(facts);
        return S_OK;
    }
    HRESULT Fact(const VARIANT& child, BSTR* out, std::wstring AccessibleFacts::*field) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        AccessibleFacts facts;
        if (HRESULT hr = Facts(child, facts); hr != S_OK) return hr;
        return Text(facts.*field, out);
    }
    // A property the controls do not have: nothing, for a child that exists.
    HRESULT EmptyTextOfExistingChild(const VARIANT& child, BSTR* out) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        int index = 0;
        if (HRESULT hr = Child(child, index); hr != S_OK) return hr;
        return S_FALSE;
    }

    std::atomic<HWND> control_;
    std::atomic<ULONG> references_{1};
};

void SetAccessibleHost(HWND window, AccessibleHost* host) {
    SetWindowObject(window, WindowRole::AccessibleHost, host);
}

namespace {

// The object that keeps the tools' interfaces open on the window thread, so that the last stub
// of an interface never goes: it exists only for Wine (base/wine_seam_win32.h, "Wine seam:
// interface anchor", says why and what a build for Windows alone may do). It answers nothing (it
// has no control) and nobody unmarshals it.
AccessibleObject* anchor = nullptr;

void HoldInterfacesOpen() {
    if (anchor) return;
    anchor = new (std::nothrow) AccessibleObject(nullptr);
    if (!anchor) return;
    for (const GUID* iid : {&kIidAccessible, &kIidDispatch, &kIidUnknown}) {
        // the stub stays with the object until it is disconnected; the bytes are not needed
        IStream* stream = nullptr;
        if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) continue;
        CoMarshalInterface(stream, *iid, static_cast<IAccessible*>(anchor), MSHCTX_LOCAL, nullptr,
                           MSHLFLAGS_TABLESTRONG);
        stream->Release();
    }
}

}  // namespace

void ReleaseInterfaceAnchor() {
    // cut off without waiting for calls, as a control's object is when its control goes
    ReleaseAccessibleObject(anchor);
}

LRESULT AnswerGetObject(HWND control, WPARAM wParam, LPARAM lParam, AccessibleObject*& object) {
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
    auto* host = WindowObjectAs<AccessibleHost>(GetParent(control), WindowRole::AccessibleHost);
    if (!host || !Library().lresultFromObject) return 0;
    if (!object) object = new (std::nothrow) AccessibleObject(control);
    if (!object) return 0;
    inUse = true;
    HoldInterfacesOpen();
    host->Watch();
    const LRESULT answer =
        Library().lresultFromObject(kIidAccessible, wParam, static_cast<IAccessible*>(object));
    return answer < 0 ? 0 : answer;  // a failure code: the platform's own object instead
}

void ReleaseAccessibleObject(AccessibleObject*& object) {
    if (!object) return;
    object->Disconnect();
    object->Release();
    object = nullptr;
}

void SetFocusCues(HWND window, bool shown) {
    if (!window || shown == FocusCuesShown(window)) return;
    SetWindowObject(window, WindowRole::FocusCues, shown ? &cuesShown : nullptr);
    if (HWND focus = GetFocus(); focus && GetParent(focus) == window)
        InvalidateRect(focus, nullptr, FALSE);
}

bool FocusCuesShown(HWND window) {
    return WindowObject(window, WindowRole::FocusCues) != nullptr;
}

void DrawFocusMark(HDC dc, const RECT& area, int dpi, bool round) {
    const int width = std::max(1, ToDevice(1, dpi));
    gdi::Pen pen(CreatePen(PS_INSIDEFRAME, width, kFocusMarkColour));
    if (!pen) return;
    gdi::SelectGuard selectPen(dc, pen.Get());
    gdi::SelectGuard selectBrush(dc, GetStockObject(NULL_BRUSH));
    if (round) {
        // a pixel inside the edge, where the round window's region keeps all of the ring
        Ellipse(dc, area.left + width, area.top + width, area.right - width, area.bottom - width);
    } else {
        const int corner = ToDevice(4, dpi);
        RoundRect(dc, area.left, area.top, area.right, area.bottom, corner, corner);
    }
}

bool AccessibilityInUse() {
    return inUse;
}

}  // namespace quorelle::controls
