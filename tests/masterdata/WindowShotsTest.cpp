// Pictures of the master-data forms, to look at their layout: run with VT_SHOT_DIR set to a folder
// (tests_masterdata --gtest_filter='WindowShots.*'); skipped otherwise.
#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <gtest/gtest.h>

#include "masterdata/Company.h"
#include "masterdata/TFALTRESEDI.h"
#include "masterdata/TFCODICI.h"
#include "masterdata/TFDATIAZIENDA.h"
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
