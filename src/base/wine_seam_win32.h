// The Wine seam: what the program does only because it also runs under Wine, why, how it was
// measured, and what a build for Windows alone may drop. Code that relies on one of these notes
// names its section here ("Wine seam: round trips") instead of repeating it. The measured facts
// come from Wine 8 (Debian 12) on the project's machines, under Xvfb; the project's DESIGN notes
// list them with the rest of what was measured.
//
// Nothing here changes what a user sees, on either system: every workaround is also correct on
// Windows, it is only needless there.
//
// 1. Round trips ("Wine seam: round trips")
//    Under Wine some calls are not answered from the calling process's memory but by the window
//    server, one request and answer each, about 45 us on these machines (measured with
//    `wineserver -f -d1`, which prints every request): a window property (GetPropW, SetPropW,
//    and so comctl32's subclass list), GetFocus, GetWindow, SetWindowLongPtrW, GetDlgItem, the
//    data of a window of another process, and every message the dialog manager handles
//    (DefDlgProc sets DWLP_MSGRESULT each time). A full repaint of the HIFI page paints 103
//    windows. Measured again for the drawn scale: a program that makes a pop-up and a child of
//    it and calls each function 100 times between OutputDebugStringA marks, under
//    WINEDEBUG=+server,+debugstr: 100 GetPropW made 100 get_window_property requests; 100 rounds
//    of GetWindowLongPtrW(GWL_STYLE), GetParent and two GetWindowThreadProcessId on the
//    program's own windows made none, and 100 GetDpiForWindow none. On Windows none of these is
//    a round trip worth counting. So a lookup on a paint or message path goes through the
//    program's own memory:
//    - base/own_windows_win32.h: the registry of the program's windows, a table in its own
//      memory, answers "which object serves this window" (and the scale it is drawn at:
//      controls/dpi_win32.h, DrawnDpi), never a property or the window's user data.
//    - controls/control_win32.cpp: a control is its window's procedure, found in that registry
//      (not comctl32's subclass list); it reads its page's stacking order once; it knows its
//      focus from WM_SETFOCUS and WM_KILLFOCUS instead of asking at every paint.
//    - controls/page_win32.h: a control draws its page's background from the page's frame
//      object, without a message to the page; and a page paints its controls in its own paint
//      (PaintPageWithControls), since each child window's paint of its own costs about seven
//      requests (its WM_PAINT, the caret hidden and shown, its update and visible regions):
//      a switch to the HIFI page went from 1,328 requests to 341.
//    - pages/page_accessibility_win32.cpp: the keys go to a shown window's first control by
//      SetFocus, not WM_NEXTDLGCTL, whose search for a default push button asks for each of the
//      page's windows in turn (about 100 requests on the HIFI page, which has no such button).
//    For Windows alone: keep them; they are as correct there and no slower. Only the reason
//    for them is Wine's.
//
// 2. Opening a file again ("Wine seam: reopening a file")
//    settings/profile_settings_win32.cpp renames the new settings file through the handle that
//    wrote it: under Wine opening the file again (as MoveFileExW does) costs as much as all the
//    rest of the write. On Windows MoveFileExW would do as well; the rename through the handle is
//    the same replacement and may stay.
//
// 3. The interface anchor ("Wine seam: interface anchor"; controls/accessible_win32.cpp:
//    HoldInterfacesOpen, released by ReleaseInterfaceAnchor before the thread leaves COM)
//    COM takes an interface off its RPC server when the last stub of it goes, and Wine's COM
//    waits there, on the window thread, for the calls on it to end: a reader that released a
//    control's object as its next call came in froze the panel for good. One object of the same
//    kind, marshalled for the program's life, keeps a stub of each interface the tools are
//    given, so the last one never goes. It answers nothing and nobody unmarshals it. A build for
//    Windows alone may drop it (HoldInterfacesOpen and ReleaseInterfaceAnchor become empty);
//    kept, it costs one idle object.
//
// 4. The mouse capture kept across processes ("Wine seam: kept capture")
//    When another process takes the foreground and the capture mid-drag, Wine leaves the panel's
//    thread its own capture and sends no WM_CAPTURECHANGED; only MK_LBUTTON missing from the
//    next WM_MOUSEMOVE tells that the button is up. The knob and the slider (controls/
//    knob_win32.cpp, controls/slider_win32.cpp) end a drag on such a move as a release would.
//    Keep it on Windows too: a release that goes to another window (the button let go over
//    another program) reaches the control the same way there.
//
// What the tests do about Wine (tests/, not the program): Wine never sends WM_DPICHANGED, so the
// display-change tests send it in-process with the rectangles Windows suggests; Wine swallows an
// exception in a window procedure ("ignoring exception") where Windows ends the process, so the
// program catches everything at its window procedures and the tests look for the exception in
// Wine's log (WINEDEBUG=+seh) rather than trusting a survived message.
#pragma once
