#include "encode.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace demo {
namespace {

void AppendEscape(std::string& out, unsigned char c) {
  static const char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[c >> 4];
  out += kHex[c & 0x0F];
}

bool IsPlain(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
         c == '.';
}

bool IsUnsafe(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == '"' || c == '\'' || c == '<' || c == '>' || c == '&' ||
         c == '%';
}

}  // namespace

std::string PercentEncodeAll(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 3);
  for (unsigned char c : utf8) {
    if (IsPlain(c)) {
      out += static_cast<char>(c);
    } else {
      AppendEscape(out, c);
    }
  }
  return out;
}

std::string PercentEncodeUnsafe(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (unsigned char c : utf8) {
    if (IsUnsafe(c)) {
      AppendEscape(out, c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
  std::string out;
  std::vector<char> buf(utf8.size() * 2 + 16);
  char* in = const_cast<char*>(utf8.data());
  size_t in_left = utf8.size();
  while (in_left > 0) {
    char* dst = buf.data();
    size_t dst_left = buf.size();
    size_t r = iconv(cd, &in, &in_left, &dst, &dst_left);
    out.append(buf.data(), dst - buf.data());
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      // Not representable or not UTF-8: one "?" for the offending byte run.
      out += '?';
      ++in;
      --in_left;
      while (in_left > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
        ++in;
        --in_left;
      }
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace demo
