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
    // 14 characters per row: left = 1200 - 210, right = 1410.
    const auto* page = s.find(QStringLiteral("Pagina 1"));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->x, 2100);
    EXPECT_EQ(page->y, 48);
    EXPECT_TRUE(s.hasLine(1, 990, 240, 1410, 240));
    EXPECT_TRUE(s.hasLine(1, 990, 336, 1410, 336));
    EXPECT_TRUE(s.hasLine(1, 1410, 240, 1410, 336));
    EXPECT_TRUE(s.hasLine(1, 990, 240, 990, 336));
    EXPECT_TRUE(s.hasLine(1, 1170, 240, 1170, 336));
    const auto* title = s.find(QStringLiteral("Stati"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x, 1125);
    EXPECT_EQ(title->y, 144);
    const auto* head = s.find(QStringLiteral("Descrizione"));
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->x, 1200);
    EXPECT_EQ(head->y, 264);
    const auto* first = s.find(QStringLiteral("C0"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->x, 1020);
    EXPECT_EQ(first->y, 384);
    EXPECT_EQ(s.find(QStringLiteral("Riga 1"))->y, 432);
    EXPECT_EQ(s.find(QStringLiteral("Riga 1"))->x, 1200);
    EXPECT_EQ(first->font.name, QStringLiteral("COURIER NEW"));
    EXPECT_EQ(first->font.pointSize, 12);
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
