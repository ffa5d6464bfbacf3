#include "messages/receipt/ReceiptLifecycle.h"

#include "foundation/AppContext.h"
#include "foundation/FieldAccess.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/RegisterRecord.h"
#include "foundation/Text.h"
#include "messages/ead/EadStore.h"
#include "messages/receipt/ReceiptReport.h"
#include "messages/receipt/ReceivedImport.h"

namespace vt {

namespace {
constexpr int ArrivalOffset = 2120;
constexpr int RegisterDocument = 164; // numeroDocumento of a register record: the ARC
}

QString receiptActionMessage(ReceiptAction result, std::int32_t number)
{
    switch (result) {
    case ReceiptAction::Done: return {};
    case ReceiptAction::NotFound:
        return QStringLiteral("LA NOTA DI RICEZIONE N. %1 NON E' PIU' PRESENTE: NESSUNA MODIFICA").arg(number);
    case ReceiptAction::AlreadySent:
        return QStringLiteral("LA NOTA DI RICEZIONE N. %1 E' GIA' STATA INVIATA: NON PUO' ESSERE CANCELLATA").arg(number);
    }
    return {};
}

ReceiptAction deleteUnsentReceipt(AppContext& ctx, const QString& year, std::int32_t number)
{
    const QString jPath = receiptfiles::reports(ctx, year);
    // The register work records are in the file of the arrival year, which the header names.
    const std::optional<TRecEad> before = findHeader(jPath, number);
    if (!before)
        return ReceiptAction::NotFound;
    const QString arrivalYear = yearOfDate(doubleAt(*before, ArrivalOffset));
    const QString kPath = receiptfiles::reportLines(ctx, year);
    QStringList paths{jPath, kPath};
    const QString rgmPath = arrivalYear.isEmpty() ? QString() : receiptfiles::registerWork(ctx, arrivalYear);
    if (!rgmPath.isEmpty())
        paths << rgmPath;

    ReceiptAction result = ReceiptAction::Done;
    FileGroup group(paths, &ctx.messenger());
    group.run([&](FileGroup& g) {
        QList<QByteArray> reports = g.read(jPath, TRecEad::Size);
        qsizetype at = -1;
        for (qsizetype i = 0; i < reports.size(); ++i)
            if (RecordFile::numberOf(reports[i]) == number)
                at = i;
        if (at < 0) {
            result = ReceiptAction::NotFound;
            return;
        }
        const TRecEad report = decodeEad(reports[at]);
        if (trimField(report.stato) == EadState::Accepted) {
            result = ReceiptAction::AlreadySent;
            return;
        }
        const QString arc = padField(report.ARC, 21);
        reports.removeAt(at);
        g.replace(jPath, TRecEad::Size, reports);

        QList<QByteArray> lines = g.read(kPath, TRecDettaglio::Size);
        if (lines.removeIf([&](const QByteArray& l) { return RecordFile::numberOf(l) == number; }) > 0)
            g.replace(kPath, TRecDettaglio::Size, lines);

        if (!rgmPath.isEmpty()) {
            QList<QByteArray> work = g.read(rgmPath, TRecMovimento::Size);
            const auto removed = work.removeIf([&](const QByteArray& r) {
                return RecordFile::numberOf(r) == number && padField(codec::getText(r, RegisterDocument, 21), 21) == arc;
            });
            if (removed > 0)
                g.replace(rgmPath, TRecMovimento::Size, work);
        }
    });
    return result;
}

ReceiptAction resetReceiptSendData(AppContext& ctx, const QString& year, std::int32_t number)
{
    const bool found = updateHeaderInPlace(ctx, receiptfiles::reports(ctx, year), number, [](TRecEad& r) {
        r.dataFlusso = 0;
        r.numeroFlusso = 0;
        r.stato = EadState::Compiled;
    });
    return found ? ReceiptAction::Done : ReceiptAction::NotFound;
}

bool loadChosenReceipt(AppContext& ctx)
{
    ctx.WorkYear = ctx.SelectedYear;
    const std::optional<TRecEad> report = findHeader(receiptfiles::reports(ctx, ctx.WorkYear), ctx.PickedEad);
    if (!report)
        return false;
    QList<QByteArray> mine;
    for (const QByteArray& l : RecordFile(receiptfiles::reportLines(ctx, ctx.WorkYear), TRecDettaglio::Size).readAll())
        if (RecordFile::numberOf(l) == ctx.PickedEad)
            mine << l;
    RecordFile(reportDetailsPath(ctx), TRecDettaglio::Size).replaceAll(mine);
    ctx.MessageRecord = *report;
    writeReceiptSummary(ctx, *report);
    return true;
}

} // namespace vt
