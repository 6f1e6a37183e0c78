#pragma once

// The fonts the window names, with a stand-in where the named one is not installed.

#include <QFont>
#include <QStringList>

namespace lecdl {

// The first installed family of `families` at `pixelSize`; when none is installed, an installed
// family that covers simplified Chinese takes its place, so the Chinese texts still render.
QFont CjkFont(const QStringList& families, int pixelSize);

QFont HeiFont(int pixelSize);   // 黑体 (SimHei)
QFont SongFont(int pixelSize);  // 宋体 (SimSun)

}  // namespace lecdl
