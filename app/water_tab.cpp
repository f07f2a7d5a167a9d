#include "app/water_tab.h"

#include "app/dialog_seam.h"
#include "app/display_text.h"
#include "app/unit_selectors.h"
#include "app/water/steam_calculator.h"
#include "common/precision.h"
#include "units/format_table.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

// Each value of the calculator: its caption, the unit selector it is shown in (-1: a plain
// number) and its number-format key.
struct FieldInfo {
    const char* caption;
    int selector;
    const char* formatKey;
};

constexpr std::array<FieldInfo, kWaterFieldCount> kFieldInfo = {{
    {"Temperature", 19, "stmTForm"},
    {"Pressure", 20, "stmPForm"},
    {"Quality", -1, "stmQForm"},
    {"Enthalpy", 21, "stmHForm"},
    {"Entropy", 22, "stmSForm"},
    {"Volume", 23, "stmVolForm"},
    {"Density", 24, "stmDenForm"},
    {"Heat capacity Cp", 25, "stmCpForm"},
    {"Heat capacity Cv", 26, "stmCvForm"},
    {"Viscosity", 27, "stmVisForm"},
    {"Thermal conductivity", 28, "stmTCForm"},
    {"Surface tension", 29, "stmSTForm"},
    {"Sonic velocity", 30, "stmCVelForm"},
    {"Prandtl number", -1, "stmPdltForm"},
    {"Cp/Cv", -1, "stmIEForm"},
}};

const FieldInfo& Info(int field) {
    return kFieldInfo[static_cast<std::size_t>(field)];
}

// Mass-based units of the calculator's values divide by the molecular weight of water held by
// the main window (a 32-bit value).
constexpr float kWaterMolecularWeight = 18.01528F;

const char* const kNotEnoughInput = "Not enough input data is specified.  At a minimum, a \n"
                                    "temperature and pressure input is needed.";

} // namespace

WaterTab::WaterTab(MainState& state, UnitSelectors& selectors, const QString& libraryFolder,
                   QWidget* parent)
    : QWidget(parent), m_state(state), m_selectors(selectors),
      m_calvix(std::make_unique<SteamLibrary>(libraryFolder, QStringLiteral("libcalvix.so"),
                                              CalvixUnits())),
      m_dornel(std::make_unique<SteamLibrary>(libraryFolder, QStringLiteral("libdornel.so"),
                                              DornelUnits())) {
    BuildLayout();
    // The controls show the state as it is; nothing is reset or computed by showing it.
    {
        const QSignalBlocker blockSteam(m_chkSteam);
        m_chkSteam->setChecked(m_state.water.shown);
    }
    m_panel->setEnabled(m_state.water.shown);
    m_formulation->button(static_cast<int>(m_state.water.formulation))->setChecked(true);
    for (int i = 0; i < kWaterGivenCount; ++i) {
        const QSignalBlocker block(GivenBox(i));
        GivenBox(i)->setChecked(m_state.water.given[static_cast<std::size_t>(i)]);
    }
    ApplyTwoOfFive();
    Redisplay();
}

WaterTab::~WaterTab() = default;

QLineEdit* WaterTab::MakeField(int field, bool given) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("txtData%1").arg(kWaterFirstField + field));
    edit->setAlignment(Qt::AlignRight);
    edit->setMinimumWidth(110);
    edit->setReadOnly(!given);
    edit->setProperty("slot", NumberFormatSlotIndex(std::string_view(Info(field).formatKey)));
    m_fields[static_cast<std::size_t>(field)] = edit;
    return edit;
}

