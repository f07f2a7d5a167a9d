#include "app/startup.h"

#include "app/dialog_seam.h"
#include "app/disclaimer_window.h"
#include "app/main_window.h"
#include "app/settings_store.h"
#include "app/single_instance.h"
#include "app/splash_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace quorvane {

namespace {

// Keeps the window system serviced while the splash window is up.
void Wait(int ms) {
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

void SetApplicationIdentity() {
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));
}

StartupResult StartUp(const StartupOptions& options) {
    StartupResult result;

    // 1. One instance: a later start shows the message, brings the first one forward, ends.
    result.instance = std::make_unique<SingleInstance>(
        options.instanceKey.isEmpty() ? SingleInstance::DefaultKey() : options.instanceKey);
    if (!result.instance->Claim()) {
        ShowMessage(nullptr, QStringLiteral("Quorvane"),
                    QStringLiteral("A previous instance of Quorvane is currently running."),
                    QMessageBox::Information);
        result.instance->AskRunningToActivate();
        result.instance.reset();
        return result;
    }

    // 2. The disclaimer flag.
    const bool showDisclaimer = SettingsStore::ReadDisclaimerShow();

    // 3. The splash window, painted at once.
    SplashWindow splash;
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents();

    // 4. The main window loads: database, settings, unit lists.
    auto window = std::make_unique<MainWindow>();
    if (!window->DatabaseError().isEmpty()) {
        splash.close();
        ShowMessage(nullptr, QStringLiteral("Quorvane"),
                    window->DatabaseError() +
                        QStringLiteral("\n\nQuorvane cannot run without its component database "
                                       "and will close."),
                    QMessageBox::Critical);
        result.exitCode = 1;
        return result;
    }
    QObject::connect(result.instance.get(), &SingleInstance::activationRequested, window.get(),
                     &MainWindow::BringToFront);

    // 5. The splash stays for its time.
    Wait(options.splashMs);
    splash.close();

    // 6. The main window, with a beep.
    window->show();
    window->activateWindow();
    QApplication::beep();

    // 7. The agreement while the flag is set; disagreeing ends the program.
    if (showDisclaimer) {
        DisclaimerAgreement agreement(window.get());
        if (agreement.exec() != QDialog::Accepted) {
            result.exitCode = 0;
            return result;
        }
    }

    // 8. Normal cursor.
    while (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
    result.window = std::move(window);
    return result;
}

} // namespace quorvane
