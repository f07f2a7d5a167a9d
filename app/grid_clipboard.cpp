#include "app/grid_clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QTableWidget>

namespace quorvane {

QString SelectedCellsText(const QTableWidget& grid) {
    int top = 0;
    int left = 0;
    int bottom = grid.rowCount() - 1;
    int right = grid.columnCount() - 1;
    const QList<QTableWidgetSelectionRange> ranges = grid.selectedRanges();
    if (!ranges.isEmpty()) {
        top = bottom = ranges.front().topRow();
        left = right = ranges.front().leftColumn();
        for (const auto& range : ranges) {
            top = std::min(top, range.topRow());
            left = std::min(left, range.leftColumn());
            bottom = std::max(bottom, range.bottomRow());
            right = std::max(right, range.rightColumn());
        }
    }
    QStringList lines;
    for (int r = top; r <= bottom; ++r) {
        QStringList cells;
        for (int c = left; c <= right; ++c) {
            const QTableWidgetItem* item = grid.item(r, c);
            cells << (item != nullptr ? item->text().trimmed() : QString());
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QList<QStringList> ParseTableText(const QString& text) {
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (normalised.endsWith(QLatin1Char('\n'))) {
        normalised.chop(1);
    }
    QList<QStringList> rows;
    if (normalised.isEmpty()) {
        return rows;
    }
    for (const QString& line : normalised.split(QLatin1Char('\n'))) {
        rows << line.split(QLatin1Char('\t'));
    }
    return rows;
}

void CopySelectedCells(const QTableWidget& grid) {
    QApplication::clipboard()->setText(SelectedCellsText(grid));
}

} // namespace quorvane
