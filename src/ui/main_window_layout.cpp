#include "ui/main_window_layout.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "ui/fonts.h"
#include "ui/report_list.h"

namespace lecdl {

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

template <typename W>
W* Place(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* widget = new W(parent);
  widget->setObjectName(U(name));
  widget->setGeometry(x, y, w, h);
  return widget;
}

QGroupBox* Group(QWidget* parent, const char* name, int x, int y, int w, int h, const char* title) {
  auto* box = Place<QGroupBox>(parent, name, x, y, w, h);
  box->setTitle(U(title));
  return box;
}

QLabel* Text(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text) {
  auto* label = Place<QLabel>(parent, name, x, y, w, h);
  label->setText(text);
  return label;
}

QPushButton* Button(QWidget* parent, const char* name, int x, int y, int w, int h, const char* text) {
  auto* button = Place<QPushButton>(parent, name, x, y, w, h);
  button->setText(U(text));
  return button;
}

QLineEdit* Edit(QWidget* parent, const char* name, int x, int y, int w, int h) {
  return Place<QLineEdit>(parent, name, x, y, w, h);
}

QLineEdit* DigitsEdit(QWidget* parent, const char* name, int x, int y, int w, int h) {
  QLineEdit* edit = Edit(parent, name, x, y, w, h);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
  return edit;
}

QRadioButton* RadioButton(QWidget* parent, const char* name, int x, int y, int w, int h, const char* text) {
  auto* radio = Place<QRadioButton>(parent, name, x, y, w, h);
  radio->setText(U(text));
  return radio;
}

// A push button whose caption wraps onto several lines when it is wider than the button.
class WrappingButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(rect().adjusted(3, 3, -3, -3), Qt::AlignCenter | Qt::TextWrapAnywhere, text());
  }
};

// Our own 88 × 31 badge for 图片框1.
QPixmap Badge() {
  QPixmap pixmap(88, 31);
  pixmap.fill(QColor(240, 240, 240));
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 90, 150), 1));
  painter.setBrush(QColor(225, 235, 250));
  painter.drawRoundedRect(QRectF(0.5, 0.5, 87, 30), 5, 5);
  painter.setBrush(QColor(60, 90, 150));
  painter.setPen(Qt::NoPen);
  const QPointF play[] = {{9, 8}, {9, 23}, {22, 15.5}};
  painter.drawPolygon(play, 3);
  QFont font;
  font.setPixelSize(13);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(40, 60, 110));
  painter.drawText(QRect(26, 0, 60, 31), Qt::AlignCenter, QStringLiteral("lecdl"));
  return pixmap;
}

const std::vector<ListColumn>& EpisodeColumns() {
  static const std::vector<ListColumn> columns = {
      {"标题", 300, Qt::AlignLeft},
      {"下载地址", 0, Qt::AlignLeft},
      {"进度", 60, Qt::AlignHCenter},
  };
  return columns;
}

const std::vector<ListColumn>& ResultColumns() {
  static const std::vector<ListColumn> columns = {
      {"课程名称", 310, Qt::AlignLeft}, {"教师", 0, Qt::AlignLeft},     {"学校", 0, Qt::AlignLeft},
      {"更新时间", 0, Qt::AlignLeft},   {"播放次数", 0, Qt::AlignLeft}, {"下载地址", 0, Qt::AlignLeft},
      {"进度", 60, Qt::AlignHCenter},
  };
  return columns;
}

}  // namespace

