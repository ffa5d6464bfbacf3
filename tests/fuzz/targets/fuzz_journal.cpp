// The journal of a change of several files (NAME.~GRUPPO), and the notes that
// point to it, made of arbitrary bytes: what the next holder of a file's lock
// reads and acts on.
//
// Properties of the reader, for a journal kept in a data folder (REGISTRI,
// beside DATI_GEN) and in a folder of any other name: what it trusts names only
// files of its own folder or of the other data folder of the same start folder,
// never a lock marker, journal or temporary as a file to replace; every
// temporary lies beside its own file and is named as the program names them; a
// note trusted points to a journal of the same folders.
//
// Then on disk: the bytes are planted as the journal beside REGISTRI/2024.RGM
// (first input byte even) or as the journal beside 2025.RGM that 2024.RGM's
// note points to (odd), and the lock on 2024.RGM is taken. With the first
// byte's second bit set the bytes are sealed first (the FINE line and its SHA-1
// added), so that mutations reach the complete journals a changed byte would
// otherwise unseal. Whatever happens, no file outside the start folder changes;
// and when the lock is refused, no file anywhere changes.
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <sanitizer/common_interface_defs.h>

#include "FuzzCheck.h"
#include "foundation/AtomicFile.h"
#include "foundation/FileGroup.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"
#include "foundation/Services.h"

using namespace vt;

namespace {

class QuietMessenger : public Messenger {
public:
    void info(const QString&) override { }
    bool askYesNo(const QString&) override { return true; }
    bool askOkCancel(const QString&) override { return true; }
    void beep() override { }
};

QString scratchTemplate()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.absoluteFilePath() : QDir::tempPath();
    return QDir(base).filePath(QStringLiteral("vt-fuzz-journal-XXXXXX"));
}

struct World {
    QTemporaryDir dir{scratchTemplate()};
    QuietMessenger messenger;
    QString root;
    QString start;
    QString registri;
    QString datiGen;
    QMap<QString, QByteArray> initial; // path relative to root -> bytes

    World()
    {
        FUZZ_CHECK(dir.isValid(), "no temporary folder");
        root = QDir::cleanPath(dir.path());
        start = root + QStringLiteral("/start");
        registri = start + QStringLiteral("/REGISTRI");
        datiGen = start + QStringLiteral("/DATI_GEN");
        initial.insert(QStringLiteral("start/REGISTRI/2024.RGM"), QByteArray(520 * 3, 'a'));
        initial.insert(QStringLiteral("start/REGISTRI/2025.RGM"), QByteArray(520 * 2, 'b'));
        initial.insert(QStringLiteral("start/REGISTRI/2024.RGM.BACKUP"), QByteArray("copia"));
        initial.insert(QStringLiteral("start/DATI_GEN/INDIRIZZI_F.DAT"), QByteArray(608, 'c'));
        initial.insert(QStringLiteral("start/victim.dat"), QByteArray("start"));
        initial.insert(QStringLiteral("outside/victim.dat"), QByteArray("fuori"));
        initial.insert(QStringLiteral("outside/other.dat"), QByteArray("altro"));
    }
};

World& world()
{
    static World w;
    return w;
}

void removeScratch()
{
    world().dir.remove();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size(), path);
}

// Every file below the root, by relative path.
QMap<QString, QByteArray> snapshot(const World& w)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(w.root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    const QDir root(w.root);
    while (it.hasNext()) {
        const QString p = it.next();
        QFile f(p);
        FUZZ_CHECK(f.open(QIODevice::ReadOnly), p);
        out.insert(root.relativeFilePath(p), f.readAll());
    }
    return out;
}

void reset(const World& w)
{
    QDir(w.root).removeRecursively();
    for (auto it = w.initial.cbegin(); it != w.initial.cend(); ++it)
        writeFile(w.root + u'/' + it.key(), it.value());
}

// Inside the folders a journal kept in `folder` may reach.
bool reachable(const QString& path, const QString& folder)
{
    const QFileInfo p(path), f(folder);
    if (p.absolutePath() == f.absoluteFilePath())
        return true;
    const QFileInfo parent(p.absolutePath());
    const QStringList data{QStringLiteral("DATI_GEN"), QStringLiteral("REGISTRI")};
    return parent.absolutePath() == f.absolutePath() && data.contains(parent.fileName()) && data.contains(f.fileName());
}

