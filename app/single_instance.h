#pragma once

// Keeps the program to one running instance per user: the first instance listens on a local
// socket; a later one finds it there, asks it to come to the front and ends.

#include <QObject>
#include <QString>

class QLocalServer;

namespace quorvane {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only instance; it then listens for later ones.
    bool Claim();

    // Asks the running instance to bring its main window to the front. Returns whether it
    // answered.
    bool AskRunningToActivate() const;

    static QString DefaultKey();

signals:
    void activationRequested();

private:
    QString m_key;
    QLocalServer* m_server = nullptr;
};

} // namespace quorvane
