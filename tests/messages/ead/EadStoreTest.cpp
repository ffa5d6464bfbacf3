#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/FileLock.h"
#include "foundation/RecordFile.h"
#include "messages/ead/EadStore.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

class EadStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ctx().CompanyRecord.CACCI1 = QStringLiteral("IT00FIT00012S");
        startNewEad(ctx());
    }
    void TearDown() override { FileGroup::beforeReplace() = nullptr; }

    AppContext& ctx() { return t.ctx; }
    QString A(const QString& y) { return eadfiles::headers(ctx(), y); }
    QString I(const QString& y) { return eadfiles::transport(ctx(), y); }
    QString C(const QString& y) { return eadfiles::products(ctx(), y); }

    static QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static std::int32_t i32(const QByteArray& b, int off) { return codec::getI32(b, off); }

    // (field 0, field 4) of every line of a file, in file order.
    static std::vector<std::pair<int, int>> serials(const QString& path)
    {
        std::vector<std::pair<int, int>> out;
        for (const auto& l : readLines(path))
            out.emplace_back(l.numero, l.progressivo);
        return out;
    }

    TestContext t;
};

using Pairs = std::vector<std::pair<int, int>>;

TEST_F(EadStoreTest, FirstEadOfAYearGetsProgressiveOneAndSerialsFromOne)
{
    ASSERT_FALSE(QFileInfo::exists(A("2026")));
    ctx().WorkYear = QStringLiteral("1999");
    TRecEad saved = saveSampleEad(ctx(), 2, 3);

    EXPECT_EQ(saved.progressivo, 1);
    EXPECT_EQ(ctx().WorkYear, QStringLiteral("2026"));
    const QByteArray file = bytesOf(A("2026"));
    ASSERT_EQ(file.size(), 2688);
    EXPECT_EQ(i32(file, 0), 1);
    EXPECT_EQ(i32(file, 56), 1);
    EXPECT_EQ(file.mid(76, 2), QByteArray("\x01 ", 2)); // state " ": compiled, not sent
    EXPECT_EQ(serials(I("2026")), (Pairs{{1, 1}, {2, 1}}));
    EXPECT_EQ(serials(C("2026")), (Pairs{{1, 1}, {2, 1}, {3, 1}}));
    // No marker file is left behind.
    EXPECT_FALSE(QFileInfo::exists(A("2026") + "$"));
    EXPECT_FALSE(QFileInfo::exists(I("2026") + "$"));
    EXPECT_FALSE(QFileInfo::exists(C("2026") + "$"));
}

TEST_F(EadStoreTest, LocalReferenceNumberIsTheDayCountTheExciseCodeAndFcCutTo22)
{
    // FakeClock: 09/12/2026 10:30:00 = day 46365 + 0.4375; excise code characters 5..13 "FIT00012S".
    TRecEad saved = saveSampleEad(ctx(), 1, 1);
    EXPECT_EQ(saved.riferimentoLocale, QStringLiteral("46365.43750-FIT00012SF"));
    EXPECT_EQ(bytesOf(A("2026")).mid(7, 23), QByteArray("\x16" "46365.43750-FIT00012SF"));

    EXPECT_EQ(localReferenceNumber("N", "IGNORED", "IT00FIT00012S", QDateTime(QDate(2025, 1, 20), QTime(12, 17, 46))),
              QStringLiteral("45677.51234-FIT00012SF"));
}

TEST_F(EadStoreTest, FallbackNumberBecomesTheLocalReferenceNumber)
{
    writeWorkFiles(ctx(), 1, 1);
    TRecEad h = sampleEadHeader();
    h.INVDIF = QStringLiteral("S");
    TRecEad saved = saveEad(ctx(), h, QStringLiteral("DAA/RISERVA/2026/00017"));
    EXPECT_EQ(saved.riferimentoLocale, QStringLiteral("DAA/RISERVA/2026/00017"));
    EXPECT_EQ(readHeaders(A("2026")).at(0).riferimentoLocale, QStringLiteral("DAA/RISERVA/2026/00017"));

    EXPECT_EQ(localReferenceNumber("S", "AB12", "IT00FIT00012S", QDateTime()), QStringLiteral("AB12"));
    EXPECT_EQ(localReferenceNumber("S", "1234567890123456789012345", "", QDateTime()),
              QStringLiteral("1234567890123456789012"));
}

