// The report-of-receipt windows driven offscreen: the import window, the three pages of the report
// with the differences grid typed into as a clerk does, and the IE818 flow window; and the whole
// road from the menu item through signing and transmission with the stand-ins.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include "app/MenuActions.h"
#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "messages/Ie818Send.h"
#include "messages/ReceiptReport.h"
#include "messages/ReceivedImport.h"
#include "messages/TFCOMPIE818.h"
#include "messages/TFCREAFIRMAINVIAIE818.h"
#include "messages/TFPREPIE818.h"
#include "messages/TFTELEMATICO.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"
#include "support/ReceivedEadFixtures.h"
#include "support/Standins.h"
#include "ui/CodedField.h"
#include "ui/DifferencesGrid.h"
#include "ui/Edits.h"
#include "ui/WindowRegistry.h"

using namespace vt;
using namespace vt::test;

namespace {

struct ReceiptWindows : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    QString download, toSign, signedDir;

    void SetUp() override
    {
        download = t.path("emcs");
        toSign = t.path("fv/dafirmare");
        signedDir = t.path("fv/firmati");
        for (const QString& d : {download, toSign, signedDir})
            QDir().mkpath(d);
        ctx.AppConfig.Fld[0] = t.path("fv/FirmaVerifica.exe");
        ctx.AppConfig.Fld[1] = toSign + "/";
        ctx.AppConfig.Fld[2] = signedDir + "/";
        ctx.AppConfig.Fld[3] = download + "/";
        ctx.CompanyRecord = blankCompany();
        trimCompany(ctx.CompanyRecord);
        ctx.CompanyRecord.CODUTE = "ABCD";
        ctx.CompanyRecord.CACCI1 = "IT00ABC00123X";
        ctx.CompanyRecord.DENOM1 = "Cantina Rossi S.r.l.";
        ctx.CompanyRecord.SEZDOG = "083100";
        ctx.CompanyRecord.PARIVA = "01234567890";
        ctx.CompanyRecord.UFFDO1 = "IT083000";
        ctx.CompanyRecord.UFFDO2 = "IT083100";
        ctx.CompanyRecord.TIPOIN = "2";
        ctx.WorkYear = "2026";
        t.shell.answer = false;
        writeStructure(ctx, "T001", "Lingue", 1, {{2, "Codice"}, {100, "Descrizione"}});
        appendRow(ctx, "T001", {"it", "italiano"});
        appendRow(ctx, "T001", {"fr", "francese"});
        writeStructure(ctx, "T023", "Esiti", 1, {{2, "Codice"}, {100, "Descrizione"}});
        appendRow(ctx, "T023", {"1", "Ricezione accettata e soddisfacente"});
        appendRow(ctx, "T023", {"21", "Accettata ma insoddisfacente"});
        appendRow(ctx, "T023", {"22", "Accettata con cali"});
        appendRow(ctx, "T023", {"3", "Ricezione rifiutata"});
        appendRow(ctx, "T023", {"4", "Ricezione parzialmente rifiutata"});
        writeStructure(ctx, "T025", "Motivi", 1, {{1, "Codice"}, {100, "Descrizione"}});
        appendRow(ctx, "T025", {"0", "Altro"});
        appendRow(ctx, "T025", {"1", "Eccedenza"});
        appendRow(ctx, "T025", {"3", "Calo"});
    }

