// What an export will read and where each store file's messages go. A
// SOURCE file is one store named after the file; a SOURCE folder gives every
// .dbx and .mbx file in it, and when the folder holds the store's folder
// index (folders.dbx for version 5, folders.nch for version 4) the output
// folders are named and nested after the folder tree the catalog reads;
// message files the index does not list go under "Unlisted".
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace corvane::exporting {

inline constexpr const char* kUnlistedFolder = "Unlisted";
inline constexpr const char* kRecoveredFolder = "Recovered";

struct StoreJob {
    std::filesystem::path source;
    std::vector<std::string> folder;  // output folder under DEST, each part a safe name
    int64_t size = 0;
};

struct ExportPlan {
    std::vector<StoreJob> jobs;
};

// False, with `error` set, when SOURCE is neither a readable file nor a
// folder holding at least one .dbx or .mbx file.
bool PlanExport(const std::filesystem::path& source, ExportPlan& plan, std::string& error);

// True when `path` is `folder` or lies inside it (both made absolute, links
// followed as far as they exist).
bool LiesInside(const std::filesystem::path& path, const std::filesystem::path& folder);

// The folder a SOURCE stands for: itself, or the folder of a file.
std::filesystem::path SourceFolder(const std::filesystem::path& source);

// The folder path as shown in reports: parts joined with '/'.
std::string FolderLabel(const std::vector<std::string>& folder);

}  // namespace corvane::exporting
