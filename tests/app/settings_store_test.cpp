#include "app/settings_store.h"
#include "tests/app/gui_test_support.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quorvane"),
                     QStringLiteral("Quorvane"));
}

class SettingsStoreTest : public ::testing::Test {
protected:
    testing::TemporarySettings settings;
};

TEST_F(SettingsStoreTest, FirstRunGivesTheDefaults) {
    EXPECT_TRUE(SettingsStore::ReadDisclaimerShow());
    EXPECT_EQ(SettingsStore::ReadUnits(), UnitSet{});
    const NumberFormatTable formats = SettingsStore::ReadNumberFormats();
    EXPECT_EQ(formats[0], QStringLiteral("##,##0.00"));  // TForm
    EXPECT_EQ(formats[1], QStringLiteral("##,##0.000")); // PForm
    EXPECT_EQ(formats[2], QStringLiteral("#0.###0"));    // VFForm
    EXPECT_EQ(formats[39], QStringLiteral("##0.#0"));    // STLForm
    EXPECT_EQ(formats[52], QStringLiteral("#,##0.0"));   // stmCVelForm
    EXPECT_TRUE(SettingsStore::ReadRecentFiles().isEmpty());
}

TEST_F(SettingsStoreTest, ValuesAreStoredAsTextUnderTheirSections) {
    SettingsStore::WriteDisclaimerShow(false);
    UnitSet units;
    units[UnitSetEntry::TUnits] = 1;
    units[UnitSetEntry::PUnits] = 6;
    SettingsStore::WriteUnits(units);
    NumberFormatTable formats = DefaultNumberFormats();
    formats[0] = QStringLiteral("##,##0.000");
    SettingsStore::WriteNumberFormats(formats);

    QSettings store = Store();
    EXPECT_EQ(store.value(QStringLiteral("Settings/Disclaimer Show")).toString(),
              QStringLiteral("False"));
    EXPECT_EQ(store.value(QStringLiteral("Units/TUnits")).toString(), QStringLiteral("1"));
    EXPECT_EQ(store.value(QStringLiteral("Units/PUnits")).toString(), QStringLiteral("6"));
    EXPECT_EQ(store.value(QStringLiteral("NumFormat/TForm")).toString(),
              QStringLiteral("##,##0.000"));
    store.beginGroup(QStringLiteral("Units"));
    EXPECT_EQ(store.childKeys().size(), kUnitSetSize);
    store.endGroup();
    store.beginGroup(QStringLiteral("NumFormat"));
    EXPECT_EQ(store.childKeys().size(), kNumberFormatSlotCount);
    store.endGroup();

    EXPECT_FALSE(SettingsStore::ReadDisclaimerShow());
    EXPECT_EQ(SettingsStore::ReadUnits(), units);
    EXPECT_EQ(SettingsStore::ReadNumberFormats(), formats);
}

TEST_F(SettingsStoreTest, UnreadableUnitIndicesFallBackToTheFirstUnit) {
    QSettings store = Store();
    store.setValue(QStringLiteral("Units/TUnits"), QStringLiteral("banana"));
    store.setValue(QStringLiteral("Units/PUnits"), QStringLiteral("42"));
    store.setValue(QStringLiteral("Units/VUnits"), QStringLiteral("-1"));
    store.setValue(QStringLiteral("Units/DUnits"), QStringLiteral("5"));
    store.sync();
    const UnitSet units = SettingsStore::ReadUnits();
    EXPECT_EQ(units[UnitSetEntry::TUnits], 0);
    EXPECT_EQ(units[UnitSetEntry::PUnits], 0);
    EXPECT_EQ(units[UnitSetEntry::VUnits], 0);
    EXPECT_EQ(units[UnitSetEntry::DUnits], 5);
}

TEST_F(SettingsStoreTest, RecentFilesKeepFourAndDeleteTheRest) {
    QList<RecentFile> files;
    for (int k = 1; k <= 5; ++k) {
        files.append(
            {QStringLiteral("case%1.qvr").arg(k), QStringLiteral("/data/case%1.qvr").arg(k)});
    }
    SettingsStore::WriteRecentFiles(files);
    QList<RecentFile> read = SettingsStore::ReadRecentFiles();
    ASSERT_EQ(read.size(), kMaxRecentFiles);
    EXPECT_EQ(read[0].title, QStringLiteral("case1.qvr"));
    EXPECT_EQ(read[3].path, QStringLiteral("/data/case4.qvr"));
    EXPECT_EQ(Store().value(QStringLiteral("MRU/1Title")).toString(), QStringLiteral("case1.qvr"));

    SettingsStore::WriteRecentFiles(files.mid(0, 2));
    EXPECT_EQ(SettingsStore::ReadRecentFiles().size(), 2);
    EXPECT_FALSE(Store().contains(QStringLiteral("MRU/3File")));
}

} // namespace
} // namespace quorvane
