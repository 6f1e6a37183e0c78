#include "download/batch_download.h"

#include <gtest/gtest.h>

#include "download/list_export.h"
#include "download/series_details.h"
#include "download_fixture.h"
#include "scrape/search.h"

namespace lecdl {
namespace {

namespace fs = std::filesystem;

class BatchTest : public DownloadTest {
 protected:
  // A search result row as the search fills it, ticked.
  void AddResult(const char* seriesId) {
    const int row = form_.AppendRow(ListControl::SearchResults);
    form_.SetCell(ListControl::SearchResults, row, kCourseName, G(demo::FindSeries(seriesId)->title));
    form_.SetCell(ListControl::SearchResults, row, kSeriesIdColumn, seriesId);
    form_.SetCell(ListControl::SearchResults, row, kSearchProgress, G("等待操作"));
    form_.CheckRow(ListControl::SearchResults, row, true);
  }

  // The details file a series should get, in UTF-8.
  std::string ExpectedDetails(const demo::Series& s) const {
    std::string description;
    for (size_t i = 0; i < s.description.size(); ++i) description += (i ? "\r\n" : "") + s.description[i];
    const std::string teacher = s.teacher_block ? s.teacher : "";
    const std::string school = s.teacher_block ? s.school : "";
    const std::string intro = s.teacher_block ? s.intro : "";
    return "原链接：http://" + hosts_.site + "/serie_" + s.id + ".shtml\r\n" +  //
           "标题：" + s.title + "-" + school + "-" + teacher + "【完整全集免费下载】\r\n" +
           "视频简介：" + description + "\r\n" +  //
           "作者介绍：\r\n" +                       //
           "姓名：" + teacher + "\r\n" +            //
           "院校：" + school + "\r\n" +             //
           "介绍：" + intro;
  }
};

TEST_F(BatchTest, DownloadsEveryTickedSeriesWithItsDetailsFile) {
  AddResult(demo::ids::kExampleB);
  AddResult(demo::ids::kForeign);
  const int unticked = form_.AppendRow(ListControl::SearchResults);
  form_.SetCell(ListControl::SearchResults, unticked, kSeriesIdColumn, demo::ids::kExampleA);
  std::vector<std::string> labels;
  form_.onLabel = [&](Label label, const std::string& text) {
    if (label == Label::SearchProgress) labels.push_back(GbkToUtf8(text));
  };
  BatchDownload(form_, engine_, hosts_, settings_);

  std::set<std::string> expected;
  for (const char* id : {demo::ids::kExampleB, demo::ids::kForeign}) {
    const demo::Series& s = *demo::FindSeries(id);
    const fs::path folder = SaveDir() / s.title;
    EXPECT_EQ(GbkToUtf8(test::ReadAll(folder / "简介.txt")), ExpectedDetails(s)) << id;
    expected.insert("save/" + s.title + "/简介.txt");
    for (size_t i = 0; i < s.episodes.size(); ++i) {
      EXPECT_EQ(test::ReadAll(folder / (s.episodes[i].title + ".flv")), VideoOf(id, static_cast<int>(i) + 1));
      expected.insert("save/" + s.title + "/" + s.episodes[i].title + ".flv");
    }
  }
  EXPECT_EQ(FilesWritten(), expected);
  EXPECT_EQ(form_.Cell(ListControl::SearchResults, 0, kSearchProgress), G("下载结束"));
  EXPECT_EQ(form_.Cell(ListControl::SearchResults, 1, kSearchProgress), G("下载结束"));
  EXPECT_EQ(form_.Cell(ListControl::SearchResults, 2, kSearchProgress), "");
  EXPECT_EQ(form_.SeriesId, demo::ids::kForeign);
  EXPECT_EQ(GbkToUtf8(form_.CourseTitle), demo::FindSeries(demo::ids::kForeign)->title);
  ASSERT_EQ(form_.messages.size(), 1u);
  EXPECT_EQ(form_.messages[0].text, G("视频全部下载完毕！"));
  EXPECT_EQ(form_.messages[0].caption, G("提示"));
  // The link of another series at position 3 of the second series is skipped and its position
  // not reused: positions 1 to 5 of the first series, then 1, 2, 4, 5, 6, 7 of the second.
  std::vector<std::string> done;
  for (const std::string& label : labels) {
    if (label.find("个视频下载") != std::string::npos) done.push_back(label.substr(5, label.find("个") - 5));
  }
  EXPECT_EQ(done, (std::vector<std::string>{"1", "2", "3", "4", "5", "1", "2", "4", "5", "6", "7"}));
}

TEST_F(BatchTest, DetailsWithoutATeacherAndWithOverlongDescriptions) {
  for (const char* id : {demo::ids::kUpperCase, demo::ids::kEmpty}) {
    AddResult(id);
  }
  BatchDownload(form_, engine_, hosts_, settings_);
  const demo::Series& upper = *demo::FindSeries(demo::ids::kUpperCase);
  EXPECT_EQ(GbkToUtf8(test::ReadAll(SaveDir() / upper.title / "简介.txt")), ExpectedDetails(upper));

  // Only the first 100 tabs and "</p>" tags are removed; the rest stay as the page had them.
  const std::string details = GbkToUtf8(test::ReadAll(SaveDir() / demo::FindSeries(demo::ids::kEmpty)->title / "简介.txt"));
  size_t tabs = 0;
  for (char c : details) tabs += c == '\t';
  EXPECT_EQ(tabs, 5u);
  EXPECT_NE(details.find("</"), std::string::npos);
  EXPECT_EQ(form_.Cell(ListControl::SearchResults, 1, kSearchProgress), G("下载结束"));  // no episodes at all
}

TEST_F(BatchTest, BrokenEpisodesAreSkippedOrFailAndTheRowSaysSo) {
  AddResult(demo::ids::kBrokenAddr);
  std::vector<std::string> labels;
  form_.onLabel = [&](Label, const std::string& text) { labels.push_back(GbkToUtf8(text)); };
  BatchDownload(form_, engine_, hosts_, settings_);
  // Episode 3's address page is too short to name a video: skipped silently. Episode 4's file
  // is missing on the video host: the download fails, and the row says so.
  EXPECT_EQ(std::find(labels.begin(), labels.end(), "  第3个视频下载成功！"), labels.end());
  EXPECT_NE(std::find(labels.begin(), labels.end(), "  第4个视频下载失败！"), labels.end());
  EXPECT_EQ(form_.Cell(ListControl::SearchResults, 0, kSearchProgress), G("下载失败"));
}

TEST_F(BatchTest, NothingTickedOrNoFolder) {
  BatchDownload(form_, engine_, hosts_, settings_);
  EXPECT_EQ(form_.messages.back().text, G("视频全部下载完毕！"));
  AddResult(demo::ids::kExampleB);
  form_.SetText(TextBox::SeriesDirectory, "");
  BatchDownload(form_, engine_, hosts_, settings_);
  EXPECT_EQ(form_.messages.back().text, G("请先选择你要保存的目录"));
  EXPECT_EQ(form_.messages.back().caption, G("信息："));
  EXPECT_TRUE(FilesWritten().empty());
}

class ExportTest : public DownloadTest {};

TEST_F(ExportTest, TitleAndAddressListsAreExactGbkFiles) {
  const std::pair<std::string, std::string> rows[] = {{G("第1讲"), "http://h/v/1.flv"}, {"a----b", "http://h/v/2.flv"}};
  for (const auto& [title, address] : rows) {
    const int row = form_.AppendRow(ListControl::Episodes);
    form_.SetCell(ListControl::Episodes, row, 0, title);
    form_.SetCell(ListControl::Episodes, row, 1, address);
  }
  const fs::path titles = scratch_ / "titles.txt";
  const fs::path addresses = scratch_ / "addresses.txt";
  form_.saveFileAnswer = titles.string();
  ExportList(form_);
  form_.saveFileAnswer = addresses.string();
  ExportAddresses(form_);

  EXPECT_EQ(test::ReadAll(titles), G("第1讲") + "----http://h/v/1.flv\r\na----b----http://h/v/2.flv\r\n");
  EXPECT_EQ(test::ReadAll(addresses), "http://h/v/1.flv\r\nhttp://h/v/2.flv\r\n");
  ASSERT_EQ(form_.messages.size(), 2u);
  EXPECT_EQ(form_.messages[0].text, G("导出完成！"));
  EXPECT_EQ(form_.messages[0].caption, G("提示"));
  ASSERT_EQ(form_.saveDialogs.size(), 2u);
  EXPECT_EQ(form_.saveDialogs[0].title, G("请输入保存的文件名"));
  EXPECT_EQ(form_.saveDialogs[0].fileName, G("列表.txt"));
  EXPECT_EQ(form_.saveDialogs[0].filter, G("TXT文档(*.txt)|*.txt"));
}

TEST_F(ExportTest, EmptyListCancelledDialogAndUnwritableFile) {
  const fs::path file = scratch_ / "list.txt";
  form_.saveFileAnswer = file.string();
  ExportList(form_);
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(test::ReadAll(file), "");

  std::ofstream(file) << "keep";
  form_.saveFileAnswer.reset();  // cancelled
  form_.messages.clear();
  ExportAddresses(form_);
  EXPECT_EQ(test::ReadAll(file), "keep");
  EXPECT_TRUE(form_.messages.empty());

  form_.saveFileAnswer = (scratch_ / "missing" / "list.txt").string();
  ExportList(form_);
  EXPECT_EQ(form_.messages.back().text, G("导出完成！"));  // said whether or not the write worked
}

TEST_F(ExportTest, CopyAddress) {
  const int row = form_.AppendRow(ListControl::Episodes);
  form_.SetCell(ListControl::Episodes, row, 1, "http://h/v/1.flv");
  CopyAddress(form_);  // no row selected
  EXPECT_TRUE(form_.messages.empty());

  form_.SetCurrentRow(ListControl::Episodes, 0);
  CopyAddress(form_);
  EXPECT_EQ(form_.clipboard, "http://h/v/1.flv");
  EXPECT_EQ(form_.messages.back().text,
            G("下载地址已经复制到剪贴板 Ctrl+V 使用，请用下载工具下载，下载完成后修改拓展名为 flv"));

  form_.messages.clear();
  form_.clipboardAccepts = false;
  CopyAddress(form_);
  EXPECT_TRUE(form_.messages.empty());
}

}  // namespace
}  // namespace lecdl
