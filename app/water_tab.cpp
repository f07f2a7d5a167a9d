#include "app/water_tab.h"

#include "app/unit_selectors.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorvane {

WaterTab::WaterTab(UnitSelectors& selectors, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(QStringLiteral("The water and steam calculator is not available in "
                                           "this version of Quorvane."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* formulation = new QGroupBox(QStringLiteral("Formulation"), this);
    formulation->setProperty("hint", QStringLiteral("Select Dadez Formulation to use"));
    auto* formulationLayout = new QVBoxLayout(formulation);
    auto* if97 = new QRadioButton(QStringLiteral("IFC-1997"), formulation);
    if97->setObjectName(QStringLiteral("optSteam0"));
    if97->setChecked(true);
    auto* if67 = new QRadioButton(QStringLiteral("IFC-1967"), formulation);
    if67->setObjectName(QStringLiteral("optSteam1"));
    formulationLayout->addWidget(if97);
    formulationLayout->addWidget(if67);
    layout->addWidget(formulation);

    auto* units = new QGroupBox(QStringLiteral("Units"), this);
    units->setProperty("hint", QStringLiteral("Select 2 Inputs"));
    auto* grid = new QGridLayout(units);
    const char* const captions[] = {
        "Temperature", "Pressure", "Enthalpy",  "Entropy",       "Volume",        "Density",
        "Cp",          "Cv",       "Viscosity", "Thermal cond.", "Surface tens.", "Sonic velocity"};
    for (int i = 0; i < 12; ++i) {
        grid->addWidget(new QLabel(QString::fromLatin1(captions[i]), units), i % 6, (i / 6) * 2);
        grid->addWidget(selectors.At(19 + i), i % 6, (i / 6) * 2 + 1);
    }
    layout->addWidget(units);
    layout->addStretch();
    setEnabled(false);
}

} // namespace quorvane
