// The story of one movement. The fixture's story: e-AD 1 of 2026 (invoice
// FT/125) was saved on 2 December at 8:00, sent in flow 3 of that day and
// accepted with ARC 26ITD0000000000012345; the same day it was cancelled (flow
// 4, sent) and unloaded in the register (line 1, sent in flow 5), the unload
// then rectified (cancellation and replacement, unsent) with the guarantee of
// the day; on 3 December its destination changed (flow 1); on 5 December a
// report of receipt names it; on 4 January 2027 its conclusion released the
// guarantee, in the next year's files. Around it: e-AD 2 with an ARC that
// differs only in its last character, and a register line of another document
// whose number is the first twenty characters of the ARC. Neither belongs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "foundation/CompanyRecord.h"
#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "foundation/RegisterRecord.h"
#include "messages/ead/EadHistory.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/TFSTORIAEAD.h"
#include "register/store/RegisterStore.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"
#include "support/TableFixtures.h"
#include "ui/ListingPdf.h"

namespace vt::test {
namespace {

const QString kArc = QStringLiteral("26ITD0000000000012345");
const QString kNeighbour = QStringLiteral("26ITD0000000000012346");

double on(int y, int m, int d)
{
    return dates::fromDate(QDate(y, m, d));
}

TRecMovimento movement(std::int32_t numero, double data, const char* type, const char* doc, const char* op,
                       const char* state, std::int32_t progressivo, const QString& arc)
{
    TRecMovimento m = blankRegisterRecord();
    m.numero = numero;
    m.data = data;
    m.registro = "C";
    m.tipoMovimento = type;
    m.tipoDocumento = doc;
    m.operazione = op;
    m.stato = state;
    m.progressivo = progressivo;
    m.numeroDocumento = arc;
    return m;
}

TRecGaranzia guaranteeDay(std::int32_t numero, double data, double committed, double released, double available)
{
    TRecGaranzia g = blankRegisterRecord();
    g.numero = numero;
    g.progressivo = numero;
    g.data = data;
    g.registro = "F";
    g.operazione = "I";
    g.stato = " ";
    g.impegnato() = committed;
    g.svincolato() = released;
    g.disponibile() = available;
    return g;
}

void writeRegister(const QString& path, const QList<TRecMovimento>& records)
{
    QList<QByteArray> bytes;
    for (const TRecMovimento& r : records)
        bytes << encodeRegisterRecord(r);
    RecordFile(path, TRecMovimento::Size).replaceAll(bytes);
}

void writeHeaders(const QString& path, const QList<TRecEad>& records)
{
    QList<QByteArray> bytes;
    for (const TRecEad& r : records)
        bytes << encodeEad(r);
    RecordFile(path, TRecEad::Size).replaceAll(bytes);
}

struct HistoryFixture : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;

