// The change of destination without its window: the change record and its transport details
// byte for byte in yyyy_813.DAT and yyyy_813_P.DAT, the refusal of an e-AD without ARC, the page
// checks, and a save that fails part-way leaving both files as they were.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "messages/CompileFixture.h"
#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/RecordCodec.h"
#include "foundation/RecordFile.h"
#include "messages/change/ChangeDestination.h"
#include "messages/ead/EadCompile.h"
#include "messages/ead/EadStore.h"
#include "messages/change/Ie813Send.h"
#include "messages/ead/Summary.h"
#include "support/EadFixtures.h"

using namespace vt;
using namespace vt::test;

namespace {

const QString kArc = QStringLiteral("26ITA0000000000000017");

// A transport detail of yyyy_813_P.DAT: the sample transport line n of the e-AD.
Image detailImage(qint32 serial, qint32 change, int n)
{
    Image l = blankLineImage();
    l.i(0, serial);
    l.i(4, change);
    l.s(14, 2, "1");
    l.s(56, 250, "SIGILLO " + QByteArray::number(n));
    l.s(307, 250, "SIGILLI INTEGRI " + QByteArray::number(n));
    l.s(558, 250, "AB12" + QByteArray::number(n) + " CD");
    l.s(809, 250, "NOTA TRASPORTO " + QByteArray::number(n));
    return l;
}

// Two e-ADs of 09/12/2026 with two transport lines each; the second (progressive 2) was accepted
// and has its ARC. The company is the compilation fixture's (head office in Firenze).
struct Change : CompileWindow {
    QString changes, details;
    void SetUp() override
    {
        CompileWindow::SetUp();
        ctx.CompanyRecord = decodeCompany(*RecordFile(ctx.datiGen("UTENTE.001"), TRecAzienda::Size).readFirst());
        saveSampleEad(ctx, 2, 1);
        saveSampleEad(ctx, 2, 1);
        updateEadInPlace(ctx, "2026", 2, [](TRecEad& e) {
            e.ARC = kArc;
            e.stato = EadState::Accepted;
        });
        changes = ctx.registri("2026_813.DAT");
        details = ctx.registri("2026_813_P.DAT");
    }
    void TearDown() override
    {
        FileGroup::beforeReplace() = nullptr;
        FileGroup::beforeMove() = nullptr;
    }
    // The change-of-destination sequence after the choice of e-AD `n`.
    void pick(int n)
    {
        ctx.OpCode = 'D';
        ctx.SelectedYear = "2026";
        ctx.PickedEad = n;
        loadChangeDestinationEad(ctx);
    }
    // The form of the e-AD in hand, turned into a change towards a registered consignee in Germany.
    EadForm simpleChange()
    {
        EadForm f = changeFormFromEad(ctx.EadHeader);
        f["TIPDES"] = "2";
        applyConsigneeView(consigneeView("2", f["TIPMES"]), f);
        return f;
    }
    QByteArray bytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

} // namespace

TEST_F(Change, TheChangeAndItsDetailsAreStoredByteForByteAfterAnEarlierChange)
{
    pick(2);
    ASSERT_EQ(ctx.PickedEad, 2);
    EXPECT_EQ(readLineFile(eadfiles::productWork(ctx)).size(), 0); // only the transport lines are in hand
    ASSERT_EQ(readLineFile(eadfiles::transportWork(ctx)).size(), 2);

    // An earlier change of the same e-AD: number 1, details 1 and 2.
    EadForm first = simpleChange();
    ChangeOutcome out = confirmChange(ctx, first);
    ASSERT_TRUE(out.saved) << out.result.message.toStdString() << " " << out.result.focus.toStdString();

    // The goods now go to a tax warehouse in Bordeaux, delivered to its depot, carried by a
    // transport company in five hours by river barge ("0", with its note).
    EadForm f = changeFormFromEad(ctx.EadHeader);
    f["LINGUA"] = "it";
    f["UFFSPE"] = "FR000330";
    f["NUMFAT"] = "FT/130";
    f["DATFAT"] = "10/12/2026";
    f["TIPDES"] = "1";
    applyConsigneeView(consigneeView("1", f["TIPMES"]), f);
    f["COIDDE"] = "FR00987654321";
    f["DENDES"] = "Cave de Bordeaux";
    f["INDDES"] = "Rue du Vin";
    f["NUCDES"] = "3";
    f["CAPDES"] = "33000";
    f["CITDES"] = "BORDEAUX";
    f["LINDES"] = "fr";
    f["COIDLD"] = "FR00987654322";
    f["DENLDE"] = "Entrepot Sud";
    f["INDLDE"] = "Quai 9";
    f["NUCLDE"] = "9";
    f["CAPLDE"] = "33100";
    f["CITLDE"] = "BORDEAUX";
    f["LINLDE"] = "fr";
    f["RESTRA"] = "3";
    f.panels.transport = true;
    f["PIAZTR"] = "FR12345678901";
    f["DENAZT"] = "Transports Martin";
    f["INDAZT"] = "Route 1";
    f["NUCAZT"] = "5";
    f["CAPAZT"] = "33200";
    f["CITAZT"] = "MERIGNAC";
    f["LINAZT"] = "fr";
    f["MODTRA"] = "0";
    f["INFTRA"] = "Chiatta fluviale";
    f.panels.hours = true;
    f["DURGIO"] = "";
    f["DURORE"] = "5";
    out = confirmChange(ctx, f);
    ASSERT_TRUE(out.saved) << out.result.message.toStdString() << " " << out.result.focus.toStdString();

    Image h = blankHeaderImage();
    h.i(0, 2);
    h.s(4, 2, "it");
    h.i(56, 2);
    h.s(78, 21, kArc.toLatin1());
    h.s(102, 1, "1");
    h.i(104, 1);
    h.i(108, 5);
    h.s(112, 1, "3");
    companyAsConsignor(h);
    h.s(376, 3, "001"); // the e-AD's premises of dispatch, for the IE813 header
    h.s(640, 8, "FR000330");
    h.s(649, 8, "FR000330");
    h.s(658, 18, "FR00987654321");
    h.s(677, 100, "Cave de Bordeaux");
    h.s(778, 65, "Rue du Vin");
    h.s(844, 11, "3");
    h.s(856, 10, "33000");
    h.s(867, 50, "BORDEAUX");
    h.s(918, 2, "fr");
    h.s(1025, 18, "FR00987654322");
    h.s(1044, 100, "Entrepot Sud");
    h.s(1145, 65, "Quai 9");
    h.s(1211, 11, "9");
    h.s(1223, 10, "33100");
    h.s(1234, 50, "BORDEAUX");
    h.s(1285, 2, "fr");
    h.s(1297, 2, "0");
    h.s(1300, 100, "Chiatta fluviale");
    h.s(1401, 18, "FR12345678901");
    h.s(1420, 100, "Transports Martin");
    h.s(1521, 65, "Route 1");
    h.s(1587, 11, "5");
    h.s(1599, 10, "33200");
    h.s(1610, 50, "MERIGNAC");
    h.s(1661, 2, "fr");
    h.s(1927, 35, "FT/130");
    h.d(1968, day(2026, 12, 10));
    h.s(1976, 1, "1");
    h.d(1984, day(2026, 12, 9));

    const QList<QByteArray> stored = RecordFile(changes, 2688).readAll();
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(qFromLittleEndian<qint32>(stored[0].constData()), 1);
    for (int i = 0; i < 2688; ++i)
        ASSERT_EQ(stored[1][i], h.b[i]) << "change byte " << i;

    const QList<QByteArray> lines = RecordFile(details, 2128).readAll();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], detailImage(1, 1, 1).b);
    EXPECT_EQ(lines[1], detailImage(2, 1, 2).b);
    EXPECT_EQ(lines[2], detailImage(3, 2, 1).b);
    EXPECT_EQ(lines[3], detailImage(4, 2, 2).b);

    // In hand for the IE813 flow window.
    EXPECT_EQ(ctx.MessageRecord.progressivo, 2);
    EXPECT_EQ(ctx.WorkYear, "2026");
    const QString summary = readTextFile(eadSummaryPath(ctx));
    EXPECT_TRUE(summary.startsWith("   e-AD cambiato: ARC 26ITA0000000000000017 - spedito il 09/12/2026\r\n"
                                   "   Tipo Messaggio: 1 - Fattura n. FT/130 del 10/12/2026"))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains("         Modalità: 0  - Nota: Chiatta fluviale"));
    EXPECT_TRUE(summary.contains("           Durata: ORE: 5"));
    EXPECT_TRUE(summary.contains("--------------------------- AZIENDA DI TRASPORTO -------------------------"));
    EXPECT_TRUE(summary.contains("  Unità Trasporto: 1 - Identificativo: AB122 CD"));
}

