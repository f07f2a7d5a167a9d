#pragma once

// Every message box, input box and file dialog of the desktop program goes through this seam.
// In normal use it shows the real dialog; a test installs answerers so that it can read what
// the program asked and give the answer a user would.

#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QInputDialog;
class QWidget;

namespace quorvane {

struct MessageRequest {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

struct FileRequest {
    QString caption;
    QString folder;
    QString filter;
    QString selectedFilter;
    QString defaultSuffix;
    bool save = false;
};

using MessageAnswerer = std::function<QMessageBox::StandardButton(const MessageRequest&)>;
using TextAnswerer =
    std::function<std::optional<QString>(const QString& title, const QString& label)>;
using FileAnswerer = std::function<QString(const FileRequest&)>;

class DialogSeam {
public:
    // Shows a message box (or asks the installed answerer) and returns the button chosen.
    static QMessageBox::StandardButton Message(QWidget* parent, const MessageRequest& request);

    // Asks for one line of text; nullopt when the user cancels.
    static std::optional<QString> Text(QWidget* parent, const QString& title, const QString& label);

    // Asks for a file name to open or save; an empty text when the user cancels.
    static QString FileName(QWidget* parent, const FileRequest& request);

    static void SetMessageAnswerer(MessageAnswerer answerer);
    static void SetTextAnswerer(TextAnswerer answerer);
    static void SetFileAnswerer(FileAnswerer answerer);
};

// The real dialogs the seam shows, sized to their titles (dialog_fit.h).
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const MessageRequest& request);
std::unique_ptr<QInputDialog> MakeTextDialog(QWidget* parent, const QString& title,
                                             const QString& label);

// Shorthands for the common cases.
void ShowMessage(QWidget* parent, const QString& title, const QString& text,
                 QMessageBox::Icon icon = QMessageBox::Information);
bool AskOkCancel(QWidget* parent, const QString& title, const QString& text,
                 QMessageBox::Icon icon = QMessageBox::Question);
bool AskYesNo(QWidget* parent, const QString& title, const QString& text,
              QMessageBox::StandardButton defaultButton = QMessageBox::Yes);

} // namespace quorvane
