// The transmission window offscreen, against a customs service in memory: the wait for the signed
// file, test then real, the ARC of an IE815, the failures and their messages, abandoning.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "foundation/IoError.h"
#include "messages/transmission/TFTELEMATICO.h"
#include "support/FakeCustoms.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

const QString RealHost = "reale.dogane.test";
const QString TestHost = "prova.dogane.test:8443";
const QString Arc = "26ITABC000000000001X7"; // 21 characters

// An outcome line of the message layout, written by position: 1-5 "I0001", 46 record type,
// 47-50 its number, 51 the verdict, 52 on what follows it, notes from 112.
QByteArray outcomeLine(char verdict, const QString& from52)
{
    QString line = "I0001" + QString(40, ' ') + "A" + "0001" + QChar(verdict) + from52;
    return line.toLatin1();
}
QByteArray positiveIe815(const QString& arc)
{
    return outcomeLine('P', arc + QString(39, ' ') + "PRESO IN CARICO") + "\r\n";
}
QByteArray negativeLine()
{
    // 52 secondary type, 53-55, 56, 57-59, 60-63, 64-113 field description, 114, 115-117, 118 on.
    return outcomeLine('N', "B001C0010001" + QString("CODICE ACCISA").leftJustified(50, ' ') + "E" + "123"
                                + "CODICE NON VALIDO")
           + "\r\n";
}

struct TransmissionWindow : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    FakeCustomsService service;
    QString signedDir;

    static void SetUpTestSuite() { TFTELEMATICO::setWaitInterval(20); }
    static void TearDownTestSuite() { TFTELEMATICO::setWaitInterval(1000); }

    void SetUp() override
    {
        signedDir = t.path("fv/firmati");
        QDir().mkpath(signedDir);
        QDir().mkpath(ctx.TempFolder);
        ctx.AppConfig.Fld[1] = t.path("fv/dafirmare/");
        ctx.AppConfig.Fld[2] = signedDir + "/";
        ctx.WebConfig.Fld[3] = "https://edi.reale.test";
        ctx.WebConfig.Fld[4] = "https://emcs.reale.test";
        ctx.WebConfig.Fld[5] = "https://edi.prova.test";
        ctx.WebConfig.Fld[8] = RealHost;
        ctx.WebConfig.Fld[9] = TestHost;
        ctx.Customs = &service;
        ctx.Transmit = Transmission{};
        ctx.Transmit.kind = FlowKind::IE815;
        ctx.Transmit.flowName = "ABCD1209.C03";
    }

    void writeSigned(const QByteArray& bytes = "FIRMATO")
    {
        QFile f(signedDir + "/ABCD1209.C03.p7m");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    template <class T>
    T* child(QWidget& w, const char* name)
    {
        T* c = w.findChild<T*>(name);
        EXPECT_TRUE(c) << name;
        return c;
    }

    // Processes events until cond holds (at most 5 s).
    template <class Cond>
    bool waitFor(Cond cond)
    {
        QElapsedTimer clock;
        clock.start();
        while (!cond() && clock.elapsed() < 5000)
            QTest::qWait(10);
        return cond();
    }

    // The window shown, the signed file already there and seen.
    std::unique_ptr<TFTELEMATICO> signedWindow()
    {
        writeSigned();
        auto w = std::make_unique<TFTELEMATICO>(ctx);
        w->show();
        EXPECT_TRUE(waitFor([&] { return ctx.Transmit.signedSeen; }));
        return w;
    }

    void confirmIn(TFTELEMATICO& w, const char* environment)
    {
        child<QRadioButton>(w, environment)->setChecked(true);
        QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);
    }
};

