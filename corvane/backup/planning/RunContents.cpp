#include "corvane/backup/planning/RunContents.h"

#include "corvane/catalog/CatalogModel.h"
#include "corvane/environment/portable/TextRules.h"

#include <cstdio>

namespace corvane::planning {
namespace {

namespace names = catalog::names;

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string WithoutDriveRoot(const std::string& path) { return path.size() > 3 ? path.substr(3) : std::string(); }

// A folder and everything in it and its sub-folders, as the component reads it.
std::string WholeFolder(const std::string& folder) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + "*";
    return folder + "\\*";
}

const char* KindOf(int64_t type) {
    if (type >= 0 && type <= 9) return "MBX";
    if (type == catalog::kTypeAddressBook) return "WAB";
    if (type == catalog::kTypeNewsAccount) return "NEWS";
    if (type == catalog::kTypeFavorites) return "FAVS";
    return nullptr;
}

std::string LastComponent(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The rest of `path` after `folder` (and its separator), or nothing when the path is not inside it.
bool RestAfter(const std::string& path, const std::string& folder, std::string& rest) {
    if (folder.empty() || path.size() <= folder.size() || !EqualsNoCase(path.substr(0, folder.size()), folder))
        return false;
    rest = path.substr(folder.size());
    if (folder.back() != '\\' && folder.back() != '/') {
        if (rest.front() != '\\' && rest.front() != '/') return false;
        rest.erase(0, 1);
    }
    return !rest.empty();
}

// The row of a store file: its own file name first, else the first whose
// file name begins with the base name.
int RowOfStoreFile(const catalog::TreeList& rows, const std::string& fileName) {
    std::string base = fileName.substr(0, fileName.find_last_of('.'));
    int begins = -1;
    for (int i = 1; i < rows.Count(); ++i) {
        std::string file = rows.TextValue(i, names::kMbxName);
        if (EqualsNoCase(file, fileName)) return i;
        if (begins < 0 && file.size() >= base.size() && EqualsNoCase(file.substr(0, base.size()), base)) begins = i;
    }
    return begins;
}

}  // namespace

int DayOfWeek(int year, int month, int day) {
    // Sakamoto's method.
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12) return 0;
    if (month < 3) year -= 1;
    int weekday = (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
    return weekday < 0 ? weekday + 7 : weekday;
}

std::string LogStartLine(const LogTime& time, const std::string& identityId) {
    int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    int month = time.month >= 1 && time.month <= 12 ? time.month : 1;
    char text[96];
    std::snprintf(text, sizeof text, "%s %s %02d, %04d @ %02d:%02d %s",
                  kDayNames[DayOfWeek(time.year, month, time.day)], kMonthNames[month - 1], time.day, time.year, hour12,
                  time.minute, time.hour < 12 ? "AM" : "PM");
    return std::string("V5 - Corvane Backup started: ") + text + "  " + identityId;
}

void MarkParentsOfSaved(catalog::TreeList& rows) {
    for (int i = 1; i < rows.Count(); ++i) {
        if (rows.NumberValue(i, names::kFlgSave) != 0) continue;
        int beneath = rows.CountBeneath(i);
        for (int j = i + 1; j <= i + beneath; ++j) {
            if (rows.NumberValue(j, names::kFlgSave) == 1) {
                rows.SetNumberValue(i, names::kFlgSave, 2);
                break;
            }
        }
    }
}

RunContents BuildRunContents(const catalog::TreeList& rows, const RunSources& sources) {
    RunContents contents;
    for (int i = 1; i < rows.Count(); ++i) {
        if (rows.NumberValue(i, names::kType) == catalog::kTypeAddressBook) {
            contents.includeAddressBook = rows.NumberValue(i, names::kFlgSave) == 1;
            break;
        }
    }
    contents.log = std::string("NCH\t") + (sources.isV5 ? "Folders.dbx" : "Folders.nch") + "\r\n";
    AppendSpecification(contents.zipFileList, sources.indexPath);
    for (int i = 1; i < rows.Count(); ++i) {
        int64_t flag = rows.NumberValue(i, names::kFlgSave);
        int64_t type = rows.NumberValue(i, names::kType);
        const char* kind = KindOf(type);
        if ((flag != 1 && flag != 2) || !kind) continue;
        std::string file = rows.TextValue(i, names::kMbxName);
        std::string name = file;
        if (type == catalog::kTypeAddressBook) name = WithoutDriveRoot(sources.wabPath);
        if (type == catalog::kTypeFavorites) name = WithoutDriveRoot(sources.favoritesFolder);
        contents.log += std::string(kind) + '\t' + name + '\t' + rows.Text(i) + '\t' + std::to_string(i) + '\t' +
                        std::to_string(rows.ParentPosition(i) < 0 ? 0 : rows.ParentPosition(i)) + '\t' +
                        std::to_string(flag) + '\t' + std::to_string(rows.NumberValue(i, names::kMbxCounts)) + '\t' +
                        std::to_string(type) + "\r\n";
        if (flag != 1) continue;
        if (type <= 9) {
            if (!file.empty()) AppendSpecification(contents.zipFileList, sources.mailFilesFolder + file);
        } else if (type == catalog::kTypeAddressBook) {
            AppendSpecification(contents.zipFileList, sources.wabPath);
        } else if (type == catalog::kTypeNewsAccount) {
            AppendSpecification(contents.zipFileList, WholeFolder(sources.oe4NewsFolder + file));
        } else {
            AppendSpecification(contents.zipFileList, WholeFolder(sources.favoritesFolder));
        }
    }
    return contents;
}

void AppendSpecification(std::string& list, const std::string& specification) {
    if (specification.empty()) return;
    if (!list.empty()) list += '\r';
    list += specification;
}

std::string ArchiveFileNameOf(const std::string& archivePath, const std::string& saveFolder) {
    size_t skip = saveFolder.size();
    if (saveFolder.empty() || saveFolder.back() != '\\') skip += 1;
    return skip < archivePath.size() ? archivePath.substr(skip) : std::string();
}

std::string KeptArchiveName(const std::string& saveFolder, const std::string& archiveFileName,
                            const std::function<bool(const std::string&)>& exists) {
    std::string folder = saveFolder;
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    for (int counter = 0; counter < 1000; ++counter) {
        char number[16];
        std::snprintf(number, sizeof number, "%03d", counter);
        std::string candidate = folder + "\\" + archiveFileName + number + ".zip";
        if (!exists(candidate)) return candidate;
    }
    return {};
}

ProgressStep DescribeProgress(const std::string& path, uint64_t eventSize, const catalog::TreeList& rows,
                              const std::string& favoritesFolder, const std::string& oe4NewsFolder) {
    ProgressStep step;
    const std::string file = LastComponent(path);
    const std::string tail = file.size() >= 4 ? file.substr(file.size() - 4) : file;
    const auto size = static_cast<int64_t>(eventSize);
    std::string rest;
    if (EqualsNoCase(tail, ".log")) {
        step.name = "Saving Archive Log & Finalizing Archive";
        step.prefixed = false;
    } else if (EqualsNoCase(tail, ".mbx") || EqualsNoCase(tail, ".dbx")) {
        int row = RowOfStoreFile(rows, file);
        step.name = row > 0 ? rows.Text(row) : file.substr(0, file.size() - 4);
        step.bytes = row > 0 ? rows.NumberValue(row, names::kFileSize) : size;
    } else if (EqualsNoCase(tail, ".wab")) {
        step.name = "Address Book";
        int row = rows.Find(catalog::NamedValue::Number(catalog::kTypeAddressBook), 1, rows.Count() - 1, names::kType);
        step.bytes = row > 0 ? rows.NumberValue(row, names::kFileSize) : 0;
    } else if (RestAfter(path, favoritesFolder, rest)) {
        step.name = rest;
        step.bytes = size;
    } else if (RestAfter(path, oe4NewsFolder, rest)) {
        std::string account = rest.substr(0, rest.find_first_of("\\/"));
        step.name = rest;
        for (int i = 1; i < rows.Count(); ++i) {
            if (rows.NumberValue(i, names::kType) == catalog::kTypeNewsAccount &&
                EqualsNoCase(rows.TextValue(i, names::kMbxName), account)) {
                step.name = rows.TextValue(i, names::kDisplay);
                break;
            }
        }
        step.bytes = size;
    } else {
        step.name = file;
    }
    return step;
}

std::string ProgressCaption(const std::string& prefix, const ProgressStep& step) {
    std::string text = step.prefixed ? prefix + step.name : step.name;
    std::string doubled;
    for (char c : text) {
        doubled += c;
        if (c == '&') doubled += '&';
    }
    return doubled;
}

int ProgressPercent(int64_t done, int64_t total) {
    if (total < 1 || done <= 0) return 0;
    if (done >= total) return 100;
    return static_cast<int>(done * 100 / total);
}

}  // namespace corvane::planning
