#include "ui/fonts.h"

#include <QFontDatabase>

namespace lecdl {

namespace {

QString ChineseStandIn() {
  const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  // A proportional sans face looks closest to the dialog fonts of the original layout.
  for (const QString& family : chinese) {
    if (family.contains(QStringLiteral("Hei")) && !family.contains(QStringLiteral("Mono"))) return family;
  }
  return chinese.isEmpty() ? QString() : chinese.front();
}

}  // namespace

QFont CjkFont(const QStringList& families, int pixelSize) {
  const QStringList installed = QFontDatabase::families();
  QString family;
  for (const QString& wanted : families) {
    if (installed.contains(wanted, Qt::CaseInsensitive)) {
      family = wanted;
      break;
    }
  }
  if (family.isEmpty()) family = ChineseStandIn();
  QFont font;
  if (!family.isEmpty()) font.setFamily(family);
  font.setPixelSize(pixelSize);
  font.setWeight(QFont::Normal);
  return font;
}

QFont HeiFont(int pixelSize) { return CjkFont({QStringLiteral("SimHei"), QStringLiteral("黑体")}, pixelSize); }

QFont SongFont(int pixelSize) {
  return CjkFont({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("NSimSun")}, pixelSize);
}

}  // namespace lecdl
