// Record-file operations on files of 520-byte records (the register's size), against two
// yardsticks: a plain sequential read of the same file (for the lookups), and an atomic rewrite of
// the same file (for the operations that rewrite it): write a temporary beside it, flush it to the
// device, rename it over the file. That is the least any crash-safe rewrite costs; insert in
// order and delete by filter should stay within 1.5 times it.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <memory>

#include "foundation/RecordFile.h"
#include "foundation/Services.h"

namespace {
constexpr int Size = 520;

class NoOne : public vt::Messenger {
public:
    void info(const QString&) override {}
    bool askYesNo(const QString&) override { return true; }
    bool askOkCancel(const QString&) override { return true; }
    void beep() override {}
};

QByteArray record(int number, int key)
{
    QByteArray r(Size, ' ');
    qToLittleEndian<qint32>(number, r.data());
    const QByteArray k = QByteArray::number(key).rightJustified(10, '0');
    r.replace(4, k.size(), k);
    return r;
}
QByteArray keyOf(const QByteArray& r)
{
    return r.mid(4, 10);
}

// One file per size, made once: records numbered 1..n with keys 0, 2, 4, ... in order.
QString fileOf(int n)
{
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    auto it = made.find(n);
    if (it != made.end())
        return it->second;
    const QString path = dir.filePath(QStringLiteral("BENCH_%1.RGM").arg(n));
    QByteArray all;
    all.reserve(qsizetype(n) * Size);
    for (int i = 0; i < n; ++i)
        all.append(record(i + 1, 2 * i));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(all);
    f.close();
    made[n] = path;
    return path;
}

void PlainRead(benchmark::State& state)
{
    const QString path = fileOf(int(state.range(0)));
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QByteArray all = f.readAll();
        benchmark::DoNotOptimize(all.data());
    }
}

// The floor of a crash-safe rewrite of the file, written without the program's own code.
void AtomicRewrite(benchmark::State& state)
{
    const QString path = fileOf(int(state.range(0)));
    QByteArray content;
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        content = f.readAll();
    }
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temp = target + ".yardstick";
    for (auto _ : state) {
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, content.constData(), size_t(content.size())) != content.size() || ::fsync(fd) != 0
            || ::close(fd) != 0 || ::rename(temp.constData(), target.constData()) != 0) {
            state.SkipWithError("rewrite failed");
            break;
        }
    }
}

void DeleteByNumber(benchmark::State& state)
{
    const int n = int(state.range(0));
    NoOne user;
    vt::RecordFile file(fileOf(n), Size, &user);
    const QByteArray victim = record(n + 1, 1);
    for (auto _ : state) {
        state.PauseTiming();
        file.append(victim);
        state.ResumeTiming();
        file.deleteByNumber(n + 1);
    }
}

void FindByKey(benchmark::State& state)
{
    const int n = int(state.range(0));
    vt::RecordFile file(fileOf(n), Size);
    const QByteArray wanted = keyOf(record(0, 2 * (n - 1))); // the last record: a full scan
    for (auto _ : state) {
        auto found = file.findFirst([&](const QByteArray& r) { return std::memcmp(r.constData() + 4, wanted.constData(), 10) == 0; });
        benchmark::DoNotOptimize(found);
    }
}

void InsertInOrder(benchmark::State& state)
{
    const int n = int(state.range(0));
    NoOne user;
    vt::RecordFile file(fileOf(n), Size, &user);
    int key = n; // odd keys land in the middle of the file
    for (auto _ : state) {
        file.insertInOrder(record(0, key | 1), keyOf);
        state.PauseTiming();
        file.deleteByNumber(file.maxNumber()); // back to n records
        state.ResumeTiming();
        key += 2;
    }
}

void DeleteByFilter(benchmark::State& state)
{
    const int n = int(state.range(0));
    NoOne user;
    vt::RecordFile file(fileOf(n), Size, &user);
    const QByteArray victim = record(n + 1, 1);
    for (auto _ : state) {
        state.PauseTiming();
        file.append(victim);
        state.ResumeTiming();
        file.deleteByFilter([&](const QByteArray& r) { return vt::RecordFile::numberOf(r) == n + 1; });
    }
}

BENCHMARK(PlainRead)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FindByKey)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(AtomicRewrite)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(InsertInOrder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(DeleteByFilter)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(DeleteByNumber)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
