// The system's open and save dialogs (GetOpenFileNameA, GetSaveFileNameA)
// behind properties: flags, filter, initial folder and name, title; the
// chosen file or files afterwards. Once the system's dialog is up, the
// dialog observer is told (as for the program's own dialogs) so a test can
// work it.
#pragma once

#include "corvane/restore/portable/FileDialogRules.h"

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvane {

// Raised by ShowOpen and ShowSave on Cancel when CancelError is set.
class CDialogCancelled : public std::runtime_error {
public:
    CDialogCancelled() : std::runtime_error("Cancel was selected.") {}
    static constexpr int kNumber = 32755;
};

class CDialog {
public:
    // The number the dialog observer hears for the system's file dialog.
    static constexpr int kObserverId = 1547;  // the explorer-style template of comdlg32

    int32_t Flags = 0;
    int16_t FilterIndex() const { return filter_.Index(); }
    void SetFilterIndex(int16_t index) { filter_.SetIndex(index); }
    const std::string& Filter() const { return filter_.Text(); }
    void SetFilter(const std::string& filter) { filter_.Set(filter); }
    std::string InitDir;
    std::string Filename;  // the name the dialog starts with, then the chosen file
    std::string FileTitle;
    std::string DefaultExt;
    std::string DialogTitle;
    int16_t MaxFileSize = 256;
    bool CancelError = false;
    // Kept for callers; the dialog does not read them.
    std::string HelpFile;
    int32_t HelpCommand = 0;
    int32_t HelpContext = 0;
    std::string HelpKey;
    std::string CustomFilter;
    std::string CustomFilterFilespec;
    // The system dialog's extended error of the last run (0 for none or Cancel).
    uint32_t Error = 0;

    // 1 runs ShowOpen, 2 ShowSave (with no owner).
    void SetAction(int action);
    void SetMultiSelect(int mode) { Flags = static_cast<int32_t>(restore::WithMultiSelect(Flags, mode)); }
    void SetFileReadOnly(int mode) { Flags = static_cast<int32_t>(restore::WithFileReadOnly(Flags, mode)); }
    void SetFileMustExist(int mode) { Flags = static_cast<int32_t>(restore::WithFileMustExist(Flags, mode)); }
    void AddFilter(const std::string& description, const std::string& filespec, bool defaultFilter = false) {
        filter_.Add(description, filespec, defaultFilter);
    }

    // True when the user chose a file. Cancel gives false, or raises
    // CDialogCancelled with CancelError set.
    bool ShowOpen(HWND owner = nullptr) { return Run(owner, false); }
    bool ShowSave(HWND owner = nullptr) { return Run(owner, true); }

    int SelectedFileCount() const { return static_cast<int>(selected_.size()); }
    // 1-based; "" outside the range.
    std::string SelectedFile(int index) const;

private:
    bool Run(HWND owner, bool save);

    restore::FileDialogFilter filter_;
    std::vector<std::string> selected_;
};

}  // namespace corvane
