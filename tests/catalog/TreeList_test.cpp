#include "corvane/catalog/TreeList.h"

#include <gtest/gtest.h>

namespace corvane::catalog {
namespace {

std::vector<std::string> Texts(const TreeList& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i) texts.push_back(list.Text(i));
    return texts;
}

TEST(TreeList, ChildrenFollowTheirParentAndShiftLaterPositions) {
    TreeList list;
    list.AddItem("root");
    int a = list.AddItem("a", 0);
    list.AddItem("b", 0);
    int a1 = list.AddItem("a1", a);
    EXPECT_EQ(a1, 2);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"root", "a", "a1", "b"}));
    EXPECT_EQ(list.CountBeneath(0), 3);
    EXPECT_EQ(list.CountBeneath(1), 1);
    EXPECT_EQ(list.ParentPosition(3), 0);
    EXPECT_EQ(list.ParentPosition(2), 1);
    EXPECT_EQ(list.ParentPosition(0), kNoParent);
    EXPECT_EQ(list.Depth(2), 2);
    EXPECT_TRUE(list.HasChildren(1));
    EXPECT_FALSE(list.HasChildren(3));
    EXPECT_EQ(list.Text(kLastAdded), "a1");
    EXPECT_EQ(list.LastAddedPosition(), 2);
    EXPECT_EQ(list.AddItem("orphan", 9), kNotFound);
}

TEST(TreeList, TextOrderIgnoresCaseAndKeepsEqualTextsAsAdded) {
    TreeList list;
    list.AddItem("root");
    list.SetChildOrder(0, ChildOrder::ByText);
    for (const char* text : {"delta", "Alpha", "charlie", "bravo", "alpha"}) list.AddItem(text, 0);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"root", "Alpha", "alpha", "bravo", "charlie", "delta"}));
    // The item added last is found at its sorted position.
    EXPECT_EQ(list.Text(kLastAdded), "alpha");
    EXPECT_EQ(list.LastAddedPosition(), 2);
}

TEST(TreeList, ValueOrderMovesWholeSubtreesWhenSetLate) {
    TreeList list;
    list.AddItem("root");
    int z = list.AddItem("z", 0);
    list.SetTextValue(z, "Key", "2");
    list.AddItem("z-child", z);
    int y = list.AddItem("y", 0);
    list.SetTextValue(y, "Key", "1");
    list.SetChildOrder(0, ChildOrder::ByValue, "Key");
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"root", "y", "z", "z-child"}));
    EXPECT_EQ(list.ParentPosition(3), 2);
    int x = list.AddItem("x", 0);  // no key: sorts first
    EXPECT_EQ(x, 1);
    int w = list.AddItem("w", 0);
    EXPECT_EQ(w, 2);                   // also no key, behind x
    list.SetTextValue(x, "Key", "3");  // a key written later moves the item
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"root", "w", "y", "z", "z-child", "x"}));
    EXPECT_EQ(list.ParentPosition(4), 3);
}

TEST(TreeList, NamedValuesAreTypedCreatedByWriteAndRemovable) {
    TreeList list;
    list.AddItem("root");
    EXPECT_FALSE(list.HasValue(0, "iType"));
    list.SetNumberValue(0, "iType", 3);
    list.SetTextValue(0, "iFldrNo", "0A");
    EXPECT_TRUE(list.HasValue(0, "iType"));
    EXPECT_EQ(list.NumberValue(0, "iType"), 3);
    EXPECT_EQ(list.TextValue(0, "iType"), "3");
    EXPECT_FALSE(list.Value(0, "iFldrNo")->isText == false);
    EXPECT_EQ(list.NumberValue(0, "iFldrNo"), 0);  // "0A" reads as 0 like Val
    list.SetTextValue(0, "FlgSave", "-1");
    EXPECT_EQ(list.NumberValue(0, "FlgSave"), -1);
    list.RemoveValue(0, "iType");
    EXPECT_FALSE(list.HasValue(0, "iType"));
    EXPECT_EQ(list.TextValue(0, "iType"), "");
    EXPECT_EQ(list.NumberValue(7, "iType"), 0);  // bad position reads empty
}

