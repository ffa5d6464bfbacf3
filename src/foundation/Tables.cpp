#include "foundation/Tables.h"

#include <QDir>

#include "foundation/AppContext.h"
#include "foundation/RecordFile.h"

namespace vt {

namespace {
constexpr int kFieldBytes = TRecTabella::Width + 1;

QByteArray fieldBytes(const QByteArray& rec, int i)
{
    return rec.mid(4 + kFieldBytes * i, kFieldBytes);
}
} // namespace

QString tablePath(const AppContext& ctx, const QString& table, const char* extension)
{
    return QDir(ctx.DatiGenFolder).filePath(table.trimmed() + QLatin1String(extension));
}

std::optional<TRecTabella> ReadStructure(const AppContext& ctx, const QString& table)
{
    RecordFile str(tablePath(ctx, table, ".STR"), TRecTabella::Size);
    auto first = str.readFirst();
    if (!first)
        return std::nullopt;
    return decodeRow(*first);
}

bool FindRowByKey(AppContext& ctx, const TRecTabella& search, const QString& table)
{
    auto structure = ReadStructure(ctx, table);
    if (!structure) {
        ctx.messenger().info(QStringLiteral("STRUTTURA DEL FILE MANCANTE"));
        return false;
    }
    const int k = std::min(structure->Num, 10);
    RecordFile tab(tablePath(ctx, table, ".TAB"), TRecTabella::Size);
    tab.openOrCreate();
    const QByteArray key = encodeRow(search);
    auto found = tab.findFirst([&](const QByteArray& rec) {
        for (int i = 0; i < k; ++i)
            if (fieldBytes(rec, i) != fieldBytes(key, i))
                return false;
        return true;
    });
    if (!found)
        return false;
    ctx.FoundRow = decodeRow(*found);
    return true;
}

bool FindRowByNumber(AppContext& ctx, std::int32_t n, const QString& tabPath)
{
    RecordFile tab(tabPath, TRecTabella::Size);
    tab.openOrCreate();
    auto found = tab.findByNumber(n);
    if (!found)
        return false;
    ctx.FoundRow = decodeRow(*found);
    TrimRow(ctx.FoundRow);
    return true;
}

bool DeleteRow(AppContext& ctx, std::int32_t n, const QString& tabPath)
{
    RecordFile tab(tabPath, TRecTabella::Size, &ctx.messenger());
    const bool deleted = tab.deleteByNumber(n);
    if (deleted)
        ctx.reportSaved();
    return deleted;
}

std::int32_t InsertRow(AppContext& ctx, const QString& tabPath)
{
    PadRow(ctx.EditRow);
    RecordFile tab(tabPath, TRecTabella::Size, &ctx.messenger());
    const std::int32_t n = tab.insertInOrder(encodeRow(ctx.EditRow), [](const QByteArray& r) { return fieldBytes(r, 0); });
    ctx.EditRow.Num = n;
    ctx.reportSaved();
    return n;
}

std::optional<TRecTabella> LookupCode(AppContext& ctx, const QString& table, const QString& code)
{
    TRecTabella search = blankRow();
    search.Fld[0] = code;
    PadRow(search);
    if (!FindRowByKey(ctx, search, table))
        return std::nullopt;
    TRecTabella row = ctx.FoundRow;
    TrimRow(row);
    return row;
}

namespace {
CodeTableOpener& codeTableOpener()
{
    static CodeTableOpener opener;
    return opener;
}
} // namespace

void SetCodeTableOpener(CodeTableOpener opener)
{
    codeTableOpener() = std::move(opener);
}

void OpenCodeTable(AppContext& ctx, bool newCode)
{
    ctx.NewCodeMode = newCode;
    if (codeTableOpener())
        codeTableOpener()(ctx);
}

QList<TRecTabella> ReadRows(const QString& tabPath)
{
    QList<TRecTabella> rows;
    for (const QByteArray& rec : RecordFile(tabPath, TRecTabella::Size).readAll()) {
        TRecTabella r = decodeRow(rec);
        TrimRow(r);
        rows.append(r);
    }
    return rows;
}

} // namespace vt
