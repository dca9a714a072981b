#include "corvane/environment/CSHFileOp.h"

#include <shellapi.h>

namespace corvane {

#if !defined(_WIN64)
// The 32-bit structure is packed: owner, function, two list pointers, the
// 16-bit flags at 16, the aborted flag at 18, the mappings at 22, the title at 26.
static_assert(sizeof(SHFILEOPSTRUCTA) == 30);
static_assert(offsetof(SHFILEOPSTRUCTA, fAnyOperationsAborted) == 18);
static_assert(offsetof(SHFILEOPSTRUCTA, lpszProgressTitle) == 26);
#endif

bool CSHFileOp::Run(shellop::FileOpFunction function) {
    if (sources_.empty()) throw CSHFileOpError();
    lastFlags_ = shellop::FileOpFlags(options_, destinations_.size());
    lastTitle_ = options_.CustomText;
    lastResult_ = -1;
    lastAborted_ = false;
    std::string from = shellop::DoubleNulList(sources_);
    std::string to = shellop::DoubleNulList(destinations_);
    // A path that would read as no path, or as two, is never handed over.
    if (from.empty() || to.empty()) return false;

    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = parentWnd_;
    operation.wFunc = static_cast<UINT>(function);
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = lastFlags_;
    operation.fAnyOperationsAborted = FALSE;
    operation.hNameMappings = nullptr;
    operation.lpszProgressTitle = lastTitle_.c_str();
    lastResult_ = SHFileOperationA(&operation);
    lastAborted_ = operation.fAnyOperationsAborted != FALSE;
    if (lastResult_ != 0 || lastAborted_) return false;
    // Some shells (Wine's among them) answer 0 for a file they could not
    // take away: a move or delete is done only when no source is left.
    if (function != shellop::FileOpFunction::Move && function != shellop::FileOpFunction::Delete) return true;
    for (const std::string& source : sources_)
        if (source.find_first_of("*?") == std::string::npos &&
            GetFileAttributesA(source.c_str()) != INVALID_FILE_ATTRIBUTES)
            return false;
    return true;
}

}  // namespace corvane
