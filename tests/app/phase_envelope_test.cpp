// The phase-envelope command through the window: the refusal without components, the progress
// window and the plot window for a binary, stopping the tracing, and the plot window's file
// and view commands.

#include "app/composition_tab.h"
#include "app/envelope/phase_envelope_command.h"
#include "app/envelope/phase_envelope_monitor.h"
#include "app/envelope/phase_envelope_window.h"
#include "app/flash_runner.h"
#include "engine/flash/verified_envelope.h"
#include "tests/app/gui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace quorvane {
namespace {

class PhaseEnvelopeCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = testing::MakeMainWindow();
        ASSERT_TRUE(window->DatabaseError().isEmpty());
    }

    // The feed (names and mole fractions) with Peng-Robinson, typed on the composition tab,
    // which stays open.
    void Feed(const std::vector<std::pair<const char*, const char*>>& feed) {
        testing::Find<QListWidget>(window.get(), QStringLiteral("lstEOS"))->setCurrentRow(3);
        window->Tabs()->setCurrentIndex(MainWindow::kCompositionTab);
        for (const auto& [name, fraction] : feed) {
            ASSERT_TRUE(window->Composition()->SelectComponent(QString::fromLatin1(name)));
            window->Composition()->AddSelectedComponent();
        }
        auto* grid = testing::Find<QTableWidget>(window->Composition(), QStringLiteral("grdGrid"));
        for (int i = 0; i < grid->rowCount(); ++i) {
            grid->item(i, 1)->setText(
                QString::fromLatin1(feed[static_cast<std::size_t>(i)].second));
        }
    }

    void MethaneButane() { Feed({{"METHANE", "0.5"}, {"n-BUTANE", "0.5"}}); }

    void ClickEnvelope() {
        testing::Find<QPushButton>(window.get(), QStringLiteral("cmdPhaseEnvelope"))->click();
    }

    PhaseEnvelopeWindow* Plot() const { return window->findChild<PhaseEnvelopeWindow*>(); }

    testing::TemporarySettings settings;
    testing::DialogRecorder dialogs;
    std::unique_ptr<MainWindow> window;
};

TEST_F(PhaseEnvelopeCommandTest, WithoutComponentsOrWithABadTotalOnlyTheMessageAppears) {
    ClickEnvelope();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.Last()->title, QStringLiteral("Quorvane"));
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("No components have been selected."));

    // Amounts that do not add up, typed on the composition tab.
    Feed({{"METHANE", "0.5"}, {"n-BUTANE", "0.2"}});
    ClickEnvelope();
    ASSERT_EQ(dialogs.messages.size(), 2U);
    EXPECT_TRUE(dialogs.Last()->text.startsWith(
        QStringLiteral("There is an error in the stream compositions.")));
    QApplication::processEvents();
    EXPECT_EQ(window->findChild<PhaseEnvelopeMonitor*>(), nullptr);
    EXPECT_EQ(Plot(), nullptr);
}

