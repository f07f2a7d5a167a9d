#include "app/help_window.h"

#include "app/dialog_seam.h"
#include "app/program_folder.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace quorvane {

HelpWindow::HelpWindow(QWidget* parent, QString helpFile)
    : QDialog(parent), m_helpFile(std::move(helpFile)) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Quorvane Help"));
    resize(760, 600);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Find:"), this);
    m_find = new QLineEdit(this);
    label->setBuddy(m_find);
    auto* next = new QPushButton(QStringLiteral("Find &Next"), this);
    row->addWidget(label);
    row->addWidget(m_find, 1);
    row->addWidget(next);
    layout->addLayout(row);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    layout->addWidget(m_browser, 1);
    connect(m_find, &QLineEdit::returnPressed, this, &HelpWindow::FindNext);
    connect(next, &QPushButton::clicked, this, &HelpWindow::FindNext);
}

QString HelpWindow::HelpFileName() {
    return ProgramFile(QStringLiteral("quorvane-help.html"));
}

bool HelpWindow::ShowTopic(const QString& anchor, bool focusSearch) {
    const QString& file = m_helpFile;
    if (!QFileInfo(file).isReadable()) {
        ShowMessage(parentWidget(), QStringLiteral("Quorvane"),
                    QStringLiteral("Unable to display Help Contents. There is no Help associated "
                                   "with this project."),
                    QMessageBox::Information);
        return false;
    }
    QUrl url = QUrl::fromLocalFile(file);
    if (!anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    m_browser->setSource(url);
    show();
    raise();
    activateWindow();
    if (focusSearch) {
        m_find->setFocus();
    } else {
        m_browser->setFocus();
    }
    return true;
}

void HelpWindow::FindNext() {
    const QString text = m_find->text();
    if (text.isEmpty()) {
        return;
    }
    if (!m_browser->find(text)) {
        // Wrap round to the top once.
        m_browser->moveCursor(QTextCursor::Start);
        m_browser->find(text);
    }
}

} // namespace quorvane
