#include <gtest/gtest.h>

#include "catalog.h"
#include "scrape/series_reader.h"
#include "site_fixture.h"

namespace lecdl {
namespace {

class ReadSeriesTest : public SiteTest {
 protected:
  using SiteTest::SiteTest;

  void Read(const std::string& seriesId) {
    form_.SetText(TextBox::SeriesAddress, Site() + "/serie_" + seriesId + ".shtml");
    ReadSeries(form_, hosts_);
  }

  void SetRange(const std::string& first, const std::string& last) {
    form_.Tick(CheckBox::RangeOption, true);
    form_.SetText(TextBox::RangeFirst, first);
    form_.SetText(TextBox::RangeLast, last);
  }

  std::vector<std::string> Titles() {
    std::vector<std::string> titles;
    for (const auto& row : form_.Rows(ListControl::Episodes)) titles.push_back(GbkToUtf8(row.cells[0]));
    return titles;
  }

  // The episode titles of a series of the demo site, for positions `first` to `last` (1-based).
  static std::vector<std::string> CatalogTitles(const char* id, int first = 1, int last = 1000) {
    std::vector<std::string> titles;
    const auto& episodes = demo::FindSeries(id)->episodes;
    for (int i = first; i <= last && i <= static_cast<int>(episodes.size()); ++i) titles.push_back(episodes[i - 1].title);
    return titles;
  }
};

TEST_F(ReadSeriesTest, ListsEveryEpisodeWithItsVideoAddress) {
  Read(demo::ids::kExampleA);

  EXPECT_EQ(Titles(), CatalogTitles(demo::ids::kExampleA));
  const auto& rows = form_.Rows(ListControl::Episodes);
  ASSERT_EQ(rows.size(), 6u);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].cells[1], Site() + "/v/400050557_" + std::to_string(i + 1) + ".flv");
    EXPECT_EQ(rows[i].cells[2], G("等待处理"));
    EXPECT_FALSE(rows[i].checked);
  }
  EXPECT_EQ(form_.SeriesId, "400050557");
  EXPECT_EQ(form_.CourseTitle, G("数据结构与算法分析"));
  EXPECT_EQ(form_.LabelText(Label::SeriesStatus), G("视频标题：数据结构与算法分析  视频数量：6个"));
  ASSERT_EQ(form_.messages.size(), 1u);
  EXPECT_EQ(form_.messages[0].text, G("视频地址获取完毕！共有6个"));
  EXPECT_EQ(form_.messages[0].caption, G("提示"));
  EXPECT_EQ(form_.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(form_.LabelText(Label::UsageLine),
            G("本程序当前已经为用户成功获取到") + std::to_string(server_.Site().UsageCount()) + G("（统计成功）次资源！"));

  // The series page once; per episode its address page, then one counter request.
  std::vector<std::string> expected = {"/serie_400050557.shtml"};
  for (int i = 1; i <= 6; ++i) {
    expected.push_back("/videourl_400050557_" + std::to_string(i) + ".shtml");
    expected.push_back("/down/chaoxing/cx.php?cg=1");
  }
  EXPECT_EQ(Requests(), expected);
}

TEST_F(ReadSeriesTest, StatusLineCountsRowsAddedNotPositions) {
  std::vector<std::string> statusLines;
  form_.onLabel = [&](Label label, const std::string& text) {
    if (label == Label::SeriesStatus) statusLines.push_back(GbkToUtf8(text));
  };
  SetRange("3", "5");
  Read(demo::ids::kExampleA);

  EXPECT_EQ(Titles(), CatalogTitles(demo::ids::kExampleA, 3, 5));
  EXPECT_EQ(statusLines, (std::vector<std::string>{
                             "视频标题：数据结构与算法分析  获取第1个下载地址成功！",
                             "视频标题：数据结构与算法分析  获取第2个下载地址成功！",
                             "视频标题：数据结构与算法分析  获取第3个下载地址成功！",
                             "视频标题：数据结构与算法分析  视频数量：3个",
                         }));
  EXPECT_EQ(Requests("/videourl_"), (std::vector<std::string>{"/videourl_400050557_3.shtml",
                                                               "/videourl_400050557_4.shtml",
                                                               "/videourl_400050557_5.shtml"}));
}

