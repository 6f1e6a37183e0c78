#include "ui/qt_text.h"

#include <QFile>

#include "text/encoding.h"

namespace lecdl {

QString FromGbk(std::string_view gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

std::string ToGbk(const QString& text) { return Utf8ToGbk(text.toStdString()); }

QString FromNativePath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string ToNativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace lecdl
