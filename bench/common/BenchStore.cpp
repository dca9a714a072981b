#include "bench/common/BenchStore.h"

#include "testsupport/OeTestSupport.h"

#include "testsupport/SyntheticOE.h"
#include "testsupport/portable/DbxWriter.h"

#include <windows.h>

#include <memory>

namespace corvane::bench {
namespace {

constexpr DWORD kPiece = 1 << 20;
constexpr const char* kIndexName = "folders.dbx";

struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    bool Ok() const { return h != INVALID_HANDLE_VALUE; }
};

std::string In(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

// Reads up to `count` bytes, however many calls it takes; the count read.
DWORD ReadPiece(HANDLE file, char* buffer, DWORD count) {
    DWORD total = 0;
    while (total < count) {
        DWORD got = 0;
        if (!ReadFile(file, buffer + total, count - total, &got, nullptr) || got == 0) break;
        total += got;
    }
    return total;
}

}  // namespace

std::vector<std::string> StoreFileNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(In(folder, "*.dbx").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool WriteFolderIndex(const std::string& folder) {
    std::vector<testing::DbxFolder> folders = {testing::DbxFolder::Root("Main Identity"),
                                               testing::DbxFolder::NoFile(1, 0, "Local Folders")};
    int number = 2;
    for (const std::string& file : StoreFileNames(folder))
        if (lstrcmpiA(file.c_str(), kIndexName) != 0)
            folders.push_back(testing::DbxFolder::Mail(number++, 1, file.substr(0, file.size() - 4), file));
    return testing::WriteBytes(In(folder, kIndexName), testing::BuildFolderIndex(folders));
}

bool EnsureFolderIndex(const std::string& folder) {
    if (GetFileAttributesA(In(folder, kIndexName).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    return WriteFolderIndex(folder);
}

void RegisterBenchIdentity(testing::SyntheticOE& oe, const std::string& id, const std::string& store) {
    testing::CleanOutlookExpressState();
    oe.RegisterProgram(testing::kOeProgramPath5);
    oe.AddIdentity(id, "Bench", store);
    oe.SetDefaultIdentity(id);
    oe.SetLastIdentity(id);
    oe.SetFavorites("");
    testing::SaveCorvaneSetting("", "WarnVirus", "N");
}

bool CopyStore(const std::string& originals, const std::string& store) {
    if (!testing::SyntheticOE::MakeFolders(store)) return false;
    for (const std::string& name : StoreFileNames(originals))
        if (!CopyFileA(In(originals, name).c_str(), In(store, name).c_str(), FALSE)) return false;
    return true;
}

bool ChangeFiles(const std::string& store, const std::vector<std::string>& names) {
    const std::string arrived(4096, 'x');
    for (const std::string& name : names) {
        Handle file(CreateFileA(In(store, name).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file.Ok() || !WriteFile(file.h, arrived.data(), 4096, &written, nullptr) || written != 4096) return false;
        if (SetFilePointer(file.h, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) return false;
        if (!WriteFile(file.h, arrived.data(), 1024, &written, nullptr) || written != 1024) return false;
        if (!FlushFileBuffers(file.h)) return false;
    }
    return true;
}

bool SameBytes(const std::string& a, const std::string& b, uint64_t* size) {
    *size = 0;
    Handle first(CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    Handle second(CreateFileA(b.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!first.Ok() || !second.Ok()) return false;
    auto one = std::make_unique<char[]>(kPiece), two = std::make_unique<char[]>(kPiece);
    for (;;) {
        DWORD got = ReadPiece(first.h, one.get(), kPiece);
        if (ReadPiece(second.h, two.get(), kPiece) != got || memcmp(one.get(), two.get(), got) != 0) return false;
        *size += got;
        if (got < kPiece) return true;
    }
}

}  // namespace corvane::bench
