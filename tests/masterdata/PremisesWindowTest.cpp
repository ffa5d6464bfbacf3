// Other premises (TFALTRESEDI) driven offscreen, reached from its menu item; the web links of
// both company windows.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include "ui/WindowRegistry.h"
#include "app/MenuActions.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "masterdata/Company.h"
#include "masterdata/Settings.h"
#include "masterdata/TFALTRESEDI.h"
#include "masterdata/TFCODICI.h"
#include "masterdata/TFDATIAZIENDA.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"
#include "DriveWindow.h"

using namespace vt;
using namespace vt::test;
using namespace vt::test::drive;

namespace {

// A stored text slot: length byte, then the characters (the slot is padded with spaces).
QByteArray slot(const QByteArray& record, int offset, int width)
{
    return record.mid(offset, 1 + width);
}
QByteArray stored(const char* text, int width)
{
    QByteArray t(text);
    QByteArray s(1, char(width));
    s += t + QByteArray(width - t.size(), ' ');
    return s;
}

class PremisesWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStructure(t.ctx, QStringLiteral("TA03"), QStringLiteral("Uffici Doganali"), 1,
                       {{8, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        appendRow(t.ctx, QStringLiteral("TA03"), {QStringLiteral("IT075000"), QStringLiteral("UFFICIO DI ROMA")});
        appendRow(t.ctx, QStringLiteral("TA03"), {QStringLiteral("IT088000"), QStringLiteral("UFFICIO DI ASTI")});
        writeHeadOffice(QStringLiteral("1"));
    }
    // A tax warehouse whose excise number carries the "X" allowed only to the head office.
    void writeHeadOffice(const QString& type)
    {
        TRecAzienda h = blankCompany();
        trimCompany(h);
        h.TIPOIN = type;
        h.CACCI1 = h.CACCI2 = QStringLiteral("IT00RVX123456");
        h.DENOM1 = h.DENOM2 = QStringLiteral("Cantina Prova");
        h.INDIR1 = QStringLiteral("Via Roma");
        h.NUMCI1 = QStringLiteral("1");
        h.C_A_P1 = QStringLiteral("00100");
        h.CITTA1 = QStringLiteral("ROMA");
        h.UFFDO1 = QStringLiteral("IT075000");
        h.UFFDO2 = QStringLiteral("IT075100");
        h.SEZDOG = QStringLiteral("075000");
        h.CODUTE = QStringLiteral("AB12");
        WriteCompanyFile(t.ctx, QStringLiteral("001"), h);
        t.ctx.CompanyRecord = h;
    }
    QByteArray file(const char* name) const
    {
        QFile f(t.ctx.datiGen(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    TestContext t;
};

} // namespace

TEST_F(PremisesWindow, TheMenuItemOpensItForATaxWarehouseOnly)
{
    WriteCompanyFile(t.ctx, QStringLiteral("002"), blankCompany());
    WriteCompanyFile(t.ctx, QStringLiteral("004"), blankCompany());
    const MenuItem* item = findMenuItem(QStringLiteral("AALTRESEDI"), QStringLiteral("&Altre Sedi Autorizzate (002...)"));
    ASSERT_NE(item, nullptr);

    struct Seen {
        bool shown = false;
        QString sede, memo, cacci2, denom2, indir2, numci2, cap2, citta2, uffdo1, uffdo2, sezdog, duffdog;
        QWidget* focus = nullptr;
        QWidget* sedeEdit = nullptr;
    };
    struct Case {
        const char* type;
        bool opens;
        QStringList messages;
    };
    const Case cases[] = {
        {"1", true, {}},
        {"2", false, {QStringLiteral("SEZIONE RISERVATA AI DEPOSITI FISCALI")}},
    };
    for (const Case& c : cases) {
        writeHeadOffice(QString::fromLatin1(c.type));
        t.ctx.CompanyRecord = blankCompany(); // the action reads the head office itself
        t.messenger.infos.clear();
        Seen s;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<TFALTRESEDI*>(QApplication::activeModalWidget());
            if (!w)
                return;
            s.shown = true;
            showActive(w);
            s.sede = get(w, "SEDE")->text();
            s.memo = get<QPlainTextEdit>(w, "Memo1")->toPlainText();
            s.cacci2 = get(w, "CACCI2")->text();
            s.denom2 = get(w, "DENOM2")->text();
            s.indir2 = get(w, "INDIR2")->text();
            s.numci2 = get(w, "NUMCI2")->text();
            s.cap2 = get(w, "C_A_P2")->text();
            s.citta2 = get(w, "CITTA2")->text();
            s.uffdo1 = get(w, "UFFDO1")->text();
            s.uffdo2 = get(w, "UFFDO2")->text();
            s.sezdog = get(w, "SEZDOG")->text();
            s.duffdog = get(w, "DUFFDOG")->text();
            s.focus = QApplication::focusWidget();
            s.sedeEdit = get(w, "SEDE");
            click(w, "BABBANDONA");
        });
        runMenuAction(*item, t.ctx, [&](const QString& n) { return openWindow(n, t.ctx, nullptr); });
        QApplication::processEvents(); // a timer not consumed by a window fires here, harmlessly
        EXPECT_EQ(t.messenger.infos, c.messages) << c.type;
        EXPECT_EQ(s.shown, c.opens) << c.type;
        if (!c.opens)
            continue;
        EXPECT_EQ(s.sede, QStringLiteral("003")); // 002 and 004 exist
        EXPECT_EQ(s.memo, QStringLiteral("IT00RVX123456\nCantina Prova\nVia Roma\nROMA"));
        EXPECT_EQ(s.cacci2, QStringLiteral("IT00RVX123456"));
        EXPECT_EQ(s.denom2, QStringLiteral("Cantina Prova"));
        EXPECT_EQ(s.indir2, QStringLiteral("Via Roma"));
        EXPECT_EQ(s.numci2, QStringLiteral("1"));
        EXPECT_EQ(s.cap2, QStringLiteral("00100"));
        EXPECT_EQ(s.citta2, QStringLiteral("ROMA"));
        EXPECT_EQ(s.uffdo1, QStringLiteral("IT075000"));
        EXPECT_EQ(s.uffdo2, QStringLiteral("IT075100"));
        EXPECT_EQ(s.sezdog, QStringLiteral("075000"));
        EXPECT_EQ(s.duffdog, QStringLiteral("UFFICIO DI ROMA")); // the head office's, described
        EXPECT_EQ(s.focus, s.sedeEdit);
    }
}

TEST_F(PremisesWindow, ExciseWithXIsRefusedThenConfirmWritesThePremisesFile)
{
    const QByteArray headOffice = file("UTENTE.001");
    TFALTRESEDI w(t.ctx);
    showActive(&w);
    ASSERT_EQ(get(&w, "SEDE")->text(), QStringLiteral("002"));

    // The head office's "X" excise number, prefilled, is not one a premises may carry.
    typeAndEnter(&w, "DENOM2", QStringLiteral("magazzino nord"));
    click(&w, "BCONF");
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("ATTENZIONE CODICE D'ACCISA ERRATO")});
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "CACCI2"));
    EXPECT_FALSE(QFile::exists(t.ctx.datiGen(QStringLiteral("UTENTE.002"))));

    t.messenger.infos.clear();
    typeAndEnter(&w, "CACCI2", QStringLiteral("it00asv654321"));
    typeAndEnter(&w, "INDIR2", QStringLiteral("strada del porto"));
    typeAndEnter(&w, "NUMCI2", QStringLiteral("12/b"));
    typeAndEnter(&w, "C_A_P2", QStringLiteral("14100"));
    typeAndEnter(&w, "CITTA2", QStringLiteral("asti"));
    typeAndEnter(&w, "UFFDO1", QStringLiteral("it088000"));
    EXPECT_EQ(get(&w, "DUFFDOG")->text(), QStringLiteral("UFFICIO DI ASTI"));
    EXPECT_EQ(get(&w, "UFFDO2")->text(), QStringLiteral("IT088100"));
    EXPECT_EQ(get(&w, "SEZDOG")->text(), QStringLiteral("088000"));
    click(&w, "BCONF");
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(' ').toStdString();
    EXPECT_EQ(w.result(), QDialog::Accepted);

    const QByteArray r = file("UTENTE.002");
    ASSERT_EQ(r.size(), 608);
    EXPECT_EQ(r.left(4), QByteArray(4, '\0'));
    EXPECT_EQ(slot(r, 4, 18), stored("", 18));                       // head-office slots blank
    EXPECT_EQ(slot(r, 23, 18), stored("IT00ASV654321", 18));          // excise number of the premises
    EXPECT_EQ(slot(r, 42, 100), stored("", 100));
    EXPECT_EQ(slot(r, 143, 100), stored("Magazzino nord", 100));      // name, first letter capitalised
    EXPECT_EQ(slot(r, 244, 11), stored("", 11));
    EXPECT_EQ(slot(r, 273, 65), stored("", 65));
    EXPECT_EQ(slot(r, 339, 65), stored("Strada del porto", 65));
    EXPECT_EQ(slot(r, 417, 11), stored("12/b", 11));
    EXPECT_EQ(slot(r, 440, 10), stored("14100", 10));
    EXPECT_EQ(slot(r, 502, 50), stored("ASTI", 50));
    EXPECT_EQ(slot(r, 553, 4), stored("002", 4));                     // the premises number
    EXPECT_EQ(slot(r, 558, 8), stored("IT088000", 8));
    EXPECT_EQ(slot(r, 567, 8), stored("IT088100", 8));
    EXPECT_EQ(slot(r, 576, 6), stored("088000", 6));
    EXPECT_EQ(slot(r, 583, 17), stored("", 17));
    EXPECT_EQ(slot(r, 601, 1), stored("", 1));
    EXPECT_EQ(slot(r, 603, 1), stored("", 1));
    EXPECT_EQ(file("UTENTE.001"), headOffice); // the head office is left alone
    EXPECT_EQ(t.ctx.CurrentAddress.CODUTE.trimmed(), QStringLiteral("002"));
}

