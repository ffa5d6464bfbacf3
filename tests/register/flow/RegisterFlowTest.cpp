// The register flow against lines written by hand from the agency's register
// layout, the list of unsent records, and the writing of a flow with the
// marking of its records.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "register/flow/RegisterFlow.h"
#include "register/store/RegisterStore.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

const QString T = QStringLiteral("\t");

double day(int d, int m, int y = 2026)
{
    return dates::fromDate(QDate(y, m, d));
}

// Cantina Rossi, warehouse keeper IT00ABC00123X, user code ABCD, customs office
// IT083100.
TRecAzienda company()
{
    TRecAzienda c = blankCompany();
    trimCompany(c);
    c.CACCI1 = QStringLiteral("IT00ABC00123X");
    c.CODUTE = QStringLiteral("ABCD");
    c.SEZDOG = QStringLiteral("001234");
    c.PARIVA = QStringLiteral("01234567890");
    c.UFFDO1 = QStringLiteral("IT083100");
    return c;
}

TRecMovimento stored(TRecMovimento r)
{
    PadRegisterRecord(r);
    return r;
}

// The worked example: 750 l of red wine at 12,5 % vol in 1000 bottles of 0,75
// l, sent by e-AD to Munich on 9 December 2026, register protocol 2019 / "12",
// line 7 of the register.
TRecMovimento bottledUnload()
{
    TRecMovimento r = blankRegisterRecord();
    r.numero = 3;
    r.data = day(9, 12);
    r.registro = QStringLiteral("C");
    r.operazione = QStringLiteral("I");
    r.tipoDestinazione = QStringLiteral("1");
    r.ufficioDogana = QStringLiteral("IT083100");
    r.annoProtocollo = QStringLiteral("2019");
    r.numeroProtocollo = QStringLiteral("12");
    r.progressivo = 7;
    r.prodottoAziendale = QStringLiteral("ROSSO01");
    r.codiceProdotto = QStringLiteral("W200-22042138-00-0000");
    r.litri = 750;
    r.grado = 12.5;
    r.volumeConfezione = 0.75;
    r.aliquota = 1;
    r.garanzia = 93.75;
    r.stoccaggio = QStringLiteral("N");
    r.confezioni = 1000;
    r.tipoDocumento = QStringLiteral("EAD");
    r.numeroDocumento = QStringLiteral("26IT00000000000012345");
    r.dataDocumento = day(8, 12);
    r.paese = QStringLiteral("DE");
    r.controparte = QStringLiteral("DE00XYZ00456Y");
    r.tipoMovimento = QStringLiteral("S");
    r.causale = QStringLiteral("S1");
    r.nota = QStringLiteral("Vendita");
    r.riferimentoLocale = QStringLiteral("46000.43750-ABC00123XF");
    r.progressivoEad = 1;
    r.progressivoDettaglio = 1;
    return stored(r);
}

// 5.000 l of white wine in bulk bought from Verona on 7 December with a DAA,
// line 5.
TRecMovimento bulkLoad()
{
    TRecMovimento r = blankRegisterRecord();
    r.numero = 1;
    r.data = day(7, 12);
    r.registro = QStringLiteral("C");
    r.operazione = QStringLiteral("I");
    r.ufficioDogana = QStringLiteral("IT083100");
    r.annoProtocollo = QStringLiteral("2019");
    r.numeroProtocollo = QStringLiteral("12");
    r.progressivo = 5;
    r.prodottoAziendale = QStringLiteral("BIANCO");
    r.codiceProdotto = QStringLiteral("W200-22042198-00-0000");
    r.litri = 5000;
    r.grado = 11;
    r.stoccaggio = QStringLiteral("S");
    r.tipoDocumento = QStringLiteral("DAA");
    r.numeroDocumento = QStringLiteral("123/2026");
    r.dataDocumento = day(6, 12);
    r.paese = QStringLiteral("IT");
    r.controparte = QStringLiteral("IT00VRX00077K");
    r.tipoMovimento = QStringLiteral("C");
    r.causale = QStringLiteral("C1");
    return stored(r);
}

