#pragma once

#include <QDialog>

class QLineEdit;
class QTextBrowser;

namespace quorvane {

// The help window: the HTML help file beside the program, opened at a topic (an anchor),
// with a find box for "Search For Help On...".
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr, QString helpFile = HelpFileName());

    // Loads the help file and shows the topic; false (after the message) when there is no help.
    bool ShowTopic(const QString& anchor, bool focusSearch = false);

    static QString HelpFileName();

private:
    void FindNext();

    QString m_helpFile;
    QTextBrowser* m_browser = nullptr;
    QLineEdit* m_find = nullptr;
};

} // namespace quorvane
