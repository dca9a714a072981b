#include "corvane/environment/HelpFcns.h"

#include "corvane/environment/SysFcns.h"
#include "testsupport/ScriptedSeams.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace corvane;
using corvane::testing::RecordingLauncher;

namespace {

// A help page in the help folder beside the program for the length of a test;
// a page that was there before (a shipped one) is left as it was.
class HelpPage {
public:
    explicit HelpPage(int context) : path_(HelpTopicPath(context)) {
        CreateDirectoryA((AppFolder() + "\\help").c_str(), nullptr);
        if (FileExists(path_)) return;
        std::ofstream(path_) << "<html><body>topic</body></html>";
        created_ = true;
    }
    ~HelpPage() {
        if (created_) DeleteFileA(path_.c_str());
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool created_ = false;
};

}  // namespace

TEST(HelpFcns, ShowHelpContextOpensThePageWithTheShell) {
    HelpPage page(73101);
    RecordingLauncher launcher;
    SetHelpFile(nullptr, "corvane.hlp");
    EXPECT_TRUE(ShowHelpContext(73101));
    ASSERT_EQ(launcher.Launched().size(), 1u);
    EXPECT_EQ(launcher.Launched()[0].file, page.Path());
    EXPECT_EQ(launcher.Launched()[0].parameters, "");
}

TEST(HelpFcns, AMissingPageOpensNothing) {
    RecordingLauncher launcher;
    EXPECT_FALSE(ShowHelpContext(73199));
    EXPECT_TRUE(launcher.Launched().empty());
}

TEST(HelpFcns, AFailedLaunchIsReported) {
    HelpPage page(73102);
    RecordingLauncher launcher;
    launcher.Fail(true);
    EXPECT_FALSE(ShowHelpContext(73102));
}

TEST(HelpFcns, ContentsIsContext999) {
    HelpPage contents(999);
    RecordingLauncher launcher;
    EXPECT_TRUE(ShowHelpContents());
    ASSERT_EQ(launcher.Launched().size(), 1u);
    EXPECT_EQ(launcher.Launched()[0].file, AppFolder() + "\\help\\999.html");
}

TEST(HelpFcns, CloseHelpLaunchesNothingAndHelpStillOpensAfterwards) {
    HelpPage page(73103);
    RecordingLauncher launcher;
    SetHelpFile(nullptr, "corvane.hlp");
    CloseHelp();
    EXPECT_TRUE(launcher.Launched().empty());
    EXPECT_TRUE(ShowHelpContext(73103));
    EXPECT_EQ(launcher.Launched().size(), 1u);
}
