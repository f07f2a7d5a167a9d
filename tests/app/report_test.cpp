// The summary report, its printing and the clipboard commands, through the window.

#include "app/composition_tab.h"
#include "app/display_text.h"
#include "app/edit_commands.h"
#include "app/report/report_printer.h"
#include "app/report/report_tab.h"
#include "app/results_tab.h"
#include "app/unit_selectors.h"
#include "tests/app/gui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = testing::MakeMainWindow();
        ASSERT_TRUE(window->DatabaseError().isEmpty());
    }
    void TearDown() override { ReportPrinter::SetPrintDialogAnswerer({}); }

    MainState& State() { return window->State(); }
    const ReportRows& Rows() { return window->Report()->Rows(); }
    QString Cell(int row, int column) { return Rows().at(row).at(column); }

    // The case of EnterCase, flashed, and the report looked at.
    void Flash(const QStringList& names) {
        testing::EnterCase(*window, names);
        window->Tabs()->setCurrentIndex(MainWindow::kPropertiesTab);
        ASSERT_TRUE(State().haveResults);
        window->Tabs()->setCurrentIndex(MainWindow::kSummaryTab);
    }
    int RowOf(const QString& label) {
        for (int r = 0; r < Rows().size(); ++r) {
            if (Rows()[r][0] == label) {
                return r;
            }
        }
        return -1;
    }
    QByteArray FileText(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    testing::TemporarySettings settings;
    testing::DialogRecorder dialogs;
    std::unique_ptr<MainWindow> window;
    QTemporaryDir folder;
};

TEST_F(ReportTest, TheGridFollowsTheFlashAndIsEmptyAfterAnEdit) {
    Flash({QStringLiteral("METHANE"), QStringLiteral("PROPANE"), QStringLiteral("n-DECANE")});
    const int n = 3;
    ASSERT_EQ(Rows().size(), 10 + n + 17);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("Quorvane: TP Flash"));
    EXPECT_EQ(Cell(0, 4), QStringLiteral("EOS: PR"));
    EXPECT_EQ(Cell(3, 0), QStringLiteral("Temperature:"));
    EXPECT_EQ(Cell(3, 1), QStringLiteral("100.00"));
    EXPECT_EQ(Cell(3, 2), window->Selectors().UnitName(0));
    EXPECT_EQ(Cell(5, 1), QStringLiteral("Mole Fraction"));
    EXPECT_EQ(Rows()[7], (QStringList{"Component", "Feed", "Vapor", "Liquid", "K-Value"}));
    // General single-precision form: a leading blank and no leading zero.
    EXPECT_EQ(Cell(8, 0), QStringLiteral("METHANE"));
    EXPECT_EQ(Cell(8, 1), QStringLiteral(" .3333333"));
    const float k = State().mixture.KValues()[0];
    EXPECT_EQ(Cell(8, 4), FormatGeneralText(k));
    EXPECT_EQ(Cell(9 + n, 0), QStringLiteral("Flash Results"));
    EXPECT_EQ(Cell(10 + n, 0), QStringLiteral("Phase Fraction:"));
    EXPECT_EQ(Cell(10 + n, 1), QStringLiteral(" 1"));

    // Property rows copy the results tab; the heat of vaporization stands in the first column.
    const int hov = RowOf(QStringLiteral("Heat of Vaporization:"));
    EXPECT_EQ(Cell(hov, 1),
              window->Results()->ValueText(Quantity::HeatOfVaporization, Stream::Liquid).trimmed());
    EXPECT_TRUE(Cell(hov, 2).isEmpty() && Cell(hov, 3).isEmpty());
    const int viscosity = RowOf(QStringLiteral("Viscosity:"));
    EXPECT_TRUE(Cell(viscosity, 1).isEmpty());
    EXPECT_FALSE(Cell(viscosity, 2).isEmpty());
    EXPECT_EQ(Cell(viscosity, 4), window->Selectors().UnitName(14));

    // Fractions follow the basis the units row names.
    window->Selectors().At(3)->setCurrentIndex(1);
    window->Report()->Rebuild();
    EXPECT_EQ(Cell(5, 1), QStringLiteral("Mass Fraction"));
    const auto mass = MoleToMassFractions(State().mixture.FeedMoleFractions(),
                                          State().mixture.MolecularWeights());
    EXPECT_EQ(Cell(8, 1), FormatGeneralText(mass[0]));

    // A value this run did not compute is blank, never an earlier number.
    State().properties.viscosity[0] = NAN;
    window->Report()->Rebuild();
    EXPECT_TRUE(Cell(viscosity, 2).isEmpty());
    EXPECT_FALSE(Cell(viscosity, 3).isEmpty());

    // Any edit empties the report until the next flash.
    window->SetRecalculationFlag();
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(window->Report()->Grid()->rowCount(), 0);
}

TEST_F(ReportTest, OneVapourComponentLeavesLiquidAndKBlank) {
    Flash({QStringLiteral("METHANE")});
    ASSERT_EQ(State().flashCase.vapourFraction, 1.0);
    EXPECT_EQ(Cell(8, 3), QStringLiteral(" "));
    EXPECT_EQ(Cell(8, 4), QStringLiteral(" "));
    EXPECT_NE(Cell(8, 2), QStringLiteral(" "));
    EXPECT_EQ(Cell(10, 0), QStringLiteral("Flash Results"));
    EXPECT_EQ(Cell(11, 0), QStringLiteral("Phase Fraction:"));
}

