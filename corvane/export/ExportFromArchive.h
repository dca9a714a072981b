// The export of a Corvane archive (a .zip, or the last volume of a spanned
// set): its store files come out of the archive into a working folder under
// DEST, through the zip engine, and are exported from there; nothing goes
// into a mail store, and the working folder goes at the end.
#pragma once

#include "corvane/export/ExportEngine.h"
#include "corvane/zip/ZipEngine.h"

#include <atomic>
#include <filesystem>
#include <functional>

namespace corvane::exporting {

// Whether `path` is a zip archive (it starts with a zip record).
bool IsZipArchive(const std::filesystem::path& path);

// `options.source` is the archive. `newDisk` answers the zip engine's
// request for volume n of a spanned set (0: the last); false cancels.
ExportResult RunArchiveExport(const ExportOptions& options, const ExportEvents& events,
                              const std::atomic<bool>& cancel, zip::FileSystem& files,
                              const std::function<bool(int disk)>& newDisk);

}  // namespace corvane::exporting
