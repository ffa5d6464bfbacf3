// Copies of the data: saved under the locks and read back, restored whole or
// not at all; copies that do not verify, of another company or with names
// outside the data folders are refused with nothing changed.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include "foundation/CompanyRecord.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"
#include "masterdata/health/DataCopy.h"
#include "support/Fakes.h"

namespace vt {
namespace {

using Snapshot = QMap<QString, QByteArray>;

// Every file below the two data folders (markers included), by relative name.
Snapshot snapshot(const QString &start) {
  Snapshot s;
  const QDir root(start);
  for (const char *f : {"DATI_GEN", "REGISTRI"}) {
    QDirIterator it(root.filePath(QLatin1String(f)), QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      it.next();
      QFile file(it.filePath());
      file.open(QIODevice::ReadOnly);
      s.insert(root.relativeFilePath(it.filePath()), file.readAll());
    }
  }
  return s;
}

void put(const QString &start, const QString &rel, const QByteArray &content) {
  const QString path = QDir(start).filePath(rel);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(content);
}

QByteArray companyOf(const QString &code) {
  TRecAzienda c = blankCompany();
  c.CODUTE = code;
  c.DENOM1 = QStringLiteral("CANTINA DI PROVA");
  return encodeCompany(c);
}

// A small data set: the company, a table, a photograph in a subfolder, two
// register files.
void writeData(const QString &start,
               const QString &code = QStringLiteral("AB12")) {
  put(start, QStringLiteral("DATI_GEN/UTENTE.001"), companyOf(code));
  put(start, QStringLiteral("DATI_GEN/T001.TAB"), QByteArray(5304 * 3, 'T'));
  put(start, QStringLiteral("DATI_GEN/FOTO/VINO 1.bmp"),
      QByteArray("BM\x00\x01", 4));
  put(start, QStringLiteral("REGISTRI/2026.RGM"), QByteArray(520 * 40, 'R'));
  put(start, QStringLiteral("REGISTRI/2026_815_A.DAT"),
      QByteArray(2688 * 2, 'E'));
}

// Copies a ZIP entry by entry, letting `edit` change a name or a content (or
// drop the entry by returning false), and add extra entries.
void rewriteZip(
    const QString &from, const QString &to,
    const std::function<bool(QString &name, QByteArray &data)> &edit,
    const QList<std::pair<QString, QByteArray>> &extra = {}) {
  QuaZip in(from);
  ASSERT_TRUE(in.open(QuaZip::mdUnzip));
  QuaZip out(to);
  ASSERT_TRUE(out.open(QuaZip::mdCreate));
  auto write = [&](const QString &name, const QByteArray &data) {
    QuaZipFile f(&out);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly, QuaZipNewInfo(name)));
    f.write(data);
    f.close();
  };
  for (bool more = in.goToFirstFile(); more; more = in.goToNextFile()) {
    QString name = in.getCurrentFileName();
    QuaZipFile f(&in);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray data = f.readAll();
    f.close();
    if (edit(name, data))
      write(name, data);
  }
  for (const auto &[name, data] : extra)
    write(name, data);
  out.close();
}

struct CopyTest : ::testing::Test {
  QTemporaryDir dir;
  QString start = QDir(dir.path()).filePath(QStringLiteral("start"));
  QString copies = QDir(dir.path()).filePath(QStringLiteral("copie"));
  test::FakeMessenger messenger;
  QDateTime when{QDate(2026, 12, 9), QTime(10, 30, 15)};

  QString copyPath(const QString &name) const {
    return QDir(copies).filePath(name);
  }
  void SetUp() override {
    writeData(start);
    QDir().mkpath(copies);
  }
};

