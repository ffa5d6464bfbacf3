#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <functional>
#include <vector>

#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "register/RegisterFixture.h"
#include "register/store/RegisterStore.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

double day(int d, int m, int y = 2027, int hour = 0)
{
    return dates::fromDateTime(QDateTime(QDate(y, m, d), QTime(hour, 0)));
}

TRecMovimento movement(const char* kind, double date, double litres, int line = 0)
{
    TRecMovimento r = blankRegisterRecord();
    r.registro = QStringLiteral("C");
    r.operazione = QStringLiteral("I");
    r.tipoMovimento = QString::fromLatin1(kind);
    r.data = date;
    r.litri = litres;
    r.tipoDocumento = QStringLiteral("DAA");
    r.progressivoDettaglio = line;
    return r;
}

// What a line of the file must hold: numero, progressivo, stato, operazione, collegato, kind, day.
struct Line {
    int numero;
    int progressivo;
    char stato;
    char operazione;
    int collegato;
    char kind;
    int dd, mm;
    bool sent;
};

QString describe(const TRecMovimento& r)
{
    return QStringLiteral("%1/%2 '%3' '%4' ->%5 %6 %7 %8")
        .arg(r.numero)
        .arg(r.progressivo)
        .arg(r.stato, r.operazione)
        .arg(r.collegato)
        .arg(r.tipoMovimento, dates::ddmmyyyy(r.data), r.numeroFlusso > 0 ? QStringLiteral("sent") : QStringLiteral("unsent"));
}

QString describe(const Line& l)
{
    return QStringLiteral("%1/%2 '%3' '%4' ->%5 %6 %7 %8")
        .arg(l.numero)
        .arg(l.progressivo)
        .arg(QChar::fromLatin1(l.stato), QChar::fromLatin1(l.operazione))
        .arg(l.collegato)
        .arg(QChar::fromLatin1(l.kind), QDate(2027, l.mm, l.dd).toString(QStringLiteral("dd/MM/yyyy")),
             l.sent ? QStringLiteral("sent") : QStringLiteral("unsent"));
}

class RegisterStoreTest : public ::testing::Test {
protected:
    void TearDown() override { FileGroup::beforeReplace() = nullptr; }
    QString file(int year = 2027) { return registerfiles::movements(t.ctx, year); }
    TRecMovimento insert(TRecMovimento r, int year = 2027) { return InsertRegisterRecord(r, file(year), t.messenger); }
    // The record as it stands in the file (a blank one carrying the number when it is not there).
    TRecMovimento rec(std::int32_t numero, int year = 2027)
    {
        if (auto r = findRegisterRecord(file(year), numero))
            return *r;
        TRecMovimento r = blankRegisterRecord();
        r.numero = numero;
        return r;
    }

    void expectFile(const std::vector<Line>& expected, const std::string& step)
    {
        const QList<TRecMovimento> records = readRegister(file());
        QStringList got, want;
        for (const auto& r : records)
            got << describe(r);
        for (const auto& l : expected)
            want << describe(l);
        EXPECT_EQ(got.join(QLatin1Char('\n')).toStdString(), want.join(QLatin1Char('\n')).toStdString()) << step;
    }

    QByteArray bytes(int year = 2027)
    {
        QFile f(file(year));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TestContext t;
};

} // namespace

