// The register flow window driven as a clerk does: the list of the year,
// ticking, confirming straight from any field, a number already used, and the
// whole road through the stand-ins.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "foundation/Dates.h"
#include "messages/transmission/TFTELEMATICO.h"
#include "messages/transmission/Transmission.h"
#include "register/flow/RegisterFlow.h"
#include "register/flow/TFCREAFIRMAINVIAREGISTRO.h"
#include "register/store/RegisterStore.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"
#include "support/Standins.h"
#include "support/TableFixtures.h"

using namespace vt;
using namespace vt::test;

namespace {

double day(int d, int m, int y = 2026)
{
    return dates::fromDate(QDate(y, m, d));
}

TRecMovimento unload(int numero, int d, double litres, double guarantee)
{
    TRecMovimento r = blankRegisterRecord();
    r.numero = numero;
    r.progressivo = numero;
    r.data = day(d, 12);
    r.registro = "C";
    r.operazione = "I";
    r.tipoMovimento = "S";
    r.tipoDocumento = "EAD";
    r.numeroDocumento = QString("26IT0000000000000000%1").arg(numero).right(21);
    r.dataDocumento = day(d, 12);
    r.codiceProdotto = "W200-22042138-00-0000";
    r.prodottoAziendale = "ROSSO01";
    r.litri = litres;
    r.grado = 12.5;
    r.stoccaggio = "S";
    r.paese = "DE";
    r.controparte = "DE00XYZ00456Y";
    r.causale = "S1";
    r.garanzia = guarantee;
    r.progressivoEad = 1;
    PadRegisterRecord(r);
    return r;
}

TRecGaranzia guaranteeOf(int numero, int d, double committed)
{
    TRecGaranzia g = blankRegisterRecord();
    g.numero = numero;
    g.progressivo = numero;
    g.data = day(d, 12);
    g.registro = "F";
    g.operazione = "I";
    g.impegnato() = committed;
    g.disponibile() = 1000 - committed;
    PadRegisterRecord(g);
    return g;
}

struct RegisterFlowWindow : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    QString toSign, signedDir;

    void SetUp() override
    {
        toSign = t.path("fv/dafirmare");
        signedDir = t.path("fv/firmati");
        QDir().mkpath(toSign);
        QDir().mkpath(signedDir);
        QDir().mkpath(ctx.RegistriFolder);
        ctx.AppConfig.Fld[0] = t.path("fv/FirmaVerifica.exe");
        ctx.AppConfig.Fld[1] = toSign + "/";
        ctx.AppConfig.Fld[2] = signedDir + "/";
        ctx.CompanyRecord = blankCompany();
        trimCompany(ctx.CompanyRecord);
        ctx.CompanyRecord.CODUTE = "ABCD";
        ctx.CompanyRecord.CACCI1 = "IT00ABC00123X";
        ctx.CompanyRecord.SEZDOG = "001234";
        ctx.CompanyRecord.PARIVA = "01234567890";
        ctx.CompanyRecord.UFFDO1 = "IT083100";
        ctx.WorkYear = "2026";
        t.shell.answer = false;
    }

    void write(const QString& path, const QList<TRecMovimento>& records)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const TRecMovimento& r : records)
            f.write(encodeRegisterRecord(r));
    }

    // Two unloads (the 9th with its guarantee day, the 10th without) and a
    // rectification of an unload sent earlier: its cancellation and replacement.
    void sampleYear()
    {
        TRecMovimento sent = unload(1, 2, 100, 10);
        sent.stato = "C";
        sent.dataFlusso = day(3, 12), sent.numeroFlusso = 1;
        TRecMovimento cancel = unload(5, 2, 100, 10);
        cancel.operazione = "C", cancel.collegato = 1, cancel.progressivo = 1;
        TRecMovimento replacement = unload(6, 2, 90, 9);
        replacement.stato = "R", replacement.collegato = 1, replacement.progressivo = 1;
        write(registerfiles::movements(ctx, 2026),
            {sent, cancel, replacement, unload(2, 9, 750, 93.75), unload(3, 10, 200, 25)});
        TRecGaranzia g2 = guaranteeOf(1, 2, 10);
        g2.dataFlusso = day(3, 12), g2.numeroFlusso = 1;
        write(registerfiles::guarantees(ctx, 2026), {g2, guaranteeOf(2, 9, 93.75)});
    }

    QList<TRecMovimento> rgm() { return readRegister(registerfiles::movements(ctx, 2026)); }
};

} // namespace

