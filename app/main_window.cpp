#include "app/main_window.h"

#include "app/busy_indicator.h"
#include "app/calculator_launcher.h"
#include "app/case_commands.h"
#include "app/composition_paste.h"
#include "app/composition_tab.h"
#include "app/dialog_seam.h"
#include "app/disclaimer_window.h"
#include "app/display_text.h"
#include "app/edit_commands.h"
#include "app/envelope/phase_envelope_command.h"
#include "app/flash_runner.h"
#include "app/flash_setup_tab.h"
#include "app/help_window.h"
#include "app/interaction_tab.h"
#include "app/program_folder.h"
#include "app/report/report_tab.h"
#include "app/results_tab.h"
#include "app/unit_options_dialog.h"
#include "app/unit_selectors.h"
#include "app/water_tab.h"
#include "units/number_format.h"
#include "units/unit_catalogue.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>

namespace quorvane {

namespace {

struct TabInfo {
    const char* caption;
    const char* status;
    const char* helpTopic;
};

constexpr std::array<TabInfo, MainWindow::kTabCount> kTabInfo = {{
    {"&Settings", "Select Flash Setting and EOS Model", "settings"},
    {"&Composition", "Enter Stream Components/Compositions", "composition"},
    {"&Interaction Coefficients", "Enter Interaction Coefficients", "interaction"},
    {"&Properties", "Flash Results", "properties"},
    {"&Water/Dadez", "Water/Dadez Calculator", "water"},
    {"S&ummary", "Flash Summary for Copying/Printing", "summary"},
}};

enum ClipboardCommand { kCut, kCopy, kPaste };
static_assert(static_cast<int>(EditVerb::Cut) == kCut &&
              static_cast<int>(EditVerb::Copy) == kCopy &&
              static_cast<int>(EditVerb::Paste) == kPaste);

// Standard starting state: 60 °F and one standard atmosphere.
constexpr float kStartTempF = 60.0F;
constexpr float kStartPressPsia = 14.6959F;

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvane"));
    m_state.flashCase.tempF = kStartTempF;
    m_state.flashCase.pressPsia = kStartPressPsia;
    OpenDatabase();
    LoadSettings();
    m_selectors = new UnitSelectors(this);
    BuildTabs();
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    FollowUnitSet();
    RedisplayAll();
    TabChanged(0);
    connect(m_selectors, &UnitSelectors::unitChanged, this, &MainWindow::UnitSelectorChanged);
    m_focusConnection = connect(qApp, &QApplication::focusChanged, this,
                                [this](QWidget*, QWidget* now) { TrackFocus(now); });
    qApp->installEventFilter(this);
    // The preferred size, made smaller on a small screen (room left for the window frame,
    // which the window system adds outside this size). The window fits 1024 x 700; pages
    // larger than it scroll.
    QSize size(1100, 720);
    if (const QScreen* shown = screen(); shown != nullptr) {
        size = size.boundedTo(shown->availableGeometry().size() - QSize(24, 60));
    }
    resize(size.expandedTo(minimumSizeHint()));
}

MainWindow::~MainWindow() {
    // Focus moves while the child widgets are destroyed; this window must no longer hear it.
    disconnect(m_focusConnection);
    qApp->removeEventFilter(this);
}

void MainWindow::OpenDatabase() {
    const QString path = ProgramFile(ToQString(kComponentDatabaseFileName));
    try {
        m_state.database =
            std::make_unique<ComponentDatabase>(OpenComponentDatabase(path.toStdString()));
        m_state.mixture.SetRowWidth(m_state.database->RowWidth());
    } catch (const std::exception& error) {
        m_databaseError = QStringLiteral("The component database \"%1\" could not be opened.\n\n%2")
                              .arg(path, QString::fromUtf8(error.what()));
    }
}

void MainWindow::LoadSettings() {
    m_state.units = SettingsStore::ReadUnits();
    m_state.formats = SettingsStore::ReadNumberFormats();
    m_state.recentFiles = SettingsStore::ReadRecentFiles();
}

void MainWindow::SaveSettings() {
    SettingsStore::WriteUnits(m_state.units);
    SettingsStore::WriteNumberFormats(m_state.formats);
}

void MainWindow::BuildTabs() {
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_busy = new BusyIndicator(m_tabs);

    m_setup = new FlashSetupTab(m_state, *m_selectors);
    m_composition = new CompositionTab(m_state, *m_busy);
    m_interaction = new InteractionTab(m_state);
    m_results = new ResultsTab(m_state, *m_selectors);
    m_water = new WaterTab(m_state, *m_selectors);
    m_report = new ReportTab(m_state, *m_setup, *m_results, *m_selectors);
    QWidget* pages[] = {m_setup, m_composition, m_interaction, m_results, m_water, m_report};
    for (int i = 0; i < kTabCount; ++i) {
        // A page larger than the window scrolls instead of widening the window or being cut.
        auto* scroll = new QScrollArea;
        scroll->setObjectName(QStringLiteral("scrollTab%1").arg(i));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(pages[i]);
        m_tabs->addTab(scroll, QString::fromLatin1(kTabInfo[static_cast<std::size_t>(i)].caption));
    }
    auto* envelope = new QPushButton(QStringLiteral("&Phase Envelope"), m_tabs);
    envelope->setObjectName(QStringLiteral("cmdPhaseEnvelope"));
    envelope->setToolTip(QStringLiteral("Trace and plot the phase envelope of the mixture"));
    envelope->setProperty("enterActivates", true);
    m_tabs->setCornerWidget(envelope, Qt::TopRightCorner);
    connect(envelope, &QPushButton::clicked, this, [this] {
        // Amounts typed on the composition tab become the feed as the tab is left.
        if (m_tabs->currentIndex() == kCompositionTab && !m_composition->Leave()) {
            return;
        }
        StartPhaseEnvelope(m_state, this);
    });
    setCentralWidget(m_tabs);

    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::TabChanged);
    connect(m_setup, &FlashSetupTab::inputChanged, this, &MainWindow::SetRecalculationFlag);
    connect(m_setup, &FlashSetupTab::inputChanged, this, &MainWindow::UpdateSummary);
    connect(m_setup, &FlashSetupTab::eosChanged, this, [this] {
        m_interaction->SetEosText(m_setup->EosText());
        UpdateSummary();
    });
    connect(m_setup, &FlashSetupTab::flashTypeChanged, this, &MainWindow::UpdateSummary);
    connect(m_composition, &CompositionTab::inputChanged, this, &MainWindow::SetRecalculationFlag);
    connect(m_composition, &CompositionTab::mixtureChanged, this, [this] {
        m_state.haveResults = false;
        m_interaction->Rebuild();
        m_results->ShowResults();
        m_results->HideBanner();
        m_results->SetValuesStale(false);
    });
    connect(m_composition, &CompositionTab::streamNamed, m_setup, &FlashSetupTab::SetStreamName);
    connect(m_interaction, &InteractionTab::inputChanged, this, &MainWindow::SetRecalculationFlag);
    connect(m_water, &WaterTab::formulationChanged, this, &MainWindow::UpdateSummary);
    m_interaction->SetEosText(m_setup->EosText());