TEST_F(Change, AnEadWithoutArcIsRefusedWhenPickedAndWhenConfirmed)
{
    pick(1); // state " ", no ARC
    EXPECT_EQ(ctx.PickedEad, -1);
    EXPECT_EQ(t.messenger.infos, QStringList{MsgChangeWithoutArc});

    // The e-AD in hand lost its ARC meanwhile (its send data were reset): nothing is written.
    pick(2);
    ASSERT_EQ(ctx.PickedEad, 2);
    EadForm f = simpleChange();
    ctx.EadHeader.ARC = QString(21, QLatin1Char(' '));
    const ChangeOutcome out = confirmChange(ctx, f);
    EXPECT_FALSE(out.saved);
    EXPECT_EQ(out.result.message, MsgChangeWithoutArc);
    EXPECT_FALSE(QFile::exists(changes));
    EXPECT_FALSE(QFile::exists(details));
}

TEST_F(Change, AnotherArcRegisteredElsewhereMeanwhileWritesNothing)
{
    pick(2);
    EadForm f = simpleChange();
    updateEadInPlace(ctx, "2026", 2, [](TRecEad& e) { e.ARC = QStringLiteral("26ITA0000000000000099"); });
    try {
        confirmChange(ctx, f);
        FAIL() << "saved";
    } catch (const IoError& e) {
        EXPECT_EQ(e.text(), MsgEadChangedElsewhere);
    }
    EXPECT_TRUE(readHeaderFile(changes).isEmpty());
    EXPECT_TRUE(readLineFile(details).isEmpty());
}

