// The IE813 flow writer against lines written by hand from the layout: destination types 1, 4 and
// 8, one and two transport units, with and without seals; and what the writer stores and refuses.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/RecordCodec.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/ead/EadStore.h"
#include "messages/change/Ie813Flow.h"
#include "messages/change/Ie813Send.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

const QString Arc = QStringLiteral("26ITQXY00012345678901");

TRecAzienda company()
{
    TRecAzienda c = blankCompany();
    trimCompany(c);
    c.CACCI1 = QStringLiteral("IT00ABC00123X");
    c.CODUTE = QStringLiteral("ABCD");
    c.SEZDOG = QStringLiteral("001234");
    c.PARIVA = QStringLiteral("01234567890");
    return c;
}

// The wine on its way to Munich is sent instead to a warehouse keeper in Turin: a journey of 5
// hours by road, transport arranged by the consignor, invoice F77/2026 of 10/12/2026.
TRecEad change(const QString& type)
{
    TRecEad c = blankEad();
    c.progressivo = 2;
    c.progressivoRif = 5;
    c.LINGUA = QStringLiteral("it");
    c.ARC = Arc;
    c.stato = QStringLiteral(" ");
    c.TIPDES = type;
    c.unitaDurata = 1;
    c.durata = 5;
    c.RESTRA = QStringLiteral("1");
    c.MODTRA = QStringLiteral("3");
    c.INFTRA = QStringLiteral("non scritta: il modo non inizia per 0");
    c.NUMFAT = QStringLiteral("F77/2026");
    c.DATFAT = dates::fromDate(QDate(2026, 12, 10));
    if (type != "8") {
        c.COIDDE = QStringLiteral("IT00DEF00456K");
        c.DENDES = QStringLiteral("Enoteca Bianchi");
        c.INDDES = QStringLiteral("Via Po");
        c.NUCDES = QStringLiteral("3");
        c.CAPDES = QStringLiteral("10100");
        c.CITDES = QStringLiteral("TORINO");
        c.LINDES = QStringLiteral("it");
    }
    if (type == "1" || type == "4") {
        c.COIDLD = type == "1" ? QStringLiteral("IT00DEF00789L") : QString();
        c.DENLDE = QStringLiteral("Magazzino Bianchi");
        c.INDLDE = QStringLiteral("Via Dora");
        c.NUCLDE = QStringLiteral("8");
        c.CAPLDE = QStringLiteral("10152");
        c.CITLDE = QStringLiteral("TORINO");
        c.LINLDE = QStringLiteral("it");
    }
    eadToStoredForm(c);
    return c;
}

TRecDettaglio unit(int n, bool sealed)
{
    TRecDettaglio d = blankLine();
    d.numero = n;
    d.progressivo = 2;
    d.UNITRA() = QString::number(n);
    d.IDUNTR() = n == 1 ? QStringLiteral("AB123CD") : QStringLiteral("XY999ZZ");
    if (sealed) {
        d.SIGTRA() = QStringLiteral("SIG-%1").arg(n);
        d.INSITR() = QStringLiteral("Sigilli integri");
        d.INAGTR() = QStringLiteral("Refrigerato");
    }
    lineToStoredForm(d);
    return d;
}

Ie813Source source(const QString& type, const QList<TRecDettaglio>& details)
{
    return {change(type), details, company(), QStringLiteral("ABCD1210.C02"), dates::fromDate(QDate(2026, 12, 10))};
}

// Header: user code, 12 spaces, flow name, 12 spaces, section, 4 spaces, VAT, 5 spaces, the change's
// place of dispatch (blank: the change does not fill it), " 00002".
const QString Header = "ABCD" + QString(12, ' ') + "ABCD1210.C02" + QString(12, ' ') + "001234" + QString(4, ' ') +
                       "01234567890" + QString(5, ' ') + "   " + " 00002";
const QString Prefix = "IE813IT00ABC00123X" + QString(5, ' ') + Arc + "20261210";
// Fields 1-12: E, 0001, 0001, 00, hours, 05, organiser, invoice, its date, mode 3 (no note).
const QString Transport = "E\t0001\t0001\t00\tH\t05\t1\tF77/2026\t20261210\t3\t\t\t";
const QString Consignee = "IT00DEF00456K     \tEnoteca Bianchi\tVia Po\t3\t10100\tTORINO\tit\t\t";
const QString Delivery = "Magazzino Bianchi\tVia Dora\t8\t10152\tTORINO\tit\t";
const QString Seven = QString(7, '\t');
const QString SealedUnit = "P\t001\t1 \tAB123CD\tSIG-1\tSigilli integri\tit\tRefrigerato\tit\t";

} // namespace

