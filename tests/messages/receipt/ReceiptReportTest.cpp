// The report of receipt: the grid's key rules, the lines that carry differences (DETTAGLI.818), and
// the confirmation writing the report (818_J), its lines (818_K) and the register work records
// (818_RGM) as one change, each checked byte by byte against the layout tables.
#include <gtest/gtest.h>

#include <tuple>

#include <QDir>
#include <QFile>

#include "foundation/AddressFile.h"
#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "messages/receipt/ReceiptReport.h"
#include "messages/receipt/ReceivedEadParser.h"
#include "messages/receipt/ReceivedImport.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"
#include "support/ReceivedEadFixtures.h"

using namespace vt;
using namespace vt::test;

namespace {

QString textAt(const QByteArray& r, int offset)
{
    return QString::fromLatin1(r.mid(offset + 1, static_cast<unsigned char>(r[offset])));
}
qint32 intAt(const QByteArray& r, int offset)
{
    return codec::getI32(r, offset);
}
double realAt(const QByteArray& r, int offset)
{
    return codec::getF64(r, offset);
}

const QStringList Codes = {"0", "1", "2", "3", "4", "5", "6"};

TEST(ReceiptGrid, KeyRulesOfTheDifferencesGrid)
{
    struct TypeCase {
        QString typed, outcome, cell;
    };
    for (const TypeCase& c : QList<TypeCase>{{"c", "4", "   C"},
                                             {"E", "22", "   E"},
                                             {"r", "4", "   R"},
                                             {"R", "3", "   R"},
                                             {"R", "22", ""}, // an outcome beginning with 2 refuses nothing
                                             {"R", "2", ""},
                                             {"x", "4", ""},
                                             {"", "4", ""},
                                             {" calo", "4", "   C"}}) {
        SCOPED_TRACE(c.typed.toStdString() + " / " + c.outcome.toStdString());
        EXPECT_EQ(typeCell(c.typed, c.outcome), c.cell);
    }
    // The integer part right-aligned in 11 characters, then the comma and 3 decimals.
    EXPECT_EQ(quantityCell("12,5"), "         12,500");
    EXPECT_EQ(quantityCell("1234,5678"), "      1.234,568");
    EXPECT_EQ(quantityCell(""), "          0,000");
    // Codes found anywhere, each once, in the order of the table.
    EXPECT_EQ(reasonsCell("3 1 3", Codes), "    13");
    EXPECT_EQ(reasonsCell("9x", Codes), "    ");
    EXPECT_EQ(reasonsIn("60", Codes), "06");

    EXPECT_TRUE(cellFull(2, "C"));
    EXPECT_FALSE(cellFull(3, "1234567890"));
    EXPECT_TRUE(cellFull(4, "0123456"));
    EXPECT_FALSE(cellFull(4, "012345"));
    EXPECT_TRUE(cellFull(5, QString(250, 'a')));
    EXPECT_TRUE(keyAccepted(3, '7', "12"));
    EXPECT_TRUE(keyAccepted(3, ',', "12"));
    EXPECT_FALSE(keyAccepted(3, 'a', "12"));
    EXPECT_FALSE(keyAccepted(3, '1', "1234567890"));
    EXPECT_TRUE(keyAccepted(5, 'a', "note"));

    EXPECT_EQ(typeColumnHeader("3"), "   R ");
    EXPECT_EQ(typeColumnHeader("4"), " C/E/R");
    EXPECT_EQ(typeColumnHeader("21"), " C / E");
    EXPECT_TRUE(outcomeWithoutDifferences("1"));
    EXPECT_TRUE(outcomeWithoutDifferences("21"));
    EXPECT_FALSE(outcomeWithoutDifferences("22"));
}

struct ReceiptReport : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    TRecEad received;
    QList<TRecDettaglio> app;