TEST_F(TransmissionWindow, WaitsForTheSignedFileCountingRounds)
{
    TFTELEMATICO w(ctx);
    w.show();
    EXPECT_EQ(w.windowTitle(), "SERVIZIO TELEMATICO DOGANALE - TRASMISSIONE FILE");
    EXPECT_EQ(child<QLabel>(w, "LATTESA")->text(), "Attesa del file firmato: ");
    EXPECT_EQ(child<QRadioButton>(w, "RPROVA")->text(), "Invia nell'ambiente di PROVA ");
    EXPECT_EQ(child<QRadioButton>(w, "RREALE")->text(), "Invia nell'ambiente REALE");
    EXPECT_EQ(child<QPushButton>(w, "BEDI")->text(), "Interroga E.D.I.");
    const QString expected = QDir::toNativeSeparators(signedDir + "/ABCD1209.C03.p7m");
    EXPECT_EQ(child<QLabel>(w, "LCONTA")->text(), expected + " - 1");
    EXPECT_FALSE(child<QGroupBox>(w, "GAMBIENTE")->isVisible());
    EXPECT_FALSE(child<QLabel>(w, "LFIRMATO")->isVisible());

    ASSERT_TRUE(waitFor([&] { return child<QLabel>(w, "LCONTA")->text().endsWith(" - 3"); }));
    w.grab().save(QDir::temp().filePath("TFTELEMATICO-attesa.png"));
    EXPECT_FALSE(ctx.Transmit.signedSeen);

    writeSigned();
    ASSERT_TRUE(waitFor([&] { return ctx.Transmit.signedSeen; }));
    EXPECT_TRUE(child<QGroupBox>(w, "GAMBIENTE")->isVisible());
    EXPECT_TRUE(child<QLabel>(w, "LFIRMATO")->isVisible());
    EXPECT_EQ(child<QLabel>(w, "LNOMEFILE")->text(), "ABCD1209.C03");
    EXPECT_FALSE(child<QLabel>(w, "LATTESA")->isVisible());
    EXPECT_FALSE(child<QRadioButton>(w, "RPROVA")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(w, "RREALE")->isChecked());
}

TEST_F(TransmissionWindow, AbandonWhileWaitingLeavesNothingSent)
{
    TFTELEMATICO w(ctx);
    w.show();
    QTest::mouseClick(child<QPushButton>(w, "BABBANDONA"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(ctx.Transmit.abandoned);
    EXPECT_FALSE(ctx.Transmit.positiveRealOutcome);
    EXPECT_TRUE(service.puts().empty());
}

// Either environment is chosen from the keyboard: Alt+R and Alt+P.
TEST_F(TransmissionWindow, AltKeysChooseTheEnvironment)
{
    auto w = signedWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QTest::keyClick(w.get(), Qt::Key_R, Qt::AltModifier);
    QTest::qWait(250); // the button's press animation
    EXPECT_TRUE(child<QRadioButton>(*w, "RREALE")->isChecked());
    QTest::keyClick(w.get(), Qt::Key_P, Qt::AltModifier);
    QTest::qWait(250);
    EXPECT_TRUE(child<QRadioButton>(*w, "RPROVA")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(*w, "RREALE")->isChecked());
    EXPECT_TRUE(service.puts().empty()); // choosing sends nothing
}

TEST_F(TransmissionWindow, ConfirmBeforeSignatureOrEnvironmentOnlyWarns)
{
    TFTELEMATICO w(ctx);
    w.show();
    QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);
    EXPECT_EQ(t.messenger.infos, QStringList{"Il flusso non è stato firmato !"});

    writeSigned();
    ASSERT_TRUE(waitFor([&] { return ctx.Transmit.signedSeen; }));
    t.messenger.infos.clear();
    QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);
    EXPECT_EQ(t.messenger.infos, QStringList{"Non è stato selezionato l'ambiente per l'invio"});
    EXPECT_TRUE(service.puts().empty());
}

