#include "corvane/export/ExportFromArchive.h"

#include "corvane/zip/ZipResult.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

namespace corvane::exporting {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The store's files of an archive, each under its own name in one folder:
// the message files, the folder indexes and the version-4 message indexes.
// The Favorites, the address book and the backup log stay in the archive.
class StoreFilesOnly final : public zip::ZipEvents {
public:
    explicit StoreFilesOnly(const std::function<bool(int)>& newDisk) : newDisk_(newDisk) {}
    void Rename(const std::string& origName, std::string& newName) override {
        std::string name = origName.substr(origName.find_last_of("/\\") + 1);
        std::string lower = Lower(name);
        auto endsWith = [&lower](const char* tail) {
            std::string t(tail);
            return lower.size() > t.size() && lower.compare(lower.size() - t.size(), t.size(), t) == 0;
        };
        bool store = endsWith(".dbx") || endsWith(".mbx") || endsWith(".idx") || lower == "folders.nch";
        newName = store ? name : std::string();
    }
    bool Newdisk(int disk) override { return newDisk_ && newDisk_(disk); }

private:
    const std::function<bool(int)>& newDisk_;
};

// The store files came out with the attributes the archive gave them, read-only
// among them: each is made writable so that it can go.
void RemoveWorkingFolder(const fs::path& work) {
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(work, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, error);
    fs::remove_all(work, error);
}

}  // namespace

bool IsZipArchive(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    char start[4] = {};
    if (!file.read(start, sizeof start)) return false;
    // A local header, or the marker at the start of a spanned set's first volume.
    if (start[0] == 'P' && start[1] == 'K' &&
        ((start[2] == 3 && start[3] == 4) || (start[2] == 7 && start[3] == 8) || (start[2] == 5 && start[3] == 6)))
        return true;
    // The last volume of a set begins inside an entry; it ends with the
    // archive's end record, whose comment reaches exactly to the file's end.
    constexpr std::streamoff kEndRecord = 22, kLongestComment = 0xFFFF;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < kEndRecord) return false;
    const std::streamoff from = std::max<std::streamoff>(0, size - kEndRecord - kLongestComment);
    std::string tail(static_cast<size_t>(size - from), '\0');
    file.seekg(from);
    if (!file.read(tail.data(), static_cast<std::streamsize>(tail.size()))) return false;
    for (size_t at = tail.size() - kEndRecord + 1; at-- > 0;) {
        if (tail.compare(at, 4, "PK\x05\x06") != 0) continue;
        const size_t comment = static_cast<unsigned char>(tail[at + 20]) | static_cast<unsigned char>(tail[at + 21]) << 8;
        if (at + kEndRecord + comment == tail.size()) return true;
    }
    return false;
}

ExportResult RunArchiveExport(const ExportOptions& options, const ExportEvents& events,
                              const std::atomic<bool>& cancel, zip::FileSystem& files,
                              const std::function<bool(int disk)>& newDisk) {
    ExportResult result;
    std::error_code error;
    fs::create_directories(options.dest, error);
    fs::path work = options.dest / ".corvane-archive";
    for (int n = 1; fs::exists(work, error); ++n) work = options.dest / (".corvane-archive-" + std::to_string(n));
    if (!fs::create_directories(work, error)) {
        result.status = ExportStatus::BadDestination;
        result.error = "the working folder " + work.string() + " cannot be made";
        return result;
    }
    zip::ZipSettings settings;
    settings.archivePath = options.source.string();
    settings.filesToProcess = "*";
    settings.extractionFolder = work.string();
    settings.spanDisks = true;
    settings.overwriteMode = 2;
    StoreFilesOnly storeFiles(newDisk);
    const zip::ZipResult extracted = zip::Extract(settings, files, storeFiles, cancel);
    if (cancel) {
        result.status = ExportStatus::Cancelled;
    } else if (!zip::IsExtractSuccess(extracted)) {
        result.status = ExportStatus::BadSource;
        result.error = "the archive cannot be read (" + std::string(zip::DescribeResult(extracted)) + ")";
    } else {
        ExportOptions fromWork = options;
        fromWork.source = work;
        result = RunExport(fromWork, events, cancel);
    }
    RemoveWorkingFolder(work);
    return result;
}

}  // namespace corvane::exporting
