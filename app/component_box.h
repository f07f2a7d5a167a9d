#pragma once

// dbcComp: the editable list of database components. Typing offers the names that contain the
// text, those that begin with it first; Enter, or picking an offered name, asks for the shown
// component to be added.

#include <QComboBox>
#include <QStringList>

class QCompleter;
class QStringListModel;

namespace quorvane {

// The names offered for a typed text, best first: the name itself, then names that begin with
// the text, then names with a later word that begins with it ("n-BUTANE" for "BUT"), then names
// that contain it anywhere; each group in list order. Case is ignored; empty text offers all.
QStringList RankComponentMatches(const QStringList& names, const QString& typed);

class ComponentBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComponentBox(QWidget* parent = nullptr);

    void SetNames(const QStringList& names);
    // The names the completion list offers now, in their order.
    QStringList Offered() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // Enter in the box, or a name picked from the completion list.
    void addRequested();

private:
    void TextEdited(const QString& text);
    void Picked(const QString& name);

    QStringList m_names;
    QCompleter* m_completer = nullptr;
    QStringListModel* m_offered = nullptr;
};

} // namespace quorvane
