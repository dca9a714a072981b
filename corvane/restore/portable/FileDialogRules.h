// The rules of the open/save dialog wrapper that need no window: its flag
// properties, the filter text with its reset mark, and the split of a
// multiple choice into full paths. Platform-free; the flag values are those
// of the system's open-file structure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::restore {

namespace ofn {
inline constexpr uint32_t kReadOnly = 0x1;
inline constexpr uint32_t kOverwritePrompt = 0x2;
inline constexpr uint32_t kHideReadOnly = 0x4;
inline constexpr uint32_t kShowHelp = 0x10;
inline constexpr uint32_t kAllowMultiSelect = 0x200;
inline constexpr uint32_t kPathMustExist = 0x800;
inline constexpr uint32_t kFileMustExist = 0x1000;
inline constexpr uint32_t kCreatePrompt = 0x2000;
inline constexpr uint32_t kExplorer = 0x80000;
inline constexpr uint32_t kLongNames = 0x200000;
}  // namespace ofn

// The flags as the system gets them: without the help button (nothing would
// answer it) and without the long-names bit (which only the old dialogs read).
uint32_t FlagsForSystem(uint32_t flags);

// MultiSelect: 0 single choice; 1 several, old-style dialog; 2 several, explorer dialog.
uint32_t WithMultiSelect(uint32_t flags, int mode);
// FileReadOnly: 0 box shown, unticked; 1 box shown, ticked; 2 box hidden.
uint32_t WithFileReadOnly(uint32_t flags, int mode);
// FileMustExist: 0 no checks; 1 the folder must exist; 2 the file must exist;
// 3 a missing file is offered for creation; 4 overwriting is confirmed;
// 5 the folder must exist and overwriting is confirmed; 6 the file must exist
// and overwriting is confirmed.
uint32_t WithFileMustExist(uint32_t flags, int mode);

// Descriptions and patterns joined by "|" (description, "|", pattern, ...).
class FileDialogFilter {
public:
    const std::string& Text() const { return text_; }
    void Set(std::string text) {
        text_ = std::move(text);
        reset_ = false;
    }
    int16_t Index() const { return index_; }
    void SetIndex(int16_t index) { index_ = index; }
    // Marks the filter as used by a dialog run: the next AddFilter starts anew.
    void MarkUsed() { reset_ = true; }
    // Appends a pair: the description shows its pattern in brackets unless the
    // pattern lists several (";"); a default pair becomes the selected one.
    void Add(std::string_view description, std::string_view filespec, bool defaultFilter);
    // The text as the system reads it: every "|" a NUL, the list ending in two NULs.
    std::string ForSystem() const;

private:
    std::string text_;
    int16_t index_ = 1;
    bool reset_ = false;
};

// The chosen files of the system's answer: the buffer up to its first double
// NUL. A multiple choice holds the folder first, then the names, separated by
// NULs (explorer) or blanks (old style); a single choice holds one full path.
std::vector<std::string> SplitSelectedFiles(std::string_view buffer, uint32_t flags);

}  // namespace corvane::restore