// A year of loads and unloads, some sent; a rectification of a sent unload; inserts before and
// after it on the same day; modifies of unsent records, of the replacement, a cancel
// rectification. After every step: the file's order, numbers, progressives, states and links.
TEST_F(RegisterStoreTest, RectificationChainKeepsOrderNumbersAndLinks)
{
    TRecMovimento note = blankRegisterRecord();
    note.nota = QStringLiteral("litri errati");

    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<Line> file;
    };
    const std::vector<Step> steps = {
        {"four movements, the first three sent",
         [&] {
             insert(movement("C", day(10, 3), 100));
             insert(movement("S", day(10, 3), 40));
             insert(movement("C", day(11, 3), 200));
             insert(movement("S", day(12, 3), 50));
             markSent(file(), {1, 2, 3}, day(12, 3), 1, t.messenger);
         },
         {{1, 1, ' ', 'I', 0, 'C', 10, 3, true},
          {2, 2, ' ', 'I', 0, 'S', 10, 3, true},
          {3, 3, ' ', 'I', 0, 'C', 11, 3, true},
          {4, 4, ' ', 'I', 0, 'S', 12, 3, false}}},
        {"modify-rectify the sent unload 2: superseded, cancellation 5, replacement 6, same line number",
         [&] {
             TRecMovimento n = movement("S", day(10, 3), 90);
             n.nota = QStringLiteral("litri errati");
             RectifyRegisterRecord(rec(2), file(), RectifyKind::Modify, n, t.messenger);
         },
         {{1, 1, ' ', 'I', 0, 'C', 10, 3, true},
          {2, 2, 'C', 'I', 0, 'S', 10, 3, true},
          {5, 2, ' ', 'C', 2, 'S', 10, 3, false},
          {6, 2, 'R', 'I', 2, 'S', 10, 3, false},
          {3, 3, ' ', 'I', 0, 'C', 11, 3, true},
          {4, 4, ' ', 'I', 0, 'S', 12, 3, false}}},
        {"a load of the same day goes before the day's unloads",
         [&] { insert(movement("C", day(10, 3), 10)); },
         {{1, 1, ' ', 'I', 0, 'C', 10, 3, true},
          {7, 5, ' ', 'I', 0, 'C', 10, 3, false},
          {2, 2, 'C', 'I', 0, 'S', 10, 3, true},
          {5, 2, ' ', 'C', 2, 'S', 10, 3, false},
          {6, 2, 'R', 'I', 2, 'S', 10, 3, false},
          {3, 3, ' ', 'I', 0, 'C', 11, 3, true},
          {4, 4, ' ', 'I', 0, 'S', 12, 3, false}}},
        {"an unload of the same day at 18:00 stays on that day, after the rectification",
         [&] { insert(movement("S", day(10, 3, 2027, 18), 5)); },
         {{1, 1, ' ', 'I', 0, 'C', 10, 3, true},
          {7, 5, ' ', 'I', 0, 'C', 10, 3, false},
          {2, 2, 'C', 'I', 0, 'S', 10, 3, true},
          {5, 2, ' ', 'C', 2, 'S', 10, 3, false},
          {6, 2, 'R', 'I', 2, 'S', 10, 3, false},
          {8, 6, ' ', 'I', 0, 'S', 10, 3, false},
          {3, 3, ' ', 'I', 0, 'C', 11, 3, true},
          {4, 4, ' ', 'I', 0, 'S', 12, 3, false}}},
        {"modify the unsent load 7: same number and line number, same place",
         [&] { ModifyRegisterRecord(rec(7), file(), movement("C", day(10, 3), 12), file(), t.messenger); },
         {{1, 1, ' ', 'I', 0, 'C', 10, 3, true},
          {7, 5, ' ', 'I', 0, 'C', 10, 3, false},
          {2, 2, 'C', 'I', 0, 'S', 10, 3, true},
          {5, 2, ' ', 'C', 2, 'S', 10, 3, false},
          {6, 2, 'R', 'I', 2, 'S', 10, 3, false},
          {8, 6, ' ', 'I', 0, 'S', 10, 3, false},
          {3, 3, ' ', 'I', 0, 'C', 11, 3, true},
          {4, 4, ' ', 'I', 0, 'S', 12, 3, false}}},
        {"modify the replacement 6: it stays 'R', linked to 2, with line number 2, in place",
         [&] { ModifyRegisterRecord(rec(6), file(), movement("S", day(10, 3), 95), file(), t.messenger); },
         {{1, 1, ' ', 'I', 0, 'C', 10, 3, true},
          {7, 5, ' ', 'I', 0, 'C', 10, 3, false},
          {2, 2, 'C', 'I', 0, 'S', 10, 3, true},
          {5, 2, ' ', 'C', 2, 'S', 10, 3, false},
          {6, 2, 'R', 'I', 2, 'S', 10, 3, false},
          {8, 6, ' ', 'I', 0, 'S', 10, 3, false},
          {3, 3, ' ', 'I', 0, 'C', 11, 3, true},
          {4, 4, ' ', 'I', 0, 'S', 12, 3, false}}},
        {"cancel-rectify the sent load 3: cancellation 9 right after it",
         [&] {
             TRecMovimento n = blankRegisterRecord();
             n.nota = QStringLiteral("carico mai avvenuto");
             RectifyRegisterRecord(rec(3), file(), RectifyKind::Cancel, n, t.messenger);
         },
         {{1, 1, ' ', 'I', 0, 'C', 10, 3, true},
          {7, 5, ' ', 'I', 0, 'C', 10, 3, false},
          {2, 2, 'C', 'I', 0, 'S', 10, 3, true},
          {5, 2, ' ', 'C', 2, 'S', 10, 3, false},
          {6, 2, 'R', 'I', 2, 'S', 10, 3, false},
          {8, 6, ' ', 'I', 0, 'S', 10, 3, false},
          {3, 3, 'C', 'I', 0, 'C', 11, 3, true},
          {9, 3, ' ', 'C', 3, 'C', 11, 3, false},
          {4, 4, ' ', 'I', 0, 'S', 12, 3, false}}},
        {"a load on the rectified day of 11/03 follows the cancellation; line number 7",
         [&] { insert(movement("C", day(11, 3, 2027, 23), 1)); },
         {{1, 1, ' ', 'I', 0, 'C', 10, 3, true},
          {7, 5, ' ', 'I', 0, 'C', 10, 3, false},
          {2, 2, 'C', 'I', 0, 'S', 10, 3, true},
          {5, 2, ' ', 'C', 2, 'S', 10, 3, false},
          {6, 2, 'R', 'I', 2, 'S', 10, 3, false},
          {8, 6, ' ', 'I', 0, 'S', 10, 3, false},
          {3, 3, 'C', 'I', 0, 'C', 11, 3, true},
          {9, 3, ' ', 'C', 3, 'C', 11, 3, false},
          {10, 7, ' ', 'I', 0, 'C', 11, 3, false},
          {4, 4, ' ', 'I', 0, 'S', 12, 3, false}}},
    };
    for (const Step& s : steps) {
        s.act();
        expectFile(s.file, s.what);
    }

    // The replacement carries the note and the new litres; the cancellation repeats the original.
    const auto repl = findRegisterRecord(file(), 6);
    ASSERT_TRUE(repl);
    EXPECT_EQ(repl->litri, 95.0);
    const auto canc = findRegisterRecord(file(), 5);
    ASSERT_TRUE(canc);
    EXPECT_EQ(canc->litri, 40.0);
    EXPECT_EQ(canc->nota.trimmed(), QStringLiteral("litri errati"));
}