TEST_F(TransmissionWindow, TestThenRealGivesTheArcToTheCaller)
{
    service.attachments[TestHost] = positiveIe815("26ITPROVA00000000000T");
    service.attachments[RealHost] = "righe ignorate\r\n" + positiveIe815(Arc);
    t.messenger.answers = {true, true}; // send to the real environment; open the E.M.C.S.
    auto w = signedWindow();
    confirmIn(*w, "RPROVA");

    const auto puts = service.puts();
    ASSERT_EQ(puts.size(), 2u);
    EXPECT_EQ(puts[0].host, TestHost);
    EXPECT_EQ(puts[1].host, RealHost);
    for (const auto& p : puts) {
        EXPECT_EQ(p.name, "ABCD1209.C03.p7m");
        EXPECT_EQ(p.content, QByteArray("FIRMATO"));
    }
    const auto gets = service.gets();
    ASSERT_EQ(gets.size(), 2u);
    EXPECT_EQ(gets[0].host, TestHost);
    EXPECT_EQ(gets[1].host, RealHost);
    EXPECT_EQ(gets[1].name, "ABCD1209.J03.p7m");

    EXPECT_EQ(t.messenger.all,
              (QStringList{"risposta del webservice: File ricevuto con successo",
                           "Il file è stato accettato nell'ambiente di prova!  PREMI \"OK\" PER INVIARLO NELL'AMBIENTE REALE",
                           "risposta del webservice: File ricevuto con successo",
                           "ARC ATTRIBUITO: " + Arc + " - PREMI \"OK\" PER APRIRE L'E.M.C.S."}));
    EXPECT_TRUE(ctx.Transmit.realSendDone);
    EXPECT_TRUE(ctx.Transmit.positiveRealOutcome);
    EXPECT_EQ(ctx.Transmit.arc, Arc);
    EXPECT_EQ(ctx.EadHeader.ARC, Arc);
    EXPECT_TRUE(ctx.LastPutReal);
    EXPECT_EQ(t.shell.urls, QStringList{"https://emcs.reale.test"});
    EXPECT_TRUE(child<QRadioButton>(*w, "RREALE")->isChecked());
    EXPECT_TRUE(child<QTextEdit>(*w, "RICHED")->toPlainText().startsWith("ARC ATTRIBUITO:  " + Arc + "\n   *** ESITO POSITIVO *** "));
    w->grab().save(QDir::temp().filePath("TFTELEMATICO-esito.png"));

    // The details are the ones of DETTAGLI.TXT.
    QFile details(QDir(ctx.TempFolder).filePath("DETTAGLI.TXT"));
    ASSERT_TRUE(details.open(QIODevice::ReadOnly));
    EXPECT_TRUE(details.readAll().startsWith("ARC ATTRIBUITO:  " + Arc.toLatin1() + "\r\n"));

    // A second confirmation, by click or Alt+C, asks first: "No" (the default) sends nothing.
    const auto putsBefore = service.puts().size();
    for (int round = 0; round < 2; ++round) {
        t.messenger.all.clear();
        t.messenger.answers = {false};
        if (round == 0) {
            QTest::mouseClick(child<QPushButton>(*w, "BCONF"), Qt::LeftButton);
        } else {
            QTest::keyClick(child<QTextEdit>(*w, "RICHED"), Qt::Key_C, Qt::AltModifier);
            QTest::qWait(300); // a mnemonic clicks its button a moment later
        }
        EXPECT_EQ(t.messenger.all, QStringList{"Flusso già inviato !  PREMI \"OK\" PER INVIARLO DI NUOVO"});
        EXPECT_EQ(service.puts().size(), putsBefore);
        EXPECT_TRUE(w->isVisible());
    }

    // Closing keeps the outcome for the flow window.
    QTest::mouseClick(child<QPushButton>(*w, "BABBANDONA"), Qt::LeftButton);
    EXPECT_TRUE(ctx.Transmit.positiveRealOutcome);
}

TEST_F(TransmissionWindow, OtherKindsArePositiveWithoutArc)
{
    ctx.Transmit.kind = FlowKind::IE810;
    service.attachments[RealHost] = outcomeLine('P', QString(60, ' ')) + "\r\n";
    auto w = signedWindow();
    confirmIn(*w, "RREALE");
    EXPECT_TRUE(ctx.Transmit.positiveRealOutcome);
    EXPECT_TRUE(ctx.Transmit.arc.isEmpty());
    EXPECT_TRUE(t.messenger.questions.isEmpty());
    EXPECT_TRUE(child<QTextEdit>(*w, "RICHED")->toPlainText().startsWith("   *** ESITO POSITIVO *** "));
}

