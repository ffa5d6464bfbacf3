// The printed load/unload register on the recording surface: landscape 3400 x
// 2400; 8 points "E" 20 wide, lines 32 high (baseline 24 below the top); 10
// points 25 / 40 (30); 14 points 35 / 56 (42); 6 points 15 / 24 (18). centre
// 1700, X0 = 1700 - 73 E = 240, X1 = 1700 + 74 E = 3180; rows stand from 22
// lines (704) while the position before them is at most 2400 - 256.
#include <gtest/gtest.h>

#include <QFile>

#include <cmath>

#include "foundation/Dates.h"
#include "foundation/RegisterRecord.h"
#include "foundation/TableRecord.h"
#include "prints/LoadUnloadRegister.h"
#include "register/store/RegisterStore.h"
#include "support/Fakes.h"
#include "support/RecordingSurface.h"
#include "support/TableFixtures.h"

using namespace vt;
using namespace vt::test;

namespace {

TRecMovimento rec(int n, const char* tipoMovimento, const char* operazione = "I", const char* stato = " ",
                  const char* tipoDocumento = "DAA")
{
    TRecMovimento r = blankRegisterRecord();
    r.numero = n;
    r.progressivo = n;
    r.data = dates::fromDate(QDate(2026, 3, 2));
    r.registro = QStringLiteral("C");
    r.tipoMovimento = QString::fromLatin1(tipoMovimento);
    r.operazione = QString::fromLatin1(operazione);
    r.stato = QString::fromLatin1(stato);
    r.tipoDocumento = QString::fromLatin1(tipoDocumento);
    r.numeroDocumento = QStringLiteral("N%1").arg(n);
    r.codiceProdotto = QStringLiteral("W200-22042138-00-0000");
    r.paese = QStringLiteral("DE");
    r.controparte = QStringLiteral("DE00XYZ00002Y");
    r.stoccaggio = QStringLiteral("N");
    r.volumeConfezione = 0.75;
    r.confezioni = 1200;
    r.litri = 900;
    r.grado = 12.5;
    r.causale = QStringLiteral("V");
    r.garanzia = 1234.5;
    PadRegisterRecord(r);
    return r;
}

RegisterPrint printOf(RegisterPrintMode mode, QChar kind = QLatin1Char('T'))
{
    RegisterPrint p;
    p.kind = kind;
    p.mode = mode;
    p.from = QDate(2026, 3, 1);
    p.to = QDate(2026, 3, 31);
    p.office = QStringLiteral("UFFICIO DELLE DOGANE DI VERONA");
    p.company.DENOM1 = QStringLiteral("CANTINA ROSSI S.R.L.");
    p.company.INDIR1 = QStringLiteral("VIA ROMA");
    p.company.NUMCI1 = QStringLiteral("12");
    p.company.C_A_P1 = QStringLiteral("37100");
    p.company.CITTA1 = QStringLiteral("VERONA");
    p.company.CACCI1 = QStringLiteral("IT00VRB00001A");
    return p;
}

int centred(int x, const QString& t, int charWidth) { return x - int(t.size()) * charWidth / 2; }

} // namespace

