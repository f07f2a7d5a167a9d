#pragma once

// Dialogs sized to their title as well as to their contents: a window system cuts a title that
// is wider than its window ("Quorva... Entry"), and a short message would otherwise make a
// narrow box.

#include <QString>

class QWidget;

namespace quorvane {

// The window width a title needs in the title bar, with room for the window's icon and buttons.
int TitleBarWidth(const QString& title);

// Widens the dialog (a message box too) to at least TitleBarWidth of its window title.
void FitToTitle(QWidget& dialog);

} // namespace quorvane
