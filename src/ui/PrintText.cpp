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

int execPreview(QPrintPreviewDialog& preview, QWidget* over)
{
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
