// Writes the sample Outlook Express 5 installation into the registry and the
// file system of the Wine prefix it runs in, for the demo.
//   makestore.exe [root folder]     (default C:\Sample Mail)
// The keys stay in place: that is the point.
#include "testsupport/SyntheticOE.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::string root = argc > 1 ? argv[1] : "C:\\Sample Mail";
    auto* oe = new corvane::testing::SyntheticOE;  // never destroyed: its destructor would remove the keys
    if (!corvane::testing::MakeSampleVersion5Installation(*oe, root)) {
        std::fprintf(stderr, "makestore: could not write the sample store below %s\n", root.c_str());
        return 1;
    }
    std::printf("sample store written below %s\n", root.c_str());
    return 0;
}
