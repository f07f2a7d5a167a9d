#pragma once

#include <QWidget>

namespace quorvane {

// The start-up window: the program's name and "Version " followed by its version.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);
};

} // namespace quorvane
