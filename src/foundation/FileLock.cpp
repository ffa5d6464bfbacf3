#include "foundation/FileLock.h"

#include <QFile>

#include "foundation/AtomicFile.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/Services.h"

namespace vt {

namespace {
// True when this call created the marker (it did not exist before).
bool createExclusive(const QString& marker)
{
    // The other writer may release its marker between our failed create and the check that it
    // exists: that is a free marker, not a failure, so try again. Only a create that keeps failing
    // with no marker present is an I/O error.
    QString error;
    for (int attempt = 0; attempt < 100; ++attempt) {
        QFile f(marker);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            f.close();
            return true;
        }
        if (QFile::exists(marker))
            return false;
        error = f.errorString();
    }
    throw IoError(QStringLiteral("IMPOSSIBILE CREARE IL FILE %1: %2").arg(marker, error));
}
} // namespace

QString FileLock::waitText(const QString& p)
{
    return QStringLiteral("ATTENDERE! IL FILE: ") + p + QStringLiteral(" E` APERTO DA UN ALTRO UTENTE ") + QChar(13)
        + QChar(13) + QStringLiteral(" PREMI OK PER RIPROVARE ");
}

QString FileLock::overrideText(const QString& p)
{
    return QStringLiteral("ATTENZIONE! ACCERTARSI CHE IL FILE: ") + p + QStringLiteral(" NON SIA APERTO DA UN ALTRO UTENTE")
        + QChar(13) + QChar(13) + QStringLiteral(" PREMI \"YES\" SE NESSUN UTENTE STA UTILIZZANDO IL FILE");
}

FileLock::FileLock(const QString& dataPath, Messenger& messenger)
    : marker_(markerPath(dataPath))
{
    int n = 0;
    while (!createExclusive(marker_)) {
        ++n;
        messenger.info(waitText(dataPath));
        // The override takes over the stale marker as it stands.
        if (n > 10 && messenger.askYesNo(overrideText(dataPath)))
            break;
    }
    // The first holder after a crash finishes what the crashed writer left: a change of several
    // files is completed (or discarded when it was never decided), and temporaries are removed.
    try {
        FileGroup::completeInterrupted(dataPath);
        atomicfile::removeLeftovers(dataPath);
    } catch (...) {
        QFile::remove(marker_);
        throw;
    }
}

FileLock::~FileLock()
{
    QFile::remove(marker_);
}

} // namespace vt
