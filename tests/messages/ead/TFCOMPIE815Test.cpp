// The e-AD compilation window, driven offscreen from its menu items: a whole compilation by
// keyboard alone, checked byte by byte in the yearly files, on to the IE815 flow window; the
// confirmation that checks every page afresh; the modification of an unsent e-AD, and of one that
// another workstation has meanwhile changed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QtEndian>

#include <deque>
#include <functional>

#include "app/MenuActions.h"
#include "foundation/DeliveredData.h"
#include "foundation/AddressFile.h"
#include "foundation/RecordFile.h"
#include "masterdata/AddressBook.h"
#include "foundation/Dates.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/Summary.h"
#include "messages/ead/TFCOMPIE815.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"
#include "messages/CompileFixture.h"
#include "ui/WindowRegistry.h"

using namespace vt;
using namespace vt::test;

TEST_F(CompileWindow, KeyboardOnlyFromTheMenuToTheSavedEadAndTheFlowWindow)
{
    writeWorkFiles(ctx, 2, 2); // leftovers of an earlier e-AD: the menu action empties them

    std::deque<std::function<void()>> script;
    auto step = [&](std::function<void()> f) { script.push_back(std::move(f)); };
    // Page 1: the focus starts on the invoice number.
    step([] {
        keysRegisteredConsignee("FT/125");
        shot("1-speditore-destinatario");
        enter({}, "BPAG2");
    });
    // Page 2 and two transport lines.
    step([] {
        enter("1", "RESTRA");
        keysTransportTerms("2");
        for (const char* plate : {"FI123AB", "FI456CD"})
            keysTransportLine(plate, QStringLiteral("SIG-") + plate, "integri", "motrice");
        keysTransportLinesDone();
        shot("2-dati-del-trasporto");
        enter({}, "BFINTRA");
    });
    // Page 3: a packaged, a bulk and a sparkling product.
    step([] {
        enter({}, "NDETPR");
        enter("CHIANTI75", "COAZPR");
        enter({}, "LEDEPR");
        enter({}, "META20");
        enter("1000", "NUMCON");
        for (const char* f : {"VOLCON", "TOTLIT", "GRADOA", "PNETTO", "PLORDO", "CODIMB", "NUMIMB"})
            enter({}, f);
        enter("SIGP1", "SIGIMB");
        enter({}, "INSIIM");
        enter({}, "DESCOM");
        enter({}, "BCONFPR");

        enter({}, "NDETPR");
        enter("SFUSO", "COAZPR");
        enter({}, "LEDEPR");
        enter({}, "META20");
        enter("225", "TOTLIT");
        for (const char* f : {"GRADOA", "PNETTO", "PLORDO", "CODIMB", "SIGIMB", "INSIIM"})
            enter({}, f);
        enter({}, "BCONFPR");

        enter({}, "NDETPR");
        enter("PROSECCO", "COAZPR");
        enter({}, "LEDEPR");
        enter({}, "META20");
        enter("600", "NUMCON");
        for (const char* f : {"VOLCON", "TOTLIT", "GRADOA", "PNETTO", "PLORDO", "CODIMB", "NUMIMB", "SIGIMB", "INSIIM",
                              "DESCOM", "BCONFPR", "NDETPR"})
            enter({}, f);
        enter({}, "COAZPR"); // no product: the lines are finished
        shot("3-dettagli-del-vino");
        enter({}, "BFINPR");
    });
    // Page 4: the consignor guarantees; the account and the amount are proposed.
    step([] {
        enter("1", "TIPGAR");
        enter({}, "GARSPE");
        enter({}, "TGASPE");
        enter({}, "IMGASP");
        shot("4-garanti-accise");
        enter({}, "BPAG5");
    });
    QString summaryShown;
    step([&] {
        shot("5-riepilogo-e-conferma");
        summaryShown = QApplication::activeModalWidget()->findChild<QTextEdit*>("RIEPILOGO")->toPlainText();
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "BCONF");
    });
    // BCONF: the e-AD is saved and the flow window opens (modal, so the key is sent from the loop).
    step([] { QTimer::singleShot(0, [] { key(Qt::Key_Return); }); });

    QStringList seen;
    QString flowSummary;
    runMenu("ACOMPIE815", [&](QWidget* modal) {
        if (!seen.contains(modal->objectName()))
            seen << modal->objectName();
        if (modal->objectName() == "TFCOMPIE815") {
            if (!script.empty()) {
                auto next = std::move(script.front());
                script.pop_front();
                next();
            }
            return true;
        }
        if (modal->objectName() == "TFCREAFIRMAINVIAIE815") {
            flowSummary = modal->findChild<QTextEdit*>("RIEPILOGO")->toPlainText();
            QTest::keyClick(modal, Qt::Key_Escape);
            return true;
        }
        return false;
    });

    EXPECT_EQ(seen, (QStringList{"TFCOMPIE815", "TFCREAFIRMAINVIAIE815"}));
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
    EXPECT_TRUE(summaryShown.contains("Fattura n. FT/125"));
    EXPECT_EQ(flowSummary.trimmed(), summaryShown.trimmed());
    EXPECT_EQ(readTextFile(eadSummaryPath(ctx)).replace("\r\n", "\n").trimmed(), summaryShown.trimmed());

    // The header, byte for byte.
    Image h = blankHeaderImage();
    h.i(0, 1);
    h.s(4, 2, "it");
    h.s(7, 22, "46365.43750-FIT00012SF"); // 09/12/2026 10:30 as a day count, excise chars 5-13, "F"
    h.i(56, 1);
    h.s(100, 1, "1");
    h.s(102, 1, "2");
    h.i(104, 0);
    h.i(108, 2);
    h.s(112, 1, "1");
    h.s(114, 1, "N");
    companyAsConsignor(h);
    h.s(376, 3, "001");
    h.s(380, 18, "IT00FIT00012S");
    h.s(399, 100, "Cantina del Chianti srl");
    h.s(500, 65, "Via del Vino");
    h.s(566, 11, "7");
    h.s(578, 10, "50022");
    h.s(589, 50, "GREVE IN CHIANTI");
    h.s(640, 8, "IT066100");
    h.s(649, 8, "IT066100");
    h.s(658, 18, "DE00123456789");
    h.s(677, 100, "Weinhaus Mueller GmbH");
    h.s(778, 65, "Hauptstrasse");
    h.s(844, 11, "12");
    h.s(856, 10, "80331");
    h.s(867, 50, "MUENCHEN");
    h.s(918, 2, "de");
    h.s(1297, 2, "3");
    h.s(1927, 35, "FT/125");
    h.d(1968, day(2026, 12, 9));
    h.s(1976, 1, "1");
    h.d(1984, day(2026, 12, 9));
    h.s(1992, 5, "23:00");
    h.s(1998, 4, "1");
    h.s(2003, 17, "GAR00012345");
    h.s(2021, 1, "C");
    // 750 l and 225 l of still wine at 10, 450 l of sparkling wine at 136, each / 1000.
    h.d(2024, 70.95);
    h.s(2050, 1, "C");
    h.s(2082, 1, "C");
    h.s(2114, 1, "C");
    const QList<QByteArray> headers = RecordFile(ctx.registri("2026_815_A.DAT"), 2688).readAll();
    ASSERT_EQ(headers.size(), 1);
    for (int i = 0; i < 2688; ++i)
        ASSERT_EQ(headers[0][i], h.b[i]) << "header byte " << i;

    // The transport lines.
    const QList<QByteArray> transport = RecordFile(ctx.registri("2026_815_I.DAT"), 2128).readAll();
    ASSERT_EQ(transport.size(), 2);
    int n = 0;
    for (const char* plate : {"FI123AB", "FI456CD"}) {
        Image l = blankLineImage();
        l.i(0, n + 1);
        l.i(4, 1);
        l.s(14, 2, "2");
        l.s(56, 250, QByteArray("SIG-") + plate);
        l.s(307, 250, "integri");
        l.s(558, 250, plate);
        l.s(809, 250, "motrice");
        EXPECT_EQ(transport[n], l.b) << "transport line " << n + 1;
        ++n;
    }

    // The product lines.
    const QList<QByteArray> products = RecordFile(ctx.registri("2026_815_C.DAT"), 2128).readAll();
    ASSERT_EQ(products.size(), 3);
    Image p1 = blankLineImage();
    p1.i(0, 1);
    p1.i(4, 1);
    p1.s(12, 1, "1");
    p1.s(14, 2, "CT");
    p1.s(39, 7, "CII");
    p1.s(56, 250, "CHIANTI75");
    p1.s(307, 250, "Chianti DOCG 2024");
    p1.s(558, 250, "W200-22042131-00-0000");
    p1.s(809, 250, "SIGP1");
    p1.s(1311, 250, "01");
    p1.s(1562, 250,
         "Il presente documento vale quale attestato di denominazione di origine protetta, N. IT/PDO/0001 del registro "
         "E-Bacchus. Organismo di certificazione: Valoritalia");
    p1.i(2064, 167); // 1000 bottles, 6 to a box
    p1.d(2072, 1000);
    p1.d(2080, 0.75);
    p1.d(2088, 750);
    p1.d(2096, 13.5);
    p1.d(2104, 750);
    p1.d(2112, 1300);
    EXPECT_EQ(products[0], p1.b);

    Image p2 = blankLineImage();
    p2.i(0, 2);
    p2.i(4, 1);
    p2.s(12, 1, "1");
    p2.s(14, 2, "1A");
    p2.s(39, 7, "CII");
    p2.s(56, 250, "SFUSO");
    p2.s(307, 250, "Rosso sfuso");
    p2.s(558, 250, "W200-22042131-00-0000");
    p2.s(1813, 250, " ");
    p2.d(2088, 225);
    p2.d(2096, 12);
    p2.d(2104, 225);
    p2.d(2112, 225);
    EXPECT_EQ(products[1], p2.b);

    Image p3 = blankLineImage();
    p3.i(0, 3);
    p3.i(4, 1);
    p3.s(12, 1, "2");
    p3.s(14, 2, "CT");
    p3.s(39, 7, "CII");
    p3.s(56, 250, "PROSECCO");
    p3.s(307, 250, "Prosecco DOC");
    p3.s(558, 250, "W300-22041015-00-0000");
    p3.s(1562, 250,
         "Il presente documento vale quale attestato di indicazione geografica protetta, N. IT/PDO/0001 del registro "
         "E-Bacchus. Organismo di certificazione: Valoritalia");
    p3.i(2064, 100);
    p3.d(2072, 600);
    p3.d(2080, 0.75);
    p3.d(2088, 450);
    p3.d(2096, 11);
    p3.d(2104, 450);
    p3.d(2112, 720);
    EXPECT_EQ(products[2], p3.b);
    EXPECT_EQ(ctx.WorkYear, "2026");
}

