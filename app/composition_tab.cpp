#include "app/composition_tab.h"

#include "app/busy_indicator.h"
#include "app/component_box.h"
#include "app/dialog_seam.h"
#include "app/display_text.h"
#include "common/precision.h"
#include "engine/flash/rachford_rice.h"
#include "units/number_format.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

namespace quorvane {

namespace {

const QString kTitle = QStringLiteral("Physical Properties");
const QString kResetQuestion =
    QStringLiteral("All existing component selections will be reset.  Continue?");

struct PredefinedMixture {
    QString name;
    QStringList components;
    std::vector<float> fractions; // empty: left at 0 for the user
};

const std::vector<PredefinedMixture>& PredefinedMixtures() {
    static const std::vector<PredefinedMixture> mixtures = {
        {QStringLiteral("Air"),
         {"NITROGEN", "OXYGEN", "ARGON", "CARBON DIOXIDE", "NEON", "HELIUM", "METHANE", "KRYPTON",
          "HYDROGEN"},
         {0.78084F, 0.209476F, 0.00934F, 0.000314F, 0.00001818F, 0.00000524F, 0.000002F,
          0.00000114F, 0.0000005F}},
        {QStringLiteral("Flue Gas"),
         {"OXYGEN", "NITROGEN", "CARBON MONOXIDE", "CARBON DIOXIDE", "NITRIC OXIDE",
          "NITROGEN DIOXIDE", "SULFUR DIOXIDE", "SULFUR TRIOXIDE", "WATER"},
         {}},
        {QStringLiteral("Natural Gas"),
         {"METHANE",          "ETHANE",     "PROPANE",  "n-BUTANE",        "ISOBUTANE",
          "n-PENTANE",        "ISOPENTANE", "n-HEXANE", "n-HEPTANE",       "n-OCTANE",
          "n-NONANE",         "n-DECANE",   "BENZENE",  "CARBON MONOXIDE", "CARBON DIOXIDE",
          "HYDROGEN SULFIDE", "HYDROGEN",   "OXYGEN",   "NITROGEN",        "WATER"},
         {}},
    };
    return mixtures;
}

// Amounts shown as the grid is built: four decimals in the user's locale, ×100 for percent.
QString RowAmountText(float fraction, CompositionBasis basis) {
    const double shown = IsPercentBasis(basis) ? 100.0 * fraction : fraction;
    return FormatFixed(shown, 4);
}

} // namespace

const QStringList& CompositionTab::PredefinedMixtureNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const auto& mixture : PredefinedMixtures()) {
            list << mixture.name;
        }
        return list;
    }();
    return names;
}

CompositionTab::CompositionTab(MainState& state, BusyIndicator& busy, QWidget* parent)
    : QWidget(parent), m_state(state), m_busy(busy) {
    setProperty("hint", QStringLiteral("Enter Stream Components/Compositions"));
    BuildLayout();
    Rebuild();
}

