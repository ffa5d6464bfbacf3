#include "messages/change/Ie813Send.h"

#include <QFileInfo>

#include <optional>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"
#include "foundation/RecordCodec.h"
#include "foundation/Text.h"
#include "messages/ead/EadLifecycle.h"
#include "messages/ead/EadStore.h"
#include "messages/flows/FlowName.h"
#include "messages/flows/FlowText.h"
#include "messages/change/Ie813Flow.h"

namespace vt {

namespace {
IoError gone(std::int32_t number, const QString& year)
{
    return IoError(QStringLiteral("IL CAMBIO DI DESTINAZIONE N. %1 DEL %2 NON E' PIU' PRESENTE "
                                  "(UN'ALTRA POSTAZIONE LO HA CANCELLATO?)")
                       .arg(number)
                       .arg(year));
}
} // namespace

namespace changefiles {
QString changes(const AppContext& ctx, const QString& year)
{
    return ctx.registri(year + QStringLiteral("_813.DAT"));
}
QString details(const AppContext& ctx, const QString& year)
{
    return ctx.registri(year + QStringLiteral("_813_P.DAT"));
}
} // namespace changefiles

Ie813FlowRequest ie813Request(const AppContext& ctx, const TRecEad& change, const FlowEntry& entry)
{
    return {ctx.WorkYear, change.progressivo, entry.date, entry.number, entry.name, entry.replaceSigned};
}

Ie813FlowWritten writeIe813Flow(AppContext& ctx, const Ie813FlowRequest& rq)
{
    const QString flowPath = flow::pathIn(ctx.AppConfig.Fld[1], rq.flowName);
    const double flowDate = dates::fromDate(rq.flowDate);
    const QString detailsPath = changefiles::details(ctx, rq.year);

    // The details under their own lock, released before the change is locked: never holding one
    // while waiting for the other, in the other order from a deletion (changes, then details). A
    // change deleted in between is found gone below.
    QList<TRecDettaglio> details;
    {
        FileLock lock(detailsPath, ctx.messenger());
        for (const TRecDettaglio& d : readLines(detailsPath))
            if (d.progressivo == rq.number)
                details << d;
    }
    // A change is stored with at least one transport detail; without them (the file gone, or
    // emptied elsewhere) its message would be refused, so no flow is built at all.
    if (details.isEmpty())
        throw IoError(QStringLiteral("IL CAMBIO DI DESTINAZIONE N. %1 NON HA DETTAGLI DEL TRASPORTO IN %2: "
                                     "IL FLUSSO IE813 NON PUO' ESSERE CREATO")
                          .arg(rq.number)
                          .arg(QFileInfo(detailsPath).fileName()));

    std::optional<QByteArray> bytes;
    TRecEad stored;
    const bool found = updateHeaderInPlace(ctx, changefiles::changes(ctx, rq.year), rq.number, [&](TRecEad& c) {
        if (padField(c.stato, 1).compare(QLatin1String("0")) >= 0)
            throw IoError(QStringLiteral("IL CAMBIO DI DESTINAZIONE N. %1 RISULTA GIA' INVIATO: "
                                         "AZZERARE PRIMA I DATI DI INVIO DELL'IE813")
                              .arg(rq.number));
        if (!checkArc(c.ARC))
            throw IoError(QStringLiteral("IL CAMBIO DI DESTINAZIONE N. %1 NON HA IL NUMERO DI ARC DELL'e-AD: "
                                         "IL FLUSSO IE813 NON PUO' ESSERE CREATO")
                              .arg(rq.number));
        c.dataFlusso = flowDate;
        c.numeroFlusso = rq.flowNumber;
        Ie813Source source{c, details, ctx.CompanyRecord, rq.flowName, flowDate};
        // The header names the premises of dispatch; a change that does not carry them takes
        // those of the e-AD it changes (same year).
        if (trimField(c.SEDELS).isEmpty())
            if (const std::optional<TRecEad> ead = findHeader(eadfiles::headers(ctx, rq.year), c.progressivoRif))
                source.change.SEDELS = ead->SEDELS;
        bytes = ie813FlowBytes(source);
        stored = c;
    });
    if (!found)
        throw gone(rq.number, rq.year);
    removeReplacedSigned(ctx, FlowEntry{rq.flowDate, rq.flowNumber, rq.flowName, rq.replaceSigned});
    flow::writeFlowFile(flowPath, *bytes);
    return {flowPath, stored, int(details.size())};
}

void storeIe813Sent(AppContext& ctx, const QString& year, std::int32_t number)
{
    if (!updateHeaderInPlace(ctx, changefiles::changes(ctx, year), number,
                             [](TRecEad& c) { c.stato = EadState::Accepted; }))
        throw gone(number, year);
}

} // namespace vt
