// Reader of the Outlook Express 4 folder index "folders.nch": follows the
// chain of 557-byte folder records from the header's first record to its
// last and puts one item per folder whose ".mbx" file exists into the flat
// work list, then builds the folder tree under the group item "Mail
// Folders". Also reads the message count of a ".mbx" file.
//
// Untrusted bytes: reads past the end give zeros; the chain ends at an
// offset that is zero, inside the header, outside the file or already read,
// and after as many records as the file can hold, so no index makes the walk
// loop; offsets never size an allocation. A base name that would lead out of
// the mail folder (a path, a drive, "..") names no file.
#pragma once

#include "corvane/catalog/ByteView.h"
#include "corvane/catalog/FileSource.h"
#include "corvane/catalog/TreeList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::catalog {

inline constexpr const char* kNchIndexFileName = "folders.nch";
inline constexpr const char* kNchIndexMissingText = "Unable to find Index File (\"folders.nch\")";  // string 118
inline constexpr int64_t kNchHeaderSize = 24;
inline constexpr int64_t kNchRecordSize = 557;
// The group item of the version-4 tree: the list text sorts it first, the
// shown text has no blank.
inline constexpr const char* kMailFoldersText = " Mail Folders";
inline constexpr const char* kMailFoldersDisplay = "Mail Folders";

// One record of "folders.nch". Texts end at their first NUL; a field that
// has none is empty.
struct NchRecord {
    int32_t next = 0;
    int16_t folderNumber = 0;
    std::string name;
    std::string baseName;  // the file's name without ".mbx"
    int16_t parentNumber = 0;
    int16_t order = 0;  // as stored; -1 sorts as 4
};

NchRecord ParseNchRecord(const ByteView& index, int64_t offset);

// The record offsets in the order the index is read: the header's first
// record, each next record until the next offset is the header's last, then
// the last. Each offset at most once.
std::vector<int64_t> WalkNchChain(const ByteView& index);

// True for a base name that stays inside the mail folder: not empty, no
// path separator or drive colon, not "." or "..".
bool IsPlainBaseName(const std::string& baseName);

// The work-list text of a top-level folder: the order ("00" format, -1 read
// as 4), character 2, the name in lower case.
std::string NchWorkText(int16_t order, const std::string& name);

// Fills `work` from the index bytes: item 0 "Outlook Express" keeping its
// children in text order, then one child per folder whose file
// `mailFolder` + base name + ".mbx" exists.
void ReadNchIndex(const std::vector<uint8_t>& index, const std::string& mailFolder, IFileSource& files, TreeList& work);

// Puts the root "Outlook Express" and the grey group item " Mail Folders"
// (Display "Mail Folders", iType 0, no data) into an emptied `tree`.
void StartV4Tree(TreeList& tree);

// Reads mailFolder + "folders.nch" into `work` and builds `target` from it.
// False, with both lists emptied, when there is no index file; the caller
// shows kNchIndexMissingText.
bool ReadV4Index(const std::string& mailFolder, IFileSource& files, TreeList& work, TreeList& target);

// Message count of a ".mbx" file: the signed 32-bit value at offset 8 of its
// 12-byte header (0 for a short or missing file).
int32_t ReadMbxMessageCount(IFileSource& files, const std::string& path);

}  // namespace corvane::catalog
