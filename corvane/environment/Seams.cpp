#include "corvane/environment/Seams.h"

#include "corvane/environment/SysFcns.h"

#include <shellapi.h>

namespace corvane {
namespace {

class RealMessageBoxes final : public IMessageBoxes {
public:
    int Show(const MessageBoxCall& call) override {
        return MessageBoxA(call.owner, call.text.c_str(), call.title.c_str(), call.style);
    }
};

class RealClock final : public IClock {
public:
    CalendarTime Now() override {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    }
};

class RealLauncher final : public ILauncher {
public:
    bool Open(const LaunchCall& call) override {
        const char* params = call.parameters.empty() ? nullptr : call.parameters.c_str();
        const char* folder = call.folder.empty() ? nullptr : call.folder.c_str();
        auto result =
            reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", call.file.c_str(), params, folder, call.show));
        return result > 32;
    }
};

class SilentDialogObserver final : public IDialogObserver {
public:
    void DialogShown(HWND, int) override {}
};

class RealDrives final : public IDrives {
public:
    int64_t FreeBytes(const std::string& root) override { return DriveFreeBytes(root); }
    unsigned DriveType(const std::string& root) override { return GetDriveTypeA(root.c_str()); }
    std::string BrowseForFolder(HWND owner, const std::string& title) override {
        return ::corvane::BrowseForFolder(owner, title);
    }
};

class RealSounds final : public ISounds {
public:
    void Beep() override { MessageBeep(MB_OK); }
};

RealMessageBoxes realBoxes;
RealClock realClock;
RealLauncher realLauncher;
SilentDialogObserver silentObserver;
RealDrives realDrives;
RealSounds realSounds;

IMessageBoxes* boxes = &realBoxes;
IClock* clock = &realClock;
ILauncher* launcher = &realLauncher;
IDialogObserver* observer = &silentObserver;
IDrives* drives = &realDrives;
ISounds* sounds = &realSounds;

}  // namespace

IMessageBoxes& MessageBoxes() { return *boxes; }
IClock& Clock() { return *clock; }
ILauncher& Launcher() { return *launcher; }
IDialogObserver& DialogObserver() { return *observer; }
IDrives& Drives() { return *drives; }
ISounds& Sounds() { return *sounds; }

void SetMessageBoxes(IMessageBoxes* b) { boxes = b ? b : &realBoxes; }
void SetClock(IClock* c) { clock = c ? c : &realClock; }
void SetLauncher(ILauncher* l) { launcher = l ? l : &realLauncher; }
void SetDialogObserver(IDialogObserver* o) { observer = o ? o : &silentObserver; }
void SetDrives(IDrives* d) { drives = d ? d : &realDrives; }
void SetSounds(ISounds* s) { sounds = s ? s : &realSounds; }

int ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT style) {
    return MessageBoxes().Show({owner, text, title, style});
}

CalendarTime Today() {
    CalendarTime t = Clock().Now();
    t.hour = t.minute = t.second = 0;
    return t;
}

bool OpenWithShell(const std::string& file, const std::string& parameters, const std::string& folder) {
    return Launcher().Open({file, parameters, folder, SW_SHOWNORMAL});
}

}  // namespace corvane
