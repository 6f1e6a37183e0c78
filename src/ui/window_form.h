#pragma once

// The form port over the main window's widgets. It may be called from any thread: a call from
// the operations' worker thread is carried to the GUI thread and waits there for its answer, so
// widgets are only ever touched on the GUI thread and the window repaints while the worker waits
// on the network. Once the run is cancelled (the window closes), calls from the worker ask the
// user nothing: Wait and the dialogs answer "cancelled", message boxes are not shown.
//
// Texts are GBK, but the save-directory boxes hold path texts (GB18030, see app/path_text.h);
// the answers of the save dialog and the folder picker are native paths.

#include <QObject>
#include <QPointer>

#include <atomic>
#include <memory>
#include <mutex>

#include "app/form.h"
#include "ui/desktop.h"
#include "ui/form_widgets.h"

namespace lecdl {

class WindowForm : public FormPort {
 public:
  // Create on the GUI thread.
  WindowForm(FormWidgets widgets, std::shared_ptr<Desktop> desktop);
  ~WindowForm() override;
  WindowForm(const WindowForm&) = delete;
  WindowForm& operator=(const WindowForm&) = delete;

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

  void SetDesktop(std::shared_ptr<Desktop> desktop);

  // Cancel ends the run's waits and dialogs from now on; Resume clears that for the next run.
  void Cancel() { cancelled_.store(true); }
  void Resume() { cancelled_.store(false); }
  bool Cancelled() const { return cancelled_.load(); }

  // Runs `call` on the GUI thread, after the calls carried there before it (for the run's end).
  void Post(std::function<void()> call);

 private:
  bool OnGuiThread() const;
  // A worker's call after the run was cancelled: the user is asked nothing more.
  bool Refused() const { return cancelled_.load() && !OnGuiThread(); }
  template <typename Call>
  auto OnGui(Call call) -> decltype(call());
  QTableWidget* List(ListControl list) const;
  std::shared_ptr<Desktop> CurrentDesktop();

  FormWidgets widgets_;
  QObject* relay_;  // lives on the GUI thread; the worker's calls are delivered to it
  std::mutex desktopMutex_;
  std::shared_ptr<Desktop> desktop_;
  std::atomic<bool> cancelled_{false};
};

}  // namespace lecdl