    void SetUp() override
    {
        ctx.CompanyRecord = blankCompany();
        trimCompany(ctx.CompanyRecord);
        ctx.CompanyRecord.CODUTE = "ABCD";
        ctx.CompanyRecord.CACCI1 = "IT00FIT00012S";

        writeWorkFiles(ctx, 1, 1);
        t.clock.current = QDateTime(QDate(2026, 12, 2), QTime(8, 0));
        TRecEad e1 = saveEad(ctx, sampleEadHeader(QDate(2026, 12, 2)), {});
        TRecEad e2 = saveEad(ctx, sampleEadHeader(QDate(2026, 12, 2)), {});
        TRecEad e3 = saveEad(ctx, sampleEadHeader(QDate(2026, 12, 4)), {}); // never accepted
        t.clock.current = QDateTime(QDate(2026, 12, 9), QTime(10, 30));
        updateEadInPlace(ctx, "2026", e1.progressivo, [](TRecEad& r) {
            r.dataFlusso = on(2026, 12, 2);
            r.numeroFlusso = 3;
            r.stato = EadState::Cancelled;
            r.ARC = kArc;
        });
        updateEadInPlace(ctx, "2026", e2.progressivo, [](TRecEad& r) {
            r.dataFlusso = on(2026, 12, 2);
            r.numeroFlusso = 6;
            r.stato = EadState::Accepted;
            r.ARC = kNeighbour;
        });
        updateEadInPlace(ctx, "2026", e3.progressivo, [](TRecEad& r) {
            r.dataFlusso = on(2026, 12, 4);
            r.numeroFlusso = 1;
        });
        e1 = *findHeader(eadfiles::headers(ctx, "2026"), 1);
        e2 = *findHeader(eadfiles::headers(ctx, "2026"), 2);

        TRecEad cancel = e1, otherCancel = e2;
        cancel.MOTANN() = "1";
        cancel.descrizioneMotivo() = "Annullamento per errore";
        cancel.NOTMOT() = "";
        cancel.dataFlusso = on(2026, 12, 2);
        cancel.numeroFlusso = 4;
        cancel.stato = "I";
        otherCancel.MOTANN() = "2";
        writeHeaders(ctx.registri("2026_810.DAT"), {otherCancel, cancel});

        TRecEad change = blankEad();
        change.progressivo = 1;
        change.progressivoRif = 1;
        change.ARC = kArc;
        change.DENDES = "Weinkeller Berlin";
        change.COIDDE = "DE00999999999";
        change.CITDES = "BERLIN";
        change.NUMFAT = "FT/126";
        change.DATFAT = on(2026, 12, 3);
        change.dataFlusso = on(2026, 12, 3);
        change.numeroFlusso = 1;
        change.stato = " ";
        writeHeaders(ctx.registri("2026_813.DAT"), {change});

        TRecEad receipt = blankEad();
        receipt.progressivo = 7;
        receipt.ARC = kArc;
        receipt.IMGPRO = on(2026, 12, 5); // arrival
        receipt.LINPRG = "21";            // global conclusion
        TRecEad otherReceipt = receipt;
        otherReceipt.progressivo = 8;
        otherReceipt.ARC = kNeighbour;
        writeHeaders(ctx.registri("2026_818_J.DAT"), {otherReceipt, receipt});

        TRecMovimento unload = movement(1, on(2026, 12, 2), "S", "EAD", "I", "C", 1, kArc);
        unload.dataFlusso = on(2026, 12, 2);
        unload.numeroFlusso = 5;
        unload.prodottoAziendale = "CHIANTI75";
        unload.litri = 90;
        unload.garanzia = 0.9;
        TRecMovimento other = movement(2, on(2026, 12, 2), "S", "DAA", "I", " ", 2, kArc.left(20));
        other.garanzia = 5;
        TRecMovimento cancellation = movement(3, on(2026, 12, 2), "S", "EAD", "C", " ", 1, kArc);
        cancellation.collegato = 1;
        TRecMovimento replacement = movement(4, on(2026, 12, 2), "S", "EAD", "I", "R", 1, kArc);
        replacement.collegato = 1;
        replacement.prodottoAziendale = "CHIANTI75";
        replacement.litri = 60;
        replacement.garanzia = 0.6;
        writeRegister(registerfiles::movements(ctx, 2026), {unload, other, cancellation, replacement});
        TRecMovimento conclusion = movement(1, on(2027, 1, 4), "A", "EAD", "A", " ", 1, kArc);
        conclusion.garanzia = 0.6;
        writeRegister(registerfiles::movements(ctx, 2027), {conclusion});
        writeRegister(registerfiles::guarantees(ctx, 2026),
                      {guaranteeDay(1, on(2026, 12, 2), 5.6, 0, 994.4), guaranteeDay(2, on(2026, 12, 3), 1, 0, 993.4)});
        writeRegister(registerfiles::guarantees(ctx, 2027), {guaranteeDay(1, on(2027, 1, 4), 0, 0.6, 1000)});
    }

    QStringList table(const EadHistory& h)
    {
        QStringList rows;
        for (const ListingItem& item : historyListing(h).items)
            rows << item.columns.join(QStringLiteral(" | "));
        return rows;
    }

