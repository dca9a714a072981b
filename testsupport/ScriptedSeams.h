// Test doubles for the seams: a test answers message boxes and dialogs from a
// script, fixes the clock and records what was launched. Installing one of
// these (by constructing it) replaces the real seam until it is destroyed.
#pragma once

#include "corvane/environment/CModalDialog.h"
#include "corvane/environment/Seams.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace corvane::testing {

// Answers boxes from a queue (IDOK when it runs dry) and records every call.
class ScriptedMessageBoxes final : public IMessageBoxes {
public:
    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes() override;
    void Answer(int button) { answers_.push_back(button); }
    // Runs before each box is answered: what the user does while it is up
    // (e.g. changes the diskette).
    std::function<void(const MessageBoxCall&)> whileShown;
    int Show(const MessageBoxCall& call) override;
    const std::vector<MessageBoxCall>& Shown() const { return shown_; }
    // The text of every box shown so far, in order.
    std::vector<std::string> Texts() const;

private:
    std::deque<int> answers_;
    std::vector<MessageBoxCall> shown_;
};

class FixedClock final : public IClock {
public:
    explicit FixedClock(CalendarTime now);
    FixedClock(int year, int month, int day) : FixedClock(CalendarTime{year, month, day, 12, 0, 0}) {}
    ~FixedClock() override;
    void Set(CalendarTime now) { now_ = now; }
    CalendarTime Now() override { return now_; }

private:
    CalendarTime now_;
};

// Records launches; answers true (started) unless told otherwise.
class RecordingLauncher final : public ILauncher {
public:
    RecordingLauncher();
    ~RecordingLauncher() override;
    void Fail(bool fail) { fail_ = fail; }
    bool Open(const LaunchCall& call) override;
    const std::vector<LaunchCall>& Launched() const { return launched_; }

private:
    bool fail_ = false;
    std::vector<LaunchCall> launched_;
};

// Drives as a test sets them up: free space and drive types by root, and the
// folder the browser "chooses" (every question is recorded). Roots not set up
// answer like a fixed disk with a terabyte free.
class FakeDrives final : public IDrives {
public:
    FakeDrives();
    ~FakeDrives() override;
    int64_t FreeBytes(const std::string& root) override;
    unsigned DriveType(const std::string& root) override;
    std::string BrowseForFolder(HWND owner, const std::string& title) override;

    int64_t freeBytes = 1LL << 40;
    std::function<unsigned(const std::string& root)> driveType;
    std::function<std::string(const std::string& title)> browse;
    std::vector<std::string> askedRoots;
};

// Counts the beeps instead of sounding them.
class CountingSounds final : public ISounds {
public:
    CountingSounds();
    ~CountingSounds() override;
    void Beep() override { ++beeps; }
    int beeps = 0;
};

// Answers each modal dialog of ours, in the order they open, by running the
// next queued action on the live dialog (e.g. tick a box, then click OK).
// A dialog with no action left is cancelled, so a test never hangs.
class ScriptedDialogs final : public IDialogObserver {
public:
    using Action = std::function<void(HWND dialog)>;
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    void Then(Action action) { actions_.push_back(std::move(action)); }
    void DialogShown(HWND dialog, int templateId) override;
    const std::vector<int>& Opened() const { return opened_; }

private:
    std::deque<Action> actions_;
    std::vector<int> opened_;
};

// Working a live dialog's controls as a user would (posted clicks run through
// the dialog's own handlers).
void ClickButton(HWND dialog, int controlId);
void SetCheck(HWND dialog, int controlId, bool checked);
void SetText(HWND dialog, int controlId, const std::string& text);
std::string ControlText(HWND dialog, int controlId);

}  // namespace corvane::testing
