#include "messages/ead/Ie810Send.h"

#include <QDir>

#include <optional>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "messages/ead/EadLifecycle.h"
#include "messages/ead/EadStore.h"
#include "messages/flows/FlowName.h"
#include "messages/flows/FlowText.h"
#include "messages/ead/Ie810Flow.h"

namespace vt {

namespace {
IoError gone(std::int32_t progressive, const QString& year)
{
    return IoError(QStringLiteral("L'ANNULLAMENTO DELL'e-AD N. %1 DEL %2 NON E' PIU' PRESENTE "
                                  "(UN'ALTRA POSTAZIONE LO HA CANCELLATO?)")
                       .arg(progressive)
                       .arg(year));
}
} // namespace

Ie810FlowRequest ie810Request(const AppContext& ctx, const TRecEad& cancellation, const FlowEntry& entry)
{
    return {ctx.WorkYear, cancellation.progressivo, entry.date, entry.number, entry.name, entry.replaceSigned};
}

bool flowDateAfterDispatch(const QDate& flowDate, double dispatchDate)
{
    const QDate dispatch = dates::toDate(dispatchDate);
    return flowDate.isValid() && dispatch.isValid() && flowDate > dispatch;
}

FlowDateRule ie810DateRule(const TRecEad& cancellation)
{
    return [&cancellation](const QDate& date) {
        return flowDateAfterDispatch(date, cancellation.DATSPE) ? QString::fromUtf8(FlowDateAfterDispatch) : QString();
    };
}

Ie810FlowWritten writeIe810Flow(AppContext& ctx, const Ie810FlowRequest& rq)
{
    const QString flowPath = flow::pathIn(ctx.AppConfig.Fld[1], rq.flowName);
    const double flowDate = dates::fromDate(rq.flowDate);
    std::optional<QByteArray> bytes;
    TRecEad stored;
    const bool found = updateHeaderInPlace(ctx, cancelfiles::cancellations(ctx, rq.year), rq.progressive, [&](TRecEad& c) {
        const QString state = padField(c.stato, 1);
        if (state.compare(QLatin1String("0")) >= 0)
            throw IoError(QStringLiteral("L'ANNULLAMENTO DELL'e-AD N. %1 RISULTA GIA' INVIATO: "
                                         "AZZERARE PRIMA I DATI DI INVIO DELL'IE810")
                              .arg(rq.progressive));
        if (!checkArc(c.ARC))
            throw IoError(QStringLiteral("L'ANNULLAMENTO DELL'e-AD N. %1 NON HA IL NUMERO DI ARC: IL FLUSSO IE810 "
                                         "NON PUO' ESSERE CREATO")
                              .arg(rq.progressive));
        c.dataFlusso = flowDate;
        c.numeroFlusso = rq.flowNumber;
        // Every byte of the flow is built before the record is written back.
        bytes = ie810FlowBytes({c, ctx.CompanyRecord, rq.flowName, flowDate});
        stored = c;
    });
    if (!found)
        throw gone(rq.progressive, rq.year);
    removeReplacedSigned(ctx, FlowEntry{rq.flowDate, rq.flowNumber, rq.flowName, rq.replaceSigned});
    flow::writeFlowFile(flowPath, *bytes);
    return {flowPath, stored};
}

void storeIe810Sent(AppContext& ctx, const QString& year, std::int32_t progressive)
{
    if (!updateHeaderInPlace(ctx, cancelfiles::cancellations(ctx, year), progressive,
                             [](TRecEad& c) { c.stato = EadState::Accepted; }))
        throw gone(progressive, year);
}

} // namespace vt
