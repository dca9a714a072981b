// The vendor's news page: lines of "|"-separated fields. Line 1 is not
// interpreted, line 2 holds the page's parameters, and every further line is
// either text for the pane ("S" lines) or an item of the tree. Platform-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::loopline {

// Lines end at CR, LF or CR LF; a last line without an end keeps all its bytes.
std::vector<std::string> SplitPageLines(std::string_view data);

// Field n (from 1) of a line; "" when absent.
std::string PageField(std::string_view line, int n);
// A field's leading decimal digits as a number; 0 when there are none.
int PageNumber(std::string_view field);

// The item fields by number.
enum ItemField {
    kKindField = 1,
    kShownForField = 2,
    kHiddenForField = 3,
    kNodeField = 5,
    kParentField = 6,
    kPrefixField = 7,
    kCaptionField = 8,
    kTargetField = 9,
    kHintField = 10,
};

// Whether an item is shown for the product: `productId` is empty (no
// filtering) or enclosed in commas (",7,"); it must occur in field 2's list
// when that is set, and must not occur in field 3's list.
bool ShownForProduct(std::string_view line, std::string_view productId);

// Field 7 right-padded with blanks to `width` (when the width is above 0 and
// the prefix not empty), then field 8.
std::string ItemCaption(std::string_view line, int width);

// One node of the tree, in the order of addition.
struct TreeEntry {
    size_t line = 0;  // index into the page's lines
    int parent = -1;  // position of the parent among the entries; -1 top level
    std::string caption;
};

struct PageLayout {
    std::string lastRead;  // line 2, field 2
    int prefixWidth = 0;   // line 2, field 4
    std::string title;     // line 2, field 5
    std::vector<std::string> paneLines;
    std::vector<TreeEntry> entries;
};

// The address a web link ("W" item) opens: "http://" and the target, unless
// the target is an http or https address already. Nothing else (files,
// programs) can come out of a page.
std::string WebLinkAddress(std::string_view target);

// The page as the window shows it. A parent number counts only the entries
// added before (filtered items take no position); one that names no such
// entry puts the item at the top level.
PageLayout LayoutPage(const std::vector<std::string>& lines, std::string_view productId);

}  // namespace corvane::loopline
