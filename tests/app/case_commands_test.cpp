// Case files through the window: save, close, open with each load option, the recent-file
// list, and damaged or missing files that must leave the window as it was.

#include "app/case_commands.h"
#include "app/composition_tab.h"
#include "app/flash_setup_tab.h"
#include "app/interaction_tab.h"
#include "app/load_dialog.h"
#include "app/settings_store.h"
#include "data/case_file.h"
#include "tests/app/gui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

class CaseCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = testing::MakeMainWindow();
        ASSERT_TRUE(window->DatabaseError().isEmpty());
        LoadDialog::SetAnswerer([this] { return loadOption; });
    }
    void TearDown() override { LoadDialog::SetAnswerer({}); }

    MainState& State() { return window->State(); }
    CaseCommands& Cases() { return *window->Cases(); }
    QString Path(const QString& name) const { return folder.filePath(name); }
    void Trigger(const char* name) {
        window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    QString Text(const char* name) {
        return testing::Find<QLineEdit>(window.get(), QString::fromLatin1(name))->text();
    }

    // The case of EnterCase with two kij set by hand; flashed when asked.
    void MakeCase(const QStringList& names, bool flash) {
        testing::EnterCase(*window, names);
        if (State().mixture.Count() >= 3) {
            State().mixture.SetKijPair(0, 1, 0.0125F);
            State().mixture.SetKijPair(2, 0, -0.03F);
            window->Interaction()->Rebuild();
        }
        if (flash) {
            window->Tabs()->setCurrentIndex(MainWindow::kPropertiesTab);
            ASSERT_TRUE(State().haveResults);
        }
    }
    QStringList FirstOffered(int n) const {
        QStringList names;
        for (int i = 0; i < n; ++i) {
            names << QString::fromStdString(
                window->State().database->OfferedNames()[static_cast<std::size_t>(i)]);
        }
        return names;
    }

    Bytes FileBytes(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        return Bytes(data.begin(), data.end());
    }
    // What a save would write now: the window's whole case.
    Bytes Snapshot() { return WriteCaseFile(Cases().CurrentCase()); }

    testing::TemporarySettings settings;
    testing::DialogRecorder dialogs;
    std::unique_ptr<MainWindow> window;
    std::optional<LoadOption> loadOption = LoadOption::FeedAsFeed;
    QTemporaryDir folder;
};

TEST_F(CaseCommandsTest, SavedCasesReopenAsTheyWereAndSaveAgainUnchanged) {
    for (int n : {25, 1}) {
        MakeCase(FirstOffered(n), false);
        const Bytes before = Snapshot();
        const QString first = Path(QStringLiteral("case%1.qvr").arg(n));
        const QString second = Path(QStringLiteral("again%1.qvr").arg(n));
        dialogs.files = {first};
        Trigger("mnuFileSave");
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Quorvane - case%1.qvr").arg(n));

        dialogs.answers = {QMessageBox::Ok};
        Trigger("mnuFileClose");
        EXPECT_TRUE(dialogs.Asked(QStringLiteral("Lose all unsaved work?")));
        EXPECT_EQ(dialogs.Last()->title, QStringLiteral("Quorvane Close File"));
        EXPECT_TRUE(State().mixture.Empty());
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Quorvane"));

        dialogs.files = {first};
        Trigger("mnuFileOpen");
        ASSERT_EQ(State().mixture.Count(), n);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_EQ(Text("txtStreamName"), QStringLiteral("Test gas"));
        EXPECT_EQ(Text("txtTemp"), QStringLiteral("100.00"));
        EXPECT_EQ(State().flashCase.eosIndex, 3);
        EXPECT_TRUE(window->RecalculationFlag());
        if (n == 25) {
            EXPECT_EQ(State().mixture.Kij(0, 2), -0.03F);
        }
        dialogs.files = {second};
        Trigger("mnuFileSave");
        EXPECT_EQ(FileBytes(second), FileBytes(first)) << n << " components";

        dialogs.answers = {QMessageBox::Ok};
        Trigger("mnuFileClose");
    }
}

TEST_F(CaseCommandsTest, TheWaterCalculatorComesBackAndComputesAgainOnOpen) {
    MakeCase(FirstOffered(2), false);
    WaterSteamState& water = State().water;
    water.shown = true;
    water.formulation = SteamFormulation::Ifc67;
    water.given = {true, false, true, false, false};
    water.values[kWaterTemp] = 212.0F;
    water.values[kWaterQuality] = 0.0F;
    const QString path = Path(QStringLiteral("water.qvr"));
    dialogs.files = {path};
    Trigger("mnuFileSave");
    dialogs.answers = {QMessageBox::Ok};
    Trigger("mnuFileClose");
    EXPECT_FALSE(State().water.shown);

    dialogs.files = {path};
    Trigger("mnuFileOpen");
    EXPECT_TRUE(State().water.shown);
    EXPECT_EQ(State().water.formulation, SteamFormulation::Ifc67);
    EXPECT_TRUE(
        testing::Find<QCheckBox>(window.get(), QStringLiteral("chkStmInput2"))->isChecked());
    // Computed again from 212 °F and quality 0 under IFC-67: one atmosphere.
    EXPECT_NEAR(State().water.values[kWaterPress], 14.696, 0.002);
    EXPECT_EQ(State().flashCase.tempF, 100.0F);
}

