// The IE818 flow writer against expected lines written by hand from the flow layout.
#include <gtest/gtest.h>

#include "foundation/Dates.h"
#include "messages/receipt/Ie818Flow.h"

using namespace vt;

namespace {

const QString T = QStringLiteral("\t");

// A tax warehouse in Verona that receives wine from Bordeaux.
TRecAzienda company(const QString& type = "1")
{
    TRecAzienda c = blankCompany();
    trimCompany(c);
    c.CACCI1 = "IT00ABC00123X";
    c.CACCI2 = "IT00ABC00123X";
    c.DENOM1 = "Cantina Rossi S.r.l.";
    c.DENOM2 = "Cantina Rossi Magazzino";
    c.INDIR1 = "Via Roma";
    c.NUMCI1 = "12";
    c.C_A_P1 = "37100";
    c.CITTA1 = "Verona";
    c.INDIR2 = "Via Mazzini";
    c.NUMCI2 = "4/B";
    c.C_A_P2 = "37121";
    c.CITTA2 = "Verona";
    c.CODUTE = "ABCD";
    c.SEZDOG = "083100";
    c.PARIVA = "01234567890";
    c.UFFDO2 = "IT083100";
    c.TIPOIN = type;
    return c;
}

TRecEad report(std::int32_t number, const QString& arc, const QString& outcome, const QString& note = {})
{
    TRecEad h = blankEad();
    eadToWorkingForm(h);
    h.progressivo = number;
    h.LINGUA = "it";
    h.progressivoRif = 2;       // the e-AD's sequence number
    h.ARC = arc;
    h.IMGPRO = dates::fromDate(QDate(2026, 12, 5)); // arrival, offset 2120
    h.LINPRG = outcome;                             // offset 2679
    h.DENPRG = note;                                // note 1-100, offset 2438
    return h;
}

TRecDettaglio line(int n, const QString& indicator, double difference, double refused, const QString& reasons,
                   const QString& note)
{
    TRecDettaglio l = blankLine();
    lineToWorkingForm(l);
    l.numero = 1;
    l.progressivo = 1;
    l.rigaProdotto = n;          // offset 8
    l.categoria = indicator;     // offset 12
    l.codiceAccisa = "W200";     // offset 23
    l.zona = reasons;            // offset 39
    l.COAZPR = note;             // offset 56
    l.NUMCON = difference;       // offset 2072
    l.VOLCON = refused;          // offset 2080
    l.TOTLIT = 1000;
    return l;
}

Ie818Source source(const TRecAzienda& c, const QList<Ie818Report>& reports)
{
    Ie818Source s;
    s.company = c;
    s.reports = reports;
    s.flowName = "ABCD1209.C03";
    s.flowDate = dates::fromDate(QDate(2026, 12, 9));
    return s;
}

const QString Arc1 = "26FRA00000000000001A1";
const QString Arc2 = "26FRA00000000000002A1";
const QString Prefix1 = "IE818IT00ABC00123X     " + Arc1 + "20261209";
const QString Prefix2 = "IE818IT00ABC00123X     " + Arc2 + "20261209";
// Fields 6 to 21 of every J line of the tax warehouse: consignee (head office), place of delivery
// (premises 001), destination office.
const QString Warehouse = "IT00ABC00123X     \tCantina Rossi S.r.l.\tVia Roma\t12\t37100\tVerona\tit\t\t"
                          "IT00ABC00123X     \tCantina Rossi Magazzino\tVia Mazzini\t4/B\t37121\tVerona\tit\t"
                          "IT083100\t";

QString header(int lines)
{
    return "ABCD" + QString(12, ' ') + "ABCD1209.C03" + QString(12, ' ') + "083100" + QString(4, ' ') + "01234567890"
           + "     001 " + QString::number(lines).rightJustified(5, '0');
}

TEST(Ie818Flow, AcceptedReportEndsWithFiveEmptyFieldsAndNoLines)
{
    const QStringList lines = ie818Lines(source(company(), {{report(1, Arc1, "1", "Consegna regolare"), {}}}));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], header(2));
    EXPECT_EQ(lines[0].size(), 75);
    EXPECT_EQ(lines[1], Prefix1 + "J\t0001\t0001\t000\t2\t" + Warehouse + "20261205\t1\tConsegna regolare\tit\t"
                            + "\t\t\t\t\t000\t");
}

