#include <gtest/gtest.h>

#include <sstream>

#include "cli/progress_meter.h"
#include "cli/terminal_form.h"
#include "text/encoding.h"

namespace lecdl {
namespace {

using namespace std::chrono_literals;

TEST(ProgressMeter, PercentSpeedAndTimeLeft) {
  ProgressMeter meter;
  const auto start = ProgressMeter::Clock::time_point{};
  EXPECT_EQ(meter.Line(0, 4 << 20, start), "  0.0%");  // no speed before a second sample
  EXPECT_EQ(meter.Line(1 << 20, 4 << 20, start + 1s), " 25.0%  1.0 MB/s  ETA 0:03");
  EXPECT_EQ(meter.Line(1 << 20, -1, start + 2s), "1.0 MB  716.8 KB/s");  // size unknown: bytes, no ETA
  meter.Reset();
  EXPECT_EQ(meter.Line(10, 10, start + 3s), "100.0%");
}

TEST(HumanBytes, Table) {
  EXPECT_EQ(HumanBytes(0), "0 B");
  EXPECT_EQ(HumanBytes(1023), "1023 B");
  EXPECT_EQ(HumanBytes(1536), "1.5 KB");
  EXPECT_EQ(HumanBytes(3.5 * 1024 * 1024 * 1024), "3.5 GB");
}

TEST(TerminalForm, WritesStatesAndMessagesButNoLiveLineOffATerminal) {
  std::ostringstream err;
  TerminalForm form(err, false);
  const int row = form.AppendRow(ListControl::Episodes);
  form.SetCell(ListControl::Episodes, row, 0, Utf8ToGbk("第1讲"));
  form.SetCell(ListControl::Episodes, row, 2, Utf8ToGbk("等待处理"));
  form.SetCell(ListControl::Episodes, row, 2, Utf8ToGbk("正在加载"));
  form.SetCell(ListControl::Episodes, row, 2, "12.5%");
  form.SetCell(ListControl::Episodes, row, 2, Utf8ToGbk("下载结束"));
  form.SetLabel(Label::UsageLine, "x");
  form.SetLabel(Label::SearchProgress, Utf8ToGbk("第1页"));
  form.SetLabel(Label::SearchProgress, Utf8ToGbk("第1页"));
  form.ShowMessage(Utf8ToGbk("完毕"), Utf8ToGbk("提示"), MessageButtons::Ok);
  EXPECT_EQ(err.str(), "正在加载 第1讲\n下载结束 第1讲\n第1页\n完毕\n");
}

TEST(TerminalForm, ALiveLineOnATerminalIsClearedBeforeTheNextLine) {
  std::ostringstream err;
  TerminalForm form(err, true);
  form.ShowProgress("a.flv", 50, 100);
  form.ShowMessage("done", "", MessageButtons::Ok);
  EXPECT_EQ(err.str(), "\r\033[Ka.flv   50.0%\r\033[Kdone\n");
}

TEST(TerminalForm, InterruptEndsTheNextWait) {
  std::ostringstream err;
  std::atomic<bool> cancelled{false};
  TerminalForm form(err, false, &cancelled);
  EXPECT_TRUE(form.Wait(0));
  cancelled = true;
  EXPECT_FALSE(form.Wait(0));
}

}  // namespace
}  // namespace lecdl
