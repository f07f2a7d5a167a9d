#include "app/envelope/chart_widget.h"

#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QScatterSeries>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace quorvane {

namespace {

constexpr double kWheelZoomIn = 0.8;
constexpr double kMargin = 0.05; // of the data extent on each side

QScatterSeries::MarkerShape ScatterShape(MarkShape shape) {
    switch (shape) {
    case MarkShape::Square:
        return QScatterSeries::MarkerShapeRectangle;
    case MarkShape::Triangle:
        return QScatterSeries::MarkerShapeTriangle;
    case MarkShape::Star:
        return QScatterSeries::MarkerShapeStar;
    case MarkShape::Circle:
        break;
    }
    return QScatterSeries::MarkerShapeCircle;
}

// A round tick interval (1, 2 or 5 times a power of ten) giving about eight ticks over span.
double TickInterval(double span) {
    const double raw = std::max(span, 1e-9) / 8.0;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double step : {1.0, 2.0, 5.0}) {
        if (step * decade >= raw) {
            return step * decade;
        }
    }
    return 10.0 * decade;
}

void SetAxisRange(QValueAxis* axis, double low, double high) {
    axis->setRange(low, high);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0.0);
    axis->setTickInterval(TickInterval(high - low));
}

// The range widened to whole tick intervals.
std::pair<double, double> RoundRange(double low, double high) {
    const double step = TickInterval(high - low);
    return {std::floor(low / step) * step, std::ceil(high / step) * step};
}

} // namespace

// The chart library's view with the mouse handling of the program: the wheel zooms about the
// pointer, a left drag pans, a double click shows all the data again.
class ChartView : public QChartView {
public:
    explicit ChartView(EnvelopeChart& owner) : QChartView(new QChart), m_owner(owner) {
        setRenderHint(QPainter::Antialiasing);
        setMouseTracking(true);
        chart()->setTheme(QChart::ChartThemeLight);
        // One entry a row at the side: the names stay whole however many marks and lines
        // there are.
        chart()->legend()->setAlignment(Qt::AlignRight);
        // Marks appear in the legend with their own shape and colour, lines as lines.
        chart()->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
        m_x = new QValueAxis;
        m_y = new QValueAxis;
        m_x->setLabelFormat(QStringLiteral("%g"));
        m_y->setLabelFormat(QStringLiteral("%g"));
        chart()->addAxis(m_x, Qt::AlignBottom);
        chart()->addAxis(m_y, Qt::AlignLeft);
    }

    QValueAxis* XAxis() const { return m_x; }
    QValueAxis* YAxis() const { return m_y; }

    void Attach(QAbstractSeries* series) {
        chart()->addSeries(series);
        series->attachAxis(m_x);
        series->attachAxis(m_y);
    }

    QPointF ValueAt(QPointF viewPos) const {
        return chart()->mapToValue(chart()->mapFromScene(mapToScene(viewPos.toPoint())));
    }

    bool InPlot(QPointF viewPos) const {
        return chart()->plotArea().contains(chart()->mapFromScene(mapToScene(viewPos.toPoint())));
    }

protected:
    void wheelEvent(QWheelEvent* event) override {
        const int delta = event->angleDelta().y();
        if (delta == 0 || !InPlot(event->position())) {
            event->ignore();
            return;
        }
        m_owner.ZoomBy(delta > 0 ? kWheelZoomIn : 1.0 / kWheelZoomIn, ValueAt(event->position()));
        event->accept();
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && InPlot(event->position())) {
            m_dragFrom = event->position();
            m_dragging = true;
            setCursor(Qt::ClosedHandCursor);
            event->accept();
            return;
        }
        QChartView::mousePressEvent(event);
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (m_dragging) {
            const QPointF shift = ValueAt(m_dragFrom) - ValueAt(event->position());
            m_owner.SetRange(m_owner.VisibleRange().translated(shift));
            m_dragFrom = event->position();
        } else if (InPlot(event->position())) {
            emit m_owner.pointerAt(ValueAt(event->position()));
        }
        QChartView::mouseMoveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (m_dragging && event->button() == Qt::LeftButton) {
            m_dragging = false;
            unsetCursor();
            event->accept();
            return;
        }
        QChartView::mouseReleaseEvent(event);
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        m_owner.ResetView();
        event->accept();
    }

