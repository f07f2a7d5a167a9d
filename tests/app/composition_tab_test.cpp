#include "app/component_box.h"
#include "app/composition_tab.h"
#include "app/flash_setup_tab.h"
#include "tests/app/gui_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

const QString kTitle = QStringLiteral("Physical Properties");
const QString kResetQuestion =
    QStringLiteral("All existing component selections will be reset.  Continue?");

class CompositionTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = testing::MakeMainWindow();
        ASSERT_TRUE(window->DatabaseError().isEmpty()) << window->DatabaseError().toStdString();
        tab = window->Composition();
        grid = testing::Find<QTableWidget>(tab, QStringLiteral("grdGrid"));
        total = testing::Find<QLabel>(tab, QStringLiteral("lblPercent"));
        window->Tabs()->setCurrentIndex(MainWindow::kCompositionTab);
    }

    void Add(const QString& name) {
        ASSERT_TRUE(tab->SelectComponent(name)) << name.toStdString();
        tab->AddSelectedComponent();
    }

    void Type(int row, const QString& text) { grid->item(row, 1)->setText(text); }

    void ShowWindow() {
        window->show();
        QApplication::setActiveWindow(window.get());
    }

    // Types into the component box as a user does and presses Enter.
    void TypeIntoComponentBox(const QString& text) {
        ShowWindow();
        auto* box = testing::Find<ComponentBox>(tab, QStringLiteral("dbcComp"));
        box->setFocus();
        box->lineEdit()->clear();
        QApplication::processEvents();
        QTest::keyClicks(box->lineEdit(), text);
        // While the completion list is open it takes the keys, as it does for the user.
        QWidget* popup = QApplication::activePopupWidget();
        QTest::keyClick(popup != nullptr ? popup : QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
    }

    bool TotalIsRed() const { return total->styleSheet().contains(QStringLiteral("255")); }

    testing::TemporarySettings settings;
    testing::DialogRecorder dialogs;
    std::unique_ptr<MainWindow> window;
    CompositionTab* tab = nullptr;
    QTableWidget* grid = nullptr;
    QLabel* total = nullptr;
};

TEST_F(CompositionTabTest, AddingTheSameComponentTwiceKeepsOneRow) {
    Add(QStringLiteral("METHANE"));
    Add(QStringLiteral("METHANE"));
    EXPECT_EQ(window->State().mixture.Count(), 1);
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(window->RecalculationFlag());
}

TEST_F(CompositionTabTest, The26thComponentIsRefusedWithTheMessage) {
    const auto offered = window->State().database->OfferedNames();
    ASSERT_GE(offered.size(), 26U);
    for (int i = 0; i < 25; ++i) {
        Add(QString::fromStdString(offered[static_cast<std::size_t>(i)]));
    }
    EXPECT_TRUE(dialogs.messages.empty());
    Add(QString::fromStdString(offered[25]));
    EXPECT_EQ(window->State().mixture.Count(), 25);
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("Only 25 components are allowed."));
    EXPECT_EQ(dialogs.Last()->title, kTitle);
    EXPECT_EQ(dialogs.Last()->icon, QMessageBox::Critical);
}

TEST_F(CompositionTabTest, PercentBasisStoresFractions) {
    Add(QStringLiteral("METHANE"));
    tab->SetBasis(CompositionBasis::MolePercent);
    Type(0, QStringLiteral("50"));
    EXPECT_FLOAT_EQ(window->State().mixture.EnteredComposition()[0], 0.5F);
    EXPECT_EQ(total->text(), QStringLiteral("50.0000"));
    EXPECT_TRUE(TotalIsRed());
}

TEST_F(CompositionTabTest, TotalTurnsRedOnlyOutsideTheTolerance) {
    Add(QStringLiteral("METHANE"));
    Add(QStringLiteral("ETHANE"));
    Type(0, QStringLiteral("0.5"));
    Type(1, QStringLiteral("0.49999"));
    EXPECT_FALSE(TotalIsRed());
    Type(1, QStringLiteral("0.4999"));
    EXPECT_TRUE(TotalIsRed());
    Type(1, QStringLiteral("0.5"));
    EXPECT_FALSE(TotalIsRed());
    EXPECT_EQ(total->text(), QStringLiteral("1.0000"));
}

