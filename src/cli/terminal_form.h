#pragma once

// The in-memory form as the command line uses it: what the operations write to labels, rows and
// message boxes goes to the terminal's error stream in UTF-8. On a terminal a running download
// shows one live line with its percentage, speed and time left; elsewhere only the states
// (loading, done, failed) are written, one line each.

#include <atomic>
#include <iosfwd>
#include <map>
#include <string>

#include "app/memory_form.h"
#include "cli/progress_meter.h"

namespace lecdl {

class DownloadEngine;

class TerminalForm : public MemoryForm {
 public:
  // `interactive`: the error stream is a terminal. `cancelled`, when given, ends the running
  // operation at its next wait once it turns true (Ctrl-C).
  TerminalForm(std::ostream& err, bool interactive = false, const std::atomic<bool>* cancelled = nullptr);

  // The engine whose bytes the live line shows.
  void WatchEngine(const DownloadEngine* engine) { engine_ = engine; }

  // The live line for a transfer; used by commands that drive the engine themselves.
  void ShowProgress(const std::string& name, std::int64_t received, std::int64_t total);
  void EndProgress();

 private:
  void Print(const std::string& utf8Line);
  void OnCell(ListControl list, int row, int column, const std::string& text);

  std::ostream& err_;
  bool interactive_;
  const DownloadEngine* engine_ = nullptr;
  ProgressMeter meter_;
  bool lineOpen_ = false;
  std::map<Label, std::string> shown_;
};

}  // namespace lecdl
