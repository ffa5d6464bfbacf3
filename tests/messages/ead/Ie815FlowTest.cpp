// The IE815 flow writer against expected lines written by hand from the layout tables.
#include <gtest/gtest.h>

#include <QStringEncoder>

#include "foundation/Dates.h"
#include "messages/ead/Ie815Flow.h"

using namespace vt;

namespace {

TRecAzienda company()
{
    TRecAzienda c = blankCompany();
    trimCompany(c); // working form, as the start-up check leaves it
    c.CACCI1 = QStringLiteral("IT00ABC00123X");
    c.CODUTE = QStringLiteral("ABCD");
    c.SEZDOG = QStringLiteral("001234");
    c.PARIVA = QStringLiteral("01234567890");
    c.TIPOIN = QStringLiteral("1");
    return c;
}

// An e-AD from a warehouse keeper in Verona to a consignee in Munich, by road, consignor guarantee.
TRecEad header()
{
    TRecEad h = blankEad();
    h.progressivo = 1;
    h.progressivoRif = 1;
    h.LINGUA = QStringLiteral("it");
    h.riferimentoLocale = QStringLiteral("46000.43750-ABC00123XF");
    h.TIPMES = QStringLiteral("1");
    h.TIPDES = QStringLiteral("1");
    h.unitaDurata = 0;
    h.durata = 5;
    h.RESTRA = QStringLiteral("1");
    h.INVDIF = QStringLiteral("N");
    h.accisaSpeditore = QStringLiteral("IT00ABC00123X");
    h.denominazioneSpeditore = QStringLiteral("Cantina Rossi S.r.l.");
    h.indirizzoSpeditore = QStringLiteral("Via Roma");
    h.civicoSpeditore = QStringLiteral("12");
    h.capSpeditore = QStringLiteral("37100");
    h.cittaSpeditore = QStringLiteral("Verona");
    h.SEDELS = QStringLiteral("001");
    h.COIDLS = QStringLiteral("IT00ABC00123X");
    h.DENLSP = QStringLiteral("Cantina Rossi Magazzino");
    h.INDLSP = QStringLiteral("Via Mazzini");
    h.NUCLSP = QStringLiteral("4/B");
    h.CAPLSP = QStringLiteral("37121");
    h.CITLSP = QStringLiteral("Verona");
    h.UFFSPE = QStringLiteral("IT083100");
    h.ufficioCompetente = QStringLiteral("IT083199");
    h.COIDDE = QStringLiteral("DE00XYZ00456Y");
    h.DENDES = QStringLiteral("Weinhaus M\u00fcller GmbH");
    h.INDDES = QStringLiteral("Hauptstra\u00dfe");
    h.NUCDES = QStringLiteral("7");
    h.CAPDES = QStringLiteral("80331");
    h.CITDES = QStringLiteral("M\u00fcnchen");
    h.LINDES = QStringLiteral("de");
    h.STAMEM = QStringLiteral("DE");
    h.CERESE = QStringLiteral("CERT-99");
    h.COIDLD = QStringLiteral("DE00XYZ00789K");
    h.DENLDE = QStringLiteral("Lager M\u00fcller");
    h.INDLDE = QStringLiteral("Lagerweg");
    h.NUCLDE = QStringLiteral("3");
    h.CAPLDE = QStringLiteral("80999");
    h.CITLDE = QStringLiteral("M\u00fcnchen");
    h.LINLDE = QStringLiteral("de");
    h.uffesp = QStringLiteral("IT999000");
    h.MODTRA = QStringLiteral("3");
    h.INFTRA = QStringLiteral("Consegna al piano");
    h.PIAZTR = QStringLiteral("09876543210");
    h.DENAZT = QStringLiteral("Trasporti Bianchi");
    h.INDAZT = QStringLiteral("Via Po");
    h.NUCAZT = QStringLiteral("1");
    h.CAPAZT = QStringLiteral("10100");
    h.CITAZT = QStringLiteral("Torino");
    h.LINAZT = QStringLiteral("it");
    h.NUMFAT = QStringLiteral("F123/2026");
    h.DATFAT = dates::fromDate(QDate(2026, 12, 7));
    h.tipoSpeditore = QStringLiteral("1");
    h.DATSPE = dates::fromDate(QDate(2026, 12, 9));
    h.ORASPE = QStringLiteral("08:30");
    h.TIPGAR = QStringLiteral("1");
    h.GARSPE = QStringLiteral("GAR0001");
    h.TGASPE = QStringLiteral("C");
    h.IMGASP = 1234.5;
    h.GARTRA = QStringLiteral("GARTR02");
    h.TGATRA = QStringLiteral("E");
    h.IMGATR = 99;
    h.GARPRO = QStringLiteral("GARPR03");
    h.TGAPRO = QStringLiteral("C");
    h.IMGPRO = 0.5;
    h.GARDES = QStringLiteral("GARDE04");
    h.TGADES = QStringLiteral("C");
    h.IMGADE = 10;
    h.CATRAG = QStringLiteral("IT00TRA00001Q");
    h.PITRAG = QStringLiteral("11122233344");
    h.DENTRG = QStringLiteral("Trasporti Garantiti");
    h.INDTRG = QStringLiteral("Corso Italia");
    h.NUCTRG = QStringLiteral("20");
    h.CAPTRG = QStringLiteral("20100");
    h.CITTRG = QStringLiteral("Milano");
    h.LINTRG = QStringLiteral("it");
    h.CAPROG = QStringLiteral("IT00PRO00002W");
    h.PIPROG = QStringLiteral("55566677788");
    h.DENPRG = QStringLiteral("Proprietario Vini");
    h.INDPRG = QStringLiteral("Via Verdi");
    h.NUCPRG = QStringLiteral("9");
    h.CAPPRG = QStringLiteral("50100");
    h.CITPRG = QStringLiteral("Firenze");
    h.LINPRG = QStringLiteral("it");
    return h;
}

TRecDettaglio transportLine()
{
    TRecDettaglio t = blankLine();
    t.progressivo = 1;
    t.UNITRA() = QStringLiteral("3");
    t.IDUNTR() = QStringLiteral("AB123CD");
    t.SIGTRA() = QString();
    t.INSITR() = QString();
    t.INAGTR() = QStringLiteral("Refrigerato");
    return t;
}

TRecDettaglio product(int n)
{
    TRecDettaglio p = blankLine();
    p.progressivo = 1;
    p.categoria = QStringLiteral("1");
    p.CODIMB = QStringLiteral("BO");
    p.zona = QStringLiteral("C2");
    p.COAZPR = QStringLiteral("VALP%1").arg(n);
    p.LEDEPR = QStringLiteral("Valpolicella Classico %1").arg(n);
    p.META20 = QStringLiteral("W200-22042194-1 -0001");
    p.trattamenti = QStringLiteral("01-05-");
    p.certificazione = QStringLiteral("Vino DOC Valpolicella");
    p.NUMIMB = 1000 * n;
    p.TOTLIT = 750.0 * n;
    p.GRADOA = 12.5;
    p.PNETTO = 1125.5 * n;
    p.PLORDO = 1200.0 * n;
    return p;
}

QList<TRecTabella> t020()
{
    QList<TRecTabella> rows;
    for (const char* code : {"01", "02", "05"}) {
        TRecTabella r = blankRow();
        TrimRow(r);
        r.Fld[0] = QString::fromLatin1(code);
        r.Fld[1] = QStringLiteral("Trattamento %1").arg(QString::fromLatin1(code));
        rows << r;
    }
    return rows;
}

Ie815Source source(int products = 1)
{
    Ie815Source s;
    s.header = header();
    s.transport = {transportLine()};
    for (int i = 1; i <= products; ++i)
        s.products << product(i);
    s.company = company();
    s.treatments = t020();
    s.flowName = QStringLiteral("ABCD1209.C01");
    s.flowDate = dates::fromDate(QDate(2026, 12, 9));
    return s;
}

const QString Prefix = QStringLiteral("IE815IT00ABC00123X     46000.43750-ABC00123XF20261209");

// Fields 1 to 81 of record "A" for the e-AD of header() with one product, by number.
QStringList fieldsA()
{
    return {
        "A", "0001", "0001", "00", "000",                     // 1-5
        "1", "1", "D", "05", "1", "0",                         // 6-11
        "IT00ABC00123X     ", "Cantina Rossi S.r.l.", "Via Roma", "12", "37100", "Verona", "it", // 12-18
        "IT00ABC00123X     ", "Cantina Rossi Magazzino", "Via Mazzini", "4/B", "37121", "Verona", "it", // 19-25
        "", "IT083199",                                        // 26-27
        "DE00XYZ00456Y     ",                                  // 28
        "Weinhaus M\u00fcller GmbH", "Hauptstra\u00dfe", "7", "80331", "M\u00fcnchen", "de", "", // 29-35
        "", "",                                                // 36-37
        "DE00XYZ00789K     ", "Lager M\u00fcller", "Lagerweg", "3", "80999", "M\u00fcnchen", "de", // 38-44
        "",                                                    // 45
        "3", "", "",                                           // 46-48
        "", "", "", "", "", "", "",                            // 49-55
        "", "", "", "", "", "", "",                            // 56-62
        "F123/2026", "20261207", "1", "20261209", "083000", "1", // 63-68
        "GAR0001", "C", "1234.50",                             // 69-71
        "", "", "", "", "", "", "", "", "",                    // 72-80
        "000",                                                 // 81
    };
}

const QStringList TransportPart = {"000", "001", "I", "001", "3 ", "AB123CD", "", "", "", "Refrigerato", "it", "000"};

// Product fields of product(n) (1..35 and the treatments 01 and 05).
QStringList productFields(const QString& litres, const QString& gross, const QString& net, const QString& packages)
{
    return {"W200", "22042194", litres, gross, net, "", "12.50", "", "", "", "0",
            "Vino DOC Valpolicella", "it", "", "1", "0001", "     ", "", "",
            "Valpolicella Classico 1", "it", "001", "M", "001", "BO", packages, "", "", "", "1", "C2", "", "", "",
            "002", "O", "001", "01", "O", "002", "05"};
}

QString line(const QString& prefix, const QStringList& fields)
{
    QString s = prefix;
    for (const QString& f : fields)
        s += f + QLatin1Char('\t');
    return s;
}

QString recordA(const QStringList& a, const QStringList& groups = {}, const QStringList& transport = TransportPart,
                QStringList product = productFields("750.000", "1200.00", "1125.50", "1000"))
{
    return line(Prefix, a + groups + transport + QStringList{"001"} + product);
}

const QString Header2 = QStringLiteral("ABCD            ABCD1209.C01            001234    01234567890     001 00002");

} // namespace