TEST_F(ReportTest, PrintsAndExportsPdfOnA4AndLetter) {
    // The printer dialog is answered with a PDF file as the printer.
    const auto printTo = [this](const QString& file) {
        ReportPrinter::SetPrintDialogAnswerer([file](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            return true;
        });
        window->findChild<QAction*>(QStringLiteral("mnuFilePrint"))->trigger();
    };
    // Nothing to print yet: the user is told, no file is made.
    const QString early = folder.filePath(QStringLiteral("early.pdf"));
    printTo(early);
    EXPECT_FALSE(QFile::exists(early));
    ASSERT_NE(dialogs.Last(), nullptr);

    Flash({QStringLiteral("METHANE"), QStringLiteral("PROPANE"), QStringLiteral("n-DECANE")});
    const QString printed = folder.filePath(QStringLiteral("printed.pdf"));
    printTo(printed);
    const QByteArray pdf = FileText(printed);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    if (const QString shots = qEnvironmentVariable("QUORVANE_SCREENSHOT_DIR"); !shots.isEmpty()) {
        QDir().mkpath(shots); // kept to be rendered and looked at
        QFile::remove(QDir(shots).filePath(QStringLiteral("report.pdf")));
        QFile::copy(printed, QDir(shots).filePath(QStringLiteral("report.pdf")));
    }
    EXPECT_EQ(ReportDocumentName(QStringLiteral("Test gas")),
              QStringLiteral("Test gas (Quorvane, https://quorvane.example)"));

    // Export: the page size chosen in page setup; the file name gets its extension.
    const std::pair<QPageSize::PageSizeId, const char*> sizes[] = {{QPageSize::A4, "0 0 595"},
                                                                   {QPageSize::Letter, "0 0 612"}};
    for (const auto& entry : sizes) {
        const QPageSize::PageSizeId size = entry.first;
        const char* mediaBox = entry.second;
        ReportPrinter::SetPageSetupAnswerer([size](QPrinter& setup) {
            setup.setPageSize(QPageSize(size));
            return true;
        });
        window->findChild<QAction*>(QStringLiteral("mnuFilePrintSetup"))->trigger();
        const QString name = folder.filePath(QStringLiteral("export%1").arg(size));
        dialogs.files = {name};
        window->findChild<QAction*>(QStringLiteral("mnuFileExportPdf"))->trigger();
        const QByteArray exported = FileText(name + QStringLiteral(".pdf"));
        EXPECT_TRUE(exported.startsWith("%PDF-"));
        EXPECT_TRUE(exported.contains(mediaBox)) << mediaBox;
    }
    ReportPrinter::SetPageSetupAnswerer({});
}

TEST_F(ReportTest, CopyAndPasteAreTabSeparated) {
    Flash({QStringLiteral("METHANE"), QStringLiteral("PROPANE"), QStringLiteral("n-DECANE")});
    window->Report()->CopyReport();
    const QStringList report = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    EXPECT_EQ(report[0], QStringLiteral("Quorvane: TP Flash\t\t\t\tEOS: PR"));
    EXPECT_EQ(report[3],
              QStringLiteral("Temperature:\t100.00\t") + window->Selectors().UnitName(0));

    // The whole results grid: the conditions, the heading, the column headings, the rows.
    QTableWidget* grid = window->Results()->CompositionGrid();
    grid->clearSelection();
    EXPECT_TRUE(RunEditCommand(grid, EditVerb::Copy).isEmpty());
    const QStringList results = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    EXPECT_EQ(results[0], QStringLiteral("Quorvane: TP Flash\tEOS: PR"));
    EXPECT_EQ(results[5],
              QStringLiteral("Component\tFeed\tVapor Fraction\tLiquid Fraction\tK-Value"));
    EXPECT_TRUE(results[6].startsWith(QStringLiteral("METHANE\t")));

    // Pasting into the composition grid: a column of amounts from the current row down, then
    // rows of name and amount in any order; what cannot be used is reported.
    window->Tabs()->setCurrentIndex(MainWindow::kCompositionTab);
    auto* composition = window->Composition()->findChild<QTableWidget*>(QStringLiteral("grdGrid"));
    composition->setCurrentCell(1, 1);
    QApplication::clipboard()->setText(QStringLiteral("Mole Frac\n0.25\n0.5\n"));
    EXPECT_TRUE(RunEditCommand(composition, EditVerb::Paste).isEmpty());
    EXPECT_EQ(State().mixture.EnteredComposition()[1], 0.25F);
    EXPECT_EQ(State().mixture.EnteredComposition()[2], 0.5F);
    EXPECT_TRUE(window->RecalculationFlag());
    QApplication::clipboard()->setText(
        QStringLiteral("Component\tMole Frac\nn-decane\t0.125\nMETHANE\t0.625\nWATER\t0.1\n"));
    const std::size_t messages = dialogs.messages.size();
    RunEditCommand(composition, EditVerb::Paste);
    EXPECT_EQ(State().mixture.EnteredComposition()[2], 0.125F);
    EXPECT_EQ(State().mixture.EnteredComposition()[0], 0.625F);
    ASSERT_EQ(dialogs.messages.size(), messages + 1); // WATER is not in the mixture
    EXPECT_TRUE(dialogs.Last()->text.startsWith(QStringLiteral("1 pasted cell(s)")));

    QApplication::clipboard()->clear();
    EXPECT_EQ(RunEditCommand(composition, EditVerb::Paste),
              QStringLiteral("Could not paste text."));
}

} // namespace
} // namespace quorvane
