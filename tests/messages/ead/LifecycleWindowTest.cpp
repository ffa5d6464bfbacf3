// The lifecycle window TFINS_MOD_CANC_ARC, the IE810 flow window and the dispatcher, driven
// offscreen the way a clerk uses them: from the menu items, through the chooser, clicking CONFERMA
// (or Alt+C) straight from a field, leaving half-way, and on to the stand-ins for the IE810.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <functional>
#include <vector>

#include "app/LifecycleDispatch.h"
#include "app/MenuActions.h"
#include "foundation/Dates.h"
#include "foundation/DeliveredData.h"
#include "foundation/RecordCodec.h"
#include "foundation/RecordFile.h"
#include "messages/ead/EadLifecycle.h"
#include "messages/ead/EadStore.h"
#include "messages/change/Ie813Send.h"
#include "messages/ead/Summary.h"
#include "messages/ead/TFCREAFIRMAINVIAIE810.h"
#include "messages/ead/TFINS_MOD_CANC_ARC.h"
#include "messages/transmission/TFTELEMATICO.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"
#include "support/Standins.h"
#include "support/TableFixtures.h"
#include "ui/CodedField.h"
#include "ui/WindowRegistry.h"

using namespace vt;
using namespace vt::test;

namespace {

const QString Arc = QStringLiteral("26ITQXY00012345678901");

template <class T = QLineEdit>
T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(c) << name;
    return c;
}

// Alt+C: the shortcut of "&CONFERMA" clicks the button a moment later.
void altC(QWidget* w)
{
    QTest::keyClick(w, Qt::Key_C, Qt::AltModifier);
}

bool waitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 10000);
}

ModalDriver::Step pressEscape()
{
    return [](QWidget* modal, int) { QTest::keyClick(modal, Qt::Key_Escape); };
}

struct LifecycleWindows : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    QString toSign, signedDir;

    void SetUp() override
    {
        toSign = t.path("fv/dafirmare");
        signedDir = t.path("fv/firmati");
        QDir().mkpath(toSign);
        QDir().mkpath(signedDir);
        ctx.AppConfig.Fld[0] = t.path("fv/FirmaVerifica.exe");
        ctx.AppConfig.Fld[1] = toSign + "/";
        ctx.AppConfig.Fld[2] = signedDir + "/";
        ctx.CompanyRecord = blankCompany();
        trimCompany(ctx.CompanyRecord);
        ctx.CompanyRecord.CODUTE = "ABCD";
        ctx.CompanyRecord.CACCI1 = "IT00FIT00012S";
        ctx.CompanyRecord.SEZDOG = "066100";
        ctx.CompanyRecord.PARIVA = "01234567890";
        ctx.WorkYear = "2026";
        ctx.SelectedYear = "2026";
        t.shell.answer = false; // the signing program does not start: no transmission window
        initDeliveredResources();
        installDeliveredData(ctx); // T011 (reasons) and T001 (languages) among them
    }

    // What StartupCheck requires: company data, the application paths and the web addresses.
    void writeConfiguration(const QString& serviceHost = QString())
    {
        TRecAzienda company = ctx.CompanyRecord;
        company.TIPOIN = "1";
        writeStartupFiles(ctx, company, {ctx.AppConfig.Fld[0], ctx.AppConfig.Fld[1], ctx.AppConfig.Fld[2], t.path("emcs")},
                          serviceHost);
        ctx.CompanyRecord = blankCompany(); // StartupCheck loads it
    }

    TRecEad acceptedEad()
    {
        TRecEad h = saveSampleEad(ctx, 1, 2);
        EXPECT_TRUE(updateEadInPlace(ctx, "2026", h.progressivo, [](TRecEad& r) {
            r.ARC = Arc;
            r.stato = "I";
        }));
        return *findHeader(eadfiles::headers(ctx, "2026"), h.progressivo);
    }

    // The e-AD in hand as the dispatcher leaves it for the window of a mode.
    void inHand(QChar mode, const TRecEad& ead)
    {
        ctx.OpCode = mode;
        ctx.PickedEad = ead.progressivo;
        ASSERT_EQ(loadChosenRecords(ctx), "");
    }

    QString stateOf(std::int32_t p) const
    {
        const auto h = findHeader(eadfiles::headers(ctx, "2026"), p);
        return h ? h->stato : QStringLiteral("-");
    }
    std::optional<TRecEad> cancellation(std::int32_t p) const
    {
        return findHeader(cancelfiles::cancellations(ctx, "2026"), p);
    }
};

} // namespace

