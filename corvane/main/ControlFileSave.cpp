#include "corvane/main/ControlFileSave.h"

#include "corvane/environment/Handles.h"
#include "corvane/main/portable/ControlFileText.h"

namespace corvane {
namespace {

// A new file at `path`; a leftover of an interrupted run is removed first.
HANDLE CreateFresh(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    if (!DeleteFileA(path.c_str())) return INVALID_HANDLE_VALUE;
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteAndFlush(HANDLE file, const std::string& text) {
    DWORD written = 0;
    if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) return false;
    return written == text.size() && FlushFileBuffers(file);
}

}  // namespace

bool ReplaceFileWhole(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".new";
    CHandle file(CreateFresh(temporary));
    if (!file.IsValid()) return false;
    bool written = WriteAndFlush(file.Get(), text);
    file.Close();
    if (written && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileA(temporary.c_str());
    return false;
}

bool SaveCtrl(const StoreContext& store, const catalog::TreeList& folders, const std::string& kind) {
    return ReplaceFileWhole(store.ControlFilePath, SavedControlFile(kind, store.Identities.IdentityName,
                                                                    store.Identities.IdentityId, folders));
}

}  // namespace corvane
