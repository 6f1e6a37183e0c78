// The window's buttons against the demo site in this process: operations run on the worker,
// fill the lists and labels, write files, and give the buttons back when they end.

#include <QAction>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QtTest>

#include <filesystem>
#include <memory>

#include "download/download_engine.h"
#include "site_server.h"
#include "support/temp_dir.h"
#include "test_desktop.h"
#include "text/encoding.h"
#include "ui/main_window.h"

using namespace lecdl;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Long enough for a loaded machine under the sanitizers; a passing run takes a fraction.
constexpr int kRunBoundMs = 60'000;

const char* const kOperationButtons[] = {"按钮7", "按钮11", "按钮3", "按钮4", "按钮5", "按钮9", "按钮1"};

}  // namespace

class RunTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    demo::SiteOptions site;
    site.port = 0;
    server_ = std::make_unique<demo::SiteServer>(site);
    OpenWindow(server_->HostPort());
  }

  void cleanup() {
    window_.reset();
    engine_.reset();  // its open connection would hold the server's stop for the keep-alive time
    server_.reset();
    scratch_.reset();
  }

  void readSeriesFillsEpisodeList() {
    Click("按钮7");
    WaitForRunEnd();
    auto* list = Find<QTableWidget>("超级列表框1");
    QCOMPARE(list->rowCount(), 6);
    QCOMPARE(list->item(0, 0)->text(), U("第1讲 绪论"));
    QCOMPARE(list->item(5, 0)->text(), U("第6讲 排序"));
    QVERIFY(list->item(0, 1)->text().endsWith(QStringLiteral("/400050557_1.flv")));
    QCOMPARE(list->item(0, 2)->text(), U("等待处理"));
    QCOMPARE(Find<QLabel>("标签1")->text(), U("视频标题：数据结构与算法分析  视频数量：6个"));
    QVERIFY(Find<QLabel>("标签5")->text().startsWith(U("本程序当前已经为用户成功获取到")));
    QCOMPARE(window_->Form().CourseTitle, Utf8ToGbk("数据结构与算法分析"));
  }

  void rangeOptionReadsFromTheBoxes() {
    Find<QCheckBox>("选择框1")->setChecked(true);
    QTest::keyClicks(Find<QLineEdit>("编辑框2"), QStringLiteral("2"));
    QTest::keyClicks(Find<QLineEdit>("编辑框4"), QStringLiteral("3"));
    Click("按钮7");
    WaitForRunEnd();
    auto* list = Find<QTableWidget>("超级列表框1");
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->item(0, 0)->text(), U("第2讲 线性表"));
  }

  void downloadAllFillsProgressAndWritesFiles() {
    const std::filesystem::path save = ReadSeriesIntoSaveFolder();

    Click("按钮3");
    WaitForRunEnd();
    auto* list = Find<QTableWidget>("超级列表框1");
    for (int row = 0; row < list->rowCount(); ++row) QCOMPARE(list->item(row, 2)->text(), U("下载结束"));
    const std::filesystem::path course = save / U("数据结构与算法分析").toStdString();
    QVERIFY(std::filesystem::exists(course / U("第1讲 绪论.flv").toStdString()));
    QVERIFY(std::filesystem::exists(course / U("第6讲 排序.flv").toStdString()));
    QVERIFY(std::filesystem::file_size(course / U("第6讲 排序.flv").toStdString()) > 1000);
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QVERIFY(desktop_->messages[0].text.startsWith(U("视频全部下载完毕")));
    QCOMPARE(desktop_->messages[0].caption, U("提示"));
    QCOMPARE(desktop_->opened.size(), size_t{1});
    QCOMPARE(desktop_->opened[0], QUrl::fromLocalFile(QString::fromStdString(course.string() + "/")));
  }

  void downloadWithoutSaveDirectoryOnlyAsks() {
    Click("按钮3");
    WaitForRunEnd();
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QCOMPARE(desktop_->messages[0].text, U("请先选择你要保存的目录"));
    QCOMPARE(desktop_->messages[0].caption, U("信息："));
  }

  void searchFillsResultsAndClickShowsTitle() {
    // "王" among the teachers spans several result pages.
    Find<QLineEdit>("编辑框6")->setText(U("王"));
    QTest::mouseClick(Find<QRadioButton>("单选框3"), Qt::LeftButton);
    Click("按钮9");
    WaitForRunEnd();
    auto* results = Find<QTableWidget>("超级列表框2");
    QVERIFY2(results->rowCount() > 10, qPrintable(QString::number(results->rowCount())));
    QVERIFY(server_->Site().Log().Targets("/s?").size() >= 3);
    for (int row = 0; row < results->rowCount(); ++row) {
      QVERIFY(results->item(row, 1)->text().startsWith(U("王")));
      QVERIFY(!results->item(row, 5)->text().isEmpty());
    }
    QCOMPARE(Find<QLabel>("标签13")->text(), U("共搜索到资源%1个资源！").arg(results->rowCount()));
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QCOMPARE(desktop_->messages[0].caption, U("提示！"));

    // A left click on a row shows its course name.
    const QRect cell = results->visualItemRect(results->item(1, 0));
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(Find<QLabel>("标签12")->text(), U("标题：") + results->item(1, 0)->text() + QStringLiteral("\r\n"));
  }

  void buttonsWaitWhileARunGoes() {
    // A slow site keeps the run going long enough to look at the window meanwhile.
    window_.reset();
    engine_.reset();
    demo::SiteOptions slow;
    slow.port = 0;
    slow.latency_ms = 150;
    server_ = std::make_unique<demo::SiteServer>(slow);
    OpenWindow(server_->HostPort());

    Click("按钮7");
    QVERIFY(window_->IsRunning());
    for (const char* name : kOperationButtons) QVERIFY2(!Find<QPushButton>(name)->isEnabled(), name);
    QVERIFY(!Find<QAction>("复制下载地址")->isEnabled());
    QVERIFY(!Find<QAction>("重新下载视频")->isEnabled());
    QVERIFY(Find<QPushButton>("按钮10")->isEnabled());
    QVERIFY(Find<QPushButton>("按钮2")->isEnabled());
    // A second click while it runs starts nothing.
    Find<QPushButton>("按钮9")->click();
    // Rows arrive while the run goes on: the GUI thread serves the worker between fetches.
    QTRY_VERIFY_WITH_TIMEOUT(Find<QTableWidget>("超级列表框1")->rowCount() >= 1, kRunBoundMs);
    QVERIFY(window_->IsRunning());
    WaitForRunEnd();
    for (const char* name : kOperationButtons) QVERIFY2(Find<QPushButton>(name)->isEnabled(), name);
    QVERIFY(Find<QAction>("复制下载地址")->isEnabled());
    QVERIFY(Find<QAction>("重新下载视频")->isEnabled());
    QVERIFY(server_->Site().Log().Targets("/s?").empty());
  }

  void closingMidDownloadEndsTheRun() {
    // The video host answers only after 2 s, so the task is still waiting when the window closes.
    demo::SiteOptions slow;
    slow.port = 0;
    slow.latency_ms = 2000;
    demo::SiteServer slowVideos(slow);
    FormPort& form = window_->Form();
    const int row = form.AppendRow(ListControl::Episodes);
    form.SetCell(ListControl::Episodes, row, 0, "slow");
    form.SetCell(ListControl::Episodes, row, 1, "http://" + slowVideos.HostPort() + "/v/400050557_1.flv");
    form.CourseTitle = "course";
    const std::filesystem::path save = scratch_->Path() / "save";
    std::filesystem::create_directory(save);
    Find<QLineEdit>("编辑框1")->setText(QString::fromStdString(save.string()));

    Click("按钮3");
    QTRY_VERIFY_WITH_TIMEOUT(engine_->IsActive(), 5000);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(window_->close());
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!window_->IsRunning());
    QVERIFY(!window_->LeftOperationBehind());
    QVERIFY(engine_->WaitUntilIdle(std::chrono::milliseconds(2000)));
    // Cancelled: no closing message, no folder opened.
    QVERIFY(desktop_->messages.empty());
    QVERIFY(desktop_->opened.empty());
    window_.reset();
  }

  void exportsWriteTheChosenFile_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("titles") << U("按钮4") << QByteArray("a----http://x/1.flv\r\nb----http://x/2.flv\r\n");
    QTest::newRow("addresses") << U("按钮5") << QByteArray("http://x/1.flv\r\nhttp://x/2.flv\r\n");
  }

  void exportsWriteTheChosenFile() {
    QFETCH(QString, button);
    QFETCH(QByteArray, content);
    AddEpisode("a", "http://x/1.flv");
    AddEpisode("b", "http://x/2.flv");
    const std::filesystem::path file = scratch_->Path() / U("列表 导出.txt").toStdString();
    desktop_->saveAnswer = QString::fromStdString(file.string());

    Find<QPushButton>(button.toUtf8().constData())->click();
    WaitForRunEnd();
    QCOMPARE(desktop_->saveQuestions.size(), size_t{1});
    const SaveFileQuestion& asked = desktop_->saveQuestions[0];
    QCOMPARE(asked.title, U("请输入保存的文件名"));
    QCOMPARE(asked.fileName, U("列表.txt"));
    QCOMPARE(asked.filter, U("TXT文档 (*.txt)"));
    QCOMPARE(asked.defaultSuffix, QStringLiteral("txt"));
    QVERIFY(!asked.directory.isEmpty());
    QCOMPARE(QByteArray::fromStdString(test::ReadAll(file)), content);
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QCOMPARE(desktop_->messages[0].text, U("导出完成！"));
  }

  void cancelledExportWritesNothing() {
    AddEpisode("a", "http://x/1.flv");
    Click("按钮4");
    WaitForRunEnd();
    QCOMPARE(desktop_->saveQuestions.size(), size_t{1});
    QVERIFY(desktop_->messages.empty());
  }

  void copyAddressPutsSelectedRowOnClipboard() {
    AddEpisode("a", "http://x/1.flv");
    AddEpisode("b", "http://x/2.flv");
    Find<QTableWidget>("超级列表框1")->selectRow(1);
    Find<QAction>("复制下载地址")->trigger();
    WaitForRunEnd();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("http://x/2.flv"));
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QVERIFY(desktop_->messages[0].text.startsWith(U("下载地址已经复制到剪贴板")));
  }

  void downloadAgainTakesTheSelectedRow() {
    const std::filesystem::path save = ReadSeriesIntoSaveFolder();
    Find<QTableWidget>("超级列表框1")->selectRow(2);
    Find<QAction>("重新下载视频")->trigger();
    WaitForRunEnd();
    auto* list = Find<QTableWidget>("超级列表框1");
    QCOMPARE(list->item(2, 2)->text(), U("下载结束"));
    QCOMPARE(list->item(1, 2)->text(), U("等待处理"));
    const std::filesystem::path course = save / U("数据结构与算法分析").toStdString();
    QVERIFY(std::filesystem::exists(course / U("第3讲 栈与队列.flv").toStdString()));
    QVERIFY(!std::filesystem::exists(course / U("第1讲 绪论.flv").toStdString()));
    QVERIFY(desktop_->messages.empty());
  }

  void serverTextsArriveAfterCreation() {
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>("标签5")->text(), U("本程序当前已经为用户成功获取到12345次资源！"), kRunBoundMs);
    QTRY_COMPARE_WITH_TIMEOUT(Find<QStatusBar>("状态条1")->findChild<QLabel*>()->text(),
                              U("公告：演示站点运行正常，欢迎使用！"), kRunBoundMs);
  }

  void saveDirectoriesComeFromTheSettingsAndThePickers() {
    window_.reset();
    test::WriteAll(scratch_->Path() / "ini.ini",
                    Utf8ToGbk("[PZXM]\r\nLJ=/data/视频\r\nLJ1=/data/课程\r\n[OTHER]\r\nkeep=1\r\n"));
    OpenWindow(server_->HostPort());
    QCOMPARE(Find<QLineEdit>("编辑框1")->text(), U("/data/视频"));
    QCOMPARE(Find<QLineEdit>("编辑框5")->text(), U("/data/课程"));

    // A folder outside GBK goes through the box and the file intact.
    const QString picked = U("/data/새 폴더");
    desktop_->folderAnswer = picked;
    Click("按钮2");
    QCOMPARE(Find<QLineEdit>("编辑框1")->text(), picked);
    QCOMPARE(desktop_->folderTitles, QStringList{U("选择要保存到的文件夹")});
    // A cancelled picker clears the box and the key.
    desktop_->folderAnswer.reset();
    Click("按钮8");
    QCOMPARE(Find<QLineEdit>("编辑框5")->text(), QString());

    window_.reset();
    OpenWindow(server_->HostPort());
    QCOMPARE(Find<QLineEdit>("编辑框1")->text(), picked);
    QCOMPARE(Find<QLineEdit>("编辑框5")->text(), QString());
    QVERIFY(test::ReadAll(scratch_->Path() / "ini.ini").find("[OTHER]\r\nkeep=1\r\n") != std::string::npos);
  }

  void feedbackOpensTheConfiguredPage() {
    Click("按钮10");
    QCOMPARE(desktop_->opened.size(), size_t{1});
    QCOMPARE(desktop_->opened[0], QUrl(QStringLiteral("http://feedback.example/board")));
  }

 private:
  // Reads the example series and points 编辑框1 at a fresh save folder; returns that folder.
  std::filesystem::path ReadSeriesIntoSaveFolder() {
    Click("按钮7");
    WaitForRunEnd();
    const std::filesystem::path save = scratch_->Path() / "save";
    std::filesystem::create_directory(save);
    Find<QLineEdit>("编辑框1")->setText(QString::fromStdString(save.string()));
    desktop_->messages.clear();
    return save;
  }

  // A fresh scratch folder on the first opening; a window opened again keeps it (and its settings).
  void OpenWindow(const std::string& host) {
    if (!scratch_) scratch_ = std::make_unique<test::TempDir>();
    if (!engine_) engine_ = std::make_unique<DownloadEngine>();
    MainWindowOptions options;
    options.hosts.site = options.hosts.video = options.hosts.stats = options.hosts.status = host;
    options.hosts.feedback = "http://feedback.example/board";
    // A fast clock: one poll every 50 ms instead of a second.
    options.download.pollMs = 50;
    options.download.task.connectTimeoutMs = 2000;
    options.download.task.receiveTimeoutMs = 1000;
    options.download.task.maxRetries = 1;
    options.download.task.retryBaseMs = 50;
    options.download.task.stopGraceMs = 500;
    options.settingsPath = scratch_->Path() / "ini.ini";
    window_ = std::make_unique<MainWindow>(*engine_, options);
    desktop_ = std::make_shared<test::TestDesktop>();
    window_->SetDesktop(desktop_);
    window_->show();
  }

  template <typename W>
  W* Find(const char* name) {
    W* widget = window_->findChild<W*>(U(name));
    if (widget == nullptr) qFatal("no control %s", name);
    return widget;
  }

  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

  void WaitForRunEnd() { QTRY_VERIFY_WITH_TIMEOUT(!window_->IsRunning(), kRunBoundMs); }

  void AddEpisode(const char* title, const char* address) {
    FormPort& form = window_->Form();
    const int row = form.AppendRow(ListControl::Episodes);
    form.SetCell(ListControl::Episodes, row, 0, title);
    form.SetCell(ListControl::Episodes, row, 1, address);
  }

  std::unique_ptr<demo::SiteServer> server_;
  std::unique_ptr<test::TempDir> scratch_;
  std::unique_ptr<DownloadEngine> engine_;
  std::shared_ptr<test::TestDesktop> desktop_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(RunTest)
#include "run_test.moc"
