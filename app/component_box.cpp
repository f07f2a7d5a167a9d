#include "app/component_box.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>

namespace quorvane {

namespace {

// Where a word may start inside a component name.
bool StartsWord(const QString& name, qsizetype at) {
    if (at == 0) {
        return true;
    }
    const QChar before = name.at(at - 1);
    return !before.isLetterOrNumber();
}

} // namespace

QStringList RankComponentMatches(const QStringList& names, const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty()) {
        return names;
    }
    QStringList exact;
    QStringList prefix;
    QStringList word;
    QStringList inside;
    for (const QString& name : names) {
        qsizetype at = name.indexOf(text, 0, Qt::CaseInsensitive);
        if (at < 0) {
            continue;
        }
        if (name.compare(text, Qt::CaseInsensitive) == 0) {
            exact << name;
        } else if (at == 0) {
            prefix << name;
        } else {
            bool wordStart = false;
            for (; at >= 0 && !wordStart; at = name.indexOf(text, at + 1, Qt::CaseInsensitive)) {
                wordStart = StartsWord(name, at);
            }
            (wordStart ? word : inside) << name;
        }
    }
    return exact + prefix + word + inside;
}

ComponentBox::ComponentBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("dbcComp"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    setMinimumContentsLength(24);
    setToolTip(QStringLiteral("Type part of a name and press Enter to add the component"));
    // Enter adds the component instead of moving on to the next input.
    setProperty("enterActivates", true);
    lineEdit()->setProperty("enterActivates", true);

    // The completion list holds the ranked names itself, so it shows them unfiltered.
    m_offered = new QStringListModel(this);
    m_completer = new QCompleter(m_offered, this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setMaxVisibleItems(12);
    setCompleter(m_completer);

    connect(lineEdit(), &QLineEdit::textEdited, this, &ComponentBox::TextEdited);
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
            &ComponentBox::Picked);
    connect(lineEdit(), &QLineEdit::returnPressed, this, [this] {
        m_completer->popup()->hide();
        emit addRequested();
    });
    // Enter while the list is open but no name in it is chosen takes the typed name.
    m_completer->popup()->installEventFilter(this);
}

bool ComponentBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_completer->popup() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            !m_completer->popup()->currentIndex().isValid()) {
            m_completer->popup()->hide();
            emit addRequested();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void ComponentBox::SetNames(const QStringList& names) {
    m_names = names;
    clear();
    addItems(names);
    m_offered->setStringList(names);
}

QStringList ComponentBox::Offered() const {
    return m_offered->stringList();
}

void ComponentBox::TextEdited(const QString& text) {
    m_offered->setStringList(RankComponentMatches(m_names, text));
    if (text.trimmed().isEmpty() || m_offered->rowCount() == 0) {
        m_completer->popup()->hide();
        return;
    }
    m_completer->setCompletionPrefix(text);
    m_completer->complete();
}

void ComponentBox::Picked(const QString& name) {
    const int index = findText(name, Qt::MatchFixedString);
    if (index >= 0) {
        setCurrentIndex(index);
    }
    emit addRequested();
}

} // namespace quorvane
