#include "loopline/portable/NewsPage.h"

#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"

namespace corvane::loopline {
namespace {

constexpr char kFieldDelimiter = '|';
// Wider than any caption a window shows; a page cannot ask for more.
constexpr int kWidestPrefix = 256;

bool ListHolds(std::string_view list, std::string_view productId) {
    std::string enclosed = "," + std::string(list) + ",";
    return enclosed.find(productId) != std::string::npos;
}

}  // namespace

std::vector<std::string> SplitPageLines(std::string_view data) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(data.substr(start));
            break;
        }
        lines.emplace_back(data.substr(start, end - start));
        start = end + 1;
        if (data[end] == '\r' && start < data.size() && data[start] == '\n') ++start;
    }
    return lines;
}

std::string PageField(std::string_view line, int n) { return ListGet(line, kFieldDelimiter, n); }

int PageNumber(std::string_view field) {
    int value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') break;
        if (value > (2147483647 - (c - '0')) / 10) return 2147483647;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool ShownForProduct(std::string_view line, std::string_view productId) {
    if (productId.empty()) return true;
    std::string shownFor = PageField(line, kShownForField);
    if (!shownFor.empty() && !ListHolds(shownFor, productId)) return false;
    std::string hiddenFor = PageField(line, kHiddenForField);
    return hiddenFor.empty() || !ListHolds(hiddenFor, productId);
}

std::string ItemCaption(std::string_view line, int width) {
    std::string prefix = PageField(line, kPrefixField);
    if (width > kWidestPrefix) width = kWidestPrefix;
    if (width > 0 && !prefix.empty() && prefix.size() < static_cast<size_t>(width)) prefix.resize(width, ' ');
    return prefix + PageField(line, kCaptionField);
}

std::string WebLinkAddress(std::string_view target) {
    if (EqualsNoCase(target.substr(0, 7), "http://") || EqualsNoCase(target.substr(0, 8), "https://"))
        return std::string(target);
    return "http://" + std::string(target);
}

PageLayout LayoutPage(const std::vector<std::string>& lines, std::string_view productId) {
    PageLayout page;
    if (lines.size() > 1) {
        page.lastRead = PageField(lines[1], 2);
        page.prefixWidth = PageNumber(PageField(lines[1], 4));
        page.title = PageField(lines[1], 5);
    }
    for (size_t i = 2; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (!line.empty() && line[0] == 'S') {
            std::vector<std::string> fields = ListFields(line, kFieldDelimiter);
            if (fields.size() > 1) page.paneLines.insert(page.paneLines.end(), fields.begin() + 1, fields.end());
            continue;
        }
        if (!ShownForProduct(line, productId)) continue;
        TreeEntry entry;
        entry.line = i;
        std::string parent = PageField(line, kParentField);
        if (!parent.empty()) {
            int position = PageNumber(parent);
            if (static_cast<size_t>(position) < page.entries.size()) entry.parent = position;
        }
        entry.caption = ItemCaption(line, page.prefixWidth);
        page.entries.push_back(std::move(entry));
    }
    return page;
}

}  // namespace corvane::loopline
