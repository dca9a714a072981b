#include "corvane/restore/portable/FileDialogRules.h"

#include <algorithm>

namespace corvane::restore {

uint32_t FlagsForSystem(uint32_t flags) { return flags & ~(ofn::kShowHelp | ofn::kLongNames); }

uint32_t WithMultiSelect(uint32_t flags, int mode) {
    flags &= ~(ofn::kAllowMultiSelect | ofn::kExplorer);
    if (mode >= 1) flags |= ofn::kAllowMultiSelect;
    if (mode >= 2) flags |= ofn::kExplorer;
    return flags;
}

uint32_t WithFileReadOnly(uint32_t flags, int mode) {
    flags &= ~(ofn::kReadOnly | ofn::kHideReadOnly);
    if (mode == 1) flags |= ofn::kReadOnly;
    if (mode == 2) flags |= ofn::kHideReadOnly;
    return flags;
}

uint32_t WithFileMustExist(uint32_t flags, int mode) {
    flags &= ~(ofn::kPathMustExist | ofn::kFileMustExist | ofn::kCreatePrompt | ofn::kOverwritePrompt);
    switch (mode) {
    case 1:
        return flags | ofn::kPathMustExist;
    case 2:
        return flags | ofn::kPathMustExist | ofn::kFileMustExist;
    case 3:
        return flags | ofn::kPathMustExist | ofn::kCreatePrompt;
    case 4:
        return flags | ofn::kOverwritePrompt;
    case 5:
        return flags | ofn::kPathMustExist | ofn::kOverwritePrompt;
    case 6:
        return flags | ofn::kPathMustExist | ofn::kFileMustExist | ofn::kOverwritePrompt;
    default:
        return flags;
    }
}

void FileDialogFilter::Add(std::string_view description, std::string_view filespec, bool defaultFilter) {
    if (reset_) {
        text_.clear();
        reset_ = false;
    }
    if (!text_.empty() && text_.back() != '|') text_ += '|';
    text_ += description;
    if (filespec.find(';') == std::string_view::npos) {
        text_ += " (";
        text_ += filespec;
        text_ += ')';
    }
    text_ += '|';
    text_ += filespec;
    if (!defaultFilter) return;
    auto separators = std::count(text_.begin(), text_.end(), '|');
    index_ = static_cast<int16_t>((separators + 1) / 2);
}

std::string FileDialogFilter::ForSystem() const {
    std::string text = text_;
    std::replace(text.begin(), text.end(), '|', '\0');
    if (text.empty() || text.back() != '\0') text += '\0';
    text += '\0';
    return text;
}

std::vector<std::string> SplitSelectedFiles(std::string_view buffer, uint32_t flags) {
    size_t end = buffer.find(std::string_view("\0\0", 2));
    if (end != std::string_view::npos) buffer = buffer.substr(0, end);
    bool multiple = (flags & ofn::kAllowMultiSelect) != 0;
    char separator = (flags & ofn::kExplorer) != 0 ? '\0' : ' ';
    // Only a multiple explorer choice holds NULs inside; any other ends at its first.
    if (!multiple || separator != '\0') buffer = buffer.substr(0, buffer.find('\0'));

    std::vector<std::string> parts;
    while (!buffer.empty()) {
        size_t next = multiple ? buffer.find(separator) : std::string_view::npos;
        std::string_view part = buffer.substr(0, next);
        if (!part.empty()) parts.emplace_back(part);
        buffer = next == std::string_view::npos ? std::string_view() : buffer.substr(next + 1);
    }
    if (parts.size() < 2) return parts;

    std::string folder = parts.front();
    if (folder.back() != '\\') folder += '\\';
    std::vector<std::string> files;
    for (size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
    return files;
}

}  // namespace corvane::restore
