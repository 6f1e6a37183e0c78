// lecdl-qt: the desktop window over the same core as the lecdl command line.

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "app/hosts.h"
#include "app/ini_file.h"
#include "app/version.h"
#include "download/download_engine.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("lecdl-qt"));
  QApplication::setApplicationVersion(QString::fromStdString(lecdl::VersionText()));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("lecdl-qt: saves the lecture videos of a course series"));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption config(QStringLiteral("config"),
                                  QStringLiteral("Settings file to use instead of ini.ini beside the program"),
                                  QStringLiteral("FILE"));
  parser.addOption(config);
  parser.process(app);

  const std::filesystem::path settingsPath = parser.isSet(config)
                                                 ? std::filesystem::path(parser.value(config).toStdString())
                                                 : lecdl::DefaultSettingsPath();
  const lecdl::IniFile settings = lecdl::IniFile::Load(settingsPath);

  // The one engine, for the program's life; its destruction stops a transfer still running.
  lecdl::DownloadEngine engine;

  lecdl::MainWindowOptions options;
  options.hosts = lecdl::ReadHosts(settings);
  options.settingsPath = settingsPath;

  int code = 0;
  bool leftBehind = false;
  {
    lecdl::MainWindow window(engine, options);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      window.move(screen->availableGeometry().center() - window.rect().center());
    }
    window.show();
    code = QApplication::exec();
    leftBehind = window.LeftOperationBehind();
  }
  if (leftBehind) {
    // An operation stuck in a fetch still holds the engine: stop the transfer, then end without
    // running destructors under its feet.
    engine.Stop();
    engine.WaitUntilIdle(std::chrono::seconds(2));
    std::_Exit(code);
  }
  return code;
}