TEST_F(Change, AGoneOrCancelledEadIsRefusedWhenPicked)
{
    updateEadInPlace(ctx, "2026", 2, [](TRecEad& e) { e.stato = EadState::Cancelled; });
    pick(2);
    EXPECT_EQ(ctx.PickedEad, -1);
    pick(7);
    EXPECT_EQ(ctx.PickedEad, -1);
    EXPECT_EQ(t.messenger.infos, (QStringList{MsgChangeEadGone, MsgChangeEadGone}));
}

TEST_F(Change, ASaveThatFailsPartWayLeavesBothFilesAsTheyWere)
{
    pick(2);
    EadForm f = simpleChange();
    ASSERT_TRUE(confirmChange(ctx, f).saved);
    const QByteArray changesBefore = bytes(changes), detailsBefore = bytes(details);

    // Fails while the new contents are prepared, and while they are moved into place (the details
    // are already replaced then).
    for (int hook = 0; hook < 2; ++hook) {
        auto fail = [&](const QString& path) {
            if (path == changes)
                throw IoError(QStringLiteral("DISCO PIENO"));
        };
        if (hook == 0)
            FileGroup::beforeReplace() = fail;
        else
            FileGroup::beforeMove() = fail;
        EadForm again = simpleChange();
        EXPECT_THROW(confirmChange(ctx, again), IoError) << hook;
        FileGroup::beforeReplace() = nullptr;
        FileGroup::beforeMove() = nullptr;
        EXPECT_EQ(bytes(changes), changesBefore) << hook;
        EXPECT_EQ(bytes(details), detailsBefore) << hook;
    }
}

// A detail that names a change number not in use belongs to no change (a crash between the two
// files of an older version could leave one): it is dropped when the number is given out, so the
// new change does not inherit it.
TEST_F(Change, AStrayDetailOfTheNumberGivenOutIsNotInherited)
{
    pick(2);
    QByteArray stray(2128, ' ');
    codec::putI32(stray, 0, 7); // detail 7
    codec::putI32(stray, 4, 1); // of change 1, which does not exist
    RecordFile(details, 2128).replaceAll({stray});
    EadForm f = simpleChange();
    ASSERT_TRUE(confirmChange(ctx, f).saved);
    const QList<TRecDettaglio> stored = readLineFile(details);
    ASSERT_FALSE(stored.isEmpty());
    for (const TRecDettaglio& d : stored) {
        EXPECT_EQ(d.progressivo, 1);
        EXPECT_NE(d.numero, 7) << "the stray detail is gone";
    }
}

