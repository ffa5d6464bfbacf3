// The register print window: the mode's hint and fields, a period across two
// years refused with no prompt, the headings mode prompting for blank sheets
// and numbering from the typed page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "prints/TFSTAREGCARSCA.h"
#include "support/Fakes.h"
#include "ui/Edits.h"

using namespace vt;
using namespace vt::test;

TEST(RegisterWindow, ModesChecksAndPrompt)
{
    TestContext t; // today 09/12/2026
    t.ctx.OpCode = QLatin1Char('S');
    TFSTAREGCARSCA w(t.ctx);
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("REGISTRO DI SCARICO"));
    EXPECT_EQ(w.MDADA->text(), QStringLiteral("01/12/2026"));
    EXPECT_EQ(w.MDAAL->text(), QStringLiteral("09/12/2026"));
    EXPECT_EQ(w.Label3->text(), QStringLiteral("Stampa il REGISTRO DI SCARICO COMPRESE LE INTESTAZIONI"));
    EXPECT_FALSE(w.IDAPAG->isVisible());
    EXPECT_FALSE(w.MFOGLI->isVisible());

    int previews = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* p = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            ++previews;
            p->reject();
        }
    });
    poll.start(20);

    // The "to" date in another year: no prompt, no preview, the focus on it.
    w.MDAAL->setFocus();
    w.MDAAL->selectAll();
    QTest::keyClicks(w.MDAAL, QStringLiteral("05012027"));
    QTest::keyClick(w.MDAAL, Qt::Key_C, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_EQ(previews, 0);
    EXPECT_TRUE(t.messenger.infos.isEmpty());
    EXPECT_TRUE(w.MDAAL->hasFocus());

    w.MDAAL->selectAll();
    QTest::keyClicks(w.MDAAL, QStringLiteral("31122026"));
    w.RTIPO2->click();
    EXPECT_EQ(w.Label3->text(), QStringLiteral("Stampa solo le INTESTAZIONI sui fogli da vidimare"));
    EXPECT_TRUE(w.IDAPAG->isVisible());
    EXPECT_TRUE(w.MFOGLI->isVisible());
    // Sheets 0: refused on the field.
    w.IDAPAG->setFocus();
    QTest::keyClicks(w.IDAPAG, QStringLiteral("7"));
    w.MFOGLI->setFocus();
    QTest::keyClicks(w.MFOGLI, QStringLiteral("0"));
    QTimer::singleShot(0, [&] { w.BCONF->click(); });
    QTest::qWait(300);
    EXPECT_EQ(previews, 0);
    EXPECT_TRUE(w.MFOGLI->hasFocus());

    w.MFOGLI->selectAll();
    QTest::keyClicks(w.MFOGLI, QStringLiteral("3"));
    QTimer::singleShot(0, [&] { w.BCONF->click(); });
    QTest::qWait(600);
    EXPECT_EQ(t.messenger.infos,
              QStringList{QStringLiteral("INSERIRE NELLA STAMPANTE I FOGLI IN BIANCO DA VIDIMARE ")});
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(w.lastPrint().pageCounter, 6);
    EXPECT_EQ(w.lastPrint().sheets, 3);
    EXPECT_EQ(w.lastPrint().kind, QLatin1Char('S'));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.focusWidget(), w.MDADA);
}
