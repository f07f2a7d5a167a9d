#include "app/flash_setup_tab.h"

#include "app/dialog_seam.h"
#include "app/display_text.h"
#include "app/program_folder.h"
#include "app/unit_selectors.h"
#include "engine/eos/eos_choice.h"
#include "units/unit_catalogue.h"

#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <cmath>

namespace quorvane {

namespace {

// Notes files of the equation-of-state list, by list index.
const char* const kNotesFiles[] = {"rk.html", "srk.html", "srk78.html", "pr.html", "pr78.html"};

// The two vapour-fraction flashes have no list text of their own in the engine.
QString FlashTypeText(FlashType type) {
    switch (type) {
    case FlashType::TV:
        return QStringLiteral("Pressure at Vapor Fraction (Set T)");
    case FlashType::PV:
        return QStringLiteral("Temperature at Vapor Fraction (Set P)");
    default:
        return ToQString(FlashTypeListText(type));
    }
}

bool TemperatureGiven(FlashType type) {
    return type == FlashType::TP || type == FlashType::BUBP || type == FlashType::DEWP ||
           type == FlashType::TV;
}

QWidget* WithUnits(QLineEdit* edit, QComboBox* units) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    layout->addWidget(units);
    return row;
}

} // namespace

FlashSetupTab::FlashSetupTab(MainState& state, UnitSelectors& selectors, QWidget* parent)
    : QWidget(parent), m_state(state), m_selectors(selectors) {
    BuildLayout(selectors);
    ShowStateVariables();
}

void FlashSetupTab::BuildLayout(UnitSelectors& selectors) {
    auto* layout = new QHBoxLayout(this);

    auto* stream = new QGroupBox(QStringLiteral("Stream Conditions"), this);
    stream->setProperty("hint", QStringLiteral("Enter Stream Conditions & Flash Type"));
    auto* form = new QFormLayout(stream);
    m_txtStreamName = new QLineEdit(stream);
    m_txtStreamName->setObjectName(QStringLiteral("txtStreamName"));
    form->addRow(QStringLiteral("Stream &name:"), m_txtStreamName);

    m_cboFlashType = new QComboBox(stream);
    m_cboFlashType->setObjectName(QStringLiteral("cboFlashType"));
    m_cboFlashType->setToolTip(QStringLiteral("Select the type of flash calculation to perform"));
    for (int i = 0; i < kFlashTypeCount; ++i) {
        m_cboFlashType->addItem(FlashTypeText(static_cast<FlashType>(i)));
    }
    form->addRow(QStringLiteral("&Flash type:"), m_cboFlashType);

    m_txtTemp = new QLineEdit(stream);
    m_txtTemp->setObjectName(QStringLiteral("txtTemp"));
    m_txtTemp->setToolTip(QStringLiteral("Enter the flash temperature"));
    m_txtTemp->setProperty("slot", 0); // number-format slots: TForm, PForm, VFForm
    auto* tempLabel = new QLabel(QStringLiteral("&Temperature:"), stream);
    tempLabel->setBuddy(m_txtTemp);
    form->addRow(tempLabel, WithUnits(m_txtTemp, selectors.At(0)));

    m_txtPress = new QLineEdit(stream);
    m_txtPress->setObjectName(QStringLiteral("txtPress"));
    m_txtPress->setToolTip(QStringLiteral("Enter the flash pressure"));
    m_txtPress->setProperty("slot", 1);
    auto* pressLabel = new QLabel(QStringLiteral("&Pressure:"), stream);
    pressLabel->setBuddy(m_txtPress);
    form->addRow(pressLabel, WithUnits(m_txtPress, selectors.At(1)));

    m_txtVapFrac = new QLineEdit(stream);
    m_txtVapFrac->setObjectName(QStringLiteral("txtVapFrac"));
    m_txtVapFrac->setToolTip(
        QStringLiteral("Molar vapour fraction, 0 to 1 (given for the vapour-fraction flashes)"));
    m_txtVapFrac->setProperty("slot", 2);
    auto* vfLabel = new QLabel(QStringLiteral("&Vapor fraction:"), stream);
    vfLabel->setBuddy(m_txtVapFrac);
    form->addRow(vfLabel, m_txtVapFrac);
    layout->addWidget(stream, 1);
    const int unitWidth =
        std::max(selectors.At(0)->sizeHint().width(), selectors.At(1)->sizeHint().width());
    selectors.At(0)->setMinimumWidth(unitWidth);
    selectors.At(1)->setMinimumWidth(unitWidth);

    auto* eos = new QGroupBox(QStringLiteral("Equation of State"), this);
    eos->setProperty("hint", QStringLiteral("Select an EOS Model"));
    auto* eosLayout = new QVBoxLayout(eos);
    m_lstEOS = new QListWidget(eos);
    m_lstEOS->setObjectName(QStringLiteral("lstEOS"));
    for (std::string_view text : kEosListTexts) {
        m_lstEOS->addItem(ToQString(text));
    }
    m_lstEOS->setMaximumHeight(m_lstEOS->sizeHintForRow(0) * 6 + 4);
    eosLayout->addWidget(m_lstEOS);
    m_rtfNotes = new QTextBrowser(eos);
    m_rtfNotes->setObjectName(QStringLiteral("rtfNotes"));
    eosLayout->addWidget(m_rtfNotes, 1);
    layout->addWidget(eos, 1);

    connect(m_txtStreamName, &QLineEdit::textEdited, this, &FlashSetupTab::inputChanged);
    connect(m_txtTemp, &QLineEdit::editingFinished, this, &FlashSetupTab::TemperatureEdited);
    connect(m_txtPress, &QLineEdit::editingFinished, this, &FlashSetupTab::PressureEdited);
    connect(m_txtVapFrac, &QLineEdit::editingFinished, this, &FlashSetupTab::VapourFractionEdited);
    connect(m_lstEOS, &QListWidget::currentRowChanged, this, &FlashSetupTab::EosSelected);
    connect(m_cboFlashType, &QComboBox::currentIndexChanged, this,
            &FlashSetupTab::FlashTypeSelected);
    FlashTypeSelected();
}

