#include "app/results_tab.h"

#include "app/display_text.h"
#include "app/unit_selectors.h"
#include "common/precision.h"
#include "units/format_table.h"
#include "units/unit_catalogue.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

namespace quorvane {

// One property row: the quantity, its unit selector (-1: no unit), caption and the cells of
// feed, vapour and liquid (-1 where the quantity has no value for that stream) with their
// format slots.
struct PropertyRow {
    Quantity quantity;
    int selector;
    const char* caption;
    std::array<int, 3> cells;
    std::array<int, 3> formatSlot;
};

namespace {

constexpr int kDensityCells = 43;

// The notes of a missing value, one a line.
QString NotesText(const std::vector<std::string>& notes) {
    QStringList lines;
    for (const std::string& note : notes) {
        lines << QString::fromStdString(note);
    }
    return lines.join(QLatin1Char('\n'));
}

// Property rows below the phase fractions, in display order.
const std::array<PropertyRow, 16>& PropertyRows() {
    using Q = Quantity;
    static const std::array<PropertyRow, 16> rows = {{
        {Q::MolecularWeight, 4, "Molecular weight", {6, 7, 8}, {6, 7, 8}},
        {Q::PseudoCriticalVolume, 5, "Pseudo-critical volume", {9, 10, 11}, {9, 10, 11}},
        {Q::PseudoCriticalTemperature,
         6,
         "Pseudo-critical temperature",
         {12, 13, 14},
         {12, 13, 14}},
        {Q::PseudoCriticalPressure, 7, "Pseudo-critical pressure", {15, 16, 17}, {15, 16, 17}},
        {Q::Compressibility, -1, "Compressibility factor Z", {18, 19, 20}, {18, 19, 20}},
        {Q::MolarDensity,
         9,
         "Density",
         {kDensityCells, kDensityCells + 1, kDensityCells + 2},
         {18, 19, 20}},
        {Q::HeatOfVaporization, 10, "Heat of vaporization", {-1, -1, 21}, {-1, -1, 21}},
        {Q::HeatCapacity, 11, "Heat capacity Cp", {22, 23, 24}, {22, 23, 24}},
        {Q::HeatCapacityRatio, -1, "Cp/Cv", {40, 41, 42}, {40, 41, 42}},
        {Q::Enthalpy, 12, "Enthalpy", {25, 26, 27}, {25, 26, 27}},
        {Q::Entropy, 13, "Entropy", {28, 29, 30}, {28, 29, 30}},
        {Q::Viscosity, 14, "Viscosity", {-1, 31, 32}, {-1, 31, 32}},
        {Q::ThermalConductivity, 15, "Thermal conductivity", {-1, 33, 34}, {-1, 33, 34}},
        {Q::JouleThomson, 16, "Joule-Thomson coefficient", {-1, 35, 36}, {-1, 35, 36}},
        {Q::SoundSpeed, 17, "Speed of sound", {-1, 37, 38}, {-1, 37, 38}},
        {Q::SurfaceTension, 18, "Surface tension", {-1, -1, 39}, {-1, -1, 39}},
    }};
    return rows;
}

} // namespace

ResultsTab::ResultsTab(MainState& state, UnitSelectors& selectors, QWidget* parent)
    : QWidget(parent), m_state(state), m_selectors(selectors) {
    BuildLayout();
    ShowResults();
}

QLineEdit* ResultsTab::MakeCell(int index, int slot) {
    auto* cell = new QLineEdit(this);
    cell->setObjectName(QStringLiteral("txtResult%1").arg(index));
    cell->setReadOnly(true);
    cell->setAlignment(Qt::AlignRight);
    // Wide enough for "-123,456.7"; the width left over goes to the composition grid.
    cell->setFixedWidth(84);
    cell->setProperty("slot", slot);
    m_cells[static_cast<std::size_t>(index)] = cell;
    return cell;
}

void ResultsTab::BuildLayout() {
    auto* outer = new QVBoxLayout(this);

    m_banner = new QLabel(this);
    m_banner->setObjectName(QStringLiteral("lblFlashMessage"));
    m_banner->setWordWrap(true);
    m_banner->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_banner->hide();
    outer->addWidget(m_banner);

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("lblCompositionHeading"));
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    outer->addWidget(m_heading);

    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);

    // Left: the composition grid.
    auto* left = new QVBoxLayout;
    m_gridPanel = new QGroupBox(QStringLiteral("Flashed Stream Compositions and Splits"), this);
    m_gridPanel->setCheckable(true);
    m_gridPanel->setChecked(true);
    auto* panelLayout = new QVBoxLayout(m_gridPanel);
    m_grid = new QTableWidget(0, 5, m_gridPanel);
    m_grid->setObjectName(QStringLiteral("grdResults"));
    m_grid->setToolTip(QStringLiteral("Flashed vapor/liquid fraction component distribution"));
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("Component"), QStringLiteral("Feed"), QStringLiteral("Vapor Fraction"),
         QStringLiteral("Liquid Fraction"), QStringLiteral("K-Value")});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Names always show whole; a narrow window scrolls the grid instead.
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    panelLayout->addWidget(m_grid);
    connect(m_gridPanel, &QGroupBox::toggled, m_grid, &QWidget::setVisible);
    left->addWidget(m_gridPanel, 1);
    columns->addLayout(left, 1);

    // Right: the phase fractions and the property rows, under one Feed/Vapor/Liquid heading
    // (one column of cells keeps the tab within a 1024-pixel screen).
    auto* properties = new QGroupBox(QStringLiteral("Stream Properties"), this);
    auto* grid = new QGridLayout(properties);
    grid->setVerticalSpacing(2); // nineteen rows within the height of a 700-pixel screen
    grid->addWidget(new QLabel(QStringLiteral("Feed"), properties), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Vapor"), properties), 0, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Liquid"), properties), 0, 3, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Phase fraction"), properties), 1, 0);
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(MakeCell(3 + i, 3 + i), 1, 1 + i);
    }
    grid->addWidget(m_selectors.At(3), 1, 4);
    int line = 2;
    for (const PropertyRow& row : PropertyRows()) {
        grid->addWidget(new QLabel(QString::fromLatin1(row.caption), properties), line, 0);
        for (int s = 0; s < 3; ++s) {
            if (row.cells[s] >= 0) {
                grid->addWidget(MakeCell(row.cells[s], row.formatSlot[s]), line, 1 + s);
            }
        }
        if (row.selector >= 0) {
            grid->addWidget(m_selectors.At(row.selector), line, 4);
        }
        ++line;
    }
    auto* copyAll = new QPushButton(QStringLiteral("Copy &All"), properties);
    copyAll->setObjectName(QStringLiteral("cmdCopyProperties"));
    copyAll->setToolTip(QStringLiteral("Copy every property as tab-separated text for a "
                                       "spreadsheet"));
    grid->addWidget(copyAll, line, 3, 1, 2);
    grid->setRowStretch(line + 1, 1);
    connect(copyAll, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(PropertiesText()); });
    columns->addWidget(properties, 0);
}

