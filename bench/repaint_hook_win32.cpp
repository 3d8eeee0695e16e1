// repaint_hook.dll: full repaints of a window timed inside the process that owns it. e2eprobe
// hooks the window's thread with it (WH_CALLWNDPROC; the system loads the library into that
// process) and sends the window the message "QuorelleBenchRepaint" with the count in wParam.
// The hook keeps the library loaded and sets a timer of the thread, then returns; the probe
// takes its hook off again and sets the event "QuorelleBenchUnhooked". The timer then repaints
// the window and its children that many times, as the program's own code would (RedrawWindow
// with RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW, then GdiFlush), writes the
// process id, the count and each repaint's microseconds into the file mapping of the same name
// that the probe created, and sets the event "QuorelleBenchRepainted". The repaints run with no
// hook on the thread: under Wine a hook makes every message of the thread a round trip to the
// window server, which would be counted as the program's.
#include <windows.h>

#include <cstdint>

namespace {

struct Figures {
    uint32_t pid;
    uint32_t count;
    double micros[1];  // count of them
};

void Measure(HWND w, uint32_t count) {
    HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, L"QuorelleBenchRepaint");
    if (!mapping) return;
    auto* figures = static_cast<Figures*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    if (figures) {
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        for (uint32_t i = 0; i < count; ++i) {
            QueryPerformanceCounter(&start);
            RedrawWindow(w, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            GdiFlush();
            QueryPerformanceCounter(&end);
            figures->micros[i] =
                double(end.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart);
        }
        figures->count = count;
        figures->pid = GetCurrentProcessId();
        UnmapViewOfFile(figures);
    }
    CloseHandle(mapping);
}

HWND measured = nullptr;
uint32_t asked = 0;

void CALLBACK MeasureWithoutTheHook(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HANDLE unhooked = OpenEventW(SYNCHRONIZE, FALSE, L"QuorelleBenchUnhooked");
    HANDLE repainted = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"QuorelleBenchRepainted");
    if (unhooked && WaitForSingleObject(unhooked, 10000) == WAIT_OBJECT_0) Measure(measured, asked);
    if (repainted) SetEvent(repainted);
    if (unhooked) CloseHandle(unhooked);
    if (repainted) CloseHandle(repainted);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    RepaintHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT ask = RegisterWindowMessageW(L"QuorelleBenchRepaint");
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == ask) {
        // the library stays when the hook goes, for the timer
        HMODULE self = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCWSTR>(&MeasureWithoutTheHook), &self);
        measured = sent->hwnd;
        asked = static_cast<uint32_t>(sent->wParam);
        SetTimer(nullptr, 0, 1, &MeasureWithoutTheHook);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
