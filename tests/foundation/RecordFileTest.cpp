#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include "foundation/FileLock.h"
#include "foundation/RecordFile.h"
#include "support/Fakes.h"

using namespace vt;

namespace {
constexpr int Size = 16;

// A 16-byte record: number, then a 12-byte key.
QByteArray rec(std::int32_t number, const char* key)
{
    QByteArray r(Size, ' ');
    qToLittleEndian<qint32>(number, r.data());
    r.replace(4, int(qstrlen(key)), key);
    return r;
}
QByteArray keyOf(const QByteArray& r)
{
    return r.mid(4, 12);
}
QString keys(const RecordFile& f)
{
    QStringList out;
    for (const QByteArray& r : f.readAll())
        out << QStringLiteral("%1:%2").arg(RecordFile::numberOf(r)).arg(QString::fromLatin1(keyOf(r)).trimmed());
    return out.join(QLatin1Char(' '));
}
QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(RecordFile, InsertNumbersFromOneAndReusesTheHighestAfterItsDeletion)
{
    test::TestContext t;
    RecordFile f(t.path(QStringLiteral("start/A.DAT")), Size, &t.messenger);
    EXPECT_EQ(f.insertInOrder(rec(0, "m"), keyOf), 1); // missing file
    EXPECT_EQ(f.insertInOrder(rec(0, "a"), keyOf), 2);
    EXPECT_EQ(f.insertInOrder(rec(0, "z"), keyOf), 3);
    EXPECT_EQ(keys(f), QStringLiteral("2:a 1:m 3:z"));
    EXPECT_TRUE(f.deleteByNumber(3));
    EXPECT_EQ(f.insertInOrder(rec(0, "b"), keyOf), 3);
    EXPECT_EQ(f.insertInOrder(rec(40, "c"), keyOf), 40); // a given number is kept
    EXPECT_EQ(keys(f), QStringLiteral("2:a 3:b 40:c 1:m"));
    EXPECT_FALSE(QFile::exists(FileLock::markerPath(f.path())));

    RecordFile empty(t.path(QStringLiteral("start/E.DAT")), Size, &t.messenger);
    empty.openOrCreate();
    EXPECT_EQ(empty.insertInOrder(rec(0, "x"), keyOf), 1);
}

TEST(RecordFile, NoNumberFollowsTheLargestAndTheFileIsLeftAsItWas)
{
    test::TestContext t;
    const QString path = t.path(QStringLiteral("start/N.DAT"));
    const QByteArray content = rec(-5, "a") + rec(2147483647, "k");
    {
        QFile w(path);
        ASSERT_TRUE(w.open(QIODevice::WriteOnly));
        w.write(content);
    }
    RecordFile f(path, Size, &t.messenger);
    try {
        f.insertInOrder(rec(0, "b"), keyOf);
        ADD_FAILURE() << "a number past 2147483647 was given";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("N.DAT"))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("2147483647"))) << e.text().toStdString();
    }
    EXPECT_EQ(bytesOf(path), content);
    EXPECT_FALSE(QFile::exists(FileLock::markerPath(path)));
    // A record that brings its own number still goes in.
    EXPECT_EQ(f.insertInOrder(rec(9, "b"), keyOf), 9);
    EXPECT_EQ(keys(f), QStringLiteral("-5:a 9:b 2147483647:k"));
}

TEST(RecordFile, EqualKeysKeepTheirInsertionOrder)
{
    test::TestContext t;
    RecordFile f(t.path(QStringLiteral("start/A.DAT")), Size, &t.messenger);
    for (const char* k : {"b", "a", "b", "a", "b"})
        f.insertInOrder(rec(0, k), keyOf);
    // Keys are compared byte by byte; a prefix sorts first.
    f.insertInOrder(rec(0, "ab"), keyOf);
    EXPECT_EQ(keys(f), QStringLiteral("2:a 4:a 6:ab 1:b 3:b 5:b"));
}