void CompositionTab::BuildLayout() {
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    auto* pick = new QGroupBox(QStringLiteral("Components"), this);
    pick->setProperty("hint", QStringLiteral("Enter Stream Components/Compositions"));
    auto* pickLayout = new QGridLayout(pick);
    m_dbcComp = new ComponentBox(pick);
    if (m_state.database) {
        QStringList names;
        for (const std::string& name : m_state.database->OfferedNames()) {
            names << QString::fromStdString(name);
        }
        m_dbcComp->SetNames(names);
    }
    // A first click into the name drops the list down; later clicks place the cursor.
    m_dbcComp->lineEdit()->installEventFilter(this);
    connect(m_dbcComp, &ComponentBox::addRequested, this, &CompositionTab::AddSelectedComponent);
    pickLayout->addWidget(m_dbcComp, 0, 0, 1, 2);

    m_cmdAdd = new QPushButton(QStringLiteral("&Add"), pick);
    m_cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    m_cmdRemove = new QPushButton(QStringLiteral("&Remove"), pick);
    m_cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    m_cmdReset = new QPushButton(QStringLiteral("R&eset"), pick);
    m_cmdReset->setObjectName(QStringLiteral("cmdReset"));
    m_cmdNormalize = new QPushButton(QStringLiteral("&Normalize"), pick);
    m_cmdNormalize->setObjectName(QStringLiteral("cmdNormalize"));
    // Petroleum fractions are added as database components (there is no characterisation).
    auto* addFraction = new QPushButton(QStringLiteral("Add &Petroleum Fraction"), pick);
    addFraction->setObjectName(QStringLiteral("cmdAddPetroleumFrac"));
    addFraction->setToolTip(QStringLiteral("Adds the selected database component, as Add does"));
    pickLayout->addWidget(m_cmdAdd, 1, 0);
    pickLayout->addWidget(m_cmdRemove, 1, 1);
    pickLayout->addWidget(m_cmdReset, 2, 0);
    pickLayout->addWidget(m_cmdNormalize, 2, 1);
    pickLayout->addWidget(addFraction, 3, 0, 1, 2);
    connect(addFraction, &QPushButton::clicked, this, &CompositionTab::AddSelectedComponent);
    left->addWidget(pick);

    auto* predefined = new QGroupBox(QStringLiteral("Predefined Mixtures"), this);
    auto* predefinedLayout = new QVBoxLayout(predefined);
    m_lstPreDefined = new QListWidget(predefined);
    m_lstPreDefined->setObjectName(QStringLiteral("lstPreDefined"));
    m_lstPreDefined->addItems(PredefinedMixtureNames());
    // Fixed, so that the group box fits the three names instead of the list's default height.
    m_lstPreDefined->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_lstPreDefined->setFixedHeight(m_lstPreDefined->sizeHintForRow(0) * 3 +
                                    2 * m_lstPreDefined->frameWidth() + 4);
    // Enter loads the selected mixture instead of moving on, as a click does.
    m_lstPreDefined->setProperty("enterActivates", true);
    m_lstPreDefined->setToolTip(QStringLiteral("Replace the mixture by a predefined one"));
    predefinedLayout->addWidget(m_lstPreDefined);
    left->addWidget(predefined);

    auto* basis = new QGroupBox(QStringLiteral("Composition Basis"), this);
    auto* basisLayout = new QGridLayout(basis);
    m_optWtMolFrac = new QButtonGroup(this);
    const QString captions[] = {QStringLiteral("Mole &Frac"), QStringLiteral("&Weight Frac"),
                                QStringLiteral("Mole &%"), QStringLiteral("Weigh&t %")};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(captions[i], basis);
        option->setObjectName(QStringLiteral("optWtMolFrac%1").arg(i));
        m_optWtMolFrac->addButton(option, i);
        basisLayout->addWidget(option, i / 2, i % 2);
    }
    m_optWtMolFrac->button(0)->setChecked(true);
    left->addWidget(basis);
    left->addStretch();
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    m_grid = new QTableWidget(0, 2, this);
    m_grid->setObjectName(QStringLiteral("grdGrid"));
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    // A block of amounts (or the whole grid) can be selected and copied.
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    right->addWidget(m_grid, 1);
    auto* totalRow = new QHBoxLayout;
    m_lblTotalCaption = new QLabel(QStringLiteral("Total:"), this);
    m_lblPercent = new QLabel(this);
    m_lblPercent->setObjectName(QStringLiteral("lblPercent"));
    m_lblPercent->setMinimumWidth(90);
    m_lblPercent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblBasisCaption = new QLabel(this);
    totalRow->addStretch();
    totalRow->addWidget(m_lblTotalCaption);
    totalRow->addWidget(m_lblPercent);
    totalRow->addWidget(m_lblBasisCaption);
    right->addLayout(totalRow);
    layout->addLayout(right, 1);

    connect(m_cmdAdd, &QPushButton::clicked, this, &CompositionTab::AddSelectedComponent);
    connect(m_cmdRemove, &QPushButton::clicked, this, &CompositionTab::RemoveCurrentComponent);
    connect(m_cmdReset, &QPushButton::clicked, this, [this] { Reset(); });
    connect(m_cmdNormalize, &QPushButton::clicked, this, &CompositionTab::Normalize);
    connect(m_lstPreDefined, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { LoadPredefinedMixture(m_lstPreDefined->row(item)); });
    connect(m_lstPreDefined, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { LoadPredefinedMixture(m_lstPreDefined->row(item)); });
    connect(m_optWtMolFrac, &QButtonGroup::idClicked, this,
            [this](int id) { SetBasis(static_cast<CompositionBasis>(id)); });
    connect(m_grid, &QTableWidget::itemChanged, this, &CompositionTab::AmountEdited);
    // Tab and Enter from an amount go on to the next component's amount, not to its name.
    connect(m_grid, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int previousRow, int previousColumn) {
                if (column == 0 && previousColumn == 1 && row == previousRow + 1) {
                    QTimer::singleShot(0, m_grid,
                                       [grid = m_grid, row] { grid->setCurrentCell(row, 1); });
                }
            });
}

