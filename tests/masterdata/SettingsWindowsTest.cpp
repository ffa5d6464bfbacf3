// The settings windows driven offscreen: TFTABACCISE, TFPROTREGISTRI, TFPERCORSI, TFINDWEB.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QToolButton>

#include <gtest/gtest.h>

#include "ui/WindowRegistry.h"
#include "foundation/Dates.h"
#include "foundation/Tables.h"
#include "masterdata/DriveWindow.h"
#include "masterdata/Settings.h"
#include "masterdata/TFINDWEB.h"
#include "masterdata/TFPERCORSI.h"
#include "masterdata/TFPROTREGISTRI.h"
#include "masterdata/TFTABACCISE.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"
#include "ui/Edits.h"

using namespace vt;
using namespace vt::test;
using namespace vt::test::drive;

class ExciseWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStructure(t.ctx, QStringLiteral("T004"), QStringLiteral("Stati membri"), 1,
                       {{2, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        appendRow(t.ctx, QStringLiteral("T004"), {QStringLiteral("DE"), QStringLiteral("Germania")});
        appendRow(t.ctx, QStringLiteral("T004"), {QStringLiteral("FR"), QStringLiteral("Francia")});
        writeStructure(t.ctx, QStringLiteral("ACCISE"), QStringLiteral("Accise"), 1,
                       {{2, QStringLiteral("Nazione")}});
    }
    QList<QByteArray> rows() { return records(tablePath(t.ctx, QStringLiteral("ACCISE"), ".TAB")); }
    TestContext t;
};

TEST_F(ExciseWindow, EntersABandAndShowsItAgainForModification)
{
    {
        TFTABACCISE w(t.ctx);
        ASSERT_TRUE(w.ready());
        showActive(&w);
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Tabella delle Accise nei Paesi dell'Unione Europea"));
        EXPECT_EQ(get<QPushButton>(&w, "BELENCA")->text(), QStringLiteral("Mostra / Richiama"));
        typeAndEnter(&w, "LE0", QStringLiteral("fr"));
        EXPECT_EQ(get(&w, "DLE0")->text(), QStringLiteral("Francia"));
        typeAndEnter(&w, "R10", QStringLiteral("1.2"));   // "." typed becomes ","
        typeAndEnter(&w, "R20", QStringLiteral("15"));
        typeAndEnter(&w, "R30", QStringLiteral("1234"));
        EXPECT_EQ(get(&w, "R30")->text(), QStringLiteral("1.234"));
        typeAndEnter(&w, "R25", QStringLiteral("99"));     // sparkling, first band: no excise
        click(&w, "BCONF");
        EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
        EXPECT_TRUE(get(&w, "LE0")->text().isEmpty()); // the window stays open, reset
    }
    QList<QByteArray> r = rows();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(RecordFile::numberOf(r[0]), 1);
    EXPECT_EQ(fld(r[0], 0), QStringLiteral("FR").leftJustified(250));
    EXPECT_EQ(ext(r[0], 0).trimmed(), QStringLiteral("ACCISE"));
    EXPECT_EQ(valA(r[0], 0), 1.2);
    EXPECT_EQ(valB(r[0], 0), 15.0);
    EXPECT_EQ(valC(r[0], 0), 1234.0);
    EXPECT_EQ(valB(r[0], 5), 0.0);

    TFTABACCISE w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE0", QStringLiteral("FR"));
    EXPECT_TRUE(get<QLabel>(&w, "LMODCANC")->isVisible());
    EXPECT_TRUE(get<QPushButton>(&w, "BCANCELLA")->isVisible());
    EXPECT_FALSE(get<QPushButton>(&w, "BELENCA")->isVisible());
    EXPECT_EQ(get(&w, "R10")->text(), QStringLiteral("1,20"));
    EXPECT_EQ(get(&w, "R30")->text(), QStringLiteral("1.234,00"));
    typeAndEnter(&w, "R31", QStringLiteral("5"));
    typeAndEnter(&w, "R11", QStringLiteral("10"));
    typeAndEnter(&w, "R21", QStringLiteral("8"));       // "to" below "from"
    click(&w, "BCONF");
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "R21"));
    EXPECT_EQ(rows().size(), 1);
    EXPECT_EQ(RecordFile::numberOf(rows()[0]), 1);
    typeAndEnter(&w, "R21", QStringLiteral("16"));
    click(&w, "BCONF");
    r = rows();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(RecordFile::numberOf(r[0]), 1); // rewritten as the highest number left + 1
    EXPECT_EQ(valC(r[0], 1), 5.0);
    EXPECT_EQ(valB(r[0], 1), 16.0);
    EXPECT_EQ(valC(r[0], 0), 1234.0);
}

