#include "download/runner.h"

#include <system_error>
#include <vector>

#include "app/path_text.h"
#include "download/safe_name.h"
#include "text/encoding.h"
#include "text/text.h"

namespace lecdl {

namespace {

enum EpisodeColumn { kTitle = 0, kAddress = 1, kProgress = 2 };

bool HasSaveDirectory(FormPort& form, TextBox box) {
  if (!form.Text(box).empty()) return true;
  form.ShowMessage(Utf8ToGbk("请先选择你要保存的目录"), Utf8ToGbk("信息："), MessageButtons::Ok);
  return false;
}

// Names are decided over the whole list, so a row maps to the same file whichever command
// downloads it.
std::vector<std::string> RowFileNames(FormPort& form) {
  std::vector<std::string> titles;
  const int count = form.RowCount(ListControl::Episodes);
  for (int row = 0; row < count; ++row) titles.push_back(form.Cell(ListControl::Episodes, row, kTitle));
  return DistinctSafeNames(titles);
}

void RunRows(FormPort& form, DownloadEngine& engine, const DownloadSettings& settings, bool checkedOnly) {
  if (!HasSaveDirectory(form, TextBox::EpisodeDirectory)) return;
  const std::vector<std::string> names = RowFileNames(form);
  const int count = static_cast<int>(names.size());
  for (int row = 0; row < count; ++row) {
    if (checkedOnly && !form.IsRowChecked(ListControl::Episodes, row)) continue;
    if (DownloadRow(form, engine, settings, row, names[static_cast<size_t>(row)]) == EpisodeResult::Cancelled) return;
  }
  form.ShowMessage(
      Utf8ToGbk("视频全部下载完毕，如果有异常的请右键相应表项重新下载或者右键获取下载链接到其它工具下载！"),
      Utf8ToGbk("提示"), MessageButtons::Ok);
  form.OpenFolder(CourseFolder(form.Text(TextBox::EpisodeDirectory), form.CourseTitle) + "/");
}

}  // namespace

bool FolderExists(std::string_view gbkPath) {
  if (!gbkPath.empty() && gbkPath.back() == '\\') gbkPath.remove_suffix(1);
  std::error_code error;
  return !gbkPath.empty() && std::filesystem::exists(TextPath(gbkPath), error);
}

std::string CourseFolder(std::string_view saveDirectory, std::string_view courseTitle) {
  if (courseTitle.empty()) return std::string(saveDirectory);
  return std::string(saveDirectory) + "/" + SafeName(courseTitle);
}

void MakeCourseFolder(std::string_view gbkFolder) {
  if (FolderExists(gbkFolder)) return;
  std::error_code ignored;  // a folder that cannot be made shows as a failed row
  std::filesystem::create_directory(TextPath(gbkFolder), ignored);
}

EpisodeResult DownloadRow(FormPort& form, DownloadEngine& engine, const DownloadSettings& settings, int row,
                          const std::string& fileName) {
  form.SetCell(ListControl::Episodes, row, kProgress, Utf8ToGbk("正在加载"));
  const std::string folder = CourseFolder(form.Text(TextBox::EpisodeDirectory), form.CourseTitle);
  TaskParam param = settings.task;
  param.source = form.Cell(ListControl::Episodes, row, kAddress);
  param.target = TextPath(folder + "/" + fileName + ".flv");
  MakeCourseFolder(folder);
  const EpisodeResult result = RunEpisodeTask(form, engine, settings, param, [&](const std::string& text) {
    form.SetCell(ListControl::Episodes, row, kProgress, text);
  });
  if (result != EpisodeResult::Cancelled) {
    form.SetCell(ListControl::Episodes, row, kProgress,
                 Utf8ToGbk(result == EpisodeResult::Complete ? "下载结束" : "下载失败"));
  }
  return result;
}

void DownloadAll(FormPort& form, DownloadEngine& engine, const DownloadSettings& settings) {
  RunRows(form, engine, settings, false);
}

void DownloadChecked(FormPort& form, DownloadEngine& engine, const DownloadSettings& settings) {
  RunRows(form, engine, settings, true);
}

void DownloadAgain(FormPort& form, DownloadEngine& engine, const DownloadSettings& settings) {
  if (!HasSaveDirectory(form, TextBox::EpisodeDirectory)) return;
  const int row = form.CurrentRow(ListControl::Episodes);  // kept for the whole run
  if (row < 0) return;  // no row selected: nothing to download
  const std::vector<std::string> names = RowFileNames(form);
  DownloadRow(form, engine, settings, row, names[static_cast<size_t>(row)]);
}

}  // namespace lecdl
