#include "app/unit_options_dialog.h"

#include "app/dialog_fit.h"
#include "app/display_text.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorvane {

namespace {

const char* const kCaptions[kUnitSetSize] = {"&Temperature:",
                                             "&Pressure:",
                                             "&Volume:",
                                             "&Density:",
                                             "&Enthalpy:",
                                             "E&ntropy:",
                                             "&Heat of vaporization:",
                                             "&Joule-Thomson:",
                                             "Heat &capacity:",
                                             "V&iscosity:",
                                             "Thermal c&onductivity:",
                                             "S&urface tension:",
                                             "Sonic &velocity:",
                                             "Phase &fraction:"};

} // namespace

UnitOptionsDialog::UnitOptionsDialog(const UnitSet& current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmUnitOptions"));
    setWindowTitle(QStringLiteral("Units of Measure"));
    FitToTitle(*this);
    auto* layout = new QHBoxLayout(this);

    auto* units = new QGroupBox(QStringLiteral("Units"), this);
    auto* form = new QFormLayout(units);
    for (int i = 0; i < kUnitSetSize; ++i) {
        const auto entry = static_cast<UnitSetEntry>(i);
        auto* combo = new QComboBox(units);
        combo->setObjectName(QStringLiteral("cboUnits%1").arg(i));
        for (std::string_view name : UnitNames(UnitSetTag(entry))) {
            combo->addItem(ToQString(name));
        }
        combo->setCurrentIndex(current[entry]);
        form->addRow(QString::fromLatin1(kCaptions[i]), combo);
        m_cboUnits[static_cast<std::size_t>(i)] = combo;
    }
    layout->addWidget(units, 1);

    auto* side = new QVBoxLayout;
    auto* presets = new QGroupBox(QStringLiteral("Presets"), this);
    auto* presetLayout = new QVBoxLayout(presets);
    m_optIp = new QRadioButton(QStringLiteral("&IP Engineering Units"), presets);
    m_optIp->setObjectName(QStringLiteral("optUnits0"));
    m_optSi = new QRadioButton(QStringLiteral("&SI Engineering Units"), presets);
    m_optSi->setObjectName(QStringLiteral("optUnits1"));
    presetLayout->addWidget(m_optIp);
    presetLayout->addWidget(m_optSi);
    side->addWidget(presets);
    side->addStretch();
    auto* setDefault = new QPushButton(QStringLiteral("&Set as Default"), this);
    setDefault->setObjectName(QStringLiteral("cmdSetDefault"));
    setDefault->setToolTip(QStringLiteral("Use these units in the main window"));
    auto* saveDefault = new QPushButton(QStringLiteral("Save as &Default"), this);
    saveDefault->setObjectName(QStringLiteral("cmdSaveDefault"));
    saveDefault->setToolTip(QStringLiteral("Store the units now in use for later runs"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);
    side->addWidget(setDefault);
    side->addWidget(saveDefault);
    side->addWidget(close);
    layout->addLayout(side);

    connect(m_optIp, &QRadioButton::clicked, this, [this] { ApplyPreset(IpEngineeringUnits()); });
    connect(m_optSi, &QRadioButton::clicked, this, [this] { ApplyPreset(SiEngineeringUnits()); });
    connect(setDefault, &QPushButton::clicked, this, [this] { emit setAsDefault(Selected()); });
    connect(saveDefault, &QPushButton::clicked, this, &UnitOptionsDialog::saveAsDefault);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

UnitSet UnitOptionsDialog::Selected() const {
    UnitSet set;
    for (int i = 0; i < kUnitSetSize; ++i) {
        set[static_cast<UnitSetEntry>(i)] = static_cast<UnitIndex>(
            std::max(0, m_cboUnits[static_cast<std::size_t>(i)]->currentIndex()));
    }
    return set;
}

void UnitOptionsDialog::ApplyPreset(const UnitSet& preset) {
    for (int i = 0; i < kUnitSetSize; ++i) {
        m_cboUnits[static_cast<std::size_t>(i)]->setCurrentIndex(
            preset[static_cast<UnitSetEntry>(i)]);
    }
}

} // namespace quorvane
