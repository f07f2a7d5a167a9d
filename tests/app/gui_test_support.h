#pragma once

// Helpers shared by the GUI tests: one QApplication for the test program, a settings store in
// a temporary folder, and a recorder that answers the program's dialogs.

#include "app/dialog_seam.h"
#include "app/main_window.h"

#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <vector>

namespace quorvane::testing {

// The application object (created once, offscreen) with the program's identity.
void EnsureApplication();

// Points the settings store at an empty temporary folder for the life of the object.
class TemporarySettings {
public:
    TemporarySettings();
    ~TemporarySettings();
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Records every message, text and file request; answers from queues, else with the default
// button (OK / Yes) and a cancelled text or file dialog.
class DialogRecorder {
public:
    DialogRecorder();
    ~DialogRecorder();

    std::vector<MessageRequest> messages;
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<QString> texts; // a null QString() answers Cancel
    std::deque<QString> files;

    bool Asked(const QString& text) const;
    const MessageRequest* Last() const { return messages.empty() ? nullptr : &messages.back(); }
};

// A main window with the recorder's answers, not shown.
std::unique_ptr<MainWindow> MakeMainWindow();

// Enters a case as a user would: the named components with equal amounts, PR, the stream name
// "Test gas", 100 °F and 300 psia; the composition step is left, so the feed is made.
void EnterCase(MainWindow& window, const QStringList& names);

template <typename T>
T* Find(QObject* parent, const QString& name) {
    return parent->findChild<T*>(name);
}

} // namespace quorvane::testing
