// Company data: checks as tables of cases, derivations, and TFDATIAZIENDA driven offscreen.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "app/MenuActions.h"
#include "foundation/RecordFile.h"
#include "masterdata/AddressBook.h"
#include "masterdata/Company.h"
#include "masterdata/TFDATIAZIENDA.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

TEST(CompanyChecks, ExciseNumberHeadOfficeAndPremises)
{
    struct Case { const char* text; bool head; bool ok; };
    const Case cases[] = {
        {"IT00RVX123456", true, true}, {"IT00RVX123456", false, false},
        {"IT00RVV123456", true, true}, {"IT00RVV123456", false, true},
        {"IT00RVA123456", true, false}, {"XX00RVV123456", true, false},
        {"IT00RVV12345", true, false}, {"", true, false},
    };
    for (const auto& c : cases) {
        CheckResult r = CheckCompanyExcise(QString::fromLatin1(c.text), c.head, QStringLiteral("CACCI1"));
        EXPECT_EQ(r.ok, c.ok) << c.text << " head " << c.head;
        if (!r.ok) {
            EXPECT_EQ(r.message, QStringLiteral("ATTENZIONE CODICE D'ACCISA ERRATO"));
            EXPECT_EQ(r.focus, QStringLiteral("CACCI1"));
        }
    }
}

TEST(CompanyChecks, DepositNameAddressesAndWarnings)
{
    EXPECT_TRUE(CheckDepositOrExemption(QStringLiteral("C")).ok);
    EXPECT_TRUE(CheckDepositOrExemption(QStringLiteral("E")).ok);
    EXPECT_EQ(CheckDepositOrExemption(QStringLiteral("X")).message, QStringLiteral("DIGITA: C per cauzione, E pe esonero"));
    EXPECT_FALSE(CheckDepositOrExemption(QString()).ok);

    const std::pair<const char*, bool> names[] = {{" cantina srl", true}, {"9 vini", true}, {"", false}, {"-x", false}};
    for (const auto& [n, ok] : names) {
        NamedValue v{QStringLiteral("DENOM1"), QString::fromLatin1(n)};
        EXPECT_EQ(CheckCompanyName(v).ok, ok) << n;
    }
    NamedValue v{QStringLiteral("DENOM1"), QStringLiteral("  cantina ")};
    CheckCompanyName(v);
    EXPECT_EQ(v.value, QStringLiteral("Cantina"));

    QList<NamedValue> a{{"INDIR1", " via roma"}, {"NUMCI1", ""}, {"C_A_P1", "1"}, {"CITTA1", " "}};
    CheckResult r = CheckAddresses(a);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("DIGITARE ALMENO UN CARATTERE"));
    EXPECT_EQ(r.focus, QStringLiteral("CITTA1")); // the last empty one
    EXPECT_EQ(a[0].value, QStringLiteral("Via roma"));

    EXPECT_EQ(ExportOfficeFor(QStringLiteral("IT075000")), QStringLiteral("IT075100"));
    EXPECT_EQ(SectionFor(QStringLiteral("IT075000")), QStringLiteral("075000"));

    EXPECT_EQ(FiscalCodeWarning(QStringLiteral("RSSMRA80A01H501U")), QString());
    EXPECT_EQ(FiscalCodeWarning(QStringLiteral("RSSMRA80A01H501A")), QStringLiteral("ATTENZIONE CODICE FISCALE ERRATO"));
    EXPECT_EQ(FiscalCodeWarning(QStringLiteral("12345678901")), QString()); // no verdict, no message
    EXPECT_EQ(VatNumberWarning(QStringLiteral("12345678903")), QString());
    EXPECT_EQ(VatNumberWarning(QStringLiteral("12345678901")), QStringLiteral("ATTENZIONE PARTITA I.V.A. ERRATA"));
}

TEST(CompanyChecks, UserCodeIsFourLettersOrDigitsOnceGiven)
{
    const std::pair<const char*, bool> cases[] = {
        {"", true}, {"    ", true}, {"ABCD", true}, {"A1B2", true}, {"0001", true},
        {"U01", false}, {"ABCDE", false}, {"AB-D", false}, {"ab c", false},
    };
    for (const auto& [code, ok] : cases) {
        const CheckResult r = CheckUserCode(QString::fromLatin1(code));
        EXPECT_EQ(r.ok, ok) << code;
        if (!ok) {
            EXPECT_EQ(r.message, QStringLiteral("IL CODICE UTENTE DEVE ESSERE DI 4 LETTERE O CIFRE")) << code;
            EXPECT_EQ(r.focus, QStringLiteral("CODUTE")) << code;
        }
    }
}

