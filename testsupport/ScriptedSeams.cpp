#include "testsupport/ScriptedSeams.h"

namespace corvane::testing {

ScriptedMessageBoxes::ScriptedMessageBoxes() { SetMessageBoxes(this); }
ScriptedMessageBoxes::~ScriptedMessageBoxes() { SetMessageBoxes(nullptr); }

int ScriptedMessageBoxes::Show(const MessageBoxCall& call) {
    shown_.push_back(call);
    if (whileShown) whileShown(call);
    if (answers_.empty()) return IDOK;
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::string> ScriptedMessageBoxes::Texts() const {
    std::vector<std::string> texts;
    for (const auto& call : shown_) texts.push_back(call.text);
    return texts;
}

FixedClock::FixedClock(CalendarTime now) : now_(now) { SetClock(this); }
FixedClock::~FixedClock() { SetClock(nullptr); }

RecordingLauncher::RecordingLauncher() { SetLauncher(this); }
RecordingLauncher::~RecordingLauncher() { SetLauncher(nullptr); }

bool RecordingLauncher::Open(const LaunchCall& call) {
    launched_.push_back(call);
    return !fail_;
}

ScriptedDialogs::ScriptedDialogs() { SetDialogObserver(this); }
ScriptedDialogs::~ScriptedDialogs() { SetDialogObserver(nullptr); }

void ScriptedDialogs::DialogShown(HWND dialog, int templateId) {
    opened_.push_back(templateId);
    if (actions_.empty()) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    Action action = std::move(actions_.front());
    actions_.pop_front();
    action(dialog);
}

void ClickButton(HWND dialog, int controlId) { PostMessageA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0); }

void SetCheck(HWND dialog, int controlId, bool checked) {
    CheckDlgButton(dialog, controlId, checked ? BST_CHECKED : BST_UNCHECKED);
}

void SetText(HWND dialog, int controlId, const std::string& text) { SetDlgItemTextA(dialog, controlId, text.c_str()); }

std::string ControlText(HWND dialog, int controlId) { return WindowText(GetDlgItem(dialog, controlId)); }

FakeDrives::FakeDrives() { SetDrives(this); }
FakeDrives::~FakeDrives() { SetDrives(nullptr); }

int64_t FakeDrives::FreeBytes(const std::string& root) {
    askedRoots.push_back(root);
    return freeBytes;
}

unsigned FakeDrives::DriveType(const std::string& root) { return driveType ? driveType(root) : DRIVE_FIXED; }

std::string FakeDrives::BrowseForFolder(HWND, const std::string& title) { return browse ? browse(title) : ""; }

CountingSounds::CountingSounds() { SetSounds(this); }
CountingSounds::~CountingSounds() { SetSounds(nullptr); }

}  // namespace corvane::testing
