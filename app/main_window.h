#pragma once

// frmMain: the one main window. It owns the calculation state (MainState) for the program's
// life, holds the six tabs, the menus, the toolbar and the status bar, and routes every
// command to the tab or dialog that does the work.

#include "app/main_state.h"

#include <QMainWindow>
#include <QPointer>
#include <array>

class QAction;
class QLabel;
class QTabWidget;
class QToolBar;

namespace quorvane {

class BusyIndicator;
class CaseCommands;
class CompositionTab;
class FlashSetupTab;
class HelpWindow;
class InteractionTab;
class ReportTab;
class ResultsTab;
class UnitSelectors;
class WaterTab;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    enum Tab {
        kSettingsTab,
        kCompositionTab,
        kInteractionTab,
        kPropertiesTab,
        kWaterTab,
        kSummaryTab,
        kTabCount
    };

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Empty when the component database opened; otherwise what went wrong.
    const QString& DatabaseError() const { return m_databaseError; }

    MainState& State() { return m_state; }
    bool RecalculationFlag() const { return m_state.recalc; }
    void SetRecalculationFlag();

    // Runs the flash when the results tab asks for it (see the flash road in ResultsTab). What
    // went wrong, or why nothing ran, is shown in the results tab's banner.
    void RunFlashIfNeeded();
    // The Calculate command (F5, Ctrl+R): takes a value still being typed, runs the flash for
    // the current inputs and shows the results tab.
    void Calculate();

    // Redisplays every value from the internal values in the current units and formats.
    void RedisplayAll();
    // Sets every unit selector to the unit set (as on activation and after the unit dialog).
    void FollowUnitSet();
    void SetUnitSet(const UnitSet& units);

    void AddDigits();
    void RemoveDigits();

    // The status-bar summary ("Flash: TP, EOS: PR, T=60 °F, P=15 psia").
    QString SummaryText() const;
    QString StatusText() const;

    void BringToFront();

    QTabWidget* Tabs() const { return m_tabs; }
    CompositionTab* Composition() const { return m_composition; }
    InteractionTab* Interaction() const { return m_interaction; }
    ResultsTab* Results() const { return m_results; }
    ReportTab* Report() const { return m_report; }
    CaseCommands* Cases() const { return m_cases; }
    WaterTab* Water() const { return m_water; }
    UnitSelectors& Selectors() const { return *m_selectors; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenDatabase();
    void LoadSettings();
    void SaveSettings();
    void BuildTabs();
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void TabChanged(int index);
    void UnitSelectorChanged(int index);
    void UpdateSummary();
    void ShowUnitOptions();
    void ShowHelp(const QString& anchor, bool search = false);
    void ShowAbout();
    void CutCopyPaste(int command);
    void RegisterGridEdits();
    void RebuildReport();
    void ChangeDigits(bool add);
    void TrackFocus(QWidget* now);

    MainState m_state;
    QString m_databaseError;
    UnitSelectors* m_selectors = nullptr;
    QTabWidget* m_tabs = nullptr;
    FlashSetupTab* m_setup = nullptr;
    CompositionTab* m_composition = nullptr;
    InteractionTab* m_interaction = nullptr;
    ResultsTab* m_results = nullptr;
    ReportTab* m_report = nullptr;
    CaseCommands* m_cases = nullptr;
    WaterTab* m_water = nullptr;
    BusyIndicator* m_busy = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_statusTab = nullptr;
    QLabel* m_statusSummary = nullptr;
    QPointer<HelpWindow> m_help;
    QMetaObject::Connection m_focusConnection;
    QPointer<QWidget> m_formatField; // the result field whose format Add/Remove Digits change
    int m_previousTab = 0;
    bool m_switchingBack = false;
};

} // namespace quorvane
