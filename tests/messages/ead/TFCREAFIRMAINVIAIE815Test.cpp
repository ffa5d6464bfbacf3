// The IE815 flow window and the lifecycle dispatcher for mode "I", driven offscreen.
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
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
#include <QTest>
#include <QTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "app/LifecycleDispatch.h"
#include "ui/WindowRegistry.h"
#include "app/MenuActions.h"
#include "foundation/RecordFile.h"
#include "foundation/Dates.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/Summary.h"
#include "messages/ead/TFCREAFIRMAINVIAIE815.h"
#include "messages/transmission/TFTELEMATICO.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"
#include "support/FakeCustoms.h"
#include "support/ModalDriver.h"
#include "support/Standins.h"
#include "support/TableFixtures.h"

using namespace vt;
using namespace vt::test;

namespace {

struct Ie815Window : ::testing::Test {
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
        t.shell.answer = false; // the signing program does not start: no transmission window
    }

    // An e-AD saved and in hand, as after its compilation.
    void eadInHand(const QDate& dispatch = QDate(2026, 12, 9))
    {
        ctx.EadHeader = saveSampleEad(ctx, 1, 2, dispatch);
        writeTextLines(eadSummaryPath(ctx), {"RIEPILOGO DI PROVA", "seconda riga"});
    }

    // The messages shown, less the one saying that the signing program (absent here) did not start.
    QStringList shownBesidesSigning() const
    {
        QStringList shown = t.messenger.infos;
        shown.removeIf([](const QString& m) { return m.startsWith("IMPOSSIBILE AVVIARE IL PROGRAMMA DI FIRMA"); });
        return shown;
    }

    template <class T>
    T* child(QWidget& w, const char* name)
    {
        T* c = w.findChild<T*>(name);
        EXPECT_TRUE(c) << name;
        return c;
    }

    // What StartupCheck requires: company data, the application paths and the web addresses
    // (with the hosts of the customs file service, real and test).
    void writeConfiguration(const QString& serviceHost = QString())
    {
        TRecAzienda company = ctx.CompanyRecord;
        company.TIPOIN = "1";
        writeStartupFiles(ctx, company, {ctx.AppConfig.Fld[0], ctx.AppConfig.Fld[1], ctx.AppConfig.Fld[2], t.path("emcs")},
                          serviceHost);
        ctx.CompanyRecord = blankCompany(); // StartupCheck loads it
    }

    // Types text over the flow date, which keeps the cursor.
    QLineEdit* typeDate(TFCREAFIRMAINVIAIE815& w, const QString& text)
    {
        auto* date = child<QLineEdit>(w, "DATFLU");
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, text);
        return date;
    }

    void leaveDate(TFCREAFIRMAINVIAIE815& w, const QString& text)
    {
        QTest::keyClick(typeDate(w, text), Qt::Key_Tab);
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(Ie815Window, OpensWithTheSummaryTheFolderAndToday)
{
    eadInHand();
    TFCREAFIRMAINVIAIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), "Crea il messaggio IE815 - Firma - Invia nell'Ambiente Telematico della Dogana");
    EXPECT_EQ(child<QTextEdit>(w, "RIEPILOGO")->toPlainText(), "RIEPILOGO DI PROVA\nseconda riga\n");
    EXPECT_EQ(child<QLabel>(w, "LFLUSSO")->text(), toSign + "/");
    EXPECT_EQ(child<QLineEdit>(w, "DATFLU")->text(), "09/12/2026");
    EXPECT_TRUE(child<QLineEdit>(w, "DATFLU")->hasFocus());
    EXPECT_EQ(child<QLineEdit>(w, "NUMFLU")->text(), "");
    EXPECT_EQ(child<QLineEdit>(w, "NUMFLU")->toolTip(), "indicare un valore compreso tra 1 e 99");
    EXPECT_TRUE(child<QCheckBox>(w, "CFIRMA")->isChecked());
    EXPECT_EQ(child<QCheckBox>(w, "CFIRMA")->text(), "Esegue Firma e Verifica ");
    EXPECT_EQ(child<QPushButton>(w, "BCONF")->text(), "&CONFERMA");
    EXPECT_EQ(child<QPushButton>(w, "BABBANDONA")->text(), "&Abbandona");
    w.grab().save(QDir::temp().filePath("TFCREAFIRMAINVIAIE815.png"));
}

