#include "messages/reports/SentReport.h"

#include <QFileInfo>

#include <cmath>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "messages/ead/EadLifecycle.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/Summary.h"

namespace vt {

namespace {

QString cut(const QString& text, int width)
{
    return text.left(width);
}

QString dateText(double value)
{
    return value == 0 ? QString(10, QLatin1Char(' ')) : padField(dates::ddmmyyyy(value), 10);
}

QString stateColumn(const QString& stored)
{
    const QString state = padField(stored, 1);
    if (state == QLatin1String("I")) return QStringLiteral("INVIATO   ");
    if (state == QLatin1String("0")) return QStringLiteral("CANCELLATO");
    if (state == QLatin1String("C")) return QStringLiteral("COMPLETATO");
    if (state == QLatin1String("3")) return QStringLiteral("RIFIUTATO ");
    if (state == QLatin1String("4")) return QStringLiteral("PARZ. RIF.");
    return QString(10, QLatin1Char(' '));
}

QString party(const QString& id, const QString& name)
{
    return cut(trimField(id) + QLatin1Char(' ') + trimField(name) + QString(40, QLatin1Char(' ')), 33);
}

QStringList head(SentKind kind)
{
    switch (kind) {
    case SentKind::IE815:
    case SentKind::IE813:
        return {QString(110, QLatin1Char('-')),
                QStringLiteral("|FLUSSO INVIATO|  STATO   |        N° ARC       |   DATA   |    NUMERO     |                                 |"),
                QStringLiteral("|   DATA   | N°| E.M.C.S. |                     |SPEDIZIONE|   DOCUMENTO   |           DESTINATARIO          |"),
                QStringLiteral("|----------|---|----------|---------------------|----------|---------------|---------------------------------|")};
    case SentKind::IE810:
        return {QString(110, QLatin1Char('-')),
                QStringLiteral("|FLUSSO INVIATO|   MOTIVO ANNULLAMENTO    |        N° ARC       |   DATA   |                                 |"),
                QStringLiteral("|   DATA   | N°|                          |                     |SPEDIZIONE|           DESTINATARIO          |"),
                QStringLiteral("|----------|---|--------------------------|---------------------|----------|---------------------------------|")};
    case SentKind::IE818:
        return {QString(89, QLatin1Char('-')),
                QStringLiteral("|FLUSSO INVIATO|ESITO|        N° ARC       |   DATA   |                                 |"),
                QStringLiteral("|   DATA   | N°|     |                     |RICEZIONE |             MITTENTE            |"),
                QStringLiteral("|----------|---|-----|---------------------|----------|---------------------------------|")};
    }
    return {};
}

QString titleOf(SentKind kind)
{
    switch (kind) {
    case SentKind::IE815: return QStringLiteral("IE815");
    case SentKind::IE810: return QStringLiteral("IE810");
    case SentKind::IE813: return QStringLiteral("IE813");
    case SentKind::IE818: return QStringLiteral("IE818");
    }
    return {};
}

QString row(SentKind kind, const TRecEad& r)
{
    QString s = QStringLiteral("|") + dateText(r.dataFlusso) + QStringLiteral("|") +
                QStringLiteral("%1").arg(r.numeroFlusso, 2) + QStringLiteral(" |");
    switch (kind) {
    case SentKind::IE815:
    case SentKind::IE813: s += stateColumn(r.stato); break;
    case SentKind::IE810:
        // Cut to its 26 columns, and padded to them too: a short reason must not pull the ARC,
        // date and consignee out from under their heads.
        s += (padField(r.MOTANN(), 1) + QLatin1Char(' ') + trimField(r.descrizioneMotivo())).leftJustified(26, QLatin1Char(' '), true);
        break;
    case SentKind::IE818: s += QStringLiteral("  ") + padField(r.LINPRG, 2) + QLatin1Char(' '); break;
    }
    s += QStringLiteral("|") + padField(r.ARC, 21) + QStringLiteral("|");
    s += dateText(kind == SentKind::IE818 ? r.IMGPRO : r.DATSPE) + QStringLiteral("|");
    if (kind == SentKind::IE815 || kind == SentKind::IE813)
        s += cut(padField(r.NUMFAT, 35), 15) + QStringLiteral("|");
    s += kind == SentKind::IE818 ? party(r.accisaSpeditore, r.denominazioneSpeditore) : party(r.COIDDE, r.DENDES);
    s += QStringLiteral("|");
    return s;
}

} // namespace

std::optional<SentKind> sentKindOf(QChar opCode)
{
    switch (opCode.unicode()) {
    case '1': return SentKind::IE815;
    case '2': return SentKind::IE810;
    case '3': return SentKind::IE813;
    case '4': return SentKind::IE818;
    default: return std::nullopt;
    }
}

QString sentReportCaption(SentKind kind)
{
    return QStringLiteral("Ricerca dei flussi %1 inviati").arg(titleOf(kind));
}

QString sentReportFile(const AppContext& ctx, SentKind kind, const QString& year)
{
    switch (kind) {
    case SentKind::IE815: return eadfiles::headers(ctx, year);
    case SentKind::IE810: return cancelfiles::cancellations(ctx, year);
    case SentKind::IE813: return ctx.registri(year + QStringLiteral("_813.DAT"));
    case SentKind::IE818: return ctx.registri(year + QStringLiteral("_818_J.DAT"));
    }
    return {};
}

CheckResult checkReportYear(const QString& year)
{
    bool ok = false;
    const int y = year.trimmed().toInt(&ok);
    if (year.trimmed().size() != 4 || !ok || y < 2008 || y > 2060)
        return CheckResult::fail({}, QStringLiteral("LANNO"));
    return CheckResult::pass();
}

CheckResult checkReportPeriod(const QDate& from, const QDate& to)
{
    if (!from.isValid())
        return CheckResult::fail({}, QStringLiteral("DALLA"));
    if (!to.isValid() || to < from)
        return CheckResult::fail({}, QStringLiteral("ALLA"));
    return CheckResult::pass();
}

QStringList sentReportLines(SentKind kind, const QString& year, const QDate& from, const QDate& to,
                            const QList<TRecEad>& records)
{
    QStringList lines;
    lines << QStringLiteral("  MESSAGGI %1 INVIATI DAL ").arg(titleOf(kind)) + from.toString(QStringLiteral("dd/MM/yyyy")) +
                 QStringLiteral("  AL ") + to.toString(QStringLiteral("dd/MM/yyyy")) +
                 QStringLiteral(" RIFERITI ALLE SPEDIZIONI DEL ") + year;
    lines << QStringLiteral(" ");
    const QStringList h = head(kind);
    lines << h;
    const double first = dates::fromDate(from);
    const double last = dates::fromDate(to);
    // The IE815 and IE813 tables show the state of each message; the IE810 and IE818 tables have
    // no state column, so a flow built but never sent would read as sent there: only the messages
    // sent are listed.
    const bool sentOnly = kind == SentKind::IE810 || kind == SentKind::IE818;
    for (const TRecEad& r : records) {
        // The flow date keeps its time of day, if any: the day is what counts.
        const double day = std::floor(r.dataFlusso);
        if (r.dataFlusso == 0 || day < first || day > last)
            continue;
        if (sentOnly && padField(r.stato, 1) != EadState::Accepted)
            continue;
        lines << row(kind, r);
    }
    lines << h.last();
    return lines;
}

QStringList writeSentReport(const AppContext& ctx, SentKind kind, const QString& year, const QDate& from,
                            const QDate& to)
{
    QList<TRecEad> records;
    const QString path = sentReportFile(ctx, kind, year);
    // Only a real year names a file; a missing file is read as empty and never created here.
    if (checkReportYear(year) && QFileInfo::exists(path))
        records = readHeaders(path);
    const QStringList lines = sentReportLines(kind, year, from, to, records);
    writeTextLines(sentReportPath(ctx), lines);
    return lines;
}

QString sentReportPath(const AppContext& ctx)
{
    return ctx.temp(QStringLiteral("REPORT.TXT"));
}

} // namespace vt
