// The e-AD chooser: lists by mode, the listing file, sorting, the year rule, and the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "messages/ead/EadChoice.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/Ie815Send.h"
#include "messages/ead/TFSCEGLIDAA.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

struct EadChoice : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;

    // Three e-ADs of 2026: 1 and 3 unsent, 2 sent (ARC and state "I"); one of 2025.
    void SetUp() override
    {
        TRecEad a = sampleEadHeader(QDate(2026, 12, 9));
        a.NUMFAT = "FT/200";
        writeWorkFiles(ctx, 1, 1);
        saveEad(ctx, a, QString());
        TRecEad b = sampleEadHeader(QDate(2026, 11, 30));
        b.NUMFAT = "FT/100";
        b.DENDES = "ALPHA WEIN";
        saveEad(ctx, b, QString());
        TRecEad c = sampleEadHeader(QDate(2026, 12, 1));
        c.NUMFAT = "FT/150";
        c.CITDES = "BERLIN";
        saveEad(ctx, c, QString());
        updateEadInPlace(ctx, "2026", 2, [](TRecEad& h) {
            h.dataFlusso = 46000;
            h.numeroFlusso = 4;
        });
        storeIe815Arc(ctx, "2026", 2, "26IT00000000000000012");
        saveEad(ctx, sampleEadHeader(QDate(2025, 3, 1)), QString());
    }
};

