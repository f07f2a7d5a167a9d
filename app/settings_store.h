#pragma once

// The per-user settings store of the program: application "Quorvane", sections "Settings",
// "Units", "NumFormat" and "MRU". Every value is kept as text; a missing or unreadable value
// gives its default.

#include "units/format_table.h"
#include "units/unit_set.h"

#include <QList>
#include <QString>
#include <array>

namespace quorvane {

struct RecentFile {
    QString title;
    QString path;
};

inline constexpr int kMaxRecentFiles = 4;

// The number-format table of the main window: one pattern per display slot.
using NumberFormatTable = std::array<QString, kNumberFormatSlotCount>;

NumberFormatTable DefaultNumberFormats();

class SettingsStore {
public:
    static bool ReadDisclaimerShow();
    static void WriteDisclaimerShow(bool show);

    static UnitSet ReadUnits();
    static void WriteUnits(const UnitSet& units);

    static NumberFormatTable ReadNumberFormats();
    static void WriteNumberFormats(const NumberFormatTable& formats);

    static QList<RecentFile> ReadRecentFiles();
    static void WriteRecentFiles(const QList<RecentFile>& files);
};

} // namespace quorvane
