#include "support/CodeTableFixture.h"

#include "foundation/RecordFile.h"
#include "foundation/Tables.h"

namespace vt::test {

void writeStructure(const AppContext& ctx, const QString& table, const QString& title, int searchFields,
                    std::initializer_list<std::pair<int, QString>> fields)
{
    TRecTabella s = blankRow();
    s.Num = searchFields;
    s.Ext[0] = table;
    s.Ext[1] = title;
    int i = 0;
    for (const auto& [dim, label] : fields) {
        s.Dim[i] = dim;
        s.Fld[i] = label;
        ++i;
    }
    PadRow(s);
    RecordFile(tablePath(ctx, table, ".STR"), TRecTabella::Size).rewriteSingle(encodeRow(s));
}

std::int32_t appendRow(const AppContext& ctx, const QString& table, const QStringList& fields)
{
    RecordFile tab(tablePath(ctx, table, ".TAB"), TRecTabella::Size);
    TRecTabella r = blankRow();
    r.Num = tab.maxNumber() + 1;
    for (int i = 0; i < fields.size() && i < 10; ++i)
        r.Fld[i] = fields[i];
    r.Ext[0] = table;
    PadRow(r);
    tab.append(encodeRow(r));
    return r.Num;
}

} // namespace vt::test
