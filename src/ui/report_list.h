#pragma once

// The two lists in report style: a check box in front of every row, single full-row selection,
// grid lines, column headers, grey background, fixed column widths (0: hidden).

#include <QFont>
#include <QTableWidget>

#include <vector>

namespace lecdl {

struct ListColumn {
  const char* title;  // UTF-8
  int width;          // 0: the column is hidden
  Qt::Alignment alignment;
};

void SetUpReportList(QTableWidget* list, const std::vector<ListColumn>& columns, const QFont& font);

// Appends a row of empty cells with a cleared check box; the cells take their column's alignment.
int AppendReportRow(QTableWidget* list);

// The row selected in the list, or -1.
int SelectedRow(const QTableWidget* list);

}  // namespace lecdl
