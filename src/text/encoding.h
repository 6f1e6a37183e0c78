#pragma once

// Conversions between the program's GBK texts and the site's UTF-8. Invalid input is never an
// error: a byte that is not valid in the source code page becomes U+FFFD, and a character that the
// target code page lacks becomes "?". Input ends at its first zero byte, as a C string would.

#include <string>
#include <string_view>

namespace lecdl {

inline constexpr int CodePageGbk = 936;
inline constexpr int CodePageGb18030 = 54936;  // GBK's superset: every Unicode character
inline constexpr int CodePageUtf8 = 65001;

std::u16string CodePageToWide(std::string_view text, int codePage = CodePageUtf8);
std::string WideToCodePage(std::u16string_view wide, int codePage);

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

// Percent-encodes the UTF-8 bytes of a GBK text; only "-", ".", digits and ASCII letters stay.
std::string UrlEncodeUtf8(std::string_view gbk);

// Decodes "%" escapes (either hex case; "+" stays "+"; a "%" without two hex digits is copied),
// then converts the UTF-8 bytes to GBK. A decoded zero byte adds nothing.
std::string UrlDecodeUtf8(std::string_view text);

}  // namespace lecdl
