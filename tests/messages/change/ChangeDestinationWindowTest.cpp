// The change-of-destination window driven from its menu item as a clerk drives it: the e-AD
// chosen in the chooser, a new consignee typed, the transport data changed, the summary, CONFERMA
// and the IE813 flow window; the summary page reached straight from a field with a wrong value;
// Esc half-way; CONFERMA twice; an e-AD whose ARC another workstation reset meanwhile.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTableWidget>
#include <QTreeWidget>

#include <deque>
#include <functional>

#include "messages/CompileFixture.h"
#include "foundation/AddressFile.h"
#include "foundation/RecordFile.h"
#include "masterdata/AddressBook.h"
#include "messages/change/ChangeDestination.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/Summary.h"
#include "messages/change/TFCOMPIE813.h"
#include "support/EadFixtures.h"
#include "support/ModalDriver.h"

using namespace vt;
using namespace vt::test;

namespace {

// Two e-ADs of 09/12/2026 with two transport lines each; the second was accepted (state "I" and
// its ARC) and is the one changed. Its consignee is a German tax warehouse without a place of
// delivery, so the clerk has to say where the goods go now.
struct ChangeWindow : CompileWindow {
    std::deque<std::function<void(QWidget*)>> script;
    QStringList seen;
    QString flowSummary;

    void SetUp() override
    {
        CompileWindow::SetUp();
        saveSampleEad(ctx, 2, 1);
        saveSampleEad(ctx, 2, 1);
        updateEadInPlace(ctx, "2026", 2, [](TRecEad& e) {
            e.ARC = QStringLiteral("26ITA0000000000000017");
            e.stato = EadState::Accepted;
        });
    }
    void step(std::function<void(QWidget*)> f) { script.push_back(std::move(f)); }

    // The menu action "Cambio di Destinazione": the chooser offers and picks the accepted e-AD,
    // then the script drives TFCOMPIE813 one step per tick; the flow window is left with Esc.
    void run()
    {
        runMenu("ACAMBIODEST", [&](QWidget* modal) {
            if (!seen.contains(modal->objectName()))
                seen << modal->objectName();
            if (modal->objectName() == "TFSCEGLIDAA") {
                chooseRow(modal, 0, [modal] {
                    // Only the accepted e-AD is offered: the other has no ARC.
                    EXPECT_EQ(modal->findChild<QTreeWidget*>("LISTA")->topLevelItemCount(), 1);
                });
                return true;
            }
            if (modal->objectName() == "TFCOMPIE813") {
                if (script.empty()) {
                    ADD_FAILURE() << "the window is still open after the script";
                    t.messenger.answers = {true}; // leave, whatever was typed
                    QTest::keyClick(modal, Qt::Key_Escape);
                    return true;
                }
                auto next = std::move(script.front());
                script.pop_front();
                next(modal);
                return true;
            }
            if (modal->objectName() == "TFLISTVIEW") { // an address picker: the first row
                auto* grid = modal->findChild<QTableWidget*>("LISTA");
                grid->setFocus();
                grid->selectRow(0);
                QTest::keyClick(grid, Qt::Key_Return);
                return true;
            }
            if (modal->objectName() == "TFCREAFIRMAINVIAIE813") {
                flowSummary = modal->findChild<QTextEdit*>("RIEPILOGO")->toPlainText();
                QTest::keyClick(modal, Qt::Key_Escape);
                return true;
            }
            return false;
        });
    }

