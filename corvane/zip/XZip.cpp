#include "corvane/zip/XZip.h"

#include "corvane/zip/Win32FileSystem.h"
#include "corvane/environment/MessagePump.h"

#include <windows.h>

#include <thread>

namespace corvane::zip {

// Carries each engine event to the calling thread and waits for its handler:
// the worker posts the call and signals `request_`; the caller's message loop
// runs it and signals `answered_`.
class XZip::Marshal final : public ZipEvents {
public:
    explicit Marshal(XZip& owner) : owner_(owner) {
        request_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        answered_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        done_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~Marshal() override {
        CloseHandle(request_);
        CloseHandle(answered_);
        CloseHandle(done_);
    }
    bool Ready() const { return request_ && answered_ && done_; }
    bool HandlerFailed() const { return failed_; }

    void Adding(const EntryProgress& p) override {
        if (owner_.Adding) Call([&] { owner_.Adding(p); });
    }
    void Updating(const EntryProgress& p) override {
        if (owner_.Updating) Call([&] { owner_.Updating(p); });
    }
    void SkippingFile(const std::string& name, const std::string& reason) override {
        if (owner_.SkippingFile) Call([&] { owner_.SkippingFile(name, reason); });
    }
    bool Newdisk(int disk) override {
        if (!owner_.Newdisk) return false;
        Call([&] { owner_.Newdisk(disk); });
        return !owner_.abort_;
    }
    void Rename(const std::string& orig, std::string& newName) override {
        if (owner_.Rename) Call([&] { owner_.Rename(orig, newName); });
    }

    // The worker's side.
    void Call(const std::function<void()>& handler) {
        if (failed_) return;
        call_ = &handler;
        SetEvent(request_);
        WaitForSingleObject(answered_, INFINITE);
    }
    void Finished() { SetEvent(done_); }

    // The caller's side: runs handlers and window messages until the worker ends.
    void Pump() {
        HANDLE handles[2] = {done_, request_};
        for (;;) {
            // Messages first, so a busy stream of events cannot starve the window.
            if (!DispatchPending()) break;
            DWORD w = MsgWaitForMultipleObjectsEx(2, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (w == WAIT_OBJECT_0) break;
            if (w == WAIT_OBJECT_0 + 1) Answer();
        }
        // The worker may still post events after a quit: serve them until it ends.
        while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) Answer();
    }

    // Runs the handler the worker waits for. A handler's exception stays on
    // this side: the command stops, and no further event is raised.
    void Answer() {
        try {
            (*call_)();
        } catch (...) {
            failed_ = true;
            owner_.abort_ = true;
        }
        SetEvent(answered_);
    }

    // Dispatches the queued messages; false once a quit request arrives. The
    // pump leaves the request queued for the program's own loop; the command stops.
    bool DispatchPending() {
        if (PumpMessages()) return true;
        owner_.abort_ = true;
        return false;
    }

private:
    XZip& owner_;
    HANDLE request_;
    HANDLE answered_;
    HANDLE done_;
    const std::function<void()>* call_ = nullptr;
    std::atomic<bool> failed_{false};
};

XZip::XZip() : fs_(MakeWin32FileSystem()) {}
XZip::~XZip() = default;

ZipSettings XZip::Settings() const {
    ZipSettings s;
    s.archivePath = ArchivePath;
    s.filesToProcess = FilesToProcess;
    s.tempFolder = TempFolder;
    s.extractionFolder = ExtractionFolder;
    s.includeSubfolders = IncludeSubfolders;
    s.spanDisks = SpanDisks;
    s.overwriteDiskette = OverwriteDiskette;
    s.overwriteMode = OverwriteMode;
    s.maxEntrySize = MaxEntrySize;
    s.level = Level;
    s.threads = Threads;
    s.zip64 = Zip64;
    s.storedNames = StoredNames;
    return s;
}

uint16_t XZip::Compress(int16_t) { return Run(Command::Compress); }
uint16_t XZip::Extract(int16_t) { return Run(Command::Extract); }
uint16_t XZip::Test(std::vector<std::string>* bad) { return Run(Command::Test, bad); }

uint16_t XZip::Run(Command command, std::vector<std::string>* bad) {
    if (running_) return result::kBusy;
    running_ = true;
    abort_ = false;
    ZipSettings settings;
    try {
        settings = Settings();
    } catch (...) {
        running_ = false;
        return result::kInternal;
    }
    Marshal marshal(*this);
    if (!marshal.Ready()) {
        running_ = false;
        return result::kInternal;
    }
    ZipResult r = result::kInternal;
    std::vector<std::string> unreported;
    if (!bad) bad = &unreported;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                if (command == Command::Compress)
                    r = zip::Compress(settings, *fs_, marshal, abort_);
                else if (command == Command::Extract)
                    r = zip::Extract(settings, *fs_, marshal, abort_);
                else
                    r = zip::Test(settings, *fs_, marshal, abort_, bad);
            } catch (...) {
                r = result::kInternal;
            }
            marshal.Finished();
        });
    } catch (...) {
        running_ = false;
        return result::kInternal;  // no thread for the command
    }
    marshal.Pump();
    worker.join();
    running_ = false;
    return marshal.HandlerFailed() ? result::kInternal : r;
}

}  // namespace corvane::zip
