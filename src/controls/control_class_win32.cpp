#include "controls/control_class_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "controls/control_win32.h"

namespace quorelle::controls {

namespace {

// What a window of the classes keeps in its own extra bytes (never an object: objects are
// found through the program's registry of its windows).
constexpr int kStateSlot = 0;                // a button's BST_* flags and kHeldDown
constexpr int kFontSlot = sizeof(LONG_PTR);  // the font WM_SETFONT gave
constexpr int kImageSlot = kStateSlot;       // a static's bitmap (STM_SETIMAGE)
constexpr int kExtraBytes = 2 * sizeof(LONG_PTR);
// the mouse button or the space bar went down on the button and is not released yet
constexpr LONG_PTR kHeldDown = 0x40;

LONG_PTR Slot(HWND hwnd, int slot) {
    return GetWindowLongPtrW(hwnd, slot);
}

void SetSlot(HWND hwnd, int slot, LONG_PTR value) {
    // only real changes are written: each is a round trip (Wine seam: round trips)
    if (Slot(hwnd, slot) != value) SetWindowLongPtrW(hwnd, slot, value);
}

void Notify(HWND hwnd, WORD code) {
    const auto id = static_cast<WORD>(GetDlgCtrlID(hwnd));
    SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

// A notification the parent would only reflect to the control's object goes to the object
// straight away, not through the dialog manager (Wine seam: round trips); the parent hears of
// it when no object answers.
LRESULT ReflectOrSend(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectNotification(message, wParam, lParam, result)) return result;
    HWND parent = GetParent(hwnd);
    return SendMessageW(parent != nullptr ? parent : hwnd, message, wParam, lParam);
}

// ---- push button (owner-drawn) ----------------------------------------------------------

void SetPushed(HWND hwnd, bool pushed) {
    // through the window's procedure, where the control sees it, as the platform's button does
    SendMessageW(hwnd, BM_SETSTATE, pushed ? TRUE : FALSE, 0);
}

void PaintButton(HWND hwnd, HDC dc) {
    const LONG_PTR state = Slot(hwnd, kStateSlot);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ((state & BST_FOCUS) != 0 ? ODS_FOCUS : 0) |
                     ((state & BST_PUSHED) != 0 ? ODS_SELECTED : 0) |
                     (IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED);
    item.hwndItem = hwnd;
    item.hDC = dc;
    GetClientRect(hwnd, &item.rcItem);
    const int saved = SaveDC(dc);
    if (auto font = reinterpret_cast<HFONT>(Slot(hwnd, kFontSlot))) SelectObject(dc, font);
    IntersectClipRect(dc, 0, 0, item.rcItem.right, item.rcItem.bottom);
    ReflectOrSend(hwnd, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    RestoreDC(dc, saved);
}

void PressButton(HWND hwnd) {
    SetSlot(hwnd, kStateSlot, Slot(hwnd, kStateSlot) | kHeldDown);
    SetPushed(hwnd, true);
}

// The release of a press: a click when it ends on the button (a key's release always does).
void ReleaseButton(HWND hwnd, bool onButton) {
    const LONG_PTR state = Slot(hwnd, kStateSlot);
    if ((state & kHeldDown) == 0) return;
    SetSlot(hwnd, kStateSlot, state & ~kHeldDown);
    if ((state & BST_PUSHED) == 0) {
        ReleaseCapture();
        return;
    }
    SetPushed(hwnd, false);
    ReleaseCapture();
    if (onButton) Notify(hwnd, BN_CLICKED);
}

bool InClient(HWND hwnd, LPARAM lParam) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, p) != 0;
}

LRESULT ButtonDialogCode(HWND hwnd) {
    switch (GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON:
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        default:
            return DLGC_BUTTON;
    }
}

// WM_PAINT and WM_PRINTCLIENT: `draw` paints the whole window into the paint's or the given
// device context
LRESULT Paint(HWND hwnd, UINT message, WPARAM wParam, void (*draw)(HWND, HDC)) {
    if (message == WM_PRINTCLIENT) {
        draw(hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    draw(hwnd, dc);
    EndPaint(hwnd, &paint);
    return 0;
}

LRESULT CALLBACK ButtonProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return ButtonDialogCode(hwnd);
        case WM_ERASEBKGND:
            return 1;  // the drawing covers the whole button
        case WM_PAINT:
        case WM_PRINTCLIENT:
            return Paint(hwnd, message, wParam, &PaintButton);
        case WM_LBUTTONDBLCLK:
            // an owner-drawn button reports the second press of a double click as its own
            Notify(hwnd, BN_DOUBLECLICKED);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            SetCapture(hwnd);
            PressButton(hwnd);
            return 0;
        case WM_LBUTTONUP:
            ReleaseButton(hwnd, InClient(hwnd, lParam));
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) {
                PressButton(hwnd);
                SetCapture(hwnd);
            }
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE) ReleaseButton(hwnd, true);
            return 0;
        case WM_MOUSEMOVE:
            // the button shows pressed while the held pointer is over it
            if ((wParam & MK_LBUTTON) != 0 && GetCapture() == hwnd)
                SetPushed(hwnd, InClient(hwnd, lParam));
            return 0;
        case WM_CAPTURECHANGED: {
            const LONG_PTR state = Slot(hwnd, kStateSlot);
            if (reinterpret_cast<HWND>(lParam) == hwnd || (state & kHeldDown) == 0) return 0;
            SetSlot(hwnd, kStateSlot, state & ~kHeldDown);
            if ((state & BST_PUSHED) != 0) SetPushed(hwnd, false);
            return 0;
        }
        case BM_CLICK:
            // a press and a release on the button, as a click gives them
            SendMessageW(hwnd, WM_LBUTTONDOWN, 0, 0);
            SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
            return 0;
        case BM_GETSTATE:
            return Slot(hwnd, kStateSlot) &
                   (BST_CHECKED | BST_INDETERMINATE | BST_PUSHED | BST_FOCUS);
        case BM_SETSTATE: {
            const LONG_PTR state = Slot(hwnd, kStateSlot);
            const LONG_PTR now = wParam != 0 ? state | BST_PUSHED : state & ~LONG_PTR(BST_PUSHED);
            if (now == state) return 0;
            SetSlot(hwnd, kStateSlot, now);
            InvalidateRect(hwnd, nullptr, FALSE);
            UpdateWindow(hwnd);
            return 0;
        }
        case BM_GETCHECK:
        case BM_SETCHECK:
            return 0;  // a push button has no check
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const LONG_PTR state = Slot(hwnd, kStateSlot);
            const bool gets = message == WM_SETFOCUS;
            SetSlot(hwnd, kStateSlot, gets ? state | BST_FOCUS : state & ~LONG_PTR(BST_FOCUS));
            if (!gets && (state & kHeldDown) != 0 && GetCapture() == hwnd) ReleaseCapture();
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_SETFONT:
            SetSlot(hwnd, kFontSlot, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam) != 0) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return Slot(hwnd, kFontSlot);
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return result;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// ---- static text, picture and clickable area ----------------------------------------------