void WaterTab::BuildLayout() {
    auto* outer = new QVBoxLayout(this);
    m_chkSteam = new QCheckBox(QStringLiteral("Water/Dadez Properties"), this);
    m_chkSteam->setObjectName(QStringLiteral("chkSteam"));
    m_chkSteam->setToolTip(QStringLiteral("Select Water/Dadez Properties"));
    outer->addWidget(m_chkSteam);

    m_panel = new QWidget(this);
    auto* panel = new QVBoxLayout(m_panel);
    panel->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_panel);
    outer->addStretch(1);

    auto* formulation = new QGroupBox(QStringLiteral("Formulation"), m_panel);
    formulation->setProperty("hint", QStringLiteral("Select Dadez Formulation to use"));
    auto* formulationLayout = new QHBoxLayout(formulation);
    m_formulation = new QButtonGroup(this);
    const char* const captions[] = {"IFC-1997 (IAPWS Formulation)", "IFC-1967 (ASME Formulation)"};
    const char* const tips[] = {"New steam formulation functions",
                                "Legacy steam formulation functions"};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(captions[i]), formulation);
        option->setObjectName(QStringLiteral("optSteam%1").arg(i));
        option->setToolTip(QString::fromLatin1(tips[i]));
        m_formulation->addButton(option, i);
        formulationLayout->addWidget(option);
    }
    formulationLayout->addStretch(1);
    panel->addWidget(formulation);

    auto* columns = new QHBoxLayout;
    panel->addLayout(columns);

    // Left: the five given variables and the commands.
    auto* givenGroup = new QGroupBox(QStringLiteral("Given Variables"), m_panel);
    givenGroup->setProperty("hint", QStringLiteral("Select 2 Inputs"));
    auto* given = new QGridLayout(givenGroup);
    for (int i = 0; i < kWaterGivenCount; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(Info(i).caption), givenGroup);
        box->setObjectName(QStringLiteral("chkStmInput%1").arg(i));
        box->setToolTip(QStringLiteral("Select 2 of 5 available dependent inputs"));
        m_givenBoxes[static_cast<std::size_t>(i)] = box;
        given->addWidget(box, i, 0);
        given->addWidget(MakeField(i, true), i, 1);
        if (Info(i).selector >= 0) {
            given->addWidget(m_selectors.At(Info(i).selector), i, 2);
        } else {
            given->addWidget(new QLabel(QStringLiteral("vapor mass fraction"), givenGroup), i, 2);
        }
        connect(box, &QCheckBox::toggled, this, [this, i] { GivenToggled(i); });
        QLineEdit* edit = Field(i);
        connect(edit, &QLineEdit::textEdited, this, [this] { Clear(); });
        connect(edit, &QLineEdit::editingFinished, this, [this, i] { GivenEdited(i); });
    }
    auto* buttons = new QHBoxLayout;
    auto* compute = new QPushButton(QStringLiteral("&Compute"), givenGroup);
    compute->setObjectName(QStringLiteral("cmdCompute"));
    compute->setToolTip(QStringLiteral("Compute water/steam properties"));
    // Enter on the button computes (elsewhere in the window Enter moves on, as Tab does).
    compute->setAutoDefault(true);
    compute->setProperty("enterActivates", true);
    auto* clear = new QPushButton(QStringLiteral("C&lear"), givenGroup);
    clear->setObjectName(QStringLiteral("cmdClear"));
    clear->setToolTip(QStringLiteral("Clear the calculator and start again from temperature and "
                                     "pressure"));
    auto* copy = new QPushButton(QStringLiteral("Copy &All"), givenGroup);
    copy->setObjectName(QStringLiteral("cmdCopySteam"));
    copy->setToolTip(QStringLiteral("Copy every value as tab-separated text for a spreadsheet"));
    buttons->addWidget(compute);
    buttons->addWidget(clear);
    buttons->addWidget(copy);
    buttons->addStretch(1);
    given->addLayout(buttons, kWaterGivenCount, 0, 1, 3);
    given->setRowStretch(kWaterGivenCount + 1, 1);
    columns->addWidget(givenGroup);

    // Right: the computed values.
    auto* resultGroup = new QGroupBox(QStringLiteral("Properties"), m_panel);
    auto* results = new QGridLayout(resultGroup);
    for (int field = kWaterVolume; field < kWaterFieldCount; ++field) {
        const int row = field - kWaterVolume;
        results->addWidget(new QLabel(QString::fromLatin1(Info(field).caption), resultGroup), row,
                           0);
        results->addWidget(MakeField(field, false), row, 1);
        if (Info(field).selector >= 0) {
            results->addWidget(m_selectors.At(Info(field).selector), row, 2);
        }
    }
    columns->addWidget(resultGroup);
    columns->addStretch(1);
    // The unit boxes size to their texts; one width for all keeps the column straight.
    int unitWidth = 0;
    for (int field = 0; field < kWaterFieldCount; ++field) {
        if (Info(field).selector >= 0) {
            unitWidth =
                std::max(unitWidth, m_selectors.At(Info(field).selector)->sizeHint().width());
        }
    }
    for (int field = 0; field < kWaterFieldCount; ++field) {
        if (Info(field).selector >= 0) {
            m_selectors.At(Info(field).selector)->setMinimumWidth(unitWidth);
        }
    }

    connect(m_chkSteam, &QCheckBox::toggled, this, [this](bool on) {
        m_state.water.shown = on;
        m_panel->setEnabled(on);
        FullReset();
    });
    connect(m_formulation, &QButtonGroup::idClicked, this,
            [this](int id) { SelectFormulation(static_cast<SteamFormulation>(id)); });
    connect(compute, &QPushButton::clicked, this, &WaterTab::Compute);
    connect(clear, &QPushButton::clicked, this, &WaterTab::FullReset);
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(ValuesText()); });
}

