// Building the IE815 flow of a saved e-AD: header updated, product lines numbered, file written;
// the ARC stored after a positive real outcome.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "foundation/Dates.h"
#include "foundation/FileLock.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/ead/EadStore.h"
#include "messages/flows/FlowEntryCheck.h"
#include "messages/flows/FlowName.h"
#include "messages/ead/Ie815Send.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

struct Ie815Send : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    QString toSign, signedDir;

    void SetUp() override
    {
        toSign = t.path("fv/dafirmare");
        signedDir = t.path("fv/firmati");
        QDir().mkpath(toSign);
        QDir().mkpath(signedDir);
        ctx.AppConfig.Fld[0] = t.path("fv/FirmaVerifica");
        ctx.AppConfig.Fld[1] = QDir::toNativeSeparators(toSign) + "\\";
        ctx.AppConfig.Fld[2] = QDir::toNativeSeparators(signedDir) + "\\";
        ctx.CompanyRecord = blankCompany();
        trimCompany(ctx.CompanyRecord);
        ctx.CompanyRecord.CODUTE = "ABCD";
        ctx.CompanyRecord.CACCI1 = "IT00FIT00012S";
        ctx.CompanyRecord.SEZDOG = "066100";
        ctx.CompanyRecord.PARIVA = "01234567890";
    }

    Ie815FlowRequest request(std::int32_t progressive, int number = 1)
    {
        Ie815FlowRequest rq;
        rq.year = "2026";
        rq.progressive = progressive;
        rq.flowDate = QDate(2026, 12, 9);
        rq.flowNumber = number;
        rq.flowName = flow::flowName("ABCD", rq.flowDate, number);
        return rq;
    }

    QByteArray read(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return f.readAll();
    }
};

} // namespace

TEST_F(Ie815Send, ThreeProductsAreNumberedAndTheFlowLandsInTheFolderToSign)
{
    const TRecEad other = saveSampleEad(ctx, 1, 2);  // progressive 1
    const TRecEad ead = saveSampleEad(ctx, 2, 3);    // progressive 2
    ASSERT_EQ(ead.progressivo, 2);

    const Ie815FlowWritten w = writeIe815Flow(ctx, request(2, 3));
    EXPECT_EQ(QDir::cleanPath(w.flowPath), QDir::cleanPath(toSign + "/ABCD1209.C03"));
    EXPECT_EQ(w.productLines, 3);

    const QByteArray bytes = read(w.flowPath);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 5); // four lines and the empty rest after the last CR LF
    EXPECT_EQ(lines[0], "ABCD            ABCD1209.C03            066100    01234567890     001 00004\r");
    const QByteArray prefix = "IE815IT00FIT00012S     " + padField(ead.riferimentoLocale, 22).toLatin1() + "20261209";
    EXPECT_TRUE(lines[1].startsWith(prefix + "A\t0001\t0001\t00\t002\t"));
    EXPECT_TRUE(lines[2].startsWith(prefix + "C\t0002\t002\tW200\t22042138\t90.000\t150.00\t90.00\t\t13.50\t"));
    EXPECT_TRUE(lines[3].startsWith(prefix + "C\t0003\t003\t"));
    EXPECT_TRUE(lines[1].contains("\t002\tI\t001\t1 \tAB121 CD\tSIGILLO 1\t")) << "two transport lines";

    // Product lines of the e-AD numbered 1..3 at offset 8; the other e-AD's lines untouched.
    QList<int> numbers, untouched;
    for (const TRecDettaglio& l : readLineFile(eadfiles::products(ctx, "2026")))
        (l.progressivo == 2 ? numbers : untouched) << l.rigaProdotto;
    EXPECT_EQ(numbers, (QList<int>{1, 2, 3}));
    EXPECT_EQ(untouched, (QList<int>{0, 0}));

    // Flow date and number stored in the header; state and ARC unchanged.
    const auto h = findHeader(eadfiles::headers(ctx, "2026"), 2);
    ASSERT_TRUE(h);
    EXPECT_EQ(dates::toDate(h->dataFlusso), QDate(2026, 12, 9));
    EXPECT_EQ(h->numeroFlusso, 3);
    EXPECT_EQ(h->stato, " ");
    EXPECT_EQ(findHeader(eadfiles::headers(ctx, "2026"), 1)->numeroFlusso, 0);
    EXPECT_FALSE(QFile::exists(eadfiles::products(ctx, "2026") + "$")) << "lock released";
    Q_UNUSED(other);
}

