#include "app/program_folder.h"

#include "data/program_layout.h"

#include <QCoreApplication>
#include <QDir>

namespace quorvane {

namespace {

QString PathText(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

std::filesystem::path ProgramPath() {
    return std::filesystem::path(ProgramFolder().toStdString());
}

} // namespace

QString ProgramFolder() {
    return QCoreApplication::applicationDirPath();
}

QString DataFolder() {
    return PathText(DataFolderOf(ProgramPath()));
}

QString LibraryFolder() {
    return PathText(LibraryFolderOf(ProgramPath()));
}

QString ProgramFile(const QString& fileName) {
    return QDir(DataFolder()).filePath(fileName);
}

} // namespace quorvane
