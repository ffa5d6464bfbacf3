#include "foundation/Startup.h"

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

} // namespace vt
