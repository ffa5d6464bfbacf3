#pragma once
// A copy of the data: one ZIP file of DATI_GEN and REGISTRI with a manifest
// inside (the company, the moment, and every file's name, size and SHA-256).
//
// Saving takes the lock of every data file (sorted paths, so two copies of the
// program never wait on each other in a circle) and holds them until the copy
// is written and read back; so nobody writes meanwhile.
//
// Restoring checks the copy through and through (every entry listed with its
// size and SHA-256, no name outside the two folders), refuses the copy of
// another company, saves the current data as a copy first, and under the locks
// of every file (current and restored) unpacks the copy into sibling folders
// (name + ".~NUOVO"), then swaps them in:
//   1. a journal RIPRISTINO.~STATO is written beside the folders and flushed:
//   the restore is
//      decided;
//   2. each folder is renamed aside (name + ".~VECCHIO") and the new one
//   renamed into its place;
//   3. the journal is removed, then the folders set aside.
// After a crash completeInterruptedRestore (run at start-up, and before every
// copy or restore) finishes a decided restore or drops an undecided one: the
// data are either the old ones or the copy's, whole.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace vt {
class Messenger;
}

namespace vt::health {

struct ManifestEntry {
  QString name; // "DATI_GEN/..." or "REGISTRI/...", with "/" between folders
  qint64 size = 0;
  QByteArray sha256; // hex
};

struct Manifest {
  QString company;     // user code of the company (UTENTE.001), may be blank
  QString companyName; // its name, for people
  QDateTime taken;
  QList<ManifestEntry> files;
};

// done and total in bytes handled; total may grow once, when a phase learns its
// size.
using Progress = std::function<void(qint64 done, qint64 total)>;

inline constexpr const char *ManifestName = "MANIFESTO.JSON";

// The folder the windows propose for the copies: the start folder's COPIE.
QString defaultCopyFolder(const QString &startFolder);

// "COPIA_" + company + "_" + yyyyMMdd_HHmmss + ".zip" (without the company when
// it is blank).
QString copyFileName(const QString &company, const QDateTime &when);

// The user code and name of the company in startFolder's DATI_GEN\UTENTE.001
// (blank when none).
QString companyCode(const QString &startFolder);
QString companyName(const QString &startFolder);

// Saves a copy of startFolder's data into zipPath and reads it back. Raises
// IoError (leaving no file at zipPath) when it cannot.
Manifest saveCopy(const QString &startFolder, const QString &zipPath,
                  const QDateTime &when, Messenger &lockWith,
                  const Progress &progress = {});

// Reads the manifest of a copy and checks every entry against it; raises
// IoError with the reason when the copy does not verify or holds a name outside
// DATI_GEN and REGISTRI.
Manifest verifyCopy(const QString &zipPath, const Progress &progress = {});

// Restores the copy into startFolder (see above). asideZip receives the current
// data first. Raises IoError, with the data left as they were, when the copy
// does not verify, belongs to another company (one whose code differs from the
// current non-blank one), or cannot be put in place.
Manifest restoreCopy(const QString &startFolder, const QString &zipPath,
                     const QString &asideZip, const QDateTime &when,
                     Messenger &lockWith, const Progress &progress = {});

// Finishes or drops a restore that a crash interrupted. Nothing to do in a
// folder without one.
void completeInterruptedRestore(const QString &startFolder);
// What an interrupted restore left in startFolder, for people; empty when
// nothing.
QStringList restoreLeftovers(const QString &startFolder);

// Test hook: called with the name of each step of a restore ("estratto",
// "deciso", "spostato", "sostituito"); may stop the process there.
std::function<void(const char *step)> &restoreStepHook();

} // namespace vt::health
