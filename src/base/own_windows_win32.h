// The one way from a window handle to the program's object that serves it. Every path that
// starts from a handle (a window procedure, a notification naming a control, an assistive tool's
// call, a page key) asks here, and the answer is an object only when the window is one of this
// thread's and the program registered an object for it. A handle read from a message is never
// trusted by itself: another process may name any window, and its user data, properties and
// dialog data may hold anything.
//
// The registry is a table in the program's memory, so a lookup costs no request to the window
// server (base/wine_seam_win32.h, "Wine seam: round trips").
#pragma once

#include <windows.h>

namespace quorelle {

// What an object is to its window. A window may have one object of each role.
enum class WindowRole : unsigned char {
    Dialog,          // the DialogWindow built from a template
    Control,         // the skinned control bound to a child window
    Frame,           // the page frame whose background the window's controls draw under them
    AccessibleHost,  // what the window tells assistive tools about its controls
    PageKeys,        // the window's keyboard handling (Tab, Space, Enter, the arrows)
    FocusCues,       // present while the window shows the keyboard focus mark
    OwnWindow,       // the object behind a window the program made itself (the on-screen
                     // display, the hot-key dialog)
    Count
};

// Whether the window exists and belongs to the calling thread.
bool IsThreadWindow(HWND hwnd);

// Makes `object` the window's object of that role (nullptr takes it away). Only the window's own
// thread registers: false for a window of another thread or none.
bool SetWindowObject(HWND hwnd, WindowRole role, void* object);
// Takes the window's object of that role away when it is still `object`.
void ClearWindowObject(HWND hwnd, WindowRole role, const void* object);
// Takes every object of the window away (its last message, WM_NCDESTROY).
void ForgetWindow(HWND hwnd);

// The checked accessor: the object registered for the window in that role, or nullptr when the
// window is not this thread's or nothing is registered.
void* WindowObject(HWND hwnd, WindowRole role);
template <class T>
T* WindowObjectAs(HWND hwnd, WindowRole role) {
    return static_cast<T*>(WindowObject(hwnd, role));
}

// The DPI a window is drawn for, kept beside its objects (controls/dpi_win32.h: SetDrawnDpi and
// DrawnDpi are the ones to call). Only the window's own thread keeps one; 0 when none is kept,
// and for a window of another thread. ForgetWindow takes it away with the objects.
bool SetKeptDrawnDpi(HWND hwnd, int dpi);
int KeptDrawnDpi(HWND hwnd);

}  // namespace quorelle
