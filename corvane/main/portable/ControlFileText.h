// The text of the backup control file as start-up reads and first writes it:
// a header line, then one line per remembered folder with six fields separated
// by character 3. Lines end in CR LF. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

namespace catalog {
class TreeList;
}

constexpr char kControlDelimiter = '\x03';
// The primary list delimiter of the program's in-memory lists.
constexpr char kPrimaryListDelimiter = '\x02';

// One folder line of a control file, its numbers read leniently.
struct ControlLine {
    int type = 0;
    std::string display;
    std::string mbxName;
    int folderNo = 0;
    int parentNo = 0;
    int flag = 0;  // a stored -1 is read as 1
};

struct ControlFileContent {
    std::string header;
    // Folder lines in file order; address-book and Favorites lines (types 10
    // and 30) are left out, as those items are found afresh at every start.
    std::vector<ControlLine> lines;
};

// The lines of a text ended by CR LF (a lone LF also ends a line); a last
// line without an end counts, an empty text has no lines.
std::vector<std::string> TextLines(std::string_view text);

ControlFileContent ParseControlFile(std::string_view text);

// What the folder readers use to pre-select last time's choice: the file name
// and the flag of every line that names a file, each list joined by character 2.
struct SavedSelection {
    std::string names;
    std::string flags;
};
SavedSelection SavedSelectionOf(const std::vector<ControlLine>& lines);

// Headers of a newly made control file (a single line, CR LF ended).
std::string NewVersion5ControlFile(const std::string& identityName, const std::string& identityId);
std::string NewVersion4ControlFile();

// The control file a backup leaves behind: the header of the store kind ("4"
// a version-4 store, anything else version 5 with the identity in braces),
// then one line per row of the folder list after the root, in list order:
// type, caption, store file (empty for rows without one), the row's own
// position, its parent's position (0 under the root) and its FlgSave.
std::string SavedControlFile(const std::string& kind, const std::string& identityName, const std::string& identityId,
                             const catalog::TreeList& folders);

// A version-4 control file made from one of the older release ("brind3.ctl"):
// its two first lines are dropped; mail lines gain type 2 and ".mbx" on their
// file field; after a "News Folders=..." line, lines become news folders
// (type 20: the line, then folder 0, parent 0 and flag 1).
std::string ConvertLegacyControlFile(std::string_view legacyText);

}  // namespace corvane