TEST_F(ExciseWindow, UnknownStateIsShownBesideItAndBlocksTheConfirmation)
{
    TFTABACCISE w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE0", QStringLiteral("ZZ"));
    EXPECT_EQ(get(&w, "DLE0")->text(), QStringLiteral("CODICE NAZIONE SCONOSCIUTO"));
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE0"));
    click(&w, "BCONF");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE0"));
}

TEST_F(ExciseWindow, DeleteAndWebSite)
{
    appendRow(t.ctx, QStringLiteral("ACCISE"), {QStringLiteral("DE")});
    std::array<QString, WebFieldCount> web;
    web[2] = QStringLiteral("https://accise.example/");
    SaveWebAddresses(t.ctx, web);
    TFTABACCISE w(t.ctx);
    showActive(&w);
    click(&w, "BWEB");
    EXPECT_EQ(t.shell.urls, QStringList{QStringLiteral("https://accise.example/")});
    typeAndEnter(&w, "LE0", QStringLiteral("DE"));
    t.messenger.answers.push_back(true); // "Sì" to the question before deleting
    click(&w, "BCANCELLA");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_FALSE(get<QPushButton>(&w, "BCANCELLA")->isVisible());
}

TEST_F(ExciseWindow, TheWebSiteButtonDoesNothingWithoutWebCfg)
{
    TFTABACCISE w(t.ctx);
    click(&w, "BWEB");
    EXPECT_TRUE(t.shell.urls.isEmpty());
    EXPECT_TRUE(t.messenger.infos.isEmpty());
}

TEST(SettingsWindows, MissingStructureClosesTheTableWindows)
{
    TestContext t;
    {
        TFTABACCISE w(t.ctx);
        EXPECT_FALSE(w.ready());
        EXPECT_EQ(w.exec(), QDialog::Rejected);
    }
    {
        TFPROTREGISTRI w(t.ctx);
        EXPECT_FALSE(w.ready());
    }
    EXPECT_EQ(t.messenger.infos, QStringList(2, QStringLiteral("STRUTTURA DELLA TABELLA MANCANTE")));
}

class ProtocolWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStructure(t.ctx, QStringLiteral("PROTOCOLLI"), QStringLiteral("Protocolli"), 1,
                       {{10, QStringLiteral("Protocollo")}});
        t.ctx.TableName = QStringLiteral("PROTOCOLLI");
    }
    void enter(const char* number, const char* bulk, const char* from)
    {
        TFPROTREGISTRI w(t.ctx);
        ASSERT_TRUE(w.ready());
        showActive(&w);
        EXPECT_EQ(get<DateEdit>(&w, "R10")->date(), t.clock.today());
        typeAndEnter(&w, "LE0", QString::fromLatin1(number));
        typeAndEnter(&w, "R10", QStringLiteral("15032011"));
        typeAndEnter(&w, "le1", QString::fromLatin1(bulk));
        typeAndEnter(&w, "R11", QString::fromLatin1(from));
        typeAndEnter(&w, "LE2", QStringLiteral("UFFICIO DELLE DOGANE DI ASTI"));
        click(&w, "BCONF");
        EXPECT_FALSE(w.isVisible()); // closes after writing
    }
    QList<QByteArray> rows() { return records(tablePath(t.ctx, QStringLiteral("PROTOCOLLI"), ".TAB")); }
    TestContext t;
};

