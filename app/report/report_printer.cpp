#include "app/report/report_printer.h"

#include "app/dialog_seam.h"
#include "app/display_text.h"

#include <QDate>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>

namespace quorvane {

namespace {

PrinterAnswerer& PrintAnswerer() {
    static PrinterAnswerer answerer;
    return answerer;
}

PrinterAnswerer& SetupAnswerer() {
    static PrinterAnswerer answerer;
    return answerer;
}

constexpr double kMarginMm = 12.7;     // 720 twips: half an inch
constexpr double kLineSpacing = 1.45;  // row height in font heights
constexpr double kSmallestScale = 0.7; // the font is set no smaller to keep to one page

QPageSize LocalPageSize() {
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                : QPageSize::A4);
}

// The rows that open a section are drawn bold with a rule beneath.
bool IsHeadingRow(const QStringList& row) {
    static const QStringList headings = {QStringLiteral("Initial Conditions"),
                                         QStringLiteral("Component"),
                                         QStringLiteral("Flash Results")};
    return !row.isEmpty() && headings.contains(row.front());
}

bool IsNumber(const QString& text) {
    return ParseNumber(text).has_value();
}

} // namespace

QString ReportDocumentName(const QString& streamName) {
    return streamName + QStringLiteral(" (Quorvane, ") +
           QString::fromLatin1(ReportPrinter::kWebAddress) + QLatin1Char(')');
}

ReportPrinter::ReportPrinter() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    m_printer->setPageSize(LocalPageSize());
    m_printer->setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                              QPageLayout::Millimeter);
}

ReportPrinter::~ReportPrinter() = default;

void ReportPrinter::SetPrintDialogAnswerer(PrinterAnswerer answerer) {
    PrintAnswerer() = std::move(answerer);
}

void ReportPrinter::SetPageSetupAnswerer(PrinterAnswerer answerer) {
    SetupAnswerer() = std::move(answerer);
}

bool ReportPrinter::ChoosePdfFile(QWidget* parent, QPrinter& printer, const QString& caption) {
    FileRequest request;
    request.caption = caption;
    request.filter = QStringLiteral("PDF Files (*.pdf)");
    request.selectedFilter = request.filter;
    request.defaultSuffix = QStringLiteral("pdf");
    request.save = true;
    QString file = DialogSeam::FileName(parent, request);
    if (file.isEmpty()) {
        return false;
    }
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        file += QStringLiteral(".pdf");
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
}

bool ReportPrinter::Print(QWidget* parent, const ReportRows& rows, const QString& streamName) {
    QPrinter& printer = *m_printer;
    bool accepted = false;
    if (PrintAnswerer()) {
        accepted = PrintAnswerer()(printer);
    } else if (QPrinterInfo::availablePrinters().isEmpty()) {
        accepted = ChoosePdfFile(parent, printer,
                                 QStringLiteral("No printer is installed: print the report to a "
                                                "PDF file"));
    } else {
        printer.setOutputFileName({}); // a PDF file chosen before is not the printer
        printer.setOutputFormat(QPrinter::NativeFormat);
        QPrintDialog dialog(&printer, parent);
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (!accepted) {
        return true;
    }
    printer.setDocName(ReportDocumentName(streamName));
    printer.setCreator(QStringLiteral("Quorvane"));
    printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                           QPageLayout::Millimeter);
    if (!PaintReport(printer, rows)) {
        ShowMessage(parent, QStringLiteral("Quorvane"),
                    QStringLiteral("The report could not be printed: the printer or file \"%1\" "
                                   "cannot be opened. Check the printer, or choose another file.")
                        .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                                : printer.outputFileName()),
                    QMessageBox::Warning);
        return false;
    }
    return true;
}

void ReportPrinter::PageSetup(QWidget* parent) {
    if (SetupAnswerer()) {
        SetupAnswerer()(*m_printer);
        return;
    }
    QPageSetupDialog dialog(m_printer.get(), parent);
    dialog.exec(); // Cancel keeps the page as it was
}

