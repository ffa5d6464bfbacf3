// The register searches over a small register of two years (2025 and 2026), and
// the list they print, position by position on the recording surface.
#include <gtest/gtest.h>

#include <QFile>

#include "foundation/Dates.h"
#include "foundation/RegisterRecord.h"
#include "register/searches/RegisterSearch.h"
#include "register/store/RegisterStore.h"
#include "support/Fakes.h"
#include "support/RecordingSurface.h"

using namespace vt;
using namespace vt::test;

namespace {

struct Rec {
    int numero;
    QDate date;
    const char* tipoMovimento;
    const char* operazione;
    const char* stato;
    const char* tipoDocumento;
    const char* controparte;
    QDate flow; // invalid: not sent
    int flowNumber;
};

TRecMovimento movement(const Rec& x)
{
    TRecMovimento r = blankRegisterRecord();
    r.numero = x.numero;
    r.progressivo = x.numero;
    r.data = dates::fromDate(x.date);
    r.registro = QStringLiteral("C");
    r.tipoMovimento = QString::fromLatin1(x.tipoMovimento);
    r.operazione = QString::fromLatin1(x.operazione);
    r.stato = QString::fromLatin1(x.stato);
    r.tipoDocumento = QString::fromLatin1(x.tipoDocumento);
    r.controparte = QString::fromLatin1(x.controparte);
    r.numeroDocumento = QStringLiteral("DOC%1").arg(x.numero);
    if (x.flow.isValid()) {
        r.dataFlusso = dates::fromDate(x.flow);
        r.numeroFlusso = x.flowNumber;
    }
    PadRegisterRecord(r);
    return r;
}

void writeFile(const QString& path, const QList<TRecMovimento>& records)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    for (const TRecMovimento& r : records)
        f.write(encodeRegisterRecord(r));
}

const char* IT = "IT00ABC00001X";
const char* DE = "DE00XYZ00002Y";

// 2025: a load of March sent in March; an unload of 15 December sent on 8
// January 2026; an unload of 20 December rectified (superseded, with its unsent
// cancellation record); the conclusion of an e-AD (stored as ROR), a change of
// destination sent on 30 December, the conclusion of a DAA and its cancellation
// ("D"). 2026: a load, an unload sent on 11 January, an unload to another
// consignee.
struct TwoYears {
    TestContext t;
    TwoYears()
    {
        const QDate none;
        writeFile(registerfiles::movements(t.ctx, 2025),
                  {movement({1, {2025, 3, 10}, "C", "I", " ", "DAA", IT, {2025, 3, 12}, 1}),
                   movement({2, {2025, 12, 15}, "S", "I", " ", "EAD", DE, {2026, 1, 8}, 3}),
                   movement({3, {2025, 12, 20}, "S", "I", "C", "DAA", DE, {2025, 12, 21}, 1}),
                   movement({4, {2025, 12, 20}, "S", "C", " ", "DAA", DE, none, 0}),
                   movement({5, {2025, 12, 22}, "A", "I", " ", "ROR", DE, none, 0}),
                   movement({6, {2025, 12, 23}, "A", "I", " ", "COD", DE, {2025, 12, 30}, 2}),
                   movement({7, {2025, 12, 28}, "A", "A", " ", "DAA", "", none, 0}),
                   movement({8, {2025, 12, 29}, "A", "D", " ", "DAA", "", none, 0})});
        writeFile(registerfiles::movements(t.ctx, 2026),
                  {movement({1, {2026, 1, 5}, "C", "I", " ", "DAA", IT, none, 0}),
                   movement({2, {2026, 1, 10}, "S", "I", " ", "EAD", DE, {2026, 1, 11}, 1}),
                   movement({3, {2026, 1, 20}, "S", "I", " ", "DAA", "FR00QQQ00003Z", none, 0})});
        TRecMovimento g1 = movement({1, {2025, 12, 30}, "", "I", " ", "", "", {2026, 1, 2}, 1});
        g1.registro = QStringLiteral("F");
        TRecMovimento g2 = movement({1, {2026, 1, 5}, "", "I", " ", "", "", none, 0});
        g2.registro = QStringLiteral("F");
        writeFile(registerfiles::guarantees(t.ctx, 2025), {g1});
        writeFile(registerfiles::guarantees(t.ctx, 2026), {g2});
    }
};

