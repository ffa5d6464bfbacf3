#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace vt {

class Messenger;

// A flat file of fixed-size records with no header. Nothing stays open between operations.
//
// Made with a Messenger, every change takes the file's marker lock (FileLock) for its duration;
// made without one, changes run unlocked, for a caller that already holds the lock (or for the
// one-record files, which are written without it).
//
// Every rewrite builds the complete new content and replaces the file atomically, so a crash or
// a full disk leaves the old file or the new one, never a torn one. A file whose length is not a
// whole number of records is reported as damaged and never touched.
class RecordFile {
public:
    using Predicate = std::function<bool(const QByteArray&)>;
    using SortKey = std::function<QByteArray(const QByteArray&)>;

    RecordFile(QString path, int recordSize, Messenger* lockWith = nullptr);

    const QString& path() const { return path_; }
    int recordSize() const { return size_; }

    // The number of a record: its first 32-bit field.
    static std::int32_t numberOf(const QByteArray& record);
    static void setNumber(QByteArray& record, std::int32_t number);

    // Readers: a missing file has no records and is not created.
    bool exists() const;
    QList<QByteArray> readAll() const;
    qint64 count() const;
    std::optional<QByteArray> readFirst() const;
    std::optional<QByteArray> readAt(qint64 index) const;
    std::optional<QByteArray> findByNumber(std::int32_t number) const;
    std::optional<QByteArray> findFirst(const Predicate& match) const;
    qint64 indexOfFirst(const Predicate& match) const; // -1 when none

    // Creates the file empty when it does not exist.
    void openOrCreate() const;

    // Changes.
    qint64 append(const QByteArray& record);                       // index written
    void updateAt(qint64 index, const QByteArray& record);         // those bytes only
    // Places the record before the first one whose sort key is strictly greater (equal keys keep
    // insertion order); number 0 is replaced by the largest number + 1. Returns the number.
    std::int32_t insertInOrder(QByteArray record, const SortKey& key);
    bool deleteByNumber(std::int32_t number);                      // false when absent
    int deleteByFilter(const Predicate& remove);                   // records removed
    void rewriteSingle(const QByteArray& record);
    void replaceAll(const QList<QByteArray>& records);              // atomic, whole content
    void clear();                                                   // atomic, empty file

    // Largest record number present, 0 for an empty or missing file.
    std::int32_t maxNumber() const;

private:
    QByteArray readBytes() const;          // whole content, checked for damage
    void writeAtomically(const QByteArray& content) const;
    void checkRecord(const QByteArray& record) const;

    QString path_;
    int size_;
    Messenger* messenger_;
};

// The number of a new record after `largest`, the largest number present. No number follows the
// largest 32-bit one: then IoError (naming `path` when given) instead of a wrap to a negative number.
std::int32_t nextRecordNumber(std::int32_t largest, const QString& path = {});

// Removes a file, or raises IoError when it exists and cannot be removed.
void removeFile(const QString& path);

} // namespace vt
