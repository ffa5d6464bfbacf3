#include "masterdata/StartupCheck.h"

#include "foundation/AppContext.h"
#include "foundation/RecordFile.h"
#include "foundation/TableRecord.h"

namespace vt {

namespace {
// A text is empty when nothing is left of it after trimming.
bool anyEmpty(const TRecTabella& row, int count)
{
    for (int i = 0; i < count; ++i)
        if (row.Fld[i].isEmpty())
            return true;
    return false;
}
} // namespace

TRecTabella readConfig(const QString& path)
{
    TRecTabella row = blankRow();
    if (auto first = RecordFile(path, TRecTabella::Size).readFirst())
        row = decodeRow(*first);
    TrimRow(row);
    return row;
}

bool StartupCheck(AppContext& ctx)
{
    bool ok = true;

    ctx.CompanyRecord = blankCompany();
    if (auto first = RecordFile(ctx.datiGen(QStringLiteral("UTENTE.001")), TRecAzienda::Size).readFirst())
        ctx.CompanyRecord = decodeCompany(*first);
    trimCompany(ctx.CompanyRecord);
    if (ctx.CompanyRecord.TIPOIN != QLatin1String("1") && ctx.CompanyRecord.TIPOIN != QLatin1String("2")) {
        ctx.messenger().info(QString::fromLatin1(MsgNoCompany));
        ok = false;
    }

    ctx.AppConfig = readConfig(ctx.datiGen(QStringLiteral("APPL.CFG")));
    if (anyEmpty(ctx.AppConfig, 4)) {
        ctx.messenger().info(QString::fromLatin1(MsgNoAppPaths));
        ok = false;
    }

    // Address 7 (the agency's home page) is optional.
    ctx.WebConfig = readConfig(ctx.datiGen(QStringLiteral("WEB.CFG")));
    if (anyEmpty(ctx.WebConfig, 7)) {
        ctx.messenger().info(QString::fromLatin1(MsgNoWebPaths));
        ok = false;
    }
    return ok;
}

} // namespace vt
