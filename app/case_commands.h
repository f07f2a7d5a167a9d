#pragma once

// The File menu's case commands: open (with the load option), save, close and the recent-file
// list, and the window caption with the case's file name. A file is read and checked whole
// before anything of the window changes; a save goes through a temporary file, so a failure
// keeps the previous file.

#include "app/dialog_seam.h"
#include "app/main_state.h"
#include "data/case_file.h"

#include <QObject>
#include <QString>
#include <array>

class QAction;
class QMenu;
class QWidget;

namespace quorvane {

class CompositionTab;
class FlashSetupTab;
class InteractionTab;

class CaseCommands : public QObject {
    Q_OBJECT
public:
    CaseCommands(MainState& state, FlashSetupTab& setup, CompositionTab& composition,
                 InteractionTab& interaction, QWidget* window);

    void Open();  // mnuFileOpen: load option, file dialog, then OpenPath
    void Save();  // mnuFileSave: file dialog (asking before it overwrites), then SavePath
    void Close(); // mnuFileClose: asks, then an empty case
    void OpenRecent(int index);

    // Opens a case file. A missing file is said so (and leaves the recent list); a damaged one
    // gets the error message; with components present the user is asked before they are
    // replaced. False when nothing changed.
    bool OpenPath(const QString& path, LoadOption option);
    bool SavePath(const QString& path);

    // The case as the window holds it now.
    CaseFile CurrentCase() const;
    const QString& CasePath() const { return m_path; }

    // Appends one item per recent file (hidden while unused) and a separator to the menu.
    void AddRecentFileItems(QMenu* menu);

signals:
    // A case was opened or closed: the displays, the status bar and the report follow.
    void caseShown();

private:
    void ShowCase(const CaseFile& caseFile);
    void SetCasePath(const QString& path);
    void RememberFile(const QString& path);
    void ForgetFile(const QString& path);
    void UpdateRecentItems();
    void CommitPendingEdit();
    FileRequest FileDialogRequest(bool save) const;

    MainState& m_state;
    FlashSetupTab& m_setup;
    CompositionTab& m_composition;
    InteractionTab& m_interaction;
    QWidget* m_window;
    QString m_path;
    std::array<QAction*, kMaxRecentFiles> m_recentItems{};
    QAction* m_recentSeparator = nullptr;
};

// The stream name as stored (UTF-8) and back; bytes that are not UTF-8 are read as Latin-1.
std::string StreamNameBytes(const QString& name);
QString StreamNameText(const std::string& bytes);

} // namespace quorvane
