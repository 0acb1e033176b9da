#pragma once
// Printing a view: Qt's print dialog on a printer, then the view's drawing on it. A machine
// without a printer prints to a PDF file, named after what is printed in the folder the user
// chose last (the documents folder at first).

#include <QString>

#include <functional>

class QPainter;
class QPrinter;
class QWidget;

namespace zar {

struct PrintDialogOptions {
    bool pageRanges = true;  // the dialog offers a range of pages
};

using PrintDrawing = std::function<void(QPainter& painter, QPrinter& printer)>;

// When the printer writes a PDF file, names the file "<documentName>.pdf" in the folder of the
// file named before (a folder name counts as the folder), or in the documents folder.
void PrepareOutputFile(QPrinter& printer, const QString& documentName);
// Starts the painter on the printer; false, and the user is told why, when it cannot be opened.
// A PDF file is printed to a temporary file beside it until EndPrinting.
bool BeginPrinting(QPainter& painter, QPrinter& printer);
// Ends what BeginPrinting started: a PDF file takes its name only when it was written whole, so
// a full disk leaves an earlier file of that name as it was. False, and the user is told why,
// when the printout could not be finished.
bool EndPrinting(QPainter& painter, QPrinter& printer);
// Draws on the printer; false, and the user is told why, when it cannot be opened or the
// printout could not be finished.
bool PrintOnPrinter(QPrinter& printer, const PrintDrawing& draw);
// The print dialog, then the drawing; false when the user cancels or the printer fails.
bool RunPrintDialog(QPrinter& printer, QWidget* parent, const QString& documentName,
                    const PrintDialogOptions& options, const PrintDrawing& draw);

}  // namespace zar
