#include "support/RecordingSurface.h"

namespace vt::test {

void RecordingSurface::begin(PageOrientation o)
{
    orientation = o;
    pages = 1;
}

int RecordingSurface::pageWidth() const
{
    return orientation == PageOrientation::Portrait ? portraitWidth : portraitHeight;
}

int RecordingSurface::pageHeight() const
{
    return orientation == PageOrientation::Portrait ? portraitHeight : portraitWidth;
}

QList<RecordingSurface::Text> RecordingSurface::textsOnPage(int page) const
{
    QList<Text> out;
    for (const Text& t : texts)
        if (t.page == page)
            out << t;
    return out;
}

const RecordingSurface::Text* RecordingSurface::find(const QString& t, int page) const
{
    for (const Text& x : texts)
        if (x.text == t && (page < 0 || x.page == page))
            return &x;
    return nullptr;
}

bool RecordingSurface::hasLine(int page, int x1, int y1, int x2, int y2) const
{
    for (const Line& l : lines)
        if (l.page == page && l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2)
            return true;
    return false;
}

} // namespace vt::test
