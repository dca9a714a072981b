#include "corvane/environment/ListFcns.h"

#include "corvane/environment/SysFcns.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

class ListHelpers : public ::testing::Test {
protected:
  void SetUp() override { VXStrings::SetLibraryPathForTesting(""); }
  void TearDown() override { VXStrings::SetLibraryPathForTesting(""); }
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
  EXPECT_EQ(ListCount("a\x02" "b\x02", p), 3);
  EXPECT_EQ(ListCount("a\x01" "b", p), 1);  // the other delimiter is data
  EXPECT_EQ(ListGet("a\x02" "b", p, 2), "b");
  EXPECT_EQ(ListGet("a\x02" "b", p, 3), "");
  EXPECT_EQ(ListPut("", p, -1, "v"), "v");
  EXPECT_EQ(ListPut("a", p, -1, "v"), "a\x02v");
  EXPECT_EQ(ListPut("a\x02" "b", p, 1, "z"), "z\x02" "b");
  EXPECT_EQ(ListPut("a", s, 3, "c"), "a\x01\x01" "c");
}

TEST_F(ListHelpers, FindUsesTheSecondaryDelimiterAndExactMatch) {
  std::string list = "Inbox\x01Outbox\x01Sent Items";
  EXPECT_EQ(ListFind(list, "Outbox"), 2);
  EXPECT_EQ(ListFind(list, "outbox"), 0);
  EXPECT_EQ(ListFind(list, "Sent"), 0);
  EXPECT_EQ(ListFind("Inbox\x02Outbox", "Outbox"), 0);
}

TEST_F(ListHelpers, MissingLibraryReadsAsEmptyAndIsReported) {
  SkeinStatus why = SkeinStatus::Ok;
  EXPECT_TRUE(SkeinAvailable(&why));
  EXPECT_EQ(why, SkeinStatus::Ok);
  VXStrings::SetLibraryPathForTesting(AppFolder() + "\\missing\\skein.dll");
  EXPECT_FALSE(SkeinAvailable(&why));
  EXPECT_EQ(why, SkeinStatus::FileNotFound);
  EXPECT_EQ(ListCount("a\x02" "b", p), 0);
  EXPECT_EQ(ListGet("a\x02" "b", p, 1), "");
  EXPECT_EQ(ListPut("a\x02" "b", p, 1, "x"), "a\x02" "b");  // the caller's list survives
  VXStrings::SetLibraryPathForTesting(AppFolder() + "\\skein_noexports.dll");
  EXPECT_FALSE(SkeinAvailable(&why));
  EXPECT_EQ(why, SkeinStatus::MissingEntry);
}
