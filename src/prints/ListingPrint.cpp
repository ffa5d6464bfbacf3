#include "prints/ListingPrint.h"

#include <algorithm>

namespace vt {

int ListingRowChars(const Listing& listing)
{
    int t = 0;
    for (int n = 0; n < listing.shownColumns().size(); ++n)
        t += listing.columnWidth(n) + 1;
    return t;
}

PageOrientation ListingOrientation(const Listing& listing)
{
    return ListingRowChars(listing) < 91 ? PageOrientation::Portrait : PageOrientation::Landscape;
}

void PrintListing(PageSurface& s, const Listing& listing)
{
    const QList<int> shown = listing.shownColumns();
    const int t = ListingRowChars(listing);
    s.begin(ListingOrientation(listing));
    PageFont font;
    s.setFont(font);
    s.setPenWidth(4);

    int cw = s.textWidth(QStringLiteral("W"));
    if (s.pageWidth() < t * cw) {
        // The first size at which a row fits, or the smallest; a wider row overflows on the right.
        for (int size = 13; size >= 3; --size) {
            font.pointSize = size;
            s.setFont(font);
            if (t * s.textWidth(QStringLiteral("M")) <= s.pageWidth())
                break;
        }
        cw = s.textWidth(QStringLiteral("M"));
    }
    const int lh = std::max(1, s.textHeight(QStringLiteral("Q")));
    const int pw = s.pageWidth();
    const int left = pw / 2 - cw * t / 2;
    const int right = left + cw * t;
    const int rowsPerPage = std::max(1, s.pageHeight() / lh - 10);

    auto header = [&](int page) {
        s.text(pw - 10 * cw, lh, QStringLiteral("Pagina ") + QString::number(page));
        s.line(left, 5 * lh, right, 5 * lh);
        s.line(left, 7 * lh, right, 7 * lh);
        s.line(right, 5 * lh, right, 7 * lh);
        int x = left;
        for (int n = 0; n < shown.size(); ++n) {
            s.line(x, 5 * lh, x, 7 * lh);
            s.text(x + cw, 5 * lh + lh / 2, listing.titleOfShown(n));
            x += cw * (listing.columnWidth(n) + 1);
        }
        s.textCentred(pw / 2, 3 * lh, listing.title);
    };

    int page = 1;
    header(page);
    int row = 0;
    for (const ListingItem& it : listing.items) {
        if (row == rowsPerPage) {
            s.newPage();
            header(++page);
            row = 0;
        }
        const int y = (8 + row) * lh;
        int x = left + cw;
        for (int n = 0; n < shown.size(); ++n) {
            const int c = shown[n];
            if (c < it.columns.size())
                s.text(x, y, it.columns[c]);
            x += cw * (listing.columnWidth(n) + 1);
        }
        ++row;
    }
    s.end();
}

} // namespace vt
