#include "app/envelope/phase_envelope_command.h"

#include "app/dialog_seam.h"
#include "app/envelope/phase_envelope_monitor.h"
#include "app/flash_runner.h"

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
    if (e.resolved > 0 || leftOut > 0) {
        text += QStringLiteral(" %1 re-solved, %2 left out (not genuine saturation points).")
                    .arg(e.resolved)
                    .arg(leftOut);
    }
    if (e.cancelled) {
        text += QStringLiteral(" Tracing was stopped: the curves end where it stood.");
    }
    return text;
}

// What the command runs on the worker thread: the engine's tracer with the options the monitor
// gives (its progress and stop). A check of every traced point goes into those options, and
// what is computed from the finished curves is added to the result, here.
PhaseEnvelope TraceForPlot(const FlashCase& flashCase, std::span<const float> mw, FlashState& state,
                           const EnvelopeOptions& options) {
    return TraceCaseEnvelope(flashCase, mw, state, options);
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
    if (std::isfinite(stateTempF) && std::isfinite(statePressPsia) && statePressPsia > 0.0F) {
        const QLocale locale;
        plot.marks.append(ChartMark{
            QPointF(stateTempF, statePressPsia), QStringLiteral("Flash State"),
            QStringLiteral("Flash state of the Settings tab\nT = %1 F, P = %2 psia")
                .arg(locale.toString(stateTempF, 'f', 2), locale.toString(statePressPsia, 'f', 2)),
            MarkShape::Star, QColor(0, 110, 60)});
    }
    plot.summary = Summary(envelope);
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
