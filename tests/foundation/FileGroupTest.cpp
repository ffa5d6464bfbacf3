#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "foundation/FileGroup.h"
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
