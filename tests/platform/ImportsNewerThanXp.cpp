// Built only to be refused by the import check: it imports a kernel32
// function that came with Windows 8 and a DLL that came with Vista.
#include <windows.h>

extern "C" __declspec(dllimport) void WINAPI GetSystemTimePreciseAsFileTime(FILETIME* time);
extern "C" __declspec(dllimport) HRESULT WINAPI DwmIsCompositionEnabled(BOOL* enabled);

int main() {
    FILETIME time;
    GetSystemTimePreciseAsFileTime(&time);
    BOOL enabled = FALSE;
    return static_cast<int>(DwmIsCompositionEnabled(&enabled));
}