    void SetUp() override
    {
        ctx.CompanyRecord = blankCompany();
        trimCompany(ctx.CompanyRecord);
        ctx.CompanyRecord.UFFDO2 = "IT083100";
        writeStructure(ctx, "T025", "Motivi", 1, {{1, "Codice"}, {100, "Descrizione"}});
        appendRow(ctx, "T025", {"0", "Altro"});
        appendRow(ctx, "T025", {"1", "Eccedenza"});
        appendRow(ctx, "T025", {"3", "Calo"});
        // A Bordeaux consignor sends three lines: 1000 litres in 100 cartons, 500 litres bulk,
        // 300 litres in 30 cartons.
        ReceivedEadDraft draft;
        draft.sequence = "2";
        draft.lines = {sampleReceivedLine(1), sampleReceivedLine(2), sampleReceivedLine(3)};
        draft.lines[0].quantity = "1000.000";
        draft.lines[0].packages = "100";
        draft.lines[1].quantity = "500.000";
        draft.lines[1].packages = "0";
        draft.lines[2].quantity = "300.000";
        draft.lines[2].packages = "30";
        const ReceivedEad doc = parseReceivedEad(receivedEadXml(draft));
        ASSERT_TRUE(doc.ok);
        received = doc.header;
        received.progressivo = 1;
        for (TRecDettaglio l : doc.lines) {
            l.numero = 1;
            l.progressivo = 1;
            lineToStoredForm(l);
            app << l;
        }
    }

    ReceiptEntry entry(const QString& outcome, const QString& note = {})
    {
        return {"it", outcome, QDate(2026, 12, 5), note};
    }

    TRecEad header(const ReceiptEntry& e) { return buildReceiptHeader(received, ctx.CompanyRecord, e); }

    QList<QByteArray> file(const QString& path, int size) { return RecordFile(path, size).readAll(); }
    QList<QByteArray> j() { return file(receiptfiles::reports(ctx, "2026"), TRecEad::Size); }
    QList<QByteArray> k() { return file(receiptfiles::reportLines(ctx, "2026"), TRecDettaglio::Size); }
    QList<QByteArray> rgm() { return file(receiptfiles::registerWork(ctx, "2026"), 520); }

    void expectRegister(const QByteArray& r, int line, double litres, double volume, const QString& storage,
                        int packages)
    {
        SCOPED_TRACE(line);
        EXPECT_EQ(r.size(), 520);
        EXPECT_EQ(intAt(r, 0), 1);                                   // numero: the report
        EXPECT_EQ(intAt(r, 4), 0);
        EXPECT_EQ(realAt(r, 8), 0.0);
        EXPECT_EQ(textAt(r, 20), " ");
        EXPECT_EQ(dates::toDate(realAt(r, 24)), QDate(2026, 12, 5)); // data: arrival
        EXPECT_EQ(textAt(r, 32), " ");
        EXPECT_EQ(textAt(r, 89), "W200-22042138-  -    ");             // codiceProdotto
        EXPECT_DOUBLE_EQ(realAt(r, 112), litres);
        EXPECT_DOUBLE_EQ(realAt(r, 120), 12.5);
        EXPECT_DOUBLE_EQ(realAt(r, 128), volume);
        EXPECT_EQ(textAt(r, 152), storage);
        EXPECT_EQ(intAt(r, 156), packages);
        EXPECT_EQ(textAt(r, 160), "   ");
        EXPECT_EQ(textAt(r, 164), "26FRA00000000000001A1");
        EXPECT_EQ(dates::toDate(realAt(r, 192)), QDate(2026, 12, 1));  // validation date
        EXPECT_EQ(textAt(r, 200), "FR");
        EXPECT_EQ(textAt(r, 203), "FR0AB1234567E   ");
        EXPECT_EQ(textAt(r, 220), " ");
        EXPECT_EQ(textAt(r, 226), QString(250, ' '));
        EXPECT_EQ(textAt(r, 488), QStringLiteral("LRN-FR-2026-0001").leftJustified(22));
        EXPECT_EQ(intAt(r, 512), 2);
        EXPECT_EQ(intAt(r, 516), line);
    }
};

