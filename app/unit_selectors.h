#pragma once

// The main window's 31 unit selectors (cboUnits 0 to 30). Each is filled from the unit list of
// its quantity tag and follows one entry of the unit set; the tabs place them beside the values
// they govern.

#include "units/unit_set.h"

#include <QComboBox>
#include <QObject>
#include <QPointer>
#include <array>

namespace quorvane {

class UnitSelectors : public QObject {
    Q_OBJECT
public:
    explicit UnitSelectors(QObject* parent = nullptr);
    ~UnitSelectors() override;

    QComboBox* At(int index) const { return m_combos.at(static_cast<std::size_t>(index)); }
    UnitIndex Unit(int index) const;
    QString UnitName(int index) const;

    // Sets every selector to the unit-set entry it follows; each one that changes reports it.
    void Follow(const UnitSet& units);

signals:
    // A selector now shows another unit (by the user or by Follow).
    void unitChanged(int index);

private:
    std::array<QPointer<QComboBox>, kMainWindowSelectorCount> m_combos{};
};

} // namespace quorvane
