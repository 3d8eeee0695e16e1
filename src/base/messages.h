// Window messages between the windows of the program. The numbers are fixed: the pages, the
// device library callback and the endpoint listeners all speak them.
#pragma once

namespace quorelle {

inline constexpr unsigned WM_VOLUME_CHANGED = 1036;
inline constexpr unsigned WM_CONFLIB_EVENT_A = 1124;
inline constexpr unsigned WM_CONFLIB_EVENT_B = 1125;
inline constexpr unsigned WM_LANGUAGE_CHANGE = 1127;
inline constexpr unsigned WM_TRAY_NOTIFY = 1129;
inline constexpr unsigned WM_SHOW_PAGE = 2024;
inline constexpr unsigned WM_MOVE_MAIN = 2025;
inline constexpr unsigned WM_DEFAULT_OUTPUT_CHANGED = 2026;
// Asked of the main window from outside (tests): answers how many failures the exception
// barriers have caught since the program started; with wParam 1, how many notices were shown
// without a box (as balloons of the notification-area icon).
inline constexpr unsigned WM_DIAGNOSTIC_COUNT = 2027;
// Posted by a control's accessible object to its window: run the default action of control
// wParam (lParam 0) or of its zone lParam, once the tool that asked has its answer.
inline constexpr unsigned WM_ACCESSIBLE_ACTION = 2028;
// Sent by a page's navigation button to the main window: page wParam hands over to page lParam
// (0 to 4). The main window takes the page's place, the target shows there, and only then does
// the page go; WM_MOVE_MAIN and WM_SHOW_PAGE keep their meaning for any other sender.
inline constexpr unsigned WM_PAGE_NAVIGATE = 2029;

// Notifications of the skinned controls to their page.
inline constexpr unsigned SLIDER_MSG_TRACK = 10449;
inline constexpr unsigned SLIDER_MSG_COMMIT = 10450;

// Page indices used by currentPage, WM_SHOW_PAGE and the tray commands.
inline constexpr int PAGE_NONE_EXIT = -1;
inline constexpr int PAGE_MAIN = 0;
inline constexpr int PAGE_HIFI = 1;
inline constexpr int PAGE_ADVANCE = 2;
inline constexpr int PAGE_INFO = 3;
inline constexpr int PAGE_HP = 4;

}  // namespace quorelle
