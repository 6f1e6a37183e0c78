#include "download/runner.h"

#include <gtest/gtest.h>

#include "download/safe_name.h"
#include "download_fixture.h"

namespace lecdl {
namespace {

namespace fs = std::filesystem;

class RunnerTest : public DownloadTest {};

TEST_F(RunnerTest, DownloadAllSavesEveryRowIntoTheCourseFolder) {
  ReadSeriesOf(demo::ids::kExampleB);
  std::vector<std::string> row0;
  form_.onCell = [&](ListControl, int row, int column, const std::string& text) {
    if (row == 0 && column == 2) row0.push_back(GbkToUtf8(text));
  };
  DownloadAll(form_, engine_, settings_);

  const auto& episodes = demo::FindSeries(demo::ids::kExampleB)->episodes;
  const fs::path folder = SaveDir() / GbkToUtf8(form_.CourseTitle);
  for (size_t i = 0; i < episodes.size(); ++i) {
    EXPECT_EQ(test::ReadAll(folder / (episodes[i].title + ".flv")), VideoOf(demo::ids::kExampleB, static_cast<int>(i) + 1))
        << episodes[i].title;
  }
  EXPECT_EQ(ProgressColumn(), std::vector<std::string>(episodes.size(), "下载结束"));
  ASSERT_GE(row0.size(), 2u);
  EXPECT_EQ(row0.front(), "正在加载");
  EXPECT_EQ(row0.back(), "下载结束");
  for (size_t i = 1; i + 1 < row0.size(); ++i) EXPECT_EQ(row0[i].back(), '%') << row0[i];

  ASSERT_EQ(form_.messages.size(), 1u);
  EXPECT_EQ(form_.messages[0].text,
            G("视频全部下载完毕，如果有异常的请右键相应表项重新下载或者右键获取下载链接到其它工具下载！"));
  EXPECT_EQ(form_.messages[0].caption, G("提示"));
  EXPECT_EQ(form_.openedFolders, std::vector<std::string>{GbkPath(folder) + "/"});
  EXPECT_EQ(FilesWritten().size(), episodes.size());  // no control files, nothing else
}

TEST_F(RunnerTest, UnsafeTitlesStayInsideTheSaveFolderAndApart) {
  ReadSeriesOf(demo::ids::kUnsafe);
  DownloadAll(form_, engine_, settings_);

  const auto& episodes = demo::FindSeries(demo::ids::kUnsafe)->episodes;
  std::vector<std::string> titles;
  for (const auto& row : form_.Rows(ListControl::Episodes)) titles.push_back(row.cells[0]);
  const std::vector<std::string> names = DistinctSafeNames(titles);
  const std::string course = GbkToUtf8(SafeName(form_.CourseTitle));
  std::set<std::string> expected;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string file = "save/" + course + "/" + GbkToUtf8(names[i]) + ".flv";
    expected.insert(file);
    EXPECT_EQ(test::ReadAll(scratch_ / file), VideoOf(demo::ids::kUnsafe, static_cast<int>(i) + 1)) << file;
  }
  EXPECT_EQ(FilesWritten(), expected);  // every episode its own file, all under the course folder
  EXPECT_EQ(expected.size(), episodes.size());
  EXPECT_EQ(ProgressColumn(), std::vector<std::string>(episodes.size(), "下载结束"));
}

TEST_F(RunnerTest, CheckedRowsOnlyAndAgainForOneRow) {
  ReadSeriesOf(demo::ids::kExampleB);
  form_.CheckRow(ListControl::Episodes, 1, true);
  form_.CheckRow(ListControl::Episodes, 3, true);
  DownloadChecked(form_, engine_, settings_);
  EXPECT_EQ(ProgressColumn(), (std::vector<std::string>{"等待处理", "下载结束", "等待处理", "下载结束", "等待处理"}));
  EXPECT_EQ(FilesWritten().size(), 2u);
  EXPECT_EQ(form_.messages.size(), 1u);

  form_.messages.clear();
  form_.SetCurrentRow(ListControl::Episodes, 4);
  DownloadAgain(form_, engine_, settings_);
  EXPECT_EQ(ProgressColumn()[4], "下载结束");
  EXPECT_EQ(FilesWritten().size(), 3u);
  EXPECT_TRUE(form_.messages.empty());  // no closing message, no folder opened
  EXPECT_EQ(form_.openedFolders.size(), 1u);
}

TEST_F(RunnerTest, NothingToDo) {
  DownloadAll(form_, engine_, settings_);  // an empty list
  EXPECT_EQ(form_.messages.size(), 1u);
  EXPECT_EQ(form_.openedFolders, std::vector<std::string>{GbkPath(SaveDir()) + "/"});  // no course read yet

  ReadSeriesOf(demo::ids::kExampleB);
  form_.SetText(TextBox::EpisodeDirectory, "");
  for (auto command : {DownloadAll, DownloadChecked, DownloadAgain}) {
    form_.messages.clear();
    command(form_, engine_, settings_);
    ASSERT_EQ(form_.messages.size(), 1u);
    EXPECT_EQ(form_.messages[0].text, G("请先选择你要保存的目录"));
    EXPECT_EQ(form_.messages[0].caption, G("信息："));
  }
  EXPECT_EQ(ProgressColumn(), std::vector<std::string>(5, "等待处理"));
  EXPECT_TRUE(FilesWritten().empty());
}

TEST_F(RunnerTest, FailedRowsSayDownloadFailedAndTheNextRowGoesOn) {
  ReadSeriesOf(demo::ids::kBrokenAddr);  // episode 4 names a file the video host does not have
  DownloadAll(form_, engine_, settings_);
  const auto progress = ProgressColumn();
  ASSERT_GE(progress.size(), 5u);
  EXPECT_EQ(progress[3], "下载失败");
  EXPECT_EQ(progress[0], "下载结束");
  EXPECT_EQ(progress[4], "下载结束");
}

TEST_F(RunnerTest, AVanishedSaveFolderFailsEveryRowAndWritesNothing) {
  ReadSeriesOf(demo::ids::kExampleB);
  fs::remove_all(SaveDir());
  DownloadAll(form_, engine_, settings_);
  EXPECT_EQ(ProgressColumn(), std::vector<std::string>(5, "下载失败"));
  EXPECT_TRUE(FilesWritten().empty());
  EXPECT_FALSE(fs::exists(SaveDir()));  // the save directory itself is never made
}

TEST_F(RunnerTest, AnUnstartedTaskTimesOutAfterTheStartWaitAndIsStopped) {
  // An address nobody answers on: the engine keeps retrying, the start wait gives up.
  ReadSeriesOf(demo::ids::kExampleB);
  settings_.startWaitPolls = 3;
  settings_.task.maxRetries = 100;
  form_.SetCell(ListControl::Episodes, 0, 1, "http://127.0.0.1:1/v/x.flv");
  form_.CheckRow(ListControl::Episodes, 0, true);
  form_.CheckRow(ListControl::Episodes, 1, true);
  DownloadChecked(form_, engine_, settings_);
  EXPECT_EQ(ProgressColumn()[0], "下载失败");
  EXPECT_EQ(ProgressColumn()[1], "下载结束");  // the timed-out task did not block the next one
}

TEST(FolderExists, Table) {
  test::TempDir dir;
  const std::string path = Utf8ToGbk(dir.Path().string());
  EXPECT_TRUE(FolderExists(path));
  EXPECT_TRUE(FolderExists(path + "\\"));
  EXPECT_FALSE(FolderExists(path + "/missing"));
  EXPECT_FALSE(FolderExists(""));
}

}  // namespace
}  // namespace lecdl
