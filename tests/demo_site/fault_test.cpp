// Fault switches as a downloader meets them on the wire.
#include <string>

#include "catalog.h"
#include "raw_http.h"
#include "site_fixture.h"
#include "video.h"

namespace {

using demo::FaultKind;
using demo::FaultSpec;

// Small files (64–128 KB) keep these quick; each test takes its own episodes
// so that no count or fault carries over.
std::string PlayId(int episode) { return std::string(demo::ids::kLong) + "_" + std::to_string(episode); }
std::string Path(const std::string& id) { return "/cn/v/" + id + ".flv"; }
long long Size(const std::string& id) { return demo::FindEpisode(id).Get().size; }
std::string Bytes(const std::string& id, long long from, long long n) {
  return demo::VideoBytes(demo::FileSeed(id), from, static_cast<std::size_t>(n));
}

FaultSpec Fault(FaultKind kind, std::int64_t arg = demo::kDefaultArg, int times = 0) {
  FaultSpec s{kind, arg};
  s.times = times;
  return s;
}

class FaultTest : public DemoSiteTest {
 protected:
  void TearDown() override { Server().Site().ClearFaults(); }
  demo::DemoSite& Site() { return Server().Site(); }
};

TEST_F(FaultTest, CutSendsTheFullLengthButPartOfTheBodyThenCloses) {
  struct Case {
    std::int64_t arg;
    long long (*sent)(long long size);
  };
  const Case cases[] = {
      {demo::kDefaultArg, [](long long size) { return size / 2; }},
      {1000, [](long long) { return 1000LL; }},
      {0, [](long long) { return 0LL; }},
      {-1, [](long long size) { return size - 1; }},
  };
  int episode = 10;
  for (const Case& c : cases) {
    const std::string id = PlayId(episode++);
    SCOPED_TRACE(id);
    Site().SetFault(id, Fault(FaultKind::kCut, c.arg));
    rawhttp::Answer a = rawhttp::Get(Server().Port(), Path(id));
    const long long size = Size(id);
    EXPECT_EQ(a.status, 200);
    EXPECT_EQ(rawhttp::Header(a, "Content-Length"), std::to_string(size));
    EXPECT_TRUE(a.closed);
    ASSERT_EQ(static_cast<long long>(a.body.size()), c.sent(size));
    EXPECT_TRUE(a.body == Bytes(id, 0, c.sent(size))) << "the bytes sent are the file's";
  }
}

TEST_F(FaultTest, CutOnceThenTheResumeIsWholeAndByteExact) {
  const std::string id = PlayId(20);
  const long long size = Size(id);
  Site().Log().Clear();
  Site().SetFault(id, Fault(FaultKind::kCut, demo::kDefaultArg, 1));

  rawhttp::Answer first = rawhttp::Get(Server().Port(), Path(id));
  ASSERT_LT(static_cast<long long>(first.body.size()), size);
  const long long have = static_cast<long long>(first.body.size());

  const std::string range = "bytes=" + std::to_string(have) + "-";
  auto resumed = Get(Path(id), {{"Range", range}});
  ASSERT_TRUE(resumed);
  EXPECT_EQ(resumed->status, 206);
  EXPECT_TRUE(first.body + resumed->body == Bytes(id, 0, size));
  auto again = Get(Path(id));
  ASSERT_TRUE(again);
  EXPECT_TRUE(again->body == Bytes(id, 0, size));

  EXPECT_EQ(Site().VideoRequests(id), 3);
  auto log = Site().Log().Snapshot();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].range, "");
  EXPECT_EQ(log[1].range, range);
}

TEST_F(FaultTest, StallSendsSomeBytesThenNothing) {
  const std::string id = PlayId(30);
  FaultSpec stall = Fault(FaultKind::kStall, 4096);
  stall.hold_seconds = 5;  // an upper bound should the client's wait outlast it
  Site().SetFault(id, stall);
  rawhttp::Answer a = rawhttp::Get(Server().Port(), Path(id), {}, std::chrono::milliseconds(700));
  EXPECT_EQ(a.status, 200);
  EXPECT_EQ(rawhttp::Header(a, "Content-Length"), std::to_string(Size(id)));
  EXPECT_EQ(a.body.size(), 4096u);
  EXPECT_FALSE(a.closed) << "the connection stays open and silent";
}

TEST_F(FaultTest, StatusAnswersWithTheCodeAndRetryAfter) {
  struct Case {
    std::string text;
    int status;
    std::string retry_after;
  };
  const Case cases[] = {
      {"status", 404, ""},
      {"status:403", 403, ""},
      {"status:500", 500, ""},
      {"status:503", 503, ""},
      {"status:503:retry=1", 503, "1"},
  };
  int episode = 40;
  for (const Case& c : cases) {
    const std::string id = PlayId(episode++);
    SCOPED_TRACE(c.text);
    Site().SetFault(id, *demo::ParseFaultSpec(c.text, nullptr));
    auto res = Get(Path(id), {{"Range", "bytes=100-"}});
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, c.status);
    EXPECT_EQ(res->get_header_value("Retry-After"), c.retry_after);
    EXPECT_EQ(res->has_header("Retry-After"), !c.retry_after.empty());
    EXPECT_FALSE(res->body.empty());
    EXPECT_LT(res->body.size(), 100u);
  }
}