    void putDocument(const QString& arc, int lines)
    {
        ReceivedEadDraft s;
        s.arc = arc;
        s.lines.clear();
        for (int n = 1; n <= lines; ++n)
            s.lines << sampleReceivedLine(n);
        QFile f(QDir(download).filePath(arc + ".xml"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(receivedEadXml(s));
    }

    // The first imported e-AD in hand, as the import window hands it to the report window.
    void importedInHand(int lines = 2)
    {
        putDocument("26FRA00000000000001A1", lines);
        ASSERT_EQ(importReceivedEads(ctx, "2026").imported, 1);
        ctx.EadHeader = decodeEad(RecordFile(receiptfiles::xmlHeaders(ctx), TRecEad::Size).readAll().first());
    }

    QList<QByteArray> file(const QString& path, int size) { return RecordFile(path, size).readAll(); }

    static void type(QWidget* w, const QString& text, Qt::Key end = Qt::Key_Tab)
    {
        w->setFocus();
        QApplication::processEvents();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->selectAll();
        QTest::keyClicks(w, text);
        QTest::keyClick(w, end);
        QApplication::processEvents();
    }

    static void typeInCell(DifferencesGrid* grid, int row, int column, const QString& text)
    {
        grid->setCurrentCell(row, column);
        QTest::keyClicks(grid, text);
        QTest::keyClick(grid, Qt::Key_Return);
    }
};

TEST_F(ReceiptWindows, PagesStayShutUntilTheFirstPageIsTouched)
{
    importedInHand();
    TFCOMPIE818 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), "Nota di Ricezione - messaggio IE818");
    EXPECT_EQ(w.COIDSP->text(), "FR0AB1234567E");
    EXPECT_EQ(w.INDSPE->text(), "Route des Vignes, 12");
    EXPECT_EQ(w.NUMARC->text(), "26FRA00000000000001A1");
    EXPECT_EQ(w.LINGUA->code(), "it");
    EXPECT_EQ(w.IMGPRO->text(), "09/12/2026");
    EXPECT_EQ(w.LISTA->topLevelItemCount(), 2);
    EXPECT_TRUE(w.LINPRG->edit()->hasFocus());
    w.PCCOMPIE818->setCurrentIndex(2);
    EXPECT_EQ(w.PCCOMPIE818->currentIndex(), 0);
    QTest::mouseClick(w.BDAPAG1A2, Qt::LeftButton);
    EXPECT_EQ(w.PCCOMPIE818->currentIndex(), 0);
    EXPECT_TRUE(t.messenger.infos.isEmpty());

    // A code that is not in T023 leaves no outcome: the page cannot be left.
    type(w.DENPRG, "nota");
    w.LINPRG->setCode("9");
    QTest::mouseClick(w.BDAPAG1A2, Qt::LeftButton);
    EXPECT_EQ(w.PCCOMPIE818->currentIndex(), 0);
    EXPECT_EQ(t.messenger.infos, QStringList{"CAMPO OBBLIGATORIO NON COMPILATO"});
    EXPECT_TRUE(file(receiptfiles::reports(ctx, "2026"), TRecEad::Size).isEmpty());
    w.grab().save(QDir::temp().filePath("TFCOMPIE818-page1.png"));
}

TEST_F(ReceiptWindows, PartlyRefusedReportTypedIntoTheGridIsStored)
{
    importedInHand(3);
    TFCOMPIE818 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    type(w.LINPRG->edit(), "4");
    EXPECT_EQ(w.LINPRG->companion()->text(), "Ricezione parzialmente rifiutata");
    type(w.DENPRG, "Consegna con bottiglie rotte", Qt::Key_Return);
    QTest::mouseClick(w.BDAPAG1A2, Qt::LeftButton);
    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 1);
    EXPECT_EQ(w.STGRID->horizontalHeaderItem(2)->text(), " C/E/R");

    // Line 1: 10 of 100 litres refused, reasons typed 3 1 3, a note; line 2: "x" is no type.
    typeInCell(w.STGRID, 0, 2, "r");
    EXPECT_EQ(w.STGRID->currentColumn(), 3);
    QTest::keyClicks(w.STGRID, "1a0.5"); // the letter is refused, the point becomes a comma
    QTest::keyClick(w.STGRID, Qt::Key_Return);
    EXPECT_EQ(w.STGRID->cellText(0, 3), "         10,500");
    QTest::keyClicks(w.STGRID, "3 1 3");
    EXPECT_GE(t.messenger.beeps, 3);
    QTest::keyClick(w.STGRID, Qt::Key_Return);
    EXPECT_EQ(w.STGRID->cellText(0, 4), "    13");
    QTest::keyClicks(w.STGRID, "Bottiglie rotte");
    QTest::keyClick(w.STGRID, Qt::Key_Return);
    EXPECT_EQ(w.STGRID->currentRow(), 1);
    EXPECT_EQ(w.STGRID->currentColumn(), 2);
    QTest::keyClicks(w.STGRID, "x");
    QTest::keyClick(w.STGRID, Qt::Key_Return);
    EXPECT_EQ(w.STGRID->cellText(1, 2), "");
    EXPECT_EQ(w.STGRID->currentColumn(), 3);
    typeInCell(w.STGRID, 2, 2, "c");
    QTest::keyClicks(w.STGRID, "2,25");
    QTest::keyClick(w.STGRID, Qt::Key_Return);

    QTest::mouseClick(w.BDAPAG2A3, Qt::LeftButton);
    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 2);
    const QString summary = w.RIEPILOGO->toPlainText();
    EXPECT_TRUE(summary.contains("  Esito Ricezione: 4 Ricezione parzialmente rifiutata")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("Quantità Rifiutata: 10,500"));
    EXPECT_TRUE(summary.contains("              Calo: 2,250"));
    w.grab().save(QDir::temp().filePath("TFCOMPIE818-page3.png"));
    QTest::mouseClick(w.BCONF, Qt::LeftButton);
    EXPECT_TRUE(w.confirmed());
    EXPECT_EQ(w.result(), QDialog::Accepted);

    const QList<QByteArray> j = file(receiptfiles::reports(ctx, "2026"), TRecEad::Size);
    ASSERT_EQ(j.size(), 1);
    EXPECT_EQ(codec::getText(j[0], 2679, 2), "4 ");
    EXPECT_EQ(codec::getText(j[0], 2438, 100).trimmed(), "Consegna con bottiglie rotte");
    const QList<QByteArray> k = file(receiptfiles::reportLines(ctx, "2026"), TRecDettaglio::Size);
    ASSERT_EQ(k.size(), 2);
    EXPECT_EQ(codec::getF64(k[0], 2080), 10.5);
    EXPECT_EQ(codec::getText(k[0], 39, 7), "13     ");
    EXPECT_EQ(codec::getText(k[1], 12, 1), "S");
    EXPECT_EQ(codec::getF64(k[1], 2072), 2.25);
    const QList<QByteArray> rgm = file(receiptfiles::registerWork(ctx, "2026"), 520);
    ASSERT_EQ(rgm.size(), 3);
    EXPECT_EQ(codec::getF64(rgm[0], 112), 89.5);
    EXPECT_EQ(codec::getF64(rgm[0], 128), 10.0); // 100 litres in 10 cartons, whatever was refused
}