TEST_F(RegisterFlowWindow, OpensWithTheYearsUnsentRecordsAllTickedAndTheMissingDays)
{
    sampleYear();
    TFCREAFIRMAINVIAREGISTRO w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(),
        "Crea il flusso del registro di carico e scarico - Firma - Invia "
        "nell'Ambiente Telematico della Dogana");
    EXPECT_EQ(w.LANNO->text(), "2026");
    ASSERT_EQ(w.CELENCO->count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(w.CELENCO->item(i)->checkState(), Qt::Checked);
    EXPECT_EQ(w.CELENCO->item(3)->text(),
        "10/12/2026 I EAD 26IT00000000000000003 - 1 DE00XYZ00456Y lt. "
        "200,00 - W200-22042138-00-0000 ROSSO01");
    EXPECT_EQ(t.messenger.infos, QStringList{"ATTENZIONE MANCA LA GARANZIA DEL 10/12/2026"});
    EXPECT_TRUE(w.findChild<QLineEdit*>("DATFLU")->hasFocus());
    EXPECT_EQ(w.findChild<QLabel*>("LFLUSSO")->text(), toSign + "/");
    EXPECT_LE(w.sizeHint().width(), 1366);
    EXPECT_LE(w.sizeHint().height(), 768);
    w.grab().save(QDir::temp().filePath("TFCREAFIRMAINVIAREGISTRO.png"));
}

TEST_F(RegisterFlowWindow, NothingTickedIsRefusedWithTheFocusOnTheList)
{
    sampleYear();
    TFCREAFIRMAINVIAREGISTRO w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    t.messenger.infos.clear();
    QTest::mouseClick(w.BNESSUNO, Qt::LeftButton);
    auto* date = w.findChild<QLineEdit*>("DATFLU");
    date->setFocus();
    QTest::keyClick(date, Qt::Key_C, Qt::AltModifier); // straight from the date
    QTest::qWait(250);
    EXPECT_EQ(t.messenger.infos, QStringList{"NON E' STATO SELEZIONATO ALCUN MESSAGGIO"});
    EXPECT_TRUE(w.CELENCO->hasFocus());
    EXPECT_TRUE(QDir(toSign).isEmpty());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(RegisterFlowWindow, ARectificationIsTickedAndUntickedWhole)
{
    sampleYear();
    TFCREAFIRMAINVIAREGISTRO w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(w.BNESSUNO, Qt::LeftButton);
    w.CELENCO->item(1)->setCheckState(Qt::Checked); // the replacement
    EXPECT_EQ(w.CELENCO->item(0)->checkState(), Qt::Checked) << "its cancellation comes with it";
    EXPECT_EQ(w.CELENCO->item(2)->checkState(), Qt::Unchecked);
    w.CELENCO->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(w.CELENCO->item(1)->checkState(), Qt::Unchecked);
}

TEST_F(RegisterFlowWindow, ConfirmedStraightFromTheDateWithoutSigningWritesAndMarks)
{
    sampleYear();
    TFCREAFIRMAINVIAREGISTRO w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.CELENCO->item(3)->setCheckState(Qt::Unchecked); // the 10th waits for its guarantee day
    w.findChild<QCheckBox*>("CFIRMA")->setChecked(false);
    auto* date = w.findChild<QLineEdit*>("DATFLU");
    date->setFocus();
    date->selectAll();
    QTest::keyClicks(date, "11122026");
    QTest::keyClick(date, Qt::Key_C, Qt::AltModifier); // straight from the date
    QTest::qWait(250);

    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_TRUE(t.shell.programs.isEmpty()) << "unticked: the flow stays unsigned";
    QFile f(toSign + "/ABCD1211.C01");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(),
        7); // header, file record, 3 movements, 1 guarantee day, end
    EXPECT_TRUE(lines[0].startsWith("ABCD            ABCD1211.C01"));
    EXPECT_TRUE(lines[0].endsWith("00006\r"));
    const QList<TRecMovimento> after = rgm();
    QList<int> marked;
    for (const TRecMovimento& r : after)
        if (r.numeroFlusso == 1 && registerDay(r.dataFlusso) == day(11, 12))
            marked << r.numero;
    EXPECT_EQ(marked, (QList<int>{5, 6, 2}));
    EXPECT_EQ(readRegister(registerfiles::guarantees(ctx, 2026))[1].numeroFlusso, 1);
}

