#pragma once

// The summary tab: the report grid (grdGrid element 3) with its print, PDF and copy commands.
// The grid is rebuilt from what the other tabs show; it stays empty while the recalculation
// flag is set, so it never shows numbers of an earlier flash.

#include "app/main_state.h"
#include "app/report/report_printer.h"
#include "app/report/summary_report.h"

#include <QWidget>

class QTableWidget;

namespace quorvane {

class FlashSetupTab;
class ResultsTab;
class UnitSelectors;

class ReportTab : public QWidget {
    Q_OBJECT
public:
    ReportTab(const MainState& state, const FlashSetupTab& setup, const ResultsTab& results,
              const UnitSelectors& selectors, QWidget* parent = nullptr);

    // Rebuilds the grid from the current displays (empty while the flag is set).
    void Rebuild();
    const ReportRows& Rows() const { return m_rows; }
    QTableWidget* Grid() const { return m_grid; }

    void Print();
    void PageSetup();
    void ExportPdf();
    // The whole report on the clipboard as tab-separated text.
    void CopyReport();
    // The flash, the equation of state and the conditions with their units, as tab-separated
    // lines (they head a copy of the results grid).
    QStringList ConditionLines() const;

private:
    ReportInputs Inputs() const;
    // False (after saying why) when there is nothing to print.
    bool HasReport();

    const MainState& m_state;
    const FlashSetupTab& m_setup;
    const ResultsTab& m_results;
    const UnitSelectors& m_selectors;
    ReportPrinter m_printer;
    ReportRows m_rows;
    QTableWidget* m_grid = nullptr;
};

} // namespace quorvane
