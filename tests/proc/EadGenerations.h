#pragma once
// The e-AD that the crash test modifies over and over. Generation g is a complete e-AD whose every
// part says which generation it belongs to: the invoice number "GEN g", its transport lines
// "G<g> T<k>" and its product lines "G<g> P<k>". Its date of dispatch moves between two years
// every second generation, so the modifications alternate between one year and across years, and
// its number of lines changes from one generation to the next.
#include <QDate>
#include <QList>

#include "foundation/EadRecord.h"
#include "support/EadFixtures.h"

namespace vt::test::generations {

inline int yearOf(int g)
{
    return 2026 + (g / 2) % 2;
}
inline int transportCount(int g)
{
    return 1 + g % 3;
}
inline int productCount(int g)
{
    return 1 + (g + 1) % 4;
}

inline TRecEad header(int g)
{
    TRecEad h = sampleEadHeader(QDate(yearOf(g), 6, 15));
    h.NUMFAT = QStringLiteral("GEN %1").arg(g);
    return h;
}

inline QString transportText(int g, int k)
{
    return QStringLiteral("G%1 T%2").arg(g).arg(k);
}
inline QString productText(int g, int k)
{
    return QStringLiteral("G%1 P%2").arg(g).arg(k);
}

inline QList<TRecDettaglio> transportLines(int g)
{
    QList<TRecDettaglio> out;
    for (int k = 1; k <= transportCount(g); ++k) {
        TRecDettaglio l = sampleTransportLine(k);
        l.SIGTRA() = transportText(g, k);
        out << l;
    }
    return out;
}

inline QList<TRecDettaglio> productLines(int g)
{
    QList<TRecDettaglio> out;
    for (int k = 1; k <= productCount(g); ++k) {
        TRecDettaglio l = sampleProductLine(k);
        l.LEDEPR = productText(g, k);
        out << l;
    }
    return out;
}

} // namespace vt::test::generations
