#include "foundation/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <limits>
#include <memory>

#include "foundation/AtomicFile.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"

namespace vt {

namespace {
QString nativePath(const QString& p)
{
    return QDir::toNativeSeparators(p);
}

IoError ioFailure(const QString& path, const QFileDevice& f)
{
    return IoError(QStringLiteral("ERRORE DI LETTURA/SCRITTURA SUL FILE %1: %2").arg(nativePath(path), f.errorString()));
}

IoError damaged(const QString& path, qint64 length, int size)
{
    return IoError(QStringLiteral("IL FILE %1 E` DANNEGGIATO: LA SUA LUNGHEZZA (%2 BYTE) NON E` UN MULTIPLO DELLA "
                                  "LUNGHEZZA DEL RECORD (%3 BYTE). IL FILE NON E` STATO MODIFICATO.")
                       .arg(nativePath(path))
                       .arg(length)
                       .arg(size));
}

// The whole content of a file that is being changed under its lock, mapped into memory rather than
// copied where the system allows (the lock keeps every other writer away, and the file is only
// ever replaced, never cut short, by this program).
class LockedContent {
public:
    LockedContent(const QString& path, int size) : file_(path)
    {
        if (!file_.exists())
            return;
        if (!file_.open(QIODevice::ReadOnly))
            throw ioFailure(path, file_);
        const qint64 length = file_.size();
        if (length % size != 0)
            throw damaged(path, length, size);
        if (length == 0)
            return;
        map_ = file_.map(0, length);
        if (map_) {
            bytes_ = QByteArray::fromRawData(reinterpret_cast<const char*>(map_), length);
            return;
        }
        bytes_ = file_.readAll();
        if (file_.error() != QFileDevice::NoError)
            throw ioFailure(path, file_);
        if (bytes_.size() % size != 0)
            throw damaged(path, bytes_.size(), size);
    }
    ~LockedContent() { release(); }
    LockedContent(const LockedContent&) = delete;
    LockedContent& operator=(const LockedContent&) = delete;