TEST_F(Ie815Send, AnEarlierSignedFileOfTheSameNameIsDeletedAndAnOldFlowReplaced)
{
    saveSampleEad(ctx, 1, 1);
    QFile old(toSign + "/ABCD1209.C01");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));
    old.close();
    QFile signedFile(signedDir + "/ABCD1209.C01.p7m");
    ASSERT_TRUE(signedFile.open(QIODevice::WriteOnly));
    signedFile.close();

    Ie815FlowRequest rq = request(1);
    rq.replaceSigned = true;
    writeIe815Flow(ctx, rq);
    EXPECT_FALSE(QFile::exists(signedDir + "/ABCD1209.C01.p7m"));
    const QByteArray bytes = read(toSign + "/ABCD1209.C01");
    EXPECT_TRUE(bytes.startsWith("ABCD            ABCD1209.C01"));
    EXPECT_FALSE(bytes.contains("xxx"));
}

TEST_F(Ie815Send, WithoutTheTreatmentTableTheProductFieldsEndAfterField34)
{
    saveSampleEad(ctx, 0, 1);
    // T020 with code "1" (the sample product's treatments are "1").
    TRecTabella row = blankRow();
    row.Num = 1;
    row.Fld[0] = "1";
    PadRow(row);
    RecordFile(ctx.datiGen("T020.TAB"), TRecTabella::Size).replaceAll({encodeRow(row)});
    writeIe815Flow(ctx, request(1));
    EXPECT_TRUE(read(toSign + "/ABCD1209.C01").endsWith("\t1\tC01\t\t\t\t001\tO\t001\t1\t\r\n"));

    QFile::remove(ctx.datiGen("T020.TAB"));
    writeIe815Flow(ctx, request(1));
    EXPECT_TRUE(read(toSign + "/ABCD1209.C01").endsWith("\t1\tC01\t\t\t\t\r\n"));
}

TEST_F(Ie815Send, AMissingHeaderWritesNoFlow)
{
    saveSampleEad(ctx, 1, 1);
    try {
        writeIe815Flow(ctx, request(7));
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.text().contains("NON E' PRESENTE")) << e.text().toStdString();
    }
    EXPECT_FALSE(QFile::exists(toSign + "/ABCD1209.C01"));
}

TEST_F(Ie815Send, APositiveOutcomeStoresThePaddedArcAndStateI)
{
    saveSampleEad(ctx, 1, 1);
    saveSampleEad(ctx, 1, 1);
    EXPECT_TRUE(storeIe815Arc(ctx, "2026", 2, "26ITABC"));
    const auto h = findHeader(eadfiles::headers(ctx, "2026"), 2);
    EXPECT_EQ(h->ARC, "26ITABC              ");
    EXPECT_EQ(h->ARC.size(), 21);
    EXPECT_EQ(h->stato, "I");
    EXPECT_EQ(findHeader(eadfiles::headers(ctx, "2026"), 1)->stato, " ");
    EXPECT_TRUE(storeIe815Arc(ctx, "2026", 1, "26IT0000000000000001X9"));
    EXPECT_EQ(findHeader(eadfiles::headers(ctx, "2026"), 1)->ARC, "26IT0000000000000001X");
    EXPECT_FALSE(storeIe815Arc(ctx, "2026", 9, "26ITABC"));
}

TEST_F(Ie815Send, TheSecondFlowOfADayAfterTheFirstWasSignedIsProposedAsTwo)
{
    saveSampleEad(ctx, 1, 1);
    saveSampleEad(ctx, 1, 1);
    const QDate day(2026, 12, 9);
    ASSERT_EQ(flow::proposedNumber(ctx.AppConfig.Fld[2], "ABCD", day), 1);
    const Ie815FlowWritten first = writeIe815Flow(ctx, request(1, 1));
    EXPECT_EQ(flow::proposedNumber(ctx.AppConfig.Fld[2], "ABCD", day), 1) << "a flow counts once signed";
    // The window also counts the flow waiting to be signed: the next flow is not written over it.
    EXPECT_EQ(proposedFlowNumber(ctx, day), 2);
    QFile::copy(first.flowPath, signedDir + "/ABCD1209.C01.p7m");
    EXPECT_EQ(flow::proposedNumber(ctx.AppConfig.Fld[2], "ABCD", day), 2);
    QFile::remove(first.flowPath);
    EXPECT_EQ(proposedFlowNumber(ctx, day), 2);
}

