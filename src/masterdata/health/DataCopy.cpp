#include "masterdata/health/DataCopy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <openssl/evp.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>
#include <zlib.h>

#include "foundation/AtomicFile.h"
#include "foundation/CompanyRecord.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"

namespace vt::health {

namespace {

const QStringList kFolders = {QStringLiteral("DATI_GEN"),
                              QStringLiteral("REGISTRI")};
const QString kNew = QStringLiteral(".~NUOVO");
const QString kOld = QStringLiteral(".~VECCHIO");
const QString kJournal = QStringLiteral("RIPRISTINO.~STATO");

QByteArray sha256Hex(const QByteArray &data) {
  unsigned char md[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  EVP_Digest(data.constData(), size_t(data.size()), md, &len, EVP_sha256(),
             nullptr);
  return QByteArray(reinterpret_cast<const char *>(md), int(len)).toHex();
}

[[noreturn]] void fail(const QString &text) { throw IoError(text); }

[[noreturn]] void notSound(const QString &why) {
  fail(QStringLiteral("LA COPIA NON È INTEGRA: ") + why);
}

// Data files below the two folders: markers, journals and temporaries are not
// data.
bool isData(const QString &name) {
  return !name.endsWith(QLatin1Char('$')) &&
         !name.endsWith(QStringLiteral(".~GRUPPO")) &&
         atomicfile::temporaryTarget(name).isEmpty();
}

// Relative names ("DATI_GEN/UTENTE.001") of the data files, sorted.
QStringList dataFiles(const QString &start) {
  QStringList out;
  const QDir root(start);
  for (const QString &folder : kFolders) {
    QDirIterator it(root.filePath(folder),
                    QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      it.next();
      if (isData(it.fileName()))
        out << root.relativeFilePath(it.filePath());
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

// A name from an archive is taken only as a plain relative path inside one of
// the two folders.
bool safeName(const QString &name) {
  if (name.isEmpty() || name.startsWith(QLatin1Char('/')) ||
      name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char(':')))
    return false;
  const QStringList parts = name.split(QLatin1Char('/'));
  if (parts.size() < 2 || !kFolders.contains(parts.first()))
    return false;
  for (const QString &p : parts)
    if (p.isEmpty() || p == QLatin1String(".") || p == QLatin1String(".."))
      return false;
  return isData(parts.last());
}

// Locks of many files, taken in sorted order.
using Locks = std::vector<std::unique_ptr<FileLock>>;

Locks lockAll(const QString &start, QStringList rel, Messenger &messenger) {
  std::sort(rel.begin(), rel.end());
  rel.removeDuplicates();
  Locks locks;
  const QDir root(start);
  for (const QString &r : rel)
    locks.push_back(std::make_unique<FileLock>(root.filePath(r), messenger));
  return locks;
}

struct Meter {
  Progress fn;
  qint64 done = 0;
  qint64 total = 0;
  void step(qint64 n) {
    done += n;
    if (fn)
      fn(done, total);
  }
};

QByteArray readWhole(const QString &path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    fail(QStringLiteral("IMPOSSIBILE LEGGERE IL FILE ") +
         QDir::toNativeSeparators(path));
  return f.readAll();
}

QByteArray manifestBytes(const Manifest &m) {
  QJsonArray files;
  for (const ManifestEntry &e : m.files)
    files << QJsonObject{
        {QStringLiteral("nome"), e.name},
        {QStringLiteral("byte"), e.size},
        {QStringLiteral("sha256"), QString::fromLatin1(e.sha256)}};
  const QJsonObject o{{QStringLiteral("azienda"), m.company},
                      {QStringLiteral("denominazione"), m.companyName},
                      {QStringLiteral("data"), m.taken.toString(Qt::ISODate)},
                      {QStringLiteral("file"), files}};
  return QJsonDocument(o).toJson();
}

// Writes the copy of the listed files (already locked) into zipPath and reads
// it back.
Manifest writeCopy(const QString &start, const QStringList &rel,
                   const QString &zipPath, const QDateTime &when,
                   Meter &meter) {
  Manifest m;
  m.company = companyCode(start);
  m.companyName = companyName(start);
  m.taken = when;
  const QString partial = zipPath + QStringLiteral(".~parziale");
  QFile::remove(partial);
  {
    QuaZip zip(partial);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdCreate))
      fail(QStringLiteral("IMPOSSIBILE CREARE IL FILE ") +
           QDir::toNativeSeparators(zipPath));
    auto put = [&](const QString &name, const QByteArray &data) {
      QuaZipFile out(&zip);
      QuaZipNewInfo info(name);
      info.dateTime = when;
      // The fastest level: record files are mostly blanks, which any level
      // squeezes well.
      if (!out.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, 1) ||
          out.write(data) != data.size()) {
        out.close();
        zip.close();
        QFile::remove(partial);
        fail(QStringLiteral("IMPOSSIBILE SCRIVERE LA COPIA ") +
             QDir::toNativeSeparators(zipPath));
      }
      out.close();
    };
    const QDir root(start);
    for (const QString &r : rel) {
      const QByteArray data = readWhole(root.filePath(r));
      m.files << ManifestEntry{r, data.size(), sha256Hex(data)};
      put(r, data);
      meter.step(data.size());
    }
    put(QString::fromLatin1(ManifestName), manifestBytes(m));
    zip.close();
    if (zip.getZipError() != 0) {
      QFile::remove(partial);
      fail(QStringLiteral("IMPOSSIBILE SCRIVERE LA COPIA ") +
           QDir::toNativeSeparators(zipPath));
    }
  }
  try {
    Meter check{meter.fn ? Progress([&](qint64 d, qint64) {
      meter.fn(meter.done + d, meter.total);
    })
                         : Progress{}};
    verifyCopy(partial, check.fn);
    meter.done += check.done;
    QFile::remove(zipPath);
    atomicfile::moveOver(partial, zipPath);
  } catch (...) {
    QFile::remove(partial);
    throw;
  }
  return m;
}

qint64 totalSize(const QString &start, const QStringList &rel) {
  qint64 n = 0;
  const QDir root(start);
  for (const QString &r : rel)
    n += QFileInfo(root.filePath(r)).size();
  return n;
}

void removeTree(const QString &path) {
  QDir d(path);
  if (d.exists())
    d.removeRecursively();
}

bool journalDecided(const QString &start, QByteArray *id = nullptr) {
  QFile f(QDir(start).filePath(kJournal));
  if (!f.open(QIODevice::ReadOnly))
    return false;
  const QList<QByteArray> lines = f.readAll().split('\n');
  if (lines.size() < 3 || !lines[0].startsWith("RIPRISTINO ") ||
      lines[1] != "FINE")
    return false;
  if (id)
    *id = lines[0].mid(11);
  return true;
}

// Markers left by a restore (their content names it) in a folder tree.
void removeRestoreMarkers(const QString &folder, const QByteArray &id) {
  QDirIterator it(folder, {QStringLiteral("*$")}, QDir::Files | QDir::Hidden,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    QFile f(it.filePath());
    if (f.open(QIODevice::ReadOnly) && f.readAll() == "RIPRISTINO " + id) {
      f.close();
      QFile::remove(it.filePath());
    }
  }
}

void renameOrFail(const QString &from, const QString &to) {
  if (!QDir().rename(from, to))
    fail(QStringLiteral("IMPOSSIBILE RINOMINARE ") +
         QDir::toNativeSeparators(from));
}

// The swap of step 2 and 3, done again from wherever it stopped.
void finishSwap(const QString &start, const QByteArray &id) {
  const QDir root(start);
  for (const QString &f : kFolders) {
    const QString live = root.filePath(f);
    if (!QFileInfo::exists(live + kNew))
      continue;
    if (QFileInfo::exists(live)) {
      removeTree(live + kOld);
      renameOrFail(live, live + kOld);
    }
    renameOrFail(live + kNew, live);
  }
  atomicfile::syncFolder(start);
  if (!id.isEmpty())
    for (const QString &f : kFolders)
      removeRestoreMarkers(root.filePath(f), id);
}

void step(const char *name) {
  if (restoreStepHook())
    restoreStepHook()(name);
}

} // namespace

std::function<void(const char *)> &restoreStepHook() {
  static std::function<void(const char *)> hook;
  return hook;
}

QString defaultCopyFolder(const QString &start) {
  return QDir(start).filePath(QStringLiteral("COPIE"));
}

QString copyFileName(const QString &company, const QDateTime &when) {
  const QString code = company.trimmed();
  return QStringLiteral("COPIA_") +
         (code.isEmpty() ? QString() : code + QLatin1Char('_')) +
         when.toString(QStringLiteral("yyyyMMdd_HHmmss")) +
         QStringLiteral(".zip");
}

QString companyCode(const QString &start) {
  const auto rec =
      RecordFile(QDir(start).filePath(QStringLiteral("DATI_GEN/UTENTE.001")),
                 TRecAzienda::Size)
          .readFirst();
  return rec ? decodeCompany(*rec).CODUTE.trimmed() : QString();
}

QString companyName(const QString &start) {
  const auto rec =
      RecordFile(QDir(start).filePath(QStringLiteral("DATI_GEN/UTENTE.001")),
                 TRecAzienda::Size)
          .readFirst();
  return rec ? decodeCompany(*rec).DENOM1.trimmed() : QString();
}

Manifest saveCopy(const QString &start, const QString &zipPath,
                  const QDateTime &when, Messenger &lockWith,
                  const Progress &progress) {
  completeInterruptedRestore(start);
  const Locks locks = lockAll(start, dataFiles(start), lockWith);
  const QStringList rel = dataFiles(start); // as the locks left them
  Meter meter{progress, 0, 2 * totalSize(start, rel)};
  return writeCopy(start, rel, zipPath, when, meter);
}

Manifest verifyCopy(const QString &zipPath, const Progress &progress) {
  QuaZip zip(zipPath);
  if (!zip.open(QuaZip::mdUnzip))
    notSound(QStringLiteral("NON È UN ARCHIVIO ZIP LEGGIBILE"));
  QMap<QString, QByteArray> hashes;
  QMap<QString, qint64> sizes;
  QByteArray manifestData;
  bool haveManifest = false;
  qint64 done = 0;
  for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
    const QString name = zip.getCurrentFileName();
    const bool isManifest = name == QLatin1String(ManifestName);
    if (!isManifest && !safeName(name))
      fail(QStringLiteral("LA COPIA CONTIENE UN NOME NON AMMESSO: ") + name);
    if (hashes.contains(name) || (isManifest && haveManifest))
      notSound(QStringLiteral("IL FILE ") + name +
               QStringLiteral(" COMPARE DUE VOLTE"));
    QuaZipFile in(&zip);
    if (!in.open(QIODevice::ReadOnly))
      notSound(QStringLiteral("IMPOSSIBILE LEGGERE ") + name);
    const QByteArray data = in.readAll();
    in.close();
    if (in.getZipError() != UNZ_OK)
      notSound(QStringLiteral("IL FILE ") + name +
               QStringLiteral(" È DANNEGGIATO"));
    if (isManifest) {
      manifestData = data;
      haveManifest = true;
    } else {
      hashes.insert(name, sha256Hex(data));
      sizes.insert(name, data.size());
    }
    done += isManifest ? 0 : data.size(); // the manifest is not in the total
    if (progress)
      progress(done, 0);
  }
  if (zip.getZipError() != UNZ_OK)
    notSound(QStringLiteral("L'ARCHIVIO È DANNEGGIATO"));
  if (!haveManifest)
    notSound(QStringLiteral("MANCA IL MANIFESTO"));
  const QJsonObject o = QJsonDocument::fromJson(manifestData).object();
  Manifest m;
  m.company = o.value(QStringLiteral("azienda")).toString();
  m.companyName = o.value(QStringLiteral("denominazione")).toString();
  m.taken = QDateTime::fromString(o.value(QStringLiteral("data")).toString(),
                                  Qt::ISODate);
  if (!m.taken.isValid())
    notSound(QStringLiteral("IL MANIFESTO NON È LEGGIBILE"));
  for (const QJsonValue &v : o.value(QStringLiteral("file")).toArray()) {
    const QJsonObject e = v.toObject();
    m.files << ManifestEntry{
        e.value(QStringLiteral("nome")).toString(),
        qint64(e.value(QStringLiteral("byte")).toDouble()),
        e.value(QStringLiteral("sha256")).toString().toLatin1()};
  }
  QSet<QString> listed;
  for (const ManifestEntry &e : m.files) {
    if (!safeName(e.name))
      fail(QStringLiteral("LA COPIA CONTIENE UN NOME NON AMMESSO: ") + e.name);
    if (!hashes.contains(e.name))
      notSound(QStringLiteral("MANCA IL FILE ") + e.name);
    if (sizes.value(e.name) != e.size || hashes.value(e.name) != e.sha256)
      notSound(QStringLiteral("IL FILE ") + e.name +
               QStringLiteral(" È DIVERSO DA QUELLO SALVATO"));
    listed.insert(e.name);
  }
  for (auto it = hashes.begin(); it != hashes.end(); ++it)
    if (!listed.contains(it.key()))
      notSound(QStringLiteral("IL FILE ") + it.key() +
               QStringLiteral(" NON È NEL MANIFESTO"));
  return m;
}

