#include "app/dialog_seam.h"

#include "app/dialog_fit.h"

#include <QFileDialog>
#include <QInputDialog>

namespace quorvane {

namespace {

MessageAnswerer& Messages() {
    static MessageAnswerer answerer;
    return answerer;
}

TextAnswerer& Texts() {
    static TextAnswerer answerer;
    return answerer;
}

FileAnswerer& Files() {
    static FileAnswerer answerer;
    return answerer;
}

} // namespace

QMessageBox::StandardButton DialogSeam::Message(QWidget* parent, const MessageRequest& request) {
    if (Messages()) {
        return Messages()(request);
    }
    const auto box = MakeMessageBox(parent, request);
    return static_cast<QMessageBox::StandardButton>(box->exec());
}

std::optional<QString> DialogSeam::Text(QWidget* parent, const QString& title,
                                        const QString& label) {
    if (Texts()) {
        return Texts()(title, label);
    }
    const auto dialog = MakeTextDialog(parent, title, label);
    if (dialog->exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog->textValue();
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const MessageRequest& request) {
    auto box = std::make_unique<QMessageBox>(request.icon, request.title, request.text,
                                             request.buttons, parent);
    if (request.defaultButton != QMessageBox::NoButton) {
        box->setDefaultButton(request.defaultButton);
    }
    FitToTitle(*box);
    return box;
}

std::unique_ptr<QInputDialog> MakeTextDialog(QWidget* parent, const QString& title,
                                             const QString& label) {
    auto dialog = std::make_unique<QInputDialog>(parent);
    dialog->setWindowTitle(title);
    dialog->setLabelText(label);
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->adjustSize(); // builds the dialog's layout, which FitToTitle widens
    FitToTitle(*dialog);
    return dialog;
}

QString DialogSeam::FileName(QWidget* parent, const FileRequest& request) {
    if (Files()) {
        return Files()(request);
    }
    QFileDialog dialog(parent, request.caption, request.folder, request.filter);
    FitToTitle(dialog);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.selectedFilter.isEmpty()) {
        dialog.selectNameFilter(request.selectedFilter);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void DialogSeam::SetMessageAnswerer(MessageAnswerer answerer) {
    Messages() = std::move(answerer);
}

void DialogSeam::SetTextAnswerer(TextAnswerer answerer) {
    Texts() = std::move(answerer);
}

void DialogSeam::SetFileAnswerer(FileAnswerer answerer) {
    Files() = std::move(answerer);
}

void ShowMessage(QWidget* parent, const QString& title, const QString& text,
                 QMessageBox::Icon icon) {
    DialogSeam::Message(parent, {title, text, icon, QMessageBox::Ok, QMessageBox::Ok});
}

bool AskOkCancel(QWidget* parent, const QString& title, const QString& text,
                 QMessageBox::Icon icon) {
    const MessageRequest request{title, text, icon, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok};
    return DialogSeam::Message(parent, request) == QMessageBox::Ok;
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& text,
              QMessageBox::StandardButton defaultButton) {
    const MessageRequest request{title, text, QMessageBox::Question,
                                 QMessageBox::Yes | QMessageBox::No, defaultButton};
    return DialogSeam::Message(parent, request) == QMessageBox::Yes;
}

} // namespace quorvane
