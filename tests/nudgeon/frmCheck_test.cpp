// The reminder window under Wine: corvane's settings in Wine's registry, the
// clock fixed and launches and message boxes recorded through the seams.
#include "corvane/environment/MessagePump.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/VXStrings.h"
#include "nudgeon/frmCheck.h"
#include "nudgeon/resource.h"
#include "testsupport/ScriptedSeams.h"
#include "testsupport/portable/LegacyReminderFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace corvane::nudgeon {
namespace {

using testing::ClickButton;
using testing::ControlText;
using testing::SetCheck;

const std::string kPlural2 = "You have not done a Backup of Outlook Express for at least 2 days. ";
const std::string kSingular = "You have not done a Backup of Outlook Express for at least 1 day.";

void PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    for (int waited = 0; !done() && waited < timeoutMs; waited += 10) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DeliverMessage(message);
        Sleep(10);
    }
}

std::string LegacyFile() { return AppFolder() + "\\brind.ctl"; }

class NudgeonReminder : public ::testing::Test {
protected:
    NudgeonReminder() {
        registry.SetCompany("BrindleWorks");
        registry.SetAppName("Corvane");
    }
    void SetUp() override { Clean(); }
    void TearDown() override {
        form.reset();
        Clean();
        VXStrings::SetLibraryPathForTesting("");
    }
    void Clean() {
        registry.DeleteSetting("Parms", "RemindDays");
        registry.DeleteSetting("Parms", "LastBackup");
        DeleteFileA(LegacyFile().c_str());
    }

    // The "Parms" settings; nullptr leaves a value missing.
    void Settings(const char* remindDays, const char* lastBackup) {
        if (remindDays) registry.SaveSetting("Parms", "RemindDays", remindDays);
        if (lastBackup) registry.SaveSetting("Parms", "LastBackup", lastBackup);
    }
    std::string Stored(const char* key) const { return registry.GetSetting("Parms", key, "<none>"); }

    // A new start of the program on that day: true when it shows a reminder.
    bool LoadOn(int year, int month, int day) {
        clock.Set({year, month, day, 9, 30, 0});
        form = std::make_unique<frmCheck>();
        return form->Form_Load();
    }
    HWND Window() const { return form->Handle(); }
    std::string Label() const { return ControlText(Window(), IDC_CHECK_LABEL1); }
    void Click(int index) {
        ClickButton(Window(), IDC_CHECK_CMD + index);
        PumpUntil([&] { return !form->IsLoaded(); });
    }

    CRegSettings registry;
    testing::ScriptedMessageBoxes boxes;
    testing::FixedClock clock{2026, 3, 1};
    testing::RecordingLauncher launcher;
    std::unique_ptr<frmCheck> form;
};

TEST_F(NudgeonReminder, RemindsOnceTheIntervalHasPassed) {
    Settings("2", "20260301");
    EXPECT_FALSE(LoadOn(2026, 3, 3));
    EXPECT_FALSE(form->IsLoaded());

    ASSERT_TRUE(LoadOn(2026, 3, 4));
    ASSERT_TRUE(form->IsLoaded());
    EXPECT_FALSE(IsWindowVisible(Window())) << "shown only when the program shows it";
    EXPECT_EQ(Label(), kPlural2);
    EXPECT_EQ(WindowText(Window()), "Corvane");
    EXPECT_EQ(ControlText(Window(), IDC_CHECK_CHECK1), "Do not ask again.");
    EXPECT_EQ(IsDlgButtonChecked(Window(), IDC_CHECK_CHECK1), BST_UNCHECKED);
    EXPECT_EQ(ControlText(Window(), IDC_CHECK_CMD + 0), "&Backup Now");
    EXPECT_EQ(ControlText(Window(), IDC_CHECK_CMD + 1), "&Cancel");

    Settings("7", "20261230");
    EXPECT_FALSE(LoadOn(2027, 1, 6));
    ASSERT_TRUE(LoadOn(2027, 1, 7));
    EXPECT_EQ(Label(), "You have not done a Backup of Outlook Express for at least 7 days. ");
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(launcher.Launched().empty());
}

TEST_F(NudgeonReminder, OneDayOrLessReadsInTheSingular) {
    Settings("1", "20260301");
    EXPECT_FALSE(LoadOn(2026, 3, 2));
    ASSERT_TRUE(LoadOn(2026, 3, 3));
    EXPECT_EQ(Label(), kSingular);

    Settings("0", "20260301");
    EXPECT_FALSE(LoadOn(2026, 3, 1));
    ASSERT_TRUE(LoadOn(2026, 3, 2));
    EXPECT_EQ(Label(), kSingular);
}