// The consignee's report of receipt of the e-AD above, recorded on 11 December:
// the guarantee of 93,75 is released.
TRecMovimento conclusion()
{
    TRecMovimento r = bottledUnload();
    r.numero = 4;
    r.collegato = 3;
    r.dataCollegata = day(9, 12);
    r.data = day(11, 12);
    r.operazione = QStringLiteral("A");
    r.tipoMovimento = QStringLiteral("A");
    r.tipoDocumento = QStringLiteral("ROR");
    r.progressivo = 8;
    r.nota = QStringLiteral("Ricevuto");
    return stored(r);
}

// The guarantee day of 9 December: 93,75 committed, 500 deposited, 2.406,25
// left.
TRecGaranzia guaranteeDay()
{
    TRecGaranzia g = blankRegisterRecord();
    g.numero = 1;
    g.data = day(9, 12);
    g.registro = QStringLiteral("F");
    g.operazione = QStringLiteral("I");
    g.progressivo = 1;
    g.impegnato() = 93.75;
    g.nuovaCauzione() = 500;
    g.disponibile() = 2406.25;
    g.controparte = QStringLiteral("RSSMRA80A01H501U");
    return stored(g);
}

const QString Prefix = QStringLiteral("ALCOAV") + QStringLiteral("IT00ABC00123X");
const QString Flow = QStringLiteral("ABCD1209.C03");

QString header(const char* count)
{
    return QStringLiteral("ABCD") + QString(12, ' ') + Flow + QString(12, ' ') + QStringLiteral("001234") +
        QString(4, ' ') + QStringLiteral("01234567890") + QStringLiteral("     001 ") + QString::fromLatin1(count);
}

QString fileRecord(const char* fields)
{
    return Prefix + QStringLiteral("00000000A") + QStringLiteral("01234567890") + QString(5, ' ') +
        QString::fromLatin1(fields);
}

} // namespace

TEST(RegisterFlowLines, WorkedExampleBottledUnload)
{
    const QStringList lines = registerFlowLines(company(), Flow, {bottledUnload()});
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], header("00003"));
    EXPECT_EQ(lines[0].size(), 75);
    EXPECT_EQ(lines[1], fileRecord("1\t0\t0\t0\t0\t0\t2\t"));
    const QString expected = Prefix + "20261209" + "C" + "I" //
        + "P" + T                                            // 1
        + "IT083100" + T                                     // 2 customs office
        + "2019" + T                                         // 3
        + "12        " + T                                   // 4 as stored
        + "7" + T                                            // 5 progressive
        + "W200" + "22042138" + "00" + "0000" + T            // 6 without dashes
        + T + T                                              // 7-8
        + "750.00000" + T                                    // 9
        + T + T + T                                          // 10-12
        + "12.50000" + T                                     // 13
        + "N" + T                                            // 14
        + "0.75000" + T                                      // 15
        + "1000" + T                                         // 16
        + "EAD" + T                                          // 17
        + "26IT00000000000012345" + T                        // 18
        + "20261208" + T                                     // 19
        + T                                                  // 20
        + "DE" + T                                           // 21
        + "DE00XYZ00456Y" + T                                // 22 trimmed
        + "S" + T                                            // 23
        + "S1 " + T                                          // 24 as stored
        + "002" + T                                          // 25
        + T                                                  // 26
        + "NOTA: Vendita" + T                                // 27
        + "1" + T                                            // 28
        + "46000.43750-ABC00123XF" + T                       // 29
        + "1" + T;                                           // 30
    EXPECT_EQ(lines[2], expected);
}