TEST_F(ProtocolWindow, ProtocolsAreStoredInDateOrderWhateverTheOrderOfEntry)
{
    enter("2012/A", "S", "01012012");
    enter("2011/B", "N", "01072011");
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
    const QList<QByteArray> r = rows();
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(fld(r[0], 0).trimmed(), QStringLiteral("2011/B"));
    EXPECT_EQ(fld(r[0], 1).trimmed(), QStringLiteral("N"));
    EXPECT_EQ(RecordFile::numberOf(r[0]), 2);
    EXPECT_EQ(dates::toDate(valA(r[0], 1)), QDate(2011, 7, 1));
    EXPECT_EQ(dates::toDate(valA(r[0], 0)), QDate(2011, 3, 15));
    EXPECT_EQ(fld(r[0], 2).trimmed(), QStringLiteral("UFFICIO DELLE DOGANE DI ASTI"));
    EXPECT_EQ(fld(r[1], 0).trimmed(), QStringLiteral("2012/A"));
}

TEST_F(ProtocolWindow, WrongFlagAndWrongDateKeepTheFocus)
{
    TFPROTREGISTRI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE0", QStringLiteral("P1"));
    typeAndEnter(&w, "R10", QStringLiteral("01012012"));
    typeAndEnter(&w, "le1", QStringLiteral("X"));
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("DIGITA: S per sfuso N per condizionato")});
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "le1"));
    typeAndEnter(&w, "le1", QStringLiteral("S"));
    typeAndEnter(&w, "R11", QStringLiteral("31022012"));
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "R11"));
    click(&w, "BCONF");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "R11"));
}

TEST_F(ProtocolWindow, AnExistingProtocolIsModifiedNotDuplicated)
{
    enter("P1", "S", "01012012");
    enter("P2", "S", "01012013");
    TFPROTREGISTRI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE0", QStringLiteral("P1"));
    EXPECT_TRUE(get<QLabel>(&w, "LMODCANC")->isVisible());
    EXPECT_EQ(get(&w, "le1")->text(), QStringLiteral("S"));
    EXPECT_EQ(get<DateEdit>(&w, "R11")->date(), QDate(2012, 1, 1));
    typeAndEnter(&w, "le1", QStringLiteral("N"));
    click(&w, "BCONF");
    EXPECT_FALSE(w.isVisible());
    const QList<QByteArray> r = rows();
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(fld(r[0], 0).trimmed(), QStringLiteral("P1"));
    EXPECT_EQ(fld(r[0], 1).trimmed(), QStringLiteral("N"));
    EXPECT_EQ(RecordFile::numberOf(r[0]), 3); // a new number, still in its date position
}

