#include "masterdata/Settings.h"

#include <QDir>
#include <QRegularExpression>
#include <QtEndian>

#include <cstring>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/FileLock.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"

namespace vt {

// ---- shared by the table editors ----------------------------------------------------------------

std::optional<TRecTabella> FindTableRow(AppContext& ctx, const QString& table, const QString& code)
{
    return LookupCode(ctx, table, trimField(code));
}

CheckResult CheckKeyFree(AppContext& ctx, const QString& table, const QString& code, const QString& oldCode,
                         bool modifyMode, const QString& focus)
{
    if (modifyMode && trimField(code) != trimField(oldCode) && FindTableRow(ctx, table, code))
        return CheckResult::fail(MsgCodeAlreadyUsed, focus);
    return CheckResult::pass();
}

RowOrder orderByCode()
{
    return [](const QByteArray& r) { return r.mid(4, TRecTabella::Width + 1); };
}

RowOrder orderByValA(int i)
{
    const int offset = 5064 + 8 * i;
    return [offset](const QByteArray& r) {
        // The IEEE bits turned into an unsigned big-endian key that sorts as the numbers do.
        quint64 bits = qFromLittleEndian<quint64>(r.constData() + offset);
        bits = (bits & 0x8000000000000000ull) ? ~bits : (bits | 0x8000000000000000ull);
        QByteArray key(8, '\0');
        qToBigEndian(bits, key.data());
        return key;
    };
}

std::int32_t SaveOrderedRow(AppContext& ctx, const QString& tabPath, std::optional<std::int32_t> replacing,
                            const RowOrder& order)
{
    ctx.EditRow.Num = 0;
    PadRow(ctx.EditRow);
    QByteArray record = encodeRow(ctx.EditRow);
    std::int32_t number = 0;
    {
        FileLock lock(tabPath, ctx.messenger());
        RecordFile file(tabPath, TRecTabella::Size);
        file.openOrCreate();
        QList<QByteArray> rows = file.readAll();
        if (replacing)
            rows.removeIf([&](const QByteArray& r) { return RecordFile::numberOf(r) == *replacing; });
        for (const QByteArray& r : rows)
            number = std::max(number, RecordFile::numberOf(r));
        number += 1;
        RecordFile::setNumber(record, number);
        const QByteArray key = order(record);
        qsizetype at = 0;
        while (at < rows.size() && !(order(rows[at]) > key))
            ++at;
        rows.insert(at, record);
        file.replaceAll(rows);
    }
    ctx.EditRow.Num = number;
    ctx.reportSaved();
    return number;
}

// ---- excise rates ---------------------------------------------------------------------------------

CheckResult CheckExciseState(AppContext& ctx, const QString& state)
{
    if (trimField(state).isEmpty() || !LookupCode(ctx, QStringLiteral("T004"), trimField(state)))
        return CheckResult::quiet(MsgUnknownState, QStringLiteral("LE0"));
    return CheckResult::pass();
}

CheckResult BuildExciseRow(const ExciseForm& form, TRecTabella& row)
{
    BlankRow(row);
    TrimRow(row);
    row.Ext[0] = QStringLiteral("ACCISE");
    for (size_t b = 0; b < ExciseSlots.size(); ++b) {
        const int s = ExciseSlots[b];
        const double excise = ParseDecimal(form.bands[b].excise, 2);
        if (excise <= 0)
            continue; // a band without excise is stored as three zeros
        const double from = ParseDecimal(form.bands[b].from, 2);
        const double to = ParseDecimal(form.bands[b].to, 2);
        if (to < from)
            return CheckResult::quiet(QStringLiteral("IL GRADO FINALE E' INFERIORE A QUELLO INIZIALE"), QStringLiteral("R2%1").arg(s));
        row.ValA[s] = from;
        row.ValB[s] = to;
        row.ValC[s] = excise;
    }
    row.Fld[0] = trimField(form.state);
    return CheckResult::pass();
}

ExciseForm ExciseFormOf(const TRecTabella& row)
{
    ExciseForm f;
    f.state = trimField(row.Fld[0]);
    for (size_t b = 0; b < ExciseSlots.size(); ++b) {
        const int s = ExciseSlots[b];
        f.bands[b] = {FormatNumber(row.ValA[s], 0, 2).trimmed(), FormatNumber(row.ValB[s], 0, 2).trimmed(),
                      FormatNumber(row.ValC[s], 0, 2).trimmed()};
    }
    return f;
}

// ---- register protocols ---------------------------------------------------------------------------

CheckResult CheckProtocolBulk(const QString& le1)
{
    if (le1.startsWith(QLatin1Char('S')) || le1.startsWith(QLatin1Char('N')))
        return CheckResult::pass();
    return CheckResult::fail(MsgTypeBulkOrPackaged, QStringLiteral("le1"));
}

CheckResult CheckProtocolDates(const QDate& protocolDate, const QDate& validFrom)
{
    if (!protocolDate.isValid())
        return CheckResult::quiet(QStringLiteral("DATA NON VALIDA"), QStringLiteral("R10"));
    if (!validFrom.isValid())
        return CheckResult::quiet(QStringLiteral("DATA NON VALIDA"), QStringLiteral("R11"));
    return CheckResult::pass();
}

CheckResult BuildProtocolRow(const ProtocolForm& form, TRecTabella& row)
{
    if (trimField(form.number).isEmpty())
        return CheckResult::quiet(QStringLiteral("DIGITARE IL NUMERO DEL PROTOCOLLO"), QStringLiteral("LE0"));
    if (auto r = CheckProtocolBulk(form.bulk); !r)
        return r;
    if (auto r = CheckProtocolDates(form.protocolDate, form.validFrom); !r)
        return r;
    BlankRow(row);
    TrimRow(row);
    row.Ext[0] = QStringLiteral("PROTOCOLLI");
    row.Fld[0] = trimField(form.number);
    row.Fld[1] = form.bulk.left(1);
    row.Fld[2] = form.stampLoads;
    row.Fld[3] = form.stampGuarantees;
    row.ValA[0] = dates::fromDate(form.protocolDate);
    row.ValA[1] = dates::fromDate(form.validFrom);
    return CheckResult::pass();
}

std::int32_t SaveProtocol(AppContext& ctx, std::optional<std::int32_t> replacing)
{
    return SaveOrderedRow(ctx, tablePath(ctx, QStringLiteral("PROTOCOLLI"), ".TAB"), replacing, orderByValA(1));
}

// ---- configuration files --------------------------------------------------------------------------

QString appConfigPath(const AppContext& ctx)
{
    return ctx.datiGen(QStringLiteral("APPL.CFG"));
}

QString webConfigPath(const AppContext& ctx)
{
    return ctx.datiGen(QStringLiteral("WEB.CFG"));
}

TRecTabella OpenConfig(const QString& path)
{
    RecordFile file(path, TRecTabella::Size);
    TRecTabella row = blankRow();
    if (auto first = file.readFirst()) {
        row = decodeRow(*first);
    } else {
        // Missing or empty: one blank record, so the file always holds exactly one.
        file.rewriteSingle(encodeRow(row));
    }
    TrimRow(row);
    return row;
}

void SaveConfig(const QString& path, const TRecTabella& record)
{
    TRecTabella stored = record;
    PadRow(stored);
    RecordFile(path, TRecTabella::Size).rewriteSingle(encodeRow(stored));
}

void SaveAppPaths(AppContext& ctx, const std::array<QString, AppPathCount>& paths)
{
    TRecTabella row = OpenConfig(appConfigPath(ctx));
    for (int i = 0; i < AppPathCount; ++i)
        row.Fld[i] = trimField(paths[i]);
    SaveConfig(appConfigPath(ctx), row);
    ctx.AppConfig = row;
    ctx.reportSaved();
}

void SaveWebAddresses(AppContext& ctx, const std::array<QString, WebFieldCount>& fields)
{
    TRecTabella row = OpenConfig(webConfigPath(ctx));
    for (int i = 0; i < WebFieldCount; ++i)
        row.Fld[i] = trimField(fields[i]);
    SaveConfig(webConfigPath(ctx), row);
    ctx.WebConfig = row;
    ctx.reportSaved();
}

namespace {
// The position of the last separator of a path, whichever of "/" and "\" it uses.
qsizetype lastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}
} // namespace

