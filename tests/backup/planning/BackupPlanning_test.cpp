#include "corvane/backup/planning/BackupPlanning.h"

#include <gtest/gtest.h>

#include <limits>

namespace corvane::planning {
namespace {

TEST(WizardPlanningTest, DisketteEstimateStepsAtEachFullDiskette) {
    EXPECT_EQ(EstimatedDiskettes(0), 1);
    EXPECT_EQ(EstimatedDiskettes(2'829'999), 1);
    EXPECT_EQ(EstimatedDiskettes(2'830'000), 2);
    EXPECT_EQ(EstimatedDiskettes(5'660'000), 3);
    EXPECT_EQ(EstimatedDiskettes(-5), 1);
    EXPECT_EQ(DisketteEstimateText(2'830'000), "Estimated diskettes required = 2");
}

TEST(WizardPlanningTest, KBytesRoundToWholeKilobytesAndGroupThousands) {
    EXPECT_EQ(KBytesText(2048), "2 KBytes");
    EXPECT_EQ(KBytesText(EstimatedArchiveBytes(2048)), "1 KBytes");  // 1.2 KB
    EXPECT_EQ(KBytesText(0), "0 KBytes");
    EXPECT_EQ(KBytesText(511), "0 KBytes");
    EXPECT_EQ(KBytesText(512), "1 KBytes");
    EXPECT_EQ(KBytesText(1024.0 * 999), "999 KBytes");
    EXPECT_EQ(KBytesText(1024.0 * 1000), "1,000 KBytes");
    EXPECT_EQ(KBytesText(1024.0 * 1234567), "1,234,567 KBytes");
    EXPECT_EQ(KBytesText(1024.0 * 1234567, '.'), "1.234.567 KBytes");
    EXPECT_EQ(KBytesText(-4096), "0 KBytes");
    EXPECT_EQ(KBytesText(std::numeric_limits<double>::quiet_NaN()), "0 KBytes");
}

TEST(WizardPlanningTest, CountTextNamesSelectedOfListed) {
    EXPECT_EQ(CountText(3, 12), "3 of 12 Items");
    EXPECT_EQ(CountText(0, 0), "0 of 0 Items");
}

TEST(WizardPlanningTest, DestinationKinds) {
    EXPECT_EQ(DriveRoot("A:\\Backup"), "A:\\");
    EXPECT_EQ(DriveRoot("c:"), "c:");
    EXPECT_TRUE(IsDisketteRoot(DriveRoot("A:\\Backup")));
    EXPECT_TRUE(IsDisketteRoot("a:\\"));
    EXPECT_TRUE(IsDisketteRoot("B:\\"));
    EXPECT_FALSE(IsDisketteRoot("c:\\"));
    EXPECT_FALSE(IsDisketteRoot("a:"));
    EXPECT_FALSE(IsDisketteRoot(DriveRoot("\\\\server\\share")));
    EXPECT_TRUE(IsNetworkPath("\\\\server\\share"));
    EXPECT_FALSE(IsNetworkPath("c:\\"));
    EXPECT_FALSE(IsNetworkPath(""));
    EXPECT_TRUE(IsDrivePath("d:\\x"));
    EXPECT_FALSE(IsDrivePath("\\\\server\\share"));
    EXPECT_FALSE(IsDrivePath("d"));
}

TEST(WizardPlanningTest, SpaceWarningComparesTheEstimateWithSixtyFourBitFreeSpace) {
    EXPECT_TRUE(NeedsSpaceWarning(10'000, 5'000));   // estimate 6,000
    EXPECT_FALSE(NeedsSpaceWarning(10'000, 6'000));  // equal is enough
    EXPECT_FALSE(NeedsSpaceWarning(10'000, 0));      // query failed
    EXPECT_FALSE(NeedsSpaceWarning(10'000, -1));
    // Beyond 2 GB and beyond 4 GB free: the figure is not cut to 32 bits.
    const int64_t fiveGB = 5LL * 1024 * 1024 * 1024;
    EXPECT_FALSE(NeedsSpaceWarning(2'000'000'000, fiveGB));
    EXPECT_TRUE(NeedsSpaceWarning(fiveGB * 2, fiveGB));
    EXPECT_EQ(RequiredSpaceText(10'240), "You require estimated free space of:\r\n6 KBytes");
}

TEST(WizardPlanningTest, ArchivePathJoinsFolderNameIdentityAndDate) {
    const CalendarDate day{2001, 1, 31};
    EXPECT_EQ(ArchivePath("C:\\Backups", "Corvane5Backup", ".Main Identity.", day),
              "C:\\Backups\\Corvane5Backup.Main Identity.2001-01-31.zip");
    EXPECT_EQ(ArchivePath("C:\\Backups", "CorvaneBackup", ".", day), "C:\\Backups\\CorvaneBackup.2001-01-31.zip");
    EXPECT_EQ(ArchivePath("c:\\", "CorvaneBackup", ".", day), "c:\\CorvaneBackup.2001-01-31.zip");
    // Only one trailing backslash is taken off.
    EXPECT_EQ(ArchivePath("c:\\x\\\\", "B", ".", {2026, 12, 7}), "c:\\x\\\\B.2026-12-07.zip");
    EXPECT_EQ(IsoDate({999, 3, 4}), "0999-03-04");
}

}  // namespace
}  // namespace corvane::planning
