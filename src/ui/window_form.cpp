#include "ui/window_form.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStatusBar>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <thread>
#include <type_traits>

#include "app/path_text.h"
#include "ui/file_filter.h"
#include "ui/qt_text.h"
#include "ui/report_list.h"

namespace lecdl {

namespace {

// The longest a worker sleeps between looks at the cancel flag.
constexpr int kWaitSliceMs = 10;

// The save-directory boxes hold paths: their texts are GB18030, so a folder outside GBK survives.
bool HoldsPath(TextBox box) { return box == TextBox::EpisodeDirectory || box == TextBox::SeriesDirectory; }

}  // namespace

WindowForm::WindowForm(FormWidgets widgets, std::shared_ptr<Desktop> desktop)
    : widgets_(std::move(widgets)), relay_(new QObject), desktop_(std::move(desktop)) {}

WindowForm::~WindowForm() {
  // The last owner may be a worker left behind at exit; the relay belongs to the GUI thread.
  if (OnGuiThread()) {
    delete relay_;
  } else {
    relay_->deleteLater();
  }
}

bool WindowForm::OnGuiThread() const { return QThread::currentThread() == relay_->thread(); }

template <typename Call>
auto WindowForm::OnGui(Call call) -> decltype(call()) {
  using Result = decltype(call());
  if (OnGuiThread()) return call();
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(relay_, std::move(call), Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(relay_, [&result, &call] { result = call(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

void WindowForm::Post(std::function<void()> call) {
  QMetaObject::invokeMethod(relay_, std::move(call), Qt::QueuedConnection);
}

void WindowForm::SetDesktop(std::shared_ptr<Desktop> desktop) {
  std::lock_guard lock(desktopMutex_);
  desktop_ = std::move(desktop);
}

std::shared_ptr<Desktop> WindowForm::CurrentDesktop() {
  std::lock_guard lock(desktopMutex_);
  return desktop_;
}

QTableWidget* WindowForm::List(ListControl list) const {
  const auto found = widgets_.lists.find(list);
  return found == widgets_.lists.end() ? nullptr : found->second.data();
}

std::string WindowForm::Text(TextBox box) {
  return OnGui([&]() -> std::string {
    const auto found = widgets_.texts.find(box);
    if (found == widgets_.texts.end() || !found->second) return {};
    const QString text = found->second->text();
    return HoldsPath(box) ? PathText(text.toStdString()) : ToGbk(text);
  });
}

void WindowForm::SetText(TextBox box, const std::string& text) {
  OnGui([&] {
    const auto found = widgets_.texts.find(box);
    if (found == widgets_.texts.end() || !found->second) return;
    found->second->setText(HoldsPath(box) ? FromNativePath(TextPath(text).string()) : FromGbk(text));
  });
}

std::string WindowForm::LabelText(Label label) {
  return OnGui([&]() -> std::string {
    if (label == Label::Caption) return widgets_.window ? ToGbk(widgets_.window->windowTitle()) : std::string();
    const auto found = widgets_.labels.find(label);
    if (found == widgets_.labels.end() || !found->second) return {};
    return ToGbk(found->second->text());
  });
}

void WindowForm::SetLabel(Label label, const std::string& text) {
  OnGui([&] {
    if (label == Label::Caption) {
      if (widgets_.window) widgets_.window->setWindowTitle(FromGbk(text));
      return;
    }
    const auto found = widgets_.labels.find(label);
    if (found != widgets_.labels.end() && found->second) found->second->setText(FromGbk(text));
  });
}

bool WindowForm::IsTicked(CheckBox box) {
  return OnGui([&] {
    const auto found = widgets_.checks.find(box);
    return found != widgets_.checks.end() && found->second && found->second->isChecked();
  });
}

bool WindowForm::IsSelected(Radio radio) {
  return OnGui([&] {
    const auto found = widgets_.radios.find(radio);
    return found != widgets_.radios.end() && found->second && found->second->isChecked();
  });
}

void WindowForm::ClearRows(ListControl list) {
  OnGui([&] {
    if (QTableWidget* l = List(list)) {
      l->clearSelection();
      l->setRowCount(0);
    }
  });
}

int WindowForm::AppendRow(ListControl list) {
  return OnGui([&] {
    QTableWidget* l = List(list);
    return l != nullptr ? AppendReportRow(l) : -1;
  });
}

int WindowForm::RowCount(ListControl list) {
  return OnGui([&] {
    QTableWidget* l = List(list);
    return l != nullptr ? l->rowCount() : 0;
  });
}

std::string WindowForm::Cell(ListControl list, int row, int column) {
  return OnGui([&]() -> std::string {
    QTableWidget* l = List(list);
    const QTableWidgetItem* item = l != nullptr ? l->item(row, column) : nullptr;
    return item != nullptr ? ToGbk(item->text()) : std::string();
  });
}

void WindowForm::SetCell(ListControl list, int row, int column, const std::string& text) {
  OnGui([&] {
    QTableWidget* l = List(list);
    if (QTableWidgetItem* item = l != nullptr ? l->item(row, column) : nullptr) item->setText(FromGbk(text));
  });
}

bool WindowForm::IsRowChecked(ListControl list, int row) {
  return OnGui([&] {
    QTableWidget* l = List(list);
    const QTableWidgetItem* item = l != nullptr ? l->item(row, 0) : nullptr;
    return item != nullptr && item->checkState() == Qt::Checked;
  });
}

int WindowForm::CurrentRow(ListControl list) {
  return OnGui([&] {
    QTableWidget* l = List(list);
    return l != nullptr ? SelectedRow(l) : -1;
  });
}

bool WindowForm::ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons) {
  if (Refused()) return false;
  const std::shared_ptr<Desktop> desktop = CurrentDesktop();
  return OnGui([&] {
    return desktop->Message(widgets_.window.data(), FromGbk(text), FromGbk(caption), buttons == MessageButtons::OkCancel);
  });
}

bool WindowForm::Wait(int ms) {
  if (OnGuiThread()) {
    // A handler on the GUI thread keeps the window alive while it waits.
    QElapsedTimer clock;
    clock.start();
    do {
      QCoreApplication::processEvents(QEventLoop::AllEvents, kWaitSliceMs);
      if (clock.elapsed() < ms) QThread::msleep(static_cast<unsigned long>(std::min<qint64>(kWaitSliceMs, ms - clock.elapsed())));
    } while (clock.elapsed() < ms && !cancelled_.load());
    return !cancelled_.load();
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(ms, 0));
  while (!cancelled_.load()) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) break;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(kWaitSliceMs)));
  }
  return !cancelled_.load();
}

void WindowForm::OpenFolder(const std::string& path) {
  if (Refused()) return;
  const std::shared_ptr<Desktop> desktop = CurrentDesktop();
  OnGui([&] { desktop->Open(QUrl::fromLocalFile(FromNativePath(TextPath(path).string()))); });
}

void WindowForm::OpenAddress(const std::string& address) {
  if (Refused()) return;
  const std::shared_ptr<Desktop> desktop = CurrentDesktop();
  OnGui([&] { desktop->Open(QUrl(FromGbk(address), QUrl::TolerantMode)); });
}

bool WindowForm::SetClipboard(const std::string& text) {
  return OnGui([&] {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return false;
    const QString wanted = FromGbk(text);
    clipboard->setText(wanted);
    return clipboard->text() == wanted;
  });
}

std::optional<std::string> WindowForm::AskSaveFile(const SaveDialogRequest& request) {
  if (Refused()) return std::nullopt;
  const std::shared_ptr<Desktop> desktop = CurrentDesktop();
  return OnGui([&]() -> std::optional<std::string> {
    SaveFileQuestion question;
    question.title = FromGbk(request.title);
    question.fileName = FromGbk(request.fileName);
    question.filter = QtFileFilter(FromGbk(request.filter));
    question.defaultSuffix = SuffixOf(FromGbk(request.defaultExtension));
    question.directory = FromNativePath(request.initialDirectory);
    const std::optional<QString> file = desktop->SaveFile(widgets_.window.data(), question);
    if (!file) return std::nullopt;
    return ToNativePath(*file);
  });
}

std::optional<std::string> WindowForm::PickFolder(const std::string& title) {
  if (Refused()) return std::nullopt;
  const std::shared_ptr<Desktop> desktop = CurrentDesktop();
  return OnGui([&]() -> std::optional<std::string> {
    const std::optional<QString> folder = desktop->Folder(widgets_.window.data(), FromGbk(title));
    if (!folder) return std::nullopt;
    return ToNativePath(*folder);
  });
}

}  // namespace lecdl
