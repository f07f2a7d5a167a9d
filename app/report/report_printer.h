#pragma once

// Printing the summary report: the printer dialog first (a PDF file instead when the system
// has no printer), page setup, and export as a PDF file. The report is drawn as a table of its
// cells with half-inch margins, text left and numbers right, on as many pages as it needs.

#include "app/report/summary_report.h"

#include <QPrinter>
#include <functional>
#include <memory>

class QWidget;

namespace quorvane {

// Answers the printer and page-setup dialogs instead of showing them (tests); true for OK.
using PrinterAnswerer = std::function<bool(QPrinter& printer)>;

class ReportPrinter {
public:
    // Web address in the document name of a printed report.
    static constexpr const char* kWebAddress = "https://quorvane.example";

    ReportPrinter();
    ~ReportPrinter();

    // "Print": the printer dialog (or, with no printer installed, a PDF file name), then the
    // report as a document named after the stream. Cancel ends silently; false when printing
    // failed (the user has been told).
    bool Print(QWidget* parent, const ReportRows& rows, const QString& streamName);
    // "Print Setup": the page-setup dialog for the printer the report goes to.
    void PageSetup(QWidget* parent);
    // "Export Report as PDF": a PDF file in the page size chosen in page setup (A4 or Letter
    // by the locale until then).
    bool ExportPdf(QWidget* parent, const ReportRows& rows, const QString& streamName);

    QPrinter& Printer() { return *m_printer; }

    static void SetPrintDialogAnswerer(PrinterAnswerer answerer);
    static void SetPageSetupAnswerer(PrinterAnswerer answerer);

private:
    bool ChoosePdfFile(QWidget* parent, QPrinter& printer, const QString& caption);

    std::unique_ptr<QPrinter> m_printer;
};

// The document name of a printed report: the stream name and where the program comes from.
QString ReportDocumentName(const QString& streamName);

// Draws the report on the printer's pages; false when the printer cannot be opened.
bool PaintReport(QPrinter& printer, const ReportRows& rows);

} // namespace quorvane