TEST_F(CompositionTabTest, LeavingWithABadTotalIsBlocked) {
    Add(QStringLiteral("METHANE"));
    Add(QStringLiteral("ETHANE"));
    Type(0, QStringLiteral("0.7"));
    window->Tabs()->setCurrentIndex(MainWindow::kPropertiesTab);
    EXPECT_EQ(window->Tabs()->currentIndex(), MainWindow::kCompositionTab);
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("There is an error in the stream "
                                                   "compositions.\n\nPlease check the input..."));
    EXPECT_EQ(dialogs.Last()->icon, QMessageBox::Critical);

    Type(1, QStringLiteral("0.3"));
    window->Tabs()->setCurrentIndex(MainWindow::kSettingsTab);
    EXPECT_EQ(window->Tabs()->currentIndex(), MainWindow::kSettingsTab);
    EXPECT_FLOAT_EQ(window->State().mixture.FeedMoleFractions()[1], 0.3F);
}

TEST_F(CompositionTabTest, WeightBasisMakesMoleFractionsOnLeaving) {
    Add(QStringLiteral("METHANE"));
    Add(QStringLiteral("ETHANE"));
    tab->SetBasis(CompositionBasis::WeightFrac);
    Type(0, QStringLiteral("0.5"));
    Type(1, QStringLiteral("0.5"));
    window->Tabs()->setCurrentIndex(MainWindow::kSettingsTab);
    const auto mw = window->State().mixture.MolecularWeights();
    const double expected = (0.5 / mw[0]) / (0.5 / mw[0] + 0.5 / mw[1]);
    EXPECT_NEAR(window->State().mixture.FeedMoleFractions()[0], expected, 1e-6);
}

TEST_F(CompositionTabTest, BasisChangesRoundTripTheAmounts) {
    Add(QStringLiteral("METHANE"));
    Add(QStringLiteral("n-BUTANE"));
    Type(0, QStringLiteral("0.25"));
    Type(1, QStringLiteral("0.75"));
    tab->SetBasis(CompositionBasis::WeightPercent);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Weight %"));
    tab->SetBasis(CompositionBasis::MoleFrac);
    EXPECT_NEAR(window->State().mixture.EnteredComposition()[0], 0.25F, 1e-6);
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("0.25"));
}

TEST_F(CompositionTabTest, EnterMovesFromAmountToTheNextAmount) {
    Add(QStringLiteral("METHANE"));
    Add(QStringLiteral("ETHANE"));
    window->show();
    QApplication::setActiveWindow(window.get());
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    QApplication::processEvents();
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(grid->currentColumn(), 1);
}

// Text that is no number, and a number beyond the 32-bit range (it would be stored as infinity).
TEST_F(CompositionTabTest, BadAmountIsRefusedAndTheValueKept) {
    Add(QStringLiteral("METHANE"));
    Type(0, QStringLiteral("0.4"));
    for (const QString& text : {QStringLiteral("abc"), QStringLiteral("1e50")}) {
        dialogs.messages.clear();
        Type(0, text);
        EXPECT_FLOAT_EQ(window->State().mixture.EnteredComposition()[0], 0.4F);
        ASSERT_NE(dialogs.Last(), nullptr);
        EXPECT_TRUE(dialogs.Last()->text.contains(QStringLiteral("must be a number")));
        EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("0.4000"));
    }
}

TEST_F(CompositionTabTest, ResetAsksAndNoKeepsTheMixture) {
    Add(QStringLiteral("METHANE"));
    Add(QStringLiteral("ETHANE"));
    dialogs.answers.push_back(QMessageBox::No);
    EXPECT_FALSE(tab->Reset());
    EXPECT_EQ(window->State().mixture.Count(), 2);
    EXPECT_EQ(dialogs.Last()->text, kResetQuestion);
    EXPECT_EQ(dialogs.Last()->title, kTitle);
    EXPECT_TRUE(tab->Reset());
    EXPECT_EQ(window->State().mixture.Count(), 0);
    EXPECT_FALSE(testing::Find<QPushButton>(tab, QStringLiteral("cmdReset"))->isEnabled());
}

