#pragma once

// The main window's controls at their places, sizes, texts and fonts; each widget's objectName
// is its form name.

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <string>

#include "ui/form_widgets.h"

namespace lecdl {

struct MainWindowControls {
  FormWidgets form;
  QPushButton* readSeries;       // 按钮7
  QPushButton* downloadChecked;  // 按钮11
  QPushButton* downloadAll;      // 按钮3
  QPushButton* chooseEpisodeDir; // 按钮2
  QPushButton* exportList;       // 按钮4
  QPushButton* exportAddresses;  // 按钮5
  QPushButton* feedback;         // 按钮10
  QPushButton* search;           // 按钮9
  QPushButton* chooseSeriesDir;  // 按钮8
  QPushButton* batchDownload;    // 按钮1
  QTableWidget* episodes;        // 超级列表框1
  QTableWidget* results;         // 超级列表框2
  QMenu* episodeMenu;            // pop-up of 超级列表框1
  QAction* copyAddress;          // "复制下载地址"
  QAction* downloadAgain;        // "重新下载视频"
  QTimer* clock;                 // 时钟1
};

// Builds the controls into `window` (822 × 507). `siteHost` ("host" or "host:port") goes into the
// example addresses of 编辑框3 and 标签4.
MainWindowControls BuildMainWindowControls(QMainWindow* window, const std::string& siteHost);

// The period of 时钟1.
inline constexpr int kStatusClockMs = 590'000;

}  // namespace lecdl