QByteArray readFile(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

TEST_F(EadChoice, ModeIListsUnsentEadsInFileOrderThroughTheListingFile)
{
    const ChoiceList list = buildChoiceList(ctx, 'I', "2026");
    EXPECT_EQ(list.titles, (QStringList{"  FATTURA", "DATA SPED.", " DESTINATARIO "}));
    ASSERT_EQ(list.rows.size(), 2);
    EXPECT_EQ(list.rows[0].key, 1);
    EXPECT_EQ(list.rows[0].columns,
              (QStringList{"FT/200 del 09/12/2026", "09/12/2026", "WEINHAUS M\u00dcLLER GMBH DE00123456789 M\u00dcNCHEN"}));
    EXPECT_EQ(list.rows[1].key, 3);
    EXPECT_EQ(list.rows[1].columns[2], "WEINHAUS M\u00dcLLER GMBH DE00123456789 BERLIN");
    const QByteArray expected = "FT/200 del 09/12/2026\r\n@1\r\n\t09/12/2026\r\n\tWEINHAUS M\xDCLLER GMBH DE00123456789 M\xDCNCHEN\r\n"
                                "FT/150 del 01/12/2026\r\n@3\r\n\t01/12/2026\r\n\tWEINHAUS M\xDCLLER GMBH DE00123456789 BERLIN\r\n";
    EXPECT_EQ(readFile(ctx.temp("TABELLA.TXT")), expected);
}

TEST_F(EadChoice, ModeRListsSentAndUnsentWithFlowDataAndArc)
{
    const ChoiceList list = buildChoiceList(ctx, 'R', "2026");
    EXPECT_EQ(list.titles, (QStringList{"DATA INVIO", "N.Pr.", "      NUMERO ARC     ", "  FATTURA", "DATA SPED.",
                                        " DESTINATARIO "}));
    ASSERT_EQ(list.rows.size(), 3);
    EXPECT_EQ(list.rows[1].columns.mid(0, 4),
              (QStringList{"09/12/2025", "4", "26IT00000000000000012", "FT/100 del 30/11/2026"}));
    EXPECT_EQ(list.rows[0].columns.mid(0, 3), (QStringList{"", "0", ""})) << "no flow yet";
}

// A change of destination and a cancellation need the e-AD's ARC: only e-ADs that have one are
// offered; resetting or registering an ARC still lists them all.
TEST_F(EadChoice, ChangeAndCancellationOfferOnlyEadsWithAnArc)
{
    for (char mode : {'D', 'X'}) {
        const ChoiceList list = buildChoiceList(ctx, mode, "2026");
        ASSERT_EQ(list.rows.size(), 1) << mode;
        EXPECT_EQ(list.rows[0].key, 2) << mode;
    }
    EXPECT_EQ(buildChoiceList(ctx, 'A', "2026").rows.size(), 3);
}

TEST_F(EadChoice, OtherYearsAndMissingFilesGiveEmptyLists)
{
    EXPECT_EQ(buildChoiceList(ctx, 'I', "2025").rows.size(), 1);
    EXPECT_TRUE(buildChoiceList(ctx, 'I', "2030").rows.isEmpty());
    EXPECT_TRUE(buildChoiceList(ctx, '9', "2026").rows.isEmpty()); // no cancellations file
    EXPECT_EQ(readFile(ctx.temp("TABELLA.TXT")), QByteArray());
}

TEST_F(EadChoice, TitlesOfTheModes)
{
    EXPECT_EQ(chooserTitle('I'), "CREA, FIRMA e INVIA FLUSSO IE815");
    EXPECT_EQ(chooserTitle('R'), "REGISTRA IL NUMERO DI ARC ATTRIBUITO ALL'e-AD");
    EXPECT_EQ(chooserTitle('x'), "CANCELLA L'ANNULLAMENTO NON INVIATO nel Sistema Telematico Doganale DI UN e-AD");
    EXPECT_EQ(chooserTitle('Z'), "");
}

TEST(EadChoiceListing, ParsesRowsKeysAndColumnsAndSortsOrdinally)
{
    const QByteArray text = "b\r\n@20\r\n\tx\r\n\t2\r\nA\r\n@7\r\n\ty\r\n\t10\r\na\r\n@zz\r\n";
    QList<ChoiceRow> rows = parseListing(text);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].key, 20);
    EXPECT_EQ(rows[0].columns, (QStringList{"b", "x", "2"}));
    EXPECT_EQ(rows[2].key, 0) << "an unreadable number is 0";
    EXPECT_EQ(listingBytes(rows.mid(0, 2)), text.left(text.indexOf("a\r\n")));

    sortChoiceRows(rows, 0);
    EXPECT_EQ(rows[0].columns[0], "A") << "upper case before lower case";
    EXPECT_EQ(rows[1].columns[0], "a");
    sortChoiceRows(rows, 2);
    EXPECT_EQ(rows[0].key, 0) << "missing column sorts first";
    EXPECT_EQ(rows[1].columns[2], "10") << "text order: 10 before 2";

    ChoiceList list{{"A", "B"}, rows};
    EXPECT_EQ(columnWidths(list), (QList<int>{5, 5, 5}));
    list.rows[0].columns = {"123456789"};
    EXPECT_EQ(columnWidths(list)[0], 9);
}

TEST(EadChoiceYear, From2008To2060)
{
    for (const char* ok : {"2008", "2026", "2060"})
        EXPECT_TRUE(checkChoiceYear(ok).ok) << ok;
    for (const char* bad : {"2007", "2061", "", "26", "20x6"}) {
        const CheckResult r = checkChoiceYear(bad);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_EQ(r.focus, "LANNO");
    }
}

