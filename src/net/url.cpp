// Splitting an address into what the connection needs: host, port and request path.

#include <cstdint>
#include <string>

#include "net/fetch.h"
#include "net/address.h"
#include "text/extract.h"
#include "text/text.h"

namespace lecdl {

namespace {

int Length(std::string_view text) { return static_cast<int>(text.size()); }

}  // namespace

bool IsHttpsAddress(std::string_view address) { return LowerAscii(address.substr(0, 5)) == "https"; }

std::string UrlHost(std::string_view address, bool withPort) {
  std::string text = LowerAscii(address);
  if (RightText(text, 1) != "/") text += '/';
  std::string marker = "https://";
  if (LeftText(text, 8) != marker) {
    marker = "http://";
    if (FindText(text, marker) == -1) text = marker + text;
  }
  std::string host = TextBetween(text, marker, "/");
  if (!withPort) {
    const int colon = FindText(host, ":");
    if (colon != -1) host = LeftText(host, colon - 1);
  }
  return host;
}

int UrlPort(std::string_view address) {
  const std::string host = UrlHost(address, true);
  const int colon = FindTextReverse(host, ":");
  if (colon == -1) return IsHttpsAddress(address) ? 443 : 80;
  return ToInteger(MidText(host, colon + 1, Length(host)));
}

std::string UrlPath(std::string_view address) {
  const int hostAt = FindText(address, UrlHost(address), 1, true);
  const int slash = FindText(address, "/", hostAt, true);
  if (slash <= 0) return "/";
  return MidText(address, slash, Length(address));
}

std::string HeaderValue(std::string_view line) {
  const int colon = FindText(line, ":");
  if (colon == -1) return {};
  return TrimSpaces(MidText(line, colon + 1, Length(line)));
}

namespace {

// Letters, digits, "-", "." and "_" make a host name; bytes >= 0x80 are left to the resolver.
bool IsHostByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c >= 0x80;
}

}  // namespace

std::string EscapePath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> ConnectUrl(std::string_view address) {
  const std::string host = UrlHost(address);
  if (host.empty()) return std::nullopt;
  for (const char c : host) {
    if (!IsHostByte(static_cast<unsigned char>(c))) return std::nullopt;
  }
  const bool https = IsHttpsAddress(address);
  // The port travels as a 16-bit number; 0 stands for the scheme's default port.
  unsigned port = static_cast<std::uint16_t>(UrlPort(address));
  if (port == 0) port = https ? 443 : 80;
  return std::string(https ? "https://" : "http://") + host + ":" + std::to_string(port) +
         EscapePath(UrlPath(address));
}

}  // namespace lecdl
