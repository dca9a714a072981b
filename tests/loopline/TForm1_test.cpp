// The news window under Wine against the test server: start and load, the
// start's errors, automatic mode, the three kinds of item, closing during a
// fetch, the splitter, a long page, and the program itself started as corvane
// starts it.
#include "loopline/TForm1.h"
#include "loopline/resource.h"

#include "corvane/environment/MessagePump.h"
#include "corvane/environment/RegistryEx.h"
#include "corvane/environment/SysFcns.h"
#include "testsupport/OeTestSupport.h"
#include "tests/loopline/TestServer.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <thread>

namespace corvane::loopline {
namespace {

using corvane::testing::CountingSounds;
using corvane::testing::FixedClock;
using corvane::testing::RecordingLauncher;
using corvane::testing::ScriptedMessageBoxes;
using testing::Serve;
using testing::ServerPort;
using testing::ServerUrl;
using Lines = std::vector<std::string>;

const char* const kProduct = "LooplineFormTest";
const std::string kKey = std::string("SOFTWARE\\BrindleWorks\\Loopline\\") + kProduct;

std::string ErrorText(int code) {
    return " [" + std::to_string(code) + "]  Unable to load data from the web server at this time";
}

std::string ProductValue(const char* name) { return RegistryEx::ReadText("HKCU", kKey, name, "<none>"); }

// Starts a timer that runs `action` once while the window waits for the network.
class LaterOnce {
public:
    LaterOnce(UINT delayMs, std::function<void()> action) : action_(std::move(action)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, delayMs, Fire);
    }
    ~LaterOnce() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    int fired = 0;

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD) {
        if (!current_) return;
        if (current_->fired++ == 0 && current_->action_) current_->action_();
    }
    static inline LaterOnce* current_ = nullptr;
    UINT_PTR timer_ = 0;
    std::function<void()> action_;
};

class LooplineForm : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(ServerPort(), 0)
            << "no test server: tests/loopline/test_server.py start --state <bin>/loopline-server";
        SHDeleteKeyA(HKEY_CURRENT_USER, kKey.c_str());
        folder = corvane::testing::FreshTestFolder("loopline");
        WriteIni("news.txt");
    }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, kKey.c_str()); }

    void WriteIni(const std::string& page, const std::string& extra = "ProductId=CV\r\nAutoDays=15\r\n",
                  const std::string& product = kProduct) {
        std::ofstream ini(folder + "\\loopline.ini", std::ios::trunc);
        ini << "[Parms]\r\nLoadUrl=" << (page.empty() ? "" : ServerUrl("/www/" + page)) << "\r\nProductName=" << product
            << "\r\n"
            << extra;
    }
    std::unique_ptr<TForm1> Start(const std::string& commandLine = "\\Quiet", DWORD readTimeoutMs = 10000) {
        auto form = std::make_unique<TForm1>(nullptr, commandLine, folder);
        form->Http.ConnectTimeoutMs = 10000;
        form->Http.ReadTimeoutMs = readTimeoutMs;
        loaded = form->Create();
        return form;
    }
    static std::string NodeText(const TForm1& form, HTREEITEM node) {
        char text[256] = {};
        TVITEMA item = {};
        item.mask = TVIF_TEXT | TVIF_HANDLE;
        item.hItem = node;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(form.Tree1, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return text;
    }
    // The parent's position among the nodes; -1 at the top level.
    static int ParentOf(const TForm1& form, HTREEITEM node) {
        HTREEITEM parent = TreeView_GetParent(form.Tree1, node);
        for (size_t i = 0; i < form.Nodes().size(); ++i) {
            if (form.Nodes()[i] == parent) return static_cast<int>(i);
        }
        return -1;
    }

    std::string folder;
    bool loaded = false;
    ScriptedMessageBoxes boxes;
    FixedClock clock{2026, 12, 7};
    RecordingLauncher launcher;
    CountingSounds sounds;
};

// The news page of the tests; texts and versions come from the test server.
std::string NewsPage() {
    std::string server = ServerUrl("/www/").substr(7);  // "127.0.0.1:port/www/", without "http://"
    const std::string lines[] = {
        "Loopline news page",
        "P|20261207||6|December news",
        "W|||x|1||Home|BrindleWorks|www.brindleworks.com/|Our web site",
        "S|Welcome to the December news.|Corvane 1.1 is out.",
        "F|AB||x|2||Other|Only for AB|" + server + "notes.txt",
        "F|CV,AB||x|3|0|Notes|Release notes|" + server + "notes.txt|What changed",
        "f|||x|4|1|Gone|A text that is missing|" + server + "gone.txt",
        "V|||x|5||Check|Version check|http://" + server + "version.txt",
    };
    std::string page;
    for (const std::string& line : lines) page += line + "\r\n";
    return page;
}

