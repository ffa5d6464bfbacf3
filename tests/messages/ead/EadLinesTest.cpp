// The lines of the e-AD in hand: work-file listing and confirmation by number, the transport and
// product lines built from the fields and a company product, and the excise amount.
#include <gtest/gtest.h>

#include "foundation/RecordFile.h"
#include "messages/ead/EadForm.h"
#include "messages/ead/EadLines.h"
#include "messages/ead/EadStore.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

// A company product: Chianti DOCG in 0,75 l bottles, 6 to a box, two treatments.
TRecTabella product(const QString& category = "1D", const QString& bulk = "N")
{
    TRecTabella p = blankRow();
    TrimRow(p);
    p.Num = 4;
    p.Fld[0] = "CHIANTI75";
    p.Fld[1] = "Chianti DOCG 2024";
    p.Fld[2] = category;
    p.Fld[3] = "CII";
    p.Fld[4] = "W200-22042138-00-0000";
    p.Fld[5] = bulk;
    p.Fld[6] = "CT";
    p.Fld[7] = "1,5";
    p.Fld[8] = "";
    p.Ext[1] = " IT/PDO/0001 ";
    p.Ext[2] = "Valoritalia";
    p.ValA[0] = 13.5;
    p.ValA[1] = 0.75;
    p.ValA[2] = 1.3;
    p.Dim[0] = 6;
    return p;
}

TRecTabella treatment(const QString& code, const QString& text)
{
    TRecTabella r = blankRow();
    TrimRow(r);
    r.Fld[0] = code;
    r.Fld[1] = text;
    return r;
}

ProductLineFields packagedFields()
{
    ProductLineFields f;
    f.COAZPR = "CHIANTI75";
    f.LEDEPR = "Chianti DOCG 2024";
    f.META20 = "W200-22042138-00-0000";
    f.NUMCON = "1.000";
    f.VOLCON = "0,75";
    f.TOTLIT = "750";
    f.GRADOA = "13,5";
    f.PNETTO = "750";
    f.PLORDO = "1.300";
    f.CODIMB = "CT";
    f.NUMIMB = "167";
    f.DESCOM = "";
    return f;
}

} // namespace

TEST(EadLinesWorkFile, ConfirmByNumberReplacesOrAppendsAndTheListingRenumbers)
{
    TestContext t;
    const QString path = eadfiles::transportWork(t.ctx);
    writeWorkFiles(t.ctx, 3, 0);

    TRecDettaglio line;
    ASSERT_TRUE(buildTransportLine({"2", "FI123AB", "S1", "integri", "note"}, line).ok);
    EXPECT_EQ(putWorkLine(path, 2, line), 2);
    // A number beyond the last line appends: the line becomes number of lines + 1.
    EXPECT_EQ(putWorkLine(path, 50, line), 4);
    QList<TRecDettaglio> lines = listWorkLines(path);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1].IDUNTR(), "FI123AB");
    EXPECT_EQ(lines[3].numero, 4);

    // Deleting line 2 of 4 moves the later lines up; the listing numbers them by position.
    ASSERT_TRUE(deleteWorkLine(path, 2));
    lines = listWorkLines(path);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1].numero, 2);
    EXPECT_EQ(lines[1].IDUNTR(), "AB123 CD"); // the former line 3
    const QByteArray stored = RecordFile(path, TRecDettaglio::Size).readAll()[1];
    EXPECT_EQ(codec::getI32(stored, 0), 2);
    EXPECT_EQ(transportEntry(lines[2], 3), "n. 3: UT=2 Id.UT=FI123AB note S1 integri");
}

TEST(EadLinesTransport, UnitIdentityIsRequired)
{
    TRecDettaglio line;
    const CheckResult r = buildTransportLine({"1", " ", "", "", ""}, line);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "indicare la targa o la matricola o altro identificativo");
    EXPECT_EQ(r.focus, "IDUNTR");
}

