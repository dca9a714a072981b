// TForm1's start, load, item clicks and close request.
#include "loopline/TForm1.h"

#include "corvane/backup/planning/NewsSchedule.h"
#include "corvane/environment/MessagePump.h"
#include "corvane/environment/RegistryEx.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/TextRules.h"
#include "loopline/portable/StartRules.h"
#include "loopline/portable/VersionCheck.h"

#include <vector>

namespace corvane::loopline {
namespace {

const char* const kCaption = " Loopline \xA9";

planning::CalendarDate TodayDate() {
    CalendarTime today = Today();
    return {today.year, today.month, today.day};
}

// The file version of a program as four numbers; "" without version information.
std::string FileVersionOf(const std::string& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return "";
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return "";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length)) return "";
    if (fixed == nullptr || length < sizeof *fixed || fixed->dwSignature != 0xFEEF04BD) return "";
    return VersionText(HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                       LOWORD(fixed->dwFileVersionLS));
}

}  // namespace

void TForm1::FormCreate() {
    std::string first = FirstParameter(commandLine_);
    AutoMode = IsAutomatic(first);
    std::string iniPath = programFolder_ + "\\" + kIniFileName;
    if (!FileExists(iniPath)) return Fail(100);
    auto setting = [&](const char* key) {
        if (std::optional<std::string> value = CommandLineValue(first, key)) return *value;
        char text[2048] = {};
        GetPrivateProfileStringA(kIniSection, key, "", text, sizeof text, iniPath.c_str());
        return std::string(text);
    };
    LoadUrl = setting("LoadUrl");
    ExeName = setting("ExeName");
    ProductName = setting("ProductName");
    ProductId = setting("ProductId");
    AutoDays = AutoDaysFrom(setting("AutoDays"));

    if (AutoMode) {
        std::string shown = RegistryEx::ReadText("HKCU", RegistryKey(), kLastShowDateValue, kNeverShown);
        if (!AutomaticShowDue(shown, AutoDays, TodayDate())) return EndProgram();
    }
    ProductId = EnclosedProductId(ProductId);
    if (LoadUrl.empty()) return Fail(101);
    if (ProductName.empty()) return Fail(102);
    LoadUrl = WithHttpPrefix(LoadUrl);
    ExeName = ExePath(ExeName, programFolder_);
    MemoSet({"", "   Loading data from web site"});
    SetCaption(kCaption);
    BeginWait();
    ShowForm();
    Load();
}

void TForm1::Load() {
    std::vector<std::string> lines;
    if (!FetchLines(LoadUrl, lines) || lines.size() < 2) {
        EndWait();
        return Fail(404);
    }
    Lines = std::move(lines);
    InstalledVersion = FileExists(ExeName) ? FileVersionOf(ExeName) : "";
    MemoClear();
    PageLayout page = LayoutPage(Lines, ProductId);
    RegistryEx::WriteValue("HKCU", RegistryKey(), kLastReadValue, 'S', page.lastRead);
    RegistryEx::WriteValue("HKCU", RegistryKey(), kLastShowDateValue, 'S', planning::SlashDate(TodayDate()));
    BuildTree(page);
    SetCaption(std::string(kCaption) + "  " + page.title);
    EndWait();
}

void TForm1::Tree1Click(HTREEITEM node) {
    if (!node || !HasNode(node)) return;
    size_t index = LineOf(node);
    if (index >= Lines.size()) return;
    const std::string line = Lines[index];
    MemoClear();
    std::string kind = PageField(line, kKindField);
    std::string target = PageField(line, kTargetField);
    switch (kind.empty() ? '\0' : UpperAscii(kind[0])) {
    case 'W':
        if (!target.empty()) OpenWithShell(WebLinkAddress(target));
        return;
    case 'F': {
        std::vector<std::string> text;
        BeginWait();
        bool fetched = FetchLines(WithHttpPrefix(target), text);
        EndWait();
        MemoSet(fetched ? text : std::vector<std::string>{"  Unable to fetch data  "});
        return;
    }
    case 'V': {
        std::vector<std::string> text;
        BeginWait();
        bool fetched = FetchLines(WithHttpPrefix(target), text);
        EndWait();
        std::string current = fetched && !text.empty() ? text[0] : "";
        MemoSet(VersionReport(current, InstalledVersion));
        return;
    }
    default:
        return;
    }
}

bool TForm1::FormCloseQuery() {
    if (!Http.Busy()) return true;
    Http.Abort();
    PumpMessages();
    Sounds().Beep();
    return false;
}

void TForm1::FormClose() {
    Lines.clear();
    nodes_.clear();
}

void TForm1::Fail(int code) {
    if (AutoMode) return EndProgram();
    ErrorCode = code;
    MemoSet({"", " [" + std::to_string(code) + "]  Unable to load data from the web server at this time"});
    SetCaption(kCaption);
    ShowForm();
}

bool TForm1::FetchLines(const std::string& address, std::vector<std::string>& lines) {
    Http.URL = address;
    std::string body;
    if (!Http.Get(body).ok) return false;
    lines = SplitPageLines(body);
    return true;
}

void TForm1::BuildTree(const PageLayout& page) {
    TreeView_DeleteAllItems(Tree1);
    nodes_.clear();
    for (const TreeEntry& entry : page.entries) {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = entry.parent >= 0 ? nodes_[static_cast<size_t>(entry.parent)] : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        std::string caption = entry.caption;
        insert.item.pszText = caption.data();
        insert.item.lParam = static_cast<LPARAM>(entry.line);
        auto node =
            reinterpret_cast<HTREEITEM>(SendMessageA(Tree1, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        nodes_.push_back(node);
        if (node && entry.parent >= 0) TreeView_EnsureVisible(Tree1, node);
    }
    MemoAddLines(page.paneLines);
}

std::string TForm1::RegistryKey() const { return std::string(kRegistryKeyBase) + ProductName; }

}  // namespace corvane::loopline