TEST(LoadUnloadRegister, CompletePageHeadingGridAndRow)
{
    TRecMovimento r = rec(7, "S");
    r.dataDocumento = dates::fromDate(QDate(2026, 3, 1));
    r.dataCollegata = dates::fromDate(QDate(2026, 3, 5));
    r.progressivoEad = 1;
    r.progressivoDettaglio = 2;
    RecordingSurface s;
    PrintLoadUnloadRegister(s, printOf(RegisterPrintMode::Complete), {r});
    EXPECT_EQ(s.orientation, PageOrientation::Landscape);
    EXPECT_EQ(s.pages, 1);

    // Heading: 14 points bold at 2 lines of 14 (baseline 112).
    const QString deposits = QStringLiteral("DEPOSITI FISCALI DI VINO");
    const auto* d = s.find(deposits);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->y, 112 - 42);
    EXPECT_EQ(d->x, centred(1700, deposits, 35));
    EXPECT_TRUE(d->font.bold);
    EXPECT_EQ(d->font.name, QStringLiteral("TIMES NEW ROMAN"));
    // Title 1.5 lines of 10 below (172); labels 2 lines further (t = 252).
    const QString title = QStringLiteral("REGISTRO DI CARICO E SCARICO DEI MOVIMENTI DI VINO INTRACOMUNITARI");
    ASSERT_NE(s.find(title), nullptr);
    EXPECT_EQ(s.find(title)->y, 172 - 30);
    EXPECT_TRUE(s.find(title)->font.bold);
    EXPECT_EQ(s.find(QStringLiteral("RILASCIATO DALL'UFFICIO:"))->x, 265);
    EXPECT_EQ(s.find(QStringLiteral("RILASCIATO DALL'UFFICIO:"))->y, 252 - 30);
    EXPECT_FALSE(s.find(QStringLiteral("RILASCIATO DALL'UFFICIO:"))->font.bold);
    EXPECT_EQ(s.find(QStringLiteral("ALLA DITTA:"))->x, 1750);
    const auto* office = s.find(QStringLiteral("UFFICIO DELLE DOGANE DI VERONA"));
    ASSERT_NE(office, nullptr);
    EXPECT_EQ(office->x, 253); // X0 + 12.5, rounded
    EXPECT_EQ(office->y, 292 - 30);
    EXPECT_TRUE(office->font.bold);
    EXPECT_EQ(s.find(QStringLiteral("CANTINA ROSSI S.R.L."))->x, 1733);
    EXPECT_EQ(s.find(QStringLiteral("VIA ROMA, 12"))->y, 332 - 30);
    EXPECT_EQ(s.find(QStringLiteral("37100 VERONA"))->y, 372 - 30);
    EXPECT_EQ(s.find(QStringLiteral("CODICE ACCISA: IT00VRB00001A"))->y, 412 - 30);
    EXPECT_TRUE(s.hasLine(1, 240, 260, 1700, 260)); // office box from t + 8 to t + 172
    EXPECT_TRUE(s.hasLine(1, 240, 424, 240, 260));
    EXPECT_TRUE(s.hasLine(1, 1725, 260, 3180, 260)); // company box from centre + E
    EXPECT_TRUE(s.hasLine(1, 3180, 260, 3180, 424));
    EXPECT_EQ(s.find(QStringLiteral("PAG.  01")),
              nullptr); // mode 0: pages not numbered

    // Grid at 18 lines (576): rules at 576, 608 (31..134.5 E) and 672; verticals
    // down to the row's rule (704 + 6.4).
    EXPECT_TRUE(s.hasLine(1, 240, 576, 3180, 576));
    EXPECT_TRUE(s.hasLine(1, 860, 608, 2930, 608));
    EXPECT_TRUE(s.hasLine(1, 240, 672, 3180, 672));
    for (int x : {240, 320, 500, 860, 1860, 2300, 2620, 2930, 3010, 3180})
        EXPECT_TRUE(s.hasLine(1, x, 576, x, 710)) << x;
    for (int x : {940, 1120, 1680, 1920, 1980, 2360, 2500, 2840})
        EXPECT_TRUE(s.hasLine(1, x, 608, x, 710)) << x;
    // Column titles, 6 points, at 602, 640 and 666.
    EXPECT_EQ(s.find(QStringLiteral("Nr."))->y, 602 - 18);
    EXPECT_EQ(s.find(QStringLiteral("Nr."))->x, 280 - 22);
    EXPECT_EQ(s.find(QStringLiteral("Mittente/Destinatario"))->y, 640 - 18);
    EXPECT_EQ(s.find(QStringLiteral("Mittente/Destinatario"))->x,
              centred(240 + 1900, QStringLiteral("Mittente/Destinatario"), 15));
    EXPECT_NE(s.find(QStringLiteral("Paese")), nullptr);
    EXPECT_EQ(s.find(QStringLiteral("sale"))->y, 666 - 18);
    EXPECT_EQ(s.find(QStringLiteral("Quantità"))->x, centred(240 + 2550, QStringLiteral("Quantità"), 15));

    // The row at 704 (top 680), its rule at 710.
    const auto* nr = s.find(QStringLiteral("7"));
    ASSERT_NE(nr, nullptr);
    EXPECT_EQ(nr->y, 680);
    EXPECT_EQ(nr->x, 280 - 10);
    EXPECT_FALSE(nr->font.strikeOut);
    EXPECT_TRUE(s.hasLine(1, 240, 710, 3180, 710));
    const QString doc = QStringLiteral("N7") + QString(19, QLatin1Char(' ')) + QStringLiteral("-01-002");
    ASSERT_NE(s.find(doc), nullptr);
    EXPECT_EQ(s.find(doc)->x, centred(1400, doc, 20));
    EXPECT_EQ(s.find(QStringLiteral("05/03/2026"))->x, centred(240 + 1530, QStringLiteral("05/03/2026"), 20));
    EXPECT_EQ(s.find(QStringLiteral("S"))->x, 1896 - 10);
    EXPECT_EQ(s.find(QStringLiteral("DE"))->x, 1956 - 20);
    EXPECT_EQ(s.find(QStringLiteral("N"))->x, 2316);               // left from 103.8 E
    EXPECT_EQ(s.find(QStringLiteral("0,750"))->x, 2476 - 100);     // right at 111.8 E
    EXPECT_EQ(s.find(QStringLiteral("1200"))->x, 2596 - 80);       // a plain integer
    EXPECT_EQ(s.find(QStringLiteral("900,00000"))->x, 2826 - 180); // 129.3 E
    EXPECT_EQ(s.find(QStringLiteral("12,5"))->x, 2912 - 80);       // 133.6 E
    EXPECT_EQ(s.find(QStringLiteral("V"))->x, 2972 - 10);          // 136.6 E
    EXPECT_EQ(s.find(QStringLiteral("1.234,50"))->x, 3162 - 160);  // 146.1 E
    EXPECT_EQ(s.find(QStringLiteral("W200-22042138-00-0000"))->x,
              centred(680, QStringLiteral("W200-22042138-00-0000"), 20));
}

