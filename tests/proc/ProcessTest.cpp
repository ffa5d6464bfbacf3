#include <gtest/gtest.h>

#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QRandomGenerator>
#include <QThread>

#include <csignal>

#include "EadGenerations.h"
#include "foundation/FileGroup.h"
#include "foundation/FileLock.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "masterdata/health/DataCopy.h"
#include "messages/ead/EadStore.h"
#include "support/Fakes.h"

using namespace vt;

namespace {
constexpr int Size = 64;
const QString helper = QStringLiteral(VT_PROC_HELPER);

// Every file in a folder that is not a data file: temporaries, journals, markers.
QStringList debris(const QString& folder, const QStringList& dataFiles)
{
    QStringList out = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& f : dataFiles)
        out.removeAll(f);
    return out;
}
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
    int leftBehind = 0;
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

        // The next holder of the lock removes what the cut-off rewrite left beside the file.
        if (!debris(dir.path(), {QStringLiteral("2026.RGM")}).isEmpty())
            ++leftBehind;
        {
            test::FakeMessenger next;
            next.defaultAnswer = true; // the marker of the killed writer is stale: override it
            FileLock lock(path, next);
        }
        EXPECT_EQ(debris(dir.path(), {QStringLiteral("2026.RGM")}), QStringList()) << "attempt " << attempt;
    }
    EXPECT_GT(leftBehind, 0) << "no kill fell inside a rewrite";
}

namespace {
// What is wrong with the e-AD of the crash test, or nothing when it is whole: one header, of
// generation `saved` or the next one, in the year of that generation, and exactly the lines of
// that generation, all with its progressive. The generation found goes to `generation`.
QString eadFault(const AppContext& ctx, int saved, int* generation)
{
    namespace gen = test::generations;
    const QStringList years{QStringLiteral("2026"), QStringLiteral("2027")};
    QList<TRecEad> headers;
    QString year;
    for (const QString& y : years)
        for (const TRecEad& h : readHeaders(eadfiles::headers(ctx, y))) {
            headers << h;
            year = y;
        }
    if (headers.size() != 1)
        return QStringLiteral("%1 headers").arg(headers.size());
    const TRecEad& h = headers.first();
    const int g = trimField(h.NUMFAT).mid(4).toInt();
    *generation = g;
    if (g != saved && g != saved + 1)
        return QStringLiteral("generation %1 after %2 saved").arg(g).arg(saved);
    if (year.toInt() != gen::yearOf(g) || h.progressivoRif != h.progressivo)
        return QStringLiteral("header of generation %1 in %2").arg(g).arg(year);
    QList<TRecDettaglio> transport, products;
    for (const QString& y : years) {
        transport << readLines(eadfiles::transport(ctx, y));
        products << readLines(eadfiles::products(ctx, y));
    }
    if (transport.size() != gen::transportCount(g) || products.size() != gen::productCount(g))
        return QStringLiteral("%1 transport and %2 product lines for generation %3")
            .arg(transport.size())
            .arg(products.size())
            .arg(g);
    for (int k = 0; k < transport.size(); ++k)
        if (transport[k].progressivo != h.progressivo || trimField(transport[k].SIGTRA()) != gen::transportText(g, k + 1))
            return QStringLiteral("transport line %1 not of generation %2").arg(k + 1).arg(g);
    for (int k = 0; k < products.size(); ++k)
        if (products[k].progressivo != h.progressivo || trimField(products[k].LEDEPR) != gen::productText(g, k + 1))
            return QStringLiteral("product line %1 not of generation %2").arg(k + 1).arg(g);
    if (readLines(eadfiles::transport(ctx, year)).size() != transport.size()
        || readLines(eadfiles::products(ctx, year)).size() != products.size())
        return QStringLiteral("lines of generation %1 outside %2").arg(g).arg(year);
    return {};
}
} // namespace

