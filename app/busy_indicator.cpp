#include "app/busy_indicator.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace quorvane {

namespace {
constexpr int kSize = 72;
constexpr int kTeeth = 10;
} // namespace

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("aniBusy"));
    setFixedSize(kSize, kSize);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_angle = (m_angle + 6) % 360;
        update();
    });
}

void BusyIndicator::Start() {
    if (parentWidget() != nullptr) {
        move((parentWidget()->width() - width()) / 2, (parentWidget()->height() - height()) / 2);
    }
    if (!m_timer.isActive()) {
        // The pointer says so too, as the window takes no input while the work runs.
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    show();
    raise();
    m_timer.start();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BusyIndicator::Stop() {
    if (m_timer.isActive()) {
        QApplication::restoreOverrideCursor();
    }
    m_timer.stop();
    hide();
}

void BusyIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    painter.rotate(m_angle);

    const double outer = kSize / 2.0 - 2.0;
    const double inner = outer * 0.78;
    QPainterPath cog;
    for (int i = 0; i < kTeeth * 2; ++i) {
        const double a0 = i * M_PI / kTeeth;
        const double a1 = (i + 1) * M_PI / kTeeth;
        const double r = (i % 2 == 0) ? outer : inner;
        const QPointF p0(r * std::cos(a0), r * std::sin(a0));
        const QPointF p1(r * std::cos(a1), r * std::sin(a1));
        if (i == 0) {
            cog.moveTo(p0);
        } else {
            cog.lineTo(p0);
        }
        cog.lineTo(p1);
    }
    cog.closeSubpath();
    cog.addEllipse(QPointF(0, 0), outer * 0.3, outer * 0.3);
    painter.setPen(QPen(QColor(40, 60, 90), 1.5));
    painter.setBrush(QColor(120, 150, 190, 220));
    painter.drawPath(cog);
}

} // namespace quorvane