TEST(RegisterFlowLines, BulkLoadLeavesPackagesEmpty)
{
    const QStringList lines = registerFlowLines(company(), Flow, {bulkLoad()});
    ASSERT_EQ(lines.size(), 3);
    const QString expected = Prefix + "20261207" + "C" + "I" + "P" + T + "IT083100" + T + "2019" + T + "12        " +
        T + "5" + T + "W2002204219800" + "0000" + T + T + T + "5000.00000" + T + T + T + T + "11.00000" + T + "S" + T //
        + T + T // 15-16 empty: no volume, no packages
        + "DAA" + T + "123/2026" + T + "20261206" + T + T + "IT" + T + "IT00VRX00077K" + T + "C" + T + "C1 " + T +
        "002" + T + T + "NOTA: " + T //
        + T + T + T;                 // 28-30: no e-AD
    EXPECT_EQ(lines[2], expected);
}

TEST(RegisterFlowLines, ConclusionHasNoKindReasonNorCode)
{
    const QStringList lines = registerFlowLines(company(), Flow, {conclusion()});
    ASSERT_EQ(lines.size(), 3);
    const QString expected = Prefix + "20261211" + "C" + "A" + "P" + T + "IT083100" + T + "2019" + T + "12        " +
        T + "8" + T + "W200220421380000" + "00" + T + T + T + "750.00000" + T + T + T + T + "12.50000" + T + "N" + T +
        "0.75000" + T + "1000" + T + "ROR" + T + "26IT00000000000012345" + T + "20261208" + T + T + "DE" + T +
        "DE00XYZ00456Y" + T //
        + T + T + T         // 23-25 empty
        + T + "NOTA: Ricevuto" + T + "1" + T + "46000.43750-ABC00123XF" + T + "1" + T;
    EXPECT_EQ(lines[2], expected);
}

TEST(RegisterFlowLines, RectificationPairAndGuaranteeDayAndCounts)
{
    // Line 7 rectified: its cancellation repeats it with operation "C", the
    // replacement ("R") carries 740 litres; then the guarantee day. Three
    // movements and one guarantee day.
    TRecMovimento cancel = bottledUnload();
    cancel.numero = 5, cancel.collegato = 3, cancel.operazione = QStringLiteral("C");
    cancel.nota = stored(blankRegisterRecord()).nota;
    cancel.nota.replace(0, 12, QStringLiteral("Errore\tlitri"));
    TRecMovimento replacement = bottledUnload();
    replacement.numero = 6, replacement.collegato = 3, replacement.stato = QStringLiteral("R");
    replacement.litri = 740, replacement.confezioni = 0, replacement.volumeConfezione = 0;
    const QStringList lines = registerFlowLines(company(), Flow, {bulkLoad(), cancel, replacement, guaranteeDay()});
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], header("00006"));
    // M, 0, 0, G, 0, 0, M + G + 1.
    EXPECT_EQ(lines[1], fileRecord("3\t0\t0\t1\t0\t0\t5\t"));
    EXPECT_TRUE(lines[3].startsWith(Prefix + "20261209CCP\t"));
    EXPECT_TRUE(lines[3].contains(T + "NOTA: Errore litri" + T)) << "a TAB of a stored note goes out as a space";
    EXPECT_TRUE(lines[4].startsWith(Prefix + "20261209CIP\t"));
    EXPECT_TRUE(lines[4].contains(T + "740.00000" + T + T + T + T + "12.50000" + T + "N" + T + T + T + "EAD" + T));
    EXPECT_EQ(lines[5],
        Prefix + "20261209" + "F" + "I" + "C" + T + "93.75" + T + "0.00" + T + "500.00" + T + "0.00" + T + "2406.25" +
            T + "RSSMRA80A01H501U" + T + "NOTA: " + T);
}

