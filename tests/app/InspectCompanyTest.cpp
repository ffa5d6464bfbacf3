#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "foundation/AddressFile.h"
#include "foundation/Startup.h"
#include "support/Fakes.h"

using namespace vt;

namespace {
QString inspector()
{
    return qEnvironmentVariable("VT_BUILD_DIR") + QStringLiteral("/vt-inspect");
}

struct Outcome {
    int code;
    QList<QJsonObject> lines;
    QString err;
};
Outcome inspect(const QStringList& files)
{
    QProcess p;
    p.start(inspector(), files);
    p.waitForFinished(20000);
    Outcome r{p.exitCode(), {}, QString::fromLocal8Bit(p.readAllStandardError())};
    for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            r.lines << QJsonDocument::fromJson(line).object();
    return r;
}
} // namespace

TEST(Inspector, ReadsTheBlankCompanyFileOfAFirstStartWithTheMeaningOfEachSlot)
{
    if (!QFileInfo::exists(inspector()))
        GTEST_SKIP() << "vt-inspect is run from ctest (VT_BUILD_DIR)";
    test::TestContext t;
    runStartup(t.ctx, t.ctx.StartFolder, t.ctx.TempFolder);
    TRecIndirizzo g = blankCompany();
    g.DENOM1 = QStringLiteral("Banca Garante");
    g.CAUESO = QStringLiteral("C");
    InsertAddress(t.ctx.datiGen(QStringLiteral("INDIRIZZI_G.DAT")), g, t.messenger);

    const Outcome r = inspect({t.ctx.datiGen(QStringLiteral("UTENTE.001")), t.ctx.datiGen(QStringLiteral("INDIRIZZI_G.DAT"))});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    ASSERT_EQ(r.lines.size(), 2);
    const QJsonObject company = r.lines[0];
    EXPECT_EQ(company.value(QStringLiteral("number")).toInt(-1), 0);
    EXPECT_EQ(company.value(QStringLiteral("DENOM1")).toString(QStringLiteral("?")), QString());
    EXPECT_EQ(company.value(QStringLiteral("_role")).toString(), QStringLiteral("company head office"));
    const QJsonObject meaning = company.value(QStringLiteral("_meaning")).toObject();
    EXPECT_EQ(meaning.size(), 22);
    EXPECT_TRUE(meaning.value(QStringLiteral("TIPOIN")).toString().contains(QStringLiteral("authorisation type")));

    const QJsonObject guarantor = r.lines[1];
    EXPECT_EQ(guarantor.value(QStringLiteral("_role")).toString(), QStringLiteral("guarantor"));
    EXPECT_EQ(guarantor.value(QStringLiteral("number")).toInt(), 1);
    EXPECT_EQ(guarantor.value(QStringLiteral("CAUESO")).toString(), QStringLiteral("C"));
    EXPECT_EQ(guarantor.value(QStringLiteral("_meaning")).toObject().value(QStringLiteral("PARIVA")).toString(),
              QStringLiteral("blank"));
}

TEST(Inspector, ReportsADamagedFile)
{
    if (!QFileInfo::exists(inspector()))
        GTEST_SKIP() << "vt-inspect is run from ctest (VT_BUILD_DIR)";
    test::TestContext t;
    QFile f(t.ctx.datiGen(QStringLiteral("UTENTE.002")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(700, ' '));
    f.close();
    const Outcome r = inspect({f.fileName()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.lines.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("DANNEGGIATO")));
}