TEST_F(LifecycleWindows, EachModeShowsItsCaptionWarningAndFields)
{
    struct Case {
        char mode;
        const char* caption;
        const char* warning; // nullptr: Label1 hidden
        const char* shown;   // the mode's own part: NUMARC, MOTANN, RICHMOTANN or none
        const char* focus;
    };
    const Case cases[] = {
        {'A', "Cancella i Riferimenti di un flusso IE815 inviato",
         "Saranno AZZERATI i dati: DATA DEL FLUSSO, NUMERO DEL FLUSSO e NUMERO ARC", nullptr, "BCONF"},
        {'C', "Cancella e-AD NON INVIATO", "L'e-AD VERRA' CANCELLATO !", nullptr, "BCONF"},
        {'R', "REGISTRA IL NUMERO DI ARC ATTRIBUITO ALL'e-AD", nullptr, "NUMARC", "NUMARC"},
        {'X', "Annulla un e-AD ACCETTATO dal Sistema Telematico Doganale",
         "L'annullamento di un e-AD già ACCETTATO è possibile entro le ore 24 del giorno di spedizione.", "MOTANN",
         "MOTANN"},
        {'x', "Cancella L'ANNULLAMENTO NON INVIATO DI UN e-AD", "L'ANNULLAMENTO DELL'e-AD VERRA' CANCELLATO !",
         "RICHMOTANN", "BCONF"},
        {'a', "Cancella i Riferimenti di un flusso IE810 inviato",
         "Saranno AZZERATI i dati: DATA DEL FLUSSO, NUMERO DEL FLUSSO", "RICHMOTANN", "BCONF"},
    };
    const TRecEad ead = acceptedEad();
    prepareCancellation(ctx, "2026", ead.progressivo, {"1", "Errore di digitazione", "", "it"});
    for (const Case& c : cases) {
        const QString shown = QString::fromLatin1(c.shown ? c.shown : "");
        inHand(QChar(c.mode), ead);
        TFINS_MOD_CANC_ARC w(ctx);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        EXPECT_EQ(w.windowTitle(), c.caption) << c.mode;
        EXPECT_EQ(w.Label1->isVisible(), c.warning != nullptr) << c.mode;
        if (c.warning)
            EXPECT_EQ(w.Label1->text(), c.warning);
        EXPECT_EQ(w.NUMARC->isVisible(), shown == QLatin1String("NUMARC")) << c.mode;
        EXPECT_EQ(w.MOTANN->isVisible(), shown == QLatin1String("MOTANN")) << c.mode;
        EXPECT_EQ(w.NOTMOT->isVisible(), shown == QLatin1String("MOTANN")) << c.mode;
        EXPECT_EQ(w.RICHMOTANN->isVisible(), shown == QLatin1String("RICHMOTANN")) << c.mode;
        EXPECT_EQ(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), c.focus) << c.mode;
        EXPECT_TRUE(w.RIEPILOGO->toPlainText().contains("CHIANTI CLASSICO 2")) << c.mode;
        if (c.mode == 'R')
            EXPECT_EQ(w.NUMARC->text(), Arc);
        if (c.mode == 'X') {
            EXPECT_EQ(w.LINGUA->code(), "it");
            EXPECT_EQ(w.NOTMOT->text(), "");
        }
        if (shown == QLatin1String("RICHMOTANN")) {
            EXPECT_TRUE(w.RICHMOTANN->toPlainText().startsWith("Motivo: 1 Errore di digitazione")) << c.mode;
            EXPECT_EQ(w.RICHMOTANN->width(), 780);
        }
        const QString name = QStringLiteral("TFINS_MOD_CANC_ARC-%1%2.png").arg(QChar(c.mode)).arg(QChar(c.mode).isLower() ? "-min" : "");
        w.grab().save(QDir::temp().filePath(name));
    }
}

TEST_F(LifecycleWindows, RegisterTheArcWithAltCStraightFromTheField)
{
    TRecEad ead = saveSampleEad(ctx, 1, 1);
    inHand('R', ead);
    TFINS_MOD_CANC_ARC w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

    // Too short: the message, the focus back in NUMARC, nothing stored.
    QTest::keyClicks(w.NUMARC, "26itqxy");
    altC(w.NUMARC);
    EXPECT_TRUE(waitFor([&] { return !t.messenger.infos.isEmpty(); }));
    EXPECT_EQ(t.messenger.infos, QStringList{"IL NUMERO DI ARC DEVE ESSERE DI 21 CARATTERI SENZA SPAZI"});
    EXPECT_TRUE(w.NUMARC->hasFocus());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(stateOf(ead.progressivo), " ");

    w.NUMARC->selectAll();
    QTest::keyClicks(w.NUMARC, Arc.toLower()); // typed in lower case, held in upper case
    altC(w.NUMARC);
    EXPECT_TRUE(waitFor([&] { return !w.isVisible(); }));
    const auto h = findHeader(eadfiles::headers(ctx, "2026"), ead.progressivo);
    EXPECT_EQ(h->ARC, Arc);
    EXPECT_EQ(h->stato, "I");
}

