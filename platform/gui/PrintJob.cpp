#include "PrintJob.h"

#include "core/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace zar {

void PrepareOutputFile(QPrinter& printer, const QString& documentName) {
    if (printer.outputFormat() != QPrinter::PdfFormat) return;
    const QString previous = printer.outputFileName();
    QString folder;
    if (!previous.isEmpty()) {
        const QFileInfo info(previous);
        folder = info.isDir() || previous.endsWith(QLatin1Char('/')) ? previous : info.absolutePath();
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    QString name = documentName.trimmed();
    // Characters a file name cannot hold become underscores.
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':')) c = QLatin1Char('_');
    if (name.isEmpty()) name = QStringLiteral("print");
    printer.setOutputFileName(QDir(folder).filePath(name + QStringLiteral(".pdf")));
}

bool BeginPrinting(QPainter& painter, QPrinter& printer) {
    // A PDF printer whose file is a folder (what the dialog leaves without a name) gets a name.
    if (printer.outputFormat() == QPrinter::PdfFormat && QFileInfo(printer.outputFileName()).isDir())
        PrepareOutputFile(printer, printer.docName());
    if (painter.begin(&printer)) return true;
    const QString where = printer.outputFormat() == QPrinter::PdfFormat
                              ? printer.outputFileName()
                              : printer.printerName();
    ZarMessageBox(QStringLiteral("Unable to print to \"%1\".\nChoose another printer or file.").arg(where),
                  MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool PrintOnPrinter(QPrinter& printer, const PrintDrawing& draw) {
    QPainter painter;
    if (!BeginPrinting(painter, printer)) return false;
    draw(painter, printer);
    painter.end();
    return true;
}

bool RunPrintDialog(QPrinter& printer, QWidget* parent, const QString& documentName,
                    const PrintDialogOptions& options, const PrintDrawing& draw) {
    printer.setDocName(documentName);
    PrepareOutputFile(printer, documentName);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, options.pageRanges);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted) return false;
    return PrintOnPrinter(printer, draw);
}

}  // namespace zar