TEST_F(LooplineForm, LoadShowsTheProductsItemsThePaneAndTheTitle) {
    Serve("news.txt", NewsPage());
    WriteIni("news.txt", "ProductId=XX\r\n");
    // As corvane starts it: the first parameter overrides the ini file's
    // ProductId; the address gets "http://".
    std::string url = ServerUrl("/www/news.txt").substr(7);
    auto form = Start("ProductId=CV|LoadUrl=" + url);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(form->ProductId, ",CV,");
    EXPECT_EQ(form->LoadUrl, ServerUrl("/www/news.txt"));
    EXPECT_EQ(form->ErrorCode, 0);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->Caption(), " Loopline \xA9  December news");
    EXPECT_EQ(form->MemoLines(), (Lines{"Welcome to the December news.", "Corvane 1.1 is out."}));
    EXPECT_EQ(WindowText(form->Memo1), "Welcome to the December news.\r\nCorvane 1.1 is out.");

    // The item only for AB is left out and takes no position: parent "1" is
    // the release notes.
    const std::vector<HTREEITEM>& nodes = form->Nodes();
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(NodeText(*form, nodes[0]), "Home  BrindleWorks");
    EXPECT_EQ(NodeText(*form, nodes[1]), "Notes Release notes");
    EXPECT_EQ(ParentOf(*form, nodes[1]), 0);
    EXPECT_EQ(NodeText(*form, nodes[2]), "Gone  A text that is missing");
    EXPECT_EQ(ParentOf(*form, nodes[2]), 1);
    EXPECT_EQ(ParentOf(*form, nodes[3]), -1);
    // Children are made visible: their parents are expanded.
    EXPECT_TRUE(TreeView_GetItemState(form->Tree1, nodes[0], TVIS_EXPANDED) & TVIS_EXPANDED);

    EXPECT_EQ(ProductValue("LastRead"), "20261207");
    EXPECT_EQ(ProductValue("LastShowDate"), "2026/12/07");
    // A first parameter without \Quiet keeps the window off the taskbar.
    EXPECT_FALSE(form->HasTaskbarButton());
    HWND owner = GetWindow(form->Handle(), GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_TRUE(GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(IsWindowVisible(owner));
}

TEST_F(LooplineForm, APageOf50000PaneFieldsShowsWithinFiveSeconds) {
    std::string page = "Loopline news page\r\nP|20261207||6|Long news\r\n";
    std::string paneText;
    // Half of the fields on lines of ten, half on one line.
    std::vector<int> fieldsPerLine(2500, 10);
    fieldsPerLine.push_back(25000);
    int note = 0;
    for (int fields : fieldsPerLine) {
        page += "S";
        for (int field = 0; field < fields; ++field) {
            std::string text = "Note " + std::to_string(note++);
            page += "|" + text;
            paneText += (paneText.empty() ? "" : "\r\n") + text;
        }
        page += "\r\n";
    }
    Serve("long.txt", page);
    WriteIni("long.txt");
    // The load runs on this thread and nothing can interrupt it: a watch ends
    // the test program when it has not ended well past its time.
    std::promise<void> loadEnded;
    std::thread watch([ended = loadEnded.get_future()] {
        if (ended.wait_for(std::chrono::seconds(15)) == std::future_status::ready) return;
        std::fprintf(stderr, "FAILED: the load of 50,000 pane fields did not end within 15 s\n");
        std::_Exit(3);
    });
    DWORD start = GetTickCount();
    auto form = Start();
    DWORD elapsed = GetTickCount() - start;
    loadEnded.set_value();
    watch.join();
    ASSERT_TRUE(loaded);
    EXPECT_LT(elapsed, 5000u);
    EXPECT_EQ(form->Caption(), " Loopline \xA9  Long news");
    EXPECT_EQ(form->MemoLines().size(), 50000u);
    EXPECT_EQ(WindowText(form->Memo1), paneText);
}

TEST_F(LooplineForm, StartErrorsShowTheirCodeInThePane) {
    struct Case {
        int code;
        std::function<void()> prepare;
    } cases[] = {
        {100, [&] { DeleteFileA((folder + "\\loopline.ini").c_str()); }},
        {101, [&] { WriteIni(""); }},
        {102, [&] { WriteIni("news.txt", "", ""); }},
        {404, [&] { Serve("news.txt", "one line only\r\n"); }},
        {404, [&] { WriteIni("no-such-page.txt"); }},
    };
    for (const Case& c : cases) {
        WriteIni("news.txt");
        Serve("news.txt", NewsPage());
        c.prepare();
        auto form = Start();
        ASSERT_TRUE(loaded) << c.code;
        EXPECT_TRUE(IsWindowVisible(form->Handle())) << c.code;
        EXPECT_EQ(form->ErrorCode, c.code);
        EXPECT_EQ(form->MemoLines(), (Lines{"", ErrorText(c.code)})) << c.code;
        EXPECT_EQ(form->Caption(), " Loopline \xA9") << c.code;
        EXPECT_TRUE(form->Nodes().empty());
        EXPECT_TRUE(form->HasTaskbarButton());  // started with \Quiet
    }
    // None of them counts as a show.
    EXPECT_EQ(ProductValue("LastShowDate"), "<none>");
}

TEST_F(LooplineForm, AutomaticStartsWaitAutoDaysAndFailSilently) {
    Serve("news.txt", NewsPage());
    RegistryEx::WriteValue("HKCU", kKey, "LastShowDate", 'S', "2026/03/01");
    clock.Set({2026, 3, 15, 9, 0, 0});
    auto early = Start("\\AUTO");
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(early->IsLoaded());
    EXPECT_EQ(ProductValue("LastShowDate"), "2026/03/01");

    clock.Set({2026, 3, 16, 9, 0, 0});
    auto due = Start("\\AUTO|AutoDays=15");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(due->Nodes().size(), 4u);
    EXPECT_EQ(ProductValue("LastShowDate"), "2026/03/16");

    // A due automatic start that fails ends without a window.
    clock.Set({2026, 4, 30, 9, 0, 0});
    auto failed = Start("\\auto|LoadUrl=" + ServerUrl("/status/500"));
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(failed->IsLoaded());
    auto noProduct = Start("\\AUTO|ProductName=");
    EXPECT_FALSE(loaded);
}

TEST_F(LooplineForm, ItemsOpenLinksFetchTextsAndCheckTheVersion) {
    Serve("news.txt", NewsPage());
    Serve("notes.txt", "Release 1.1\nFixes\n");
    WriteIni("news.txt", "ProductId=\r\nExeName=" + AppFolder() + "\\versioned51.exe\r\n");
    auto form = Start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(form->InstalledVersion, "5.1.0.7");
    const std::vector<HTREEITEM>& nodes = form->Nodes();
    ASSERT_EQ(nodes.size(), 5u);

    form->Tree1Click(nodes[0]);
    ASSERT_EQ(launcher.Launched().size(), 1u);
    EXPECT_EQ(launcher.Launched()[0].file, "http://www.brindleworks.com/");
    EXPECT_TRUE(form->MemoLines().empty());

    form->Tree1Click(nodes[2]);
    EXPECT_EQ(form->MemoLines(), (Lines{"Release 1.1", "Fixes"}));
    form->Tree1Click(nodes[3]);  // kind "f", its text missing on the server
    EXPECT_EQ(form->MemoLines(), Lines{"  Unable to fetch data  "});

    Serve("version.txt", "5.1.8\r\nlater lines\r\n");
    form->Tree1Click(nodes[4]);
    EXPECT_EQ(form->MemoLines(),
              (Lines{"Your version is out of date", "The current version is: 5.1.8", "Your version is: 5.1.7"}));
    Serve("version.txt", "5.1.0.7");
    form->Tree1Click(nodes[4]);
    EXPECT_EQ(form->MemoLines(), (Lines{"You have the current version", "", "Your version is: 5.1.0.7"}));
    Serve("version.txt", "");
    form->Tree1Click(nodes[4]);
    EXPECT_EQ(form->MemoLines(), Lines{"Version information not currently available"});
    EXPECT_EQ(launcher.Launched().size(), 1u);
}

TEST_F(LooplineForm, AMouseClickOnAnItemRunsItAndItsHintIsField10) {
    Serve("news.txt", NewsPage());
    Serve("notes.txt", "Release 1.1\r\n");
    auto form = Start();
    ASSERT_TRUE(loaded);
    HTREEITEM notes = form->Nodes()[1];
    RECT item;
    ASSERT_TRUE(TreeView_GetItemRect(form->Tree1, notes, &item, TRUE));
    POINT at = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    POINT screen = at;
    ClientToScreen(form->Tree1, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(form->Tree1, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(form->Tree1, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    for (int i = 0; i < 100 && form->MemoLines() != Lines{"Release 1.1"}; ++i) {
        PumpMessages();
        Sleep(20);
    }
    EXPECT_EQ(form->MemoLines(), Lines{"Release 1.1"});

    char hint[80] = {};
    NMTVGETINFOTIPA tip = {};
    tip.hdr = {form->Tree1, IDC_TREE1, TVN_GETINFOTIPA};
    tip.hItem = notes;
    tip.lParam = static_cast<LPARAM>(form->LineOf(notes));
    tip.pszText = hint;
    tip.cchTextMax = sizeof hint;
    SendMessageA(form->Handle(), WM_NOTIFY, IDC_TREE1, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(hint, "What changed");
}

TEST_F(LooplineForm, ClosingDuringTheLoadAbortsItAndIsRefused) {
    WriteIni("");
    std::unique_ptr<TForm1> form;
    HWND window = nullptr;
    LaterOnce close(300, [&] {
        window = FindWindowA("LooplineForm", nullptr);
        PostMessageA(window, WM_CLOSE, 0, 0);
    });
    DWORD start = GetTickCount();
    form = Start("\\Quiet|LoadUrl=" + ServerUrl("/stall"), 20000);
    EXPECT_LT(GetTickCount() - start, 8000u);
    EXPECT_EQ(close.fired, 1);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(window, form->Handle());
    EXPECT_EQ(sounds.beeps, 1);
    EXPECT_EQ(form->MemoLines(), (Lines{"", ErrorText(404)}));
    EXPECT_EQ(form->Http.ReasonPhrase, "Connection aborted on request");

    // Without a fetch running, closing closes.
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(sounds.beeps, 1);
}

TEST_F(LooplineForm, AStalledServerTimesOutAndTheWindowAnswersMeanwhile) {
    LRESULT answered = 0;
    char captionDuringLoad[64] = {};
    std::thread other;
    // A message from another thread, sent while the load waits, is answered.
    LaterOnce probe(200, [&] {
        HWND window = FindWindowA("LooplineForm", nullptr);
        other = std::thread([&answered, &captionDuringLoad, window] {
            DWORD_PTR result = 0;
            answered = SendMessageTimeoutA(window, WM_GETTEXT, sizeof captionDuringLoad,
                                           reinterpret_cast<LPARAM>(captionDuringLoad), SMTO_NORMAL, 3000, &result);
        });
    });
    DWORD start = GetTickCount();
    auto form = Start("\\Quiet|LoadUrl=" + ServerUrl("/stall"), 1500);
    DWORD elapsed = GetTickCount() - start;
    ASSERT_TRUE(other.joinable());
    other.join();
    ASSERT_TRUE(loaded);
    EXPECT_GE(elapsed, 1400u);
    EXPECT_LT(elapsed, 10000u);
    EXPECT_NE(answered, 0);
    EXPECT_STREQ(captionDuringLoad, " Loopline \xA9");
    EXPECT_EQ(form->Http.ReasonPhrase, "Timed out waiting for the server");
    EXPECT_EQ(form->MemoLines(), (Lines{"", ErrorText(404)}));
}

TEST_F(LooplineForm, TheSplitterKeepsTheTreeAtLeast40PixelsHigh) {
    Serve("news.txt", NewsPage());
    auto form = Start();
    ASSERT_TRUE(loaded);
    auto height = [](HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        return static_cast<int>(r.bottom - r.top);
    };
    form->Splitter1Moved(150);
    EXPECT_EQ(height(form->Tree1), 150);
    // Dragged by the mouse far above the window's top.
    SendMessageA(form->Splitter1, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
    SendMessageA(form->Splitter1, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, -400));
    SendMessageA(form->Splitter1, WM_LBUTTONUP, 0, MAKELPARAM(10, -400));
    EXPECT_EQ(form->TreeHeight(), 40);
    EXPECT_EQ(height(form->Tree1), 40);
    RECT tree, memo;
    GetWindowRect(form->Tree1, &tree);
    GetWindowRect(form->Memo1, &memo);
    EXPECT_GT(memo.top, tree.bottom);
    form->Splitter1Moved(10);
    EXPECT_EQ(form->TreeHeight(), 40);
}

TEST_F(LooplineForm, TheProgramStartedHiddenByCorvaneShowsItsWindowAndEndsOnClose) {
    Serve("news.txt", NewsPage());
    const char* const product = "LooplineExeTest";
    std::string key = std::string("SOFTWARE\\BrindleWorks\\Loopline\\") + product;
    SHDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    // The shipped loopline.ini beside the program, its values overridden.
    std::string commandLine = "\"" + AppFolder() + "\\loopline.exe\" ProductId=CV|ProductName=" + product +
                              "|LoadUrl=" + ServerUrl("/www/news.txt");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, AppFolder().c_str(),
                               &startup, &process));
    HWND window = nullptr;
    for (int i = 0; i < 200 && !window; ++i) {
        Sleep(100);
        HWND found = FindWindowA("LooplineForm", nullptr);
        DWORD owner = 0;
        if (found) GetWindowThreadProcessId(found, &owner);
        if (found && owner == process.dwProcessId && WindowText(found).find("December") != std::string::npos)
            window = found;
    }
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(RegistryEx::ReadText("HKCU", key, "LastRead", ""), "20261207");
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SHDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

}  // namespace
}  // namespace corvane::loopline
