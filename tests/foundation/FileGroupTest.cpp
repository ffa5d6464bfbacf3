#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QCryptographicHash>
#include <QFileInfo>

#include "foundation/FileGroup.h"
#include "foundation/FileLock.h"
#include "foundation/RecordFile.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {
QByteArray rec(char c)
{
    return QByteArray(4, c);
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct HookReset {
    ~HookReset() { FileGroup::beforeReplace() = nullptr; }
};
} // namespace

TEST(FileGroup, HoldsEveryLockWhileItRunsAndReleasesThem)
{
    TestContext t;
    const QString a = t.path("a.dat"), b = t.path("b.dat");
    {
        FileGroup g({b, a, a}, &t.messenger);
        EXPECT_TRUE(QFileInfo::exists(a + "$"));
        EXPECT_TRUE(QFileInfo::exists(b + "$"));
        g.run([&](FileGroup& gg) {
            gg.replace(a, 4, {rec('a')});
            gg.replace(b, 4, {rec('b'), rec('c')});
        });
        EXPECT_EQ(g.read(b, 4).size(), 2);
    }
    EXPECT_FALSE(QFileInfo::exists(a + "$"));
    EXPECT_FALSE(QFileInfo::exists(b + "$"));
    EXPECT_EQ(bytesOf(a), rec('a'));
}

TEST(FileGroup, FailurePartWayPutsBackReplacedFilesAndRemovesCreatedOnes)
{
    TestContext t;
    HookReset reset;
    const QString a = t.path("a.dat"), b = t.path("b.dat"), c = t.path("c.dat");
    RecordFile(a, 4).replaceAll({rec('1'), rec('2')});
    int calls = 0;
    FileGroup::beforeReplace() = [&](const QString& path) {
        ++calls;
        if (path == c)
            throw IoError(QStringLiteral("DISCO PIENO"));
    };
    try {
        FileGroup g({a, b, c}, &t.messenger);
        g.run([&](FileGroup& gg) {
            gg.replace(a, 4, {rec('x')});
            gg.replace(a, 4, {rec('y')}); // a second change of the same file
            gg.replace(b, 4, {rec('z')});
            gg.replace(c, 4, {});
        });
        FAIL() << "no failure";
    } catch (const IoError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("DISCO PIENO"));
    }
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(bytesOf(a), rec('1') + rec('2'));
    EXPECT_FALSE(QFileInfo::exists(b));
    EXPECT_FALSE(QFileInfo::exists(c));
    for (const QString& p : {a, b, c})
        EXPECT_FALSE(QFileInfo::exists(p + "$"));
}

TEST(FileGroup, ADamagedFileIsNeverRewritten)
{
    TestContext t;
    const QString a = t.path("a.dat");
    {
        QFile f(a);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("12345"); // not a whole number of 4-byte records
    }
    FileGroup g({a}, &t.messenger);
    EXPECT_THROW(g.run([&](FileGroup& gg) { gg.replace(a, 4, {rec('a')}); }), IoError);
    EXPECT_EQ(bytesOf(a), QByteArray("12345"));
}