SigningFolders SigningFoldersBeside(const QString& program)
{
    const QString native = QDir::toNativeSeparators(trimField(program));
    const qsizetype cut = lastSeparator(native);
    const QString folder = native.left(cut + 1); // with its separator; empty for a bare name
    const QString sep = cut >= 0 ? native.mid(cut, 1) : QString(QDir::separator());
    return {folder + QStringLiteral("dafirmare") + sep, folder + QStringLiteral("firmati") + sep};
}

QString folderSetting(const QString& folder)
{
    QString native = QDir::toNativeSeparators(trimField(folder));
    if (native.isEmpty())
        return native;
    if (!native.endsWith(QLatin1Char('/')) && !native.endsWith(QLatin1Char('\\')))
        native += QDir::separator();
    return native;
}

CheckResult CheckServiceHost(const QString& text, const QString& focus)
{
    const QString t = trimField(text);
    if (t.isEmpty())
        return CheckResult::pass();
    static const QRegularExpression form(
        QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*(:(?<port>[0-9]{1,5}))?$"));
    const auto m = form.match(t);
    if (!m.hasMatch())
        return CheckResult::fail(MsgBadServiceHost, focus);
    if (m.capturedLength(u"port") > 0) {
        const int port = m.captured(u"port").toInt();
        if (port < 1 || port > 65535)
            return CheckResult::fail(MsgBadServiceHost, focus);
    }
    return CheckResult::pass();
}

QString WebAddress(const AppContext& ctx, int i)
{
    if (i < 0 || i >= 10)
        return {};
    auto first = RecordFile(webConfigPath(ctx), TRecTabella::Size).readFirst();
    if (!first)
        return {};
    return trimField(decodeRow(*first).Fld[i]);
}

} // namespace vt
