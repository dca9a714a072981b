#include "corvane/environment/portable/ListFcns.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

// The same cases run natively on the library's code and under Wine through
// skein.dll, so both bindings answer alike.
class ListHelpers : public ::testing::Test {
protected:
    const char p = PrimaryDelimiter();
    const char s = SecondaryDelimiter();
};

}  // namespace

TEST_F(ListHelpers, DelimitersAreCharactersTwoAndOne) {
    EXPECT_EQ(p, '\x02');
    EXPECT_EQ(s, '\x01');
}

TEST_F(ListHelpers, CountGetPut) {
    EXPECT_EQ(ListCount("", p), 0);
    EXPECT_EQ(ListCount("a", p), 1);
    EXPECT_EQ(ListCount("a\x02"
                        "b\x02",
                        p),
              3);
    EXPECT_EQ(ListCount("a\x01"
                        "b",
                        p),
              1);  // the other delimiter is data
    EXPECT_EQ(ListGet("a\x02"
                      "b",
                      p, 2),
              "b");
    EXPECT_EQ(ListGet("a\x02"
                      "b",
                      p, 3),
              "");
    EXPECT_EQ(ListPut("", p, -1, "v"), "v");
    EXPECT_EQ(ListPut("a", p, -1, "v"), "a\x02v");
    EXPECT_EQ(ListPut("a\x02"
                      "b",
                      p, 1, "z"),
              "z\x02"
              "b");
    EXPECT_EQ(ListPut("a", s, 3, "c"),
              "a\x01\x01"
              "c");
}

TEST_F(ListHelpers, FindUsesTheSecondaryDelimiterAndExactMatch) {
    std::string list = "Inbox\x01Outbox\x01Sent Items";
    EXPECT_EQ(ListFind(list, "Outbox"), 2);
    EXPECT_EQ(ListFind(list, "outbox"), 0);
    EXPECT_EQ(ListFind(list, "Sent"), 0);
    EXPECT_EQ(ListFind("Inbox\x02Outbox", "Outbox"), 0);
}

TEST_F(ListHelpers, FieldsOfALineAndCaseBlindFind) {
    EXPECT_EQ(ListFields("7\x03Inbox\x03\x03"
                         "12",
                         '\x03'),
              (std::vector<std::string>{"7", "Inbox", "", "12"}));
    EXPECT_EQ(ListFields("", ','), std::vector<std::string>{""});
    std::string list = std::string("Inbox.dbx") + p + "Sent Items.dbx" + p + "Work.dbx";
    EXPECT_EQ(ListFindNoCase(list, p, "SENT ITEMS.DBX"), 2);
    EXPECT_EQ(ListFindNoCase(list, p, "work.dbx"), 3);
    EXPECT_EQ(ListFindNoCase(list, p, "Sent"), 0);
}

TEST(NulLists, IdentityIdsCountAndLookup) {
    std::string ids = std::string("A") + '\0' + "B" + '\0' + '\0';
    EXPECT_EQ(NulListCount(ids), 2);
    EXPECT_EQ(NulListEntry(ids, 1), "A");
    EXPECT_EQ(NulListEntry(ids, 2), "B");
    EXPECT_EQ(NulListEntry(ids, 3), "");
    EXPECT_EQ(NulListEntry(ids, 0), "");
    EXPECT_EQ(NulListFind(ids, "B"), 2);
    EXPECT_EQ(NulListFind(ids, "b"), 0);
    EXPECT_EQ(NulListFind(ids, ""), 0);  // the closing NUL is no entry
    EXPECT_EQ(NulListCount(std::string(1, '\0')), 0);
    EXPECT_EQ(NulListCount(""), 0);
}

TEST(NulLists, PutGrowsWithEmptyEntries) {
    std::string names;
    NulListPut(names, 2, "Second");
    EXPECT_EQ(names, std::string("") + '\0' + "Second");
    NulListPut(names, 1, "First");
    EXPECT_EQ(NulListEntry(names, 1), "First");
    EXPECT_EQ(NulListEntry(names, 2), "Second");
}