namespace {
// Opens the window over the e-AD in hand in modify mode, as the menu sequence leaves it.
struct ModifyFixture : CompileWindow {
    TRecEad old;
    void load(int nTransport, int nProducts)
    {
        saveSampleEad(ctx, 1, 1);
        old = saveSampleEad(ctx, nTransport, nProducts);
        saveSampleEad(ctx, 1, 1);
        StartupCheckLoad();
        ctx.SelectedYear = "2026";
        ctx.PickedEad = old.progressivo;
        ctx.OpCode = 'M';
        ctx.ModifyMode = true;
        openWindow("LOADEAD", ctx, nullptr);
        ASSERT_EQ(ctx.PickedEad, old.progressivo);
        // A registered consignee: no place of delivery to fill in.
        ctx.EadHeader.TIPDES = "2";
    }
    void StartupCheckLoad()
    {
        ctx.CompanyRecord = decodeCompany(*RecordFile(ctx.datiGen("UTENTE.001"), TRecAzienda::Size).readFirst());
    }
};

void toSummaryAndConfirm(TFCOMPIE815& w)
{
    auto* tabs = w.findChild<QTabWidget*>("PCCOMPEAD");
    for (int page = 1; page <= 4; ++page) {
        tabs->setCurrentIndex(page);
        QApplication::processEvents();
        ASSERT_EQ(tabs->currentIndex(), page);
    }
    auto* bconf = w.findChild<QPushButton*>("BCONF");
    bconf->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(bconf, Qt::LeftButton);
    QApplication::processEvents();
}
} // namespace

