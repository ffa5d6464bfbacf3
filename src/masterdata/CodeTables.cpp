#include "masterdata/CodeTables.h"

#include "foundation/AppContext.h"
#include "foundation/FileLock.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"

namespace vt {

namespace {
QByteArray codeKey(const QByteArray& record)
{
    return record.mid(4, TRecTabella::Width + 1); // Fld[0] in stored form
}
} // namespace

std::optional<CodeEditorLayout> ReadEditorLayout(AppContext& ctx, const QString& table)
{
    auto s = ReadStructure(ctx, table);
    if (!s)
        return std::nullopt;
    TrimRow(*s);
    CodeEditorLayout l;
    l.title = s->Ext[1];
    for (int i = 0; i < 4; ++i) {
        l.labels[i] = s->Fld[i];
        l.lengths[i] = std::clamp(s->Dim[i], 0, TRecTabella::Width);
    }
    return l;
}

CheckResult CheckYesNoFlags(const QString& le3, bool le3Shown, const QString& le4, bool le4Shown)
{
    auto yesNo = [](const QString& t) { return t.startsWith(QLatin1Char('S')) || t.startsWith(QLatin1Char('N')); };
    if (le3Shown) {
        if (!yesNo(le3))
            return CheckResult::quiet(QStringLiteral("DIGITARE S OPPURE N"), QStringLiteral("LE3"));
        if (le4Shown && !yesNo(le4))
            return CheckResult::quiet(QStringLiteral("DIGITARE S OPPURE N"), QStringLiteral("LE4"));
    }
    return CheckResult::pass();
}

std::optional<TRecTabella> FindCode(AppContext& ctx, const QString& table, const QString& code)
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

CheckResult CheckCodeFree(AppContext& ctx, const QString& table, const QString& code, const QString& oldCode,
                          bool modifyMode, const QString& focus)
{
    if (modifyMode && trimField(code) != trimField(oldCode) && FindCode(ctx, table, trimField(code)))
        return CheckResult::fail(kCodeInUse, focus);
    return CheckResult::pass();
}

std::int32_t SaveCodeRow(AppContext& ctx, const QString& table, std::optional<std::int32_t> replacing)
{
    const QString path = tablePath(ctx, table, ".TAB");
    ctx.EditRow.Num = 0;
    ctx.EditRow.Ext[0] = table;
    if (!replacing)
        return InsertRow(ctx, path);

    // Modify = delete the old row and insert the new one (number: the highest left + 1), done as
    // one rewrite under one lock.
    ctx.EditRow.Num = 0;
    PadRow(ctx.EditRow);
    QByteArray record = encodeRow(ctx.EditRow);
    std::int32_t number = 0;
    {
        FileLock lock(path, ctx.messenger());
        RecordFile unlocked(path, TRecTabella::Size);
        unlocked.openOrCreate();
        QList<QByteArray> rows = unlocked.readAll();
        rows.removeIf([&](const QByteArray& r) { return RecordFile::numberOf(r) == *replacing; });
        for (const QByteArray& r : rows)
            number = std::max(number, RecordFile::numberOf(r));
        number += 1;
        RecordFile::setNumber(record, number);
        const QByteArray key = codeKey(record);
        qsizetype at = 0;
        while (at < rows.size() && codeKey(rows[at]) <= key)
            ++at;
        rows.insert(at, record);
        unlocked.replaceAll(rows);
    }
    ctx.EditRow.Num = number;
    ctx.reportSaved();
    return number;
}

void DeleteCodeRow(AppContext& ctx, const QString& table, std::int32_t number)
{
    DeleteRow(ctx, number, tablePath(ctx, table, ".TAB"));
}

CheckResult CheckTa20Prefix(const QString& code)
{
    const QString cpa = code.left(4);
    if (cpa == QLatin1String("W200") || cpa == QLatin1String("W300"))
        return CheckResult::pass();
    return CheckResult::quiet(QStringLiteral("IL CODICE DEVE INIZIARE CON W200 O W300"), QStringLiteral("ME0"));
}

CheckResult CheckValidity(const QDate& from, const QDate& to)
{
    if (!from.isValid())
        return CheckResult::quiet(QStringLiteral("DATA NON VALIDA"), QStringLiteral("MDALLA"));
    if (!to.isValid())
        return CheckResult::quiet(QStringLiteral("DATA NON VALIDA"), QStringLiteral("MALLA"));
    if (to < from)
        return CheckResult::quiet(QStringLiteral("LA DATA FINALE PRECEDE QUELLA INIZIALE"), QStringLiteral("MALLA"));
    return CheckResult::pass();
}

} // namespace vt

namespace vt {

void SaveStructure(AppContext& ctx, const StructureForm& f)
{
    TRecTabella s = blankRow();
    s.Ext[0] = trimField(f.name);
    s.Ext[1] = f.title;
    s.Ext[2] = f.fieldNames;
    for (int i = 0; i < 10; ++i) {
        s.Dim[i] = ParseInteger(f.dims[i]);
        s.Fld[i] = f.labels[i];
    }
    s.Num = ParseInteger(f.searchFields);
    PadRow(s);
    RecordFile(tablePath(ctx, f.name, ".STR"), TRecTabella::Size).rewriteSingle(encodeRow(s));
    ctx.reportSaved();
}

std::optional<StructureForm> LoadStructure(AppContext& ctx, const QString& name)
{
    auto s = ReadStructure(ctx, name);
    if (!s)
        return std::nullopt;
    TrimRow(*s);
    StructureForm f;
    f.name = trimField(name);
    f.title = s->Ext[1];
    f.fieldNames = s->Ext[2];
    for (int i = 0; i < 10; ++i) {
        f.dims[i] = QString::number(s->Dim[i]);
        f.labels[i] = s->Fld[i];
    }
    f.searchFields = QString::number(s->Num);
    return f;
}

} // namespace vt
