// Stands in for an open Outlook Express window: opens one top-level window of
// the given class and title and waits. With --ignore-close it refuses every
// WM_CLOSE and counts them in its title (" [closes refused: n]"), as a busy
// program would; otherwise a close request ends it.
//   fakeoe.exe <class> <title> [--ignore-close]
#include <windows.h>

#include <cstring>
#include <string>

namespace {

bool ignoreClose = false;
int refusedCloses = 0;
std::string baseTitle;

LRESULT CALLBACK FakeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE && ignoreClose) {
        ++refusedCloses;
        std::string title = baseTitle + " [closes refused: " + std::to_string(refusedCloses) + "]";
        SetWindowTextA(window, title.c_str());
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const char* className = argv[1];
    baseTitle = argv[2];
    ignoreClose = argc > 3 && std::strcmp(argv[3], "--ignore-close") == 0;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FakeWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass)) return 3;
    HWND window = CreateWindowA(className, baseTitle.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                instance, nullptr);
    if (!window) return 4;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