TEST_F(Change, AChangeWithoutTransportDetailsIsNotStored)
{
    pick(2);
    RecordFile(eadfiles::transportWork(ctx), 2128).clear();
    EadForm f = simpleChange();
    const ChangeOutcome out = confirmChange(ctx, f);
    EXPECT_FALSE(out.saved);
    EXPECT_EQ(out.page, 2);
    EXPECT_EQ(out.result.focus, "NDETRA");
    EXPECT_THROW(saveChange(ctx, changeRecordFromForm(f, ctx.EadHeader, ctx.CompanyRecord), "2026"), IoError);
    EXPECT_FALSE(QFile::exists(changes));
}

TEST_F(Change, PageChecksByTypeOfConsigneeAndJourneyTime)
{
    pick(2);
    const CodeCheck valid = tableCodeCheck(ctx);
    struct Case {
        const char* story;
        std::function<void(EadForm&)> edit;
        int page;
        bool ok;
        QString message, focus;
        std::function<void(const EadForm&)> after;
    };
    const QList<Case> cases{
        {"type 4: the place of delivery has no identification",
         [](EadForm& f) {
             f["TIPDES"] = "4";
             applyConsigneeView(consigneeView("4", f["TIPMES"]), f);
             for (auto [n, v] : {std::pair{"COIDLD", "X"}, {"DENLDE", "Negozio"}, {"INDLDE", "Via 1"}, {"NUCLDE", "1"},
                                 {"CAPLDE", "80331"}, {"CITLDE", "MUENCHEN"}, {"LINLDE", "de"}})
                 f[QString::fromLatin1(n)] = QString::fromLatin1(v);
         },
         1, true, {}, {}, [](const EadForm& f) { EXPECT_EQ(f["COIDLD"], ""); }},
        {"type 5: the consignee's identification is emptied",
         [](EadForm& f) {
             f["TIPDES"] = "5";
             applyConsigneeView(consigneeView("5", f["TIPMES"]), f);
             changePanels(f.panels);
         },
         1, true, {}, {}, [](const EadForm& f) {
             EXPECT_EQ(f["COIDDE"], "");
             EXPECT_FALSE(f.panels.exemption);
         }},
        {"type 1 without a place of delivery", [](EadForm& f) {
             f["TIPDES"] = "1";
             applyConsigneeView(consigneeView("1", f["TIPMES"]), f);
         },
         1, false, MsgRequiredField, "COIDLD", nullptr},
        {"type 6 needs its office of export",
         [](EadForm& f) {
             f["TIPDES"] = "6";
             f["uffesp"] = "";
         },
         1, false, MsgRequiredField, "uffesp", nullptr},
        {"an invoice date that is not a date", [](EadForm& f) { f["DATFAT"] = "31/02/2026"; }, 1, false,
         MsgRequiredField, "DATFAT", nullptr},
        {"0 days fail without the range message", [](EadForm& f) { f["DURGIO"] = "0"; }, 2, false, MsgRequiredField,
         "DURGIO", nullptr},
        {"93 days", [](EadForm& f) { f["DURGIO"] = "93"; }, 2, false, MsgDays, "DURGIO", nullptr},
        {"25 hours",
         [](EadForm& f) {
             f.panels.hours = true;
             f["DURORE"] = "25";
         },
         2, false, MsgHours, "DURORE", nullptr},
        {"mode 0 needs its note", [](EadForm& f) { f["MODTRA"] = "0"; }, 2, false, MsgRequiredField, "INFTRA", nullptr},
        {"organiser 4 needs the transport company shown and filled", [](EadForm& f) { f["RESTRA"] = "4"; }, 2, false,
         MsgRequiredField, "PIAZTR", [](const EadForm& f) { EXPECT_TRUE(f.panels.transport); }},
        {"organiser 1 carries no transport company",
         [](EadForm& f) {
             f["PIAZTR"] = "IT01234567890";
             f["DENAZT"] = "Rossi Trasporti";
         },
         2, true, {}, {}, [](const EadForm& f) { EXPECT_EQ(f["DENAZT"], ""); }},
    };
    for (const Case& c : cases) {
        EadForm f = simpleChange();
        c.edit(f);
        const CheckResult r = c.page == 1 ? checkChangePage1(f, valid) : checkChangePage2(f, valid, 2);
        EXPECT_EQ(r.ok, c.ok) << c.story;
        EXPECT_EQ(r.message, c.message) << c.story;
        EXPECT_EQ(r.focus, c.focus) << c.story;
        if (c.after)
            c.after(f);
    }
}