    const QByteArray& bytes() const { return bytes_; }
    // Lets go of the file: a mapped file cannot be replaced on some systems.
    void release()
    {
        bytes_.clear();
        if (map_)
            file_.unmap(map_);
        map_ = nullptr;
        file_.close();
    }

private:
    QFile file_;
    uchar* map_ = nullptr;
    QByteArray bytes_;
};

// Replaces the file with the pieces (views into `content`), then lets go of `content` before the
// rename.
void replaceFrom(LockedContent& content, const QString& path, const QList<QByteArrayView>& pieces)
{
    const QString temp = atomicfile::writeTemporary(path, pieces);
    content.release();
    try {
        atomicfile::moveOver(temp, path);
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
}

// Takes the marker lock for the duration of a change when the file was made with a Messenger.
std::unique_ptr<FileLock> lockFor(const QString& path, Messenger* m)
{
    return m ? std::make_unique<FileLock>(path, *m) : nullptr;
}
} // namespace

RecordFile::RecordFile(QString path, int recordSize, Messenger* lockWith)
    : path_(std::move(path)), size_(recordSize), messenger_(lockWith)
{
}

std::int32_t RecordFile::numberOf(const QByteArray& record)
{
    return record.size() >= 4 ? qFromLittleEndian<qint32>(record.constData()) : 0;
}

void RecordFile::setNumber(QByteArray& record, std::int32_t number)
{
    qToLittleEndian<qint32>(number, record.data());
}

bool RecordFile::exists() const
{
    return QFileInfo::exists(path_);
}

QByteArray RecordFile::readBytes() const
{
    QFile f(path_);
    if (!f.exists())
        return {};
    if (!f.open(QIODevice::ReadOnly))
        throw ioFailure(path_, f);
    const qint64 length = f.size();
    if (length % size_ != 0)
        throw damaged(path_, length, size_);
    QByteArray all = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw ioFailure(path_, f);
    if (all.size() % size_ != 0)
        throw damaged(path_, all.size(), size_);
    return all;
}

QList<QByteArray> RecordFile::readAll() const
{
    const QByteArray all = readBytes();
    QList<QByteArray> out;
    out.reserve(all.size() / size_);
    for (qsizetype off = 0; off < all.size(); off += size_)
        out.append(all.mid(off, size_));
    return out;
}

qint64 RecordFile::count() const
{
    QFileInfo fi(path_);
    if (!fi.exists())
        return 0;
    if (fi.size() % size_ != 0)
        throw damaged(path_, fi.size(), size_);
    return fi.size() / size_;
}

std::optional<QByteArray> RecordFile::readFirst() const
{
    return readAt(0);
}

std::optional<QByteArray> RecordFile::readAt(qint64 index) const
{
    QFile f(path_);
    if (!f.exists())
        return std::nullopt;
    if (!f.open(QIODevice::ReadOnly))
        throw ioFailure(path_, f);
    if (f.size() % size_ != 0)
        throw damaged(path_, f.size(), size_);
    if (index < 0 || (index + 1) * size_ > f.size())
        return std::nullopt;
    if (!f.seek(index * size_))
        throw ioFailure(path_, f);
    QByteArray rec = f.read(size_);
    if (rec.size() != size_)
        throw ioFailure(path_, f);
    return rec;
}

qint64 RecordFile::indexOfFirst(const Predicate& match) const
{
    const QByteArray all = readBytes();
    for (qsizetype off = 0; off < all.size(); off += size_) {
        if (match(QByteArray::fromRawData(all.constData() + off, size_)))
            return off / size_;
    }
    return -1;
}

std::optional<QByteArray> RecordFile::findFirst(const Predicate& match) const
{
    const QByteArray all = readBytes();
    for (qsizetype off = 0; off < all.size(); off += size_) {
        QByteArray rec = QByteArray::fromRawData(all.constData() + off, size_);
        if (match(rec))
            return QByteArray(rec.constData(), size_);
    }
    return std::nullopt;
}

std::optional<QByteArray> RecordFile::findByNumber(std::int32_t number) const
{
    return findFirst([number](const QByteArray& r) { return numberOf(r) == number; });
}

std::int32_t nextRecordNumber(std::int32_t largest, const QString& path)
{
    if (largest < std::numeric_limits<std::int32_t>::max())
        return largest + 1;
    if (path.isEmpty())
        throw IoError(QStringLiteral("E` STATO RAGGIUNTO IL NUMERO MASSIMO DI RECORD (%1): IL RECORD NON E` STATO "
                                     "INSERITO.")
                          .arg(largest));
    throw IoError(QStringLiteral("IL FILE %1 HA RAGGIUNTO IL NUMERO MASSIMO DI RECORD (%2): IL RECORD NON E` STATO "
                                 "INSERITO.")
                      .arg(nativePath(path))
                      .arg(largest));
}

std::int32_t RecordFile::maxNumber() const
{
    const QByteArray all = readBytes();
    std::int32_t best = 0;
    for (qsizetype off = 0; off < all.size(); off += size_)
        best = std::max(best, qFromLittleEndian<qint32>(all.constData() + off));
    return best;
}

void RecordFile::openOrCreate() const
{
    if (QFileInfo::exists(path_))
        return;
    QFile f(path_);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !QFileInfo::exists(path_))
        throw ioFailure(path_, f);
}

void RecordFile::checkRecord(const QByteArray& record) const
{
    if (record.size() != size_)
        throw IoError(QStringLiteral("RECORD DI LUNGHEZZA ERRATA (%1 INVECE DI %2) PER IL FILE %3")
                          .arg(record.size())
                          .arg(size_)
                          .arg(nativePath(path_)));
}

void RecordFile::writeAtomically(const QByteArray& content) const
{
    atomicfile::replace(path_, content);
}

qint64 RecordFile::append(const QByteArray& record)
{
    checkRecord(record);
    auto lock = lockFor(path_, messenger_);
    const qint64 n = count(); // refuses a damaged file before writing
    QFile f(path_);
    if (!f.open(QIODevice::ReadWrite))
        throw ioFailure(path_, f);
    if (!f.seek(n * size_) || f.write(record) != size_ || !f.flush())
        throw ioFailure(path_, f);
    return n;
}

void RecordFile::updateAt(qint64 index, const QByteArray& record)
{
    checkRecord(record);
    auto lock = lockFor(path_, messenger_);
    const qint64 n = count();
    if (index < 0 || index >= n)
        throw IoError(QStringLiteral("RECORD %1 INESISTENTE NEL FILE %2").arg(index).arg(nativePath(path_)));
    QFile f(path_);
    if (!f.open(QIODevice::ReadWrite))
        throw ioFailure(path_, f);
    if (!f.seek(index * size_) || f.write(record) != size_ || !f.flush())
        throw ioFailure(path_, f);
}

std::int32_t RecordFile::insertInOrder(QByteArray record, const SortKey& key)
{
    checkRecord(record);
    auto lock = lockFor(path_, messenger_);
    openOrCreate();
    LockedContent content(path_, size_);
    const QByteArray& all = content.bytes();
    if (numberOf(record) == 0) {
        std::int32_t best = 0;
        for (qsizetype off = 0; off < all.size(); off += size_)
            best = std::max(best, qFromLittleEndian<qint32>(all.constData() + off));
        setNumber(record, nextRecordNumber(best, path_));
    }
    const QByteArray newKey = key(record);
    qsizetype at = all.size();
    for (qsizetype off = 0; off < all.size(); off += size_) {
        if (key(QByteArray::fromRawData(all.constData() + off, size_)) > newKey) {
            at = off;
            break;
        }
    }
    // Written as the records before, the new one, the records after: no copy of the whole file.
    const QByteArrayView whole(all);
    replaceFrom(content, path_, {whole.first(at), QByteArrayView(record), whole.sliced(at)});
    return numberOf(record);
}

bool RecordFile::deleteByNumber(std::int32_t number)
{
    auto lock = lockFor(path_, messenger_);
    openOrCreate();
    LockedContent content(path_, size_);
    const QByteArray& all = content.bytes();
    for (qsizetype off = 0; off < all.size(); off += size_) {
        if (qFromLittleEndian<qint32>(all.constData() + off) == number) {
            const QByteArrayView whole(all);
            replaceFrom(content, path_, {whole.first(off), whole.sliced(off + size_)});
            return true;
        }
    }
    return false;
}

int RecordFile::deleteByFilter(const Predicate& remove)
{
    auto lock = lockFor(path_, messenger_);
    openOrCreate();
    LockedContent content(path_, size_);
    const QByteArray& all = content.bytes();
    // The records kept, as runs of the file read: written without copying them.
    QList<QByteArrayView> kept;
    qsizetype runStart = 0;
    int removed = 0;
    for (qsizetype off = 0; off < all.size(); off += size_) {
        if (remove(QByteArray::fromRawData(all.constData() + off, size_))) {
            ++removed;
            if (off > runStart)
                kept << QByteArrayView(all.constData() + runStart, off - runStart);
            runStart = off + size_;
        }
    }
    if (removed == 0)
        return 0;
    if (all.size() > runStart)
        kept << QByteArrayView(all.constData() + runStart, all.size() - runStart);
    replaceFrom(content, path_, kept);
    return removed;
}

void RecordFile::rewriteSingle(const QByteArray& record)
{
    checkRecord(record);
    auto lock = lockFor(path_, messenger_);
    writeAtomically(record);
}

void RecordFile::replaceAll(const QList<QByteArray>& records)
{
    QByteArray content;
    content.reserve(records.size() * size_);
    for (const auto& r : records) {
        checkRecord(r);
        content.append(r);
    }
    auto lock = lockFor(path_, messenger_);
    writeAtomically(content);
}

void RecordFile::clear()
{
    replaceAll({});
}

void removeFile(const QString& path)
{
    QFile f(path);
    if (f.exists() && !f.remove())
        throw IoError(QStringLiteral("IMPOSSIBILE CANCELLARE IL FILE %1: %2").arg(nativePath(path), f.errorString()));
}

} // namespace vt
