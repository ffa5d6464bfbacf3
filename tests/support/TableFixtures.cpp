#include "support/TableFixtures.h"

#include "foundation/CompanyRecord.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"

namespace vt::test {

TRecTabella structureRecord(const QString& table, int k, const QString& title, const QString& names,
                            const QList<int>& dims)
{
    TRecTabella s = blankRow();
    s.Num = k;
    s.Ext[0] = table;
    s.Ext[1] = title;
    s.Ext[2] = names;
    for (int i = 0; i < dims.size() && i < 10; ++i) {
        s.Dim[i] = dims[i];
        s.Fld[i] = QStringLiteral("ETICHETTA CAMPO %1").arg(i);
    }
    return s;
}

TRecTabella tableRow(std::int32_t num, const QStringList& fields)
{
    TRecTabella r = blankRow();
    r.Num = num;
    for (int i = 0; i < fields.size() && i < 10; ++i)
        r.Fld[i] = fields[i];
    return r;
}

void writeTable(const AppContext& ctx, const QString& table, const TRecTabella* structure,
                const QList<TRecTabella>& rows)
{
    if (structure) {
        TRecTabella s = *structure;
        PadRow(s);
        RecordFile(tablePath(ctx, table, ".STR"), TRecTabella::Size).replaceAll({encodeRow(s)});
    }
    QList<QByteArray> bytes;
    for (TRecTabella r : rows) {
        PadRow(r);
        bytes << encodeRow(r);
    }
    RecordFile(tablePath(ctx, table, ".TAB"), TRecTabella::Size).replaceAll(bytes);
}

void writeAddresses(const AppContext& ctx, const QString& file, const QList<TRecIndirizzo>& records)
{
    QList<QByteArray> bytes;
    for (const TRecIndirizzo& r : records)
        bytes << encodeCompany(r);
    RecordFile(tablePath(ctx, file, ".DAT"), TRecAzienda::Size).replaceAll(bytes);
}

void writeStartupFiles(const AppContext& ctx, const TRecAzienda& company, const QStringList& paths,
                       const QString& serviceHost)
{
    RecordFile(ctx.datiGen(QStringLiteral("UTENTE.001")), TRecAzienda::Size).replaceAll({encodeCompany(company)});
    TRecTabella app = blankRow();
    for (int i = 0; i < 4 && i < paths.size(); ++i)
        app.Fld[i] = paths[i];
    PadRow(app);
    RecordFile(ctx.datiGen(QStringLiteral("APPL.CFG")), TRecTabella::Size).replaceAll({encodeRow(app)});
    TRecTabella web = blankRow();
    for (int i = 0; i < 8; ++i)
        web.Fld[i] = QStringLiteral("https://w%1.example").arg(i);
    web.Fld[8] = web.Fld[9] = serviceHost;
    PadRow(web);
    RecordFile(ctx.datiGen(QStringLiteral("WEB.CFG")), TRecTabella::Size).replaceAll({encodeRow(web)});
}

} // namespace vt::test
