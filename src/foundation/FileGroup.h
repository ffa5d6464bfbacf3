#pragma once
// Changes several record files as one, so that neither an error nor a crash leaves some of them
// changed and others not.
//
// The marker locks of all the files are taken in a fixed order (sorted paths, so two copies of the
// program never wait on each other in a circle) and held until the group is destroyed. The steps
// read the files and say what each file's new content is; nothing is written until they have all
// run. Then the change is committed:
//   1. every new content is written into a temporary file beside its file and flushed;
//   2. a small journal naming the pending replacements is written beside the first file (that
//      file's name + ".~GRUPPO") and flushed, and beside each other file a note of the same name
//      that points to it; the journal, once complete, is the moment the change is decided;
//   3. the temporaries are renamed over their files, in the order of their last replacement;
//   4. the journal is removed, then the notes.
// Whoever next takes the lock on any file of an interrupted group (FileLock does it) first
// completes it when its journal is complete, or discards it when it is not: the files hold either
// all their old contents or all their new ones. A journal that names anything but the group's
// own files and their temporaries is never acted on: the lock is refused with a message naming it.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

#include "foundation/IoError.h"

namespace vt {

class FileLock;
class Messenger;

class FileGroup {
public:
    // Takes the locks when lockWith is given (callers that already hold them pass nullptr).
    FileGroup(const QStringList& paths, Messenger* lockWith);
    ~FileGroup();
    FileGroup(const FileGroup&) = delete;
    FileGroup& operator=(const FileGroup&) = delete;

    // Records of a file as the group has them: the new content when the group has already
    // replaced it, otherwise the file's (a missing file has none). Damaged files raise IoError.
    QList<QByteArray> read(const QString& path, int recordSize) const;
    // The whole new content of a file. Inside run() it is written when the steps have all run;
    // outside, at once, as a group of one file.
    void replace(const QString& path, int recordSize, const QList<QByteArray>& records);

    // Runs the steps, then commits every replacement as one. When the steps raise, nothing has
    // been written and the error passes on. When the commit fails, the files already replaced get
    // their previous content back before the error passes on.
    void run(const std::function<void(FileGroup&)>& steps);

    // Completes (or, with its journal incomplete, discards) a group change involving `path` that
    // a crash interrupted. Only for a caller that has just taken the lock on `path`.
    static void completeInterrupted(const QString& path);
    // What the roll-forward reads from the text of a journal or note kept in `folder`. Untrusted
    // when it names anything this program would not have written there: a file outside the
    // group's data folders, or a temporary not named as those of its own file.
    struct JournalReading {
        bool trusted = false;
        bool complete = false;
        bool isNote = false;
        QStringList temporaries; // a journal's, one per target; empty: the target is removed
        QStringList targets;
        QString journal; // a note's
    };
    static JournalReading readJournal(const QByteArray& text, const QString& folder);
    // What completeInterrupted would do with the journal or note `mark` (a path ending in
    // ".~GRUPPO"): true when it would complete the change, false when it would discard it. Reads
    // only.
    static bool wouldComplete(const QString& mark);
    // The journal of a group, or the note pointing to it, beside a file of the group.
    static QString journalMark(const QString& path) { return path + QStringLiteral(".~GRUPPO"); }

    // Test hook: called on every replacement with the path; may raise IoError to play a full
    // disk or a failing device part-way through a group.
    static std::function<void(const QString& path)>& beforeReplace();
    // Test hook: called before each file of a decided change is renamed into place; may raise
    // IoError to play a file that cannot be replaced.
    static std::function<void(const QString& path)>& beforeMove();

private:
    struct Original {
        bool existed = false;
        QByteArray content;
    };
    struct Pending {
        int recordSize = 0;
        QByteArray content;
    };
    void rememberOriginal(const QString& key, const QString& path, int recordSize) const;
    void commit();

    std::vector<std::unique_ptr<FileLock>> locks_;
    mutable QMap<QString, Original> originals_;
    QMap<QString, Pending> pending_;
    QStringList order_; // paths in the order of their last replacement
    bool running_ = false;
};

} // namespace vt
