#include "app/disclaimer_window.h"

#include "app/dialog_fit.h"
#include "app/dialog_seam.h"
#include "app/program_folder.h"
#include "app/settings_store.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {

void ShowDisclaimer(QWidget* parent) {
    QFile file(ProgramFile(QStringLiteral("disclaimer.txt")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ShowMessage(parent, QStringLiteral("Error:  Quorvane"),
                    QStringLiteral("The disclaimer file \"disclaimer.txt\" could not be read "
                                   "from the program folder."),
                    QMessageBox::Critical);
        return;
    }
    const QString text = QString::fromUtf8(file.readAll());

    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmDisclaimer"));
    dialog.setWindowTitle(QStringLiteral("Quorvane Disclaimer"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* textBox = new QPlainTextEdit(text, &dialog);
    textBox->setReadOnly(true);
    textBox->setMinimumSize(560, 360);
    layout->addWidget(textBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}

DisclaimerAgreement::DisclaimerAgreement(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAgree"));
    setWindowTitle(QStringLiteral("Quorvane"));
    FitToTitle(*this);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("You must agree in order to use Quorvane"), this);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    layout->addWidget(label);

    m_chkDontShow = new QCheckBox(QStringLiteral("Don't display at start-up"), this);
    m_chkDontShow->setObjectName(QStringLiteral("chkDontShow"));
    layout->addWidget(m_chkDontShow);

    auto* row = new QHBoxLayout;
    auto* read = new QPushButton(QStringLiteral("&Read"), this);
    read->setObjectName(QStringLiteral("cmdRead"));
    auto* agree = new QPushButton(QStringLiteral("&Agree"), this);
    agree->setObjectName(QStringLiteral("cmdAgree"));
    auto* disagree = new QPushButton(QStringLiteral("&Disagree"), this);
    disagree->setObjectName(QStringLiteral("cmdDisagree"));
    agree->setDefault(true);
    row->addWidget(read);
    row->addStretch();
    row->addWidget(agree);
    row->addWidget(disagree);
    layout->addLayout(row);

    connect(read, &QPushButton::clicked, this, [this] { ShowDisclaimer(this); });
    connect(agree, &QPushButton::clicked, this, &QDialog::accept);
    connect(disagree, &QPushButton::clicked, this, &QDialog::reject);
}

void DisclaimerAgreement::done(int result) {
    SettingsStore::WriteDisclaimerShow(!m_chkDontShow->isChecked());
    QDialog::done(result);
}

} // namespace quorvane
