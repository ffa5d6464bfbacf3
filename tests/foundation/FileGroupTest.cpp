#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

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
    put(b + ".~NUOVO~000000000000beef", rec('B') + rec('B')); // its new content, waiting
    put(c, rec('C'));                              // already replaced; its temporary is gone
    put(a + ".~GRUPPO",
        sealedText("GRUPPO 5eed\n"
                   "a.dat.~NUOVO~0000000000000a0a\ta.dat\n"
                   "b.dat.~NUOVO~000000000000beef\tb.dat\n"
                   "c.dat.~NUOVO~0000000000000c0c\tc.dat\n"));
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
    put(a + ".~NUOVO~0000000000000a0a", rec('X'));
    put(b + ".~NUOVO~000000000000beef", rec('Y'));
    put(a + ".~GRUPPO",
        "GRUPPO 77\na.dat.~NUOVO~0000000000000a0a\ta.dat\nb.dat.~NUOVO~000000000000beef\tb.dat\n"
        "c.dat.~NUOV"); // cut short before its FINE line
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

// A rewrite cut off before its rename leaves a full-size temporary beside the file. The next
// holder of the lock removes it, and only names of that exact form: a person's copies beside the
// register (whatever their suffix) and other files' temporaries stay.
TEST(FileLock, TheHolderRemovesTheLeftOverTemporariesOfItsFileAndNothingElse)
{
    TestContext t;
    const QString dir = t.path("r");
    QDir().mkpath(dir);
    const QString p = dir + "/2026.RGM";
    put(p, QByteArray(520, 'a'));
    put(p + ".~NUOVO~0123456789abcdef", QByteArray(520 * 3, 'b'));
    const QStringList kept{"2026.RGM", "2026.RGM.BACKUP", "2026.RGM.COPIA1", "2026.RGM.XkqRtz", "2026.RGM.BAK",
        "2026.RGM.~0123abcd", "2026.RGM.~NUOVO~0123456789ABCDEF", "2026.RGM.~NUOVO~0123456789abcde",
        "2026.RGM.~NUOVO~0123456789abcdef0", "2026.RGM.~NUOVO~0123456789abcdef.OLD", "2026.RGM.~GRUPPO.OLD", "2027.RGM",
        "2027.RGM.~NUOVO~0123456789abcdef"};
    for (const QString& k : kept)
        if (!QFileInfo::exists(dir + "/" + k))
            put(dir + "/" + k, "x");

    { FileLock lock(p, t.messenger); }

    QStringList expected = kept;
    expected.sort();
    EXPECT_EQ(filesIn(dir), expected);
    EXPECT_EQ(bytesOf(p), QByteArray(520, 'a'));
}

namespace {
// Every file below a folder, by relative path, with its bytes.
QMap<QString, QByteArray> treeOf(const QString& root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        out.insert(QDir(root).relativeFilePath(p), bytesOf(p));
    }
    return out;
}

// A start folder with its two data folders, and a folder beside it that is none of the program's.
struct SharedFolders {
    TestContext t;
    QString root = QDir::cleanPath(t.path("w"));
    QString registri = root + "/start/REGISTRI";
    QString datiGen = root + "/start/DATI_GEN";
    QString outside = root + "/outside";
    QString rgm2024 = registri + "/2024.RGM";
    QString rgm2025 = registri + "/2025.RGM";

    SharedFolders()
    {
        for (const QString& d : {registri, datiGen, outside})
            QDir().mkpath(d);
        put(rgm2024, QByteArray(520 * 8, 'a'));
        put(rgm2025, QByteArray(520 * 5, 'b'));
        put(registri + "/2024.RGM.BACKUP", "copia dell'utente");
        put(datiGen + "/INDIRIZZI_F.DAT", QByteArray(608, 'f'));
        put(root + "/start/victim.dat", "accanto ai dati");
        put(outside + "/victim.dat", "fuori");
        put(outside + "/other.dat", "altro");
    }
};
} // namespace