Manifest restoreCopy(const QString &start, const QString &zipPath,
                     const QString &asideZip, const QDateTime &when,
                     Messenger &lockWith, const Progress &progress) {
  completeInterruptedRestore(start);
  Meter meter{progress, 0, 0};
  const qint64 zipSize = QFileInfo(zipPath).size();
  meter.total = zipSize * 4; // a first estimate, refined once the copy is read
  const Manifest m = verifyCopy(zipPath, [&](qint64 d, qint64) {
    if (progress)
      progress(std::min(d, meter.total), meter.total);
  });
  const QString current = companyCode(start);
  if (!current.isEmpty() && m.company.trimmed() != current)
    fail(QStringLiteral("LA COPIA APPARTIENE A UN'ALTRA AZIENDA (") +
         m.company + QStringLiteral(")"));
  qint64 copyBytes = 0;
  QStringList incoming;
  for (const ManifestEntry &e : m.files) {
    copyBytes += e.size;
    incoming << e.name;
  }
  // Every file of the current data and of the copy stays locked until the swap
  // is over (the markers of files new to this folder need their subfolders).
  for (const QString &r : incoming)
    QDir().mkpath(QFileInfo(QDir(start).filePath(r)).absolutePath());
  Locks locks = lockAll(start, dataFiles(start) + incoming, lockWith);
  const QStringList mine = dataFiles(start);
  const qint64 mineBytes = totalSize(start, mine);
  meter.done = copyBytes;
  meter.total = copyBytes + 2 * mineBytes + copyBytes;
  writeCopy(start, mine, asideZip, when, meter);

  // Unpack into the sibling folders, checking every file again as it is
  // written.
  const QDir root(start);
  for (const QString &f : kFolders) {
    removeTree(root.filePath(f + kNew));
    if (!QDir().mkpath(root.filePath(f + kNew)))
      fail(QStringLiteral("IMPOSSIBILE CREARE LA CARTELLA ") +
           QDir::toNativeSeparators(root.filePath(f + kNew)));
  }
  const QByteArray id =
      QByteArray::number(QRandomGenerator::global()->generate64(), 16);
  try {
    QuaZip zip(zipPath);
    if (!zip.open(QuaZip::mdUnzip))
      notSound(QStringLiteral("NON È UN ARCHIVIO ZIP LEGGIBILE"));
    QMap<QString, ManifestEntry> wanted;
    for (const ManifestEntry &e : m.files)
      wanted.insert(e.name, e);
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
      const QString name = zip.getCurrentFileName();
      if (!wanted.contains(name))
        continue;
      QuaZipFile in(&zip);
      if (!in.open(QIODevice::ReadOnly))
        notSound(QStringLiteral("IMPOSSIBILE LEGGERE ") + name);
      const QByteArray data = in.readAll();
      in.close();
      if (in.getZipError() != UNZ_OK ||
          sha256Hex(data) != wanted.value(name).sha256)
        notSound(QStringLiteral("IL FILE ") + name +
                 QStringLiteral(" È DIVERSO DA QUELLO SALVATO"));
      const QStringList parts = name.split(QLatin1Char('/'));
      const QString target =
          root.filePath(parts.first() + kNew + QLatin1Char('/') +
                        parts.mid(1).join(QLatin1Char('/')));
      QDir().mkpath(QFileInfo(target).absolutePath());
      atomicfile::writeFlushed(target, data);
      meter.step(data.size());
    }
    // The locks stay held after the swap: the new folders carry a marker for
    // every locked file.
    for (const QString &r : dataFiles(start) + incoming) {
      const QStringList parts = r.split(QLatin1Char('/'));
      const QString marker =
          root.filePath(parts.first() + kNew + QLatin1Char('/') +
                        parts.mid(1).join(QLatin1Char('/'))) +
          QLatin1Char('$');
      QDir().mkpath(QFileInfo(marker).absolutePath());
      atomicfile::writeFlushed(marker, "RIPRISTINO " + id);
    }
    for (const QString &f : kFolders)
      atomicfile::syncFolder(root.filePath(f + kNew));
    step("estratto");
  } catch (...) {
    for (const QString &f : kFolders)
      removeTree(root.filePath(f + kNew));
    throw;
  }
  atomicfile::writeFlushed(root.filePath(kJournal),
                           "RIPRISTINO " + id + "\nFINE\n");
  atomicfile::syncFolder(start);
  step("deciso");
  {
    const QString live = root.filePath(kFolders.first());
    removeTree(live + kOld);
    renameOrFail(live, live + kOld);
  }
  step("spostato");
  finishSwap(start, QByteArray());
  step("sostituito");
  QFile::remove(root.filePath(kJournal));
  atomicfile::syncFolder(start);
  // The locks are released into the new folders (their markers); then the old
  // data go.
  locks.clear();
  for (const QString &f : kFolders)
    removeTree(root.filePath(f + kOld));
  return m;
}

