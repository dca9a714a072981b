#include "testsupport/portable/LegacyReminderFile.h"

#include <filesystem>
#include <fstream>

namespace corvane::testing {
namespace {

void AppendCounted(std::string& record, std::string_view text) {
    record.push_back(static_cast<char>(text.size() & 0xFF));
    record.push_back(static_cast<char>((text.size() >> 8) & 0xFF));
    record.append(text);
}

}  // namespace

std::string LegacyReminderFields(std::string_view days) { return "Corvane\x02" + std::string(days); }

std::string LegacyReminderRecordBytes(std::string_view fieldList, std::string_view lastBackup) {
    std::string record;
    AppendCounted(record, fieldList);
    AppendCounted(record, lastBackup);
    return record;
}

bool WriteBinaryFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool WriteLegacyReminderFile(const std::string& path, std::string_view days, std::string_view lastBackup) {
    return WriteBinaryFile(path, LegacyReminderRecordBytes(LegacyReminderFields(days), lastBackup));
}

}  // namespace corvane::testing
