#include "cuts.h"

namespace cuts {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchAt(std::string_view text, std::size_t at, std::string_view sub, bool ignore_case) {
  if (at + sub.size() > text.size()) return false;
  for (std::size_t i = 0; i < sub.size(); ++i) {
    char a = text[at + i];
    char b = sub[i];
    if (ignore_case ? Lower(a) != Lower(b) : a != b) return false;
  }
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::size_t GbkFind(std::string_view text, std::string_view sub, std::size_t from,
                    bool ignore_case) {
  for (std::size_t at = from; at < text.size();) {
    if (MatchAt(text, at, sub, ignore_case)) return at;
    at += (static_cast<unsigned char>(text[at]) & 0x80) ? 2 : 1;
  }
  return npos;
}

std::string RawBetween(std::string_view text, std::string_view left, std::string_view right) {
  std::size_t p = GbkFind(text, left);
  if (p == npos) return "";
  p += left.size();
  std::size_t q = GbkFind(text, right, p);
  if (q == npos) return "";
  return std::string(text.substr(p, q - p));
}

std::string Between(std::string_view text, std::string_view left, std::string_view right) {
  std::size_t p = text.find(left);
  if (p == npos) return "";
  p += left.size();
  std::size_t q = text.find(right, p);
  if (q == npos) return "";
  return std::string(text.substr(p, q - p));
}

std::vector<std::string> BetweenAll(std::string_view text, std::string_view left,
                                    std::string_view right) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  for (;;) {
    std::size_t f = GbkFind(text, left, pos, true);
    if (f == npos) break;
    std::size_t after = f + left.size();
    std::size_t g = GbkFind(text, right, after, true);
    if (g == npos) break;
    std::string piece = TrimSpaces(text.substr(after, g - after));
    if (piece.empty()) break;
    out.push_back(piece);
    pos = g;
  }
  return out;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      char c = static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      if (c != '\0') out += c;
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

std::string ReplaceUpTo(std::string_view text, std::string_view find, std::string_view with,
                        int limit) {
  std::string out;
  std::size_t at = 0;
  for (int done = 0; done < limit;) {
    std::size_t hit = npos;
    for (std::size_t i = at; i + find.size() <= text.size(); ++i) {
      bool same = true;
      for (std::size_t k = 0; k < find.size() && same; ++k) same = Lower(text[i + k]) == Lower(find[k]);
      if (same) {
        hit = i;
        break;
      }
    }
    if (hit == npos) break;
    out.append(text.substr(at, hit - at));
    out.append(with);
    at = hit + find.size();
    ++done;
  }
  out.append(text.substr(at));
  return out;
}

std::vector<std::string> Split(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> out;
  std::size_t at = 0;
  for (std::size_t hit; (hit = text.find(delimiter, at)) != npos; at = hit + delimiter.size()) {
    out.emplace_back(text.substr(at, hit - at));
  }
  if (at < text.size()) out.emplace_back(text.substr(at));
  return out;
}

}  // namespace cuts
