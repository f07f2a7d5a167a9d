#include "app/water/steam_library.h"

#include <QDir>
#include <QFileInfo>
#include <map>
#include <memory>

namespace quorvane {

namespace {

// One lock per library file for the whole program, whichever binder uses it: the unit settings
// it guards belong to the loaded library, not to a binder.
std::mutex& LockFor(const QString& path) {
    static std::mutex registryLock;
    static std::map<QString, std::unique_ptr<std::mutex>> locks;
    const std::lock_guard<std::mutex> guard(registryLock);
    std::unique_ptr<std::mutex>& lock = locks[QFileInfo(path).absoluteFilePath()];
    if (!lock) {
        lock = std::make_unique<std::mutex>();
    }
    return *lock;
}

using DoubleOfNone = double (*)();
using DoubleOfOne = double (*)(double);
using DoubleOfTwo = double (*)(double, double);
using IntOfTwo = int (*)(double, double);
using IntOfInt = int (*)(int);

} // namespace

SteamLibraryError::SteamLibraryError(const QString& message)
    : std::runtime_error(message.toStdString()) {}

SteamLibrary::SteamLibrary(const QString& folder, const QString& fileName,
                           std::span<const SteamUnitSetting> units)
    : m_fileName(fileName), m_units(units), m_lock(LockFor(QDir(folder).filePath(fileName))) {
    m_library.setFileName(QDir(folder).filePath(fileName));
    // No ExportExternalSymbolsHint: the library is opened with its symbols local to it, so that
    // the functions of the same name in the other steam library can never be bound instead.
    m_library.setLoadHints(QLibrary::LoadHints());
}

QFunctionPointer SteamLibrary::Resolve(const char* name) {
    const auto known = m_functions.find(name);
    if (known != m_functions.end()) {
        return known->second;
    }
    if (!m_library.isLoaded() && !m_library.load()) {
        const QString folder = QFileInfo(m_library.fileName()).absolutePath();
        throw SteamLibraryError(
            QStringLiteral("The water/steam library %1 could not be loaded from the folder %2.\n\n"
                           "%3\n\nReinstall Quorvane so that %1 is in that folder, then compute "
                           "again.")
                .arg(m_fileName, folder, m_library.errorString()));
    }
    const QFunctionPointer function = m_library.resolve(name);
    if (function == nullptr) {
        throw SteamLibraryError(
            QStringLiteral("The water/steam library %1 has no function %2: the file is damaged or "
                           "belongs to another version.\n\nReinstall Quorvane, then compute again.")
                .arg(m_fileName, QString::fromLatin1(name)));
    }
    m_functions.emplace(name, function);
    return function;
}

QStringList SteamLibrary::SetUnitsLocked() {
    QStringList refusals;
    for (const SteamUnitSetting& unit : m_units) {
        const auto setter = reinterpret_cast<IntOfInt>(Resolve(unit.setter));
        if (setter(unit.code) == 0) {
            refusals << QString::fromUtf8(unit.refusal);
        }
    }
    return refusals;
}

QStringList SteamLibrary::SetUnits() {
    const std::lock_guard<std::mutex> guard(m_lock);
    return SetUnitsLocked();
}

SteamLibrary::Session SteamLibrary::Begin() {
    Session session(*this, m_lock);
    const QStringList refusals = SetUnitsLocked();
    if (!refusals.isEmpty()) {
        throw SteamLibraryError(refusals.join(QLatin1Char('\n')));
    }
    return session;
}

SteamLibrary::Session::Session(SteamLibrary& library, std::mutex& lock)
    : m_library(&library), m_lock(lock) {}

double SteamLibrary::Session::Value(const char* name) {
    return reinterpret_cast<DoubleOfNone>(m_library->Resolve(name))();
}

double SteamLibrary::Session::Value(const char* name, double a) {
    return reinterpret_cast<DoubleOfOne>(m_library->Resolve(name))(a);
}

double SteamLibrary::Session::Value(const char* name, double a, double b) {
    return reinterpret_cast<DoubleOfTwo>(m_library->Resolve(name))(a, b);
}

int SteamLibrary::Session::Flag(const char* name, double a, double b) {
    return reinterpret_cast<IntOfTwo>(m_library->Resolve(name))(a, b);
}

} // namespace quorvane
