#pragma once

// frmUnitOptions ("Units of Measure"): one selector per unit-set entry, the two presets, and the
// buttons that make the selectors the current unit set and save the current set as default.

#include "units/unit_set.h"

#include <QDialog>
#include <array>

class QComboBox;
class QRadioButton;

namespace quorvane {

class UnitOptionsDialog : public QDialog {
    Q_OBJECT
public:
    UnitOptionsDialog(const UnitSet& current, QWidget* parent = nullptr);

    UnitSet Selected() const;
    void ApplyPreset(const UnitSet& preset);

signals:
    void setAsDefault(const UnitSet& units); // "&Set as Default": the selectors become the set
    void saveAsDefault();                    // "Save as &Default": store the current set

private:
    std::array<QComboBox*, kUnitSetSize> m_cboUnits{};
    QRadioButton* m_optIp = nullptr;
    QRadioButton* m_optSi = nullptr;
};

} // namespace quorvane