TEST(TreeList, FindComparesTextsIgnoringCaseWithinTheRange) {
    TreeList list;
    list.AddItem("root");
    for (const char* no : {"05", "0a", "0A", "34 12"}) {
        int at = list.AddItem(no, 0);
        list.SetTextValue(at, "iFldrNo", no);
    }
    EXPECT_EQ(list.Find(NamedValue::Text("0A"), 0, list.Count() - 1, "iFldrNo"), 2);
    EXPECT_EQ(list.Find(NamedValue::Text("0A"), 3, 99, "iFldrNo"), 3);
    EXPECT_EQ(list.Find(NamedValue::Text("0A"), 0, 1, "iFldrNo"), kNotFound);
    EXPECT_EQ(list.Find(NamedValue::Text("34 12"), 0, 9, "iFldrNo"), 4);
    EXPECT_EQ(list.Find(NamedValue::Text("05"), 0, 9, "NoSuchName"), kNotFound);
    list.SetNumberValue(2, "iType", 3);
    EXPECT_EQ(list.Find(NamedValue::Number(3), 1, 9, "iType"), 2);
    EXPECT_EQ(list.Find(NamedValue::Text("3"), 1, 9, "iType"), 2);
}

TEST(TreeList, RemoveTakesTheSubtreeAndKeepsPositionsConsistent) {
    TreeList list;
    list.AddItem("root");
    int a = list.AddItem("a", 0);
    list.AddItem("a1", a);
    list.AddItem("a2", a);
    int b = list.AddItem("b", 0);
    list.SetSelected(b);
    list.AddItem("b1", b);
    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"root", "b", "b1"}));
    EXPECT_EQ(list.CountBeneath(0), 2);
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_EQ(list.ParentPosition(2), 1);
    EXPECT_TRUE(list.Remove(kLastAdded));
    EXPECT_EQ(list.LastAddedPosition(), kNotFound);
    EXPECT_FALSE(list.Remove(kLastAdded));
    EXPECT_FALSE(list.Remove(5));
    list.AddItem("c", 0);  // a reused slot starts clean
    EXPECT_FALSE(list.HasChildren(2));
    EXPECT_EQ(list.Mark(2), 0);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Selected(), 0);
}

TEST(TreeList, VisibleRowsSkipClosedBranches) {
    TreeList list;
    list.AddItem("root");
    int a = list.AddItem("a", 0);
    list.AddItem("a1", a);
    list.AddItem("b", 0);
    EXPECT_EQ(list.VisibleItemAt(1), kNotFound);  // root closed
    list.SetOpen(0, true);
    EXPECT_EQ(list.VisibleItemAt(1), 1);
    EXPECT_EQ(list.VisibleItemAt(2), 3);
    EXPECT_FALSE(list.IsVisible(2));
    list.SetOpen(a, true);
    EXPECT_EQ(list.VisibleItemAt(2), 2);
    EXPECT_TRUE(list.IsVisible(2));
    EXPECT_EQ(list.VisibleItemAt(-1), kNotFound);
}

TEST(TreeList, AttributesOfBadPositionsReadDefaultsAndWritesAreIgnored) {
    TreeList list;
    list.SetMark(0, 1);
    list.SetText(-5, "x");
    EXPECT_EQ(list.Mark(0), 0);
    EXPECT_EQ(list.Text(kLastAdded), "");
    list.AddItem("root");
    list.SetMark(0, 7);
    EXPECT_EQ(list.Mark(0), 2);
    list.SetBackColour(0, Rgb(128, 255, 128));
    EXPECT_EQ(list.BackColour(0), 0x80FF80u);
    EXPECT_EQ(list.TextColour(0), kDefaultColour);
}

}  // namespace
}  // namespace corvane::catalog