TEST_F(CompositionTabTest, RemovingTheOnlyComponentAsksNothing) {
    Add(QStringLiteral("METHANE"));
    grid->setCurrentCell(0, 1);
    tab->RemoveCurrentComponent();
    EXPECT_EQ(window->State().mixture.Count(), 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(testing::Find<QPushButton>(tab, QStringLiteral("cmdRemove"))->isEnabled());
}

TEST_F(CompositionTabTest, NormalizeScalesToOne) {
    Add(QStringLiteral("METHANE"));
    Add(QStringLiteral("ETHANE"));
    Type(0, QStringLiteral("3"));
    Type(1, QStringLiteral("1"));
    tab->Normalize();
    EXPECT_FLOAT_EQ(window->State().mixture.EnteredComposition()[0], 0.75F);
    EXPECT_FALSE(TotalIsRed());
}

TEST_F(CompositionTabTest, AirOverAMixtureAsksOnceAndSumsToOne) {
    Add(QStringLiteral("WATER"));
    tab->LoadPredefinedMixture(0);
    EXPECT_EQ(std::count_if(dialogs.messages.begin(), dialogs.messages.end(),
                            [](const MessageRequest& m) { return m.text == kResetQuestion; }),
              1);
    const MixtureComponents& mixture = window->State().mixture;
    ASSERT_EQ(mixture.Count(), 9);
    EXPECT_EQ(mixture.Name(0), "NITROGEN");
    EXPECT_EQ(mixture.Name(8), "HYDROGEN");
    EXPECT_FALSE(TotalIsRed());
    EXPECT_FLOAT_EQ(mixture.EnteredComposition()[0], 0.78084F);
}

TEST_F(CompositionTabTest, EnterOnThePredefinedListLoadsTheMixture) {
    auto* list = testing::Find<QListWidget>(tab, QStringLiteral("lstPreDefined"));
    window->show();
    QApplication::setActiveWindow(window.get());
    list->setFocus();
    list->setCurrentRow(0);
    QApplication::processEvents();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(window->State().mixture.Count(), 9);
}

TEST_F(CompositionTabTest, FirstClickIntoTheComponentNameDropsTheListOnce) {
    auto* list = testing::Find<QComboBox>(tab, QStringLiteral("dbcComp"));
    window->show();
    QApplication::setActiveWindow(window.get());
    grid->setFocus();
    QApplication::processEvents();
    QTest::mouseClick(list->lineEdit(), Qt::LeftButton);
    EXPECT_TRUE(list->view()->isVisible());
    list->hidePopup();
    QApplication::processEvents();
    QTest::mouseClick(list->lineEdit(), Qt::LeftButton);
    EXPECT_FALSE(list->view()->isVisible());
}

TEST_F(CompositionTabTest, NaturalGasHasItsTwentyComponentsInOrder) {
    tab->LoadPredefinedMixture(2);
    const MixtureComponents& mixture = window->State().mixture;
    ASSERT_EQ(mixture.Count(), 20);
    EXPECT_EQ(mixture.Name(0), "METHANE");
    EXPECT_EQ(mixture.Name(3), "n-BUTANE");
    EXPECT_EQ(mixture.Name(19), "WATER");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(TotalIsRed()); // amounts are left at 0 for the user
}

// The question comes before anything changes; "No" leaves the mixture as it was.
TEST_F(CompositionTabTest, PredefinedMixtureAsksFirstAndNoKeepsTheMixture) {
    Add(QStringLiteral("METHANE"));
    Add(QStringLiteral("ETHANE"));
    Type(0, QStringLiteral("0.4"));
    Type(1, QStringLiteral("0.6"));
    std::vector<std::string> namesWhenAsked;
    DialogSeam::SetMessageAnswerer([&](const MessageRequest& request) {
        EXPECT_EQ(request.text, kResetQuestion);
        for (int i = 0; i < window->State().mixture.Count(); ++i) {
            namesWhenAsked.emplace_back(window->State().mixture.Name(i));
        }
        return QMessageBox::No;
    });
    ShowWindow();
    auto* list = testing::Find<QListWidget>(tab, QStringLiteral("lstPreDefined"));
    QApplication::processEvents();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(namesWhenAsked, (std::vector<std::string>{"METHANE", "ETHANE"}));
    const MixtureComponents& mixture = window->State().mixture;
    ASSERT_EQ(mixture.Count(), 2);
    EXPECT_FLOAT_EQ(mixture.EnteredComposition()[0], 0.4F);
    EXPECT_FLOAT_EQ(mixture.EnteredComposition()[1], 0.6F);
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("0.6"));
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_TRUE(
        testing::Find<QLineEdit>(window.get(), QStringLiteral("txtStreamName"))->text().isEmpty());
}

