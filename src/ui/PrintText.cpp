#include "ui/PrintText.h"

#include <QAction>
#include <QCoreApplication>
#include <QFont>
#include <QKeySequence>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextDocument>
#include <QTextOption>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPdfWriter>
#include <QToolBar>

#include "foundation/Services.h"
#include "ui/QtPageSurface.h"
#include "ui/QtServices.h"

namespace vt {

std::unique_ptr<QTextDocument> textDocument(const QString& text, const QString& title)
{
    auto doc = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("Courier New"), 9);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    doc->setDefaultFont(font);
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc->setDefaultTextOption(option);
    // Summary files end their lines with CR LF; the document wants plain line feeds.
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (plain.endsWith(QLatin1Char('\n')))
        plain.chop(1);
    doc->setPlainText(plain);
    doc->setMetaInformation(QTextDocument::DocumentTitle, title);
    return doc;
}

void preparePrinter(QPrinter& printer, const QString& title)
{
    printer.setDocName(title);
    printer.setCreator(QStringLiteral("Telematizzazione dei movimenti di vino intracomunitari"));
}

bool printText(QWidget* parent, const QString& text, const QString& title)
{
    auto doc = textDocument(text, title);
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, title);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&doc](QPrinter* p) { doc->print(p); });
    return execPreview(preview, parent) == QDialog::Accepted;
}

namespace {
// The file name of a saved print: its title and the moment it was saved, so that no earlier
// file is overwritten.
QString pdfName(const QString& title)
{
    QString name = title.trimmed();
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != QLatin1Char('-'))
            c = QLatin1Char('_');
    if (name.isEmpty())
        name = QStringLiteral("stampa");
    return name + QDateTime::currentDateTime().toString(QStringLiteral("_yyyyMMdd_HHmmss")) + QStringLiteral(".pdf");
}

// Tells, without stopping the preview, where the file went or that it could not be written.
void tell(QPrintPreviewDialog& preview, QMessageBox::Icon icon, const QString& text)
{
    auto* box = new QMessageBox(icon, preview.windowTitle(), text, QMessageBox::Ok, &preview);
    box->setObjectName(QStringLiteral("ESITOPDF"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void savePdf(QPrintPreviewDialog& preview, FileDialogs* dialogs, const PdfWriterFn& writePdf)
{
    static QString lastFolder = QDir::homePath();
    QtFileDialogs system;
    FileDialogs& d = dialogs ? *dialogs : system;
    const QString folder = d.chooseFolder(QStringLiteral("Salva PDF: cartella del file"), lastFolder);
    if (folder.isEmpty())
        return;
    lastFolder = folder;
    QString path = QDir(folder).filePath(pdfName(preview.windowTitle()));
    for (int n = 2; QFile::exists(path); ++n) // two saves within a second
        path = QDir(folder).filePath(pdfName(preview.windowTitle()).replace(QStringLiteral(".pdf"),
                                                                            QStringLiteral("_%1.pdf").arg(n)));
    bool ok = false;
    if (writePdf) {
        ok = writePdf(path);
    } else {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(path);
        pdf.setPageLayout(preview.printer()->pageLayout());
        pdf.setDocName(preview.printer()->docName());
        pdf.setCreator(preview.printer()->creator());
        emit preview.paintRequested(&pdf);
        ok = QFileInfo(path).size() > 0;
    }
    if (ok)
        tell(preview, QMessageBox::Information, QStringLiteral("PDF SALVATO IN ") + QDir::toNativeSeparators(path));
    else
        tell(preview, QMessageBox::Warning,
             QStringLiteral("IMPOSSIBILE SCRIVERE IL FILE ") + QDir::toNativeSeparators(path));
}
} // namespace

bool writePagesPdf(const QString& path, const QString& title, const DrawPagesFn& draw)
{
    QFile::remove(path);
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Telematizzazione dei movimenti di vino intracomunitari"));
    QtPageSurface surface(writer);
    draw(surface);
    return !surface.failed() && QFileInfo(path).size() > 0;
}

void previewPages(QWidget* over, FileDialogs& dialogs, const QString& title, PageOrientation orientation,
                  const DrawPagesFn& draw)
{
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, title);
    printer.setFullPage(true); // positions from the edge of the sheet, as in the PDF
    printer.setPageOrientation(orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait);
    QPrintPreviewDialog preview(&printer, over);
    preview.setObjectName(QStringLiteral("ANTEPRIMA"));
    preview.setWindowTitle(title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&draw](QPrinter* p) {
        QtPageSurface surface(*p);
        draw(surface);
    });
    execPreview(preview, over, &dialogs, [&](const QString& path) { return writePagesPdf(path, title, draw); });
}

int execPreview(QPrintPreviewDialog& preview, QWidget* over, FileDialogs* dialogs, PdfWriterFn writePdf)
{
    if (QToolBar* bar = preview.findChild<QToolBar*>()) {
        bar->addSeparator();
        QAction* save = bar->addAction(QStringLiteral("Salva PDF"));
        save->setObjectName(QStringLiteral("SALVAPDF"));
        save->setToolTip(QStringLiteral("Salva le pagine in un file PDF"));
        QObject::connect(save, &QAction::triggered, &preview,
                         [&preview, dialogs, writePdf] { savePdf(preview, dialogs, writePdf); });
    }
    const QString printText = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : preview.findChildren<QAction*>())
        if (action->text() == printText && action->shortcut().isEmpty())
            action->setShortcut(QKeySequence::Print);
    if (QScreen* screen = over ? over->screen() : preview.screen())
        preview.resize(screen->availableGeometry().size() * 9 / 10);
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    return preview.exec();
}

} // namespace vt