private:
    EnvelopeChart& m_owner;
    QValueAxis* m_x = nullptr;
    QValueAxis* m_y = nullptr;
    QPointF m_dragFrom;
    bool m_dragging = false;
};

EnvelopeChart::EnvelopeChart(QWidget* parent) : QWidget(parent) {
    m_view = new ChartView(*this);
    m_view->setObjectName(QStringLiteral("chtEnvelope"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}

EnvelopeChart::~EnvelopeChart() = default;

void EnvelopeChart::SetTitles(const QString& title, const QString& xTitle, const QString& yTitle) {
    m_view->chart()->setTitle(title);
    m_view->XAxis()->setTitleText(xTitle);
    m_view->YAxis()->setTitleText(yTitle);
}

void EnvelopeChart::SetEnvelope(const QString& firstName, const QList<QPointF>& first,
                                const QString& secondName, const QList<QPointF>& second,
                                std::optional<QPointF> join) {
    struct Branch {
        const QString* name;
        const QList<QPointF>* points;
        QColor colour;
    };
    const Branch branches[] = {{&firstName, &first, QColor(31, 90, 180)},
                               {&secondName, &second, QColor(200, 40, 40)}};
    for (const auto& [name, points, colour] : branches) {
        auto* series = new QLineSeries;
        const auto number = m_view->chart()->series().size() + 1;
        series->setName(name->isEmpty() ? QStringLiteral("Series %1").arg(number) : *name);
        QList<QPointF> drawn = *points;
        if (join) {
            drawn.append(*join);
        }
        series->replace(drawn);
        m_view->Attach(series);
        QPen pen(colour);
        pen.setWidthF(2.0);
        series->setPen(pen);
    }
    ResetView();
}

void EnvelopeChart::AddMark(const ChartMark& mark) {
    auto* series = new QScatterSeries;
    series->setName(mark.name);
    series->setMarkerShape(ScatterShape(mark.shape));
    series->append(mark.at);
    m_view->Attach(series);
    series->setMarkerSize(14.0);
    series->setColor(mark.colour);
    series->setBorderColor(mark.colour.darker(150));
    const QString tip = mark.tooltip;
    connect(series, &QScatterSeries::hovered, this, [tip](const QPointF&, bool entered) {
        if (entered) {
            QToolTip::showText(QCursor::pos(), tip);
        } else {
            QToolTip::hideText();
        }
    });
    m_marks.append(mark);
    ResetView();
}

void EnvelopeChart::AddLine(const QString& name, const QList<QPointF>& points) {
    auto* series = new QLineSeries;
    series->setName(name);
    series->replace(points);
    // Each line its own dash pattern, so that the legend tells them apart.
    static constexpr Qt::PenStyle kStyles[] = {Qt::DashLine, Qt::DashDotLine, Qt::DotLine,
                                               Qt::DashDotDotLine};
    const auto index = static_cast<std::size_t>(LineCount());
    series->setProperty("optionalLine", true);
    m_view->Attach(series);
    QPen pen(QColor(90, 90, 90));
    pen.setStyle(kStyles[index % std::size(kStyles)]);
    pen.setWidthF(1.5);
    series->setPen(pen);
    series->setVisible(false);
    for (QLegendMarker* marker : m_view->chart()->legend()->markers(series)) {
        marker->setVisible(false);
    }
}

void EnvelopeChart::ShowLines(bool on) {
    for (QAbstractSeries* series : m_view->chart()->series()) {
        if (series->property("optionalLine").toBool()) {
            series->setVisible(on);
            for (QLegendMarker* marker : m_view->chart()->legend()->markers(series)) {
                marker->setVisible(on);
            }
        }
    }
    ResetView();
}

int EnvelopeChart::LineCount() const {
    const auto all = m_view->chart()->series();
    return static_cast<int>(std::count_if(all.begin(), all.end(), [](QAbstractSeries* s) {
        return s->property("optionalLine").toBool();
    }));
}

QRectF EnvelopeChart::VisibleRange() const {
    const QValueAxis* x = m_view->XAxis();
    const QValueAxis* y = m_view->YAxis();
    return QRectF(QPointF(x->min(), y->min()), QPointF(x->max(), y->max()));
}

void EnvelopeChart::SetRange(const QRectF& range) {
    SetAxisRange(m_view->XAxis(), range.left(), range.right());
    SetAxisRange(m_view->YAxis(), range.top(), range.bottom());
}

void EnvelopeChart::ZoomBy(double factor, std::optional<QPointF> about) {
    const QRectF range = VisibleRange();
    const QPointF centre = about.value_or(range.center());
    const QPointF low = centre + (range.topLeft() - centre) * factor;
    const QPointF high = centre + (range.bottomRight() - centre) * factor;
    SetRange(QRectF(low, high));
}

void EnvelopeChart::PanBy(double dxFraction, double dyFraction) {
    const QRectF range = VisibleRange();
    SetRange(range.translated(range.width() * dxFraction, range.height() * dyFraction));
}

void EnvelopeChart::ResetView() {
    bool any = false;
    double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0;
    for (QAbstractSeries* series : m_view->chart()->series()) {
        auto* xy = qobject_cast<QXYSeries*>(series);
        if (xy == nullptr || !xy->isVisible()) {
            continue;
        }
        for (const QPointF& p : xy->points()) {
            if (!any) {
                xMin = xMax = p.x();
                yMin = yMax = p.y();
                any = true;
            }
            xMin = std::min(xMin, p.x());
            xMax = std::max(xMax, p.x());
            yMin = std::min(yMin, p.y());
            yMax = std::max(yMax, p.y());
        }
    }
    if (!any) {
        xMin = -100.0;
        xMax = 100.0;
        yMax = 1000.0;
    }
    const double dx = std::max(xMax - xMin, 1.0) * kMargin;
    const double dy = std::max(yMax - yMin, 1.0) * kMargin;
    // Pressures are drawn from zero up; both axes end on whole tick intervals.
    const auto [x0, x1] = RoundRange(xMin - dx, xMax + dx);
    const auto [y0, y1] = RoundRange(yMin >= 0.0 ? 0.0 : yMin - dy, yMax + dy);
    SetRange(QRectF(QPointF(x0, y0), QPointF(x1, y1)));
}

void EnvelopeChart::Render(QPainter& painter, const QRectF& target) {
    m_view->render(&painter, target);
}

QString EnvelopeChart::Title() const {
    return m_view->chart()->title();
}

QString EnvelopeChart::AxisTitle(Qt::Orientation orientation) const {
    return orientation == Qt::Horizontal ? m_view->XAxis()->titleText()
                                         : m_view->YAxis()->titleText();
}

QStringList EnvelopeChart::SeriesNames() const {
    QStringList names;
    for (QAbstractSeries* series : m_view->chart()->series()) {
        if (series->isVisible()) {
            names << series->name();
        }
    }
    return names;
}

QList<QPointF> EnvelopeChart::SeriesPoints(const QString& name) const {
    for (QAbstractSeries* series : m_view->chart()->series()) {
        if (auto* xy = qobject_cast<QXYSeries*>(series); xy != nullptr && xy->name() == name) {
            return xy->points();
        }
    }
    return {};
}

QString EnvelopeChart::MarkTooltip(const QString& name) const {
    for (const ChartMark& mark : m_marks) {
        if (mark.name == name) {
            return mark.tooltip;
        }
    }
    return {};
}

} // namespace quorvane
