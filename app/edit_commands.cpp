#include "app/edit_commands.h"

#include "app/dialog_seam.h"
#include "app/grid_clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QTableWidget>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace quorvane {

namespace {

const QString kClearError = QStringLiteral("Could not clear clipboard.");
const QString kCopyError = QStringLiteral("Could not copy text.");
const QString kCutError = QStringLiteral("Could not cut text.");
const QString kPasteError = QStringLiteral("Could not paste text.");

// Keeps a grid's handlers as a child object, so they go with the grid.
class GridEditHandlerHolder : public QObject {
public:
    GridEditHandlerHolder(QObject* grid, GridEditHandlers handlers)
        : QObject(grid), m_handlers(std::move(handlers)) {
        setObjectName(QStringLiteral("gridEditHandlers"));
    }
    const GridEditHandlers& Handlers() const { return m_handlers; }

private:
    GridEditHandlers m_handlers;
};

const GridEditHandlers* HandlersOf(const QTableWidget& grid) {
    const auto* holder = grid.findChild<GridEditHandlerHolder*>(QStringLiteral("gridEditHandlers"),
                                                                Qt::FindDirectChildrenOnly);
    return holder != nullptr ? &holder->Handlers() : nullptr;
}

bool WholeGridSelected(const QTableWidget& grid) {
    const QList<QTableWidgetSelectionRange> ranges = grid.selectedRanges();
    if (ranges.isEmpty()) {
        return true;
    }
    qsizetype cells = 0;
    for (const auto& range : ranges) {
        cells += static_cast<qsizetype>(range.rowCount()) * range.columnCount();
    }
    return cells >= static_cast<qsizetype>(grid.rowCount()) * grid.columnCount();
}

// The clipboard's text, or nullopt when it holds none.
std::optional<QString> ClipboardText() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    return data->text();
}

// Pastes cell by cell into the editable cells from the current one on; each goes through the
// grid's own edit handling.
void PasteCells(QTableWidget& grid, const QString& text) {
    const QList<QStringList> rows = ParseTableText(text);
    const int top = std::max(0, grid.currentRow());
    const int left = std::max(0, grid.currentColumn());
    for (int r = 0; r < rows.size() && top + r < grid.rowCount(); ++r) {
        for (int c = 0; c < rows[r].size() && left + c < grid.columnCount(); ++c) {
            QTableWidgetItem* item = grid.item(top + r, left + c);
            if (item != nullptr && (item->flags() & Qt::ItemIsEditable)) {
                item->setText(rows[r][c]);
            }
        }
    }
}

QString GridCommand(QTableWidget& grid, EditVerb verb) {
    if (verb == EditVerb::Delete) {
        return {}; // grid cells are changed by typing, never blanked wholesale
    }
    if (verb != EditVerb::Paste) {
        // A cut copies: the cells keep their values (amounts and parameters are not blanked).
        return PutOnClipboard(GridCopyText(grid), verb);
    }
    const auto text = ClipboardText();
    if (!text) {
        return kPasteError;
    }
    const GridEditHandlers* handlers = HandlersOf(grid);
    if (handlers != nullptr && handlers->paste) {
        handlers->paste(*text);
    } else if (grid.editTriggers() != QAbstractItemView::NoEditTriggers) {
        PasteCells(grid, *text);
    }
    return {};
}

QString LineEditCommand(QLineEdit& edit, EditVerb verb) {
    if (verb == EditVerb::Paste) {
        if (!ClipboardText()) {
            return kPasteError;
        }
        if (!edit.isReadOnly()) {
            edit.paste();
        }
        return {};
    }
    const bool changes = verb != EditVerb::Copy && !edit.isReadOnly();
    if (verb != EditVerb::Delete && edit.hasSelectedText()) {
        const QString error = PutOnClipboard(edit.selectedText(), verb);
        if (!error.isEmpty()) {
            return error;
        }
    }
    if (changes && edit.hasSelectedText()) {
        edit.del(); // removes the selection, as a user's key would
    }
    return {};
}

} // namespace

void SetGridEditHandlers(QTableWidget& grid, GridEditHandlers handlers) {
    delete grid.findChild<GridEditHandlerHolder*>(QStringLiteral("gridEditHandlers"),
                                                  Qt::FindDirectChildrenOnly);
    new GridEditHandlerHolder(&grid, std::move(handlers));
}

QString PutOnClipboard(const QString& text, EditVerb verb) {
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    if (!clipboard->text().isEmpty()) {
        return kClearError;
    }
    clipboard->setText(text);
    if (clipboard->text() != text) {
        return verb == EditVerb::Cut ? kCutError : kCopyError;
    }
    return {};
}

void ShowEditError(QWidget* parent, const QString& description) {
    const QString advice =
        description == kPasteError
            ? QStringLiteral("The clipboard holds no text. Copy cells or text first, then paste.")
            : QStringLiteral("Another program may be holding the clipboard. Try again in a "
                             "moment.");
    ShowMessage(parent, QStringLiteral("Quorvane"), description + QStringLiteral("\n\n") + advice,
                QMessageBox::Warning);
}

QString GridCopyText(const QTableWidget& grid) {
    if (!WholeGridSelected(grid)) {
        return SelectedCellsText(grid);
    }
    QStringList lines;
    const GridEditHandlers* handlers = HandlersOf(grid);
    if (handlers != nullptr && handlers->copyPreamble) {
        lines << handlers->copyPreamble();
    }
    if (handlers != nullptr && handlers->copyHeadings) {
        QStringList headings;
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QTableWidgetItem* item = grid.horizontalHeaderItem(c);
            headings << (item != nullptr ? item->text() : QString());
        }
        lines << headings.join(QLatin1Char('\t'));
    }
    for (int r = 0; r < grid.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QTableWidgetItem* item = grid.item(r, c);
            cells << (item != nullptr ? item->text().trimmed() : QString());
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString RunEditCommand(QWidget* focus, EditVerb verb) {
    if (auto* grid = qobject_cast<QTableWidget*>(focus)) {
        return GridCommand(*grid, verb);
    }
    if (auto* combo = qobject_cast<QComboBox*>(focus); combo != nullptr && combo->lineEdit()) {
        return LineEditCommand(*combo->lineEdit(), verb);
    }
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
        return LineEditCommand(*edit, verb);
    }
    if (auto* text = qobject_cast<QTextEdit*>(focus); text != nullptr && verb == EditVerb::Copy) {
        const QString selected = text->textCursor().selection().toPlainText();
        return selected.isEmpty() ? QString() : PutOnClipboard(selected, verb);
    }
    return {};
}

} // namespace quorvane
