// The thin Windows layer: the shared window and dialog procedures, the
// message pump and the self-closing handles.
#include "corvane/environment/Dialog.h"
#include "corvane/environment/Handles.h"
#include "corvane/environment/MessagePump.h"
#include "corvane/environment/Window.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace corvane;

namespace {

const char* const kTestClass = "CorvaneLayerTest";

bool RegisterTestClass() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kTestClass, &windowClass)) return true;
    windowClass.lpfnWndProc = CWindowBase::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kTestClass;
    return RegisterClassExA(&windowClass) != 0;
}

class Recorder final : public CWindowBase {
public:
    int created = 0, user = 0, edits = 0;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) ++created;
        if (message == WM_APP) {
            ++user;
            if (wParam == 1) throw std::runtime_error("handler failed");
            return 42;
        }
        if (message == WM_SETTEXT) ++edits;
        return CallDefault(window, message, wParam, lParam);
    }
};

}  // namespace

TEST(Win32Window, MessagesReachTheObjectFromCreationAndThrowsStayInside) {
    ASSERT_TRUE(RegisterTestClass());
    Recorder recorder;
    RECT at = {0, 0, 50, 50};
    HWND window = recorder.CreateHandled(0, kTestClass, "", WS_POPUP, at, nullptr, nullptr, GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(recorder.created, 1);
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 42);
    // A handler that throws: the system gets the default answer, the program goes on.
    EXPECT_EQ(SendMessageA(window, WM_APP, 1, 0), 0);
    EXPECT_EQ(recorder.user, 2);
    CWindowBase::Release(window);
    SendMessageA(window, WM_APP, 0, 0);
    EXPECT_EQ(recorder.user, 2) << "a released window's messages reach no object";
    DestroyWindow(window);
}

TEST(Win32Window, SubclassedControlKeepsItsOwnBehaviour) {
    HWND edit =
        CreateWindowExA(0, "Edit", "", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    Recorder recorder;
    ASSERT_TRUE(recorder.Subclass(edit));
    EXPECT_FALSE(recorder.Subclass(edit)) << "one object per window";
    SetWindowTextA(edit, "typed");
    EXPECT_EQ(recorder.edits, 1);
    char text[16] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "typed");  // the edit control's own procedure stored it
    DestroyWindow(edit);
}

namespace {

class ColouredDialog final : public CDialogBase {
public:
    ColouredDialog() : CDialogBase(9001) {}
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    int clicks = 0;
    bool fail = false;
    ~ColouredDialog() override { DeleteObject(brush); }

protected:
    bool OnButtonClicked(int id) override {
        if (fail) throw std::runtime_error("handler failed");
        clicks += id == 101;
        return true;
    }
    bool OnMessage(UINT message, WPARAM, LPARAM, INT_PTR* result) override {
        if (message == WM_CTLCOLORSTATIC)
            *result = reinterpret_cast<INT_PTR>(brush);
        else if (message == WM_APP)
            *result = 1234;
        else
            return false;
        return true;
    }
};

}  // namespace

// A colour message's brush is the procedure's own return value; any other
// answer goes through DWLP_MSGRESULT. Mixing them up paints with "TRUE".
TEST(Win32Dialog, AnswersReachTheDialogManagerTheRightWay) {
    ColouredDialog dialog;
    HWND window = dialog.Create(nullptr);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    LRESULT brush = SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(GetDlgItem(window, 100)));
    ReleaseDC(window, dc);
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(dialog.brush));
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 1234);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, 101)));
    EXPECT_EQ(dialog.clicks, 1);
    dialog.fail = true;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, 101)));
    EXPECT_EQ(dialog.clicks, 1);
    DestroyWindow(window);
    EXPECT_EQ(dialog.Handle(), nullptr);
}

// A long operation that runs the queue must leave a quit request for the
// program's own loop, or the program would never end.
TEST(MessagePump, KeepsTheQuitRequest) {
    PostQuitMessage(7);
    EXPECT_FALSE(PumpMessages());
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_TRUE(PumpMessages());
}

TEST(Handles, KeysAndHandlesCloseThemselves) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), event, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    { CHandle owned(copy); }
    EXPECT_FALSE(SetEvent(copy)) << "the handle was closed";
    CloseHandle(event);
    CKey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.Out()), ERROR_SUCCESS);
    EXPECT_TRUE(key);
    EXPECT_EQ(key.Close(), ERROR_SUCCESS);
    EXPECT_FALSE(key);
}
