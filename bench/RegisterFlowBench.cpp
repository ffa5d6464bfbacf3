// The register flow of a year of 10,000 movements and 250 guarantee days: building its list, and
// writing the flow of every record with the marking, against a plain read of the two files.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "BenchServices.h"
#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "register/flow/RegisterFlow.h"
#include "register/store/RegisterStore.h"

namespace {

using vtbench::FixedDay;
using vtbench::NoDialogs;
using vtbench::NoShell;
using vtbench::Quiet;


constexpr int kMovements = 10000;
constexpr int kDays = 250;

double dayOf(int i)
{
    return vt::dates::fromDate(QDate(2027, 1, 1).addDays(i));
}

// Unloads by e-AD committing 10,00 each (40 a day), with one guarantee day each day.
struct Year {
    QTemporaryDir dir;
    QByteArray rgm, gar;
    Quiet quiet;
    FixedDay today{QDate(2027, 12, 31)};
    NoShell shell;
    NoDialogs dialogs;
    vt::AppContext ctx{vt::Services{quiet, today, shell, dialogs}};

    Year()
    {
        ctx.setFolders(dir.filePath(QStringLiteral("start")), dir.filePath(QStringLiteral("temp")));
        QDir().mkpath(ctx.RegistriFolder);
        QDir().mkpath(dir.filePath(QStringLiteral("dafirmare")));
        ctx.AppConfig.Fld[1] = dir.filePath(QStringLiteral("dafirmare"));
        ctx.AppConfig.Fld[2] = dir.filePath(QStringLiteral("firmati"));
        ctx.CompanyRecord.CACCI1 = QStringLiteral("IT00ABC00123X");
        ctx.CompanyRecord.CODUTE = QStringLiteral("ABCD");
        ctx.CompanyRecord.PARIVA = QStringLiteral("01234567890");
        for (int i = 0; i < kMovements; ++i) {
            vt::TRecMovimento r = vt::blankRegisterRecord();
            r.numero = i + 1;
            r.progressivo = i + 1;
            r.registro = QStringLiteral("C");
            r.operazione = QStringLiteral("I");
            r.tipoMovimento = QStringLiteral("S");
            r.data = dayOf(i * kDays / kMovements);
            r.tipoDocumento = QStringLiteral("EAD");
            r.numeroDocumento = QStringLiteral("27IT%1").arg(i, 17, 10, QLatin1Char('0'));
            r.codiceProdotto = QStringLiteral("W200-22042138-00-0000");
            r.litri = 100;
            r.grado = 12.5;
            r.garanzia = 10;
            r.progressivoEad = 1;
            r.progressivoDettaglio = 1;
            rgm += vt::encodeRegisterRecord(r);
        }
        for (int d = 0; d < kDays; ++d) {
            vt::TRecGaranzia g = vt::blankRegisterRecord();
            g.numero = d + 1;
            g.registro = QStringLiteral("F");
            g.operazione = QStringLiteral("I");
            g.data = dayOf(d);
            g.impegnato() = 10.0 * (kMovements / kDays);
            g.nuovaCauzione() = 400;
            gar += vt::encodeRegisterRecord(g);
        }
        reset();
    }

    void reset()
    {
        for (auto [path, bytes] : {std::pair{vt::registerfiles::movements(ctx, 2027), &rgm},
                 std::pair{vt::registerfiles::guarantees(ctx, 2027), &gar}}) {
            QFile f(path);
            f.open(QIODevice::WriteOnly | QIODevice::Truncate);
            f.write(*bytes);
        }
        QDir(ctx.AppConfig.Fld[1]).removeRecursively();
        QDir().mkpath(ctx.AppConfig.Fld[1]);
    }
};

Year& year()
{
    static Year y;
    return y;
}

void PlainReadOfBothFiles(benchmark::State& state)
{
    Year& y = year();
    for (auto _ : state)
        for (const QString& path :
            {vt::registerfiles::movements(y.ctx, 2027), vt::registerfiles::guarantees(y.ctx, 2027)}) {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            QByteArray all = f.readAll();
            benchmark::DoNotOptimize(all.data());
        }
}

void BuildFlowList(benchmark::State& state)
{
    Year& y = year();
    for (auto _ : state) {
        const vt::RegisterFlowList list = vt::buildRegisterFlowList(y.ctx, 2027);
        if (list.records.size() != kMovements + kDays)
            state.SkipWithError("not every record was listed");
    }
}

void WriteFlowOfTheYear(benchmark::State& state)
{
    Year& y = year();
    const vt::RegisterFlowList list = vt::buildRegisterFlowList(y.ctx, 2027);
    QList<int> all;
    for (int i = 0; i < list.records.size(); ++i)
        all << i;
    if (all.isEmpty()) {
        state.SkipWithError("nothing listed");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        y.reset();
        vt::RegisterFlowRequest rq = vt::registerFlowRequest(list, all);
        rq.flowDate = QDate(2027, 12, 31);
        rq.flowNumber = 1;
        rq.flowName = QStringLiteral("ABCD1231.C01");
        state.ResumeTiming();
        vt::writeRegisterFlow(y.ctx, rq);
    }
}

BENCHMARK(PlainReadOfBothFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildFlowList)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteFlowOfTheYear)->Unit(benchmark::kMillisecond);

} // namespace