TEST_F(Ie815Window, ConfirmWritesTheFlowStoresFlowDataAndStartsTheSigningProgram)
{
    eadInHand();
    TFCREAFIRMAINVIAIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    leaveDate(w, "10122026");
    EXPECT_EQ(child<QLineEdit>(w, "NUMFLU")->text(), "1");
    QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);

    // The signing program did not start: the user is told, with its path.
    EXPECT_EQ(t.messenger.infos,
              QStringList{"IMPOSSIBILE AVVIARE IL PROGRAMMA DI FIRMA \"" + QDir::toNativeSeparators(t.path("fv/FirmaVerifica.exe"))
                          + "\": IL FLUSSO RESTA NELLA CARTELLA DEI FILE DA FIRMARE. CONTROLLARE IL PERCORSO IN "
                            "\"Percorsi per le Applicazioni\""});
    EXPECT_TRUE(QFile::exists(toSign + "/ABCD1210.C01"));
    const auto h = findHeader(eadfiles::headers(ctx, "2026"), ctx.EadHeader.progressivo);
    EXPECT_EQ(dates::toDate(h->dataFlusso), QDate(2026, 12, 10));
    EXPECT_EQ(h->numeroFlusso, 1);
    EXPECT_EQ(h->stato, " ") << "not sent: the signing program did not start";
    EXPECT_EQ(t.shell.programs, QStringList{t.path("fv/FirmaVerifica.exe")});
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

// The user abandons the transmission while the real put runs, and the customs system takes the
// flow in charge: its ARC and state "I" are in the e-AD file before the transmission window closes.
TEST_F(Ie815Window, AbandonDuringTheRealPutStillStoresTheArc)
{
    const QString arc = "26ITABC000000000001X7";
    eadInHand();
    FakeCustomsService service;
    QSemaphore gate;
    service.putGate = &gate;
    service.attachments["reale.dogane.test"] =
        QString("I0001" + QString(40, ' ') + "A0001P" + arc + QString(39, ' ') + "PRESO IN CARICO\r\n").toLatin1();
    ctx.Customs = &service;
    ctx.WebConfig.Fld[8] = "reale.dogane.test";
    ctx.WebConfig.Fld[9] = "prova.dogane.test";
    t.shell.answer = true;
    t.shell.onStart = [&](const QString&) { // the signing program signs at once
        QFile f(signedDir + "/ABCD1209.C01.p7m");
        f.open(QIODevice::WriteOnly);
        f.write("FIRMATO");
    };
    TFTELEMATICO::setWaitInterval(20);
    // Read when the user is told, with the transmission window still open.
    QString stateWhenTold, arcWhenTold;
    bool transmissionOpenWhenTold = false;
    t.messenger.onInfo = [&](const QString&) {
        const auto h = findHeader(eadfiles::headers(ctx, "2026"), ctx.EadHeader.progressivo);
        stateWhenTold = h->stato;
        arcWhenTold = h->ARC;
        QWidget* modal = QApplication::activeModalWidget();
        transmissionOpenWhenTold = modal && modal->objectName() == "TFTELEMATICO" && modal->isVisible();
    };

    bool sent = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || sent || modal->objectName() != "TFTELEMATICO" || !ctx.Transmit.signedSeen)
            return;
        sent = true;
        modal->findChild<QRadioButton*>("RREALE")->setChecked(true);
        auto* confirm = modal->findChild<QPushButton*>("BCONF");
        auto* abandon = modal->findChild<QPushButton*>("BABBANDONA");
        QTimer::singleShot(0, confirm, [confirm] { QTest::mouseClick(confirm, Qt::LeftButton); });
        QTimer::singleShot(60, abandon, [abandon, &gate] {
            QTest::mouseClick(abandon, Qt::LeftButton);
            gate.release();
        });
    });
    driver.start(20);
    TFCREAFIRMAINVIAIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    leaveDate(w, "09122026");
    QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);
    driver.stop();
    TFTELEMATICO::setWaitInterval(1000);

    ASSERT_TRUE(sent);
    EXPECT_TRUE(ctx.Transmit.abandoned);
    EXPECT_EQ(service.gets().size(), 1u);
    EXPECT_EQ(t.messenger.infos.last(), "IL FLUSSO E' STATO ACCETTATO NELL'AMBIENTE REALE. ARC ATTRIBUITO: " + arc);
    EXPECT_TRUE(transmissionOpenWhenTold);
    EXPECT_EQ(stateWhenTold, "I");
    EXPECT_EQ(arcWhenTold, arc);
    const auto h = findHeader(eadfiles::headers(ctx, "2026"), ctx.EadHeader.progressivo);
    EXPECT_EQ(h->stato, "I");
    EXPECT_EQ(h->ARC, arc);
    EXPECT_EQ(h->numeroFlusso, 1);
    EXPECT_EQ(ctx.EadHeader.stato, "I");
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_F(Ie815Window, WithoutSigningTheProgramIsNotStarted)
{
    eadInHand();
    TFCREAFIRMAINVIAIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QStringList notes;
    ctx.NoteListener = [&notes](const QString& text) { notes << text; };
    leaveDate(w, "09122026");
    child<QCheckBox>(w, "CFIRMA")->setChecked(false);
    QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(toSign + "/ABCD1209.C01"));
    EXPECT_TRUE(t.shell.programs.isEmpty());
    // The window closes; the status bar says where the flow was left.
    EXPECT_EQ(notes, QStringList{"Flusso ABCD1209.C01 scritto nella cartella dei file da firmare: non firmato, non inviato"});
    ctx.NoteListener = nullptr;

    // The next flow of the day does not take the number of the one waiting to be signed.
    eadInHand();
    TFCREAFIRMAINVIAIE815 next(ctx);
    next.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&next));
    leaveDate(next, "09122026");
    EXPECT_EQ(child<QLineEdit>(next, "NUMFLU")->text(), "2");
}