TEST_F(RegisterStoreTest, StaleOrWrongStateRecordsAreRefusedAndTheFileIsUntouched)
{
    insert(movement("C", day(1, 2), 10));
    insert(movement("S", day(2, 2), 20));
    insert(movement("S", day(3, 2), 30));
    markSent(file(), {1, 2}, day(3, 2), 4, t.messenger);
    RectifyRegisterRecord(rec(2), file(), RectifyKind::Cancel, blankRegisterRecord(), t.messenger);
    const QByteArray before = bytes();

    struct Case {
        const char* what;
        std::function<void()> act;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"modify a sent record", [&] { ModifyRegisterRecord(rec(1), file(), movement("C", day(1, 2), 1), file(), t.messenger); }, MsgRecordAlreadySent},
        {"rectify an unsent record", [&] { RectifyRegisterRecord(rec(3), file(), RectifyKind::Modify, movement("S", day(3, 2), 1), t.messenger); }, MsgRecordNotSent},
        {"rectify a superseded record", [&] { RectifyRegisterRecord(rec(2), file(), RectifyKind::Cancel, blankRegisterRecord(), t.messenger); }, MsgRecordSuperseded},
        {"modify a cancellation record", [&] { ModifyRegisterRecord(rec(4), file(), movement("S", day(2, 2), 1), file(), t.messenger); }, MsgRecordNotInsertion},
        {"modify a record that is gone", [&] { ModifyRegisterRecord(rec(77), file(), movement("S", day(2, 2), 1), file(), t.messenger); }, MsgRecordGone},
    };
    for (const Case& c : cases) {
        try {
            c.act();
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const IoError& e) {
            EXPECT_EQ(e.text(), QString::fromLatin1(c.message)) << c.what;
        }
        EXPECT_EQ(bytes(), before) << c.what;
    }
    EXPECT_EQ(rereadForAction(file(), 3, RecordNeed::Unsent).record->numero, 3);
    EXPECT_EQ(rereadForAction(file(), 3, RecordNeed::Sent).refusal, QString::fromLatin1(MsgRecordNotSent));
    EXPECT_EQ(rereadForAction(file(), 2, RecordNeed::Sent).refusal, QString::fromLatin1(MsgRecordSuperseded));
}

