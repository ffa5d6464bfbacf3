// Lifecycle actions on a stored report of receipt: "N" deletes an unsent report with its lines and
// only its own pending loads; "n" resets its send data.
#include <gtest/gtest.h>

#include <QFile>

#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "foundation/RegisterRecord.h"
#include "messages/receipt/ReceiptLifecycle.h"
#include "messages/receipt/ReceiptReport.h"
#include "messages/receipt/ReceivedImport.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

struct ReceiptLifecycle : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;

    void report(const QString& year, std::int32_t n, const QString& arc, const QDate& arrival, const QString& state)
    {
        TRecEad r = blankEad();
        r.progressivo = n;
        r.ARC = arc;
        r.stato = state;
        r.dataFlusso = dates::fromDate(QDate(2026, 12, 9));
        r.numeroFlusso = 2;
        r.IMGPRO = dates::fromDate(arrival);
        RecordFile(receiptfiles::reports(ctx, year), TRecEad::Size).append(encodeEad(r));
        for (int l = 1; l <= 2; ++l) {
            TRecDettaglio k = blankLine();
            k.numero = n;
            k.progressivo = n;
            k.rigaProdotto = l;
            RecordFile(receiptfiles::reportLines(ctx, year), TRecDettaglio::Size).append(encodeLine(k));
            TRecMovimento m = blankRegisterRecord();
            m.numero = n;
            m.numeroDocumento = arc;
            m.progressivoDettaglio = l;
            m.data = dates::fromDate(arrival);
            RecordFile(receiptfiles::registerWork(ctx, QString::number(arrival.year())), 520)
                .append(encodeRegisterRecord(m));
        }
    }

    QList<std::int32_t> numbers(const QString& path, int size)
    {
        QList<std::int32_t> out;
        for (const QByteArray& r : RecordFile(path, size).readAll())
            out << RecordFile::numberOf(r);
        return out;
    }
};

TEST_F(ReceiptLifecycle, DeletingAnUnsentReportTakesOnlyItsOwnLinesAndLoads)
{
    // Report 1 of 2026 arrived in January 2027; report 1 of 2027 shares its number and its
    // register work file; report 2 of 2026 arrived in 2027 too.
    report("2026", 1, "26FRA00000000000001A1", QDate(2027, 1, 4), " ");
    report("2026", 2, "26FRA00000000000002A1", QDate(2027, 1, 5), " ");
    report("2027", 1, "27FRA00000000000001A1", QDate(2027, 1, 6), " ");
    ASSERT_EQ(numbers(receiptfiles::registerWork(ctx, "2027"), 520).size(), 6);

    EXPECT_EQ(deleteUnsentReceipt(ctx, "2026", 1), ReceiptAction::Done);
    EXPECT_EQ(numbers(receiptfiles::reports(ctx, "2026"), TRecEad::Size), QList<std::int32_t>{2});
    EXPECT_EQ(numbers(receiptfiles::reportLines(ctx, "2026"), TRecDettaglio::Size), (QList<std::int32_t>{2, 2}));
    const QList<QByteArray> work = RecordFile(receiptfiles::registerWork(ctx, "2027"), 520).readAll();
    ASSERT_EQ(work.size(), 4);
    for (const QByteArray& w : work)
        EXPECT_NE(decodeRegisterRecord(w).numeroDocumento, "26FRA00000000000001A1");
    EXPECT_EQ(numbers(receiptfiles::reports(ctx, "2027"), TRecEad::Size), QList<std::int32_t>{1});
    EXPECT_FALSE(QFile::exists(receiptfiles::reports(ctx, "2026") + "$"));

    EXPECT_EQ(deleteUnsentReceipt(ctx, "2026", 1), ReceiptAction::NotFound);
}

TEST_F(ReceiptLifecycle, ASentReportIsNotDeleted)
{
    report("2026", 1, "26FRA00000000000001A1", QDate(2026, 12, 5), "I");
    EXPECT_EQ(deleteUnsentReceipt(ctx, "2026", 1), ReceiptAction::AlreadySent);
    EXPECT_EQ(numbers(receiptfiles::reports(ctx, "2026"), TRecEad::Size).size(), 1);
    EXPECT_EQ(numbers(receiptfiles::registerWork(ctx, "2026"), 520).size(), 2);
    EXPECT_FALSE(receiptActionMessage(ReceiptAction::AlreadySent, 1).isEmpty());
}

TEST_F(ReceiptLifecycle, ResetClearsFlowDateNumberAndState)
{
    report("2026", 1, "26FRA00000000000001A1", QDate(2026, 12, 5), "I");
    EXPECT_EQ(resetReceiptSendData(ctx, "2026", 1), ReceiptAction::Done);
    const QByteArray r = RecordFile(receiptfiles::reports(ctx, "2026"), TRecEad::Size).readAll().first();
    EXPECT_EQ(codec::getF64(r, 64), 0.0);
    EXPECT_EQ(codec::getI32(r, 72), 0);
    EXPECT_EQ(codec::getText(r, 76, 1), " ");
    EXPECT_EQ(codec::getText(r, 78, 21), "26FRA00000000000001A1");
    EXPECT_EQ(resetReceiptSendData(ctx, "2026", 5), ReceiptAction::NotFound);
}

TEST_F(ReceiptLifecycle, ChosenReportIsLoadedWithItsLinesAndSummary)
{
    report("2026", 1, "26FRA00000000000001A1", QDate(2026, 12, 5), " ");
    report("2026", 2, "26FRA00000000000002A1", QDate(2026, 12, 6), " ");
    ctx.SelectedYear = "2026";
    ctx.PickedEad = 2;
    ASSERT_TRUE(loadChosenReceipt(ctx));
    EXPECT_EQ(ctx.WorkYear, "2026");
    EXPECT_EQ(ctx.MessageRecord.ARC, "26FRA00000000000002A1");
    EXPECT_EQ(numbers(reportDetailsPath(ctx), TRecDettaglio::Size), (QList<std::int32_t>{2, 2}));
    EXPECT_TRUE(QFile::exists(ctx.temp("RIEPILOGO.RTF")));
    ctx.PickedEad = 7;
    EXPECT_FALSE(loadChosenReceipt(ctx));
}

} // namespace