TEST(RegisterFlowLines, BytesAreCp1252WithCrLf)
{
    TRecMovimento r = bulkLoad();
    r.nota = stored(blankRegisterRecord()).nota;
    r.nota.replace(0, 9, QStringLiteral("Qualit\u00e0 \u20ac"));
    const QByteArray bytes = registerFlowBytes(company(), Flow, {r});
    EXPECT_TRUE(bytes.contains(QByteArray("NOTA: Qualit\xe0 \x80\t")));
    EXPECT_EQ(bytes.count("\r\n"), 3);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
}

// ---- The list, the writing and the marking ----

namespace {

struct RegisterYear : ::testing::Test {
    TestContext t;
    QString rgm, gar, toSign, signedDir;

    void SetUp() override
    {
        t.ctx.CompanyRecord = company();
        toSign = t.path(QStringLiteral("tosign"));
        signedDir = t.path(QStringLiteral("signed"));
        QDir().mkpath(toSign);
        QDir().mkpath(signedDir);
        QDir().mkpath(t.ctx.RegistriFolder);
        t.ctx.AppConfig.Fld[1] = toSign;
        t.ctx.AppConfig.Fld[2] = signedDir;
        rgm = registerfiles::movements(t.ctx, 2026);
        gar = registerfiles::guarantees(t.ctx, 2026);
        // 2.000,00 available at the end of 2025.
        TRecGaranzia carried = blankRegisterRecord();
        carried.numero = 2025;
        carried.registro = "F";
        carried.disponibile() = 2000;
        write(registerfiles::carryOvers(t.ctx), {carried});
    }

    void write(const QString& path, const QList<TRecMovimento>& records)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const TRecMovimento& r : records)
            f.write(encodeRegisterRecord(r));
    }

    static TRecMovimento sent(TRecMovimento r, int number = 1)
    {
        r.dataFlusso = day(1, 12);
        r.numeroFlusso = number;
        return r;
    }

    RegisterFlowRequest request(const QList<int>& ticked, int number = 3)
    {
        RegisterFlowRequest rq = registerFlowRequest(buildRegisterFlowList(t.ctx, 2026), ticked);
        rq.flowDate = QDate(2026, 12, 9);
        rq.flowNumber = number;
        rq.flowName = QStringLiteral("ABCD1209.C%1").arg(number, 2, 10, QLatin1Char('0'));
        return rq;
    }
};

} // namespace

TEST_F(RegisterYear, ListOffersUnsentRecordsAndNamesDaysWithoutGuarantee)
{
    TRecMovimento other = bottledUnload();
    other.numero = 7, other.data = day(10, 12), other.progressivo = 9;
    write(rgm, {sent(bulkLoad()), bottledUnload(), other, conclusion()});
    write(gar, {guaranteeDay()});
    const RegisterFlowList list = buildRegisterFlowList(t.ctx, 2026);
    ASSERT_EQ(list.lines.size(), 4);
    EXPECT_EQ(list.lines[0],
        QStringLiteral("09/12/2026 I EAD 26IT00000000000012345 - 1 "
                       "DE00XYZ00456Y lt. 750,00 - "
                       "W200-22042138-00-0000 ROSSO01"));
    EXPECT_EQ(list.lines[2],
        QStringLiteral("11/12/2026 A ROR 26IT00000000000012345 "
                       "DE00XYZ00456Y rientro 3^ copia"));
    EXPECT_EQ(list.lines[3],
        QStringLiteral("09/12/2026I Garanzia | Imp. 93,75 | "
                       "Svin. 0,00 | Nuova 500,00 | Scad. "
                       "0,00 | Disp. 2.406,25 |"));
    // The 9th has its guarantee day; the 10th (an unload) and the 11th (a
    // release) have none.
    EXPECT_EQ(list.missingGuaranteeDays, (QList<double>{day(10, 12), day(11, 12)}));
    EXPECT_EQ(missingGuaranteeMessage(day(10, 12)), QStringLiteral("ATTENZIONE MANCA LA GARANZIA DEL 10/12/2026"));
}

