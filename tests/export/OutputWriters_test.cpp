#include "corvane/export/MboxWriter.h"
#include "corvane/export/OutputFile.h"

#include "tests/export/ExportFixture.h"

#include <gtest/gtest.h>

namespace corvane::exporting {
namespace {

std::string Quoted(const std::string& text, size_t pieceSize) {
    MboxrdQuoter quoter;
    std::string out;
    for (size_t at = 0; at < text.size(); at += pieceSize) {
        quoter.Feed(text.data() + at, std::min(pieceSize, text.size() - at), out);
    }
    quoter.Finish(out);
    return out;
}

TEST(ExportMboxWriter, FromLinesAreQuotedMboxrdStyleWhateverThePieceSizes) {
    const std::string text =
        "From: a@b\r\n\r\nFrom here\r\n>From there\r\n>>From  x\r\nFrom\r\nFromage\r\n> From no\r\nlast From ";
    const std::string expected =
        "From: a@b\n\n>From here\n>>From there\n>>>From  x\nFrom\nFromage\n> From no\nlast From \n\n";
    for (size_t piece : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, text.size()}) {
        EXPECT_EQ(Quoted(text, piece), expected) << "pieces of " << piece;
    }
}

TEST(ExportMboxWriter, LineEndsBecomeLfAndEveryMessageEndsWithABlankLine) {
    EXPECT_EQ(Quoted("a\r\nb\rc\n", 4), "a\nb\rc\n\n");
    EXPECT_EQ(Quoted("ends in CR\r", 100), "ends in CR\n\n");
    EXPECT_EQ(Quoted("", 1), "\n");  // an empty message: only the blank line after it
    EXPECT_EQ(Quoted("From", 100), "From\n\n");
}

TEST(ExportMboxWriter, FromLineHasTheAddressAndTheAsctimeDate) {
    MessageFacts facts;
    facts.senderAddress = "a b@example.com";
    facts.date = 1737396784;
    EXPECT_EQ(MboxFromLine(facts), "From ab@example.com Mon Jan 20 18:13:04 2025\n");
    EXPECT_EQ(MboxFromLine({}), "From MAILER-DAEMON Thu Jan  1 00:00:00 1970\n");
}

TEST(ExportMboxWriter, AbandonedMessageLeavesNoTrace) {
    TempFolder folder;
    MboxWriter mbox;
    ASSERT_TRUE(mbox.Open(folder.Path() / "F.mbox"));
    MessageFacts facts;
    facts.senderAddress = "x@y";
    ASSERT_TRUE(mbox.BeginMessage(facts));
    ASSERT_TRUE(mbox.Write("kept\r\n", 6));
    ASSERT_TRUE(mbox.EndMessage());
    const std::string big(600 * 1024, 'z');  // past the buffer: the cut goes to the file itself
    for (const std::string* text : {&big, static_cast<const std::string*>(&facts.senderAddress)}) {
        ASSERT_TRUE(mbox.BeginMessage(facts));
        ASSERT_TRUE(mbox.Write(text->data(), text->size()));
        ASSERT_TRUE(mbox.AbandonMessage());
    }
    ASSERT_TRUE(mbox.Commit());
    EXPECT_EQ(ReadWhole(folder.Path() / "F.mbox"), "From x@y Thu Jan  1 00:00:00 1970\nkept\n\n");
}

TEST(ExportOutputFile, WholeOrNothingAndNeverOverAnExistingFile) {
    TempFolder folder;
    const fs::path target = folder.Path() / "m.eml";
    {
        OutputFile file;
        ASSERT_TRUE(file.Open(target));
        ASSERT_TRUE(file.Write("partial"));
        EXPECT_TRUE(fs::exists(folder.Path() / "m.eml.part"));
    }  // dropped unfinished: nothing stays
    EXPECT_TRUE(fs::is_empty(folder.Path()));

    OutputFile file;
    ASSERT_TRUE(file.Open(target));
    ASSERT_TRUE(file.Write("whole"));
    ASSERT_TRUE(file.Commit(1737396784));
    EXPECT_EQ(ReadWhole(target), "whole");
    auto stamp = std::chrono::file_clock::to_sys(fs::last_write_time(target));
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::seconds>(stamp.time_since_epoch()).count(), 1737396784);

    OutputFile again;
    ASSERT_TRUE(again.Open(target));
    ASSERT_TRUE(again.Write("other"));
    EXPECT_FALSE(again.Commit());
    EXPECT_EQ(ReadWhole(target), "whole");
    EXPECT_FALSE(fs::exists(folder.Path() / "m.eml.part"));
}

}  // namespace
}  // namespace corvane::exporting
