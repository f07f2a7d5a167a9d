#include "app/busy_indicator.h"
#include "app/dialog_seam.h"
#include "app/flash_setup_tab.h"
#include "app/help_window.h"
#include "app/results_tab.h"
#include "app/settings_store.h"
#include "app/unit_selectors.h"
#include "tests/app/gui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = testing::MakeMainWindow();
        ASSERT_TRUE(window->DatabaseError().isEmpty());
    }

    QLineEdit* Edit(const QString& name) { return testing::Find<QLineEdit>(window.get(), name); }

    // A typed value, as when the user leaves the box.
    void Type(const QString& name, const QString& text) {
        QLineEdit* edit = Edit(name);
        edit->setText(text);
        edit->setModified(true);
        emit edit->editingFinished();
    }

    // Shows the window and gives the named box the keyboard focus.
    QLineEdit* Focus(const QString& name) {
        window->show();
        QApplication::setActiveWindow(window.get());
        QLineEdit* edit = Edit(name);
        edit->setFocus();
        QApplication::processEvents();
        return edit;
    }

    testing::TemporarySettings settings;
    testing::DialogRecorder dialogs;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, TabsHaveTheirCaptionsAndStatusTexts) {
    const QStringList captions = {"&Settings",   "&Composition", "&Interaction Coefficients",
                                  "&Properties", "&Water/Dadez", "S&ummary"};
    ASSERT_EQ(window->Tabs()->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(window->Tabs()->tabText(i), captions[i]);
    }
    EXPECT_EQ(window->StatusText(), QStringLiteral("Select Flash Setting and EOS Model"));
    window->Tabs()->setCurrentIndex(MainWindow::kInteractionTab);
    EXPECT_EQ(window->StatusText(), QStringLiteral("Enter Interaction Coefficients"));
    window->Tabs()->setCurrentIndex(MainWindow::kPropertiesTab);
    EXPECT_EQ(window->StatusText(), QStringLiteral("Flash Results"));
}

TEST_F(MainWindowTest, EveryToolbarCommandIsPresentAndEnabled) {
    auto* toolbar = window->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    EXPECT_EQ(toolbar->actions().size(), 15);
    for (const char* name : {"tbrUnits", "tbrOpen", "tbrWater", "mnuViewWater"}) {
        auto* action = window->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
    }
}

TEST_F(MainWindowTest, FirstRunShowsFahrenheitPsiaAndTheSummary) {
    EXPECT_EQ(window->Selectors().UnitName(0), QStringLiteral("°F"));
    EXPECT_EQ(window->Selectors().UnitName(1), QStringLiteral("psia"));
    EXPECT_EQ(Edit(QStringLiteral("txtTemp"))->text(), QStringLiteral("60.00"));
    testing::Find<QListWidget>(window.get(), QStringLiteral("lstEOS"))->setCurrentRow(2);
    EXPECT_EQ(window->SummaryText(), QStringLiteral("Flash: TP, EOS: SRK-78, T=60 °F, P=15 psia"));
}

TEST_F(MainWindowTest, WaterCommandOpensTheCalculatorAndTheSummaryNamesTheFormulation) {
    window->findChild<QAction*>(QStringLiteral("tbrWater"))->trigger();
    EXPECT_EQ(window->Tabs()->currentIndex(), MainWindow::kWaterTab);
    EXPECT_TRUE(window->State().water.shown);
    EXPECT_EQ(window->SummaryText(), QStringLiteral("IFC-1997 Dadez Properties:  "));
    testing::Find<QRadioButton>(window.get(), QStringLiteral("optSteam1"))->click();
    EXPECT_EQ(window->SummaryText(), QStringLiteral("IFC-1967 Dadez Properties:  "));
    // The calculator's temperature is its own: the flash state keeps 60 °F.
    EXPECT_EQ(window->State().flashCase.tempF, 60.0F);
    EXPECT_FALSE(window->RecalculationFlag());
}