void WaterTab::ShowCalculator() {
    m_chkSteam->setChecked(true);
}

void WaterTab::ShowStoredState() {
    const WaterSteamState& water = m_state.water;
    {
        const QSignalBlocker block(m_chkSteam);
        m_chkSteam->setChecked(water.shown);
    }
    m_panel->setEnabled(water.shown);
    m_formulation->button(static_cast<int>(water.formulation))->setChecked(true);
    emit formulationChanged();
    for (int i = 0; i < kWaterGivenCount; ++i) {
        const QSignalBlocker block(GivenBox(i));
        GivenBox(i)->setChecked(water.given[static_cast<std::size_t>(i)]);
    }
    ApplyTwoOfFive();
    Redisplay();
    if (water.shown) {
        SelectFormulation(water.formulation);
    }
}

void WaterTab::SelectFormulation(SteamFormulation formulation) {
    m_state.water.formulation = formulation;
    m_formulation->button(static_cast<int>(formulation))->setChecked(true);
    emit formulationChanged();
    SteamLibrary& library = formulation == SteamFormulation::If97 ? *m_calvix : *m_dornel;
    const QString title = FormulationLabel(formulation);
    // Computing in units the library refused would only repeat its messages.
    try {
        const QStringList refusals = library.SetUnits();
        for (const QString& refusal : refusals) {
            ShowMessage(this, title, refusal, QMessageBox::Critical);
        }
        if (!refusals.isEmpty()) {
            return;
        }
    } catch (const SteamLibraryError& error) {
        ShowMessage(this, title, error.Message(), QMessageBox::Critical);
        return;
    }
    Compute();
}

void WaterTab::GivenToggled(int given) {
    m_state.water.given[static_cast<std::size_t>(given)] = GivenBox(given)->isChecked();
    ApplyTwoOfFive();
    Clear();
}

// With exactly two given variables ticked the other three (and their fields) are disabled, so a
// third cannot be ticked; otherwise all five are open.
void WaterTab::ApplyTwoOfFive() {
    const auto& ticked = m_state.water.given;
    const bool two = std::count(ticked.begin(), ticked.end(), true) == 2;
    for (int i = 0; i < kWaterGivenCount; ++i) {
        const bool open = !two || ticked[static_cast<std::size_t>(i)];
        GivenBox(i)->setEnabled(open);
        Field(i)->setEnabled(open);
    }
}

void WaterTab::GivenEdited(int given) {
    QLineEdit* edit = Field(given);
    if (!edit->isModified()) {
        return;
    }
    edit->setModified(false);
    const auto typed = ParseNumber(edit->text());
    const float value = typed ? InternalValue(given, *typed) : NAN;
    if (!std::isfinite(value)) {
        ShowMessage(this, QStringLiteral("Dadez Properties"),
                    QStringLiteral("The %1 must be a number. Type a number and compute again.")
                        .arg(QString::fromLatin1(Info(given).caption).toLower()),
                    QMessageBox::Warning);
    } else {
        m_state.water.values[static_cast<std::size_t>(given)] = value;
    }
    ShowField(given);
}

// Empties the given fields whose box is not ticked and every result; what is typed in the
// ticked fields stays.
void WaterTab::Clear() {
    WaterSteamState& water = m_state.water;
    water.computed = false;
    for (int i = kWaterQuality; i < kWaterFieldCount; ++i) {
        if (i >= kWaterGivenCount || !water.given[static_cast<std::size_t>(i)]) {
            water.values[static_cast<std::size_t>(i)] = NAN;
        }
    }
    Redisplay();
}

void WaterTab::FullReset() {
    WaterSteamState& water = m_state.water;
    water.given = {true, true, false, false, false};
    for (int i = 0; i < kWaterGivenCount; ++i) {
        const QSignalBlocker block(GivenBox(i));
        GivenBox(i)->setChecked(water.given[static_cast<std::size_t>(i)]);
    }
    ApplyTwoOfFive();
    Clear();
}