TEST_F(LifecycleWindows, CancelChecksTheReasonTheNoteAndTheLanguage)
{
    const TRecEad ead = acceptedEad();
    inHand('X', ead);
    TFINS_MOD_CANC_ARC w(ctx);
    ModalDriver driver;
    driver.on["TFLISTVIEW"] = pressEscape(); // the listing of an invalid code, left without a choice
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

    // An unknown reason: "CODICE NON VALIDO", the listing, the focus kept.
    QTest::keyClicks(w.MOTANN->edit(), "9");
    QTest::mouseClick(w.BCONF, Qt::LeftButton);
    EXPECT_EQ(w.MOTANN->companion()->text(), "CODICE NON VALIDO");
    EXPECT_EQ(driver.seen, QStringList{"TFLISTVIEW"});
    EXPECT_TRUE(w.MOTANN->edit()->hasFocus());
    EXPECT_FALSE(cancellation(ead.progressivo));

    // Reason "0" without a note.
    w.MOTANN->edit()->selectAll();
    QTest::keyClicks(w.MOTANN->edit(), "0");
    QTest::mouseClick(w.BCONF, Qt::LeftButton);
    EXPECT_EQ(w.MOTANN->companion()->text(), "Altro");
    EXPECT_EQ(t.messenger.infos, QStringList{"NOTA OBBLIGATORIA"});
    EXPECT_TRUE(w.NOTMOT->hasFocus());
    EXPECT_EQ(stateOf(ead.progressivo), "I");

    // An unknown language.
    QTest::keyClicks(w.NOTMOT, "Merce rispedita");
    w.LINGUA->edit()->selectAll();
    QTest::keyClicks(w.LINGUA->edit(), "zz");
    QTest::mouseClick(w.BCONF, Qt::LeftButton);
    EXPECT_EQ(w.LINGUA->companion()->text(), "CODICE NON VALIDO");
    EXPECT_TRUE(w.LINGUA->edit()->hasFocus());
    EXPECT_FALSE(cancellation(ead.progressivo));
    EXPECT_TRUE(w.isVisible());
}

TEST_F(LifecycleWindows, ConfirmedCancellationOpensTheIe810WindowOverTheCancellation)
{
    const TRecEad ead = acceptedEad();
    inHand('X', ead);
    TFINS_MOD_CANC_ARC w(ctx);
    ModalDriver driver;
    QString reasonShown;
    driver.on["TFCREAFIRMAINVIAIE810"] = [&](QWidget* modal, int) {
        reasonShown = child<QTextEdit>(modal, "RICHMOT")->toPlainText();
        QTest::keyClick(modal, Qt::Key_Escape);
    };
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClicks(w.MOTANN->edit(), "0");
    QTest::keyClick(w.MOTANN->edit(), Qt::Key_Return); // Enter moves on to the note
    EXPECT_TRUE(w.NOTMOT->hasFocus());
    QTest::keyClicks(w.NOTMOT, "Merce rispedita");
    w.LINGUA->edit()->selectAll();
    QTest::keyClicks(w.LINGUA->edit(), "en");
    altC(w.LINGUA->edit()); // straight from the field
    EXPECT_TRUE(waitFor([&] { return !w.isVisible(); }));

    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join("|").toStdString();
    EXPECT_EQ(driver.seen, QStringList{"TFCREAFIRMAINVIAIE810"});
    QStringList reasonLines = reasonShown.trimmed().split('\n');
    for (QString& line : reasonLines)
        while (line.endsWith(' '))
            line.chop(1);
    EXPECT_EQ(reasonLines, (QStringList{"Motivo: 0 Altro", "  Nota: Merce rispedita", "Lingua: en"}));
    EXPECT_EQ(stateOf(ead.progressivo), "0");
    const auto c = cancellation(ead.progressivo);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->MOTANN(), "0");
    EXPECT_EQ(c->descrizioneMotivo().trimmed(), "Altro");
    EXPECT_EQ(c->NOTMOT().trimmed(), "Merce rispedita");
    EXPECT_EQ(c->LINGUA, "en");
    EXPECT_EQ(c->stato, " ");
}

