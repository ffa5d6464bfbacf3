#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "foundation/RecordFile.h"
#include "foundation/Startup.h"
#include "support/Fakes.h"

using namespace vt;

TEST(Startup, FirstStartInAnEmptyFolder)
{
    QTemporaryDir dir;
    test::FakeMessenger m;
    test::FakeClock c;
    test::FakeShell s;
    test::FakeFileDialogs d;
    AppContext ctx(Services{m, c, s, d});
    const QString start = QDir(dir.path()).filePath(QStringLiteral("azienda"));
    runStartup(ctx, start, QDir(dir.path()).filePath(QStringLiteral("TEMP_KALDOR")));
    EXPECT_TRUE(QFileInfo(QDir(start).filePath(QStringLiteral("DATI_GEN"))).isDir());
    EXPECT_TRUE(QFileInfo(QDir(start).filePath(QStringLiteral("REGISTRI"))).isDir());
    EXPECT_TRUE(QFileInfo(ctx.TempFolder).isDir());
    EXPECT_EQ(ctx.StartFolder, QDir(start).absolutePath());

    QFile u(ctx.datiGen(QStringLiteral("UTENTE.001")));
    ASSERT_TRUE(u.open(QIODevice::ReadOnly));
    const QByteArray bytes = u.readAll();
    ASSERT_EQ(bytes.size(), 608);
    EXPECT_EQ(RecordFile::numberOf(bytes), 0);
    // Slot 42 is blank-filled: length byte 100, then 100 spaces.
    EXPECT_EQ(quint8(bytes[42]), 100);
    EXPECT_EQ(bytes.mid(43, 100), QByteArray(100, ' '));
    EXPECT_EQ(quint8(bytes[603]), 1);
    EXPECT_EQ(bytes[604], ' ');

    // A second start reads it back and leaves it alone.
    runStartup(ctx, start, ctx.TempFolder);
    EXPECT_EQ(QFileInfo(u.fileName()).size(), 608);
    EXPECT_TRUE(m.all.isEmpty());
}

TEST(Startup, AFolderThatCannotBeCreatedStopsTheRest)
{
    QTemporaryDir dir;
    test::FakeMessenger m;
    test::FakeClock c;
    test::FakeShell s;
    test::FakeFileDialogs d;
    AppContext ctx(Services{m, c, s, d});
    // The start folder is a plain file: nothing can be made below it.
    const QString start = QDir(dir.path()).filePath(QStringLiteral("file"));
    QFile(start).open(QIODevice::WriteOnly);
    EXPECT_THROW(runStartup(ctx, start, QDir(dir.path()).filePath(QStringLiteral("T"))), IoError);
    EXPECT_FALSE(QFile::exists(QDir(start).filePath(QStringLiteral("DATI_GEN/UTENTE.001"))));
}

TEST(Startup, AboutBoxShowsTheDateOfTheProgramFile)
{
    QTemporaryDir dir;
    const QString p = QDir(dir.path()).filePath(QStringLiteral("prog"));
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.setFileTime(QDateTime(QDate(2025, 3, 7), QTime(12, 0)), QFileDevice::FileModificationTime);
    f.close();
    EXPECT_EQ(lastUpdateText(p), QStringLiteral("ultimo aggiornamento: 07/03/2025"));
}
