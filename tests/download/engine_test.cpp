// The download engine against real servers on loopback, writing real files in a temporary folder.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "download/control_file.h"
#include "download/download_engine.h"
#include "download/retry_pause.h"
#include "site_server.h"
#include "support/temp_dir.h"
#include "support/test_server.h"
#include "video.h"

namespace lecdl {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::PatternBytes;
using test::TestServer;

using test::ReadAll;
using test::TempDir;

// Small bounds so that no test waits long on a failure it provokes.
TaskParam FastParam(std::string source, fs::path target) {
  TaskParam param;
  param.source = std::move(source);
  param.target = std::move(target);
  param.connectTimeoutMs = 2000;
  param.receiveTimeoutMs = 2000;
  param.retryBaseMs = 20;
  param.retryCapMs = 200;
  param.maxRetries = 3;
  return param;
}

TaskOutcome RunToEnd(DownloadEngine& engine, const TaskParam& param) {
  EXPECT_TRUE(engine.AddTask(param));
  EXPECT_TRUE(engine.WaitUntilIdle(20s));
  return engine.LastOutcome();
}

// How a served pattern file misbehaves.
struct FileBehaviour {
  size_t cutFirstAt = 0;     // > 0: the first answer ends (connection closed) after this many bytes
  bool honourRange = true;   // false: every answer is the whole file with 200
  std::chrono::milliseconds firstByteDelay{0};
  std::chrono::milliseconds chunkDelay{0};  // between 1 KiB pieces
};

// GET `path`: `size` bytes of PatternBytes with Content-Length, single "bytes=a-" ranges.
void ServePattern(TestServer& server, const std::string& path, size_t size, FileBehaviour behaviour) {
  auto answered = std::make_shared<std::atomic<int>>(0);
  server.Get(path, [&server, size, behaviour, answered](const httplib::Request& req, httplib::Response& res) {
    const bool first = answered->fetch_add(1) == 0;
    // The handler answers ranges itself; cpp-httplib would cut the body a second time.
    const_cast<httplib::Request&>(req).ranges.clear();
    size_t start = 0;
    const std::string range = req.get_header_value("Range");
    if (behaviour.honourRange && range.starts_with("bytes=") && range.ends_with("-")) {
      start = std::stoul(range.substr(6, range.size() - 7));
      if (start >= size) {
        res.status = 416;
        return;
      }
      res.status = 206;
      res.set_header("Content-Range",
                     "bytes " + std::to_string(start) + "-" + std::to_string(size - 1) + "/" + std::to_string(size));
    }
    const size_t cut = first ? behaviour.cutFirstAt : 0;
    res.set_content_provider(size - start, "application/octet-stream",
                             [&server, start, cut, behaviour](size_t offset, size_t length, httplib::DataSink& sink) {
                               if (offset == 0 && behaviour.firstByteDelay.count() > 0 &&
                                   !server.Pause(behaviour.firstByteDelay)) {
                                 return false;
                               }
                               if (cut > 0 && offset >= cut) return false;
                               size_t piece = std::min<size_t>(length, behaviour.chunkDelay.count() > 0 ? 1024 : 64 * 1024);
                               if (cut > 0) piece = std::min(piece, cut - offset);
                               const std::string bytes = PatternBytes(start + offset, piece);
                               if (!sink.write(bytes.data(), bytes.size())) return false;
                               return behaviour.chunkDelay.count() == 0 || server.Pause(behaviour.chunkDelay);
                             });
  });
}

size_t CountMethod(const TestServer& server, const std::string& method) {
  size_t n = 0;
  for (const auto& r : server.Requests()) n += r.method == method ? 1 : 0;
  return n;
}

TEST(DownloadEngine, SavesADemoSiteVideoByteForByte) {
  demo::SiteOptions options;
  options.port = 0;
  demo::SiteServer site(options);
  TempDir dir;
  const fs::path target = dir / "episode 1.flv";
  DownloadEngine engine;
  const TaskOutcome outcome =
      RunToEnd(engine, FastParam("http://127.0.0.1:" + std::to_string(site.Port()) + "/v/400050557_1.flv", target));

  ASSERT_EQ(outcome.state, TaskState::Finished) << outcome.message;
  EXPECT_EQ(outcome.httpStatus, 200);
  EXPECT_EQ(outcome.path, target);
  const std::string bytes = ReadAll(target);
  ASSERT_GT(bytes.size(), 1000000u);
  EXPECT_EQ(outcome.totalBytes, static_cast<std::int64_t>(bytes.size()));
  EXPECT_TRUE(bytes == demo::VideoBytes(demo::FileSeed("400050557_1"), 0, bytes.size()));
  EXPECT_FALSE(fs::exists(PartPathFor(target)));
  EXPECT_EQ(engine.ReceivedBytes(), 0);
  EXPECT_EQ(engine.TotalBytes(), 0);
}

TEST(DownloadEngine, TargetHasFullLengthBeforeTheFirstByteAndCountFallsToZeroAtTheEnd) {
  TestServer server;
  constexpr size_t kSize = 300000;
  ServePattern(server, "/slow.flv", kSize, {.firstByteDelay = 600ms});
  TempDir dir;
  const fs::path target = dir / "slow.flv";
  DownloadEngine engine;
  ASSERT_TRUE(engine.AddTask(FastParam(server.Url("/slow.flv"), target)));

  bool sawFullLengthEarly = false;
  for (int i = 0; i < 500 && engine.IsActive() && !sawFullLengthEarly; ++i) {
    std::error_code ec;
    const auto size = fs::file_size(target, ec);
    if (!ec && size == kSize && engine.ReceivedBytes() == 0) sawFullLengthEarly = true;
    std::this_thread::sleep_for(5ms);
  }
  EXPECT_TRUE(sawFullLengthEarly);
  EXPECT_EQ(engine.TotalBytes(), static_cast<std::int64_t>(kSize));
  ASSERT_TRUE(engine.WaitUntilIdle(20s));
  EXPECT_EQ(engine.ReceivedBytes(), 0);
  EXPECT_EQ(engine.LastOutcome().state, TaskState::Finished);
  EXPECT_EQ(engine.LastOutcome().totalBytes, static_cast<std::int64_t>(kSize));
  EXPECT_TRUE(ReadAll(target) == PatternBytes(0, kSize));
}

TEST(DownloadEngine, RefusesUnusableAddresses) {
  TempDir dir;
  DownloadEngine engine;
  for (const std::string address : {"", "ftp://127.0.0.1/a.flv", "http://", "https:///a.flv", "not an address",
                                    "file:///etc/passwd"}) {
    SCOPED_TRACE(address);
    EXPECT_FALSE(engine.AddTask(FastParam(address, dir / "a.flv")));
    EXPECT_FALSE(engine.IsActive());
  }
  EXPECT_FALSE(fs::exists(dir / "a.flv"));
}

TEST(DownloadEngine, RefusesASecondTaskWhileOneIsActiveAndStops) {
  TestServer server;
  ServePattern(server, "/slow.flv", 200000, {.chunkDelay = 50ms});
  TempDir dir;
  DownloadEngine engine;
  ASSERT_TRUE(engine.AddTask(FastParam(server.Url("/slow.flv"), dir / "a.flv")));
  for (int i = 0; i < 1000 && engine.ReceivedBytes() == 0; ++i) std::this_thread::sleep_for(5ms);
  EXPECT_FALSE(engine.AddTask(FastParam(server.Url("/slow.flv"), dir / "b.flv")));
  engine.Stop();
  ASSERT_TRUE(engine.WaitUntilIdle(5s));
  EXPECT_EQ(engine.LastOutcome().state, TaskState::Stopped);
  EXPECT_EQ(engine.ReceivedBytes(), 0);
  EXPECT_TRUE(fs::exists(PartPathFor(dir / "a.flv")));
  EXPECT_FALSE(fs::exists(dir / "b.flv"));
}

TEST(DownloadEngine, ResumesWithARangeAfterTheServerCutTheConnection) {
  TestServer server;
  constexpr size_t kSize = 400000;
  constexpr size_t kHalf = kSize / 2;
  ServePattern(server, "/cut.flv", kSize, {.cutFirstAt = kHalf});
  TempDir dir;
  const fs::path target = dir / "cut.flv";
  DownloadEngine engine;
  const TaskOutcome outcome = RunToEnd(engine, FastParam(server.Url("/cut.flv"), target));

  ASSERT_EQ(outcome.state, TaskState::Finished) << outcome.message;
  EXPECT_TRUE(ReadAll(target) == PatternBytes(0, kSize));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_FALSE(requests[0].HasHeader("Range"));
  EXPECT_EQ(requests[1].Header("Range"), "bytes=" + std::to_string(kHalf) + "-");
  EXPECT_FALSE(fs::exists(PartPathFor(target)));
}

TEST(DownloadEngine, RestartsFromZeroWhenTheServerIgnoresTheRange) {
  TestServer server;
  constexpr size_t kSize = 400000;
  ServePattern(server, "/norange.flv", kSize, {.cutFirstAt = kSize / 2, .honourRange = false});
  TempDir dir;
  const fs::path target = dir / "norange.flv";
  DownloadEngine engine;
  const TaskOutcome outcome = RunToEnd(engine, FastParam(server.Url("/norange.flv"), target));

  ASSERT_EQ(outcome.state, TaskState::Finished) << outcome.message;
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_TRUE(requests[1].HasHeader("Range"));
  EXPECT_EQ(fs::file_size(target), kSize);
  EXPECT_TRUE(ReadAll(target) == PatternBytes(0, kSize));
}

TEST(DownloadEngine, RestartsFromZeroWhenTheResourceChangedSize) {
  TestServer server;
  constexpr size_t kSize = 100000;
  ServePattern(server, "/grown.flv", kSize, {});
  TempDir dir;
  const fs::path target = dir / "grown.flv";
  // An earlier run of a resource that was 10 bytes longer then.
  { std::ofstream(target, std::ios::binary) << std::string(kSize + 10, 'x'); }
  ASSERT_TRUE(WritePartRecord(PartPathFor(target), {server.Url("/grown.flv"),
                                                   static_cast<std::int64_t>(kSize + 10), 5000}));
  DownloadEngine engine;
  const TaskOutcome outcome = RunToEnd(engine, FastParam(server.Url("/grown.flv"), target));

  ASSERT_EQ(outcome.state, TaskState::Finished) << outcome.message;
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].Header("Range"), "bytes=5000-");
  EXPECT_FALSE(requests[1].HasHeader("Range"));
  EXPECT_TRUE(ReadAll(target) == PatternBytes(0, kSize));
}