TEST(Ie815Flow, OneProductGivesTwoLinesInWindows1252WithCrLf)
{
    const QByteArray bytes = ie815FlowBytes(source(1));
    const QString expected = Header2 + "\r\n" + recordA(fieldsA()) + "\r\n";
    QStringEncoder enc("windows-1252");
    EXPECT_EQ(bytes, QByteArray(enc.encode(expected)));
    EXPECT_TRUE(bytes.contains("M\xFCnchen\t")) << "u-umlaut as one Windows-1252 byte";
    EXPECT_TRUE(bytes.endsWith("\t05\t\r\n"));
    const QStringList lines = ie815Lines(source(1));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].size(), 75);
    EXPECT_TRUE(lines[0].endsWith("00002"));
    EXPECT_EQ(lines[1].mid(53).section('\t', 4, 4), "000") << "field 5: no further product records";
}

TEST(Ie815Flow, ThreeProductsGiveRecordAAndTwoCRecords)
{
    Ie815Source s = source(3);
    s.products[2].trattamenti = QString(); // the third has no treatments
    const QStringList lines = ie815Lines(s);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "ABCD            ABCD1209.C01            001234    01234567890     001 00004");
    QStringList a = fieldsA();
    a[5 - 1] = "002";
    EXPECT_EQ(lines[1], recordA(a));
    QStringList p2 = productFields("1500.000", "2400.00", "2251.00", "2000");
    p2[20 - 1] = "Valpolicella Classico 2";
    EXPECT_EQ(lines[2], line(Prefix, QStringList{"C", "0002", "002"} + p2));
    QStringList p3 = productFields("2250.000", "3600.00", "3376.50", "3000");
    p3[20 - 1] = "Valpolicella Classico 3";
    p3 = p3.mid(0, 34) + QStringList{"000"};
    EXPECT_EQ(lines[3], line(Prefix, QStringList{"C", "0003", "003"} + p3));
}

