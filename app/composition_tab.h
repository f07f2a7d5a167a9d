#pragma once

// The composition step: the database component list, the mixture grid with its amounts on one
// of four bases, add/remove/reset/normalize, the predefined mixtures and the running total.

#include "app/main_state.h"

#include <QWidget>

class QButtonGroup;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace quorvane {

class BusyIndicator;
class ComponentBox;

class CompositionTab : public QWidget {
    Q_OBJECT
public:
    CompositionTab(MainState& state, BusyIndicator& busy, QWidget* parent = nullptr);

    // The add command with the component named in the box; a name the database does not
    // hold is refused with a message.
    void AddSelectedComponent();
    void FocusComponentList();
    // Selects a database component by name in the list; false when it is not offered.
    bool SelectComponent(const QString& name);
    void RemoveCurrentComponent();
    // Asks first while components exist (unless a predefined mixture is loading); false when
    // the user kept the mixture.
    bool Reset();
    void Normalize();
    void LoadPredefinedMixture(int item);
    void SetBasis(CompositionBasis basis);

    // The sum of the entered fractions and whether it is off 1 by more than the tolerance.
    float Total() const;
    bool TotalIsBad() const;

    // Leaving the step: blocks (after the message) a bad total, otherwise makes the feed mole
    // fractions from the entered composition.
    bool Leave();

    // Rebuilds the grid and the total from the mixture.
    void Rebuild();

    static constexpr float kTotalTolerance = 1e-5F;
    static const QStringList& PredefinedMixtureNames();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void inputChanged();
    void mixtureChanged();
    void streamNamed(const QString& name);

private:
    void BuildLayout();
    void AmountEdited(QTableWidgetItem* item);
    void ShowRow(int row, bool afterBasisChange);
    void ShowTotal();
    void UpdateButtons();
    void ChangeMixture();
    // Names the first component with a negative amount (one read from a stored case) and
    // selects its row; false when there is none.
    bool RefuseNegativeAmount();

    MainState& m_state;
    BusyIndicator& m_busy;
    ComponentBox* m_dbcComp = nullptr;
    QPushButton* m_cmdAdd = nullptr;
    QPushButton* m_cmdRemove = nullptr;
    QPushButton* m_cmdReset = nullptr;
    QPushButton* m_cmdNormalize = nullptr;
    QListWidget* m_lstPreDefined = nullptr;
    QButtonGroup* m_optWtMolFrac = nullptr;
    QTableWidget* m_grid = nullptr;
    QLabel* m_lblTotalCaption = nullptr;
    QLabel* m_lblBasisCaption = nullptr;
    QLabel* m_lblPercent = nullptr;
    bool m_loadingPredefined = false;
    bool m_filling = false;
    bool m_listDroppedThisFocus = false; // the component list opens once per visit
};

} // namespace quorvane
