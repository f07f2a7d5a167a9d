#pragma once

// The Edit commands (cut, copy, paste, delete) on the focused widget: text boxes and lists work
// on their selected text, grids on their selected cells as tab-separated text, the form
// spreadsheets paste cell by cell. Grids with their own checks take pasted text through a
// handler registered with them; a copy of a whole grid can start with preamble lines
// (conditions and units) and its column headings.

#include <QString>
#include <QStringList>
#include <functional>

class QTableWidget;
class QWidget;

namespace quorvane {

enum class EditVerb { Cut, Copy, Paste, Delete };

// How one grid takes part in the edit commands.
struct GridEditHandlers {
    std::function<void(const QString& text)> paste; // pasted text, instead of cell by cell
    std::function<QStringList()> copyPreamble;      // lines before a whole-grid copy
    bool copyHeadings = false;                      // a whole-grid copy starts with them
};

// Registers the handlers with the grid (they live as long as the grid).
void SetGridEditHandlers(QTableWidget& grid, GridEditHandlers handlers);

// Runs the command on the widget. Returns the error description ("Could not copy text.") or
// an empty text.
QString RunEditCommand(QWidget* focus, EditVerb verb);

// Clears the clipboard and puts the text on it; the error description or an empty text.
QString PutOnClipboard(const QString& text, EditVerb verb);

// Shows an edit command's error with what to do about it.
void ShowEditError(QWidget* parent, const QString& description);

// The text a copy of the grid puts on the clipboard: the selected block, or, when nothing or
// everything is selected, the preamble and column headings its handlers ask for and every row.
QString GridCopyText(const QTableWidget& grid);

} // namespace quorvane