TEST(Ie815Flow, ConsignorAndTransporterGuaranteesGiveOneGuarantorGroup)
{
    Ie815Source s = source();
    s.header.TIPGAR = QStringLiteral("12");
    QStringList a = fieldsA();
    a[68 - 1] = "12";
    a[72 - 1] = "GARTR02";
    a[73 - 1] = "E";
    a[74 - 1] = "99.00";
    a[81 - 1] = "001";
    const QStringList group = {"H", "001", "IT00TRA00001Q", "11122233344", "Trasporti Garantiti", "Corso Italia",
                               "20", "20100", "Milano", "it"};
    EXPECT_EQ(ie815Lines(s)[1], recordA(a, group));
}

TEST(Ie815Flow, AllFourGuarantorsGiveTransporterThenOwnerGroups)
{
    Ie815Source s = source();
    s.header.TIPGAR = QStringLiteral("1234");
    QStringList a = fieldsA();
    a[68 - 1] = "1234";
    const QStringList amounts = {"GAR0001", "C", "1234.50", "GARTR02", "E", "99.00", "GARPR03", "C", "0.50",
                                 "GARDE04", "C", "10.00"};
    for (int i = 0; i < 12; ++i)
        a[69 - 1 + i] = amounts[i];
    a[81 - 1] = "002";
    const QStringList groups = {"H", "001", "IT00TRA00001Q", "11122233344", "Trasporti Garantiti", "Corso Italia",
                                "20", "20100", "Milano", "it",
                                "H", "002", "IT00PRO00002W", "55566677788", "Proprietario Vini", "Via Verdi", "9",
                                "50100", "Firenze", "it"};
    EXPECT_EQ(ie815Lines(s)[1], recordA(a, groups));
}

