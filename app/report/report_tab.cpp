#include "app/report/report_tab.h"

#include "app/dialog_seam.h"
#include "app/display_text.h"
#include "app/edit_commands.h"
#include "app/flash_setup_tab.h"
#include "app/results_tab.h"
#include "app/unit_selectors.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorvane {

ReportTab::ReportTab(const MainState& state, const FlashSetupTab& setup, const ResultsTab& results,
                     const UnitSelectors& selectors, QWidget* parent)
    : QWidget(parent), m_state(state), m_setup(setup), m_results(results), m_selectors(selectors) {
    auto* layout = new QVBoxLayout(this);
    m_grid = new QTableWidget(0, kReportColumns, this);
    m_grid->setObjectName(QStringLiteral("grdGrid3"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setShowGrid(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->setToolTip(QStringLiteral("Flash summary: select cells and copy them, or print the "
                                      "whole report"));
    layout->addWidget(m_grid, 1);

    auto* buttons = new QHBoxLayout;
    auto* note = new QLabel(this);
    note->setObjectName(QStringLiteral("lblReportNote"));
    buttons->addWidget(note, 1);
    const struct {
        const char* name;
        const char* caption;
        void (ReportTab::*command)();
    } commands[] = {
        {"cmdCopyReport", "C&opy Report", &ReportTab::CopyReport},
        {"cmdExportPdf", "E&xport PDF...", &ReportTab::ExportPdf},
        {"cmdPrintReport", "P&rint...", &ReportTab::Print},
    };
    for (const auto& command : commands) {
        auto* button = new QPushButton(QString::fromLatin1(command.caption), this);
        button->setObjectName(QString::fromLatin1(command.name));
        connect(button, &QPushButton::clicked, this, command.command);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    Rebuild();
}

ReportInputs ReportTab::Inputs() const {
    ReportInputs in;
    const MixtureComponents& mixture = m_state.mixture;
    in.flashCode = ToQString(FlashTypeCode(m_state.flashCase.flashType));
    in.eosText = m_setup.EosText();
    in.temperatureText = m_setup.TemperatureText();
    in.temperatureUnit = m_selectors.UnitName(0);
    in.pressureText = m_setup.PressureText();
    in.pressureUnit = m_selectors.UnitName(1);
    in.fractionUnit = m_selectors.UnitName(3);
    for (int i = 0; i < mixture.Count(); ++i) {
        in.names << ToQString(mixture.Name(i));
    }
    // The fractions in the basis the unit box names, as the results grid shows them.
    const bool mass = m_selectors.Unit(3) == 1;
    const auto basis = [&](std::span<const float> x) {
        return mass ? MoleToMassFractions(x, mixture.MolecularWeights())
                    : std::vector<float>(x.begin(), x.end());
    };
    in.feed = basis(mixture.FeedMoleFractions());
    in.vapour = basis(mixture.VaporMoleFractions());
    in.liquid = basis(mixture.LiquidMoleFractions());
    in.k.assign(mixture.KValues().begin(), mixture.KValues().end());
    in.vapourFraction = m_state.flashCase.vapourFraction;
    in.phaseFractionTexts = {m_results.Cell(4)->text().trimmed(),
                             m_results.Cell(5)->text().trimmed()};
    // A value the last run did not compute is left blank, never shown from an earlier run.
    in.valueText = [this](Quantity quantity, Stream stream) {
        if (!m_state.properties.Value(quantity, stream)) {
            return QString();
        }
        return m_results.ValueText(quantity, stream).trimmed();
    };
    in.unitName = [this](int selector) { return m_selectors.UnitName(selector); };
    return in;
}

void ReportTab::Rebuild() {
    const bool stale = m_state.recalc || !m_state.haveResults || m_state.mixture.Empty();
    m_rows = stale ? ReportRows() : BuildReport(Inputs(), false);
    m_grid->clearContents();
    m_grid->setRowCount(static_cast<int>(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        for (int c = 0; c < kReportColumns; ++c) {
            auto* item = new QTableWidgetItem(m_rows[r][c]);
            if (c > 0 && ParseNumber(m_rows[r][c])) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            m_grid->setItem(r, c, item);
        }
    }
    m_grid->resizeColumnsToContents();
    auto* note = findChild<QLabel*>(QStringLiteral("lblReportNote"));
    note->setText(m_rows.isEmpty() ? QStringLiteral("The report shows the results of a completed "
                                                    "flash; open the Properties tab to run it.")
                                   : QString());
}

QStringList ReportTab::ConditionLines() const {
    const ReportInputs in = Inputs();
    const QChar tab = QLatin1Char('\t');
    return {QStringLiteral("Quorvane: ") + in.flashCode + QStringLiteral(" Flash") + tab +
                QStringLiteral("EOS: ") + in.eosText,
            QStringLiteral("Temperature:") + tab + in.temperatureText.trimmed() + tab +
                in.temperatureUnit,
            QStringLiteral("Pressure:") + tab + in.pressureText.trimmed() + tab + in.pressureUnit,
            QStringLiteral("Units:") + tab + in.fractionUnit};
}

bool ReportTab::HasReport() {
    if (!m_rows.isEmpty()) {
        return true;
    }
    ShowMessage(this, QStringLiteral("Quorvane"),
                QStringLiteral("The summary report is empty: there is no completed flash for the "
                               "current inputs. Open the Properties tab to run the flash, then "
                               "print again."),
                QMessageBox::Information);
    return false;
}

void ReportTab::Print() {
    Rebuild();
    if (HasReport()) {
        m_printer.Print(window(), m_rows, m_setup.StreamName());
    }
}

void ReportTab::PageSetup() {
    m_printer.PageSetup(window());
}

void ReportTab::ExportPdf() {
    Rebuild();
    if (HasReport()) {
        m_printer.ExportPdf(window(), m_rows, m_setup.StreamName());
    }
}

void ReportTab::CopyReport() {
    Rebuild();
    if (!HasReport()) {
        return;
    }
    const QString error = PutOnClipboard(ReportText(m_rows), EditVerb::Copy);
    if (!error.isEmpty()) {
        ShowEditError(window(), error);
    }
}

} // namespace quorvane
