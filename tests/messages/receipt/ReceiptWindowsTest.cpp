// The report-of-receipt windows driven offscreen: the import window, the three pages of the report
// with the differences grid typed into as a clerk does, and the IE818 flow window; and the whole
// road from the menu item through signing and transmission with the stand-ins.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <functional>

#include "app/MenuActions.h"
#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "messages/ead/EadStore.h"
#include "messages/receipt/Ie818Send.h"
#include "messages/receipt/ReceiptReport.h"
#include "messages/receipt/ReceivedImport.h"
#include "messages/receipt/TFCOMPIE818.h"
#include "messages/receipt/TFCREAFIRMAINVIAIE818.h"
#include "messages/receipt/TFPREPIE818.h"
#include "messages/transmission/TFTELEMATICO.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"
#include "support/ReceivedEadFixtures.h"
#include "support/Standins.h"
#include "support/TableFixtures.h"
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

    // What StartupCheck requires: the company, the application paths and the web addresses.
    void writeConfiguration(const QString& serviceHost = QString())
    {
        writeStartupFiles(ctx, ctx.CompanyRecord,
                          {ctx.AppConfig.Fld[0], ctx.AppConfig.Fld[1], ctx.AppConfig.Fld[2], ctx.AppConfig.Fld[3]}, serviceHost);
    }

    // A report of receipt stored for the imported e-AD numbered messageNumber, arrived 05/12/2026.
    void storeReport(std::int32_t messageNumber, const QString& outcome, const QList<ReceiptGridRow>& rows)
    {
        TRecEad received;
        for (const QByteArray& h : file(receiptfiles::xmlHeaders(ctx), TRecEad::Size))
            if (RecordFile::numberOf(h) == messageNumber)
                received = decodeEad(h);
        const QList<TRecDettaglio> app = importedLines(ctx, messageNumber);
        const ReceiptEntry e{"it", outcome, QDate(2026, 12, 5), "Nota"};
        const ReceiptLines lines = buildReceiptLines(app, rows, outcome, reasonCodes(readReasons(ctx)));
        ASSERT_TRUE(lines.ok);
        storeReceipt(ctx, "2026", buildReceiptHeader(received, ctx.CompanyRecord, e), app, lines.lines);
    }

    // Report 1 of 2026, accepted as it came (outcome "1"), not sent.
    void storeBareReport()
    {
        TRecEad r = blankEad();
        r.progressivo = 1;
        r.ARC = "26FRA00000000000001A1";
        r.LINPRG = "1";
        RecordFile(receiptfiles::reports(ctx, "2026"), TRecEad::Size).append(encodeEad(r));
    }

    // The signing stand-in and the customs stand-in on loopback in place of the real ones; the
    // transmission window looks for the signed file every 100 ms.
    void useStandins(CustomsStandin& standin, SigningFolder& signing)
    {
        ctx.AppConfig.Fld[0] = signing.program;
        ctx.AppConfig.Fld[1] = signing.toSign;
        ctx.AppConfig.Fld[2] = signing.signedDir;
        ctx.CustomsCaFile = standin.caFile();
        writeConfiguration(standin.host());
        ctx.WebConfig.Fld[8] = ctx.WebConfig.Fld[9] = standin.host();
        t.shell.answer = true;
        t.shell.onStart = [](const QString& program) { QProcess::startDetached(program, {}); };
        TFTELEMATICO::setWaitInterval(100);
    }

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
    QTest::keyClicks(w.STGRID, "9");
    QTest::keyClick(w.STGRID, Qt::Key_Delete); // a slip: the cell starts over
    EXPECT_EQ(w.STGRID->cellText(2, 3), "");
    QTest::keyClicks(w.STGRID, "2,256");
    QTest::keyClick(w.STGRID, Qt::Key_Backspace);
    QTest::keyClick(w.STGRID, Qt::Key_Return);

    // Nothing the grid shows is cut short: each column is wider than its widest text.
    const QFontMetrics fm(w.STGRID->font());
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < w.STGRID->rowCount(); ++r)
            EXPECT_GT(w.STGRID->columnWidth(c), fm.horizontalAdvance(w.STGRID->cellText(r, c)))
                << "row " << r << " column " << c;

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