TEST_F(ReceiptReport, AcceptedWithoutDifferencesStoresHeaderNoLinesAndFullLoads)
{
    const TRecEad h = header(entry("1", "Consegna regolare"));
    const ReceiptLines lines = buildReceiptLines(app, {}, "1", Codes);
    EXPECT_TRUE(lines.ok);
    EXPECT_TRUE(lines.lines.isEmpty());
    // "21" has no differences page either: what the grid held under an earlier outcome is no line.
    const QList<ReceiptGridRow> earlier = {{"   C", "5", "3", "Manca"}};
    for (const char* outcome : {"1", "21"})
        EXPECT_TRUE(buildReceiptLines(app, earlier, outcome, Codes).lines.isEmpty()) << outcome;
    EXPECT_EQ(buildReceiptLines(app, earlier, "22", Codes).lines.size(), 1);
    const ReceiptStored s = storeReceipt(ctx, "2026", h, app, lines.lines);
    EXPECT_EQ(s.number, 1);

    const QList<QByteArray> js = j();
    ASSERT_EQ(js.size(), 1);
    const QByteArray& r = js[0];
    EXPECT_EQ(intAt(r, 0), 1);
    EXPECT_EQ(textAt(r, 4), "it");
    EXPECT_EQ(textAt(r, 7), QStringLiteral("LRN-FR-2026-0001").leftJustified(22));
    EXPECT_EQ(textAt(r, 30), QString(22, ' '));
    EXPECT_EQ(intAt(r, 56), 2);
    EXPECT_EQ(realAt(r, 64), 0.0);
    EXPECT_EQ(intAt(r, 72), 0);
    EXPECT_EQ(textAt(r, 76), " ");
    EXPECT_EQ(textAt(r, 78), "26FRA00000000000001A1");
    EXPECT_EQ(textAt(r, 116), QStringLiteral("FR0AB1234567E").leftJustified(18));
    EXPECT_EQ(textAt(r, 135), QStringLiteral("Chateau Lafleur SARL").leftJustified(100));
    EXPECT_EQ(textAt(r, 325), QStringLiteral("Pomerol").leftJustified(50));
    EXPECT_EQ(textAt(r, 1288), "IT083100");
    EXPECT_EQ(textAt(r, 2438), QStringLiteral("Consegna regolare").leftJustified(100));
    EXPECT_EQ(textAt(r, 2161), QString(100, ' '));
    EXPECT_EQ(textAt(r, 1683), QString(100, ' '));
    EXPECT_EQ(dates::toDate(realAt(r, 2088)), QDate(2026, 12, 1));
    EXPECT_EQ(dates::toDate(realAt(r, 2120)), QDate(2026, 12, 5));
    EXPECT_EQ(textAt(r, 2679), "1 ");

    EXPECT_TRUE(k().isEmpty());
    const QList<QByteArray> w = rgm();
    ASSERT_EQ(w.size(), 3);
    expectRegister(w[0], 1, 1000, 10, "N", 100);
    expectRegister(w[1], 2, 500, 0, "S", 0);
    expectRegister(w[2], 3, 300, 10, "N", 30);
}

