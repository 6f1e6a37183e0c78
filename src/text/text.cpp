#include "text/text.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "text/gbk_step.h"

namespace lecdl {

namespace {

bool MatchesAt(std::string_view text, size_t at, std::string_view sub, bool ignoreCase) {
  if (text.size() - at < sub.size()) return false;
  if (!ignoreCase) return std::memcmp(text.data() + at, sub.data(), sub.size()) == 0;
  for (size_t i = 0; i < sub.size(); ++i) {
    if (AsciiLower(text[at + i]) != AsciiLower(sub[i])) return false;
  }
  return true;
}

// Byte offset of the first match at a character boundary at or after `from`, or npos.
size_t FindFrom(std::string_view text, std::string_view sub, size_t from, bool ignoreCase) {
  if (sub.size() > text.size()) return std::string_view::npos;
  const size_t last = text.size() - sub.size();
  const unsigned char first = static_cast<unsigned char>(ignoreCase ? AsciiLower(sub[0]) : sub[0]);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t i = from; i <= last; i += CharLength(text, i)) {
    const unsigned char b = ignoreCase ? static_cast<unsigned char>(AsciiLower(static_cast<char>(bytes[i]))) : bytes[i];
    if (b == first && MatchesAt(text, i, sub, ignoreCase)) return i;
  }
  return std::string_view::npos;
}

size_t StartOffset(int start) { return start > 1 ? static_cast<size_t>(start) - 1 : 0; }

// Length of the space character (0x20 or 0xA1 0xA1) at `at`, 0 when there is none.
size_t SpaceLength(std::string_view text, size_t at) {
  if (text[at] == ' ') return 1;
  if (CharLength(text, at) == 2 && text[at] == '\xA1' && text[at + 1] == '\xA1') return 2;
  return 0;
}

}  // namespace

int FindText(std::string_view text, std::string_view sub, int start, bool ignoreCase) {
  const size_t from = StartOffset(start);
  if (from >= text.size()) return -1;
  if (sub.empty()) return 1;
  const size_t at = FindFrom(text, sub, from, ignoreCase);
  return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

int FindTextReverse(std::string_view text, std::string_view sub, bool ignoreCase) {
  if (sub.empty()) return -1;
  // Character boundaries are only known walking forwards, so keep the last forward match.
  int found = -1;
  for (size_t at = FindFrom(text, sub, 0, ignoreCase); at != std::string_view::npos;
       at = FindFrom(text, sub, at + CharLength(text, at), ignoreCase)) {
    found = static_cast<int>(at) + 1;
  }
  return found;
}

std::string MidText(std::string_view text, int position, int count) {
  if (position < 1 || count <= 0 || static_cast<size_t>(position) > text.size()) return {};
  return std::string(text.substr(static_cast<size_t>(position) - 1, static_cast<size_t>(count)));
}

std::string LeftText(std::string_view text, int n) {
  if (n <= 0) return {};
  return std::string(text.substr(0, static_cast<size_t>(n)));
}

std::string RightText(std::string_view text, int n) {
  if (n <= 0) return {};
  const size_t keep = std::min(text.size(), static_cast<size_t>(n));
  return std::string(text.substr(text.size() - keep));
}

std::string TrimSpaces(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size()) {
    const size_t space = SpaceLength(text, begin);
    if (space == 0) break;
    begin += space;
  }
  // The trailing run is found walking forwards, as only then the character boundaries are known.
  size_t end = begin;
  for (size_t i = begin; i < text.size();) {
    const size_t step = CharLength(text, i);
    if (SpaceLength(text, i) == 0) end = i + step;
    i += step;
  }
  return std::string(text.substr(begin, end - begin));
}

std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement, int start,
                        int count, bool caseSensitive) {
  const size_t from = StartOffset(start);
  if (text.empty() || find.empty() || count == 0 || from >= text.size()) return std::string(text);
  std::string out(text.substr(0, from));
  out.reserve(text.size());
  size_t copied = from;
  int made = 0;
  while (count < 0 || made < count) {
    const size_t at = FindFrom(text, find, copied, !caseSensitive);
    if (at == std::string_view::npos) break;
    out.append(text.substr(copied, at - copied));
    out.append(replacement);
    copied = at + find.size();
    ++made;
  }
  out.append(text.substr(copied));
  return out;
}

TextList SplitText(std::string_view text, std::string_view delimiter) {
  TextList pieces;
  if (text.empty()) return pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  size_t from = 0;
  for (size_t at = FindFrom(text, delimiter, 0, false); at != std::string_view::npos;
       at = FindFrom(text, delimiter, from, false)) {
    pieces.emplace_back(text.substr(from, at - from));
    from = at + delimiter.size();
  }
  if (from < text.size()) pieces.emplace_back(text.substr(from));
  return pieces;
}

int ToInteger(std::string_view text) {
  const std::string terminated(text.substr(0, text.find('\0')));
  const long long value = std::strtoll(terminated.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

}  // namespace lecdl