// A clerk changing the outcome after the grid was filled: the refusals of "3" go when the outcome
// becomes "22"; a shortage typed under "22" does not reach the report when the outcome becomes
// "21", whose differences page is hidden.
TEST_F(ReceiptWindows, ChangingTheOutcomeDropsWhatTheNewOneCannotCarry)
{
    importedInHand(2);
    TFCOMPIE818 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    type(w.LINPRG->edit(), "3");
    QTest::mouseClick(w.BDAPAG1A2, Qt::LeftButton);
    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 1);
    EXPECT_EQ(w.STGRID->cellText(1, 2), "   R");
    QTest::mouseClick(w.BDAPAG2A1, Qt::LeftButton);
    type(w.LINPRG->edit(), "22");
    QTest::mouseClick(w.BDAPAG1A2, Qt::LeftButton);
    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 1);
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(w.STGRID->cellText(r, 2), "") << r;
        EXPECT_EQ(w.STGRID->cellText(r, 3), "") << r;
    }
    typeInCell(w.STGRID, 1, 2, "c");
    QTest::keyClicks(w.STGRID, "5");
    QTest::keyClick(w.STGRID, Qt::Key_Return);
    QTest::mouseClick(w.BDAPAG2A1, Qt::LeftButton);
    type(w.LINPRG->edit(), "21");
    EXPECT_FALSE(w.PCCOMPIE818->isTabVisible(1));
    QTest::mouseClick(w.BDAPAG1A2, Qt::LeftButton);
    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 2);
    EXPECT_FALSE(w.RIEPILOGO->toPlainText().contains("Calo")) << w.RIEPILOGO->toPlainText().toStdString();
    QTest::mouseClick(w.BCONF, Qt::LeftButton);
    ASSERT_TRUE(w.confirmed());
    EXPECT_TRUE(file(receiptfiles::reportLines(ctx, "2026"), TRecDettaglio::Size).isEmpty());
    const QList<QByteArray> loads = file(receiptfiles::registerWork(ctx, "2026"), 520);
    ASSERT_EQ(loads.size(), 2);
    EXPECT_EQ(codec::getF64(loads[1], 112), 200.0); // line 2 whole
}

// Keys a clerk tries: an Alt key of a button of another page is never typed into the field in
// hand (the date stays); Alt+3 and Alt+C lead to the summary, Alt+1 back; Enter presses a page
// button; a quantity above the line's is shown cut to it, with a beep.
TEST_F(ReceiptWindows, AltKeysEnterOnPageButtonsAndCorrectionsInSight)
{
    importedInHand(2);
    TFCOMPIE818 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    type(w.LINPRG->edit(), "22");
    w.IMGPRO->setFocus();
    QApplication::processEvents();
    const QString date = w.IMGPRO->text();
    for (Qt::Key key : {Qt::Key_X, Qt::Key_9})
        QTest::keyClick(w.IMGPRO, key, Qt::AltModifier);
    EXPECT_EQ(w.IMGPRO->text(), date);
    EXPECT_EQ(w.PCCOMPIE818->currentIndex(), 0);
    QTest::keyClick(w.IMGPRO, Qt::Key_3, Qt::AltModifier);
    EXPECT_EQ(w.IMGPRO->text(), date);
    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 2);
    EXPECT_TRUE(w.RIEPILOGO->toPlainText().contains("Esito Ricezione: 22"));
    QTest::keyClick(w.RIEPILOGO, Qt::Key_1, Qt::AltModifier);
    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 0);
    QTest::keyClick(w.DENPRG, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(w.DENPRG->text(), "");
    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 2);
    EXPECT_FALSE(w.confirmed()); // the summary first: CONFERMA is the clerk's next key

    QTest::keyClick(w.DAPAG5A4, Qt::Key_Return);
    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 1);
    const int beeps = t.messenger.beeps;
    typeInCell(w.STGRID, 0, 2, "c");
    QTest::keyClicks(w.STGRID, "5000");
    QTest::keyClick(w.STGRID, Qt::Key_Return);
    EXPECT_EQ(w.STGRID->cellText(0, 3).trimmed(), "100,000"); // the line's litres
    EXPECT_EQ(t.messenger.beeps, beeps + 1);
    typeInCell(w.STGRID, 1, 4, "39");                         // 9 is no reason of T025
    EXPECT_EQ(w.STGRID->cellText(1, 4), "    3");
    EXPECT_EQ(t.messenger.beeps, beeps + 2);
}