void ResultsTab::ShowBanner(BannerKind kind, const QString& text) {
    // Border and background by kind: blue for a note, amber for a warning, red for a failure.
    static const char* const kStyles[] = {
        "background: #e8f0fb; border: 1px solid #7a9cc6; color: #102a4c;",
        "background: #fff4d6; border: 1px solid #d19a00; color: #4a3500;",
        "background: #fde4e1; border: 1px solid #c0392b; color: #5c0d05;",
    };
    m_banner->setStyleSheet(QStringLiteral("QLabel { %1 padding: 6px; border-radius: 3px; }")
                                .arg(QLatin1String(kStyles[static_cast<int>(kind)])));
    m_banner->setText(text);
    m_banner->show();
}

void ResultsTab::HideBanner() {
    m_banner->clear();
    m_banner->hide();
}

QString ResultsTab::BannerText() const {
    return m_banner->isHidden() ? QString() : m_banner->text();
}

void ResultsTab::SetValuesStale(bool stale) {
    m_stale = stale;
    // Only the text colour is set, so the cells stay selectable and copyable.
    QPalette grey;
    if (stale) {
        grey.setColor(QPalette::Text, palette().color(QPalette::Disabled, QPalette::Text));
    }
    for (QLineEdit* cell : m_cells) {
        if (cell != nullptr) { // indices 0 to 2 have no cell
            cell->setPalette(grey);
        }
    }
    m_grid->setPalette(grey);
}