// A journal or note that names anything the program would not have written (a file outside the
// data folders, a temporary that is not one of its own file's) is never acted on: taking the lock
// is refused with a message naming it, and every file, inside the folders and outside, the
// journal included, stays byte for byte as it was.
TEST(FileGroup, APlantedOrDamagedJournalIsRefusedAndTouchesNothing)
{
    struct Case {
        const char* what;
        QByteArray journal;          // beside 2024.RGM
        QByteArray outsideJournal{}; // outside/x.dat.~GRUPPO, when the case needs one
        QByteArray temporary{};      // 2024.RGM's folder: the file the journal calls a temporary, when any
        const char* temporaryName = nullptr;
    };
    SharedFolders f;
    const QByteArray absoluteVictim = (f.outside + "/victim.dat").toUtf8();
    const QList<Case> cases{
        {"a file above the folder removed", sealedText("GRUPPO 1234abcd\n-\t../../../outside/victim.dat\n")},
        {"a file one folder up removed", sealedText("GRUPPO 1234abcd\n-\t../victim.dat\n")},
        {"an absolute path removed", sealedText("GRUPPO 1234abcd\n-\t" + absoluteVictim + "\n")},
        {"a backslash path removed", sealedText("GRUPPO 1234abcd\n-\t..\\..\\outside\\victim.dat\n")},
        {"a drive letter removed", sealedText("GRUPPO 1234abcd\n-\tC:victim.dat\n")},
        {"an outside file renamed over another",
            sealedText("GRUPPO 1234abcd\n../../outside/other.dat\t../../outside/victim.dat\n")},
        {"an outside temporary renamed over a register",
            sealedText("GRUPPO 1234abcd\n../../outside/victim.dat.~NUOVO~0123456789abcdef\t2024.RGM\n")},
        {"the next year's register as this one's temporary", sealedText("GRUPPO 5\n2025.RGM\t2024.RGM\n")},
        {"another file's temporary", sealedText("GRUPPO 5\n2025.RGM.~NUOVO~0123456789abcdef\t2024.RGM\n"), {},
            QByteArray(520, 't'), "2025.RGM.~NUOVO~0123456789abcdef"},
        {"a lock marker removed", sealedText("GRUPPO 5\n-\t2025.RGM$\n")},
        {"another journal removed", sealedText("GRUPPO 5\n-\t2025.RGM.~GRUPPO\n")},
        {"a cut journal naming a register as a temporary", "GRUPPO 9\n2025.RGM\t2024.RGM\n"},
        {"a cut journal naming an outside temporary", "GRUPPO 9\n../../outside/victim.dat\t2024.RGM\n"},
        {"a note pointing outside the folder", sealedText("RIMANDO 1\n../../outside/x.dat.~GRUPPO\n"),
            sealedText("GRUPPO 1\n-\tvictim.dat\n")},
        {"a note pointing at an absolute journal",
            sealedText("RIMANDO 1\n" + (f.outside + "/x.dat.~GRUPPO").toUtf8() + "\n"),
            sealedText("GRUPPO 1\n-\tvictim.dat\n")},
        {"a line that is no entry", sealedText("GRUPPO 5\n2024.RGM\n")},
        {"a first line that is no journal", sealedText("ELIMINA 5\n-\t2025.RGM\n")},
        {"an id that is no id", sealedText("GRUPPO ../x\n-\t2025.RGM\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString journal = FileGroup::journalMark(f.rgm2024);
        put(journal, c.journal);
        if (!c.outsideJournal.isEmpty())
            put(f.outside + "/x.dat.~GRUPPO", c.outsideJournal);
        if (c.temporaryName)
            put(f.registri + "/" + c.temporaryName, c.temporary);
        const QMap<QString, QByteArray> before = treeOf(f.root);
        try {
            FileLock lock(f.rgm2024, f.t.messenger);
            ADD_FAILURE() << "the lock was taken";
        } catch (const IoError& e) {
            EXPECT_EQ(e.text(),
                "IL FILE DI RIPRISTINO " + QDir::toNativeSeparators(journal)
                    + " E` DANNEGGIATO O NON E` STATO SCRITTO DA QUESTO PROGRAMMA: NESSUN FILE E` "
                      "STATO TOCCATO. FARLO CONTROLLARE PRIMA DI RIPETERE L'OPERAZIONE.");
        }
        EXPECT_EQ(treeOf(f.root), before);
        QFile::remove(journal);
        QFile::remove(f.outside + "/x.dat.~GRUPPO");
        if (c.temporaryName)
            QFile::remove(f.registri + "/" + c.temporaryName);
    }
}

// A report of receipt changes files of both data folders (its registers and the suppliers of
// DATI_GEN): such a change, interrupted after its journal was sealed, is still completed.
TEST(FileGroup, AChangeAcrossTheTwoDataFoldersIsCompleted)
{
    SharedFolders f;
    const QString suppliers = f.datiGen + "/INDIRIZZI_F.DAT";
    put(f.rgm2024 + ".~NUOVO~00000000000000aa", QByteArray(520, 'N'));
    put(suppliers + ".~NUOVO~00000000000000bb", QByteArray(608 * 2, 'S'));
    put(FileGroup::journalMark(f.rgm2024),
        sealedText("GRUPPO 5eed\n2024.RGM.~NUOVO~00000000000000aa\t2024.RGM\n"
                   "../DATI_GEN/INDIRIZZI_F.DAT.~NUOVO~00000000000000bb\t../DATI_GEN/INDIRIZZI_F.DAT\n"));
    put(FileGroup::journalMark(suppliers), sealedText("RIMANDO 5eed\n../REGISTRI/2024.RGM.~GRUPPO\n"));

    {
        FileLock lock(suppliers, f.t.messenger);
    }

    EXPECT_EQ(bytesOf(f.rgm2024), QByteArray(520, 'N'));
    EXPECT_EQ(bytesOf(suppliers), QByteArray(608 * 2, 'S'));
    EXPECT_EQ(filesIn(f.registri), (QStringList{"2024.RGM", "2024.RGM.BACKUP", "2025.RGM"}));
    EXPECT_EQ(filesIn(f.datiGen), QStringList{"INDIRIZZI_F.DAT"});

    // And written by the program itself, across the two folders: done, nothing left behind.
    FileGroup g({f.rgm2025, suppliers}, &f.t.messenger);
    g.run([&](FileGroup& gg) {
        gg.replace(f.rgm2025, 520, {QByteArray(520, '5')});
        gg.replace(suppliers, 608, {QByteArray(608, '6')});
    });
    EXPECT_EQ(bytesOf(f.rgm2025), QByteArray(520, '5'));
    EXPECT_EQ(bytesOf(suppliers), QByteArray(608, '6'));
}

// A change whose files could not be named from its journal (folders that are not the two data
// folders of one start folder) is refused before anything is written.
TEST(FileGroup, AChangeItsJournalCouldNotNameIsRefusedBeforeWriting)
{
    SharedFolders f;
    const QString elsewhere = f.outside + "/victim.dat";
    const QMap<QString, QByteArray> before = treeOf(f.root);
    FileGroup g({f.rgm2024, elsewhere}, nullptr);
    EXPECT_THROW(g.run([&](FileGroup& gg) {
        gg.replace(elsewhere, 5, {QByteArray("nuovo")});
        gg.replace(f.rgm2024, 520, {QByteArray(520, 'x')});
    }),
        IoError);
    EXPECT_EQ(treeOf(f.root), before);
}