TEST(PathsWindow, ChoosingTheSigningProgramFillsTheFoldersBesideIt)
{
    TestContext t;
    TFPERCORSI w(t.ctx);
    ASSERT_TRUE(w.ready());
    EXPECT_EQ(QFileInfo(appConfigPath(t.ctx)).size(), 5304); // created blank on opening
    showActive(&w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Percorsi delle Applicazioni"));
    t.dialogs.answers = {QStringLiteral("C:\\FV\\FirmaVerifica.exe"), QStringLiteral("/srv/emcs")};
    click(&w, "BLE0");
    EXPECT_EQ(get(&w, "LE0")->text(), QStringLiteral("C:\\FV\\FirmaVerifica.exe"));
    EXPECT_EQ(get(&w, "LE1")->text(), QStringLiteral("C:\\FV\\dafirmare\\"));
    EXPECT_EQ(get(&w, "LE2")->text(), QStringLiteral("C:\\FV\\firmati\\"));
    click(&w, "BLE3");
    EXPECT_EQ(get(&w, "LE3")->text(), QDir::toNativeSeparators(QStringLiteral("/srv/emcs/")));
    click(&w, "BLE1"); // given up: the field keeps its text
    EXPECT_EQ(get(&w, "LE1")->text(), QStringLiteral("C:\\FV\\dafirmare\\"));
    click(&w, "BCONF");
    EXPECT_FALSE(w.isVisible());
    const QList<QByteArray> r = records(appConfigPath(t.ctx));
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(fld(r[0], 0).trimmed(), QStringLiteral("C:\\FV\\FirmaVerifica.exe"));
    EXPECT_EQ(fld(r[0], 1).trimmed(), QStringLiteral("C:\\FV\\dafirmare\\"));
    EXPECT_EQ(fld(r[0], 2).trimmed(), QStringLiteral("C:\\FV\\firmati\\"));
    EXPECT_EQ(fld(r[0], 3).trimmed(), QDir::toNativeSeparators(QStringLiteral("/srv/emcs/")));

    TFPERCORSI again(t.ctx);
    EXPECT_EQ(get(&again, "LE2")->text(), QStringLiteral("C:\\FV\\firmati\\"));
}

// From the keyboard: a program path typed fills the empty folders beside it (never folders the user
// has set), and F4 on a field is its "..." button.
TEST(PathsWindow, ATypedProgramFillsTheEmptyFoldersAndF4Browses)
{
    TestContext t;
    TFPERCORSI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE0", QStringLiteral("/opt/fv/firma"));
    EXPECT_EQ(get(&w, "LE1")->text(), QStringLiteral("/opt/fv/dafirmare/"));
    EXPECT_EQ(get(&w, "LE2")->text(), QStringLiteral("/opt/fv/firmati/"));
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE1"));

    typeAndEnter(&w, "LE1", QStringLiteral("/srv/da"));
    typeAndEnter(&w, "LE0", QStringLiteral("/usr/bin/altro"));
    EXPECT_EQ(get(&w, "LE1")->text(), QStringLiteral("/srv/da")); // set by the user: kept

    t.dialogs.answers = {QStringLiteral("/srv/download")};
    get(&w, "LE3")->setFocus();
    QTest::keyClick(get(&w, "LE3"), Qt::Key_F4);
    EXPECT_EQ(t.dialogs.captions.size(), 1);
    EXPECT_EQ(get(&w, "LE3")->text(), QDir::toNativeSeparators(QStringLiteral("/srv/download/")));
}

TEST(WebWindow, StoresTheAddressesAndChecksTheServiceHosts)
{
    TestContext t;
    TFINDWEB w(t.ctx);
    ASSERT_TRUE(w.ready());
    EXPECT_EQ(QFileInfo(webConfigPath(t.ctx)).size(), 5304);
    showActive(&w);
    for (int i = 0; i < 8; ++i)
        get(&w, QStringLiteral("LE%1").arg(i).toLatin1().constData())->setText(QStringLiteral("https://w%1.example/").arg(i));
    typeAndEnter(&w, "LE8", QStringLiteral("https://file.example"));
    EXPECT_EQ(t.messenger.infos, QStringList{MsgBadServiceHost});
    click(&w, "BCONF");
    EXPECT_EQ(t.messenger.infos.size(), 2);
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE8"));
    EXPECT_TRUE(w.isVisible());
    typeAndEnter(&w, "LE8", QStringLiteral("file.example"));
    typeAndEnter(&w, "LE9", QStringLiteral("prova.example:8443"));
    click(&w, "BCONF");
    EXPECT_FALSE(w.isVisible());
    const QList<QByteArray> r = records(webConfigPath(t.ctx));
    ASSERT_EQ(r.size(), 1);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(fld(r[0], i).trimmed(), QStringLiteral("https://w%1.example/").arg(i));
    EXPECT_EQ(fld(r[0], 8), QStringLiteral("file.example").leftJustified(250));
    EXPECT_EQ(fld(r[0], 9).trimmed(), QStringLiteral("prova.example:8443"));
}

TEST(SettingsWindows, AreReachableByName)
{
    TestContext t; // no structures: the table windows close at once
    EXPECT_TRUE(openWindow(QStringLiteral("TFTABACCISE"), t.ctx, nullptr));
    EXPECT_TRUE(openWindow(QStringLiteral("TFPROTREGISTRI"), t.ctx, nullptr));
    EXPECT_EQ(t.messenger.infos.size(), 2);
}
