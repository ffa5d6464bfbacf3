#include <gtest/gtest.h>

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "foundation/RecordFile.h"
#include "messages/ead/EadStore.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {
// Runs vt-inspect from the build folder (ctest names it); one JSON object per record.
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

TEST(InspectEad, SavedEadHeaderAndLinesShowTheirFieldNames)
{
    if (!QFileInfo::exists(qEnvironmentVariable("VT_BUILD_DIR") + QStringLiteral("/vt-inspect")))
        GTEST_SKIP() << "vt-inspect is run from ctest (VT_BUILD_DIR)";
    TestContext t;
    saveSampleEad(t.ctx, 2, 1);

    const QList<QJsonObject> headers = inspect(eadfiles::headers(t.ctx, "2026"));
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers[0].value("progressivo").toInt(), 1);
    EXPECT_EQ(headers[0].value("DENDES").toString(), QStringLiteral("WEINHAUS MÜLLER GMBH"));
    EXPECT_EQ(headers[0].value("DATSPE_data").toString(), QStringLiteral("09/12/2026"));
    EXPECT_EQ(headers[0].value("_kind").toString(), QStringLiteral("e-AD header"));

    const QList<QJsonObject> transport = inspect(eadfiles::transport(t.ctx, "2026"));
    ASSERT_EQ(transport.size(), 2);
    EXPECT_EQ(transport[1].value("SIGTRA").toString(), QStringLiteral("SIGILLO 2"));
    EXPECT_EQ(transport[1].value("UNITRA").toString(), QStringLiteral("1"));
    EXPECT_EQ(transport[1].value("numero").toInt(), 2);
    EXPECT_FALSE(transport[1].contains("COAZPR"));

    const QList<QJsonObject> products = inspect(eadfiles::products(t.ctx, "2026"));
    ASSERT_EQ(products.size(), 1);
    EXPECT_EQ(products[0].value("COAZPR").toString(), QStringLiteral("PRAZ01"));
    EXPECT_EQ(products[0].value("TOTLIT").toDouble(), 90.0);

    // A cancellation names its reason and note.
    TRecEad c = blankEad();
    c.progressivo = 1;
    c.MOTANN() = QStringLiteral("1");
    c.NOTMOT() = QStringLiteral("NOTA");
    const QString cancellations = t.ctx.registri(QStringLiteral("2026_810.DAT"));
    RecordFile(cancellations, TRecEad::Size).append(encodeEad(c));
    const QList<QJsonObject> cancelled = inspect(cancellations);
    ASSERT_EQ(cancelled.size(), 1);
    EXPECT_EQ(cancelled[0].value("MOTANN").toString(), QStringLiteral("1"));
    EXPECT_EQ(cancelled[0].value("NOTMOT").toString(), QStringLiteral("NOTA"));
}