// Each selected record as "yyyy#numero".
QStringList run(TwoYears& f, char op, const QString& from, const QString& to, const QString& filter = {})
{
    RegisterSearch s;
    EXPECT_TRUE(checkRegisterSearch(from, to, filter, s).ok);
    QStringList out;
    for (const TRecMovimento& r : searchRegister(f.t.ctx, *searchModeOf(QLatin1Char(op)), s))
        out << QStringLiteral("%1#%2").arg(dates::toDate(r.data).year()).arg(r.numero);
    return out;
}

} // namespace

TEST(RegisterSearch, SelectsByModeDatesAndCounterpart)
{
    TwoYears f;
    struct Case {
        char op;
        const char* from;
        const char* to;
        const char* filter;
        QStringList expected;
    };
    const Case cases[]{
        {'C', "01/01/2025", "31/12/2026", "", {"2025#1", "2026#1"}},
        {'C', "01/01/2025", "31/12/2026", "IT00ABC00001X", {"2025#1", "2026#1"}},
        {'C', "01/01/2025", "31/12/2026", "IT00ABC", {}},                    // the whole excise number, not a part
        {'C', "01/01/2025", "31/12/2026", " IT00ABC", {"2025#1", "2026#1"}}, // leading space: blank
        // December before January; superseded and cancellation records listed.
        {'S', "15/12/2025", "15/01/2026", "", {"2025#2", "2025#3", "2025#4", "2026#2"}},
        {'S', "01/01/2025", "31/12/2026", "DE00XYZ00002Y", {"2025#2", "2025#3", "2025#4", "2026#2"}},
        {'S', "16/12/2025", "19/12/2025", "", {}},
        // Conclusions: the e-AD's (ROR), the DAA's ("A") and its cancellation
        // ("D").
        {'A', "01/01/2025", "31/12/2025", "", {"2025#5", "2025#7", "2025#8"}},
        {'D', "01/01/2025", "31/12/2026", "", {"2025#6"}},
        // Sent: by flow date; December sent in January is found from a January
        // search.
        {'s', "01/01/2026", "31/01/2026", "", {"2025#2", "2026#2"}},
        {'s', "01/12/2025", "31/12/2025", "", {"2025#3"}},
        {'s', "01/01/2025", "07/01/2026", "", {"2025#3"}},
        {'c', "01/01/2025", "31/12/2026", "", {"2025#1"}},
        {'d', "30/12/2025", "30/12/2025", "", {"2025#6"}},
        {'a', "01/01/2025", "31/12/2026", "", {}},
        // Guarantees: by day, and by flow date (the day of December sent on 2
        // January).
        {'G', "01/01/2025", "31/12/2026", "", {"2025#1", "2026#1"}},
        {'g', "01/01/2026", "31/12/2026", "", {"2025#1"}},
        {'g', "01/12/2025", "31/12/2025", "", {}},
    };
    for (const Case& c : cases) {
        QStringList expected;
        for (const QString& e : c.expected)
            expected << e;
        EXPECT_EQ(run(f, c.op, QString::fromLatin1(c.from), QString::fromLatin1(c.to), QString::fromLatin1(c.filter)),
                  expected)
            << c.op << ' ' << c.from << ' ' << c.to << " [" << c.filter << "]";
    }
}

TEST(RegisterSearch, ReadingCreatesNoFile)
{
    TestContext t;
    RegisterSearch s;
    ASSERT_TRUE(checkRegisterSearch(QStringLiteral("01/12/2024"), QStringLiteral("31/01/2025"), {}, s).ok);
    EXPECT_TRUE(searchRegister(t.ctx, *searchModeOf(QLatin1Char('s')), s).isEmpty());
    EXPECT_TRUE(searchRegister(t.ctx, *searchModeOf(QLatin1Char('G')), s).isEmpty());
    for (int y : {2023, 2024, 2025}) {
        EXPECT_FALSE(QFile::exists(registerfiles::movements(t.ctx, y)));
        EXPECT_FALSE(QFile::exists(registerfiles::guarantees(t.ctx, y)));
    }
}

