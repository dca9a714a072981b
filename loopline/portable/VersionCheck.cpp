#include "loopline/portable/VersionCheck.h"

#include "loopline/portable/NewsPage.h"
#include "corvane/environment/portable/ListFcns.h"

namespace corvane::loopline {
std::string VersionText(unsigned major, unsigned minor, unsigned release, unsigned build) {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release) + "." +
           std::to_string(build);
}

std::vector<std::string> VersionReport(std::string_view current, std::string_view installed) {
    const std::vector<std::string> unavailable{"Version information not currently available"};
    std::vector<std::string> now = ListFields(current, '.');
    std::vector<std::string> mine = ListFields(installed, '.');
    if (current.empty() || installed.empty() || mine.size() != 4) return unavailable;
    if (now.size() != 3 && now.size() != 4) return unavailable;
    // Three parts name major, minor and build.
    std::vector<std::string> compared = mine;
    if (now.size() == 3) compared = {mine[0], mine[1], mine[3]};

    // The first part that differs decides, as version numbers are read; a
    // greater later part does not make an older major version current.
    bool outOfDate = false;
    for (size_t i = 0; i < now.size(); ++i) {
        int published = PageNumber(now[i]);
        int have = PageNumber(compared[i]);
        if (published == have) continue;
        outOfDate = published > have;
        break;
    }
    std::vector<std::string> report;
    if (outOfDate) {
        report.push_back("Your version is out of date");
        report.push_back("The current version is: " + std::string(current));
    } else {
        report.push_back("You have the current version");
        report.push_back("");
    }
    std::string shown = compared[0];
    for (size_t i = 1; i < compared.size(); ++i) shown += "." + compared[i];
    report.push_back("Your version is: " + shown);
    return report;
}

}  // namespace corvane::loopline