TEST_F(PhaseEnvelopeCommandTest, BinaryIsTracedUnderTheMonitorAndPlotted) {
    MethaneButane();
    ClickEnvelope();
    QPointer<PhaseEnvelopeMonitor> monitor = window->findChild<PhaseEnvelopeMonitor*>();
    ASSERT_FALSE(monitor.isNull());
    EXPECT_EQ(monitor->windowTitle(), QStringLiteral("Phase Envelope Construction Progress"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Plot() != nullptr; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor.isNull(); }, 2000));

    // The same envelope as the engine traces, with every point checked, for the same case.
    FlashCase flashCase = window->State().flashCase;
    LoadFlashCase(window->State().mixture, flashCase);
    const auto mw = window->State().mixture.MolecularWeights();
    FlashState state;
    const PhaseEnvelope reference = TraceVerifiedEnvelope(
        flashCase, std::vector<float>(mw.begin(), mw.end()), state, EnvelopeOptions{});
    ASSERT_TRUE(reference.closed);
    const QPointF critical(reference.continuation.critical.tempF,
                           reference.continuation.critical.pressPsia);

    PhaseEnvelopeWindow* plot = Plot();
    EXPECT_EQ(plot->windowTitle(), QStringLiteral("Quorvane:  Phase Envelope"));
    const EnvelopeChart* chart = plot->Chart();
    EXPECT_EQ(chart->Title(), QStringLiteral("Phase Envelope (Beta)"));
    EXPECT_EQ(chart->AxisTitle(Qt::Horizontal), QStringLiteral("Temperature (F)"));
    EXPECT_EQ(chart->AxisTitle(Qt::Vertical), QStringLiteral("Pressure (psia)"));
    EXPECT_EQ(chart->SeriesNames(), QStringList({"Bubble Curve", "Dew Curve", "Critical Point",
                                                 "Cricondenbar", "Cricondentherm", "Flash State"}));
    // Both curves run on into the critical point: one closed outline.
    const QList<QPointF> bubble = chart->SeriesPoints(QStringLiteral("Bubble Curve"));
    const QList<QPointF> dew = chart->SeriesPoints(QStringLiteral("Dew Curve"));
    ASSERT_EQ(bubble.size(), static_cast<qsizetype>(reference.bubble.size()) + 1);
    ASSERT_EQ(dew.size(), static_cast<qsizetype>(reference.dew.size()) + 1);
    EXPECT_EQ(bubble.back(), critical);
    EXPECT_EQ(dew.back(), critical);
    EXPECT_FLOAT_EQ(static_cast<float>(bubble[bubble.size() - 2].y()),
                    reference.bubble.back().pressPsia);
    // The status line counts the points the check re-solved and left out.
    EXPECT_TRUE(plot->StatusText().startsWith(
        QStringLiteral("Bubble curve: %1 points, dew curve: %2 points. Checked: %3 re-solved, "
                       "%4 left out")
            .arg(reference.bubble.size())
            .arg(reference.dew.size())
            .arg(reference.resolved)
            .arg(reference.dropped + reference.failed)));
    EXPECT_GT(reference.dropped, 0); // the march past the critical point is left out
    // Each mark says its values and how it was found.
    const QString criticalTip = chart->MarkTooltip(QStringLiteral("Critical Point"));
    EXPECT_TRUE(criticalTip.contains(QLocale().toString(critical.x(), 'f', 2)));
    EXPECT_TRUE(criticalTip.contains(QStringLiteral("Heidemann and Khalil")));
    EXPECT_TRUE(chart->MarkTooltip(QStringLiteral("Cricondenbar"))
                    .contains(QStringLiteral("highest pressure")));
    EXPECT_TRUE(chart->MarkTooltip(QStringLiteral("Cricondentherm"))
                    .contains(QStringLiteral("zero slope")));
    EXPECT_TRUE(chart->MarkTooltip(QStringLiteral("Flash State")).contains(QStringLiteral("T = ")));
    // The quality lines are there, off until the user shows them.
    EXPECT_EQ(chart->LineCount(), 3);
    EXPECT_TRUE(dialogs.messages.empty());
}