TEST(EadLinesProduct, DefaultsMemoAndQuantities)
{
    const TRecTabella p = product();
    const ProductDefaults d = productDefaults(p);
    EXPECT_EQ(d.LEDEPR, "Chianti DOCG 2024");
    EXPECT_EQ(d.META20, "W200-22042138-00-0000");
    EXPECT_EQ(d.VOLCON, "0,75");
    EXPECT_EQ(d.GRADOA, "13,5");
    EXPECT_EQ(d.CODIMB, "CT");
    EXPECT_TRUE(d.packaged);
    EXPECT_FALSE(productDefaults(product("1D", "S")).packaged);

    EXPECT_EQ(productMemo(p, {treatment("1", "Acidificazione"), treatment("3", "Dolcificazione"),
                              treatment("5", "Chiarificazione")}),
              (QStringList{"categoria 1D - zona CII", "Trattamenti del vino:", "1 Acidificazione", "5 Chiarificazione"}));
    EXPECT_EQ(productMemo(p, {treatment("9", "Altro")}),
              (QStringList{"categoria 1D - zona CII", "Trattamenti del vino: NESSUNO"}));

    // 1.000 bottles, 6 to a package: 167 packages; litres and weights from the product.
    ContainerQuantities q = quantitiesFromContainers("1.000", "0,75", p);
    EXPECT_EQ(q.TOTLIT, "750");
    EXPECT_EQ(q.PNETTO, "750");
    EXPECT_EQ(q.PLORDO, "1300");
    ASSERT_TRUE(q.NUMIMB);
    EXPECT_EQ(*q.NUMIMB, "167");
    EXPECT_EQ(*quantitiesFromContainers("996", "0,75", p).NUMIMB, "166");
    TRecTabella loose = p;
    loose.Dim[0] = 0;
    EXPECT_FALSE(quantitiesFromContainers("1.000", "0,75", loose).NUMIMB);

    ProductLineFields bulk;
    bulk.TOTLIT = "225";
    bulk.PNETTO = "";
    bulk.PLORDO = "0";
    weightsFromLitres(bulk);
    EXPECT_EQ(bulk.PNETTO, "225");
    EXPECT_EQ(bulk.PLORDO, "225");

    ProductLineFields light = packagedFields();
    light.PLORDO = "700";
    EXPECT_TRUE(adjustGrossWeight(light));
    EXPECT_EQ(light.PLORDO, "750");
}

TEST(EadLinesProduct, CertificationSentenceByKind)
{
    const QString regulation = ", a norma dell'articolo 118 septvicies del regolamento (CE) n.1234/2007";
    EXPECT_EQ(certificationSentence("1D", " IT/PDO/0001 ", " Valoritalia "),
              "Il presente documento vale quale attestato di denominazione di origine protetta, N. IT/PDO/0001 del "
              "registro E-Bacchus. Organismo di certificazione: Valoritalia");
    EXPECT_EQ(certificationSentence("2I", "IT/PGI/0002", "CSQA"),
              "Il presente documento vale quale attestato di indicazione geografica protetta, N. IT/PGI/0002 del "
              "registro E-Bacchus. Organismo di certificazione: CSQA");
    EXPECT_EQ(certificationSentence("3C", "2024", ""),
              "Il presente documento vale quale certificazione dell'annata di raccolta 2024" + regulation);
    EXPECT_EQ(certificationSentence("3V", "Sangiovese", ""),
              QString::fromUtf8("Il presente documento vale quale certificazione della varietà di uve di vino Sangiovese") + regulation);
    EXPECT_EQ(certificationSentence("3W", "2024 Sangiovese", ""),
              QString::fromUtf8("Il presente documento vale quale certificazione dell'annata di raccolta e della varietà: 2024 Sangiovese") + regulation);
    EXPECT_EQ(certificationSentence("1", "x", "y"), "");
    EXPECT_EQ(certificationSentence("1D", QString(300, 'A'), "B").size(), 250);
}

