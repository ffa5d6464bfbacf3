// The address book windows driven offscreen: insert, modify and delete of consignees and of the
// other kinds, with the files they write and the messages they show.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "foundation/AddressFile.h"
#include "foundation/RecordFile.h"
#include "masterdata/AddressBook.h"
#include "masterdata/TFCANCDESTIN.h"
#include "masterdata/TFINSDESTINATARI.h"
#include "masterdata/TFINSINDIRIZZO.h"
#include "masterdata/TFMODDESTINATARI.h"
#include "masterdata/TFMODINDIRIZZO.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {
template <class W = QLineEdit>
W* get(QWidget* w, const char* name)
{
    W* c = w->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void showActive(QWidget* w)
{
    w->show();
    QApplication::setActiveWindow(w);
    w->activateWindow();
    QApplication::processEvents();
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void typeAndEnter(QWidget* w, const char* name, const QString& text)
{
    auto* e = get(w, name);
    e->setFocus();
    settle();
    e->selectAll();
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
    settle();
}

void click(QWidget* w, const char* name)
{
    auto* b = get<QPushButton>(w, name);
    b->setFocus(Qt::MouseFocusReason);
    settle();
    QTest::mouseClick(b, Qt::LeftButton);
    settle();
}

// Closes any listing or code editor that a check opens, so that nothing blocks.
struct ModalCloser {
    ModalCloser()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                ++closed;
                m->close();
            }
        });
        timer.start(20);
    }
    QTimer timer;
    int closed = 0;
};

struct Stored {
    std::int32_t code;
    TRecIndirizzo record; // trimmed
};

QList<Stored> records(const QString& path)
{
    QList<Stored> out;
    for (const QByteArray& r : RecordFile(path, 608).readAll())
        out.append({RecordFile::numberOf(r), decodeCompany(r)});
    return out;
}

QStringList names(const QString& path)
{
    QStringList out;
    for (const Stored& s : records(path))
        out << QStringLiteral("%1:%2").arg(s.code).arg(s.record.DENOM1);
    return out;
}

TRecIndirizzo address(const char* name, const char* excise = "")
{
    TRecIndirizzo r = blankCompany();
    r.DENOM1 = QString::fromLatin1(name);
    r.CACCI1 = QString::fromLatin1(excise);
    r.INDIR1 = QStringLiteral("Via Roma");
    r.NUMCI1 = QStringLiteral("1");
    r.C_A_P1 = QStringLiteral("00100");
    r.CITTA1 = QStringLiteral("ROMA");
    r.SEZDOG = QStringLiteral("it");
    return r;
}
} // namespace

class AddressWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStructure(t.ctx, QStringLiteral("T015"), QStringLiteral("Tipi di Destinazione"), 1,
                       {{1, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        for (const char* c : {"1", "2", "3", "4", "5", "6", "8"})
            appendRow(t.ctx, QStringLiteral("T015"), {QString::fromLatin1(c), QStringLiteral("tipo ") + QString::fromLatin1(c)});
        writeStructure(t.ctx, QStringLiteral("T001"), QStringLiteral("Lingue"), 1,
                       {{2, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        for (const char* c : {"de", "en", "fr", "it"})
            appendRow(t.ctx, QStringLiteral("T001"), {QString::fromLatin1(c), QStringLiteral("lingua ") + QString::fromLatin1(c)});
        writeStructure(t.ctx, QStringLiteral("T004"), QStringLiteral("Stati"), 1,
                       {{2, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        for (const char* c : {"DE", "FR"})
            appendRow(t.ctx, QStringLiteral("T004"), {QString::fromLatin1(c), QStringLiteral("stato ") + QString::fromLatin1(c)});
        t.ctx.FromMenu = true;
    }

    QString file(const char* name) const { return t.ctx.datiGen(QString::fromLatin1(name) + QStringLiteral(".DAT")); }

    void fillAddress(QWidget* w, const char* name)
    {
        typeAndEnter(w, "DENOM1", QString::fromLatin1(name));
        typeAndEnter(w, "INDIR1", QStringLiteral("Via Roma"));
        typeAndEnter(w, "NUMCI1", QStringLiteral("12"));
        typeAndEnter(w, "C_A_P1", QStringLiteral("00100"));
        typeAndEnter(w, "CITTA1", QStringLiteral("roma"));
    }

    TestContext t;
    ModalCloser closer;
};

TEST_F(AddressWindows, ConsigneeInsertWindowComponents)
{
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Inserisce Destinario DAA"));
    EXPECT_EQ(get<QPushButton>(&w, "BCONF")->text(), QStringLiteral("&CONFERMA"));
    EXPECT_EQ(get<QPushButton>(&w, "BABBANDONA")->text(), QStringLiteral("&Abbandona"));
    EXPECT_EQ(get<QPushButton>(&w, "BMOSTRA")->text(), QStringLiteral("Mostra i Destinatari Registrati"));
    EXPECT_EQ(get<QPushButton>(&w, "BSEED")->text(), QStringLiteral("Banca Dati SEED"));
    EXPECT_EQ(get(&w, "SEZDOG")->text(), QStringLiteral("it"));
    EXPECT_EQ(get(&w, "CACCI1")->maxLength(), 13);
    EXPECT_EQ(get(&w, "DENOM1")->maxLength(), 100);
    EXPECT_EQ(get(&w, "CODUTE")->maxLength(), 2);
    EXPECT_EQ(get<QLabel>(&w, "LCACCI2")->text(), QStringLiteral("Codice d'Accisa del luogo di destinazione: Tax warehouse"));
    EXPECT_EQ(get<QLabel>(&w, "LDESTINAZIONE")->text(), QStringLiteral("INDIRIZZO del LUOGO di DESTINAZIONE "));
    EXPECT_FALSE(get<QLabel>(&w, "LDESTINAZIONE")->isVisible());
    EXPECT_EQ(get<QLabel>(&w, "LIDEN")->text(), QStringLiteral("Identificativo"));
    EXPECT_TRUE(get(&w, "CACCI1")->isVisible());
    EXPECT_FALSE(get(&w, "CACCI2")->isVisible());
    EXPECT_FALSE(get(&w, "ESENZIONE")->isVisible());
    EXPECT_FALSE(get(&w, "CODUTE")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "TIPOIN"));
}

TEST_F(AddressWindows, TypeOneCopiesThePlaceAndTakesTheLanguageFromTheExciseNumber)
{
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "TIPOIN", QStringLiteral("1"));
    EXPECT_EQ(get(&w, "DTIPOIN")->text(), QStringLiteral("tipo 1"));
    EXPECT_EQ(get<QLabel>(&w, "LIDEN")->text(), QStringLiteral("Identificativo = Codice di Accisa: Authorized warehouse keeper"));
    EXPECT_TRUE(get(&w, "CACCI2")->isVisible());
    EXPECT_TRUE(get(&w, "DENOM2")->isVisible());
    typeAndEnter(&w, "CACCI1", QStringLiteral("gb00000000001"));
    EXPECT_EQ(get(&w, "CACCI1")->text(), QStringLiteral("GB00000000001"));
    EXPECT_EQ(get(&w, "SEZDOG")->text(), QStringLiteral("en"));
    fillAddress(&w, "weinhaus ltd");
    // Leaving the city with an empty place of destination copies the address there.
    EXPECT_EQ(get(&w, "DENOM2")->text(), QStringLiteral("weinhaus ltd"));
    EXPECT_EQ(get(&w, "CITTA2")->text(), QStringLiteral("ROMA"));
    EXPECT_EQ(get(&w, "CACCI2")->text(), QStringLiteral("GB00000000001"));
    click(&w, "BCONF");

    const auto stored = records(file("INDIRIZZI_D"));
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0].code, 1);
    EXPECT_EQ(stored[0].record.DENOM1, QStringLiteral("Weinhaus ltd"));
    EXPECT_EQ(stored[0].record.CACCI1, QStringLiteral("GB00000000001"));
    EXPECT_EQ(stored[0].record.CACCI2, QStringLiteral("GB00000000001"));
    EXPECT_EQ(stored[0].record.DENOM2, QStringLiteral("weinhaus ltd"));
    EXPECT_EQ(stored[0].record.NUMCI2, QStringLiteral("12"));
    EXPECT_EQ(stored[0].record.SEZDOG, QStringLiteral("en"));
    EXPECT_EQ(stored[0].record.TIPOIN, QStringLiteral("1"));
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join('|').toStdString();
    // From the menu the window stays open, cleared for the next entry.
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(get(&w, "TIPOIN")->text().isEmpty());
    EXPECT_TRUE(get(&w, "DENOM1")->text().isEmpty());
    EXPECT_EQ(get(&w, "SEZDOG")->text(), QStringLiteral("it"));
    EXPECT_EQ(t.ctx.CurrentAddress.number, 1);
}

TEST_F(AddressWindows, ItalianExciseGivesItalian)
{
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "TIPOIN", QStringLiteral("2"));
    get(&w, "SEZDOG")->setText(QStringLiteral("fr"));
    typeAndEnter(&w, "CACCI1", QStringLiteral("IT00RMV000001"));
    EXPECT_EQ(get(&w, "SEZDOG")->text(), QStringLiteral("it"));
    EXPECT_FALSE(get(&w, "CACCI2")->isVisible());
    EXPECT_FALSE(get(&w, "DENOM2")->isVisible());
}

TEST_F(AddressWindows, SameNameInOtherCaseWarnsAndBothStaySortedCaseSensitively)
{
    InsertAddress(file("INDIRIZZI_D"), address("ROSSI SRL", "IT00RMV000001"), t.messenger);
    InsertAddress(file("INDIRIZZI_D"), address("Bianchi spa", "IT00RMV000002"), t.messenger);
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "TIPOIN", QStringLiteral("2"));
    typeAndEnter(&w, "CACCI1", QStringLiteral("IT00RMV000001"));
    EXPECT_EQ(t.messenger.infos, QStringList{"ATTENZIONE CODICE D'ACCISA GIA' PRESENTE IN ARCHIVIO !"});
    fillAddress(&w, "rossi srl");
    EXPECT_EQ(t.messenger.infos.last(), QStringLiteral("ATTENZIONE DENOMINAZIONE GIA' PRESENTE IN ARCHIVIO !"));
    click(&w, "BCONF");
    EXPECT_EQ(names(file("INDIRIZZI_D")), (QStringList{"2:Bianchi spa", "1:ROSSI SRL", "3:Rossi srl"}));
}

TEST_F(AddressWindows, TypeFiveStoresASpaceAsIdentifierAndTheMemberState)
{
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "TIPOIN", QStringLiteral("5"));
    EXPECT_FALSE(get(&w, "CACCI1")->isVisible());
    EXPECT_TRUE(get(&w, "ESENZIONE")->isVisible());
    EXPECT_TRUE(get(&w, "CODUTE")->isVisible());
    fillAddress(&w, "Ambasciata");
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "CODUTE")); // Enter skips the hidden fields
    typeAndEnter(&w, "CODUTE", QStringLiteral("fr"));
    EXPECT_EQ(get(&w, "DCODUTE")->text(), QStringLiteral("stato FR"));
    typeAndEnter(&w, "ESENZIONE", QStringLiteral("CERT 77"));
    click(&w, "BCONF");

    const QList<QByteArray> raw = RecordFile(file("INDIRIZZI_D"), 608).readAll();
    ASSERT_EQ(raw.size(), 1);
    EXPECT_EQ(raw[0].mid(4, 19), QByteArray(1, char(18)) + QByteArray(18, ' '));
    EXPECT_EQ(raw[0].mid(553, 5), QByteArray(1, char(4)) + "FR  ");
    EXPECT_EQ(raw[0].mid(143, 8), QByteArray(1, char(100)) + "CERT 77");
    EXPECT_EQ(raw[0].mid(603, 2), QByteArray(1, char(1)) + "5");
}

