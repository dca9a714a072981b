// The shell's file operation (move, copy, delete, rename of lists of files)
// over SHFileOperationA: its confirmations, progress and owner window as
// properties, its source and destination lists built up one path at a time.
#pragma once

#include "corvane/environment/portable/FileOpRules.h"

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvane {

// Raised by an action run with no source file.
class CSHFileOpError : public std::runtime_error {
public:
    CSHFileOpError() : std::runtime_error("No source files specified file operation") {}
    static constexpr uint32_t kNumber = 0x80040000u + 1000u;
    uint32_t Number() const { return kNumber; }
};

class CSHFileOp {
public:
    bool AllowUndo() const { return options_.AllowUndo; }
    void SetAllowUndo(bool bAllowUndo) { options_.AllowUndo = bAllowUndo; }
    bool ConfirmMakeDir() const { return options_.ConfirmMakeDir; }
    void SetConfirmMakeDir(bool bConfirmMakeDir) { options_.ConfirmMakeDir = bConfirmMakeDir; }
    bool ConfirmOperation() const { return options_.ConfirmOperation; }
    void SetConfirmOperation(bool bConfirmOperation) { options_.ConfirmOperation = bConfirmOperation; }
    const std::string& CustomText() const { return options_.CustomText; }
    void SetCustomText(const std::string& sCustomText) { options_.CustomText = sCustomText; }
    bool IncludeDirectories() const { return options_.IncludeDirectories; }
    void SetIncludeDirectories(bool bIncludeDirectories) { options_.IncludeDirectories = bIncludeDirectories; }
    HWND ParentWnd() const { return parentWnd_; }
    void SetParentWnd(HWND hParentWnd) { parentWnd_ = hParentWnd; }
    bool RenameOnCollision() const { return options_.RenameOnCollision; }
    void SetRenameOnCollision(bool bRenameOnCollision) { options_.RenameOnCollision = bRenameOnCollision; }
    bool SilentMode() const { return options_.SilentMode; }
    void SetSilentMode(bool bSilentMode) { options_.SilentMode = bSilentMode; }

    // Each is true only when the shell answered 0, no part of the operation
    // was cancelled and, for a move or a delete, no source file is left where
    // it was; an empty source list raises CSHFileOpError.
    bool MoveFiles() { return Run(shellop::FileOpFunction::Move); }
    bool CopyFiles() { return Run(shellop::FileOpFunction::Copy); }
    bool DeleteFiles() { return Run(shellop::FileOpFunction::Delete); }
    bool RenameFiles() { return Run(shellop::FileOpFunction::Rename); }

    void ClearSourceFiles() { sources_.clear(); }
    void AddSourceFile(const std::string& sFilename) { sources_.push_back(sFilename); }
    void ClearDestFiles() { destinations_.clear(); }
    void AddDestFile(const std::string& sFilename) { destinations_.push_back(sFilename); }

    // What the last action handed to the shell and what came back.
    uint16_t LastFlags() const { return lastFlags_; }
    const std::string& LastProgressTitle() const { return lastTitle_; }
    int LastResult() const { return lastResult_; }
    bool LastAborted() const { return lastAborted_; }

private:
    bool Run(shellop::FileOpFunction function);

    shellop::FileOpOptions options_;
    HWND parentWnd_ = nullptr;
    std::vector<std::string> sources_;
    std::vector<std::string> destinations_;
    uint16_t lastFlags_ = 0;
    std::string lastTitle_;
    int lastResult_ = 0;
    bool lastAborted_ = false;
};

}  // namespace corvane
