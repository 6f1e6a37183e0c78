#include "app/memory_form.h"

#include <chrono>
#include <thread>

namespace lecdl {

MemoryForm::MemoryForm() {
  lists_[ListControl::Episodes].columns = 3;
  lists_[ListControl::SearchResults].columns = 7;
  radios_[Radio::Title] = true;  // "标题" is selected when the window opens
}

std::string MemoryForm::Text(TextBox box) { return texts_[box]; }
void MemoryForm::SetText(TextBox box, const std::string& text) { texts_[box] = text; }
std::string MemoryForm::LabelText(Label label) { return labels_[label]; }

void MemoryForm::SetLabel(Label label, const std::string& text) {
  labels_[label] = text;
  if (onLabel) onLabel(label, text);
}

bool MemoryForm::IsTicked(CheckBox box) { return ticks_[box]; }
bool MemoryForm::IsSelected(Radio radio) { return radios_[radio]; }
void MemoryForm::Tick(CheckBox box, bool ticked) { ticks_[box] = ticked; }

void MemoryForm::Select(Radio radio) {
  SelectNone();
  radios_[radio] = true;
}

void MemoryForm::SelectNone() {
  for (auto& [radio, selected] : radios_) selected = false;
}

void MemoryForm::ClearRows(ListControl list) {
  lists_[list].rows.clear();
  lists_[list].current = -1;
}

int MemoryForm::AppendRow(ListControl list) {
  List& l = lists_[list];
  l.rows.push_back(MemoryRow{std::vector<std::string>(l.columns), false});
  return static_cast<int>(l.rows.size()) - 1;
}

int MemoryForm::RowCount(ListControl list) { return static_cast<int>(lists_[list].rows.size()); }

MemoryRow* MemoryForm::RowAt(ListControl list, int row) {
  List& l = lists_[list];
  if (row < 0 || static_cast<size_t>(row) >= l.rows.size()) return nullptr;
  return &l.rows[static_cast<size_t>(row)];
}

std::string MemoryForm::Cell(ListControl list, int row, int column) {
  const MemoryRow* r = RowAt(list, row);
  if (r == nullptr || column < 0 || static_cast<size_t>(column) >= r->cells.size()) return {};
  return r->cells[static_cast<size_t>(column)];
}

void MemoryForm::SetCell(ListControl list, int row, int column, const std::string& text) {
  MemoryRow* r = RowAt(list, row);
  if (r == nullptr || column < 0 || static_cast<size_t>(column) >= r->cells.size()) return;
  r->cells[static_cast<size_t>(column)] = text;
  if (onCell) onCell(list, row, column, text);
}

bool MemoryForm::IsRowChecked(ListControl list, int row) {
  const MemoryRow* r = RowAt(list, row);
  return r != nullptr && r->checked;
}

void MemoryForm::CheckRow(ListControl list, int row, bool checked) {
  if (MemoryRow* r = RowAt(list, row)) r->checked = checked;
}

int MemoryForm::CurrentRow(ListControl list) { return lists_[list].current; }

void MemoryForm::SetCurrentRow(ListControl list, int row) {
  lists_[list].current = RowAt(list, row) != nullptr ? row : -1;
}

bool MemoryForm::ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons) {
  messages.push_back({text, caption, buttons});
  if (onMessage) onMessage(messages.back());
  return buttons == MessageButtons::Ok || answerOk;
}

bool MemoryForm::Wait(int ms) {
  if (onWait) return onWait(ms);
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  return true;
}

void MemoryForm::OpenFolder(const std::string& path) { openedFolders.push_back(path); }
void MemoryForm::OpenAddress(const std::string& address) { openedAddresses.push_back(address); }
bool MemoryForm::SetClipboard(const std::string& text) {
  if (!clipboardAccepts) return false;
  clipboard = text;
  return true;
}

std::optional<std::string> MemoryForm::AskSaveFile(const SaveDialogRequest& request) {
  saveDialogs.push_back(request);
  return saveFileAnswer;
}

std::optional<std::string> MemoryForm::PickFolder(const std::string& title) {
  folderPickerTitles.push_back(title);
  return folderAnswer;
}

}  // namespace lecdl
