#include "ui/report_list.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPalette>

namespace lecdl {

void SetUpReportList(QTableWidget* list, const std::vector<ListColumn>& columns, const QFont& font) {
  list->setFont(font);
  list->setColumnCount(static_cast<int>(columns.size()));
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    const ListColumn& column = columns[static_cast<size_t>(i)];
    auto* header = new QTableWidgetItem(QString::fromUtf8(column.title));
    header->setTextAlignment(column.alignment | Qt::AlignVCenter);
    list->setHorizontalHeaderItem(i, header);
    list->setColumnWidth(i, column.width);
    list->setColumnHidden(i, column.width == 0);
  }
  list->horizontalHeader()->setVisible(true);
  list->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  list->horizontalHeader()->setStretchLastSection(false);
  list->horizontalHeader()->setSectionsClickable(false);  // no sorting
  list->verticalHeader()->setVisible(false);
  list->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
  list->setSortingEnabled(false);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setShowGrid(true);
  list->setWordWrap(false);
  list->setMouseTracking(false);  // no hot tracking
  list->setAttribute(Qt::WA_Hover, false);

  QPalette palette = list->palette();
  const QColor grey(192, 192, 192);
  palette.setColor(QPalette::Base, grey);
  palette.setColor(QPalette::AlternateBase, grey);
  palette.setColor(QPalette::Text, Qt::black);
  list->setPalette(palette);
  list->setAlternatingRowColors(false);
}

int AppendReportRow(QTableWidget* list) {
  const int row = list->rowCount();
  list->insertRow(row);
  for (int column = 0; column < list->columnCount(); ++column) {
    auto* item = new QTableWidgetItem();
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (column == 0) {
      flags |= Qt::ItemIsUserCheckable;
      item->setCheckState(Qt::Unchecked);
    }
    item->setFlags(flags);
    if (const QTableWidgetItem* header = list->horizontalHeaderItem(column)) {
      item->setTextAlignment(Qt::Alignment(header->textAlignment()));
    }
    list->setItem(row, column, item);
  }
  return row;
}

int SelectedRow(const QTableWidget* list) {
  // Single selection: the selection is at most one row (whatever columns it spans).
  const QItemSelection selection = list->selectionModel()->selection();
  return selection.isEmpty() ? -1 : selection.first().top();
}

}  // namespace lecdl
