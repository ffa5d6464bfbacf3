#pragma once
// Printing a summary (e-AD, cancellation, change of destination, report of receipt, sent
// messages): the text becomes a document with a title and goes to the print preview, from which
// the user prints.
#include <QString>

#include <functional>
#include <memory>

#include "prints/PageSurface.h"

class QPrintPreviewDialog;
class QPrinter;
class QTextDocument;
class QWidget;

namespace vt {

class FileDialogs;

// The text as a document titled `title`, in a fixed-pitch font so that the columns of the
// summaries stay aligned.
std::unique_ptr<QTextDocument> textDocument(const QString& text, const QString& title);

// Prepares the printer for a document titled `title` (the name the print queue shows).
void preparePrinter(QPrinter& printer, const QString& title);

// Writes the pages of the preview's document to a PDF file; false when the file cannot be written.
using PdfWriterFn = std::function<bool(const QString& path)>;

// Runs a print preview the way every print of the program shows it: maximised (and nine tenths
// of the screen where nothing maximises it), its print button also on Ctrl+P, and "Salva PDF"
// in its tool bar: the folder is chosen through `dialogs` (the system's dialog when none is
// given) and the file, named by the title and the moment, is drawn by `writePdf` -- by default
// the preview's own drawing on a PDF printer. `over` is the window it belongs to. The dialog's
// result.
int execPreview(QPrintPreviewDialog& preview, QWidget* over, FileDialogs* dialogs = nullptr,
                PdfWriterFn writePdf = {});

// The pages a print draws on a page surface (it begins and ends the document itself).
using DrawPagesFn = std::function<void(PageSurface&)>;

// Draws the pages into a PDF file (A4, 1200 dots per inch, fonts embedded) titled `title`;
// false when the file cannot be written.
bool writePagesPdf(const QString& path, const QString& title, const DrawPagesFn& draw);

// Shows the maximised print preview of a page-surface print titled `title`, with "Salva PDF".
void previewPages(QWidget* over, FileDialogs& dialogs, const QString& title, PageOrientation orientation,
                  const DrawPagesFn& draw);

// Shows the maximised print preview of the text as a document titled `title` (summaries: "EAD").
// True when the user printed.
bool printText(QWidget* parent, const QString& text, const QString& title = QStringLiteral("EAD"));

} // namespace vt
