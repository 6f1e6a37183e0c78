#pragma once

// Cutting pieces of page text between markers: the scraper never parses HTML.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/text.h"

namespace lecdl {

// "#引号" in GBK. Inside a TextBetween marker it stands for one double quote.
inline constexpr std::string_view QuoteMarker = "#\xD2\xFD\xBA\xC5";

// The text between the first `left` at or after `start` and the next `right` after it;
// "" when either is missing. The piece is not trimmed.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right, int start = 1,
                        bool ignoreCase = false);

struct BetweenAllOptions {
  bool caseSensitive = false;  // note: ignoring case is the default here, unlike TextBetween
  int maxLength = 0;           // > 0: a longer piece ends the scan
  std::string prefix;
  std::string suffix;
  bool withLeft = false;
  bool withRight = false;
  int start = 1;
};

// Every trimmed piece between `left` and `right`, in order, into `pieces` (emptied first). The
// scan stops at the first empty or over-long piece. Returns the number of pieces.
int TextBetweenAll(std::string_view text, std::string_view left, std::string_view right, TextList& pieces,
                   const BetweenAllOptions& options = {});

using Replacement = std::pair<std::string, std::string>;

// Applies ReplaceText for each (find, replacement) pair in turn (up to five are used by callers),
// each with the same start, case mode and, when given, at most `count` replacements.
std::string ReplaceMany(std::string_view text, std::optional<int> count, int start, bool caseSensitive,
                        const std::vector<Replacement>& pairs);

}  // namespace lecdl