TEST_F(ReceiptWindows, AbandonHalfWayWritesNothingAndAReportIsStoredOnce)
{
    importedInHand();
    {
        TFCOMPIE818 w(ctx);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        type(w.LINPRG->edit(), "22");
        QTest::mouseClick(w.BDAPAG1A2, Qt::LeftButton);
        QTest::keyClick(w.STGRID, Qt::Key_Escape);
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(w.confirmed());
    }
    EXPECT_TRUE(file(receiptfiles::reports(ctx, "2026"), TRecEad::Size).isEmpty());
    EXPECT_TRUE(file(receiptfiles::registerWork(ctx, "2026"), 520).isEmpty());

    // Two windows on the same e-AD (the same document downloaded twice): the second is refused.
    TFCOMPIE818 first(ctx), second(ctx);
    for (TFCOMPIE818* w : {&first, &second}) {
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        type(w->LINPRG->edit(), "1");
        EXPECT_FALSE(w->PCCOMPIE818->isTabVisible(1));
        QTest::mouseClick(w->BDAPAG1A2, Qt::LeftButton); // straight to the summary
        EXPECT_EQ(w->PCCOMPIE818->currentIndex(), 2);
    }
    QTest::mouseClick(first.BCONF, Qt::LeftButton);
    QTest::mouseClick(second.BCONF, Qt::LeftButton);
    EXPECT_TRUE(first.confirmed());
    EXPECT_FALSE(second.confirmed());
    EXPECT_TRUE(second.isVisible());
    ASSERT_FALSE(t.messenger.infos.isEmpty());
    EXPECT_TRUE(t.messenger.infos.last().contains("GIA' STATA REGISTRATA")) << t.messenger.infos.last().toStdString();
    EXPECT_EQ(file(receiptfiles::reports(ctx, "2026"), TRecEad::Size).size(), 1);
    EXPECT_EQ(file(receiptfiles::registerWork(ctx, "2026"), 520).size(), 2);
}

TEST_F(ReceiptWindows, ImportWindowWithNothingToImport)
{
    TFPREPIE818 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), "Compila la nota di ricezione");
    EXPECT_EQ(w.LANNO->text(), "2026");
    EXPECT_EQ(w.Label2->text(), QDir::toNativeSeparators(download + "/"));
    type(w.LANNO, "x", Qt::Key_End);
    EXPECT_GE(t.messenger.beeps, 1);
    QTest::mouseClick(w.BCONF, Qt::LeftButton);
    EXPECT_EQ(t.messenger.infos, QStringList{"NON SONO STATI TROVATI MESSAGGI DA COMPLETARE"});
    EXPECT_FALSE(w.isVisible());
}

