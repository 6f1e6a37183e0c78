#pragma once

// The one working window: the series area, the episode list, the search area. Each button starts
// its operation on the window's worker thread; while one runs, the controls that would start a
// conflicting one are disabled. Closing the window cancels the run and stops the engine.

#include <QMainWindow>

#include <filesystem>
#include <functional>
#include <memory>

#include "app/hosts.h"
#include "download/download_engine.h"
#include "download/episode_task.h"
#include "ui/desktop.h"
#include "ui/main_window_layout.h"
#include "ui/operation_worker.h"
#include "ui/window_form.h"

namespace lecdl {

struct MainWindowOptions {
  Hosts hosts;
  DownloadSettings download;
  std::filesystem::path settingsPath;  // the save directories are read from and written to it
  int closeWaitMs = 10'000;            // how long closing waits for the running operation to end
  int counterWaitMs = 2'000;           // how long closing waits for a counter request
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `engine` is the program's one download engine; it must outlive the window.
  MainWindow(DownloadEngine& engine, MainWindowOptions options, QWidget* parent = nullptr);
  ~MainWindow() override;

  FormPort& Form() { return *form_; }
  // Replaces the dialogs and the desktop services (tests answer them themselves).
  void SetDesktop(std::shared_ptr<Desktop> desktop);

  bool IsRunning() const { return running_; }
  // True when closing gave up waiting for an operation (a fetch that would not end); the
  // program should then end without waiting for it.
  bool LeftOperationBehind() const { return leftBehind_; }

 signals:
  void runStarted();
  void runFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Connect();
  // Starts `operation` on the worker unless one runs.
  void Start(std::function<void(FormPort&)> operation);
  void EndRun();
  void SetOperationsEnabled(bool enabled);
  // Cancels the running operation and waits for it, serving its calls meanwhile.
  void StopRun();
  // Runs `job` on the counters' own thread, so that a slow statistics host neither blocks the
  // window nor an operation; skipped while the previous one still runs.
  void RunBeside(std::function<void(FormPort&)> job);

  DownloadEngine& engine_;
  MainWindowOptions options_;
  MainWindowControls controls_;
  std::shared_ptr<WindowForm> form_;
  std::unique_ptr<OperationWorker> worker_;
  std::unique_ptr<OperationWorker> counters_;
  bool running_ = false;
  bool leftBehind_ = false;
};

}  // namespace lecdl
