#pragma once

// frmPhaseEnvelope: the traced bubble and dew curves as a temperature-pressure chart, in °F and
// psia whatever units the main window uses. Its File menu exports the points as CSV, copies
// them as tab-separated text and prints the chart (to a PDF file when there is no printer); the
// View menu zooms, pans and shows the optional lines; the status line says what was traced.

#include "app/envelope/chart_widget.h"

#include <QList>
#include <QLocale>
#include <QMainWindow>
#include <QPair>
#include <functional>
#include <optional>

class QLabel;
class QPagedPaintDevice;

namespace quorvane {

// What the window shows. Points are (T °F, P psia) in the order traced.
struct EnvelopePlot {
    QList<QPointF> bubble;
    QList<QPointF> dew;
    std::optional<QPointF> join; // where the two curves meet, when it is known
    QList<ChartMark> marks;
    QList<QPair<QString, QList<QPointF>>> lines; // optional lines, off until the user shows them
    QString summary;                             // for the status line
    QString summaryDetail;                       // its tooltip
};

// The points as a table: a heading row, then one row per point (curve name, number from 1,
// temperature, pressure), fields separated by separator, numbers written in locale.
QString EnvelopePointTable(const EnvelopePlot& plot, QChar separator, const QLocale& locale);

class PhaseEnvelopeWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit PhaseEnvelopeWindow(const EnvelopePlot& plot, QWidget* parent = nullptr);

    EnvelopeChart* Chart() const { return m_chart; }
    QString StatusText() const;

    void ExportPoints();
    void CopyPoints();
    void Print();

    // The name of the printer Print uses, empty when there is none (the chart then goes to a
    // PDF file). Tests install their own lookup; an empty function restores the system's.
    static void SetPrinterLookup(std::function<QString()> lookup);

private:
    void BuildMenus();
    void PrintToPdf();
    bool RenderPage(QPagedPaintDevice& device);

    EnvelopePlot m_plot;
    EnvelopeChart* m_chart = nullptr;
    QLabel* m_summary = nullptr;
};

} // namespace quorvane
