#include "app/splash_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace quorvane {

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setStyleSheet(QStringLiteral("#frmSplash { background: #1f3b57; border: 2px solid #9fb8cf; }"
                                 "QLabel { color: white; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 30);

    auto* title = new QLabel(QStringLiteral("Quorvane"), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    auto* subtitle =
        new QLabel(QStringLiteral("Vapour-liquid equilibrium of multicomponent mixtures"), this);
    subtitle->setAlignment(Qt::AlignCenter);
    layout->addWidget(subtitle);

    auto* version =
        new QLabel(QStringLiteral("Version ") + QCoreApplication::applicationVersion(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    setFixedSize(sizeHint().expandedTo(QSize(460, 220)));
}

} // namespace quorvane
