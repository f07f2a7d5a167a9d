#pragma once

// One of the program's steam libraries (libcalvix.so, libdornel.so), bound by file name at run
// time. The library is opened on its own (its symbols stay local to it: both libraries export
// functions of the same names) when it is first needed, and each function is looked up when it
// is first called. A library or function that cannot be found becomes a SteamLibraryError whose
// text names it and says what to do; it never crashes the program.
//
// The libraries hold their unit settings once for the whole process. Every use therefore goes
// through a Session, which holds the library's lock (one per library file, shared by every
// binder of that file) and has set the program's working units first, so that nothing else can
// change the units between the setting and the calls.

#include <QLibrary>
#include <QString>
#include <QStringList>
#include <mutex>
#include <span>
#include <stdexcept>
#include <unordered_map>

namespace quorvane {

class SteamLibraryError : public std::runtime_error {
public:
    explicit SteamLibraryError(const QString& message);
    QString Message() const { return QString::fromUtf8(what()); }
};

// One unit setter of a library, the code the program works in, and the message shown when the
// library refuses it.
struct SteamUnitSetting {
    const char* setter;  // "STM_SetTempUnit"
    int code;            // 3 (°F)
    const char* refusal; // "Error Initializing Module:  Calvix, Temperature"
};

class SteamLibrary {
public:
    // The library `fileName` in `folder`, worked with in `units` (which must outlive the binder).
    SteamLibrary(const QString& folder, const QString& fileName,
                 std::span<const SteamUnitSetting> units);
    SteamLibrary(const SteamLibrary&) = delete;
    SteamLibrary& operator=(const SteamLibrary&) = delete;

    const QString& FileName() const { return m_fileName; }
    QString Path() const { return m_library.fileName(); }

    // Calls every unit setter, also after one refuses, and returns the refusal messages of those
    // that did, in setter order. Throws SteamLibraryError when the library or a setter is missing.
    QStringList SetUnits();

    // Calls under the library's lock, with the working units set when the session began.
    class Session {
    public:
        double Value(const char* name);
        double Value(const char* name, double a);
        double Value(const char* name, double a, double b);
        int Flag(const char* name, double a, double b);

    private:
        friend class SteamLibrary;
        Session(SteamLibrary& library, std::mutex& lock);
        SteamLibrary* m_library;
        std::unique_lock<std::mutex> m_lock;
    };

    // Takes the lock and sets the units; throws SteamLibraryError when the library or a function
    // is missing or a setter refuses (the text gives the refusal messages).
    Session Begin();

private:
    QFunctionPointer Resolve(const char* name);
    QStringList SetUnitsLocked();

    QString m_fileName;
    std::span<const SteamUnitSetting> m_units;
    QLibrary m_library;
    std::unordered_map<std::string, QFunctionPointer> m_functions;
    std::mutex& m_lock;
};

} // namespace quorvane
