#include "app/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace quorvane {

QString ProgramFile(const QString& fileName) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(fileName);
}

QString LibraryFolder() {
    return QCoreApplication::applicationDirPath();
}

} // namespace quorvane
