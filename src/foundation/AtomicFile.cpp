#include "foundation/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include "foundation/IoError.h"

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vt::atomicfile {

namespace {
QString native(const QString& p)
{
    return QDir::toNativeSeparators(p);
}

IoError writeFailure(const QString& path, const QString& why)
{
    return IoError(QStringLiteral("ERRORE DI LETTURA/SCRITTURA SUL FILE %1: %2").arg(native(path), why));
}

// Pushes what was written to the device, not only to the system's cache.
bool flushToDevice(QFile& f)
{
    if (!f.flush())
        return false;
#ifdef Q_OS_WIN
    return ::_commit(f.handle()) == 0;
#else
    return ::fsync(f.handle()) == 0;
#endif
}

const QLatin1String kTemporaryMark(".~NUOVO~");
constexpr int kRandomDigits = 16;

QString freshName(const QString& target)
{
    return target + kTemporaryMark
        + QStringLiteral("%1").arg(QRandomGenerator::global()->generate64(), kRandomDigits, 16, QLatin1Char('0'));
}

// One attempt at the rename; the text of the failure when it did not happen.
bool renameOnce(const QString& from, const QString& to, QString* why)
{
#ifdef Q_OS_WIN
    if (::MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                      reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    *why = QStringLiteral("errore %1").arg(::GetLastError());
    return false;
#else
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
#endif
}
} // namespace

QString writeTemporary(const QString& target, const QByteArray& content)
{
    return writeTemporary(target, QList<QByteArrayView>{QByteArrayView(content)});
}

QString writeTemporary(const QString& target, const QList<QByteArrayView>& pieces)
{
    for (int attempt = 0;; ++attempt) {
        const QString temp = freshName(target);
        QFile f(temp);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            if (QFileInfo::exists(temp) && attempt < 10)
                continue; // the name is taken: draw another
            throw writeFailure(target, f.errorString());
        }
        bool written = true;
        for (const QByteArrayView piece : pieces)
            if (!piece.isEmpty() && f.write(piece.data(), piece.size()) != piece.size()) {
                written = false;
                break;
            }
        if (!written || !flushToDevice(f)) {
            const IoError e = writeFailure(target, f.errorString());
            f.close();
            f.remove();
            throw e;
        }
        f.close();
        return temp;
    }
}

void moveOver(const QString& temporary, const QString& target)
{
    QString why;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (renameOnce(temporary, target, &why))
            return;
        if (!QFileInfo::exists(temporary))
            break;
        QThread::msleep(50);
    }
    throw writeFailure(target, why);
}

void replace(const QString& target, const QByteArray& content)
{
    replace(target, QList<QByteArrayView>{QByteArrayView(content)});
}

void replace(const QString& target, const QList<QByteArrayView>& pieces)
{
    const QString temp = writeTemporary(target, pieces);
    try {
        moveOver(temp, target);
    } catch (const IoError&) {
        QFile::remove(temp);
        throw;
    }
}

void syncFolder(const QString& folder)
{
#ifndef Q_OS_WIN
    // Some shared folders refuse this; the rename itself has happened all the same.
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

void writeFlushed(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size()
        || !flushToDevice(f))
        throw writeFailure(path, f.errorString());
}

bool isTemporaryOf(const QString& name, const QString& target)
{
    if (target.isEmpty() || name.size() != target.size() + kTemporaryMark.size() + kRandomDigits
        || !name.startsWith(target, Qt::CaseSensitive))
        return false;
    const QStringView rest = QStringView(name).mid(target.size());
    if (!rest.startsWith(kTemporaryMark, Qt::CaseSensitive))
        return false;
    for (const QChar c : rest.mid(kTemporaryMark.size()))
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return false;
    return true;
}

QString temporaryTarget(const QString& name)
{
    for (qsizetype dot = name.indexOf(QLatin1Char('.'), 1); dot > 0; dot = name.indexOf(QLatin1Char('.'), dot + 1))
        if (isTemporaryOf(name, name.left(dot)))
            return name.left(dot);
    return {};
}

void removeLeftovers(const QString& target)
{
    const QFileInfo info(target);
    const QString name = info.fileName();
    QDir folder = info.absoluteDir();
    const QStringList candidates
        = folder.entryList({name + QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& c : candidates)
        if (isTemporaryOf(c, name))
            QFile::remove(folder.filePath(c));
}

} // namespace vt::atomicfile