TEST_F(LifecycleWindows, AbandoningHalfWayChangesNothing)
{
    const TRecEad ead = acceptedEad();
    inHand('X', ead);
    TFINS_MOD_CANC_ARC w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClicks(w.MOTANN->edit(), "1");
    QTest::keyClick(w.MOTANN->edit(), Qt::Key_Return);
    QTest::keyClick(w.NOTMOT, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(stateOf(ead.progressivo), "I");
    EXPECT_FALSE(QFile::exists(cancelfiles::cancellations(ctx, "2026")));
}

TEST_F(LifecycleWindows, ARecordChangedByAnotherWorkstationIsNotDeleted)
{
    const TRecEad ead = saveSampleEad(ctx, 1, 1);
    inHand('C', ead);
    TFINS_MOD_CANC_ARC w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // Meanwhile another workstation sent it and registered its ARC.
    registerArc(ctx, "2026", ead.progressivo, Arc);
    QTest::mouseClick(w.BCONF, Qt::LeftButton);
    ASSERT_EQ(t.messenger.infos.size(), 1);
    EXPECT_TRUE(t.messenger.infos[0].contains("NELLO STATO \"INVIATO\"")) << t.messenger.infos[0].toStdString();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(stateOf(ead.progressivo), "I");
    EXPECT_EQ(readLineFile(eadfiles::products(ctx, "2026")).size(), 1);
}

TEST_F(LifecycleWindows, TheIe810DateRuleStopsTheConfirmation)
{
    const TRecEad ead = acceptedEad(); // dispatched on 09/12/2026
    prepareCancellation(ctx, "2026", ead.progressivo, {"1", "Errore di digitazione", "", "it"});
    inHand('9', ead);
    TFCREAFIRMAINVIAIE810 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), "Crea il messaggio IE810 - Firma - Invia nell'Ambiente Telematico della Dogana");
    EXPECT_TRUE(child<QTextEdit>(&w, "RIEPILOGO")->toPlainText().contains("CHIANTI CLASSICO 2"));
    auto* date = child(&w, "DATFLU");
    date->selectAll();
    QTest::keyClicks(date, "10122026");
    QTest::keyClick(date, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(child(&w, "NUMFLU")->text(), "1");
    QTest::mouseClick(child<QPushButton>(&w, "BCONF"), Qt::LeftButton);
    EXPECT_EQ(t.messenger.infos, QStringList{"LA DATA DEL FLUSSO NON PUO' ESSERE SUCCESSIVA ALLA DATA DI SPEDIZIONE"});
    EXPECT_TRUE(date->hasFocus());
    EXPECT_TRUE(QDir(toSign).isEmpty());
    EXPECT_TRUE(w.isVisible());

    // The day of the dispatch is accepted; without signing only the flow is written.
    t.messenger.infos.clear();
    date->selectAll();
    QTest::keyClicks(date, "09122026");
    child<QCheckBox>(&w, "CFIRMA")->setChecked(false);
    QTest::mouseClick(child<QPushButton>(&w, "BCONF"), Qt::LeftButton);
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join("|").toStdString();
    EXPECT_TRUE(QFile::exists(toSign + "/ABCD1209.C01"));
    EXPECT_EQ(cancellation(ead.progressivo)->numeroFlusso, 1);
    EXPECT_EQ(cancellation(ead.progressivo)->stato, " ");
    EXPECT_FALSE(w.isVisible());
}

