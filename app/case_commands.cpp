#include "app/case_commands.h"

#include "app/composition_tab.h"
#include "app/dialog_seam.h"
#include "app/flash_setup_tab.h"
#include "app/interaction_tab.h"
#include "app/load_dialog.h"
#include "data/case_file_io.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>

namespace quorvane {

namespace {

static_assert(kCaseResultCount == kStoredResultCount);

// The water/steam calculator's values a case file keeps, in file order: the given variables,
// then molar volume, the two heat capacities and the speed of sound.
constexpr std::array<WaterField, kCaseWaterResultCount> kCaseWaterFields = {
    kWaterTemp,   kWaterPress, kWaterQuality, kWaterEnthalpy,     kWaterEntropy,
    kWaterVolume, kWaterCp,    kWaterCv,      kWaterSonicVelocity};

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString ErrorText(const CaseFileError& error, const char* doing) {
    return QStringLiteral("Error %1 %2 file.\n%3")
        .arg(error.Number())
        .arg(QString::fromLatin1(doing), QString::fromUtf8(error.what()));
}

std::int16_t Flag(bool on) {
    return on ? 1 : 0;
}

} // namespace

std::string StreamNameBytes(const QString& name) {
    return name.toUtf8().toStdString();
}

QString StreamNameText(const std::string& bytes) {
    const QByteArray raw = QByteArray::fromStdString(bytes);
    const QString text = QString::fromUtf8(raw);
    return text.toUtf8() == raw ? text : QString::fromLatin1(raw);
}

CaseCommands::CaseCommands(MainState& state, FlashSetupTab& setup, CompositionTab& composition,
                           InteractionTab& interaction, QWidget* window)
    : QObject(window), m_state(state), m_setup(setup), m_composition(composition),
      m_interaction(interaction), m_window(window) {}

FileRequest CaseCommands::FileDialogRequest(bool save) const {
    FileRequest request;
    request.caption = save ? QStringLiteral("Save") : QStringLiteral("Open");
    // Beside the current case, else in the program folder.
    request.folder = m_path.isEmpty() ? QCoreApplication::applicationDirPath() : m_path;
    request.filter = QStringLiteral("All Files (*);;Quorvane (*.qvr)");
    request.selectedFilter = QStringLiteral("Quorvane (*.qvr)");
    request.defaultSuffix = QString::fromLatin1(kCaseFileExtension);
    request.save = save;
    return request;
}

void CaseCommands::Open() {
    const std::optional<LoadOption> option = LoadDialog::Ask(m_window);
    if (!option) {
        return;
    }
    const QString path = DialogSeam::FileName(m_window, FileDialogRequest(false));
    if (!path.isEmpty()) {
        OpenPath(path, *option);
    }
}

void CaseCommands::OpenRecent(int index) {
    if (index >= 0 && index < m_state.recentFiles.size()) {
        OpenPath(m_state.recentFiles[index].path, LoadOption::FeedAsFeed);
    }
}

bool CaseCommands::OpenPath(const QString& path, LoadOption option) {
    if (!QFileInfo(path).isFile()) {
        ShowMessage(m_window, QStringLiteral("Open"), QStringLiteral("File does not exist."),
                    QMessageBox::Critical);
        ForgetFile(path);
        return false;
    }
    // The whole file is read and checked before anything of the window changes.
    CaseFile loaded;
    try {
        loaded = LoadCaseFile(ToPath(path));
        ApplyLoadOption(loaded, option);
    } catch (const CaseFileError& error) {
        ShowMessage(m_window, QString(), ErrorText(error, "reading"), QMessageBox::Critical);
        return false;
    }
    if (!m_state.mixture.Empty() &&
        !AskYesNo(m_window, QStringLiteral("Physical Properties"),
                  QStringLiteral("All existing component selections will be reset.  Continue?"))) {
        return false;
    }
    ShowCase(loaded);
    SetCasePath(path);
    RememberFile(path);
    return true;
}

void CaseCommands::ShowCase(const CaseFile& c) {
    const int rowWidth = m_state.mixture.RowWidth();
    m_state.mixture = c.mixture;
    m_state.mixture.SetRowWidth(rowWidth);
    m_state.basis = static_cast<CompositionBasis>(c.basis);

    FlashCase& flash = m_state.flashCase;
    flash.tempF = c.tempF;
    flash.pressPsia = c.pressPsia;
    flash.vapourFraction = c.vapourFraction;
    // The saved results are kept for the next save; the flash runs again before any is shown.
    PropertyResults& results = m_state.properties;
    results.SetStoredRecord(c.results);
    constexpr std::size_t w = kCaseWaterResultCount;
    results.jouleThomson = {c.further[w], c.further[w + 1]};
    results.soundSpeed = {c.further[w + 2], c.further[w + 3]};
    results.calculated = false;
    m_state.haveResults = false;

    WaterSteamState& water = m_state.water;
    water = WaterSteamState{};
    water.shown = c.steamShown != 0;
    water.formulation = c.steamFormulation == 1 ? SteamFormulation::Ifc67 : SteamFormulation::If97;
    for (std::size_t i = 0; i < water.given.size(); ++i) {
        water.given[i] = c.steamInputs[i] != 0;
    }
    for (std::size_t i = 0; i < w; ++i) {
        water.values[kCaseWaterFields[i]] = c.further[i];
    }

    m_setup.SetStreamName(StreamNameText(c.streamName));
    m_setup.SetEosIndex(c.eosIndex);
    m_setup.SetFlashType(static_cast<FlashType>(c.flashType));
    m_setup.ShowStateVariables();
    m_composition.Rebuild();
    m_interaction.ShowLoadedTable(c.estimateKij != 0);
    m_state.recalc = true;
    emit caseShown();
}

CaseFile CaseCommands::CurrentCase() const {
    CaseFile c;
    c.streamName = StreamNameBytes(m_setup.StreamName());
    c.eosIndex = static_cast<std::int16_t>(m_state.flashCase.eosIndex);
    const WaterSteamState& water = m_state.water;
    c.steamShown = Flag(water.shown);
    c.basis = static_cast<std::int16_t>(m_state.basis);
    c.steamFormulation = static_cast<std::int16_t>(water.formulation);
    for (std::size_t i = 0; i < water.given.size(); ++i) {
        c.steamInputs[i] = Flag(water.given[i]);
    }
    c.mixture = m_state.mixture;
    const FlashCase& flash = m_state.flashCase;
    c.tempF = flash.tempF;
    c.pressPsia = flash.pressPsia;
    c.vapourFraction = flash.vapourFraction;
    const PropertyResults& results = m_state.properties;
    c.results = results.StoredRecord();
    constexpr std::size_t w = kCaseWaterResultCount;
    for (std::size_t i = 0; i < w; ++i) {
        c.further[i] = water.values[kCaseWaterFields[i]];
    }
    c.further[w] = results.jouleThomson[0];
    c.further[w + 1] = results.jouleThomson[1];
    c.further[w + 2] = results.soundSpeed[0];
    c.further[w + 3] = results.soundSpeed[1];
    c.estimateKij = Flag(flash.estimateKij);
    c.flashType = static_cast<std::int16_t>(flash.flashType);
    return c;
}

void CaseCommands::CommitPendingEdit() {
    // A value being typed is taken as when the user leaves its box.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    if (focus.isNull() || focus->window() != m_window) {
        return;
    }
    focus->clearFocus();
    if (!focus.isNull()) {
        focus->setFocus();
    }
}

