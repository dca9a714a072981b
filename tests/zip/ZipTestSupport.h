// Helpers of the zip tests: a scratch folder, file helpers, events that
// record what they were told, and file systems that simulate small removable
// volumes and unreadable files over a real one.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "corvane/zip/ZipEngine.h"

namespace corvane::zip::ziptest {

namespace fs = std::filesystem;

class ScratchFolder {
public:
    ScratchFolder() {
        static std::atomic<int> counter{0};
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("cvzip-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    std::string operator/(const std::string& rel) const { return (path_ / rel).string(); }
    std::string Path() const { return path_.string(); }

private:
    fs::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& data) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << data;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Text that compresses like mail, and bytes that do not compress.
inline std::string MailText(size_t size, unsigned seed) {
    static const char* words[] = {"meeting",  "the",   "budget",   "Subject:", "regards", "inbox",   "report", "and",
                                  "tomorrow", "From:", "attached", "please",   "\r\n",    "archive", "of"};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < size) {
        s += words[rng() % 15];
        s += ' ';
    }
    s.resize(size);
    return s;
}

inline std::string RandomBytes(size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(size, '\0');
    for (char& c : s) c = static_cast<char>(rng());
    return s;
}

// Files below `root`, relative, with their contents.
inline std::map<std::string, std::string> Tree(const std::string& root) {
    std::map<std::string, std::string> out;
    for (auto& e : fs::recursive_directory_iterator(root)) {
        std::string rel = fs::relative(e.path(), root).generic_string();
        out[rel] = e.is_directory() ? std::string("<dir>") : ReadBytes(e.path().string());
    }
    return out;
}

// Names left over from temporary files of the engine ("~N.tmp").
inline std::vector<std::string> TempLeftovers(const std::string& root) {
    std::vector<std::string> out;
    for (auto& e : fs::recursive_directory_iterator(root)) {
        std::string name = e.path().filename().string();
        if (name.find(".~") != std::string::npos && name.ends_with(".tmp")) out.push_back(e.path().string());
    }
    return out;
}

class RecordingEvents : public ZipEvents {
public:
    void Adding(const EntryProgress& p) override {
        added.push_back(p.filename);
        if (onAdding) onAdding(p);
    }
    void SkippingFile(const std::string& name, const std::string& reason) override {
        skipped.push_back(name + ": " + reason);
    }
    bool Newdisk(int disk) override {
        disks.push_back(disk);
        return onNewdisk ? onNewdisk(disk) : false;
    }
    void Rename(const std::string& orig, std::string& newName) override {
        renamed.push_back(orig);
        if (onRename) onRename(orig, newName);
    }
    void Unmatched(const std::string& specification) override { unmatched.push_back(specification); }
    std::vector<std::string> added, skipped, renamed, unmatched;
    std::vector<int> disks;
    std::function<void(const EntryProgress&)> onAdding;
    std::function<bool(int)> onNewdisk;
    std::function<void(const std::string&, std::string&)> onRename;
};

// Passes every call to a real file system, with two seams: a capacity per
// volume folder (free space is the capacity less the files already in it),
// and sources that fail to open or fail after some bytes.
class SimulatedFileSystem : public FileSystem {
public:
    explicit SimulatedFileSystem(FileSystem& real) : real_(real) {}

    std::map<std::string, uint64_t> capacity;   // folder -> bytes
    std::set<std::string> inUse;                // paths that cannot be opened
    std::map<std::string, uint64_t> failAfter;  // path -> bytes readable before a read error