TEST_F(ReceiptReport, PartlyRefusedLinesWithShortageReasonsAndNotes)
{
    // Line 1: 100 of 1000 litres refused, reasons typed 3, 1, 3. Line 2: 5 litres short, a note.
    // Line 3: nothing.
    const QList<ReceiptGridRow> rows = {{"   R", "100", "    3 1 3", "Bottiglie rotte"},
                                        {"   C", "5,5", "", "Manca mezzo collo"},
                                        {"", "", "", ""}};
    const TRecEad h = header(entry("4"));
    const ReceiptLines lines = buildReceiptLines(app, rows, "4", Codes);
    ASSERT_TRUE(lines.ok);
    ASSERT_EQ(lines.lines.size(), 2);
    storeReceipt(ctx, "2026", h, app, lines.lines);

    const QList<QByteArray> ks = k();
    ASSERT_EQ(ks.size(), 2);
    EXPECT_EQ(intAt(ks[0], 0), 1);
    EXPECT_EQ(intAt(ks[0], 4), 1);
    EXPECT_EQ(intAt(ks[0], 8), 1);
    EXPECT_EQ(textAt(ks[0], 12), " ");
    EXPECT_EQ(textAt(ks[0], 23), "W200");
    EXPECT_EQ(textAt(ks[0], 39), "13     ");
    EXPECT_EQ(textAt(ks[0], 56), QStringLiteral("Bottiglie rotte").leftJustified(250));
    EXPECT_EQ(realAt(ks[0], 2072), 0.0);
    EXPECT_EQ(realAt(ks[0], 2080), 100.0);
    EXPECT_EQ(realAt(ks[0], 2088), 1000.0);
    EXPECT_EQ(intAt(ks[1], 8), 2);
    EXPECT_EQ(textAt(ks[1], 12), "S");
    EXPECT_EQ(textAt(ks[1], 39), "       ");
    EXPECT_EQ(realAt(ks[1], 2072), 5.5);
    EXPECT_EQ(realAt(ks[1], 2080), 0.0);
    EXPECT_EQ(textAt(j()[0], 2679), "4 ");

    // The refused 100 litres leave 900 in the load; a carton still holds 10 litres.
    const QList<QByteArray> w = rgm();
    ASSERT_EQ(w.size(), 3);
    expectRegister(w[0], 1, 900, 10, "N", 100);
    expectRegister(w[1], 2, 500, 0, "S", 0);
    expectRegister(w[2], 3, 300, 10, "N", 30);
}

TEST_F(ReceiptReport, RefusedWholeAndExcessCappedAtTheLineQuantity)
{
    QList<ReceiptGridRow> rows;
    for (const TRecDettaglio& l : app)
        rows << refusedRow(l);
    EXPECT_EQ(rows[0].type, "   R");
    EXPECT_EQ(rows[0].quantity, "      1.000,000");
    storeReceipt(ctx, "2026", header(entry("3")), app, buildReceiptLines(app, rows, "3", Codes).lines);
    ASSERT_EQ(k().size(), 3);
    for (const QByteArray& w : rgm())
        EXPECT_EQ(realAt(w, 112), 0.0);

    // An excess typed larger than the line is reduced to the line's quantity.
    const ReceiptLines capped = buildReceiptLines(app, {{"   E", "99999", "", ""}}, "22", Codes);
    ASSERT_EQ(capped.lines.size(), 1);
    const QByteArray b = encodeLine(capped.lines[0]);
    EXPECT_EQ(textAt(b, 12), "E");
    EXPECT_EQ(realAt(b, 2072), 1000.0);
    // A refusal typed under an outcome that refuses nothing does not count.
    EXPECT_TRUE(buildReceiptLines(app, {{"   R", "10", "", ""}}, "22", Codes).lines.isEmpty());

    // A refused e-AD whose grid was never filled (or was typed under another outcome) is refused
    // whole all the same; reasons and notes typed stay.
    const ReceiptLines untouched = buildReceiptLines(app, {{"   C", "5", "3", "Nota"}}, "3", Codes);
    ASSERT_TRUE(untouched.ok);
    ASSERT_EQ(untouched.lines.size(), 3);
    const QByteArray first = encodeLine(untouched.lines[0]);
    EXPECT_EQ(textAt(first, 12), " ");
    EXPECT_EQ(realAt(first, 2072), 0.0);
    EXPECT_EQ(realAt(first, 2080), 1000.0);
    EXPECT_EQ(textAt(first, 39), "3      ");
    for (const TRecDettaglio& l : untouched.lines)
        EXPECT_EQ(realAt(encodeLine(l), 2080), realAt(encodeLine(l), 2088));
}

