#include "app/update_check.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "scrape/site_fixture.h"
#include "support/test_server.h"
#include "net/fetch.h"
#include "text/encoding.h"
#include "unused_port.h"

namespace lecdl {
namespace {

using Clock = std::chrono::steady_clock;

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(UpdateSource, ParsesNamesBlankLineAndNotesRobustToJunk) {
  struct Case {
    std::string text;
    UpdateInfo expected;
  };
  const Case cases[] = {
      {"version=191\nmandatory=1\npage=http://h/p\n\n<p>a</p>\n<p>b</p>",
       {"191", "1", "http://h/p", "<p>a</p>\n<p>b</p>"}},
      {"VERSION = 191 \r\nPage=http://h/p\r\n\r\nnotes\r\n", {"191", "", "http://h/p", "notes\r\n"}},
      // junk lines, unknown names and repeats are ignored; no blank line: no notes
      {"garbage\nfoo=bar\nversion=192\nversion=193\nmandatory=0", {"192", "0", "", ""}},
      {"<html><body>404 Not Found</body></html>", {"", "", "", ""}},
      {"", {"", "", "", ""}},
  };
  for (const Case& c : cases) {
    const UpdateInfo info = ParseUpdateInfo(c.text);
    EXPECT_EQ(info.newestVersion, c.expected.newestVersion) << c.text;
    EXPECT_EQ(info.mandatory, c.expected.mandatory) << c.text;
    EXPECT_EQ(info.page, c.expected.page) << c.text;
    EXPECT_EQ(info.notes, c.expected.notes) << c.text;
  }
}

TEST(UpdateCheck, ReleaseNotesBecomeLines) {
  const std::pair<std::string, std::string> cases[] = {
      {"<p>one&nbsp;two</p><P>\tthree</P>", "one   two\r\nthree\r\n"},
      {"<b>kept</b>&amp;", "<b>kept</b>&amp;"},
      {Repeat("<p>", 51) + "x", "<p>x"},  // at most 50 of each
  };
  for (const auto& [notes, cleaned] : cases) EXPECT_EQ(CleanReleaseNotes(notes), cleaned) << notes;
}

TEST(UpdateCheck, DecisionByVersionAndFlag) {
  struct Case {
    std::string version, flag;
    UpdateKind kind;
  };
  const Case cases[] = {
      {"190", "1", UpdateKind::None},
      {"190 beta", "", UpdateKind::None},  // leading digits count
      {"", "1", UpdateKind::None},         // no answer is no update
      {"191", "0", UpdateKind::Optional},
      {"191", "", UpdateKind::Optional},
      {"191", "01", UpdateKind::Optional},  // only "1" is mandatory
      {"191", "1", UpdateKind::Mandatory},
      {"189", "", UpdateKind::Optional},  // equality only
  };
  for (const Case& c : cases) {
    const UpdateDecision decision = DecideUpdate({c.version, c.flag, "http://h/p", "<p>n</p>"});
    EXPECT_EQ(decision.kind, c.kind) << c.version << "/" << c.flag;
    if (c.kind == UpdateKind::None) continue;
    EXPECT_EQ(decision.versionLabel, Utf8ToGbk("当前软件版本号: 190--------------最新版本号: ") + c.version);
    EXPECT_EQ(decision.notes, "n\r\n");
    EXPECT_EQ(decision.info.page, "http://h/p");
  }
}

TEST(UpdateCheck, AsksTwiceWhenTheFirstAnswerHasNoVersion) {
  test::TestServer server;
  std::atomic<int> asked{0};
  server.Get("/update/newest.txt", [&](const httplib::Request&, httplib::Response& res) {
    if (asked++ == 0) {
      res.status = 500;
      res.set_content("version=999\n", "text/plain");  // not a success: not read
      return;
    }
    res.set_content("version=191\nmandatory=1\npage=http://h/p\n\n<p>a&nbsp;b</p>", "text/plain");
  });
  Hosts hosts;
  hosts.update = "127.0.0.1:" + std::to_string(server.Port());
  const UpdateDecision decision = CheckForUpdate(hosts);
  EXPECT_EQ(asked.load(), 2);
  EXPECT_EQ(decision.kind, UpdateKind::Mandatory);
  EXPECT_EQ(decision.notes, "a   b\r\n");
}

TEST(UpdateCheck, UnreachableSourceIsNoUpdateAndFailsAtOnce) {
  Hosts hosts;
  hosts.update = test::UnusedHost();
  const auto start = Clock::now();
  EXPECT_EQ(CheckForUpdate(hosts).kind, UpdateKind::None);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

TEST(UpdateCheck, DecisionsAgainstTheDemoSite) {
  struct Case {
    std::string announced;
    bool mandatory;
    UpdateKind kind;
  };
  const Case cases[] = {
      {"190", false, UpdateKind::None},
      {"191", false, UpdateKind::Optional},
      {"191", true, UpdateKind::Mandatory},
  };
  for (const Case& c : cases) {
    demo::SiteOptions options;
    options.port = 0;
    options.announce_version = c.announced;
    options.update_mandatory = c.mandatory;
    demo::SiteServer server(options);
    Hosts hosts;
    hosts.update = server.HostPort();
    const UpdateDecision decision = CheckForUpdate(hosts);
    EXPECT_EQ(decision.kind, c.kind) << c.announced << " " << c.mandatory;
    EXPECT_EQ(decision.info.newestVersion, c.announced);
    EXPECT_EQ(server.Site().Log().Targets("/update/newest.txt").size(), 1u);
    if (c.kind == UpdateKind::None) continue;
    EXPECT_EQ(decision.versionLabel, Utf8ToGbk("当前软件版本号: 190--------------最新版本号: 191"));
    EXPECT_EQ(decision.notes, Utf8ToGbk("版本 191 的更新内容：\r\n下载更稳定，   断点续传更可靠。\r\n"
                                        "界面与搜索的小改进。\r\n"));
    EXPECT_EQ(decision.info.page, "http://" + server.HostPort() + "/update/lecdl-191.html");
    EXPECT_FALSE(FetchPageText(decision.info.page).empty()) << "the download page is served";
  }
}

}  // namespace
}  // namespace lecdl