    m_cases = new CaseCommands(m_state, *m_setup, *m_composition, *m_interaction, this);
    connect(m_cases, &CaseCommands::caseShown, this, [this] {
        m_water->ShowStoredState();
        m_results->ShowResults();
        RebuildReport();
        UpdateSummary();
    });
    RegisterGridEdits();
}

void MainWindow::RegisterGridEdits() {
    auto* composition = m_composition->findChild<QTableWidget*>(QStringLiteral("grdGrid"));
    GridEditHandlers compositionEdits;
    compositionEdits.paste = [this, composition](const QString& text) {
        PasteIntoComposition(m_state, *m_composition, composition->currentRow(), text);
    };
    compositionEdits.copyHeadings = true;
    SetGridEditHandlers(*composition, compositionEdits);

    GridEditHandlers interactionEdits;
    interactionEdits.paste = [this](const QString& text) { m_interaction->Paste(text); };
    SetGridEditHandlers(*m_interaction->Grid(), interactionEdits);

    // A copy of the whole results grid names the flash and its conditions.
    GridEditHandlers resultEdits;
    resultEdits.copyPreamble = [this] {
        return m_report->ConditionLines() << m_results->CompositionHeading();
    };
    resultEdits.copyHeadings = true;
    SetGridEditHandlers(*m_results->CompositionGrid(), resultEdits);
}

void MainWindow::RebuildReport() {
    if (m_report != nullptr) {
        m_report->Rebuild();
    }
}

