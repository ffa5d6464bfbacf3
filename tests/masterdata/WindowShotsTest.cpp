// Pictures of the master-data forms, to look at their layout: run with VT_SHOT_DIR set to a folder
// (tests_masterdata --gtest_filter='WindowShots.*'); skipped otherwise.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include "masterdata/Company.h"
#include "masterdata/TFALTRESEDI.h"
#include "masterdata/TFCODICI.h"
#include "masterdata/TFCODICI_NC.h"
#include "masterdata/TFDATIAZIENDA.h"
#include "masterdata/TFINDWEB.h"
#include "masterdata/TFINSDESTINATARI.h"
#include "masterdata/TFINSINDIRIZZO.h"
#include "masterdata/TFPRODAZIEND.h"
#include "masterdata/TFPROTREGISTRI.h"
#include "masterdata/TFTABACCISE.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {
void shoot(QWidget* w, const QString& folder, const char* name)
{
    w->show();
    QApplication::setActiveWindow(w);
    QApplication::processEvents();
    w->adjustSize();
    QApplication::processEvents();
    EXPECT_TRUE(w->grab().save(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png"))));
}
} // namespace

TEST(WindowShots, CompanyPremisesAndCodeEditor)
{
    const QString folder = qEnvironmentVariable("VT_SHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "VT_SHOT_DIR not set";
    QDir().mkpath(folder);

    TestContext t;
    writeStructure(t.ctx, QStringLiteral("TA03"), QStringLiteral("Uffici Doganali"), 1,
                   {{8, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
    appendRow(t.ctx, QStringLiteral("TA03"), {QStringLiteral("IT075000"), QStringLiteral("UFFICIO DELLE DOGANE DI ROMA 1")});
    writeStructure(t.ctx, QStringLiteral("T001"), QStringLiteral("Codici Lingua"), 1,
                   {{2, QStringLiteral("Codice Lingua")}, {100, QStringLiteral("Descrizione")}});
    appendRow(t.ctx, QStringLiteral("T001"), {QStringLiteral("de"), QStringLiteral("Tedesco")});
    appendRow(t.ctx, QStringLiteral("T001"), {QStringLiteral("en"), QStringLiteral("Inglese")});
    appendRow(t.ctx, QStringLiteral("T001"), {QStringLiteral("it"), QStringLiteral("Italiano")});

    TRecAzienda h = blankCompany();
    trimCompany(h);
    h.TIPOIN = QStringLiteral("1");
    h.CACCI1 = h.CACCI2 = QStringLiteral("IT00RVV123456");
    h.DENOM1 = h.DENOM2 = QStringLiteral("Cantina Sociale dei Colli Romani");
    h.PARIVA = QStringLiteral("12345678903");
    h.CODFIS = QStringLiteral("12345678903");
    h.INDIR1 = h.INDIR2 = QStringLiteral("Via dei Vigneti");
    h.NUMCI1 = h.NUMCI2 = QStringLiteral("12");
    h.C_A_P1 = h.C_A_P2 = QStringLiteral("00040");
    h.CITTA1 = h.CITTA2 = QStringLiteral("FRASCATI");
    h.CODUTE = QStringLiteral("AB12");
    h.UFFDO1 = QStringLiteral("IT075000");
    h.UFFDO2 = QStringLiteral("IT075100");
    h.SEZDOG = QStringLiteral("075000");
    h.CONGAR = QStringLiteral("0001234567");
    h.CAUESO = QStringLiteral("C");
    WriteCompanyFile(t.ctx, QStringLiteral("001"), h);
    t.ctx.CompanyRecord = h;

    {
        TFDATIAZIENDA w(t.ctx);
        shoot(&w, folder, "TFDATIAZIENDA");
    }
    {
        TFALTRESEDI w(t.ctx);
        shoot(&w, folder, "TFALTRESEDI");
    }
    {
        t.ctx.TableName = QStringLiteral("T001");
        TFCODICI w(t.ctx);
        shoot(&w, folder, "TFCODICI");
    }
}

TEST(WindowShots, TableEditorsAddressesAndWebAddresses)
{
    const QString folder = qEnvironmentVariable("VT_SHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "VT_SHOT_DIR not set";
    QDir().mkpath(folder);

    TestContext t;
    auto table = [&](const char* name, std::initializer_list<QStringList> rows, int width) {
        writeStructure(t.ctx, QString::fromLatin1(name), QStringLiteral("Tabella"), 1,
                       {{width, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        for (const QStringList& r : rows)
            appendRow(t.ctx, QString::fromLatin1(name), r);
    };
    table("T004", {{"DE", "Germania"}}, 2);
    table("T015", {{"1", "Authorized warehouse keeper"}}, 1);
    table("T001", {{"it", "Italiano"}}, 2);
    table("TA20", {}, 21);
    table("PRAZ", {}, 20);
    table("T020", {{"01", "Arricchito"}, {"05", "Altro trattamento"}}, 2);
    writeStructure(t.ctx, QStringLiteral("ACCISE"), QStringLiteral("Accise"), 1, {{2, QStringLiteral("Nazione")}});
    writeStructure(t.ctx, QStringLiteral("PROTOCOLLI"), QStringLiteral("Protocolli"), 1, {{10, QStringLiteral("N")}});
    t.ctx.FromMenu = true;
    {
        TFTABACCISE w(t.ctx);
        shoot(&w, folder, "TFTABACCISE");
    }
    {
        TFPROTREGISTRI w(t.ctx);
        shoot(&w, folder, "TFPROTREGISTRI");
    }
    {
        TFCODICI_NC w(t.ctx);
        w.show();
        QApplication::processEvents();
        auto* code = w.findChild<QLineEdit*>(QStringLiteral("ME0"));
        code->setFocus();
        QTest::keyClicks(code, QStringLiteral("W100"));
        QTest::keyClick(code, Qt::Key_Return); // refused: the reason in the status line
        QApplication::processEvents();
        shoot(&w, folder, "TFCODICI_NC");
    }
    {
        TFPRODAZIEND w(t.ctx);
        shoot(&w, folder, "TFPRODAZIEND");
    }
    {
        TFINSDESTINATARI w(t.ctx);
        shoot(&w, folder, "TFINSDESTINATARI");
    }
    {
        t.ctx.TableName = QStringLiteral("INDIRIZZI_G");
        TFINSINDIRIZZO w(t.ctx);
        shoot(&w, folder, "TFINSINDIRIZZO");
    }
    {
        TFINDWEB w(t.ctx);
        shoot(&w, folder, "TFINDWEB");
    }
}