// Plots of the natural gas of the example case (examples/natural_gas_tp.json, flash state 40 F
// and 800 psia; also with the quality lines shown) and of methane/n-butane into
// QUORVANE_SCREENSHOT_DIR (skipped when it is not set).
TEST_F(PhaseEnvelopeCommandTest, ScreenshotsOfThePlots) {
    const QString folder = qEnvironmentVariable("QUORVANE_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "QUORVANE_SCREENSHOT_DIR not set";
    }
    QDir().mkpath(folder);
    auto shoot = [&](const QString& name, const QString& withLines = QString()) {
        ClickEnvelope();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Plot() != nullptr; }, 20000));
        PhaseEnvelopeWindow* plot = Plot();
        plot->resize(900, 640);
        plot->show();
        QTest::qWait(200);
        EXPECT_TRUE(plot->grab().save(QDir(folder).filePath(name)));
        if (!withLines.isEmpty()) {
            testing::Find<QAction>(plot, QStringLiteral("mnuViewQualityLines"))->trigger();
            QTest::qWait(200);
            EXPECT_TRUE(plot->grab().save(QDir(folder).filePath(withLines)));
        }
        delete plot;
    };
    Feed({{"NITROGEN", "0.02"},
          {"CARBON DIOXIDE", "0.03"},
          {"METHANE", "0.8"},
          {"ETHANE", "0.07"},
          {"PROPANE", "0.04"},
          {"n-BUTANE", "0.02"},
          {"n-PENTANE", "0.01"},
          {"n-HEXANE", "0.005"},
          {"n-HEPTANE", "0.003"},
          {"n-DECANE", "0.002"}});
    window->State().flashCase.tempF = 40.0F;
    window->State().flashCase.pressPsia = 800.0F;
    shoot(QStringLiteral("envelope_natural_gas.png"),
          QStringLiteral("envelope_natural_gas_quality_lines.png"));
    window->Composition()->Reset();
    MethaneButane();
    window->State().flashCase.tempF = 100.0F;
    window->State().flashCase.pressPsia = 1000.0F;
    shoot(QStringLiteral("envelope_binary.png"));
}

// A tracer that holds at its 30th saturation point until the window stops it.
struct HeldTracer {
    std::atomic<int> calls{0};

    PhaseEnvelope operator()(const FlashCase& c, std::span<const float> mw, FlashState& state,
                             const EnvelopeOptions& options) {
        EnvelopeOptions held = options;
        held.progress = [this, inner = options.progress](const EnvelopeProgress& p) {
            if (++calls < 30) {
                return inner(p);
            }
            while (inner(p)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return false;
        };
        return TraceCaseEnvelope(c, mw, state, held);
    }
};

TEST_F(PhaseEnvelopeCommandTest, StoppingEndsTheWorkerAndHandsOnThePointsSoFar) {
    MethaneButane();
    window->Tabs()->setCurrentIndex(MainWindow::kSettingsTab);
    FlashCase flashCase = window->State().flashCase;
    LoadFlashCase(window->State().mixture, flashCase);
    const std::vector<float> mw = {16.04246F, 58.1222F};
    HeldTracer tracer;
    QPointer<PhaseEnvelopeMonitor> monitor = new PhaseEnvelopeMonitor(
        flashCase, mw, [&](auto&&... args) { return tracer(args...); }, window.get());
    std::optional<PhaseEnvelope> handed;
    QObject::connect(monitor, &PhaseEnvelopeMonitor::traced,
                     [&](const PhaseEnvelope& e) { handed = e; });
    monitor->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tracer.calls.load() >= 30; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !monitor->RoutineText().isEmpty(); }, 2000));
    EXPECT_TRUE(monitor->Running());

    // The Stop button, as a user presses it.
    testing::Find<QPushButton>(monitor.data(), QStringLiteral("cmdStop"))->click();
    ASSERT_FALSE(monitor.isNull()); // deleted later, with its thread already ended
    EXPECT_FALSE(monitor->Running());
    ASSERT_TRUE(handed.has_value());
    EXPECT_TRUE(handed->cancelled);
    EXPECT_GE(handed->bubble.size(), 20U);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(monitor.isNull());

    // The plot of what was traced says it was stopped.
    const EnvelopePlot plot = PlotOfEnvelope(*handed, 60.0F, 14.7F);
    EXPECT_TRUE(plot.summary.contains(QStringLiteral("Tracing was stopped")));
    EXPECT_EQ(plot.bubble.size(), static_cast<qsizetype>(handed->bubble.size()));

    // A window destroyed while its worker runs stops and joins the worker, handing on nothing.
    HeldTracer second;
    auto* doomed = new PhaseEnvelopeMonitor(
        flashCase, mw, [&](auto&&... args) { return second(args...); }, window.get());
    bool secondHanded = false;
    QObject::connect(doomed, &PhaseEnvelopeMonitor::traced, [&] { secondHanded = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.calls.load() >= 30; }, 10000));
    delete doomed;
    EXPECT_FALSE(secondHanded);
}