bool CompositionTab::SelectComponent(const QString& name) {
    if (!m_state.database) {
        return false;
    }
    const int index = m_state.database->IndexOfName(name.toStdString());
    if (index < 0) {
        return false;
    }
    m_dbcComp->setCurrentIndex(index);
    return true;
}

void CompositionTab::AddSelectedComponent() {
    if (!m_state.database) {
        return;
    }
    // The name shown in the box is the one added; a name the database does not hold is
    // refused with a message rather than replaced by whatever the list last selected.
    const QString typed = m_dbcComp->currentText().trimmed();
    const int index = m_state.database->IndexOfName(typed.toStdString());
    const auto offered = m_state.database->Offered();
    if (index < 0 || index >= static_cast<int>(offered.size())) {
        ShowMessage(this, kTitle,
                    typed.isEmpty()
                        ? QStringLiteral("Type or choose a component name first, then add it.")
                        : QStringLiteral("\"%1\" is not in the component database, so it was "
                                         "not added.\n\nChoose a name from the list; typing part "
                                         "of a name offers the names that contain it.")
                              .arg(typed),
                    QMessageBox::Warning);
        FocusComponentList();
        return;
    }
    m_dbcComp->setCurrentIndex(index);
    AddComponentResult result = AddComponentResult::AlreadyInMixture;
    try {
        result = m_state.mixture.AddDatabaseComponent(offered[static_cast<std::size_t>(index)]);
    } catch (const std::exception& error) {
        ShowMessage(this, kTitle, QStringLiteral("This component cannot be used: ") + error.what(),
                    QMessageBox::Critical);
        return;
    }
    if (result == AddComponentResult::LimitReached) {
        ShowMessage(this, kTitle, ToQString(kTooManyComponentsMessage), QMessageBox::Critical);
        return;
    }
    if (result == AddComponentResult::Added) {
        ChangeMixture();
    }
    m_dbcComp->setFocus();
}