TEST_F(RegisterStoreTest, SameDayOrderAndNumbersOfAnEmptyFile)
{
    // Inserted as unload, load (line 2), load (line 1): the file reads load 1, load 2, unload.
    const TRecMovimento first = insert(movement("S", day(5, 5), 1, 1));
    EXPECT_EQ(first.numero, 1);
    EXPECT_EQ(first.progressivo, 1);
    insert(movement("C", day(5, 5), 2, 2));
    insert(movement("C", day(5, 5), 3, 1));
    QList<double> litres;
    for (const auto& r : readRegister(file()))
        litres << r.litri;
    EXPECT_EQ(litres, (QList<double>{3, 2, 1}));
}

TEST_F(RegisterStoreTest, TimeOfDayIsCutNeverRoundedIntoTheNextYear)
{
    const double lateOnNewYearsEve = day(31, 12, 2027, 18);
    EXPECT_EQ(registerYear(lateOnNewYearsEve), 2027);
    const TRecMovimento r = insert(movement("S", lateOnNewYearsEve, 1));
    EXPECT_EQ(r.data, day(31, 12, 2027));
    EXPECT_EQ(readRegister(file(2027)).size(), 1);
    EXPECT_EQ(readRegister(file(2027)).front().data, day(31, 12, 2027));
}

TEST_F(RegisterStoreTest, CancellingTheLastSentLineNeverGivesItsNumberAgain)
{
    insert(movement("C", day(1, 6), 10));
    insert(movement("C", day(2, 6), 10));
    markSent(file(), {1, 2}, day(2, 6), 1, t.messenger);
    RectifyRegisterRecord(rec(2), file(), RectifyKind::Cancel, blankRegisterRecord(), t.messenger);
    EXPECT_EQ(nextProgressivo(readRegister(file())), 3);
    EXPECT_EQ(insert(movement("C", day(3, 6), 1)).progressivo, 3);
}

TEST_F(RegisterStoreTest, ModifyIntoAnotherYearIsOneChangeOfBothFiles)
{
    insert(movement("C", day(30, 12, 2027), 10));
    insert(movement("C", day(31, 12, 2027), 20));
    const QByteArray before = bytes(2027);

    // A failing replacement of the old file after the new one was written: both files as before.
    FileGroup::beforeReplace() = [&](const QString& path) {
        if (path == file(2027))
            throw IoError(QStringLiteral("DISCO PIENO"));
    };
    EXPECT_THROW(ModifyRegisterRecord(rec(2, 2027), file(2027), movement("C", day(2, 1, 2028), 20), file(2028), t.messenger), IoError);
    EXPECT_EQ(bytes(2027), before);
    EXPECT_TRUE(readRegister(file(2028)).isEmpty());

    FileGroup::beforeReplace() = nullptr;
    const TRecMovimento moved = ModifyRegisterRecord(rec(2, 2027), file(2027), movement("C", day(2, 1, 2028), 20), file(2028), t.messenger);
    EXPECT_EQ(moved.numero, 1);
    EXPECT_EQ(moved.progressivo, 1);
    EXPECT_EQ(readRegister(file(2027)).size(), 1);
    EXPECT_EQ(readRegister(file(2028)).size(), 1);
}