TEST_F(NudgeonReminder, ShowsOnTopWithoutTakingTheFocus) {
    Settings("2", "20260301");
    HWND other = CreateWindowExA(0, "STATIC", "the user's window", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    ASSERT_EQ(GetActiveWindow(), other);

    ASSERT_TRUE(LoadOn(2026, 6, 1));
    form->Show();
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_NE(GetWindowLongA(Window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(GetForegroundWindow(), other);
    EXPECT_FALSE(GetFocus() == Window() || IsChild(Window(), GetFocus())) << "keys typed elsewhere would come here";
    DestroyWindow(other);
}

// Every setting it cannot use ends the program without a word.
TEST_F(NudgeonReminder, NothingForNeverOrUnusableSettings) {
    struct Case {
        const char* remindDays;
        const char* lastBackup;
    };
    const Case cases[] = {
        {"-1", "20000101"},  // never, however long ago
        {"2", nullptr},     {"2", ""},       {"2", "2026031"},   {"2", "202603011"}, {"2", "2026-03-01"},
        {"2", "20260230"},  {"2", "backup"}, {"-5", "20261201"},  // a negative interval other than "never"
    };
    for (const Case& c : cases) {
        Clean();
        Settings(c.remindDays, c.lastBackup);
        EXPECT_FALSE(LoadOn(2026, 12, 7)) << c.remindDays << " " << (c.lastBackup ? c.lastBackup : "(none)");
        EXPECT_FALSE(form->IsLoaded());
    }
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(launcher.Launched().empty());
}

TEST_F(NudgeonReminder, DoNotAskAgainStoresNeverHoweverTheWindowCloses) {
    Settings("2", "20260301");
    ASSERT_TRUE(LoadOn(2026, 3, 10));
    Click(1);
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_EQ(Stored("RemindDays"), "2") << "Cancel alone stores nothing";

    ASSERT_TRUE(LoadOn(2026, 3, 10));
    SetCheck(Window(), IDC_CHECK_CHECK1, true);
    Click(1);
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_EQ(Stored("RemindDays"), "-1");
    EXPECT_FALSE(LoadOn(2026, 3, 11)) << "never again";
    EXPECT_TRUE(launcher.Launched().empty());

    // The close box (and Esc) close the window as Cancel does.
    Settings("2", nullptr);
    ASSERT_TRUE(LoadOn(2026, 3, 10));
    SetCheck(Window(), IDC_CHECK_CHECK1, true);
    PostMessageA(Window(), WM_CLOSE, 0, 0);
    PumpUntil([&] { return !form->IsLoaded(); });
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_EQ(Stored("RemindDays"), "-1");

    // With Backup Now as well.
    Settings("2", nullptr);
    ASSERT_TRUE(LoadOn(2026, 3, 10));
    SetCheck(Window(), IDC_CHECK_CHECK1, true);
    Click(0);
    EXPECT_EQ(Stored("RemindDays"), "-1");
    EXPECT_EQ(launcher.Launched().size(), 1u);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(NudgeonReminder, BackupNowStartsAQuickBackupFromTheProgramFolder) {
    Settings("2", "20260301");
    ASSERT_TRUE(LoadOn(2026, 3, 10));
    Click(0);
    EXPECT_FALSE(form->IsLoaded());
    ASSERT_EQ(launcher.Launched().size(), 1u);
    const LaunchCall& call = launcher.Launched()[0];
    EXPECT_EQ(call.file, AppFolder() + "\\corvane.exe");
    EXPECT_EQ(call.parameters, "\\FX");
    EXPECT_EQ(call.folder, AppFolder());
    EXPECT_EQ(call.show, SW_SHOWNORMAL);
    EXPECT_EQ(Stored("RemindDays"), "2");

    // A start that fails is not reported; the window still closes.
    launcher.Fail(true);
    ASSERT_TRUE(LoadOn(2026, 3, 10));
    Click(0);
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_EQ(launcher.Launched().size(), 2u);
    EXPECT_TRUE(boxes.Shown().empty());
}

// Without a stored interval the old reminder file is read: field 2 of its
// field list is the interval (0 meaning 2 days), then the date.
TEST_F(NudgeonReminder, OldReminderFileWhenNoIntervalIsStored) {
    ASSERT_TRUE(testing::WriteLegacyReminderFile(LegacyFile(), "0", "20260301"));
    EXPECT_FALSE(LoadOn(2026, 3, 3));
    ASSERT_TRUE(LoadOn(2026, 3, 4));
    EXPECT_EQ(Label(), kPlural2);

    ASSERT_TRUE(testing::WriteLegacyReminderFile(LegacyFile(), "5", "20260301"));
    EXPECT_FALSE(LoadOn(2026, 3, 6));
    ASSERT_TRUE(LoadOn(2026, 3, 7));
    EXPECT_EQ(Label(), "You have not done a Backup of Outlook Express for at least 5 days. ");

    // "Do not ask again." goes into the settings, which win from then on.
    SetCheck(Window(), IDC_CHECK_CHECK1, true);
    Click(1);
    EXPECT_EQ(Stored("RemindDays"), "-1");
    EXPECT_FALSE(LoadOn(2026, 12, 7));

    // A stored interval is used even when the file says otherwise.
    Settings("3", "20260301");
    ASSERT_TRUE(testing::WriteLegacyReminderFile(LegacyFile(), "1", "20260301"));
    EXPECT_FALSE(LoadOn(2026, 3, 4));
    EXPECT_TRUE(LoadOn(2026, 3, 5));
    EXPECT_TRUE(boxes.Shown().empty());
}

// Neither a stored interval nor an old file: the 2 days the reminder dialog
// shows for a missing interval.
TEST_F(NudgeonReminder, TwoDaysWhenNoIntervalWasEverStored) {
    EXPECT_FALSE(LoadOn(2026, 12, 7)) << "no backup yet";
    Settings(nullptr, "20260301");
    EXPECT_FALSE(LoadOn(2026, 3, 3));
    ASSERT_TRUE(LoadOn(2026, 3, 4));
    EXPECT_EQ(Label(), kPlural2);
    EXPECT_EQ(Stored("RemindDays"), "<none>");
}

// An old file that is there decides, even when it cannot be used.
TEST_F(NudgeonReminder, NothingFromAnOldReminderFileItCannotUse) {
    Settings(nullptr, "20000101");
    std::string bytes = testing::LegacyReminderRecordBytes(testing::LegacyReminderFields("2"), "20260301");
    const std::string unusable[] = {
        "",
        testing::LegacyReminderRecordBytes(testing::LegacyReminderFields("2"), ""),
        bytes.substr(0, bytes.size() - 1),
        testing::LegacyReminderRecordBytes(testing::LegacyReminderFields("2"), "2026-3-1"),
    };
    for (const std::string& file : unusable) {
        ASSERT_TRUE(testing::WriteBinaryFile(LegacyFile(), file));
        EXPECT_FALSE(LoadOn(2026, 12, 7)) << file.size();
    }
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(Stored("RemindDays"), "<none>");
}

// Without a usable skein.dll the reminder cannot be worded: the user is told
// which file is at fault, once, and the program ends.
TEST_F(NudgeonReminder, WithoutTheFieldLibraryTellsWhichFileIsAtFault) {
    struct Case {
        std::string library;
        std::string says;
    };
    const Case cases[] = {
        {AppFolder() + "\\nowhere\\skein.dll", "is missing"},
        {AppFolder() + "\\skein_noexports.dll", "lacks a function"},
    };
    Settings("7", "20260301");
    for (const Case& c : cases) {
        VXStrings::SetLibraryPathForTesting(c.library);
        size_t before = boxes.Shown().size();
        EXPECT_FALSE(LoadOn(2026, 3, 20)) << c.library;
        EXPECT_FALSE(form->IsLoaded());
        ASSERT_EQ(boxes.Shown().size(), before + 1) << c.library;
        const MessageBoxCall& box = boxes.Shown().back();
        EXPECT_NE(box.text.find(c.library), std::string::npos) << box.text;
        EXPECT_NE(box.text.find(c.says), std::string::npos) << box.text;
        EXPECT_EQ(box.title, "Corvane");
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    }

    // The old reminder file needs the library too.
    Clean();
    ASSERT_TRUE(testing::WriteLegacyReminderFile(LegacyFile(), "2", "20260301"));
    size_t before = boxes.Shown().size();
    EXPECT_FALSE(LoadOn(2026, 3, 20));
    EXPECT_EQ(boxes.Shown().size(), before + 1);

    // Nothing due: nothing to say.
    Clean();
    Settings("7", "20260301");
    before = boxes.Shown().size();
    EXPECT_FALSE(LoadOn(2026, 3, 2));
    EXPECT_EQ(boxes.Shown().size(), before);
}

}  // namespace
}  // namespace corvane::nudgeon
