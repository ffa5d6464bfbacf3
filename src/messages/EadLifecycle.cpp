#include "messages/EadLifecycle.h"

#include "foundation/RecordFile.h"
#include "messages/EadStore.h"
#include "messages/Summary.h"

namespace vt {

void emptyLifecycleWorkFiles(const AppContext& ctx)
{
    for (const QString name : {QStringLiteral("TRASPORTO.DAT"), QStringLiteral("PRODOTTI.DAT"), QStringLiteral("DETTAGLI.818")})
        RecordFile(ctx.temp(name), TRecDettaglio::Size).clear();
}

bool loadChosenEad(AppContext& ctx)
{
    ctx.WorkYear = ctx.SelectedYear;
    TRecEad header = blankEad();
    if (!loadEad(ctx, ctx.WorkYear, ctx.PickedEad, header))
        return false;
    ctx.EadHeader = header;
    ctx.OldEad = header;
    if (ctx.OpCode == QLatin1Char('I') || ctx.OpCode == QLatin1Char('9'))
        writeEadSummary(ctx, ctx.EadHeader);
    return true;
}

} // namespace vt