TEST(LoadUnloadRegister, StrikeOutAndConclusionRows)
{
    TRecMovimento replaced = rec(1, "S", "I", "C");
    TRecMovimento cancellation = rec(2, "S", "C");
    TRecMovimento replacement = rec(3, "S", "I", "R");
    TRecMovimento conclusion = rec(4, "A", "A", " ", "EAD");
    TRecMovimento undone = rec(5, "A", "D", " ", "DAA");
    RecordingSurface s;
    PrintLoadUnloadRegister(s, printOf(RegisterPrintMode::MovementsOnly),
                            {replaced, cancellation, replacement, conclusion, undone});
    auto strike = [&](const char* nr) { return s.find(QString::fromLatin1(nr))->font.strikeOut; };
    EXPECT_TRUE(strike("1"));
    EXPECT_TRUE(strike("2"));
    EXPECT_FALSE(strike("3"));
    EXPECT_FALSE(strike("4"));
    EXPECT_TRUE(strike("5")); // a cancelled conclusion like any cancellation
    // The conclusions: no movement kind, no quantities; the guarantee is printed.
    int litres = 0, kinds = 0, guarantees = 0;
    for (const auto& t : s.texts) {
        litres += t.text == QLatin1String("900,00000");
        kinds += t.text == QLatin1String("S");
        guarantees += t.text == QLatin1String("1.234,50");
    }
    EXPECT_EQ(litres, 3);
    EXPECT_EQ(kinds, 3);
    EXPECT_EQ(guarantees, 5);
    // Movements only: the grid and its titles, no heading.
    EXPECT_EQ(s.find(QStringLiteral("DEPOSITI FISCALI DI VINO")), nullptr);
    EXPECT_EQ(s.find(QStringLiteral("RILASCIATO DALL'UFFICIO:")), nullptr);
    EXPECT_NE(s.find(QStringLiteral("Numero identificativo")), nullptr);
    EXPECT_TRUE(s.hasLine(1, 240, 576, 3180, 576));
}

