// The version check's verdict and the lines the pane shows.
#include "loopline/portable/VersionCheck.h"

#include <gtest/gtest.h>

namespace corvane::loopline {
namespace {

using Lines = std::vector<std::string>;

const Lines kCurrent(const std::string& shown) {
    return {"You have the current version", "", "Your version is: " + shown};
}
const Lines kOutOfDate(const std::string& current, const std::string& shown) {
    return {"Your version is out of date", "The current version is: " + current, "Your version is: " + shown};
}

TEST(LooplineVersion, ThreePartsLeaveOutTheInstalledRelease) {
    // 1.2.3.4 is compared as 1.2.4: current against 1.2.4, shown as 1.2.4.
    EXPECT_EQ(VersionReport("1.2.4", "1.2.3.4"), kCurrent("1.2.4"));
    EXPECT_EQ(VersionReport("1.2.5", "1.2.3.4"), kOutOfDate("1.2.5", "1.2.4"));
    EXPECT_EQ(VersionReport("1.2.3", "1.2.9.4"), kCurrent("1.2.4"));
}

TEST(LooplineVersion, FourPartsCompareEveryPart) {
    EXPECT_EQ(VersionReport("1.2.3.4", "1.2.3.4"), kCurrent("1.2.3.4"));
    EXPECT_EQ(VersionReport("1.2.3.5", "1.2.3.4"), kOutOfDate("1.2.3.5", "1.2.3.4"));
    EXPECT_EQ(VersionReport("1.2.4.0", "1.2.3.9"), kOutOfDate("1.2.4.0", "1.2.3.9"));
}

TEST(LooplineVersion, TheFirstDifferingPartDecides) {
    // A newer major version is not out of date because a later part is smaller.
    EXPECT_EQ(VersionReport("1.5.0", "2.0.0.9"), kCurrent("2.0.9"));
    EXPECT_EQ(VersionReport("1.9.9.9", "2.0.0.0"), kCurrent("2.0.0.0"));
    EXPECT_EQ(VersionReport("3.0.0", "2.9.9.9"), kOutOfDate("3.0.0", "2.9.9"));
    // Parts are numbers, not text.
    EXPECT_EQ(VersionReport("1.9.0", "1.10.0.0"), kCurrent("1.10.0"));
    EXPECT_EQ(VersionReport("1.10.0", "1.9.0.0"), kOutOfDate("1.10.0", "1.9.0"));
}

TEST(LooplineVersion, MissingOrMalformedVersionsAreNotAvailable) {
    const Lines unavailable{"Version information not currently available"};
    EXPECT_EQ(VersionReport("", "1.2.3.4"), unavailable);
    EXPECT_EQ(VersionReport("1.2.4", ""), unavailable);
    EXPECT_EQ(VersionReport("1.2", "1.2.3.4"), unavailable);
    EXPECT_EQ(VersionReport("1.2.3.4.5", "1.2.3.4"), unavailable);
    EXPECT_EQ(VersionText(2, 0, 0, 9), "2.0.0.9");
}

}  // namespace
}  // namespace corvane::loopline
