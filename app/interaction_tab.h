#pragma once

// The interaction-coefficient step: the square kij grid of the mixture ("---" on the diagonal,
// edits mirrored to keep the table symmetric), the estimate check box and the reference tables.

#include "app/main_state.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QPushButton;
class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace quorvane {

class BipTableWindow;

class InteractionTab : public QWidget {
    Q_OBJECT
public:
    InteractionTab(MainState& state, QWidget* parent = nullptr);

    // Rebuilds the grid from the table (re-estimating first while the estimate box is set).
    void Rebuild();
    void SetEosText(const QString& eosText);
    void SetEstimate(bool estimate);
    bool Estimate() const;
    // Shows the table of an opened case: the estimate box as it was saved, without estimating
    // again, since the saved table may hold values edited after the estimate.
    void ShowLoadedTable(bool estimate);
    // Shows the reference table window of the chosen equation (SRK or PR variants); returns it.
    BipTableWindow* ShowReferenceTable(int eosIndex);
    // Closes the open reference tables, each asking about unsaved changes; false when one stays.
    bool CloseReferenceTables();
    // Pastes tab-separated values at the current cell, each kept symmetric.
    void Paste(const QString& text);
    QTableWidget* Grid() const { return m_grid; }

signals:
    void inputChanged();

private:
    void EstimateToggled(bool checked);
    void ApplyEstimate();
    void CellEdited(QTableWidgetItem* item);
    bool StoreCell(int row, int column, const QString& text);
    void ShowCell(int row, int column);

    MainState& m_state;
    QLabel* m_heading = nullptr;
    QTableWidget* m_grid = nullptr;
    QCheckBox* m_chkEstimateKIJ = nullptr;
    QPushButton* m_cmdBIPTable = nullptr;
    QPointer<BipTableWindow> m_srkTable;
    QPointer<BipTableWindow> m_prTable;
    bool m_filling = false;
    bool m_keepTable = false; // Rebuild shows the table as it is
};

} // namespace quorvane
