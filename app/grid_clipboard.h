#pragma once

// Grids copy to and paste from the clipboard as tab-separated text, the form spreadsheets use.

#include <QList>
#include <QString>
#include <QStringList>

class QTableWidget;

namespace quorvane {

// The selected cells' bounding block (all cells when nothing is selected) as rows of
// tab-separated texts.
QString SelectedCellsText(const QTableWidget& grid);

// Rows of cells from tab-separated text; a trailing line end makes no extra row.
QList<QStringList> ParseTableText(const QString& text);

void CopySelectedCells(const QTableWidget& grid);

} // namespace quorvane