TEST(EadLinesProduct, LineFromAPackagedProduct)
{
    ProductLineFields f = packagedFields();
    f.SIGIMB = "SIG1";
    TRecDettaglio line;
    ASSERT_TRUE(buildProductLine(f, product(), line).ok);
    EXPECT_EQ(line.categoria, "1");
    EXPECT_EQ(line.zona, "CII");
    EXPECT_EQ(line.trattamenti, "1,5");
    EXPECT_EQ(line.CODIMB, "CT");
    EXPECT_EQ(line.COAZPR, "CHIANTI75");
    EXPECT_EQ(line.META20, "W200-22042138-00-0000");
    EXPECT_EQ(line.SIGIMB, "SIG1");
    EXPECT_TRUE(line.certificazione.startsWith("Il presente documento vale quale attestato di denominazione"));
    EXPECT_EQ(line.NUMCON, 1000);
    EXPECT_EQ(line.VOLCON, 0.75);
    EXPECT_EQ(line.TOTLIT, 750);
    EXPECT_EQ(line.GRADOA, 13.5);
    EXPECT_EQ(line.PLORDO, 1300);
    EXPECT_EQ(line.NUMIMB, 167);

    ProductLineFields none = packagedFields();
    none.NUMIMB = "0";
    EXPECT_EQ(buildProductLine(none, product(), line).focus, "NUMIMB");
    ProductLineFields noStrength = packagedFields();
    noStrength.GRADOA = "";
    const CheckResult r = buildProductLine(noStrength, product(), line);
    EXPECT_EQ(r.focus, "GRADOA");
    EXPECT_EQ(r.message, "CAMPO OBBLIGATORIO NON COMPILATO");
}

TEST(EadLinesProduct, LineFromABulkProductWithoutTreatments)
{
    TRecTabella p = product("2X", "S");
    p.Fld[7] = "";
    ProductLineFields f = packagedFields();
    f.packaged = false;
    f.NUMIMB = "";
    f.DESCOM = "ignored while hidden";
    TRecDettaglio line;
    ASSERT_TRUE(buildProductLine(f, p, line).ok);
    EXPECT_EQ(line.NUMIMB, 0);
    EXPECT_EQ(line.NUMCON, 0);
    EXPECT_EQ(line.DESCOM, " ");
    EXPECT_EQ(line.trattamenti, "");
    EXPECT_EQ(line.certificazione, "");
    EXPECT_EQ(line.categoria, "2");
}

TEST(EadLinesExcise, BandsAndTheThousandthRule)
{
    TRecTabella rates = blankRow();
    rates.Fld[0] = "DE";
    rates.ValA[0] = 0;   rates.ValB[0] = 15;  rates.ValC[0] = 10;  // still wine up to 15 % vol
    rates.ValA[1] = 15;  rates.ValB[1] = 22;  rates.ValC[1] = 20;
    rates.ValA[5] = 0;   rates.ValB[5] = 8.5; rates.ValC[5] = 30;  // sparkling
    rates.ValA[6] = 8.5; rates.ValB[6] = 22;  rates.ValC[6] = 136;
    auto line = [](const char* code, double litres, double strength) {
        TRecDettaglio l = blankLine();
        lineToWorkingForm(l);
        l.META20 = code;
        l.TOTLIT = litres;
        l.GRADOA = strength;
        return l;
    };
    // 225 litres of still wine at 12 % vol, rate 10: 225 x 10 / 1000 = 2,25.
    EXPECT_DOUBLE_EQ(exciseAmount(rates, {line("W200-22042138-00-0000", 225, 12)}), 2.25);
    // On a band limit the first band that holds it counts, once.
    EXPECT_DOUBLE_EQ(exciseAmount(rates, {line("W200-22042138-00-0000", 100, 15)}), 1.0);
    EXPECT_DOUBLE_EQ(exciseAmount(rates, {line("W300-22041098-00-0000", 100, 8.5)}), 3.0);
    EXPECT_DOUBLE_EQ(exciseAmount(rates, {line("W300-22041098-00-0000", 100, 8.51)}), 13.6);
    // Outside every band, another product code, or no rates: nothing.
    EXPECT_DOUBLE_EQ(exciseAmount(rates, {line("W200-22042138-00-0000", 100, 23)}), 0);
    EXPECT_DOUBLE_EQ(exciseAmount(rates, {line("B000-22030000-00-0000", 100, 5)}), 0);
    EXPECT_DOUBLE_EQ(exciseAmount(std::nullopt, {line("W200-22042138-00-0000", 225, 12)}), 0);
    // Each line is rounded to cents, then added.
    EXPECT_DOUBLE_EQ(exciseAmount(rates, {line("W200-22042138-00-0000", 0.5, 12), line("W200-22042138-00-0000", 0.5, 12)}),
                     0.02);
}