TEST_F(PremisesWindow, APremisesNumberOutsideTwoToNineNineNineIsRefused)
{
    const QByteArray headOffice = file("UTENTE.001");
    const char* numbers[] = {"001", "000", "1", "12", ""};
    for (const char* n : numbers) {
        TFALTRESEDI w(t.ctx);
        showActive(&w);
        typeAndEnter(&w, "CACCI2", QStringLiteral("IT00RVV123456")); // every other check passes
        get(&w, "SEDE")->clear();
        typeAndEnter(&w, "SEDE", QString::fromLatin1(n));
        EXPECT_EQ(QApplication::focusWidget(), get(&w, "SEDE")) << "leaving with " << n;
        click(&w, "BCONF");
        EXPECT_EQ(QApplication::focusWidget(), get(&w, "SEDE")) << "confirming with " << n;
        EXPECT_NE(w.result(), QDialog::Accepted) << n;
        EXPECT_EQ(file("UTENTE.001"), headOffice) << n;
        EXPECT_FALSE(QFile::exists(t.ctx.datiGen(QStringLiteral("UTENTE.1")))) << n;
        EXPECT_FALSE(QFile::exists(t.ctx.datiGen(QStringLiteral("UTENTE.12")))) << n;
        EXPECT_FALSE(QFile::exists(t.ctx.datiGen(QStringLiteral("UTENTE.002")))) << n;
    }
    EXPECT_TRUE(t.messenger.infos.isEmpty()); // the number is refused without a message
}

