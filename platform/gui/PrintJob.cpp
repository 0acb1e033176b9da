#include "PrintJob.h"

#include "core/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QHash>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

namespace {

// A PDF file is printed to a temporary file beside it, which takes its name only once whole:
// a full disk leaves the file of that name as it was. The printers printing so, each with the
// name it prints to.
QHash<const QPrinter*, QString>& PendingFiles() {
    static QHash<const QPrinter*, QString> files;
    return files;
}

QString PrintTarget(const QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::PdfFormat) return printer.printerName();
    return PendingFiles().value(&printer, printer.outputFileName());
}

// Gives the printer its file's name back; the temporary file it printed to.
QString TakeTemporaryFile(QPrinter& printer) {
    const auto it = PendingFiles().constFind(&printer);
    if (it == PendingFiles().constEnd()) return QString();
    const QString temporary = printer.outputFileName();
    printer.setOutputFileName(it.value());
    PendingFiles().erase(it);
    return temporary;
}

// A PDF file ends with its end-of-file marker: one cut short does not.
bool IsWholePdf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16) return false;
    file.seek(file.size() - 16);
    return file.read(16).trimmed().endsWith("%%EOF");
}

}  // namespace

bool BeginPrinting(QPainter& painter, QPrinter& printer) {
    // A PDF printer whose file is a folder (what the dialog leaves without a name) gets a name.
    if (printer.outputFormat() == QPrinter::PdfFormat && QFileInfo(printer.outputFileName()).isDir())
        PrepareOutputFile(printer, printer.docName());
    TakeTemporaryFile(printer);  // a run that was never ended
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        const QString target = printer.outputFileName();
        const QFileInfo info(target);
        QTemporaryFile temporary(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                 QStringLiteral(".XXXXXX"));
        if (temporary.open()) {
            temporary.setAutoRemove(false);
            temporary.close();
            PendingFiles().insert(&printer, target);
            printer.setOutputFileName(temporary.fileName());
        }
    }
    if (painter.begin(&printer)) return true;
    const QString temporary = TakeTemporaryFile(printer);
    if (!temporary.isEmpty()) QFile::remove(temporary);
    ZarMessageBox(QStringLiteral("Unable to print to \"%1\".\nChoose another printer or file.")
                      .arg(PrintTarget(printer)),
                  MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool EndPrinting(QPainter& painter, QPrinter& printer) {
    const bool ended = painter.end();
    const QString temporary = TakeTemporaryFile(printer);
    if (temporary.isEmpty()) {
        if (ended) return true;
        ZarMessageBox(QStringLiteral("Unable to finish printing on \"%1\".").arg(PrintTarget(printer)),
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const QString target = printer.outputFileName();
    QString why;
    if (!ended || !IsWholePdf(temporary)) {
        why = QStringLiteral("The file could not be written whole: the disk may be full.");
    } else {
        // Readable by others as any file printed the ordinary way (a temporary file is not).
        QFile::setPermissions(temporary, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ReadGroup | QFileDevice::ReadOther);
        if (::rename(QFile::encodeName(temporary).constData(),
                     QFile::encodeName(target).constData()) == 0)
            return true;
        why = QString::fromLocal8Bit(std::strerror(errno));
    }
    QFile::remove(temporary);
    ZarMessageBox(QStringLiteral("Unable to print to \"%1\".\n%2").arg(target, why),
                  MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool PrintOnPrinter(QPrinter& printer, const PrintDrawing& draw) {
    QPainter painter;
    if (!BeginPrinting(painter, printer)) return false;
    draw(painter, printer);
    return EndPrinting(painter, printer);
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