TEST_F(RegisterYear, WhatTravelsTogetherIsTickedTogether)
{
    TRecMovimento cancel = bottledUnload();
    cancel.numero = 5, cancel.collegato = 3, cancel.operazione = QStringLiteral("C");
    TRecMovimento replacement = bottledUnload();
    replacement.numero = 6, replacement.collegato = 3, replacement.stato = QStringLiteral("R");
    TRecMovimento concl2 = conclusion();
    concl2.numero = 8, concl2.progressivoDettaglio = 2, concl2.progressivo = 9;
    write(rgm, {bulkLoad(), cancel, replacement, conclusion(), concl2});
    const RegisterFlowList list = buildRegisterFlowList(t.ctx, 2026);
    EXPECT_EQ(list.groupOf(0), QList<int>{0});
    EXPECT_EQ(list.groupOf(2), (QList<int>{1, 2})) << "a replacement never goes without its cancellation";
    EXPECT_EQ(list.groupOf(3), (QList<int>{3, 4})) << "the lines of one conclusion";
    const RegisterFlowRequest rq = registerFlowRequest(list, {2});
    ASSERT_EQ(rq.records.size(), 2);
    EXPECT_EQ(rq.records[0].numero, 5);
    EXPECT_EQ(rq.records[1].numero, 6);
}

TEST_F(RegisterYear, FlowWrittenAndExactlyItsRecordsMarked)
{
    write(rgm, {bulkLoad(), bottledUnload()});
    write(gar, {guaranteeDay()});
    const RegisterFlowWritten w = writeRegisterFlow(t.ctx, request({1, 2}));
    EXPECT_EQ(w.movements, 1);
    EXPECT_EQ(w.guaranteeDays, 1);
    QFile f(QDir(toSign).filePath(QStringLiteral("ABCD1209.C03")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(),
        5); // four lines and the empty rest after the last CR LF
    EXPECT_EQ(lines[1], fileRecord("1\t0\t0\t1\t0\t0\t3\t").toLatin1() + "\r");
    EXPECT_TRUE(lines[2].startsWith((Prefix + "20261209CI").toLatin1()));
    EXPECT_TRUE(lines[3].startsWith((Prefix + "20261209FI").toLatin1()));

    const QList<TRecMovimento> movements = readRegister(rgm);
    EXPECT_EQ(movements[0].numeroFlusso, 0) << "the unticked load stays unsent";
    EXPECT_EQ(movements[1].numeroFlusso, 3);
    EXPECT_EQ(movements[1].dataFlusso, day(9, 12));
    EXPECT_EQ(readRegister(gar)[0].numeroFlusso, 3);
    EXPECT_EQ(buildRegisterFlowList(t.ctx, 2026).records.size(), 1);
}

TEST_F(RegisterYear, RecordChangedMeanwhileRefusesTheWholeFlow)
{
    write(rgm, {bulkLoad(), bottledUnload()});
    const RegisterFlowRequest rq = request({0, 1});
    TRecMovimento changed = bottledUnload();
    changed.litri = 700; // modified on another workstation after the list was built
    write(rgm, {bulkLoad(), changed});
    EXPECT_THROW(writeRegisterFlow(t.ctx, rq), IoError);
    for (const TRecMovimento& r : readRegister(rgm))
        EXPECT_EQ(r.numeroFlusso, 0);
    EXPECT_FALSE(QFile::exists(QDir(toSign).filePath(QStringLiteral("ABCD1209.C03"))));
}

TEST_F(RegisterYear, FailedMarkingRemovesTheFlowFile)
{
    write(rgm, {bottledUnload()});
    write(gar, {guaranteeDay()});
    const QByteArray before = [&] {
        QFile f(rgm);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    FileGroup::beforeMove() = [](const QString& path) {
        if (path.endsWith(QLatin1String(".GAR")))
            throw IoError(QStringLiteral("DISCO PIENO"));
    };
    try {
        writeRegisterFlow(t.ctx, request({0, 1}));
        ADD_FAILURE() << "the marking failed";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("DISCO PIENO"))) << e.text().toStdString();
    }
    FileGroup::beforeMove() = nullptr;
    EXPECT_FALSE(QFile::exists(QDir(toSign).filePath(QStringLiteral("ABCD1209.C03"))));
    QFile f(rgm);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(readRegister(gar)[0].numeroFlusso, 0);
}

