#include "app/envelope/phase_envelope_command.h"

#include "app/dialog_seam.h"
#include "app/envelope/phase_envelope_monitor.h"
#include "app/flash_runner.h"
#include "engine/flash/verified_envelope.h"

#include <QLocale>
#include <cmath>

namespace quorvane {

namespace {

const QString kTitle = QStringLiteral("Quorvane");

QList<QPointF> PointsOf(const std::vector<EnvelopePoint>& curve) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(curve.size()));
    for (const EnvelopePoint& p : curve) {
        points.append(QPointF(p.tempF, p.pressPsia));
    }
    return points;
}

QString Summary(const PhaseEnvelope& e) {
    QString text = QStringLiteral("Bubble curve: %1 points, dew curve: %2 points.")
                       .arg(e.bubble.size())
                       .arg(e.dew.size());
    const int leftOut = e.dropped + e.failed;
    if (e.resolved > 0 || leftOut > 0 || e.added > 0) {
        text += QStringLiteral(" Checked: %1 re-solved, %2 left out").arg(e.resolved).arg(leftOut);
        text += e.added > 0 ? QStringLiteral(", %1 added.").arg(e.added) : QStringLiteral(".");
    }
    if (e.cancelled) {
        text += QStringLiteral(" Tracing was stopped: the curves end where it stood.");
    } else if (!e.continuation.critical.found) {
        text += QStringLiteral(" No critical point was found, so the curves are not joined.");
    }
    return text;
}

// What the command runs on the worker thread: the tracer with every point confirmed, the
// critical point, cricondenbar, cricondentherm and quality lines by continuation, and the
// curves carried on to the critical point.
PhaseEnvelope TraceForPlot(const FlashCase& flashCase, std::span<const float> mw, FlashState& state,
                           const EnvelopeOptions& options) {
    return TraceVerifiedEnvelope(flashCase, mw, state, options, true);
}

QString Number(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

QString StateText(double tempF, double pressPsia) {
    return QStringLiteral("T = %1 F, P = %2 psia").arg(Number(tempF, 2), Number(pressPsia, 2));
}

bool SamePoint(const envelope::SpecialPoint& a, const envelope::SpecialPoint& b) {
    return a.found && b.found && a.tempF == b.tempF && a.pressPsia == b.pressPsia;
}

QString HowFound(const envelope::SpecialPoint& point, const envelope::SpecialPoint& critical,
                 const QString& quantity) {
    if (&point != &critical && SamePoint(point, critical)) {
        return QStringLiteral("The critical point is where the %1 of the envelope is highest.")
            .arg(quantity);
    }
    switch (point.how) {
    case envelope::FoundBy::Criterion:
        return QStringLiteral("Found by Heidemann and Khalil's criterion (the feed at its limit "
                              "of stability, with a vanishing third-order term), solved from "
                              "where the envelope traced by continuation crosses it.");
    case envelope::FoundBy::Crossing:
        return QStringLiteral("Interpolated where the K-values along the envelope traced by "
                              "continuation change sides (the critical-point criterion did not "
                              "settle near it).");
    case envelope::FoundBy::Extremum:
        return QStringLiteral("Found where the %1 along the envelope traced by continuation "
                              "passes its maximum, solved for a zero slope.")
            .arg(quantity);
    case envelope::FoundBy::ExtremumInterpolated:
        return QStringLiteral("Interpolated where the %1 along the envelope traced by "
                              "continuation passes its maximum (the solve for a zero slope did "
                              "not settle).")
            .arg(quantity);
    }
    return {};
}

// The critical point, cricondenbar and cricondentherm, each with its values and how it was
// found.
void AddSpecialMarks(const envelope::PhaseEnvelope& c, QList<ChartMark>& marks) {
    struct Special {
        const envelope::SpecialPoint* point;
        QString name;
        QString heading;
        QString quantity;
        MarkShape shape;
        QColor colour;
    };
    const Special specials[] = {
        {&c.critical, QStringLiteral("Critical Point"), QStringLiteral("Critical point"), QString(),
         MarkShape::Circle, QColor(120, 30, 150)},
        {&c.cricondenbar, QStringLiteral("Cricondenbar"),
         QStringLiteral("Cricondenbar: the highest pressure of the envelope"),
         QStringLiteral("pressure"), MarkShape::Triangle, QColor(215, 110, 0)},
        {&c.cricondentherm, QStringLiteral("Cricondentherm"),
         QStringLiteral("Cricondentherm: the highest temperature of the envelope"),
         QStringLiteral("temperature"), MarkShape::Square, QColor(0, 125, 140)}};
    for (const Special& s : specials) {
        if (!s.point->found || !std::isfinite(s.point->tempF) ||
            !std::isfinite(s.point->pressPsia)) {
            continue;
        }
        marks.append(ChartMark{QPointF(s.point->tempF, s.point->pressPsia), s.name,
                               s.heading + QLatin1Char('\n') +
                                   StateText(s.point->tempF, s.point->pressPsia) +
                                   QLatin1Char('\n') + HowFound(*s.point, c.critical, s.quantity),
                               s.shape, s.colour});
    }
}

void Refuse(QWidget* parent, const QString& why) {
    ShowMessage(parent, kTitle,
                QStringLiteral("The phase envelope cannot be traced: %1\n\nCheck the mixture on "
                               "the Composition tab and the equation of state on the Settings "
                               "tab, then try again.")
                    .arg(why),
                QMessageBox::Warning);
}

void ShowPlot(const PhaseEnvelope& envelope, float tempF, float pressPsia, QWidget* parent) {
    if (envelope.bubble.empty() && envelope.dew.empty()) {
        ShowMessage(parent, kTitle,
                    envelope.cancelled
                        ? QStringLiteral("Tracing was stopped before the first point of the "
                                         "phase envelope was found.")
                        : QStringLiteral("No point of the phase envelope could be found for this "
                                         "mixture.\n\nCheck the composition and the equation of "
                                         "state, then try again."),
                    QMessageBox::Information);
        return;
    }
    auto* window = new PhaseEnvelopeWindow(PlotOfEnvelope(envelope, tempF, pressPsia), parent);
    window->show();
    window->raise();
}

} // namespace