TEST_F(AddressWindows, TypeEightIsRefusedAndNothingIsWritten)
{
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "TIPOIN", QStringLiteral("8"));
    EXPECT_TRUE(get(&w, "TIPOIN")->text().isEmpty());
    EXPECT_EQ(get(&w, "DTIPOIN")->text(), QStringLiteral("CODICE NON VALIDO"));
    typeAndEnter(&w, "CACCI1", QStringLiteral("IT00RMV000001"));
    fillAddress(&w, "Rossi");
    click(&w, "BCONF");
    EXPECT_TRUE(records(file("INDIRIZZI_D")).isEmpty());
}

TEST_F(AddressWindows, UntouchedConfirmOnlyMovesToTheFirstField)
{
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    click(&w, "BCONF");
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "TIPOIN"));
    EXPECT_TRUE(t.messenger.infos.isEmpty());
    EXPECT_EQ(closer.closed, 0);
    EXPECT_TRUE(records(file("INDIRIZZI_D")).isEmpty());
}

TEST_F(AddressWindows, AMissingRequiredFieldGetsTheFocusAndNothingIsWritten)
{
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "TIPOIN", QStringLiteral("4"));
    typeAndEnter(&w, "CACCI1", QStringLiteral("IT00RMV000001"));
    fillAddress(&w, "Rossi");
    get(&w, "NUMCI2")->clear();
    get(&w, "NUMCI1")->clear();
    click(&w, "BCONF");
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "NUMCI2"));
    EXPECT_TRUE(records(file("INDIRIZZI_D")).isEmpty());
    get(&w, "NUMCI1")->setText(QStringLiteral("3"));
    get(&w, "NUMCI2")->setText(QStringLiteral("4"));
    click(&w, "BCONF");
    ASSERT_EQ(records(file("INDIRIZZI_D")).size(), 1);
    EXPECT_EQ(records(file("INDIRIZZI_D"))[0].record.NUMCI2, QStringLiteral("4"));
    EXPECT_TRUE(records(file("INDIRIZZI_D"))[0].record.CACCI2.isEmpty()); // hidden for type 4
}