bool HasText(LONG_PTR style) {
    switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            return true;
        default:
            return false;
    }
}

// The format the platform's static control draws its text with.
UINT TextFormat(HWND hwnd, LONG_PTR style) {
    UINT format = 0;
    switch (style & SS_TYPEMASK) {
        case SS_CENTER:
            format = DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK;
            break;
        case SS_RIGHT:
            format = DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK;
            break;
        case SS_SIMPLE:
            format = DT_LEFT | DT_SINGLELINE;
            break;
        case SS_LEFTNOWORDWRAP:
            format = DT_LEFT | DT_EXPANDTABS;
            break;
        default:
            format = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK;
            break;
    }
    if ((GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_RIGHT) != 0)
        format = DT_RIGHT | (format & ~UINT(DT_LEFT | DT_CENTER));
    if ((style & SS_NOPREFIX) != 0) format |= DT_NOPREFIX;
    if ((style & SS_TYPEMASK) == SS_SIMPLE) return format;
    if ((style & SS_CENTERIMAGE) != 0) format |= DT_SINGLELINE | DT_VCENTER;
    if ((style & SS_EDITCONTROL) != 0) format |= DT_EDITCONTROL;
    if ((style & SS_ENDELLIPSIS) != 0) format |= DT_SINGLELINE | DT_END_ELLIPSIS;
    if ((style & SS_PATHELLIPSIS) != 0) format |= DT_SINGLELINE | DT_PATH_ELLIPSIS;
    if ((style & SS_WORDELLIPSIS) != 0) format |= DT_SINGLELINE | DT_WORD_ELLIPSIS;
    return format;
}