TEST(Ie813Flow, TypeOneWithOneSealedUnit)
{
    const QStringList lines = ie813Lines(source("1", {unit(1, true)}));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], Header);
    EXPECT_EQ(lines[1], Prefix + Transport + "1\t" + Consignee + "IT00DEF00789L     \t" + Delivery + "\t" + Seven + Seven +
                            "001\t" + SealedUnit);
}

TEST(Ie813Flow, TypeFourCarriesThePlaceOfDeliveryWithoutIdentification)
{
    const QStringList lines = ie813Lines(source("4", {unit(1, true), unit(2, false)}));
    EXPECT_EQ(lines[1], Prefix + Transport + "4\t" + Consignee + "\t" + Delivery + "\t" + Seven + Seven + "002\t" +
                            SealedUnit + "P\t002\t2 \tXY999ZZ\t\t\t\t\t\t");
}

// Type 6, export: the representative at the office of export is required with his VAT number,
// which the IE815 writes for this type too; the office of export as stored.
TEST(Ie813Flow, TypeSixCarriesTheRepresentativesIdentificationAndTheOfficeOfExport)
{
    TRecEad c = change("6");
    c.COIDDE = padField(QStringLiteral("IT09876543210"), 18);
    c.uffesp = padField(QStringLiteral("IT0771"), 8);
    const QStringList lines =
        ie813Lines({c, {unit(1, true)}, company(), QStringLiteral("ABCD1210.C02"), dates::fromDate(QDate(2026, 12, 10))});
    EXPECT_EQ(lines[1], Prefix + Transport + "6	" + "IT09876543210     	" +
                            "Enoteca Bianchi	Via Po	3	10100	TORINO	it		" + Seven + "IT0771  	" + Seven + Seven +
                            "001	" + SealedUnit);
}

TEST(Ie813Flow, TypeEightHasNoConsigneeAndNoPlaceOfDelivery)
{
    const QStringList lines = ie813Lines(source("8", {}));
    EXPECT_EQ(lines[1], Prefix + Transport + "8\t" + "\t" + Seven + Seven + "\t" + Seven + Seven + "000\t");
}

TEST(Ie813Flow, TransportCompanyNoteAndDaysWhenGiven)
{
    TRecEad c = change("5");
    c.unitaDurata = 0;
    c.durata = 12;
    c.RESTRA = QStringLiteral("3");
    c.MODTRA = QStringLiteral("0 ");
    c.INFTRA = QStringLiteral("  Via nave  ");
    c.PIAZTR = QStringLiteral("09876543210");
    c.DENAZT = QStringLiteral("Trasporti Verdi");
    c.INDAZT = QStringLiteral("Via Roma");
    c.NUCAZT = QStringLiteral("1");
    c.CAPAZT = QStringLiteral("00100");
    c.CITAZT = QStringLiteral("ROMA");
    c.LINAZT = QStringLiteral("it");
    const QStringList lines = ie813Lines({c, {}, company(), "ABCD1210.C02", dates::fromDate(QDate(2026, 12, 10))});
    EXPECT_EQ(lines[1], Prefix + "E\t0001\t0001\t00\tD\t12\t3\tF77/2026\t20261210\t0\tVia nave\tit\t5\t\t" +
                            "Enoteca Bianchi\tVia Po\t3\t10100\tTORINO\tit\t\t" + Seven + "\t" +
                            "09876543210\tTrasporti Verdi\tVia Roma\t1\t00100\tROMA\tit\t" + Seven + "000\t");
}

namespace {
struct Ie813Send : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    QString toSign;

    void SetUp() override
    {
        toSign = t.path("fv/dafirmare");
        QDir().mkpath(toSign);
        ctx.AppConfig.Fld[1] = toSign + "/";
        ctx.AppConfig.Fld[2] = t.path("fv/firmati") + "/";
        ctx.CompanyRecord = company();
        ctx.WorkYear = "2026";
        RecordFile(changefiles::changes(ctx, "2026"), TRecEad::Size).append(encodeEad(change("1")));
    }
    Ie813FlowRequest request() const { return {"2026", 2, QDate(2026, 12, 10), 2, "ABCD1210.C02", false}; }
    QByteArray stored() const { return *RecordFile(changefiles::changes(ctx, "2026"), TRecEad::Size).findByNumber(2); }
};
} // namespace

