#pragma once

// A reference table of interaction parameters for one equation of state (SRK or PR): compound
// names in row 0 and column 0, kij texts in the cells ("---" where there is no value), kept in
// ".qvb" table files. Values reach the mixture by copy and paste.

#include "app/bip_table_file.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace quorvane {

class BipTableWindow : public QDialog {
    Q_OBJECT
public:
    // equationName is "SRK" or "PR"; it names the window and its messages.
    BipTableWindow(const QString& equationName, QWidget* parent = nullptr);

    void AddCompound();
    void DeleteSelectedCompound();
    void CopySelection();
    void OpenTable();
    void SaveTable();

    BipGrid Grid() const;
    void SetGrid(const BipGrid& grid);
    bool IsChanged() const;
    QTableWidget* Table() const { return m_grid; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void TransferTable(bool save);
    bool ConfirmClose();
    void AddCompoundNamed(const QString& name);
    QString EntryTitle() const;

    QString m_equation;
    QTableWidget* m_grid = nullptr;
    QPushButton* m_cmdSave = nullptr;
    bool m_filling = false;
};

} // namespace quorvane