TEST_F(Ie815Window, ANumberThatIsNotPositiveKeepsTheFocusAndWritesNothing)
{
    eadInHand();
    TFCREAFIRMAINVIAIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* number = child<QLineEdit>(w, "NUMFLU");
    number->setFocus(); // leaving the date proposes a number, which the user then changes
    QApplication::processEvents();
    for (const char* text : {"", "0", "-1"}) {
        number->setText(text);
        QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);
        EXPECT_TRUE(number->hasFocus()) << text;
        EXPECT_TRUE(QDir(toSign).isEmpty()) << text;
        EXPECT_TRUE(w.isVisible());
    }
    EXPECT_EQ(findHeader(eadfiles::headers(ctx, "2026"), ctx.EadHeader.progressivo)->numeroFlusso, 0);
}

TEST_F(Ie815Window, AFlowDateMoreThanAWeekBeforeTheDispatchIsReportedButNotRefused)
{
    eadInHand(QDate(2026, 12, 20));
    TFCREAFIRMAINVIAIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    leaveDate(w, "12122026"); // 12 + 7 = 19 < 20
    QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);
    EXPECT_EQ(shownBesidesSigning(),
              QStringList{"LA DATA DEL FLUSSO NON PUO' ESSERE ANTERIORE DI 7 GIORNI DALLA DATA DI SPEDIZIONE"});
    EXPECT_TRUE(QFile::exists(toSign + "/ABCD1212.C01"));

    t.messenger.infos.clear();
    TFCREAFIRMAINVIAIE815 w2(ctx);
    w2.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w2));
    leaveDate(w2, "13122026"); // 13 + 7 = 20: allowed
    QTest::mouseClick(child<QPushButton>(w2, "BCONF"), Qt::LeftButton);
    EXPECT_TRUE(shownBesidesSigning().isEmpty());
}