TEST_F(RegisterFlowWindow, ANumberAlreadyCarriedByRecordsIsRefusedOnTheNumber)
{
    sampleYear();
    TFCREAFIRMAINVIAREGISTRO w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    t.messenger.infos.clear();
    auto* date = w.findChild<QLineEdit*>("DATFLU");
    date->setFocus();
    date->selectAll();
    QTest::keyClicks(date, "03122026");
    QTest::keyClick(date, Qt::Key_Tab);
    QApplication::processEvents();
    auto* number = w.findChild<QLineEdit*>("NUMFLU");
    EXPECT_EQ(number->text(), "2") << "flow 1 of the 3rd is carried by records: never proposed";
    number->setText("1");
    QTest::mouseClick(w.findChild<QPushButton*>("BCONF"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(t.messenger.infos.size(), 1);
    EXPECT_TRUE(t.messenger.infos[0].startsWith("IL FLUSSO N. 1 DEL 03/12/2026 E' GIA' STATO CREATO"));
    EXPECT_TRUE(number->hasFocus());
    EXPECT_TRUE(QDir(toSign).isEmpty());
}

TEST_F(RegisterFlowWindow, ChangingTheYearRebuildsTheList)
{
    sampleYear();
    write(registerfiles::movements(ctx, 2025), {unload(1, 5, 10, 0)});
    TFCREAFIRMAINVIAREGISTRO w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.LANNO->setFocus();
    w.LANNO->selectAll();
    QTest::keyClicks(w.LANNO, "20x25");
    EXPECT_EQ(w.LANNO->text(), "2025");
    EXPECT_EQ(t.messenger.beeps, 1);
    QTest::keyClick(w.LANNO, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(ctx.WorkYear, "2025");
    EXPECT_EQ(w.CELENCO->count(), 1);
    w.LANNO->setFocus();
    w.LANNO->selectAll();
    QTest::keyClicks(w.LANNO, "1999");
    QTest::keyClick(w.LANNO, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_TRUE(w.LANNO->hasFocus()) << "outside 2008 to 2060 the year keeps the focus";
    EXPECT_EQ(ctx.WorkYear, "2025");
}

// From the menu: the flow written, signed by the stand-in signing program, sent
// to the test and the real stand-in service; the records are marked and the
// outcome is in DETTAGLI.TXT.
TEST_F(RegisterFlowWindow, FromTheMenuThroughTheStandins)
{
    QTemporaryDir standinDir;
    CustomsStandin standin(standinDir.path());
    ASSERT_TRUE(standin.running()) << standin.error().toStdString();
    SigningFolder signing(t.path("firma"));
    ctx.AppConfig.Fld[0] = signing.program;
    ctx.AppConfig.Fld[1] = signing.toSign;
    ctx.AppConfig.Fld[2] = signing.signedDir;
    ctx.CustomsCaFile = standin.caFile();
    TRecAzienda company = ctx.CompanyRecord;
    company.TIPOIN = "1";
    writeStartupFiles(ctx, company, {ctx.AppConfig.Fld[0], ctx.AppConfig.Fld[1], ctx.AppConfig.Fld[2], t.path("emcs")},
        standin.host());
    sampleYear();
    t.shell.answer = true;
    t.shell.onStart = [](const QString& program) { QProcess::startDetached(program, {}); };
    TFTELEMATICO::setWaitInterval(100);
    t.messenger.answers = {true}; // accepted in test: send it for real

    ModalDriver driver;
    driver.on["TFCREAFIRMAINVIAREGISTRO"] = [](QWidget* modal, int) { proposeNumberThenConfirm(modal); };
    driver.on["TFTELEMATICO"] = [&](QWidget* modal, int) { sendInTestThenReal(modal, ctx.Transmit); };
    runMenuItem(ctx, "ACREAFIRINVFLUSSO");
    TFTELEMATICO::setWaitInterval(1000);

    EXPECT_FALSE(driver.timedOut);
    EXPECT_EQ(driver.seen, (QStringList{"TFCREAFIRMAINVIAREGISTRO", "TFTELEMATICO"}));
    EXPECT_TRUE(ctx.Transmit.positiveRealOutcome) << t.messenger.all.join("|").toStdString();
    EXPECT_TRUE(QFile::exists(signing.signedDir + "ABCD1209.C01.p7m"));
    int marked = 0;
    for (const TRecMovimento& r : rgm())
        marked += r.numeroFlusso == 1 && registerDay(r.dataFlusso) == day(9, 12);
    EXPECT_EQ(marked, 4);
    QFile details(transmit::detailsPath(ctx));
    ASSERT_TRUE(details.open(QIODevice::ReadOnly));
    const QByteArray text = details.readAll();
    EXPECT_TRUE(text.contains("ESITO POSITIVO")) << text.constData();
    EXPECT_TRUE(buildRegisterFlowList(ctx, 2026).records.isEmpty());
}
