#pragma once

#include <QTimer>
#include <QWidget>

namespace quorvane {

// A turning cog shown over the tab control while a flash or a predefined mixture is loading.
class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget* parent);

    // Centres the indicator over its parent, shows it and lets it paint once.
    void Start();
    void Stop();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer m_timer;
    int m_angle = 0;
};

} // namespace quorvane