void MainWindow::BuildMenus() {
    auto action = [this](QMenu* menu, const QString& caption, const QString& name,
                         auto slot) -> QAction* {
        QAction* act = menu->addAction(caption);
        act->setObjectName(name);
        connect(act, &QAction::triggered, this, slot);
        return act;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    action(file, QStringLiteral("&Open..."), QStringLiteral("mnuFileOpen"), [this] {
        m_cases->Open();
    })->setShortcut(QKeySequence::Open);
    action(file, QStringLiteral("&Close"), QStringLiteral("mnuFileClose"), [this] {
        m_cases->Close();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    action(file, QStringLiteral("&Save"), QStringLiteral("mnuFileSave"), [this] {
        m_cases->Save();
    })->setShortcut(QKeySequence::Save);
    file->addSeparator();
    action(file, QStringLiteral("Print Set&up..."), QStringLiteral("mnuFilePrintSetup"),
           [this] { m_report->PageSetup(); });
    action(file, QStringLiteral("&Print..."), QStringLiteral("mnuFilePrint"), [this] {
        m_report->Print();
    })->setShortcut(QKeySequence::Print);
    action(file, QStringLiteral("&Export Report as PDF..."), QStringLiteral("mnuFileExportPdf"),
           [this] { m_report->ExportPdf(); });
    file->addSeparator();
    m_cases->AddRecentFileItems(file);
    action(file, QStringLiteral("E&xit"), QStringLiteral("mnuFileExit"), [this] {
        close();
    })->setShortcut(QKeySequence::Quit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    action(edit, QStringLiteral("Cu&t"), QStringLiteral("mnuEditCut"), [this] {
        CutCopyPaste(kCut);
    })->setShortcut(QKeySequence::Cut);
    action(edit, QStringLiteral("&Copy"), QStringLiteral("mnuEditCopy"), [this] {
        CutCopyPaste(kCopy);
    })->setShortcut(QKeySequence::Copy);
    action(edit, QStringLiteral("&Paste"), QStringLiteral("mnuEditPaste"), [this] {
        CutCopyPaste(kPaste);
    })->setShortcut(QKeySequence::Paste);
    for (QAction* act : edit->actions()) {
        // The focused widget handles the keys itself; the menu items route by hand.
        act->setShortcutContext(Qt::WidgetShortcut);
    }

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* toolbar = action(view, QStringLiteral("&Toolbar"), QStringLiteral("mnuViewToolbar"),
                              [this](bool on) { m_toolBar->setVisible(on); });
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    QAction* status =
        action(view, QStringLiteral("Status &Bar"), QStringLiteral("mnuViewStatusBar"),
               [this](bool on) { statusBar()->setVisible(on); });
    status->setCheckable(true);
    status->setChecked(true);
    view->addSeparator();
    action(view, QStringLiteral("View Disclai&mer"), QStringLiteral("mnuViewDisclaimer"),
           [this] { ShowDisclaimer(this); });
    action(view, QStringLiteral("&Calculator..."), QStringLiteral("mnuViewCalculator"),
           [this] { StartCalculator(this); });
    view->addSeparator();
    action(view, QStringLiteral("&Flash Setup"), QStringLiteral("mnuViewFlash"),
           [this] { m_tabs->setCurrentIndex(kSettingsTab); });
    action(view, QStringLiteral("Ca&lculate"), QStringLiteral("mnuViewCalculate"), [this] {
        Calculate();
    })->setShortcuts({QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_R)});
    action(view, QStringLiteral("&Water/Dadez Properties"), QStringLiteral("mnuViewWater"), [this] {
        m_tabs->setCurrentIndex(kWaterTab);
        m_water->ShowCalculator();
    });
    view->addSeparator();
    action(view, QStringLiteral("&Add Digits"), QStringLiteral("mnuViewAddDigits"),
           [this] { AddDigits(); });
    action(view, QStringLiteral("&Remove Digits"), QStringLiteral("mnuViewRemoveDigits"),
           [this] { RemoveDigits(); });
    view->addSeparator();
    action(view, QStringLiteral("&Units of Measurement..."), QStringLiteral("mnuViewUnits"),
           [this] { ShowUnitOptions(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    action(help, QStringLiteral("&Contents"), QStringLiteral("mnuHelpContents"), [this] {
        ShowHelp(QStringLiteral("contents"));
    })->setShortcut(QKeySequence::HelpContents);
    action(help, QStringLiteral("&Search For Help On..."), QStringLiteral("mnuHelpSearch"),
           [this] { ShowHelp(QString(), true); });
    action(help, QStringLiteral("Help on This &Tab"), QStringLiteral("mnuHelpTab"), [this] {
        ShowHelp(QString::fromLatin1(
            kTabInfo[static_cast<std::size_t>(m_tabs->currentIndex())].helpTopic));
    });
    help->addSeparator();
    action(help, QStringLiteral("&About"), QStringLiteral("mnuHelpAbout"), [this] { ShowAbout(); });
}

void MainWindow::BuildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setMovable(false);
    struct Button {
        const char* key;
        const char* text;
        const char* routesTo; // menu action of the same meaning
        QStyle::StandardPixmap icon;
    };
    const Button buttons[] = {
        {"Close", "Close", "mnuFileClose", QStyle::SP_DialogCloseButton},
        {"Open", "Open", "mnuFileOpen", QStyle::SP_DialogOpenButton},
        {"Save", "Save", "mnuFileSave", QStyle::SP_DialogSaveButton},
        {"Print", "Print", "mnuFilePrint", QStyle::SP_FileDialogDetailedView},
        {"Copy", "Copy", "mnuEditCopy", QStyle::SP_FileDialogListView},
        {"Paste", "Paste", "mnuEditPaste", QStyle::SP_FileDialogContentsView},
        {"Calculator", "Calculator", "mnuViewCalculator", QStyle::SP_ComputerIcon},
        {"Units", "Units", "mnuViewUnits", QStyle::SP_FileDialogInfoView},
        {"Flash", "Flash", "mnuViewFlash", QStyle::SP_BrowserReload},
        {"Calculate", "Calculate", "mnuViewCalculate", QStyle::SP_MediaPlay},
        {"Water", "Water", "mnuViewWater", QStyle::SP_DriveNetIcon},
        {"AddDigit", "+ Digit", "mnuViewAddDigits", QStyle::SP_ArrowUp},
        {"SubDigit", "- Digit", "mnuViewRemoveDigits", QStyle::SP_ArrowDown},
        {"Exit", "Exit", "mnuFileExit", QStyle::SP_DialogCancelButton},
        {"Help", "Help", "mnuHelpTab", QStyle::SP_DialogHelpButton},
    };
    for (const Button& button : buttons) {
        QAction* act = m_toolBar->addAction(style()->standardIcon(button.icon),
                                            QString::fromLatin1(button.text));
        act->setObjectName(QStringLiteral("tbr") + QString::fromLatin1(button.key));
        // Every button routes to the menu command of the same meaning, so the keyboard
        // reaches all of them through the menus; the tip names the command and its key.
        auto* target = findChild<QAction*>(QString::fromLatin1(button.routesTo));
        act->setEnabled(target->isEnabled());
        QString tip = target->text().remove(QLatin1Char('&')).remove(QStringLiteral("..."));
        if (!target->shortcut().isEmpty()) {
            tip +=
                QStringLiteral(" (%1)").arg(target->shortcut().toString(QKeySequence::NativeText));
        }
        act->setToolTip(tip);
        connect(act, &QAction::triggered, target, &QAction::trigger);
    }
}

void MainWindow::BuildStatusBar() {
    m_statusTab = new QLabel(this);
    m_statusTab->setObjectName(QStringLiteral("lblStatusTab"));
    m_statusSummary = new QLabel(this);
    m_statusSummary->setObjectName(QStringLiteral("lblStatusSummary"));
    statusBar()->addWidget(m_statusTab, 1);
    statusBar()->addPermanentWidget(m_statusSummary);
}

void MainWindow::SetRecalculationFlag() {
    m_state.recalc = true;
    RebuildReport(); // empty while the flag is set
}

void MainWindow::TabChanged(int index) {
    if (m_switchingBack) {
        return;
    }
    if (m_previousTab == kCompositionTab && index != kCompositionTab && !m_composition->Leave()) {
        m_switchingBack = true;
        m_tabs->setCurrentIndex(kCompositionTab);
        m_switchingBack = false;
        return;
    }
    // The report follows the results shown when they are left, and whenever it is looked at.
    if (m_previousTab == kPropertiesTab || index == kSummaryTab) {
        RebuildReport();
    }
    m_previousTab = index;
    m_statusTab->setText(QString::fromLatin1(kTabInfo[static_cast<std::size_t>(index)].status));
    if (index == kPropertiesTab) {
        RunFlashIfNeeded();
    } else if (index == kCompositionTab) {
        m_composition->FocusComponentList();
    }
    UpdateSummary();
}

void MainWindow::RunFlashIfNeeded() {
    using Banner = ResultsTab::BannerKind;
    if (m_state.mixture.Empty()) {
        m_results->ShowBanner(Banner::Note,
                              QStringLiteral("There are no components to flash. Add them on the "
                                             "Composition tab, then calculate (F5)."));
        return;
    }
    if (!m_state.recalc) {
        return;
    }
    m_busy->Start();
    const FlashRunOutcome outcome = RunMixtureFlash(m_state);
    m_busy->Stop();
    // Whatever happened, values from an earlier run are greyed while the inputs differ.
    if (!outcome.ran) {
        if (!outcome.message.isEmpty()) {
            m_results->ShowBanner(Banner::Note, outcome.message);
        }
        m_results->SetValuesStale(m_state.haveResults);
        return;
    }
    if (!outcome.completed) {
        // Results still on display belong to the last completed flash, not to these inputs.
        const QString shown =
            m_state.haveResults ? QStringLiteral("The values shown are those of the last completed "
                                                 "flash, not of the current inputs. ")
                                : QString();
        const QString text = outcome.message + QStringLiteral("\n\n") + shown +
                             QStringLiteral("Check the inputs and calculate again (F5).");
        m_results->ShowBanner(Banner::Failure, text);
        m_results->SetValuesStale(m_state.haveResults);
        ShowMessage(this, QStringLiteral("Quorvane"), text, QMessageBox::Warning);
        return;
    }
    m_state.haveResults = true;
    m_setup->ShowStateVariables();
    m_results->ShowResults();
    m_results->SetValuesStale(false);
    m_state.recalc = false;
    RebuildReport();
    UpdateSummary();
    // A run that did not converge, or whose properties failed, says so above its values.
    if (outcome.message.isEmpty()) {
        m_results->HideBanner();
    } else {
        m_results->ShowBanner(Banner::Warning, outcome.message);
    }
}

void MainWindow::Calculate() {
    // A value still being typed counts, as when its box is left.
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && focus->window() == this) {
        focus->clearFocus();
    }
    if (m_tabs->currentIndex() == kPropertiesTab) {
        RunFlashIfNeeded();
    } else {
        // Leaving the composition step may refuse; the results tab runs the flash on arrival.
        m_tabs->setCurrentIndex(kPropertiesTab);
    }
    if (m_tabs->currentIndex() == kPropertiesTab) {
        m_tabs->setFocus();
    }
}

QString MainWindow::SummaryText() const {
    const int tab = m_tabs != nullptr ? m_tabs->currentIndex() : 0;
    if (tab == kWaterTab) {
        return (m_state.water.formulation == SteamFormulation::If97 ? QStringLiteral("IFC-1997 ")
                                                                    : QStringLiteral("IFC-1967 ")) +
               QStringLiteral("Dadez Properties:  ");
    }
    const FlashCase& flash = m_state.flashCase;
    const float temp = TemperatureToDisplay(flash.tempF, m_selectors->Unit(0));
    const float press = PressureToDisplay(flash.pressPsia, m_selectors->Unit(1));
    return QStringLiteral("Flash: ") + ToQString(FlashTypeCode(flash.flashType)) +
           QStringLiteral(", EOS: ") + m_setup->EosText().left(6) + QStringLiteral(", T=") +
           FormatPattern(temp, std::string_view("###,##0")) + QLatin1Char(' ') +
           m_selectors->UnitName(0) + QStringLiteral(", P=") +
           FormatPattern(press, std::string_view("###,###,##0")) + QLatin1Char(' ') +
           m_selectors->UnitName(1);
}

QString MainWindow::StatusText() const {
    return m_statusTab->text();
}

void MainWindow::UpdateSummary() {
    if (m_statusSummary != nullptr && m_setup != nullptr) {
        m_statusSummary->setText(SummaryText());
    }
}

void MainWindow::UnitSelectorChanged(int index) {
    if (index == 0) {
        m_setup->ShowTemperature();
        UpdateSummary();
    } else if (index == 1) {
        m_setup->ShowPressure();
        UpdateSummary();
    } else if (index >= 3 && index <= 18) {
        m_results->RedisplaySelector(index);
    } else if (index >= 19) {
        m_water->RedisplaySelector(index);
    }
}

void MainWindow::FollowUnitSet() {
    m_selectors->Follow(m_state.units);
}

void MainWindow::SetUnitSet(const UnitSet& units) {
    m_state.units = units;
    FollowUnitSet();
    RedisplayAll();
}

void MainWindow::RedisplayAll() {
    m_setup->ShowStateVariables();
    m_results->ShowResults();
    RebuildReport();
    m_water->Redisplay();
    UpdateSummary();
}

void MainWindow::ShowUnitOptions() {
    UnitOptionsDialog dialog(m_state.units, this);
    connect(&dialog, &UnitOptionsDialog::setAsDefault, this,
            [this](const UnitSet& units) { m_state.units = units; });
    connect(&dialog, &UnitOptionsDialog::saveAsDefault, this,
            [this] { SettingsStore::WriteUnits(m_state.units); });
    dialog.exec();
    // Back in the main window: every selector follows the unit set again.
    FollowUnitSet();
    RedisplayAll();
}

void MainWindow::TrackFocus(QWidget* now) {
    if (now != nullptr && now->property("slot").isValid()) {
        m_formatField = now;
    }
}

void MainWindow::ChangeDigits(bool add) {
    QWidget* field = m_formatField.data();
    if (field == nullptr) {
        statusBar()->showMessage(
            QStringLiteral("Click a result value first; Add/Remove Digits change its format."),
            5000);
        return;
    }
    const int slot = field->property("slot").toInt();
    if (slot < 0 || slot >= kNumberFormatSlotCount) {
        return;
    }
    QString& pattern = m_state.formats[static_cast<std::size_t>(slot)];
    const QByteArray bytes = pattern.toUtf8();
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    pattern = QString::fromStdString(add ? AddDigit(view) : SubDigit(view));
    RedisplayAll();
}

void MainWindow::AddDigits() {
    ChangeDigits(true);
}

void MainWindow::RemoveDigits() {
    ChangeDigits(false);
}

void MainWindow::CutCopyPaste(int command) {
    const QString error =
        RunEditCommand(QApplication::focusWidget(), static_cast<EditVerb>(command));
    if (!error.isEmpty()) {
        ShowEditError(this, error);
    }
}

void MainWindow::ShowHelp(const QString& anchor, bool search) {
    if (m_help.isNull()) {
        m_help = new HelpWindow(this);
    }
    m_help->ShowTopic(anchor, search);
}

void MainWindow::ShowAbout() {
    ShowMessage(this, QStringLiteral("About Quorvane"),
                QStringLiteral("Quorvane\nVersion %1\n\nVapour-liquid equilibrium of "
                               "multicomponent mixtures with cubic equations of state.")
                    .arg(QCoreApplication::applicationVersion()),
                QMessageBox::Information);
}

void MainWindow::BringToFront() {
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_state.recalc) {
        const MessageRequest request{
            QStringLiteral("Exit Quorvane"), QStringLiteral("Are you sure you wish to exit?"),
            QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok};
        if (DialogSeam::Message(this, request) != QMessageBox::Ok) {
            event->ignore();
            return;
        }
    }
    // An edited reference table would be lost with the program: its window asks first.
    if (!m_interaction->CloseReferenceTables()) {
        event->ignore();
        return;
    }
    SaveSettings();
    if (!m_help.isNull()) {
        m_help->close();
    }
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        UpdateSummary();
    }
    QMainWindow::changeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers() == Qt::NoModifier && widget != nullptr &&
            widget->window() == this && widget == QApplication::focusWidget() &&
            !widget->property("enterActivates").toBool()) {
            // Enter moves on to the next input, as Tab does.
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(widget, &tab);
            return true;
        }
        // Grids copy and paste tab-separated text, as spreadsheets do.
        if (qobject_cast<QTableWidget*>(widget) != nullptr && widget->window() == this) {
            if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut)) {
                CutCopyPaste(kCopy); // grid cells are never cleared by a cut
                return true;
            }
            if (key->matches(QKeySequence::Paste)) {
                CutCopyPaste(kPaste);
                return true;
            }
        }
    } else if (event->type() == QEvent::Enter) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this) {
            const QVariant hint = widget->property("hint");
            if (hint.isValid()) {
                statusBar()->showMessage(hint.toString(), 4000);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace quorvane