// Reason 0 without its note keeps page 2, with the cursor on the note to write.
TEST_F(ReceiptWindows, ReasonZeroWithoutNoteStaysOnItsNote)
{
    importedInHand(2);
    TFCOMPIE818 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    type(w.LINPRG->edit(), "22");
    QTest::mouseClick(w.BDAPAG1A2, Qt::LeftButton);
    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 1);
    typeInCell(w.STGRID, 1, 4, "0");
    w.STGRID->setCurrentCell(0, 2);
    int pageBehindTheMessage = -1;
    t.messenger.onInfo = [&](const QString&) { pageBehindTheMessage = w.PCCOMPIE818->currentIndex(); };
    QTest::mouseClick(w.BDAPAG2A3, Qt::LeftButton);
    t.messenger.onInfo = nullptr;
    EXPECT_EQ(pageBehindTheMessage, 1); // the summary is never shown behind the refusal
    EXPECT_EQ(w.PCCOMPIE818->currentIndex(), 1);
    EXPECT_EQ(t.messenger.infos, QStringList{QString::fromUtf8(ReasonZeroNeedsNote)});
    EXPECT_EQ(w.STGRID->currentRow(), 1);
    EXPECT_EQ(w.STGRID->currentColumn(), 5);
    QTest::keyClicks(w.STGRID, "Tappi difettosi");
    QTest::keyClick(w.STGRID, Qt::Key_Return);
    QTest::mouseClick(w.BDAPAG2A3, Qt::LeftButton);
    EXPECT_EQ(w.PCCOMPIE818->currentIndex(), 2);
    EXPECT_TRUE(w.RIEPILOGO->toPlainText().contains("Nota: Tappi difettosi"));
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