TEST_F(ReadSeriesTest, RangeBoxes) {
  struct Case {
    const char* first;
    const char* last;
    size_t rows;
  };
  const Case cases[] = {
      {"3", "5", 3}, {"5", "", 0},  {"", "2", 2},  {"5", "3", 0},
      {"4", "99", 3}, {"6", "6", 1}, {"x", "y", 0}, {"0", "1", 1},
  };
  for (const Case& c : cases) {
    form_.messages.clear();
    SetRange(c.first, c.last);
    Read(demo::ids::kExampleA);
    EXPECT_EQ(form_.Rows(ListControl::Episodes).size(), c.rows) << c.first << "-" << c.last;
    EXPECT_EQ(form_.messages.back().text, G("视频地址获取完毕！共有") + std::to_string(c.rows) + G("个"));
  }
}

TEST_F(ReadSeriesTest, RangeBoxesAreNotReadWhenTheOptionIsOff) {
  form_.SetText(TextBox::RangeFirst, "3");
  form_.SetText(TextBox::RangeLast, "3");
  Read(demo::ids::kExampleA);
  EXPECT_EQ(form_.Rows(ListControl::Episodes).size(), 6u);
}

TEST_F(ReadSeriesTest, RangeIsReadAfreshForEveryLink) {
  SetRange("1", "6");
  int rowsSeen = 0;
  form_.onWait = [&](int) {
    if (++rowsSeen == 3) form_.SetText(TextBox::RangeLast, "2");  // narrowed after the second row
    return true;
  };
  Read(demo::ids::kExampleA);
  EXPECT_EQ(form_.Rows(ListControl::Episodes).size(), 2u);
}

TEST_F(ReadSeriesTest, ALinkOfAnotherSeriesIsSkippedButKeepsItsPosition) {
  SetRange("2", "4");  // position 3 links an episode of the first example series
  Read(demo::ids::kForeign);
  const auto titles = CatalogTitles(demo::ids::kForeign);
  EXPECT_EQ(Titles(), (std::vector<std::string>{titles[1], titles[2]}));
  EXPECT_EQ(Requests("/videourl_"),
            (std::vector<std::string>{"/videourl_400023456_2.shtml", "/videourl_400023456_3.shtml"}));
}

TEST_F(ReadSeriesTest, PercentEscapedAndUpperCasePagesReadAlike) {
  for (const char* id : {demo::ids::kEscaped, demo::ids::kUpperCase, demo::ids::kLong}) {
    Read(id);
    EXPECT_EQ(Titles(), CatalogTitles(id)) << id;
    EXPECT_EQ(GbkToUtf8(form_.CourseTitle), demo::FindSeries(id)->title) << id;
  }
}

TEST_F(ReadSeriesTest, AnAddressPageWithoutAVideoGivesTheBareVideoHost) {
  Read(demo::ids::kBrokenAddr);
  const auto& rows = form_.Rows(ListControl::Episodes);
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[1].cells[1], Site() + "/");
  EXPECT_EQ(rows[2].cells[1], Site() + "/");
  EXPECT_NE(rows[0].cells[1], Site() + "/");
}

TEST_F(ReadSeriesTest, ASeriesPageWithoutEpisodes) {
  Read(demo::ids::kEmpty);
  EXPECT_TRUE(form_.Rows(ListControl::Episodes).empty());
  EXPECT_EQ(form_.CourseTitle, Utf8ToGbk(demo::FindSeries(demo::ids::kEmpty)->title));
  EXPECT_EQ(form_.messages.back().text, G("视频地址获取完毕！共有0个"));
  EXPECT_EQ(Requests(), std::vector<std::string>{"/serie_400078901.shtml"});

  Read(demo::ids::kNoTitle);
  EXPECT_EQ(form_.CourseTitle, "");
  EXPECT_EQ(form_.LabelText(Label::SeriesStatus).substr(0, G("视频标题：  视频数量：").size()), G("视频标题：  视频数量："));
}

