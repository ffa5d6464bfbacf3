#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QPdfWriter>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "ui/WindowRegistry.h"
#include "prints/ListingPrint.h"
#include "ui/QtPageSurface.h"
#include "ui/TFLISTVIEW.h"
#include "support/Fakes.h"
#include "support/TableFixtures.h"

using namespace vt;
using namespace vt::test;

namespace {

struct TFLISTVIEWTest : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;

    void SetUp() override
    {
        auto s = structureRecord("T010", 1, "Imballaggi", "Codice;Descrizione", {2, 60});
        writeTable(ctx, "T010", &s,
                   {tableRow(11, {"BA", "barile"}), tableRow(4, {"BO", "Bottiglia"}), tableRow(20, {"CT", "Cartone"})});
        ctx.TableName = QStringLiteral("T010");
    }

    static QTableWidget* grid(QWidget& w) { return w.findChild<QTableWidget*>(QStringLiteral("LISTA")); }
    static QStringList column(QTableWidget* g, int c)
    {
        QStringList out;
        for (int r = 0; r < g->rowCount(); ++r)
            out << g->item(r, c)->text();
        return out;
    }
    static void clickHeader(QTableWidget* g, int section)
    {
        QHeaderView* h = g->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(section) + 5, h->height() / 2));
    }
};

} // namespace

TEST_F(TFLISTVIEWTest, ShowsTitleColumnsAndRowsAndSelectsTheFirst)
{
    ctx.PickedCode = 99;
    TFLISTVIEW w(ctx);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Imballaggi"));
    QTableWidget* g = grid(w);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->columnCount(), 2);
    EXPECT_EQ(g->horizontalHeaderItem(0)->text(), QStringLiteral("Codice"));
    EXPECT_EQ(g->horizontalHeaderItem(1)->text(), QStringLiteral("Descrizione"));
    EXPECT_EQ(column(g, 0), (QStringList{"BA", "BO", "CT"}));
    EXPECT_EQ(column(g, 1), (QStringList{"barile", "Bottiglia", "Cartone"}));
    EXPECT_EQ(g->currentRow(), 0);
    EXPECT_EQ(ctx.PickedCode, -1);
    EXPECT_FALSE(g->editTriggers() & QAbstractItemView::DoubleClicked);
    EXPECT_EQ(w.findChild<QPushButton*>("BOK")->text(), QStringLiteral("&OK"));
    EXPECT_EQ(w.findChild<QPushButton*>("BSTAMPA")->text(), QStringLiteral("&Stampa"));
    EXPECT_EQ(w.findChild<QPushButton*>("BABBANDONA")->text(), QStringLiteral("&Abbandona"));
}

TEST_F(TFLISTVIEWTest, SortsByTheClickedColumnAndPicksWithEnter)
{
    TFLISTVIEW w(ctx);
    w.show();
    QTableWidget* g = grid(w);
    clickHeader(g, 1);
    EXPECT_EQ(column(g, 1), (QStringList{"Bottiglia", "Cartone", "barile"})); // capitals first
    clickHeader(g, 1);
    EXPECT_EQ(column(g, 1), (QStringList{"Bottiglia", "Cartone", "barile"}));
    g->selectRow(2);
    QTest::keyClick(g, Qt::Key_Return);
    EXPECT_EQ(ctx.PickedCode, 11);
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_F(TFLISTVIEWTest, OkAndDoubleClickPickTheSelectedRow)
{
    {
        TFLISTVIEW w(ctx);
        grid(w)->selectRow(1);
        QTest::mouseClick(w.findChild<QPushButton*>("BOK"), Qt::LeftButton);
        EXPECT_EQ(ctx.PickedCode, 4);
    }
    {
        TFLISTVIEW w(ctx);
        w.show();
        QTableWidget* g = grid(w);
        const QRect cell = g->visualItemRect(g->item(2, 0));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_EQ(ctx.PickedCode, 20);
    }
}

TEST_F(TFLISTVIEWTest, EscapeAndAbandonGiveMinusOne)
{
    {
        TFLISTVIEW w(ctx);
        w.show();
        QTest::keyClick(grid(w), Qt::Key_Escape);
        EXPECT_EQ(ctx.PickedCode, -1);
        EXPECT_EQ(w.result(), QDialog::Rejected);
    }
    {
        TFLISTVIEW w(ctx);
        grid(w)->selectRow(1);
        QTest::mouseClick(w.findChild<QPushButton*>("BABBANDONA"), Qt::LeftButton);
        EXPECT_EQ(ctx.PickedCode, -1);
    }
}

TEST_F(TFLISTVIEWTest, OneRowTableReturnsItsNumberOnEnter)
{
    auto s = structureRecord("T001", 1, "Lingue", "Codice;Descrizione", {2, 30});
    writeTable(ctx, "T001", &s, {tableRow(42, {"it", "Italiano"})});
    ctx.TableName = QStringLiteral("T001");
    TFLISTVIEW w(ctx);
    w.show();
    EXPECT_EQ(grid(w)->rowCount(), 1);
    QTest::keyClick(grid(w), Qt::Key_Enter);
    EXPECT_EQ(ctx.PickedCode, 42);
}

TEST_F(TFLISTVIEWTest, EmptyListingPicksNothing)
{
    ctx.TableName = QStringLiteral("T404");
    TFLISTVIEW w(ctx);
    w.show();
    EXPECT_EQ(grid(w)->rowCount(), 0);
    QTest::mouseClick(w.findChild<QPushButton*>("BOK"), Qt::LeftButton);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(ctx.PickedCode, -1);
    EXPECT_TRUE(t.messenger.infos.isEmpty());
}

TEST_F(TFLISTVIEWTest, SizeStaysWithinTheScreenLimits)
{
    auto s = structureRecord("ACCISE", 1, "Aliquote", "Stato", {2});
    QList<TRecTabella> rows;
    for (int i = 1; i <= 60; ++i)
        rows << tableRow(i, {QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))});
    writeTable(ctx, "ACCISE", &s, rows);
    ctx.TableName = QStringLiteral("ACCISE");
    ctx.ScreenWidthLimit = 500;
    ctx.ScreenHeightLimit = 400;
    TFLISTVIEW w(ctx);
    EXPECT_EQ(w.width(), 500);
    EXPECT_EQ(w.height(), 400);
    EXPECT_EQ(grid(w)->columnCount(), 13);

    ctx.TableName = QStringLiteral("T404");
    TFLISTVIEW small(ctx);
    EXPECT_EQ(small.width(), 300);
    EXPECT_EQ(small.height(), 300);
}

