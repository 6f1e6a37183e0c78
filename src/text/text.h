#pragma once

// GBK text primitives. A text is a std::string of GBK bytes: lengths count bytes, positions are
// 1-based and -1 means "not found". Searches, replacements, splits and trims step over a
// double-byte character as a whole (a byte >= 0x80 leads a two-byte character; a lead byte at
// the very end is the end of the text), so a match never starts on a trail byte. Cutting by
// position (MidText, LeftText, RightText) counts plain bytes.
//
// Nothing here fails: out-of-range arguments give "" or -1.

#include <string>
#include <string_view>
#include <vector>

namespace lecdl {

using TextList = std::vector<std::string>;

// First occurrence of `sub` starting at or after `start` (a start below 1 counts as 1). An empty
// `sub` gives 1 when a byte lies at or after `start`, else -1.
int FindText(std::string_view text, std::string_view sub, int start = 1, bool ignoreCase = false);

// Last occurrence of `sub`, or -1 (also for an empty `sub`).
int FindTextReverse(std::string_view text, std::string_view sub, bool ignoreCase = false);

// At most `count` bytes from `position`; "" when position < 1, position > length or count <= 0.
std::string MidText(std::string_view text, int position, int count);
std::string LeftText(std::string_view text, int n);
std::string RightText(std::string_view text, int n);

// Removes the leading and trailing runs of spaces (0x20) and full-width spaces (0xA1 0xA1).
std::string TrimSpaces(std::string_view text);

inline constexpr int Unlimited = -1;

// Replaces occurrences of `find` from `start` on, left to right, without overlaps, at most
// `count` times (Unlimited: all). Bytes before `start` are copied unchanged.
std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement = "",
                        int start = 1, int count = Unlimited, bool caseSensitive = true);

// Pieces between exact occurrences of `delimiter`. Empty pieces between delimiters and a leading
// empty piece stay; an empty rest after the last delimiter is dropped. "" gives no pieces; an
// empty delimiter gives the whole text as one piece.
TextList SplitText(std::string_view text, std::string_view delimiter);

// The decimal number at the start of a text as the C library reads it (leading blanks, a sign),
// clamped to int; 0 when there are no digits.
int ToInteger(std::string_view text);

// The text with ASCII letters in lower case; every other byte unchanged.
std::string LowerAscii(std::string_view text);

}  // namespace lecdl
