#include "messages/receipt/Ie818Send.h"

#include <QDir>
#include <QFile>

#include <set>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/FieldAccess.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/flows/FlowName.h"
#include "messages/flows/FlowText.h"
#include "messages/transmission/OutcomeParser.h"
#include "messages/receipt/ReceivedImport.h"

namespace vt {

namespace {

bool notSent(const TRecEad& r)
{
    return padField(r.stato, 1) < QLatin1String("0");
}

} // namespace

QList<TRecEad> unsentReports(const AppContext& ctx, const QString& year)
{
    RecordFile store(receiptfiles::reports(ctx, year), TRecEad::Size);
    store.openOrCreate();
    QList<TRecEad> out;
    for (const QByteArray& b : store.readAll()) {
        const TRecEad r = decodeEad(b);
        if (notSent(r))
            out << r;
    }
    return out;
}

QString unsentReportItem(const TRecEad& r)
{
    const double arrival = doubleAt(r, 2120);
    return storedAt(r, 78) + QStringLiteral(" data arrivo: ") + (arrival > 0 ? dates::ddmmyyyy(arrival) : QString())
           + QStringLiteral(" esito: ") + trimmedAt(r, 2679) + QStringLiteral(" da: ") + trimmedAt(r, 135);
}

Ie818FlowRequest ie818Request(const AppContext& ctx, const QList<std::int32_t>& reports, const FlowEntry& entry)
{
    return {ctx.WorkYear, reports, entry.date, entry.number, entry.name, entry.replaceSigned};
}

Ie818FlowWritten writeIe818Flow(AppContext& ctx, const Ie818FlowRequest& rq)
{
    if (rq.reports.isEmpty())
        throw IoError(QString::fromUtf8(NoMessageSelected));
    const QString jPath = receiptfiles::reports(ctx, rq.year);
    const QString kPath = receiptfiles::reportLines(ctx, rq.year);
    const QString flowPath = flow::pathIn(ctx.AppConfig.Fld[1], rq.flowName);
    const double flowDate = dates::fromDate(rq.flowDate);
    Ie818FlowWritten written;
    written.flowPath = flowPath;

    FileGroup group({jPath, kPath}, &ctx.messenger());
    bool flowWritten = false;
    try {
        group.run([&](FileGroup& g) {
            QList<QByteArray> stored = g.read(jPath, TRecEad::Size);
            const QList<QByteArray> kLines = g.read(kPath, TRecDettaglio::Size);
            Ie818Source src;
            src.company = ctx.CompanyRecord;
            src.flowName = rq.flowName;
            src.flowDate = flowDate;
            QList<qsizetype> indexes;
            for (std::int32_t number : rq.reports) {
                qsizetype at = -1;
                for (qsizetype i = 0; i < stored.size(); ++i)
                    if (RecordFile::numberOf(stored[i]) == number)
                        at = i;
                if (at < 0)
                    throw IoError(QStringLiteral("LA NOTA DI RICEZIONE N. %1 NON E' PIU' PRESENTE NEL FILE %2")
                                      .arg(number)
                                      .arg(QDir::toNativeSeparators(jPath)));
                Ie818Report report;
                report.header = decodeEad(stored[at]);
                if (!notSent(report.header))
                    throw IoError(QStringLiteral("LA NOTA DI RICEZIONE N. %1 (ARC %2) E' GIA' STATA INVIATA")
                                      .arg(number)
                                      .arg(trimField(report.header.ARC)));
                for (const QByteArray& k : kLines)
                    if (RecordFile::numberOf(k) == number)
                        report.lines << decodeLine(k);
                report.header.dataFlusso = flowDate;
                report.header.numeroFlusso = rq.flowNumber;
                stored[at] = encodeEad(report.header);
                indexes << at;
                src.reports << report;
            }
            // Every byte first; then the store, then the flow file.
            const QByteArray bytes = ie818FlowBytes(src, &written.placements);
            removeReplacedSigned(ctx, FlowEntry{rq.flowDate, rq.flowNumber, rq.flowName, rq.replaceSigned});
            g.replace(jPath, TRecEad::Size, stored);
            flow::writeFlowFile(flowPath, bytes);
            flowWritten = true;
        });
    } catch (const IoError&) {
        // The reports could not take the flow's date and number: no flow file of them is left to sign.
        if (flowWritten)
            QFile::remove(flowPath);
        throw;
    }
    return written;
}

QList<std::int32_t> acceptedReports(const QByteArray& attachment, const QList<Ie818Placement>& placements)
{
    std::set<int> positive, negative;
    for (const QString& line : outcome::splitLines(attachment)) {
        if (!line.startsWith(QLatin1Char('I')) || line.size() < 51)
            continue;
        bool ok = false;
        const int n = line.mid(46, 4).toInt(&ok);
        if (!ok)
            continue;
        (line.at(50) == QLatin1Char('P') ? positive : negative).insert(n);
    }
    QList<std::int32_t> out;
    // A wholly positive outcome accepts the whole flow, however its lines are numbered.
    if (negative.empty() && !positive.empty()) {
        for (const Ie818Placement& p : placements)
            out << p.report;
        return out;
    }
    for (const Ie818Placement& p : placements) {
        bool refused = false;
        for (int l = p.firstLine; l < p.firstLine + p.lineCount; ++l)
            refused = refused || negative.count(l);
        if (positive.count(p.firstLine) && !refused)
            out << p.report;
    }
    return out;
}

QList<std::int32_t> markIe818Sent(AppContext& ctx, const QString& year, const QList<std::int32_t>& accepted,
                                  const QDate& flowDate, int flowNumber)
{
    QList<std::int32_t> marked;
    if (accepted.isEmpty())
        return marked;
    const QString jPath = receiptfiles::reports(ctx, year);
    const double date = dates::fromDate(flowDate);
    FileGroup group({jPath}, &ctx.messenger());
    group.run([&](FileGroup& g) {
        QList<QByteArray> stored = g.read(jPath, TRecEad::Size);
        for (QByteArray& b : stored) {
            TRecEad r = decodeEad(b);
            if (!accepted.contains(r.progressivo) || r.dataFlusso != date || r.numeroFlusso != flowNumber)
                continue;
            r.stato = EadState::Accepted;
            b = encodeEad(r);
            marked << r.progressivo;
        }
        if (!marked.isEmpty())
            g.replace(jPath, TRecEad::Size, stored);
    });
    return marked;
}

} // namespace vt