TEST(RecordFile, DeletingAnAbsentNumber)
{
    test::TestContext t;
    RecordFile missing(t.path(QStringLiteral("start/M.DAT")), Size, &t.messenger);
    EXPECT_FALSE(missing.deleteByNumber(7));
    ASSERT_TRUE(missing.exists()); // an empty file is left behind
    EXPECT_EQ(QFileInfo(missing.path()).size(), 0);

    RecordFile f(t.path(QStringLiteral("start/A.DAT")), Size, &t.messenger);
    f.replaceAll({rec(1, "a"), rec(2, "b")});
    const QByteArray before = bytesOf(f.path());
    EXPECT_FALSE(f.deleteByNumber(7));
    EXPECT_EQ(bytesOf(f.path()), before);
    EXPECT_TRUE(f.deleteByNumber(1));
    EXPECT_EQ(keys(f), QStringLiteral("2:b"));
}

TEST(RecordFile, DeleteByFilterKeepsOrderAndNumbersAndLeavesNoWorkFile)
{
    test::TestContext t;
    RecordFile f(t.path(QStringLiteral("start/A.DAT")), Size, &t.messenger);
    f.replaceAll({rec(5, "a"), rec(2, "x"), rec(9, "b"), rec(1, "x"), rec(3, "c")});
    EXPECT_EQ(f.deleteByFilter([](const QByteArray& r) { return keyOf(r).startsWith('x'); }), 2);
    EXPECT_EQ(keys(f), QStringLiteral("5:a 9:b 3:c"));
    EXPECT_FALSE(QFile::exists(t.ctx.temp(QStringLiteral("APPOGGIO.DAT"))));
    const QStringList left = QDir(t.path(QStringLiteral("start"))).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList{QStringLiteral("A.DAT")});
}

TEST(RecordFile, ReadersOfAMissingFileFindNothingAndCreateNothing)
{
    test::TestContext t;
    RecordFile f(t.path(QStringLiteral("start/M.DAT")), Size);
    EXPECT_TRUE(f.readAll().isEmpty());
    EXPECT_FALSE(f.readFirst());
    EXPECT_FALSE(f.findByNumber(1));
    EXPECT_EQ(f.count(), 0);
    EXPECT_EQ(f.maxNumber(), 0);
    EXPECT_FALSE(f.exists());
}

TEST(RecordFile, ADamagedFileIsRefusedByEveryOperationAndLeftUntouched)
{
    test::TestContext t;
    const QString path = t.path(QStringLiteral("start/D.DAT"));
    QByteArray content = rec(1, "a") + rec(2, "b") + QByteArray("tail");
    {
        QFile w(path);
        ASSERT_TRUE(w.open(QIODevice::WriteOnly));
        w.write(content);
    }
    RecordFile f(path, Size, &t.messenger);
    const std::pair<const char*, std::function<void()>> ops[] = {
        {"readAll", [&] { f.readAll(); }},
        {"readFirst", [&] { f.readFirst(); }},
        {"findByNumber", [&] { f.findByNumber(2); }},
        {"count", [&] { f.count(); }},
        {"append", [&] { f.append(rec(3, "c")); }},
        {"updateAt", [&] { f.updateAt(0, rec(3, "c")); }},
        {"insertInOrder", [&] { f.insertInOrder(rec(0, "c"), keyOf); }},
        {"deleteByNumber", [&] { f.deleteByNumber(1); }},
        {"deleteByFilter", [&] { f.deleteByFilter([](const QByteArray&) { return true; }); }},
    };
    for (const auto& [name, op] : ops) {
        try {
            op();
            ADD_FAILURE() << name << " accepted a damaged file";
        } catch (const IoError& e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("DANNEGGIATO"))) << name;
            EXPECT_TRUE(e.text().contains(QStringLiteral("D.DAT"))) << name;
        }
        EXPECT_EQ(bytesOf(path), content) << name;
        EXPECT_FALSE(QFile::exists(FileLock::markerPath(path))) << name << " left its marker";
    }
}

TEST(RecordFile, UpdateInPlaceAndAppendWriteOnlyTheirRecord)
{
    test::TestContext t;
    RecordFile f(t.path(QStringLiteral("start/A.DAT")), Size, &t.messenger);
    f.replaceAll({rec(1, "a"), rec(2, "b"), rec(3, "c")});
    f.updateAt(1, rec(2, "B"));
    EXPECT_EQ(f.append(rec(4, "d")), 3);
    EXPECT_EQ(bytesOf(f.path()), rec(1, "a") + rec(2, "B") + rec(3, "c") + rec(4, "d"));
    EXPECT_THROW(f.updateAt(4, rec(5, "e")), IoError);
    EXPECT_THROW(f.append(QByteArray(Size - 1, 'x')), IoError); // a record of the wrong size
    EXPECT_EQ(f.count(), 4);
}