void PaintStaticText(HWND hwnd, HDC dc, LONG_PTR style, HBRUSH brush, const RECT& client) {
    if (auto font = reinterpret_cast<HFONT>(Slot(hwnd, kFontSlot))) SelectObject(dc, font);
    if ((style & SS_TYPEMASK) != SS_SIMPLE) {
        FillRect(dc, &client, brush);
        if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return;
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(hwnd, text.data(), length + 1)));
    RECT area = client;
    if ((style & SS_TYPEMASK) == SS_SIMPLE && (style & SS_NOPREFIX) != 0) {
        ExtTextOutW(dc, area.left, area.top, ETO_CLIPPED | ETO_OPAQUE, &area, text.c_str(),
                    UINT(text.size()), nullptr);
        return;
    }
    DrawTextW(dc, text.c_str(), -1, &area, TextFormat(hwnd, style));
}

void PaintStaticPicture(HWND hwnd, HDC dc, HBRUSH brush, const RECT& client) {
    FillRect(dc, &client, brush);
    auto image = reinterpret_cast<HBITMAP>(Slot(hwnd, kImageSlot));
    BITMAP info{};
    if (image == nullptr || GetObjectW(image, sizeof info, &info) == 0) return;
    HDC source = CreateCompatibleDC(dc);
    if (source == nullptr) return;
    HGDIOBJ previous = SelectObject(source, image);
    StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

void PaintStatic(HWND hwnd, HDC dc) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    auto brush = reinterpret_cast<HBRUSH>(ReflectOrSend(
        hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    if (brush == nullptr) brush = GetSysColorBrush(COLOR_BTNFACE);
    if (HasText(style))
        PaintStaticText(hwnd, dc, style, brush, client);
    else if ((style & SS_TYPEMASK) == SS_BITMAP)
        PaintStaticPicture(hwnd, dc, brush, client);
    RestoreDC(dc, saved);
}

LRESULT CALLBACK StaticProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    const bool notifies = (style & SS_NOTIFY) != 0;
    switch (message) {
        case WM_NCHITTEST:
            // a static without the notify style lets the mouse through to what lies under it
            return notifies ? HTCLIENT : HTTRANSPARENT;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
            if (notifies) Notify(hwnd, STN_CLICKED);
            return 0;
        case WM_LBUTTONDBLCLK:
        case WM_NCLBUTTONDBLCLK:
            if (notifies) Notify(hwnd, STN_DBLCLK);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // everything is painted in WM_PAINT
        case WM_PAINT:
        case WM_PRINTCLIENT:
            return Paint(hwnd, message, wParam, &PaintStatic);
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, FALSE);
            if (notifies) Notify(hwnd, wParam != 0 ? STN_ENABLE : STN_DISABLE);
            return 0;
        case WM_SETTEXT: {
            if (!HasText(style)) return 0;
            const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return result;
        }
        case WM_SETFONT:
            if (!HasText(style)) return 0;
            SetSlot(hwnd, kFontSlot, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam) != 0) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return HasText(style) ? Slot(hwnd, kFontSlot) : 0;
        case STM_GETIMAGE:
            return (style & SS_TYPEMASK) == SS_BITMAP && wParam == IMAGE_BITMAP
                       ? Slot(hwnd, kImageSlot)
                       : 0;
        case STM_SETIMAGE: {
            if ((style & SS_TYPEMASK) != SS_BITMAP || wParam != IMAGE_BITMAP) return 0;
            const LONG_PTR previous = Slot(hwnd, kImageSlot);
            SetSlot(hwnd, kImageSlot, lParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return previous;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// ---- knob --------------------------------------------------------------------------------

// The knob answers the trackbar's messages, draws, and takes the mouse and the keys itself; its
// window only takes the arrow keys from the dialog manager and repaints when enabled or not.
LRESULT CALLBACK KnobProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// the atoms of the three classes once registered: button, static, knob
ATOM g_atoms[3] = {};

ATOM Register(const wchar_t* name, WNDPROC procedure, UINT style) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = kExtraBytes;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    if (const ATOM atom = RegisterClassExW(&wc)) return atom;
    if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return 0;
    WNDCLASSEXW known{};
    known.cbSize = sizeof known;
    return static_cast<ATOM>(GetClassInfoExW(wc.hInstance, name, &known));
}

ATOM AtomOf(HWND window) {
    return window != nullptr ? static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM)) : 0;
}

