// A test's hand inside a running command: the control a run writes its
// progress into is subclassed, and when the run sets a text beginning with
// the given words the test's action runs then and there, on the window's
// thread, before the run goes on (e.g. a file changes or a drive goes away
// exactly while an entry is being written).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace corvane::testing {

class TextChangeHook {
public:
    TextChangeHook(HWND control, std::string prefix, std::function<void()> action)
        : control_(control), prefix_(std::move(prefix)), action_(std::move(action)) {
        if (!control_) return;
        SetPropA(control_, kProperty, this);
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextChangeHook::Procedure)));
    }
    ~TextChangeHook() {
        if (!control_ || !IsWindow(control_)) return;
        SetWindowLongPtrA(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropA(control_, kProperty);
    }
    TextChangeHook(const TextChangeHook&) = delete;
    TextChangeHook& operator=(const TextChangeHook&) = delete;

    // How often the action ran (once at most) and every text the control was given.
    int Fired() const { return fired_; }
    const std::string& Texts() const { return texts_; }

private:
    static constexpr const char* kProperty = "CorvaneTextChangeHook";

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* hook = static_cast<TextChangeHook*>(GetPropA(window, kProperty));
        if (!hook) return DefWindowProcA(window, message, wParam, lParam);
        WNDPROC previous = hook->previous_;
        if (message == WM_SETTEXT && lParam != 0) {
            std::string text = reinterpret_cast<const char*>(lParam);
            hook->texts_ += text + "\n";
            if (hook->fired_ == 0 && text.rfind(hook->prefix_, 0) == 0) {
                ++hook->fired_;
                hook->action_();
            }
        }
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            RemovePropA(window, kProperty);
            hook->control_ = nullptr;
        }
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }

    HWND control_;
    std::string prefix_;
    std::function<void()> action_;
    WNDPROC previous_ = nullptr;
    int fired_ = 0;
    std::string texts_;
};

}  // namespace corvane::testing
