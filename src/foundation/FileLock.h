#pragma once
#include <QString>

namespace vt {

class Messenger;

// Scoped marker-file lock over a data file: the marker is the file's path with "$" appended,
// created exclusively. While another copy of the program holds it, the user is told to wait and
// retry; from the eleventh wait on, also asked whether to override. Released on destruction,
// also when an exception passes.
//
// Whoever takes the lock first puts the file in order after a crash of the previous holder: it
// completes or discards an interrupted change of several files (FileGroup) and removes the
// temporaries of interrupted rewrites.
class FileLock {
public:
    FileLock(const QString& dataPath, Messenger& messenger);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    static QString markerPath(const QString& dataPath) { return dataPath + QLatin1Char('$'); }
    static QString waitText(const QString& dataPath);
    static QString overrideText(const QString& dataPath);

private:
    QString marker_;
};

} // namespace vt
