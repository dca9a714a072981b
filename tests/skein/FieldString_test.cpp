#include "skein/FieldString.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace skein;
using namespace std::string_literals;

namespace {

std::string Get(Bytes t, Bytes d, int32_t n) {
    StringSink s;
    GetField(t, d, n, s);
    return s.result;
}
std::string Put(Bytes t, Bytes d, int32_t n, Bytes v) {
    StringSink s;
    PutField(t, d, n, v, s);
    return s.result;
}
std::string Insert(Bytes t, Bytes d, int32_t& n, Bytes v) {
    StringSink s;
    InsertField(t, d, n, v, s);
    return s.result;
}
std::string InsertAt(Bytes t, Bytes d, int32_t n, Bytes v) { return Insert(t, d, n, v); }
std::string Remove(Bytes t, Bytes d, int32_t n) {
    StringSink s;
    RemoveField(t, d, n, s);
    return s.result;
}
std::string Replace(Bytes t, Bytes d, Bytes nd) {
    StringSink s;
    ReplaceDlms(t, d, nd, s);
    return s.result;
}

// Counts allocations, so a test sees that a result is made in one block.
class CountingSink : public StringSink {
public:
    char* Allocate(uint32_t length) override {
        ++calls;
        return StringSink::Allocate(length);
    }
    int calls = 0;
};

}  // namespace

TEST(FieldString, GetsFieldsAndRefusesBadNumbers) {
    EXPECT_EQ(Get("a,b,c", ",", 2), "b");
    EXPECT_EQ(Get("a,b,c", ",", 3), "c");
    EXPECT_EQ(Get("a,b,c", ",", 4), "");
    EXPECT_EQ(Get("a,b,c", ",", 0), "");
    EXPECT_EQ(Get("a,b,c", ",", -1), "");
    EXPECT_EQ(Get("a,,c", ",", 2), "");
    EXPECT_EQ(Get("a,b", "", 1), "");
    EXPECT_EQ(Get("", ",", 1), "");
    EXPECT_EQ(Get("one::two::three", "::", 3), "three");
}

TEST(FieldString, OccurrencesNeverOverlap) {
    EXPECT_EQ(CountDlms("aaa", "aa"), 1);
    EXPECT_EQ(CountFields("aaa", "aa"), 2);
    EXPECT_EQ(Get("aaa", "aa", 1), "");
    EXPECT_EQ(Get("aaa", "aa", 2), "a");
    EXPECT_EQ(CountDlms("aaaa", "aa"), 2);
    EXPECT_EQ(CountDlms("aab", "ab"), 1);
    EXPECT_EQ(FindDlm("aaaa", "aa", 2), 3);
    EXPECT_EQ(Replace("aaaaa", "aa", "-"), "--a");
}

TEST(FieldString, CountsFieldsAndDelimiters) {
    EXPECT_EQ(CountFields("", ","), 1);
    EXPECT_EQ(CountDlms("", ","), 0);
    EXPECT_EQ(CountFields("a,b,", ","), 3);
    EXPECT_EQ(CountDlms("a,b,", ","), 2);
    EXPECT_EQ(CountFields("abc", ""), 1);
    EXPECT_EQ(CountDlms("abc", ""), 0);
}

TEST(FieldString, NulBytesAreOrdinaryBytes) {
    std::string text = "a\0b\0\0c"s;
    EXPECT_EQ(CountFields(text, "\0"s), 4);
    EXPECT_EQ(Get(text, "\0"s, 2), "b");
    EXPECT_EQ(Get(text, "\0"s, 4), "c");
    EXPECT_EQ(Get("x\0y,z"s, ",", 1), "x\0y"s);
    EXPECT_EQ(Put(text, "\0"s, 3, "q"), "a\0b\0q\0c"s);
}

TEST(FieldString, PutsFieldsAppendingDelimitersAsNeeded) {
    EXPECT_EQ(Put("a,b", ",", 4, "x"), "a,b,,x");
    EXPECT_EQ(Put("", ",", 3, "x"), ",,x");
    EXPECT_EQ(Put("", ",", 1, "x"), "x");
    EXPECT_EQ(Put("a,b,c", ",", 2, ""), "a,,c");
    EXPECT_EQ(Put("a,b,c", ",", 1, "xy"), "xy,b,c");
    EXPECT_EQ(Put("a,b,c", ",", 3, "z"), "a,b,z");
    EXPECT_EQ(Put("a,b", "", 1, "x"), "");
    EXPECT_EQ(Put("a,b", ",", 0, "x"), "");
}

