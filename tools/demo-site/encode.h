// Text encodings the demo pages need: percent escapes as the site's pages and
// query strings carry them, and GBK for the maker's counter and status texts.
#pragma once

#include <string>
#include <string_view>

namespace demo {

// Every byte but ASCII letters, digits, "-" and "." as "%XX" (upper-case hex):
// the form clients use for keywords in query strings.
std::string PercentEncodeAll(std::string_view utf8);

// UTF-8 kept as is; only bytes that would break an HTML attribute or text, or
// that a percent decoder would misread ('"', '\'', '<', '>', '&', '%' and
// control characters), become "%XX".
std::string PercentEncodeUnsafe(std::string_view utf8);

// UTF-8 to GBK; characters GBK lacks become "?".
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace demo