// The consequences of the outcome for the lines do not depend on the way the clerk reaches the
// summary: the page buttons, Alt+3 or Alt+C from the field in hand, or a click on the page's tab.
// A refused e-AD ("3") has every line refused whole even when page 2 was never shown; a partly
// refused one ("4") carries the differences typed on page 2, also when the clerk went back to
// page 1 before going on. Line 1 holds 100 litres, line 2 200.
TEST_F(ReceiptWindows, TheSummaryIsTheSameWhicheverWayItIsReached)
{
    enum class Way { Buttons, Alt3, AltC, Tab };
    const std::pair<Way, const char*> ways[] = {
        {Way::Buttons, "page buttons"}, {Way::Alt3, "Alt+3"}, {Way::AltC, "Alt+C"}, {Way::Tab, "tab"}};
    struct Expected {
        const char* outcome;
        double litres[2];     // pending loads (818_RGM)
        double refused[2];    // 818_K, by line
        const char* indicator[2];
        double difference[2];
    };
    const Expected cases[] = {{"3", {0, 0}, {100, 200}, {" ", " "}, {0, 0}},
                              {"4", {90, 200}, {10, 0}, {" ", "S"}, {0, 5}}};
    importedInHand(2);
    for (const Expected& e : cases)
        for (auto [way, wayName] : ways) {
            SCOPED_TRACE(std::string("outcome ") + e.outcome + ", " + wayName);
            for (const QString& path : {receiptfiles::reports(ctx, "2026"), receiptfiles::reportLines(ctx, "2026"),
                                        receiptfiles::registerWork(ctx, "2026")})
                QFile::remove(path);
            t.messenger.infos.clear();
            TFCOMPIE818 w(ctx);
            w.show();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
            type(w.LINPRG->edit(), e.outcome);
            if (QString::fromLatin1(e.outcome) == "4") { // the differences typed on page 2
                QTest::mouseClick(w.BDAPAG1A2, Qt::LeftButton);
                ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 1);
                typeInCell(w.STGRID, 0, 2, "r");
                QTest::keyClicks(w.STGRID, "10");
                QTest::keyClick(w.STGRID, Qt::Key_Return);
                typeInCell(w.STGRID, 1, 2, "c");
                QTest::keyClicks(w.STGRID, "5"); // no Enter: the cell as it stands
                if (way != Way::Buttons) {       // back to page 1, the summary from there
                    QTest::mouseClick(w.BDAPAG2A1, Qt::LeftButton);
                    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 0);
                    w.DENPRG->setFocus();
                    QApplication::processEvents();
                }
            }
            QWidget* here = QApplication::focusWidget();
            ASSERT_TRUE(here);
            switch (way) {
            case Way::Buttons:
                if (w.PCCOMPIE818->currentIndex() == 0)
                    QTest::mouseClick(w.BDAPAG1A2, Qt::LeftButton);
                QTest::mouseClick(w.BDAPAG2A3, Qt::LeftButton);
                break;
            case Way::Alt3: QTest::keyClick(here, Qt::Key_3, Qt::AltModifier); break;
            case Way::AltC: QTest::keyClick(here, Qt::Key_C, Qt::AltModifier); break;
            case Way::Tab: {
                QTabBar* tabs = w.PCCOMPIE818->tabBar();
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
                break;
            }
            }
            QApplication::processEvents();
            ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 2);
            const QString summary = w.RIEPILOGO->toPlainText();
            if (QString::fromLatin1(e.outcome) == "3") {
                EXPECT_TRUE(summary.contains("Quantità Rifiutata: 100,000")) << summary.toStdString();
                EXPECT_TRUE(summary.contains("Quantità Rifiutata: 200,000")) << summary.toStdString();
                EXPECT_EQ(w.STGRID->cellText(1, 3).trimmed(), "200,000"); // the grid shows it too
            } else {
                EXPECT_TRUE(summary.contains("Quantità Rifiutata: 10,000")) << summary.toStdString();
                EXPECT_TRUE(summary.contains("              Calo: 5,000")) << summary.toStdString();
            }
            QTest::mouseClick(w.BCONF, Qt::LeftButton);
            ASSERT_TRUE(w.confirmed()) << t.messenger.infos.join("|").toStdString();
            EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join("|").toStdString();

            const QList<QByteArray> k = file(receiptfiles::reportLines(ctx, "2026"), TRecDettaglio::Size);
            ASSERT_EQ(k.size(), 2);
            const QList<QByteArray> rgm = file(receiptfiles::registerWork(ctx, "2026"), 520);
            ASSERT_EQ(rgm.size(), 2);
            for (int n = 0; n < 2; ++n) {
                EXPECT_EQ(codec::getI32(k[n], 8), n + 1);
                EXPECT_EQ(codec::getF64(k[n], 2080), e.refused[n]) << "line " << n + 1;
                EXPECT_EQ(codec::getText(k[n], 12, 1), QString::fromLatin1(e.indicator[n])) << "line " << n + 1;
                EXPECT_EQ(codec::getF64(k[n], 2072), e.difference[n]) << "line " << n + 1;
                EXPECT_EQ(codec::getF64(rgm[n], 112), e.litres[n]) << "line " << n + 1;
            }
        }
}

