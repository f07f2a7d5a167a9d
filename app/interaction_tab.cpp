#include "app/interaction_tab.h"

#include "app/bip_table_window.h"
#include "app/dialog_seam.h"
#include "app/display_text.h"
#include "app/grid_clipboard.h"
#include "common/precision.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace quorvane {

namespace {
const QString kHeading = QStringLiteral("Equation of State Interaction Coefficients (kij):  ");
const QString kDiagonal = QStringLiteral("---");
} // namespace

InteractionTab::InteractionTab(MainState& state, QWidget* parent)
    : QWidget(parent), m_state(state) {
    setProperty("hint", QStringLiteral("Enter Interaction Coefficients"));
    auto* layout = new QVBoxLayout(this);
    m_heading = new QLabel(kHeading, this);
    m_heading->setObjectName(QStringLiteral("lblKijHeading"));
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    layout->addWidget(m_heading);

    m_grid = new QTableWidget(0, 0, this);
    m_grid->setObjectName(QStringLiteral("grdKij"));
    m_grid->setToolTip(QStringLiteral("Binary interaction parameters kij; the table is kept "
                                      "symmetric"));
    layout->addWidget(m_grid, 1);

    auto* row = new QHBoxLayout;
    m_chkEstimateKIJ =
        new QCheckBox(QStringLiteral("&Estimate kij from critical properties"), this);
    m_chkEstimateKIJ->setObjectName(QStringLiteral("chkEstimateKIJ"));
    m_cmdBIPTable = new QPushButton(QStringLiteral("&BIP Table..."), this);
    m_cmdBIPTable->setObjectName(QStringLiteral("cmdBIPTable"));
    row->addWidget(m_chkEstimateKIJ);
    row->addStretch();
    row->addWidget(m_cmdBIPTable);
    layout->addLayout(row);

    connect(m_chkEstimateKIJ, &QCheckBox::toggled, this, &InteractionTab::EstimateToggled);
    connect(m_cmdBIPTable, &QPushButton::clicked, this,
            [this] { ShowReferenceTable(m_state.flashCase.eosIndex); });
    connect(m_grid, &QTableWidget::itemChanged, this, &InteractionTab::CellEdited);
    SetEosText(QString());
    Rebuild();
}

void InteractionTab::SetEosText(const QString& eosText) {
    m_heading->setText(kHeading + eosText);
    // Reference tables exist for the SRK and PR variants only; with RK the button has nothing
    // to show, so it is disabled and says why.
    const int eos = m_state.flashCase.eosIndex;
    const bool hasTable = eos >= 1 && eos <= 4;
    m_cmdBIPTable->setEnabled(hasTable);
    m_cmdBIPTable->setToolTip(hasTable ? QStringLiteral("Reference table of interaction parameters "
                                                        "for the chosen equation of state")
                                       : QStringLiteral("Reference tables exist for the SRK and PR "
                                                        "equations only"));
}

bool InteractionTab::Estimate() const {
    return m_chkEstimateKIJ->isChecked();
}

void InteractionTab::SetEstimate(bool estimate) {
    m_chkEstimateKIJ->setChecked(estimate);
}

void InteractionTab::ShowLoadedTable(bool estimate) {
    {
        const QSignalBlocker blocker(m_chkEstimateKIJ);
        m_chkEstimateKIJ->setChecked(estimate);
    }
    m_state.flashCase.estimateKij = estimate;
    m_keepTable = true;
    Rebuild();
    m_keepTable = false;
}

void InteractionTab::EstimateToggled(bool checked) {
    m_state.flashCase.estimateKij = checked;
    const int n = m_state.mixture.Count();
    if (checked) {
        ApplyEstimate();
    } else if (n >= 1) {
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                m_state.mixture.SetKij(i, j, 0.0F);
            }
        }
    }
    Rebuild();
    emit inputChanged();
}

void InteractionTab::ApplyEstimate() {
    const int n = m_state.mixture.Count();
    if (n < 2) {
        return;
    }
    const KijTable estimate =
        EstimateKij(m_state.mixture.CriticalTemperaturesF(), m_state.mixture.CriticalZ());
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            m_state.mixture.SetKij(i, j, estimate(i, j));
        }
    }
}

