#include "foundation/Startup.h"

#include <QFileInfo>
#include <QLocale>

#include "foundation/DeliveredData.h"
#include "foundation/RecordFile.h"

namespace vt {

void runStartup(AppContext& ctx, const QString& startFolder, const QString& tempFolder)
{
    initDeliveredResources(); // the page pictures are needed even when a step below fails
    ctx.setFolders(startFolder, tempFolder);
    RecordFile company(ctx.datiGen(QStringLiteral("UTENTE.001")), TRecAzienda::Size);
    if (auto first = company.readFirst())
        ctx.CurrentAddress = decodeCompany(*first);
    else if (!company.exists())
        company.rewriteSingle(encodeCompany(blankCompany()));
    // The code tables, the table structures and the placeholder picture, where missing.
    installDeliveredData(ctx);
}

void applyLocale()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

QString lastUpdateText(const QString& programPath)
{
    const QFileInfo info(programPath);
    const QString date = info.exists() ? info.lastModified().date().toString(QLatin1String(ShortDateFormat)) : QString();
    return QStringLiteral("ultimo aggiornamento: ") + date;
}

} // namespace vt
