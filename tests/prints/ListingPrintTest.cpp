#include <gtest/gtest.h>

#include "prints/ListingPrint.h"
#include "support/RecordingSurface.h"

using namespace vt;
using namespace vt::test;

namespace {
Listing twoColumns(int items)
{
    Listing l;
    l.title = QStringLiteral("Stati");
    l.columnTitles = {QStringLiteral("Codice"), QStringLiteral("Descrizione")};
    l.widths[0] = 2; // shown as 5
    l.widths[1] = 7;
    for (int i = 0; i < items; ++i)
        l.items << ListingItem{{QStringLiteral("C%1").arg(i), QStringLiteral("Riga %1").arg(i)}, i};
    return l;
}
} // namespace

TEST(ListingPrint, PortraitPageHeaderAndFirstRows)
{
    RecordingSurface s; // 12 points: characters 30 wide, lines 48 high; page 2400 x 3400
    PrintListing(s, twoColumns(2));
    EXPECT_EQ(s.orientation, PageOrientation::Portrait);
    EXPECT_TRUE(s.ended);
    EXPECT_EQ(s.pages, 1);
    // The columns are as wide as their titles: "Codice" 6 (data 2), "Descrizione" 11 (data 7).
    // 7 + 12 = 19 characters per row: left = 1200 - 285 = 915, right = 915 + 570 = 1485.
    const auto* page = s.find(QStringLiteral("Pagina 1"));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->x, 2100);
    EXPECT_EQ(page->y, 48);
    EXPECT_TRUE(s.hasLine(1, 915, 240, 1485, 240));
    EXPECT_TRUE(s.hasLine(1, 915, 336, 1485, 336));
    EXPECT_TRUE(s.hasLine(1, 1485, 240, 1485, 336));
    EXPECT_TRUE(s.hasLine(1, 915, 240, 915, 336));
    EXPECT_TRUE(s.hasLine(1, 1125, 240, 1125, 336)); // 915 + 7 characters
    const auto* title = s.find(QStringLiteral("Stati"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x, 1125);
    EXPECT_EQ(title->y, 144);
    const auto* head = s.find(QStringLiteral("Descrizione"));
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->x, 1155);
    EXPECT_EQ(head->y, 264);
    const auto* first = s.find(QStringLiteral("C0"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->x, 945);
    EXPECT_EQ(first->y, 384);
    EXPECT_EQ(s.find(QStringLiteral("Riga 1"))->y, 432);
    EXPECT_EQ(s.find(QStringLiteral("Riga 1"))->x, 1155);
    EXPECT_EQ(first->font.name, QStringLiteral("COURIER NEW"));
    EXPECT_EQ(first->font.pointSize, 12);
}

// A title longer than its column's data widens the column, so that it never runs into the next
// title; a column whose data is wider keeps the width of its data.
TEST(ListingPrint, EveryTitleFitsItsColumn)
{
    Listing l;
    l.title = QStringLiteral("Stati e accise");
    l.columnTitles = {QStringLiteral("CODICE"), QStringLiteral("STATO"), QStringLiteral("X")};
    l.widths[0] = 2;  // shown as 5, title 6
    l.widths[1] = 5;  // title 5
    l.widths[2] = 12; // data wider than the title
    l.items << ListingItem{{QStringLiteral("IT"), QStringLiteral("ITALY"), QStringLiteral("123456789012")}, 1};
    EXPECT_EQ(l.columnWidth(0), 6);
    EXPECT_EQ(l.columnWidth(1), 5);
    EXPECT_EQ(l.columnWidth(2), 12);
    EXPECT_EQ(ListingRowChars(l), 7 + 6 + 13);

    RecordingSurface s;
    PrintListing(s, l);
    const int cw = 30;
    QList<int> titleX;
    for (const char* t : {"CODICE", "STATO", "X"})
        titleX << s.find(QString::fromLatin1(t))->x;
    EXPECT_EQ(titleX[1] - titleX[0], cw * 7);
    EXPECT_EQ(titleX[2] - titleX[1], cw * 6);
    // Titles and data of a column start at the same place; the data follow the widened columns.
    EXPECT_EQ(s.find(QStringLiteral("IT"))->x, titleX[0]);
    EXPECT_EQ(s.find(QStringLiteral("ITALY"))->x, titleX[1]);
    EXPECT_EQ(s.find(QStringLiteral("123456789012"))->x, titleX[2]);
    // A title ends before the vertical line of the next column.
    for (int n = 0; n < 2; ++n) {
        const int nextLine = titleX[n + 1] - cw;
        EXPECT_LE(titleX[n] + cw * int(l.columnTitles[n].size()), nextLine) << n;
        EXPECT_TRUE(s.hasLine(1, nextLine, 240, nextLine, 336)) << n;
    }
}

TEST(ListingPrint, SixtyRowsPerPageThenANewPage)
{
    RecordingSurface s; // 3400 / 48 - 10 = 60 rows per page
    PrintListing(s, twoColumns(61));
    EXPECT_EQ(s.pages, 2);
    EXPECT_EQ(s.find(QStringLiteral("C59"))->page, 1);
    EXPECT_EQ(s.find(QStringLiteral("C60"))->page, 2);
    EXPECT_EQ(s.find(QStringLiteral("C60"))->y, 384);
    EXPECT_NE(s.find(QStringLiteral("Pagina 2"), 2), nullptr);
    EXPECT_NE(s.find(QStringLiteral("Descrizione"), 2), nullptr);
}

TEST(ListingPrint, WideListingIsLandscapeWithASmallerFont)
{
    Listing l;
    l.widths.fill(8); // 13 x 9 = 117 characters
    l.items << ListingItem{{QStringLiteral("IT")}, 1};
    RecordingSurface s;
    PrintListing(s, l);
    EXPECT_EQ(s.orientation, PageOrientation::Landscape);
    // 12 points need 3510 units on a 3400 page; 11 points (27 per character) need 3159.
    EXPECT_EQ(s.find(QStringLiteral("IT"))->font.pointSize, 11);

    Listing narrow;
    narrow.widths[0] = 89; // 90 characters: still portrait
    RecordingSurface p;
    PrintListing(p, narrow);
    EXPECT_EQ(p.orientation, PageOrientation::Portrait);
}