TEST_F(ModifyFixture, ModifyReplacesTheOldEadWithANewProgressiveAndRenumberedLines)
{
    load(3, 2);
    // The flow window that opens after saving is left at once.
    QTimer esc;
    QObject::connect(&esc, &QTimer::timeout, [] {
        QWidget* m = QApplication::activeModalWidget();
        if (m && m->objectName() == "TFCREAFIRMAINVIAIE815")
            QTest::keyClick(m, Qt::Key_Escape);
    });
    esc.start(10);
    TFCOMPIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.findChild<QLineEdit*>("NUMFAT")->text(), "FT/125");
    EXPECT_EQ(w.findChild<QLineEdit*>("DENDES")->text(), QString::fromUtf8("WEINHAUS MÜLLER GMBH"));
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "LINGUA");
    // Transport line 2 of 3 deleted: the former line 3 becomes 2.
    auto* tabs = w.findChild<QTabWidget*>("PCCOMPEAD");
    w.findChild<QLineEdit*>("NUMFAT")->setText("FT/999");
    tabs->setCurrentIndex(1);
    QApplication::processEvents();
    ASSERT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(w.findChild<QListWidget*>("MDETRA")->count(), 3);
    auto* ndetra = w.findChild<QLineEdit*>("NDETRA");
    ndetra->setFocus();
    ndetra->selectAll();
    QTest::keyClicks(ndetra, "2");
    QTest::keyClick(ndetra, Qt::Key_Return);
    QApplication::processEvents();
    QApplication::processEvents();
    auto* cancel = w.findChild<QPushButton*>("BCANTRA");
    ASSERT_TRUE(cancel->isVisible());
    QTest::mouseClick(cancel, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(w.findChild<QListWidget*>("MDETRA")->count(), 2);
    EXPECT_TRUE(w.findChild<QListWidget*>("MDETRA")->item(1)->text().startsWith("n. 2: UT=1 Id.UT=AB123 CD"));
    toSummaryAndConfirm(w);
    esc.stop();

    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
    const QList<TRecEad> headers = readHeaders(eadfiles::headers(ctx, "2026"));
    ASSERT_EQ(headers.size(), 3);
    for (const TRecEad& h : headers)
        EXPECT_NE(h.progressivo, old.progressivo);
    EXPECT_EQ(headers[2].progressivo, 4);
    EXPECT_EQ(headers[2].NUMFAT.trimmed(), "FT/999");
    EXPECT_EQ(ctx.EadHeader.progressivo, 4);
    QList<std::pair<int, int>> transport;
    for (const TRecDettaglio& l : readLines(eadfiles::transport(ctx, "2026")))
        transport << std::pair{l.numero, l.progressivo};
    // Lines of e-AD 1, of e-AD 3, then the two kept lines of the modified e-AD, now number 4.
    EXPECT_EQ(transport, (QList<std::pair<int, int>>{{1, 1}, {5, 3}, {6, 4}, {7, 4}}));
    const QList<TRecDettaglio> kept = readLines(eadfiles::transport(ctx, "2026"));
    EXPECT_EQ(kept[3].IDUNTR().trimmed(), "AB123 CD");
}