TEST_F(EadStoreTest, LinesAreSavedInWorkFileOrderAfterTheSerialsOfEarlierEads)
{
    saveSampleEad(ctx(), 2, 1);

    QList<TRecDettaglio> transport{sampleTransportLine(1), sampleTransportLine(2), sampleTransportLine(3)};
    QList<TRecDettaglio> products{sampleProductLine(1), sampleProductLine(2)};
    products[0].COAZPR = QStringLiteral("FIRST");
    products[1].COAZPR = QStringLiteral("SECOND");
    writeWorkFiles(ctx(), transport, products);
    TRecEad saved = saveEad(ctx(), sampleEadHeader(), QString());
    ASSERT_EQ(saved.progressivo, 2);

    EXPECT_EQ(serials(I("2026")), (Pairs{{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 2}}));
    EXPECT_EQ(serials(C("2026")), (Pairs{{1, 1}, {2, 2}, {3, 2}}));
    QList<TRecDettaglio> lines = readLines(I("2026"));
    EXPECT_EQ(lines[2].SIGTRA().trimmed(), QStringLiteral("SIGILLO 1"));
    EXPECT_EQ(lines[4].SIGTRA().trimmed(), QStringLiteral("SIGILLO 3"));
    QList<TRecDettaglio> prods = readLines(C("2026"));
    EXPECT_EQ(prods[1].COAZPR.trimmed(), QStringLiteral("FIRST"));
    EXPECT_EQ(prods[2].COAZPR.trimmed(), QStringLiteral("SECOND"));
    EXPECT_EQ(prods[2].TOTLIT, 90.0);
}

