#include "app/bip_table_window.h"
#include "app/composition_tab.h"
#include "app/interaction_tab.h"
#include "tests/app/gui_test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

class InteractionTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = testing::MakeMainWindow();
        ASSERT_TRUE(window->DatabaseError().isEmpty());
        for (const char* name : {"METHANE", "ETHANE", "PROPANE"}) {
            ASSERT_TRUE(window->Composition()->SelectComponent(QString::fromLatin1(name)));
            window->Composition()->AddSelectedComponent();
        }
        tab = window->Interaction();
        grid = tab->Grid();
    }

    const MixtureComponents& Mixture() { return window->State().mixture; }

    testing::TemporarySettings settings;
    testing::DialogRecorder dialogs;
    std::unique_ptr<MainWindow> window;
    InteractionTab* tab = nullptr;
    QTableWidget* grid = nullptr;
};

TEST_F(InteractionTabTest, GridIsSquareWithDashesOnTheDiagonal) {
    ASSERT_EQ(grid->rowCount(), 3);
    ASSERT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("ETHANE"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(grid->item(i, i)->text(), QStringLiteral("---"));
        EXPECT_FALSE(grid->item(i, i)->flags() & Qt::ItemIsEditable);
    }
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("0.0000"));
}

TEST_F(InteractionTabTest, EditsAreMirroredToKeepTheTableSymmetric) {
    window->State().recalc = false;
    grid->item(0, 2)->setText(QStringLiteral("0.0123"));
    EXPECT_FLOAT_EQ(Mixture().Kij(0, 2), 0.0123F);
    EXPECT_FLOAT_EQ(Mixture().Kij(2, 0), 0.0123F);
    EXPECT_EQ(grid->item(2, 0)->text(), QStringLiteral("0.0123"));
    EXPECT_TRUE(window->RecalculationFlag());
}

TEST_F(InteractionTabTest, NonNumericKijIsRefused) {
    grid->item(0, 1)->setText(QStringLiteral("0.02"));
    grid->item(0, 1)->setText(QStringLiteral("x1"));
    EXPECT_FLOAT_EQ(Mixture().Kij(0, 1), 0.02F);
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->text,
              QStringLiteral("The interaction coefficient must be a number; the previous value is "
                             "kept."));
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("0.0200"));
}

TEST_F(InteractionTabTest, KijBeyondTheSingleRangeIsRefused) {
    grid->item(0, 1)->setText(QStringLiteral("0.02"));
    grid->item(0, 1)->setText(QStringLiteral("1e50"));
    EXPECT_FLOAT_EQ(Mixture().Kij(0, 1), 0.02F);
    EXPECT_FLOAT_EQ(Mixture().Kij(1, 0), 0.02F);
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("0.0200"));
}

TEST_F(InteractionTabTest, EstimateFillsTheTableAndClearingZeroesIt) {
    auto* estimate = testing::Find<QCheckBox>(tab, QStringLiteral("chkEstimateKIJ"));
    estimate->setChecked(true);
    const KijTable expected = EstimateKij(Mixture().CriticalTemperaturesF(), Mixture().CriticalZ());
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_FLOAT_EQ(Mixture().Kij(i, j), expected(i, j));
        }
        EXPECT_FLOAT_EQ(Mixture().Kij(i, i), 0.0F);
    }
    EXPECT_GT(Mixture().Kij(0, 2), 0.0F);
    EXPECT_FLOAT_EQ(Mixture().Kij(0, 2), Mixture().Kij(2, 0));

    estimate->setChecked(false);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_FLOAT_EQ(Mixture().Kij(i, j), 0.0F);
        }
    }
}

TEST_F(InteractionTabTest, RemovingAComponentKeepsTheOtherPairs) {
    grid->item(0, 2)->setText(QStringLiteral("0.03"));
    window->Tabs()->setCurrentIndex(MainWindow::kCompositionTab);
    auto* compositionGrid =
        testing::Find<QTableWidget>(window->Composition(), QStringLiteral("grdGrid"));
    compositionGrid->setCurrentCell(1, 1);
    window->Composition()->RemoveCurrentComponent();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_FLOAT_EQ(Mixture().Kij(0, 1), 0.03F);
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("0.0300"));
}

TEST_F(InteractionTabTest, TableButtonIsDisabledWhileRkIsChosen) {
    auto* button = testing::Find<QPushButton>(tab, QStringLiteral("cmdBIPTable"));
    auto* eos = testing::Find<QListWidget>(window.get(), QStringLiteral("lstEOS"));
    eos->setCurrentRow(0);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(testing::Find<QLabel>(tab, QStringLiteral("lblKijHeading"))->text(),
              QStringLiteral("Equation of State Interaction Coefficients (kij):  RK"));
    eos->setCurrentRow(1);
    EXPECT_TRUE(button->isEnabled());
}

TEST_F(InteractionTabTest, PasteTakesTabSeparatedValuesSymmetrically) {
    grid->setCurrentCell(0, 1);
    tab->Paste(QStringLiteral("0.01\t0.02\n"));
    EXPECT_FLOAT_EQ(Mixture().Kij(1, 0), 0.01F);
    EXPECT_FLOAT_EQ(Mixture().Kij(2, 0), 0.02F);
}

