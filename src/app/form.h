#pragma once

// The port between operations and the main window. Operations read their inputs from the
// window's controls and write their results into them through this interface, at the moment
// they need them (a range box is read afresh for every link), so that they behave the same
// under the desktop window, the command line and the tests. All texts are GBK.

#include <optional>
#include <string>

namespace lecdl {

// Edit boxes, by role; the window's form name stands beside each.
enum class TextBox {
  EpisodeDirectory,  // 编辑框1: save directory of episode downloads
  RangeFirst,        // 编辑框2: first position of the range ("获取第")
  SeriesAddress,     // 编辑框3: the series address
  RangeLast,         // 编辑框4: last position of the range ("到")
  SeriesDirectory,   // 编辑框5: save directory of series downloads
  Keyword,           // 编辑框6: the search keyword
};

// Labels and other text-only outputs.
enum class Label {
  SeriesStatus,    // 标签1: progress line of the series area
  UsageLine,       // 标签5: usage total
  SearchProgress,  // 标签10: progress line of the search area
  ResultTitle,     // 标签12: course name of the clicked result row
  ResultCount,     // 标签13: result count under the result list
  StatusBar,       // 状态条1: status text from the status-text host
  Caption,         // the main window's caption
};

enum class CheckBox {
  RangeOption,  // 选择框1: "区段获取"
};

// The search-field radio buttons, in the order the search examines them.
enum class Radio {
  AllFields,  // 单选框1: "全部字段"
  Title,      // 单选框2: "标题"
  Teacher,    // 单选框3: "主讲人"
  School,     // 单选框4: "主讲人单位"
  Subtitles,  // 单选框5: "字幕"
};

enum class ListControl {
  Episodes,       // 超级列表框1: 标题, 下载地址, 进度
  SearchResults,  // 超级列表框2: 课程名称, 教师, 学校, 更新时间, 播放次数, 下载地址 (series id), 进度
};

enum class MessageButtons { Ok, OkCancel };

// What an export asks of the save dialog (通用对话框1).
struct SaveDialogRequest {
  std::string title;
  std::string fileName;
  std::string filter;
  std::string defaultExtension;
  std::string initialDirectory;  // native path
};

class FormPort {
 public:
  virtual ~FormPort() = default;

  virtual std::string Text(TextBox box) = 0;
  virtual void SetText(TextBox box, const std::string& text) = 0;
  virtual std::string LabelText(Label label) = 0;
  virtual void SetLabel(Label label, const std::string& text) = 0;
  virtual bool IsTicked(CheckBox box) = 0;
  virtual bool IsSelected(Radio radio) = 0;

  // Lists: rows and columns are 0-based; a new row has empty cells and a cleared check box.
  virtual void ClearRows(ListControl list) = 0;
  virtual int AppendRow(ListControl list) = 0;  // the new row's index
  virtual int RowCount(ListControl list) = 0;
  virtual std::string Cell(ListControl list, int row, int column) = 0;
  virtual void SetCell(ListControl list, int row, int column, const std::string& text) = 0;
  virtual bool IsRowChecked(ListControl list, int row) = 0;
  virtual int CurrentRow(ListControl list) = 0;  // -1 when no row is current

  // Platform services.
  // Shows a message box; true when the user answered OK.
  virtual bool ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons) = 0;
  // Waits `ms` milliseconds (0: only lets the window catch up) while the window stays alive;
  // false when the user has cancelled the running operation.
  virtual bool Wait(int ms) = 0;
  virtual void OpenFolder(const std::string& path) = 0;
  virtual void OpenAddress(const std::string& address) = 0;
  // True when the clipboard took the text.
  virtual bool SetClipboard(const std::string& text) = 0;
  // The chosen file as a native path; nullopt when the user cancelled.
  virtual std::optional<std::string> AskSaveFile(const SaveDialogRequest& request) = 0;
  virtual std::optional<std::string> PickFolder(const std::string& title) = 0;

  // The series last read: its id and the course title that names the download folder.
  std::string SeriesId;
  std::string CourseTitle;
};

}  // namespace lecdl
