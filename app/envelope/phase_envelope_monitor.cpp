#include "app/envelope/phase_envelope_monitor.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <memory>

namespace quorvane {

PhaseEnvelopeMonitor::PhaseEnvelopeMonitor(const FlashCase& flashCase, std::vector<float> mw,
                                           EnvelopeTracer tracer, QWidget* parent)
    : QDialog(parent), m_case(flashCase), m_mw(std::move(mw)), m_tracer(std::move(tracer)) {
    setObjectName(QStringLiteral("frmPhaseEnvelMonitor"));
    setWindowTitle(QStringLiteral("Phase Envelope Construction Progress"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("Generating Phase Envelope"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    auto* grid = new QGridLayout;
    auto value = [this, grid](int row, const QString& caption, const QString& name) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setMinimumWidth(120);
        grid->addWidget(label, row, 1);
        return label;
    };
    m_lblFlashType = value(0, QStringLiteral("Flash Type:"), QStringLiteral("lblFlashType"));
    m_lblIterations = value(1, QStringLiteral("Iterations:"), QStringLiteral("lblIterations"));
    m_lblPoints = value(2, QStringLiteral("Points:"), QStringLiteral("lblPoints"));
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* stop = buttons->addButton(QStringLiteral("&Stop"), QDialogButtonBox::RejectRole);
    stop->setObjectName(QStringLiteral("cmdStop"));
    stop->setToolTip(QStringLiteral("Stop tracing and plot the points traced so far"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    m_thread = QThread::create([this] {
        auto state = std::make_unique<FlashState>();
        EnvelopeOptions options;
        options.progress = [this](const EnvelopeProgress& progress) {
            QMetaObject::invokeMethod(
                this, [this, progress] { ShowProgress(progress); }, Qt::QueuedConnection);
            return !m_stop.load();
        };
        try {
            m_result = m_tracer(m_case, m_mw, *state, options);
        } catch (const EnvelopeInputError& error) {
            m_failure = QString::fromUtf8(error.what());
        } catch (const std::exception& error) {
            m_failure = QString::fromUtf8(error.what());
        }
    });
    m_thread->setParent(this);
    // Delivered on this window's thread once the worker has ended.
    connect(m_thread, &QThread::finished, this, [this] {
        Finish();
        close();
    });
    m_thread->start();
}

PhaseEnvelopeMonitor::~PhaseEnvelopeMonitor() {
    m_stop = true;
    m_thread->wait();
}

bool PhaseEnvelopeMonitor::Running() const {
    return m_thread->isRunning();
}

QString PhaseEnvelopeMonitor::RoutineText() const {
    return m_lblFlashType->text();
}

QString PhaseEnvelopeMonitor::IterationsText() const {
    return m_lblIterations->text();
}

void PhaseEnvelopeMonitor::ShowProgress(const EnvelopeProgress& progress) {
    if (progress.continuation) {
        // No saturation routine is in use yet.
        m_lblPoints->setText(QStringLiteral("%1 by continuation").arg(progress.continuationPoints));
        return;
    }
    const auto code = SaturationRoutineCode(progress.routine);
    m_lblFlashType->setText(QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size())));
    m_lblIterations->setText(QString::number(progress.iterations));
    m_lblPoints->setText(
        QStringLiteral("%1 bubble, %2 dew").arg(progress.bubblePoints).arg(progress.dewPoints));
}

void PhaseEnvelopeMonitor::Finish() {
    if (m_finished) {
        return;
    }
    m_finished = true;
    m_stop = true;
    m_thread->wait();
    if (m_failure.isEmpty()) {
        emit traced(m_result);
    } else {
        emit failed(m_failure);
    }
}

void PhaseEnvelopeMonitor::closeEvent(QCloseEvent* event) {
    Finish();
    QDialog::closeEvent(event);
}

void PhaseEnvelopeMonitor::reject() {
    Finish();
    QDialog::reject();
}

} // namespace quorvane
