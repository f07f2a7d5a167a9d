#pragma once

// The settings tab: stream name, flash type, the state variables in their display units and
// the equation of state with its notes.

#include "app/main_state.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace quorvane {

class UnitSelectors;

class FlashSetupTab : public QWidget {
    Q_OBJECT
public:
    FlashSetupTab(MainState& state, UnitSelectors& selectors, QWidget* parent = nullptr);

    // Show the stored state variables in the units of selectors 0 and 1 (never from the text
    // on screen, so unit changes do not accumulate rounding).
    void ShowTemperature();
    void ShowPressure();
    void ShowVapourFraction();
    void ShowStateVariables();

    // Equation-of-state list index, -1 when none is chosen.
    int EosIndex() const;
    void SetEosIndex(int index);
    QString EosText() const;
    FlashType SelectedFlashType() const;
    void SetFlashType(FlashType type);
    QString StreamName() const;
    // The state variables as displayed (field 0 and 1 of the report).
    QString TemperatureText() const;
    QString PressureText() const;
    void SetStreamName(const QString& name);

signals:
    void inputChanged();
    void eosChanged();
    void flashTypeChanged();

private:
    void BuildLayout(UnitSelectors& selectors);
    void TemperatureEdited();
    void PressureEdited();
    void VapourFractionEdited();
    void EosSelected();
    void FlashTypeSelected();
    void ShowNotes(int index);

    MainState& m_state;
    UnitSelectors& m_selectors;
    QLineEdit* m_txtStreamName = nullptr;
    QComboBox* m_cboFlashType = nullptr;
    QLineEdit* m_txtTemp = nullptr;
    QLineEdit* m_txtPress = nullptr;
    QLineEdit* m_txtVapFrac = nullptr;
    QListWidget* m_lstEOS = nullptr;
    QTextBrowser* m_rtfNotes = nullptr;
};

} // namespace quorvane
