#pragma once

// The form held in memory: the command line's window and the tests' window. It keeps what
// operations write, answers what they read, and records the platform services they call.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/form.h"

namespace lecdl {

struct ShownMessage {
  std::string text;
  std::string caption;
  MessageButtons buttons;
};

struct MemoryRow {
  std::vector<std::string> cells;
  bool checked = false;
};

class MemoryForm : public FormPort {
 public:
  MemoryForm();

  std::string Text(TextBox box) override;
  void SetText(TextBox box, const std::string& text) override;
  std::string LabelText(Label label) override;
  void SetLabel(Label label, const std::string& text) override;
  bool IsTicked(CheckBox box) override;
  bool IsSelected(Radio radio) override;

  void ClearRows(ListControl list) override;
  int AppendRow(ListControl list) override;
  int RowCount(ListControl list) override;
  std::string Cell(ListControl list, int row, int column) override;
  void SetCell(ListControl list, int row, int column, const std::string& text) override;
  bool IsRowChecked(ListControl list, int row) override;
  int CurrentRow(ListControl list) override;

  bool ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons) override;
  bool Wait(int ms) override;
  void OpenFolder(const std::string& path) override;
  void OpenAddress(const std::string& address) override;
  bool SetClipboard(const std::string& text) override;
  std::optional<std::string> AskSaveFile(const SaveDialogRequest& request) override;
  std::optional<std::string> PickFolder(const std::string& title) override;

  // Setting the controls, as a user would.
  void Tick(CheckBox box, bool ticked);
  void Select(Radio radio);  // selects one, clears the others
  void SelectNone();
  void CheckRow(ListControl list, int row, bool checked);
  void SetCurrentRow(ListControl list, int row);

  const std::vector<MemoryRow>& Rows(ListControl list) const { return lists_.at(list).rows; }

  // What the operations asked of the platform.
  std::vector<ShownMessage> messages;
  std::vector<std::string> openedFolders;
  std::vector<std::string> openedAddresses;
  std::string clipboard;
  std::vector<SaveDialogRequest> saveDialogs;
  std::vector<std::string> folderPickerTitles;

  // Answers of the platform: the OK/Cancel box, the save dialog and the folder picker.
  bool answerOk = true;
  bool clipboardAccepts = true;
  std::optional<std::string> saveFileAnswer;
  std::optional<std::string> folderAnswer;

  // Called on every Wait with its milliseconds; returns false to cancel the running operation.
  // The default sleeps for real.
  std::function<bool(int)> onWait;
  // Called whenever an operation writes a label, a cell or shows a message (for live output).
  std::function<void(Label, const std::string&)> onLabel;
  std::function<void(ListControl, int, int, const std::string&)> onCell;
  std::function<void(const ShownMessage&)> onMessage;

 private:
  struct List {
    size_t columns = 0;
    std::vector<MemoryRow> rows;
    int current = -1;
  };
  MemoryRow* RowAt(ListControl list, int row);

  std::map<TextBox, std::string> texts_;
  std::map<Label, std::string> labels_;
  std::map<CheckBox, bool> ticks_;
  std::map<Radio, bool> radios_;
  std::map<ListControl, List> lists_;
};

}  // namespace lecdl