TEST(Ie818Flow, PartlyRefusedReportCarriesItsFirstLineAndTwoKLines)
{
    // Line 1: 100 litres refused for reasons 1 and 3 (broken bottles); line 2: 5,5 litres short,
    // a note and no reason; line 3: 2 litres in excess, reason 0 with its note.
    Ie818Report r{report(1, Arc1, "4"),
                  {line(1, " ", 0, 100, "13", "Bottiglie rotte"), line(2, "S", 5.5, 0, "", "Manca mezzo collo"),
                   line(3, "E", 2, 0, "0", "Altro motivo")}};
    QList<Ie818Placement> placed;
    const QByteArray bytes = ie818FlowBytes(source(company(), {r}), &placed);
    const QStringList lines = QString::fromLatin1(bytes).split("\r\n");
    ASSERT_EQ(lines.size(), 5); // four lines and the empty rest after the last CR LF
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[0], header(4));
    EXPECT_EQ(lines[1], Prefix1 + "J\t0001\t0001\t002\t2\t" + Warehouse + "20261205\t4\t" + "\t\t"
                            + "001\t\t\tW200\t100.000\t002\tQ\t001\t1\tBottiglie rotte\tit\tQ\t002\t3\tBottiglie rotte\tit\t");
    EXPECT_EQ(lines[2], Prefix1 + "K\t0002\t" + "002\tS\t5.500\tW200\t0.000\t000\t");
    EXPECT_EQ(lines[3], Prefix1 + "K\t0003\t" + "003\tE\t2.000\tW200\t0.000\t001\tQ\t001\t0\tAltro motivo\tit\t");
    ASSERT_EQ(placed.size(), 1);
    EXPECT_EQ(placed[0].report, 1);
    EXPECT_EQ(placed[0].firstLine, 1);
    EXPECT_EQ(placed[0].lineCount, 3);
}

TEST(Ie818Flow, RefusedReportOfARegisteredConsigneeHasNoRefusedQuantityNorPlaceOfDelivery)
{
    Ie818Report r{report(2, Arc2, "3"), {line(1, " ", 0, 1000, "2", ""), line(2, " ", 0, 1000, "", "Rifiutato")}};
    const QStringList lines = ie818Lines(source(company("2"), {{report(1, Arc1, "1"), {}}, r}));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], header(4));
    const QString consignee = "IT00ABC00123X     \tCantina Rossi S.r.l.\tVia Roma\t12\t37100\tVerona\tit\t\t"
                              "\t\t\t\t\t\t\tIT083100\t";
    EXPECT_EQ(lines[1], Prefix1 + "J\t0001\t0001\t000\t2\t" + consignee + "20261205\t1\t\t\t\t\t\t\t\t000\t");
    EXPECT_EQ(lines[2], Prefix2 + "J\t0002\t0002\t001\t2\t" + consignee + "20261205\t3\t\t\t"
                            + "001\t\t\tW200\t\t001\tQ\t001\t2\t\t\t");
    EXPECT_EQ(lines[3], Prefix2 + "K\t0003\t002\t\t\tW200\t\t000\t");
}

TEST(Ie818Flow, NoteOfThreeHundredCharactersIsJoinedFromItsThreeParts)
{
    TRecEad h = report(1, Arc1, "21", "Prima parte");
    h.DENTRG = "seconda parte";           // note 101-200, offset 2161
    h.secondoDenominazione = "terza";     // note 201-300, offset 1683
    const QStringList lines = ie818Lines(source(company(), {{h, {}}}));
    const QString stored1 = QStringLiteral("Prima parte").leftJustified(100);
    const QString stored2 = QStringLiteral("seconda parte").leftJustified(100);
    EXPECT_TRUE(lines[1].contains("\t21\t" + stored1 + " " + stored2 + " terza\tit\t")) << lines[1].toStdString();
}

} // namespace