TEST_F(CopyTest, SavedAndRestoredTheDataComeBackByteForByte) {
  const Snapshot original = snapshot(start);
  EXPECT_EQ(health::copyFileName(health::companyCode(start), when),
            QStringLiteral("COPIA_AB12_20261209_103015.zip"));
  const QString zip =
      copyPath(health::copyFileName(health::companyCode(start), when));
  qint64 lastDone = 0, lastTotal = 0;
  const health::Manifest saved =
      health::saveCopy(start, zip, when, messenger, [&](qint64 d, qint64 t) {
        EXPECT_GE(d, lastDone);
        lastDone = d;
        lastTotal = t;
      });
  EXPECT_EQ(lastDone, lastTotal);
  EXPECT_GT(lastTotal, 0);
  EXPECT_EQ(saved.company, QStringLiteral("AB12"));
  EXPECT_EQ(saved.files.size(), original.size());
  EXPECT_EQ(snapshot(start), original)
      << "saving changes nothing and leaves no marker";
  EXPECT_FALSE(QFileInfo::exists(zip + QStringLiteral(".~parziale")));

  // The data change: a file rewritten, one added, one removed.
  put(start, QStringLiteral("REGISTRI/2026.RGM"), QByteArray(520 * 41, 'S'));
  put(start, QStringLiteral("REGISTRI/2027.RGM"), QByteArray(520, 'N'));
  QFile::remove(QDir(start).filePath(QStringLiteral("DATI_GEN/T001.TAB")));
  const Snapshot changed = snapshot(start);

  const QString aside = copyPath(QStringLiteral("PRIMA.zip"));
  const health::Manifest restored =
      health::restoreCopy(start, zip, aside, when.addSecs(60), messenger);
  EXPECT_EQ(restored.taken, when);
  EXPECT_EQ(snapshot(start), original);
  EXPECT_EQ(
      QDir(start).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                            QDir::Hidden),
      (QStringList{QStringLiteral("DATI_GEN"), QStringLiteral("REGISTRI")}))
      << "no folder, journal or marker left beside the data";

  // The data replaced are in the copy taken first: restoring it brings them
  // back.
  health::restoreCopy(start, aside, copyPath(QStringLiteral("PRIMA2.zip")),
                      when.addSecs(120), messenger);
  EXPECT_EQ(snapshot(start), changed);
}

TEST_F(CopyTest, EveryFileIsLockedWhileTheCopyIsWritten) {
  QStringList unlocked;
  health::saveCopy(start, copyPath(QStringLiteral("c.zip")), when, messenger,
                   [&](qint64, qint64) {
                     const Snapshot now = snapshot(start);
                     for (auto it = now.begin(); it != now.end(); ++it)
                       if (!it.key().endsWith(QLatin1Char('$')) &&
                           !now.contains(it.key() + QLatin1Char('$')))
                         unlocked << it.key();
                   });
  EXPECT_TRUE(unlocked.isEmpty())
      << unlocked.join(QLatin1Char(' ')).toStdString();

  // A file another workstation is writing is waited for, the usual way.
  const QString busy =
      QDir(start).filePath(QStringLiteral("REGISTRI/2026.RGM"));
  put(start, QStringLiteral("REGISTRI/2026.RGM$"), {});
  messenger.onInfo = [&](const QString &) {
    QFile::remove(FileLock::markerPath(busy));
  };
  health::saveCopy(start, copyPath(QStringLiteral("d.zip")), when, messenger);
  EXPECT_EQ(messenger.infos.value(0), FileLock::waitText(busy));
}

struct Refusal {
  const char *story;
  const char *says;
  std::function<void(const QString &good, const QString &bad)> make;
};

