// Handles that close themselves when they go out of scope, whichever way the
// operation leaves.
#pragma once

#include <windows.h>

namespace corvane {

// An open registry key.
class CKey {
public:
    CKey() = default;
    ~CKey() { Close(); }
    CKey(const CKey&) = delete;
    CKey& operator=(const CKey&) = delete;

    HKEY* Out() {
        Close();
        return &key_;
    }
    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    // Closes now and reports the system's code (0 when there was nothing open).
    long Close() {
        if (!key_) return ERROR_SUCCESS;
        long code = RegCloseKey(key_);
        key_ = nullptr;
        return code;
    }

private:
    HKEY key_ = nullptr;
};

// A kernel object (file, process, event, ...); INVALID_HANDLE_VALUE and null
// both mean none.
class CHandle {
public:
    CHandle() = default;
    explicit CHandle(HANDLE handle) : handle_(handle) {}
    ~CHandle() { Close(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE handle) {
        Close();
        handle_ = handle;
    }
    void Close() {
        if (IsValid()) CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};

}  // namespace corvane
