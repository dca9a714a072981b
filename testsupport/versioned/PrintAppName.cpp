// Prints the application name the settings object takes from this program's
// own version information, so a test can see the default from outside.
#include "corvane/environment/CRegSettings.h"

#include <cstdio>

int main() {
    corvane::CRegSettings settings;
    std::fputs(settings.AppName().c_str(), stdout);
    return 0;
}