TEST_F(ModifyFixture, NothingIsSavedWhenAnotherWorkstationChangedTheEad)
{
    load(1, 1);
    TFCOMPIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // Meanwhile another workstation sends it.
    ASSERT_TRUE(updateEadInPlace(ctx, "2026", old.progressivo, [](TRecEad& r) { r.stato = EadState::Accepted; }));
    const QByteArray before = RecordFile(eadfiles::headers(ctx, "2026"), 2688).readAll().join();
    toSummaryAndConfirm(w);
    EXPECT_EQ(t.messenger.infos, QStringList{MsgEadChangedElsewhere});
    EXPECT_EQ(RecordFile(eadfiles::headers(ctx, "2026"), 2688).readAll().join(), before);
    EXPECT_EQ(readLines(eadfiles::transport(ctx, "2026")).size(), 3);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(CompileWindow, ConfirmChecksEveryPageAfreshAndWritesNothingOnAFailure)
{
    ctx.CompanyRecord = decodeCompany(*RecordFile(ctx.datiGen("UTENTE.001"), TRecAzienda::Size).readFirst());
    ctx.ModifyMode = false;
    writeWorkFiles(ctx, 1, 1);
    TFCOMPIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* tabs = w.findChild<QTabWidget*>("PCCOMPEAD");
    // Untouched: no page change, and the foot of the window says why.
    tabs->setCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(w.findChild<QLabel*>("LSTATO")->text(), MsgTypeFirst);

    auto* numfat = w.findChild<QLineEdit*>("NUMFAT");
    numfat->setFocus();
    QTest::keyClicks(numfat, "FT/1");
    // Forward with a missing consignee: refused, the focus on the last failing field.
    tabs->setCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(t.messenger.infos.value(0), "CAMPO OBBLIGATORIO NON COMPILATO");

    // A confirmation that "still arrives" after the failed check writes nothing.
    QMetaObject::invokeMethod(w.findChild<QPushButton*>("BCONF"), "click");
    QApplication::processEvents();
    EXPECT_FALSE(QFile::exists(eadfiles::headers(ctx, "2026")));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "TIPDES");
}

