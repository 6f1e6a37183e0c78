// An independent, minimal reader of the demo pages: it cuts text the way the
// scraper does (GBK character steps on raw UTF-8 page bytes, percent decoding
// of the pieces), so the tests see what a correct scraper would extract.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cuts {

inline constexpr std::size_t npos = std::string_view::npos;

// Finds `sub` from byte `from`, trying matches only where a GBK reader's
// character starts: a byte with the high bit set takes the next byte with it.
std::size_t GbkFind(std::string_view text, std::string_view sub, std::size_t from = 0,
                    bool ignore_case = false);

// First `left`, then the first `right` after it; "" when either is missing.
// RawBetween steps as a GBK reader over raw page bytes; Between is for decoded
// pieces, kept here as UTF-8, where a plain byte search gives the same cuts as
// a GBK reader gets on their GBK form.
std::string RawBetween(std::string_view text, std::string_view left, std::string_view right);
std::string Between(std::string_view text, std::string_view left, std::string_view right);

// Every piece between `left` and the next `right`, trimmed of spaces; the scan
// ends at the first empty piece. Letter case ignored.
std::vector<std::string> BetweenAll(std::string_view text, std::string_view left,
                                    std::string_view right);

// Undoes "%XX" escapes; the bytes stay UTF-8.
std::string PercentDecode(std::string_view text);

std::string TrimSpaces(std::string_view text);

// Replaces at most `limit` occurrences in decoded text, letter case ignored.
std::string ReplaceUpTo(std::string_view text, std::string_view find, std::string_view with,
                        int limit);

std::vector<std::string> Split(std::string_view text, std::string_view delimiter);

}  // namespace cuts