TEST(DownloadEngine, DoesNotFetchACompleteFileFromTheSameAddressAgain) {
  TestServer server;
  constexpr size_t kSize = 50000;
  ServePattern(server, "/done.flv", kSize, {});
  TempDir dir;
  const fs::path target = dir / "done.flv";
  DownloadEngine engine;
  ASSERT_EQ(RunToEnd(engine, FastParam(server.Url("/done.flv"), target)).state, TaskState::Finished);
  if (ReadOrigin(target).empty()) GTEST_SKIP() << "the temporary folder keeps no extended attributes";
  ASSERT_EQ(CountMethod(server, "GET"), 1u);

  // Only the size is asked for (cpp-httplib answers HEAD from the GET route).
  const TaskOutcome again = RunToEnd(engine, FastParam(server.Url("/done.flv"), target));
  EXPECT_EQ(again.state, TaskState::Finished) << again.message;
  EXPECT_EQ(again.totalBytes, static_cast<std::int64_t>(kSize));
  EXPECT_EQ(CountMethod(server, "GET"), 1u);

  // The same file under another address is fetched.
  ServePattern(server, "/other.flv", kSize, {});
  EXPECT_EQ(RunToEnd(engine, FastParam(server.Url("/other.flv"), target)).state, TaskState::Finished);
  EXPECT_EQ(CountMethod(server, "GET"), 2u);
}