// A modified e-AD whose guarantee was the amount proposed from its lines: a product added makes it
// follow; an amount the user had typed stays. (Germany: 90 litres at 10 euro per hectolitre, per
// thousand litres, give 0,9 a line.)
TEST_F(ModifyFixture, GuaranteeProposedFromTheLinesFollowsThemTypedStays)
{
    for (const double stored : {1.8, 125.5}) {
        load(1, 2);
        ctx.EadHeader.IMGASP = stored;
        TFCOMPIE815 w(ctx);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        auto* tabs = w.findChild<QTabWidget*>("PCCOMPEAD");
        tabs->setCurrentIndex(3);
        QApplication::processEvents();
        ASSERT_EQ(tabs->currentIndex(), 3);
        auto* amount = w.findChild<QLineEdit*>("IMGASP");
        EXPECT_EQ(amount->text(), stored == 1.8 ? "1,8" : "125,5");
        // Passing through the guarantor type with Enter keeps the stored amount.
        QTest::keyClick(w.findChild<QLineEdit*>("TIPGAR"), Qt::Key_Return);
        QApplication::processEvents();
        QApplication::processEvents();
        EXPECT_EQ(amount->text(), stored == 1.8 ? "1,8" : "125,5");
        // One more line of the same wine, written as the page would write it.
        QList<TRecDettaglio> lines = readLines(eadfiles::productWork(ctx));
        lines << lines.last();
        writeWorkFiles(ctx, readLines(eadfiles::transportWork(ctx)), lines);
        tabs->setCurrentIndex(2);
        QApplication::processEvents();
        tabs->setCurrentIndex(3);
        QApplication::processEvents();
        ASSERT_EQ(tabs->currentIndex(), 3);
        EXPECT_EQ(amount->text(), stored == 1.8 ? "2,7" : "125,5") << stored;
        w.reject();
        t.messenger.infos.clear();
    }
}

namespace {
// An export through a representative (type 6) whose VAT identifier has 14 characters.
const QString kExportIdentifier = QStringLiteral("NL123456789B01");

TRecIndirizzo exportConsignee()
{
    TRecIndirizzo a = blankCompany();
    trimCompany(a);
    a.TIPOIN = "6";
    a.CACCI1 = kExportIdentifier;
    a.DENOM1 = "Wijnhandel Jansen BV";
    a.INDIR1 = "Kade";
    a.NUMCI1 = "4";
    a.C_A_P1 = "1011AB";
    a.CITTA1 = "AMSTERDAM";
    a.SEZDOG = "fr";
    return a;
}
} // namespace