// From the menus: register an ARC, delete an unsent e-AD, reset an IE815's send data, cancel an
// accepted e-AD, withdraw the cancellation, cancel again, reset a sent IE810's send data.
TEST_F(LifecycleWindows, TheLifecycleFromTheMenus)
{
    writeConfiguration();
    const std::int32_t first = saveSampleEad(ctx, 1, 1).progressivo;
    const std::int32_t second = saveSampleEad(ctx, 1, 2).progressivo;
    const std::int32_t third = saveSampleEad(ctx, 2, 1).progressivo;

    auto run = [&](const char* action, ModalDriver::Step chooser, ModalDriver::Step window, ModalDriver::Step flow = {}) {
        ModalDriver driver;
        driver.on["TFSCEGLIDAA"] = chooser;
        driver.on["TFINS_MOD_CANC_ARC"] = window;
        driver.on["TFCREAFIRMAINVIAIE810"] = flow ? flow : pressEscape();
        runMenuItem(ctx, action);
        EXPECT_FALSE(driver.timedOut) << action;
        return driver.seen;
    };
    auto confirm = [](QWidget* modal, int visit) {
        if (visit == 0)
            altC(modal);
    };

    // "Registra l'ARC dell'e-AD" on the first.
    EXPECT_EQ(run("AREGARC", chooseRow(0),
                  [](QWidget* modal, int visit) {
                      if (visit > 0)
                          return;
                      auto* arc = child(modal, "NUMARC");
                      QTest::keyClicks(arc, Arc);
                      altC(arc);
                  }),
              (QStringList{"TFSCEGLIDAA", "TFINS_MOD_CANC_ARC"}));
    EXPECT_EQ(ctx.OpCode, 'R');
    EXPECT_EQ(stateOf(first), "I");

    // "Cancella e-AD" lists the unsent ones only: the second is the first row.
    run("ACANCIE815", chooseRow(0), confirm);
    EXPECT_EQ(stateOf(second), "-");
    EXPECT_EQ(readLineFile(eadfiles::products(ctx, "2026")).size(), 2) << "the first's and the third's";

    // "Azzera i dati di invio di un IE815" on the first (sent): back to unsent, no ARC.
    run("AANNIE815", chooseRow(0), confirm);
    EXPECT_EQ(stateOf(first), " ");
    EXPECT_EQ(findHeader(eadfiles::headers(ctx, "2026"), first)->ARC.trimmed(), "");

    // Accepted again, then "Annulla un e-AD inviato"; the IE810 window is left for now.
    registerArc(ctx, "2026", first, Arc);
    auto cancel = [](QWidget* modal, int visit) {
        if (visit == 0) {
            QTest::keyClicks(child(modal, "MOTANN"), "1");
            QTest::keyClick(child(modal, "MOTANN"), Qt::Key_Return);
            return;
        }
        QTest::mouseClick(child<QPushButton>(modal, "BCONF"), Qt::LeftButton);
    };
    EXPECT_EQ(run("AINS810", chooseRow(0), cancel),
              (QStringList{"TFSCEGLIDAA", "TFINS_MOD_CANC_ARC", "TFCREAFIRMAINVIAIE810"}));
    EXPECT_EQ(stateOf(first), "0");
    ASSERT_TRUE(cancellation(first));

    // "Cancella l'annullamento di un e-AD": the e-AD is accepted again.
    EXPECT_EQ(run("ACANCANNeAD", chooseRow(0), confirm), (QStringList{"TFSCEGLIDAA", "TFINS_MOD_CANC_ARC"}));
    EXPECT_FALSE(cancellation(first));
    EXPECT_EQ(stateOf(first), "I");

    // Cancel again, then "Crea, Firma e Invia IE810" from the menu, without signing.
    run("AINS810", chooseRow(0), cancel);
    auto flow = [](QWidget* modal, int visit) {
        if (visit == 0) {
            child<QCheckBox>(modal, "CFIRMA")->setChecked(false);
            QTest::keyClick(child(modal, "DATFLU"), Qt::Key_Tab); // proposes the number
            return;
        }
        QTest::mouseClick(child<QPushButton>(modal, "BCONF"), Qt::LeftButton);
    };
    EXPECT_EQ(run("ACRFIIN_810", chooseRow(0), {}, flow), (QStringList{"TFSCEGLIDAA", "TFCREAFIRMAINVIAIE810"}));
    EXPECT_TRUE(QFile::exists(toSign + "/ABCD1209.C01"));
    EXPECT_EQ(cancellation(first)->numeroFlusso, 1);

    // Marked sent elsewhere; "Azzera i dati di invio di un IE810" clears its flow data.
    updateHeaderInPlace(ctx, cancelfiles::cancellations(ctx, "2026"), first, [](TRecEad& c) { c.stato = "I"; });
    run("AAZZIE810", chooseRow(0), confirm);
    EXPECT_EQ(cancellation(first)->stato, " ");
    EXPECT_EQ(cancellation(first)->numeroFlusso, 0);
    EXPECT_EQ(stateOf(third), " ");
    // Each confirmation says what it did; the cancellations go on to their IE810 window instead.
    const QStringList done = {
        QStringLiteral("ARC REGISTRATO: L'e-AD N. %1 RISULTA ACCETTATO").arg(first),
        QStringLiteral("L'e-AD N. %1 E' STATO CANCELLATO").arg(second),
        QStringLiteral("DATI DI INVIO DELL'e-AD N. %1 AZZERATI").arg(first),
        QStringLiteral("L'ANNULLAMENTO DELL'e-AD N. %1 E' STATO CANCELLATO").arg(first),
        QStringLiteral("DATI DI INVIO DELL'IE810 DELL'e-AD N. %1 AZZERATI").arg(first),
    };
    EXPECT_EQ(t.messenger.infos, done) << t.messenger.infos.join("|").toStdString();
}

TEST_F(LifecycleWindows, AChosenRecordThatIsGoneIsReported)
{
    writeConfiguration();
    const TRecEad ead = saveSampleEad(ctx, 1, 1);
    ModalDriver driver;
    bool deleted = false;
    driver.on["TFSCEGLIDAA"] = [&](QWidget* modal, int visit) {
        auto* list = modal->findChild<QTreeWidget*>("LISTA");
        if (visit == 0) {
            list->setFocus();
            return;
        }
        if (list->topLevelItemCount() == 0)
            return;
        if (!deleted) // another workstation, while the list is shown
            deleteUnsentEad(ctx, "2026", ead.progressivo);
        deleted = true;
        list->setCurrentItem(list->topLevelItem(0));
        QTest::keyClick(list, Qt::Key_Return);
    };
    runMenuItem(ctx, "ACANCIE815");
    EXPECT_EQ(driver.seen, QStringList{"TFSCEGLIDAA"});
    EXPECT_EQ(t.messenger.infos,
              QStringList{"L'e-AD N. 1 DEL 2026 NON E' PIU' PRESENTE (UN'ALTRA POSTAZIONE LO HA CANCELLATO?)"});
}

