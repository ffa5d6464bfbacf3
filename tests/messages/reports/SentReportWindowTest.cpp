// The report window of sent messages, driven offscreen as a clerk uses it: opening on the current
// month, a period typed backwards, a yearly file that cannot be read, and printing through the
// preview on landscape pages.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "foundation/Dates.h"
#include "foundation/RecordCodec.h"
#include "foundation/RecordFile.h"
#include "messages/ead/EadStore.h"
#include "messages/reports/SentReport.h"
#include "messages/ead/Summary.h"
#include "messages/reports/TFRICIE815.h"
#include "support/Fakes.h"
#include "ui/Edits.h"

using namespace vt;
using namespace vt::test;

namespace {

struct SentReportWindow : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;

    // An e-AD sent on 07/12/2026 in flow 3 (the clock says 09/12/2026).
    void SetUp() override
    {
        TRecEad h = blankEad();
        h.progressivo = 1;
        h.dataFlusso = dates::fromDate(QDate(2026, 12, 7));
        h.numeroFlusso = 3;
        h.stato = "I";
        h.ARC = "26ITQXY00012345678901";
        h.DATSPE = dates::fromDate(QDate(2026, 12, 7));
        h.NUMFAT = "F12";
        h.COIDDE = "DE00123456789";
        h.DENDES = "Weinhaus";
        eadToStoredForm(h);
        RecordFile(eadfiles::headers(ctx, "2026"), TRecEad::Size).append(encodeEad(h));
    }

    QString reportFile() const { return readTextFile(sentReportPath(ctx)); }

    static void shown(TFRICIE815& w)
    {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(SentReportWindow, OpensOnTheCurrentMonthAndShowsTheReportFile)
{
    const std::pair<char, const char*> kinds[] = {{'1', "IE815"}, {'2', "IE810"}, {'3', "IE813"}, {'4', "IE818"}};
    for (const auto& [op, kind] : kinds) {
        ctx.OpCode = QLatin1Char(op);
        TFRICIE815 w(ctx);
        shown(w);
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Ricerca dei flussi %1 inviati").arg(kind));
        EXPECT_EQ(w.LANNO->text(), "2026");
        EXPECT_EQ(w.DALLA->text(), "01/12/2026");
        EXPECT_EQ(w.ALLA->text(), "09/12/2026");
        EXPECT_TRUE(w.DALLA->hasFocus());
        const QString text = w.Rich815->toPlainText();
        EXPECT_TRUE(text.startsWith(QStringLiteral("  MESSAGGI %1 INVIATI DAL 01/12/2026  AL 09/12/2026 RIFERITI ALLE "
                                                   "SPEDIZIONI DEL 2026\n \n")
                                        .arg(kind)))
            << text.toStdString();
        // What the box shows is REPORT.TXT, line for line.
        QString file = reportFile().replace("\r\n", "\n");
        file.chop(1);
        EXPECT_EQ(text, file);
    }
    ctx.OpCode = '1';
    TFRICIE815 w(ctx);
    shown(w);
    EXPECT_TRUE(w.Rich815->toPlainText().contains(
        "|07/12/2026| 3 |INVIATO   |26ITQXY00012345678901|07/12/2026|F12            |DE00123456789 Weinhaus"));
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join("|").toStdString();
}

// A period typed backwards: said in the window, nothing shown or printable that the fields do not
// ask for, REPORT.TXT left as it was; the clerk may go back to the first date to put it right.
TEST_F(SentReportWindow, APeriodTypedBackwardsShowsNothingAndCanBePutRight)
{
    ctx.OpCode = '1';
    TFRICIE815 w(ctx);
    shown(w);
    const QString before = reportFile();
    w.ALLA->setFocus();
    w.ALLA->selectAll();
    QTest::keyClicks(w.ALLA, "30112026");
    QTest::keyClick(w.ALLA, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_TRUE(w.ALLA->hasFocus());
    EXPECT_EQ(w.LSTATO->text(), "LA DATA FINALE E' ANTERIORE ALLA DATA INIZIALE");
    EXPECT_TRUE(w.Rich815->toPlainText().isEmpty());
    EXPECT_EQ(reportFile(), before);
    // Alt+S straight from the field prints nothing, and leaves the field as it is.
    int previews = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(top); preview && preview->isVisible()) {
                ++previews;
                preview->reject();
            }
    });
    poll.start(20);
    QTest::keyClick(w.ALLA, Qt::Key_S, Qt::AltModifier);
    QTest::qWait(400); // a shortcut clicks its button a moment later
    EXPECT_EQ(previews, 0);
    EXPECT_EQ(w.ALLA->text(), "30/11/2026");