TEST_F(AddressWindows, OpenedFromAnotherWindowItClosesAndLeavesTheNewRecord)
{
    InsertAddress(file("INDIRIZZI_D"), address("Alfa"), t.messenger);
    t.ctx.FromMenu = false;
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "TIPOIN", QStringLiteral("3"));
    typeAndEnter(&w, "CACCI1", QStringLiteral("FR00000000007"));
    fillAddress(&w, "Chateau");
    click(&w, "BCONF");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(t.ctx.CurrentAddress.number, 2);
    EXPECT_EQ(t.ctx.CurrentAddress.DENOM1, QStringLiteral("Chateau"));
    EXPECT_EQ(t.ctx.CurrentAddress.SEZDOG, QStringLiteral("fr"));
}

TEST_F(AddressWindows, ModifyingAConsigneeNameMovesItAndKeepsItsCode)
{
    for (const char* n : {"Alfa", "Beta", "Gamma"}) {
        TRecIndirizzo r = address(n, "IT00RMV000001");
        r.TIPOIN = QStringLiteral("2");
        InsertAddress(file("INDIRIZZI_D"), r, t.messenger);
    }
    t.ctx.TableName = QStringLiteral("INDIRIZZI_D");
    TRecIndirizzo search = blankCompany();
    search.number = 1;
    t.ctx.FoundAddress = *FindAddress(AddressSearch::Code, search, file("INDIRIZZI_D"));
    t.ctx.FromMenu = false;

    TFMODDESTINATARI w(t.ctx);
    showActive(&w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Modifica Destinario DAA"));
    EXPECT_EQ(get<QLabel>(&w, "LMODIFICA")->text(), QStringLiteral("MODIFICA "));
    EXPECT_EQ(get<QLabel>(&w, "LCACCI2")->text(), QStringLiteral("Codice d'Accisa del luogo di dstinazione: Tax warehouse"));
    EXPECT_EQ(get(&w, "DENOM1")->text(), QStringLiteral("Alfa"));
    EXPECT_EQ(get(&w, "TIPOIN")->text(), QStringLiteral("2"));
    EXPECT_TRUE(get(&w, "DTIPOIN")->text().isEmpty());
    EXPECT_EQ(t.ctx.CompanyRecord.number, 1);
    typeAndEnter(&w, "DENOM1", QStringLiteral("Zeta"));
    EXPECT_TRUE(t.messenger.infos.isEmpty()); // no duplicate checks when modifying
    click(&w, "BCONF");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(names(file("INDIRIZZI_D")), (QStringList{"2:Beta", "3:Gamma", "1:Zeta"}));
    EXPECT_EQ(t.ctx.CurrentAddress.number, 1);
}

TEST_F(AddressWindows, DeleteOnlyAfterSiTypedExactly)
{
    for (const char* n : {"Alfa", "Beta"})
        InsertAddress(file("INDIRIZZI_D"), address(n, "IT00RMV000001"), t.messenger);
    t.ctx.TableName = QStringLiteral("INDIRIZZI_D");
    TRecIndirizzo search = blankCompany();
    search.number = 2;
    t.ctx.FoundAddress = *FindAddress(AddressSearch::Code, search, file("INDIRIZZI_D"));

    TFCANCDESTIN w(t.ctx);
    showActive(&w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Cancella Destinatario DAA"));
    EXPECT_TRUE(get<QPlainTextEdit>(&w, "Memo1")->toPlainText().startsWith(QStringLiteral("IT00RMV000001\n\nBeta\nVia Roma 1\n00100 ROMA\n")));
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "SINO"));
    for (const char* answer : {"si", "S", "SI "}) {
        typeAndEnter(&w, "SINO", QString::fromLatin1(answer));
        EXPECT_TRUE(w.isVisible()) << answer;
        EXPECT_EQ(QApplication::focusWidget(), get(&w, "SINO")) << answer;
        EXPECT_EQ(records(file("INDIRIZZI_D")).size(), 2) << answer;
    }
    typeAndEnter(&w, "SINO", QStringLiteral("SI"));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(names(file("INDIRIZZI_D")), QStringList{"1:Alfa"});
}

