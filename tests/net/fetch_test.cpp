// Fetches against an HTTP server in the test process: bodies, statuses, redirects.

#include <gtest/gtest.h>

#include <chrono>

#include "fetch_helpers.h"
#include "net/fetch.h"
#include "support/raw_server.h"
#include "support/test_server.h"

namespace lecdl {
namespace {

using test::QuickRequest;
using test::RawServer;
using test::TestServer;

TEST(Fetch, BodyKeepsZeroBytesAndPageTextEndsAtTheFirst) {
  TestServer server;
  const std::string body("ab\0cd\0", 6);
  server.Text("/zero", body);
  EXPECT_EQ(WebFetch(QuickRequest(server.Url("/zero"))), body);
  EXPECT_EQ(FetchPageText(server.Url("/zero")), "ab");
}

TEST(Fetch, ErrorStatusesGiveTheErrorPage) {
  TestServer server;
  for (const int status : {404, 500}) {
    const std::string path = "/status" + std::to_string(status);
    server.Text(path, "error page " + std::to_string(status), status);
    FetchResult result;
    EXPECT_EQ(WebFetch(QuickRequest(server.Url(path)), result), "error page " + std::to_string(status));
    EXPECT_TRUE(result.rawHeaders.starts_with("HTTP/1.1 " + std::to_string(status))) << result.rawHeaders;
  }
}

TEST(Fetch, RedirectsAreFollowedAndOnlyTheLastResponseIsReported) {
  TestServer server;
  server.Redirect("/start", "/middle", 302);
  server.Redirect("/middle", "/final", 301);
  server.Text("/final", "final page");
  FetchResult result;
  EXPECT_EQ(WebFetch(QuickRequest(server.Url("/start")), result), "final page");
  EXPECT_TRUE(result.rawHeaders.starts_with("HTTP/1.1 200 OK\r\n")) << result.rawHeaders;
  EXPECT_TRUE(result.rawHeaders.ends_with("\r\n\r\n"));
  EXPECT_EQ(result.location, result.rawHeaders);  // the final response names no Location
  ASSERT_EQ(server.RequestCount(), 3u);
  EXPECT_EQ(server.Requests()[2].target, "/final");
}

TEST(Fetch, NoRedirectReturnsTheRedirectItself) {
  TestServer server;
  server.Redirect("/start", "http://127.0.0.1:1/elsewhere?x=1");
  FetchRequest request = QuickRequest(server.Url("/start"));
  request.noRedirect = true;
  FetchResult result;
  EXPECT_EQ(WebFetch(request, result), "moved");
  EXPECT_TRUE(result.rawHeaders.starts_with("HTTP/1.1 302")) << result.rawHeaders;
  EXPECT_EQ(result.location, "http://127.0.0.1:1/elsewhere?x=1");
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST(Fetch, RedirectLoopEnds) {
  TestServer server;
  server.Redirect("/loop", "/loop");
  const auto started = std::chrono::steady_clock::now();
  FetchResult result;
  WebFetch(QuickRequest(server.Url("/loop")), result);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
  EXPECT_GT(server.RequestCount(), 1u);
  EXPECT_LE(server.RequestCount(), 21u);
  EXPECT_EQ(result.location, "/loop");
}

TEST(Fetch, RedirectFromHttpToHttpsIsFollowed) {
  RawServer secure;
  TestServer server;
  server.Redirect("/go", "https://127.0.0.1:" + std::to_string(secure.Port()) + "/s");
  EXPECT_EQ(WebFetch(QuickRequest(server.Url("/go"))), "");  // no TLS peer there
  ASSERT_TRUE(secure.WaitForRequests(1, std::chrono::seconds(5)));
  const std::string hello = secure.Requests().front();
  ASSERT_FALSE(hello.empty());
  EXPECT_EQ(hello[0], '\x16');
}

TEST(Fetch, PostRecordsMethodBodyAndDefaults) {
  TestServer server;
  server.Post("/form", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content("got " + req.body, "text/plain");
  });
  FetchRequest request = QuickRequest(server.Url("/form?page=2"));
  request.method = HttpMethod::Post;
  request.postText = "a=1&b=2";
  EXPECT_EQ(WebFetch(request), "got a=1&b=2");
  const auto seen = server.Requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].method, "POST");
  EXPECT_EQ(seen[0].target, "/form?page=2");
  EXPECT_EQ(seen[0].Header("Referer"), request.url);
  EXPECT_EQ(seen[0].Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_FALSE(seen[0].HasHeader("Expect"));
}

}  // namespace
}  // namespace lecdl
