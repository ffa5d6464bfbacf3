#include "ui/PrintText.h"

#include <QFont>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>

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
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    return preview.exec() == QDialog::Accepted;
}

} // namespace vt
