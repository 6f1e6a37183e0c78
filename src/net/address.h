#pragma once

// Address helpers of the fetch client that callers outside src/net do not need.

#include <optional>
#include <string>
#include <string_view>

namespace lecdl {

// True when the first five characters, lower-cased, are "https": such addresses use TLS.
bool IsHttpsAddress(std::string_view address);

// The path with the bytes a request line cannot carry (spaces, control and 8-bit bytes) escaped
// as %XX; everything else as the caller wrote it.
std::string EscapePath(std::string_view path);

// The address the connection is made to: scheme, UrlHost, UrlPort and UrlPath with the bytes a
// request line cannot carry escaped as %XX. Empty when the address has no usable host.
std::optional<std::string> ConnectUrl(std::string_view address);

}  // namespace lecdl