bool CompositionTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_dbcComp->lineEdit()) {
        // Focus coming back from the list's own popup is not a new visit.
        if (event->type() == QEvent::FocusIn &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            m_listDroppedThisFocus = false;
        } else if (event->type() == QEvent::MouseButtonRelease && !m_listDroppedThisFocus) {
            m_listDroppedThisFocus = true;
            m_dbcComp->showPopup();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CompositionTab::FocusComponentList() {
    m_dbcComp->setFocus();
    m_dbcComp->lineEdit()->selectAll();
}

void CompositionTab::RemoveCurrentComponent() {
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_state.mixture.Count()) {
        return;
    }
    m_state.mixture.RemoveComponent(row);
    ChangeMixture();
    if (m_state.mixture.Empty()) {
        Reset();
    } else {
        m_grid->setCurrentCell(std::min(row, m_state.mixture.Count() - 1), 1);
    }
}

bool CompositionTab::Reset() {
    if (!m_state.mixture.Empty() && !m_loadingPredefined) {
        if (!AskYesNo(this, kTitle, kResetQuestion)) {
            return false;
        }
    }
    m_state.mixture.Reset();
    ChangeMixture();
    return true;
}

void CompositionTab::Normalize() {
    auto entered = m_state.mixture.EnteredComposition();
    if (entered.size() < 2 ||
        std::none_of(entered.begin(), entered.end(), [](float v) { return v > 0.0F; }) ||
        RefuseNegativeAmount()) {
        return;
    }
    if (NormalizeFractions(entered)) {
        emit inputChanged();
    }
    Rebuild();
}

void CompositionTab::LoadPredefinedMixture(int item) {
    const auto& mixtures = PredefinedMixtures();
    if (item < 0 || item >= static_cast<int>(mixtures.size()) || !m_state.database) {
        return;
    }
    // Asked before anything changes: "No" leaves the mixture, the stream name and the list
    // exactly as they were, with no mixture shown as chosen.
    if (!m_state.mixture.Empty() && !AskYesNo(this, kTitle, kResetQuestion)) {
        m_lstPreDefined->clearSelection();
        return;
    }
    const PredefinedMixture& mixture = mixtures[static_cast<std::size_t>(item)];
    m_loadingPredefined = true;
    m_busy.Start();
    Reset();
    for (const QString& name : mixture.components) {
        // Names missing from the database are left out.
        if (const auto record = m_state.database->FindByName(name.toStdString())) {
            try {
                m_state.mixture.AddDatabaseComponent(*record);
            } catch (const std::exception&) {
            }
        }
    }
    if (!mixture.fractions.empty()) {
        // Fractions belong to the components found, in the mixture's order.
        auto entered = m_state.mixture.EnteredComposition();
        for (std::size_t i = 0; i < mixture.fractions.size(); ++i) {
            const int at = m_state.mixture.IndexOfName(
                mixture.components[static_cast<qsizetype>(i)].toStdString());
            if (at >= 0) {
                entered[static_cast<std::size_t>(at)] = mixture.fractions[i];
            }
        }
        if (IsWeightBasis(m_state.basis)) {
            const auto converted = MoleToMassFractions(entered, m_state.mixture.MolecularWeights());
            std::copy(converted.begin(), converted.end(), entered.begin());
        }
    }
    emit streamNamed(mixture.name);
    ChangeMixture();
    m_busy.Stop();
    m_loadingPredefined = false;
}

void CompositionTab::SetBasis(CompositionBasis basis) {
    m_optWtMolFrac->button(static_cast<int>(basis))->setChecked(true);
    if (basis == m_state.basis) {
        return;
    }
    auto entered = m_state.mixture.EnteredComposition();
    const auto converted =
        ChangeCompositionBasis(entered, m_state.mixture.MolecularWeights(), m_state.basis, basis);
    std::copy(converted.begin(), converted.end(), entered.begin());
    m_state.basis = basis;
    emit inputChanged();
    m_filling = true;
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("Component"), ToQString(BasisColumnHeading(basis))});
    for (int row = 0; row < m_state.mixture.Count(); ++row) {
        ShowRow(row, true);
    }
    m_filling = false;
    ShowTotal();
}

void CompositionTab::ChangeMixture() {
    emit inputChanged();
    emit mixtureChanged();
    Rebuild();
}

void CompositionTab::Rebuild() {
    m_filling = true;
    const int n = m_state.mixture.Count();
    m_grid->clearContents();
    m_grid->setRowCount(n);
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("Component"), ToQString(BasisColumnHeading(m_state.basis))});
    for (int row = 0; row < n; ++row) {
        auto* name = new QTableWidgetItem(ToQString(m_state.mixture.Name(row)));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_grid->setItem(row, 0, name);
        auto* amount = new QTableWidgetItem;
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grid->setItem(row, 1, amount);
        ShowRow(row, false);
    }
    m_filling = false;
    m_optWtMolFrac->button(static_cast<int>(m_state.basis))->setChecked(true);
    ShowTotal();
    UpdateButtons();
}

void CompositionTab::ShowRow(int row, bool afterBasisChange) {
    const float fraction = m_state.mixture.EnteredComposition()[static_cast<std::size_t>(row)];
    QTableWidgetItem* item = m_grid->item(row, 1);
    if (afterBasisChange) {
        const double shown = IsPercentBasis(m_state.basis) ? 100.0 * fraction : fraction;
        item->setText(
            QString::fromStdString(Readable(shown, FormatEnteredAmount(fraction, m_state.basis))));
    } else if (fraction != 0.0F) {
        item->setText(RowAmountText(fraction, m_state.basis));
    }
}

float CompositionTab::Total() const {
    float sum = 0.0F;
    for (float value : m_state.mixture.EnteredComposition()) {
        sum += value;
    }
    return sum;
}

