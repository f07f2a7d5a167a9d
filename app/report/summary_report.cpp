#include "app/report/summary_report.h"

#include "app/display_text.h"

#include <optional>

namespace quorvane {

namespace {

// A property row: its label, which stream's value each of the columns 1 to 3 shows, and the
// unit box of column 4 (-1: none).
struct ReportProperty {
    const char* label;
    Quantity quantity;
    std::array<std::optional<Stream>, 3> columns;
    int unitBox;
};

constexpr std::optional<Stream> kNone = std::nullopt;
constexpr std::array<std::optional<Stream>, 3> kAllStreams = {Stream::Feed, Stream::Vapour,
                                                              Stream::Liquid};
constexpr std::array<std::optional<Stream>, 3> kPhases = {kNone, Stream::Vapour, Stream::Liquid};

// After the phase fractions, in report order. The heat of vaporization, a value of the liquid,
// stands in the first value column.
const std::array<ReportProperty, 16> kProperties = {{
    {"Molecular Weight:", Quantity::MolecularWeight, kAllStreams, 4},
    {"Critical Volume:", Quantity::PseudoCriticalVolume, kAllStreams, 5},
    {"Critical Temperature:", Quantity::PseudoCriticalTemperature, kAllStreams, 6},
    {"Critical Pressure:", Quantity::PseudoCriticalPressure, kAllStreams, 7},
    {"Compressibility Factor:", Quantity::Compressibility, kAllStreams, -1},
    {"Density:", Quantity::MolarDensity, kAllStreams, 9},
    {"Heat of Vaporization:", Quantity::HeatOfVaporization, {Stream::Liquid, kNone, kNone}, 10},
    {"Heat Capacity:", Quantity::HeatCapacity, kAllStreams, 11},
    {"Enthalpy:", Quantity::Enthalpy, kAllStreams, 12},
    {"Entropy:", Quantity::Entropy, kAllStreams, 13},
    {"Viscosity:", Quantity::Viscosity, kPhases, 14},
    {"Thermal Conductivity:", Quantity::ThermalConductivity, kPhases, 15},
    {"Cp/Cv:", Quantity::HeatCapacityRatio, kAllStreams, -1},
    {"J-T Coefficient:", Quantity::JouleThomson, kPhases, 16},
    {"Speed of Sound:", Quantity::SoundSpeed, kPhases, 17},
    {"Surface Tension:", Quantity::SurfaceTension, {kNone, kNone, Stream::Liquid}, 18},
}};

QStringList Row(std::initializer_list<QString> cells) {
    QStringList row(cells);
    while (row.size() < kReportColumns) {
        row << QString();
    }
    return row;
}

QString Fraction(const std::vector<float>& values, int i) {
    const auto at = static_cast<std::size_t>(i);
    return at < values.size() ? FormatGeneralText(values[at]) : QString();
}

} // namespace

ReportRows BuildReport(const ReportInputs& in, bool recalculationFlag) {
    ReportRows rows;
    if (recalculationFlag || in.names.isEmpty()) {
        return rows;
    }
    const QString blank = QStringLiteral(" ");
    rows << Row({QStringLiteral("Quorvane: ") + in.flashCode + QStringLiteral(" Flash"),
                 {},
                 {},
                 {},
                 QStringLiteral("EOS: ") + in.eosText});
    rows << Row({});
    rows << Row({QStringLiteral("Initial Conditions")});
    rows << Row({QStringLiteral("Temperature:"), in.temperatureText, in.temperatureUnit});
    rows << Row({QStringLiteral("Pressure:"), in.pressureText, in.pressureUnit});
    rows << Row({QStringLiteral("Units:"), in.fractionUnit});
    rows << Row({});
    rows << Row({QStringLiteral("Component"), QStringLiteral("Feed"), QStringLiteral("Vapor"),
                 QStringLiteral("Liquid"), QStringLiteral("K-Value")});
    // Exact comparisons: an absent phase has exactly 0 or 1 as its complement's fraction.
    const double v = in.vapourFraction;
    for (int i = 0; i < in.names.size(); ++i) {
        rows << Row({in.names[i], Fraction(in.feed, i), v == 0.0 ? blank : Fraction(in.vapour, i),
                     v == 1.0 ? blank : Fraction(in.liquid, i),
                     (v != 0.0 && v != 1.0) ? Fraction(in.k, i) : blank});
    }
    rows << Row({});
    rows << Row({QStringLiteral("Flash Results"), QStringLiteral("Feed"), QStringLiteral("Vapor"),
                 QStringLiteral("Liquid")});
    rows << Row({QStringLiteral("Phase Fraction:"), FormatGeneralText(1.0F),
                 in.phaseFractionTexts[0], in.phaseFractionTexts[1], in.unitName(3)});
    for (const ReportProperty& property : kProperties) {
        QStringList row = Row({QString::fromLatin1(property.label)});
        for (std::size_t c = 0; c < property.columns.size(); ++c) {
            if (property.columns[c]) {
                row[static_cast<qsizetype>(c) + 1] =
                    in.valueText(property.quantity, *property.columns[c]);
            }
        }
        if (property.unitBox >= 0) {
            row[4] = in.unitName(property.unitBox);
        }
        rows << row;
    }
    return rows;
}

QString ReportText(const ReportRows& rows) {
    QStringList lines;
    for (QStringList row : rows) {
        while (!row.isEmpty() && row.back().trimmed().isEmpty()) {
            row.removeLast();
        }
        for (QString& cell : row) {
            cell = cell.trimmed();
        }
        lines << row.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace quorvane
