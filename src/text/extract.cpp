#include "text/extract.h"

namespace lecdl {

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right, int start,
                        bool ignoreCase) {
  const std::string leftMarker = ReplaceText(left, QuoteMarker, "\"");
  const std::string rightMarker = ReplaceText(right, QuoteMarker, "\"");
  int p = FindText(text, leftMarker, start, ignoreCase);
  if (p == -1) return {};
  p += static_cast<int>(leftMarker.size());
  const int q = FindText(text, rightMarker, p, ignoreCase);
  if (q == -1) return {};
  return MidText(text, p, q - p);
}

int TextBetweenAll(std::string_view text, std::string_view left, std::string_view right, TextList& pieces,
                   const BetweenAllOptions& options) {
  pieces.clear();
  const bool ignoreCase = !options.caseSensitive;
  int pos = options.start;
  int previousRight = 0;
  for (;;) {
    const int f = FindText(text, left, pos, ignoreCase);
    if (f < 1) break;
    const int after = f + static_cast<int>(left.size());
    const int g = FindText(text, right, after, ignoreCase);
    // An empty left marker is "found" at position 1 whatever the start: the scan would repeat
    // the same piece forever, so a scan that does not move forward ends.
    if (g < 1 || g <= previousRight) break;
    std::string piece = TrimSpaces(MidText(text, after, g - after));
    if (piece.empty()) break;
    if (options.maxLength > 0 && piece.size() > static_cast<size_t>(options.maxLength)) break;
    std::string entry;
    if (options.withLeft) entry.append(left);
    entry.append(options.prefix).append(piece).append(options.suffix);
    if (options.withRight) entry.append(right);
    pieces.push_back(std::move(entry));
    pos = g;
    previousRight = g;
  }
  return static_cast<int>(pieces.size());
}

std::string ReplaceMany(std::string_view text, std::optional<int> count, int start, bool caseSensitive,
                        const std::vector<Replacement>& pairs) {
  if (start == 0) start = 1;
  std::string result(text);
  for (const auto& [find, replacement] : pairs) {
    if (find.empty()) continue;
    result = ReplaceText(result, find, replacement, start, count.value_or(Unlimited), caseSensitive);
  }
  return result;
}

}  // namespace lecdl
