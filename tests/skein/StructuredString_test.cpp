#include "skein/StructuredString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace skein;
using namespace std::string_literals;

namespace {

std::string Le(uint64_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

std::string Store(Bytes record, Bytes layout, int32_t n, Bytes type, Bytes value) {
    StringSink s;
    StoreItem(record, layout, n, type, value, s);
    return s.result;
}

}  // namespace

TEST(StructuredString, ReadsTheLayout) {
    const char* layout = "R2A3%,A5$";
    EXPECT_EQ(ItemCount(layout), 11);
    EXPECT_EQ(PieceCount(layout), 3);
    EXPECT_EQ(PieceItemNo(layout, 2), 4);
    EXPECT_EQ(PieceItemNo(layout, 3), 7);
    EXPECT_EQ(PieceItemNo(layout, 4), 0);
    EXPECT_EQ(PieceSize(layout, 3), 5);
    EXPECT_EQ(PieceSize(layout, 1), 3);
    EXPECT_EQ(ItemType(layout, 8), "$");
    EXPECT_EQ(ItemType(layout, 6), "%");
    EXPECT_EQ(ItemType(layout, 12), "");
    EXPECT_EQ(ItemType(layout, 0), "");
    EXPECT_EQ(LenType(layout), 32);
    EXPECT_EQ(LenType("&!#@$*10"), 4 + 4 + 8 + 8 + 10);
    EXPECT_EQ(ItemType("%$*10", 2), "$*10");
}

TEST(StructuredString, LayoutEndsAtStrayCharacters) {
    EXPECT_EQ(ItemCount("%%?%%"), 2);
    EXPECT_EQ(ItemCount("% , %"), 2);
    EXPECT_EQ(ItemCount("R3 %"), 0);   // a blank after a pending count ends it
    EXPECT_EQ(ItemCount("R0A0%"), 1);  // zero counts count as 1
    EXPECT_EQ(ItemCount(""), 0);
    EXPECT_EQ(IsIndex("X$%R2X5$", 1), 1);
    EXPECT_EQ(IsIndex("X$%R2X5$", 2), 0);
    EXPECT_EQ(IsIndex("X$%R2X5$", 4), 1);
    EXPECT_EQ(IsIndex("X%", 1), 0);                          // only string groups are indexes
    EXPECT_EQ(ItemCount("R99999999A99999999%"), INT32_MAX);  // 65,535 x 65,535 clamps
    EXPECT_EQ(ItemCount("R99999999%"), 65535);
}

TEST(StructuredString, FetchesItemsOfARecord) {
    std::string record = Le(7, 2) + Le(5, 2) + "hello" + Le(0xDEADBEEF, 4) + Le(0, 2);
    std::string value = "keep";
    EXPECT_EQ(FetchItem(record, "%$&$", 1, "%", value), 0);
    EXPECT_EQ(value, Le(7, 2));
    EXPECT_EQ(FetchItem(record, "%$&$", 2, "$", value), 0);
    EXPECT_EQ(value, "hello");
    EXPECT_EQ(FetchItem(record, "%$&$", 3, "&", value), 0);
    EXPECT_EQ(value, Le(0xDEADBEEF, 4));
    value = "keep";
    EXPECT_EQ(FetchItem(record, "%$&$", 4, "$", value), 0);  // empty string: target unchanged
    EXPECT_EQ(value, "keep");
    EXPECT_EQ(FetchItem(record, "%$&$", 3, "!", value), -2);
    EXPECT_EQ(FetchItem(record, "%$&$", 3, "", value), -2);
    EXPECT_EQ(FetchItem(record, "", 1, "%", value), -2);
    EXPECT_EQ(FetchItem(record, "%$&$", 5, "%", value), -2);
    EXPECT_EQ(FetchItem(record, "%$&$%", 5, "%", value), 502);
    EXPECT_EQ(FetchItem(record.substr(0, 6), "%$&$", 2, "$", value), 502);  // string cut short
    EXPECT_EQ(FetchItem(Le(60000, 2) + "x", "$", 1, "$", value), 502);      // length past the end
    EXPECT_EQ(value, "keep");
}

TEST(StructuredString, StoresItemsIntoNewAndExistingRecords) {
    const char* layout = "%$#";
    std::string record = Store("", layout, 2, "$", "name");
    EXPECT_EQ(record, Le(0, 2) + Le(4, 2) + "name" + Le(0, 8));
    record = Store(record, layout, 1, "%", Le(0x1234, 2));
    record = Store(record, layout, 3, "#", Le(0x0102030405060708ull, 8));
    record = Store(record, layout, 2, "$", "a much longer name");
    std::string value;
    EXPECT_EQ(FetchItem(record, layout, 1, "%", value), 0);
    EXPECT_EQ(value, Le(0x1234, 2));
    EXPECT_EQ(FetchItem(record, layout, 2, "$", value), 0);
    EXPECT_EQ(value, "a much longer name");
    EXPECT_EQ(FetchItem(record, layout, 3, "#", value), 0);
    EXPECT_EQ(value, Le(0x0102030405060708ull, 8));
    // A record that ends at an item boundary is completed.
    EXPECT_EQ(Store(Le(9, 2), layout, 3, "#", Le(1, 8)), Le(9, 2) + Le(0, 2) + Le(1, 8));
}

TEST(StructuredString, StoreRefusesWhatDoesNotFit) {
    std::string record = Store("", "%$*3", 2, "$", "abc");
    EXPECT_EQ(record, Le(0, 2) + Le(3, 2) + "abc");
    EXPECT_EQ(Store(record, "%$*3", 2, "$", "abcd"), "");             // over the fixed length
    EXPECT_EQ(Store(record, "%$*3", 1, "&", Le(1, 4)), "");           // type does not match
    EXPECT_EQ(Store(record, "%$*3", 1, "%", Le(1, 4)), "");           // wrong width
    EXPECT_EQ(Store(record, "%$*3", 3, "%", Le(1, 2)), "");           // no such item
    EXPECT_EQ(Store(record + "junk", "%$*3", 1, "%", Le(1, 2)), "");  // trailing bytes would be lost
    EXPECT_EQ(Store(record.substr(0, 5), "%$*3", 1, "%", Le(1, 2)), "");
    EXPECT_EQ(Store("", "$", 1, "$", std::string(65536, 'x')), "");
    EXPECT_EQ(Store("", "$", 1, "$", std::string(65535, 'x')).size(), 65537u);
}

TEST(StructuredString, StoreAllAndFetchAllRoundTrip) {
    const char* layout = "R2%,$,$*4,@";
    std::string structure = Le(1, 2) + Le(2, 2) + Le(3, 4) + "abc" + "xy  " + Le(42, 8);
    StringSink record;
    ASSERT_EQ(StoreAll(structure, layout, record), 0);
    EXPECT_EQ(record.result, Le(1, 2) + Le(2, 2) + Le(3, 2) + "abc" + Le(4, 2) + "xy  " + Le(42, 8));
    std::string value;
    EXPECT_EQ(FetchItem(record.result, layout, 3, "$", value), 0);
    EXPECT_EQ(value, "abc");
    StringSink back;
    ASSERT_EQ(FetchAll(record.result, layout, back), 0);
    EXPECT_EQ(back.result, structure);
    // A short fixed string in a record comes back blank-padded.
    std::string shortRecord = Store(record.result, layout, 4, "$", "q");
    StringSink padded;
    ASSERT_EQ(FetchAll(shortRecord, layout, padded), 0);
    EXPECT_EQ(padded.result.substr(11, 4), "q   ");
}

TEST(StructuredString, StoreAllAndFetchAllReportFailures) {
    StringSink sink;
    EXPECT_EQ(StoreAll("ab", "", sink), -1);
    EXPECT_EQ(StoreAll("ab", std::string(256, '%'), sink), -1);
    EXPECT_EQ(FetchAll("ab", "", sink), -1);
    EXPECT_EQ(StoreAll("a", "%", sink), -2);    // short source
    EXPECT_EQ(StoreAll("abc", "%", sink), -2);  // bytes left over
    EXPECT_EQ(StoreAll(Le(70000, 4) + std::string(70000, 'x'), "$", sink), -4);
    EXPECT_EQ(StoreAll(Le(10, 4) + "abc", "$", sink), -2);  // length past the end
    EXPECT_EQ(FetchAll(Le(5, 2) + "abcde", "$*3", sink), -4);
    EXPECT_EQ(FetchAll(Le(5, 2) + "abc", "$", sink), -2);
    EXPECT_EQ(sink.result, "");
}

// Random layouts and values: a structure stored whole and fetched item by
// item, and stored item by item and fetched whole, agree.
TEST(StructuredString, RandomRoundTrips) {
    std::mt19937 random(777);
    const char* types[] = {"%", "&", "!", "#", "@", "$", "$*5"};
    for (int round = 0; round < 500; ++round) {
        std::string layout;
        int groups = 1 + static_cast<int>(random() % 4);
        for (int g = 0; g < groups; ++g) {
            layout += "A" + std::to_string(1 + random() % 3) + types[random() % 7] + ",";
        }
        int items = ItemCount(layout);
        std::string structure;
        std::string record;
        std::vector<std::string> values;
        for (int n = 1; n <= items; ++n) {
            std::string type = ItemType(layout, n);
            std::string value;
            if (type == "$") {
                value.assign(random() % 6, static_cast<char>(random()));
                structure += Le(value.size(), 4) + value;
            } else if (type == "$*5") {
                value.assign(5, static_cast<char>('a' + random() % 26));
                structure += value;
            } else {
                int width = type == "%" ? 2 : (type == "&" || type == "!") ? 4 : 8;
                value = Le(random(), width);
                structure += value;
            }
            values.push_back(value);
            record = Store(record, layout, n, type.substr(0, 1), value);
            ASSERT_FALSE(record.empty());
        }
        StringSink whole;
        ASSERT_EQ(StoreAll(structure, layout, whole), 0);
        ASSERT_EQ(whole.result, record);
        StringSink back;
        ASSERT_EQ(FetchAll(record, layout, back), 0);
        ASSERT_EQ(back.result, structure);
        for (int n = 1; n <= items; ++n) {
            std::string got = "unset";
            ASSERT_EQ(FetchItem(record, layout, n, ItemType(layout, n).substr(0, 1), got), 0);
            if (!values[n - 1].empty()) {
                ASSERT_EQ(got, values[n - 1]);
            }
        }
    }
}

// Arbitrary bytes as record and layout: nothing reads out of bounds.
TEST(StructuredString, ArbitraryInputIsSafe) {
    std::mt19937 random(99);
    for (int round = 0; round < 3000; ++round) {
        std::string layout, record;
        for (int i = random() % 12; i > 0; --i) layout += "RAX%&!#@$*,0123 "[random() % 16];
        for (int i = random() % 40; i > 0; --i) record += static_cast<char>(random() % 8);
        std::string value;
        int32_t n = static_cast<int32_t>(random() % 6);
        FetchItem(record, layout, n, "$", value);
        StringSink a, b, c;
        FetchAll(record, layout, a);
        StoreAll(record, layout, b);
        StoreItem(record, layout, n, ItemType(layout, n), "v", c);
    }
}