void FlashSetupTab::ShowTemperature() {
    const float shown = TemperatureToDisplay(m_state.flashCase.tempF, m_selectors.Unit(0));
    m_txtTemp->setText(FormatPattern(shown, m_state.formats[0]));
    m_txtTemp->setModified(false);
}

void FlashSetupTab::ShowPressure() {
    const float shown = PressureToDisplay(m_state.flashCase.pressPsia, m_selectors.Unit(1));
    m_txtPress->setText(FormatPattern(shown, m_state.formats[1]));
    m_txtPress->setModified(false);
}

void FlashSetupTab::ShowVapourFraction() {
    m_txtVapFrac->setText(FormatPattern(m_state.flashCase.vapourFraction, m_state.formats[2]));
    m_txtVapFrac->setModified(false);
}

void FlashSetupTab::ShowStateVariables() {
    ShowTemperature();
    ShowPressure();
    ShowVapourFraction();
}

void FlashSetupTab::TemperatureEdited() {
    if (!m_txtTemp->isModified()) {
        return;
    }
    const auto typed = ParseNumber(m_txtTemp->text());
    float tempF = NAN;
    if (typed) {
        tempF = TemperatureFromDisplay(*typed, m_selectors.Unit(0));
    }
    if (!std::isfinite(tempF) || tempF + 459.67F <= 0.0F) {
        ShowMessage(this, QStringLiteral("Quorvane"),
                    QStringLiteral("The temperature must be a number above absolute zero."),
                    QMessageBox::Warning);
        ShowTemperature();
        return;
    }
    if (tempF != m_state.flashCase.tempF) {
        m_state.flashCase.tempF = tempF;
        emit inputChanged();
    }
    ShowTemperature();
}