TEST_F(RegisterStoreTest, GuaranteeDayReplacesItsUnsentRecordButFollowsASentOne)
{
    const QString gar = registerfiles::guarantees(t.ctx, 2027);
    auto guarantee = [&](double date, double committed) {
        TRecGaranzia g = blankRegisterRecord();
        g.registro = QStringLiteral("F");
        g.operazione = QStringLiteral("I");
        g.data = date;
        g.impegnato() = committed;
        return InsertRegisterRecord(g, gar, t.messenger);
    };
    guarantee(day(1, 4), 10);
    guarantee(day(3, 4), 30);
    guarantee(day(1, 4), 11); // unsent day 1: replaced in place
    QList<double> amounts;
    for (const auto& r : readRegister(gar))
        amounts << r.impegnato();
    EXPECT_EQ(amounts, (QList<double>{11, 30}));

    markSent(gar, {readRegister(gar).front().numero}, day(2, 4), 1, t.messenger);
    guarantee(day(1, 4), 12); // sent day 1: the new record follows it
    amounts.clear();
    for (const auto& r : readRegister(gar))
        amounts << r.impegnato();
    EXPECT_EQ(amounts, (QList<double>{11, 12, 30}));
}

TEST_F(RegisterStoreTest, DeleteClosesTheGapAndIgnoresAnAbsentNumber)
{
    insert(movement("C", day(1, 1), 1));
    insert(movement("C", day(2, 1), 2));
    const QByteArray before = bytes();
    try {
        DeleteRegisterRecord(rec(9), file(), t.messenger);
        ADD_FAILURE() << "an absent number was deleted";
    } catch (const IoError& e) {
        EXPECT_EQ(e.text(), QString::fromLatin1(MsgRecordGone));
    }
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(DeleteRegisterRecord(rec(2), file(), t.messenger), 1);
    EXPECT_EQ(bytes(), before.left(520));
    markSent(file(), {1}, day(2, 1), 3, t.messenger);
    EXPECT_EQ(readRegister(file()).front().numeroFlusso, 3);
    ResetRegisterSendData(FlowRecords{file(), {rec(1)}, {}, {}}, t.messenger);
    EXPECT_EQ(readRegister(file()).front().numeroFlusso, 0);
    EXPECT_EQ(readRegister(file()).front().dataFlusso, 0.0);
}

// No number follows the largest 32-bit one: a file whose largest record number (or register line)
// is already there refuses the next record with a message instead of wrapping to a negative
// number, and stays as it was. A modify-rectification needs two numbers: one left is not enough.
TEST_F(RegisterStoreTest, NumbersThatWouldPassTheLargest32BitOneAreRefused)
{
    // numero at offset 0, progressivo at offset 64, little-endian.
    const QByteArray intMax("\xff\xff\xff\x7f", 4);
    const QByteArray intMaxLess1("\xfe\xff\xff\x7f", 4);
    const QString anyFile =
        QStringLiteral("E` STATO RAGGIUNTO IL NUMERO MASSIMO DI RECORD (2147483647): IL RECORD NON E` STATO INSERITO.");
    struct Case {
        const char* what;
        int offset;
        QByteArray number;
        std::function<void()> act;
        QString message;
    };
    const std::vector<Case> cases = {
        {"insert after the largest numero", 0, intMax, [&] { insert(movement("S", day(5, 2), 1)); }, anyFile},
        {"insert after the largest register line", 64, intMax, [&] { insert(movement("S", day(5, 2), 1)); }, anyFile},
        {"cancel-rectify after the largest numero", 0, intMax,
            [&] { RectifyRegisterRecord(rec(2147483647), file(), RectifyKind::Cancel, blankRegisterRecord(), t.messenger); },
            anyFile},
        {"modify-rectify with one number left", 0, intMaxLess1,
            [&] {
                RectifyRegisterRecord(
                    rec(2147483646), file(), RectifyKind::Modify, movement("S", day(1, 2), 5), t.messenger);
            },
            anyFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(file());
        insert(movement("S", day(1, 2), 10));
        markSent(file(), {1}, day(1, 2), 1, t.messenger);
        {
            QFile f(file());
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            f.seek(c.offset);
            f.write(c.number);
        }
        const QByteArray before = bytes();
        try {
            c.act();
            ADD_FAILURE() << "accepted";
        } catch (const IoError& e) {
            EXPECT_EQ(e.text(), c.message);
        }
        EXPECT_EQ(bytes(), before);
    }
}
