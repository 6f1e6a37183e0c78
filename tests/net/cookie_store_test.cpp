// Cookies: the process-wide store of jar-less fetches and the caller-held jar.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "fetch_helpers.h"
#include "net/fetch.h"
#include "support/test_server.h"

namespace lecdl {
namespace {

using test::QuickRequest;
using test::TestServer;

// Answers /set with the Set-Cookie lines given in the query ("c" parameters, in order) and
// every other path with the Cookie header it received.
void ServeCookies(TestServer& server) {
  server.Get("/set", [](const httplib::Request& req, httplib::Response& res) {
    for (size_t i = 0; i < req.get_param_value_count("c"); ++i) res.headers.emplace("Set-Cookie", req.get_param_value("c", i));
    res.set_content("set", "text/plain");
  });
  server.Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.get_header_value("Cookie"), "text/plain");
  });
}

std::string Fetch(const std::string& url, std::string* jar = nullptr, FetchResult* result = nullptr) {
  FetchRequest request = QuickRequest(url);
  request.cookies = jar;
  FetchResult ignored;
  return WebFetch(request, result ? *result : ignored);
}

// Other tests in this program let servers on 127.0.0.1 set cookies; the store is tested under
// the name "localhost", whose cookies are kept apart.
TEST(CookieStore, JarlessFetchesShareOneStoreThatAJarBypasses) {
  TestServer server;
  ServeCookies(server);
  const std::string base = "http://localhost:" + std::to_string(server.Port());

  Fetch(base + "/set?c=store_a%3D1%3B%20path%3D%2F");
  EXPECT_EQ(Fetch(base + "/echo"), "store_a=1");

  std::string emptyJar;
  EXPECT_EQ(Fetch(base + "/echo", &emptyJar), "");
  std::string jar = "j=1";
  EXPECT_EQ(Fetch(base + "/echo", &jar), "j=1");

  // Cookies received with a jar go to the jar only.
  Fetch(base + "/set?c=jar_only%3D2%3B%20path%3D%2F", &jar);
  EXPECT_EQ(Fetch(base + "/echo"), "store_a=1");

  Fetch(base + "/set?c=store_a%3D%3B%20Max-Age%3D0");
  EXPECT_EQ(Fetch(base + "/echo"), "");
}

TEST(CookieStore, StoreCookiesTravelAcrossRedirects) {
  TestServer server;
  ServeCookies(server);
  server.Get("/login", [](const httplib::Request&, httplib::Response& res) {
    res.headers.emplace("Set-Cookie", "session=s9; path=/");
    res.set_redirect("/echo");
  });
  const std::string base = "http://localhost:" + std::to_string(server.Port());
  EXPECT_EQ(Fetch(base + "/login"), "session=s9");
  Fetch(base + "/set?c=session%3D%3B%20Max-Age%3D0");
}

TEST(CookieStore, ConcurrentFetchesShareItSafely) {
  TestServer server;
  ServeCookies(server);
  const std::string base = "http://localhost:" + std::to_string(server.Port());
  std::vector<std::thread> threads;
  std::vector<int> wrong(8, 0);
  for (size_t t = 0; t < wrong.size(); ++t) {
    threads.emplace_back([&, t] {
      const std::string name = "thread" + std::to_string(t);
      for (int i = 0; i < 10; ++i) {
        Fetch(base + "/set?c=" + name + "%3D" + std::to_string(i) + "%3B%20path%3D%2F");
        const std::string sent = Fetch(base + "/echo");
        if (sent.find(name + "=" + std::to_string(i)) == std::string::npos) ++wrong[t];
      }
      Fetch(base + "/set?c=" + name + "%3D%3B%20Max-Age%3D0");
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<int>(8, 0));
  EXPECT_EQ(Fetch(base + "/echo"), "");
}

TEST(CallerJar, ReceivesMergedCookiesAndSendsThemNextTime) {
  TestServer server;
  ServeCookies(server);

  std::string jar;  // present but empty: no Cookie line, the store stays out
  FetchResult result;
  Fetch(server.Url("/set?c=a%3D1%3B%20path%3D%2F&c=b%3D2%3B%20path%3D%2F"), &jar, &result);
  EXPECT_EQ(jar, "a=1; b=2");
  EXPECT_EQ(result.receivedCookies, "a=1;b=2");  // the merge strips the spaces
  EXPECT_FALSE(server.Requests().back().HasHeader("Cookie"));

  EXPECT_EQ(Fetch(server.Url("/echo"), &jar), "a=1; b=2");

  Fetch(server.Url("/set?c=a%3Ddeleted%3B%20path%3D%2F"), &jar);
  EXPECT_EQ(jar, "b=2");
}

}  // namespace
}  // namespace lecdl
