// Which Outlook Express store this run of the program works on: the version,
// the identity and the folders, found at start-up and read by the backup and
// the restore alike.
#pragma once

#include "corvane/environment/OEGenFcns.h"

#include <string>

namespace corvane {

struct StoreContext {
    bool bIsV5 = false;
    IdentityList Identities;  // IdentityIds, sIdentNames, iIdentCnt, iIdentDefNo, ..., IdentityName
    Oe4Store Oe4;             // Oe4MailFolder, Oe4NewsFolder, HasOe4News
    std::string Oe5StoreFolder;
    std::string MailFilesFolder;
    std::string AppFolder;
    std::string WindowsFolder;
    // The settings section of this store: "Parms" for version 4, the identity's id for version 5.
    std::string SettingsSection;
    std::string ControlFilePath;
    std::string ControlFileHeader;
    int IdentOption = 2;  // the identity rule
    std::string StartAs;  // the identity a restart asked for, used once
};

}  // namespace corvane
