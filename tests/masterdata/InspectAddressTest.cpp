// vt-inspect on the address files: each slot under the name it has in that file.
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include "foundation/AddressFile.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {
QList<QJsonObject> inspect(const QString& file)
{
    const QString exe = qEnvironmentVariable("VT_BUILD_DIR") + QStringLiteral("/vt-inspect");
    QProcess p;
    p.start(exe, {file});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return {};
    QList<QJsonObject> out;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            out << QJsonDocument::fromJson(line).object();
    return out;
}
} // namespace

TEST(InspectAddress, ConsigneeAndGuarantorSlotsByMeaning)
{
    if (!QFileInfo::exists(qEnvironmentVariable("VT_BUILD_DIR") + QStringLiteral("/vt-inspect")))
        GTEST_SKIP() << "vt-inspect is run from ctest (VT_BUILD_DIR)";
    TestContext t;
    TRecIndirizzo c = blankCompany();
    c.DENOM1 = QStringLiteral("Ambasciata");
    c.DENOM2 = QStringLiteral("CERT 1");
    c.CODUTE = QStringLiteral("FR");
    c.TIPOIN = QStringLiteral("5");
    InsertAddress(t.ctx.datiGen(QStringLiteral("INDIRIZZI_D.DAT")), c, t.messenger);
    const QList<QJsonObject> d = inspect(t.ctx.datiGen(QStringLiteral("INDIRIZZI_D.DAT")));
    ASSERT_EQ(d.size(), 1);
    EXPECT_EQ(d[0].value("_kind").toString(), QStringLiteral("address"));
    EXPECT_EQ(d[0].value("codice").toInt(), 1);
    EXPECT_EQ(d[0].value("ESENZIONE").toString(), QStringLiteral("CERT 1"));
    EXPECT_EQ(d[0].value("CODUTE").toString(), QStringLiteral("FR"));
    EXPECT_FALSE(d[0].contains("CONGAR"));
    EXPECT_EQ(d[0].value("_meaning").toObject().value("CODUTE").toString(), QStringLiteral("member state (T004, type 5)"));

    TRecIndirizzo g = blankCompany();
    g.DENOM1 = QStringLiteral("Banca");
    g.CACCI2 = QStringLiteral("01234567890");
    g.CONGAR = QStringLiteral("CG1");
    g.CAUESO = QStringLiteral("E");
    InsertAddress(t.ctx.datiGen(QStringLiteral("INDIRIZZI_G.DAT")), g, t.messenger);
    const QList<QJsonObject> gg = inspect(t.ctx.datiGen(QStringLiteral("INDIRIZZI_G.DAT")));
    ASSERT_EQ(gg.size(), 1);
    EXPECT_EQ(gg[0].value("CONGAR").toString(), QStringLiteral("CG1"));
    EXPECT_EQ(gg[0].value("_meaning").toObject().value("CACCI2").toString(), QStringLiteral("VAT number (Partita IVA)"));
    EXPECT_FALSE(gg[0].contains("TIPOIN"));
}
