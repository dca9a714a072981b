// Shared set-up of the tests that write Outlook Express and Corvane keys into
// Wine's registry: each test starts and ends with none of them, and with no
// control files in the program folder.
#pragma once

#include "testsupport/ScriptedSeams.h"
#include "testsupport/SyntheticOE.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

namespace corvane::testing {

// Deletes the keys a test may have left (its own prefix only) and the control files.
void CleanOutlookExpressState();
// A folder below the bin folder for a test's stores, made empty.
std::string FreshTestFolder(const std::string& name);
std::string ReadFileText(const std::string& path);
// Corvane's own settings, read directly.
std::string CorvaneSetting(const std::string& section, const std::string& key, const std::string& fallback = "<none>");
void SaveCorvaneSetting(const std::string& section, const std::string& key, const std::string& value);

// The host's (Linux) path of a Windows path, through Wine's own mapping; "" when unknown.
std::string HostPath(const std::string& windowsPath);
// Runs a command line of the host's shell (paths in it as HostPath gives
// them), e.g. "unzip -t '/x/a.zip'"; its output goes to `output`. Returns
// the command's exit status, -1 when the host cannot be reached.
int RunHostCommand(const std::string& command, std::string* output = nullptr);

// Runs this thread's window messages, as the program's own loop would, until
// `done` answers true; false when `seconds` passed first. A test waits for a
// run on a worker thread with it, and fails fast rather than hang.
bool PumpUntil(const std::function<bool()>& done, double seconds = 120);

// One fakeoe.exe process showing a window of the given class and title;
// ended when the object goes.
class FakeOutlook {
public:
    FakeOutlook(const std::string& className, const std::string& title, bool ignoreClose = false);
    ~FakeOutlook();
    FakeOutlook(const FakeOutlook&) = delete;
    FakeOutlook& operator=(const FakeOutlook&) = delete;
    HWND Window() const;
    bool Ended(DWORD waitMs = 5000) const;

private:
    std::string className_;
    PROCESS_INFORMATION process_ = {};
};

class OeRegistryTest : public ::testing::Test {
protected:
    // No Favorites either, unless the test registers a folder of its own.
    void SetUp() override {
        CleanOutlookExpressState();
        oe.SetFavorites("");
    }
    void TearDown() override {
        oe.RemoveAll();
        CleanOutlookExpressState();
    }
    SyntheticOE oe;
};

}  // namespace corvane::testing