TEST_F(CopyTest, ACopyThatIsNotSoundOrNotOursIsRefusedWithNothingChanged) {
  const QString good = copyPath(QStringLiteral("buona.zip"));
  health::saveCopy(start, good, when, messenger);
  const Refusal cases[] = {
      {"a file changed after the copy was taken", "È DIVERSO DA QUELLO SALVATO",
       [](const QString &g, const QString &b) {
         rewriteZip(g, b, [](QString &n, QByteArray &d) {
           if (n == QLatin1String("REGISTRI/2026.RGM"))
             d[100] = 'X';
           return true;
         });
       }},
      {"a file missing", "MANCA IL FILE REGISTRI/2026_815_A.DAT",
       [](const QString &g, const QString &b) {
         rewriteZip(g, b, [](QString &n, QByteArray &) {
           return n != QLatin1String("REGISTRI/2026_815_A.DAT");
         });
       }},
      {"a file the manifest does not list", "NON È NEL MANIFESTO",
       [](const QString &g, const QString &b) {
         rewriteZip(g, b, [](QString &, QByteArray &) { return true; },
                    {{QStringLiteral("REGISTRI/2028.RGM"), "x"}});
       }},
      {"an entry climbing out of the folders", "NOME NON AMMESSO: ../x",
       [](const QString &g, const QString &b) {
         rewriteZip(g, b, [](QString &, QByteArray &) { return true; },
                    {{QStringLiteral("../x"), "x"}});
       }},
      {"an entry climbing out from inside a folder",
       "NOME NON AMMESSO: REGISTRI/../../x",
       [](const QString &g, const QString &b) {
         rewriteZip(g, b, [](QString &, QByteArray &) { return true; },
                    {{QStringLiteral("REGISTRI/../../x"), "x"}});
       }},
      {"an absolute entry", "NOME NON AMMESSO: /tmp/x",
       [](const QString &g, const QString &b) {
         rewriteZip(g, b, [](QString &, QByteArray &) { return true; },
                    {{QStringLiteral("/tmp/x"), "x"}});
       }},
      {"a copy of another company", "UN'ALTRA AZIENDA (ZZ99)",
       [&](const QString &, const QString &b) {
         QTemporaryDir other;
         writeData(other.path(), QStringLiteral("ZZ99"));
         test::FakeMessenger m;
         health::saveCopy(other.path(), b, when, m);
       }},
      {"not an archive", "NON È UN ARCHIVIO ZIP",
       [](const QString &, const QString &b) {
         QFile f(b);
         f.open(QIODevice::WriteOnly);
         f.write("PK not really");
       }},
  };
  const Snapshot before = snapshot(start);
  int n = 0;
  for (const Refusal &c : cases) {
    const QString bad = copyPath(QStringLiteral("cattiva%1.zip").arg(n));
    const QString aside = copyPath(QStringLiteral("prima%1.zip").arg(n++));
    c.make(good, bad);
    try {
      health::restoreCopy(start, bad, aside, when, messenger);
      ADD_FAILURE() << c.story << ": restored";
    } catch (const IoError &e) {
      EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.says)))
          << c.story << ": " << e.text().toStdString();
    }
    EXPECT_EQ(snapshot(start), before) << c.story;
    EXPECT_FALSE(QFileInfo::exists(aside)) << c.story;
    EXPECT_FALSE(
        QFileInfo::exists(QDir(dir.path()).filePath(QStringLiteral("x"))))
        << c.story;
  }
}

// A restore stopped at each of its steps (an error raised there, the process
// living on) leaves, once the interrupted restore is dealt with as at start-up,
// the old data or the copy's, whole.
TEST_F(CopyTest, ARestoreStoppedAtAnyStepLeavesTheOldOrTheNewDataWhole) {
  const Snapshot copy = snapshot(start);
  const QString zip = copyPath(QStringLiteral("c.zip"));
  health::saveCopy(start, zip, when, messenger);
  put(start, QStringLiteral("REGISTRI/2026.RGM"), QByteArray(520 * 2, 'Q'));
  const Snapshot old = snapshot(start);

  const std::pair<const char *, bool> steps[] = {{"estratto", false},
                                                 {"deciso", true},
                                                 {"spostato", true},
                                                 {"sostituito", true}};
  int n = 0;
  for (const auto &[stopAt, becomesNew] : steps) {
    health::restoreStepHook() = [stop = std::string(stopAt)](const char *s) {
      if (stop == s)
        throw IoError(QStringLiteral("interrotto"));
    };
    EXPECT_THROW(health::restoreCopy(
                     start, zip, copyPath(QStringLiteral("p%1.zip").arg(n++)),
                     when, messenger),
                 IoError)
        << stopAt;
    health::restoreStepHook() = nullptr;
    health::completeInterruptedRestore(start);
    QMap<QString, QByteArray> now = snapshot(start);
    // Markers that the interrupted process still held are the usual stale
    // markers: they go with the first writer's override. Here they are set
    // aside to compare the data.
    for (auto it = now.begin(); it != now.end();)
      it = it.key().endsWith(QLatin1Char('$')) ? now.erase(it) : std::next(it);
    EXPECT_EQ(now, becomesNew ? copy : old) << stopAt;
    EXPECT_TRUE(health::restoreLeftovers(start).isEmpty()) << stopAt;
    // Back to the old data for the next step.
    QDir(start).removeRecursively();
    for (auto it = old.begin(); it != old.end(); ++it)
      put(start, it.key(), it.value());
  }
}

} // namespace
} // namespace vt