TEST_F(Ie815Window, ASignedFileOfTheSameNameIsAnnouncedAndReplaced)
{
    eadInHand();
    QFile s(signedDir + "/ABCD1209.C01.p7m");
    ASSERT_TRUE(s.open(QIODevice::WriteOnly));
    s.close();
    TFCREAFIRMAINVIAIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    leaveDate(w, "09122026");
    EXPECT_EQ(child<QLineEdit>(w, "NUMFLU")->text(), "2") << "next after the signed flow 1";
    auto* number = child<QLineEdit>(w, "NUMFLU");
    number->setText("1");
    const QString question =
        "IL FILE E' GIA' PRESENTE NELLA CARTELLA \"FIRMATI\": VERRA' SOSTITUITO  PREMI \"OK\" PER SOSTITUIRLO";
    // "No" (the default): nothing is written or deleted, another number can be typed.
    t.messenger.answers = {false};
    QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);
    EXPECT_EQ(t.messenger.questions, QStringList{question});
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(number->hasFocus());
    EXPECT_TRUE(QFile::exists(signedDir + "/ABCD1209.C01.p7m"));
    EXPECT_FALSE(QFile::exists(toSign + "/ABCD1209.C01"));
    // "OK": the signed file goes and the new flow is written.
    t.messenger.answers = {true};
    QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);
    EXPECT_TRUE(shownBesidesSigning().isEmpty());
    EXPECT_FALSE(QFile::exists(signedDir + "/ABCD1209.C01.p7m"));
    EXPECT_TRUE(QFile::exists(toSign + "/ABCD1209.C01"));
}

TEST_F(Ie815Window, MenuItemChoosesLoadsSummarisesAndBuildsTheFlow)
{
    writeConfiguration();

    saveSampleEad(ctx, 1, 1);
    TRecEad second = saveSampleEad(ctx, 2, 3);
    // Leftovers of an earlier operation in the work files.
    writeWorkFiles(ctx, 4, 4);

    // The second e-AD chosen, its flow numbered from the date and confirmed.
    ModalDriver driver;
    driver.on["TFSCEGLIDAA"] = chooseRow(1);
    driver.on["TFCREAFIRMAINVIAIE815"] = [](QWidget* modal, int) { proposeNumberThenConfirm(modal); };
    runMenuItem(ctx, "AINVIAIE815");

    EXPECT_FALSE(driver.timedOut);
    EXPECT_TRUE(shownBesidesSigning().isEmpty()) << t.messenger.infos.join("|").toStdString();
    EXPECT_EQ(ctx.OpCode, 'I');
    EXPECT_EQ(driver.seen, (QStringList{"TFSCEGLIDAA", "TFCREAFIRMAINVIAIE815"}));
    EXPECT_EQ(ctx.PickedEad, second.progressivo);
    EXPECT_EQ(ctx.WorkYear, "2026");
    EXPECT_EQ(readLineFile(ctx.temp("TRASPORTO.DAT")).size(), 2);
    EXPECT_EQ(readLineFile(ctx.temp("PRODOTTI.DAT")).size(), 3);
    EXPECT_TRUE(readTextFile(eadSummaryPath(ctx)).contains("CHIANTI CLASSICO 3"));
    const QByteArray flowFile = [&] {
        QFile f(toSign + "/ABCD1209.C01");
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_TRUE(flowFile.startsWith("ABCD            ABCD1209.C01            066100    01234567890     001 00004\r\n"));
    EXPECT_EQ(findHeader(eadfiles::headers(ctx, "2026"), second.progressivo)->numeroFlusso, 1);
}

TEST_F(Ie815Window, LeavingTheChooserEndsTheAction)
{
    saveSampleEad(ctx, 1, 1);
    QTimer escape;
    QObject::connect(&escape, &QTimer::timeout, [] {
        if (QWidget* m = QApplication::activeModalWidget())
            QTest::keyClick(m, Qt::Key_Escape);
    });
    escape.start(20);
    for (const char mode : {'I', 'R'}) {
        ctx.OpCode = mode;
        ctx.PickedEad = 1;
        runLifecycle(ctx, nullptr);
        EXPECT_EQ(ctx.PickedEad, -1) << mode;
        EXPECT_TRUE(QDir(toSign).isEmpty()) << mode;
        EXPECT_EQ(findHeader(eadfiles::headers(ctx, "2026"), 1)->stato, " ") << mode;
    }
    escape.stop();
}

// The whole road from the menu: the e-AD chosen, its IE815 flow written, signed by the signing
// stand-in, sent to the customs stand-in on loopback HTTPS in the test and then the real
// environment, and the ARC of the outcome stored in the e-AD header with state "I".
TEST_F(Ie815Window, FromTheMenuToTheArcWithTheStandins)
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
    // The signing program is started as the operating system would start it, on its own.
    t.shell.answer = true;
    t.shell.onStart = [](const QString& program) { QProcess::startDetached(program, {}); };
    TFTELEMATICO::setWaitInterval(100);
    const TRecEad ead = saveSampleEad(ctx, 1, 2);
    t.messenger.answers = {true, false}; // accepted in test: send it for real; do not open the E.M.C.S.

    ModalDriver driver;
    driver.on["TFSCEGLIDAA"] = chooseRow(0);
    driver.on["TFCREAFIRMAINVIAIE815"] = [](QWidget* modal, int) { proposeNumberThenConfirm(modal); };
    driver.on["TFTELEMATICO"] = [&](QWidget* modal, int) {
        sendInTestThenReal(modal, ctx.Transmit, "TFTELEMATICO-standin.png");
    };
    runMenuItem(ctx, "AINVIAIE815");
    TFTELEMATICO::setWaitInterval(1000);

    EXPECT_FALSE(driver.timedOut);
    EXPECT_EQ(driver.seen, (QStringList{"TFSCEGLIDAA", "TFCREAFIRMAINVIAIE815", "TFTELEMATICO"}));
    ASSERT_EQ(t.messenger.questions.size(), 2) << t.messenger.all.join("|").toStdString();
    const QString arc = ctx.Transmit.arc;
    ASSERT_EQ(arc.size(), 21);
    EXPECT_EQ(t.messenger.questions[1], "ARC ATTRIBUITO: " + arc + " - PREMI \"OK\" PER APRIRE L'E.M.C.S.");
    EXPECT_TRUE(QFile::exists(signing.signedDir + "ABCD1209.C01.p7m"));

    // The stored header: state s[1] at 76, ARC s[21] at 78 (length byte, then the characters).
    const QList<QByteArray> headers = RecordFile(eadfiles::headers(ctx, "2026"), TRecEad::Size).readAll();
    ASSERT_EQ(headers.size(), 1);
    const QByteArray& h = headers[0];
    EXPECT_EQ(codec::getI32(h, 0), ead.progressivo);
    EXPECT_EQ(h[76], char(1));
    EXPECT_EQ(h[77], 'I');
    EXPECT_EQ(h[78], char(21));
    EXPECT_EQ(h.mid(79, 21), arc.toLatin1());
    EXPECT_EQ(ctx.EadHeader.stato, "I");

    // vt-inspect shows them.
    QProcess inspect;
    inspect.start(QDir(buildDir()).filePath("vt-inspect"), {eadfiles::headers(ctx, "2026")});
    ASSERT_TRUE(inspect.waitForFinished(20000));
    const QJsonObject shown = QJsonDocument::fromJson(inspect.readAllStandardOutput().split('\n').first()).object();
    EXPECT_EQ(shown.value("ARC").toString(), arc);
    EXPECT_EQ(shown.value("stato").toString(), "I");
}