TEST(RecordFile, RewriteSingleReplacesTheWholeContent)
{
    test::TestContext t;
    RecordFile f(t.path(QStringLiteral("start/U.001")), Size);
    f.replaceAll({rec(1, "a"), rec(2, "b")});
    f.rewriteSingle(rec(0, "only"));
    EXPECT_EQ(bytesOf(f.path()), rec(0, "only"));
}

// ---- FileLock ----

TEST(FileLock, WaitsWithAMessageOnEveryCheckAndAsksFromTheEleventh)
{
    test::TestContext t;
    const QString data = t.path(QStringLiteral("start/T015.TAB"));
    const QString marker = data + QLatin1Char('$');
    QFile(marker).open(QIODevice::WriteOnly);
    t.messenger.answers = {false, true}; // No on the 11th wait, Yes on the 12th
    {
        FileLock lock(data, t.messenger);
        EXPECT_EQ(t.messenger.infos.size(), 12);
        EXPECT_EQ(t.messenger.questions.size(), 2);
        EXPECT_EQ(t.messenger.infos[0], QStringLiteral("ATTENDERE! IL FILE: ") + data
                      + QStringLiteral(" E` APERTO DA UN ALTRO UTENTE \r\r PREMI OK PER RIPROVARE "));
        EXPECT_EQ(t.messenger.questions[0], QStringLiteral("ATTENZIONE! ACCERTARSI CHE IL FILE: ") + data
                      + QStringLiteral(" NON SIA APERTO DA UN ALTRO UTENTE\r\r PREMI \"YES\" SE NESSUN UTENTE STA UTILIZZANDO IL FILE"));
        // Order: ten waits, then wait + question, wait + question.
        EXPECT_EQ(t.messenger.all.indexOf(t.messenger.questions[0]), 11);
        EXPECT_TRUE(QFile::exists(marker));
    }
    EXPECT_FALSE(QFile::exists(marker)); // removed at release
}

TEST(FileLock, WaitEndsWhenTheOtherWriterReleases)
{
    test::TestContext t;
    const QString data = t.path(QStringLiteral("start/A.DAT"));
    QFile(data + QLatin1Char('$')).open(QIODevice::WriteOnly);
    t.messenger.onInfo = [&](const QString&) {
        if (t.messenger.infos.size() == 3)
            QFile::remove(data + QLatin1Char('$'));
    };
    RecordFile f(data, Size, &t.messenger);
    f.append(rec(1, "a"));
    EXPECT_EQ(t.messenger.infos.size(), 3);
    EXPECT_TRUE(t.messenger.questions.isEmpty());
    EXPECT_EQ(f.count(), 1);
}

TEST(FileLock, AChangeToOneFileNeverWaitsForAnotherFilesMarker)
{
    test::TestContext t;
    const QString a = t.path(QStringLiteral("start/T015.TAB"));
    for (const QString& other : {t.path(QStringLiteral("start/T015.STR$")), t.path(QStringLiteral("start/T01.TAB$")),
                                 t.path(QStringLiteral("start/T015.TAB$$")), t.path(QStringLiteral("temp/T015.TAB$"))})
        QFile(other).open(QIODevice::WriteOnly);
    RecordFile f(a, Size, &t.messenger);
    f.insertInOrder(rec(0, "a"), keyOf);
    f.deleteByNumber(1);
    EXPECT_TRUE(t.messenger.all.isEmpty());
}

TEST(FileLock, IsReleasedWhenAnErrorEscapes)
{
    test::TestContext t;
    RecordFile f(t.path(QStringLiteral("start/A.DAT")), Size, &t.messenger);
    f.replaceAll({rec(1, "a")});
    EXPECT_THROW(f.insertInOrder(rec(0, "b"), [](const QByteArray&) -> QByteArray { throw IoError(QStringLiteral("x")); }),
                 IoError);
    EXPECT_FALSE(QFile::exists(FileLock::markerPath(f.path())));
    EXPECT_EQ(keys(f), QStringLiteral("1:a"));
}