bool ResultsTab::HaveResults() const {
    return m_state.haveResults && !m_state.mixture.Empty();
}

double ResultsTab::MolecularWeight(int stream) const {
    // The property driver's value; a mixture without property results falls back to the
    // molar average of the stream's composition.
    const PropertyResults& results = m_state.properties;
    if (results.calculated) {
        return results.Value(Quantity::MolecularWeight, static_cast<Stream>(stream))
            .value_or(std::numeric_limits<double>::quiet_NaN());
    }
    const std::span<const float> fractions =
        stream == 0 ? m_state.mixture.FeedMoleFractions()
                    : (stream == 1 ? m_state.mixture.VaporMoleFractions()
                                   : m_state.mixture.LiquidMoleFractions());
    const auto mw = m_state.mixture.MolecularWeights();
    double sum = 0.0;
    for (std::size_t i = 0; i < std::min(fractions.size(), mw.size()); ++i) {
        sum += static_cast<double>(fractions[i]) * mw[i];
    }
    return sum;
}

void ResultsTab::SetCell(int index, double value, bool present) {
    ShowCellText(index, present && std::isfinite(value) ? FormatPattern(value, SlotPattern(index))
                                                        : QStringLiteral(" "));
}

void ResultsTab::SetCell(int index, float value, bool present) {
    ShowCellText(index, present && std::isfinite(value) ? FormatPattern(value, SlotPattern(index))
                                                        : QStringLiteral(" "));
}

const QString& ResultsTab::SlotPattern(int index) const {
    const int slot = Cell(index)->property("slot").toInt();
    return m_state.formats[static_cast<std::size_t>(slot)];
}

void ResultsTab::ShowCellText(int index, const QString& text) {
    QLineEdit* cell = Cell(index);
    cell->setText(text);
    cell->setCursorPosition(0);
}