// Every byte of the flow is built before anything changes: when building or writing fails, the
// header is not marked with a flow date and number, the lines keep their numbers, no flow file
// (whole or partial) is left and the signed file that was to be replaced is still there.
TEST_F(Ie815Send, AFailureLeavesEverythingAsItWas)
{
    struct Case {
        const char* what;
        std::function<void(Ie815Send&)> spoil;
        QString message; // part of the error
    };
    const std::vector<Case> cases = {
        {"no product line",
         [](Ie815Send& f) { RecordFile(eadfiles::products(f.ctx, "2026"), TRecDettaglio::Size).replaceAll({}); },
         "NON HA RIGHE DI PRODOTTO"},
        {"a character Windows-1252 cannot hold", [](Ie815Send& f) { f.ctx.CompanyRecord.CACCI1 = "IT00FIT0001\u0141"; },
         "CARATTERI NON AMMESSI"},
        {"the folder of files to sign is missing",
         [](Ie815Send& f) { f.ctx.AppConfig.Fld[1] = f.toSign + "/manca/"; }, "ABCD1209.C01"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A fresh data folder and fresh signing folders for each case, the company as set up.
        const QString start = t.path(QString("caso%1").arg(++n));
        ctx.setFolders(start, start + "/temp");
        toSign = start + "/fv/dafirmare";
        signedDir = start + "/fv/firmati";
        QDir().mkpath(toSign);
        QDir().mkpath(signedDir);
        ctx.AppConfig.Fld[1] = toSign + "/";
        ctx.AppConfig.Fld[2] = signedDir + "/";
        ctx.CompanyRecord.CACCI1 = "IT00FIT00012S";
        saveSampleEad(ctx, 1, 2);
        QFile signedFile(signedDir + "/ABCD1209.C01.p7m");
        ASSERT_TRUE(signedFile.open(QIODevice::WriteOnly));
        signedFile.write("FIRMA VECCHIA");
        signedFile.close();
        c.spoil(*this);
        const QByteArray headersBefore = read(eadfiles::headers(ctx, "2026"));
        const QByteArray productsBefore = read(eadfiles::products(ctx, "2026"));

        Ie815FlowRequest rq = request(1);
        rq.replaceSigned = true;
        try {
            writeIe815Flow(ctx, rq);
            ADD_FAILURE() << "no error";
        } catch (const IoError& e) {
            EXPECT_TRUE(e.text().contains(c.message)) << e.text().toStdString();
        }
        EXPECT_EQ(read(eadfiles::headers(ctx, "2026")), headersBefore);
        const auto h = findHeader(eadfiles::headers(ctx, "2026"), 1);
        ASSERT_TRUE(h);
        EXPECT_EQ(h->dataFlusso, 0);
        EXPECT_EQ(h->numeroFlusso, 0);
        EXPECT_EQ(read(eadfiles::products(ctx, "2026")), productsBefore);
        EXPECT_TRUE(QDir(toSign).entryList(QDir::Files | QDir::Hidden).isEmpty());
        EXPECT_EQ(read(signedDir + "/ABCD1209.C01.p7m"), "FIRMA VECCHIA");
        EXPECT_FALSE(QFile::exists(eadfiles::products(ctx, "2026") + "$")) << "lock released";
        EXPECT_FALSE(QFile::exists(eadfiles::headers(ctx, "2026") + "$")) << "lock released";
    }
}

// A treatment table that is there but damaged (not a whole number of records) counts as a missing
// one: the product fields end after field 34, and the user is warned.
TEST_F(Ie815Send, ADamagedTreatmentTableLeavesTheTreatmentsOutWithAWarning)
{
    saveSampleEad(ctx, 0, 1);
    QFile t020(ctx.datiGen("T020.TAB"));
    ASSERT_TRUE(t020.open(QIODevice::WriteOnly));
    t020.write(QByteArray(TRecTabella::Size + 100, ' '));
    t020.close();
    const Ie815FlowWritten w = writeIe815Flow(ctx, request(1));
    EXPECT_TRUE(read(toSign + "/ABCD1209.C01").endsWith("\t1\tC01\t\t\t\t\r\n"));
    ASSERT_EQ(w.warnings.size(), 1);
    EXPECT_TRUE(w.warnings[0].startsWith("LA TABELLA DEI TRATTAMENTI")) << w.warnings[0].toStdString();
    EXPECT_TRUE(w.warnings[0].contains("T020.TAB"));
    EXPECT_EQ(findHeader(eadfiles::headers(ctx, "2026"), 1)->numeroFlusso, 1);

    // A missing table leaves them out without a word.
    QFile::remove(ctx.datiGen("T020.TAB"));
    EXPECT_TRUE(writeIe815Flow(ctx, request(1)).warnings.isEmpty());
}
