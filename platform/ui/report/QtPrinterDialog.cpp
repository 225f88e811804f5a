#include "platform/ui/report/QtPrinterDialog.h"

#include "platform/ui/DialogErrorPrompt.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>

namespace brantock::platform {

std::optional<PrintDialogChoice> QtPrinterDialog::run(const PrintDialogRequest& request) {
    if (!DialogErrorPrompt::canShowDialogs())
        return std::nullopt;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(request.title);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setMinMax(request.firstPage, request.lastPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;

    PrintDialogChoice choice;
    choice.printerName = printer.printerName();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        choice.outputFileName = printer.outputFileName();
    if (printer.printRange() == QPrinter::PageRange) {
        choice.fromPage = printer.fromPage();
        choice.toPage = printer.toPage();
    }
    choice.copies = printer.copyCount();
    choice.collate = printer.collateCopies();
    choice.duplex = printer.duplex() != QPrinter::DuplexNone;
    choice.grayscale = printer.colorMode() == QPrinter::GrayScale;
    choice.paperKey = printer.pageLayout().pageSize().key();
    return choice;
}

void QtPrinterDialog::install() {
    static QtPrinterDialog dialog;
    PrinterDialog::setCurrent(&dialog);
}

} // namespace brantock::platform