bool IsNavigationCaption(int dialogId, int id) {
    const NavigationIds* column = NavigationIdsOfDialog(dialogId);
    if (column == nullptr) return false;
    for (int caption : column->labels)
        if (caption == id) return true;
    return false;
}

}  // namespace

bool RegisterControlClasses() {
    // the button and the static take double clicks as the platform's do; the knob, as the
    // trackbar it stands in for, takes every press as a press
    static const bool registered = [] {
        g_atoms[0] = Register(kButtonClass, &ButtonProcedure, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
        g_atoms[1] = Register(kStaticClass, &StaticProcedure, CS_DBLCLKS);
        g_atoms[2] = Register(kKnobClass, &KnobProcedure, 0);
        return g_atoms[0] != 0 && g_atoms[1] != 0 && g_atoms[2] != 0;
    }();
    return registered;
}

bool IsOwnControlClass(HWND window) {
    const ATOM atom = AtomOf(window);
    return atom != 0 && (atom == g_atoms[0] || atom == g_atoms[1] || atom == g_atoms[2]);
}

bool IsKnobClass(HWND window) {
    const ATOM atom = AtomOf(window);
    return atom != 0 && atom == g_atoms[2];
}

ControlRecipe RecipeOf(int dialogId, const ControlPlace& place) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    switch (place.kind) {
        case ControlKind::Label:
            // labels take no clicks: the page hit-tests what lies under them
            return {kStaticClass,
                    kChild | WS_GROUP |
                        (IsNavigationCaption(dialogId, place.id) ? SS_CENTER : SS_LEFT)};
        case ControlKind::Lamp:
        case ControlKind::Picture:
            // pictures without the notify style: clicks reach the page, which hit-tests them
            return {kStaticClass, kChild | SS_BITMAP};
        case ControlKind::Button:
            return {kButtonClass, kChild | WS_TABSTOP | BS_OWNERDRAW};
        case ControlKind::Knob:
            return {kKnobClass, kChild | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS};
        case ControlKind::Slider:
            return {kStaticClass, kChild | SS_NOTIFY};
        case ControlKind::Combo:
            return {WC_COMBOBOXW, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
                                      CBS_OWNERDRAWFIXED | CBS_HASSTRINGS};
        case ControlKind::Edit:
            return {WC_EDITW, kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL};
    }
    return {kStaticClass, kChild};
}

}  // namespace quorelle::controls