void completeInterruptedRestore(const QString &start) {
  const QDir root(start);
  QByteArray id;
  if (journalDecided(start, &id)) {
    finishSwap(start, id);
    QFile::remove(root.filePath(kJournal));
    atomicfile::syncFolder(start);
  } else {
    QFile::remove(root.filePath(kJournal)); // an undecided (incomplete) journal
    for (const QString &f : kFolders) {
      removeTree(root.filePath(f + kNew));
      if (!QFileInfo::exists(root.filePath(f)) &&
          QFileInfo::exists(root.filePath(f + kOld)))
        QDir().rename(root.filePath(f + kOld), root.filePath(f));
    }
  }
  for (const QString &f : kFolders)
    if (QFileInfo::exists(root.filePath(f)))
      removeTree(root.filePath(f + kOld));
}

QStringList restoreLeftovers(const QString &start) {
  QStringList out;
  const QDir root(start);
  const bool decided = journalDecided(start);
  if (QFileInfo::exists(root.filePath(kJournal)))
    out << QStringLiteral("ripristino interrotto (%1): il prossimo avvio del "
                          "programma lo %2")
               .arg(kJournal, decided ? QStringLiteral("completerà")
                                      : QStringLiteral("annullerà"));
  for (const QString &f : kFolders)
    for (const QString &suffix : {kNew, kOld})
      if (QFileInfo::exists(root.filePath(f + suffix)))
        out << QStringLiteral(
                   "cartella %1 lasciata da un ripristino interrotto: il "
                   "prossimo avvio del programma la %2")
                   .arg(f + suffix, decided && suffix == kNew
                                        ? QStringLiteral("metterà al suo posto")
                                        : QStringLiteral("toglierà"));
  return out;
}

} // namespace vt::health
