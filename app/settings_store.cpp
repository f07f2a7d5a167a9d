#include "app/settings_store.h"

#include <QSettings>

namespace quorvane {

namespace {

// One store for the whole program; tests point it elsewhere with QSettings::setPath.
QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quorvane"),
                     QStringLiteral("Quorvane"));
}

QString ReadText(QSettings& store, const QString& key, const QString& fallback) {
    const QVariant value = store.value(key);
    return value.isValid() ? value.toString() : fallback;
}

QString Latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

NumberFormatTable DefaultNumberFormats() {
    NumberFormatTable table;
    const auto formatSlots = NumberFormatSlots();
    for (int i = 0; i < kNumberFormatSlotCount; ++i) {
        table[i] = Latin(formatSlots[i].defaultPattern);
    }
    return table;
}

bool SettingsStore::ReadDisclaimerShow() {
    QSettings store = Store();
    const QString text =
        ReadText(store, QStringLiteral("Settings/Disclaimer Show"), QStringLiteral("True"))
            .trimmed();
    return !(text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0 ||
             text == QStringLiteral("0"));
}

void SettingsStore::WriteDisclaimerShow(bool show) {
    QSettings store = Store();
    store.setValue(QStringLiteral("Settings/Disclaimer Show"),
                   show ? QStringLiteral("True") : QStringLiteral("False"));
}

UnitSet SettingsStore::ReadUnits() {
    QSettings store = Store();
    store.beginGroup(QStringLiteral("Units"));
    UnitSet units;
    for (int i = 0; i < kUnitSetSize; ++i) {
        const auto entry = static_cast<UnitSetEntry>(i);
        bool ok = false;
        const int index = ReadText(store, Latin(UnitSetKey(entry)), QStringLiteral("0")).toInt(&ok);
        // An unreadable index, or one outside its list, falls back to the first unit.
        const auto listSize = static_cast<int>(UnitNames(UnitSetTag(entry)).size());
        units[entry] = static_cast<UnitIndex>(ok && index >= 0 && index < listSize ? index : 0);
    }
    return units;
}

void SettingsStore::WriteUnits(const UnitSet& units) {
    QSettings store = Store();
    store.beginGroup(QStringLiteral("Units"));
    for (int i = 0; i < kUnitSetSize; ++i) {
        const auto entry = static_cast<UnitSetEntry>(i);
        store.setValue(Latin(UnitSetKey(entry)), QString::number(units[entry]));
    }
}

NumberFormatTable SettingsStore::ReadNumberFormats() {
    QSettings store = Store();
    store.beginGroup(QStringLiteral("NumFormat"));
    NumberFormatTable formats = DefaultNumberFormats();
    const auto formatSlots = NumberFormatSlots();
    for (int i = 0; i < kNumberFormatSlotCount; ++i) {
        formats[i] = ReadText(store, Latin(formatSlots[i].key), formats[i]);
    }
    return formats;
}

void SettingsStore::WriteNumberFormats(const NumberFormatTable& formats) {
    QSettings store = Store();
    store.beginGroup(QStringLiteral("NumFormat"));
    const auto formatSlots = NumberFormatSlots();
    for (int i = 0; i < kNumberFormatSlotCount; ++i) {
        store.setValue(Latin(formatSlots[i].key), formats[i]);
    }
}

QList<RecentFile> SettingsStore::ReadRecentFiles() {
    QSettings store = Store();
    store.beginGroup(QStringLiteral("MRU"));
    QList<RecentFile> files;
    for (int k = 1; k <= kMaxRecentFiles; ++k) {
        const QString path = ReadText(store, QString::number(k) + QStringLiteral("File"), {});
        if (path.isEmpty()) {
            break;
        }
        files.append({ReadText(store, QString::number(k) + QStringLiteral("Title"), {}), path});
    }
    return files;
}

void SettingsStore::WriteRecentFiles(const QList<RecentFile>& files) {
    QSettings store = Store();
    store.beginGroup(QStringLiteral("MRU"));
    const qsizetype count = std::min<qsizetype>(files.size(), kMaxRecentFiles);
    for (qsizetype k = 1; k <= kMaxRecentFiles; ++k) {
        const QString title = QString::number(k) + QStringLiteral("Title");
        const QString file = QString::number(k) + QStringLiteral("File");
        if (k <= count) {
            store.setValue(title, files[k - 1].title);
            store.setValue(file, files[k - 1].path);
        } else {
            store.remove(title);
            store.remove(file);
        }
    }
}

} // namespace quorvane