void InteractionTab::Rebuild() {
    if (Estimate() && !m_keepTable) {
        // A component added while the box is set gets its estimate too.
        ApplyEstimate();
    }
    m_filling = true;
    const int n = m_state.mixture.Count();
    m_grid->clearContents();
    m_grid->setRowCount(n);
    m_grid->setColumnCount(n);
    QStringList names;
    for (int i = 0; i < n; ++i) {
        names << ToQString(m_state.mixture.Name(i));
    }
    m_grid->setHorizontalHeaderLabels(names);
    m_grid->setVerticalHeaderLabels(names);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (r == c) {
                item->setText(kDiagonal);
                item->setTextAlignment(Qt::AlignCenter);
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            }
            m_grid->setItem(r, c, item);
            if (r != c) {
                ShowCell(r, c);
            }
        }
    }
    m_grid->resizeColumnsToContents();
    m_filling = false;
}

void InteractionTab::ShowCell(int row, int column) {
    m_grid->item(row, column)
        ->setText(FormatFixed(static_cast<double>(m_state.mixture.Kij(row, column)), 4));
}

bool InteractionTab::StoreCell(int row, int column, const QString& text) {
    const auto typed = ParseNumber(text);
    if (!typed) {
        return false;
    }
    // A number beyond the 32-bit range would be stored as infinity.
    const float value = ToSingle(*typed);
    if (!std::isfinite(value)) {
        return false;
    }
    if (value != m_state.mixture.Kij(row, column) || value != m_state.mixture.Kij(column, row)) {
        m_state.mixture.SetKijPair(row, column, value);
        emit inputChanged();
    }
    return true;
}

void InteractionTab::CellEdited(QTableWidgetItem* item) {
    if (m_filling) {
        return;
    }
    const int row = item->row();
    const int column = item->column();
    const int n = m_state.mixture.Count();
    if (row == column || row >= n || column >= n) {
        return;
    }
    m_filling = true;
    if (StoreCell(row, column, item->text())) {
        // The mirror cell shows the same text.
        m_grid->item(column, row)->setText(item->text());
    } else {
        ShowMessage(
            this, QStringLiteral("Quorvane"),
            QStringLiteral("The interaction coefficient must be a number; the previous value is "
                           "kept."),
            QMessageBox::Warning);
        ShowCell(row, column);
    }
    m_filling = false;
}

void InteractionTab::Paste(const QString& text) {
    const QList<QStringList> rows = ParseTableText(text);
    const int n = m_state.mixture.Count();
    const int top = std::max(0, m_grid->currentRow());
    const int left = std::max(0, m_grid->currentColumn());
    bool rejected = false;
    m_filling = true;
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const int row = top + r;
            const int column = left + c;
            if (row >= n || column >= n || row == column) {
                continue;
            }
            if (StoreCell(row, column, rows[r][c])) {
                ShowCell(row, column);
                ShowCell(column, row);
            } else if (rows[r][c].trimmed() != kDiagonal) {
                rejected = true;
            }
        }
    }
    m_filling = false;
    if (rejected) {
        ShowMessage(this, QStringLiteral("Quorvane"),
                    QStringLiteral("Some pasted cells were not numbers and were left unchanged."),
                    QMessageBox::Warning);
    }
}

BipTableWindow* InteractionTab::ShowReferenceTable(int eosIndex) {
    QPointer<BipTableWindow>* slot = nullptr;
    QString name;
    if (eosIndex == 1 || eosIndex == 2) {
        slot = &m_srkTable;
        name = QStringLiteral("SRK");
    } else if (eosIndex == 3 || eosIndex == 4) {
        slot = &m_prTable;
        name = QStringLiteral("PR");
    } else {
        return nullptr;
    }
    if (slot->isNull()) {
        *slot = new BipTableWindow(name, window());
    }
    (*slot)->show();
    (*slot)->raise();
    (*slot)->activateWindow();
    return slot->data();
}

bool InteractionTab::CloseReferenceTables() {
    for (const QPointer<BipTableWindow>& table : {m_srkTable, m_prTable}) {
        if (!table.isNull() && table->isVisible() && !table->close()) {
            return false;
        }
    }
    return true;
}

} // namespace quorvane