TEST_F(MainWindowTest, BadStateInputsAreRefusedAndTheValuesKept) {
    Type(QStringLiteral("txtTemp"), QStringLiteral("warm"));
    EXPECT_EQ(window->State().flashCase.tempF, 60.0F);
    EXPECT_EQ(Edit(QStringLiteral("txtTemp"))->text(), QStringLiteral("60.00"));
    ASSERT_EQ(dialogs.messages.size(), 1U);

    Type(QStringLiteral("txtPress"), QStringLiteral("0"));
    Type(QStringLiteral("txtPress"), QStringLiteral("-3"));
    EXPECT_EQ(dialogs.messages.size(), 3U);
    EXPECT_EQ(dialogs.Last()->text,
              QStringLiteral("The pressure must be a number greater than 0."));
    EXPECT_FLOAT_EQ(window->State().flashCase.pressPsia, 14.6959F);

    testing::Find<QComboBox>(window.get(), QStringLiteral("cboFlashType"))->setCurrentIndex(5);
    Type(QStringLiteral("txtVapFrac"), QStringLiteral("1.5"));
    EXPECT_EQ(dialogs.Last()->text,
              QStringLiteral("Vapor Fraction must be a number between 0 and 1."));
    EXPECT_EQ(window->State().flashCase.vapourFraction, 0.0);
    Type(QStringLiteral("txtVapFrac"), QStringLiteral("0.25"));
    EXPECT_EQ(window->State().flashCase.vapourFraction, 0.25);
}

TEST_F(MainWindowTest, TypedTemperatureIsConvertedFromTheShownUnit) {
    window->Selectors().At(0)->setCurrentIndex(1); // °C
    EXPECT_EQ(Edit(QStringLiteral("txtTemp"))->text(), QStringLiteral("15.56"));
    Type(QStringLiteral("txtTemp"), QStringLiteral("100"));
    EXPECT_FLOAT_EQ(window->State().flashCase.tempF, 212.0F);
    EXPECT_TRUE(window->RecalculationFlag());
}

TEST_F(MainWindowTest, TypedTemperatureCountsWhenAnotherTabIsChosenAtOnce) {
    QLineEdit* temp = Focus(QStringLiteral("txtTemp"));
    temp->selectAll();
    QTest::keyClicks(temp, QStringLiteral("100"));
    // The tab bar takes no focus from a click; only the page change ends the edit.
    window->Tabs()->setCurrentIndex(MainWindow::kPropertiesTab);
    EXPECT_FLOAT_EQ(window->State().flashCase.tempF, 100.0F);
}

TEST(BusyIndicatorTest, ShowsTheWaitPointerUntilStopped) {
    testing::EnsureApplication();
    QWidget parent;
    BusyIndicator busy(&parent);
    busy.Start();
    busy.Start(); // started twice, stopped once: the pointer must still come back
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_FALSE(busy.isHidden());
    busy.Stop();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(busy.isHidden());
}

TEST_F(MainWindowTest, AddAndRemoveDigitsChangeTheFocusedFieldsFormat) {
    window->show();
    QApplication::setActiveWindow(window.get());
    Edit(QStringLiteral("txtTemp"))->setFocus();
    QApplication::processEvents();
    window->AddDigits();
    EXPECT_EQ(window->State().formats[0], QStringLiteral("##,##0.000"));
    EXPECT_EQ(Edit(QStringLiteral("txtTemp"))->text(), QStringLiteral("60.000"));
    window->RemoveDigits();
    window->RemoveDigits();
    window->RemoveDigits();
    EXPECT_EQ(window->State().formats[0], QStringLiteral("##,##0."));
    window->RemoveDigits();
    EXPECT_EQ(window->State().formats[0], QStringLiteral("##,##0."));
}

TEST_F(MainWindowTest, MissingHelpFileSaysThereIsNoHelp) {
    HelpWindow help(window.get(), QStringLiteral("/nonexistent/quorvane-help.html"));
    EXPECT_FALSE(help.ShowTopic(QStringLiteral("contents")));
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("Unable to display Help Contents. There is no "
                                                   "Help associated with this project."));
    HelpWindow present(window.get());
    EXPECT_TRUE(present.ShowTopic(QStringLiteral("composition")));
    present.close();
}

