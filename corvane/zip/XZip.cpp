#include "corvane/zip/XZip.h"

#include "corvane/zip/Win32FileSystem.h"

namespace corvane::zip {

// Hands each engine event to its handler on the calling thread. A handler's
// exception stays here: the command stops, and no further event is raised.
class XZip::Bridge final : public ZipEvents {
public:
    explicit Bridge(XZip& owner) : owner_(owner) {}
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

private:
    template <typename Handler>
    void Call(const Handler& handler) {
        if (failed_) return;
        try {
            handler();
        } catch (...) {
            failed_ = true;
            owner_.abort_ = true;
        }
    }

    XZip& owner_;
    bool failed_ = false;
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
    s.checkWritten = CheckWritten;
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
    Bridge bridge(*this);
    std::vector<std::string> unreported;
    if (!bad) bad = &unreported;
    ZipResult r = result::kInternal;
    try {
        const ZipSettings settings = Settings();
        if (command == Command::Compress)
            r = zip::Compress(settings, *fs_, bridge, abort_);
        else if (command == Command::Extract)
            r = zip::Extract(settings, *fs_, bridge, abort_);
        else
            r = zip::Test(settings, *fs_, bridge, abort_, bad);
    } catch (...) {
        r = result::kInternal;  // memory ran out, or a thread could not start
    }
    running_ = false;
    return bridge.HandlerFailed() ? result::kInternal : r;
}

}  // namespace corvane::zip