    QStringList files() const { return QDir(ctx.RegistriFolder).entryList(QDir::Files, QDir::Name); }
};

const QStringList kStory = {
    "02/12/2026 | e-AD compilato | e-AD n. 1 dell'anno 2026, fattura FT/125 "
    "del 02/12/2026, spedizione del "
    "02/12/2026, destinatario WEINHAUS MÜLLER GMBH MÜNCHEN",
    "02/12/2026 | Flusso IE815 | ABCD1202.C03 del 02/12/2026 n. 3",
    "02/12/2026 | IE815 accettato | ARC 26ITD0000000000012345",
    "02/12/2026 | Annullamento | motivo 1 Annullamento per errore",
    "02/12/2026 | Flusso IE810 | ABCD1202.C04 del 02/12/2026 n. 4, inviato e "
    "accettato",
    "02/12/2026 | Registro: scarico | numero 1, progressivo 1, superato, "
    "inviato con il ABCD1202.C05 del "
    "02/12/2026 n. 5, prodotto CHIANTI75 litri 90,00",
    "02/12/2026 | Registro: rettifica (annulla il n. 1) | numero 3, "
    "progressivo 1, attivo, non inviato",
    "02/12/2026 | Registro: rettifica (sostituisce il n. 1) | numero 4, "
    "progressivo 1, sostitutivo, non inviato, "
    "prodotto CHIANTI75 litri 60,00",
    "02/12/2026 | Garanzia impegnata | euro 0,60 (registro n. 4)",
    "02/12/2026 | Registro garanzie del giorno | numero 1, progressivo 1: "
    "impegnato 5,60, svincolato 0,00, "
    "disponibile 994,40, non inviato",
    "03/12/2026 | Cambio di destinazione | n. 1: nuovo destinatario Weinkeller "
    "Berlin DE00999999999 BERLIN, "
    "documento FT/126",
    "03/12/2026 | Flusso IE813 | ABCD1203.C01 del 03/12/2026 n. 1, non ancora "
    "accettato",
    "05/12/2026 | Nota di ricezione | n. 7: arrivo del 05/12/2026, esito 21",
    "04/01/2027 | Registro: conclusione | numero 1, progressivo 1, attivo, non "
    "inviato",
    "04/01/2027 | Garanzia svincolata | euro 0,60 (registro n. 1)",
    "04/01/2027 | Registro garanzie del giorno | numero 1, progressivo 1: "
    "impegnato 0,00, svincolato 0,60, "
    "disponibile 1.000,00, non inviato",
};

// Every kind of event, in date order, from both years; nothing of the
// neighbours; no file created.
TEST_F(HistoryFixture, EveryEventOfTheArcInDateOrderAndNothingElse)
{
    const QStringList before = files();
    const EadHistory byArc = eadHistory(ctx, kArc);
    EXPECT_TRUE(byArc.damaged.isEmpty()) << byArc.damaged.join(" | ").toStdString();
    EXPECT_EQ(table(byArc), kStory);
    // The same story from the e-AD chosen in the chooser.
    EXPECT_EQ(table(eadHistoryOf(ctx, "2026", 1)), kStory);
    EXPECT_EQ(files(), before);

    // The lines that open a record name it.
    const EadHistory h = eadHistoryOf(ctx, "2026", 1);
    EXPECT_EQ(h.events[0].opens, HistoryOpens::Ead);
    EXPECT_EQ(h.events[0].number, 1);
    EXPECT_EQ(h.events[13].opens, HistoryOpens::Movement);
    EXPECT_EQ(h.events[13].year, "2027");
    EXPECT_EQ(historyRecordText(ctx, h.events[13]).value(0).simplified(), "numero 1");
    EXPECT_TRUE(historyRecordText(ctx, h.events[0]).join("\n").contains("FT/125"));
}

TEST_F(HistoryFixture, AnEadNeverAcceptedAndArcsThatAreNotOne)
{
    EXPECT_EQ(table(eadHistoryOf(ctx, "2026", 3)),
              (QStringList{"02/12/2026 | e-AD compilato | e-AD n. 3 dell'anno 2026, "
                           "fattura FT/125 del 04/12/2026, "
                           "spedizione del 04/12/2026, destinatario WEINHAUS MÜLLER GMBH "
                           "MÜNCHEN",
                           "04/12/2026 | Flusso IE815 | ABCD1204.C01 del 04/12/2026 n. 1",
                           "04/12/2026 | IE815 senza ARC | nessun esito positivo "
                           "registrato: flusso non inviato o "
                           "respinto"}));
    EXPECT_TRUE(eadHistoryOf(ctx, "2026", 99).events.isEmpty());
    for (const QString& arc :
         {kArc.left(20), kArc + "9", QString("XXITD0000000000012345"), QString("26ITD00000000000123-5")}) {
        EXPECT_FALSE(historyArcValid(arc)) << arc.toStdString();
        EXPECT_TRUE(eadHistory(ctx, arc).events.isEmpty());
    }
    EXPECT_TRUE(historyArcValid(kArc.toLower()));
}

// A damaged yearly file (a length that is no whole number of records) is named;
// the rest shows.
TEST_F(HistoryFixture, ADamagedFileIsNamedAndTheRestShown)
{
    QFile damaged(ctx.registri("2026_813.DAT"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(100, 'x'));
    damaged.close();
    const EadHistory h = eadHistory(ctx, kArc);
    ASSERT_EQ(h.damaged.size(), 1);
    EXPECT_TRUE(h.damaged[0].contains("2026_813.DAT")) << h.damaged[0].toStdString();
    QStringList rest = kStory;
    rest.removeIf([](const QString& row) { return row.contains("IE813") || row.contains("Cambio di destinazione"); });
    EXPECT_EQ(table(h), rest);
    EXPECT_EQ(QFileInfo(damaged).size(), 100);
}

// The menu item: the chooser, the story, Enter on a line opens its record
// read-only, the PDF.
TEST_F(HistoryFixture, WindowFromTheMenuOpensALineAndSavesThePdf)
{
    // The start-up check passes: company, paths and web addresses filled in.
    TRecAzienda company = ctx.CompanyRecord;
    company.DENOM1 = "Cantina del Chianti srl";
    company.TIPOIN = "1";
    writeStartupFiles(ctx, company, {t.path("fv/FV.exe"), t.path("fv/dafirmare/"), t.path("fv/firmati/"), t.path("emcs")});
    QFile damaged(ctx.registri("2026_813.DAT"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(100, 'x'));
    damaged.close();
    const QString pdf = t.path("storia.pdf");
    t.dialogs.answers << pdf;

    ModalDriver d;
    int rows = -1;
    QString opened;
    d.on["TFSCEGLIDAA"] = chooseRow(0);
    d.on["TFSCHEDA"] = [&](QWidget* w, int) {
        opened = w->windowTitle();
        QTest::keyClick(w, Qt::Key_Escape);
    };
    d.on["TFSTORIAEAD"] = [&](QWidget* w, int) {
        auto* list = w->findChild<QTableWidget*>("LISTA");
        if (list->rowCount() == 0 || rows >= 0)
            return; // the chooser over it first
        rows = list->rowCount();
        EXPECT_TRUE(w->findChild<QLabel*>("LDANNI")->isVisible());
        EXPECT_TRUE(w->findChild<QLabel*>("LDANNI")->text().contains("2026_813.DAT"));
        list->setFocus();
        list->setCurrentCell(0, 0);
        QTest::keyClick(list, Qt::Key_Return); // the e-AD, read-only
        QTest::mouseClick(w->findChild<QPushButton*>("BPDF"), Qt::LeftButton);
        QTest::keyClick(w, Qt::Key_Escape);
    };
    runMenuItem(ctx, "ASTORIAEAD");
    EXPECT_FALSE(d.timedOut);
    EXPECT_EQ(rows, kStory.size() - 2);
    EXPECT_EQ(opened, "e-AD n. 1 dell'anno 2026 (sola lettura)");
    QFile out(pdf);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_TRUE(out.read(5) == "%PDF-");
    EXPECT_TRUE(t.messenger.infos.contains(MsgPdfSaved + QDir::toNativeSeparators(pdf)))
        << t.messenger.infos.join(" | ").toStdString();
}

} // namespace
} // namespace vt::test