TEST_F(RegisterYear, FlowNumberCarriedByRecordsIsRefusedAndNeverProposed)
{
    TRecMovimento old = bulkLoad();
    old.dataFlusso = day(9, 12),
    old.numeroFlusso = 2; // a flow of the day not yet signed nor in the folder
    write(rgm, {old, bottledUnload()});
    EXPECT_FALSE(registerFlowNumberTaken(t.ctx, QDate(2026, 12, 9), 2).isEmpty());
    EXPECT_TRUE(registerFlowNumberTaken(t.ctx, QDate(2026, 12, 9), 3).isEmpty());
    EXPECT_EQ(proposedRegisterFlowNumber(t.ctx, QDate(2026, 12, 9)), 3);
    EXPECT_THROW(writeRegisterFlow(t.ctx, request({0}, 2)), IoError);
    EXPECT_EQ(readRegister(rgm)[1].numeroFlusso, 0);

    // A flow waiting in the folder of files to sign keeps its number too.
    QFile waiting(QDir(toSign).filePath(QStringLiteral("ABCD1209.C03")));
    ASSERT_TRUE(waiting.open(QIODevice::WriteOnly));
    waiting.write("x");
    waiting.close();
    EXPECT_FALSE(registerFlowNumberTaken(t.ctx, QDate(2026, 12, 9), 3).isEmpty());
    EXPECT_EQ(proposedRegisterFlowNumber(t.ctx, QDate(2026, 12, 9)), 4);
}

TEST_F(RegisterYear, AGuaranteeDayGoesWithTheBalanceOfToday)
{
    // The day was stored with a balance of 0 before the carry-over of 2025 was known.
    TRecGaranzia g = guaranteeDay();
    g.disponibile() = 0;
    write(rgm, {bottledUnload()});
    write(gar, {g});
    const RegisterFlowList list = buildRegisterFlowList(t.ctx, 2026);
    ASSERT_EQ(list.lines.size(), 2);
    EXPECT_TRUE(list.lines[1].endsWith("| Disp. 2.406,25 |")) << list.lines[1].toStdString();
    writeRegisterFlow(t.ctx, request({0, 1}));
    QFile f(QDir(toSign).filePath(QStringLiteral("ABCD1209.C03")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("\t93.75\t0.00\t500.00\t0.00\t2406.25\t"));
    EXPECT_EQ(readRegister(gar)[0].disponibile(), 2406.25);
}

TEST_F(RegisterYear, AGuaranteeDayThatNoLongerMatchesItsMovementsStopsTheFlow)
{
    TRecMovimento more = bottledUnload();
    more.numero = 4, more.progressivoDettaglio = 2, more.garanzia = 6.25; // a second line of the e-AD
    write(rgm, {bottledUnload(), more});
    write(gar, {guaranteeDay()}); // 93,75 committed: the day now commits 100,00
    try {
        writeRegisterFlow(t.ctx, request({0, 1, 2}));
        ADD_FAILURE() << "the flow was written";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.text().startsWith("LA GARANZIA DEL 09/12/2026 NON CORRISPONDE AI MOVIMENTI DEL GIORNO "
                                        "(IMPEGNATO 100,00, SVINCOLATO 0,00)"))
            << e.text().toStdString();
    }
    EXPECT_TRUE(QDir(toSign).isEmpty());
    for (const TRecMovimento& r : readRegister(rgm))
        EXPECT_EQ(r.numeroFlusso, 0);
}
