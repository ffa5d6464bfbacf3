#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "foundation/Dates.h"
#include "register/store/RegisterStore.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {
// The tool sits beside the test binaries (ctest also names the folder in VT_BUILD_DIR).
QString inspectTool()
{
    const QString dir = qEnvironmentVariable("VT_BUILD_DIR", QCoreApplication::applicationDirPath());
    return dir + QStringLiteral("/vt-inspect");
}

QList<QJsonObject> inspect(const QString& file)
{
    const QString exe = inspectTool();
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

TEST(InspectRegister, MovementsGuaranteesAndCarryOversShowTheirFieldNames)
{
    if (!QFileInfo::exists(inspectTool()))
        GTEST_SKIP() << "vt-inspect is not built beside the tests";
    TestContext t;
    TRecMovimento m = blankRegisterRecord();
    m.registro = QStringLiteral("C");
    m.operazione = QStringLiteral("I");
    m.tipoMovimento = QStringLiteral("S");
    m.data = dates::fromDate(QDate(2027, 3, 10));
    m.litri = 225;
    m.controparte = QStringLiteral("DE00012345678");
    InsertRegisterRecord(m, registerfiles::movements(t.ctx, 2027), t.messenger);

    const QList<QJsonObject> rgm = inspect(registerfiles::movements(t.ctx, 2027));
    ASSERT_EQ(rgm.size(), 1);
    EXPECT_EQ(rgm[0].value("_kind").toString(), QStringLiteral("register movements"));
    EXPECT_EQ(rgm[0].value("numero").toInt(), 1);
    EXPECT_EQ(rgm[0].value("progressivo").toInt(), 1);
    EXPECT_EQ(rgm[0].value("litri").toDouble(), 225.0);
    EXPECT_EQ(rgm[0].value("controparte").toString(), QStringLiteral("DE00012345678"));
    EXPECT_EQ(rgm[0].value("data_data").toString(), QStringLiteral("10/03/2027"));

    TRecGaranzia g = blankRegisterRecord();
    g.registro = QStringLiteral("F");
    g.data = m.data;
    g.impegnato() = 12.5;
    g.disponibile() = 1000;
    InsertRegisterRecord(g, registerfiles::guarantees(t.ctx, 2027), t.messenger);
    const QList<QJsonObject> gar = inspect(registerfiles::guarantees(t.ctx, 2027));
    ASSERT_EQ(gar.size(), 1);
    EXPECT_EQ(gar[0].value("impegnato").toDouble(), 12.5);
    EXPECT_EQ(gar[0].value("disponibile").toDouble(), 1000.0);
    EXPECT_FALSE(gar[0].contains("litri"));

    g.numero = 2026;
    InsertRegisterRecord(g, registerfiles::carryOvers(t.ctx), t.messenger);
    const QList<QJsonObject> rip = inspect(registerfiles::carryOvers(t.ctx));
    ASSERT_EQ(rip.size(), 1);
    EXPECT_EQ(rip[0].value("anno").toInt(), 2026);
    EXPECT_EQ(rip[0].value("_kind").toString(), QStringLiteral("guarantee carry-overs"));
}
