// Saving a copy of the data (ZIP with manifest, SHA-256 of every file, read
// back to check it) against the plainest copy of the same files: `cp -r`. The
// data are a year of a busy warehouse: 10,000 register movements, 2,000 e-ADs
// with one transport line and two product lines each, a guarantee day for every
// day, and the code tables. The counter ratio_vs_cp is the time of a save over
// the time of `cp -r` (goal: within 3).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#include "foundation/CompanyRecord.h"
#include "foundation/Dates.h"
#include "foundation/EadRecord.h"
#include "foundation/RegisterRecord.h"
#include "foundation/Services.h"
#include "masterdata/health/DataCopy.h"

namespace {

class NoOne : public vt::Messenger {
public:
  void info(const QString &) override {}
  bool askYesNo(const QString &) override { return true; }
  bool askOkCancel(const QString &) override { return true; }
  void beep() override {}
};

void write(const QString &path, const QByteArray &content) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  f.write(content);
}

// The data set, written once per run.
QString makeData(const QString &folder) {
  const QDir s(folder);
  const double first = vt::dates::fromDate(QDate(2026, 1, 1));
  vt::TRecAzienda company = vt::blankCompany();
  company.CODUTE = QStringLiteral("AB12");
  company.DENOM1 =
      QStringLiteral("CANTINA SOCIALE DI PROVA SOC. COOP. AGRICOLA");
  write(s.filePath(QStringLiteral("DATI_GEN/UTENTE.001")),
        vt::encodeCompany(company));
  for (const char *t :
       {"T001", "T004", "T005", "T007", "T008", "T009",  "T010",
        "T011", "T015", "T016", "T018", "T019", "T020",  "T023",
        "T025", "T027", "TA03", "TA05", "TA20", "TA21C", "TA21S"}) {
    QByteArray rows;
    for (int i = 0; i < 60; ++i) {
      QByteArray row(5304, '\0');
      for (int f = 0; f < 10; ++f) {
        row[4 + 251 * f] = char(250);
        row.replace(5 + 251 * f, 250, QByteArray(250, ' '));
        const QByteArray v =
            QStringLiteral("CODICE %1 DESCRIZIONE DELLA VOCE %2")
                .arg(i)
                .arg(f)
                .toLatin1();
        row.replace(5 + 251 * f, v.size(), v);
      }
      rows += row;
    }
    write(s.filePath(QStringLiteral("DATI_GEN/%1.TAB").arg(QLatin1String(t))),
          rows);
  }
  QByteArray rgm;
  for (int i = 1; i <= 10000; ++i) {
    vt::TRecMovimento r = vt::blankRegisterRecord();
    r.numero = i;
    r.progressivo = i;
    r.data = first + (i - 1) * 365 / 10000;
    r.registro = QStringLiteral("C");
    r.operazione = QStringLiteral("I");
    r.tipoMovimento = i % 3 ? QStringLiteral("S") : QStringLiteral("C");
    r.prodottoAziendale = QStringLiteral("ROSSO%1").arg(i % 40);
    r.codiceProdotto = QStringLiteral("W200-22042138-00-0000");
    r.litri = 1000 + i % 977;
    r.grado = 12.5;
    r.garanzia = (1000 + i % 977) * 0.1;
    r.tipoDocumento = QStringLiteral("EAD");
    r.numeroDocumento =
        QStringLiteral("26IT%1").arg(i, 17, 10, QLatin1Char('0'));
    r.controparte =
        QStringLiteral("DE%1").arg(i % 500, 11, 10, QLatin1Char('0'));
    r.nota = i % 7 ? QString()
                   : QStringLiteral("CONSEGNA PARZIALE, RESTO IN SETTIMANA");
    rgm += vt::encodeRegisterRecord(r);
  }
  write(s.filePath(QStringLiteral("REGISTRI/2026.RGM")), rgm);
  QByteArray gar;
  for (int d = 0; d < 365; ++d) {
    vt::TRecGaranzia g = vt::blankRegisterRecord();
    g.numero = d + 1;
    g.data = first + d;
    g.registro = QStringLiteral("F");
    g.disponibile() = 100000 - d;
    gar += vt::encodeRegisterRecord(g);
  }
  write(s.filePath(QStringLiteral("REGISTRI/2026.GAR")), gar);
  QByteArray heads, transport, products;
  for (int e = 1; e <= 2000; ++e) {
    vt::TRecEad h = vt::blankEad();
    h.progressivo = e;
    h.progressivoRif = e;
    h.DATSPE = first + (e - 1) * 365 / 2000;
    h.stato = QStringLiteral("I");
    h.ARC = QStringLiteral("26IT%1").arg(e, 17, 10, QLatin1Char('0'));
    h.denominazioneSpeditore = company.DENOM1;
    h.DENDES = QStringLiteral("WEINHANDEL NUMMER %1 GMBH").arg(e % 500);
    h.INDDES = QStringLiteral("HAUPTSTRASSE");
    h.CITDES = QStringLiteral("MUENCHEN");
    h.NUMFAT = QStringLiteral("FATT. %1/2026").arg(e);
    heads += vt::encodeEad(h);
    vt::TRecDettaglio t = vt::blankLine();
    t.numero = e;
    t.progressivo = e;
    t.COAZPR = QStringLiteral("SIGILLO %1").arg(e);
    t.META20 = QStringLiteral("AB%1CD").arg(e % 1000, 3, 10, QLatin1Char('0'));
    transport += vt::encodeLine(t);
    for (int p = 0; p < 2; ++p) {
      vt::TRecDettaglio l = vt::blankLine();
      l.numero = 2 * e + p - 1;
      l.progressivo = e;
      l.rigaProdotto = p + 1;
      l.COAZPR = QStringLiteral("ROSSO%1").arg(e % 40);
      l.LEDEPR = QStringLiteral("VINO ROSSO DOC IN BOTTIGLIE DA 0,75");
      l.META20 = QStringLiteral("W200-22042138-00-0000");
      l.TOTLIT = 750;
      l.GRADOA = 13;
      products += vt::encodeLine(l);
    }
  }
  write(s.filePath(QStringLiteral("REGISTRI/2026_815_A.DAT")), heads);
  write(s.filePath(QStringLiteral("REGISTRI/2026_815_I.DAT")), transport);
  write(s.filePath(QStringLiteral("REGISTRI/2026_815_C.DAT")), products);
  return folder;
}