TEST_F(TFLISTVIEWTest, ReachableByNameAndPrintOpensThePreview)
{
    QString seen;
    QTimer::singleShot(0, [&] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            seen = m->objectName();
            m->close();
        }
    });
    EXPECT_TRUE(openWindow(QStringLiteral("TFLISTVIEW"), ctx, nullptr));
    EXPECT_EQ(seen, QStringLiteral("TFLISTVIEW"));

    TFLISTVIEW w(ctx);
    w.show();
    QTimer::singleShot(0, [&] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            seen = m->objectName();
            m->close();
        }
    });
    QTest::mouseClick(w.findChild<QPushButton*>("BSTAMPA"), Qt::LeftButton);
    EXPECT_EQ(seen, QStringLiteral("PrintD"));
}

// Rows one line high, titles never clipped (a column is as wide as the wider of its title and
// its data), and the whole text of every cell as its tool tip.
TEST_F(TFLISTVIEWTest, RowsAreOneLineHighTitlesFitAndCellsShowTheirWholeText)
{
    auto s = structureRecord("TA03", 1, "Uffici Doganali", "CODICE D'ACCISA;DESCRIZIONE;", {8, 60});
    const QString longText = QStringLiteral("UFFICIO DELLE DOGANE DI TORINO - SEZIONE OPERATIVA TERRITORIALE");
    writeTable(ctx, "TA03", &s, {tableRow(1, {"IT01", longText}), tableRow(2, {"IT02", "ASTI"})});
    ctx.TableName = QStringLiteral("TA03");
    TFLISTVIEW w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTableWidget* g = grid(w);
    ASSERT_EQ(g->columnCount(), 2);
    const QFontMetrics fm(g->font());
    EXPECT_LT(g->rowHeight(0), 2 * fm.height());
    EXPECT_GE(g->rowHeight(0), fm.height());
    EXPECT_EQ(g->rowHeight(1), g->rowHeight(0));

    QHeaderView* header = g->horizontalHeader();
    for (int c = 0; c < g->columnCount(); ++c) {
        const QString title = g->horizontalHeaderItem(c)->text();
        // What the header needs to show its title whole, with its margins.
        EXPECT_GE(g->columnWidth(c), header->sectionSizeHint(c)) << title.toStdString();
        EXPECT_GE(g->columnWidth(c), QFontMetrics(header->font()).horizontalAdvance(title)) << title.toStdString();
    }
    EXPECT_EQ(g->item(0, 1)->toolTip(), longText);
    EXPECT_EQ(g->item(1, 0)->toolTip(), QStringLiteral("IT02"));
    w.grab().save(QDir::temp().filePath(QStringLiteral("TFLISTVIEW.png")));
}

// The printed listing drawn on a real page (a PDF): a page is made, titles and rows on it.
TEST_F(TFLISTVIEWTest, PrintedListingOnAPdfPage)
{
    auto s = structureRecord("T004", 1, "Stati", "CODICE;STATO;", {2, 50});
    writeTable(ctx, "T004", &s, {tableRow(1, {"IT", "Italia"}), tableRow(2, {"FR", "Francia"})});
    ctx.TableName = QStringLiteral("T004");
    TFLISTVIEW w(ctx);
    const QString pdf = QDir::temp().filePath(QStringLiteral("TFLISTVIEW-print.pdf"));
    QFile::remove(pdf);
    QPdfWriter writer(pdf);
    QtPageSurface surface(writer);
    PrintListing(surface, w.listing());
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
}
