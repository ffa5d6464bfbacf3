// Building the IE818 flow of stored reports of receipt: the reports read again under the lock, the
// flow date and number stored in one rewrite, the file written; after a positive real outcome only
// the reports the outcome accepted become sent.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "messages/flows/FlowName.h"
#include "messages/receipt/Ie818Send.h"
#include "messages/receipt/ReceivedImport.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

struct Ie818Send : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    QString toSign, signedDir;

    void SetUp() override
    {
        toSign = t.path("fv/dafirmare");
        signedDir = t.path("fv/firmati");
        QDir().mkpath(toSign);
        QDir().mkpath(signedDir);
        ctx.AppConfig.Fld[1] = QDir::toNativeSeparators(toSign) + "\\";
        ctx.AppConfig.Fld[2] = QDir::toNativeSeparators(signedDir) + "\\";
        ctx.CompanyRecord = blankCompany();
        trimCompany(ctx.CompanyRecord);
        ctx.CompanyRecord.CODUTE = "ABCD";
        ctx.CompanyRecord.CACCI1 = "IT00ABC00123X";
        ctx.CompanyRecord.TIPOIN = "2";
        ctx.WorkYear = "2026";
        // Three reports: 1 and 3 unsent, 2 already sent.
        for (int n = 1; n <= 3; ++n) {
            TRecEad r = blankEad();
            r.progressivo = n;
            r.ARC = QStringLiteral("26FRA0000000000000%1A1").arg(n);
            r.stato = n == 2 ? "I" : " ";
            r.LINPRG = "1";
            r.IMGPRO = dates::fromDate(QDate(2026, 12, 5));
            r.denominazioneSpeditore = "Chateau Lafleur SARL";
            RecordFile(receiptfiles::reports(ctx, "2026"), TRecEad::Size).append(encodeEad(r));
        }
    }

    Ie818FlowRequest request(QList<std::int32_t> reports)
    {
        Ie818FlowRequest rq;
        rq.year = "2026";
        rq.reports = reports;
        rq.flowDate = QDate(2026, 12, 9);
        rq.flowNumber = 3;
        rq.flowName = flow::flowName("ABCD", rq.flowDate, 3);
        return rq;
    }

    QList<TRecEad> stored()
    {
        QList<TRecEad> out;
        for (const QByteArray& b : RecordFile(receiptfiles::reports(ctx, "2026"), TRecEad::Size).readAll())
            out << decodeEad(b);
        return out;
    }
};

TEST_F(Ie818Send, UnsentReportsAreListedWithTheirItem)
{
    const QList<TRecEad> unsent = unsentReports(ctx, "2026");
    ASSERT_EQ(unsent.size(), 2);
    EXPECT_EQ(unsent[0].progressivo, 1);
    EXPECT_EQ(unsent[1].progressivo, 3);
    EXPECT_EQ(unsentReportItem(unsent[0]),
              "26FRA00000000000001A1 data arrivo: 05/12/2026 esito: 1 da: Chateau Lafleur SARL");
}

TEST_F(Ie818Send, FlowWrittenAndFlowDataStored)
{
    const Ie818FlowWritten w = writeIe818Flow(ctx, request({3, 1}));
    EXPECT_EQ(QFileInfo(w.flowPath).fileName(), "ABCD1209.C03");
    QFile f(w.flowPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith("IE818IT00ABC00123X     26FRA00000000000003A120261209J\t0001\t0001\t"));
    EXPECT_TRUE(lines[2].startsWith("IE818IT00ABC00123X     26FRA00000000000001A120261209J\t0002\t0002\t"));
    ASSERT_EQ(w.placements.size(), 2);
    EXPECT_EQ(w.placements[0].report, 3);
    EXPECT_EQ(w.placements[1].firstLine, 2);
    const QList<TRecEad> s = stored();
    EXPECT_EQ(dates::toDate(s[0].dataFlusso), QDate(2026, 12, 9));
    EXPECT_EQ(s[0].numeroFlusso, 3);
    EXPECT_EQ(s[0].stato, " ");
    EXPECT_EQ(s[1].numeroFlusso, 0); // the sent one is untouched
    EXPECT_EQ(s[2].numeroFlusso, 3);
    EXPECT_FALSE(QFile::exists(receiptfiles::reports(ctx, "2026") + "$"));
}

