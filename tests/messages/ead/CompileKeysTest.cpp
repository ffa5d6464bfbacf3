// The compilation window driven by keys and clicks the way a clerk does it, off the tidy path: a
// tab clicked while a field is being typed, a premises number that is not one, a transport company
// chosen with Enter, product lines confirmed one after the other, pasted text in number fields.
// Any modal window that opens (a picker) is noted and closed, so that no test can hang on it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTest>
#include <QTimer>

#include "messages/ead/EadCompile.h"
#include "messages/ead/EadForm.h"
#include "messages/ead/EadLines.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/TFCOMPIE815.h"
#include "support/EadFixtures.h"
#include "messages/CompileFixture.h"

using namespace vt;
using namespace vt::test;

namespace {

struct CompileKeys : CompileWindow {
    QStringList modals; // windows that opened over the compilation
    QTimer closer;
    std::unique_ptr<TFCOMPIE815> w;

    void open()
    {
        ctx.CompanyRecord = decodeCompany(*RecordFile(ctx.datiGen("UTENTE.001"), TRecAzienda::Size).readFirst());
        ctx.ModifyMode = false;
        startNewEad(ctx);
        w = std::make_unique<TFCOMPIE815>(ctx);
        QObject::connect(&closer, &QTimer::timeout, [this] {
            QWidget* m = QApplication::activeModalWidget();
            if (m && m != w.get()) {
                modals << m->objectName();
                static_cast<QDialog*>(m)->reject();
            }
        });
        closer.start(10);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void TearDown() override
    {
        closer.stop();
        w.reset();
    }

    template <class T = QWidget>
    T* field(const char* name)
    {
        T* f = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(f) << name;
        return f;
    }
    QString focused() const
    {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : QString();
    }
    int page() { return field<QTabWidget>("PCCOMPEAD")->currentIndex(); }
    // A field clicked into with its text selected, as a clerk starts to type over it.
    QLineEdit* retype(const char* name)
    {
        auto* e = field<QLineEdit>(name);
        e->setFocus(Qt::MouseFocusReason);
        e->selectAll();
        return e;
    }
    // Nothing came up that the test did not ask for: no listing, no message.
    void expectNothingUnasked()
    {
        EXPECT_TRUE(modals.isEmpty()) << modals.join(",").toStdString();
        EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
    }
    // A product line from NDETPR, with the product's defaults, up to its first quantity field.
    static void keysProduct(const QString& code)
    {
        enter({}, "NDETPR");
        enter(code, "COAZPR");
        enter({}, "LEDEPR");
        enter({}, "META20");
    }
    void clickTab(int index)
    {
        QTabBar* bar = field<QTabWidget>("PCCOMPEAD")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        QApplication::processEvents();
        QApplication::processEvents();
    }
    // With VT_SHOT_DIR set, a picture of the window goes there (to look at the pages).
    void snap(const char* name)
    {
        const QString folder = qEnvironmentVariable("VT_SHOT_DIR");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        w->grab().save(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
    }
    // Page 1 of a registered consignee in Germany, by keys from NUMFAT, on to page 2.
    void page1() { keysRegisteredConsignee("FT/1"); }
    // Page 2 with one transport line, by keys from RESTRA, on to page 3.
    void page2()
    {
        enter("1", "RESTRA");
        keysTransportTerms("2");
        keysTransportLine("FI123AB");
        keysTransportLinesDone();
        enter({}, "BFINTRA");
    }
};

} // namespace

TEST_F(CompileKeys, ConfirmedProductLineLeavesNoDescriptionBehind)
{
    open();
    page1();
    enter({}, "BPAG2");
    page2();
    ASSERT_EQ(page(), 2);
    for (int line = 1; line <= 2; ++line) {
        enter({}, "NDETPR");
        enter("CHIANTI75", "COAZPR");
        EXPECT_EQ(field<QLineEdit>("DCODIMB")->text(), "Cartone");
        enter({}, "LEDEPR");
        EXPECT_EQ(field<QLineEdit>("META20")->text(), "W200-22042131-00-0000");
        if (line == 2) {
            // The product code follows its mask: letters upper case, the dashes in place.
            field<QLineEdit>("META20")->selectAll();
            type("w30022041015000000");
            EXPECT_EQ(field<QLineEdit>("META20")->text(), "W300-22041015-00-0000");
        }
        enter({}, "META20");
        enter("12", "NUMCON");
        for (const char* f : {"VOLCON", "TOTLIT", "GRADOA", "PNETTO", "PLORDO", "CODIMB", "NUMIMB", "SIGIMB", "INSIIM",
                              "DESCOM"})
            enter({}, f);
        enter({}, "BCONFPR");
        // The list is shown again: every line field and every companion is empty.
        EXPECT_EQ(field<QListWidget>("MDEPRO")->count(), line);
        EXPECT_EQ(focused(), "NDETPR");
        for (const char* f : {"COAZPR", "DCOAZPR", "LEDEPR", "META20", "DMETA20", "CODIMB", "DCODIMB", "NUMCON",
                              "TOTLIT", "NUMIMB", "MCODAZ"}) {
            QWidget* wdg = field(f);
            QString text = qobject_cast<QLineEdit*>(wdg) ? static_cast<QLineEdit*>(wdg)->text()
                                                         : wdg->property("plainText").toString();
            text.remove(QLatin1Char('-')); // an empty masked code still shows its dashes
            EXPECT_EQ(text, "") << f << " after line " << line;
        }
    }
    // Line 1 called back by its number shows its packaging with its description.
    enter("1", "NDETPR");
    EXPECT_EQ(field<QLineEdit>("CODIMB")->text(), "CT");
    EXPECT_EQ(field<QLineEdit>("DCODIMB")->text(), "Cartone");
    EXPECT_TRUE(field("BCANPR")->isVisible());
    EXPECT_TRUE(field<QListWidget>("MDEPRO")->item(1)->text().endsWith("W300-22041015-00-0000"));
    expectNothingUnasked();
}

TEST_F(CompileKeys, PremisesNumberIsRefusedOnLeavingAndWhenATabIsClicked)
{
    open();
    page1();
    // Typed and a tab clicked at once: the field is never left, the page check refuses it.
    auto* sedels = retype("SEDELS");
    type("ABC");
    clickTab(1);
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(t.messenger.infos, QStringList{MsgSedels});
    EXPECT_EQ(focused(), "SEDELS");
    // Left with Enter: a premises without its file, then a path, keep the focus with the message.
    for (const char* bad : {"003", "..\\UTENTE", "1"}) {
        t.messenger.infos.clear();
        sedels->selectAll();
        enter(bad, "SEDELS");
        EXPECT_EQ(t.messenger.infos, QStringList{MsgSedels}) << bad;
        EXPECT_EQ(focused(), "SEDELS") << bad;
    }
    t.messenger.infos.clear();
    sedels->selectAll();
    enter("001", "SEDELS");
    EXPECT_EQ(focused(), "COIDLS");
    EXPECT_EQ(field<QLineEdit>("COIDLS")->text(), "IT00FIT00012S");
    clickTab(1);
    EXPECT_EQ(page(), 1);
    expectNothingUnasked();
}

TEST_F(CompileKeys, FieldsBroughtIntoPlayAreTheNextEnterReaches)
{
    open();
    page1();
    enter({}, "BPAG2");
    ASSERT_EQ(page(), 1);
    enter("3", "RESTRA");
    EXPECT_EQ(focused(), "PIAZTR");
    EXPECT_TRUE(field("PAZIENDADITRASPORTO")->isVisible());
    // A field that a value brings into play is the next one Enter reaches: the note of mode "0",
    // the fallback document number of "S".
    field<QLineEdit>("MODTRA")->setFocus(Qt::MouseFocusReason);
    enter("0", "MODTRA");
    EXPECT_EQ(focused(), "INFTRA");
    enter("consegna a mano", "INFTRA");
    for (const char* f : {"DURGIO", "RGIORNI"})
        enter({}, f);
    field<QLineEdit>("INVDIF")->selectAll();
    enter("S", "INVDIF");
    EXPECT_EQ(focused(), "NILODD");
    enter("RIS-0001", "NILODD");
    EXPECT_EQ(focused(), "DATSPE");
    expectNothingUnasked();
}

TEST_F(CompileKeys, NumberFieldsFilterKeysAndPastesAndGroupAsTyped)
{
    open();
    page1();
    enter({}, "BPAG2");
    auto* durgio = field<QLineEdit>("DURGIO");
    durgio->setFocus(Qt::MouseFocusReason);
    type("a-1");
    EXPECT_EQ(durgio->text(), "1");
    EXPECT_EQ(t.messenger.beeps, 2);
    durgio->clear();
    QApplication::clipboard()->setText("x9");
    QTest::keyClick(durgio, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(durgio->text(), "");
    QApplication::clipboard()->setText("12");
    QTest::keyClick(durgio, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(durgio->text(), "12");

    // A decimal field groups its integer part after every key; a typed point is the comma.
    page2();
    ASSERT_EQ(page(), 2);
    auto* totlit = field<QLineEdit>("TOTLIT");
    totlit->setFocus(Qt::MouseFocusReason);
    type("1234567.5");
    EXPECT_EQ(totlit->text(), "1.234.567,5");
    type(",x");
    EXPECT_EQ(totlit->text(), "1.234.567,5");
    totlit->selectAll();
    QApplication::clipboard()->setText("12abc");
    QTest::keyClick(totlit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(totlit->text(), "1.234.567,5");
    // Wide enough to show the largest quantity it is meant for.
    auto* numcon = field<QLineEdit>("NUMCON");
    EXPECT_GE(numcon->width(), numcon->fontMetrics().horizontalAdvance("123.456.789,12345"));
}

TEST_F(CompileKeys, F4ListsTheTableOfTheCodedFieldInHand)
{
    open();
    auto* lingua = field<QLineEdit>("LINGUA");
    lingua->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(lingua, Qt::Key_F4);
    QApplication::processEvents();
    EXPECT_EQ(modals, QStringList{"TFLISTVIEW"});
    EXPECT_EQ(lingua->text(), "it"); // the listing left without a choice changes nothing
}

// Every field of every page, with every panel shown, reached by Enter alone in the order of the
// page: place of dispatch, consignee and place of delivery; a transport company; two transport
// lines and three products; all four guarantors.
TEST_F(CompileKeys, EnterWalksEveryPageInItsOrder)
{
    open();
    auto* lingua = field<QLineEdit>("LINGUA");
    lingua->setFocus(Qt::MouseFocusReason);
    for (const char* f : {"LINGUA", "TIPMES", "SEDELS", "COIDLS", "DENLSP", "INDLSP", "NUCLSP", "CAPLSP", "CITLSP",
                          "UFFSPE"})
        enter({}, f);
    enter("FT/7", "NUMFAT");
    enter({}, "DATFAT");
    enter("1", "TIPDES");
    EXPECT_EQ(field<QLabel>("LCOIDDE")->text(), "Codice Accisa: Authorized warehouse keeper");
    const char* consignee[] = {"COIDDE", "DENDES", "INDDES", "NUCDES", "CAPDES", "CITDES"};
    const char* place[] = {"COIDLD", "DENLDE", "INDLDE", "NUCLDE", "CAPLDE", "CITLDE"};
    for (const char* f : consignee)
        enter(f == consignee[0] ? "IT00VRA00123Q" : "X", f);
    enter("it", "LINDES");
    for (const char* f : place)
        enter(f == place[0] ? "IT00VRA00123Q" : "Y", f);
    enter("it", "LINLDE");
    snap("k1-speditore-destinatario");
    enter({}, "BPAG2");
    ASSERT_EQ(page(), 1);

    enter("3", "RESTRA");
    enter("IT01234567890", "PIAZTR");
    for (const char* f : {"DENAZT", "INDAZT", "NUCAZT", "CAPAZT", "CITAZT"})
        enter("T", f);
    enter("it", "LINAZT");
    keysTransportTerms("1");
    for (const char* plate : {"FI123AB", "FI456CD"})
        keysTransportLine(plate);
    keysTransportLinesDone();
    snap("k2-dati-del-trasporto");
    enter({}, "BFINTRA");
    ASSERT_EQ(page(), 2);

    for (const char* code : {"CHIANTI75", "SFUSO", "PROSECCO"}) {
        keysProduct(code);
        if (QLatin1String(code) == "CHIANTI75")
            snap("k3a-prodotto-in-corso");
        const bool bulk = QLatin1String(code) == "SFUSO";
        if (!bulk)
            enter("60", "NUMCON");
        for (const char* f : {"VOLCON", "TOTLIT", "GRADOA", "PNETTO", "PLORDO", "CODIMB", "NUMIMB", "SIGIMB", "INSIIM",
                              "DESCOM"}) {
            const bool packagedOnly = QLatin1String(f) == "VOLCON" || QLatin1String(f) == "NUMIMB"
                || QLatin1String(f) == "DESCOM";
            if (bulk && packagedOnly)
                continue;
            enter(bulk && QLatin1String(f) == "TOTLIT" ? "100" : "", f);
        }
        enter({}, "BCONFPR");
    }
    enter({}, "NDETPR");
    enter({}, "COAZPR");
    snap("k3-dettagli-del-vino");
    enter({}, "BFINPR");
    ASSERT_EQ(page(), 3);

    enter("1234", "TIPGAR");
    for (const char* f : {"GARSPE", "TGASPE", "IMGASP", "GARDES", "TGADES", "IMGADE", "GARTRA", "TGATRA", "IMGATR",
                          "GARPRO", "TGAPRO", "IMGPRO"})
        enter(QLatin1String(f).startsWith(QLatin1String("GAR")) && QLatin1String(f) != "GARSPE" ? "G1" : "", f);
    for (const char* f : {"CATRAG", "PITRAG", "DENTRG", "INDTRG", "NUCTRG", "CAPTRG", "CITTRG"})
        enter("A", f);
    enter("it", "LINTRG");
    for (const char* f : {"CAPROG", "PIPROG", "DENPRG", "INDPRG", "NUCPRG", "CAPPRG", "CITPRG"})
        enter("B", f);
    enter("it", "LINPRG");
    snap("k4-garanti-accise");
    enter({}, "BPAG5");
    ASSERT_EQ(page(), 4);
    EXPECT_EQ(focused(), "BCONF");
    snap("k5-riepilogo-e-conferma");
    // The summary is read from its top, and scrolled from the buttons with the keyboard.
    auto* summary = field<QTextEdit>("RIEPILOGO");
    EXPECT_EQ(summary->verticalScrollBar()->value(), 0);
    key(Qt::Key_PageDown);
    EXPECT_GT(summary->verticalScrollBar()->value(), 0);
    EXPECT_EQ(focused(), "BCONF");
    key(Qt::Key_PageUp);
    EXPECT_EQ(summary->verticalScrollBar()->value(), 0);
    expectNothingUnasked();
    // The whole window fits the screen it is meant for.
    EXPECT_LE(w->frameGeometry().height(), 1024);
    EXPECT_LE(w->frameGeometry().width(), 1280);
    // Here Alt+C is CONFERMA: the e-AD is saved and the flow window opens.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(modals, QStringList{"TFCREAFIRMAINVIAIE815"});
    EXPECT_EQ(readHeaders(eadfiles::headers(ctx, "2026")).size(), 1);
    EXPECT_EQ(readLines(eadfiles::products(ctx, "2026")).size(), 3);
}

// A type of consignee changed and a tab clicked at once: the new type lays out the page before its
// check, so the place of delivery it asks for cannot be skipped.
TEST_F(CompileKeys, TypeOfConsigneeTypedThenATabClickedLaysOutThePageFirst)
{
    open();
    page1();
    retype("TIPDES");
    type("1");
    clickTab(1);
    EXPECT_EQ(page(), 0);
    EXPECT_TRUE(field("PLUOGODESTINAZIONE")->isVisible());
    EXPECT_EQ(field<QLabel>("LCOIDDE")->text(), "Codice Accisa: Authorized warehouse keeper");
    EXPECT_EQ(t.messenger.infos, QStringList{MsgRequiredField});
    EXPECT_EQ(focused(), "COIDLD");
    EXPECT_TRUE(modals.isEmpty()) << modals.join(",").toStdString();
}

// The line buttons clicked straight from the field being typed: the field is left first, and a
// line number typed but not yet left shows its line before anything is deleted.
TEST_F(CompileKeys, LineButtonsClickedStraightFromAField)
{
    open();
    page1();
    enter({}, "BPAG2");
    page2();
    ASSERT_EQ(page(), 2);
    auto* products = field<QListWidget>("MDEPRO");
    for (const char* code : {"CHIANTI75", "PROSECCO"}) {
        keysProduct(code);
        type("12"); // in NUMCON, then the mouse: the litres are worked out before the line is written
        QTest::mouseClick(field<QPushButton>("BCONFPR"), Qt::LeftButton);
        QApplication::processEvents();
    }
    ASSERT_EQ(products->count(), 2);
    EXPECT_TRUE(products->item(0)->text().startsWith("n. 1 = CHIANTI75 Litri:9 ")) << products->item(0)->text().toStdString();
    EXPECT_TRUE(products->item(1)->text().startsWith("n. 2 = PROSECCO Litri:9 ")) << products->item(1)->text().toStdString();

    retype("NDETPR");
    enter("1", "NDETPR");
    auto* cancel = field<QPushButton>("BCANPR");
    ASSERT_TRUE(cancel->isVisible());
    // Line 1 on show, 2 typed over it and the delete button clicked: line 2 is shown, nothing deleted.
    retype("NDETPR");
    type("2");
    QTest::mouseClick(cancel, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(products->count(), 2);
    EXPECT_EQ(field<QLineEdit>("COAZPR")->text(), "PROSECCO");
    // Clicked again, on the line now shown.
    QTest::mouseClick(cancel, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(products->count(), 1);
    EXPECT_TRUE(products->item(0)->text().startsWith("n. 1 = CHIANTI75"));

    // A bulk line: the litres typed become its weights, also when the mouse confirms from the field.
    enter({}, "NDETPR");
    enter("SFUSO", "COAZPR");
    enter({}, "LEDEPR");
    enter({}, "META20");
    ASSERT_EQ(focused(), "TOTLIT");
    type("50");
    QTest::mouseClick(field<QPushButton>("BCONFPR"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(products->count(), 2);
    EXPECT_TRUE(products->item(1)->text().startsWith("n. 2 = SFUSO Litri:50 ")) << products->item(1)->text().toStdString();

    // A page button clicked straight from a field: the guarantee type is applied before the summary.
    QTest::mouseClick(field<QPushButton>("BFINPR"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(page(), 3);
    EXPECT_EQ(focused(), "TIPGAR");
    type("1");
    QTest::mouseClick(field<QPushButton>("BPAG5"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(page(), 4);
    EXPECT_TRUE(field<QTextEdit>("RIEPILOGO")->toPlainText().contains(" Conto Gar. Sped.: GAR00012345 - C - Garanzia: "));
    expectNothingUnasked();
}

// A line typed and not confirmed is not lost without a word when its page is left: Yes confirms
// it, No drops it; a line called back and left unchanged asks nothing.
TEST_F(CompileKeys, PageLeftWithALineNotConfirmedAsksFirst)
{
    open();
    page1();
    enter({}, "BPAG2");
    page2();
    ASSERT_EQ(page(), 2);
    auto typeProduct = [] {
        keysProduct("CHIANTI75");
        enter("12", "NUMCON");
    };
    typeProduct();
    t.messenger.answers = {true};
    clickTab(3);
    EXPECT_EQ(t.messenger.questions, QStringList{MsgLineNotConfirmed});
    EXPECT_EQ(page(), 3);
    EXPECT_EQ(productLineCount(ctx), 1); // confirmed, as answered

    clickTab(2);
    ASSERT_EQ(page(), 2);
    EXPECT_EQ(field<QLineEdit>("COAZPR")->text(), "");
    typeProduct();
    t.messenger.questions.clear();
    t.messenger.answers = {false};
    clickTab(3);
    EXPECT_EQ(t.messenger.questions, QStringList{MsgLineNotConfirmed});
    EXPECT_EQ(page(), 3);
    EXPECT_EQ(productLineCount(ctx), 1); // dropped, as answered

    // Line 1 called back to look at it: leaving asks nothing.
    clickTab(2);
    t.messenger.questions.clear();
    field<QLineEdit>("NDETPR")->selectAll();
    enter("1", "NDETPR");
    EXPECT_EQ(field<QLineEdit>("COAZPR")->text(), "CHIANTI75");
    clickTab(3);
    EXPECT_TRUE(t.messenger.questions.isEmpty()) << t.messenger.questions.join(" | ").toStdString();
    EXPECT_EQ(page(), 3);

    // A transport line typed on page 2: the same question, and No drops it.
    clickTab(1);
    ASSERT_EQ(page(), 1);
    field<QLineEdit>("NDETRA")->setFocus(Qt::MouseFocusReason);
    enter({}, "NDETRA");
    enter("2", "UNITRA");
    type("FI999ZZ");
    t.messenger.answers = {false};
    clickTab(2);
    EXPECT_EQ(t.messenger.questions, QStringList{MsgLineNotConfirmed});
    EXPECT_EQ(page(), 2);
    EXPECT_EQ(transportLineCount(ctx), 1);
    EXPECT_TRUE(modals.isEmpty()) << modals.join(",").toStdString();
}

// Destination unknown (type 8): no consignee to fill in, Enter goes straight to "Pagina 2" and on.
TEST_F(CompileKeys, UnknownDestinationGoesStraightToPage2)
{
    open();
    enter("FT/8", "NUMFAT");
    enter({}, "DATFAT");
    enter("8", "TIPDES");
    EXPECT_EQ(focused(), "BPAG2");
    EXPECT_FALSE(field("PDESTINATARIO")->isVisible());
    enter({}, "BPAG2");
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(focused(), "RESTRA");
    expectNothingUnasked();
}

// Alt keys on the pages without CONFERMA: Alt+C leads to the summary (and there confirms), any
// other Alt+letter is refused; neither types its letter into the field in hand.
TEST_F(CompileKeys, AltKeysNeverTypeIntoTheField)
{
    open();
    page1();
    auto* numfat = retype("NUMFAT");
    // As the X server sends it: the key with its letter.
    QTest::sendKeyEvent(QTest::Press, numfat, Qt::Key_X, QStringLiteral("x"), Qt::AltModifier);
    QTest::sendKeyEvent(QTest::Release, numfat, Qt::Key_X, QStringLiteral("x"), Qt::AltModifier);
    EXPECT_EQ(numfat->text(), "FT/1");
    // Alt+C from page 1: page 1 is complete, page 2 is not: the summary sends the user there.
    QTest::keyClick(numfat, Qt::Key_C, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(numfat->text(), "FT/1");
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(t.messenger.infos.value(0), MsgRequiredField);
    EXPECT_EQ(t.messenger.infos.value(1), MsgError);
    EXPECT_FALSE(QFile::exists(eadfiles::headers(ctx, "2026")));
}

// Products added after the guarantee was proposed: the proposal follows them, an amount typed by
// the user stays. (Germany: still wine at 10 euro per hectolitre, counted per thousand litres.)
TEST_F(CompileKeys, GuaranteeAmountFollowsTheProductLines)
{
    open();
    page1();
    enter({}, "BPAG2");
    page2();
    auto addBottles = [] {
        keysProduct("CHIANTI75");
        type("12");
        QTest::mouseClick(QApplication::activeWindow()->findChild<QPushButton*>("BCONFPR"), Qt::LeftButton);
        QApplication::processEvents();
    };
    addBottles(); // 9 litres
    clickTab(3);
    ASSERT_EQ(page(), 3);
    enter("1", "TIPGAR");
    EXPECT_EQ(field<QLineEdit>("IMGASP")->text(), "0,09");

    clickTab(2);
    addBottles(); // 18 litres
    clickTab(3);
    EXPECT_EQ(field<QLineEdit>("IMGASP")->text(), "0,18");
    // Reached from page 3 straight to the summary, too.
    clickTab(2);
    addBottles(); // 27 litres
    clickTab(4);
    ASSERT_EQ(page(), 4);
    EXPECT_TRUE(field<QTextEdit>("RIEPILOGO")->toPlainText().contains("Garanzia: 0,27"));

    // Typed by the user: it stays.
    clickTab(3);
    auto* amount = field<QLineEdit>("IMGASP");
    enter({}, "TIPGAR");
    for (const char* f : {"GARSPE", "TGASPE"})
        enter({}, f);
    amount->selectAll();
    enter("5", "IMGASP");
    clickTab(2);
    addBottles();
    clickTab(3);
    EXPECT_EQ(field<QLineEdit>("IMGASP")->text(), "5");
    expectNothingUnasked();
}

// Back with a "Pagina" button from a page with missing fields: allowed, silently. Forward: refused,
// with the message and the focus on the last field found missing.
TEST_F(CompileKeys, BackFromAnIncompletePageForwardNot)
{
    open();
    page1();
    enter({}, "BPAG2");
    ASSERT_EQ(page(), 1);
    retype("DATSPE");
    QTest::mouseClick(field<QPushButton>("BPAG1"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(page(), 0);
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();

    QTest::mouseClick(field<QPushButton>("BPAG2"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(page(), 1);
    retype("DATSPE");
    QTest::mouseClick(field<QPushButton>("BPAG3"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(t.messenger.infos, QStringList{MsgRequiredField});
    EXPECT_EQ(focused(), "RESTRA");
    EXPECT_TRUE(modals.isEmpty()) << modals.join(",").toStdString();
}

// Esc half-way: nothing typed closes at once; with something typed the user is asked first.
TEST_F(CompileKeys, EscapeWithSomethingTypedAsksFirst)
{
    open();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(t.messenger.questions.isEmpty());

    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    retype("NUMFAT");
    type("FT/9");
    t.messenger.answers = {false, true};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(w->isVisible()); // No: the compilation goes on
    EXPECT_EQ(field<QLineEdit>("NUMFAT")->text(), "FT/9");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(w->isVisible()); // Yes
    EXPECT_EQ(t.messenger.questions, (QStringList{MsgAbandonCompilation, MsgAbandonCompilation}));
}
