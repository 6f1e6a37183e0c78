#pragma once

// The save dialog's filter as the core gives it ("TXT文档(*.txt)|*.txt": description and pattern
// pairs split by "|") in the form Qt's file dialog takes ("TXT文档 (*.txt)", pairs split by ";;").

#include <QString>

namespace lecdl {

QString QtFileFilter(const QString& pairs);

// "*.txt" or ".txt" -> "txt"; "" when there is none.
QString SuffixOf(const QString& extension);

}  // namespace lecdl
