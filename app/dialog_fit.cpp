#include "app/dialog_fit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QWidget>

namespace quorvane {

namespace {
// The icon and the three buttons of a title bar, and the margins beside the title.
constexpr int kTitleBarDecorations = 160;
} // namespace

int TitleBarWidth(const QString& title) {
    // Title bars commonly use a bold face of the desktop font.
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarDecorations;
}

void FitToTitle(QWidget& dialog) {
    const int width = TitleBarWidth(dialog.windowTitle());
    // Message and input boxes size themselves from their layouts and override a minimum
    // width; a spacer as wide as the title across the bottom makes the layout that wide.
    QLayout* layout = dialog.layout();
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    } else if (auto* column = qobject_cast<QVBoxLayout*>(layout)) {
        column->addSpacerItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed));
    } else {
        dialog.setMinimumWidth(std::max(dialog.minimumWidth(), width));
    }
}

} // namespace quorvane