TEST_F(PremisesWindow, LeavingTheNumberOfAnExistingPremisesShowsItsRecord)
{
    TRecAzienda p = blankCompany();
    trimCompany(p);
    p.CODUTE = QStringLiteral("005");
    p.CACCI2 = QStringLiteral("IT00ASV654321");
    p.DENOM2 = QStringLiteral("Magazzino Nord");
    p.INDIR2 = QStringLiteral("Strada del Porto");
    p.NUMCI2 = QStringLiteral("7");
    p.C_A_P2 = QStringLiteral("14100");
    p.CITTA2 = QStringLiteral("ASTI");
    p.UFFDO1 = QStringLiteral("IT088000");
    p.UFFDO2 = QStringLiteral("IT088100");
    p.SEZDOG = QStringLiteral("088000");
    WriteCompanyFile(t.ctx, QStringLiteral("005"), p);

    TFALTRESEDI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "SEDE", QStringLiteral("005"));
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "CACCI2"));
    const std::pair<const char*, const char*> shown[] = {
        {"CACCI2", "IT00ASV654321"}, {"DENOM2", "Magazzino Nord"}, {"INDIR2", "Strada del Porto"},
        {"NUMCI2", "7"}, {"C_A_P2", "14100"}, {"CITTA2", "ASTI"}, {"UFFDO1", "IT088000"},
        {"UFFDO2", "IT088100"}, {"SEZDOG", "088000"},
    };
    for (const auto& [name, value] : shown)
        EXPECT_EQ(get(&w, name)->text(), QString::fromLatin1(value)) << name;

    // A number without a file is a new premises: the fields keep what they hold.
    typeAndEnter(&w, "SEDE", QStringLiteral("006"));
    EXPECT_EQ(get(&w, "DENOM2")->text(), QStringLiteral("Magazzino Nord"));
    click(&w, "BCONF");
    EXPECT_EQ(slot(file("UTENTE.006"), 553, 4), stored("006", 4));
    EXPECT_EQ(slot(file("UTENTE.006"), 143, 100), stored("Magazzino Nord", 100));
}

