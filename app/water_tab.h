#pragma once

// The water/steam tab: the calculator of water and steam properties by IF97 (Calvix) or IFC-67
// (Dornel over Dadez). The user ticks "Water/Dadez Properties", picks a formulation, ticks two of
// the five given variables, types their values and presses Compute; the calculator completes
// the state, adds heat capacities, transport properties and derived numbers, keeps them in
// MainState::water in internal units and shows them in the units of selectors 19 to 30.

#include "app/main_state.h"
#include "app/program_folder.h"

#include <QWidget>
#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace quorvane {

class SteamLibrary;
class UnitSelectors;

class WaterTab : public QWidget {
    Q_OBJECT
public:
    // The steam libraries are looked for in `libraryFolder`.
    WaterTab(MainState& state, UnitSelectors& selectors,
             const QString& libraryFolder = LibraryFolder(), QWidget* parent = nullptr);
    ~WaterTab() override;

    // cmdCompute: completes the state from the two ticked given variables.
    void Compute();
    // cmdClear, chkSteam and closing a case: empties the calculator and ticks temperature and
    // pressure again.
    void FullReset();
    // Ticks "Water/Dadez Properties" (the menu command does this).
    void ShowCalculator();
    // Shows the calculator as MainState::water holds it (an opened or closed case) and, when it
    // is in use, computes its state again from the stored given variables.
    void ShowStoredState();
    // optSteam: sets that library's units (with a message for each unit it refuses) and
    // recomputes.
    void SelectFormulation(SteamFormulation formulation);

    // Every value again in the current units and formats, and those of one selector (19 to 30).
    void Redisplay();
    void RedisplaySelector(int index);

    // Every value as tab-separated lines (caption, value, unit), for a spreadsheet.
    QString ValuesText() const;

    QLineEdit* Field(int field) const { return m_fields.at(static_cast<std::size_t>(field)); }
    QCheckBox* GivenBox(int given) const {
        return m_givenBoxes.at(static_cast<std::size_t>(given));
    }

signals:
    void formulationChanged();

private:
    void BuildLayout();
    QLineEdit* MakeField(int field, bool given);
    void GivenToggled(int given);
    void ApplyTwoOfFive();
    void GivenEdited(int given);
    void Clear();
    void ShowField(int field);
    void ShowSurfaceTensionState();
    bool Shown(int field) const;
    float DisplayValue(int field, float value) const;
    float InternalValue(int field, double typed) const;

    MainState& m_state;
    UnitSelectors& m_selectors;
    std::unique_ptr<SteamLibrary> m_calvix;
    std::unique_ptr<SteamLibrary> m_dornel;
    QCheckBox* m_chkSteam = nullptr;
    QWidget* m_panel = nullptr;
    QButtonGroup* m_formulation = nullptr;
    std::array<QCheckBox*, kWaterGivenCount> m_givenBoxes{};
    std::array<QLineEdit*, kWaterFieldCount> m_fields{};
};

} // namespace quorvane