namespace {
// Writes a file with the given bytes.
void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A journal or note as the program writes them: its lines, then "FINE " and the SHA-1 of the lines.
QByteArray sealedText(const QByteArray& lines)
{
    return lines + "FINE " + QCryptographicHash::hash(lines, QCryptographicHash::Sha1).toHex() + "\n";
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

struct MoveHookReset {
    ~MoveHookReset() { FileGroup::beforeMove() = nullptr; }
};
} // namespace

// A crash after the journal was complete: two files already replaced, the third still waiting in
// its temporary. Whoever locks any file of the group (here the one whose note points to the
// journal) finishes the change; the journal, the notes and the temporary go.
TEST(FileGroup, TheNextLockHolderCompletesADecidedChange)
{
    TestContext t;
    const QString dir = t.path("g");
    QDir().mkpath(dir);
    const QString a = dir + "/a.dat", b = dir + "/b.dat", c = dir + "/c.dat";
    put(a, rec('A'));                              // already replaced
    put(b, rec('1'));                              // old content
    put(b + ".~0000beef", rec('B') + rec('B'));    // its new content, waiting
    put(c, rec('C'));                              // already replaced; its temporary is gone
    put(a + ".~GRUPPO", sealedText("GRUPPO 5eed\n"
                                   "a.dat.~00000a0a\ta.dat\n"
                                   "b.dat.~0000beef\tb.dat\n"
                                   "c.dat.~00000c0c\tc.dat\n"));
    put(b + ".~GRUPPO", sealedText("RIMANDO 5eed\na.dat.~GRUPPO\n"));
    put(c + ".~GRUPPO", sealedText("RIMANDO 5eed\na.dat.~GRUPPO\n"));

    { FileLock lock(c, t.messenger); }

    EXPECT_EQ(bytesOf(a), rec('A'));
    EXPECT_EQ(bytesOf(b), rec('B') + rec('B'));
    EXPECT_EQ(bytesOf(c), rec('C'));
    EXPECT_EQ(filesIn(dir), (QStringList{"a.dat", "b.dat", "c.dat"}));
}

// A crash while the journal was being written (its last line missing), or after it was removed
// but before the notes were: nothing was decided or all was done, and the files stay as they are.
TEST(FileGroup, AnUndecidedChangeIsDiscardedAndAStaleNoteRemoved)
{
    TestContext t;
    const QString dir = t.path("g");
    QDir().mkpath(dir);
    const QString a = dir + "/a.dat", b = dir + "/b.dat", c = dir + "/c.dat", d = dir + "/d.dat";
    put(a, rec('1'));
    put(b, rec('2'));
    put(a + ".~00000a0a", rec('X'));
    put(b + ".~0000beef", rec('Y'));
    put(a + ".~GRUPPO", "GRUPPO 77\na.dat.~00000a0a\ta.dat\nb.dat.~0000beef\tb.dat\n"); // no FINE line
    put(b + ".~GRUPPO", sealedText("RIMANDO 77\na.dat.~GRUPPO\n"));
    put(c, rec('3'));
    put(c + ".~GRUPPO", sealedText("RIMANDO 99\nd.dat.~GRUPPO\n")); // its journal is gone
    put(d, rec('4'));

    { FileLock lock(b, t.messenger); }
    { FileLock lock(c, t.messenger); }

    EXPECT_EQ(bytesOf(a), rec('1'));
    EXPECT_EQ(bytesOf(b), rec('2'));
    EXPECT_EQ(bytesOf(c), rec('3'));
    EXPECT_EQ(filesIn(dir), (QStringList{"a.dat", "b.dat", "c.dat", "d.dat"}));
}

// Between the steps and the end of the commit nothing is visible on disk; the group's own reads
// see what it replaced.
TEST(FileGroup, WritesNothingUntilTheStepsHaveAllRunAndReadsItsOwnReplacements)
{
    TestContext t;
    const QString a = t.path("a.dat"), b = t.path("b.dat");
    RecordFile(a, 4).replaceAll({rec('1')});
    FileGroup g({a, b}, &t.messenger);
    g.run([&](FileGroup& gg) {
        gg.replace(a, 4, {rec('2'), rec('3')});
        gg.replace(b, 4, {rec('4')});
        EXPECT_EQ(gg.read(a, 4), (QList<QByteArray>{rec('2'), rec('3')}));
        EXPECT_EQ(bytesOf(a), rec('1'));
        EXPECT_FALSE(QFileInfo::exists(b));
    });
    EXPECT_EQ(bytesOf(a), rec('2') + rec('3'));
    EXPECT_EQ(bytesOf(b), rec('4'));
    EXPECT_EQ(filesIn(t.dir.path()), (QStringList{"a.dat", "a.dat$", "b.dat", "b.dat$"}));
}

// A file that cannot be put in place after others already were: they get their previous content
// back (a created one is removed) and no temporary, journal or note is left.
TEST(FileGroup, AFileThatCannotBeReplacedUndoesTheFilesAlreadyReplaced)
{
    TestContext t;
    MoveHookReset reset;
    const QString a = t.path("a.dat"), b = t.path("b.dat"), c = t.path("c.dat");
    RecordFile(a, 4).replaceAll({rec('1')});
    RecordFile(c, 4).replaceAll({rec('3')});
    FileGroup::beforeMove() = [&](const QString& path) {
        if (path.endsWith("c.dat"))
            throw IoError(QStringLiteral("FILE IN USO"));
    };
    {
        FileGroup g({a, b, c}, &t.messenger);
        try {
            g.run([&](FileGroup& gg) {
                gg.replace(a, 4, {rec('x')});
                gg.replace(b, 4, {rec('y')});
                gg.replace(c, 4, {rec('z')});
            });
            FAIL() << "no failure";
        } catch (const IoError& e) {
            EXPECT_EQ(e.text(), QStringLiteral("FILE IN USO"));
        }
    }
    EXPECT_EQ(bytesOf(a), rec('1'));
    EXPECT_FALSE(QFileInfo::exists(b));
    EXPECT_EQ(bytesOf(c), rec('3'));
    EXPECT_EQ(filesIn(t.dir.path()), (QStringList{"a.dat", "c.dat"}));
}

// A rewrite cut off before its rename leaves a full-size temporary beside the file (ours, or the
// platform save-file's of earlier versions). The next holder of the lock removes them, and only
// them.
TEST(FileLock, TheHolderRemovesTheLeftOverTemporariesOfItsFile)
{
    TestContext t;
    const QString dir = t.path("r");
    QDir().mkpath(dir);
    const QString p = dir + "/2026.RGM";
    put(p, QByteArray(520, 'a'));
    put(p + ".~0123abcd", QByteArray(520 * 3, 'b'));
    put(p + ".XkqRtz", QByteArray(520 * 3, 'c'));
    const QStringList kept{"2026.RGM", "2026.RGM.BAK", "2026.RGM.~0123abcdef", "2026.RGM.~GRUPPO.OLD",
                           "2027.RGM", "2027.RGM.~0123abcd"};
    for (const QString& k : kept)
        if (!QFileInfo::exists(dir + "/" + k))
            put(dir + "/" + k, "x");

    { FileLock lock(p, t.messenger); }

    QStringList expected = kept;
    expected.sort();
    EXPECT_EQ(filesIn(dir), expected);
    EXPECT_EQ(bytesOf(p), QByteArray(520, 'a'));
}