    char Separator() const override { return real_.Separator(); }
    std::unique_ptr<ReadFile> OpenRead(const std::string& path, FileError* error) override {
        if (inUse.count(path)) {
            *error = FileError::kInUse;
            return nullptr;
        }
        auto file = real_.OpenRead(path, error);
        auto limit = failAfter.find(path);
        if (!file || limit == failAfter.end()) return file;
        return std::make_unique<Failing>(std::move(file), limit->second);
    }
    std::unique_ptr<WriteFile> CreateNew(const std::string& p, FileError* e) override { return real_.CreateNew(p, e); }
    std::unique_ptr<ReadFile> OpenWritten(const std::string& p, FileError* e) override {
        return real_.OpenWritten(p, e);
    }
    bool Rename(const std::string& a, const std::string& b) override { return real_.Rename(a, b); }
    bool Remove(const std::string& p) override { return real_.Remove(p); }
    bool Stat(const std::string& p, FileInfo* i) override { return real_.Stat(p, i); }
    bool List(const std::string& f, std::vector<FileInfo>* e) override { return real_.List(f, e); }
    bool MakeFolders(const std::string& p) override { return real_.MakeFolders(p); }
    bool SetFileInfo(const std::string& p, int64_t t, uint32_t a) override { return real_.SetFileInfo(p, t, a); }
    uint64_t FreeSpace(const std::string& folder) override {
        auto it = capacity.find(fs::path(folder).lexically_normal().string());
        if (it == capacity.end()) return real_.FreeSpace(folder);
        uint64_t used = 0;
        for (auto& e : fs::directory_iterator(folder))
            if (e.is_regular_file()) used += e.file_size();
        return used >= it->second ? 0 : it->second - used;
    }

private:
    class Failing : public ReadFile {
    public:
        Failing(std::unique_ptr<ReadFile> f, uint64_t limit) : f_(std::move(f)), left_(limit) {}
        int64_t Read(void* b, size_t n) override {
            if (left_ == 0) return -1;
            int64_t got = f_->Read(b, std::min<uint64_t>(n, left_));
            if (got > 0) left_ -= static_cast<uint64_t>(got);
            return got;
        }
        bool Seek(uint64_t o) override { return f_->Seek(o); }
        uint64_t Size() override { return f_->Size(); }

    private:
        std::unique_ptr<ReadFile> f_;
        uint64_t left_;
    };
    FileSystem& real_;
};

// Changes one byte of the file being written just before the engine reads
// it back, as a disk that does not give back what it was given. `flip`
// changes the byte on the disk; by default through the standard library.
class DamagingFileSystem : public SimulatedFileSystem {
public:
    using SimulatedFileSystem::SimulatedFileSystem;
    uint64_t damageAt = UINT64_MAX;  // offset in the first file read back that reaches it
    std::atomic<int> damaged{0};
    std::function<bool(const std::string& path, uint64_t offset)> flip = [](const std::string& path, uint64_t offset) {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekg(static_cast<std::streamoff>(offset));
        char byte = 0;
        file.get(byte);
        file.seekp(static_cast<std::streamoff>(offset));
        file.put(static_cast<char>(byte ^ 0x5A));
        file.flush();
        return static_cast<bool>(file);
    };

    std::unique_ptr<ReadFile> OpenWritten(const std::string& path, FileError* error) override {
        std::unique_ptr<ReadFile> file = SimulatedFileSystem::OpenWritten(path, error);
        if (!file) return file;
        return std::make_unique<Damaging>(std::move(file), path, *this);
    }

private:
    class Damaging : public ReadFile {
    public:
        Damaging(std::unique_ptr<ReadFile> f, std::string path, DamagingFileSystem& owner)
            : f_(std::move(f)), path_(std::move(path)), owner_(owner) {}
        int64_t Read(void* buffer, size_t count) override {
            if (owner_.damageAt >= at_ && owner_.damageAt < at_ + count && owner_.damaged == 0 &&
                owner_.flip(path_, owner_.damageAt))
                ++owner_.damaged;
            int64_t n = f_->Read(buffer, count);
            if (n > 0) at_ += static_cast<uint64_t>(n);
            return n;
        }
        bool Seek(uint64_t offset) override {
            at_ = offset;
            return f_->Seek(offset);
        }
        uint64_t Size() override { return f_->Size(); }

    private:
        std::unique_ptr<ReadFile> f_;
        std::string path_;
        DamagingFileSystem& owner_;
        uint64_t at_ = 0;
    };
};

inline bool ToolAvailable(const std::string& tool) {
#ifdef _WIN32
    (void)tool;
    return false;
#else
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
#endif
}

// Runs a shell command quietly; true when it exits with 0.
inline bool RunQuietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

}  // namespace corvane::zip::ziptest
