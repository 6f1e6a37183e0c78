#pragma once

// The core's GBK texts at the widget edge: widgets hold Unicode, the core holds GBK.

#include <QString>

#include <string>
#include <string_view>

namespace lecdl {

QString FromGbk(std::string_view gbk);
std::string ToGbk(const QString& text);

// A native path (UTF-8 on Linux) as a widget shows it, and back.
QString FromNativePath(const std::string& path);
std::string ToNativePath(const QString& path);

}  // namespace lecdl
