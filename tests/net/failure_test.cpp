// Addresses that are no use and servers that are not there: an empty body, never a crash.

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <random>

#include "fetch_helpers.h"
#include "net/fetch.h"
#include "support/test_server.h"

namespace lecdl {
namespace {

using test::QuickRequest;

TEST(Failure, AddressWithoutUsableHostLeavesOutputsAndJarUntouched) {
  const std::string cases[] = {
      "",
      "http://",
      "::::",
      "http:///x",
      "https://:443/x",
      "http://bad host/x",
      "http://a\r\nb/",
      std::string("http://a\0b/", 11),
      "http://[::1]:80/",
  };
  for (const std::string& address : cases) {
    std::string jar = "j = 1";
    FetchRequest request = QuickRequest(address);
    request.cookies = &jar;
    FetchResult result{"cookies", "location", "headers"};
    EXPECT_EQ(WebFetch(request, result), "") << address;
    EXPECT_EQ(result.receivedCookies, "cookies") << address;
    EXPECT_EQ(result.location, "location") << address;
    EXPECT_EQ(result.rawHeaders, "headers") << address;
    EXPECT_EQ(jar, "j = 1") << address;
  }
}

TEST(Failure, AnyBytesAsTheAddressGiveAnEmptyBody) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(1, 40);
  for (int i = 0; i < 200; ++i) {
    std::string address(static_cast<size_t>(length(random)), '\0');
    for (char& c : address) c = static_cast<char>(byte(random));
    // Keep random text from naming a host that could resolve: a space in the host part.
    address.insert(0, "x ");
    FetchRequest request = QuickRequest(address);
    request.limits.connectTimeoutMs = 500;
    EXPECT_EQ(WebFetch(request), "");
  }
  const std::string longHost = "http://" + std::string(100'000, 'a') + "/";
  const std::string longPath = "http://127.0.0.1:1/" + std::string(1'000'000, 'p');
  for (const std::string& address : {longHost, longPath}) {
    FetchRequest request = QuickRequest(address);
    request.limits.connectTimeoutMs = 1'000;
    EXPECT_EQ(WebFetch(request), "");
  }
}

TEST(Failure, AnyBytesAfterAGoodHostAreSentOrFailQuietly) {
  test::TestServer server;
  server.Get(".*", [](const httplib::Request&, httplib::Response& res) { res.set_content("page", "text/plain"); });
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 60; ++i) {
    // The raw bytes also travel in the Referer line, line breaks included.
    std::string tail(16, '\0');
    for (char& c : tail) c = static_cast<char>(byte(random));
    FetchRequest request = QuickRequest(server.Url("/") + tail);
    request.limits.lowSpeedBytes = 1'000;
    request.limits.lowSpeedWindowMs = 1'000;
    const std::string body = WebFetch(request);
    EXPECT_TRUE(body == "page" || body.empty()) << body;
  }
  EXPECT_GT(server.RequestCount(), 0u);
}

// A loopback port with nothing listening on it.
int ClosedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

TEST(Failure, RefusedConnectionGivesEmptyBodyAndEmptyOutputs) {
  const std::string address = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/page";
  FetchResult result{"cookies", "location", "headers"};
  EXPECT_EQ(WebFetch(QuickRequest(address), result), "");
  EXPECT_EQ(result.receivedCookies, "");
  EXPECT_EQ(result.location, "");
  EXPECT_EQ(result.rawHeaders, "");
  EXPECT_EQ(FetchPageText(address), "");
}

}  // namespace
}  // namespace lecdl