TEST(RegisterSearch, ChecksNameTheFieldAndPadTheFilter)
{
    struct Case {
        const char* from;
        const char* to;
        const char* focus; // "" passes
    };
    const Case cases[]{
        {"01/01/2025", "31/12/2025", ""},      {"32/01/2025", "31/12/2025", "MDADA"},
        {"  /  /    ", "31/12/2025", "MDADA"}, {"01/01/1999", "31/12/2025", "MDADA"},
        {"01/01/2025", "31/02/2025", "MDAAL"}, {"01/01/2025", "01/01/2101", "MDAAL"},
        {"02/01/2025", "01/01/2025", "MDAAL"}, {"01/01/2025", "01/01/2025", ""},
    };
    for (const Case& c : cases) {
        RegisterSearch s;
        const CheckResult r =
            checkRegisterSearch(QString::fromLatin1(c.from), QString::fromLatin1(c.to), QStringLiteral("IT1"), s);
        EXPECT_EQ(r.ok, *c.focus == 0) << c.from << ' ' << c.to;
        EXPECT_EQ(r.focus, QString::fromLatin1(c.focus)) << c.from << ' ' << c.to;
        EXPECT_TRUE(r.message.isEmpty()); // only the focus moves
        if (r.ok) {
            EXPECT_EQ(s.counterpart, QStringLiteral("IT1             "));
        }
    }
}

// Landscape 3400 x 2400; 8 points: "E" 20 wide, lines 32 high, baseline 24
// below the top. The table is 149 E = 2980 wide from 210; rows from 8 lines
// (256) down.
TEST(RegisterSearchPrint, MovementListHeadingRowsAndRules)
{
    TwoYears f;
    RegisterSearch s;
    ASSERT_TRUE(checkRegisterSearch(QStringLiteral("15/12/2025"), QStringLiteral("31/12/2025"), {}, s).ok);
    const SearchMode mode = *searchModeOf(QLatin1Char('S'));
    const QList<TRecMovimento> rows = searchRegister(f.t.ctx, mode, s);
    ASSERT_EQ(rows.size(), 3);
    RecordingSurface p;
    PrintRegisterSearch(p, mode, s, rows);
    EXPECT_EQ(p.orientation, PageOrientation::Landscape);
    EXPECT_EQ(p.pages, 1);
    EXPECT_TRUE(p.ended);

    // Title: 12 points bold (30 wide, 48 high, baseline 36), at 2 lines, centred
    // on 1700.
    const QString title = QStringLiteral("Ricerca negli scarichi dal 15/12/2025 al 31/12/2025 - ");
    const auto* t = p.find(title);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->y, 96 - 36);
    EXPECT_EQ(t->x, 1700 - title.size() * 30 / 2);
    EXPECT_TRUE(t->font.bold);
    EXPECT_EQ(t->font.name, QStringLiteral("TIMES NEW ROMAN"));

    // Heading box: 5, 6 (31..131 E) and 8 lines.
    EXPECT_TRUE(p.hasLine(1, 210, 160, 3190, 160));
    EXPECT_TRUE(p.hasLine(1, 830, 192, 2830, 192));
    EXPECT_TRUE(p.hasLine(1, 210, 256, 3190, 256));
    // Heading texts, 6 points (15 wide, baseline 18 below the top): lines at 186,
    // 224, 250.
    const auto* nr = p.find(QStringLiteral("Nr."));
    ASSERT_NE(nr, nullptr);
    EXPECT_EQ(nr->x, 250 - 22);
    EXPECT_EQ(nr->y, 186 - 18);
    EXPECT_EQ(nr->font.pointSize, 6);
    EXPECT_EQ(p.find(QStringLiteral("Dest."))->y, 224 - 18);
    EXPECT_EQ(p.find(QStringLiteral("Dest."))->x, 210 + 1650 - 37);
    EXPECT_NE(p.find(QStringLiteral("Destinatario")), nullptr);
    EXPECT_EQ(p.find(QStringLiteral("Prov.")), nullptr);
    EXPECT_EQ(p.find(QStringLiteral("flusso"))->y, 250 - 18);
    EXPECT_EQ(p.find(QStringLiteral("Operazione"))->y, 224 - 18);

    // Rows: baselines 288, 320, 352; the rule 1/5 line below each.
    const auto* first = p.find(QStringLiteral("15/12/2025"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->y, 288 - 24);
    EXPECT_EQ(first->x, 380 - 100); // centred on 8.5 E
    EXPECT_FALSE(first->font.strikeOut);
    EXPECT_TRUE(p.hasLine(1, 210, 294, 3190, 294));
    EXPECT_TRUE(p.hasLine(1, 210, 326, 3190, 326));
    EXPECT_TRUE(p.hasLine(1, 210, 358, 3190, 358));
    // The document number as stored, then the e-AD numbers; the flow name of 8
    // January.
    const QString doc = QStringLiteral("DOC2") + QString(17, QLatin1Char(' ')) + QStringLiteral("-00-000");
    ASSERT_NE(p.find(doc), nullptr);
    EXPECT_EQ(p.find(doc)->x, 210 + 58 * 20 - doc.size() * 20 / 2);
    const auto* flow = p.find(QStringLiteral("0108.C03"));
    ASSERT_NE(flow, nullptr);
    EXPECT_EQ(flow->x, 210 + 2850);
    EXPECT_EQ(flow->y, 288 - 24);
    // The superseded record and its cancellation are struck out, their numbers
    // shown.
    int struck = 0;
    for (const auto& x : p.texts)
        if (x.text == QLatin1String("20/12/2025")) {
            EXPECT_TRUE(x.font.strikeOut);
            ++struck;
        }
    EXPECT_EQ(struck, 2);
    // Column rules from 5 lines (6 for the inner ones) down to the last row's
    // rule.
    EXPECT_TRUE(p.hasLine(1, 210, 160, 210, 358));
    EXPECT_TRUE(p.hasLine(1, 210 + 2310, 160, 210 + 2310, 358)); // 115.5 E
    EXPECT_TRUE(p.hasLine(1, 210 + 2050, 192, 210 + 2050, 358)); // 102.5 E
}

