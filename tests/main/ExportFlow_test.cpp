// The export window's pages and the rules for leaving them, without a window.
#include "corvane/main/portable/ExportFlow.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

ExportChoices Choices(ExportSource source, std::string sourcePath, std::string destPath) {
    ExportChoices choices;
    choices.source = source;
    choices.sourcePath = std::move(sourcePath);
    choices.destPath = std::move(destPath);
    return choices;
}

TEST(ExportFlow, EachSourceKindWantsItsOwnKindOfPath) {
    EXPECT_EQ(CheckSource(Choices(ExportSource::Folder, "", "d:\\out"), PathFound::Folder), ExportRefusal::NoSource);
    EXPECT_EQ(CheckSource(Choices(ExportSource::Folder, "e:\\old", ""), PathFound::Nothing),
              ExportRefusal::SourceMissing);
    EXPECT_EQ(CheckSource(Choices(ExportSource::Folder, "e:\\old", ""), PathFound::File), ExportRefusal::SourceMissing);
    EXPECT_EQ(CheckSource(Choices(ExportSource::CurrentStore, "c:\\store", ""), PathFound::Folder), ExportRefusal::None);
    EXPECT_EQ(CheckSource(Choices(ExportSource::File, "e:\\old\\Inbox.DBX", ""), PathFound::File), ExportRefusal::None);
    EXPECT_EQ(CheckSource(Choices(ExportSource::File, "e:\\old\\Inbox.mbx", ""), PathFound::File), ExportRefusal::None);
    EXPECT_EQ(CheckSource(Choices(ExportSource::File, "e:\\old\\notes.txt", ""), PathFound::File),
              ExportRefusal::NotMessageFile);
    EXPECT_EQ(CheckSource(Choices(ExportSource::File, "e:\\old", ""), PathFound::Folder), ExportRefusal::SourceMissing);
    // The last diskette of a set may have any name.
    EXPECT_EQ(CheckSource(Choices(ExportSource::Archive, "a:\\backup", ""), PathFound::File), ExportRefusal::None);
}

TEST(ExportFlow, TheDestinationMayNotLieInsideTheSourceFolder) {
    EXPECT_EQ(CheckDestination(Choices(ExportSource::Folder, "c:\\store", "")), ExportRefusal::NoDestination);
    EXPECT_EQ(CheckDestination(Choices(ExportSource::Folder, "C:\\Store\\", "c:/store")),
              ExportRefusal::DestinationInsideSource);
    EXPECT_EQ(CheckDestination(Choices(ExportSource::CurrentStore, "c:\\store", "C:\\STORE\\Export")),
              ExportRefusal::DestinationInsideSource);
    // A sibling whose name begins like the store is outside it.
    EXPECT_EQ(CheckDestination(Choices(ExportSource::Folder, "c:\\store", "c:\\store export")), ExportRefusal::None);
    // A single file's folder counts as the source folder; an archive's does not.
    EXPECT_EQ(CheckDestination(Choices(ExportSource::File, "c:\\store\\Inbox.dbx", "c:\\store\\out")),
              ExportRefusal::DestinationInsideSource);
    EXPECT_EQ(CheckDestination(Choices(ExportSource::Archive, "c:\\backups\\mail.zip", "c:\\backups\\out")),
              ExportRefusal::None);
    EXPECT_EQ(CheckDestination(Choices(ExportSource::Folder, "c:\\", "c:\\export")),
              ExportRefusal::DestinationInsideSource);
}

TEST(ExportFlow, PagesAreLeftOnlyWhenTheirChoicesHold) {
    ExportFlow flow;
    ExportChoices choices = Choices(ExportSource::Folder, "e:\\old", "e:\\old\\out");
    EXPECT_FALSE(flow.Back());
    EXPECT_EQ(flow.Next(choices, PathFound::Nothing), ExportRefusal::SourceMissing);
    EXPECT_EQ(flow.Step(), ExportStep::Source);
    EXPECT_EQ(flow.Next(choices, PathFound::Folder), ExportRefusal::None);
    EXPECT_EQ(flow.Next(choices, PathFound::Folder), ExportRefusal::DestinationInsideSource);
    EXPECT_EQ(flow.Step(), ExportStep::Destination);
    choices.destPath = "d:\\out";
    EXPECT_EQ(flow.Next(choices, PathFound::Folder), ExportRefusal::None);
    choices.eml = choices.mbox = false;
    EXPECT_EQ(flow.Next(choices, PathFound::Folder), ExportRefusal::NoFormat);
    choices.mbox = true;
    // The source went away meanwhile: the run does not start.
    EXPECT_EQ(flow.Next(choices, PathFound::Nothing), ExportRefusal::SourceMissing);
    EXPECT_TRUE(flow.Back());
    EXPECT_EQ(flow.Step(), ExportStep::Destination);
    EXPECT_EQ(flow.Next(choices, PathFound::Folder), ExportRefusal::None);
    EXPECT_EQ(flow.Next(choices, PathFound::Folder), ExportRefusal::None);
    EXPECT_TRUE(flow.Running());
    EXPECT_FALSE(flow.Back());
    flow.RunEnded(false);
    EXPECT_EQ(flow.Step(), ExportStep::Format);
    EXPECT_EQ(flow.Next(choices, PathFound::Folder), ExportRefusal::None);
    flow.RunEnded(true);
    EXPECT_EQ(flow.Step(), ExportStep::Summary);
    EXPECT_FALSE(flow.Back());
}

}  // namespace
}  // namespace corvane
