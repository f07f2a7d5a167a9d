#pragma once

// frmPhaseEnvelMonitor: traces the phase envelope on a worker thread and shows which
// saturation routine is running, its iteration count and the points found so far. Closing it
// (its Stop button, Esc or the window's close box) stops the tracing: the worker ends at its
// next point and the points traced so far are handed on. No thread outlives the window.

#include "engine/flash/flash_case.h"
#include "engine/flash/phase_envelope.h"

#include <QDialog>
#include <atomic>
#include <functional>
#include <span>
#include <vector>

class QLabel;
class QThread;

namespace quorvane {

// The tracing the window runs on its worker thread (the engine's tracer, or a wrapper of it).
using EnvelopeTracer = std::function<PhaseEnvelope(const FlashCase&, std::span<const float>,
                                                   FlashState&, const EnvelopeOptions&)>;

class PhaseEnvelopeMonitor : public QDialog {
    Q_OBJECT
public:
    // Starts tracing the case's envelope at once (the case and molar masses are copied).
    PhaseEnvelopeMonitor(const FlashCase& flashCase, std::vector<float> mw, EnvelopeTracer tracer,
                         QWidget* parent = nullptr);
    ~PhaseEnvelopeMonitor() override;

    bool Running() const;
    QString RoutineText() const;
    QString IterationsText() const;

signals:
    // Once, when the tracing has ended (completed or stopped), with what was traced.
    void traced(const quorvane::PhaseEnvelope& envelope);
    // Once, instead of traced, when the case could not be traced at all.
    void failed(const QString& why);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void ShowProgress(const EnvelopeProgress& progress);
    // Stops the worker, waits for it and hands on the result (once).
    void Finish();

    FlashCase m_case;
    std::vector<float> m_mw;
    EnvelopeTracer m_tracer;
    PhaseEnvelope m_result;
    QString m_failure;
    std::atomic<bool> m_stop{false};
    bool m_finished = false;
    QThread* m_thread = nullptr;
    QLabel* m_lblFlashType = nullptr;
    QLabel* m_lblIterations = nullptr;
    QLabel* m_lblPoints = nullptr;
};

} // namespace quorvane
