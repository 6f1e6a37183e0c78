#include "cli/terminal_form.h"

#include <chrono>
#include <ostream>
#include <thread>

#include "download/download_engine.h"
#include "text/encoding.h"

namespace lecdl {

namespace {

bool EndsWith(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

TerminalForm::TerminalForm(std::ostream& err, bool interactive, const std::atomic<bool>* cancelled)
    : err_(err), interactive_(interactive) {
  onLabel = [this](Label label, const std::string& text) {
    // The usage line repeats after every episode; it is the window's decoration, not progress.
    // A label rewritten with the same text (one search page, row after row) is shown once.
    if (label == Label::UsageLine || shown_[label] == text) return;
    shown_[label] = text;
    static const std::string kDownloading = Utf8ToGbk("正在下载 ");
    if (label == Label::SearchProgress && text.rfind(kDownloading, 0) == 0) {
      // A batch episode's percentage: the live line shows it, with speed and time left.
      if (engine_ != nullptr) ShowProgress(GbkToUtf8(text.substr(kDownloading.size())), engine_->ReceivedBytes(),
                                           engine_->TotalBytes());
      return;
    }
    Print(GbkToUtf8(text));
  };
  onCell = [this](ListControl list, int row, int column, const std::string& text) { OnCell(list, row, column, text); };
  onMessage = [this](const ShownMessage& message) { Print(GbkToUtf8(message.text)); };
  onWait = [cancelled](int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return cancelled == nullptr || !cancelled->load();
  };
}

void TerminalForm::OnCell(ListControl list, int row, int column, const std::string& text) {
  if (list != ListControl::Episodes || column != 2) return;
  const std::string title = GbkToUtf8(Cell(ListControl::Episodes, row, 0));
  if (EndsWith(text, "%")) {
    if (engine_ != nullptr) ShowProgress(title, engine_->ReceivedBytes(), engine_->TotalBytes());
    return;
  }
  if (text == Utf8ToGbk("等待处理")) return;  // a row being listed, not a download state
  if (text == Utf8ToGbk("正在加载")) meter_.Reset();
  Print(GbkToUtf8(text) + " " + title);
}

void TerminalForm::ShowProgress(const std::string& name, std::int64_t received, std::int64_t total) {
  if (!interactive_) return;
  err_ << "\r\033[K" << name << "  " << meter_.Line(received, total) << std::flush;
  lineOpen_ = true;
}

void TerminalForm::EndProgress() {
  if (lineOpen_) err_ << "\r\033[K" << std::flush;
  lineOpen_ = false;
  meter_.Reset();
}

void TerminalForm::Print(const std::string& utf8Line) {
  if (lineOpen_) err_ << "\r\033[K";
  lineOpen_ = false;
  err_ << utf8Line << '\n';
}

}  // namespace lecdl