TEST_F(EadStoreTest, DeletingTheHighestThenSavingReusesItsProgressive)
{
    saveSampleEad(ctx(), 1, 1);
    saveSampleEad(ctx(), 1, 2);
    saveSampleEad(ctx(), 2, 1);
    ASSERT_TRUE(deleteEad(ctx(), "2026", 3));
    EXPECT_EQ(serials(I("2026")), (Pairs{{1, 1}, {2, 2}}));
    EXPECT_EQ(serials(C("2026")), (Pairs{{1, 1}, {2, 2}, {3, 2}}));

    TRecEad again = saveSampleEad(ctx(), 1, 1);
    EXPECT_EQ(again.progressivo, 3);
    EXPECT_EQ(serials(I("2026")), (Pairs{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(serials(C("2026")), (Pairs{{1, 1}, {2, 2}, {3, 2}, {4, 3}}));
    EXPECT_FALSE(deleteEad(ctx(), "2026", 9));
}

TEST_F(EadStoreTest, ModifyGivesANewProgressiveAndRemovesTheOldEad)
{
    saveSampleEad(ctx(), 1, 1);
    TRecEad old = saveSampleEad(ctx(), 2, 2);
    saveSampleEad(ctx(), 1, 1);

    TRecEad inHand;
    ASSERT_TRUE(loadEad(ctx(), "2026", old.progressivo, inHand));
    writeWorkFiles(ctx(), 1, 3);
    TRecEad changed = inHand;
    eadToWorkingForm(changed);
    changed.NUMFAT = QStringLiteral("FT/999");
    TRecEad saved = saveEad(ctx(), changed, QString(), &inHand);

    EXPECT_EQ(saved.progressivo, 4);
    QList<TRecEad> headers = readHeaders(A("2026"));
    ASSERT_EQ(headers.size(), 3);
    EXPECT_EQ(headers[0].progressivo, 1);
    EXPECT_EQ(headers[1].progressivo, 3);
    EXPECT_EQ(headers[2].progressivo, 4);
    EXPECT_EQ(headers[2].NUMFAT.trimmed(), QStringLiteral("FT/999"));
    EXPECT_EQ(serials(I("2026")), (Pairs{{1, 1}, {4, 3}, {5, 4}}));
    EXPECT_EQ(serials(C("2026")), (Pairs{{1, 1}, {4, 3}, {5, 4}, {6, 4}, {7, 4}}));
}

TEST_F(EadStoreTest, ModifyMovingToAnotherYearMovesHeaderAndLines)
{
    TRecEad old = saveSampleEad(ctx(), 2, 1, QDate(2026, 12, 30));
    saveSampleEad(ctx(), 1, 1, QDate(2026, 12, 31));
    saveSampleEad(ctx(), 1, 1, QDate(2027, 1, 2));

    TRecEad inHand;
    ASSERT_TRUE(loadEad(ctx(), "2026", old.progressivo, inHand));
    TRecEad changed = inHand;
    changed.DATSPE = dates::fromDate(QDate(2027, 1, 3));
    TRecEad saved = saveEad(ctx(), changed, QString(), &inHand);

    EXPECT_EQ(ctx().WorkYear, QStringLiteral("2027"));
    EXPECT_EQ(saved.progressivo, 2);
    ASSERT_EQ(readHeaders(A("2026")).size(), 1);
    EXPECT_EQ(readHeaders(A("2026"))[0].progressivo, 2);
    EXPECT_EQ(serials(I("2026")), (Pairs{{3, 2}}));
    EXPECT_EQ(serials(C("2026")), (Pairs{{2, 2}}));
    ASSERT_EQ(readHeaders(A("2027")).size(), 2);
    EXPECT_EQ(serials(I("2027")), (Pairs{{1, 1}, {2, 2}, {3, 2}}));
    EXPECT_EQ(serials(C("2027")), (Pairs{{1, 1}, {2, 2}}));
    // The moved lines are the old e-AD's lines, in their order.
    QList<TRecDettaglio> moved = readLines(I("2027"));
    EXPECT_EQ(moved[1].SIGTRA().trimmed(), QStringLiteral("SIGILLO 1"));
    EXPECT_EQ(moved[2].SIGTRA().trimmed(), QStringLiteral("SIGILLO 2"));
}

TEST_F(EadStoreTest, LoadCopiesTheLinesWithTheirSerialsAndMissingHeaderTouchesNothing)
{
    saveSampleEad(ctx(), 1, 2);
    saveSampleEad(ctx(), 2, 1);
    TRecEad h;
    ASSERT_TRUE(loadEad(ctx(), "2026", 2, h));
    EXPECT_EQ(h.progressivo, 2);
    EXPECT_EQ(h.DENDES.size(), 100); // as stored
    EXPECT_EQ(serials(eadfiles::transportWork(ctx())), (Pairs{{2, 2}, {3, 2}}));
    EXPECT_EQ(serials(eadfiles::productWork(ctx())), (Pairs{{3, 2}}));

    const QByteArray before = bytesOf(eadfiles::transportWork(ctx()));
    TRecEad none;
    EXPECT_FALSE(loadEad(ctx(), "2026", 7, none));
    EXPECT_FALSE(loadEad(ctx(), "2031", 1, none));
    EXPECT_EQ(bytesOf(eadfiles::transportWork(ctx())), before);
}

// A damaged line file (its length not a whole number of records, either one of the two) stops the
// load before either work file is written: the e-AD in hand stays whole, not half replaced.
TEST_F(EadStoreTest, LoadWithADamagedLineFileLeavesBothWorkFilesAsTheyWere)
{
    saveSampleEad(ctx(), 1, 2);
    saveSampleEad(ctx(), 2, 1);
    for (const QString& damagedFile : {I("2026"), C("2026")}) {
        SCOPED_TRACE(damagedFile.toStdString());
        TRecEad h;
        ASSERT_TRUE(loadEad(ctx(), "2026", 1, h));
        const QByteArray transport = bytesOf(eadfiles::transportWork(ctx()));
        const QByteArray products = bytesOf(eadfiles::productWork(ctx()));
        const QByteArray intact = bytesOf(damagedFile);
        {
            QFile f(damagedFile);
            ASSERT_TRUE(f.open(QIODevice::Append));
            f.write("torn");
        }
        TRecEad other;
        EXPECT_THROW(loadEad(ctx(), "2026", 2, other), IoError);
        EXPECT_EQ(bytesOf(eadfiles::transportWork(ctx())), transport);
        EXPECT_EQ(bytesOf(eadfiles::productWork(ctx())), products);
        QFile f(damagedFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(intact);
    }
}

// A failure part-way through a save (here: the header file cannot be written after both line
// files were) leaves every yearly file exactly as it was.
TEST_F(EadStoreTest, FailureWhileSavingLeavesNoHalfSavedEad)
{
    saveSampleEad(ctx(), 1, 1);
    const QByteArray a = bytesOf(A("2026")), i = bytesOf(I("2026")), c = bytesOf(C("2026"));
    QStringList attempted;
    FileGroup::beforeReplace() = [&](const QString& path) {
        attempted << QFileInfo(path).fileName();
        if (path.endsWith("_815_A.DAT"))
            throw IoError(QStringLiteral("DISCO PIENO"));
    };
    writeWorkFiles(ctx(), 2, 2);
    ctx().WorkYear.clear();
    try {
        saveEad(ctx(), sampleEadHeader(), QString());
        FAIL() << "the save should have failed";
    } catch (const IoError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("DISCO PIENO"));
    }
    EXPECT_EQ(attempted, (QStringList{"2026_815_I.DAT", "2026_815_C.DAT", "2026_815_A.DAT"}));
    EXPECT_EQ(bytesOf(A("2026")), a);
    EXPECT_EQ(bytesOf(I("2026")), i);
    EXPECT_EQ(bytesOf(C("2026")), c);
    EXPECT_TRUE(ctx().WorkYear.isEmpty());
    for (const QString& p : {A("2026"), I("2026"), C("2026")})
        EXPECT_FALSE(QFileInfo::exists(p + "$")) << p.toStdString();
}

TEST_F(EadStoreTest, FailureWhileModifyingKeepsTheOldEadAndCreatesNoNewFiles)
{
    TRecEad old = saveSampleEad(ctx(), 2, 1, QDate(2026, 12, 30));
    const QByteArray a = bytesOf(A("2026")), i = bytesOf(I("2026")), c = bytesOf(C("2026"));
    // The new year's product file fails after the old e-AD was removed and the new transport
    // lines were written.
    FileGroup::beforeReplace() = [](const QString& path) {
        if (path.endsWith("2027_815_C.DAT"))
            throw IoError(QStringLiteral("ERRORE DI SCRITTURA"));
    };
    TRecEad inHand;
    ASSERT_TRUE(loadEad(ctx(), "2026", old.progressivo, inHand));
    TRecEad changed = inHand;
    changed.DATSPE = dates::fromDate(QDate(2027, 1, 3));
    EXPECT_THROW(saveEad(ctx(), changed, QString(), &inHand), IoError);

    EXPECT_EQ(bytesOf(A("2026")), a);
    EXPECT_EQ(bytesOf(I("2026")), i);
    EXPECT_EQ(bytesOf(C("2026")), c);
    EXPECT_FALSE(QFileInfo::exists(A("2027")));
    EXPECT_FALSE(QFileInfo::exists(I("2027")));
    EXPECT_FALSE(QFileInfo::exists(C("2027")));
}

TEST_F(EadStoreTest, FailureWhileDeletingKeepsHeaderAndLines)
{
    saveSampleEad(ctx(), 1, 1);
    saveSampleEad(ctx(), 2, 2);
    const QByteArray a = bytesOf(A("2026")), i = bytesOf(I("2026")), c = bytesOf(C("2026"));
    FileGroup::beforeReplace() = [](const QString& path) {
        if (path.endsWith("_815_C.DAT"))
            throw IoError(QStringLiteral("ERRORE DI SCRITTURA"));
    };
    EXPECT_THROW(deleteEad(ctx(), "2026", 2), IoError);
    EXPECT_EQ(bytesOf(A("2026")), a);
    EXPECT_EQ(bytesOf(I("2026")), i);
    EXPECT_EQ(bytesOf(C("2026")), c);
}

TEST_F(EadStoreTest, StrayLinesOfAFreeProgressiveAreNotGivenToTheNewEad)
{
    // Lines whose header is missing (as after a crash between two writes) carry progressive 2.
    saveSampleEad(ctx(), 1, 1);
    TRecDettaglio stray = sampleTransportLine(1);
    stray.numero = 5;
    stray.progressivo = 2;
    RecordFile(I("2026"), TRecDettaglio::Size).append(encodeLine(stray));

    TRecEad saved = saveSampleEad(ctx(), 1, 1);
    ASSERT_EQ(saved.progressivo, 2);
    EXPECT_EQ(serials(I("2026")), (Pairs{{1, 1}, {2, 2}}));
}

TEST_F(EadStoreTest, DateOfDispatchThatIsNotADateIsRefusedBeforeAnyWrite)
{
    writeWorkFiles(ctx(), 1, 1);
    TRecEad h = sampleEadHeader();
    h.DATSPE = 1e12;
    EXPECT_THROW(saveEad(ctx(), h, QString()), IoError);
    EXPECT_TRUE(QDir(ctx().RegistriFolder).entryList(QDir::Files).isEmpty());
}

TEST_F(EadStoreTest, UpdateInPlaceChangesOnlyTheNamedRecordAndFields)
{
    saveSampleEad(ctx(), 1, 1);
    saveSampleEad(ctx(), 1, 1);
    const QByteArray before = bytesOf(A("2026"));
    ASSERT_TRUE(updateEadInPlace(ctx(), "2026", 2, [](TRecEad& r) {
        r.ARC = QStringLiteral("26ITABC");
        r.stato = EadState::Accepted;
    }));
    const QByteArray after = bytesOf(A("2026"));
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.left(2688), before.left(2688));
    QByteArray expected = before.mid(2688);
    expected.replace(76, 24, QByteArray("\x01I\x15") + "26ITABC" + QByteArray(14, ' '));
    EXPECT_EQ(after.mid(2688), expected);
    EXPECT_FALSE(QFileInfo::exists(A("2026") + "$"));
    EXPECT_FALSE(updateEadInPlace(ctx(), "2026", 3, [](TRecEad&) {}));
}

TEST_F(EadStoreTest, WorkLineDeleteAndRenumbering)
{
    writeWorkFiles(ctx(), 3, 0);
    const QString work = eadfiles::transportWork(ctx());
    EXPECT_TRUE(deleteWorkLine(work, 2));
    EXPECT_FALSE(deleteWorkLine(work, 7));
    EXPECT_EQ(serials(work), (Pairs{{1, 0}, {3, 0}}));
    renumberWorkFile(work);
    EXPECT_EQ(serials(work), (Pairs{{1, 0}, {2, 0}}));
    EXPECT_EQ(readLines(work)[1].SIGTRA().trimmed(), QStringLiteral("SIGILLO 3"));

    startNewEad(ctx());
    EXPECT_EQ(QFileInfo(work).size(), 0);
    EXPECT_EQ(QFileInfo(eadfiles::productWork(ctx())).size(), 0);
}

} // namespace

namespace {

// Another copy of the program holds the product file: the save waits for it before it writes
// anything, then goes on once the marker is gone.
TEST_F(EadStoreTest, SaveTakesEveryLockBeforeWritingAnything)
{
    writeWorkFiles(ctx(), 1, 1);
    const QString marker = C("2026") + "$";
    QFile(marker).open(QIODevice::WriteOnly);
    bool headerWrittenWhileWaiting = true;
    t.messenger.onInfo = [&](const QString&) {
        headerWrittenWhileWaiting = QFileInfo::exists(A("2026")) || QFileInfo::exists(I("2026"));
        QFile::remove(marker);
    };
    TRecEad saved = saveEad(ctx(), sampleEadHeader(), QString());
    EXPECT_EQ(saved.progressivo, 1);
    EXPECT_EQ(t.messenger.infos, QStringList{FileLock::waitText(C("2026"))});
    EXPECT_FALSE(headerWrittenWhileWaiting);
    EXPECT_EQ(readHeaders(A("2026")).size(), 1);
}

} // namespace

// No number follows the largest 32-bit one: an e-AD file whose largest progressive (or a line
// file whose largest serial) is already there refuses the new e-AD, and no file changes.
TEST_F(EadStoreTest, ANumberPastTheLargest32BitOneIsRefusedAndNothingIsWritten)
{
    struct Case {
        const char* what;
        QString file;
        QString message;
    };
    const QString full = QStringLiteral("IL FILE %1 HA RAGGIUNTO IL NUMERO MASSIMO DI RECORD (2147483647): IL RECORD "
                                        "NON E` STATO INSERITO.");
    const std::vector<Case> cases = {
        {"the header file", A("2026"), full.arg(QDir::toNativeSeparators(A("2026")))},
        {"the transport lines", I("2026"),
            QStringLiteral(
                "E` STATO RAGGIUNTO IL NUMERO MASSIMO DI RECORD (2147483647): IL RECORD NON E` STATO INSERITO.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const QString& p : {A("2026"), I("2026"), C("2026")})
            QFile::remove(p);
        saveSampleEad(ctx(), 1, 1);
        {
            QFile f(c.file);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            f.write(QByteArray("\xff\xff\xff\x7f", 4)); // the first record's number: 2147483647
        }
        const QByteArray a = bytesOf(A("2026")), i = bytesOf(I("2026")), p = bytesOf(C("2026"));
        writeWorkFiles(ctx(), 1, 1);
        try {
            saveEad(ctx(), sampleEadHeader(), QString());
            ADD_FAILURE() << "accepted";
        } catch (const IoError& e) {
            EXPECT_EQ(e.text(), c.message);
        }
        EXPECT_EQ(bytesOf(A("2026")), a);
        EXPECT_EQ(bytesOf(I("2026")), i);
        EXPECT_EQ(bytesOf(C("2026")), p);
    }
}
