#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

#include "foundation/RecordFile.h"

using namespace vt;

namespace {
constexpr int Size = 64;
const QString helper = QStringLiteral(VT_PROC_HELPER);
} // namespace

TEST(Processes, TwoWritersThroughTheMarkerLockLoseAndDuplicateNothing)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("INDIRIZZI_D.DAT"));
    constexpr int each = 150;
    QProcess p1, p2;
    p1.start(helper, {QStringLiteral("insert"), path, QString::number(each), QStringLiteral("P")});
    p2.start(helper, {QStringLiteral("insert"), path, QString::number(each), QStringLiteral("Q")});
    ASSERT_TRUE(p1.waitForFinished(60000));
    ASSERT_TRUE(p2.waitForFinished(60000));
    ASSERT_EQ(p1.exitCode(), 0) << p1.readAllStandardError().constData();
    ASSERT_EQ(p2.exitCode(), 0) << p2.readAllStandardError().constData();

    const QList<QByteArray> all = RecordFile(path, Size).readAll();
    ASSERT_EQ(all.size(), 2 * each);
    QSet<QByteArray> keys;
    QSet<int> numbers;
    for (const QByteArray& r : all) {
        keys.insert(r.mid(4, 20));
        numbers.insert(RecordFile::numberOf(r));
    }
    EXPECT_EQ(keys.size(), 2 * each);
    EXPECT_EQ(numbers.size(), 2 * each); // each number given once: largest + 1 under the lock
    EXPECT_EQ(*std::max_element(numbers.begin(), numbers.end()), 2 * each);
    for (int i = 1; i < all.size(); ++i)
        EXPECT_LE(all[i - 1].mid(4, 20), all[i].mid(4, 20)) << "out of order at " << i;
    EXPECT_FALSE(QFile::exists(path + QLatin1Char('$')));
}

TEST(Processes, AWriterKilledInTheMiddleOfRewritesLeavesTheOldOrTheNewFileWhole)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("2026.RGM"));
    constexpr int records = 60000; // about 4 MB
    for (int attempt = 0; attempt < 4; ++attempt) {
        QProcess p;
        p.start(helper, {QStringLiteral("rewrite"), path, QString::number(records)});
        ASSERT_TRUE(p.waitForReadyRead(10000));
        // Let it run a few rewrites, then cut it off at a different moment each time.
        while (!QFileInfo::exists(path))
            QThread::msleep(5);
        QThread::msleep(60 + 37 * attempt);
        ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitStatus(), QProcess::CrashExit);

        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray content = f.readAll();
        ASSERT_EQ(content.size(), qsizetype(records) * Size) << "attempt " << attempt;
        const char first = content[0];
        EXPECT_TRUE(first == 'A' || first == 'B');
        EXPECT_EQ(content.count(first), content.size()) << "a torn file at attempt " << attempt;
    }
}