TEST_F(LifecycleWindows, TheReportOfReceiptModesGoThroughTheChooser)
{
    writeConfiguration();
    for (const char* action : {"ACANC_IE818", "AAZZRIF_IE818"}) {
        t.messenger.infos.clear();
        ModalDriver driver;
        driver.on["TFSCEGLIDAA"] = pressEscape();
        runMenuItem(ctx, action);
        EXPECT_EQ(driver.seen, QStringList{"TFSCEGLIDAA"}) << action;
        EXPECT_TRUE(t.messenger.infos.isEmpty()) << action << t.messenger.infos.join("|").toStdString();
    }
}

// The whole road of a cancellation: an accepted e-AD cancelled from the menu, its IE810 written,
// signed by the signing stand-in, sent to the customs stand-in on loopback HTTPS in the test and
// then the real environment, and the cancellation marked sent.
TEST_F(LifecycleWindows, CancelAndSendTheIe810WithTheStandins)
{
    QTemporaryDir standinDir;
    CustomsStandin standin(standinDir.path());
    ASSERT_TRUE(standin.running()) << standin.error().toStdString();
    SigningFolder signing(t.path("firma"));
    ctx.AppConfig.Fld[0] = signing.program;
    ctx.AppConfig.Fld[1] = signing.toSign;
    ctx.AppConfig.Fld[2] = signing.signedDir;
    ctx.CustomsCaFile = standin.caFile();
    writeConfiguration(standin.host());
    t.shell.answer = true;
    t.shell.onStart = [](const QString& program) { QProcess::startDetached(program, {}); };
    TFTELEMATICO::setWaitInterval(100);
    const TRecEad ead = acceptedEad();
    t.messenger.answers = {true}; // accepted in test: send it for real

    ModalDriver driver;
    driver.on["TFSCEGLIDAA"] = chooseRow(0);
    driver.on["TFINS_MOD_CANC_ARC"] = [](QWidget* modal, int visit) {
        if (visit == 0) {
            QTest::keyClicks(child(modal, "MOTANN"), "2");
            QTest::keyClick(child(modal, "MOTANN"), Qt::Key_Return);
        } else if (visit == 1) {
            altC(child(modal, "NOTMOT"));
        }
    };
    driver.on["TFCREAFIRMAINVIAIE810"] = [](QWidget* modal, int visit) {
        if (visit == 0)
            QTest::keyClick(child(modal, "DATFLU"), Qt::Key_Tab); // proposes the number
        else if (visit == 1)
            QTest::mouseClick(child<QPushButton>(modal, "BCONF"), Qt::LeftButton);
    };
    driver.on["TFTELEMATICO"] = [&](QWidget* modal, int) {
        sendInTestThenReal(modal, ctx.Transmit, "TFTELEMATICO-IE810.png");
    };
    runMenuItem(ctx, "AINS810");
    TFTELEMATICO::setWaitInterval(1000);

    EXPECT_FALSE(driver.timedOut);
    EXPECT_EQ(driver.seen, (QStringList{"TFSCEGLIDAA", "TFINS_MOD_CANC_ARC", "TFCREAFIRMAINVIAIE810", "TFTELEMATICO"}));
    EXPECT_TRUE(ctx.Transmit.positiveRealOutcome) << t.messenger.all.join("|").toStdString();
    EXPECT_EQ(ctx.Transmit.kind, FlowKind::IE810);
    EXPECT_TRUE(QFile::exists(signing.signedDir + "ABCD1209.C01.p7m"));

    // The cancellation as stored: flow number 1 (int32 at 72), state "I" (s[1] at 76).
    const QList<QByteArray> records = RecordFile(cancelfiles::cancellations(ctx, "2026"), TRecEad::Size).readAll();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(codec::getI32(records[0], 0), ead.progressivo);
    EXPECT_EQ(codec::getI32(records[0], 72), 1);
    EXPECT_EQ(records[0].mid(76, 2), QByteArray("\x01I", 2));
    EXPECT_EQ(stateOf(ead.progressivo), "0");

    // vt-inspect shows the cancellation with its field names.
    QProcess inspect;
    inspect.start(QDir(buildDir()).filePath("vt-inspect"), {cancelfiles::cancellations(ctx, "2026")});
    ASSERT_TRUE(inspect.waitForFinished(20000));
    const QJsonObject shown = QJsonDocument::fromJson(inspect.readAllStandardOutput().split('\n').first()).object();
    EXPECT_EQ(shown.value("_kind").toString(), "cancellation (IE810)");
    EXPECT_EQ(shown.value("MOTANN").toString(), "2");
    EXPECT_EQ(shown.value("descrizioneMotivo").toString(), "Transazione commerciale interrotta");
    EXPECT_EQ(shown.value("linguaNota").toString(), "it");
    EXPECT_EQ(shown.value("ARC").toString(), Arc);
    EXPECT_EQ(shown.value("stato").toString(), "I");
    EXPECT_EQ(shown.value("numeroFlusso").toInt(), 1);
}