TEST(RegisterSearchPrint, HeadingsFollowTheModeAndConclusionsLeaveTheQuantitiesEmpty)
{
    TwoYears f;
    RegisterSearch s;
    ASSERT_TRUE(checkRegisterSearch(QStringLiteral("01/01/2025"), QStringLiteral("31/12/2025"),
                                    QStringLiteral("IT00ABC00001X"), s)
                    .ok);
    {
        RecordingSurface p; // sent loads: the supplier headings
        PrintRegisterSearch(p, *searchModeOf(QLatin1Char('c')), s, {});
        EXPECT_NE(p.find(QStringLiteral("Prov.")), nullptr);
        EXPECT_NE(p.find(QStringLiteral("Mittente")), nullptr);
        EXPECT_NE(p.find(QStringLiteral("Ricerca carichi inviati dal 01/01/2025 al "
                                        "31/12/2025 - IT00ABC00001X")),
                  nullptr);
        EXPECT_EQ(p.pages, 1); // an empty selection: the title and the empty box
        EXPECT_TRUE(p.hasLine(1, 210, 160, 210, 256));
    }
    TRecMovimento a = movement({7, {2025, 12, 28}, "A", "A", " ", "DAA", "", {}, 0});
    a.progressivo = 0;
    a.litri = 10;
    a.confezioni = 4;
    a.garanzia = 1234.5;
    a.stoccaggio = QStringLiteral("N");
    RecordingSurface p;
    PrintRegisterSearch(p, *searchModeOf(QLatin1Char('A')), s, {a});
    EXPECT_NE(p.find(QStringLiteral("validazione")), nullptr);
    EXPECT_EQ(p.find(QStringLiteral("Operazione")), nullptr);
    EXPECT_EQ(p.find(QStringLiteral("0")), nullptr); // no "Nr.", no packages
    EXPECT_EQ(p.find(QStringLiteral("N")), nullptr); // no storage
    EXPECT_EQ(p.find(QStringLiteral("10,00000")), nullptr);
    const auto* g = p.find(QStringLiteral("1.234,50"));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->x, 210 + 2830 - 160);               // right-aligned at 141.5 E
    EXPECT_NE(p.find(QStringLiteral(" ")), nullptr); // the empty flow column
}