TEST_F(AddressWindows, DeleteWindowTitlesByFile)
{
    const std::pair<const char*, const char*> cases[] = {
        {"INDIRIZZI_T", "Cancella Azienda di Trasporto"},
        {"INDIRIZZI_G", "Cancella Garante"},
        {"INDIRIZZI_F", "Cancella Fornitore con DAA"},
    };
    for (const auto& [table, title] : cases) {
        t.ctx.TableName = QString::fromLatin1(table);
        TFCANCDESTIN w(t.ctx);
        EXPECT_EQ(w.windowTitle(), QString::fromLatin1(title));
    }
}

TEST_F(AddressWindows, OtherKindsShowTheirFields)
{
    struct Case {
        const char* table;
        const char* title;
        bool excise, guarantee;
    };
    const Case cases[] = {
        {"INDIRIZZI_T", "Inserisce Azienda di Trasporto", false, false},
        {"INDIRIZZI_G", "Inserisce Garante", true, true},
        {"INDIRIZZI_F", "Inserisce Fornitore per importazioni con DAA", true, false},
    };
    for (const Case& c : cases) {
        t.ctx.TableName = QString::fromLatin1(c.table);
        TFINSINDIRIZZO w(t.ctx);
        showActive(&w);
        EXPECT_EQ(w.windowTitle(), QString::fromLatin1(c.title));
        EXPECT_EQ(t.ctx.AddressFile, QString::fromLatin1(c.table));
        EXPECT_EQ(get(&w, "CACCI1")->isVisible(), c.excise) << c.table;
        EXPECT_EQ(get(&w, "CAUESO")->isVisible(), c.guarantee) << c.table;
        EXPECT_EQ(get(&w, "CONGAR")->isVisible(), c.guarantee) << c.table;
        EXPECT_EQ(get<QLabel>(&w, "LCACCI2")->text(), QStringLiteral("Partita IVA"));
        EXPECT_EQ(get<QPushButton>(&w, "BMOSTRA")->text(), QStringLiteral("Mostra gli Indirizzi Registrati"));
        EXPECT_EQ(QApplication::focusWidget(), get(&w, "CACCI2"));
        w.close();
    }
}