TEST(Ie815Flow, DurationInDaysAndHours)
{
    struct Case { int unit, duration; const char* f8; const char* f9; };
    for (const Case& c : {Case{0, 5, "D", "05"}, Case{1, 12, "H", "12"}}) {
        Ie815Source s = source();
        s.header.unitaDurata = c.unit;
        s.header.durata = c.duration;
        QStringList a = fieldsA();
        a[8 - 1] = c.f8;
        a[9 - 1] = c.f9;
        EXPECT_EQ(ie815Lines(s)[1], recordA(a)) << c.f8 << c.f9;
    }
}

TEST(Ie815Flow, DeferredSubmissionCarriesTheFallbackNumberAsLocalReference)
{
    Ie815Source s = source();
    s.header.INVDIF = QStringLiteral("S");
    s.header.riferimentoLocale = QStringLiteral("CARTACEO-0042");
    QStringList a = fieldsA();
    a[11 - 1] = "1";
    const QString prefix = "IE815IT00ABC00123X     CARTACEO-0042         20261209";
    const QStringList lines = ie815Lines(s);
    EXPECT_EQ(lines[1], line(prefix, a + TransportPart + QStringList{"001"} +
                                         productFields("750.000", "1200.00", "1125.50", "1000")));
}

TEST(Ie815Flow, RegisteredConsignorHasNoPlaceOfDispatchButTheOfficeOfDispatch)
{
    Ie815Source s = source();
    s.header.tipoSpeditore = QStringLiteral("2");
    QStringList a = fieldsA();
    for (int f = 19; f <= 25; ++f)
        a[f - 1] = "";
    a[26 - 1] = "IT083100";
    a[65 - 1] = "2";
    EXPECT_EQ(ie815Lines(s)[1], recordA(a));
}

