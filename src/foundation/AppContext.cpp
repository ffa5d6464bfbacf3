#include "foundation/AppContext.h"

#include <QDir>

#include "foundation/IoError.h"

namespace vt {

QString AppContext::datiGen(const QString& name) const
{
    return QDir(DatiGenFolder).filePath(name);
}

QString AppContext::registri(const QString& name) const
{
    return QDir(RegistriFolder).filePath(name);
}

QString AppContext::temp(const QString& name) const
{
    return QDir(TempFolder).filePath(name);
}

QString AppContext::defaultTempFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/TEMP_KALDOR");
#else
    return QDir(QDir::tempPath()).filePath(QStringLiteral("TEMP_KALDOR"));
#endif
}

void AppContext::setFolders(const QString& startFolder, const QString& tempFolder)
{
    StartFolder = QDir(startFolder).absolutePath();
    TempFolder = tempFolder;
    DatiGenFolder = QDir(StartFolder).filePath(QStringLiteral("DATI_GEN"));
    RegistriFolder = QDir(StartFolder).filePath(QStringLiteral("REGISTRI"));
    for (const QString& f : {TempFolder, DatiGenFolder, RegistriFolder}) {
        if (!QDir().mkpath(f))
            throw IoError(QStringLiteral("IMPOSSIBILE CREARE LA CARTELLA %1").arg(QDir::toNativeSeparators(f)));
    }
}

} // namespace vt