    // Page 1: the goods go to a registered consignee instead; the consignee block stays the
    // e-AD's. Then "Pagina 2" by mouse.
    void consigneePage()
    {
        step([](QWidget* w) {
            EXPECT_EQ(QApplication::focusWidget()->objectName(), "LINGUA");
            typeOver(w, "TIPDES", "2");
            key(Qt::Key_Return);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), "COIDDE");
            EXPECT_FALSE(w->findChild<QWidget*>("PLUOGODESTINAZIONE")->isVisible());
            shot("813-1-nuovo-destinatario");
            QTest::mouseClick(w->findChild<QPushButton*>("BDAPAG1A2"), Qt::LeftButton);
            QApplication::processEvents();
        });
    }
    // Page 2: the journey now takes 3 days; a third transport unit is added.
    void transportPage()
    {
        step([](QWidget* w) {
            EXPECT_EQ(w->findChild<QTabWidget*>("PCCOMPIE813")->currentIndex(), 1);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), "RESTRA");
            typeOver(w, "DURGIO", "3");
            key(Qt::Key_Return);
            auto* ndetra = w->findChild<QLineEdit*>("NDETRA");
            ndetra->setFocus();
            EXPECT_EQ(ndetra->text(), "3");
            enter({}, "NDETRA");
            enter("2", "UNITRA");
            enter("FI999ZZ", "IDUNTR");
            enter("S3", "SIGTRA");
            enter({}, "INSITR");
            enter({}, "INAGTR");
            enter({}, "CODETR");
            auto* list = w->findChild<QListWidget*>("MDETRA");
            ASSERT_EQ(list->count(), 3);
            EXPECT_EQ(list->item(2)->text(), "n. 3 = 2 FI999ZZ  S3 ");
            shot("813-2-dati-del-trasporto");
        });
    }
    QList<TRecEad> storedChanges() { return readHeaderFile(ctx.registri("2026_813.DAT")); }
    // A click on a tab of the page control, as the mouse does it (the tab bar takes no focus).
    static void clickTab(QWidget* w, int index)
    {
        QTabBar* bar = w->findChild<QTabWidget*>("PCCOMPIE813")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(ChangeWindow, FromTheMenuToTheStoredChangeAndTheIe813FlowWindow)
{
    consigneePage();
    transportPage();
    // "Pagina 3" by mouse: the summary; the focus on CONFERMA, which Enter presses.
    QString summaryShown;
    step([&](QWidget* w) {
        QTest::mouseClick(w->findChild<QPushButton*>("BDAPAG2A3"), Qt::LeftButton);
        QApplication::processEvents();
        summaryShown = w->findChild<QTextEdit*>("RIEPILOGO")->toPlainText();
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "BCONF");
        shot("813-3-riepilogo");
        QTimer::singleShot(0, [] { key(Qt::Key_Return); });
    });
    run();

    EXPECT_EQ(seen, (QStringList{"TFSCEGLIDAA", "TFCOMPIE813", "TFCREAFIRMAINVIAIE813"}));
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
    EXPECT_TRUE(summaryShown.contains("Tipo Destinatario: 2")) << summaryShown.toStdString();
    EXPECT_TRUE(summaryShown.contains("           Durata: GIORNI: 3"));
    EXPECT_TRUE(summaryShown.contains("  Unità Trasporto: 2 - Identificativo: FI999ZZ"));
    EXPECT_EQ(flowSummary.trimmed(), summaryShown.trimmed());

    const QList<TRecEad> changes = storedChanges();
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].progressivo, 1);
    EXPECT_EQ(changes[0].progressivoRif, 2);
    EXPECT_EQ(changes[0].TIPDES, "2");
    EXPECT_EQ(changes[0].durata, 3);
    EXPECT_EQ(changes[0].ARC, "26ITA0000000000000017");
    EXPECT_EQ(readLineFile(ctx.registri("2026_813_P.DAT")).size(), 3);
    EXPECT_EQ(ctx.MessageRecord.progressivo, 1);
    // The e-AD itself is not touched.
    EXPECT_EQ(readHeaderFile(eadfiles::headers(ctx, "2026"))[1].stato, "I");
}

