// The old reminder file "brind.ctl" that nudgeon reads when corvane's settings
// hold no reminder interval: one record of two counted texts, each a 16-bit
// little-endian byte count and then the bytes, the field list first (fields
// separated by character 2, the interval in days in field 2) and the
// last-backup date "YYYYMMDD" second. Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace corvane::testing {

// The field list an old reminder wrote: the writer's name, then the days.
std::string LegacyReminderFields(std::string_view days);
// The record's bytes.
std::string LegacyReminderRecordBytes(std::string_view fieldList, std::string_view lastBackup);
// Writes `bytes` as the whole file; true when written.
bool WriteBinaryFile(const std::string& path, std::string_view bytes);
// Writes the record for an interval and a last-backup date.
bool WriteLegacyReminderFile(const std::string& path, std::string_view days, std::string_view lastBackup);

}  // namespace corvane::testing