TEST(DownloadEngine, ClientErrorsFailAtOnceWithoutRetry) {
  TestServer server;
  server.Text("/missing.flv", "not here", 404);
  server.Text("/forbidden.flv", "no", 403);
  TempDir dir;
  DownloadEngine engine;
  for (const auto& [path, status] : {std::pair{"/missing.flv", 404L}, std::pair{"/forbidden.flv", 403L}}) {
    SCOPED_TRACE(path);
    const size_t before = server.RequestCount();
    const TaskOutcome outcome = RunToEnd(engine, FastParam(server.Url(path), dir / "x.flv"));
    EXPECT_EQ(outcome.state, TaskState::Failed);
    EXPECT_EQ(outcome.httpStatus, status);
    EXPECT_EQ(server.RequestCount() - before, 1u);
    EXPECT_EQ(engine.ReceivedBytes(), 0);
  }
}

TEST(DownloadEngine, RetriesServerErrorsThenSucceeds) {
  TestServer server;
  auto calls = std::make_shared<std::atomic<int>>(0);
  server.Get("/busy.flv", [calls](const httplib::Request&, httplib::Response& res) {
    if (calls->fetch_add(1) < 2) {
      res.status = 503;
      res.set_header("Retry-After", "1");
      res.set_content("busy", "text/plain");
      return;
    }
    res.set_content(PatternBytes(0, 5000), "application/octet-stream");
  });
  TempDir dir;
  DownloadEngine engine;
  const TaskOutcome outcome = RunToEnd(engine, FastParam(server.Url("/busy.flv"), dir / "busy.flv"));
  ASSERT_EQ(outcome.state, TaskState::Finished) << outcome.message;
  EXPECT_EQ(server.RequestCount(), 3u);
  EXPECT_TRUE(ReadAll(dir / "busy.flv") == PatternBytes(0, 5000));
}