TEST_F(ReceiptWindows, FlowWindowWithoutCheckedReportsWritesNothing)
{
    TRecEad r = blankEad();
    r.progressivo = 1;
    r.ARC = "26FRA00000000000001A1";
    r.LINPRG = "1";
    RecordFile(receiptfiles::reports(ctx, "2026"), TRecEad::Size).append(encodeEad(r));
    TFCREAFIRMAINVIAIE818 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_EQ(w.CELENCO->count(), 1);
    EXPECT_EQ(w.CELENCO->item(0)->checkState(), Qt::Checked);
    QTest::mouseClick(w.BNESSUNO, Qt::LeftButton);
    auto* number = w.findChild<QLineEdit*>("NUMFLU");
    number->setText("1");
    QTest::mouseClick(w.findChild<QPushButton*>("BCONF"), Qt::LeftButton);
    EXPECT_EQ(t.messenger.infos, QStringList{"NON E' STATO SELEZIONATO ALCUN MESSAGGIO"});
    EXPECT_TRUE(QDir(toSign).isEmpty());
    QTest::mouseClick(w.BTUTTI, Qt::LeftButton);
    QTest::mouseClick(w.findChild<QPushButton*>("BCONF"), Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(toSign + "/ABCD1209.C01"));
    w.grab().save(QDir::temp().filePath("TFCREAFIRMAINVIAIE818.png"));
}

