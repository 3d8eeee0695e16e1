#include <windows.h>

#include "app/application_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        quorelle::VUVavIruvOro app;
        return app.Run();
    } catch (...) {
        return 1;
    }
}
