#include "ui/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QUrl>

#include "app/settings.h"
#include "app/usage_counters.h"
#include "app/version.h"
#include "download/batch_download.h"
#include "download/list_export.h"
#include "download/runner.h"
#include "scrape/search.h"
#include "scrape/series_reader.h"
#include "text/encoding.h"
#include "ui/qt_text.h"

namespace lecdl {

MainWindow::MainWindow(DownloadEngine& engine, MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent),
      engine_(engine),
      options_(std::move(options)),
      controls_(BuildMainWindowControls(this, options_.hosts.site)),
      form_(std::make_shared<WindowForm>(controls_.form, std::make_shared<QtDesktop>())),
      worker_(std::make_unique<OperationWorker>()),
      counters_(std::make_unique<OperationWorker>()) {
  setObjectName(QStringLiteral("MainWindow"));
  Connect();
  // Created: the usage total, the remembered directories, the caption, the status text. The two
  // server texts arrive when they arrive; the window does not wait for them.
  const Hosts hosts = options_.hosts;
  RunBeside([hosts](FormPort& form) {
    ShowUsageCount(form, hosts);
    RefreshStatusText(form, hosts);
  });
  if (!options_.settingsPath.empty()) ReadSettings(*form_, options_.settingsPath);
  setWindowTitle(QString::fromUtf8("欢迎使用！ 当前版本:") + QString::fromStdString(VersionText()));
  controls_.clock->start();
}

MainWindow::~MainWindow() {
  StopRun();
  counters_->WaitIdle(std::chrono::milliseconds(options_.counterWaitMs),
                      [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 10); });
  if (leftBehind_) {
    // The worker keeps the form alive; it must not find this window's widgets any more.
    form_->Cancel();
  }
}

void MainWindow::SetDesktop(std::shared_ptr<Desktop> desktop) { form_->SetDesktop(std::move(desktop)); }

void MainWindow::Connect() {
  DownloadEngine& engine = engine_;
  const Hosts hosts = options_.hosts;
  const DownloadSettings download = options_.download;
  MainWindowControls& c = controls_;

  connect(c.readSeries, &QPushButton::clicked, this, [=, this] { Start([=](FormPort& f) { ReadSeries(f, hosts); }); });
  connect(c.downloadChecked, &QPushButton::clicked, this,
          [=, this, &engine] { Start([=, &engine](FormPort& f) { DownloadChecked(f, engine, download); }); });
  connect(c.downloadAll, &QPushButton::clicked, this,
          [=, this, &engine] { Start([=, &engine](FormPort& f) { DownloadAll(f, engine, download); }); });
  connect(c.exportList, &QPushButton::clicked, this, [this] { Start([](FormPort& f) { ExportList(f); }); });
  connect(c.exportAddresses, &QPushButton::clicked, this, [this] { Start([](FormPort& f) { ExportAddresses(f); }); });
  connect(c.search, &QPushButton::clicked, this, [=, this] { Start([=](FormPort& f) { SearchSite(f, hosts); }); });
  connect(c.batchDownload, &QPushButton::clicked, this,
          [=, this, &engine] { Start([=, &engine](FormPort& f) { BatchDownload(f, engine, hosts, download); }); });
  connect(c.copyAddress, &QAction::triggered, this, [this] { Start([](FormPort& f) { CopyAddress(f); }); });
  connect(c.downloadAgain, &QAction::triggered, this,
          [=, this, &engine] { Start([=, &engine](FormPort& f) { DownloadAgain(f, engine, download); }); });

  // The pop-up sits 3 pixels right of and below the pointer.
  connect(c.episodes, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    controls_.episodeMenu->popup(controls_.episodes->viewport()->mapToGlobal(at) + QPoint(3, 3));
  });
  // Reading the clicked row's title is instant and touches nothing a run writes.
  connect(c.results, &QTableWidget::cellClicked, this, [this] { ShowResultTitle(*form_); });

  connect(c.feedback, &QPushButton::clicked, this, [this] { form_->OpenAddress(Utf8ToGbk(options_.hosts.feedback)); });
  // The folder pickers touch only their box and the settings file: no conflict with a run.
  connect(c.chooseEpisodeDir, &QPushButton::clicked, this,
          [this] { ChooseEpisodeDirectory(*form_, options_.settingsPath); });
  connect(c.chooseSeriesDir, &QPushButton::clicked, this,
          [this] { ChooseSeriesDirectory(*form_, options_.settingsPath); });
  connect(c.clock, &QTimer::timeout, this, [=, this] { RunBeside([=](FormPort& f) { RefreshStatusText(f, hosts); }); });
}

void MainWindow::RunBeside(std::function<void(FormPort&)> job) {
  std::shared_ptr<WindowForm> form = form_;
  counters_->Start([form, job = std::move(job)] { job(*form); });
}

void MainWindow::Start(std::function<void(FormPort&)> operation) {
  if (running_) return;
  running_ = true;
  SetOperationsEnabled(false);
  form_->Resume();
  QPointer<MainWindow> window(this);
  std::shared_ptr<WindowForm> form = form_;
  const bool started = worker_->Start([form, window, operation = std::move(operation)] {
    operation(*form);
    // Queued behind the operation's own calls; dropped when the window is gone.
    form->Post([window] {
      if (window) window->EndRun();
    });
  });
  if (!started) {
    EndRun();
    return;
  }
  emit runStarted();
}

void MainWindow::EndRun() {
  if (!running_) return;
  running_ = false;
  SetOperationsEnabled(true);
  emit runFinished();
}

void MainWindow::SetOperationsEnabled(bool enabled) {
  const MainWindowControls& c = controls_;
  for (QPushButton* button : {c.readSeries, c.downloadChecked, c.downloadAll, c.exportList, c.exportAddresses, c.search,
                              c.batchDownload}) {
    button->setEnabled(enabled);
  }
  c.copyAddress->setEnabled(enabled);
  c.downloadAgain->setEnabled(enabled);
}

void MainWindow::StopRun() {
  if (!worker_->Busy()) return;
  form_->Cancel();
  engine_.Stop();
  const bool ended = worker_->WaitIdle(std::chrono::milliseconds(options_.closeWaitMs), [] {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  });
  if (!ended) leftBehind_ = true;
  QCoreApplication::processEvents();  // the run's end, queued behind its last calls
}

void MainWindow::closeEvent(QCloseEvent* event) {
  controls_.clock->stop();
  StopRun();
  event->accept();
}

}  // namespace lecdl
