#pragma once
// Changes several record files as one. The marker locks of all the files are taken in a fixed
// order (sorted paths, so two copies of the program never wait on each other in a circle) and held
// until the group is destroyed. Each file is replaced atomically; when one replacement fails, the
// files already replaced get their previous content back, so a failure part-way (full disk, I/O
// error) leaves every file of the group as it was.
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

    // Current records of a file (a missing file has none); damaged files raise IoError.
    QList<QByteArray> read(const QString& path, int recordSize) const;
    // Replaces the whole content atomically; the first replacement of a file remembers what it held.
    void replace(const QString& path, int recordSize, const QList<QByteArray>& records);

    // Runs the steps; when they raise IoError, puts back every file already replaced and raises the
    // error again (with the files that could not be put back named in its text).
    void run(const std::function<void(FileGroup&)>& steps);

    // Test hook: called before every replacement with the path; may raise IoError to play a full
    // disk or a failing device part-way through a group.
    static std::function<void(const QString& path)>& beforeReplace();

private:
    struct Previous {
        bool existed = false;
        int recordSize = 0;
        QList<QByteArray> records;
    };
    QStringList rollback();

    std::vector<std::unique_ptr<FileLock>> locks_;
    QMap<QString, Previous> previous_;
    QStringList replacedInOrder_;
};

} // namespace vt
