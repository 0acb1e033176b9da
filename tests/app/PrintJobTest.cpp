// Printing on a machine without a printer: the print dialog prints to a PDF file named after
// what is printed, and a printer that cannot be opened is reported.

#include "gui/PrintJob.h"

#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

QPrinter& PdfPrinter(QPrinter& printer, const QString& file) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return printer;
}

bool IsPdf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(4) == "%PDF";
}

}  // namespace

TEST(PrintJob, APdfFileIsNamedAfterThePrintoutInTheFolderChosenBefore) {
    QTemporaryDir dir;
    struct Case {
        QString before;
        QString expected;
    };
    const Case cases[] = {
        {dir.path() + QStringLiteral("/"), dir.filePath(QStringLiteral("Run1 - Spectrum.pdf"))},
        {dir.path(), dir.filePath(QStringLiteral("Run1 - Spectrum.pdf"))},
        {dir.filePath(QStringLiteral("old.pdf")), dir.filePath(QStringLiteral("Run1 - Spectrum.pdf"))},
    };
    for (const Case& c : cases) {
        QPrinter printer;
        PrepareOutputFile(PdfPrinter(printer, c.before), QStringLiteral("Run1 - Spectrum"));
        EXPECT_EQ(printer.outputFileName(), c.expected) << c.before.toStdString();
    }
    QPrinter fresh;
    PrepareOutputFile(PdfPrinter(fresh, QString()), QStringLiteral("a/b"));
    EXPECT_TRUE(fresh.outputFileName().endsWith(QStringLiteral("/a_b.pdf")))
        << fresh.outputFileName().toStdString();
}

TEST(PrintJob, ThePrintDialogPrintsToAPdfFileWhenNoFileWasNamed) {
    QTemporaryDir dir;
    QPrinter printer;
    // What Qt's dialog leaves on a machine without printers: a folder for a file name.
    PdfPrinter(printer, dir.path() + QStringLiteral("/"));
    zartest::ModalDialogAnswer accepter("QPrintDialog");
    int drawn = 0;
    ASSERT_TRUE(RunPrintDialog(printer, nullptr, QStringLiteral("Run1 - Chromatogram"), {},
                               [&](QPainter& painter, QPrinter&) {
                                   painter.drawText(100, 100, QStringLiteral("page"));
                                   ++drawn;
                               }));
    EXPECT_TRUE(accepter.seen());
    EXPECT_EQ(drawn, 1);
    EXPECT_TRUE(IsPdf(dir.filePath(QStringLiteral("Run1 - Chromatogram.pdf"))));
}

TEST(PrintJob, APrinterThatCannotBeOpenedIsReported) {
    zartest::MessageBoxCapture boxes;
    QPrinter printer;
    PdfPrinter(printer, QStringLiteral("/nonexistent-folder/x/out.pdf"));
    bool drawn = false;
    EXPECT_FALSE(PrintOnPrinter(printer, [&](QPainter&, QPrinter&) { drawn = true; }));
    EXPECT_FALSE(drawn);
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith(QStringLiteral("Unable to print to \"/nonexistent-folder")));
}