    // Back to the first date with Shift+Tab, an earlier start: the report of the new period.
    QTest::keyClick(w.ALLA, Qt::Key_Backtab);
    QApplication::processEvents();
    ASSERT_TRUE(w.DALLA->hasFocus());
    w.DALLA->selectAll();
    QTest::keyClicks(w.DALLA, "08112026");
    QTest::keyClick(w.DALLA, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_TRUE(w.LSTATO->text().isEmpty());
    EXPECT_TRUE(reportFile().contains("DAL 08/11/2026  AL 30/11/2026")) << reportFile().toStdString();
    EXPECT_TRUE(w.Rich815->toPlainText().contains("DAL 08/11/2026  AL 30/11/2026"));
    EXPECT_FALSE(reportFile().contains("26ITQXY00012345678901"));
}

// A damaged yearly file: its message once on opening and once each time the clerk leaves a
// field, never because a message box or another window took the focus.
TEST_F(SentReportWindow, AFileThatCannotBeReadIsToldOncePerLeaving)
{
    QFile damaged(eadfiles::headers(ctx, "2026"));
    ASSERT_TRUE(damaged.open(QIODevice::Append));
    damaged.write("xyz");
    damaged.close();
    ctx.OpCode = '1';
    TFRICIE815 w(ctx);
    shown(w);
    ASSERT_EQ(t.messenger.infos.size(), 1);
    EXPECT_TRUE(t.messenger.infos[0].contains("DANNEGGIATO")) << t.messenger.infos[0].toStdString();

    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(w.DALLA, &out);
        QApplication::processEvents();
    }
    EXPECT_EQ(t.messenger.infos.size(), 1);

    QTest::keyClick(w.DALLA, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(t.messenger.infos.size(), 2);
    EXPECT_EQ(QFile(eadfiles::headers(ctx, "2026")).size(), TRecEad::Size + 3) << "the file is left as it is";
}

TEST_F(SentReportWindow, PrintsThroughThePreviewOnLandscapePages)
{
    ctx.OpCode = '1';
    TFRICIE815 w(ctx);
    shown(w);
    QString title, docName;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    bool seen = false, printShortcut = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview)
            return;
        seen = true;
        title = preview->windowTitle();
        docName = preview->printer()->docName();
        orientation = preview->printer()->pageLayout().orientation();
        for (QAction* action : preview->findChildren<QAction*>())
            if (action->shortcut() == QKeySequence(QKeySequence::Print))
                printShortcut = true;
        preview->reject();
    });
    poll.start(20);
    QTimer::singleShot(10000, [] {
        if (QWidget* m = QApplication::activeModalWidget())
            if (auto* d = qobject_cast<QDialog*>(m); d && !qobject_cast<TFRICIE815*>(m))
                d->reject();
    });
    // Alt+S straight from a changed date: what is printed is the report of that date.
    w.ALLA->setFocus();
    w.ALLA->selectAll();
    QTest::keyClicks(w.ALLA, "08122026");
    QTest::keyClick(w.ALLA, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen; }, 5000));
    EXPECT_TRUE(reportFile().contains("AL 08/12/2026")) << reportFile().toStdString();
    EXPECT_TRUE(w.Rich815->toPlainText().contains("AL 08/12/2026"));
    EXPECT_EQ(title, "messaggi inviati");
    EXPECT_EQ(docName, "messaggi inviati");
    EXPECT_EQ(orientation, QPageLayout::Landscape);
    EXPECT_TRUE(printShortcut) << "Ctrl+P prints from the preview";
}