TEST_F(InteractionTabTest, ReferenceTableFollowsTheEquationOfState) {
    EXPECT_EQ(tab->ShowReferenceTable(0), nullptr); // RK has none
    BipTableWindow* srk = tab->ShowReferenceTable(2);
    ASSERT_NE(srk, nullptr);
    EXPECT_EQ(srk->objectName(), QStringLiteral("frmSRKBIPTable"));
    EXPECT_EQ(tab->ShowReferenceTable(1), srk); // created once and reused
    BipTableWindow* pr = tab->ShowReferenceTable(4);
    EXPECT_EQ(pr->objectName(), QStringLiteral("frmPRBIPTable"));
    srk->close();
    pr->close();
}

class BipTableWindowTest : public ::testing::Test {
protected:
    void SetUp() override { testing::EnsureApplication(); }
    testing::DialogRecorder dialogs;
    QTemporaryDir folder;
};

TEST_F(BipTableWindowTest, AddEditSaveAndOpenGiveBackTheSameGrid) {
    BipTableWindow table(QStringLiteral("PR"));
    table.show();
    dialogs.texts = {QStringLiteral("METHANE"), QStringLiteral("CO2"), QString()};
    table.AddCompound();
    table.AddCompound();
    table.AddCompound(); // cancelled: nothing added
    ASSERT_EQ(table.Table()->rowCount(), 3);
    EXPECT_EQ(table.Table()->item(0, 2)->text(), QStringLiteral("CO2"));
    EXPECT_EQ(table.Table()->item(2, 1)->text(), QStringLiteral("---"));
    table.Table()->item(1, 2)->setText(QStringLiteral("0.105"));
    EXPECT_TRUE(table.IsChanged());

    const QString path = folder.filePath(QStringLiteral("pr.qvb"));
    dialogs.files = {path};
    table.SaveTable();
    EXPECT_FALSE(table.IsChanged());

    BipTableWindow reopened(QStringLiteral("PR"));
    dialogs.files = {path};
    reopened.OpenTable();
    EXPECT_EQ(reopened.Grid(), table.Grid());
    EXPECT_FALSE(reopened.IsChanged());
}

TEST_F(InteractionTabTest, ClosingTheProgramAsksAboutAnEditedReferenceTable) {
    window->show();
    window->State().recalc = false;
    BipTableWindow* table = window->Interaction()->ShowReferenceTable(1);
    ASSERT_NE(table, nullptr);
    dialogs.texts = {QStringLiteral("ETHANE")};
    table->AddCompound();
    dialogs.answers = {QMessageBox::No};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(table->isVisible());
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("Exit without saving the BIP Table?"));
    dialogs.answers = {QMessageBox::Yes};
    EXPECT_TRUE(window->close());
}

TEST_F(BipTableWindowTest, ClosingWithUnsavedChangesAsksAndNoKeepsItOpen) {
    BipTableWindow table(QStringLiteral("SRK"));
    table.show();
    dialogs.texts = {QStringLiteral("ETHANE")};
    table.AddCompound();
    dialogs.answers = {QMessageBox::No};
    table.close();
    EXPECT_TRUE(table.isVisible());
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("Exit without saving the BIP Table?"));
    EXPECT_EQ(dialogs.Last()->title, QStringLiteral("Quorvane:  SRK BIP Entry"));
    EXPECT_EQ(dialogs.Last()->defaultButton, QMessageBox::No);
    table.close(); // the default answer is Yes
    EXPECT_FALSE(table.isVisible());
}

TEST_F(BipTableWindowTest, DeleteAsksWithTheCompoundName) {
    BipTableWindow table(QStringLiteral("SRK"));
    dialogs.texts = {QStringLiteral("A"), QStringLiteral("B")};
    table.AddCompound();
    table.AddCompound();
    table.Table()->setCurrentCell(1, 0);
    dialogs.answers = {QMessageBox::Cancel};
    table.DeleteSelectedCompound();
    EXPECT_EQ(table.Table()->rowCount(), 3);
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("Delete the component, A?"));
    EXPECT_EQ(dialogs.Last()->title, QStringLiteral("Quorvane:  Delete SRK BIP"));
    table.Table()->setCurrentCell(1, 0);
    table.DeleteSelectedCompound();
    ASSERT_EQ(table.Table()->rowCount(), 2);
    EXPECT_EQ(table.Table()->columnCount(), 2);
    EXPECT_EQ(table.Table()->item(1, 0)->text(), QStringLiteral("B"));
}

TEST_F(BipTableWindowTest, CancelledOpenLeavesTheGrid) {
    BipTableWindow table(QStringLiteral("PR"));
    dialogs.texts = {QStringLiteral("A")};
    table.AddCompound();
    const BipGrid before = table.Grid();
    table.OpenTable(); // no file chosen
    EXPECT_EQ(table.Grid(), before);
}

} // namespace
} // namespace quorvane