TEST(LoadUnloadRegister, FortySevenRowsAPageAndEveryPageComplete)
{
    QList<TRecMovimento> rows;
    for (int i = 1; i <= 95; ++i)
        rows << rec(i, "C");
    RecordingSurface s;
    PrintLoadUnloadRegister(s, printOf(RegisterPrintMode::Complete, QLatin1Char('C')), rows);
    EXPECT_EQ(s.pages, 3);
    EXPECT_EQ(s.find(QStringLiteral("47"))->page, 1);
    EXPECT_EQ(s.find(QStringLiteral("47"))->y, 672 + 47 * 32 - 24);
    EXPECT_EQ(s.find(QStringLiteral("48"))->page, 2);
    EXPECT_EQ(s.find(QStringLiteral("48"))->y, 680);
    EXPECT_EQ(s.find(QStringLiteral("95"))->page, 3);
    for (int page = 1; page <= 3; ++page) {
        EXPECT_NE(s.find(QStringLiteral("REGISTRO DI CARICO DEI MOVIMENTI DI VINO INTRACOMUNITARI"), page), nullptr);
        EXPECT_NE(s.find(QStringLiteral("Prov."), page), nullptr);
        EXPECT_NE(s.find(QStringLiteral("Mittente"), page), nullptr);
    }
    const int lastRule = int(std::lround(672 + 47 * 32 + 6.4));
    EXPECT_TRUE(s.hasLine(1, 240, 576, 240, lastRule));
    EXPECT_TRUE(s.hasLine(3, 240, 576, 240, 710)); // one row on the last page
}

TEST(LoadUnloadRegister, HeadingSheetsAndTheirNumbers)
{
    struct Case {
        int counter; // the typed first page - 1
        int sheets;
        QStringList numbers;
    };
    const Case cases[]{{6, 3, {"PAG.  07", "PAG.  08", "PAG.  09"}}, {122, 1, {"PAG.  123"}}, {-1, 4, {}}};
    for (const Case& c : cases) {
        RegisterPrint p = printOf(RegisterPrintMode::HeadingsOnly);
        p.pageCounter = c.counter;
        p.sheets = c.sheets;
        RecordingSurface s;
        PrintLoadUnloadRegister(s, p, {rec(1, "C")}); // the movements are not printed
        EXPECT_EQ(s.pages, c.sheets);
        QStringList numbers;
        for (const auto& t : s.texts)
            if (t.text.startsWith(QLatin1String("PAG.")))
                numbers << t.text;
        EXPECT_EQ(numbers, c.numbers);
        for (int i = 0; i < c.numbers.size(); ++i) {
            const auto* n = s.find(c.numbers[i]);
            EXPECT_EQ(n->page, i + 1);
            EXPECT_EQ(n->x, 3180 - 375);
            EXPECT_EQ(n->y, 112 - 30);
        }
        for (int page = 1; page <= c.sheets; ++page)
            EXPECT_NE(s.find(QStringLiteral("DEPOSITI FISCALI DI VINO"), page), nullptr);
        EXPECT_EQ(s.find(QStringLiteral("Nr.")), nullptr);
        EXPECT_EQ(s.find(QStringLiteral("N1") + QString(19, QLatin1Char(' ')) + QStringLiteral("-00-000")), nullptr);
        EXPECT_FALSE(s.hasLine(1, 240, 576, 3180, 576));
    }
}

TEST(LoadUnloadRegister, KindsSelectTheirRecords)
{
    // A load; then an unload, the conclusions of an e-AD (ROR) and of a DAA, a
    // cancelled conclusion and a change of destination: all of the unload
    // register.
    const QList<TRecMovimento> records{rec(1, "C"),
                                       rec(2, "S"),
                                       rec(3, "A", "I", " ", "ROR"),
                                       rec(4, "A", "A", " ", "DAA"),
                                       rec(5, "A", "D", " ", "DAA"),
                                       rec(6, "A", "I", " ", "COD")};
    for (const TRecMovimento& r : records) {
        EXPECT_TRUE(registerKindSelects(QLatin1Char('T'), r));
        EXPECT_EQ(registerKindSelects(QLatin1Char('C'), r), r.numero == 1) << r.numero;
        EXPECT_EQ(registerKindSelects(QLatin1Char('S'), r), r.numero != 1) << r.numero;
    }
}

