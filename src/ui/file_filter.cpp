#include "ui/file_filter.h"

#include <QRegularExpression>
#include <QStringList>

namespace lecdl {

QString QtFileFilter(const QString& pairs) {
  const QStringList parts = pairs.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // Qt reads the patterns from the last parentheses of a filter, so a description that already
    // shows its patterns loses them and gets the real ones.
    QString description = parts[i];
    static const QRegularExpression shownPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    description.remove(shownPatterns);
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << description.trimmed() + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
  }
  if (filters.isEmpty() && !pairs.trimmed().isEmpty()) filters << pairs.trimmed();
  return filters.join(QStringLiteral(";;"));
}

QString SuffixOf(const QString& extension) {
  QString suffix = extension.trimmed();
  if (suffix.startsWith(QLatin1Char('*'))) suffix.remove(0, 1);
  if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  return suffix;
}

}  // namespace lecdl
