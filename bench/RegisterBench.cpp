// The register store on a year of 10,000 movements: inserting a movement in date order and
// finding one by `numero`, against a plain read of the same file and an atomic rewrite of it
// (write, flush to disk, rename) -- the two floors the operations cannot go below.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "foundation/Services.h"
#include "register/store/RegisterStore.h"

namespace {
constexpr int kYear = 10000;

class Nobody : public vt::Messenger {
public:
    void info(const QString&) override {}
    bool askYesNo(const QString&) override { return true; }
    bool askOkCancel(const QString&) override { return true; }
    void beep() override {}
};

vt::TRecMovimento movement(int numero, int dayOfYear, bool load)
{
    vt::TRecMovimento r = vt::blankRegisterRecord();
    r.numero = numero;
    r.progressivo = numero;
    r.registro = QStringLiteral("C");
    r.operazione = QStringLiteral("I");
    r.tipoMovimento = load ? QStringLiteral("C") : QStringLiteral("S");
    r.data = vt::dates::fromDate(QDate(2027, 1, 1).addDays(dayOfYear));
    r.tipoDocumento = QStringLiteral("DAA");
    r.numeroDocumento = QStringLiteral("DOC%1").arg(numero);
    r.codiceProdotto = QStringLiteral("W200-22042138-00-0000");
    r.litri = 100 + numero % 900;
    r.grado = 12.5;
    r.nota = QStringLiteral("movimento di prova");
    return r;
}

// A year of 10,000 movements in register order (about 27 a day), made once.
const QByteArray& yearBytes()
{
    static const QByteArray bytes = [] {
        QByteArray all;
        all.reserve(qsizetype(kYear) * vt::TRecMovimento::Size);
        for (int i = 0; i < kYear; ++i)
            all += vt::encodeRegisterRecord(movement(i + 1, i * 365 / kYear, i % 3 != 2));
        return all;
    }();
    return bytes;
}

QString freshYear(QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("2027.RGM"));
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(yearBytes());
    return path;
}

void RegisterPlainRead(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = freshYear(dir);
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QByteArray all = f.readAll();
        benchmark::DoNotOptimize(all.data());
    }
}

void RegisterAtomicRewrite(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = freshYear(dir);
    for (auto _ : state) {
        QSaveFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(yearBytes());
        f.commit();
    }
}

void RegisterInsertInDateOrder(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = freshYear(dir);
    Nobody user;
    int day = 0;
    for (auto _ : state) {
        vt::TRecMovimento n = movement(0, day, true); // a load: before the unloads of its day
        vt::InsertRegisterRecord(n, path, user); // the year grows by a few records at most
        day = (day + 37) % 365;
    }
}

void RegisterFindByNumero(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = freshYear(dir);
    int numero = kYear;
    for (auto _ : state) {
        auto found = vt::findRegisterRecord(path, numero);
        benchmark::DoNotOptimize(found);
        numero = numero == 1 ? kYear : numero - 1;
    }
}

BENCHMARK(RegisterPlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(RegisterAtomicRewrite)->Unit(benchmark::kMillisecond);
BENCHMARK(RegisterInsertInDateOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(RegisterFindByNumero)->Unit(benchmark::kMillisecond);
} // namespace
