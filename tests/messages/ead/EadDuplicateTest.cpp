// "Duplica e-AD": a new e-AD from an accepted one. The story of the fixture: on
// 2 December the winery sent FT/88 to its German consignee (one lorry, two
// wines), accepted with an ARC. A week later (today, 9 December at 10:30) the
// clerk duplicates it for the next weekly shipment.
#include "messages/CompileFixture.h"

#include <QPushButton>
#include <QTabWidget>

#include "foundation/AddressFile.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "messages/ead/EadCompile.h"
#include "messages/ead/EadDuplicate.h"
#include "messages/ead/EadForm.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/TFCOMPIE815.h"
#include "support/EadFixtures.h"
#include "support/Standins.h"
#include "support/TableFixtures.h"

#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>

#include "foundation/RegisterRecord.h"
#include "messages/ead/EadHistory.h"
#include "messages/transmission/TFTELEMATICO.h"
#include "register/store/RegisterStore.h"

namespace vt::test {
namespace {

const QString kArc = QStringLiteral("26ITD0000000000012345");

// A field of a header as text, to name the field that differs.
QString fieldText(const TRecEad& r, const Field<TRecEad>& f)
{
    switch (f.kind) {
    case FieldKind::Int32: return QString::number(*static_cast<const std::int32_t*>(f.cref(r)));
    case FieldKind::Double: return QString::number(*static_cast<const double*>(f.cref(r)), 'f', 6);
    case FieldKind::Text: return *static_cast<const QString*>(f.cref(r));
    }
    return {};
}

struct DuplicateFixture : CompileWindow {
    TRecEad source; // as stored, accepted
    QByteArray sourceBytes;
    std::int32_t consigneeCode = 0;

    void SetUp() override
    {
        CompileWindow::SetUp();
        ctx.CompanyRecord = decodeCompany(*RecordFile(ctx.datiGen("UTENTE.001"), TRecAzienda::Size).readFirst());

        TRecIndirizzo consignee = blankCompany();
        trimCompany(consignee);
        consignee.TIPOIN = "2";
        consignee.CACCI1 = "DE00123456789";
        consignee.DENOM1 = "Weinhaus Mueller GmbH";
        consignee.INDIR1 = "Hauptstrasse";
        consignee.CITTA1 = "MUENCHEN";
        consignee.SEZDOG = "de";
        consigneeCode = InsertAddress(ctx.datiGen("INDIRIZZI_D.DAT"), consignee, t.messenger);

        TRecEad h = sampleEadHeader(QDate(2026, 12, 2));
        h.TIPDES = "2"; // a registered consignee: no place of delivery
        h.NUMFAT = "FT/88";
        h.ORASPE = "08:15";
        // The consignor as the company is now (the compilation copies it from the
        // company record).
        h.denominazioneSpeditore = "Cantina del Chianti srl";
        h.indirizzoSpeditore = "Via Roma";
        h.civicoSpeditore = "1";
        h.capSpeditore = "50100";
        h.cittaSpeditore = "FIRENZE";
        h.COIDLS = "IT00FIT00012S";
        h.DENLSP = "Cantina del Chianti srl";
        h.INDLSP = "Via del Vino";
        h.CITLSP = "GREVE IN CHIANTI";
        TRecDettaglio lorry = sampleTransportLine(1);
        lorry.UNITRA() = "2";
        TRecDettaglio wine1 = sampleProductLine(1), wine2 = sampleProductLine(2);
        wine1.COAZPR = "CHIANTI75";
        wine1.META20 = "W200-22042131-00-0000";
        wine2.COAZPR = "PROSECCO";
        wine2.META20 = "W300-22041015-00-0000";
        writeWorkFiles(ctx, {lorry}, {wine1, wine2});
        // The source was saved a week ago.
        t.clock.current = QDateTime(QDate(2026, 12, 2), QTime(8, 0));
        // Written through the compilation's form, as every e-AD is.
        const TRecEad saved = saveEad(ctx, headerFromForm(formFromHeader(h), ctx.CompanyRecord), {});
        t.clock.current = QDateTime(QDate(2026, 12, 9), QTime(10, 30));
        ASSERT_TRUE(updateEadInPlace(ctx, "2026", saved.progressivo, [](TRecEad& r) {
            r.dataFlusso = dates::fromDate(QDate(2026, 12, 2));
            r.numeroFlusso = 3;
            r.stato = EadState::Accepted;
            r.ARC = kArc;
        }));
        sourceBytes = RecordFile(eadfiles::headers(ctx, "2026"), TRecEad::Size).readAll().value(0);
        source = decodeEad(sourceBytes);
        // The work files are someone else's by now.
        startNewEad(ctx);
    }