TEST_F(MainWindowTest, GroupsShowTheirHintsInTheStatusBar) {
    window->show();
    QWidget* group = nullptr;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->property("hint").toString() == QStringLiteral("Select an EOS Model")) {
            group = widget;
        }
    }
    ASSERT_NE(group, nullptr);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(group, &enter);
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Select an EOS Model"));
}

TEST_F(MainWindowTest, CalculatorStartsOrSaysThatThereIsNone) {
    const bool installed =
        !QStandardPaths::findExecutable(QStringLiteral("gnome-calculator")).isEmpty() ||
        !QStandardPaths::findExecutable(QStringLiteral("kcalc")).isEmpty() ||
        !QStandardPaths::findExecutable(QStringLiteral("mate-calc")).isEmpty() ||
        !QStandardPaths::findExecutable(QStringLiteral("galculator")).isEmpty() ||
        !QStandardPaths::findExecutable(QStringLiteral("qalculate-gtk")).isEmpty() ||
        !QStandardPaths::findExecutable(QStringLiteral("qalculate-qt")).isEmpty() ||
        !QStandardPaths::findExecutable(QStringLiteral("xcalc")).isEmpty();
    if (installed) {
        GTEST_SKIP() << "a calculator is installed; starting it is left to the desktop";
    }
    window->findChild<QAction*>(QStringLiteral("mnuViewCalculator"))->trigger();
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_TRUE(dialogs.Last()->text.startsWith(
        QStringLiteral("No calculator program was found on this computer.")));
}

TEST_F(MainWindowTest, EnterActsAsTab) {
    QLineEdit* name = Focus(QStringLiteral("txtStreamName"));
    ASSERT_TRUE(name->hasFocus());
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_FALSE(name->hasFocus());
    EXPECT_NE(QApplication::focusWidget(), nullptr);
}

TEST_F(MainWindowTest, ClosingAsksOnlyWhileTheRecalculationFlagIsSet) {
    window->show();
    window->State().recalc = false;
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(dialogs.messages.empty());

    window->show();
    window->SetRecalculationFlag();
    dialogs.answers = {QMessageBox::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("Are you sure you wish to exit?"));
    EXPECT_EQ(dialogs.Last()->title, QStringLiteral("Exit Quorvane"));
    EXPECT_EQ(dialogs.Last()->icon, QMessageBox::Question);
    EXPECT_TRUE(window->close()); // OK this time
}

TEST_F(MainWindowTest, SettingsAreWrittenOnCloseAndReadOnTheNextStart) {
    window->show();
    UnitSet units = SiEngineeringUnits();
    window->SetUnitSet(units);
    window->State().formats[0] = QStringLiteral("##,##0.0");
    window->State().recalc = false;
    ASSERT_TRUE(window->close());
    EXPECT_EQ(SettingsStore::ReadUnits(), units);

    auto next = testing::MakeMainWindow();
    EXPECT_EQ(next->State().units, units);
    EXPECT_EQ(next->State().formats[0], QStringLiteral("##,##0.0"));
    EXPECT_EQ(next->Selectors().UnitName(0), QStringLiteral("°C"));
    EXPECT_EQ(testing::Find<QLineEdit>(next.get(), QStringLiteral("txtTemp"))->text(),
              QStringLiteral("15.6"));
}

// Drives the modal unit options dialog: presses the named controls in order.
void AnswerUnitDialog(QStringList controls) {
    QTimer::singleShot(30, [controls] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || dialog->objectName() != QStringLiteral("frmUnitOptions")) {
            AnswerUnitDialog(controls);
            return;
        }
        for (const QString& name : controls) {
            dialog->findChild<QAbstractButton*>(name)->click();
        }
    });
}

