#pragma once

// The properties tab: phase fractions, the composition grid of the flashed streams and every
// property of feed, vapour and liquid, each shown from its internal value in the unit of its
// selector and the number format of its slot. Absent phases show blank cells.

#include "app/main_state.h"

#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace quorvane {

class UnitSelectors;
struct PropertyRow;

class ResultsTab : public QWidget {
    Q_OBJECT
public:
    // Result cells by index: 3..5 phase fractions, 6..8 molecular weights, ..., 40..42 Cp/Cv.
    static constexpr int kCellCount = 46; // 43..45: densities (they share slots 18..20)

    ResultsTab(MainState& state, UnitSelectors& selectors, QWidget* parent = nullptr);

    // Redisplays everything from the stored results.
    void ShowResults();
    // Redisplays the values governed by one unit selector (3 to 18).
    void RedisplaySelector(int index);

    // A message about the last run, shown whole above the results until hidden: why nothing
    // ran (a note), a run that completed with a warning, or a run that failed.
    enum class BannerKind { Note, Warning, Failure };
    void ShowBanner(BannerKind kind, const QString& text);
    void HideBanner();
    QString BannerText() const; // empty while hidden

    // Greys the values on display out while they belong to an earlier run than the inputs.
    void SetValuesStale(bool stale);
    bool ValuesStale() const { return m_stale; }

    QLineEdit* Cell(int index) const { return m_cells.at(static_cast<std::size_t>(index)); }
    QTableWidget* CompositionGrid() const { return m_grid; }
    QString CompositionHeading() const;
    // Every property row as tab-separated text (caption, feed, vapour, liquid, unit).
    QString PropertiesText() const;
    // The displayed text of a quantity of a stream; empty when the tab has no cell for it.
    QString ValueText(Quantity quantity, Stream stream) const;

private:
    void BuildLayout();
    QLineEdit* MakeCell(int index, int slot);
    void ShowPhaseFractions();
    void ShowCompositions();
    void ShowPropertyRow(const PropertyRow& row);
    void SetCell(int index, double value, bool present);
    void SetCell(int index, float value, bool present);
    const QString& SlotPattern(int index) const;
    void ShowCellText(int index, const QString& text);
    bool HaveResults() const;
    double MolecularWeight(int stream) const; // 0 feed, 1 vapour, 2 liquid

    MainState& m_state;
    UnitSelectors& m_selectors;
    QLabel* m_banner = nullptr;
    QLabel* m_heading = nullptr;
    QGroupBox* m_gridPanel = nullptr;
    QTableWidget* m_grid = nullptr;
    std::array<QLineEdit*, kCellCount> m_cells{};
    bool m_stale = false;
};

} // namespace quorvane
