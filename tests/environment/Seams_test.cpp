#include "corvane/environment/CModalDialog.h"
#include "testsupport/ScriptedSeams.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::testing;

TEST(Seams, ScriptedBoxesAnswerInOrderAndRecord) {
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDYES);
    EXPECT_EQ(ShowMessage(nullptr, "Question?", "Corvane", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(ShowMessage(nullptr, "Done", "Corvane", MB_ICONINFORMATION), IDOK);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(boxes.Texts()[1], "Done");
}

TEST(Seams, FixedClockGivesTodayWithoutTime) {
    FixedClock clock(2026, 12, 7);
    CalendarTime today = Today();
    EXPECT_EQ(today.year, 2026);
    EXPECT_EQ(today.day, 7);
    EXPECT_EQ(today.hour, 0);
}

TEST(Seams, RealSeamsComeBackWhenTheDoubleGoes) {
    {
        RecordingLauncher launcher;
        EXPECT_TRUE(OpenWithShell("loopline.exe", "ProductId=CV"));
        ASSERT_EQ(launcher.Launched().size(), 1u);
        EXPECT_EQ(launcher.Launched()[0].parameters, "ProductId=CV");
    }
    EXPECT_FALSE(OpenWithShell("Z:\\no\\such\\program-here.exe"));
}
