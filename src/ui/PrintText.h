#pragma once
// Printing a summary (e-AD, cancellation, change of destination, report of receipt, sent
// messages): the text becomes a document with a title and goes to the print preview, from which
// the user prints.
#include <QString>

#include <memory>

class QPrintPreviewDialog;
class QPrinter;
class QTextDocument;
class QWidget;

namespace vt {

// The text as a document titled `title`, in a fixed-pitch font so that the columns of the
// summaries stay aligned.
std::unique_ptr<QTextDocument> textDocument(const QString& text, const QString& title);

// Prepares the printer for a document titled `title` (the name the print queue shows).
void preparePrinter(QPrinter& printer, const QString& title);

// Runs a print preview the way every print of the program shows it: maximised (and nine tenths
// of the screen where nothing maximises it), its print button also on Ctrl+P. `over` is the
// window it belongs to. The dialog's result.
int execPreview(QPrintPreviewDialog& preview, QWidget* over);

// Shows the maximised print preview of the text as a document titled `title` (summaries: "EAD").
// True when the user printed.
bool printText(QWidget* parent, const QString& text, const QString& title = QStringLiteral("EAD"));

} // namespace vt