TEST_F(FaultTest, TimesLimitsAnyKindAndHeadUsesNothingUp) {
  const std::string id = PlayId(50);
  Site().SetFault(id, Fault(FaultKind::kStatus, 503, 2));
  httplib::Client client("127.0.0.1", Server().Port());
  auto head = client.Head(Path(id).c_str());
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 200);
  EXPECT_EQ(Get(Path(id))->status, 503);
  EXPECT_EQ(Get(Path(id))->status, 503);
  auto third = Get(Path(id));
  ASSERT_TRUE(third);
  EXPECT_EQ(third->status, 200);
  EXPECT_TRUE(third->body == Bytes(id, 0, Size(id)));
}

TEST_F(FaultTest, FaultForEveryFileCountsEachFileApart) {
  const std::string a = PlayId(60);
  const std::string b = PlayId(61);
  Site().SetFault("*", Fault(FaultKind::kStatus, 500, 1));
  EXPECT_EQ(Get(Path(a))->status, 500);
  EXPECT_EQ(Get("/v/" + b + ".flv")->status, 500);  // either spelling
  EXPECT_EQ(Get(Path(a))->status, 200);
  EXPECT_EQ(Get(Path(b))->status, 200);
  EXPECT_EQ(Get("/serie_400012000.shtml")->status, 200) << "pages are never faulted";
}

TEST_F(FaultTest, ChunkedHasNoContentLengthAndStillHonoursRange) {
  const std::string id = PlayId(70);
  const long long size = Size(id);
  Site().SetFault(id, Fault(FaultKind::kChunked));

  rawhttp::Answer raw = rawhttp::Get(Server().Port(), Path(id));
  EXPECT_EQ(raw.status, 200);
  EXPECT_EQ(rawhttp::Header(raw, "Content-Length"), "");
  EXPECT_EQ(rawhttp::Header(raw, "Transfer-Encoding"), "chunked");

  auto whole = Get(Path(id));
  ASSERT_TRUE(whole);
  EXPECT_FALSE(whole->has_header("Content-Length"));
  EXPECT_TRUE(whole->body == Bytes(id, 0, size));

  auto part = Get(Path(id), {{"Range", "bytes=1000-"}});
  ASSERT_TRUE(part);
  EXPECT_EQ(part->status, 206);
  EXPECT_EQ(part->get_header_value("Content-Range"),
            "bytes 1000-" + std::to_string(size - 1) + "/" + std::to_string(size));
  EXPECT_TRUE(part->body == Bytes(id, 1000, size - 1000));
}

TEST_F(FaultTest, IgnoreRangeAnswers200WithTheWholeFile) {
  const std::string id = PlayId(80);
  Site().SetFault(id, Fault(FaultKind::kIgnoreRange));
  auto res = Get(Path(id), {{"Range", "bytes=5000-"}});
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_FALSE(res->has_header("Content-Range"));
  EXPECT_EQ(res->get_header_value("Content-Length"), std::to_string(Size(id)));
  EXPECT_TRUE(res->body == Bytes(id, 0, Size(id)));
}

TEST_F(FaultTest, GrowMakesTheFileLongerAfterTheFirstRequest) {
  const std::string id = PlayId(90);
  const long long size = Size(id);
  Site().SetFault(id, Fault(FaultKind::kGrow, 1000, 1));
  auto first = Get(Path(id));
  auto second = Get(Path(id));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(static_cast<long long>(first->body.size()), size);
  EXPECT_EQ(static_cast<long long>(second->body.size()), size + 1000);
  EXPECT_TRUE(second->body == Bytes(id, 0, size + 1000)) << "the old bytes stay, new ones follow";
  EXPECT_NE(first->get_header_value("ETag"), second->get_header_value("ETag"));

  // A resume with the old validator gets the whole new file.
  auto resumed = Get(Path(id), {{"Range", "bytes=100-"}, {"If-Range", first->get_header_value("ETag")}});
  ASSERT_TRUE(resumed);
  EXPECT_EQ(resumed->status, 200);
  EXPECT_EQ(static_cast<long long>(resumed->body.size()), size + 1000);
}

TEST_F(FaultTest, SlowTrickles) {
  const std::string id = PlayId(100);
  Site().SetFault(id, Fault(FaultKind::kSlow, 100));  // ten bytes every 100 ms
  rawhttp::Answer a = rawhttp::Get(Server().Port(), Path(id), {}, std::chrono::milliseconds(400),
                                   std::chrono::milliseconds(500));
  EXPECT_EQ(a.status, 200);
  EXPECT_EQ(rawhttp::Header(a, "Content-Length"), std::to_string(Size(id)));
  EXPECT_FALSE(a.closed);
  EXPECT_LT(a.body.size(), 1000u) << "far less than a normal answer would have sent";
  EXPECT_TRUE(a.body == Bytes(id, 0, static_cast<long long>(a.body.size())));
}

}  // namespace
