#pragma once

// Start-up of the desktop program, in order: the single-instance check, the disclaimer flag,
// the splash window, the main window (database, settings, unit lists), the splash wait, the
// main window shown with a beep, and the disclaimer agreement while "Disclaimer Show" is set.

#include <QString>
#include <memory>

namespace quorvane {

class MainWindow;
class SingleInstance;

struct StartupOptions {
    int splashMs = 3250;
    QString instanceKey; // empty: one instance per user
};

struct StartupResult {
    std::unique_ptr<MainWindow> window; // null: this instance ends (exitCode says how)
    std::unique_ptr<SingleInstance> instance;
    int exitCode = 0;
};

// Sets the application's names and version (the settings store is named after them).
void SetApplicationIdentity();

StartupResult StartUp(const StartupOptions& options);

} // namespace quorvane
