#include "corvane/restore/CDialog.h"

#include "corvane/environment/Seams.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>

namespace corvane {
namespace {

constexpr UINT kWatchMilliseconds = 25;

// While the system's dialog runs, a thread timer looks for it among this
// thread's windows; once it is up, the observer is told, once.
thread_local UINT_PTR watchTimer = 0;

bool IsFileDialog(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window)) return false;
    return GetDlgItem(window, cmb13) != nullptr || GetDlgItem(window, edt1) != nullptr;
}

BOOL CALLBACK FindFileDialog(HWND window, LPARAM found) {
    if (!IsFileDialog(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK WatchForDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    KillTimer(nullptr, watchTimer);
    watchTimer = 0;
    DialogObserver().DialogShown(dialog, CDialog::kObserverId);
}

}  // namespace

void CDialog::SetAction(int action) {
    if (action == 1) ShowOpen();
    if (action == 2) ShowSave();
}

std::string CDialog::SelectedFile(int index) const {
    if (index < 1 || index > SelectedFileCount()) return "";
    return selected_[static_cast<size_t>(index - 1)];
}

bool CDialog::Run(HWND owner, bool save) {
    size_t size = static_cast<size_t>(std::max<int16_t>(MaxFileSize, 2));
    std::string fileBuffer(size, '\0');
    std::copy_n(Filename.begin(), std::min(Filename.size(), size - 1), fileBuffer.begin());
    std::string titleBuffer(size, '\0');
    std::string filter = filter_.ForSystem();

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = Filter().empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(std::max<int16_t>(FilterIndex(), 0));
    dialog.lpstrFile = fileBuffer.data();
    dialog.nMaxFile = static_cast<DWORD>(size);
    dialog.lpstrFileTitle = titleBuffer.data();
    dialog.nMaxFileTitle = static_cast<DWORD>(size);
    dialog.lpstrInitialDir = InitDir.empty() ? nullptr : InitDir.c_str();
    dialog.lpstrTitle = DialogTitle.empty() ? nullptr : DialogTitle.c_str();
    dialog.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    dialog.Flags = restore::FlagsForSystem(static_cast<uint32_t>(Flags));

    filter_.MarkUsed();
    selected_.clear();
    Error = 0;
    if (watchTimer) KillTimer(nullptr, watchTimer);
    watchTimer = SetTimer(nullptr, 0, kWatchMilliseconds, WatchForDialog);
    BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (watchTimer) KillTimer(nullptr, watchTimer);
    watchTimer = 0;

    Flags = static_cast<int32_t>(dialog.Flags);  // the read-only box as the user left it
    SetFilterIndex(static_cast<int16_t>(dialog.nFilterIndex));
    if (!chosen) {
        Error = CommDlgExtendedError();
        if (Error == 0 && CancelError) throw CDialogCancelled();
        return false;
    }
    selected_ = restore::SplitSelectedFiles(fileBuffer, dialog.Flags);
    Filename = selected_.size() == 1 ? selected_.front() : std::string(fileBuffer.c_str());
    FileTitle = titleBuffer.c_str();
    return true;
}

}  // namespace corvane