// A change of destination from the menus: its IE813 written without signing, its send data reset
// once sent, then (unsent again) deleted with its transport details.
TEST_F(LifecycleWindows, AChangeOfDestinationFromTheMenus)
{
    writeConfiguration();
    const TRecEad ead = acceptedEad();
    TRecEad change = blankEad();
    change.progressivo = 1;
    change.progressivoRif = ead.progressivo;
    change.LINGUA = "it";
    change.stato = " ";
    change.ARC = Arc;
    change.TIPDES = "8";
    change.RESTRA = "1";
    change.MODTRA = "3";
    change.durata = 2;
    change.NUMFAT = "F77/2026";
    change.DATFAT = dates::fromDate(QDate(2026, 12, 9));
    change.DATSPE = ead.DATSPE;
    RecordFile(changefiles::changes(ctx, "2026"), TRecEad::Size).append(encodeEad(change));
    TRecDettaglio detail = blankLine();
    detail.numero = 1;
    detail.progressivo = 1;
    detail.UNITRA() = "1";
    detail.IDUNTR() = "AB123CD";
    RecordFile(changefiles::details(ctx, "2026"), TRecDettaglio::Size).append(encodeLine(detail));
    auto changeNow = [&] { return findHeader(changefiles::changes(ctx, "2026"), 1); };

    {
        ModalDriver driver;
        driver.on["TFSCEGLIDAA"] = chooseRow(0);
        QString summary;
        driver.on["TFCREAFIRMAINVIAIE813"] = [&](QWidget* modal, int visit) {
            if (visit == 0) {
                summary = child<QTextEdit>(modal, "RIEPILOGO")->toPlainText();
                child<QCheckBox>(modal, "CFIRMA")->setChecked(false);
                QTest::keyClick(child(modal, "DATFLU"), Qt::Key_Tab);
            } else if (visit == 1) {
                QTest::mouseClick(child<QPushButton>(modal, "BCONF"), Qt::LeftButton);
            }
        };
        runMenuItem(ctx, "ACRFIIN_813");
        EXPECT_EQ(driver.seen, (QStringList{"TFSCEGLIDAA", "TFCREAFIRMAINVIAIE813"})) << t.messenger.infos.join("|").toStdString();
        EXPECT_TRUE(summary.startsWith("Fattura n. F77/2026 del 09/12/2026\n")) << summary.toStdString();
        EXPECT_TRUE(summary.contains("  Unità Trasporto: 1 - Identificativo: AB123CD")) << summary.toStdString();
    }
    QFile flowFile(toSign + "/ABCD1209.C01");
    ASSERT_TRUE(flowFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(flowFile.readAll().contains("IE813IT00FIT00012S     " + Arc.toLatin1() + "20261209E\t0001\t"));
    EXPECT_EQ(changeNow()->numeroFlusso, 1);

    updateHeaderInPlace(ctx, changefiles::changes(ctx, "2026"), 1, [](TRecEad& c) { c.stato = "I"; });
    {
        ModalDriver driver;
        driver.on["TFSCEGLIDAA"] = chooseRow(0);
        QString caption;
        driver.on["TFINS_MOD_CANC_ARC"] = [&](QWidget* modal, int visit) {
            caption = modal->windowTitle();
            if (visit == 0)
                altC(modal);
        };
        runMenuItem(ctx, "AAZZIN_813");
        EXPECT_EQ(caption, "Cancella i Riferimenti di un flusso IE813 inviato");
    }
    EXPECT_EQ(changeNow()->stato, " ");
    EXPECT_EQ(changeNow()->numeroFlusso, 0);

    {
        ModalDriver driver;
        driver.on["TFSCEGLIDAA"] = chooseRow(0);
        driver.on["TFINS_MOD_CANC_ARC"] = [&](QWidget* modal, int visit) {
            if (visit == 0)
                altC(modal);
        };
        runMenuItem(ctx, "AANNCAMBDEST");
        EXPECT_EQ(driver.seen, (QStringList{"TFSCEGLIDAA", "TFINS_MOD_CANC_ARC"}));
    }
    EXPECT_FALSE(changeNow());
    EXPECT_TRUE(readLineFile(changefiles::details(ctx, "2026")).isEmpty());
    EXPECT_EQ(t.messenger.infos, (QStringList{"DATI DI INVIO DEL CAMBIO DI DESTINAZIONE N. 1 AZZERATI",
                                              "IL CAMBIO DI DESTINAZIONE N. 1 E' STATO CANCELLATO"}))
        << t.messenger.infos.join("|").toStdString();
}

TEST_F(LifecycleWindows, TheReportOfSentCancellationsFromTheMenu)
{
    const TRecEad ead = acceptedEad();
    prepareCancellation(ctx, "2026", ead.progressivo, {"1", "Errore di digitazione", "", "it"});
    updateHeaderInPlace(ctx, cancelfiles::cancellations(ctx, "2026"), ead.progressivo, [](TRecEad& c) {
        c.dataFlusso = dates::fromDate(QDate(2026, 12, 9));
        c.numeroFlusso = 4;
        c.stato = "I";
    });
    ModalDriver driver;
    QString caption, shown, afterPeriod;
    driver.on["TFRICIE815"] = [&](QWidget* modal, int visit) {
        if (visit == 0) {
            caption = modal->windowTitle();
            shown = child<QTextEdit>(modal, "Rich815")->toPlainText();
            // A period that ends before the flow: the row goes.
            auto* to = child(modal, "ALLA");
            to->setFocus();
            to->selectAll();
            QTest::keyClicks(to, "08122026");
            QTest::keyClick(to, Qt::Key_Tab);
        } else if (visit == 1) {
            afterPeriod = child<QTextEdit>(modal, "Rich815")->toPlainText();
            QTest::keyClick(modal, Qt::Key_Escape);
        }
    };
    runMenuItem(ctx, "ARICIE810");
    EXPECT_EQ(caption, "Ricerca dei flussi IE810 inviati");
    EXPECT_TRUE(shown.startsWith("  MESSAGGI IE810 INVIATI DAL 01/12/2026  AL 09/12/2026 RIFERITI ALLE SPEDIZIONI DEL 2026\n"))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains("|09/12/2026| 4 |1 Errore di digitazione   |" + Arc + "|09/12/2026|")) << shown.toStdString();
    EXPECT_FALSE(afterPeriod.contains(Arc)) << afterPeriod.toStdString();
    EXPECT_TRUE(afterPeriod.contains("AL 08/12/2026")) << afterPeriod.toStdString();
}