TEST_F(Ie818Send, ReportGoneOrSentMeanwhileStopsTheFlow)
{
    EXPECT_THROW(writeIe818Flow(ctx, request({1, 2})), IoError); // 2 was sent
    EXPECT_THROW(writeIe818Flow(ctx, request({9})), IoError);    // 9 is not there
    EXPECT_THROW(writeIe818Flow(ctx, request({})), IoError);
    EXPECT_FALSE(QFile::exists(QDir(toSign).filePath("ABCD1209.C03")));
    for (const TRecEad& r : stored())
        EXPECT_EQ(r.numeroFlusso, 0);
}

TEST_F(Ie818Send, AFailedFlowFileLeavesTheReportsAsTheyWere)
{
    QDir(toSign).removeRecursively(); // the folder of files to sign is gone
    EXPECT_THROW(writeIe818Flow(ctx, request({1})), IoError);
    EXPECT_EQ(stored()[0].numeroFlusso, 0);
}

TEST_F(Ie818Send, ReportsThatCannotBeRewrittenLeaveNoFlowToSign)
{
    const QString jPath = receiptfiles::reports(ctx, "2026");
    FileGroup::beforeMove() = [&](const QString& path) {
        if (QDir::cleanPath(path) == QDir::cleanPath(jPath))
            throw IoError("DISCO PIENO");
    };
    EXPECT_THROW(writeIe818Flow(ctx, request({1, 3})), IoError);
    FileGroup::beforeMove() = nullptr;
    EXPECT_FALSE(QFile::exists(QDir(toSign).filePath("ABCD1209.C03")));
    for (const TRecEad& r : stored())
        EXPECT_EQ(r.numeroFlusso, 0);
}

TEST_F(Ie818Send, OnlyTheReportsTheOutcomeAcceptedBecomeSent)
{
    const QList<Ie818Placement> placed = {{1, 1, 1}, {3, 2, 3}};
    // Line 1 positive; line 2 (J of report 3) positive but its K line 4 negative.
    QByteArray outcome;
    auto lineOf = [](int n, char verdict) {
        QByteArray l = QByteArray("IE818").leftJustified(45, ' ');
        l += "J" + QByteArray::number(n).rightJustified(4, '0') + verdict;
        return l.leftJustified(111, ' ') + "NOTE\r\n";
    };
    outcome += lineOf(1, 'P') + lineOf(2, 'P') + lineOf(4, 'N') + "ZZ not a record line\r\n";
    EXPECT_EQ(acceptedReports(outcome, placed), QList<std::int32_t>{1});
    EXPECT_EQ(acceptedReports(lineOf(1, 'P') + lineOf(2, 'P'), placed), (QList<std::int32_t>{1, 3}));
    EXPECT_TRUE(acceptedReports("", placed).isEmpty());
    // One positive line for the whole flow and nothing negative: every report is accepted.
    EXPECT_EQ(acceptedReports(lineOf(1, 'P'), placed), (QList<std::int32_t>{1, 3}));
    EXPECT_TRUE(acceptedReports(lineOf(1, 'N'), placed).isEmpty());

    writeIe818Flow(ctx, request({1, 3}));
    // Report 3 was put into another flow meanwhile: it is not marked by this one.
    const QString jPath = receiptfiles::reports(ctx, "2026");
    RecordFile file(jPath, TRecEad::Size);
    TRecEad other = decodeEad(*file.findByNumber(3));
    other.numeroFlusso = 4;
    file.updateAt(2, encodeEad(other));
    const QList<std::int32_t> marked = markIe818Sent(ctx, "2026", {1, 3}, QDate(2026, 12, 9), 3);
    EXPECT_EQ(marked, QList<std::int32_t>{1});
    const QList<TRecEad> s = stored();
    EXPECT_EQ(s[0].stato, "I");
    EXPECT_EQ(s[2].stato, " ");
}

} // namespace