TEST(RegisterSearchPrint, SixtyRowsAPageWithTitleAndBoxOnEach)
{
    RegisterSearch s;
    ASSERT_TRUE(checkRegisterSearch(QStringLiteral("01/01/2026"), QStringLiteral("31/12/2026"), {}, s).ok);
    QList<TRecMovimento> rows;
    for (int i = 1; i <= 61; ++i)
        rows << movement({i, {2026, 2, 1}, "C", "I", " ", "DAA", IT, {}, 0});
    RecordingSurface p;
    PrintRegisterSearch(p, *searchModeOf(QLatin1Char('C')), s, rows);
    // Rows stand at 288 + 32 k while the position before them is at most 2400 -
    // 256.
    EXPECT_EQ(p.pages, 2);
    EXPECT_EQ(p.find(QStringLiteral("60"))->page, 1);
    EXPECT_EQ(p.find(QStringLiteral("60"))->y, 256 + 60 * 32 - 24);
    EXPECT_EQ(p.find(QStringLiteral("61"))->page, 2);
    EXPECT_EQ(p.find(QStringLiteral("61"))->y, 288 - 24);
    const QString title = QStringLiteral("Ricerca nei carichi dal 01/01/2026 al 31/12/2026 - ");
    EXPECT_NE(p.find(title, 1), nullptr);
    EXPECT_NE(p.find(title, 2), nullptr);
    EXPECT_TRUE(p.hasLine(2, 210, 160, 210, 294));
}

// 10 points: "E" 25 wide, lines 40 high; the table is 80 E = 2000 wide from
// 700.
TEST(RegisterSearchPrint, GuaranteeList)
{
    TwoYears f;
    RegisterSearch s;
    ASSERT_TRUE(checkRegisterSearch(QStringLiteral("01/12/2025"), QStringLiteral("31/01/2026"), {}, s).ok);
    const SearchMode mode = *searchModeOf(QLatin1Char('G'));
    QList<TRecMovimento> rows = searchRegister(f.t.ctx, mode, s);
    ASSERT_EQ(rows.size(), 2);
    rows[0].impegnato() = 100;
    rows[0].disponibile() = 9900.5;
    rows[1].stato = QStringLiteral("C");
    RecordingSurface p;
    PrintRegisterSearch(p, mode, s, rows);
    EXPECT_NE(p.find(QStringLiteral("Ricerca nel registro delle garanzie dal 01/12/2025 al 31/01/2026")), nullptr);
    EXPECT_TRUE(p.hasLine(1, 700, 200, 2700, 200));
    EXPECT_TRUE(p.hasLine(1, 700, 244, 2700, 244));
    EXPECT_EQ(p.find(QStringLiteral("Impegnata"))->y, 232 - 30);
    EXPECT_EQ(p.find(QStringLiteral("Impegnata"))->x, 700 + 400 - 112);
    const auto* d = p.find(QStringLiteral("30/12/2025"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->y, 280 - 30);
    EXPECT_EQ(d->x, 813 - 125); // 4.5 E = 112.5, rounded up
    EXPECT_EQ(p.find(QStringLiteral("100,00"))->x, 1213 - 150);
    EXPECT_EQ(p.find(QStringLiteral("9.900,50"))->x, 2413 - 200);
    EXPECT_EQ(p.find(QStringLiteral("0102.C01"))->x, 2488);
    EXPECT_TRUE(p.find(QStringLiteral("05/01/2026"))->font.strikeOut);
    EXPECT_TRUE(p.hasLine(1, 700, 288, 2700, 288));
    EXPECT_TRUE(p.hasLine(1, 700, 200, 700, 328));
}