    // The menu item, the chooser on the accepted e-AD, then `compile` on the
    // compilation window; the flow window that follows a confirmation is left
    // with Esc.
    void duplicate(const std::function<void(QWidget*)>& compile,
                   const std::map<QString, ModalDriver::Step>& more = {})
    {
        ModalDriver d;
        d.on["TFSCEGLIDAA"] = chooseRow(0);
        d.on["TFCOMPIE815"] = [&](QWidget* w, int visit) {
            if (visit == 0)
                compile(w);
        };
        d.on["TFCREAFIRMAINVIAIE815"] = [](QWidget* w, int) { QTest::keyClick(w, Qt::Key_Escape); };
        for (const auto& [name, step] : more)
            d.on[name] = step;
        runMenuItem(ctx, "ADUPLIE815");
        EXPECT_FALSE(d.timedOut);
        // Only that opening of the compilation was a duplicate.
        EXPECT_FALSE(ctx.DuplicateEad);
    }

    void expectCaught(const QString& message, const char* focus, int page);

    static void altC(QWidget* w)
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, Qt::Key_C, Qt::AltModifier);
        QApplication::processEvents();
        QApplication::processEvents();
    }
};

// CONFERMA straight from the first field (Alt+C to the summary, Alt+C again):
// the new e-AD is the source byte for byte except what identifies a dispatch;
// the source is untouched.
TEST_F(DuplicateFixture, ConfirmedDuplicateCopiesAllButWhatIdentifiesADispatch)
{
    duplicate([&](QWidget* w) {
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "NUMFAT");
        EXPECT_EQ(w->findChild<QLineEdit*>("NUMFAT")->text(), "FT/88");
        EXPECT_EQ(w->findChild<QLineEdit*>("DATSPE")->text(), "09/12/2026");
        altC(w);
        EXPECT_EQ(w->findChild<QTabWidget*>("PCCOMPEAD")->currentIndex(), 4);
        altC(w);
    });
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();

    const QList<QByteArray> headers = RecordFile(eadfiles::headers(ctx, "2026"), TRecEad::Size).readAll();
    ASSERT_EQ(headers.size(), 2);
    EXPECT_EQ(headers[0], sourceBytes);

    // Expected: the source's bytes with the new identity written over them, from
    // the layout.
    Image expected(TRecEad::Size);
    expected.b = sourceBytes;
    expected.i(0, 2); // next progressive of the year
    expected.s(7, 22,
               "46365.43750-FIT00012SF"); // now, 9/12/2026 10:30, as a day count;
                                          // excise chars 5-13; "FC" cut
    expected.i(56, 2);
    expected.d(64, 0); // no flow yet
    expected.i(72, 0);
    expected.s(76, 1, " ");             // compiled, not accepted
    expected.s(78, 21);                 // no ARC
    expected.d(1968, day(2026, 12, 9)); // document date: today
    expected.d(1984, day(2026, 12, 9)); // dispatch: today
    expected.s(1992, 5, "23:00");       // time of dispatch as for a new e-AD
    const TRecEad got = decodeEad(headers[1]), want = decodeEad(expected.b);
    for (const auto& f : TRecEad::fields())
        EXPECT_EQ(fieldText(got, f), fieldText(want, f)) << f.name;
    EXPECT_EQ(headers[1], expected.b);

    // The lines: the source's, renumbered on in the yearly files and owned by
    // e-AD 2.
    const QList<TRecDettaglio> products = readLines(eadfiles::products(ctx, "2026"));
    ASSERT_EQ(products.size(), 4);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(products[2 + i].numero, 3 + i);
        EXPECT_EQ(products[2 + i].progressivo, 2);
        TRecDettaglio copied = products[2 + i];
        copied.numero = products[i].numero;
        copied.progressivo = products[i].progressivo;
        EXPECT_EQ(encodeLine(copied), encodeLine(products[i])) << "product line " << i + 1;
    }
    const QList<TRecDettaglio> transport = readLines(eadfiles::transport(ctx, "2026"));
    ASSERT_EQ(transport.size(), 2);
    EXPECT_EQ(transport[1].IDUNTR(), transport[0].IDUNTR());
    EXPECT_EQ(transport[1].progressivo, 2);
}

