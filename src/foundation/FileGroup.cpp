#include "foundation/FileGroup.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include "foundation/FileLock.h"
#include "foundation/RecordFile.h"

namespace vt {

std::function<void(const QString&)>& FileGroup::beforeReplace()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

FileGroup::FileGroup(const QStringList& paths, Messenger* lockWith)
{
    if (!lockWith)
        return;
    QStringList sorted;
    for (const QString& p : paths)
        sorted << QDir::cleanPath(QFileInfo(p).absoluteFilePath());
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

QList<QByteArray> FileGroup::read(const QString& path, int recordSize) const
{
    return RecordFile(path, recordSize).readAll();
}

void FileGroup::replace(const QString& path, int recordSize, const QList<QByteArray>& records)
{
    RecordFile file(path, recordSize);
    if (!previous_.contains(path)) {
        Previous prev;
        prev.existed = file.exists();
        prev.recordSize = recordSize;
        if (prev.existed)
            prev.records = file.readAll();
        previous_.insert(path, prev);
    }
    if (auto& hook = beforeReplace())
        hook(path);
    file.replaceAll(records);
    if (!replacedInOrder_.contains(path))
        replacedInOrder_ << path;
}

QStringList FileGroup::rollback()
{
    QStringList failures;
    for (auto it = replacedInOrder_.crbegin(); it != replacedInOrder_.crend(); ++it) {
        const Previous& prev = previous_.value(*it);
        try {
            if (prev.existed)
                RecordFile(*it, prev.recordSize).replaceAll(prev.records);
            else
                removeFile(*it);
        } catch (const IoError& e) {
            failures << e.text();
        }
    }
    replacedInOrder_.clear();
    previous_.clear();
    return failures;
}

void FileGroup::run(const std::function<void(FileGroup&)>& steps)
{
    try {
        steps(*this);
    } catch (const IoError& e) {
        const QStringList failures = rollback();
        if (failures.isEmpty())
            throw;
        throw IoError(e.text() + QStringLiteral("\nIMPOSSIBILE RIPRISTINARE IL CONTENUTO PRECEDENTE: ")
                      + failures.join(QLatin1Char('\n')));
    }
    replacedInOrder_.clear();
    previous_.clear();
}

} // namespace vt