// The arrival date's year names the file of pending loads: 2008 to 2060 only. A date after today
// or before the e-AD's validation is asked about.
TEST(ReceiptArrival, YearRangeAndQuestions)
{
    const ReceiptEntry ok{"it", "1", QDate(2026, 12, 5), {}};
    EXPECT_TRUE(checkPageOne(ok, true, true).ok);
    for (const QDate& d : {QDate(2007, 12, 31), QDate(2061, 1, 1), QDate(2062, 3, 12)}) {
        const PageOneCheck c = checkPageOne({"it", "1", d, {}}, true, true);
        EXPECT_FALSE(c.ok) << d.toString().toStdString();
        EXPECT_EQ(c.focus, "IMGPRO");
        EXPECT_EQ(c.message, QString::fromUtf8(ArrivalYearOutOfRange));
    }
    EXPECT_TRUE(checkPageOne({"it", "1", QDate(2008, 1, 1), {}}, true, true).ok);
    EXPECT_TRUE(checkPageOne({"it", "1", QDate(2060, 12, 31), {}}, true, true).ok);

    const QDate today(2026, 12, 9), validated(2026, 12, 1);
    EXPECT_EQ(arrivalQuestion(today, today, validated), "");
    EXPECT_EQ(arrivalQuestion(validated, today, validated), "");
    EXPECT_EQ(arrivalQuestion(QDate(2026, 12, 10), today, validated), QString::fromUtf8(ArrivalAfterToday));
    EXPECT_EQ(arrivalQuestion(QDate(2052, 3, 12), today, validated), QString::fromUtf8(ArrivalAfterToday)); // a slip
    EXPECT_EQ(arrivalQuestion(QDate(2026, 11, 30), today, validated),
              QString::fromUtf8(ArrivalBeforeValidation).arg("01/12/2026"));
    EXPECT_EQ(arrivalQuestion(QDate(2026, 11, 30), today, QDate()), "");
}

TEST_F(ReceiptReport, ATypeWithoutLitresIsRefused)
{
    struct Case {
        const char* story;
        ReceiptGridRow row;
        const char* outcome;
        bool ok;
    };
    const QList<Case> cases = {
        {"shortage without litres", {"   C", "", "", ""}, "22", false},
        {"excess of 0", {"   E", "0", "", ""}, "22", false},
        {"refusal without litres", {"   R", "", "", ""}, "4", false},
        {"R under 2x is no refusal at all", {"   R", "", "", ""}, "22", true},
        {"a shortage of 0,001", {"   C", "0,001", "", ""}, "22", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.story);
        const ReceiptLines r = buildReceiptLines(app, {{}, c.row}, c.outcome, Codes);
        EXPECT_EQ(r.ok, c.ok);
        if (!c.ok) {
            EXPECT_EQ(r.message, "DETTAGLIO N. 2: INDICARE I LITRI DEL CALO, DELL'ECCEDENZA O DEL RIFIUTO");
            EXPECT_EQ(r.failRow, 2);
            EXPECT_EQ(r.failColumn, 3);
        }
    }
}

TEST_F(ReceiptReport, ReasonZeroNeedsANote)
{
    const ReceiptLines r = buildReceiptLines(app, {{"", "", "", ""}, {"", "", "0", ""}}, "22", Codes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QString::fromUtf8(ReasonZeroNeedsNote));
    EXPECT_EQ(r.failRow, 2);
    EXPECT_EQ(r.lines.size(), 1); // the line still enters the file
}