// What the source names may be gone since it was written: the page check
// catches it, the focus goes to the field to correct, nothing is written (also
// by a click that still arrives); Esc leaves.
void DuplicateFixture::expectCaught(const QString& message, const char* focus, int page)
{
    duplicate([&](QWidget* w) {
        altC(w);
        altC(w);
        EXPECT_EQ(t.messenger.infos.value(0), message);
        EXPECT_EQ(w->findChild<QTabWidget*>("PCCOMPEAD")->currentIndex(), page);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), focus);
        QMetaObject::invokeMethod(w->findChild<QPushButton*>("BCONF"), "click");
        QApplication::processEvents();
        EXPECT_EQ(RecordFile(eadfiles::headers(ctx, "2026"), TRecEad::Size).count(), 1);
        t.messenger.defaultAnswer = true; // "abandon?" - yes
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_EQ(RecordFile(eadfiles::headers(ctx, "2026"), TRecEad::Size).readAll(), QList<QByteArray>{sourceBytes});
}

TEST_F(DuplicateFixture, ConsigneeDeletedSinceIsCaughtOnThePage)
{
    ASSERT_TRUE(DeleteAddress(consigneeCode, ctx.datiGen("INDIRIZZI_D.DAT"), t.messenger));
    expectCaught(MsgConsigneeGone, "COIDDE", 0);
}

TEST_F(DuplicateFixture, ProductDeletedSinceIsCaughtOnThePage)
{
    RecordFile praz(ctx.datiGen("PRAZ.TAB"), TRecTabella::Size);
    QList<QByteArray> rows = praz.readAll();
    rows.removeIf([](const QByteArray& r) { return decodeRow(r).Fld[0].trimmed() == "PROSECCO"; });
    praz.replaceAll(rows);
    expectCaught(MsgProductGone.arg(2).arg("PROSECCO"), "NDETPR", 2);
}

// Two workstations duplicate the same e-AD at the same time: both load it, then
// both confirm. The lock gives each its own number, and the source stays as it
// was.
TEST_F(DuplicateFixture, TwoWorkstationsDuplicatingAtOnceGetTwoNumbers)
{
    TestContext other;
    other.ctx.setFolders(ctx.StartFolder, other.path("temp-b"));
    other.ctx.CompanyRecord = ctx.CompanyRecord;
    for (AppContext* c : {&ctx, &other.ctx}) {
        c->SelectedYear = "2026";
        c->PickedEad = source.progressivo;
        loadDuplicateSource(*c);
        ASSERT_EQ(c->PickedEad, source.progressivo);
    }
    std::int32_t numbers[2] = {};
    int i = 0;
    for (AppContext* c : {&other.ctx, &ctx}) {
        EadForm form = duplicateForm(c->EadHeader, c->CompanyRecord, c->clock().today());
        const CompileOutcome out = confirmCompilation(*c, form, false, true);
        ASSERT_EQ(out.verdict.page, 0) << out.verdict.result.message.toStdString();
        numbers[i++] = c->EadHeader.progressivo;
    }
    EXPECT_EQ(numbers[0], 2);
    EXPECT_EQ(numbers[1], 3);
    const QList<QByteArray> headers = RecordFile(eadfiles::headers(ctx, "2026"), TRecEad::Size).readAll();
    ASSERT_EQ(headers.size(), 3);
    EXPECT_EQ(headers[0], sourceBytes);
    EXPECT_EQ(readLines(eadfiles::products(ctx, "2026")).size(), 6);
}

