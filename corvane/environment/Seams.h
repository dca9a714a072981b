// The narrow seams between the program and the things a test must control:
// message boxes, modal dialogs, the clock and the start of other programs or
// documents. Each has a real implementation that calls Windows; a test installs
// its own (see testsupport/ScriptedSeams.h) and the real windows still run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace corvane {

// A message box as the program asks for it: owner, text, title and the
// MessageBox style (buttons | icon | default button).
struct MessageBoxCall {
    HWND owner = nullptr;
    std::string text;
    std::string title;
    UINT style = 0;
};

class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    // Shows the box modally and returns the button pressed (IDOK, IDYES, ...).
    virtual int Show(const MessageBoxCall& call) = 0;
};

// Local calendar time, as the program reads "today" and "now".
struct CalendarTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual CalendarTime Now() = 0;
};

// A program or document opened with the shell's "open" verb.
struct LaunchCall {
    std::string file;
    std::string parameters;
    std::string folder;
    int show = SW_SHOWNORMAL;
};

class ILauncher {
public:
    virtual ~ILauncher() = default;
    // True when the shell started it.
    virtual bool Open(const LaunchCall& call) = 0;
};

// Told by every modal dialog of ours once it is shown and its modal loop runs.
// The real observer does nothing; a test's observer answers the dialog by
// working its controls (the dialog's own handlers then run as for a user).
class IDialogObserver {
public:
    virtual ~IDialogObserver() = default;
    virtual void DialogShown(HWND dialog, int templateId) = 0;
};

// The drives and folders the wizard asks Windows about.
class IDrives {
public:
    virtual ~IDrives() = default;
    // Bytes free to this user on the drive of `root` ("C:\\"); 0 when unknown.
    virtual int64_t FreeBytes(const std::string& root) = 0;
    // GetDriveType's answer for `root`.
    virtual unsigned DriveType(const std::string& root) = 0;
    // The shell's folder browser; "" when cancelled.
    virtual std::string BrowseForFolder(HWND owner, const std::string& title) = 0;
};

// The beep of a refused request.
class ISounds {
public:
    virtual ~ISounds() = default;
    virtual void Beep() = 0;
};

// The seams in force for this process. Passing nullptr restores the real one.
IMessageBoxes& MessageBoxes();
IClock& Clock();
ILauncher& Launcher();
IDialogObserver& DialogObserver();
IDrives& Drives();
ISounds& Sounds();
void SetMessageBoxes(IMessageBoxes* boxes);
void SetClock(IClock* clock);
void SetLauncher(ILauncher* launcher);
void SetDialogObserver(IDialogObserver* observer);
void SetDrives(IDrives* drives);
void SetSounds(ISounds* sounds);

// Shorthands over the seams.
int ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT style);
CalendarTime Today();  // Now() with the time of day cleared
bool OpenWithShell(const std::string& file, const std::string& parameters = "", const std::string& folder = "");

}  // namespace corvane
