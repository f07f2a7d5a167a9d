// Quorvane: the desktop program.

#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    quorvane::SetApplicationIdentity();
    quorvane::StartupResult started = quorvane::StartUp({});
    if (!started.window) {
        return started.exitCode;
    }
    return QApplication::exec();
}
