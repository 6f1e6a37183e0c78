// The caller-held cookie jar: received cookies replace older ones of the same name.

#include "net/cookies.h"

#include <algorithm>

#include "text/text.h"

namespace lecdl {

namespace {

constexpr std::string_view kFullWidthSpace = "\xA1\xA1";
constexpr std::string_view kDeletedMark = "=deleted";

std::string WithoutSpaces(std::string_view text) {
  return ReplaceText(ReplaceText(text, " ", ""), kFullWidthSpace, "");
}

// Joins the entries, each followed by "; ", then drops the final "; ".
std::string JoinEntries(const TextList& entries) {
  std::string joined;
  for (const std::string& entry : entries) {
    joined += entry;
    joined += "; ";
  }
  return LeftText(joined, static_cast<int>(joined.size()) - 2);
}

bool HasName(const TextList& entries, const std::string& name) {
  return std::any_of(entries.begin(), entries.end(),
                     [&](const std::string& entry) { return CookieName(entry) == name; });
}

}  // namespace

std::string CookieName(std::string_view entry) {
  const int equals = FindText(entry, "=");
  if (equals == -1) return std::string(entry);
  return TrimSpaces(LeftText(entry, equals - 1));
}

std::string MergeCookies(std::string& jar, std::string& received) {
  jar = WithoutSpaces(jar);
  received = WithoutSpaces(received);

  TextList merged = SplitText(received, ";");
  for (const std::string& old : SplitText(jar, ";")) {
    if (!HasName(merged, CookieName(old))) merged.push_back(old);
  }

  TextList kept;
  for (const std::string& entry : merged) {
    if (RightText(entry, static_cast<int>(kDeletedMark.size())) != kDeletedMark) kept.push_back(entry);
  }

  // Duplicates are looked for among the pieces of the joined jar text, so an empty last entry
  // does not survive the split.
  TextList unique;
  for (const std::string& entry : SplitText(JoinEntries(kept), "; ")) {
    if (std::find(unique.begin(), unique.end(), entry) == unique.end()) unique.push_back(entry);
  }
  jar = JoinEntries(unique);
  return jar;
}

}  // namespace lecdl
