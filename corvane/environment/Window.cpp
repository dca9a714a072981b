#include "corvane/environment/Window.h"

namespace corvane {
namespace {

// The handling object and, for a subclassed control, its own procedure, kept
// as window properties so the control's own window data stays untouched.
const char* const kObjectProperty = "Corvane.Object";
const char* const kDefaultProperty = "Corvane.DefaultProc";

CWindowBase* ObjectOf(HWND window) { return static_cast<CWindowBase*>(GetPropA(window, kObjectProperty)); }

void Attach(HWND window, CWindowBase* object) { SetPropA(window, kObjectProperty, object); }

}  // namespace

HWND CWindowBase::CreateHandled(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& at,
                                HWND parent, HMENU menuOrId, HINSTANCE instance) {
    return CreateWindowExA(exStyle, className, title, style, at.left, at.top, at.right - at.left, at.bottom - at.top,
                           parent, menuOrId, instance, this);
}

bool CWindowBase::Subclass(HWND window) {
    if (!window || ObjectOf(window)) return false;
    auto previous = GetWindowLongPtrA(window, GWLP_WNDPROC);
    SetPropA(window, kDefaultProperty, reinterpret_cast<HANDLE>(previous));
    Attach(window, this);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
    return true;
}

void CWindowBase::Release(HWND window) {
    if (window) RemovePropA(window, kObjectProperty);
}

LRESULT CWindowBase::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallDefault(window, message, wParam, lParam);
}

LRESULT CWindowBase::CallDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, kDefaultProperty));
    if (previous) return CallWindowProcA(previous, window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK CWindowBase::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (create->lpCreateParams && !ObjectOf(window))
            Attach(window, static_cast<CWindowBase*>(create->lpCreateParams));
    }
    CWindowBase* object = ObjectOf(window);
    LRESULT result = 0;
    try {
        result =
            object ? object->OnMessage(window, message, wParam, lParam) : CallDefault(window, message, wParam, lParam);
    } catch (...) {
        // A handler failed part-way: the system still gets an answer.
        result = CallDefault(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        RemovePropA(window, kObjectProperty);
        auto previous = reinterpret_cast<LONG_PTR>(RemovePropA(window, kDefaultProperty));
        if (previous) SetWindowLongPtrA(window, GWLP_WNDPROC, previous);
    }
    return result;
}

}  // namespace corvane