TEST_F(TransmissionWindow, NegativeOutcomeInTestStopsThere)
{
    service.attachments[TestHost] = negativeLine();
    auto w = signedWindow();
    confirmIn(*w, "RPROVA");
    EXPECT_EQ(service.puts().size(), 1u);
    EXPECT_EQ(t.messenger.infos.last(), "Il file contiene errori.");
    EXPECT_TRUE(t.messenger.questions.isEmpty());
    EXPECT_FALSE(ctx.Transmit.positiveRealOutcome);
    EXPECT_FALSE(ctx.LastPutReal);
    const QString details = child<QTextEdit>(*w, "RICHED")->toPlainText();
    EXPECT_TRUE(details.contains("DESCRIZ. ERRORE CODICE NON VALIDO")) << details.toStdString();
}

TEST_F(TransmissionWindow, NegativeOutcomeInRealStoresNothing)
{
    service.attachments[RealHost] = negativeLine();
    auto w = signedWindow();
    confirmIn(*w, "RREALE");
    EXPECT_TRUE(ctx.Transmit.realSendDone);
    EXPECT_FALSE(ctx.Transmit.positiveRealOutcome);
    EXPECT_TRUE(ctx.Transmit.arc.isEmpty());
    EXPECT_TRUE(t.messenger.questions.isEmpty());
}