TEST(FieldString, InsertsFieldsAtPositiveNumbers) {
    EXPECT_EQ(InsertAt("a,b", ",", 2, "x"), "a,x,b");
    EXPECT_EQ(InsertAt("a,b", ",", 1, "x"), "x,a,b");
    EXPECT_EQ(InsertAt("a,b", ",", 3, "x"), "a,b,x");
    EXPECT_EQ(InsertAt("a,b", ",", 5, "x"), "a,b,,,x");
    EXPECT_EQ(InsertAt("", ",", 1, "x"), "x");
    EXPECT_EQ(InsertAt("a,b", ",", 0, "x"), "");
    EXPECT_EQ(InsertAt("a,b", "", 1, "x"), "");
}

TEST(FieldString, NegativeInsertKeepsASortedListAndSkipsDuplicates) {
    int32_t n = -1;
    EXPECT_EQ(Insert("apple,melon,pear", ",", n, "kiwi"), "apple,kiwi,melon,pear");
    EXPECT_EQ(n, 2);
    n = -1;
    EXPECT_EQ(Insert("apple,melon", ",", n, "zucchini"), "apple,melon,zucchini");
    EXPECT_EQ(n, 3);
    n = -1;
    EXPECT_EQ(Insert("apple,melon", ",", n, "melon"), "");  // already there: nothing inserted
    EXPECT_EQ(n, -2);
    n = -1;
    EXPECT_EQ(Insert("", ",", n, "kiwi"), "kiwi");
    EXPECT_EQ(n, 1);
    n = -1;  // exact order: upper case sorts before lower case
    EXPECT_EQ(Insert("apple,melon", ",", n, "Melon"), "Melon,apple,melon");
    EXPECT_EQ(n, 1);
    n = -2;  // ignoring case: "Melon" is present
    EXPECT_EQ(Insert("apple,melon", ",", n, "MELON"), "");
    EXPECT_EQ(n, -2);
    n = -5;
    EXPECT_EQ(Insert("Apple,Pear", ",", n, "melon"), "Apple,melon,Pear");
    EXPECT_EQ(n, 2);
}

TEST(FieldString, RemovesAFieldAndOneDelimiter) {
    EXPECT_EQ(Remove("a,b,c", ",", 2), "a,c");
    EXPECT_EQ(Remove("a,b,c", ",", 1), "b,c");
    EXPECT_EQ(Remove("a,b,c", ",", 3), "a,b");
    EXPECT_EQ(Remove("a,b,c", ",", 9), "a,b,c");
    EXPECT_EQ(Remove("a", ",", 1), "");
    EXPECT_EQ(Remove("a,b,", ",", 2), "a");
    EXPECT_EQ(Remove(",,b", ",", 2), "b");
    EXPECT_EQ(Remove("", ",", 1), "");
    EXPECT_EQ(Remove("a,b", ",", 0), "");
}

TEST(FieldString, FindsFieldsByMode) {
    EXPECT_EQ(FindField("Inbox,Outbox", ",", 1, "outbox", 5), 2);
    EXPECT_EQ(FindField("Inbox,Outbox", ",", 1, "outbox", 1), 0);
    EXPECT_EQ(FindField("Inbox,Outbox", ",", 3, "Outbox", 5), 0);
    EXPECT_EQ(FindField("Inbox,Outbox", ",", 2, "Inbox", 1), 0);
    EXPECT_EQ(FindField("Inbox,Outbox", ",", 0, "Inbox", 1), 1);
    EXPECT_EQ(FindField("abc,de", ",", 1, "abc,d", 2), 1);
    EXPECT_EQ(FindField("abc,de", ",", 1, "de", 2), 2);
    EXPECT_EQ(FindField("abc,de", ",", 1, "de,", 2), 0);  // runs off the end of the text
    EXPECT_EQ(FindField("abc,de", ",", 1, "bc", 3), 1);
    EXPECT_EQ(FindField(",x", ",", 1, "", 3), 2);  // empty search: first non-empty field
    EXPECT_EQ(FindField("", ",", 1, "", 1), 1);
    EXPECT_EQ(FindField("", ",", 1, "a", 1), 0);
    EXPECT_EQ(FindField("a,b", "", 1, "a", 1), 0);
    EXPECT_EQ(FindField("a,[b]", ",", 1, "[B]", 7), 2);  // only letters fold
    EXPECT_EQ(FindField("\xE9", ",", 1, "\xC9", 5), 0);
}

TEST(FieldString, OrderModeGivesInsertionPoints) {
    EXPECT_EQ(FindField("b,d,f", ",", 1, "d", 0), 2);
    EXPECT_EQ(FindField("b,d,f", ",", 1, "a", 0), -1);
    EXPECT_EQ(FindField("b,d,f", ",", 1, "e", 0), -3);
    EXPECT_EQ(FindField("b,d,f", ",", 1, "g", 0), -4);
    EXPECT_EQ(FindField("b,d,f", ",", 1, "dd", 0), -3);
    EXPECT_EQ(FindField("b,D,f", ",", 1, "d", 4), 2);
}