void WaterTab::Compute() {
    Clear();
    WaterSteamState& water = m_state.water;
    const QString title = FormulationLabel(water.formulation);
    const std::optional<GivenPair> pair = PairOfGiven(water.given);
    if (!pair) {
        ShowMessage(this, QStringLiteral("Dadez Properties"), QString::fromUtf8(kNotEnoughInput));
        return;
    }
    QStringList missing;
    for (int i = 0; i < kWaterGivenCount; ++i) {
        if (water.given[static_cast<std::size_t>(i)] &&
            !std::isfinite(water.values[static_cast<std::size_t>(i)])) {
            missing << QString::fromLatin1(Info(i).caption).toLower();
        }
    }
    if (!missing.isEmpty()) {
        ShowMessage(this, QStringLiteral("Dadez Properties"),
                    QStringLiteral("Type a value for the %1, then compute again.")
                        .arg(missing.join(QStringLiteral(" and the "))),
                    QMessageBox::Warning);
        return;
    }
    const auto at = [&water](WaterField field) {
        return static_cast<double>(water.values[static_cast<std::size_t>(field)]);
    };
    const SteamGiven given{*pair,
                           at(kWaterTemp),
                           at(kWaterPress),
                           at(kWaterQuality),
                           at(kWaterEnthalpy),
                           at(kWaterEntropy)};
    try {
        const auto values = CalculateSteam(water.formulation, given, {*m_calvix, *m_dornel});
        for (std::size_t i = 0; i < values.size(); ++i) {
            water.values[i] = ToSingle(values[i]);
        }
        water.computed = true;
    } catch (const SteamRefusal& refusal) {
        ShowMessage(this, refusal.title, refusal.text, refusal.icon);
    } catch (const SteamLibraryError& error) {
        ShowMessage(this, title, error.Message(), QMessageBox::Critical);
    }
    Redisplay();
}

bool WaterTab::Shown(int field) const {
    const WaterSteamState& water = m_state.water;
    if (water.computed) {
        return true;
    }
    return field < kWaterGivenCount && water.given[static_cast<std::size_t>(field)];
}

float WaterTab::DisplayValue(int field, float value) const {
    const int selector = Info(field).selector;
    if (selector < 0) {
        return value;
    }
    const auto tag = MainWindowSelector(selector).tag;
    return ToDisplay(*tag, value, m_selectors.Unit(selector), kWaterMolecularWeight);
}

float WaterTab::InternalValue(int field, double typed) const {
    const int selector = Info(field).selector;
    if (selector < 0) {
        return ToSingle(typed);
    }
    const auto tag = MainWindowSelector(selector).tag;
    return FromDisplay(*tag, typed, m_selectors.Unit(selector), kWaterMolecularWeight);
}

void WaterTab::ShowField(int field) {
    const float value = m_state.water.values[static_cast<std::size_t>(field)];
    QLineEdit* edit = Field(field);
    // What the user is typing stays until the field is left (then it is read and shown).
    if (field < kWaterGivenCount && edit->isModified()) {
        return;
    }
    QString text;
    if (Shown(field) && std::isfinite(value)) {
        const int slot = edit->property("slot").toInt();
        text = FormatPattern(DisplayValue(field, value),
                             m_state.formats[static_cast<std::size_t>(slot)]);
    }
    edit->setText(text);
    edit->setModified(false);
    edit->setCursorPosition(0);
}

// The surface tension belongs to liquid only: for any other state its field is disabled and
// takes the button-face colour.
void WaterTab::ShowSurfaceTensionState() {
    const WaterSteamState& water = m_state.water;
    const float quality = water.values[kWaterQuality];
    const bool liquid = !water.computed || quality < 0.0001F;
    QLineEdit* edit = Field(kWaterSurfaceTension);
    edit->setEnabled(liquid);
    // Greyed like the window behind it when closed; otherwise the style's own colours, so a
    // disabled calculator shows this field disabled as it does every other one.
    QPalette palette = QApplication::palette(edit);
    if (!liquid) {
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    }
    edit->setPalette(palette);
}

void WaterTab::Redisplay() {
    for (int field = 0; field < kWaterFieldCount; ++field) {
        ShowField(field);
    }
    ShowSurfaceTensionState();
}

void WaterTab::RedisplaySelector(int index) {
    for (int field = 0; field < kWaterFieldCount; ++field) {
        if (Info(field).selector == index) {
            ShowField(field);
        }
    }
}

QString WaterTab::ValuesText() const {
    QStringList lines;
    for (int field = 0; field < kWaterFieldCount; ++field) {
        const int selector = Info(field).selector;
        lines << QStringLiteral("%1\t%2\t%3")
                     .arg(QString::fromLatin1(Info(field).caption), Field(field)->text().trimmed(),
                          selector >= 0 ? m_selectors.UnitName(selector) : QString());
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace quorvane
