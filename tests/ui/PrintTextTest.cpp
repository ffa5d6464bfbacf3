#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QScreen>
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

// Large enough to read where nothing maximises it (no window manager), and printable from the
// keyboard.
TEST(PrintText, PreviewOpensWithTheTitleLargeAndCloses)
{
    QString seenTitle;
    QSize seenSize;
    bool printKey = false;
    QTimer::singleShot(0, [&] {
        if (auto* w = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            seenTitle = w->windowTitle();
            seenSize = w->size();
            for (QAction* a : w->findChildren<QAction*>())
                printKey = printKey || a->shortcut() == QKeySequence(QKeySequence::Print);
            w->reject();
        }
    });
    EXPECT_FALSE(printText(nullptr, QStringLiteral("riga 1\r\nriga 2\r\n")));
    EXPECT_EQ(seenTitle, QStringLiteral("EAD"));
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    EXPECT_GE(seenSize.width(), screen.width() * 8 / 10);
    EXPECT_GE(seenSize.height(), screen.height() * 8 / 10);
    EXPECT_TRUE(printKey);
}