// The walk of a clerk, with the stand-ins of the signing program and of the customs service: the
// accepted e-AD duplicated, one quantity changed, confirmed and sent (a new ARC); then the first
// e-AD cancelled and unloaded in the register, and its story looked at and saved as PDF. With
// VT_SHOT_DIR set, pictures of the windows and the PDF go there.
TEST_F(DuplicateFixture, DuplicateSentThroughTheStandinsThenTheStoryOfTheFirst)
{
    QTemporaryDir standinDir;
    CustomsStandin standin(standinDir.path());
    ASSERT_TRUE(standin.running()) << standin.error().toStdString();
    SigningFolder signing(t.path("firma"));
    writeStartupFiles(ctx, ctx.CompanyRecord, {signing.program, signing.toSign, signing.signedDir, t.path("emcs")},
                      standin.host());
    ctx.CustomsCaFile = standin.caFile();
    t.shell.answer = true;
    t.shell.onStart = [](const QString& program) { QProcess::startDetached(program, {}); };
    TFTELEMATICO::setWaitInterval(100);
    t.messenger.answers = {true, false}; // accepted in test: send it for real; do not open the E.M.C.S.

    duplicate(
        [&](QWidget* w) {
            auto* tabs = w->findChild<QTabWidget*>("PCCOMPEAD");
            tabs->setCurrentIndex(2);
            QApplication::processEvents();
            ASSERT_EQ(tabs->currentIndex(), 2);
            typeOver(w, "NDETPR", "1");
            key(Qt::Key_Return); // the first wine into the fields
            typeOver(w, "NUMCON", "60");
            key(Qt::Key_Return);
            shot("duplica-pagina3");
            auto* line = w->findChild<QPushButton*>("BCONFPR");
            line->setFocus(Qt::MouseFocusReason);
            QTest::mouseClick(line, Qt::LeftButton);
            QApplication::processEvents();
            altC(w);
            shot("duplica-riepilogo");
            altC(w);
        },
        {{QStringLiteral("TFCREAFIRMAINVIAIE815"),
          ModalDriver::Step([](QWidget* w, int) { proposeNumberThenConfirm(w); })},
         {QStringLiteral("TFTELEMATICO"),
          ModalDriver::Step([&](QWidget* w, int) { sendInTestThenReal(w, ctx.Transmit); })}});
    TFTELEMATICO::setWaitInterval(1000);

    const QList<TRecEad> headers = readHeaders(eadfiles::headers(ctx, "2026"));
    ASSERT_EQ(headers.size(), 2) << t.messenger.all.join(" | ").toStdString();
    const QString newArc = headers[1].ARC.trimmed();
    EXPECT_EQ(newArc.size(), 21);
    EXPECT_NE(newArc, kArc);
    EXPECT_EQ(headers[1].stato, EadState::Accepted);
    const QList<TRecDettaglio> products = readLines(eadfiles::products(ctx, "2026"));
    ASSERT_EQ(products.size(), 4);
    EXPECT_EQ(products[2].NUMCON, 60);
    EXPECT_EQ(products[2].TOTLIT, 45);
    EXPECT_EQ(products[3].TOTLIT, products[1].TOTLIT);

    // The first e-AD cancelled (its IE810 window left for later) and unloaded in the register.
    {
        ModalDriver d;
        d.on["TFSCEGLIDAA"] = chooseRow(0);
        d.on["TFINS_MOD_CANC_ARC"] = [](QWidget* w, int visit) {
            if (visit == 0) {
                QTest::keyClicks(w->findChild<QLineEdit*>("MOTANN"), "1");
                QTest::keyClick(w->findChild<QLineEdit*>("MOTANN"), Qt::Key_Return);
                return;
            }
            QTest::mouseClick(w->findChild<QPushButton*>("BCONF"), Qt::LeftButton);
        };
        d.on["TFCREAFIRMAINVIAIE810"] = [](QWidget* w, int) { QTest::keyClick(w, Qt::Key_Escape); };
        runMenuItem(ctx, "AINS810");
        EXPECT_FALSE(d.timedOut);
    }
    EXPECT_EQ(findHeader(eadfiles::headers(ctx, "2026"), 1)->stato, EadState::Cancelled);
    TRecMovimento unload = blankRegisterRecord();
    unload.data = dates::fromDate(QDate(2026, 12, 2));
    unload.registro = "C";
    unload.operazione = "I";
    unload.stato = " ";
    unload.tipoMovimento = "S";
    unload.tipoDocumento = "EAD";
    unload.numeroDocumento = kArc;
    unload.prodottoAziendale = "CHIANTI75";
    unload.litri = 90;
    unload.garanzia = 0.9;
    InsertRegisterRecord(unload, registerfiles::movements(ctx, 2026), t.messenger);

    const QString folder = qEnvironmentVariable("VT_SHOT_DIR", t.path("shots"));
    QDir().mkpath(folder);
    const QString pdf = QDir(folder).filePath("storia.pdf");
    QFile::remove(pdf);
    t.dialogs.answers << pdf;
    int rows = -1;
    {
        ModalDriver d;
        d.on["TFSCEGLIDAA"] = chooseRow(0);
        d.on["TFSTORIAEAD"] = [&](QWidget* w, int) {
            auto* list = w->findChild<QTableWidget*>("LISTA");
            if (list->rowCount() == 0 || rows >= 0)
                return;
            rows = list->rowCount();
            shot("storia");
            QTest::mouseClick(w->findChild<QPushButton*>("BPDF"), Qt::LeftButton);
            QTest::keyClick(w, Qt::Key_Escape);
        };
        runMenuItem(ctx, "ASTORIAEAD");
        EXPECT_FALSE(d.timedOut);
    }
    const EadHistory story = eadHistory(ctx, kArc);
    EXPECT_EQ(rows, story.events.size());
    QStringList kinds;
    for (const HistoryEvent& e : story.events)
        kinds << e.kind;
    EXPECT_EQ(kinds, (QStringList{"e-AD compilato", "Flusso IE815", "IE815 accettato", "Annullamento",
                                  "Registro: scarico", "Garanzia impegnata"}));
    for (const HistoryEvent& e : story.events)
        EXPECT_FALSE(e.detail.contains(newArc)) << e.detail.toStdString();
    QFile out(pdf);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_TRUE(out.read(5) == "%PDF-");
}

} // namespace
} // namespace vt::test