// What the window is given when the continuation found no critical point, or only an
// interpolated one: no join then, and the tooltip says how the point was found.
TEST(PhaseEnvelopePlot, JoinAndMarksFollowWhatTheContinuationFound) {
    PhaseEnvelope e;
    e.bubble.push_back(EnvelopePoint{-100.0F, 200.0F});
    e.dew.push_back(EnvelopePoint{50.0F, 100.0F});
    e.continuation.note = "The critical point could not be found.";
    EnvelopePlot plot = PlotOfEnvelope(e, 0.0F, 0.0F);
    EXPECT_FALSE(plot.join.has_value());
    EXPECT_TRUE(plot.marks.isEmpty()); // no special point, no flash state at 0 psia
    EXPECT_TRUE(plot.summary.contains(QStringLiteral("No critical point was found")));
    EXPECT_TRUE(plot.summaryDetail.endsWith(QStringLiteral("could not be found.")));

    e.continuation.critical =
        envelope::SpecialPoint{true, -20.0, 900.0, envelope::FoundBy::Crossing};
    e.continuation.cricondentherm = e.continuation.critical;
    e.closed = true;
    plot = PlotOfEnvelope(e, 0.0F, 0.0F);
    ASSERT_TRUE(plot.join.has_value());
    EXPECT_EQ(*plot.join, QPointF(-20.0, 900.0));
    ASSERT_EQ(plot.marks.size(), 2);
    EXPECT_TRUE(plot.marks[0].tooltip.contains(QStringLiteral("Interpolated where the K-values")));
    EXPECT_TRUE(plot.marks[1].tooltip.contains(
        QStringLiteral("The critical point is where the temperature of the envelope is highest.")));
}

class PhaseEnvelopeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::EnsureApplication();
        EnvelopePlot plot;
        plot.bubble = {{-100.0, 50.0}, {-50.0, 400.0}, {0.0, 900.0}};
        plot.dew = {{50.0, 10.0}, {100.0, 300.0}, {80.0, 1000.0}};
        plot.join = QPointF(20.0, 1100.0);
        plot.lines = {{QStringLiteral("VF = 0.50"), {{-20.0, 300.0}, {40.0, 700.0}}}};
        plot.summary = QStringLiteral("Bubble curve: 3 points, dew curve: 3 points.");
        window = std::make_unique<PhaseEnvelopeWindow>(plot);
    }

    QAction* Action(const QString& name) { return testing::Find<QAction>(window.get(), name); }

    testing::TemporarySettings settings;
    testing::DialogRecorder dialogs;
    std::unique_ptr<PhaseEnvelopeWindow> window;
    QTemporaryDir folder;
};

TEST_F(PhaseEnvelopeWindowTest, PointsExportAsCsvAndCopyAsTabSeparatedText) {
    const QString path = folder.filePath(QStringLiteral("envelope.csv"));
    dialogs.files.push_back(path);
    Action(QStringLiteral("mnuFileExport"))->trigger();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    ASSERT_EQ(rows.size(), 8); // heading, six points, the final line break
    EXPECT_EQ(rows[0], QStringLiteral("Curve,Point,Temperature (F),Pressure (psia)"));
    EXPECT_EQ(rows[1], QStringLiteral("Bubble Curve,1,-100,50"));
    EXPECT_EQ(rows[6], QStringLiteral("Dew Curve,3,80,1000"));

    // A folder that does not exist: the user is told and nothing is claimed.
    dialogs.files.push_back(folder.filePath(QStringLiteral("missing/envelope.csv")));
    Action(QStringLiteral("mnuFileExport"))->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_TRUE(dialogs.Last()->text.contains(QStringLiteral("could not be written")));

    Action(QStringLiteral("mnuFileCopy"))->trigger();
    const QStringList copied = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(copied.size(), 8);
    EXPECT_EQ(copied[4].split(QLatin1Char('\t')).size(), 4);
    EXPECT_TRUE(copied[4].startsWith(QStringLiteral("Dew Curve\t1\t")));
}

