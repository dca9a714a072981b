#include "corvane/environment/NTGetSid.h"

#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/SidText.h"

#include <windows.h>
#include <lm.h>

#include <vector>

namespace corvane {
namespace {

std::string LogonName() {
    char buffer[256] = {};
    DWORD length = 255;
    if (!GetUserNameA(buffer, &length) || length < 1) return "";
    return std::string(buffer);  // up to the first NUL
}

// The workstation's domain or workgroup.
std::string WorkstationDomain() {
    LPBYTE info = nullptr;
    if (NetWkstaGetInfo(nullptr, 100, &info) != NERR_Success || info == nullptr) return "";
    std::string domain = Narrow(reinterpret_cast<WKSTA_INFO_100*>(info)->wki100_langroup);
    NetApiBufferFree(info);
    return domain;
}

std::string DomainController(const std::string& domain) {
    LPBYTE name = nullptr;
    std::wstring wideDomain = Widen(domain);
    NET_API_STATUS status = NetGetDCName(nullptr, wideDomain.empty() ? nullptr : wideDomain.c_str(), &name);
    if (status != NERR_Success || name == nullptr) return "";
    std::string controller = Narrow(reinterpret_cast<const wchar_t*>(name));
    NetApiBufferFree(name);
    return controller;
}

std::string SidToText(PSID sid) {
    const SID_IDENTIFIER_AUTHORITY* authority = GetSidIdentifierAuthority(sid);
    uint8_t bytes[6];
    for (int i = 0; i < 6; ++i) bytes[i] = authority->Value[i];
    std::vector<uint32_t> subs;
    UCHAR count = *GetSidSubAuthorityCount(sid);
    for (UCHAR i = 0; i < count; ++i) subs.push_back(*GetSidSubAuthority(sid, i));
    return FormatSidText(IdentifierAuthorityValue(bytes), subs);
}

}  // namespace

std::string UserSidText() {
    std::string user = LogonName();
    std::string controller = DomainController(WorkstationDomain());
    const char* system = controller.empty() ? nullptr : controller.c_str();
    DWORD sidSize = 0, domainSize = 0;
    SID_NAME_USE use;
    LookupAccountNameA(system, user.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use);
    if (sidSize == 0) return "";
    std::vector<BYTE> sid(sidSize);
    std::vector<char> domain(domainSize + 1);
    if (!LookupAccountNameA(system, user.c_str(), sid.data(), &sidSize, domain.data(), &domainSize, &use)) return "";
    if (!IsValidSid(sid.data())) return "";
    return SidToText(sid.data());
}

}  // namespace corvane
