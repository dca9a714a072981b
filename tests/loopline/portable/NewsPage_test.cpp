// The news page: its lines, the pane's text, the product filters and the
// positions the tree's parents are found by.
#include "loopline/portable/NewsPage.h"

#include <gtest/gtest.h>

namespace corvane::loopline {
namespace {

using Lines = std::vector<std::string>;

TEST(LooplinePage, LinesEndAtCrLfOrBoth) {
    EXPECT_EQ(SplitPageLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitPageLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitPageLines("a\n\nb\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitPageLines("\r\r\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitPageLines(""), Lines{});
    // A last line without an end keeps its last byte: "1.2.4" stays "1.2.4".
    EXPECT_EQ(SplitPageLines("1.2.4"), (Lines{"1.2.4"}));
}

TEST(LooplinePage, FieldsAndNumbers) {
    EXPECT_EQ(PageField("W|1,2||x|5", 4), "x");
    EXPECT_EQ(PageField("W|1", 9), "");
    EXPECT_EQ(PageNumber("12abc"), 12);
    EXPECT_EQ(PageNumber("abc"), 0);
    EXPECT_EQ(PageNumber(" 7"), 0);
    EXPECT_EQ(PageNumber("99999999999999"), 2147483647);
}

TEST(LooplinePage, ProductFiltersUseTheCommaEnclosedId) {
    EXPECT_TRUE(ShownForProduct("W|||", ""));
    EXPECT_TRUE(ShownForProduct("W|1,2|3", ""));
    EXPECT_TRUE(ShownForProduct("W|||", ",CV,"));
    EXPECT_TRUE(ShownForProduct("W|AB,CV|", ",CV,"));
    EXPECT_FALSE(ShownForProduct("W|AB|", ",CV,"));
    EXPECT_FALSE(ShownForProduct("W|CVX|", ",CV,"));  // whole ids only
    EXPECT_FALSE(ShownForProduct("W||AB,CV", ",CV,"));
    EXPECT_TRUE(ShownForProduct("W||AB", ",CV,"));
    EXPECT_FALSE(ShownForProduct("W|CV|CV", ",CV,"));
}

TEST(LooplinePage, CaptionsPadThePrefixToTheWidth) {
    EXPECT_EQ(ItemCaption("W||||1||New|Version 2", 6), "New   Version 2");
    EXPECT_EQ(ItemCaption("W||||1||Longer than six|Text", 6), "Longer than sixText");
    EXPECT_EQ(ItemCaption("W||||1|||Text", 6), "Text");
    EXPECT_EQ(ItemCaption("W||||1||New|Text", 0), "NewText");
    // A hostile width asks for no huge caption.
    EXPECT_LE(ItemCaption("W||||1||New|Text", 2000000000).size(), 300u);
}

TEST(LooplinePage, WebLinksOpenOnlyWebAddresses) {
    EXPECT_EQ(WebLinkAddress("www.brindleworks.com/news"), "http://www.brindleworks.com/news");
    EXPECT_EQ(WebLinkAddress("HTTP://x.example/"), "HTTP://x.example/");
    EXPECT_EQ(WebLinkAddress("https://x.example/"), "https://x.example/");
    EXPECT_EQ(WebLinkAddress("C:\\Windows\\notepad.exe"), "http://C:\\Windows\\notepad.exe");
    EXPECT_EQ(WebLinkAddress("file:///c:/x"), "http://file:///c:/x");
}

TEST(LooplinePage, LayoutCountsOnlyAddedNodesAsParents) {
    Lines page = {
        "Loopline news",
        "P|20261207|x|8|December news",
        "W|||x|1||Home|Our site|www.example.com|The vendor's site",  // position 0
        "S|Welcome to the news.|Second line",
        "F|AB||x|2||Only AB|Hidden for CV|t.txt",           // filtered: no position
        "F||CV|x|3||Not CV|Hidden for CV|t.txt",            // filtered: no position
        "F|CV,AB||x|4|0|Notes|Release notes|notes.txt",     // position 1, under 0
        "V|||x|5|1|Check|Version check|version.txt|Hint",   // position 2, under 1
        "W|||x|6|7|Far|Parent beyond the nodes|x.example",  // position 3, top level
        "W|||x|7|||Top|x.example",                          // position 4, top level
        "w|||x|8|4|Low|lower-case kind|x.example",          // position 5, under 4
    };
    PageLayout layout = LayoutPage(page, ",CV,");
    EXPECT_EQ(layout.lastRead, "20261207");
    EXPECT_EQ(layout.prefixWidth, 8);
    EXPECT_EQ(layout.title, "December news");
    EXPECT_EQ(layout.paneLines, (Lines{"Welcome to the news.", "Second line"}));
    ASSERT_EQ(layout.entries.size(), 6u);
    size_t lines[] = {2, 6, 7, 8, 9, 10};
    int parents[] = {-1, 0, 1, -1, -1, 4};
    for (size_t i = 0; i < layout.entries.size(); ++i) {
        EXPECT_EQ(layout.entries[i].line, lines[i]) << i;
        EXPECT_EQ(layout.entries[i].parent, parents[i]) << i;
    }
    EXPECT_EQ(layout.entries[0].caption, "Home    Our site");
    EXPECT_EQ(layout.entries[4].caption, "Top");

    // Without a product id nothing is filtered, and positions shift.
    PageLayout all = LayoutPage(page, "");
    ASSERT_EQ(all.entries.size(), 8u);
    EXPECT_EQ(all.entries[3].line, 6u);
    EXPECT_EQ(all.entries[3].parent, 0);
    EXPECT_EQ(all.entries[4].parent, 1);  // "1" is now the item hidden for CV above

    EXPECT_TRUE(LayoutPage({"only one line"}, "").entries.empty());
}

}  // namespace
}  // namespace corvane::loopline