TEST_F(PremisesWindow, NewCustomsOfficeEnteredFromTheNewCodeButton)
{
    TFALTRESEDI w(t.ctx);
    showActive(&w);
    t.ctx.TableName = QStringLiteral("SOMETHING");
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* ed = qobject_cast<TFCODICI*>(QApplication::activeModalWidget());
        ASSERT_NE(ed, nullptr);
        seen = true;
        showActive(ed);
        typeAndEnter(ed, "LE1", QStringLiteral("IT099000"));
        typeAndEnter(ed, "LE2", QStringLiteral("UFFICIO NUOVO"));
        click(ed, "BCONF"); // new-code mode: closes after this row
    });
    QTest::mouseClick(get<QToolButton>(&w, "BNUFFDOG"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(seen);
    EXPECT_EQ(get(&w, "UFFDO1")->text(), QStringLiteral("IT099000"));
    EXPECT_EQ(get(&w, "DUFFDOG")->text(), QStringLiteral("UFFICIO NUOVO"));
    EXPECT_EQ(get(&w, "UFFDO2")->text(), QStringLiteral("IT099100"));
    EXPECT_EQ(get(&w, "SEZDOG")->text(), QStringLiteral("099000"));
    EXPECT_EQ(t.ctx.TableName, QStringLiteral("SOMETHING"));
    EXPECT_FALSE(t.ctx.NewCodeMode);
    ASSERT_EQ(records(tablePath(t.ctx, QStringLiteral("TA03"), ".TAB")).size(), 3);
}

// BWEB opens web address 0, BUFFDO2 web address 1, in both company windows.
TEST_F(PremisesWindow, WebLinksOfBothCompanyWindows)
{
    std::array<QString, WebFieldCount> web;
    web[0] = QStringLiteral("https://seed.example/");
    web[1] = QStringLiteral("https://offices.example/");
    web[2] = QStringLiteral("https://rates.example/");
    SaveWebAddresses(t.ctx, web);

    struct Case {
        const char* window;
        const char* button;
        const char* url;
    };
    const Case cases[] = {
        {"TFDATIAZIENDA", "BWEB", "https://seed.example/"},
        {"TFDATIAZIENDA", "BUFFDO2", "https://offices.example/"},
        {"TFALTRESEDI", "BUFFDO2", "https://offices.example/"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QDialog> w;
        if (QByteArray(c.window) == "TFDATIAZIENDA")
            w = std::make_unique<TFDATIAZIENDA>(t.ctx);
        else
            w = std::make_unique<TFALTRESEDI>(t.ctx);
        showActive(w.get());
        t.shell.urls.clear();
        click(w.get(), c.button);
        EXPECT_EQ(t.shell.urls, QStringList{QString::fromLatin1(c.url)}) << c.window << " " << c.button;
    }
    EXPECT_TRUE(t.messenger.infos.isEmpty());
    EXPECT_TRUE(t.shell.programs.isEmpty());
}

TEST_F(PremisesWindow, WebLinksDoNothingWithoutWebCfg)
{
    TFDATIAZIENDA head(t.ctx);
    showActive(&head);
    click(&head, "BWEB");
    click(&head, "BUFFDO2");
    TFALTRESEDI other(t.ctx);
    showActive(&other);
    click(&other, "BUFFDO2");
    EXPECT_TRUE(t.shell.urls.isEmpty());
    EXPECT_TRUE(t.messenger.infos.isEmpty());
    EXPECT_FALSE(QFile::exists(t.ctx.datiGen(QStringLiteral("WEB.CFG")))); // not created by a link
}