bool CompositionTab::TotalIsBad() const {
    // The tolerance is meant in decimal terms (a typed total of 0.99999 is accepted); one
    // float step at 1 is allowed on top, as 0.99999 itself is stored as 0.99998999.
    return !m_state.mixture.Empty() &&
           std::fabs(Total() - 1.0F) > kTotalTolerance + std::numeric_limits<float>::epsilon();
}

void CompositionTab::ShowTotal() {
    m_lblBasisCaption->setText(ToQString(BasisLabelCaption(m_state.basis)));
    if (m_state.mixture.Empty()) {
        m_lblPercent->setText(QStringLiteral(" "));
    } else {
        const double shown = IsPercentBasis(m_state.basis) ? 100.0 * Total() : Total();
        m_lblPercent->setText(QLocale().toString(shown, 'f', 4));
    }
    const QString style = TotalIsBad() ? QStringLiteral("color: rgb(255, 0, 0);") : QString();
    for (QLabel* label : {m_lblPercent, m_lblTotalCaption, m_lblBasisCaption}) {
        label->setStyleSheet(style);
    }
}

void CompositionTab::UpdateButtons() {
    const bool any = !m_state.mixture.Empty();
    m_cmdRemove->setEnabled(any);
    m_cmdReset->setEnabled(any);
    m_cmdNormalize->setEnabled(m_state.mixture.Count() >= 2);
}

void CompositionTab::AmountEdited(QTableWidgetItem* item) {
    if (m_filling || item->column() != 1 || item->row() >= m_state.mixture.Count()) {
        return;
    }
    const int row = item->row();
    const auto typed = ParseNumber(item->text());
    // Narrowed first, so that a number beyond the 32-bit range is refused, not stored as infinity.
    const float fraction =
        typed ? ToSingle(IsPercentBasis(m_state.basis) ? *typed / 100.0 : *typed) : NAN;
    const QString name = ToQString(m_state.mixture.Name(row));
    if (!std::isfinite(fraction) || fraction < 0.0F) {
        ShowMessage(this, kTitle,
                    (std::isfinite(fraction)
                         ? QStringLiteral("The amount of %1 cannot be negative; the previous "
                                          "amount is kept.")
                         : QStringLiteral("The amount of %1 must be a number; the previous amount "
                                          "is kept."))
                        .arg(name),
                    QMessageBox::Warning);
        m_filling = true;
        const float stored = m_state.mixture.EnteredComposition()[static_cast<std::size_t>(row)];
        item->setText(stored != 0.0F ? RowAmountText(stored, m_state.basis) : QString());
        m_filling = false;
        return;
    }
    m_state.mixture.EnteredComposition()[static_cast<std::size_t>(row)] = fraction;
    emit inputChanged();
    ShowTotal();
}

bool CompositionTab::RefuseNegativeAmount() {
    const auto entered = m_state.mixture.EnteredComposition();
    const auto negative =
        std::find_if(entered.begin(), entered.end(), [](float v) { return v < 0.0F; });
    if (negative == entered.end()) {
        return false;
    }
    const auto row = static_cast<int>(negative - entered.begin());
    ShowMessage(this, kTitle,
                QStringLiteral("The amount of %1 is negative. Enter an amount of zero or more "
                               "for it, then try again.")
                    .arg(ToQString(m_state.mixture.Name(row))),
                QMessageBox::Warning);
    m_grid->setCurrentCell(row, 1);
    return true;
}

bool CompositionTab::Leave() {
    if (RefuseNegativeAmount()) {
        return false;
    }
    if (TotalIsBad()) {
        ShowMessage(this, kTitle,
                    QStringLiteral("There is an error in the stream compositions.\n\nPlease check "
                                   "the input..."),
                    QMessageBox::Critical);
        return false;
    }
    const auto feed = FeedFromEntered(m_state.mixture.EnteredComposition(),
                                      m_state.mixture.MolecularWeights(), m_state.basis);
    auto target = m_state.mixture.FeedMoleFractions();
    std::copy(feed.begin(), feed.begin() + static_cast<std::ptrdiff_t>(target.size()),
              target.begin());
    return true;
}

} // namespace quorvane
