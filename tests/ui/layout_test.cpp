// The main window's controls, lists, menu and timer as the window opens.

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "download/download_engine.h"
#include "text/encoding.h"
#include "ui/file_filter.h"
#include "ui/fonts.h"
#include "ui/main_window.h"

using namespace lecdl;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// The visible text of a control, whatever its kind.
QString TextOf(const QWidget* widget) {
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
  if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
  return QStringLiteral("<no text>");
}

}  // namespace

class LayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    MainWindowOptions options;
    options.hosts.site = "videos.example:8080";
    // Nothing listens there: the server texts stay empty.
    options.hosts.stats = options.hosts.status = "127.0.0.1:1";
    window_ = std::make_unique<MainWindow>(engine_, options);
    window_->show();
  }
  void cleanup() { window_.reset(); }

  void controls_data() {
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, const char* parent, QRect geometry, const char* text) {
      QTest::newRow(name) << U(parent) << geometry << U(text);
    };
    row("分组框1", "face", {8, 8, 408, 176}, "功能区");
    row("分组框3", "face", {8, 184, 408, 184}, "");
    row("分组框2", "face", {8, 368, 408, 80}, "综合功能");
    row("分组框4", "face", {424, 8, 384, 440}, "关键字搜索 全集稳定下载");
    row("透明标签1", "face", {810, 0, 48, 24}, "");
    row("标签3", "分组框1", {8, 20, 104, 16}, "视频目录地址");
    row("编辑框3", "分组框1", {117, 15, 275, 24}, "http://videos.example:8080/serie_400050557.shtml");
    row("标签4", "分组框1", {8, 41, 320, 19}, "举例：http://videos.example:8080/serie_400004700.shtml ");
    row("按钮7", "分组框1", {13, 64, 115, 24}, "获取地址");
    row("按钮11", "分组框1", {144, 64, 128, 24}, "下载选中");
    row("按钮3", "分组框1", {296, 64, 104, 24}, "全部下载");
    row("选择框1", "分组框1", {8, 72, 72, 16}, "区段获取");
    row("标签6", "分组框1", {80, 72, 40, 16}, "获取第");
    row("编辑框2", "分组框1", {128, 64, 32, 24}, "");
    row("个", "分组框1", {160, 72, 16, 16}, "到");
    row("编辑框4", "分组框1", {183, 64, 32, 24}, "");
    row("个1", "分组框1", {216, 72, 40, 16}, "个视频");
    row("标签2", "分组框1", {8, 101, 72, 16}, "存放目录");
    row("编辑框1", "分组框1", {85, 96, 235, 24}, "");
    row("按钮2", "分组框1", {328, 96, 75, 24}, "选择目录");
    row("按钮4", "分组框1", {5, 122, 184, 24}, "保存列表所有内容到文件");
    row("按钮5", "分组框1", {195, 122, 208, 24}, "保存列表所有下载地址到文件");
    row("标签1", "分组框1", {8, 152, 392, 18}, "");
    row("超级列表框1", "分组框3", {10, 12, 384, 160}, "<no text>");
    row("按钮10", "分组框2", {136, 11, 64, 45}, "留言|建议|BUG反馈");
    row("图片框1", "分组框2", {296, 15, 88, 31}, "");
    row("标签5", "分组框2", {8, 56, 384, 16}, "");
    row("分组框5", "分组框4", {8, 15, 368, 145}, "功能区");
    row("标签11", "分组框5", {16, 20, 128, 16}, "输入搜索的关键字");
    row("编辑框6", "分组框5", {149, 15, 147, 24}, "");
    row("按钮9", "分组框5", {308, 16, 48, 24}, "搜索");
    row("单选框1", "分组框5", {16, 48, 72, 16}, "全部字段");
    row("单选框2", "分组框5", {88, 48, 48, 16}, "标题");
    row("单选框3", "分组框5", {136, 48, 64, 16}, "主讲人");
    row("单选框4", "分组框5", {192, 48, 80, 16}, "主讲人单位");
    row("单选框5", "分组框5", {272, 48, 56, 16}, "字幕");
    row("标签9", "分组框5", {0, 69, 72, 16}, "存放目录");
    row("编辑框5", "分组框5", {77, 64, 195, 24}, "");
    row("按钮8", "分组框5", {284, 64, 64, 24}, "选择目录");
    row("标签7", "分组框5", {8, 96, 72, 16}, "提示文本：");
    row("标签10", "分组框5", {80, 102, 264, 32}, "");
    row("标签12", "分组框4", {8, 160, 368, 32}, "");
    row("超级列表框2", "分组框4", {8, 200, 368, 192}, "<no text>");
    row("标签13", "分组框4", {8, 392, 208, 16}, "");
    row("按钮1", "分组框4", {224, 392, 152, 24}, "下载选中资源");
  }

  void controls() {
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    const QString name = U(QTest::currentDataTag());
    const auto* widget = window_->findChild<QWidget*>(name);
    QVERIFY2(widget != nullptr, qPrintable(name));
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(TextOf(widget), text);
    QVERIFY(widget->isVisible());
  }

  void window() {
    QCOMPARE(window_->windowTitle(), U("欢迎使用！ 当前版本:1.90"));
    QCOMPARE(window_->size(), QSize(822, 507));
    QVERIFY(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(window_->windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(window_->findChild<QMenuBar*>() == nullptr);

    auto* statusBar = window_->findChild<QStatusBar*>(U("状态条1"));
    QVERIFY(statusBar != nullptr);
    QCOMPARE(window_->statusBar(), statusBar);
    QCOMPARE(statusBar->findChild<QLabel*>()->text(), QString());

    auto* clock = window_->findChild<QTimer*>(U("时钟1"));
    QVERIFY(clock != nullptr);
    QCOMPARE(clock->interval(), 590'000);
    QVERIFY(clock->isActive());

    auto* usage = window_->findChild<QLabel*>(U("标签5"));
    QCOMPARE(usage->palette().color(QPalette::WindowText), QColor(128, 0, 128));
  }

  void fonts_data() {
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<QString>("family");
    const QString hei = HeiFont(16).family();
    const QString song = SongFont(12).family();
    QTest::newRow("标签2") << 16 << hei;
    QTest::newRow("标签3") << 16 << hei;
    QTest::newRow("标签9") << 16 << hei;
    QTest::newRow("标签11") << 16 << hei;
    QTest::newRow("超级列表框1") << 12 << song;
    QTest::newRow("超级列表框2") << 12 << song;
  }

  void fonts() {
    QFETCH(int, pixelSize);
    QFETCH(QString, family);
    const QWidget* widget = window_->findChild<QWidget*>(U(QTest::currentDataTag()));
    QCOMPARE(widget->font().pixelSize(), pixelSize);
    QCOMPARE(widget->font().family(), family);
    QVERIFY(!family.isEmpty());
    // The face stands in for the named one, so it must render Chinese.
    QVERIFY(QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese));
  }

  void columns_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("alignment");
    const auto column = [](const char* tag, const char* list, int index, const char* title, int width, Qt::Alignment a) {
      QTest::newRow(tag) << U(list) << index << U(title) << width << static_cast<int>(a);
    };
    column("episodes 0", "超级列表框1", 0, "标题", 300, Qt::AlignLeft);
    column("episodes 1", "超级列表框1", 1, "下载地址", 0, Qt::AlignLeft);
    column("episodes 2", "超级列表框1", 2, "进度", 60, Qt::AlignHCenter);
    column("results 0", "超级列表框2", 0, "课程名称", 310, Qt::AlignLeft);
    column("results 1", "超级列表框2", 1, "教师", 0, Qt::AlignLeft);
    column("results 2", "超级列表框2", 2, "学校", 0, Qt::AlignLeft);
    column("results 3", "超级列表框2", 3, "更新时间", 0, Qt::AlignLeft);
    column("results 4", "超级列表框2", 4, "播放次数", 0, Qt::AlignLeft);
    column("results 5", "超级列表框2", 5, "下载地址", 0, Qt::AlignLeft);
    column("results 6", "超级列表框2", 6, "进度", 60, Qt::AlignHCenter);
  }

  void columns() {
    QFETCH(QString, list);
    QFETCH(int, index);
    QFETCH(QString, title);
    QFETCH(int, width);
    QFETCH(int, alignment);
    auto* table = window_->findChild<QTableWidget*>(list);
    QVERIFY(table != nullptr);
    QCOMPARE(table->columnCount(), list == U("超级列表框1") ? 3 : 7);
    QCOMPARE(table->horizontalHeaderItem(index)->text(), title);
    QCOMPARE(table->isColumnHidden(index), width == 0);
    QCOMPARE(table->columnWidth(index), width);
    QCOMPARE(table->horizontalHeaderItem(index)->textAlignment() & Qt::AlignHorizontal_Mask, alignment);
    // A new row's cell takes its column's alignment.
    Form().AppendRow(list == U("超级列表框1") ? ListControl::Episodes : ListControl::SearchResults);
    QCOMPARE(table->item(0, index)->textAlignment() & Qt::AlignHorizontal_Mask, alignment);
  }

  void listStyle_data() {
    QTest::addColumn<QString>("list");
    QTest::newRow("episodes") << U("超级列表框1");
    QTest::newRow("results") << U("超级列表框2");
  }

  void listStyle() {
    QFETCH(QString, list);
    auto* table = window_->findChild<QTableWidget*>(list);
    QCOMPARE(table->rowCount(), 0);
    QVERIFY(table->showGrid());
    QVERIFY(table->horizontalHeader()->isVisible());
    QVERIFY(!table->verticalHeader()->isVisible());
    QVERIFY(!table->isSortingEnabled());
    QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(table->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(table->palette().color(QPalette::Base), QColor(192, 192, 192));
    QCOMPARE(table->palette().color(QPalette::Text), QColor(Qt::black));
    // Every row starts with a cleared check box that the user can tick.
    const ListControl role = list == U("超级列表框1") ? ListControl::Episodes : ListControl::SearchResults;
    Form().AppendRow(role);
    Form().AppendRow(role);
    for (int row = 0; row < 2; ++row) {
      QVERIFY(table->item(row, 0)->flags() & Qt::ItemIsUserCheckable);
      QCOMPARE(table->item(row, 0)->checkState(), Qt::Unchecked);
    }
    table->item(1, 0)->setCheckState(Qt::Checked);
    QVERIFY(!Form().IsRowChecked(role, 0));
    QVERIFY(Form().IsRowChecked(role, 1));
    // A click selects the whole row, and one row only.
    QCOMPARE(Form().CurrentRow(role), -1);
    table->selectRow(0);
    table->selectRow(1);
    QCOMPARE(Form().CurrentRow(role), 1);
    QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
  }

  void searchFields() {
    const char* names[] = {"单选框1", "单选框2", "单选框3", "单选框4", "单选框5"};
    for (const char* name : names) {
      QCOMPARE(window_->findChild<QRadioButton*>(U(name))->isChecked(), QByteArray(name) == "单选框2");
    }
    QVERIFY(Form().IsSelected(Radio::Title));
    // One group: selecting another field clears "标题".
    QTest::mouseClick(window_->findChild<QRadioButton*>(U("单选框4")), Qt::LeftButton);
    QVERIFY(Form().IsSelected(Radio::School));
    QVERIFY(!Form().IsSelected(Radio::Title));
    QVERIFY(!window_->findChild<QCheckBox*>(U("选择框1"))->isChecked());
  }

  void rangeBoxesTakeDigitsOnly_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits") << "120" << "120";
    QTest::newRow("letters and signs dropped") << "a1-2.b3 " << "123";
    QTest::newRow("nothing numeric") << "-x" << "";
  }

  void rangeBoxesTakeDigitsOnly() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    for (const char* name : {"编辑框2", "编辑框4"}) {
      auto* edit = window_->findChild<QLineEdit*>(U(name));
      edit->clear();
      QTest::keyClicks(edit, typed);
      QCOMPARE(edit->text(), shown);
    }
  }

  void episodeMenu() {
    auto* menu = window_->findChild<QMenu*>(U("菜单"));
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->title(), U("菜单"));
    QStringList items;
    for (const QAction* action : menu->actions()) items << action->text();
    QCOMPARE(items, QStringList({U("复制下载地址"), U("重新下载视频")}));
    auto* list = window_->findChild<QTableWidget*>(U("超级列表框1"));
    QCOMPARE(list->contextMenuPolicy(), Qt::CustomContextMenu);
    // A right click pops the menu up just beside the pointer.
    const QPoint at(40, 30);
    emit list->customContextMenuRequested(at);
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), 2000);
    QCOMPARE(menu->pos(), list->viewport()->mapToGlobal(at) + QPoint(3, 3));
    menu->close();
  }

  void formLabelsAndCaption() {
    Form().SetLabel(Label::StatusBar, Utf8ToGbk("状态文本"));
    QCOMPARE(window_->findChild<QStatusBar*>(U("状态条1"))->findChild<QLabel*>()->text(), U("状态文本"));
    Form().SetLabel(Label::Caption, Utf8ToGbk("新标题"));
    QCOMPARE(window_->windowTitle(), U("新标题"));
    QCOMPARE(Form().LabelText(Label::Caption), Utf8ToGbk("新标题"));
  }

  void fileFilter_data() {
    QTest::addColumn<QString>("pairs");
    QTest::addColumn<QString>("filter");
    QTest::newRow("export filter") << U("TXT文档(*.txt)|*.txt") << U("TXT文档 (*.txt)");
    QTest::newRow("two pairs") << U("文本|*.txt|全部|*.*") << U("文本 (*.txt);;全部 (*.*)");
    QTest::newRow("several patterns") << U("图片|*.png;*.jpg") << U("图片 (*.png *.jpg)");
    QTest::newRow("empty") << QString() << QString();
  }

  void fileFilter() {
    QFETCH(QString, pairs);
    QFETCH(QString, filter);
    QCOMPARE(QtFileFilter(pairs), filter);
  }

 private:
  FormPort& Form() { return window_->Form(); }

  DownloadEngine engine_;
  std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