TEST(FieldString, TellsTheFieldOfAPosition) {
    EXPECT_EQ(TellField("ab,cd", ",", 3), -1);
    EXPECT_EQ(TellField("ab,cd", ",", 4), 2);
    EXPECT_EQ(TellField("ab,cd", ",", 1), 1);
    EXPECT_EQ(TellField("ab,cd", ",", 5), 2);
    EXPECT_EQ(TellField("ab,cd", ",", 6), 0);
    EXPECT_EQ(TellField("ab,cd", ",", 0), 0);
    EXPECT_EQ(TellField("a::b", "::", 3), -1);
    EXPECT_EQ(TellField("", ",", 1), 0);
    EXPECT_EQ(TellField("ab", "", 1), 0);
}

TEST(FieldString, ReplacesDelimiters) {
    EXPECT_EQ(Replace("a,b,c", ",", "; "), "a; b; c");
    EXPECT_EQ(Replace("a,b,c", ",", ""), "abc");
    EXPECT_EQ(Replace("a,b,c", "|", "-"), "a,b,c");
    EXPECT_EQ(Replace(",,", ",", ""), "");
    EXPECT_EQ(Replace("", ",", "x"), "");
}

TEST(FieldString, FindsTheNthDelimiter) {
    EXPECT_EQ(FindDlm("a,b,c", ",", 2), 4);
    EXPECT_EQ(FindDlm("a,b,c", ",", 3), 0);
    EXPECT_EQ(FindDlm("a,b,c", ",", 0), 0);
    EXPECT_EQ(FindDlm("", ",", 1), 0);
}

// Lengths are 32-bit: a list past 65,535 bytes keeps every byte.
TEST(FieldString, ResultsOver65535BytesAreWhole) {
    std::string big(70000, 'x');
    std::string list = "head," + big + ",tail";
    EXPECT_EQ(Get(list, ",", 2).size(), 70000u);
    EXPECT_EQ(Get(list, ",", 3), "tail");
    std::string put = Put(list, ",", 4, big);
    EXPECT_EQ(put.size(), list.size() + 1 + big.size());
    EXPECT_EQ(Get(put, ",", 4), big);
    EXPECT_EQ(Replace(list, ",", "<->").size(), list.size() + 4);
    EXPECT_EQ(FindDlm(list, ",", 2), 5 + 70000 + 1);
    EXPECT_EQ(TellField(list, ",", 70006), -2);
}

TEST(FieldString, HugeFieldNumbersGiveTheEmptyResultInsteadOfGigabytes) {
    CountingSink one;
    PutField("a", ",", INT32_MAX, "x", one);
    EXPECT_EQ(one.calls, 0);
    CountingSink sink;
    PutField("a", ",,,,", INT32_MAX, "x", sink);  // ~8 GB asked for
    EXPECT_EQ(sink.calls, 0);
    EXPECT_EQ(sink.result, "");
}

TEST(FieldString, EachResultIsOneAllocation) {
    CountingSink sink;
    PutField("a,b,c", ",", 7, "value", sink);
    EXPECT_EQ(sink.calls, 1);
    CountingSink empty;
    GetField("a,,c", ",", 2, empty);
    EXPECT_EQ(empty.calls, 0);
}

// Random lists of random fields over a small alphabet (delimiter bytes
// included in the delimiter only): put, get, insert and remove agree.
TEST(FieldString, RandomRoundTrips) {
    std::mt19937 random(12345);
    const std::string delims[] = {",", "\0"s, "ab", "::"};
    for (int round = 0; round < 2000; ++round) {
        const std::string& d = delims[round % 4];
        int count = 1 + static_cast<int>(random() % 8);
        std::vector<std::string> fields;
        std::string list;
        for (int i = 0; i < count; ++i) {
            std::string f;
            int length = static_cast<int>(random() % 5);
            for (int k = 0; k < length; ++k) f += "xyz\x01"[random() % 4];
            fields.push_back(f);
            list += (i ? d : "") + f;
        }
        ASSERT_EQ(CountFields(list, d), count);
        for (int i = 0; i < count; ++i) ASSERT_EQ(Get(list, d, i + 1), fields[i]);
        int at = 1 + static_cast<int>(random() % (count + 2));
        std::string inserted = InsertAt(list, d, at, "NEW");
        ASSERT_EQ(Get(inserted, d, at), "NEW");
        if (at <= count && !list.empty()) {  // an empty list's one field is replaced, not moved
            ASSERT_EQ(CountFields(inserted, d), count + 1);
            bool anyEmpty = false;
            for (const std::string& f : fields) anyEmpty = anyEmpty || f.empty();
            if (!anyEmpty) {
                ASSERT_EQ(Remove(inserted, d, at), list);
            }
        }
        std::string put = Put(list, d, at, "P");
        ASSERT_EQ(Get(put, d, at), "P");
    }
}
