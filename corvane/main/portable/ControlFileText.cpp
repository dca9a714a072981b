#include "corvane/main/portable/ControlFileText.h"

#include "corvane/catalog/CatalogModel.h"
#include "corvane/environment/portable/Wildcard.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"

#include <algorithm>

namespace corvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string FieldOrEmpty(const std::vector<std::string>& fields, size_t n) {
    return n >= 1 && n <= fields.size() ? fields[n - 1] : "";
}

ControlLine ParseLine(const std::string& text) {
    std::vector<std::string> fields = ListFields(text, kControlDelimiter);
    ControlLine line;
    line.type = LeadingInt(FieldOrEmpty(fields, 1));
    line.display = FieldOrEmpty(fields, 2);
    line.mbxName = FieldOrEmpty(fields, 3);
    line.folderNo = LeadingInt(FieldOrEmpty(fields, 4));
    line.parentNo = LeadingInt(FieldOrEmpty(fields, 5));
    line.flag = LeadingInt(FieldOrEmpty(fields, 6));
    if (line.flag == -1) line.flag = 1;
    return line;
}

std::string LegacyMailLine(const std::string& line) {
    std::string withMbx = ListPut(line, kControlDelimiter, 2, ListGet(line, kControlDelimiter, 2) + ".mbx");
    return std::string("2") + kControlDelimiter + withMbx;
}

std::string LegacyNewsLine(const std::string& line) {
    const std::string d(1, kControlDelimiter);
    return "20" + d + line + d + "0" + d + "0" + d + "1";
}

std::string SavedLine(const catalog::TreeList& folders, int position) {
    namespace names = catalog::names;
    const std::string d(1, kControlDelimiter);
    // A top item outside the root would have no parent; it is filed under the root.
    int parent = std::max(folders.ParentPosition(position), 0);
    std::string caption = folders.HasValue(position, names::kDisplay) ? folders.TextValue(position, names::kDisplay)
                                                                      : folders.Text(position);
    return std::to_string(folders.NumberValue(position, names::kType)) + d + caption + d +
           folders.TextValue(position, names::kMbxName) + d + std::to_string(position) + d + std::to_string(parent) +
           d + std::to_string(folders.NumberValue(position, names::kFlgSave));
}

}  // namespace

std::vector<std::string> TextLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        size_t stop = end == std::string_view::npos ? text.size() : end;
        size_t length = stop - start;
        if (length > 0 && text[start + length - 1] == '\r') --length;
        lines.emplace_back(text.substr(start, length));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

ControlFileContent ParseControlFile(std::string_view text) {
    ControlFileContent content;
    std::vector<std::string> lines = TextLines(text);
    if (lines.empty()) return content;
    content.header = lines.front();
    for (size_t i = 1; i < lines.size(); ++i) {
        ControlLine line = ParseLine(lines[i]);
        if (line.type == 10 || line.type == 30) continue;
        content.lines.push_back(std::move(line));
    }
    return content;
}

SavedSelection SavedSelectionOf(const std::vector<ControlLine>& lines) {
    SavedSelection saved;
    bool first = true;
    for (const ControlLine& line : lines) {
        if (line.mbxName.empty()) continue;
        if (!first) {
            saved.names += kPrimaryListDelimiter;
            saved.flags += kPrimaryListDelimiter;
        }
        saved.names += line.mbxName;
        saved.flags += std::to_string(line.flag);
        first = false;
    }
    return saved;
}

std::string NewVersion5ControlFile(const std::string& identityName, const std::string& identityId) {
    return "Corvane - OE5 - {" + identityName + "} " + identityId + std::string(kLineEnd);
}

std::string NewVersion4ControlFile() { return "Corvane OE4" + std::string(kLineEnd); }

std::string SavedControlFile(const std::string& kind, const std::string& identityName, const std::string& identityId,
                             const catalog::TreeList& folders) {
    std::string text =
        kind == "4" ? "Corvane - OE4" + std::string(kLineEnd) : NewVersion5ControlFile(identityName, identityId);
    for (int position = 1; position < folders.Count(); ++position) {
        text += SavedLine(folders, position) + std::string(kLineEnd);
    }
    return text;
}

std::string ConvertLegacyControlFile(std::string_view legacyText) {
    std::vector<std::string> lines = TextLines(legacyText);
    std::string converted = "Corvane - OE4" + std::string(kLineEnd);
    bool news = false;
    for (size_t i = 2; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (WildcardMatch(line, "News Folders=*")) {
            news = true;
            continue;
        }
        // A blank line names no folder; copying it would only invent a ".mbx" file.
        if (line.empty()) continue;
        converted += (news ? LegacyNewsLine(line) : LegacyMailLine(line)) + std::string(kLineEnd);
    }
    return converted;
}

}  // namespace corvane
