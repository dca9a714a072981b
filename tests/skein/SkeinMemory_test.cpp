// Memory running out inside skein.dll: the exports return their failure
// value and leave the caller's strings alone; no exception leaves the library.
#include "corvane/environment/VXStrings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstring>

using namespace corvane;
namespace vx = corvane::VXStrings;

namespace {

// Points the library's import of the C library's malloc at a function that
// fails every request of `starvedSize` bytes, as when memory runs out for one
// large block; nothing outside the library is touched. (Failing every request
// would also fail the runtime's own lazy set-up of the lock that guards the
// memory kept for exceptions, which no program survives.)
class StarvedMalloc {
public:
    using Malloc = void*(__cdecl*)(size_t);

    explicit StarvedMalloc(HMODULE module) {
        auto base = reinterpret_cast<unsigned char*>(module);
        auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        auto descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
        for (; descriptor->Name != 0; ++descriptor) {
            if (lstrcmpiA(reinterpret_cast<const char*>(base + descriptor->Name), "msvcrt.dll") != 0) continue;
            auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
            auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
            for (; names->u1.AddressOfData != 0; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                auto byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "malloc") == 0)
                    slot_ = &slots->u1.Function;
            }
        }
        if (slot_ == nullptr) return;
        original_ = reinterpret_cast<Malloc>(*slot_);
        Patch(reinterpret_cast<decltype(*slot_ + 0)>(&Failing));
    }
    ~StarvedMalloc() {
        if (slot_ != nullptr) Patch(reinterpret_cast<decltype(*slot_ + 0)>(original_));
        starvedSize = 0;
    }
    bool Hooked() const { return slot_ != nullptr; }

    static inline std::atomic<size_t> starvedSize{0};

private:
    template <class T>
    void Patch(T value) {
        DWORD old = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &old);
        *slot_ = value;
        VirtualProtect(slot_, sizeof *slot_, old, &old);
    }
    static void* __cdecl Failing(size_t size) { return size == starvedSize ? nullptr : original_(size); }

    decltype(IMAGE_THUNK_DATA::u1.Function)* slot_ = nullptr;
    static inline Malloc original_ = nullptr;
};

TEST(SkeinMemory, FetchThatRunsOutOfMemoryReturnsMinusThree) {
    vx::SetLibraryPathForTesting("");
    ASSERT_EQ(vx::BindAll(), SkeinStatus::Ok);
    HMODULE library = GetModuleHandleA(vx::LibraryPath().c_str());
    ASSERT_NE(library, nullptr);
    const char* layout = "&$";
    std::string longName = "Outlook Express mail folder Inbox";  // too long for a string's inner buffer
    std::string record = vx::SS_StoreItem("", layout, 2, "$", longName).value();

    StarvedMalloc starved(library);
    ASSERT_TRUE(starved.Hooked());
    std::string target = "kept";
    StarvedMalloc::starvedSize = longName.size() + 1;  // the library's copy of the item
    auto status = vx::SS_FetchItem(record, layout, 2, "$", target);
    StarvedMalloc::starvedSize = 0;
    ASSERT_TRUE(status.ok());
    EXPECT_EQ(status.value(), -3);
    EXPECT_EQ(target, "kept");

    EXPECT_EQ(vx::SS_FetchItem(record, layout, 2, "$", target).value(), 0);
    EXPECT_EQ(target, longName);
}

}  // namespace