TEST_F(ReadSeriesTest, AddressCheck) {
  Read(demo::ids::kExampleB);
  const size_t requestsBefore = Requests().size();
  const std::string example = G("输入的链接地址不是目录地址！举例：") + Site() + "/serie_400004700.shtml";
  for (const std::string& address : {std::string("http://other.host/serie_1.shtml"), std::string(""),
                                     "HTTP://" + hosts_.site + "/SERIE_1.shtml", Site() + "/play_1.shtml"}) {
    form_.messages.clear();
    form_.SetText(TextBox::SeriesAddress, address);
    ReadSeries(form_, hosts_);
    ASSERT_EQ(form_.messages.size(), 1u) << address;
    EXPECT_EQ(form_.messages[0].text, example);
    EXPECT_EQ(form_.messages[0].caption, G("提示"));
  }
  EXPECT_EQ(form_.Rows(ListControl::Episodes).size(), 5u);  // the list keeps its rows
  EXPECT_EQ(form_.SeriesId, "400004700");
  EXPECT_EQ(Requests().size(), requestsBefore);

  // Surrounding spaces pass the check and are trimmed before the fetch; another scheme passes too.
  form_.SetText(TextBox::SeriesAddress, "  " + Site() + "/serie_400004700.shtml  ");
  ReadSeries(form_, hosts_);
  EXPECT_EQ(form_.Rows(ListControl::Episodes).size(), 5u);
  form_.SetText(TextBox::SeriesAddress, "ftp://" + hosts_.site + "/serie_400004700.shtml");
  ReadSeries(form_, hosts_);
  EXPECT_EQ(form_.messages.back().text, G("视频地址获取完毕！共有0个"));  // passed the check, fetch failed
}

TEST_F(ReadSeriesTest, CancellingStopsTheRun) {
  form_.onWait = [](int) { return false; };
  Read(demo::ids::kExampleA);
  EXPECT_TRUE(form_.Rows(ListControl::Episodes).empty());
  EXPECT_TRUE(form_.messages.empty());
}

class UnconfirmedCounterTest : public ReadSeriesTest {
 protected:
  UnconfirmedCounterTest() : ReadSeriesTest(Options()) {}
  static demo::SiteOptions Options() {
    demo::SiteOptions options = Ephemeral();
    options.count_confirms = false;
    return options;
  }
};

TEST_F(UnconfirmedCounterTest, FallsBackToReadingTheTotal) {
  SetRange("1", "2");
  Read(demo::ids::kExampleA);
  EXPECT_EQ(Requests("/down/"), (std::vector<std::string>{"/down/chaoxing/cx.php?cg=1", "/down/chaoxing/cx.php?cg=0",
                                                           "/down/chaoxing/cx.php?cg=1", "/down/chaoxing/cx.php?cg=0"}));
  EXPECT_EQ(form_.LabelText(Label::UsageLine),
            UsageLineText(std::to_string(server_.Site().UsageCount())));
}

TEST(ReadSeriesUnreachable, NoRowsAndAnEmptyUsageTotal) {
  Hosts hosts;
  hosts.site = hosts.video = hosts.stats = "127.0.0.1:1";  // nothing listens there
  MemoryForm form;
  form.SetText(TextBox::SeriesAddress, "http://127.0.0.1:1/serie_5.shtml");
  ReadSeries(form, hosts);
  EXPECT_TRUE(form.Rows(ListControl::Episodes).empty());
  EXPECT_EQ(form.messages.back().text, Utf8ToGbk("视频地址获取完毕！共有0个"));
}

}  // namespace
}  // namespace lecdl