// From the menu item: three received e-ADs imported, one accepted, one with a shortage, one
// refused; the IE818 flow signed by the signing stand-in and sent to the customs stand-in in the
// test and the real environment; the reports sent and the pending loads in 2026_818_RGM.DAT.
TEST_F(ReceiptWindows, FromTheMenuToTheSentReportsWithTheStandins)
{
    QTemporaryDir standinDir;
    CustomsStandin standin(standinDir.path());
    ASSERT_TRUE(standin.running()) << standin.error().toStdString();
    SigningFolder signing(t.path("firma"));
    ctx.AppConfig.Fld[0] = signing.program;
    ctx.AppConfig.Fld[1] = signing.toSign;
    ctx.AppConfig.Fld[2] = signing.signedDir;
    ctx.CustomsCaFile = standin.caFile();
    // What StartupCheck requires.
    TRecAzienda company = ctx.CompanyRecord;
    RecordFile(ctx.datiGen("UTENTE.001"), TRecAzienda::Size).replaceAll({encodeCompany(company)});
    TRecTabella paths = blankRow();
    for (int i = 0; i < 4; ++i)
        paths.Fld[i] = ctx.AppConfig.Fld[i];
    PadRow(paths);
    RecordFile(ctx.datiGen("APPL.CFG"), TRecTabella::Size).replaceAll({encodeRow(paths)});
    TRecTabella web = blankRow();
    for (int i = 0; i < 7; ++i)
        web.Fld[i] = QStringLiteral("https://example.invalid/%1").arg(i);
    web.Fld[8] = web.Fld[9] = standin.host();
    PadRow(web);
    RecordFile(ctx.datiGen("WEB.CFG"), TRecTabella::Size).replaceAll({encodeRow(web)});
    t.shell.answer = true;
    t.shell.onStart = [](const QString& program) { QProcess::startDetached(program, {}); };
    TFTELEMATICO::setWaitInterval(100);
    putDocument("26FRA00000000000001A1", 1);
    putDocument("26FRA00000000000002A1", 2);
    putDocument("26FRA00000000000003A1", 1);
    t.messenger.answers = {true}; // accepted in test: send it for real

    const QStringList outcomes = {"1", "22", "3"};
    int reports = 0;
    QStringList seen;
    bool acting = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || acting)
            return;
        seen << modal->objectName();
        acting = true;
        if (auto* prep = qobject_cast<TFPREPIE818*>(modal)) {
            if (prep->BCONF->isVisible())
                QTimer::singleShot(0, prep, [prep] { QTest::mouseClick(prep->BCONF, Qt::LeftButton); });
        } else if (auto* w = qobject_cast<TFCOMPIE818*>(modal)) {
            if (w->PCCOMPIE818->currentIndex() == 0) {
                type(w->LINPRG->edit(), outcomes.value(reports));
                QTest::mouseClick(w->BDAPAG1A2, Qt::LeftButton);
            } else if (w->PCCOMPIE818->currentIndex() == 1) {
                if (outcomes.value(reports) == "22")
                    typeInCell(w->STGRID, 1, 2, "c"), QTest::keyClicks(w->STGRID, "5"),
                        QTest::keyClick(w->STGRID, Qt::Key_Return);
                QTest::mouseClick(w->BDAPAG2A3, Qt::LeftButton);
            } else {
                ++reports;
                QTest::mouseClick(w->BCONF, Qt::LeftButton);
            }
        } else if (modal->objectName() == "TFCREAFIRMAINVIAIE818") {
            auto* number = modal->findChild<QLineEdit*>("NUMFLU");
            auto* confirm = modal->findChild<QPushButton*>("BCONF");
            if (number->text().isEmpty())
                QTest::keyClick(modal->findChild<QLineEdit*>("DATFLU"), Qt::Key_Tab);
            else
                QTimer::singleShot(0, confirm, [confirm] { QTest::mouseClick(confirm, Qt::LeftButton); });
        } else if (modal->objectName() == "TFTELEMATICO" && ctx.Transmit.signedSeen) {
            if (!ctx.Transmit.realSendDone) {
                modal->findChild<QRadioButton*>("RPROVA")->setChecked(true);
                QTest::mouseClick(modal->findChild<QPushButton*>("BCONF"), Qt::LeftButton);
            } else {
                QTest::mouseClick(modal->findChild<QPushButton*>("BABBANDONA"), Qt::LeftButton);
            }
        }
        acting = false;
    });
    driver.start(20);
    const MenuItem* item = findMenuItem("ACOMP_IE818");
    ASSERT_TRUE(item);
    runMenuAction(*item, ctx, [&](const QString& name) { return openWindow(name, ctx, nullptr); });
    driver.stop();
    TFTELEMATICO::setWaitInterval(1000);

    seen.removeDuplicates();
    EXPECT_EQ(seen, (QStringList{"TFPREPIE818", "TFCOMPIE818", "TFCREAFIRMAINVIAIE818", "TFTELEMATICO"}));
    EXPECT_EQ(reports, 3);
    EXPECT_TRUE(QFile::exists(signing.signedDir + "ABCD1209.C01.p7m"));
    const QList<QByteArray> j = file(receiptfiles::reports(ctx, "2026"), TRecEad::Size);
    ASSERT_EQ(j.size(), 3) << t.messenger.all.join("|").toStdString();
    for (const QByteArray& r : j) {
        EXPECT_EQ(codec::getText(r, 76, 1), "I");
        EXPECT_EQ(codec::getI32(r, 72), 1);
    }
    const QList<QByteArray> rgm = file(receiptfiles::registerWork(ctx, "2026"), 520);
    ASSERT_EQ(rgm.size(), 4);
    EXPECT_EQ(codec::getF64(rgm[0], 112), 100.0);
    EXPECT_EQ(codec::getF64(rgm[3], 112), 0.0); // refused whole
    EXPECT_EQ(file(receiptfiles::reportLines(ctx, "2026"), TRecDettaglio::Size).size(), 2);

    // vt-inspect decodes the three files with their field names.
    QProcess inspect;
    inspect.start(QDir(buildDir()).filePath("vt-inspect"),
                  {receiptfiles::reports(ctx, "2026"), receiptfiles::reportLines(ctx, "2026"),
                   receiptfiles::registerWork(ctx, "2026")});
    ASSERT_TRUE(inspect.waitForFinished(20000));
    const QList<QByteArray> out = inspect.readAllStandardOutput().split('\n');
    ASSERT_GE(out.size(), 9);
    EXPECT_EQ(QJsonDocument::fromJson(out[0]).object().value("esitoRicezione").toString(), "1");
    EXPECT_EQ(QJsonDocument::fromJson(out[3]).object().value("indicatore").toString(), "S");
    const QJsonObject load = QJsonDocument::fromJson(out[5]).object();
    EXPECT_EQ(load.value("numeroDocumento").toString(), "26FRA00000000000001A1");
    EXPECT_EQ(load.value("litri").toDouble(), 100.0);
}

} // namespace