TEST_F(EadChoice, WindowListsTheYearAndEnterPicksTheRow)
{
    ctx.OpCode = 'I';
    TFSCEGLIDAA w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), "CREA, FIRMA e INVIA FLUSSO IE815");
    auto* year = w.findChild<QLineEdit*>("LANNO");
    auto* list = w.findChild<QTreeWidget*>("LISTA");
    ASSERT_TRUE(year && list && w.findChild<QWidget*>("BABBANDONA"));
    EXPECT_EQ(year->text(), "2026");
    EXPECT_TRUE(year->hasFocus());

    QTest::keyClick(year, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(list->hasFocus());
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->headerItem()->text(0), "  FATTURA");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "FT/150 del 01/12/2026");

    // Sorting by the invoice column puts FT/150 first.
    emit list->header()->sectionClicked(0);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "FT/150 del 01/12/2026");
    list->setCurrentItem(list->topLevelItem(0));
    w.grab().save(QDir::temp().filePath("TFSCEGLIDAA.png"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(ctx.PickedEad, 3);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(ctx.SelectedYear, "2026");
}

TEST_F(EadChoice, WindowKeepsAYearOutsideTheRangeAndEscapeLeavesWithoutChoice)
{
    ctx.OpCode = 'I';
    TFSCEGLIDAA w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* year = w.findChild<QLineEdit*>("LANNO");
    auto* list = w.findChild<QTreeWidget*>("LISTA");
    year->selectAll();
    QTest::keyClicks(year, "2061");
    QTest::keyClick(year, Qt::Key_Return);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_TRUE(year->hasFocus());
    EXPECT_EQ(ctx.SelectedYear, "2061");

    year->selectAll();
    QTest::keyClicks(year, "2025");
    QTest::keyClick(year, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(ctx.SelectedYear, "2025");

    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(ctx.PickedEad, -1);
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

// The list of the default year is there as soon as the chooser opens; the year keeps the focus
// so that another can be typed.
TEST_F(EadChoice, WindowListsTheDefaultYearOnOpening)
{
    ctx.OpCode = 'C';
    TFSCEGLIDAA w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* year = w.findChild<QLineEdit*>("LANNO");
    auto* list = w.findChild<QTreeWidget*>("LISTA");
    auto* none = w.findChild<QLabel*>("LNESSUNO");
    ASSERT_TRUE(year && list && none);
    EXPECT_TRUE(year->hasFocus());
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "FT/200 del 09/12/2026");
    EXPECT_FALSE(list->isHeaderHidden());
    EXPECT_FALSE(none->isVisible());

    // A double click on a row of the list built on opening chooses it.
    QTreeWidgetItem* second = list->topLevelItem(1);
    const QRect r = list->visualItemRect(second);
    // A double click as the system delivers it: the press and release of the first click, then
    // the double-click event.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(ctx.PickedEad, 3);
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_F(EadChoice, AYearWithoutEadsSaysSo)
{
    ctx.OpCode = 'I';
    t.clock.current = QDateTime(QDate(2024, 5, 2), QTime(9, 0));
    TFSCEGLIDAA w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* list = w.findChild<QTreeWidget*>("LISTA");
    auto* none = w.findChild<QLabel*>("LNESSUNO");
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_TRUE(none->isVisible());
    EXPECT_EQ(none->text(), "Nessun e-AD");
    EXPECT_EQ(list->headerItem()->text(0), "  FATTURA"); // the columns of the mode all the same
    EXPECT_TRUE(t.messenger.all.isEmpty());

    // Typing a year that has e-ADs lists them and the note goes away.
    auto* year = w.findChild<QLineEdit*>("LANNO");
    year->selectAll();
    QTest::keyClicks(year, "2026");
    QTest::keyClick(year, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(list->topLevelItemCount(), 2);
    EXPECT_FALSE(none->isVisible());
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(ctx.PickedEad, -1);
}

TEST_F(EadChoice, WindowIsWideEnoughForItsTitle)
{
    for (char mode : {'x', 'd', 'X', 'I'}) {
        ctx.OpCode = QLatin1Char(mode);
        TFSCEGLIDAA w(ctx);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        const int title = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(w.windowTitle());
        EXPECT_GE(w.width(), title + 100) << mode;
        if (mode == 'x')
            w.grab().save(QDir::temp().filePath(QStringLiteral("TFSCEGLIDAA-x.png")));
        w.reject();
    }
    // Never wider than the screen allows.
    ctx.ScreenWidthLimit = 500;
    ctx.OpCode = QLatin1Char('x');
    TFSCEGLIDAA narrow(ctx);
    narrow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&narrow));
    EXPECT_LE(narrow.width(), 500);
    narrow.reject();
}
