#include "download/safe_name.h"

#include <set>

#include "text/encoding.h"
#include "text/text.h"

namespace lecdl {

namespace {

bool IsForbidden(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
         c == '<' || c == '>' || c == '|';
}

// Bytes a GBK character takes in UTF-8 at most: every double-byte character lies in the BMP.
size_t Utf8Bytes(size_t gbkCharBytes) { return gbkCharBytes == 1 ? 1 : 3; }

// 2 for a lead and trail byte that can form a GBK character, else 1. Stricter than the text
// model's step on purpose: a stray lead byte must not carry a following "/" into the name.
size_t CharBytes(std::string_view text, size_t at) {
  if (at + 1 >= text.size()) return 1;
  const auto lead = static_cast<unsigned char>(text[at]);
  const auto trail = static_cast<unsigned char>(text[at + 1]);
  return (lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 1;
}

bool IsReservedDeviceName(std::string_view name) {
  const std::string base = LowerAscii(name.substr(0, name.find('.')));
  static const std::set<std::string> reserved = {
      "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4", "com5", "com6", "com7",
      "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
  return reserved.count(std::string(TrimSpaces(base))) > 0;
}

void DropTrailingDotsAndSpaces(std::string& name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
}

// Cuts to at most `limit` bytes once converted, keeping whole characters.
std::string CutToLimit(std::string_view name, size_t limit) {
  size_t used = 0;
  size_t at = 0;
  while (at < name.size()) {
    const size_t step = CharBytes(name, at);
    if (used + Utf8Bytes(step) > limit) break;
    used += Utf8Bytes(step);
    at += step;
  }
  return std::string(name.substr(0, at));
}

}  // namespace

std::string SafeName(std::string_view title) {
  std::string name;
  for (size_t at = 0; at < title.size();) {
    const size_t step = CharBytes(title, at);
    const auto c = static_cast<unsigned char>(title[at]);
    if (step == 2) {
      name.append(title.substr(at, 2));  // a trail byte may look like "\" or "|"; it is not one
    } else if (c == '.' && at + 1 < title.size() && title[at + 1] == '.') {
      while (at + 1 < title.size() && title[at + 1] == '.') ++at;
      name.push_back('_');
    } else {
      name.push_back(IsForbidden(c) ? '_' : static_cast<char>(c));
    }
    at += step;
  }
  name = CutToLimit(name, kMaxNameBytes);
  DropTrailingDotsAndSpaces(name);
  if (IsReservedDeviceName(name)) name.insert(0, "_");
  if (name.empty()) name = "_";
  return name;
}

std::vector<std::string> DistinctSafeNames(const std::vector<std::string>& titles) {
  std::vector<std::string> names;
  std::set<std::string> taken;  // lower-cased, as a case-insensitive file system compares
  for (const std::string& title : titles) {
    const std::string base = SafeName(title);
    std::string name = base;
    for (int n = 2; taken.count(LowerAscii(name)) > 0; ++n) {
      const std::string suffix = " (" + std::to_string(n) + ")";
      name = CutToLimit(base, kMaxNameBytes - suffix.size()) + suffix;
    }
    taken.insert(LowerAscii(name));
    names.push_back(name);
  }
  return names;
}

}  // namespace lecdl
