#pragma once

// The one chart of the program: an x-y plot of an envelope drawn from two branches, optional
// extra lines, marked points with tooltips, zoom and pan with the mouse and the keyboard, and
// rendering to any paint device (screen, printer, PDF, image). Everything the windows need
// from a plotting library goes through this class, so the library can be swapped here alone.
// It is drawn with Qt Charts, which ships with the Qt the program is built on; printers and
// PDF files get vector output through QPainter.

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <optional>

class QPainter;

namespace quorvane {

class ChartView;

enum class MarkShape { Circle, Square, Triangle, Star };

struct ChartMark {
    QPointF at;
    QString name;    // legend entry
    QString tooltip; // shown while the pointer rests on the mark
    MarkShape shape = MarkShape::Circle;
    QColor colour = Qt::black;
};

class EnvelopeChart : public QWidget {
    Q_OBJECT
public:
    explicit EnvelopeChart(QWidget* parent = nullptr);
    ~EnvelopeChart() override;

    void SetTitles(const QString& title, const QString& xTitle, const QString& yTitle);

    // The envelope: two branches drawn as lines through their points in order. With a join
    // point both branches end in it, so the outline is one closed curve. A branch without a
    // name is labelled "Series " and its number.
    void SetEnvelope(const QString& firstName, const QList<QPointF>& first,
                     const QString& secondName, const QList<QPointF>& second,
                     std::optional<QPointF> join = std::nullopt);
    void AddMark(const ChartMark& mark);
    // An optional line (dashed), hidden until ShowLines(true).
    void AddLine(const QString& name, const QList<QPointF>& points);
    void ShowLines(bool on);
    int LineCount() const;

    // The visible range in data units (x left to right, y bottom to top).
    QRectF VisibleRange() const;
    // Zoom by factor (< 1 in, > 1 out) about a point in data units (default: the centre).
    void ZoomBy(double factor, std::optional<QPointF> about = std::nullopt);
    // Moves the view by fractions of its width and height.
    void PanBy(double dxFraction, double dyFraction);
    // Shows all the data again.
    void ResetView();

    // Draws the chart into target (printer, PDF writer, image) at the device's resolution.
    void Render(QPainter& painter, const QRectF& target);

    // What is drawn, for the window's checks and the tests.
    QString Title() const;
    QString AxisTitle(Qt::Orientation orientation) const;
    QStringList SeriesNames() const; // in drawing order, visible ones only
    QList<QPointF> SeriesPoints(const QString& name) const;
    QString MarkTooltip(const QString& name) const;

signals:
    // The data coordinates under the pointer while it moves over the plot area.
    void pointerAt(QPointF value);

private:
    friend class ChartView;
    void SetRange(const QRectF& range);

    ChartView* m_view = nullptr;
    QList<ChartMark> m_marks;
};

} // namespace quorvane
