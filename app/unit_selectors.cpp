#include "app/unit_selectors.h"

#include "app/display_text.h"

#include <QComboBox>

namespace quorvane {

UnitSelectors::UnitSelectors(QObject* parent) : QObject(parent) {
    for (int i = 0; i < kMainWindowSelectorCount; ++i) {
        auto* combo = new QComboBox;
        combo->setObjectName(QStringLiteral("cboUnits%1").arg(i));
        const UnitSelectorInfo info = MainWindowSelector(i);
        if (info.tag) {
            for (std::string_view name : UnitNames(*info.tag)) {
                combo->addItem(ToQString(name));
            }
            combo->setToolTip(QStringLiteral("Units of ") + ToQString(QuantityTagText(*info.tag)));
        }
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        connect(combo, &QComboBox::currentIndexChanged, this, [this, i] { emit unitChanged(i); });
        m_combos[static_cast<std::size_t>(i)] = combo;
    }
}

UnitSelectors::~UnitSelectors() {
    // Selectors that no tab placed have no parent; the placed ones die with their tab.
    for (const QPointer<QComboBox>& combo : m_combos) {
        if (!combo.isNull() && combo->parent() == nullptr) {
            delete combo.data();
        }
    }
}

UnitIndex UnitSelectors::Unit(int index) const {
    return static_cast<UnitIndex>(std::max(0, At(index)->currentIndex()));
}

QString UnitSelectors::UnitName(int index) const {
    return At(index)->currentText();
}

void UnitSelectors::Follow(const UnitSet& units) {
    for (int i = 0; i < kMainWindowSelectorCount; ++i) {
        if (const auto unit = SelectorUnit(i, units)) {
            At(i)->setCurrentIndex(*unit);
        }
    }
}

} // namespace quorvane
