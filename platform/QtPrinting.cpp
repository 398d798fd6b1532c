// Printing a window's image, or a PDF file where no printer is installed.

#include "platform/QtPlatform.h"

#include "platform/PdfOutput.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

KeptPrinter::KeptPrinter() = default;
KeptPrinter::~KeptPrinter() = default;

QPrinter& KeptPrinter::get()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

QtPrinter::QtPrinter(KeptPrinter* printer) : m_printer(printer) {}

QString QtPrinter::printImage(const QImage& image, const QString& fallbackPdf)
{
    if (!m_printer) {
        m_ownPrinter = std::make_unique<KeptPrinter>();
        m_printer = m_ownPrinter.get();
    }
    QPrinter& printer = m_printer->get();
    const bool onPrinter = printer.outputFormat() == QPrinter::NativeFormat &&
                           !QPrinterInfo::availablePrinterNames().isEmpty();
    if (!onPrinter) {
        const QString reason = writeImagePdf(image, printer.pageLayout(), fallbackPdf);
        return reason.isEmpty() ? "Printed to " + fallbackPdf
                                : "Could not write " + fallbackPdf + ": " + reason;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return "Could not print on " + printer.printerName();
    drawImageOnPage(painter, image);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return "Could not print on " + printer.printerName();
    return "Printed on " + printer.printerName();
}