TEST_F(PhaseEnvelopeWindowTest, PrintAsksTheReadyQuestionAndReportsAFailedPrinter) {
    PhaseEnvelopeWindow::SetPrinterLookup([] { return QStringLiteral("Nowhere"); });
    dialogs.answers.push_back(QMessageBox::Cancel);
    Action(QStringLiteral("cmdPrint"))->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    const MessageRequest& ask = dialogs.messages[0];
    EXPECT_EQ(ask.title, QStringLiteral("Confirmation"));
    EXPECT_EQ(ask.text, QStringLiteral("Make sure that device Nowhere is ready"));
    EXPECT_EQ(ask.icon, QMessageBox::Question);
    EXPECT_EQ(ask.buttons, QMessageBox::Ok | QMessageBox::Cancel);

    Action(QStringLiteral("cmdPrint"))->trigger(); // OK this time
    ASSERT_EQ(dialogs.messages.size(), 3U);
    EXPECT_EQ(dialogs.Last()->title, QStringLiteral("Error"));
    EXPECT_EQ(dialogs.Last()->text, QStringLiteral("An Error has occurred. Make sure your "
                                                   "selected printer can print graphics."));

    // No printer at all: the chart goes to a PDF file.
    PhaseEnvelopeWindow::SetPrinterLookup([] { return QString(); });
    const QString path = folder.filePath(QStringLiteral("envelope.pdf"));
    dialogs.files.push_back(path);
    Action(QStringLiteral("cmdPrint"))->trigger();
    PhaseEnvelopeWindow::SetPrinterLookup({});
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF-"));
    EXPECT_EQ(dialogs.messages.size(), 3U);
}

TEST_F(PhaseEnvelopeWindowTest, ViewZoomsPansShowsAllAndTogglesTheOptionalLines) {
    window->show();
    EnvelopeChart* chart = window->Chart();
    // The closed outline: both curves end where they join.
    EXPECT_EQ(chart->SeriesPoints(QStringLiteral("Bubble Curve")).back(), QPointF(20.0, 1100.0));
    EXPECT_EQ(chart->SeriesPoints(QStringLiteral("Dew Curve")).back(), QPointF(20.0, 1100.0));
    const QRectF all = chart->VisibleRange();
    EXPECT_TRUE(all.contains(QPointF(-100.0, 50.0)) && all.contains(QPointF(100.0, 1100.0)));

    Action(QStringLiteral("mnuViewZoomIn"))->trigger();
    EXPECT_LT(chart->VisibleRange().width(), all.width());
    Action(QStringLiteral("mnuViewPanLeft"))->trigger();
    EXPECT_LT(chart->VisibleRange().left(), all.left() + 0.1 * all.width());
    // A double click on the plot shows everything again.
    auto* view = window->findChild<QGraphicsView*>();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->viewport()->rect().center());
    EXPECT_EQ(chart->VisibleRange(), all);

    // Optional lines: off by default, shown from the View menu.
    QAction* lines = Action(QStringLiteral("mnuViewQualityLines"));
    EXPECT_TRUE(lines->isEnabled());
    EXPECT_FALSE(chart->SeriesNames().contains(QStringLiteral("VF = 0.50")));
    lines->trigger();
    EXPECT_TRUE(chart->SeriesNames().contains(QStringLiteral("VF = 0.50")));
}

} // namespace
} // namespace quorvane
