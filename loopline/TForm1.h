// The news program's one window: the tree of news items (Tree1) above the
// text pane (Memo1), the splitter between them (Splitter1) and the HTTP
// client (Http). Start, load and the item clicks carry the names of the
// program's event model; state is public so a test can reach it.
#pragma once

#include "corvane/environment/Window.h"
#include "loopline/HttpCli.h"
#include "loopline/portable/NewsPage.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace corvane::loopline {

class TForm1 final : public CWindowBase {
public:
    // `commandLine` without the program's name; the program's folder holds
    // loopline.ini and the products named without a folder.
    TForm1(HINSTANCE instance, std::string commandLine, std::string programFolder);
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Makes the window (hidden) and runs the start, which shows it and loads
    // the page. False when the start ended the program without a window
    // (an automatic start that is not due, or that failed).
    bool Create();
    HWND Handle() const { return hwnd_; }
    bool IsLoaded() const { return hwnd_ != nullptr; }
    // When set, the window's end also ends the message loop (the program's own window).
    void SetQuitOnDestroy(bool quit) { quitOnDestroy_ = quit; }

    // Events.
    void FormCreate();
    void Load();
    void Tree1Click(HTREEITEM node);
    // A close request: refused (with a beep) while a fetch runs, which it aborts.
    bool FormCloseQuery();
    void FormClose();
    // The splitter was dragged to give the tree this height.
    void Splitter1Moved(int treeHeight);

    HWND Tree1 = nullptr;
    HWND Splitter1 = nullptr;
    HWND Memo1 = nullptr;
    THttpCli Http;

    // The settings, after the command line's overrides; ProductId enclosed in commas.
    bool AutoMode = false;
    std::string LoadUrl;
    std::string ExeName;
    std::string ProductName;
    std::string ProductId;
    int AutoDays = 15;
    std::string InstalledVersion;    // "a.b.c.d", "" when unknown
    std::vector<std::string> Lines;  // the page
    int ErrorCode = 0;               // the start's error shown in the pane; 0 none

    std::string Caption() const;
    const std::vector<std::string>& MemoLines() const { return memoLines_; }
    int TreeHeight() const { return treeHeight_; }
    bool HasTaskbarButton() const;
    // The nodes in order of addition, and the page line a node stands for.
    const std::vector<HTREEITEM>& Nodes() const { return nodes_; }
    size_t LineOf(HTREEITEM node) const;

private:
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT FormMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT SplitterMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(const NMHDR& header);
    void CreateControls();
    void Layout();

    void Fail(int code);
    void EndProgram();
    void ShowForm();
    bool FetchLines(const std::string& address, std::vector<std::string>& lines);
    void BuildTree(const PageLayout& page);
    bool HasNode(HTREEITEM node) const;
    std::string RegistryKey() const;
    void SetCaption(const std::string& caption);
    void MemoClear();
    void MemoAddLines(const std::vector<std::string>& lines);
    void MemoSet(const std::vector<std::string>& lines);
    void ShowMemoLines();
    void BeginWait();
    void EndWait();

    HINSTANCE instance_;
    std::string commandLine_;
    std::string programFolder_;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;  // hidden tool window that keeps the form off the taskbar
    HFONT treeFont_ = nullptr;
    std::vector<std::string> memoLines_;
    std::vector<HTREEITEM> nodes_;
    int treeHeight_ = 0;
    int splitterHeight_ = 0;
    int dragOffset_ = -1;  // where the splitter was grabbed, while dragging
    int waiting_ = 0;      // hourglass requests
    bool quitOnDestroy_ = false;
};

}  // namespace corvane::loopline
