// The engine's file-system calls on Win32 (ANSI paths). Sources are opened
// sharing only reading, so a file another program holds open for writing is
// reported as in use and skipped.
#pragma once

#include <memory>

#include "corvane/zip/ZipFileSystem.h"

namespace corvane::zip {

std::unique_ptr<FileSystem> MakeWin32FileSystem();

}  // namespace corvane::zip
