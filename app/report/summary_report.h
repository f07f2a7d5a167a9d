#pragma once

// The summary report: a grid of five columns holding the texts the main window shows, in a
// fixed pattern. Row 0 names the flash and the equation of state, rows 2 to 5 the initial
// conditions, row 7 heads the composition table (one row per component from row 8), row 9 + n
// heads the flash results and the property rows follow from row 10 + n.

#include "engine/properties/property_results.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace quorvane {

inline constexpr int kReportColumns = 5;

// Rows of cells; every row has kReportColumns cells (empty where nothing is written).
using ReportRows = QList<QStringList>;

struct ReportInputs {
    QString flashCode;       // "TP", "BUBP", ...
    QString eosText;         // the equation-of-state list text
    QString temperatureText; // field 0 and unit box 0
    QString temperatureUnit;
    QString pressureText; // field 1 and unit box 1
    QString pressureUnit;
    QString fractionUnit; // unit box 3: the basis of the fractions below
    QStringList names;    // components in mixture order
    std::vector<float> feed, vapour, liquid, k;
    double vapourFraction = 0.0;
    std::array<QString, 2> phaseFractionTexts; // vapour and liquid, as displayed
    // The displayed text of a property of a stream; empty when it has no value.
    std::function<QString(Quantity, Stream)> valueText;
    // The displayed name of a unit box.
    std::function<QString(int selector)> unitName;
};

// The report grid; empty while the recalculation flag is set or the mixture is empty.
ReportRows BuildReport(const ReportInputs& inputs, bool recalculationFlag);

// The grid as tab-separated lines, one per row, without trailing empty cells: the form
// spreadsheets paste cell by cell.
QString ReportText(const ReportRows& rows);

} // namespace quorvane
