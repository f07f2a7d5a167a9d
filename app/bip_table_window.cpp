#include "app/bip_table_window.h"

#include "app/dialog_fit.h"
#include "app/dialog_seam.h"
#include "app/grid_clipboard.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorvane {

namespace {
const QString kNoValue = QStringLiteral("---");
const QString kFilter = QStringLiteral("All Files (*);;Quorvane BIP File (*.qvb)");
const QString kQvbFilter = QStringLiteral("Quorvane BIP File (*.qvb)");
} // namespace

BipTableWindow::BipTableWindow(const QString& equationName, QWidget* parent)
    : QDialog(parent), m_equation(equationName) {
    setObjectName(QStringLiteral("frm%1BIPTable").arg(equationName));
    setWindowTitle(QStringLiteral("Quorvane:  %1 Binary Interaction Parameters").arg(equationName));
    resize(640, 420);
    FitToTitle(*this);
    auto* layout = new QVBoxLayout(this);
    m_grid = new QTableWidget(1, 1, this);
    m_grid->setObjectName(QStringLiteral("grdGrid"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setItem(0, 0, new QTableWidgetItem(QString()));
    m_grid->item(0, 0)->setFlags(Qt::ItemIsEnabled);
    layout->addWidget(m_grid, 1);

    auto* buttons = new QHBoxLayout;
    auto makeButton = [this, buttons](const QString& caption, const QString& name) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        buttons->addWidget(button);
        return button;
    };
    QPushButton* add = makeButton(QStringLiteral("&Add..."), QStringLiteral("cmdAdd"));
    QPushButton* remove = makeButton(QStringLiteral("&Delete"), QStringLiteral("cmdDelete"));
    QPushButton* copy = makeButton(QStringLiteral("&Copy"), QStringLiteral("cmdCopy"));
    QPushButton* open = makeButton(QStringLiteral("&Open..."), QStringLiteral("cmdOpen"));
    m_cmdSave = makeButton(QStringLiteral("&Save..."), QStringLiteral("cmdSave"));
    buttons->addStretch();
    QPushButton* close = makeButton(QStringLiteral("C&lose"), QStringLiteral("cmdClose"));
    layout->addLayout(buttons);
    m_cmdSave->setEnabled(false);

    connect(add, &QPushButton::clicked, this, &BipTableWindow::AddCompound);
    connect(remove, &QPushButton::clicked, this, &BipTableWindow::DeleteSelectedCompound);
    connect(copy, &QPushButton::clicked, this, &BipTableWindow::CopySelection);
    connect(open, &QPushButton::clicked, this, &BipTableWindow::OpenTable);
    connect(m_cmdSave, &QPushButton::clicked, this, &BipTableWindow::SaveTable);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    // Ctrl+C copies the selected block as tab-separated text, as the Copy button does.
    auto* copyKey = new QShortcut(QKeySequence::Copy, m_grid);
    copyKey->setContext(Qt::WidgetShortcut);
    connect(copyKey, &QShortcut::activated, this, &BipTableWindow::CopySelection);
    connect(m_grid, &QTableWidget::itemChanged, this, [this] {
        if (!m_filling) {
            m_cmdSave->setEnabled(true);
        }
    });
}

QString BipTableWindow::EntryTitle() const {
    return QStringLiteral("Quorvane:  %1 BIP Entry").arg(m_equation);
}

void BipTableWindow::AddCompound() {
    const auto name =
        DialogSeam::Text(this, EntryTitle(), QStringLiteral("Enter the compound name..."));
    if (!name || name->trimmed().isEmpty()) {
        return;
    }
    AddCompoundNamed(name->trimmed());
}

void BipTableWindow::AddCompoundNamed(const QString& name) {
    m_filling = true;
    const int index = m_grid->rowCount();
    m_grid->setRowCount(index + 1);
    m_grid->setColumnCount(index + 1);
    auto* rowHeader = new QTableWidgetItem(name);
    m_grid->setItem(index, 0, rowHeader);
    auto* columnHeader = new QTableWidgetItem(name);
    columnHeader->setTextAlignment(Qt::AlignCenter);
    m_grid->setItem(0, index, columnHeader);
    for (int i = 1; i <= index; ++i) {
        m_grid->setItem(index, i, new QTableWidgetItem(kNoValue));
        if (i < index) {
            m_grid->setItem(i, index, new QTableWidgetItem(kNoValue));
        }
    }
    m_filling = false;
    m_cmdSave->setEnabled(true);
}

void BipTableWindow::DeleteSelectedCompound() {
    // The compound of the current row, or of the current column on the name row.
    int index = m_grid->currentRow();
    if (index <= 0) {
        index = m_grid->currentColumn();
    }
    if (index <= 0 || index >= m_grid->rowCount()) {
        return;
    }
    const QTableWidgetItem* header = m_grid->item(index, 0);
    const QString name = header != nullptr ? header->text() : QString();
    if (!AskOkCancel(this, QStringLiteral("Quorvane:  Delete %1 BIP").arg(m_equation),
                     QStringLiteral("Delete the component, ") + name + QStringLiteral("?"))) {
        return;
    }
    m_filling = true;
    m_grid->removeRow(index);
    if (index < m_grid->columnCount()) {
        m_grid->removeColumn(index);
    }
    m_filling = false;
    m_cmdSave->setEnabled(true);
}

void BipTableWindow::CopySelection() {
    CopySelectedCells(*m_grid);
}

// Asks for a table file; the whole grid is read from or written to it. A cancelled dialog or a
// failed read or write leaves the grid and the changed mark as they were.
void BipTableWindow::TransferTable(bool save) {
    FileRequest request;
    request.caption =
        (save ? QStringLiteral("Save %1 BIP Table") : QStringLiteral("Open %1 BIP Table"))
            .arg(m_equation);
    request.filter = kFilter;
    request.selectedFilter = kQvbFilter;
    request.defaultSuffix = QStringLiteral("qvb");
    request.save = save;
    const QString path = DialogSeam::FileName(this, request);
    if (path.isEmpty()) {
        return;
    }
    try {
        if (save) {
            SaveBipTableFile(path.toStdString(), Grid());
        } else {
            SetGrid(LoadBipTableFile(path.toStdString()));
        }
    } catch (const std::exception& error) {
        ShowMessage(this, EntryTitle(),
                    (save ? QStringLiteral("The BIP table could not be saved.\n\n")
                          : QStringLiteral("The BIP table could not be read.\n\n")) +
                        error.what(),
                    QMessageBox::Critical);
        return;
    }
    m_cmdSave->setEnabled(false);
}

void BipTableWindow::OpenTable() {
    TransferTable(false);
}

void BipTableWindow::SaveTable() {
    TransferTable(true);
}

BipGrid BipTableWindow::Grid() const {
    BipGrid grid(static_cast<std::size_t>(m_grid->rowCount()));
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        for (int c = 0; c < m_grid->columnCount(); ++c) {
            const QTableWidgetItem* item = m_grid->item(r, c);
            grid[static_cast<std::size_t>(r)].push_back(item != nullptr ? item->text().toStdString()
                                                                        : std::string());
        }
    }
    return grid;
}

void BipTableWindow::SetGrid(const BipGrid& grid) {
    m_filling = true;
    const auto rows = static_cast<int>(grid.size());
    const int columns = grid.empty() ? 0 : static_cast<int>(grid.front().size());
    m_grid->clearContents();
    m_grid->setRowCount(rows);
    m_grid->setColumnCount(columns);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(
                grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
            if (r == 0 && c > 0) {
                item->setTextAlignment(Qt::AlignCenter);
            }
            m_grid->setItem(r, c, item);
        }
    }
    m_filling = false;
}

bool BipTableWindow::IsChanged() const {
    return m_cmdSave->isEnabled();
}

bool BipTableWindow::ConfirmClose() {
    if (!IsChanged()) {
        return true;
    }
    return AskYesNo(this, EntryTitle(), QStringLiteral("Exit without saving the BIP Table?"),
                    QMessageBox::No);
}

void BipTableWindow::closeEvent(QCloseEvent* event) {
    if (ConfirmClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void BipTableWindow::reject() {
    // Escape closes the window through the same question.
    if (ConfirmClose()) {
        QDialog::reject();
    }
}

} // namespace quorvane
