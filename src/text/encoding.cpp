#include "text/encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace lecdl {

namespace {

std::string IconvName(int codePage) {
  if (codePage == CodePageUtf8) return "UTF-8";
  if (codePage == CodePageGb18030) return "GB18030";
  return "CP" + std::to_string(codePage);
}

// One iconv descriptor for the length of a conversion.
class Converter {
 public:
  Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts `in`; at a sequence the source or target cannot take, appends `replacement` and
  // skips `skip(in, at)` input bytes, so that conversion never fails.
  template <typename Skip>
  std::string Run(std::string_view in, std::string_view replacement, Skip skip) {
    std::string out;
    char buffer[4096];
    size_t at = 0;
    while (at < in.size()) {
      char* src = const_cast<char*>(in.data() + at);
      size_t srcLeft = in.size() - at;
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      const size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      const int error = errno;
      out.append(buffer, static_cast<size_t>(dst - buffer));
      at = static_cast<size_t>(src - in.data());
      if (rc != static_cast<size_t>(-1) || error == E2BIG) continue;
      out.append(replacement);
      // An incomplete sequence can only be at the end of the input: it is one bad character.
      at = error == EINVAL ? in.size() : at + skip(in, at);
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset the shift state after a bad sequence
    }
    return out;
  }

 private:
  iconv_t cd_;
};

std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string AsUtf16Bytes(std::u16string_view wide) {
  std::string bytes;
  bytes.reserve(wide.size() * 2);
  for (char16_t unit : wide) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::u16string CodePageToWide(std::string_view text, int codePage) {
  text = UpToZero(text);
  Converter converter("UTF-16LE", IconvName(codePage));
  if (text.empty() || !converter.ok()) return {};
  // A lead and trail byte that form no character of the code page are one bad character, as
  // the platform's conversion counts them; anything else bad is one byte.
  const bool doubleByte = codePage == CodePageGbk;
  const std::string bytes = converter.Run(text, "\xFD\xFF", [doubleByte](std::string_view in, size_t at) -> size_t {
    if (!doubleByte || at + 1 >= in.size()) return 1;
    const auto lead = static_cast<unsigned char>(in[at]);
    const auto trail = static_cast<unsigned char>(in[at + 1]);
    return (lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 1;
  });
  std::u16string wide(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return wide;
}

std::string WideToCodePage(std::u16string_view wide, int codePage) {
  wide = wide.substr(0, wide.find(u'\0'));
  Converter converter(IconvName(codePage), "UTF-16LE");
  if (wide.empty() || !converter.ok()) return {};
  const std::string bytes = AsUtf16Bytes(wide);
  // Skip a whole surrogate pair when the target lacks its character, a single unit otherwise.
  return converter.Run(bytes, "?", [](std::string_view in, size_t at) -> size_t {
    if (in.size() - at < 4) return std::min<size_t>(2, in.size() - at);
    const unsigned unit = static_cast<unsigned char>(in[at]) | (static_cast<unsigned char>(in[at + 1]) << 8);
    const unsigned next = static_cast<unsigned char>(in[at + 2]) | (static_cast<unsigned char>(in[at + 3]) << 8);
    return IsHighSurrogate(unit) && IsLowSurrogate(next) ? 4 : 2;
  });
}

std::string GbkToUtf8(std::string_view gbk) { return WideToCodePage(CodePageToWide(gbk, CodePageGbk), CodePageUtf8); }

std::string Utf8ToGbk(std::string_view utf8) {
  return WideToCodePage(CodePageToWide(utf8, CodePageUtf8), CodePageGbk);
}

std::string UrlEncodeUtf8(std::string_view gbk) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : GbkToUtf8(gbk)) {
    const auto b = static_cast<unsigned char>(c);
    const bool keep = c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (keep) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0xF]);
    }
  }
  return out;
}

std::string UrlDecodeUtf8(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      const char decoded = static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      if (decoded != '\0') bytes.push_back(decoded);  // a zero byte would end the text
      i += 2;
    } else if (text[i] != '\0') {
      bytes.push_back(text[i]);
    } else {
      break;
    }
  }
  return Utf8ToGbk(bytes);
}

}  // namespace lecdl
