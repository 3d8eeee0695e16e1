#include <windows.h>

#include "app/application_win32.h"
#include "base/diagnostics.h"
#include "base/diagnostics_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    quorelle::WriteDiagnosticsToDebugger();
    try {
        quorelle::VUVavIruvOro app;
        return app.Run();
    } catch (...) {
        quorelle::ReportCaughtException("the program's run");
        return 1;
    }
}