// Negative amounts are refused whether typed or pasted, naming the component.
TEST_F(CompositionTabTest, NegativeAmountIsRefusedTypedOrPasted) {
    Add(QStringLiteral("METHANE"));
    Add(QStringLiteral("ETHANE"));
    Type(1, QStringLiteral("0.25"));
    Type(1, QStringLiteral("-0.25"));
    EXPECT_FLOAT_EQ(window->State().mixture.EnteredComposition()[1], 0.25F);
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("The amount of ETHANE cannot be negative; the "
                                                   "previous amount is kept."));
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("0.2500"));

    dialogs.messages.clear();
    ShowWindow();
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    QApplication::clipboard()->setText(QStringLiteral("-3\n"));
    QTest::keySequence(grid, QKeySequence(QKeySequence::Paste));
    EXPECT_EQ(window->State().mixture.EnteredComposition()[0], 0.0F);
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_TRUE(dialogs.Last()->text.startsWith(QStringLiteral("The amount of METHANE cannot")));
}

// Hydrogen in air is 5E-07: four decimals would show it as 0.0000.
TEST_F(CompositionTabTest, TinyAmountsShowTheirDigits) {
    tab->LoadPredefinedMixture(0);
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("0.7808"));
    EXPECT_EQ(grid->item(3, 1)->text(), QStringLiteral("0.000314")); // carbon dioxide
    EXPECT_EQ(grid->item(8, 1)->text(), QStringLiteral("5E-07"));    // hydrogen
    tab->SetBasis(CompositionBasis::MolePercent);
    EXPECT_EQ(grid->item(8, 1)->text(), QStringLiteral("5E-05"));
}

TEST_F(CompositionTabTest, ComponentBoxOffersPrefixMatchesFirstAndEnterAdds) {
    TypeIntoComponentBox(QStringLiteral("methane"));
    const QStringList offered =
        testing::Find<ComponentBox>(tab, QStringLiteral("dbcComp"))->Offered();
    ASSERT_GE(offered.size(), 2);
    EXPECT_EQ(offered.front(), QStringLiteral("METHANE"));
    EXPECT_GT(offered.indexOf(QStringLiteral("BROMOMETHANE")), 0);
    ASSERT_EQ(window->State().mixture.Count(), 1);
    EXPECT_EQ(window->State().mixture.Name(0), "METHANE");
    EXPECT_TRUE(dialogs.messages.empty());

    // Names beginning with the text come before names holding it as a later word or inside.
    const QStringList names = {"ISOBUTANE", "1-BUTENE", "BUTANE", "n-BUTANE", "BUTADIENE"};
    EXPECT_EQ(RankComponentMatches(names, QStringLiteral("butane")),
              (QStringList{"BUTANE", "n-BUTANE", "ISOBUTANE"}));
    EXPECT_EQ(RankComponentMatches(names, QStringLiteral("BUT")),
              (QStringList{"BUTANE", "BUTADIENE", "1-BUTENE", "n-BUTANE", "ISOBUTANE"}));
}

// A name the database does not hold says so instead of adding whatever the list selected.
TEST_F(CompositionTabTest, UnknownComponentNameIsReported) {
    ASSERT_TRUE(tab->SelectComponent(QStringLiteral("ETHANE")));
    TypeIntoComponentBox(QStringLiteral("UNOBTAINIUM"));
    EXPECT_TRUE(window->State().mixture.Empty());
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_TRUE(dialogs.Last()->text.startsWith(
        QStringLiteral("\"UNOBTAINIUM\" is not in the component database")))
        << dialogs.Last()->text.toStdString();
}

} // namespace
} // namespace quorvane
