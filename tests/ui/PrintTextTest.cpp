#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTimer>

#include "ui/PrintText.h"

using namespace vt;

TEST(PrintText, SummaryBecomesAFixedPitchDocumentTitledEad)
{
    const QString text = QStringLiteral("   Tipo Messaggio: 1\r\n         Località: MÜNCHEN\r\n");
    auto doc = textDocument(text, QStringLiteral("EAD"));
    EXPECT_EQ(doc->metaInformation(QTextDocument::DocumentTitle), QStringLiteral("EAD"));
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("   Tipo Messaggio: 1\n         Località: MÜNCHEN"));
    EXPECT_EQ(doc->blockCount(), 2);
    EXPECT_TRUE(doc->defaultFont().fixedPitch());

    QPrinter printer;
    preparePrinter(printer, QStringLiteral("EAD"));
    EXPECT_EQ(printer.docName(), QStringLiteral("EAD"));
}

TEST(PrintText, PreviewOpensWithTheTitleAndCloses)
{
    QString seenTitle;
    QTimer::singleShot(0, [&] {
        if (auto* w = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            seenTitle = w->windowTitle();
            w->reject();
        }
    });
    EXPECT_FALSE(printText(nullptr, QStringLiteral("riga 1\r\nriga 2\r\n")));
    EXPECT_EQ(seenTitle, QStringLiteral("EAD"));
}