EnvelopePlot PlotOfEnvelope(const PhaseEnvelope& envelope, float stateTempF, float statePressPsia) {
    EnvelopePlot plot;
    plot.bubble = PointsOf(envelope.bubble);
    plot.dew = PointsOf(envelope.dew);
    const envelope::PhaseEnvelope& c = envelope.continuation;
    if (envelope.closed && c.critical.found) {
        plot.join = QPointF(c.critical.tempF, c.critical.pressPsia);
    }
    AddSpecialMarks(c, plot.marks);
    if (std::isfinite(stateTempF) && std::isfinite(statePressPsia) && statePressPsia > 0.0F) {
        plot.marks.append(ChartMark{QPointF(stateTempF, statePressPsia),
                                    QStringLiteral("Flash State"),
                                    QStringLiteral("Flash state of the Settings tab\n") +
                                        StateText(stateTempF, statePressPsia),
                                    MarkShape::Star, QColor(0, 110, 60)});
    }
    for (const envelope::QualityLine& line : c.qualities) {
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(line.points.size()));
        for (const envelope::EnvelopePoint& p : line.points) {
            points.append(QPointF(p.tempF, p.pressPsia));
        }
        if (points.size() > 1) {
            plot.lines.append(
                {QStringLiteral("VF = %1").arg(Number(line.vapourFraction, 2)), points});
        }
    }
    plot.summary = Summary(envelope);
    plot.summaryDetail = QStringLiteral(
        "Every point drawn is a genuine saturation point: its fugacities are equal, and the "
        "feed is one phase on one side of it and splits on the other.\nA point the routine did "
        "not get right is solved again at the same temperature or pressure (re-solved), or left "
        "out when there is none there.\nPoints checked the same way carry each curve on to the "
        "critical point and fill stretches where the tracer's steps would cut across the "
        "envelope or show as corners (added).");
    // What the continuation had to say (why it found no critical point, for one).
    if (!c.note.empty()) {
        plot.summaryDetail += QLatin1Char('\n') + QString::fromStdString(c.note);
    }
    return plot;
}

PhaseEnvelopeMonitor* StartPhaseEnvelope(const MainState& state, QWidget* parent) {
    if (state.mixture.Empty()) {
        ShowMessage(parent, kTitle, QStringLiteral("No components have been selected."));
        return nullptr;
    }
    FlashCase flashCase = state.flashCase;
    LoadFlashCase(state.mixture, flashCase);
    if (const std::string why = MixtureDataProblem(flashCase); !why.empty()) {
        Refuse(parent, QString::fromStdString(why));
        return nullptr;
    }
    const auto mw = state.mixture.MolecularWeights();
    const float tempF = state.flashCase.tempF;
    const float pressPsia = state.flashCase.pressPsia;
    auto* monitor = new PhaseEnvelopeMonitor(flashCase, std::vector<float>(mw.begin(), mw.end()),
                                             TraceForPlot, parent);
    QObject::connect(monitor, &PhaseEnvelopeMonitor::traced, parent,
                     [parent, tempF, pressPsia](const PhaseEnvelope& envelope) {
                         ShowPlot(envelope, tempF, pressPsia, parent);
                     });
    QObject::connect(monitor, &PhaseEnvelopeMonitor::failed, parent,
                     [parent](const QString& why) { Refuse(parent, why); });
    monitor->show();
    return monitor;
}

} // namespace quorvane