void CaseCommands::Save() {
    CommitPendingEdit();
    const QString path = DialogSeam::FileName(m_window, FileDialogRequest(true));
    if (!path.isEmpty()) {
        SavePath(path);
    }
}

bool CaseCommands::SavePath(const QString& path) {
    try {
        SaveCaseFile(ToPath(path), CurrentCase());
    } catch (const CaseFileError& error) {
        ShowMessage(m_window, QString(), ErrorText(error, "writing"), QMessageBox::Critical);
        return false;
    }
    SetCasePath(path);
    RememberFile(path);
    return true;
}

void CaseCommands::Close() {
    if (!AskOkCancel(m_window, QStringLiteral("Quorvane Close File"),
                     QStringLiteral("Lose all unsaved work?"), QMessageBox::Warning)) {
        return;
    }
    SetCasePath({});
    m_state.mixture.Reset();
    m_state.haveResults = false;
    m_state.properties.calculated = false;
    m_state.water = WaterSteamState{};
    m_setup.SetStreamName({});
    m_composition.Rebuild();
    m_interaction.Rebuild();
    m_state.recalc = true;
    emit caseShown();
}

void CaseCommands::SetCasePath(const QString& path) {
    m_path = path;
    m_window->setWindowTitle(path.isEmpty()
                                 ? QStringLiteral("Quorvane")
                                 : QStringLiteral("Quorvane - ") + QFileInfo(path).fileName());
}

void CaseCommands::RememberFile(const QString& path) {
    const QFileInfo info(path);
    const QString full = info.absoluteFilePath();
    QList<RecentFile>& files = m_state.recentFiles;
    files.removeIf([&](const RecentFile& file) { return file.path == full; });
    files.prepend({info.fileName(), full});
    while (files.size() > kMaxRecentFiles) {
        files.removeLast();
    }
    SettingsStore::WriteRecentFiles(files);
    UpdateRecentItems();
}

void CaseCommands::ForgetFile(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    if (m_state.recentFiles.removeIf([&](const RecentFile& file) { return file.path == full; }) >
        0) {
        SettingsStore::WriteRecentFiles(m_state.recentFiles);
        UpdateRecentItems();
    }
}

void CaseCommands::AddRecentFileItems(QMenu* menu) {
    for (int k = 0; k < kMaxRecentFiles; ++k) {
        QAction* item = menu->addAction(QString());
        item->setObjectName(QStringLiteral("mnuFileMRU%1").arg(k + 1));
        connect(item, &QAction::triggered, this, [this, k] { OpenRecent(k); });
        m_recentItems[static_cast<std::size_t>(k)] = item;
    }
    m_recentSeparator = menu->addSeparator();
    UpdateRecentItems();
}

void CaseCommands::UpdateRecentItems() {
    if (m_recentSeparator == nullptr) {
        return;
    }
    const QList<RecentFile>& files = m_state.recentFiles;
    for (int k = 0; k < kMaxRecentFiles; ++k) {
        QAction* item = m_recentItems[static_cast<std::size_t>(k)];
        const bool used = k < files.size();
        item->setVisible(used);
        if (used) {
            QString title = files[k].title;
            item->setText(QStringLiteral("&%1 %2").arg(k + 1).arg(
                title.replace(QLatin1Char('&'), QStringLiteral("&&"))));
            item->setStatusTip(files[k].path);
        }
    }
    m_recentSeparator->setVisible(!files.isEmpty());
}

} // namespace quorvane