// Confirmed straight from the date, as a clerk does after typing it: the date's number is
// proposed and the flow written with it at the first Alt+C, and at the first click.
TEST_F(Ie815Window, ConfirmStraightFromTheDateUsesTheProposedNumber)
{
    for (const bool mouse : {false, true}) {
        SCOPED_TRACE(mouse ? "click" : "Alt+C");
        eadInHand();
        QFile::remove(toSign + "/ABCD1210.C01");
        TFCREAFIRMAINVIAIE815 w(ctx);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        QLineEdit* date = typeDate(w, "10122026");
        if (mouse)
            QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);
        else
            QTest::keyClick(date, Qt::Key_C, Qt::AltModifier);
        QTest::qWait(250);
        EXPECT_TRUE(QFile::exists(toSign + "/ABCD1210.C01"));
        EXPECT_FALSE(QFile::exists(toSign + "/ABCD1210.C02"));
        EXPECT_EQ(w.result(), QDialog::Accepted);
    }

    // A date that is not one keeps the cursor on it, and nothing is written.
    eadInHand();
    QDir(toSign).removeRecursively();
    QDir().mkpath(toSign);
    TFCREAFIRMAINVIAIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QLineEdit* date = typeDate(w, "31022026");
    QTest::mouseClick(child<QPushButton>(w, "BCONF"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(date->hasFocus());
    EXPECT_TRUE(QDir(toSign).isEmpty(QDir::Files));
    EXPECT_TRUE(w.isVisible());
}
