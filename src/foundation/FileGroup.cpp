#include "foundation/FileGroup.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>

#include <algorithm>

#include "foundation/AtomicFile.h"
#include "foundation/FileLock.h"
#include "foundation/RecordFile.h"

namespace vt {

namespace {
// The journal and its notes are small text files (UTF-8, one item a line). A file is named by its
// bare name when it lies in the folder of the journal or note; a group may also span the two data
// folders of one start folder (a report of receipt adds its consignor to the suppliers of
// DATI_GEN), whose files are named "../DATI_GEN/NAME" from REGISTRI and "../REGISTRI/NAME" from
// DATI_GEN. Paths are relative because other workstations may reach the shared folder by another
// path. A journal:
//     GRUPPO <id>
//     <temporary>\t<file>          (one line per replacement; "-" for a file to remove)
//     FINE <SHA-1 of the lines above>
// A note beside another file of the group:
//     RIMANDO <id>
//     <journal>
//     FINE <SHA-1 of the lines above>
// Without its last line, a journal or a note is incomplete.
//
// The data folder is shared and writable by everyone, so a journal is trusted only as far as it
// names what this program writes: files of the group's data folders (nothing else can be reached
// through a name) and, for each file, a temporary named as the program names that file's
// temporaries. A journal or note naming anything else is left as it stands with every file, and
// the lock is refused with a message naming it, for a person to look at.
const QByteArray kJournal = "GRUPPO";
const QByteArray kNote = "RIMANDO";
const QByteArray kEnd = "FINE ";
const QString kJournalSuffix = QStringLiteral(".~GRUPPO");
const QStringList kDataFolders{QStringLiteral("DATI_GEN"), QStringLiteral("REGISTRI")};

struct Entry {
    QString temporary; // empty: the file is removed
    QString target;
};

struct Mark {
    // Empty: not one whole line was written (a crash at its very start).
    enum Kind { Empty, Damaged, Journal, Note } kind = Empty;
    bool complete = false;
    QByteArray id;
    QList<Entry> entries; // journal
    QString journal;      // note: the journal it points to
};

QString keyOf(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString folderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

// A name that stays inside its folder and means the same file on every system: no separator, no
// drive, no character a Windows name cannot hold, no control code, no trailing dot or space
// (Windows drops them: "2024.RGM." is 2024.RGM there).
bool isBareName(const QString& name)
{
    if (name.isEmpty() || name.endsWith(u'.') || name.endsWith(u' '))
        return false;
    for (const QChar c : name)
        if (c.unicode() < 32 || QStringView(u"/\\:*?\"<>|").contains(c))
            return false;
    return true;
}

// A file a journal may replace or remove: not a lock marker, a journal or a temporary of the group.
bool isDataFileName(const QString& name)
{
    return isBareName(name) && !name.endsWith(u'$') && !name.endsWith(kJournalSuffix)
        && !name.contains(QLatin1String(".~NUOVO~"));
}

// The text naming `path` in a journal or note kept in `folder`; empty when it cannot be named there.
QString nameFor(const QString& folder, const QString& path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!isBareName(name))
        return {};
    const QString at = QDir::cleanPath(info.absolutePath());
    const QString here = QDir::cleanPath(folder);
    if (at == here)
        return name;
    const QFileInfo atInfo(at), hereInfo(here);
    if (atInfo.absolutePath() == hereInfo.absolutePath() && kDataFolders.contains(atInfo.fileName())
        && kDataFolders.contains(hereInfo.fileName()))
        return QStringLiteral("../") + atInfo.fileName() + u'/' + name;
    return {};
}

// The path a name read from a journal or note kept in `folder` stands for; empty when the name
// reaches outside the group's data folders.
QString resolveName(const QString& folder, const QByteArray& text)
{
    const QString name = QString::fromUtf8(text);
    if (isBareName(name))
        return QDir::cleanPath(folder + u'/' + name);
    const QStringList parts = name.split(u'/');
    const QFileInfo here(QDir::cleanPath(folder));
    if (parts.size() == 3 && parts[0] == QLatin1String("..") && kDataFolders.contains(parts[1])
        && parts[1] != here.fileName() && kDataFolders.contains(here.fileName()) && isBareName(parts[2]))
        return QDir::cleanPath(here.absolutePath() + u'/' + parts[1] + u'/' + parts[2]);
    return {};
}

QByteArray sealed(const QByteArray& body)
{
    return body + kEnd + QCryptographicHash::hash(body, QCryptographicHash::Sha1).toHex() + '\n';
}

// Raised before anything is written when a file of a group lies where its journal, kept beside
// `first`, could not name it.
IoError unnamable(const QString& first, const QString& path)
{
    return IoError(QStringLiteral("IL FILE %1 NON PUO` FAR PARTE DELLA STESSA MODIFICA DEL FILE %2: NESSUN FILE E` "
                                  "STATO MODIFICATO.")
                       .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(first)));
}

QByteArray journalText(const QByteArray& id, const QString& journal, const QList<Entry>& entries)
{
    const QString folder = folderOf(journal);
    QByteArray body = kJournal + ' ' + id + '\n';
    for (const Entry& e : entries) {
        const QString target = nameFor(folder, e.target);
        const QString temporary = e.temporary.isEmpty() ? QStringLiteral("-") : nameFor(folder, e.temporary);
        if (target.isEmpty() || temporary.isEmpty())
            throw unnamable(entries.first().target, target.isEmpty() ? e.target : e.temporary);
        body += temporary.toUtf8() + '\t' + target.toUtf8() + '\n';
    }
    return sealed(body);
}

QByteArray noteText(const QByteArray& id, const QString& note, const QString& journal)
{
    const QString name = nameFor(folderOf(note), journal);
    if (name.isEmpty())
        throw unnamable(journal.chopped(kJournalSuffix.size()), note.chopped(kJournalSuffix.size()));
    return sealed(kNote + ' ' + id + '\n' + name.toUtf8() + '\n');
}

bool isId(const QByteArray& id)
{
    if (id.isEmpty() || id.size() > 16)
        return false;
    for (const char c : id)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

// Reads a journal or a note, trusting nothing in it: any name it holds that this program would
// not have written makes it Damaged.
Mark readMarkText(const QByteArray& all, const QString& folder)
{
    Mark m;
    QByteArray body = all;
    const qsizetype end = all.lastIndexOf('\n' + kEnd);
    if (end >= 0 && all.endsWith('\n')) {
        const QByteArray head = all.left(end + 1);
        if (all.mid(end + 1) == sealed(head).mid(head.size())) {
            m.complete = true;
            body = head;
        }
    }
    QList<QByteArray> lines = body.split('\n');
    lines.removeLast(); // what follows the last line break: empty, or a line cut short
    if (lines.isEmpty()) {
        m.kind = m.complete ? Mark::Damaged : Mark::Empty;
        return m;
    }
    const Mark damaged{Mark::Damaged};
    const QList<QByteArray> first = lines.takeFirst().split(' ');
    if (first.size() != 2 || !isId(first[1]))
        return damaged;
    m.id = first[1];
    if (first[0] == kJournal) {
        m.kind = Mark::Journal;
        for (const QByteArray& line : lines) {
            const QList<QByteArray> parts = line.split('\t');
            if (parts.size() != 2)
                return damaged;
            const QString target = resolveName(folder, parts[1]);
            if (target.isEmpty() || !isDataFileName(QFileInfo(target).fileName()))
                return damaged;
            QString temporary;
            if (parts[0] != "-") {
                // Only a temporary of its own file, beside it, named as the program names them.
                temporary = resolveName(folder, parts[0]);
                if (temporary.isEmpty() || folderOf(temporary) != folderOf(target)
                    || !atomicfile::isTemporaryOf(QFileInfo(temporary).fileName(), QFileInfo(target).fileName()))
                    return damaged;
            }
            m.entries << Entry{temporary, target};
        }
        return m;
    }
    if (first[0] == kNote && lines.size() <= 1) {
        m.kind = Mark::Note;
        if (!lines.isEmpty()) {
            m.journal = resolveName(folder, lines[0]);
            const QString name = QFileInfo(m.journal).fileName();
            if (m.journal.isEmpty() || !name.endsWith(kJournalSuffix)
                || !isDataFileName(name.chopped(kJournalSuffix.size())))
                return damaged;
        }
        m.complete = m.complete && !m.journal.isEmpty();
        return m;
    }
    return damaged;
}

Mark readMark(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return Mark{Mark::Damaged};
    return readMarkText(f.readAll(), folderOf(keyOf(path)));
}

IoError damagedMark(const QString& path)
{
    return IoError(QStringLiteral("IL FILE DI RIPRISTINO %1 E` DANNEGGIATO O NON E` STATO SCRITTO DA QUESTO "
                                  "PROGRAMMA: NESSUN FILE E` STATO TOCCATO. FARLO CONTROLLARE PRIMA DI RIPETERE "
                                  "L'OPERAZIONE.")
                       .arg(QDir::toNativeSeparators(path)));
}

void syncFolders(const QList<Entry>& entries, const QString& also = {})
{
    QSet<QString> folders;
    for (const Entry& e : entries)
        folders.insert(folderOf(e.target));
    if (!also.isEmpty())
        folders.insert(folderOf(also));
    for (const QString& f : folders)
        atomicfile::syncFolder(f);
}

// Removes the notes of a group (those beside `targets` that point to journal `id`).
void removeNotes(const QByteArray& id, const QString& journal, const QStringList& targets)
{
    for (const QString& t : targets) {
        const QString note = FileGroup::journalMark(t);
        if (note == journal || !QFileInfo::exists(note))
            continue;
        const Mark m = readMark(note);
        if (m.kind == Mark::Note && m.id == id)
            QFile::remove(note);
    }
}

QStringList targetsOf(const QList<Entry>& entries)
{
    QStringList out;
    for (const Entry& e : entries)
        out << e.target;
    return out;
}

// Carries out a complete journal: every temporary still there replaces its file (one already gone
// was renamed before the interruption), files to remove are removed; then the journal and the
// notes go. Doing it again after an interruption does no harm.
void carryOut(const QString& journal, const Mark& m, const QStringList& notesOf)
{
    for (const Entry& e : m.entries) {
        if (e.temporary.isEmpty())
            removeFile(e.target);
        else if (QFileInfo::exists(e.temporary))
            atomicfile::moveOver(e.temporary, e.target);
    }
    syncFolders(m.entries);
    QFile::remove(journal);
    atomicfile::syncFolder(folderOf(journal));
    removeNotes(m.id, journal, notesOf);
}

// Drops an incomplete journal: the change was never decided, the files were never touched.
void discard(const QString& journal, const Mark& m)
{
    for (const Entry& e : m.entries)
        if (!e.temporary.isEmpty())
            QFile::remove(e.temporary);
    QFile::remove(journal);
    removeNotes(m.id, journal, targetsOf(m.entries));
}

QByteArray freshId()
{
    return QByteArray::number(QRandomGenerator::global()->generate64(), 16);
}
} // namespace

std::function<void(const QString&)>& FileGroup::beforeReplace()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

std::function<void(const QString&)>& FileGroup::beforeMove()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

void FileGroup::completeInterrupted(const QString& path)
{
    const QString mark = journalMark(keyOf(path));
    if (!QFileInfo::exists(mark))
        return;
    const Mark m = readMark(mark);
    if (m.kind == Mark::Damaged)
        throw damagedMark(mark);
    if (m.kind == Mark::Journal) {
        if (m.complete)
            carryOut(mark, m, targetsOf(m.entries));
        else
            discard(mark, m);
        return;
    }
    // A note: its journal decides. A note without its journal belongs to a change that was never
    // decided or that was carried out before its notes were removed.
    if (m.kind == Mark::Note && m.complete && QFileInfo::exists(m.journal)) {
        const Mark j = readMark(m.journal);
        if (j.kind == Mark::Damaged)
            throw damagedMark(m.journal);
        if (j.kind == Mark::Journal && j.id == m.id) {
            if (j.complete)
                carryOut(m.journal, j, targetsOf(j.entries));
            else
                discard(m.journal, j);
        }
    }
    QFile::remove(mark);
}

FileGroup::JournalReading FileGroup::readJournal(const QByteArray& text, const QString& folder)
{
    const Mark m = readMarkText(text, folder);
    JournalReading out;
    out.trusted = m.kind != Mark::Damaged;
    out.complete = m.complete;
    out.isNote = m.kind == Mark::Note;
    for (const Entry& e : m.entries) {
        out.temporaries << e.temporary;
        out.targets << e.target;
    }
    out.journal = m.journal;
    return out;
}

bool FileGroup::wouldComplete(const QString& mark)
{
    const Mark m = readMark(mark);
    if (m.kind == Mark::Journal)
        return m.complete;
    if (m.kind == Mark::Note && m.complete && QFileInfo::exists(m.journal)) {
        const Mark j = readMark(m.journal);
        return j.kind == Mark::Journal && j.id == m.id && j.complete;
    }
    return false;
}

FileGroup::FileGroup(const QStringList& paths, Messenger* lockWith)
{
    if (!lockWith)
        return;
    QStringList sorted;
    for (const QString& p : paths)
        sorted << keyOf(p);
    sorted.removeDuplicates();
    std::sort(sorted.begin(), sorted.end());
    for (const QString& p : sorted)
        locks_.push_back(std::make_unique<FileLock>(p, *lockWith));
}

FileGroup::~FileGroup()
{
    // Release in the reverse order of acquisition.
    while (!locks_.empty())
        locks_.pop_back();
}

void FileGroup::rememberOriginal(const QString& key, const QString& path, int recordSize) const
{
    if (originals_.contains(key))
        return;
    RecordFile file(path, recordSize);
    Original o;
    o.existed = file.exists();
    if (o.existed)
        for (const QByteArray& r : file.readAll()) // refuses a damaged file
            o.content += r;
    originals_.insert(key, o);
}

QList<QByteArray> FileGroup::read(const QString& path, int recordSize) const
{
    const QString key = keyOf(path);
    const auto p = pending_.constFind(key);
    if (p == pending_.cend()) {
        rememberOriginal(key, path, recordSize);
        const QByteArray& all = originals_[key].content;
        if (all.size() % recordSize != 0)
            return RecordFile(path, recordSize).readAll(); // read as another size: let it judge
        QList<QByteArray> out;
        out.reserve(all.size() / recordSize);
        for (qsizetype off = 0; off < all.size(); off += recordSize)
            out << all.mid(off, recordSize);
        return out;
    }
    QList<QByteArray> out;
    for (qsizetype off = 0; off + recordSize <= p->content.size(); off += recordSize)
        out << p->content.mid(off, recordSize);
    return out;
}

void FileGroup::replace(const QString& path, int recordSize, const QList<QByteArray>& records)
{
    if (!running_) {
        run([&](FileGroup& g) { g.replace(path, recordSize, records); });
        return;
    }
    Pending next;
    next.recordSize = recordSize;
    next.content.reserve(records.size() * recordSize);
    for (const QByteArray& r : records) {
        if (r.size() != recordSize)
            throw IoError(QStringLiteral("RECORD DI LUNGHEZZA ERRATA (%1 INVECE DI %2) PER IL FILE %3")
                              .arg(r.size())
                              .arg(recordSize)
                              .arg(QDir::toNativeSeparators(path)));
        next.content += r;
    }
    const QString key = keyOf(path);
    rememberOriginal(key, path, recordSize);
    if (auto& hook = beforeReplace())
        hook(path);
    pending_.insert(key, next);
    // Files are put in place in the order of their last replacement, so that readers (who do not
    // lock) meet lines before the header that owns them.
    order_.removeAll(key);
    order_ << key;
}

void FileGroup::run(const std::function<void(FileGroup&)>& steps)
{
    running_ = true;
    try {
        steps(*this);
    } catch (...) {
        // Nothing has been written yet.
        running_ = false;
        pending_.clear();
        order_.clear();
        originals_.clear();
        throw;
    }
    running_ = false;
    try {
        commit();
    } catch (...) {
        pending_.clear();
        order_.clear();
        originals_.clear();
        throw;
    }
    pending_.clear();
    order_.clear();
    originals_.clear();
}

void FileGroup::commit()
{
    if (order_.isEmpty())
        return;
    QList<Entry> entries;
    auto dropTemporaries = [&entries] {
        for (const Entry& e : entries)
            QFile::remove(e.temporary);
    };
    try {
        for (const QString& key : order_)
            entries << Entry{atomicfile::writeTemporary(key, pending_.value(key).content), key};
    } catch (...) {
        dropTemporaries();
        throw;
    }

    auto move = [](const Entry& e) {
        if (auto& hook = beforeMove())
            hook(e.target);
        atomicfile::moveOver(e.temporary, e.target);
    };
    if (entries.size() == 1) {
        // One file: its rename alone is all or nothing.
        try {
            move(entries.first());
        } catch (...) {
            dropTemporaries();
            throw;
        }
        return;
    }

    const QByteArray id = freshId();
    const QString journal = journalMark(entries.first().target);
    QStringList written;
    try {
        for (qsizetype i = 1; i < entries.size(); ++i) {
            const QString note = journalMark(entries[i].target);
            atomicfile::writeFlushed(note, noteText(id, note, journal));
            written << note;
        }
        written << journal;
        atomicfile::writeFlushed(journal, journalText(id, journal, entries));
        syncFolders(entries);
    } catch (...) {
        for (const QString& w : written)
            QFile::remove(w);
        dropTemporaries();
        throw;
    }

    // Decided: from here on the change is carried out, by this copy or by the next lock holder.
    const QStringList targets = targetsOf(entries);
    // A file that cannot be replaced (and keeps refusing) undoes the change: the journal is switched,
    // in one rename, to one that puts back the previous contents of the files already replaced.
    auto undo = [&](const QList<Entry>& done, const QList<Entry>& notDone, const IoError& error) {
        QList<Entry> back;
        try {
            for (const Entry& e : done) {
                const Original& o = originals_[e.target];
                back << (o.existed ? Entry{atomicfile::writeTemporary(e.target, o.content), e.target}
                                   : Entry{QString(), e.target});
            }
            atomicfile::replace(journal, journalText(id, journal, back));
        } catch (const IoError&) {
            for (const Entry& b : back)
                if (!b.temporary.isEmpty())
                    QFile::remove(b.temporary);
            throw IoError(error.text() + QStringLiteral("\nL'OPERAZIONE SARA` COMPLETATA AL PROSSIMO ACCESSO AL FILE."));
        }
        for (const Entry& e : notDone)
            QFile::remove(e.temporary);
        Mark m;
        m.kind = Mark::Journal;
        m.complete = true;
        m.id = id;
        m.entries = back;
        try {
            carryOut(journal, m, targets);
        } catch (const IoError& again) {
            throw IoError(error.text() + QStringLiteral("\nIMPOSSIBILE RIPRISTINARE IL CONTENUTO PRECEDENTE: ")
                          + again.text());
        }
        throw error;
    };
    for (qsizetype i = 0; i < entries.size(); ++i) {
        try {
            move(entries[i]);
        } catch (const IoError& e) {
            undo(entries.mid(0, i), entries.mid(i), e);
        }
    }
    syncFolders(entries);
    QFile::remove(journal);
    atomicfile::syncFolder(folderOf(journal));
    removeNotes(id, journal, targets);
}

} // namespace vt