QString dataFolder() {
  static QTemporaryDir dir;
  static const QString made = makeData(dir.path());
  return made;
}

double cpSeconds(const QString &from, const QString &to) {
  QDir(to).removeRecursively();
  QElapsedTimer t;
  t.start();
  QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), from, to});
  return t.nsecsElapsed() / 1e9;
}

void CopyWithCp(benchmark::State &state) {
  const QString data = dataFolder();
  QTemporaryDir out;
  const QString to = QDir(out.path()).filePath(QStringLiteral("copia"));
  for (auto _ : state) {
    state.PauseTiming();
    QDir(to).removeRecursively();
    state.ResumeTiming();
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), data, to});
  }
}

void SaveCopy(benchmark::State &state) {
  const QString data = dataFolder();
  QTemporaryDir out;
  NoOne messenger;
  // The yardstick: the best of a few `cp -r` of the same folder.
  std::vector<double> cp;
  for (int i = 0; i < 5; ++i)
    cp.push_back(
        cpSeconds(data, QDir(out.path()).filePath(QStringLiteral("cp"))));
  const double best = *std::min_element(cp.begin(), cp.end());
  double total = 0;
  int runs = 0;
  const QString zip = QDir(out.path()).filePath(QStringLiteral("copia.zip"));
  for (auto _ : state) {
    QElapsedTimer t;
    t.start();
    vt::health::saveCopy(data, zip, QDateTime::currentDateTime(), messenger);
    total += t.nsecsElapsed() / 1e9;
    ++runs;
  }
  state.counters["ratio_vs_cp"] = runs ? total / runs / best : 0;
  state.counters["zip_MB"] = QFileInfo(zip).size() / 1e6;
}

BENCHMARK(CopyWithCp)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveCopy)->Unit(benchmark::kMillisecond);
} // namespace
