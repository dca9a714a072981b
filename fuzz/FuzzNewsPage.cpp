// The news page and the version file the news program fetches.
#include "loopline/portable/NewsPage.h"
#include "loopline/portable/VersionCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace loopline = corvane::loopline;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view page(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines = loopline::SplitPageLines(page);
    loopline::LayoutPage(lines, "CV");
    for (const std::string& line : lines) {
        loopline::ItemCaption(line, 12);
        loopline::ShownForProduct(line, "CV");
        loopline::WebLinkAddress(loopline::PageField(line, 9));
    }
    loopline::VersionReport(page, "1.2.3.4");
    return 0;
}
