#include "corvane/environment/OperationRunner.h"

namespace corvane {
namespace {

constexpr const char* kClassName = "CorvaneOperationRunner";
constexpr UINT kQuestionMessage = WM_APP + 1;
constexpr UINT kDoneMessage = WM_APP + 2;
constexpr UINT_PTR kPollTimer = 1;

bool RegisterRunnerClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kClassName, &wc)) return true;
    wc.lpfnWndProc = CWindowBase::WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    return RegisterClassExA(&wc) != 0;
}

}  // namespace

OperationRunner::~OperationRunner() {
    // The owner is going: the worker is stopped and waited for, and told nothing.
    handlers_ = {};
    CancelAndWait();
    if (hwnd_) {
        Release(hwnd_);
        DestroyWindow(hwnd_);
    }
}

// A message-only window of the calling thread receives the worker's notices.
bool OperationRunner::MakeWindow() {
    if (hwnd_) return true;
    if (!RegisterRunnerClass()) return false;
    hwnd_ = CreateHandled(0, kClassName, "", 0, RECT{}, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr));
    return hwnd_ != nullptr;
}

bool OperationRunner::Start(std::function<void(IOperationEvents&)> work, Handlers handlers) {
    if (running_ || !MakeWindow()) return false;
    stop_ = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        asking_ = hasAnswer_ = abandoned_ = false;
    }
    handlers_ = std::move(handlers);
    const unsigned run = ++run_;
    const HWND window = hwnd_;
    try {
        worker_ = std::thread([this, run, window, work = std::move(work)] {
            try {
                work(*this);
            } catch (...) {
                // An operation returns its failures as its outcome; anything
                // thrown past it still ends the run, never the program.
            }
            PostMessageA(window, kDoneMessage, run, 0);
        });
    } catch (...) {
        handlers_ = {};
        return false;
    }
    running_ = true;
    seen_ = 0;
    SetTimer(hwnd_, kPollTimer, kPollMilliseconds, nullptr);
    return true;
}

bool OperationRunner::Ask(const QuestionCall& call) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (abandoned_) return false;
    question_ = call;
    asking_ = true;
    hasAnswer_ = false;
    PostMessageA(hwnd_, kQuestionMessage, 0, 0);
    answered_.wait(lock, [this] { return hasAnswer_ || abandoned_; });
    asking_ = false;
    return hasAnswer_ && answer_;
}

void OperationRunner::AnswerPending() {
    QuestionCall call;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!asking_ || hasAnswer_) return;
        call = question_;
    }
    Poll();  // the window shows where the run stands while it asks
    bool answer = handlers_.answer ? handlers_.answer(call) : false;
    std::lock_guard<std::mutex> lock(mutex_);
    answer_ = answer;
    hasAnswer_ = true;
    answered_.notify_all();
}

void OperationRunner::Poll() {
    ProgressReport report;
    if (sync_.TakeIfNewer(seen_, report) && handlers_.progress) handlers_.progress(report);
}

void OperationRunner::Finish() {
    if (worker_.joinable()) worker_.join();
    KillTimer(hwnd_, kPollTimer);
    running_ = false;
    Poll();
    // The handler may start the next run, or end the window that owns this runner's owner.
    std::function<void()> finished = std::move(handlers_.finished);
    handlers_ = {};
    if (finished) finished();
}

void OperationRunner::CancelAndWait() {
    if (!running_) return;
    stop_ = true;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        abandoned_ = true;
        answered_.notify_all();
    }
    Finish();
}

LRESULT OperationRunner::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kPollTimer && running_) Poll();
        return 0;
    case kQuestionMessage:
        if (running_) AnswerPending();
        return 0;
    case kDoneMessage:
        if (running_ && wParam == run_) Finish();
        return 0;
    default:
        return CallDefault(window, message, wParam, lParam);
    }
}

}  // namespace corvane