TEST_F(CaseCommandsTest, LoadOptionsAndUnitsComeBackAsShown) {
    MakeCase({QStringLiteral("METHANE"), QStringLiteral("PROPANE"), QStringLiteral("n-DECANE")},
             true);
    const double v = State().flashCase.vapourFraction;
    ASSERT_GT(v, 0.0);
    ASSERT_LT(v, 1.0);
    window->Composition()->SetBasis(CompositionBasis::WeightFrac);
    window->SetUnitSet(SiEngineeringUnits());
    const QString temp = Text("txtTemp");
    const QString press = Text("txtPress");
    const std::vector<float> y(State().mixture.VaporMoleFractions().begin(),
                               State().mixture.VaporMoleFractions().end());
    const std::vector<float> x(State().mixture.LiquidMoleFractions().begin(),
                               State().mixture.LiquidMoleFractions().end());
    const QString path = Path(QStringLiteral("flashed.qvr"));
    ASSERT_TRUE(Cases().SavePath(path));

    // The vapour becomes the feed, shown as mass fractions in the saved weight basis.
    ASSERT_TRUE(Cases().OpenPath(path, LoadOption::VaporAsFeed));
    EXPECT_TRUE(dialogs.Asked(
        QStringLiteral("All existing component selections will be reset.  Continue?")));
    EXPECT_EQ(State().flashCase.vapourFraction, 1.0);
    EXPECT_TRUE(std::equal(y.begin(), y.end(), State().mixture.FeedMoleFractions().begin()));
    const auto mass = MoleToMassFractions(y, State().mixture.MolecularWeights());
    EXPECT_TRUE(std::equal(mass.begin(), mass.end(), State().mixture.EnteredComposition().begin()));
    EXPECT_EQ(State().basis, CompositionBasis::WeightFrac);

    ASSERT_TRUE(Cases().OpenPath(path, LoadOption::LiquidAsFeed));
    EXPECT_EQ(State().flashCase.vapourFraction, 0.0);
    EXPECT_TRUE(std::equal(x.begin(), x.end(), State().mixture.FeedMoleFractions().begin()));

    // Under SI units the state variables show the same texts as when saved.
    State().flashCase.tempF = 150.0F;
    State().flashCase.pressPsia = 20.0F;
    window->RedisplayAll();
    ASSERT_NE(Text("txtTemp"), temp);
    ASSERT_TRUE(Cases().OpenPath(path, LoadOption::FeedAsFeed));
    EXPECT_EQ(Text("txtTemp"), temp);
    EXPECT_EQ(Text("txtPress"), press);
    EXPECT_EQ(State().flashCase.vapourFraction, v);
}

TEST_F(CaseCommandsTest, DamagedMissingOrRefusedOpensLeaveTheWindowAsItWas) {
    MakeCase({QStringLiteral("METHANE"), QStringLiteral("ETHANE")}, true);
    const QString good = Path(QStringLiteral("good.qvr"));
    ASSERT_TRUE(Cases().SavePath(good));
    const Bytes saved = FileBytes(good);
    const Bytes before = Snapshot();
    const QString title = window->windowTitle();

    // A file cut short: the error message, nothing of the window changed.
    QFile damaged(Path(QStringLiteral("damaged.qvr")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(reinterpret_cast<const char*>(saved.data()),
                  static_cast<qint64>(saved.size() - 40));
    damaged.close();
    EXPECT_FALSE(Cases().OpenPath(damaged.fileName(), LoadOption::FeedAsFeed));
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_TRUE(dialogs.Last()->text.startsWith(QStringLiteral("Error 62 reading file.\n")));
    EXPECT_TRUE(dialogs.Last()->title.isEmpty());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(window->windowTitle(), title);

    // "No" to the reset question cancels the open.
    dialogs.answers = {QMessageBox::No};
    EXPECT_FALSE(Cases().OpenPath(good, LoadOption::VaporAsFeed));
    EXPECT_EQ(Snapshot(), before);

    // Recent files: newest first, at most four, kept in the settings; a missing one is said
    // so and leaves the list.
    for (int k = 1; k <= 5; ++k) {
        ASSERT_TRUE(Cases().SavePath(Path(QStringLiteral("recent%1.qvr").arg(k))));
    }
    ASSERT_EQ(State().recentFiles.size(), kMaxRecentFiles);
    EXPECT_EQ(State().recentFiles.front().title, QStringLiteral("recent5.qvr"));
    EXPECT_EQ(SettingsStore::ReadRecentFiles().back().title, QStringLiteral("recent2.qvr"));
    auto* item = window->findChild<QAction*>(QStringLiteral("mnuFileMRU1"));
    EXPECT_EQ(item->text(), QStringLiteral("&1 recent5.qvr"));
    QFile::remove(Path(QStringLiteral("recent4.qvr")));
    window->findChild<QAction*>(QStringLiteral("mnuFileMRU2"))->trigger();
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("File does not exist."));
    EXPECT_EQ(dialogs.Last()->title, QStringLiteral("Open"));
    EXPECT_EQ(SettingsStore::ReadRecentFiles().size(), 3);
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("mnuFileMRU4"))->isVisible());
    EXPECT_EQ(Snapshot(), before);

    // Closing asks first; Cancel keeps everything.
    dialogs.answers = {QMessageBox::Cancel};
    Trigger("mnuFileClose");
    EXPECT_EQ(Snapshot(), before);
}

} // namespace
} // namespace quorvane