TEST_F(TransmissionWindow, FailedCallsGiveTheirMessages)
{
    struct Case {
        const char* what;
        bool putFails;
        QString putAnswer;
        int getFailures;
        QStringList infos;
        size_t gets;
    };
    const QString attempt = ", verifica la disponibilità del sito delle dogane";
    const std::vector<Case> cases = {
        {"put fails", true, "", 0,
         {"Errore di connessione, verifica la disponibilità del sito delle dogane", "risposta del webservice: ERRORE"}, 0},
        {"put refused", false, "File rifiutato", 0, {"risposta del webservice: File rifiutato"}, 0},
        {"put answers insuccesso", false, "Invio concluso con insuccesso", 0,
         {"risposta del webservice: Invio concluso con insuccesso"}, 0},
        {"get fails three times", false, "ok con successo", 5,
         {"risposta del webservice: ok con successo", "Tentativo di connessione N. 1" + attempt,
          "Tentativo di connessione N. 2" + attempt, "Tentativo di connessione N. 3" + attempt,
          "Il file contiene errori."},
         3},
        {"get answers at the second attempt", false, "ok con successo", 1,
         {"risposta del webservice: ok con successo", "Tentativo di connessione N. 1" + attempt, "Il file contiene errori."},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeCustomsService fresh;
        fresh.putFails = c.putFails;
        if (!c.putAnswer.isEmpty())
            fresh.putAnswer = c.putAnswer;
        fresh.getFailures = c.getFailures;
        ctx.Customs = &fresh;
        t.messenger.infos.clear();
        auto w = signedWindow();
        confirmIn(*w, "RPROVA");
        EXPECT_EQ(t.messenger.infos, c.infos);
        EXPECT_EQ(fresh.gets().size(), c.gets);
        if (c.gets > 0) {
            QFile details(QDir(ctx.TempFolder).filePath("DETTAGLI.TXT"));
            ASSERT_TRUE(details.open(QIODevice::ReadOnly));
            EXPECT_EQ(details.readAll(), " -- DETTAGLI NON PERVENUTI DAL WEBSERVICE -- \r\n"
                                         "    Interroga il sistema telematico doganale E.D.I. per l'esito. \r\n");
        }
    }
}

TEST_F(TransmissionWindow, MissingServiceAddressIsSaidAndNothingIsCalled)
{
    ctx.WebConfig.Fld[9] = "";
    auto w = signedWindow();
    confirmIn(*w, "RPROVA");
    ASSERT_EQ(t.messenger.infos.size(), 1);
    EXPECT_TRUE(t.messenger.infos[0].contains("SERVIZIO TELEMATICO FILE (PROVA)"));
    EXPECT_TRUE(service.puts().empty());
}

TEST_F(TransmissionWindow, EdiOpensTheEnvironmentOfTheLastPut)
{
    auto w = signedWindow();
    QTest::mouseClick(child<QPushButton>(*w, "BEDI"), Qt::LeftButton);
    EXPECT_EQ(t.shell.urls, QStringList{"https://edi.prova.test"});
    confirmIn(*w, "RREALE");
    t.shell.urls.clear();
    QTest::mouseClick(child<QPushButton>(*w, "BEDI"), Qt::LeftButton);
    EXPECT_EQ(t.shell.urls, QStringList{"https://edi.reale.test"});
}

// Abandons while the put runs on its thread: the click is made, then the put let go.
void abandonDuringPut(TFTELEMATICO& w, QSemaphore& gate, bool& busyShown)
{
    QTimer::singleShot(20, [&] {
        busyShown = !w.findChild<QPushButton*>("BCONF")->isEnabled()
                    && !w.findChild<QLabel*>("LOCCUPATO")->text().isEmpty();
        QTest::mouseClick(w.findChild<QPushButton*>("BABBANDONA"), Qt::LeftButton);
        busyShown = busyShown && w.isVisible(); // closes only once the call has returned
        gate.release();
    });
}

// "&Abbandona" during the real put: the put cannot be taken back, so once it turns out to have
// been taken in charge the outcome is fetched all the same, a positive one is recorded before the
// window closes, and the user is told what became of the flow.
TEST_F(TransmissionWindow, AbandonDuringTheRealPutStillRecordsAnAcceptedFlow)
{
    struct Case {
        const char* what;
        FlowKind kind;
        QString putAnswer;
        QByteArray attachment;
        size_t gets;
        bool positive;
        QString arc;
        QStringList stored; // what the flow window's store received, while the window was open
        QString told;       // the last message
    };
    const std::vector<Case> cases = {
        {"IE815 accepted", FlowKind::IE815, "File ricevuto con successo", positiveIe815(Arc), 1, true, Arc, {Arc},
         "IL FLUSSO E' STATO ACCETTATO NELL'AMBIENTE REALE. ARC ATTRIBUITO: " + Arc},
        {"IE810 accepted", FlowKind::IE810, "File ricevuto con successo", outcomeLine('P', QString(60, ' ')) + "\r\n",
         1, true, "", {""}, "IL FLUSSO E' STATO ACCETTATO NELL'AMBIENTE REALE (ESITO POSITIVO)"},
        {"IE815 refused in the outcome", FlowKind::IE815, "File ricevuto con successo", negativeLine(), 1, false, "", {},
         "IL FLUSSO E' STATO INVIATO NELL'AMBIENTE REALE MA L'ESITO E' NEGATIVO O NON E' PERVENUTO: "
         "INTERROGARE IL SISTEMA TELEMATICO DOGANALE E.D.I. PER L'ESITO"},
        {"put not taken in charge", FlowKind::IE815, "Invio concluso con insuccesso", positiveIe815(Arc), 0, false, "",
         {}, "risposta del webservice: Invio concluso con insuccesso"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeCustomsService fresh;
        QSemaphore gate;
        fresh.putGate = &gate;
        fresh.putAnswer = c.putAnswer;
        fresh.attachments[RealHost] = c.attachment;
        ctx.Customs = &fresh;
        ctx.Transmit = Transmission{};
        ctx.Transmit.kind = c.kind;
        ctx.Transmit.flowName = "ABCD1209.C03";
        ctx.EadHeader.ARC = QString(21, ' ');
        t.messenger.infos.clear();
        t.messenger.questions.clear();
        auto w = signedWindow();
        QStringList stored;
        bool openWhenStored = true;
        ctx.Transmit.storeOutcome = [&](const QString& arc) {
            stored << arc;
            openWhenStored = openWhenStored && w->isVisible();
        };
        bool busyShown = false;
        abandonDuringPut(*w, gate, busyShown);
        confirmIn(*w, "RREALE");

        EXPECT_TRUE(busyShown);
        EXPECT_FALSE(w->isVisible());
        EXPECT_TRUE(ctx.Transmit.abandoned);
        EXPECT_EQ(fresh.puts().size(), 1u);
        EXPECT_EQ(fresh.gets().size(), c.gets);
        EXPECT_EQ(ctx.Transmit.positiveRealOutcome, c.positive);
        EXPECT_EQ(ctx.Transmit.arc, c.arc);
        EXPECT_EQ(stored, c.stored);
        EXPECT_TRUE(openWhenStored);
        EXPECT_EQ(ctx.Transmit.outcomeStored, !c.stored.isEmpty());
        if (c.kind == FlowKind::IE815 && c.positive) {
            EXPECT_EQ(ctx.EadHeader.ARC, Arc);
        }
        ASSERT_FALSE(t.messenger.infos.isEmpty());
        EXPECT_EQ(t.messenger.infos.last(), c.told);
        EXPECT_TRUE(t.messenger.questions.isEmpty()) << "nothing asked of a user who has left";
    }
}

TEST_F(TransmissionWindow, AbandonDuringTheTestPutSendsNothingMore)
{
    QSemaphore gate;
    service.putGate = &gate;
    service.attachments[TestHost] = positiveIe815("26ITPROVA00000000000T");
    t.messenger.defaultAnswer = true; // would send it for real if asked
    auto w = signedWindow();
    bool busyShown = false;
    abandonDuringPut(*w, gate, busyShown);
    confirmIn(*w, "RPROVA");
    EXPECT_TRUE(busyShown);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(service.puts().size(), 1u);
    EXPECT_TRUE(service.gets().empty());
    EXPECT_FALSE(ctx.Transmit.positiveRealOutcome);
    EXPECT_FALSE(ctx.Transmit.realSendDone);
}

// A second confirmation after a positive real outcome sends again, as the user asks; whatever
// that send answers, the ARC received first stays, in the outcome and in the header in hand, and
// is recorded once.
TEST_F(TransmissionWindow, ASecondSendNeverLosesTheArcAlreadyReceived)
{
    struct Case {
        const char* what;
        std::function<void(FakeCustomsService&)> secondAnswer;
        QString told; // a message the second send gives, if any
    };
    const QString other = "26ITC9999999999999990";
    const std::vector<Case> cases = {
        {"put fails", [](FakeCustomsService& s) { s.putFails = true; }, "risposta del webservice: ERRORE"},
        {"put not taken in charge", [](FakeCustomsService& s) { s.putAnswer = "Invio concluso con insuccesso"; },
         "risposta del webservice: Invio concluso con insuccesso"},
        {"negative outcome (duplicate)", [](FakeCustomsService& s) { s.attachments[RealHost] = negativeLine(); },
         "IL FLUSSO ERA GIA' STATO ACCETTATO NELL'AMBIENTE REALE CON L'ARC " + Arc
             + ": L'ESITO DEL NUOVO INVIO NON LO CAMBIA"},
        {"no outcome", [](FakeCustomsService& s) { s.getFailures = 3; },
         "IL FLUSSO ERA GIA' STATO ACCETTATO NELL'AMBIENTE REALE CON L'ARC " + Arc
             + ": L'ESITO DEL NUOVO INVIO NON LO CAMBIA"},
        {"positive with a blank ARC",
         [](FakeCustomsService& s) { s.attachments[RealHost] = positiveIe815(QString(21, ' ')); }, ""},
        {"positive with another ARC", [&](FakeCustomsService& s) { s.attachments[RealHost] = positiveIe815(other); },
         "L'e-AD HA GIA' L'ARC " + Arc + ": L'ARC " + other + " DEL NUOVO INVIO NON E' STATO MEMORIZZATO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeCustomsService fresh;
        fresh.attachments[RealHost] = positiveIe815(Arc);
        ctx.Customs = &fresh;
        ctx.Transmit = Transmission{};
        ctx.Transmit.kind = FlowKind::IE815;
        ctx.Transmit.flowName = "ABCD1209.C03";
        QStringList stored;
        ctx.Transmit.storeOutcome = [&](const QString& arc) { stored << arc; };
        t.messenger.answers.clear(); // never open the E.M.C.S.
        auto w = signedWindow();
        confirmIn(*w, "RREALE");
        ASSERT_EQ(ctx.Transmit.arc, Arc);
        ASSERT_EQ(stored, QStringList{Arc});

        c.secondAnswer(fresh);
        t.messenger.infos.clear();
        t.messenger.questions.clear();
        t.messenger.answers = {true}; // "OK": send it again
        QTest::mouseClick(child<QPushButton>(*w, "BCONF"), Qt::LeftButton);
        EXPECT_EQ(fresh.puts().size(), 2u);
        ASSERT_FALSE(t.messenger.questions.isEmpty());
        EXPECT_EQ(t.messenger.questions.first(), "Flusso già inviato !  PREMI \"OK\" PER INVIARLO DI NUOVO");
        if (!c.told.isEmpty()) {
            EXPECT_TRUE(t.messenger.infos.contains(c.told)) << t.messenger.infos.join("|").toStdString();
        }
        EXPECT_TRUE(ctx.Transmit.positiveRealOutcome);
        EXPECT_EQ(ctx.Transmit.arc, Arc);
        EXPECT_EQ(ctx.EadHeader.ARC, Arc);
        EXPECT_EQ(stored, QStringList{Arc});

        QTest::mouseClick(child<QPushButton>(*w, "BABBANDONA"), Qt::LeftButton);
        EXPECT_FALSE(w->isVisible());
        EXPECT_TRUE(ctx.Transmit.positiveRealOutcome);
        EXPECT_EQ(ctx.Transmit.arc, Arc);
    }
}

// A positive outcome whose lines carry no well-formed ARC is still an accepted flow: it is
// recorded without an ARC, and the user is told to register the ARC by hand.
TEST_F(TransmissionWindow, APositiveOutcomeWithoutAValidArcIsKept)
{
    service.attachments[RealHost] = positiveIe815("26ITSHORT") + positiveIe815(QString(21, ' '));
    QStringList stored;
    ctx.Transmit.storeOutcome = [&](const QString& arc) { stored << arc; };
    auto w = signedWindow();
    confirmIn(*w, "RREALE");
    EXPECT_TRUE(ctx.Transmit.positiveRealOutcome);
    EXPECT_TRUE(ctx.Transmit.arc.isEmpty());
    EXPECT_EQ(stored, QStringList{""});
    EXPECT_TRUE(t.messenger.questions.isEmpty());
    EXPECT_EQ(t.messenger.infos.last(),
              "IL FLUSSO E' STATO ACCETTATO NELL'AMBIENTE REALE MA L'ESITO NON RIPORTA UN ARC VALIDO: LEGGERE L'ARC "
              "IN E.M.C.S. E REGISTRARLO CON \"Registra l'ARC dell'e-AD\"");
}

// The flow window's store failing is said; the outcome stays for the flow window to try again.
TEST_F(TransmissionWindow, AStoreThatFailsIsSaidAndLeftToTheFlowWindow)
{
    service.attachments[RealHost] = positiveIe815(Arc);
    ctx.Transmit.storeOutcome = [](const QString&) { throw IoError("IMPOSSIBILE SCRIVERE L'e-AD"); };
    auto w = signedWindow();
    confirmIn(*w, "RREALE");
    EXPECT_TRUE(t.messenger.infos.contains("IMPOSSIBILE SCRIVERE L'e-AD"));
    EXPECT_TRUE(ctx.Transmit.positiveRealOutcome);
    EXPECT_FALSE(ctx.Transmit.outcomeStored);
    EXPECT_EQ(ctx.Transmit.arc, Arc);
}

} // namespace
