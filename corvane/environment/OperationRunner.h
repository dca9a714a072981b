// Runs one long operation at a time for a window: the operation works on a
// worker thread; the window reads its progress on a timer, answers its
// questions (the only hand-offs that block the worker) and hears of its end
// through its own message queue. No message loop runs inside the operation,
// so no handler of the window runs beneath it, and Cancel only sets a flag.
#pragma once

#include "corvane/environment/Window.h"
#include "corvane/environment/portable/OperationEvents.h"

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace corvane {

// A message box as a run's window shows it: a question, or how the run ended.
// An empty text shows no box.
struct BoxText {
    std::string text;
    unsigned style = 0;  // MessageBox buttons and icon
};

class OperationRunner final : private CWindowBase, private IOperationEvents {
public:
    struct Handlers {
        std::function<void(const ProgressReport&)> progress;  // on the timer, with the latest report
        std::function<bool(const QuestionCall&)> answer;      // a question; false without a handler
        std::function<void()> finished;                       // the worker has ended
    };

    OperationRunner() = default;
    ~OperationRunner() override;

    // Starts `work` on a worker thread. False when a run is going already or
    // no thread could be started (nothing ran).
    bool Start(std::function<void(IOperationEvents&)> work, Handlers handlers);
    bool Running() const { return running_; }
    // Asks the operation to stop; it stops at its next check.
    void Cancel() { stop_ = true; }
    // Cancels and waits for the worker to end, answering any question "no",
    // then tells `finished`. For a window that is closing: no message loop
    // runs meanwhile.
    void CancelAndWait();

    static constexpr UINT kPollMilliseconds = 100;

private:
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    std::atomic<bool>& StopFlag() override { return stop_; }
    void Progress(const ProgressReport& report) override { sync_.Set(report); }
    bool Ask(const QuestionCall& call) override;

    bool MakeWindow();
    void Poll();
    void AnswerPending();
    void Finish();

    HWND hwnd_ = nullptr;
    std::thread worker_;
    Handlers handlers_;
    bool running_ = false;
    unsigned run_ = 0;  // numbers the runs, so a late notice of an earlier run is ignored
    std::atomic<bool> stop_{false};
    ProgressSync sync_;
    unsigned seen_ = 0;

    std::mutex mutex_;
    std::condition_variable answered_;
    bool asking_ = false;
    bool hasAnswer_ = false;
    bool answer_ = false;
    bool abandoned_ = false;  // the window no longer answers: every question is "no"
    QuestionCall question_;
};

}  // namespace corvane