QString ResultsTab::PropertiesText() const {
    QStringList lines = {QStringLiteral("Property\tFeed\tVapor\tLiquid\tUnits")};
    auto cellText = [this](int index) {
        return index < 0 ? QString() : Cell(index)->text().trimmed();
    };
    lines << QStringLiteral("Phase fraction\t%1\t%2\t%3\t%4")
                 .arg(cellText(3), cellText(4), cellText(5), m_selectors.UnitName(3));
    for (const PropertyRow& row : PropertyRows()) {
        QStringList cells = {QString::fromLatin1(row.caption)};
        for (int cell : row.cells) {
            cells << cellText(cell);
        }
        cells << (row.selector >= 0 ? m_selectors.UnitName(row.selector) : QString());
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString ResultsTab::CompositionHeading() const {
    return m_heading->text();
}

void ResultsTab::ShowResults() {
    ShowPhaseFractions();
    ShowCompositions();
    for (const PropertyRow& row : PropertyRows()) {
        ShowPropertyRow(row);
    }
}

void ResultsTab::RedisplaySelector(int index) {
    if (index == 3) {
        ShowPhaseFractions();
        ShowCompositions();
        return;
    }
    for (const PropertyRow& row : PropertyRows()) {
        if (row.selector == index) {
            ShowPropertyRow(row);
        }
    }
}

void ResultsTab::ShowPhaseFractions() {
    const bool mass = m_selectors.Unit(3) == 1;
    m_heading->setText(mass ? QStringLiteral("Compositions and Splits:  Mass Fractions")
                            : QStringLiteral("Compositions and Splits:  Mole Fractions"));
    const double v = m_state.flashCase.vapourFraction;
    double vapour = v;
    double liquid = 1.0 - v;
    if (mass && HaveResults()) {
        const double mwFeed = MolecularWeight(0);
        const double mwVapour = MolecularWeight(1);
        const double mwLiquid = MolecularWeight(2);
        vapour = mwFeed > 0.0 ? v * mwVapour / mwFeed : NAN;
        liquid = mwFeed > 0.0 ? (1.0 - v) * mwLiquid / mwFeed : NAN;
    }
    SetCell(3, 1.0, HaveResults());
    SetCell(4, vapour, HaveResults());
    SetCell(5, liquid, HaveResults());
}

void ResultsTab::ShowCompositions() {
    const bool mass = m_selectors.Unit(3) == 1;
    const int n = HaveResults() ? m_state.mixture.Count() : 0;
    const auto mw = m_state.mixture.MolecularWeights();
    auto basis = [&](std::span<const float> x) {
        return mass ? MoleToMassFractions(x, mw) : std::vector<float>(x.begin(), x.end());
    };
    const auto feed = basis(m_state.mixture.FeedMoleFractions());
    const auto vapour = basis(m_state.mixture.VaporMoleFractions());
    const auto liquid = basis(m_state.mixture.LiquidMoleFractions());
    const auto k = m_state.mixture.KValues();
    const double v = m_state.flashCase.vapourFraction;

    m_grid->clearContents();
    m_grid->setRowCount(n);
    auto put = [this](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        if (column > 0) {
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        m_grid->setItem(row, column, item);
    };
    const QString blank = QStringLiteral(" ");
    for (int i = 0; i < n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        put(i, 0, ToQString(m_state.mixture.Name(i)));
        put(i, 1, FormatPattern(feed[at], kFractionColumnFormat));
        put(i, 2, v == 0.0 ? blank : FormatPattern(vapour[at], kFractionColumnFormat));
        put(i, 3, v == 1.0 ? blank : FormatPattern(liquid[at], kFractionColumnFormat));
        put(i, 4, (v > 0.0 && v < 1.0) ? FormatPattern(k[at], kKValueColumnFormat) : blank);
    }
    m_grid->resizeColumnsToContents();
}

void ResultsTab::ShowPropertyRow(const PropertyRow& row) {
    const PropertyResults& results = m_state.properties;
    const bool shown = HaveResults() && results.calculated;
    for (int s = 0; s < 3; ++s) {
        if (row.cells[s] < 0) {
            continue;
        }
        const auto stream = static_cast<Stream>(s);
        const std::optional<double> value =
            shown ? results.Value(row.quantity, stream) : std::nullopt;
        if (!value) {
            // A value this run could not compute is blank; its tooltip says why, where known.
            Cell(row.cells[s])
                ->setToolTip(shown && results.IsPresent(stream)
                                 ? NotesText(results.NotesOf(row.quantity, stream))
                                 : QString());
            SetCell(row.cells[s], NAN, false);
            continue;
        }
        Cell(row.cells[s])->setToolTip(QString());
        float display = ToSingle(*value);
        if (row.selector >= 0) {
            // Mass-based units go through the molecular weight of the same stream.
            const auto tag = MainWindowSelector(row.selector).tag;
            if (tag) {
                display =
                    ToDisplay(*tag, *value, m_selectors.Unit(row.selector), MolecularWeight(s));
            }
        }
        SetCell(row.cells[s], display, true);
    }
}

QString ResultsTab::ValueText(Quantity quantity, Stream stream) const {
    for (const PropertyRow& row : PropertyRows()) {
        const int cell = row.cells[static_cast<std::size_t>(stream)];
        if (row.quantity == quantity && cell >= 0) {
            return Cell(cell)->text();
        }
    }
    return {};
}

} // namespace quorvane