TEST_F(AddressWindows, GuarantorInsertChecksDepositAndWarnsOnVat)
{
    TRecIndirizzo existing = address("Banca Uno", "IT00RMV000001");
    existing.CACCI2 = QStringLiteral("01234567890");
    InsertAddress(file("INDIRIZZI_G"), existing, t.messenger);
    t.ctx.TableName = QStringLiteral("INDIRIZZI_G");
    TFINSINDIRIZZO w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "CACCI2", QStringLiteral("01234567890"));
    EXPECT_EQ(t.messenger.infos, QStringList{"ATTENZIONE PARTITA IVA GIA' PRESENTE IN ARCHIVIO !"});
    typeAndEnter(&w, "CACCI1", QStringLiteral("IT00RMV000002"));
    fillAddress(&w, "banca due");
    typeAndEnter(&w, "CAUESO", QStringLiteral("x"));
    EXPECT_EQ(t.messenger.infos.last(), QStringLiteral("DIGITA: C per cauzione, E pe esonero"));
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "CAUESO"));
    typeAndEnter(&w, "CAUESO", QStringLiteral("c"));
    click(&w, "BCONF");
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "CONGAR")); // the guarantee account is required
    EXPECT_EQ(records(file("INDIRIZZI_G")).size(), 1);
    typeAndEnter(&w, "CONGAR", QStringLiteral("CG-9"));
    click(&w, "BCONF");
    const auto stored = records(file("INDIRIZZI_G"));
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[1].code, 2);
    EXPECT_EQ(stored[1].record.DENOM1, QStringLiteral("Banca due"));
    EXPECT_EQ(stored[1].record.CAUESO, QStringLiteral("C"));
    EXPECT_EQ(stored[1].record.CONGAR, QStringLiteral("CG-9"));
    EXPECT_EQ(stored[1].record.CACCI1, QStringLiteral("IT00RMV000002"));
    EXPECT_TRUE(w.isVisible()); // from the menu: cleared for the next one
    EXPECT_TRUE(get(&w, "CACCI2")->text().isEmpty());
}

TEST_F(AddressWindows, TransporterModifyKeepsCodeAndStoresNoExcise)
{
    InsertAddress(file("INDIRIZZI_T"), address("Trasporti Alfa"), t.messenger);
    InsertAddress(file("INDIRIZZI_T"), address("Trasporti Beta"), t.messenger);
    t.ctx.TableName = QStringLiteral("INDIRIZZI_T");
    TRecIndirizzo search = blankCompany();
    search.number = 2;
    t.ctx.FoundAddress = *FindAddress(AddressSearch::Code, search, file("INDIRIZZI_T"));
    TFMODINDIRIZZO w(t.ctx);
    showActive(&w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Modifica Azienda di Trasporto"));
    typeAndEnter(&w, "CACCI2", QStringLiteral("09876543210"));
    typeAndEnter(&w, "DENOM1", QStringLiteral("Autotrasporti Gamma"));
    click(&w, "BCONF");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(names(file("INDIRIZZI_T")), (QStringList{"2:Autotrasporti Gamma", "1:Trasporti Alfa"}));
    EXPECT_EQ(records(file("INDIRIZZI_T"))[0].record.CACCI2, QStringLiteral("09876543210"));
}

TEST_F(AddressWindows, SeedButtonOpensWebAddressZero)
{
    t.ctx.WebConfig.Fld[0] = QStringLiteral("https://seed.example/");
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    click(&w, "BSEED");
    EXPECT_EQ(t.shell.urls, QStringList{"https://seed.example/"});
}

TEST_F(AddressWindows, AnUnknownMemberStateIsNotStored)
{
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "TIPOIN", QStringLiteral("5"));
    fillAddress(&w, "Ambasciata");
    typeAndEnter(&w, "CODUTE", QStringLiteral("XX"));
    EXPECT_EQ(get(&w, "DCODUTE")->text(), QStringLiteral("CODICE NON VALIDO"));
    click(&w, "BCONF");
    const QList<QByteArray> raw = RecordFile(file("INDIRIZZI_D"), 608).readAll();
    ASSERT_EQ(raw.size(), 1);
    EXPECT_EQ(raw[0].mid(553, 5), QByteArray(1, char(4)) + "    ");
}

TEST_F(AddressWindows, ShowButtonListsTheWindowsFile)
{
    t.ctx.TableName = QStringLiteral("T015");
    TFINSDESTINATARI w(t.ctx);
    showActive(&w);
    click(&w, "BMOSTRA");
    EXPECT_EQ(t.ctx.TableName, QStringLiteral("INDIRIZZI_D"));
    EXPECT_EQ(t.ctx.AddressFile, QStringLiteral("INDIRIZZI_D"));
}
