#include "support/TableFixtures.h"

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

} // namespace vt::test
