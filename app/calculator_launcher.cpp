#include "app/calculator_launcher.h"

#include "app/dialog_seam.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace quorvane {

void StartCalculator(QWidget* parent) {
    static const QStringList candidates = {QStringLiteral("gnome-calculator"),
                                           QStringLiteral("kcalc"),
                                           QStringLiteral("mate-calc"),
                                           QStringLiteral("galculator"),
                                           QStringLiteral("qalculate-gtk"),
                                           QStringLiteral("qalculate-qt"),
                                           QStringLiteral("xcalc"),
                                           QStringLiteral("calc.exe")};
    for (const QString& name : candidates) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty() && QProcess::startDetached(program, {})) {
            return;
        }
    }
    ShowMessage(parent, QStringLiteral("Quorvane"),
                QStringLiteral("No calculator program was found on this computer.\n\nInstall a "
                               "desktop calculator (for example gnome-calculator or kcalc) to "
                               "use this command."),
                QMessageBox::Information);
}

} // namespace quorvane