bool ReportPrinter::ExportPdf(QWidget* parent, const ReportRows& rows, const QString& streamName) {
    QPrinter pdf(QPrinter::HighResolution);
    if (!ChoosePdfFile(parent, pdf, QStringLiteral("Export Report as PDF"))) {
        return true;
    }
    pdf.setPageLayout(m_printer->pageLayout());
    pdf.setDocName(ReportDocumentName(streamName));
    pdf.setCreator(QStringLiteral("Quorvane"));
    if (!PaintReport(pdf, rows)) {
        ShowMessage(parent, QStringLiteral("Quorvane"),
                    QStringLiteral("The PDF file \"%1\" cannot be written. Choose another folder "
                                   "or file name.")
                        .arg(pdf.outputFileName()),
                    QMessageBox::Warning);
        return false;
    }
    return true;
}

bool PaintReport(QPrinter& printer, const ReportRows& rows) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const double width = printer.width(); // the printable area, inside the margins
    const double height = printer.height();
    QFont font(QStringLiteral("Sans Serif"), 9);
    QFont bold = font;
    bold.setBold(true);
    QFont title = bold;
    title.setPointSizeF(11);

    // A report that would spill a few rows onto a second page is set smaller to fit one.
    const double rowsHeight = QFontMetricsF(font, &printer).height() * kLineSpacing *
                              (static_cast<double>(rows.size()) + 2.0);
    if (rowsHeight > height && rowsHeight * kSmallestScale <= height) {
        for (QFont* f : {&font, &bold, &title}) {
            f->setPointSizeF(f->pointSizeF() * height / rowsHeight);
        }
    }

    // Column widths from the widest cell (the title row spans the page); shrink the font when
    // the columns do not fit the width.
    std::array<double, kReportColumns> columns{};
    double gap = 0.0;
    for (int attempt = 0; attempt < 6; ++attempt) {
        const QFontMetricsF metrics(bold, &printer);
        gap = metrics.horizontalAdvance(QStringLiteral("MM"));
        columns.fill(0.0);
        for (qsizetype r = 1; r < rows.size(); ++r) {
            for (int c = 0; c < kReportColumns; ++c) {
                columns[static_cast<std::size_t>(c)] =
                    std::max(columns[static_cast<std::size_t>(c)],
                             metrics.horizontalAdvance(rows[r][c].trimmed()));
            }
        }
        double total = gap * (kReportColumns - 1);
        for (double w : columns) {
            total += w;
        }
        if (total <= width) {
            // Spread what is left over the value columns.
            const double spare = (width - total) / (kReportColumns - 1);
            for (int c = 1; c < kReportColumns; ++c) {
                columns[static_cast<std::size_t>(c)] += std::min(spare, gap * 2);
            }
            break;
        }
        for (QFont* f : {&font, &bold, &title}) {
            f->setPointSizeF(f->pointSizeF() * width / total);
        }
    }

    const double line = QFontMetricsF(font, &printer).height() * kLineSpacing;
    const double footer = line * 1.5;
    const QString date = QLocale().toString(QDate::currentDate(), QLocale::LongFormat);
    int page = 1;
    double y = 0.0;
    auto drawFooter = [&] {
        painter.setFont(font);
        painter.setPen(Qt::darkGray);
        const QRectF box(0, height - line, width, line);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Quorvane summary report, ") + date);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Page %1").arg(page));
        painter.setPen(Qt::black);
    };
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QStringList& row = rows[r];
        if (y + line > height - footer) {
            drawFooter();
            printer.newPage();
            ++page;
            y = 0.0;
        }
        if (r == 0) {
            painter.setFont(title);
            const QRectF box(0, y, width, line * 1.3);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, row[0]);
            painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, row[kReportColumns - 1]);
            y += line * 1.3;
            painter.drawLine(QPointF(0, y), QPointF(width, y));
            continue;
        }
        const bool heading = IsHeadingRow(row);
        painter.setFont(heading ? bold : font);
        double x = 0.0;
        for (int c = 0; c < kReportColumns; ++c) {
            const double w = columns[static_cast<std::size_t>(c)];
            const QString text = row[c].trimmed();
            const bool right = c > 0 && (IsNumber(text) || (heading && r > 2));
            painter.drawText(QRectF(x, y, w, line),
                             (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text);
            x += w + gap;
        }
        y += line;
        if (heading && r > 2) {
            painter.drawLine(QPointF(0, y - line * 0.1), QPointF(x - gap, y - line * 0.1));
        }
    }
    drawFooter();
    return painter.end();
}

} // namespace quorvane