MainWindowControls BuildMainWindowControls(QMainWindow* window, const std::string& siteHost) {
  MainWindowControls c{};
  FormWidgets& f = c.form;
  f.window = window;
  window->resize(822, 507);
  window->setFont(CjkFont({}, 12));  // the dialog font the layout was measured in

  auto* face = new QWidget(window);
  face->setObjectName(QStringLiteral("face"));
  window->setCentralWidget(face);
  const QString site = QString::fromStdString(siteHost);
  const QFont hei = HeiFont(16);

  // Series area. Creation order is the form's order; later controls lie above earlier ones.
  QGroupBox* g1 = Group(face, "分组框1", 8, 8, 408, 176, "功能区");
  Text(g1, "标签3", 8, 20, 104, 16, U("视频目录地址"))->setFont(hei);
  f.texts[TextBox::SeriesAddress] = Edit(g1, "编辑框3", 117, 15, 275, 24);
  f.texts[TextBox::SeriesAddress]->setText(QStringLiteral("http://") + site + QStringLiteral("/serie_400050557.shtml"));
  Text(g1, "标签4", 8, 41, 320, 19, U("举例：") + QStringLiteral("http://") + site + QStringLiteral("/serie_400004700.shtml "));
  c.readSeries = Button(g1, "按钮7", 13, 64, 115, 24, "获取地址");
  c.downloadChecked = Button(g1, "按钮11", 144, 64, 128, 24, "下载选中");
  c.downloadAll = Button(g1, "按钮3", 296, 64, 104, 24, "全部下载");
  auto* range = Place<QCheckBox>(g1, "选择框1", 8, 72, 72, 16);
  range->setText(U("区段获取"));
  f.checks[CheckBox::RangeOption] = range;
  Text(g1, "标签6", 80, 72, 40, 16, U("获取第"));
  f.texts[TextBox::RangeFirst] = DigitsEdit(g1, "编辑框2", 128, 64, 32, 24);
  Text(g1, "个", 160, 72, 16, 16, U("到"));
  f.texts[TextBox::RangeLast] = DigitsEdit(g1, "编辑框4", 183, 64, 32, 24);
  Text(g1, "个1", 216, 72, 40, 16, U("个视频"));
  // As in a dialog template, the controls listed first lie on top: the three buttons cover the
  // range controls that share their row.
  for (QPushButton* button : {c.downloadAll, c.downloadChecked, c.readSeries}) button->raise();
  Text(g1, "标签2", 8, 101, 72, 16, U("存放目录"))->setFont(hei);
  f.texts[TextBox::EpisodeDirectory] = Edit(g1, "编辑框1", 85, 96, 235, 24);
  c.chooseEpisodeDir = Button(g1, "按钮2", 328, 96, 75, 24, "选择目录");
  c.exportList = Button(g1, "按钮4", 5, 122, 184, 24, "保存列表所有内容到文件");
  c.exportAddresses = Button(g1, "按钮5", 195, 122, 208, 24, "保存列表所有下载地址到文件");
  f.labels[Label::SeriesStatus] = Text(g1, "标签1", 8, 152, 392, 18, {});

  // Episode list.
  QGroupBox* g3 = Group(face, "分组框3", 8, 184, 408, 184, "");
  c.episodes = Place<QTableWidget>(g3, "超级列表框1", 10, 12, 384, 160);
  SetUpReportList(c.episodes, EpisodeColumns(), SongFont(12));
  c.episodes->setContextMenuPolicy(Qt::CustomContextMenu);
  f.lists[ListControl::Episodes] = c.episodes;

  // Feedback and usage line.
  QGroupBox* g2 = Group(face, "分组框2", 8, 368, 408, 80, "综合功能");
  c.feedback = new WrappingButton(g2);
  c.feedback->setObjectName(U("按钮10"));
  c.feedback->setGeometry(136, 11, 64, 45);
  c.feedback->setText(U("留言|建议|BUG反馈"));
  QLabel* picture = Text(g2, "图片框1", 296, 15, 88, 31, {});
  picture->setPixmap(Badge());
  QLabel* usage = Text(g2, "标签5", 8, 56, 384, 16, {});
  QPalette purple = usage->palette();
  purple.setColor(QPalette::WindowText, QColor(128, 0, 128));
  usage->setPalette(purple);
  f.labels[Label::UsageLine] = usage;

  // Search area.
  QGroupBox* g4 = Group(face, "分组框4", 424, 8, 384, 440, "关键字搜索 全集稳定下载");
  QGroupBox* g5 = Group(g4, "分组框5", 8, 15, 368, 145, "功能区");
  Text(g5, "标签11", 16, 20, 128, 16, U("输入搜索的关键字"))->setFont(hei);
  f.texts[TextBox::Keyword] = Edit(g5, "编辑框6", 149, 15, 147, 24);
  c.search = Button(g5, "按钮9", 308, 16, 48, 24, "搜索");
  auto* fields = new QButtonGroup(g5);
  fields->setExclusive(true);
  const struct {
    Radio role;
    const char* name;
    int x, w;
    const char* text;
  } radios[] = {
      {Radio::AllFields, "单选框1", 16, 72, "全部字段"}, {Radio::Title, "单选框2", 88, 48, "标题"},
      {Radio::Teacher, "单选框3", 136, 64, "主讲人"},    {Radio::School, "单选框4", 192, 80, "主讲人单位"},
      {Radio::Subtitles, "单选框5", 272, 56, "字幕"},
  };
  for (const auto& r : radios) {
    QRadioButton* radio = RadioButton(g5, r.name, r.x, 48, r.w, 16, r.text);
    fields->addButton(radio);
    f.radios[r.role] = radio;
  }
  f.radios[Radio::Title]->setChecked(true);
  Text(g5, "标签9", 0, 69, 72, 16, U("存放目录"))->setFont(hei);
  f.texts[TextBox::SeriesDirectory] = Edit(g5, "编辑框5", 77, 64, 195, 24);
  c.chooseSeriesDir = Button(g5, "按钮8", 284, 64, 64, 24, "选择目录");
  Text(g5, "标签7", 8, 96, 72, 16, U("提示文本："));
  QLabel* progress = Text(g5, "标签10", 80, 102, 264, 32, {});
  progress->setWordWrap(true);
  progress->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  f.labels[Label::SearchProgress] = progress;
  QLabel* title = Text(g4, "标签12", 8, 160, 368, 32, {});
  title->setWordWrap(true);
  f.labels[Label::ResultTitle] = title;
  c.results = Place<QTableWidget>(g4, "超级列表框2", 8, 200, 368, 192);
  SetUpReportList(c.results, ResultColumns(), SongFont(12));
  f.lists[ListControl::SearchResults] = c.results;
  f.labels[Label::ResultCount] = Text(g4, "标签13", 8, 392, 208, 16, {});
  c.batchDownload = Button(g4, "按钮1", 224, 392, 152, 24, "下载选中资源");

  QLabel* clear = Text(face, "透明标签1", 810, 0, 48, 24, {});
  clear->setAttribute(Qt::WA_TranslucentBackground);
  clear->setAttribute(Qt::WA_TransparentForMouseEvents);

  // Status bar: one part, empty.
  auto* statusBar = new QStatusBar(window);
  statusBar->setObjectName(U("状态条1"));
  statusBar->setSizeGripEnabled(true);
  auto* statusText = new QLabel(statusBar);
  statusText->setObjectName(QStringLiteral("statusText"));
  statusBar->addWidget(statusText, 1);
  window->setStatusBar(statusBar);
  f.labels[Label::StatusBar] = statusText;

  // Pop-up menu of the episode list; the window has no menu bar.
  c.episodeMenu = new QMenu(U("菜单"), window);
  c.episodeMenu->setObjectName(U("菜单"));
  c.copyAddress = c.episodeMenu->addAction(U("复制下载地址"));
  c.copyAddress->setObjectName(U("复制下载地址"));
  c.downloadAgain = c.episodeMenu->addAction(U("重新下载视频"));
  c.downloadAgain->setObjectName(U("重新下载视频"));

  c.clock = new QTimer(window);
  c.clock->setObjectName(U("时钟1"));
  c.clock->setInterval(kStatusClockMs);
  return c;
}

}  // namespace lecdl