// The arrival date's year names the file of the pending loads: a year outside 2008-2060 is
// refused with its message; a date after today (12/03/2052 typed for 2026), or before the e-AD was
// validated (01/12/2026), is kept only when the clerk confirms it, and asked about once.
TEST_F(ReceiptWindows, ArrivalDateOutOfRangeIsRefusedAndAnUnusualOneIsAskedAbout)
{
    importedInHand(1);
    TFCOMPIE818 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    type(w.LINPRG->edit(), "1");
    // A slip of the year, confirmed straight from the date with Alt+C.
    w.IMGPRO->setFocus();
    QApplication::processEvents();
    w.IMGPRO->selectAll();
    QTest::keyClicks(w.IMGPRO, "12032062");
    QTest::keyClick(w.IMGPRO, Qt::Key_C, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(w.PCCOMPIE818->currentIndex(), 0);
    EXPECT_TRUE(w.IMGPRO->hasFocus());
    EXPECT_EQ(t.messenger.infos, (QStringList{ArrivalYearOutOfRange, MissingField}));
    QMetaObject::invokeMethod(w.BCONF, "click"); // a click that still arrives
    EXPECT_FALSE(w.confirmed());
    EXPECT_FALSE(QFile::exists(receiptfiles::registerWork(ctx, "2062")));
    EXPECT_TRUE(t.messenger.questions.isEmpty());

    // After today (2052 for 2026, a slip): No keeps the page and the cursor on the date.
    t.messenger.infos.clear();
    t.messenger.answers = {false};
    w.IMGPRO->selectAll();
    QTest::keyClicks(w.IMGPRO, "12032052");
    QTest::keyClick(w.IMGPRO, Qt::Key_C, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(t.messenger.questions, QStringList{QString::fromUtf8(ArrivalAfterToday)});
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join("|").toStdString();
    EXPECT_EQ(w.PCCOMPIE818->currentIndex(), 0);
    EXPECT_TRUE(w.IMGPRO->hasFocus());

    // Before the validation: Yes goes on to the summary, and the date is not asked about again.
    t.messenger.questions.clear();
    t.messenger.answers = {true};
    w.IMGPRO->selectAll();
    QTest::keyClicks(w.IMGPRO, "28112026");
    QTest::keyClick(w.IMGPRO, Qt::Key_C, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(t.messenger.questions,
              QStringList{QString::fromUtf8(ArrivalBeforeValidation).arg("01/12/2026")});
    ASSERT_EQ(w.PCCOMPIE818->currentIndex(), 2);
    QTest::mouseClick(w.BCONF, Qt::LeftButton);
    EXPECT_TRUE(w.confirmed());
    EXPECT_EQ(t.messenger.questions.size(), 1);
    const QList<QByteArray> j = file(receiptfiles::reports(ctx, "2026"), TRecEad::Size);
    ASSERT_EQ(j.size(), 1);
    EXPECT_EQ(codec::getF64(j[0], 2120), dates::fromDate(QDate(2026, 11, 28)));
    EXPECT_EQ(file(receiptfiles::registerWork(ctx, "2026"), 520).size(), 1);
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
    QTest::keyClick(w.LANNO, Qt::Key_Return); // moves on: nothing imported yet
    EXPECT_TRUE(w.BCONF->hasFocus());
    EXPECT_TRUE(t.messenger.infos.isEmpty());
    QTest::keyClick(w.BCONF, Qt::Key_Return); // and Enter again confirms
    EXPECT_EQ(t.messenger.infos, QStringList{"NON SONO STATI TROVATI MESSAGGI DA COMPLETARE"});
    EXPECT_FALSE(w.isVisible());
}

// Two damaged files and a good one: one message names both damaged files, then the report window
// opens for the good one; abandoned, it leaves no report and no flow window.
TEST_F(ReceiptWindows, ImportWindowNamesTheFilesLeftOutInOneMessage)
{
    putDocument("26FRA00000000000001A1", 1);
    const QByteArray good = receivedEadXml(ReceivedEadDraft{});
    for (const char* name : {"26FRA00000000000002A1.xml", "26FRA00000000000003A1.xml"}) {
        QFile f(QDir(download).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(good.left(good.size() / 2)); // cut short
    }
    TFPREPIE818 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ModalDriver steps;
    QString focused;
    steps.on["TFCOMPIE818"] = [&](QWidget* modal, int) {
        focused = modal->focusWidget() ? modal->focusWidget()->objectName() : QString();
        QTest::keyClick(modal, Qt::Key_Escape);
    };
    QTest::keyClick(w.LANNO, Qt::Key_C, Qt::AltModifier);
    QTest::qWaitFor([&] { return !w.isVisible(); }, 10000);
    EXPECT_FALSE(steps.timedOut);
    EXPECT_EQ(steps.seen, QStringList{"TFCOMPIE818"});
    EXPECT_EQ(focused, "LINPRG"); // the outcome is the first thing to type
    ASSERT_EQ(t.messenger.infos.size(), 1) << t.messenger.infos.join("|").toStdString();
    EXPECT_TRUE(t.messenger.infos[0].contains("26FRA00000000000002A1.xml"));
    EXPECT_TRUE(t.messenger.infos[0].contains("26FRA00000000000003A1.xml"));
    EXPECT_TRUE(file(receiptfiles::reports(ctx, "2026"), TRecEad::Size).isEmpty());
}

TEST_F(ReceiptWindows, FlowWindowWithoutCheckedReportsWritesNothing)
{
    storeBareReport();
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

// A second CONFERMA while the first is still handing the flow to the signing program builds no
// second flow and starts the signing program once.
TEST_F(ReceiptWindows, ASecondConfirmWhileTheFirstRunsDoesNothing)
{
    storeBareReport();
    TFCREAFIRMAINVIAIE818 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.findChild<QLineEdit*>("NUMFLU")->setText("1");
    auto* confirm = w.findChild<QPushButton*>("BCONF");
    int clicks = 0;
    t.shell.onStart = [&](const QString&) {
        if (clicks++ == 0)
            QTest::mouseClick(confirm, Qt::LeftButton);
    };
    QTest::mouseClick(confirm, Qt::LeftButton);
    EXPECT_EQ(t.shell.programs.size(), 1);
    EXPECT_TRUE(QFile::exists(toSign + "/ABCD1209.C01"));
    EXPECT_EQ(codec::getI32(file(receiptfiles::reports(ctx, "2026"), TRecEad::Size)[0], 72), 1);
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
    useStandins(standin, signing);
    putDocument("26FRA00000000000001A1", 1);
    putDocument("26FRA00000000000002A1", 2);
    putDocument("26FRA00000000000003A1", 1);
    t.messenger.answers = {true}; // accepted in test: send it for real

    const QStringList outcomes = {"1", "22", "3"};
    int reports = 0;
    QStringList seen;
    {
        ModalDriver driver;
        driver.on["TFPREPIE818"] = [](QWidget* modal, int) {
            auto* prep = qobject_cast<TFPREPIE818*>(modal);
            if (prep->BCONF->isVisible())
                QTimer::singleShot(0, prep, [prep] { QTest::mouseClick(prep->BCONF, Qt::LeftButton); });
        };
        driver.on["TFCOMPIE818"] = [&](QWidget* modal, int) {
            auto* w = qobject_cast<TFCOMPIE818*>(modal);
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
        };
        driver.on["TFCREAFIRMAINVIAIE818"] = [](QWidget* modal, int) { proposeNumberThenConfirm(modal); };
        driver.on["TFTELEMATICO"] = [&](QWidget* modal, int) { sendInTestThenReal(modal, ctx.Transmit); };
        runMenuItem(ctx, "ACOMP_IE818");
        EXPECT_FALSE(driver.timedOut);
        seen = driver.seen;
    }
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

// The two lifecycle items of the reports of receipt, from the menu through the chooser to the
// lifecycle window's CONFERMA: "N" deletes the unsent report with its lines and its pending loads
// and nothing of the other report; "n" resets the send data of a sent report; a report sent by
// another workstation while the chooser is open is not deleted.
TEST_F(ReceiptWindows, DeleteAndResetReportsOfReceiptFromTheMenu)
{
    writeConfiguration();
    putDocument("26FRA00000000000001A1", 2);
    putDocument("26FRA00000000000002A1", 1);
    ASSERT_EQ(importReceivedEads(ctx, "2026").imported, 2);
    storeReport(1, "22", {{}, {"   C", "5", "", "Manca"}}); // report 1: line 2 five litres short
    storeReport(2, "1", {});                                  // report 2: accepted as it came
    const QString jPath = receiptfiles::reports(ctx, "2026"), kPath = receiptfiles::reportLines(ctx, "2026"),
                  rgmPath = receiptfiles::registerWork(ctx, "2026");
    ASSERT_EQ(file(jPath, TRecEad::Size).size(), 2);
    ASSERT_EQ(file(kPath, TRecDettaglio::Size).size(), 1);
    ASSERT_EQ(file(rgmPath, 520).size(), 3);
    const QByteArray secondReport = file(jPath, TRecEad::Size)[1];

    QString title, summary;
    auto confirmIn = [&](QWidget* modal, int) {
        title = modal->windowTitle();
        summary = modal->findChild<QTextEdit*>("RIEPILOGO")->toPlainText();
        QTest::mouseClick(modal->findChild<QPushButton*>("BCONF"), Qt::LeftButton);
    };
    {
        ModalDriver steps;
        steps.on["TFSCEGLIDAA"] = chooseRow(0);
        steps.on["TFINS_MOD_CANC_ARC"] = confirmIn;
        runMenuItem(ctx, "ACANC_IE818");
        EXPECT_FALSE(steps.timedOut);
        EXPECT_EQ(steps.seen, (QStringList{"TFSCEGLIDAA", "TFINS_MOD_CANC_ARC"}));
    }
    EXPECT_EQ(title, "Cancella LA NOTA DI RICEZIONE NON INVIATA");
    EXPECT_TRUE(summary.contains("              Calo: 5,000")) << summary.toStdString();
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join("|").toStdString();
    EXPECT_EQ(file(jPath, TRecEad::Size), QList<QByteArray>{secondReport});
    EXPECT_TRUE(file(kPath, TRecDettaglio::Size).isEmpty());
    const QList<QByteArray> loads = file(rgmPath, 520);
    ASSERT_EQ(loads.size(), 1);
    EXPECT_EQ(codec::getI32(loads[0], 0), 2);                          // numero: the report left
    EXPECT_EQ(codec::getText(loads[0], 164, 21), "26FRA00000000000002A1"); // numeroDocumento

    // Report 2 sent in flow 3 of 09/12/2026, then its send data reset.
    const double flowDate = dates::fromDate(QDate(2026, 12, 9));
    ASSERT_TRUE(updateHeaderInPlace(ctx, jPath, 2, [&](TRecEad& r) {
        r.dataFlusso = flowDate;
        r.numeroFlusso = 3;
        r.stato = "I";
    }));
    {
        ModalDriver steps;
        steps.on["TFSCEGLIDAA"] = chooseRow(0);
        steps.on["TFINS_MOD_CANC_ARC"] = confirmIn;
        runMenuItem(ctx, "AAZZRIF_IE818");
        EXPECT_FALSE(steps.timedOut);
        EXPECT_EQ(steps.seen, (QStringList{"TFSCEGLIDAA", "TFINS_MOD_CANC_ARC"}));
    }
    EXPECT_EQ(title, "Cancella i Riferimenti di un flusso IE818 inviato");
    QList<QByteArray> j = file(jPath, TRecEad::Size);
    ASSERT_EQ(j.size(), 1);
    EXPECT_EQ(codec::getF64(j[0], 64), 0.0);
    EXPECT_EQ(codec::getI32(j[0], 72), 0);
    EXPECT_EQ(codec::getText(j[0], 76, 1), " ");
    EXPECT_EQ(j[0].mid(78), secondReport.mid(78)); // nothing else changed

    // "N" on report 2, which another workstation sends while the chooser is open: refused.
    {
        ModalDriver steps;
        steps.on["TFSCEGLIDAA"] = chooseRow(0, [&] {
            updateHeaderInPlace(ctx, jPath, 2, [&](TRecEad& r) { r.stato = "I"; });
        });
        steps.on["TFINS_MOD_CANC_ARC"] = confirmIn;
        runMenuItem(ctx, "ACANC_IE818");
        EXPECT_FALSE(steps.timedOut);
    }
    EXPECT_EQ(t.messenger.infos,
              QStringList{"LA NOTA DI RICEZIONE N. 2 E' GIA' STATA INVIATA: NON PUO' ESSERE CANCELLATA"});
    EXPECT_EQ(file(jPath, TRecEad::Size).size(), 1);
    EXPECT_EQ(file(rgmPath, 520).size(), 1);
}

// A flow accepted in the test environment only (the clerk does not go on to the real one): the
// reports keep the flow's date and number and stay unsent, still offered for a flow.
TEST_F(ReceiptWindows, AFlowAcceptedOnlyInTheTestEnvironmentLeavesTheReportsUnsent)
{
    QTemporaryDir standinDir;
    CustomsStandin standin(standinDir.path());
    ASSERT_TRUE(standin.running()) << standin.error().toStdString();
    SigningFolder signing(t.path("firma"));
    useStandins(standin, signing);
    putDocument("26FRA00000000000001A1", 2);
    ASSERT_EQ(importReceivedEads(ctx, "2026").imported, 1);
    storeReport(1, "22", {{}, {"   C", "5", "", ""}});
    t.messenger.answers = {false}; // accepted in test: not sent for real

    ModalDriver steps;
    steps.on["TFCREAFIRMAINVIAIE818"] = [](QWidget* modal, int) { proposeNumberThenConfirm(modal); };
    bool testSent = false;
    steps.on["TFTELEMATICO"] = [&](QWidget* modal, int) {
        if (!ctx.Transmit.signedSeen)
            return;
        if (!testSent) {
            testSent = true;
            modal->findChild<QRadioButton*>("RPROVA")->setChecked(true);
            QTest::mouseClick(modal->findChild<QPushButton*>("BCONF"), Qt::LeftButton);
            return;
        }
        QTest::mouseClick(modal->findChild<QPushButton*>("BABBANDONA"), Qt::LeftButton);
    };
    ctx.WorkYear = "2026";
    openWindow(QStringLiteral("TFCREAFIRMAINVIAIE818"), ctx, nullptr);
    TFTELEMATICO::setWaitInterval(1000);

    EXPECT_FALSE(steps.timedOut);
    EXPECT_EQ(steps.seen, (QStringList{"TFCREAFIRMAINVIAIE818", "TFTELEMATICO"}));
    EXPECT_TRUE(testSent);
    ASSERT_FALSE(t.messenger.questions.isEmpty()) << t.messenger.all.join("|").toStdString();
    EXPECT_TRUE(t.messenger.questions.last().contains("accettato nell'ambiente di prova"));
    EXPECT_FALSE(ctx.Transmit.positiveRealOutcome) << t.messenger.all.join("|").toStdString();
    const QList<QByteArray> j = file(receiptfiles::reports(ctx, "2026"), TRecEad::Size);
    ASSERT_EQ(j.size(), 1);
    EXPECT_EQ(codec::getI32(j[0], 72), 1);          // the flow's number is kept
    EXPECT_EQ(codec::getText(j[0], 76, 1), " ");    // not sent
    EXPECT_EQ(unsentReports(ctx, "2026").size(), 1);
}

} // namespace
