// Bounds on slow, stalled and oversized responses: each ends the fetch with what arrived.

#include <gtest/gtest.h>

#include <chrono>

#include "fetch_helpers.h"
#include "net/fetch.h"
#include "support/test_server.h"

namespace lecdl {
namespace {

using namespace std::chrono_literals;
using test::PatternBytes;
using test::QuickRequest;
using test::TestServer;

using Clock = std::chrono::steady_clock;

TEST(Limits, StalledBodyEndsWithWhatArrived) {
  TestServer server;
  server.Stall("/stall", "first part");
  FetchRequest request = QuickRequest(server.Url("/stall"));
  request.limits.lowSpeedBytes = 1'000;
  request.limits.lowSpeedWindowMs = 1'000;
  FetchResult result;
  const auto started = Clock::now();
  EXPECT_EQ(WebFetch(request, result), "first part");
  EXPECT_LT(Clock::now() - started, 5s);
  EXPECT_TRUE(result.rawHeaders.starts_with("HTTP/1.1 200")) << result.rawHeaders;
}

TEST(Limits, ServerThatNeverAnswersEndsWithNothing) {
  TestServer server;
  server.Get("/silent", [&server](const httplib::Request&, httplib::Response& res) {
    server.Pause(60s);
    res.set_content("too late", "text/plain");
  });
  FetchRequest request = QuickRequest(server.Url("/silent"));
  request.limits.lowSpeedBytes = 1'000;
  request.limits.lowSpeedWindowMs = 1'000;
  FetchResult result{"c", "l", "r"};
  const auto started = Clock::now();
  EXPECT_EQ(WebFetch(request, result), "");
  EXPECT_LT(Clock::now() - started, 5s);
  EXPECT_EQ(result.rawHeaders, "");
  EXPECT_EQ(result.location, "");
}

TEST(Limits, TotalTimeoutEndsAnEndlessTrickle) {
  TestServer server;
  server.Trickle("/trickle", "0123456789", 50ms);
  FetchRequest request = QuickRequest(server.Url("/trickle"));
  request.limits.lowSpeedBytes = 0;  // the trickle is fast enough; only the total bound applies
  request.limits.totalTimeoutMs = 1'000;
  const auto started = Clock::now();
  const std::string body = WebFetch(request);
  EXPECT_LT(Clock::now() - started, 5s);
  EXPECT_FALSE(body.empty());
  EXPECT_EQ(body.size() % 10, 0u);
  EXPECT_EQ(body.substr(0, 10), "0123456789");
}

TEST(Limits, BodyIsCutAtMaxBodyBytes) {
  TestServer server;
  server.Huge("/small", 4'096);
  server.Huge("/medium", 100'000);
  server.Huge("/large", 20u << 20);
  struct Case {
    const char* path;
    size_t limit;
    size_t kept;
  };
  const Case cases[] = {
      {"/medium", 4'096, 4'096},
      {"/small", 4'096, 4'096},
      {"/small", 4'097, 4'096},
      {"/large", (1u << 20) + 3, (1u << 20) + 3},
  };
  for (const Case& c : cases) {
    FetchRequest request = QuickRequest(server.Url(c.path));
    request.limits.maxBodyBytes = c.limit;
    const std::string body = WebFetch(request);
    EXPECT_EQ(body.size(), c.kept) << c.path << " limit " << c.limit;
    EXPECT_TRUE(body == PatternBytes(0, c.kept)) << c.path << " limit " << c.limit;
  }
}

}  // namespace
}  // namespace lecdl
