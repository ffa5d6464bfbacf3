#include "messages/ead/EadStore.h"

#include <QDir>

#include <algorithm>

#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"

namespace vt {

namespace {
constexpr int kHeaderSize = TRecEad::Size;
constexpr int kLineSize = TRecDettaglio::Size;
constexpr int kLineProgressive = 4; // offset of the e-AD progressive in a line

std::int32_t lineProgressive(const QByteArray& line)
{
    return codec::getI32(line, kLineProgressive);
}

QList<QByteArray> withoutProgressive(const QList<QByteArray>& lines, std::int32_t progressive, bool* removed = nullptr)
{
    QList<QByteArray> kept;
    for (const QByteArray& l : lines)
        if (lineProgressive(l) != progressive)
            kept << l;
    if (removed)
        *removed = kept.size() != lines.size();
    return kept;
}

} // namespace

std::int32_t largestRecordNumber(const QList<QByteArray>& records)
{
    std::int32_t best = 0;
    for (const QByteArray& r : records)
        best = std::max(best, RecordFile::numberOf(r));
    return best;
}

QList<QByteArray> withOwnedLines(const QList<QByteArray>& lines, const QList<QByteArray>& work, std::int32_t owner)
{
    QList<QByteArray> out = withoutProgressive(lines, owner);
    std::int32_t serial = largestRecordNumber(out);
    for (QByteArray line : work) {
        serial = nextRecordNumber(serial);
        codec::putI32(line, 0, serial);
        codec::putI32(line, kLineProgressive, owner);
        out << line;
    }
    return out;
}

namespace eadfiles {
QString headers(const AppContext& ctx, const QString& year)
{
    return ctx.registri(year + QStringLiteral("_815_A.DAT"));
}
QString transport(const AppContext& ctx, const QString& year)
{
    return ctx.registri(year + QStringLiteral("_815_I.DAT"));
}
QString products(const AppContext& ctx, const QString& year)
{
    return ctx.registri(year + QStringLiteral("_815_C.DAT"));
}
QString transportWork(const AppContext& ctx)
{
    return ctx.temp(QStringLiteral("TRASPORTO.DAT"));
}
QString productWork(const AppContext& ctx)
{
    return ctx.temp(QStringLiteral("PRODOTTI.DAT"));
}
} // namespace eadfiles

QString yearOfDate(double date)
{
    const QDate d = dates::toDate(date);
    if (!d.isValid() || d.year() < 1000)
        return {};
    return QString::number(d.year());
}

void startNewEad(const AppContext& ctx)
{
    RecordFile(eadfiles::transportWork(ctx), kLineSize).clear();
    RecordFile(eadfiles::productWork(ctx), kLineSize).clear();
}

bool loadEad(const AppContext& ctx, const QString& year, std::int32_t progressive, TRecEad& header)
{
    const std::optional<TRecEad> found = findHeader(eadfiles::headers(ctx, year), progressive);
    if (!found)
        return false;
    // Both yearly files are read before either work file is written: a damaged line file leaves
    // the work files as they were, never one filled and the other stale.
    auto linesOf = [progressive](const QString& from) {
        QList<QByteArray> mine;
        for (const QByteArray& l : RecordFile(from, kLineSize).readAll())
            if (lineProgressive(l) == progressive)
                mine << l;
        return mine;
    };
    const QList<QByteArray> transportLines = linesOf(eadfiles::transport(ctx, year));
    const QList<QByteArray> productLines = linesOf(eadfiles::products(ctx, year));
    RecordFile(eadfiles::transportWork(ctx), kLineSize).replaceAll(transportLines);
    RecordFile(eadfiles::productWork(ctx), kLineSize).replaceAll(productLines);
    header = *found;
    return true;
}

QString localReferenceNumber(const QString& invdif, const QString& fallbackNumber, const QString& companyExcise,
                             const QDateTime& now)
{
    if (trimField(invdif) == QLatin1String("S"))
        return fallbackNumber.left(22);
    const QString dayCount = QString::number(dates::fromDateTime(now), 'f', 5);
    const QString text = dayCount + QLatin1Char('-') + trimField(companyExcise).mid(4, 9) + QStringLiteral("FC");
    return text.left(22);
}

TRecEad saveEad(AppContext& ctx, const TRecEad& header, const QString& fallbackNumber, const TRecEad* oldHeader)
{
    const QString year = yearOfDate(header.DATSPE);
    if (year.isEmpty())
        throw IoError(QStringLiteral("LA DATA DI SPEDIZIONE NON E` VALIDA: L'e-AD NON E` STATO SALVATO"));
    QString oldYear;
    if (oldHeader) {
        oldYear = yearOfDate(oldHeader->DATSPE);
        if (oldYear.isEmpty())
            throw IoError(QStringLiteral("LA DATA DI SPEDIZIONE DELL'e-AD DA MODIFICARE NON E` VALIDA"));
    }

    // The lines in hand; the work files are private to this copy of the program.
    const QList<QByteArray> transportLines = RecordFile(eadfiles::transportWork(ctx), kLineSize).readAll();
    const QList<QByteArray> productLines = RecordFile(eadfiles::productWork(ctx), kLineSize).readAll();

    TRecEad stored = header;
    eadToWorkingForm(stored);
    stored.riferimentoLocale = localReferenceNumber(stored.INVDIF, fallbackNumber, ctx.CompanyRecord.CACCI1,
                                                    ctx.clock().now());
    eadToStoredForm(stored);
    // Refuse a text the code page cannot hold before any file is touched.
    (void)encodeEad(stored);

    const QString headersPath = eadfiles::headers(ctx, year);
    const QString transportPath = eadfiles::transport(ctx, year);
    const QString productsPath = eadfiles::products(ctx, year);
    QStringList paths{headersPath, transportPath, productsPath};
    if (oldHeader)
        paths << eadfiles::headers(ctx, oldYear) << eadfiles::transport(ctx, oldYear)
              << eadfiles::products(ctx, oldYear);

    FileGroup group(paths, &ctx.messenger());
    group.run([&](FileGroup& g) {
        if (oldHeader) {
            // The e-AD as it was: header first, then its lines.
            const std::int32_t oldProgressive = oldHeader->progressivo;
            const QString oldHeaders = eadfiles::headers(ctx, oldYear);
            QList<QByteArray> headers = g.read(oldHeaders, kHeaderSize);
            // Another workstation may have sent, deleted or changed it since it was loaded.
            const QByteArray expected = encodeEad(*oldHeader);
            const bool unchanged = std::any_of(headers.cbegin(), headers.cend(), [&](const QByteArray& r) {
                return RecordFile::numberOf(r) == oldProgressive && encodeEad(decodeEad(r)) == expected;
            });
            if (!unchanged)
                throw IoError(MsgEadChangedElsewhere);
            const auto before = headers.size();
            headers.removeIf([&](const QByteArray& r) { return RecordFile::numberOf(r) == oldProgressive; });
            if (headers.size() != before)
                g.replace(oldHeaders, kHeaderSize, headers);
            for (const QString& linesPath : {eadfiles::transport(ctx, oldYear), eadfiles::products(ctx, oldYear)}) {
                bool removed = false;
                const QList<QByteArray> kept = withoutProgressive(g.read(linesPath, kLineSize), oldProgressive, &removed);
                if (removed)
                    g.replace(linesPath, kLineSize, kept);
            }
        }

        QList<QByteArray> headers = g.read(headersPath, kHeaderSize);
        const std::int32_t progressive = nextRecordNumber(largestRecordNumber(headers), headersPath);

        // The lines before the header that owns them. Lines already carrying this progressive have
        // no header (it is free): they are strays and are dropped.
        auto appendLines = [&](const QString& path, const QList<QByteArray>& work) {
            g.replace(path, kLineSize, withOwnedLines(g.read(path, kLineSize), work, progressive));
        };
        appendLines(transportPath, transportLines);
        appendLines(productsPath, productLines);

        stored.progressivo = progressive;
        stored.progressivoRif = progressive;
        headers << encodeEad(stored);
        g.replace(headersPath, kHeaderSize, headers);
    });

    ctx.WorkYear = year;
    ctx.reportSaved();
    return stored;
}

bool deleteEad(AppContext& ctx, const QString& year, std::int32_t progressive)
{
    const QString headersPath = eadfiles::headers(ctx, year);
    const QString transportPath = eadfiles::transport(ctx, year);
    const QString productsPath = eadfiles::products(ctx, year);
    bool found = false;
    FileGroup group({headersPath, transportPath, productsPath}, &ctx.messenger());
    group.run([&](FileGroup& g) {
        QList<QByteArray> headers = g.read(headersPath, kHeaderSize);
        const auto before = headers.size();
        headers.removeIf([&](const QByteArray& r) { return RecordFile::numberOf(r) == progressive; });
        found = headers.size() != before;
        if (found)
            g.replace(headersPath, kHeaderSize, headers);
        for (const QString& path : {transportPath, productsPath}) {
            bool removed = false;
            const QList<QByteArray> kept = withoutProgressive(g.read(path, kLineSize), progressive, &removed);
            if (removed)
                g.replace(path, kLineSize, kept);
        }
    });
    return found;
}

bool updateHeaderInPlace(AppContext& ctx, const QString& path, std::int32_t number,
                         const std::function<void(TRecEad&)>& change)
{
    FileLock lock(path, ctx.messenger());
    RecordFile file(path, kHeaderSize);
    const qint64 index = file.indexOfFirst([number](const QByteArray& r) { return RecordFile::numberOf(r) == number; });
    if (index < 0)
        return false;
    TRecEad record = decodeEad(*file.readAt(index));
    change(record);
    file.updateAt(index, encodeEad(record));
    return true;
}

bool updateEadInPlace(AppContext& ctx, const QString& year, std::int32_t progressive,
                      const std::function<void(TRecEad&)>& change)
{
    return updateHeaderInPlace(ctx, eadfiles::headers(ctx, year), progressive, change);
}

std::optional<TRecEad> findHeader(const QString& path, std::int32_t number)
{
    const std::optional<QByteArray> rec = RecordFile(path, kHeaderSize).findByNumber(number);
    if (!rec)
        return std::nullopt;
    return decodeEad(*rec);
}

bool deleteWorkLine(const QString& workFile, std::int32_t lineNumber)
{
    return RecordFile(workFile, kLineSize).deleteByNumber(lineNumber);
}

void renumberWorkFile(const QString& workFile)
{
    RecordFile file(workFile, kLineSize);
    QList<QByteArray> lines = file.readAll();
    bool changed = false;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (RecordFile::numberOf(lines[i]) != i + 1) {
            RecordFile::setNumber(lines[i], static_cast<std::int32_t>(i + 1));
            changed = true;
        }
    if (changed)
        file.replaceAll(lines);
}

QList<TRecDettaglio> readLines(const QString& path)
{
    QList<TRecDettaglio> out;
    for (const QByteArray& rec : RecordFile(path, kLineSize).readAll())
        out << decodeLine(rec);
    return out;
}

QList<TRecEad> readHeaders(const QString& path)
{
    QList<TRecEad> out;
    for (const QByteArray& rec : RecordFile(path, kHeaderSize).readAll())
        out << decodeEad(rec);
    return out;
}

} // namespace vt