TEST(LoadUnloadRegister, ChecksOfTheWindow)
{
    using M = RegisterPrintMode;
    struct Case {
        M mode;
        const char* from;
        const char* to;
        const char* page;
        const char* sheets;
        const char* focus; // "" passes
        int counter;
        int sheetCount;
    };
    const Case cases[]{
        {M::Complete, "01/03/2026", "31/03/2026", "", "", "", -1, 1},
        {M::Complete, "01/03/2026", "31/03/2026", "5", "3", "", -1, 1}, // read in mode 2 only
        {M::HeadingsOnly, "01/03/2026", "31/03/2026", "7", "3", "", 6, 3},
        {M::HeadingsOnly, "01/03/2026", "31/03/2026", "", "1", "", -1, 1},
        {M::HeadingsOnly, "01/03/2026", "31/03/2026", "-4", "1", "", -1, 1},
        {M::HeadingsOnly, "01/03/2026", "31/03/2026", "1", "0", "MFOGLI", 0, 0},
        {M::HeadingsOnly, "01/03/2026", "31/03/2026", "1", "1000", "MFOGLI", 0, 0},
        {M::HeadingsOnly, "01/03/2026", "31/03/2026", "1", "999", "", 0, 999},
        {M::Complete, "01/12/2024", "05/01/2025", "", "", "MDAAL", 0, 0},
        {M::Complete, "31/02/2026", "31/03/2026", "", "", "MDADA", 0, 0},
        {M::Complete, "01/03/1999", "31/03/1999", "", "", "MDADA", 0, 0},
        {M::Complete, "10/03/2026", "09/03/2026", "", "", "MDAAL", 0, 0},
        {M::MovementsOnly, "10/03/2026", "  /  /    ", "", "", "MDAAL", 0, 0},
    };
    for (const Case& c : cases) {
        RegisterPrint p;
        const CheckResult r = checkRegisterPrint(c.mode, QString::fromLatin1(c.from), QString::fromLatin1(c.to),
                                                 QString::fromLatin1(c.page), QString::fromLatin1(c.sheets), p);
        EXPECT_EQ(r.focus, QString::fromLatin1(c.focus)) << c.from << ' ' << c.to << ' ' << c.sheets;
        EXPECT_TRUE(r.message.isEmpty());
        if (r.ok) {
            EXPECT_EQ(p.pageCounter, c.counter) << c.page;
            EXPECT_EQ(p.sheets, c.sheetCount);
        }
    }
}

TEST(LoadUnloadRegister, OfficeOfTheProtocolInForceWrappedInFourLines)
{
    TestContext t;
    auto row = [](int n, QDate from, const QString& office) {
        TRecTabella r = tableRow(n, {QStringLiteral("P%1").arg(n), QStringLiteral("S"), office});
        r.ValA[1] = dates::fromDate(from);
        return r;
    };
    writeTable(t.ctx, QStringLiteral("PROTOCOLLI"), nullptr,
               {row(1, {2025, 1, 1}, QStringLiteral("UFFICIO A")), row(2, {2026, 3, 10}, QStringLiteral("UFFICIO B"))});
    EXPECT_EQ(registerOffice(t.ctx, QDate(2024, 12, 31)), QString());
    EXPECT_EQ(registerOffice(t.ctx, QDate(2026, 3, 9)), QStringLiteral("UFFICIO A"));
    EXPECT_EQ(registerOffice(t.ctx, QDate(2026, 3, 10)), QStringLiteral("UFFICIO B"));

    TestContext empty; // no table: an empty box, and no file made
    EXPECT_EQ(registerOffice(empty.ctx, QDate(2026, 3, 10)), QString());
    EXPECT_FALSE(QFile::exists(empty.ctx.datiGen(QStringLiteral("PROTOCOLLI.TAB"))));

    // 10 points bold: 25 wide; a box of 1435 holds 57 characters.
    RecordingSurface s;
    s.begin(PageOrientation::Landscape);
    PageFont f;
    f.pointSize = 10;
    s.setFont(f);
    const QString word(20, QLatin1Char('A'));
    QStringList words;
    for (int i = 0; i < 14; ++i)
        words << word;
    const QStringList lines = wrapOfficeText(s, words.join(QLatin1Char(' ')), 1435);
    ASSERT_EQ(lines.size(), 4); // seven lines of two words; four printed
    EXPECT_EQ(lines[0], word + QLatin1Char(' ') + word);
    const QStringList cut = wrapOfficeText(s, QString(60, QLatin1Char('B')), 1435);
    EXPECT_EQ(cut, (QStringList{QString(57, QLatin1Char('B')), QString(3, QLatin1Char('B'))}));
}