void checkReader(const QByteArray& text, const QString& folder)
{
    const FileGroup::JournalReading r = FileGroup::readJournal(text, folder);
    if (!r.trusted)
        return;
    FUZZ_CHECK(r.temporaries.size() == r.targets.size(), "one temporary per file");
    for (qsizetype i = 0; i < r.targets.size(); ++i) {
        const QString& target = r.targets[i];
        FUZZ_CHECK(QDir::cleanPath(target) == target && !target.contains(QLatin1String("/../")), target);
        FUZZ_CHECK(reachable(target, folder), QStringLiteral("file outside the data folders: ") + target);
        const QString name = QFileInfo(target).fileName();
        FUZZ_CHECK(!name.endsWith(u'$') && !name.endsWith(QLatin1String(".~GRUPPO")) && !name.contains(u'\\')
                && !name.contains(u':'),
            QStringLiteral("not a data file: ") + target);
        const QString& temporary = r.temporaries[i];
        if (temporary.isEmpty())
            continue;
        FUZZ_CHECK(QFileInfo(temporary).absolutePath() == QFileInfo(target).absolutePath(),
            QStringLiteral("temporary away from its file: ") + temporary);
        FUZZ_CHECK(atomicfile::isTemporaryOf(QFileInfo(temporary).fileName(), name),
            QStringLiteral("not a temporary of its file: ") + temporary);
    }
    if (r.isNote && !r.journal.isEmpty()) {
        FUZZ_CHECK(reachable(r.journal, folder), QStringLiteral("journal outside the data folders: ") + r.journal);
        FUZZ_CHECK(r.journal.endsWith(QLatin1String(".~GRUPPO")), r.journal);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    World& w = world();
    if (!fuzzCleanup) {
        fuzzCleanup = removeScratch;
        __sanitizer_set_death_callback(removeScratch);
    }
    if (size == 0)
        return 0;
    QByteArray text = bytesOf(data + 1, size - 1);
    if (data[0] & 2)
        text += "FINE " + QCryptographicHash::hash(text, QCryptographicHash::Sha1).toHex() + '\n';
    checkReader(text, w.registri);
    checkReader(text, w.datiGen);
    checkReader(text, w.root + QStringLiteral("/elsewhere"));

    reset(w);
    const QString target = w.registri + QStringLiteral("/2024.RGM");
    writeFile(FileGroup::journalMark(target), text);
    if (data[0] & 1) {
        // Planted as a note: the bytes are the journal beside 2025.RGM, and
        // 2024.RGM's note points to it.
        writeFile(FileGroup::journalMark(w.registri + QStringLiteral("/2025.RGM")), text);
        writeFile(FileGroup::journalMark(target),
            QByteArray("RIMANDO 1\n2025.RGM.~GRUPPO\nFINE ")
                + QByteArray("04ecd8e491406f235ac3d2953cedddc017186ace\n"));
    }
    const QMap<QString, QByteArray> before = snapshot(w);
    bool refused = false;
    try {
        FileLock lock(target, w.messenger);
    } catch (const IoError&) {
        refused = true;
    }
    const QMap<QString, QByteArray> after = snapshot(w);
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const bool inside = it.key().startsWith(QLatin1String("start/REGISTRI/"))
            || it.key().startsWith(QLatin1String("start/DATI_GEN/"));
        if (refused || !inside)
            FUZZ_CHECK(after.value(it.key(), QByteArray("<gone>")) == it.value(),
                QStringLiteral("%1 changed%2").arg(it.key(), refused ? QStringLiteral(" by a refusal") : QString()));
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const bool inside = it.key().startsWith(QLatin1String("start/REGISTRI/"))
            || it.key().startsWith(QLatin1String("start/DATI_GEN/"));
        if (refused || !inside)
            FUZZ_CHECK(before.contains(it.key()), QStringLiteral("%1 appeared").arg(it.key()));
    }
    FUZZ_CHECK(!after.contains(QStringLiteral("start/REGISTRI/2024.RGM$")), "lock left behind");
    return 0;
}
