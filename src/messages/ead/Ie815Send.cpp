#include "messages/ead/Ie815Send.h"

#include <QDir>
#include <QFileInfo>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "messages/ead/EadStore.h"
#include "messages/flows/FlowEntryCheck.h"
#include "messages/flows/FlowName.h"
#include "messages/flows/FlowText.h"

namespace vt {

namespace {

constexpr int LineProgressive = 4;

bool belongsTo(const QByteArray& line, std::int32_t progressive)
{
    return codec::getI32(line, LineProgressive) == progressive;
}

} // namespace

std::optional<QList<TRecTabella>> readTreatments(const AppContext& ctx, QString* warning)
{
    const QString path = ctx.datiGen(QStringLiteral("T020.TAB"));
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    try {
        return ReadRows(path);
    } catch (const IoError& e) {
        // A damaged table counts as a missing one: the flow goes without the treatments.
        if (warning)
            *warning = QStringLiteral("LA TABELLA DEI TRATTAMENTI %1 E' DANNEGGIATA: IL FLUSSO E' STATO CREATO SENZA "
                                      "I TRATTAMENTI DEI PRODOTTI (%2)")
                           .arg(QDir::toNativeSeparators(path), e.text());
        return std::nullopt;
    }
}

Ie815FlowWritten writeIe815Flow(AppContext& ctx, const Ie815FlowRequest& rq)
{
    // Everything is read and every byte of the flow is built before anything changes: a missing
    // line, a character the code page cannot hold or an unreadable file leave the header, the
    // lines and both folders as they were.
    const QString flowPath = flow::pathIn(ctx.AppConfig.Fld[1], rq.flowName);
    const double flowDate = dates::fromDate(rq.flowDate);
    const QString headerPath = eadfiles::headers(ctx, rq.year);
    const std::optional<TRecEad> found = findHeader(headerPath, rq.progressive);
    if (!found)
        throw IoError(QStringLiteral("L'e-AD N. %1 NON E' PRESENTE NEL FILE %2")
                          .arg(rq.progressive)
                          .arg(QDir::toNativeSeparators(headerPath)));

    Ie815FlowWritten written{flowPath, 0, {}};
    {
        // The product lines stay locked while the flow is built, so that their numbers match it.
        const QString productPath = eadfiles::products(ctx, rq.year);
        FileLock lock(productPath, ctx.messenger());
        RecordFile products(productPath, TRecDettaglio::Size);
        const QList<QByteArray> all = products.readAll();

        Ie815Source src;
        src.header = *found;
        src.header.dataFlusso = flowDate;
        src.header.numeroFlusso = rq.flowNumber;
        src.company = ctx.CompanyRecord;
        QString treatmentsWarning;
        src.treatments = readTreatments(ctx, &treatmentsWarning);
        if (!treatmentsWarning.isEmpty())
            written.warnings << treatmentsWarning;
        src.flowName = rq.flowName;
        src.flowDate = flowDate;
        for (const QByteArray& t : RecordFile(eadfiles::transport(ctx, rq.year), TRecDettaglio::Size).readAll())
            if (belongsTo(t, rq.progressive))
                src.transport << decodeLine(t);
        QList<qint64> indexes;
        for (qint64 i = 0; i < all.size(); ++i)
            if (belongsTo(all[i], rq.progressive)) {
                indexes << i;
                TRecDettaglio line = decodeLine(all[i]);
                line.rigaProdotto = std::int32_t(indexes.size()); // 1..n, the order of the flow
                src.products << line;
            }
        if (src.products.isEmpty())
            throw IoError(QStringLiteral("L'e-AD N. %1 NON HA RIGHE DI PRODOTTO NEL FILE %2")
                              .arg(rq.progressive)
                              .arg(QDir::toNativeSeparators(productPath)));
        const QByteArray bytes = ie815FlowBytes(src);
        QList<QByteArray> numbered;
        for (const TRecDettaglio& line : src.products)
            numbered << encodeLine(line);

        // Only now the changes. The flow file replaces an older one atomically; then the stale
        // signed copy goes, before anything could take it for the signature of the new flow.
        flow::writeFlowFile(flowPath, bytes);
        removeReplacedSigned(ctx, FlowEntry{rq.flowDate, rq.flowNumber, rq.flowName, rq.replaceSigned});
        for (qsizetype k = 0; k < indexes.size(); ++k)
            products.updateAt(indexes[k], numbered[k]);
        written.productLines = int(src.products.size());
    }

    // The header says the e-AD is in a flow only once the flow file exists.
    const bool marked = updateEadInPlace(ctx, rq.year, rq.progressive, [&](TRecEad& h) {
        h.dataFlusso = flowDate;
        h.numeroFlusso = rq.flowNumber;
    });
    if (!marked)
        throw IoError(QStringLiteral("L'e-AD N. %1 NON E' PIU' PRESENTE NEL FILE %2")
                          .arg(rq.progressive)
                          .arg(QDir::toNativeSeparators(headerPath)));
    return written;
}

bool flowDateTooEarly(const QDate& flowDate, double dispatchDate)
{
    const QDate dispatch = dates::toDate(dispatchDate);
    return flowDate.isValid() && dispatch.isValid() && flowDate.addDays(7) < dispatch;
}

FlowDateRule ie815DateRule(const TRecEad& header)
{
    return [&header](const QDate& date) {
        return flowDateTooEarly(date, header.DATSPE) ? QString::fromUtf8(FlowDateTooEarly) : QString();
    };
}

Ie815Confirmation checkIe815Confirmation(const AppContext& ctx, const QDate& flowDate, const QString& numberText,
                                         const TRecEad& header)
{
    const FlowEntryCheck e = checkFlowEntry(ctx, flowDate, numberText, ie815DateRule(header));
    Ie815Confirmation c;
    c.verdict = e.verdict;
    c.warnings = e.warnings;
    c.warningFocus = e.warningFocus;
    if (!e.verdict)
        return c;
    c.request = ie815Request(ctx, header, e.entry);
    return c;
}

Ie815FlowRequest ie815Request(const AppContext& ctx, const TRecEad& header, const FlowEntry& entry)
{
    return {ctx.WorkYear, header.progressivo, entry.date, entry.number, entry.name, entry.replaceSigned};
}

bool storeIe815Arc(AppContext& ctx, const QString& year, std::int32_t progressive, const QString& arc)
{
    return updateEadInPlace(ctx, year, progressive, [&](TRecEad& h) {
        h.ARC = padField(arc.left(21), 21);
        h.stato = EadState::Accepted;
    });
}

} // namespace vt