// Modifying an e-AD rewrites up to six files. A copy of the program killed at any moment of a
// modification leaves the e-AD, once the next copy has taken the lock on any one of its files,
// whole in its old form or in its new one: one header, exactly its own lines, all of one
// generation; and nothing else behind.
TEST(Processes, AnEadModifiedByACopyKilledAtRandomIsWholeInItsOldOrNewForm)
{
    namespace gen = test::generations;
    test::TestContext t;
    t.ctx.CompanyRecord.CACCI1 = QStringLiteral("IT00FIT00012S");
    test::writeWorkFiles(t.ctx, gen::transportLines(0), gen::productLines(0));
    saveEad(t.ctx, gen::header(0), QString());
    const QString childTemp = t.path(QStringLiteral("childtemp"));
    const QStringList years{QStringLiteral("2026"), QStringLiteral("2027")};
    QStringList dataFiles;
    for (const QString& y : years)
        dataFiles << y + "_815_A.DAT" << y + "_815_I.DAT" << y + "_815_C.DAT";

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    int saved = 0, recovered = 0, tornUntilLocked = 0;
    qint64 spread = 0; // microseconds over which the kills are spread: about one and a half modifications
    constexpr int kills = 110;
    for (int kill = 0; kill < kills; ++kill) {
        SCOPED_TRACE(testing::Message() << "kill " << kill << ", seed " << seed);
        QProcess child;
        child.start(helper, {QStringLiteral("modify"), t.ctx.StartFolder, childTemp});
        ASSERT_TRUE(child.waitForReadyRead(10000));
        if (kill == 0) {
            // The first run measures how long a modification takes on this machine.
            QElapsedTimer clock;
            clock.start();
            while (child.peek(1 << 16).count("saved") < 3 && child.waitForReadyRead(10000)) {
            }
            spread = std::max<qint64>(clock.nsecsElapsed() / 2000, 5000); // three saves: spread over one and a half
        } else {
            QThread::usleep(random.bounded(qint64(0), spread));
        }
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardError().constData();
        const QList<QByteArray> out = child.readAllStandardOutput().split('\n');
        for (const QByteArray& line : out)
            if (line.startsWith("saved "))
                saved = line.mid(6).toInt();

        if (!debris(t.ctx.RegistriFolder, dataFiles).isEmpty())
            ++recovered;
        int unused = 0;
        if (!eadFault(t.ctx, saved, &unused).isEmpty())
            ++tornUntilLocked; // what the files hold when nobody completes the interrupted change
        // The next copy locks one file of the e-AD as last saved (a file every modification of it
        // changes), overriding the killed copy's marker.
        const QString oldYear = QString::number(gen::yearOf(saved));
        const QString first = QStringList{eadfiles::headers(t.ctx, oldYear), eadfiles::transport(t.ctx, oldYear),
                                          eadfiles::products(t.ctx, oldYear)}[random.bounded(3)];
        {
            test::FakeMessenger next;
            next.defaultAnswer = true;
            FileLock lock(first, next);

            int g = 0;
            ASSERT_EQ(eadFault(t.ctx, saved, &g), QString());
            saved = g; // a modification decided before the kill has just been completed
        }
        // Every other stale marker overridden and released: nothing but the data files is left.
        {
            test::FakeMessenger next;
            next.defaultAnswer = true;
            QStringList all;
            for (const QString& f : dataFiles)
                all << QDir(t.ctx.RegistriFolder).filePath(f);
            FileGroup everything(all, &next);
        }
        ASSERT_EQ(debris(t.ctx.RegistriFolder, dataFiles), QStringList());
    }
    // The kills fell inside modifications, and modifications went on between them (loosely: the
    // pace of a loaded machine changes while the test runs).
    EXPECT_GT(recovered, 0);
    EXPECT_GT(saved, kills / 10);
    std::printf("%d kills over %lld ms each, %d generations saved, %d left something to recover, %d left the "
                "e-AD torn until the next lock\n",
                kills, spread / 1000, saved, recovered, tornUntilLocked);
}

// A restore killed part-way (at each of its steps, and at random moments) leaves, once the next
// start of the program has dealt with it, the old data or the copy's, whole; nothing else.
TEST(Processes, ARestoreKilledPartWayLeavesTheOldOrTheNewDataWhole)
{
    QTemporaryDir dir;
    const QString start = dir.filePath(QStringLiteral("start"));
    auto put = [&](const QString& rel, const QByteArray& content) {
        const QString path = QDir(start).filePath(rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
    };
    auto data = [&] {
        QMap<QString, QByteArray> s;
        for (const char* folder : {"DATI_GEN", "REGISTRI"}) {
            QDir d(QDir(start).filePath(QLatin1String(folder)));
            for (const QString& n : d.entryList(QDir::Files | QDir::Hidden)) {
                if (n.endsWith(QLatin1Char('$')))
                    continue; // the markers a killed process held are the usual stale ones
                QFile f(d.filePath(n));
                f.open(QIODevice::ReadOnly);
                s.insert(QLatin1String(folder) + QLatin1Char('/') + n, f.readAll());
            }
        }
        return s;
    };
    auto setOld = [&] {
        QDir(start).removeRecursively();
        put(QStringLiteral("DATI_GEN/T001.TAB"), QByteArray(5304 * 20, 'o'));
        for (int y = 2020; y < 2027; ++y)
            put(QStringLiteral("REGISTRI/%1.RGM").arg(y), QByteArray(520 * 500, char('0' + y % 10)));
    };
    // The copy: other contents, one file fewer, one more.
    setOld();
    put(QStringLiteral("DATI_GEN/T001.TAB"), QByteArray(5304 * 20, 'n'));
    QFile::remove(QDir(start).filePath(QStringLiteral("REGISTRI/2020.RGM")));
    put(QStringLiteral("REGISTRI/2027.RGM"), QByteArray(520 * 500, 'n'));
    const auto copy = data();
    test::FakeMessenger m;
    const QString zip = dir.filePath(QStringLiteral("copia.zip"));
    health::saveCopy(start, zip, QDateTime::currentDateTime(), m);
    setOld();
    const auto old = data();

    const QStringList stops{QStringLiteral("estratto"), QStringLiteral("deciso"), QStringLiteral("spostato"),
                            QStringLiteral("sostituito"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
                            QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")};
    int asNew = 0, asOld = 0;
    for (int i = 0; i < stops.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "run " << i << " stopping at " << stops[i].toStdString());
        QProcess child;
        child.start(helper, {QStringLiteral("restore"), start, zip, dir.filePath(QStringLiteral("prima%1.zip").arg(i)), stops[i]});
        ASSERT_TRUE(child.waitForReadyRead(10000));
        if (stops[i] != QLatin1String("-")) {
            while (!child.peek(1 << 12).contains("at ") && child.waitForReadyRead(10000)) {
            }
            ASSERT_TRUE(child.peek(1 << 12).contains("at " + stops[i].toLatin1()));
        } else {
            QThread::usleep(QRandomGenerator::global()->bounded(2000, 120000));
        }
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(10000));

        health::completeInterruptedRestore(start); // what the next start of the program does
        const auto now = data();
        if (now == copy)
            ++asNew;
        else if (now == old)
            ++asOld;
        else
            ADD_FAILURE() << "the data are neither the old ones nor the copy's";
        EXPECT_TRUE(health::restoreLeftovers(start).isEmpty());
        setOld();
    }
    EXPECT_GE(asNew, 3); // every stop from the decision on
    EXPECT_GE(asOld, 1);
}
