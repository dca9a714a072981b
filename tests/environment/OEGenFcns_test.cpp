#include "corvane/environment/NTGetSid.h"
#include "corvane/environment/OEGenFcns.h"
#include "corvane/environment/portable/ListFcns.h"
#include "testsupport/OeTestSupport.h"

using namespace corvane;
using namespace corvane::testing;

namespace {
const std::string kIdA = "{11111111-AAAA-4000-8000-000000000001}";
const std::string kIdB = "{22222222-BBBB-4000-8000-000000000002}";
}  // namespace

using Discovery = OeRegistryTest;

TEST_F(Discovery, VersionFromDllPathOrClsid) {
    EXPECT_FALSE(DecideVersion().found);
    oe.RegisterClsid("%ProgramFiles%\\Outlook Express\\MSOE.DLL");
    EXPECT_TRUE(DecideVersion().found);
    EXPECT_TRUE(DecideVersion().isV5);
    // DLLPath wins over the CLSID entry.
    oe.RegisterProgram(kOeProgramPath4);
    EXPECT_TRUE(DecideVersion().found);
    EXPECT_FALSE(DecideVersion().isV5);
    oe.RegisterProgram(kOeProgramPath5);
    EXPECT_TRUE(DecideVersion().isV5);
}

TEST_F(Discovery, IdentitiesDefaultAndLast) {
    IdentityList none;
    ListIdentities(none);
    EXPECT_EQ(none.iIdentCnt, 0);
    oe.MakeEmptyIdentitiesKey();
    ListIdentities(none);
    EXPECT_EQ(none.iIdentCnt, 0);
    EXPECT_EQ(none.IdentityIds, std::string(1, '\0'));

    oe.AddIdentity(kIdA, "Home: mail", "C:\\A");
    oe.AddIdentity(kIdB, "\x01", "C:\\B");  // no readable name
    oe.SetDefaultIdentity(kIdB);
    oe.SetLastIdentity("{not-there}");
    IdentityList list;
    ListIdentities(list);
    ASSERT_EQ(list.iIdentCnt, 2);
    EXPECT_EQ(list.IdentityIds, kIdA + '\0' + kIdB + '\0' + '\0');
    EXPECT_EQ(NulListEntry(list.sIdentNames, 1), "Home: mail");
    EXPECT_EQ(NulListEntry(list.sIdentNames, 2), "");
    FindDefaultAndLastIdentity(list);
    EXPECT_EQ(list.iIdentDefNo, 2);
    EXPECT_EQ(list.iIdentLastNo, 1);  // an unknown id counts as identity 1
}

TEST_F(Discovery, ChoiceByStartAsRuleAndPrompt) {
    oe.AddIdentity(kIdA, "Home: mail", "C:\\A");
    oe.AddIdentity(kIdB, "Work.2", "C:\\B");
    oe.SetDefaultIdentity(kIdA);
    oe.SetLastIdentity(kIdB);
    IdentityList list;
    ListIdentities(list);
    int prompts = 0;
    auto prompt = [&prompts](IdentityList& identities) {
        ++prompts;
        identities.iIdentDefNo = 2;
    };
    ChooseIdentity(list, "", 2, prompt);
    EXPECT_EQ(list.IdentityId, kIdA);
    EXPECT_EQ(list.IdentityName, "Home mail");
    ChooseIdentity(list, "", 3, prompt);
    EXPECT_EQ(list.IdentityName, "Work2");
    ChooseIdentity(list, "", 4, prompt);
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(list.IdentityId, kIdB);
    // A start-as id overrides the rule, and an id no longer present means identity 1.
    ChooseIdentity(list, kIdB, 4, prompt);
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(list.IdentityId, kIdB);
    ChooseIdentity(list, "{gone}", 3, prompt);
    EXPECT_EQ(list.IdentityId, kIdA);
}

TEST_F(Discovery, Version5StoreFolderPlaceholders) {
    oe.AddIdentity(kIdA, "A", "%SystemDrive%\\Data\\OE");
    oe.AddIdentity(kIdB, "B", "%SystemRoot%\\Store\\");
    EXPECT_EQ(FindVersion5StoreFolder(kIdA, "D:\\WINDOWS"), "D:\\Data\\OE\\");
    EXPECT_EQ(FindVersion5StoreFolder(kIdB, "C:\\WINNT"), "C:\\WINNT\\Store\\");
    EXPECT_EQ(FindVersion5StoreFolder("{none}", "C:\\WINNT"), "");
}

TEST_F(Discovery, UserProfileThroughTheAccountSid) {
    std::string sid = UserSidText();
    ASSERT_EQ(sid.rfind("S-1-", 0), 0u) << sid;
    oe.SetProfileImagePath(sid, "%SystemRoot%\\Profiles\\user1");
    oe.AddIdentity(kIdA, "A", "%UserProfile%\\Application Data\\Identities\\" + kIdA + "\\Microsoft\\Outlook Express");
    EXPECT_EQ(FindVersion5StoreFolder(kIdA, "C:\\WINNT"),
              "C:\\WINNT\\Profiles\\user1\\Application Data\\Identities\\" + kIdA + "\\Microsoft\\Outlook Express\\");
    // Not the first component: left alone.
    EXPECT_EQ(ExpandUserProfile("C:\\%UserProfile%\\", "C:\\WINNT"), "C:\\%UserProfile%\\");
}

TEST_F(Discovery, Version4StoreNeedsItsMailFolder) {
    Oe4Store store;
    EXPECT_FALSE(FindOe4Store("C:\\WINDOWS", store));
    std::string root = FreshTestFolder("oe4");
    oe.SetVersion4StoreRoot(root + "\\");
    EXPECT_FALSE(FindOe4Store("C:\\WINDOWS", store));
    EXPECT_EQ(store.Oe4MailFolder, "");
    CreateDirectoryA((root + "\\Mail").c_str(), nullptr);
    EXPECT_TRUE(FindOe4Store("C:\\WINDOWS", store));
    EXPECT_EQ(store.Oe4MailFolder, root + "\\Mail\\");
    EXPECT_EQ(store.HasOe4News, 0);
    CreateDirectoryA((root + "\\News").c_str(), nullptr);
    FindOe4Store("C:\\WINDOWS", store);
    EXPECT_EQ(store.Oe4NewsFolder, root + "\\News\\");
    EXPECT_EQ(store.HasOe4News, static_cast<int32_t>(store.Oe4NewsFolder.size()));
}
