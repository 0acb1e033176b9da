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

// A printout that does not fit on the disk leaves the file printed before as it was, and the
// user is told; nothing half-written is left beside it.
TEST(PrintJob, APdfFileThatCannotBeWrittenWholeKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Run1 - Spectrum.pdf"));
    const auto print = [&](int lines) {
        QPrinter printer;
        return PrintOnPrinter(PdfPrinter(printer, file), [&](QPainter& painter, QPrinter& p) {
            for (int i = 0; i < lines; ++i) {
                if (i > 0 && i % 40 == 0) p.newPage();
                painter.drawText(100, 100 + 20 * (i % 40), QStringLiteral("line %1 of the printout").arg(i));
            }
        });
    };
    ASSERT_TRUE(print(10));
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();
    ASSERT_TRUE(IsPdf(file));

    const int status = zartest::RunWithFileSizeLimit(4096, [&] {
        zartest::MessageBoxCapture boxes;
        if (print(2000)) return 1;  // reported as printed
        if (boxes.texts().size() != 1 || !boxes.texts()[0].contains(file)) return 2;
        return 0;
    });
    EXPECT_EQ(status, 0);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Run1 - Spectrum.pdf")});

    // With room, the new printout takes the name.
    ASSERT_TRUE(print(100));
    old.close();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_NE(old.readAll(), before);
    EXPECT_TRUE(IsPdf(file));
}
