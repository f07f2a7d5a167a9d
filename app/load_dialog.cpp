#include "app/load_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorvane {

namespace {

std::function<std::optional<LoadOption>()>& Answerer() {
    static std::function<std::optional<LoadOption>()> answerer;
    return answerer;
}

} // namespace

LoadDialog::LoadDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmLoad"));
    setWindowTitle(QStringLiteral("Open Case"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Load the saved case with"), this);
    auto* groupLayout = new QVBoxLayout(group);
    m_options = new QButtonGroup(this);
    const char* const captions[] = {"its &feed as the feed", "its flashed &vapor as the feed",
                                    "its flashed &liquid as the feed"};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(captions[i]), group);
        option->setObjectName(QStringLiteral("optLoad%1").arg(i));
        option->setToolTip(QString::fromLatin1(LoadOptionText(static_cast<LoadOption>(i))));
        m_options->addButton(option, i);
        groupLayout->addWidget(option);
    }
    m_options->button(0)->setChecked(true);
    layout->addWidget(group);
    auto* note = new QLabel(QStringLiteral("A flashed phase as the feed replaces the saved feed "
                                           "composition."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

LoadOption LoadDialog::Option() const {
    return static_cast<LoadOption>(m_options->checkedId());
}

std::optional<LoadOption> LoadDialog::Ask(QWidget* parent) {
    if (Answerer()) {
        return Answerer()();
    }
    LoadDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Option();
}

void LoadDialog::SetAnswerer(std::function<std::optional<LoadOption>()> answerer) {
    Answerer() = std::move(answerer);
}

} // namespace quorvane