TEST(Ie815Flow, DestinationTypesChooseConsigneeExemptionDeliveryAndExportFields)
{
    const QStringList consignee = {"Weinhaus M\u00fcller GmbH", "Hauptstra\u00dfe", "7", "80331", "M\u00fcnchen", "de", ""};
    const QStringList delivery = {"DE00XYZ00789K     ", "Lager M\u00fcller", "Lagerweg", "3", "80999", "M\u00fcnchen", "de"};
    struct Case {
        QString tipmes, tipdes, id;
        bool consignee;
        QStringList exemption;
        bool delivery;
        QString deliveryId, exportOffice;
    };
    const QList<Case> cases = {
        {"1", "1", "DE00XYZ00456Y     ", true, {"", ""}, true, "DE00XYZ00789K     ", ""},
        {"1", "4", "DE00XYZ00456Y     ", true, {"", ""}, true, "", ""},
        {"1", "5", "", true, {"DE", "CERT-99"}, false, "", ""},
        {"1", "6", "DE00XYZ00456Y     ", true, {"", ""}, false, "", "IT999000"},
        {"1", "8", "", false, {"", ""}, false, "", ""},
        {"2", "6", "", false, {"", ""}, false, "", "IT999000"},
    };
    for (const Case& c : cases) {
        Ie815Source s = source();
        s.header.TIPMES = c.tipmes;
        s.header.TIPDES = c.tipdes;
        QStringList a = fieldsA();
        a[6 - 1] = c.tipmes;
        a[7 - 1] = c.tipdes;
        a[28 - 1] = c.id;
        for (int i = 0; i < 7; ++i)
            a[29 - 1 + i] = c.consignee ? consignee[i] : QString();
        a[36 - 1] = c.exemption[0];
        a[37 - 1] = c.exemption[1];
        for (int i = 0; i < 7; ++i)
            a[38 - 1 + i] = c.delivery ? delivery[i] : QString();
        if (c.delivery)
            a[38 - 1] = c.deliveryId;
        a[45 - 1] = c.exportOffice;
        EXPECT_EQ(ie815Lines(s)[1], recordA(a)) << "TIPMES " << c.tipmes.toStdString() << " TIPDES "
                                                << c.tipdes.toStdString();
    }
}

TEST(Ie815Flow, TransportArrangerAndModeGiveTransportCompanyAndInformation)
{
    Ie815Source s = source();
    s.header.RESTRA = QStringLiteral("3");
    s.header.MODTRA = QStringLiteral("0");
    QStringList a = fieldsA();
    a[10 - 1] = "3";
    a[46 - 1] = "0";
    a[47 - 1] = "Consegna al piano";
    a[48 - 1] = "it";
    const QStringList company = {"09876543210", "Trasporti Bianchi", "Via Po", "1", "10100", "Torino", "it"};
    for (int i = 0; i < 7; ++i)
        a[49 - 1 + i] = company[i];
    EXPECT_EQ(ie815Lines(s)[1], recordA(a));
}

TEST(Ie815Flow, TransportLinesAreNumberedWithTheirSealsAndInformation)
{
    Ie815Source s = source();
    TRecDettaglio second = blankLine();
    second.UNITRA() = QStringLiteral("1");
    second.IDUNTR() = QStringLiteral("CONT-9");
    second.SIGTRA() = QStringLiteral("SIGILLO 5");
    second.INSITR() = QStringLiteral("Piombato");
    s.transport << second;
    const QStringList transport = {"000", "002",
                                   "I", "001", "3 ", "AB123CD", "", "", "", "Refrigerato", "it",
                                   "I", "002", "1 ", "CONT-9", "SIGILLO 5", "Piombato", "it", "", "",
                                   "000"};
    EXPECT_EQ(ie815Lines(s)[1], recordA(fieldsA(), {}, transport));
    s.transport.clear();
    EXPECT_EQ(ie815Lines(s)[1], recordA(fieldsA(), {}, {"000", "000", "000"}));
}