TEST_F(ReceiptReport, OneEadOneReportAndNothingHalfWritten)
{
    storeReceipt(ctx, "2026", header(entry("1")), app, {});
    const QByteArray jBefore = RecordFile(receiptfiles::reports(ctx, "2026"), TRecEad::Size).readAll().join();
    const int rgmBefore = int(rgm().size());
    try {
        storeReceipt(ctx, "2026", header(entry("1")), app, {});
        FAIL() << "a second report of the same ARC was stored";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.text().contains("26FRA00000000000001A1")) << e.text().toStdString();
    }
    EXPECT_EQ(j().join(), jBefore);
    EXPECT_EQ(rgm().size(), rgmBefore);

    // A failure while the header is written puts back the lines and loads already written.
    received.ARC = "26FRA00000000000002A1";
    const QString jPath = receiptfiles::reports(ctx, "2026");
    FileGroup::beforeReplace() = [&](const QString& path) {
        if (QDir::cleanPath(path) == QDir::cleanPath(jPath))
            throw IoError("DISCO PIENO");
    };
    const ReceiptLines lines = buildReceiptLines(app, {{"   C", "1", "", ""}}, "22", Codes);
    EXPECT_THROW(storeReceipt(ctx, "2026", header(entry("22")), app, lines.lines), IoError);
    FileGroup::beforeReplace() = nullptr;
    EXPECT_EQ(j().size(), 1);
    EXPECT_TRUE(k().isEmpty());
    EXPECT_EQ(rgm().size(), rgmBefore);
    EXPECT_FALSE(QFile::exists(jPath + "$"));
}

TEST_F(ReceiptReport, ConsignorGoesIntoTheSupplierBookOnce)
{
    const ReceiptStored first = storeReceipt(ctx, "2026", header(entry("1")), app, {});
    EXPECT_TRUE(first.consignorAdded);
    received.ARC = "26FRA00000000000002A1";
    const ReceiptStored second = storeReceipt(ctx, "2026", header(entry("1")), app, {});
    EXPECT_FALSE(second.consignorAdded);
    EXPECT_EQ(second.number, 2);
    const QList<QByteArray> book = RecordFile(ctx.datiGen("INDIRIZZI_F.DAT"), 608).readAll();
    ASSERT_EQ(book.size(), 1);
    EXPECT_EQ(intAt(book[0], 0), 1);
    EXPECT_EQ(textAt(book[0], 4), QStringLiteral("FR0AB1234567E").leftJustified(18));
    EXPECT_EQ(textAt(book[0], 42), QStringLiteral("Chateau Lafleur SARL").leftJustified(100));
    EXPECT_EQ(textAt(book[0], 273), QStringLiteral("Route des Vignes").leftJustified(65));
    EXPECT_EQ(textAt(book[0], 405), QStringLiteral("12").leftJustified(11));
    EXPECT_EQ(textAt(book[0], 429), QStringLiteral("33500").leftJustified(10));
    EXPECT_EQ(textAt(book[0], 451), QStringLiteral("Pomerol").leftJustified(50));
    EXPECT_EQ(textAt(book[0], 576), QStringLiteral("fr").leftJustified(6));
}

// The supplier book is part of the report's change: it takes the next code in name order, and a
// book that cannot be written leaves no report behind (nor a report a book entry).
TEST_F(ReceiptReport, SupplierBookAndReportAreOneChange)
{
    const QString bookPath = ctx.datiGen("INDIRIZZI_F.DAT");
    for (auto [code, name, excise] : {std::tuple{4, "Azienda Alfa", "IT00AAA00001A"},
                                      std::tuple{7, "Domaine Zeta", "FR0ZZ0000001Z"}}) {
        TRecIndirizzo a = blankCompany();
        a.number = code;
        a.DENOM1 = name;
        a.CACCI1 = excise;
        RecordFile(bookPath, 608).append(encodeCompany(a));
    }
    const QByteArray bookBefore = RecordFile(bookPath, 608).readAll().join();

    FileGroup::beforeReplace() = [&](const QString& path) {
        if (QDir::cleanPath(path) == QDir::cleanPath(bookPath))
            throw IoError("DISCO PIENO");
    };
    EXPECT_THROW(storeReceipt(ctx, "2026", header(entry("1")), app, {}), IoError);
    FileGroup::beforeReplace() = nullptr;
    EXPECT_TRUE(j().isEmpty());
    EXPECT_TRUE(rgm().isEmpty());
    EXPECT_EQ(RecordFile(bookPath, 608).readAll().join(), bookBefore);
    EXPECT_FALSE(QFile::exists(bookPath + "$"));

    // A failure on the report's store leaves the book as it was.
    const QString jPath = receiptfiles::reports(ctx, "2026");
    FileGroup::beforeReplace() = [&](const QString& path) {
        if (QDir::cleanPath(path) == QDir::cleanPath(jPath))
            throw IoError("DISCO PIENO");
    };
    EXPECT_THROW(storeReceipt(ctx, "2026", header(entry("1")), app, {}), IoError);
    FileGroup::beforeReplace() = nullptr;
    EXPECT_EQ(RecordFile(bookPath, 608).readAll().join(), bookBefore);

    EXPECT_TRUE(storeReceipt(ctx, "2026", header(entry("1")), app, {}).consignorAdded);
    const QList<QByteArray> book = RecordFile(bookPath, 608).readAll();
    ASSERT_EQ(book.size(), 3);
    EXPECT_EQ(textAt(book[1], 42), QStringLiteral("Chateau Lafleur SARL").leftJustified(100)); // between A and D
    EXPECT_EQ(intAt(book[1], 0), 8);                                                        // highest code + 1
    EXPECT_EQ(j().size(), 1);
}

