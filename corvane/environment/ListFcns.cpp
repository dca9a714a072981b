#include "corvane/environment/ListFcns.h"

namespace corvane {

char PrimaryDelimiter() { return '\x02'; }

char SecondaryDelimiter() { return '\x01'; }

int32_t ListCount(const std::string& list, char delim) {
  if (list.empty()) return 0;
  return VXStrings::DS_CountFields(list, std::string(1, delim)).value();
}

std::string ListGet(const std::string& list, char delim, int32_t n) {
  return VXStrings::DS_GetField(list, std::string(1, delim), n).value();
}

std::string ListPut(const std::string& list, char delim, int32_t n, const std::string& value) {
  if (n == -1) n = ListCount(list, delim) + 1;
  auto result = VXStrings::DS_PutField(list, std::string(1, delim), n, value);
  // A library that cannot be used must not turn the caller's list into "".
  return result.ok() ? result.value() : list;
}

int32_t ListFind(const std::string& list, const std::string& value) {
  return VXStrings::DS_FindField(list, std::string(1, SecondaryDelimiter()), 1, value, 1).value();
}

bool SkeinAvailable(SkeinStatus* why) {
  SkeinStatus status = VXStrings::BindAll();
  if (why != nullptr) *why = status;
  return status == SkeinStatus::Ok;
}

}  // namespace corvane
