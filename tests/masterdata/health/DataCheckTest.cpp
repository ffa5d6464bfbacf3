// The health check of a data folder: a fresh start folder gives nothing; a
// folder with one fault of each kind gives each finding once, where it is.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "foundation/AtomicFile.h"
#include "foundation/CompanyRecord.h"
#include "foundation/Dates.h"
#include "foundation/EadRecord.h"
#include "foundation/RegisterRecord.h"
#include "foundation/Startup.h"
#include "masterdata/health/DataCheck.h"
#include "support/Fakes.h"

namespace vt {
namespace {

using health::checkFolder;
using health::Finding;

double day(int y, int m, int d) { return dates::fromDate(QDate(y, m, d)); }

void write(const QString &path, const QList<QByteArray> &records) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  for (const QByteArray &r : records)
    f.write(r);
}

QByteArray ead(int progressive, const QString &state = QStringLiteral(" ")) {
  TRecEad h = blankEad();
  h.progressivo = progressive;
  h.progressivoRif = progressive;
  h.stato = state;
  h.DATSPE = day(2026, 3, 1);
  return encodeEad(h);
}

// A yearly line (transport or product) with its serial and the e-AD (or
// message) it belongs to.
QByteArray line(int serial, int owner) {
  TRecDettaglio l = blankLine();
  l.numero = serial;
  l.progressivo = owner;
  return encodeLine(l);
}

TRecMovimento movement(int numero, double date, const char *tipo,
                       int progressivo, bool sent) {
  TRecMovimento r = blankRegisterRecord();
  r.numero = numero;
  r.data = date;
  r.registro = QStringLiteral("C");
  r.operazione = QStringLiteral("I");
  r.tipoMovimento = QString::fromLatin1(tipo);
  r.progressivo = progressivo;
  if (sent) {
    r.dataFlusso = date;
    r.numeroFlusso = 1;
  }
  return r;
}

TRecGaranzia guaranteeDay(int numero, double date, double committed,
                          double deposit, double available) {
  TRecGaranzia g = blankRegisterRecord();
  g.numero = numero;
  g.data = date;
  g.registro = QStringLiteral("F");
  g.operazione = QStringLiteral("I");
  g.progressivo = numero;
  g.impegnato() = committed;
  g.nuovaCauzione() = deposit;
  g.disponibile() = available;
  return g;
}

// The story of the fixture: a warehouse with two e-ADs of 2026 (the first
// accepted and then cancelled, then its destination changed), a register of
// 2026 whose first load was rectified (cancellation and replacement), a
// guarantee deposit of 500 in February over a carry-over of 1000, and an unload
// of March that commits 100. Into it, one fault of each kind.
void writeFixture(const QString &start) {
  const QDir s(start);
  const QString gen = s.filePath(QStringLiteral("DATI_GEN/"));
  const QString reg = s.filePath(QStringLiteral("REGISTRI/"));

  // Company: the length byte of DENOM1 (offset 42, width 100) says 101.
  QByteArray company = encodeCompany(blankCompany());
  company[42] = char(101);
  write(gen + QStringLiteral("UTENTE.001"), {company});
  write(gen + QStringLiteral("INDIRIZZI_D.DAT"), {});
  write(gen + QStringLiteral("INDIRIZZI_D.DAT$"), {}); // a lock marker

  // e-ADs: 2 has its invoice date far beyond any real date; 3 has no product
  // line.
  QByteArray second = ead(2);
  {
    TRecEad h = decodeEad(second);
    h.DATFAT = 1.0e7;
    second = encodeEad(h);
  }
  write(reg + QStringLiteral("2026_815_A.DAT"),
        {ead(1, QStringLiteral("0")), second, ead(3)});
  write(reg + QStringLiteral("2026_815_I.DAT"),
        {line(1, 1), line(2, 7)}); // line 2 belongs to no e-AD
  write(reg + QStringLiteral("2026_815_C.DAT"), {line(1, 1), line(2, 2)});
  write(reg + QStringLiteral("2026_810.DAT"), {ead(1)});
  QByteArray change1 = ead(1), change2 = ead(2);
  {
    TRecEad c = decodeEad(change2);
    c.progressivo = 2;
    c.progressivoRif = 9; // the e-AD 9 does not exist
    change2 = encodeEad(c);
  }
  write(reg + QStringLiteral("2026_813.DAT"), {change1, change2});
  write(reg + QStringLiteral("2026_818_K.DAT"),
        {QByteArray(100, ' ')}); // not a whole record

  // Register 2026.
  TRecMovimento loadA = movement(1, day(2026, 2, 1), "C", 1, true);
  loadA.stato = QStringLiteral("C"); // rectified below
  TRecMovimento cancelA = loadA;
  cancelA.numero = 2;
  cancelA.collegato = 1;
  cancelA.stato = QStringLiteral(" ");
  cancelA.operazione = QStringLiteral("C");
  cancelA.dataFlusso = 0;
  cancelA.numeroFlusso = 0;
  TRecMovimento replaceA = movement(3, day(2026, 2, 1), "C", 1, false);
  replaceA.collegato = 1;
  replaceA.stato = QStringLiteral("R");
  TRecMovimento unloadB = movement(4, day(2026, 3, 1), "S", 2, true);
  unloadB.tipoDocumento = QStringLiteral("EAD");
  unloadB.garanzia = 100;
  TRecMovimento loadD =
      movement(5, day(2026, 3, 2), "C", 2, true); // progressivo 2 sent twice
  loadD.registro = QStringLiteral("X"); // and a register code that is none
  TRecMovimento loadE =
      movement(6, day(2026, 3, 3), "C", 4, true); // 3 never sent
  loadE.stato = QStringLiteral("C"); // cancelled without a cancellation record
  TRecMovimento stray = movement(7, day(2026, 3, 4), "C", 0, false);
  stray.operazione = QStringLiteral("C");
  stray.collegato = 99; // no record 99
  TRecMovimento conclusion = movement(8, day(2026, 3, 5), "A", 5, false);
  conclusion.operazione = QStringLiteral("A");
  conclusion.collegato = 5; // a load, not an unload
  QList<QByteArray> rgm;
  for (const TRecMovimento &r :
       {loadA, cancelA, replaceA, unloadB, loadD, loadE, stray, conclusion})
    rgm << encodeRegisterRecord(r);
  write(reg + QStringLiteral("2026.RGM"), rgm);
  // Balance: 1000 carried over; 1 February +500 = 1500; 1 March -100 = 1400,
  // stored 1450.
  write(reg + QStringLiteral("2026.GAR"),
        {encodeRegisterRecord(guaranteeDay(1, day(2026, 2, 1), 0, 500, 1500)),
         encodeRegisterRecord(guaranteeDay(2, day(2026, 3, 1), 100, 0, 1450))});
  TRecGaranzia carry = blankRegisterRecord();
  carry.numero = 2024;
  carry.disponibile() = 1000;
  write(reg + QStringLiteral("RIPORTI.GAR"), {encodeRegisterRecord(carry)});
  // 2025: out of date order. 2024: one number twice.
  write(reg + QStringLiteral("2025.RGM"),
        {encodeRegisterRecord(movement(1, day(2025, 5, 2), "C", 1, false)),
         encodeRegisterRecord(movement(2, day(2025, 5, 1), "C", 2, false))});
  write(reg + QStringLiteral("2024.RGM"),
        {encodeRegisterRecord(movement(5, day(2024, 5, 1), "C", 1, false)),
         encodeRegisterRecord(movement(5, day(2024, 5, 1), "C", 2, false))});

  // What interrupted changes leave: a temporary, an undecided journal, a
  // restore's new folder.
  atomicfile::writeTemporary(reg + QStringLiteral("2026.RGM"), QByteArray("x"));
  QFile journal(reg + QStringLiteral("2026.GAR.~GRUPPO"));
  ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
  journal.write("GRUPPO 1f\n");
  journal.close();
  s.mkpath(QStringLiteral("DATI_GEN.~NUOVO"));
}

struct Expected {
  const char *kind;
  const char *file;
  qint64 record;
  const char *says; // part of the text
};

TEST(DataCheck, AFreshStartFolderHasNothingToReport) {
  test::TestContext t;
  runStartup(t.ctx, t.ctx.StartFolder, t.ctx.TempFolder);
  const health::CheckReport r =
      checkFolder(t.ctx.StartFolder, t.ctx.TempFolder);
  EXPECT_TRUE(r.findings.isEmpty()) << health::toText(r).toStdString();
  EXPECT_GE(r.files, 1); // the company file at least was read
}

TEST(DataCheck, EveryFaultOfTheFixtureIsFoundOnceWhereItIs) {
  QTemporaryDir dir;
  writeFixture(dir.path());
  const health::CheckReport r = checkFolder(dir.path());

  const Expected expected[] = {
      {"testo", "DATI_GEN/UTENTE.001", 0, "DENOM1"},
      {"blocco", "DATI_GEN/INDIRIZZI_D.DAT$", -1, "INDIRIZZI_D.DAT"},
      {"data", "REGISTRI/2026_815_A.DAT", 1, "DATFAT"},
      {"testata-senza-righe", "REGISTRI/2026_815_A.DAT", 2, "e-AD 3"},
      {"righe-orfane", "REGISTRI/2026_815_I.DAT", 1, "e-AD 7"},
      {"messaggio-senza-ead", "REGISTRI/2026_813.DAT", 1, "e-AD 9"},
      {"dimensione", "REGISTRI/2026_818_K.DAT", -1, "100 byte"},
      {"codice", "REGISTRI/2026.RGM", 4, "registro"},
      {"progressivo-ripetuto", "REGISTRI/2026.RGM", 4, "progressivo 2"},
      {"progressivo-buco", "REGISTRI/2026.RGM", -1, ": 3"},
      {"collegato-inesistente", "REGISTRI/2026.RGM", 6, "record 99"},
      {"collegato-errato", "REGISTRI/2026.RGM", 7, "scarico"},
      {"annullato-senza-storno", "REGISTRI/2026.RGM", 5, "record 6"},
      {"saldo-garanzia", "REGISTRI/2026.GAR", 1, "1400.00"},
      {"ordine-date", "REGISTRI/2025.RGM", 1, "01/05/2025"},
      {"numero-ripetuto", "REGISTRI/2024.RGM", 1, "numero 5"},
      {"temporaneo", "", -1, "scarterà"}, // its name is the writer's
      {"giornale", "REGISTRI/2026.GAR.~GRUPPO", -1, "scarterà"},
      {"ripristino-interrotto", "", -1, "DATI_GEN.~NUOVO"},
  };
  QStringList unexpected;
  QList<Finding> left = r.findings;
  for (const Expected &e : expected) {
    int found = 0;
    for (qsizetype i = 0; i < left.size(); ++i) {
      const Finding &f = left[i];
      const bool anyFile =
          *e.file == 0 && f.kind == QLatin1String("temporaneo");
      if (f.kind == QLatin1String(e.kind) &&
          (anyFile || f.file == QString::fromUtf8(e.file)) &&
          f.record == e.record && f.text.contains(QString::fromUtf8(e.says))) {
        ++found;
        left.removeAt(i--);
      }
    }
    EXPECT_EQ(found, 1) << e.kind << " in " << e.file;
  }
  for (const Finding &f : left)
    ADD_FAILURE() << "unexpected: " << f.kind.toStdString() << " "
                  << f.file.toStdString() << " " << f.text.toStdString();

  // Warnings for what waits on the next writer, errors for the rest; the
  // summary counts them.
  EXPECT_EQ(r.warnings(), 4);
  EXPECT_EQ(r.errors(), int(std::size(expected)) - 4);
  const QJsonObject json = health::toJson(r);
  EXPECT_EQ(json.value(QStringLiteral("rilievi")).toArray().size(),
            r.findings.size());
  EXPECT_EQ(json.value(QStringLiteral("errori")).toInt(), r.errors());
  EXPECT_TRUE(health::toText(r).endsWith(
      QStringLiteral("%1 errori, 4 avvisi; letti %2 file, %3 record\n")
          .arg(r.errors())
          .arg(r.files)
          .arg(r.records)));
}

} // namespace
} // namespace vt

// The fixture for trying the checker by hand: VT_WRITE_CHECK_FIXTURE=folder
// writes it there.
TEST(DataCheck, WritesTheFixtureWhenAsked) {
  const QString to = qEnvironmentVariable("VT_WRITE_CHECK_FIXTURE");
  if (to.isEmpty())
    GTEST_SKIP() << "VT_WRITE_CHECK_FIXTURE not set";
  vt::writeFixture(to);
}