TEST_F(ChangeWindow, TheSummaryReachedStraightFromAFieldWithAWrongValueWritesNothing)
{
    consigneePage();
    // 93 days typed, and the "Riepilogo e Conferma" tab clicked without leaving the field.
    step([](QWidget* w) {
        typeOver(w, "DURGIO", "93");
        clickTab(w, 2);
    });
    step([this](QWidget* w) {
        EXPECT_EQ(w->findChild<QTabWidget*>("PCCOMPIE813")->currentIndex(), 1);
        EXPECT_TRUE(t.messenger.infos.contains(MsgDays)) << t.messenger.infos.join(" | ").toStdString();
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "DURGIO");
        EXPECT_TRUE(w->findChild<QTextEdit*>("RIEPILOGO")->toPlainText().isEmpty());
        t.messenger.answers = {true}; // abandon what was typed
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    run();
    EXPECT_EQ(seen, (QStringList{"TFSCEGLIDAA", "TFCOMPIE813"}));
    EXPECT_FALSE(QFile::exists(ctx.registri("2026_813.DAT")));
}

// Esc with something typed asks first: No keeps the window and what was typed, Yes leaves
// without writing anything.
TEST_F(ChangeWindow, EscHalfWayAsksAndLeavesNothing)
{
    consigneePage();
    step([this](QWidget* w) {
        auto* f = QApplication::focusWidget();
        QTest::keyClicks(f, "4");
        t.messenger.answers = {false};
        QTest::keyClick(f, Qt::Key_Escape);
        EXPECT_EQ(t.messenger.questions, QStringList{MsgAbandonChange});
        EXPECT_TRUE(w->isVisible());
    });
    step([this](QWidget*) {
        t.messenger.answers = {true};
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    run();
    EXPECT_EQ(t.messenger.questions.size(), 2);
    EXPECT_EQ(seen, (QStringList{"TFSCEGLIDAA", "TFCOMPIE813"}));
    EXPECT_FALSE(QFile::exists(ctx.registri("2026_813.DAT")));
    EXPECT_FALSE(QFile::exists(ctx.registri("2026_813_P.DAT")));
}

TEST_F(ChangeWindow, ConfirmTwiceStoresOneChange)
{
    consigneePage();
    transportPage();
    step([](QWidget* w) {
        QTest::mouseClick(w->findChild<QPushButton*>("BDAPAG2A3"), Qt::LeftButton);
        QApplication::processEvents();
        auto* bconf = w->findChild<QPushButton*>("BCONF");
        // Alt+C twice: the second reaches the window while, or after, the flow window is shown.
        QTimer::singleShot(0, [w] {
            QTest::keyClick(w, Qt::Key_C, Qt::AltModifier);
            QTest::keyClick(w, Qt::Key_C, Qt::AltModifier);
        });
        QTimer::singleShot(0, [bconf] { bconf->click(); });
    });
    run();
    EXPECT_EQ(seen, (QStringList{"TFSCEGLIDAA", "TFCOMPIE813", "TFCREAFIRMAINVIAIE813"}));
    EXPECT_EQ(storedChanges().size(), 1);
    EXPECT_EQ(readLineFile(ctx.registri("2026_813_P.DAT")).size(), 3);
}

TEST_F(ChangeWindow, AnEadWhoseArcWasResetElsewhereIsNotChanged)
{
    consigneePage();
    step([this](QWidget* w) {
        QTest::mouseClick(w->findChild<QPushButton*>("BDAPAG2A3"), Qt::LeftButton);
        QApplication::processEvents();
        // Meanwhile another workstation resets the send data of the e-AD.
        updateEadInPlace(ctx, "2026", 2, [](TRecEad& e) {
            e.ARC = QString(21, QLatin1Char(' '));
            e.stato = EadState::Compiled;
        });
        QTest::mouseClick(w->findChild<QPushButton*>("BCONF"), Qt::LeftButton);
        QApplication::processEvents();
    });
    step([this](QWidget* w) {
        EXPECT_EQ(t.messenger.infos, QStringList{MsgChangeWithoutArc});
        t.messenger.answers = {true}; // the change cannot be made: abandon it
        QTest::mouseClick(w->findChild<QPushButton*>("BABBANDONA"), Qt::LeftButton);
    });
    run();
    EXPECT_EQ(seen, (QStringList{"TFSCEGLIDAA", "TFCOMPIE813"}));
    EXPECT_FALSE(QFile::exists(ctx.registri("2026_813.DAT")));
}

TEST_F(ChangeWindow, TheNewConsigneeAndTheTransportCompanyComeFromTheAddressBook)
{
    TRecIndirizzo consignee = blankCompany();
    trimCompany(consignee);
    consignee.TIPOIN = "1";
    consignee.CACCI1 = "FR00987654321";
    consignee.DENOM1 = "Cave de Bordeaux";
    consignee.INDIR1 = "Rue du Vin";
    consignee.NUMCI1 = "3";
    consignee.C_A_P1 = "33000";
    consignee.CITTA1 = "BORDEAUX";
    consignee.CACCI2 = "FR00987654322";
    consignee.DENOM2 = "Entrepot Sud";
    consignee.INDIR2 = "Quai 9";
    consignee.NUMCI2 = "9";
    consignee.C_A_P2 = "33100";
    consignee.CITTA2 = "BORDEAUX";
    consignee.SEZDOG = "fr";
    InsertAddress(AddressFilePath(ctx, kConsigneeFile), consignee, t.messenger);
    TRecIndirizzo carrier = blankCompany();
    trimCompany(carrier);
    carrier.CACCI2 = "FR12345678901";
    carrier.DENOM1 = "Transports Martin";
    carrier.INDIR1 = "Route 1";
    carrier.NUMCI1 = "5";
    carrier.C_A_P1 = "33200";
    carrier.CITTA1 = "MERIGNAC";
    carrier.SEZDOG = "fr";
    InsertAddress(AddressFilePath(ctx, "INDIRIZZI_T"), carrier, t.messenger);

    // "Destinatari" (F5) on page 1: the tax warehouse with its depot as place of delivery.
    step([](QWidget* w) { QTimer::singleShot(0, [w] { QTest::mouseClick(w->findChild<QPushButton*>("BDESTINATARI"), Qt::LeftButton); }); });
    step([](QWidget* w) {
        EXPECT_EQ(w->findChild<QLineEdit*>("TIPDES")->text(), "1");
        EXPECT_TRUE(w->findChild<QWidget*>("PLUOGODESTINAZIONE")->isVisible());
        EXPECT_EQ(w->findChild<QLineEdit*>("DENLDE")->text(), "Entrepot Sud");
        QTest::mouseClick(w->findChild<QPushButton*>("BDAPAG1A2"), Qt::LeftButton);
        QApplication::processEvents();
        // Organiser "3": the transport company panel, filled from "Archivio Az. Trasporto".
        typeOver(w, "RESTRA", "3");
        key(Qt::Key_Return);
        EXPECT_TRUE(w->findChild<QWidget*>("PAZIENDADITRASPORTO")->isVisible());
        QTimer::singleShot(0, [w] { QTest::mouseClick(w->findChild<QPushButton*>("BARCTRA"), Qt::LeftButton); });
    });
    step([](QWidget* w) {
        EXPECT_EQ(w->findChild<QLineEdit*>("PIAZTR")->text(), "FR12345678901");
        QTest::mouseClick(w->findChild<QPushButton*>("BDAPAG2A3"), Qt::LeftButton);
        QApplication::processEvents();
        QTimer::singleShot(0, [] { key(Qt::Key_Return); });
    });
    run();
    EXPECT_EQ(seen, (QStringList{"TFSCEGLIDAA", "TFCOMPIE813", "TFLISTVIEW", "TFCREAFIRMAINVIAIE813"}));
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
    const QList<TRecEad> changes = storedChanges();
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].TIPDES, "1");
    EXPECT_EQ(changes[0].COIDDE.trimmed(), "FR00987654321");
    EXPECT_EQ(changes[0].COIDLD.trimmed(), "FR00987654322");
    EXPECT_EQ(changes[0].LINLDE, "fr");
    EXPECT_EQ(changes[0].RESTRA, "3");
    EXPECT_EQ(changes[0].DENAZT.trimmed(), "Transports Martin");
}

TEST_F(ChangeWindow, ATypeTypedAndATabClickedChecksTheNewLayout)
{
    // Type "1" (tax warehouse) typed, not left, and the transport tab clicked: the place of
    // delivery it needs is empty, so page 1 stays.
    step([](QWidget* w) {
        typeOver(w, "TIPDES", "2");
        key(Qt::Key_Return);
        typeOver(w, "TIPDES", "1");
        clickTab(w, 1);
    });
    step([this](QWidget* w) {
        EXPECT_EQ(w->findChild<QTabWidget*>("PCCOMPIE813")->currentIndex(), 0);
        EXPECT_TRUE(w->findChild<QWidget*>("PLUOGODESTINAZIONE")->isVisible());
        EXPECT_EQ(t.messenger.infos, QStringList{MsgRequiredField});
        t.messenger.answers = {true};
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    run();
    EXPECT_FALSE(QFile::exists(ctx.registri("2026_813.DAT")));
}

// A type-6 consignee (an export through a representative) has an identifier of up to 18
// characters: the e-AD's, shown on opening, and one picked from the address book reach the field
// and the stored change whole (offset 658, 18 characters).
TEST_F(ChangeWindow, ATypeSixIdentifierOfFourteenCharactersIsKeptWhole)
{
    updateEadInPlace(ctx, "2026", 2, [](TRecEad& e) {
        e.TIPDES = QStringLiteral("6");
        e.COIDDE = QStringLiteral("NL987654321B02");
    });
    TRecIndirizzo consignee = blankCompany();
    trimCompany(consignee);
    consignee.TIPOIN = "6";
    consignee.CACCI1 = "NL123456789B01";
    consignee.DENOM1 = "Wijnhandel Jansen BV";
    consignee.INDIR1 = "Kade";
    consignee.NUMCI1 = "4";
    consignee.C_A_P1 = "1011AB";
    consignee.CITTA1 = "AMSTERDAM";
    consignee.SEZDOG = "fr";
    InsertAddress(AddressFilePath(ctx, kConsigneeFile), consignee, t.messenger);

    step([](QWidget* w) {
        EXPECT_EQ(w->findChild<QLineEdit*>("COIDDE")->text(), "NL987654321B02");
        QTimer::singleShot(0, [w] { QTest::mouseClick(w->findChild<QPushButton*>("BDESTINATARI"), Qt::LeftButton); });
    });
    step([](QWidget* w) {
        EXPECT_EQ(w->findChild<QLineEdit*>("COIDDE")->text(), "NL123456789B01");
        typeOver(w, "uffesp", "NL000950");
        QTest::mouseClick(w->findChild<QPushButton*>("BDAPAG1A2"), Qt::LeftButton);
        QApplication::processEvents();
        QTest::mouseClick(w->findChild<QPushButton*>("BDAPAG2A3"), Qt::LeftButton);
        QApplication::processEvents();
        QTimer::singleShot(0, [] { key(Qt::Key_Return); });
    });
    run();
    EXPECT_EQ(seen, (QStringList{"TFSCEGLIDAA", "TFCOMPIE813", "TFLISTVIEW", "TFCREAFIRMAINVIAIE813"}));
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
    const QList<QByteArray> changes = RecordFile(ctx.registri("2026_813.DAT"), 2688).readAll();
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].mid(102, 2), QByteArray("\x01" "6"));
    EXPECT_EQ(changes[0].mid(658, 19), QByteArray("\x12" "NL123456789B01    "));
}