TEST_F(ReceiptReport, SummaryLines)
{
    const ReceiptLines lines = buildReceiptLines(app, {{"   R", "100", "31", "Bottiglie rotte"}}, "4", Codes);
    TRecEad h = header(entry("4", "Nota di prova"));
    const QStringList s = receiptSummaryLines(h, lines.lines, readReasons(ctx), "Rifiuto parziale");
    ASSERT_EQ(s.size(), 19);
    EXPECT_EQ(s[0], "           Lingua: it     - Ufficio Doganale: IT083100");
    EXPECT_EQ(s[4], "        Indirizzo: Route des Vignes - n. 12");
    EXPECT_EQ(s[5], "         Località: Pomerol - CAP 33500");
    EXPECT_EQ(s[7], "   Data di arrivo: 05/12/2026");
    EXPECT_EQ(s[8], "  Esito Ricezione: 4 Rifiuto parziale");
    EXPECT_EQ(s[9], "Note/Informazioni: Nota di prova");
    EXPECT_EQ(s[12], "---------- Eccedenze / Cali / Rifiuto del dettaglio n. 1 -----------");
    EXPECT_EQ(s[13], "               CPA: W200");
    EXPECT_EQ(s[14], "Quantità Rifiutata: 100,000");
    EXPECT_EQ(s[15], " Motivo Insoddisf.: 1 - Eccedenza");
    EXPECT_EQ(s[16], " Motivo Insoddisf.: 3 - Calo");
    EXPECT_EQ(s[17], "              Nota: Bottiglie rotte");
    EXPECT_EQ(s[18], " ");
}

} // namespace

// No number follows the largest 32-bit one: a report file that already holds it refuses the next
// report, and no file of the report (lines, register work records) changes.
TEST_F(ReceiptReport, ANumberPastTheLargest32BitOneIsRefused)
{
    QByteArray last(2688, ' ');
    codec::putI32(last, 0, 2147483647);
    const QString jPath = receiptfiles::reports(ctx, "2026");
    RecordFile(jPath, TRecEad::Size).replaceAll({last});
    try {
        storeReceipt(ctx, "2026", header(entry("1")), app, {});
        ADD_FAILURE() << "accepted";
    } catch (const IoError& e) {
        EXPECT_EQ(e.text(),
            QStringLiteral("IL FILE %1 HA RAGGIUNTO IL NUMERO MASSIMO DI RECORD (2147483647): IL RECORD "
                           "NON E` STATO INSERITO.")
                .arg(QDir::toNativeSeparators(jPath)));
    }
    EXPECT_EQ(j(), QList<QByteArray>{last});
    EXPECT_TRUE(k().isEmpty());
    EXPECT_TRUE(rgm().isEmpty());
}