// The identifier of a type-6 consignee takes up to 18 characters: neither the e-AD opened for
// modification nor a consignee picked from the address book has it cut to 13 on its way into the
// field, and the saved header holds it whole (offset 658, 18 characters).
TEST_F(ModifyFixture, ATypeSixIdentifierOfFourteenCharactersIsSavedWhole)
{
    InsertAddress(AddressFilePath(ctx, kConsigneeFile), exportConsignee(), t.messenger);
    for (const bool picked : {false, true}) {
        SCOPED_TRACE(picked ? "picked from the address book" : "e-AD modified");
        load(1, 1);
        if (!picked) {
            ctx.EadHeader.TIPDES = "6";
            ctx.EadHeader.COIDDE = kExportIdentifier;
        }
        ModalDriver steps;
        steps.on["TFLISTVIEW"] = [](QWidget* modal, int) {
            auto* grid = modal->findChild<QTableWidget*>("LISTA");
            grid->setFocus();
            grid->selectRow(0);
            QTest::keyClick(grid, Qt::Key_Return);
        };
        steps.on["TFCREAFIRMAINVIAIE815"] = [](QWidget* modal, int) { QTest::keyClick(modal, Qt::Key_Escape); };
        TFCOMPIE815 w(ctx);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        auto* coidde = w.findChild<QLineEdit*>("COIDDE");
        if (picked) {
            EXPECT_EQ(coidde->text(), "DE00123456789");
            auto* button = w.findChild<QPushButton*>("BDESTINATARI");
            QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
            ASSERT_TRUE(QTest::qWaitFor([&] { return coidde->text() != "DE00123456789"; }, 10000));
            EXPECT_EQ(w.findChild<QLineEdit*>("TIPDES")->text(), "6");
        }
        EXPECT_EQ(coidde->text(), kExportIdentifier);
        toSummaryAndConfirm(w);
        EXPECT_FALSE(steps.timedOut);
        EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
        QByteArray saved;
        for (const QByteArray& r : RecordFile(eadfiles::headers(ctx, "2026"), 2688).readAll())
            if (RecordFile::numberOf(r) == ctx.EadHeader.progressivo)
                saved = r;
        ASSERT_FALSE(saved.isEmpty());
        EXPECT_EQ(saved.mid(102, 2), QByteArray("\x01" "6"));
        EXPECT_EQ(saved.mid(658, 19), QByteArray("\x12" "NL123456789B01    "));
        t.messenger.infos.clear();
    }
}

// A page-1 check that fails on a field with a message of its own (the message type) shows that
// message, then ends with the missing-field message once; the cursor goes to the field.
TEST_F(ModifyFixture, APageCheckEndsWithTheMissingFieldMessageAfterTheFieldsOwn)
{
    load(1, 1);
    ctx.EadHeader.TIPMES = "3";
    TFCOMPIE815 w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(w.findChild<QPushButton*>("BPAG2"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(w.findChild<QTabWidget*>("PCCOMPEAD")->currentIndex(), 0);
    EXPECT_EQ(t.messenger.infos, (QStringList{MsgTipmes, MsgRequiredField}));
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "TIPMES");
}

// The time of dispatch typed with a one-digit hour ("9:30" in the hh:mm mask) is shown and saved
// as "09:30", whether the field is left with Tab or the pages are turned straight from it.
TEST_F(ModifyFixture, ATimeWithAOneDigitHourIsSavedWithTwoDigits)
{
    for (const bool tab : {true, false}) {
        SCOPED_TRACE(tab ? "left with Tab" : "pages turned from the field");
        load(1, 1);
        ModalDriver steps;
        steps.on["TFCREAFIRMAINVIAIE815"] = [](QWidget* modal, int) { QTest::keyClick(modal, Qt::Key_Escape); };
        TFCOMPIE815 w(ctx);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        auto* tabs = w.findChild<QTabWidget*>("PCCOMPEAD");
        tabs->setCurrentIndex(1);
        QApplication::processEvents();
        ASSERT_EQ(tabs->currentIndex(), 1);
        auto* time = w.findChild<QLineEdit*>("ORASPE");
        time->setFocus();
        QApplication::processEvents();
        time->selectAll();
        QTest::keyClicks(time, "9:30");
        EXPECT_EQ(time->text(), "9:30");
        if (tab) {
            QTest::keyClick(time, Qt::Key_Tab);
            QApplication::processEvents();
            EXPECT_EQ(time->text(), "09:30");
            EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
        }
        toSummaryAndConfirm(w);
        EXPECT_FALSE(steps.timedOut);
        EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
        QByteArray saved;
        for (const QByteArray& r : RecordFile(eadfiles::headers(ctx, "2026"), 2688).readAll())
            if (RecordFile::numberOf(r) == ctx.EadHeader.progressivo)
                saved = r;
        ASSERT_FALSE(saved.isEmpty());
        EXPECT_EQ(saved.mid(1992, 6), QByteArray("\x05" "09:30"));
        t.messenger.infos.clear();
    }
}
