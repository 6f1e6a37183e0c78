// The download commands against a video host that misbehaves: each row ends with the text that
// tells the truth, complete files are byte-exact, and an interrupted file resumes.

#include <gtest/gtest.h>

#include "download/runner.h"
#include "download_fixture.h"
#include "faults.h"

namespace lecdl {
namespace {

namespace fs = std::filesystem;

class DownloadFaultsTest : public DownloadTest {
 protected:
  void SetUp() override {
    ReadSeriesOf(demo::ids::kExampleB);
    folder_ = SaveDir() / GbkToUtf8(form_.CourseTitle);
  }

  static demo::FaultSpec Fault(demo::FaultKind kind, std::int64_t arg = demo::kDefaultArg, int times = 0) {
    demo::FaultSpec faultSpec;
    faultSpec.kind = kind;
    faultSpec.arg = arg;
    faultSpec.times = times;
    faultSpec.hold_seconds = 5;
    return faultSpec;
  }

  // Downloads only row `row` (0-based) of the example series.
  std::string DownloadRowOnly(int row) {
    form_.SetCurrentRow(ListControl::Episodes, row);
    DownloadAgain(form_, engine_, settings_);
    return GbkToUtf8(form_.Cell(ListControl::Episodes, row, 2));
  }

  fs::path FileOf(int row) const {
    return folder_ / (demo::FindSeries(demo::ids::kExampleB)->episodes[static_cast<size_t>(row)].title + ".flv");
  }

  std::vector<std::string> RangesSeen(const std::string& playId) {
    std::vector<std::string> ranges;
    for (const auto& request : server_.Site().Log().Snapshot()) {
      if (request.target.find("/v/" + playId) != std::string::npos) ranges.push_back(request.range);
    }
    return ranges;
  }

  fs::path folder_;
};

TEST_F(DownloadFaultsTest, ACutHalfWayIsResumedAndTheFileIsByteExact) {
  server_.Site().SetFault("400004700_1", Fault(demo::FaultKind::kCut, 1000000, 1));
  EXPECT_EQ(DownloadRowOnly(0), "下载结束");
  EXPECT_EQ(test::ReadAll(FileOf(0)), VideoOf(demo::ids::kExampleB, 1));
  EXPECT_FALSE(fs::exists(FileOf(0).string() + ".lecdl-part"));
  const auto ranges = RangesSeen("400004700_1");
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_EQ(ranges[0], "");
  EXPECT_EQ(ranges[1].rfind("bytes=", 0), 0u);  // the second request asked for the rest only
  EXPECT_NE(ranges[1], "bytes=0-");
}

TEST_F(DownloadFaultsTest, AnInterruptedRowResumesOnTheNextCommand) {
  settings_.task.maxRetries = 0;  // the cut ends the first command's try
  server_.Site().SetFault("400004700_2", Fault(demo::FaultKind::kCut, 1500000, 1));
  EXPECT_EQ(DownloadRowOnly(1), "下载失败");
  EXPECT_TRUE(fs::exists(FileOf(1).string() + ".lecdl-part"));  // still marked incomplete

  EXPECT_EQ(DownloadRowOnly(1), "下载结束");
  EXPECT_EQ(test::ReadAll(FileOf(1)), VideoOf(demo::ids::kExampleB, 2));
  EXPECT_FALSE(fs::exists(FileOf(1).string() + ".lecdl-part"));
  EXPECT_NE(RangesSeen("400004700_2").back(), "");
}

TEST_F(DownloadFaultsTest, AServerThatIgnoresTheRangeRestartsTheFile) {
  server_.Site().AddFault("400004700_3", Fault(demo::FaultKind::kCut, 800000, 1));
  server_.Site().AddFault("400004700_3", Fault(demo::FaultKind::kIgnoreRange));
  EXPECT_EQ(DownloadRowOnly(2), "下载结束");
  EXPECT_EQ(test::ReadAll(FileOf(2)), VideoOf(demo::ids::kExampleB, 3));
}

TEST_F(DownloadFaultsTest, NoContentLengthStillGivesTheWholeFile) {
  server_.Site().SetFault("400004700_4", Fault(demo::FaultKind::kChunked));
  EXPECT_EQ(DownloadRowOnly(3), "下载结束");
  EXPECT_EQ(test::ReadAll(FileOf(3)), VideoOf(demo::ids::kExampleB, 4));
}

TEST_F(DownloadFaultsTest, ErrorsAndStallsEndTheRowAsFailedAndTheNextRowGoesOn) {
  server_.Site().SetFault("400004700_1", Fault(demo::FaultKind::kStatus, 404));
  server_.Site().SetFault("400004700_2", Fault(demo::FaultKind::kStall, 0));       // silent from the start
  server_.Site().SetFault("400004700_3", Fault(demo::FaultKind::kStall, 500000));  // silent half-way
  server_.Site().SetFault("400004700_4", Fault(demo::FaultKind::kStatus, 503));
  const auto start = std::chrono::steady_clock::now();
  DownloadAll(form_, engine_, settings_);
  const auto elapsed = std::chrono::steady_clock::now() - start;

  EXPECT_EQ(ProgressColumn(), (std::vector<std::string>{"下载失败", "下载失败", "下载失败", "下载失败", "下载结束"}));
  EXPECT_EQ(server_.Site().VideoRequests("400004700_1"), 1);  // a 404 is not tried again
  EXPECT_GT(server_.Site().VideoRequests("400004700_4"), 1);  // a 503 is
  EXPECT_EQ(test::ReadAll(FileOf(4)), VideoOf(demo::ids::kExampleB, 5));
  EXPECT_TRUE(fs::exists(FileOf(2).string() + ".lecdl-part"));  // a stalled file stays marked incomplete
  EXPECT_LT(elapsed, std::chrono::seconds(30));                  // every wait was bounded
}

}  // namespace
}  // namespace lecdl