TEST_F(MainWindowTest, UnitPresetsChangeNothingUntilSetAsDefault) {
    window->show();
    QAction* units = window->findChild<QAction*>(QStringLiteral("mnuViewUnits"));
    AnswerUnitDialog({QStringLiteral("optUnits1"), QStringLiteral("cmdClose")});
    units->trigger();
    EXPECT_EQ(window->State().units, UnitSet{});
    EXPECT_EQ(window->Selectors().UnitName(0), QStringLiteral("°F"));

    AnswerUnitDialog(
        {QStringLiteral("optUnits1"), QStringLiteral("cmdSetDefault"), QStringLiteral("cmdClose")});
    units->trigger();
    EXPECT_EQ(window->State().units, SiEngineeringUnits());
    EXPECT_EQ(window->Selectors().UnitName(0), QStringLiteral("°C"));
    EXPECT_EQ(window->Selectors().UnitName(4), QStringLiteral("kg/kgmol")); // follows m³/kg
    EXPECT_EQ(window->Selectors().UnitName(14), QStringLiteral("kg/m-s"));  // SI viscosity
    // "Save as Default" writes the current set.
    AnswerUnitDialog({QStringLiteral("optUnits0"), QStringLiteral("cmdSaveDefault"),
                      QStringLiteral("cmdClose")});
    units->trigger();
    EXPECT_EQ(SettingsStore::ReadUnits(), SiEngineeringUnits());
}

// Every command is in a menu with a mnemonic of its own (Alt+letter), the usual ones also on
// their usual keys, and every toolbar button has a menu command to stand for it.
TEST_F(MainWindowTest, EveryCommandIsReachableFromTheKeyboard) {
    auto keys = [this](const char* name) {
        return window->findChild<QAction*>(QString::fromLatin1(name))->shortcuts();
    };
    EXPECT_EQ(keys("mnuFileOpen").value(0), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(keys("mnuFileSave").value(0), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(keys("mnuFilePrint").value(0), QKeySequence(QKeySequence::Print));
    EXPECT_EQ(keys("mnuFileExit").value(0), QKeySequence(QKeySequence::Quit));
    EXPECT_EQ(keys("mnuHelpContents").value(0), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(keys("mnuViewCalculate"),
              (QList<QKeySequence>{QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_R)}));

    auto mnemonic = [](const QString& text) {
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toUpper() : QChar();
    };
    QSet<QString> menuTexts;
    QSet<QChar> menuKeys;
    for (QAction* menu : window->menuBar()->actions()) {
        EXPECT_FALSE(mnemonic(menu->text()).isNull()) << menu->text().toStdString();
        EXPECT_FALSE(menuKeys.contains(mnemonic(menu->text()))) << menu->text().toStdString();
        menuKeys.insert(mnemonic(menu->text()));
        QSet<QChar> itemKeys;
        for (QAction* item : menu->menu()->actions()) {
            if (item->isSeparator() || !item->isVisible()) {
                continue; // unused recent-file slots are hidden
            }
            const QChar key = mnemonic(item->text());
            EXPECT_FALSE(key.isNull()) << item->text().toStdString();
            EXPECT_FALSE(itemKeys.contains(key))
                << "two items on Alt+" << QString(key).toStdString();
            itemKeys.insert(key);
            menuTexts.insert(item->text().remove(QLatin1Char('&')).remove(QStringLiteral("...")));
        }
    }
    for (QAction* button : window->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions()) {
        const QString command = button->toolTip().section(QStringLiteral(" ("), 0, 0);
        EXPECT_TRUE(menuTexts.contains(command)) << button->objectName().toStdString();
    }
}

// Titles are not cut short: the BIP entry box and a message box with a short text are as wide
// as their titles need.
TEST_F(MainWindowTest, DialogsAreWideEnoughForTheirTitles) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    auto titleWidth = [&](const QString& title) {
        return QFontMetrics(bold).horizontalAdvance(title) + 100;
    };
    const QString entryTitle = QStringLiteral("Quorvane:  SRK BIP Entry");
    const auto entry =
        MakeTextDialog(window.get(), entryTitle, QStringLiteral("Enter the compound name..."));
    entry->show();
    EXPECT_GE(entry->width(), titleWidth(entryTitle));
    entry->hide();

    const MessageRequest request{QStringLiteral("Error:  Quorvane: a title longer than its text"),
                                 QStringLiteral("x"), QMessageBox::Critical, QMessageBox::Ok,
                                 QMessageBox::Ok};
    const auto box = MakeMessageBox(window.get(), request);
    box->show();
    EXPECT_GE(box->width(), titleWidth(request.title));
    box->hide();
}

} // namespace
} // namespace quorvane