TEST_F(Ie813Send, TheFlowIsWrittenInOneGoAndItsDateAndNumberStored)
{
    // Another change's details in the same file are not this change's.
    TRecDettaglio others = unit(1, true);
    others.progressivo = 9;
    RecordFile(changefiles::details(ctx, "2026"), TRecDettaglio::Size).append(encodeLine(others));
    RecordFile(changefiles::details(ctx, "2026"), TRecDettaglio::Size).append(encodeLine(unit(1, true)));
    const Ie813FlowWritten written = writeIe813Flow(ctx, request());
    EXPECT_EQ(written.details, 1);
    QFile f(toSign + "/ABCD1210.C02");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), (Header + "\r\n" + Prefix + Transport + "1\t" + Consignee + "IT00DEF00789L     \t" + Delivery +
                            "\t" + Seven + Seven + "001\t" + SealedUnit + "\r\n")
                               .toLatin1());
    EXPECT_EQ(codec::getF64(stored(), 64), dates::fromDate(QDate(2026, 12, 10)));
    EXPECT_EQ(codec::getI32(stored(), 72), 2);
    EXPECT_EQ(stored().mid(76, 2), QByteArray("\x01 ", 2));

    storeIe813Sent(ctx, "2026", 2);
    EXPECT_EQ(stored().mid(76, 2), QByteArray("\x01I", 2));
}

TEST_F(Ie813Send, WithoutItsTransportDetailsNoFlowIsBuiltAndNothingStored)
{
    // No detail file at all, then a file holding only another change's details.
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            TRecDettaglio others = unit(1, true);
            others.progressivo = 9;
            RecordFile(changefiles::details(ctx, "2026"), TRecDettaglio::Size).append(encodeLine(others));
        }
        try {
            writeIe813Flow(ctx, request());
            ADD_FAILURE() << "a change without details gave a flow";
        } catch (const IoError& e) {
            EXPECT_TRUE(e.text().contains("NON HA DETTAGLI DEL TRASPORTO")) << e.text().toStdString();
        }
        EXPECT_TRUE(QDir(toSign).isEmpty());
        EXPECT_EQ(codec::getI32(stored(), 72), 0);
        EXPECT_EQ(codec::getF64(stored(), 64), 0.0);
    }
}

TEST_F(Ie813Send, TheHeaderTakesThePremisesOfTheEadWhenTheChangeHasNone)
{
    // The changed e-AD (number 5) left from premises 002.
    TRecEad ead = blankEad();
    ead.progressivo = 5;
    ead.progressivoRif = 5;
    ead.SEDELS = QStringLiteral("002");
    eadToStoredForm(ead);
    RecordFile(eadfiles::headers(ctx, "2026"), TRecEad::Size).append(encodeEad(ead));
    RecordFile(changefiles::details(ctx, "2026"), TRecDettaglio::Size).append(encodeLine(unit(1, true)));
    writeIe813Flow(ctx, request());
    QFile f(toSign + "/ABCD1210.C02");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray header = f.readLine();
    EXPECT_EQ(header.mid(66, 9), QByteArray("002 00002"));

    // A change that carries its own premises keeps them.
    updateHeaderInPlace(ctx, changefiles::changes(ctx, "2026"), 2, [](TRecEad& c) {
        c.SEDELS = "003";
        c.dataFlusso = 0;
        c.numeroFlusso = 0;
    });
    writeIe813Flow(ctx, request());
    QFile again(toSign + "/ABCD1210.C02");
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readLine().mid(66, 9), QByteArray("003 00002"));
}

TEST_F(Ie813Send, RefusalsWriteNoFlow)
{
    RecordFile(changefiles::details(ctx, "2026"), TRecDettaglio::Size).append(encodeLine(unit(1, true)));
    auto change = [&](const std::function<void(TRecEad&)>& f) {
        updateHeaderInPlace(ctx, changefiles::changes(ctx, "2026"), 2, f);
    };
    change([](TRecEad& c) { c.stato = "I"; });
    EXPECT_THROW(writeIe813Flow(ctx, request()), IoError);
    change([](TRecEad& c) {
        c.stato = " ";
        c.ARC = QString(21, ' ');
    });
    EXPECT_THROW(writeIe813Flow(ctx, request()), IoError);
    Ie813FlowRequest missing = request();
    missing.number = 3;
    EXPECT_THROW(writeIe813Flow(ctx, missing), IoError);
    EXPECT_TRUE(QDir(toSign).isEmpty());
    EXPECT_EQ(codec::getI32(stored(), 72), 0);
}