TEST_F(Change, AnEadOfMessageType2HasNoNewConsigneeWhateverTheType)
{
    TRecEad ead = sampleEadHeader();
    ead.TIPMES = "2";
    for (const char* type : {"1", "2", "6"}) {
        ead.TIPDES = QString::fromLatin1(type);
        const EadForm f = changeFormFromEad(ead);
        EXPECT_FALSE(f.panels.consignee) << type;
    }
    ead.TIPMES = " ";
    EXPECT_TRUE(changeFormFromEad(ead).panels.consignee); // anything but "2" counts as "1"
}

TEST_F(Change, ReturnToTheCompanyFillsConsigneeAndPremises)
{
    EadForm f = changeFormFromEad(sampleEadHeader());
    copyCompanyReturn(ctx.CompanyRecord, f);
    EXPECT_EQ(f["TIPDES"], "1");
    EXPECT_TRUE(f.panels.place);
    EXPECT_EQ(f["COIDDE"], "IT00FIT00012S");
    EXPECT_EQ(f["DENDES"], "Cantina del Chianti srl");
    EXPECT_EQ(f["CITDES"], "FIRENZE");
    EXPECT_EQ(f["INDLDE"], "Via del Vino");
    EXPECT_EQ(f["CITLDE"], "GREVE IN CHIANTI");
    EXPECT_EQ(f["LINDES"], "it");
    EXPECT_EQ(f["LINLDE"], "it");
    EXPECT_TRUE(checkChangePage1(f, [](const QString&, const QString&) { return true; }).ok);
}

TEST_F(Change, TheWindowSummaryAddsMessageTypeConsigneeHeadingAndExportOffice)
{
    pick(2);
    EadForm f = simpleChange();
    f["TIPDES"] = "6";
    applyConsigneeView(consigneeView("6", f["TIPMES"]), f);
    f["COIDDE"] = "IT09876543210";
    f["uffesp"] = "IT047100";
    ASSERT_TRUE(checkChangePage1(f, tableCodeCheck(ctx)).ok);
    const TRecEad change = changeRecordFromForm(f, ctx.EadHeader, ctx.CompanyRecord);
    const QStringList lines = changeScreenSummary(f, change, readLineFile(eadfiles::transportWork(ctx)));
    const QStringList expected{
        "   e-AD cambiato: ARC 26ITA0000000000000017 - spedito il 09/12/2026",
        "   Tipo Messaggio: 1 - Fattura n. FT/125 del 09/12/2026",
        "Tipo Destinatario: 6   - Ufficio Doganale Competente: IT066100",
        "------------------------------ DESTINATARIO ------------------------------",
        "   Identificativo: IT09876543210",
        "    Denominazione: WEINHAUS MÜLLER GMBH",
        "        Indirizzo: HAUPTSTRASSE - n. 12",
        "         Località: MÜNCHEN - CAP 80331",
        "           Lingua: de",
        "   Ufficio export: IT047100",
        "--------------------------- DATI DEL TRASPORTO ---------------------------",
        "     Responsabile: 1",
        "         Modalità: 3  - Nota: ",
        "           Durata: GIORNI: 2",
        "---------------------------- DETTAGLI DEL TRASPORTO -----------------------",
    };
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(lines.mid(0, expected.size()), expected);
    EXPECT_EQ(lines.size(), expected.size() + 2 * 5); // five lines per transport detail
}

// No number follows the largest 32-bit one: a change file that already holds it refuses the next
// change, and neither the changes nor their details change.
TEST_F(Change, ANumberPastTheLargest32BitOneIsRefused)
{
    pick(2);
    QByteArray last(2688, ' ');
    codec::putI32(last, 0, 2147483647);
    RecordFile(changes, 2688).replaceAll({last});
    const QByteArray changesBefore = bytes(changes), detailsBefore = bytes(details);
    EadForm f = simpleChange();
    try {
        confirmChange(ctx, f);
        ADD_FAILURE() << "accepted";
    } catch (const IoError& e) {
        EXPECT_EQ(e.text(),
            QStringLiteral("IL FILE %1 HA RAGGIUNTO IL NUMERO MASSIMO DI RECORD (2147483647): IL RECORD "
                           "NON E` STATO INSERITO.")
                .arg(QDir::toNativeSeparators(changes)));
    }
    EXPECT_EQ(bytes(changes), changesBefore);
    EXPECT_EQ(bytes(details), detailsBefore);
}
