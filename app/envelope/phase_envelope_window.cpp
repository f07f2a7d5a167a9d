#include "app/envelope/phase_envelope_window.h"

#include "app/dialog_seam.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStatusBar>

namespace quorvane {

namespace {

const QString kBubbleName = QStringLiteral("Bubble Curve");
const QString kDewName = QStringLiteral("Dew Curve");
const QString kPrintError =
    QStringLiteral("An Error has occurred. Make sure your selected printer can print graphics.");

std::function<QString()>& PrinterLookup() {
    static std::function<QString()> lookup;
    return lookup;
}

QString DefaultPrinterName() {
    if (PrinterLookup()) {
        return PrinterLookup()();
    }
    return QPrinterInfo::defaultPrinterName();
}

// The file to save to, or an empty text when the user cancels.
QString AskSaveFile(QWidget* parent, const QString& caption, const QString& filter,
                    const QString& suffix) {
    FileRequest request;
    request.caption = caption;
    request.filter = filter;
    request.selectedFilter = filter;
    request.defaultSuffix = suffix;
    request.save = true;
    return DialogSeam::FileName(parent, request);
}

} // namespace

QString EnvelopePointTable(const EnvelopePlot& plot, QChar separator, const QLocale& locale) {
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString sep(separator);
    QStringList rows;
    rows << QStringLiteral("Curve") + sep + QStringLiteral("Point") + sep +
                QStringLiteral("Temperature (F)") + sep + QStringLiteral("Pressure (psia)");
    const std::pair<const QString*, const QList<QPointF>*> curves[] = {{&kBubbleName, &plot.bubble},
                                                                       {&kDewName, &plot.dew}};
    for (const auto& [name, points] : curves) {
        for (qsizetype i = 0; i < points->size(); ++i) {
            const QPointF& p = points->at(i);
            rows << *name + sep + QString::number(i + 1) + sep + numbers.toString(p.x(), 'g', 7) +
                        sep + numbers.toString(p.y(), 'g', 7);
        }
    }
    return rows.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

PhaseEnvelopeWindow::PhaseEnvelopeWindow(const EnvelopePlot& plot, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_plot(plot) {
    setObjectName(QStringLiteral("frmPhaseEnvelope"));
    setWindowTitle(QStringLiteral("Quorvane:  Phase Envelope"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_chart = new EnvelopeChart(this);
    m_chart->SetTitles(QStringLiteral("Phase Envelope (Beta)"), QStringLiteral("Temperature (F)"),
                       QStringLiteral("Pressure (psia)"));
    m_chart->SetEnvelope(kBubbleName, plot.bubble, kDewName, plot.dew, plot.join);
    for (const auto& [name, points] : plot.lines) {
        m_chart->AddLine(name, points);
    }
    for (const ChartMark& mark : plot.marks) {
        m_chart->AddMark(mark);
    }
    setCentralWidget(m_chart);

    m_summary = new QLabel(plot.summary, this);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setToolTip(plot.summaryDetail);
    statusBar()->addPermanentWidget(m_summary, 1);
    connect(m_chart, &EnvelopeChart::pointerAt, this, [this](QPointF at) {
        statusBar()->showMessage(
            QStringLiteral("T = %1 F, P = %2 psia")
                .arg(QLocale().toString(at.x(), 'f', 1), QLocale().toString(at.y(), 'f', 1)),
            3000);
    });
    BuildMenus();
    resize(900, 640);
}

void PhaseEnvelopeWindow::BuildMenus() {
    auto action = [this](QMenu* menu, const QString& caption, const QString& name,
                         const QKeySequence& keys, auto slot) {
        QAction* act = menu->addAction(caption);
        act->setObjectName(name);
        act->setShortcut(keys);
        connect(act, &QAction::triggered, this, slot);
        return act;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    action(file, QStringLiteral("&Export Points as CSV..."), QStringLiteral("mnuFileExport"),
           QKeySequence(Qt::CTRL | Qt::Key_E), [this] { ExportPoints(); });
    action(file, QStringLiteral("&Copy Points"), QStringLiteral("mnuFileCopy"), QKeySequence::Copy,
           [this] { CopyPoints(); });
    action(file, QStringLiteral("&Print..."), QStringLiteral("cmdPrint"), QKeySequence::Print,
           [this] { Print(); });
    file->addSeparator();
    action(file, QStringLiteral("&Close"), QStringLiteral("mnuFileClose"), QKeySequence::Close,
           [this] { close(); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    action(view, QStringLiteral("Zoom &In"), QStringLiteral("mnuViewZoomIn"), QKeySequence::ZoomIn,
           [this] { m_chart->ZoomBy(0.8); });
    action(view, QStringLiteral("Zoom &Out"), QStringLiteral("mnuViewZoomOut"),
           QKeySequence::ZoomOut, [this] { m_chart->ZoomBy(1.25); });
    action(view, QStringLiteral("&Show All"), QStringLiteral("mnuViewShowAll"),
           QKeySequence(Qt::CTRL | Qt::Key_0), [this] { m_chart->ResetView(); });
    struct Pan {
        const char* caption;
        const char* name;
        Qt::Key key;
        double dx, dy;
    };
    const Pan pans[] = {{"Pan &Left", "mnuViewPanLeft", Qt::Key_Left, -0.1, 0.0},
                        {"Pan &Right", "mnuViewPanRight", Qt::Key_Right, 0.1, 0.0},
                        {"Pan &Up", "mnuViewPanUp", Qt::Key_Up, 0.0, 0.1},
                        {"Pan &Down", "mnuViewPanDown", Qt::Key_Down, 0.0, -0.1}};
    for (const Pan& pan : pans) {
        action(view, QString::fromLatin1(pan.caption), QString::fromLatin1(pan.name),
               QKeySequence(pan.key), [this, pan] { m_chart->PanBy(pan.dx, pan.dy); });
    }
    view->addSeparator();
    QAction* lines =
        action(view, QStringLiteral("&Quality Lines"), QStringLiteral("mnuViewQualityLines"),
               QKeySequence(), [this](bool on) { m_chart->ShowLines(on); });
    lines->setCheckable(true);
    lines->setChecked(false);
    lines->setEnabled(m_chart->LineCount() > 0);
    if (m_chart->LineCount() == 0) {
        lines->setStatusTip(QStringLiteral("No quality lines were traced for this envelope."));
    }
}

QString PhaseEnvelopeWindow::StatusText() const {
    return m_summary->text();
}

void PhaseEnvelopeWindow::ExportPoints() {
    const QString path = AskSaveFile(this, QStringLiteral("Export Points as CSV"),
                                     QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty()) {
        return;
    }
    QSaveFile file(path);
    const QByteArray text = EnvelopePointTable(m_plot, QLatin1Char(','), QLocale::c()).toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(text) != text.size() ||
        !file.commit()) {
        ShowMessage(this, QStringLiteral("Quorvane"),
                    QStringLiteral("The points could not be written to \"%1\": %2\n\nChoose a "
                                   "folder you can write to and try again.")
                        .arg(path, file.errorString()),
                    QMessageBox::Warning);
        return;
    }
    statusBar()->showMessage(QStringLiteral("Points written to %1").arg(path), 5000);
}

void PhaseEnvelopeWindow::CopyPoints() {
    QApplication::clipboard()->setText(EnvelopePointTable(m_plot, QLatin1Char('\t'), QLocale()));
    statusBar()->showMessage(
        QStringLiteral("Points copied as tab-separated text: paste them into a spreadsheet."),
        5000);
}

bool PhaseEnvelopeWindow::RenderPage(QPagedPaintDevice& device) {
    device.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    m_chart->Render(painter, QRectF(0, 0, device.width(), device.height()));
    return painter.end();
}

void PhaseEnvelopeWindow::Print() {
    const QString printer = DefaultPrinterName();
    if (printer.isEmpty()) {
        PrintToPdf();
        return;
    }
    if (!AskOkCancel(this, QStringLiteral("Confirmation"),
                     QStringLiteral("Make sure that device ") + printer +
                         QStringLiteral(" is ready"))) {
        return;
    }
    QPrinter device(QPrinter::HighResolution);
    device.setPrinterName(printer);
    if (!device.isValid() || !RenderPage(device)) {
        ShowMessage(this, QStringLiteral("Error"), kPrintError, QMessageBox::Critical);
    }
}

void PhaseEnvelopeWindow::PrintToPdf() {
    const QString path =
        AskSaveFile(this, QStringLiteral("No printer is installed: save the chart as a PDF file"),
                    QStringLiteral("PDF files (*.pdf)"), QStringLiteral("pdf"));
    if (path.isEmpty()) {
        return;
    }
    QPdfWriter writer(path);
    writer.setTitle(windowTitle());
    writer.setCreator(QStringLiteral("Quorvane"));
    if (!RenderPage(writer)) {
        ShowMessage(this, QStringLiteral("Error"),
                    QStringLiteral("The PDF file \"%1\" could not be written.\n\nChoose a folder "
                                   "you can write to and try again.")
                        .arg(path),
                    QMessageBox::Critical);
        return;
    }
    statusBar()->showMessage(QStringLiteral("Chart saved as %1").arg(path), 5000);
}

void PhaseEnvelopeWindow::SetPrinterLookup(std::function<QString()> lookup) {
    PrinterLookup() = std::move(lookup);
}

} // namespace quorvane