TEST(Ie815Flow, ImportedWineBulkDesignationAndSealsInProductFields)
{
    Ie815Source s = source();
    TRecDettaglio& p = s.products[0];
    p.categoria = QStringLiteral("4");
    p.paeseImportazione = QStringLiteral("AR");
    p.DESCOM = QStringLiteral("Rosso sfuso");
    p.SIGIMB = QStringLiteral("SIG-1");
    p.INSIIM = QStringLiteral("Sigilli integri");
    p.NUMIMB = 0;
    p.GRADOA = 123.456; // more than six characters with two decimals
    p.certificazione = QString();
    QStringList f = productFields("750.000", "1200.00", "1125.50", "");
    f[7 - 1] = "123.46";
    f[12 - 1] = "";
    f[13 - 1] = "";
    f[18 - 1] = "Rosso sfuso";
    f[19 - 1] = "it";
    f[27 - 1] = "SIG-1";
    f[28 - 1] = "Sigilli integri";
    f[29 - 1] = "it";
    f[30 - 1] = "4";
    f[32 - 1] = "AR";
    EXPECT_EQ(ie815Lines(s)[1], recordA(fieldsA(), {}, TransportPart, f));
    p.GRADOA = 1234.5;
    f[7 - 1] = "1234.5"; // cut at six characters
    EXPECT_EQ(ie815Lines(s)[1], recordA(fieldsA(), {}, TransportPart, f));
}

TEST(Ie815Flow, WithoutTheTreatmentTableProductFieldsEndAfterField34)
{
    Ie815Source s = source(2);
    s.treatments.reset();
    const QStringList lines = ie815Lines(s);
    QStringList a = fieldsA();
    a[5 - 1] = "001";
    EXPECT_EQ(lines[1], recordA(a, {}, TransportPart, productFields("750.000", "1200.00", "1125.50", "1000").mid(0, 34)));
    QStringList p2 = productFields("1500.000", "2400.00", "2251.00", "2000").mid(0, 34);
    p2[20 - 1] = "Valpolicella Classico 2";
    EXPECT_EQ(lines[2], line(Prefix, QStringList{"C", "0002", "002"} + p2));
}

TEST(Ie815Flow, ShortCompanyValuesMoveTheFollowingPiecesLeft)
{
    Ie815Source s = source();
    s.company.CODUTE = QStringLiteral("AB");
    s.company.SEZDOG = QStringLiteral("12");
    s.company.PARIVA = QStringLiteral("123");
    s.company.CACCI1 = QStringLiteral("IT00X");
    s.flowName = QStringLiteral("AB1209.C01");
    const QStringList lines = ie815Lines(s);
    EXPECT_EQ(lines[0], "AB            AB1209.C01            12    123     001 00002");
    EXPECT_TRUE(lines[1].startsWith("IE815IT00X     46000.43750-ABC00123XF20261209A\t"));
}

TEST(Ie815Flow, UnwritableDatesBecomeZeros)
{
    Ie815Source s = source();
    s.header.DATFAT = 1e12;
    QStringList a = fieldsA();
    a[64 - 1] = "00000000";
    EXPECT_EQ(ie815Lines(s)[1], recordA(a));
}

// An e-AD saved with a one-digit hour or minute: the time of dispatch is still hhmm00.
TEST(Ie815Flow, TimeOfDispatchWithOneDigitHourOrMinute)
{
    const std::pair<const char*, const char*> cases[] = {{"9:30", "093000"}, {"12:5", "120500"}, {"9:5", "090500"}};
    for (auto [stored, written] : cases) {
        Ie815Source s = source(1);
        s.header.ORASPE = QString::fromLatin1(stored);
        QStringList a = fieldsA();
        a[67 - 1] = QString::fromLatin1(written);
        EXPECT_EQ(ie815Lines(s).value(1), recordA(a)) << stored;
    }
}
