// What the restore tests share: an archive made by the real backup run, and
// the restore page opened on it as after the archive choice.
#pragma once

#include "corvane/main/frmMain_Restore.h"
#include "corvane/restore/RestoreRun.h"
#include "tests/main/BackupDriver.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace corvane::testing {

// The archive's bytes with one byte of an entry's data flipped: the entry
// whose name ends in `nameEnd`, found through the central directory (the
// local headers of a streamed archive hold no sizes).
inline std::string WithEntryDamaged(std::string bytes, const std::string& nameEnd) {
    auto number = [&bytes](size_t at, int size) {
        uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    const std::string central("PK\x01\x02", 4);
    for (size_t at = bytes.find(central); at != std::string::npos && at + 46 <= bytes.size();
         at = bytes.find(central, at + 4)) {
        std::string name = Lower(bytes.substr(at + 46, number(at + 28, 2)));
        if (name.size() < nameEnd.size() || name.compare(name.size() - nameEnd.size(), nameEnd.size(), Lower(nameEnd)))
            continue;
        size_t local = number(at + 42, 4);
        size_t data = local + 30 + number(local + 26, 2) + number(local + 28, 2);
        size_t target = data + number(at + 20, 4) / 2;
        if (target < bytes.size()) bytes[target] ^= 0x5A;
        return bytes;
    }
    ADD_FAILURE() << "no entry ending in " << nameEnd;
    return bytes;
}

class RestoreDriverTest : public BackupDriverTest {
protected:
    // A window showing the archive's items, as after the archive choice.
    void OpenArchive(int mode, const std::string& path) {
        window = std::make_unique<frmMain>(nullptr, "");
        ASSERT_TRUE(window->Create());
        session = &AttachRestore(*window);
        boxes.reset();  // the seam is released by the old one before the new one takes it
        boxes = std::make_unique<ScriptedMessageBoxes>();
        window->Restore.RestorePath = path;
        window->Restore.RestoreMode = static_cast<int16_t>(mode);
        window->OpenRestoreWizard();
        loaded = session->LoadArchive();
    }
    // The mark click on the archive item of store file `name`.
    void Click(const std::string& name) {
        ASSERT_GT(Row(name), 0) << name;
        window->tlMail.SetSelected(Row(name));
        session->tlMail_MarkClick();
    }

    std::map<std::string, std::string> original;
    RestoreSession* session = nullptr;
    bool loaded = false;
};

}  // namespace corvane::testing