TEST(DownloadEngine, GivesUpAfterTheBoundedNumberOfRetries) {
  TestServer server;
  server.Text("/down.flv", "down", 500);
  TempDir dir;
  DownloadEngine engine;
  TaskParam param = FastParam(server.Url("/down.flv"), dir / "down.flv");
  param.maxRetries = 2;
  const TaskOutcome outcome = RunToEnd(engine, param);
  EXPECT_EQ(outcome.state, TaskState::Failed);
  EXPECT_EQ(outcome.httpStatus, 500);
  EXPECT_EQ(server.RequestCount(), 3u);
}

TEST(DownloadEngine, AStalledTransferEndsWithinTheReceiveTimeout) {
  TestServer server;
  server.Stall("/stall.flv", "first bytes");
  TempDir dir;
  DownloadEngine engine;
  TaskParam param = FastParam(server.Url("/stall.flv"), dir / "stall.flv");
  param.receiveTimeoutMs = 300;
  param.maxRetries = 1;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(engine.AddTask(param));
  ASSERT_TRUE(engine.WaitUntilIdle(10s));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(engine.LastOutcome().state, TaskState::Failed);
  EXPECT_EQ(server.RequestCount(), 2u);  // the stall ended the attempt, the retry stalled again
  EXPECT_LT(elapsed, 5s);
  EXPECT_EQ(engine.ReceivedBytes(), 0);
}

TEST(DownloadEngine, DestructionStopsWithinTheGraceTimeAndLeavesTheFileMarkedIncomplete) {
  TestServer server;
  constexpr size_t kSize = 500000;
  ServePattern(server, "/slow.flv", kSize, {.chunkDelay = 20ms});
  TempDir dir;
  const fs::path target = dir / "slow.flv";
  auto engine = std::make_unique<DownloadEngine>();
  ASSERT_TRUE(engine->AddTask(FastParam(server.Url("/slow.flv"), target)));
  for (int i = 0; i < 1000 && engine->ReceivedBytes() < 4096; ++i) std::this_thread::sleep_for(5ms);
  ASSERT_GE(engine->ReceivedBytes(), 4096);

  const auto start = std::chrono::steady_clock::now();
  engine.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
  const auto record = ReadPartRecord(PartPathFor(target));
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->total, static_cast<std::int64_t>(kSize));
  EXPECT_GT(record->done, 0);
  EXPECT_EQ(fs::file_size(target), kSize);

  // A later engine picks up where this one stopped (the record moved to another port).
  const std::int64_t done = record->done;
  TestServer fast;
  ServePattern(fast, "/slow.flv", kSize, {});
  TaskParam param = FastParam(fast.Url("/slow.flv"), target);
  EXPECT_EQ(record->url, server.Url("/slow.flv"));
  ASSERT_TRUE(WritePartRecord(PartPathFor(target), {fast.Url("/slow.flv"), record->total, done}));
  DownloadEngine again;
  ASSERT_EQ(RunToEnd(again, param).state, TaskState::Finished);
  ASSERT_EQ(fast.RequestCount(), 1u);
  EXPECT_EQ(fast.Requests()[0].Header("Range"), "bytes=" + std::to_string(done) + "-");
  EXPECT_TRUE(ReadAll(target) == PatternBytes(0, kSize));
}

TEST(RetryPause, GrowsToTheCapAndHonoursRetryAfterWithinIt) {
  struct Case {
    int failures;
    std::optional<long> retryAfter;
    long expectedMs;
  };
  for (const Case& c : {Case{0, {}, 500}, Case{1, {}, 1000}, Case{2, {}, 2000}, Case{10, {}, 8000},
                        Case{60, {}, 8000}, Case{0, 3L, 3000}, Case{0, 100L, 8000}, Case{4, 0L, 0}}) {
    SCOPED_TRACE(c.failures);
    EXPECT_EQ(RetryPause(c.failures, 500, 8000, c.retryAfter).count(), c.expectedMs);
  }
  EXPECT_EQ(ParseRetryAfter(" 120 "), 120);
  EXPECT_EQ(ParseRetryAfter("Wed, 21 Oct 2015 07:28:00 GMT"), std::nullopt);
  EXPECT_EQ(ParseRetryAfter("-1"), std::nullopt);
}

}  // namespace
}  // namespace lecdl