void FlashSetupTab::PressureEdited() {
    if (!m_txtPress->isModified()) {
        return;
    }
    const auto typed = ParseNumber(m_txtPress->text());
    float pressPsia = NAN;
    if (typed && *typed > 0.0) {
        pressPsia = PressureFromDisplay(*typed, m_selectors.Unit(1));
    }
    if (!std::isfinite(pressPsia) || pressPsia <= 0.0F) {
        ShowMessage(this, QStringLiteral("Quorvane"),
                    QStringLiteral("The pressure must be a number greater than 0."),
                    QMessageBox::Warning);
        ShowPressure();
        return;
    }
    if (pressPsia != m_state.flashCase.pressPsia) {
        m_state.flashCase.pressPsia = pressPsia;
        emit inputChanged();
    }
    ShowPressure();
}

void FlashSetupTab::VapourFractionEdited() {
    if (!m_txtVapFrac->isModified()) {
        return;
    }
    const auto typed = ParseNumber(m_txtVapFrac->text());
    if (!typed || *typed < 0.0 || *typed > 1.0) {
        ShowMessage(this, QStringLiteral("Quorvane"),
                    QStringLiteral("Vapor Fraction must be a number between 0 and 1."),
                    QMessageBox::Warning);
        ShowVapourFraction();
        return;
    }
    if (*typed != m_state.flashCase.vapourFraction) {
        m_state.flashCase.vapourFraction = *typed;
        emit inputChanged();
    }
    ShowVapourFraction();
}

int FlashSetupTab::EosIndex() const {
    return m_lstEOS->currentRow();
}

void FlashSetupTab::SetEosIndex(int index) {
    m_lstEOS->setCurrentRow(index);
}

QString FlashSetupTab::EosText() const {
    const int row = EosIndex();
    return row >= 0 ? m_lstEOS->item(row)->text() : QString();
}

FlashType FlashSetupTab::SelectedFlashType() const {
    return FlashTypeFromIndex(m_cboFlashType->currentIndex()).value_or(FlashType::TP);
}

void FlashSetupTab::SetFlashType(FlashType type) {
    m_cboFlashType->setCurrentIndex(static_cast<int>(type));
}

QString FlashSetupTab::StreamName() const {
    return m_txtStreamName->text();
}

QString FlashSetupTab::TemperatureText() const {
    return m_txtTemp->text();
}

QString FlashSetupTab::PressureText() const {
    return m_txtPress->text();
}

void FlashSetupTab::SetStreamName(const QString& name) {
    m_txtStreamName->setText(name);
}

void FlashSetupTab::EosSelected() {
    const int index = EosIndex();
    m_state.flashCase.eosIndex = index;
    ShowNotes(index);
    emit inputChanged();
    emit eosChanged();
}

void FlashSetupTab::FlashTypeSelected() {
    const FlashType type = SelectedFlashType();
    const bool changed = type != m_state.flashCase.flashType;
    m_state.flashCase.flashType = type;
    // Only the given state variables can be typed; the computed one is shown after a run.
    const bool tGiven = TemperatureGiven(type);
    m_txtTemp->setReadOnly(!tGiven);
    m_txtPress->setReadOnly(tGiven && type != FlashType::TP);
    m_txtVapFrac->setEnabled(type == FlashType::TV || type == FlashType::PV);
    if (changed) {
        emit inputChanged();
        emit flashTypeChanged();
    }
}

void FlashSetupTab::ShowNotes(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kNotesFiles))) {
        m_rtfNotes->clear();
        return;
    }
    QFile file(ProgramFile(QString::fromLatin1(kNotesFiles[index])));
    if (!file.open(QIODevice::ReadOnly)) {
        m_rtfNotes->setPlainText(QStringLiteral("The notes file \"%1\" is missing from the "
                                                "program folder.")
                                     .arg(QString::fromLatin1(kNotesFiles[index])));
        return;
    }
    m_rtfNotes->setHtml(QString::fromUtf8(file.readAll()));
}

} // namespace quorvane
