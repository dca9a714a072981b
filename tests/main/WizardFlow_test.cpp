// The wizard's pages and moves, without a window.
#include "corvane/main/portable/WizardFlow.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(WizardFlow, BackupStepsForwardAndBackWithinTheirBounds) {
    WizardFlow flow;
    flow.OpenBackup();
    EXPECT_EQ(flow.Back(), WizardMove::None);
    EXPECT_EQ(flow.Next(), WizardMove::ShowStep);
    EXPECT_EQ(flow.Next(false), WizardMove::None);  // the destination is not there
    EXPECT_EQ(flow.Step(), kDestinationStep);
    EXPECT_EQ(flow.Next(), WizardMove::ShowStep);
    EXPECT_EQ(flow.Next(), WizardMove::ShowStep);
    EXPECT_EQ(flow.Step(), kRunStep);
    EXPECT_EQ(flow.Next(), WizardMove::None);
    EXPECT_EQ(flow.Back(), WizardMove::ShowStep);
    EXPECT_EQ(flow.Step(), kNameStep);
}

TEST(WizardFlow, NoMoveWhileARunGoes) {
    WizardFlow flow;
    flow.OpenRestore();
    EXPECT_EQ(flow.Next(), WizardMove::ShowStep);
    flow.RunStarted();
    EXPECT_EQ(flow.Back(), WizardMove::None);
    flow.CancelArchiveChoice();
    flow.OpenBackup();
    EXPECT_EQ(flow.Mode(), WizardMode::Restore);
    EXPECT_EQ(flow.Step(), kRunStep);
    flow.RunEnded();
    EXPECT_EQ(flow.Back(), WizardMove::ShowStep);
    EXPECT_EQ(flow.Step(), kArchiveItemsStep);
}

// Every move that leaves the restore's archive marks its choice to be
// forgotten: Previous from its items, a cancelled choice, a backup opened.
TEST(WizardFlow, LeavingTheArchiveMarksTheRestoreChoiceStale) {
    WizardFlow flow;
    flow.OpenRestore();
    EXPECT_FALSE(flow.RestoreChoiceStale());
    EXPECT_EQ(flow.Next(), WizardMove::ShowStep);
    EXPECT_EQ(flow.Back(), WizardMove::ShowStep);
    EXPECT_FALSE(flow.RestoreChoiceStale());
    EXPECT_EQ(flow.Back(), WizardMove::ChooseArchive);
    EXPECT_TRUE(flow.RestoreChoiceStale());
    flow.RestoreChoiceForgotten();
    EXPECT_FALSE(flow.RestoreChoiceStale());

    flow.CancelArchiveChoice();
    EXPECT_EQ(flow.Mode(), WizardMode::None);
    EXPECT_TRUE(flow.RestoreChoiceStale());
    flow.RestoreChoiceForgotten();

    flow.OpenRestore();
    flow.OpenBackup();
    EXPECT_TRUE(flow.RestoreChoiceStale());
    EXPECT_EQ(flow.Mode(), WizardMode::Backup);
    EXPECT_EQ(flow.Step(), kSelectionStep);
}

}  // namespace
}  // namespace corvane