TEST(CompanyFiles, FirstFreePremises)
{
    TestContext t;
    WriteCompanyFile(t.ctx, QStringLiteral("002"), blankCompany());
    WriteCompanyFile(t.ctx, QStringLiteral("004"), blankCompany());
    EXPECT_EQ(FirstFreePremises(t.ctx), QStringLiteral("003"));
}

TEST(CompanyWindow, TypeTwoConfirmedThenOtherPremisesAreRefused)
{
    TestContext t;
    writeStructure(t.ctx, QStringLiteral("TA03"), QStringLiteral("Uffici Doganali"), 1,
                   {{8, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
    appendRow(t.ctx, QStringLiteral("TA03"), {QStringLiteral("IT075000"), QStringLiteral("UFFICIO PROVA")});
    WriteCompanyFile(t.ctx, QStringLiteral("001"), blankCompany());

    TFDATIAZIENDA w(t.ctx);
    ASSERT_TRUE(w.loaded());
    w.show();
    QApplication::setActiveWindow(&w);
    QApplication::processEvents();
    EXPECT_EQ(w.findChild<QLineEdit*>("CAUESO")->text(), QStringLiteral("C"));
    w.findChild<QRadioButton*>("RTIPOIN1")->setChecked(true);
    auto set = [&](const char* n, const char* v) { w.findChild<QLineEdit*>(n)->setText(QString::fromLatin1(v)); };
    set("CACCI1", "IT00RVX123456");
    set("DENOM1", "cantina prova");
    set("INDIR1", "via roma");
    set("NUMCI1", "1");
    set("C_A_P1", "00100");
    set("CITTA1", "ROMA");
    // Office typed and left: description, export office and section derived.
    auto* office = w.findChild<QLineEdit*>("UFFDO1");
    office->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(office, QStringLiteral("it075000"));
    QTest::keyClick(office, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(w.findChild<QLineEdit*>("DUFFDOG")->text(), QStringLiteral("UFFICIO PROVA"));
    EXPECT_EQ(w.findChild<QLineEdit*>("UFFDO2")->text(), QStringLiteral("IT075100"));
    EXPECT_EQ(w.findChild<QLineEdit*>("SEZDOG")->text(), QStringLiteral("075000"));

    // The dispatch place is empty: the check stops the confirmation, nothing written.
    QTest::mouseClick(w.findChild<QPushButton*>("BCONF"), Qt::LeftButton);
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("DIGITARE ALMENO UN CARATTERE")});
    EXPECT_EQ(ReadCompanyFile(t.ctx, QStringLiteral("001"))->TIPOIN, QString());
    set("INDIR2", "via roma");
    set("NUMCI2", "1");
    set("C_A_P2", "00100");
    set("CITTA2", "ROMA");
    QTest::mouseClick(w.findChild<QPushButton*>("BCONF"), Qt::LeftButton);

    const auto recs = RecordFile(t.ctx.datiGen(QStringLiteral("UTENTE.001")), 608).readAll();
    ASSERT_EQ(recs.size(), 1);
    EXPECT_EQ(recs[0][603], 1); // length byte of the type
    EXPECT_EQ(recs[0][604], '2');
    EXPECT_EQ(recs[0].mid(24, 13), QByteArray("IT00RVX123456")); // excise number in both slots
    EXPECT_EQ(recs[0].mid(5, 13), QByteArray("IT00RVX123456"));
    EXPECT_EQ(recs[0].mid(144, 13), QByteArray("Cantina prova"));
    EXPECT_EQ(recs[0].mid(577, 6), QByteArray("075000"));

    t.messenger.infos.clear();
    QStringList opened;
    runMenuAction(*findMenuItem(QStringLiteral("AALTRESEDI")), t.ctx, [&](const QString& n) { opened << n; return true; });
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("SEZIONE RISERVATA AI DEPOSITI FISCALI")});
}
