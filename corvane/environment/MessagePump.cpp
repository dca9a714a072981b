#include "corvane/environment/MessagePump.h"

namespace corvane {

bool PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        DeliverMessage(message);
    }
    return true;
}

namespace {

// The outermost dialog that holds the window (a page inside the main window,
// or a dialog of its own), or nullptr when none does.
HWND DialogHolding(HWND window) {
    HWND dialog = nullptr;
    for (HWND at = window; at; at = (GetWindowLongA(at, GWL_STYLE) & WS_CHILD) ? GetParent(at) : nullptr) {
        char className[8] = {};
        if (GetClassNameA(at, className, sizeof className) && lstrcmpA(className, "#32770") == 0) dialog = at;
    }
    return dialog;
}

}  // namespace

void DeliverMessage(MSG& message) {
    HWND dialog = DialogHolding(message.hwnd);
    if (dialog && IsDialogMessageA(dialog, &message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

}  // namespace corvane