// The chooser sizes itself to its columns once its list is built; it stays centred and on the
// screen, however long the rows.
TEST_F(LifecycleWindows, TheChooserStaysCentredOnTheScreen)
{
    writeConfiguration();
    for (int i = 0; i < 2; ++i) {
        const TRecEad ead = acceptedEad();
        updateEadInPlace(ctx, "2026", ead.progressivo, [](TRecEad& h) {
            h.NUMFAT = QString(35, QLatin1Char('F'));
            h.DENDES = QString(100, QLatin1Char('D'));
            h.CITDES = QString(50, QLatin1Char('C'));
        });
    }
    QRect area, geometry;
    ModalDriver driver;
    driver.on["TFSCEGLIDAA"] = [&](QWidget* modal, int visit) {
        auto* list = modal->findChild<QTreeWidget*>("LISTA");
        if (visit == 0) {
            list->setFocus();
            return;
        }
        if (visit == 1) {
            area = modal->screen()->availableGeometry();
            geometry = modal->frameGeometry();
            QTest::keyClick(modal, Qt::Key_Escape);
        }
    };
    runMenuItem(ctx, "AINS810");
    EXPECT_FALSE(driver.timedOut);
    ASSERT_TRUE(area.isValid());
    EXPECT_TRUE(area.adjusted(-2, -2, 2, 2).contains(geometry)) << geometry.x() << "," << geometry.y() << " " << geometry.width() << "x" << geometry.height() << " on " << area.x() << "," << area.y() << " " << area.width() << "x" << area.height();
    EXPECT_LE(std::abs(geometry.center().x() - area.center().x()), 2);
    EXPECT_LE(std::abs(geometry.center().y() - area.center().y()), 2);
}

// "Annulla un e-AD inviato" on an e-AD the customs system never accepted: either not offered at
// all, or refused with its reason before the clerk types anything; nothing written.
TEST_F(LifecycleWindows, AnEadWithoutArcIsNotOfferedForCancellation)
{
    writeConfiguration();
    const std::int32_t unsent = saveSampleEad(ctx, 1, 1).progressivo;
    ModalDriver driver;
    driver.on["TFSCEGLIDAA"] = [](QWidget* modal, int visit) {
        auto* list = modal->findChild<QTreeWidget*>("LISTA");
        if (visit == 0) {
            list->setFocus();
            return;
        }
        if (list->topLevelItemCount() == 0) {
            QTest::keyClick(modal, Qt::Key_Escape);
            return;
        }
        list->setCurrentItem(list->topLevelItem(0));
        QTest::keyClick(list, Qt::Key_Return);
    };
    driver.on["TFINS_MOD_CANC_ARC"] = pressEscape();
    runMenuItem(ctx, "AINS810");
    EXPECT_FALSE(driver.timedOut);
    EXPECT_EQ(driver.seen, QStringList{"TFSCEGLIDAA"});
    const QString refusal = QStringLiteral("L'e-AD N. %1 NON HA IL NUMERO DI ARC: NON E' STATO ACCETTATO DAL SISTEMA "
                                           "TELEMATICO E NON PUO' ESSERE ANNULLATO")
                                .arg(unsent);
    EXPECT_TRUE(t.messenger.infos.isEmpty() || t.messenger.infos == QStringList{refusal})
        << t.messenger.infos.join("|").toStdString();
    EXPECT_EQ(stateOf(unsent), " ");
    EXPECT_FALSE(cancellation(unsent));
}
