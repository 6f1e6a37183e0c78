#include <gtest/gtest.h>

#include "net/fetch.h"

namespace lecdl {
namespace {

struct HostCase {
  const char* address;
  bool withPort;
  const char* host;
};

TEST(UrlHost, TakesTheLowerCasedHostOfAnyAddressShape) {
  const HostCase cases[] = {
      {"http://www.Example.COM/Path/Page.shtml", false, "www.example.com"},
      {"HTTPS://Secure.Example.com:8443/x", false, "secure.example.com"},
      {"HTTPS://Secure.Example.com:8443/x", true, "secure.example.com:8443"},
      {"http://host:8080", true, "host:8080"},
      {"http://host:8080", false, "host"},
      {"https://a.com", false, "a.com"},
      {"Example.com/a/b", false, "example.com"},  // no scheme: taken as http
      {"see http://a.com/x", false, "a.com"},     // "http://" counts anywhere in the text
      {"", false, ""},
      {"http:///x", false, ""},
  };
  for (const HostCase& c : cases) {
    EXPECT_EQ(UrlHost(c.address, c.withPort), c.host) << c.address << " withPort=" << c.withPort;
  }
}

TEST(UrlPort, UsesTheAddressPortElseTheSchemeDefault) {
  const std::pair<const char*, int> cases[] = {
      {"http://a.com/", 80},
      {"https://a.com/", 443},
      {"HTTPS://a.com/x", 443},
      {"http://a.com:8080/x?y=1", 8080},
      {"HTTPS://a.com:8443", 8443},
      {"HTTPS://a.com:80/", 80},
      {"a.com:81/x", 81},
      {"a.com", 80},
      {"http://a.com:/x", 0},      // no digits after the ":"
      {"http://a.com:12ab/", 12},  // digits at the start only
  };
  for (const auto& [address, port] : cases) EXPECT_EQ(UrlPort(address), port) << address;
}

TEST(UrlPath, StartsAtTheFirstSlashAfterTheHostAndKeepsItsCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"http://a.com/Dir/Page.shtml?Q=Abc", "/Dir/Page.shtml?Q=Abc"},
      {"http://A.COM:8080/X?y=Z", "/X?y=Z"},
      {"https://a.com:8443/p", "/p"},
      {"http://a.com", "/"},
      {"http://a.com:8080", "/"},
      {"http://a.com?x=1", "/"},
      {"Host.com/Path", "/Path"},
      {"http://a.com/x/http://b.com/", "/x/http://b.com/"},
  };
  for (const auto& [address, path] : cases) EXPECT_EQ(UrlPath(address), path) << address;
}

TEST(HeaderValue, IsTheTrimmedTextAfterTheFirstColon) {
  const std::pair<const char*, const char*> cases[] = {
      {"Location: http://a.com/b", "http://a.com/b"},
      {"X:   spaced  ", "spaced"},
      {"K:\xA1\xA1v\xA1\xA1", "v"},  // full-width spaces trimmed too
      {"K:\tv", "\tv"},              // a tab is not a space
      {"A:", ""},
      {"no colon", ""},
      {"", ""},
  };
  for (const auto& [line, value] : cases) EXPECT_EQ(HeaderValue(line), value) << line;
}

}  // namespace
}  // namespace lecdl
