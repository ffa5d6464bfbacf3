#include "messages/ead/EadChoice.h"

#include <QDir>
#include <QFile>

#include <functional>

#include <algorithm>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "foundation/EadRecord.h"

namespace vt {

namespace {

enum class Filter { Unsent, SentOrNot, Any, Nothing };

QString dateText(double value)
{
    // A date of 0 is "none yet" (a flow not built), not the last day of 1899.
    return value == 0 ? QString() : dates::ddmmyyyy(value);
}

QString consignee(const TRecEad& r)
{
    return trimField(r.DENDES) + QLatin1Char(' ') + trimField(r.COIDDE) + QLatin1Char(' ') + trimField(r.CITDES);
}

QString invoice(const TRecEad& r)
{
    return trimField(r.NUMFAT) + QStringLiteral(" del ") + dateText(r.DATFAT);
}

QString reason(const TRecEad& r)
{
    return trimField(r.MOTANN()) + QLatin1Char(' ') + trimField(r.descrizioneMotivo()) + QLatin1Char(' ') +
           trimField(r.NOTMOT());
}

QString eadStateText(const QString& state)
{
    const QString s = padField(state, 1);
    if (s == EadState::Compiled) return QStringLiteral("compilato");
    if (s == EadState::Accepted) return QStringLiteral("accettato");
    if (s == EadState::Cancelled) return QStringLiteral("annullato");
    if (s == EadState::Completed) return QStringLiteral("concluso");
    if (s == EadState::Refused) return QStringLiteral("rifiutato");
    if (s == EadState::PartlyRefused) return QStringLiteral("rifiutato in parte");
    return s.trimmed();
}

struct ModeLayout {
    Filter filter = Filter::Nothing;
    QStringList titles;
    std::function<QStringList(const TRecEad&)> columns;
};

ModeLayout layoutOf(QChar mode)
{
    const QString Invoice = QStringLiteral("  FATTURA"), Dispatch = QStringLiteral("DATA SPED."),
                  Consignee = QStringLiteral(" DESTINATARIO "), Reason = QStringLiteral("MOTIVO CANCELLAZIONE"),
                  Sent = QStringLiteral("DATA INVIO"), Number = QStringLiteral("N.Pr."),
                  Arc = QStringLiteral("      NUMERO ARC     ");
    switch (mode.unicode()) {
    case 'C': case 'I': case 'M':
        return {Filter::Unsent, {Invoice, Dispatch, Consignee},
                [](const TRecEad& r) { return QStringList{invoice(r), dateText(r.DATSPE), consignee(r)}; }};
    case '9': case 'x':
        return {Filter::Unsent, {Reason, Dispatch, Consignee},
                [](const TRecEad& r) { return QStringList{reason(r), dateText(r.DATSPE), consignee(r)}; }};
    case 'A': case 'D': case 'R': case 'X': case 'd': case 'e': case 'f':
        return {Filter::SentOrNot, {Sent, Number, Arc, Invoice, Dispatch, Consignee}, [](const TRecEad& r) {
                    return QStringList{dateText(r.dataFlusso), QString::number(r.numeroFlusso), trimField(r.ARC),
                                       invoice(r), dateText(r.DATSPE), consignee(r)};
                }};
    case 'N': case 'n': // reports of receipt: arrival, outcome and consignor
        return {mode == QLatin1Char('N') ? Filter::Unsent : Filter::SentOrNot,
                {Sent, Number, Arc, QStringLiteral("DATA ARRIVO"), QStringLiteral("ESITO"), QStringLiteral(" MITTENTE ")},
                [](const TRecEad& r) {
                    return QStringList{dateText(r.dataFlusso), QString::number(r.numeroFlusso), trimField(r.ARC),
                                       dateText(r.IMGPRO), trimField(r.LINPRG),
                                       trimField(r.accisaSpeditore) + QLatin1Char(' ') + trimField(r.denominazioneSpeditore)};
                }};
    case 'U': case 'S': // duplicate, story: every e-AD, whatever its state
        return {Filter::Any, {Sent, Number, Arc, QStringLiteral("STATO"), Invoice, Dispatch, Consignee},
                [](const TRecEad& r) {
                    return QStringList{dateText(r.dataFlusso), QString::number(r.numeroFlusso), trimField(r.ARC),
                                       eadStateText(r.stato), invoice(r), dateText(r.DATSPE), consignee(r)};
                }};
    case 'a':
        return {Filter::SentOrNot, {Sent, Number, Reason, Invoice, Dispatch, Consignee}, [](const TRecEad& r) {
                    return QStringList{dateText(r.dataFlusso), QString::number(r.numeroFlusso), reason(r),
                                       invoice(r), dateText(r.DATSPE), consignee(r)};
                }};
    default:
        return {};
    }
}

bool passes(Filter filter, const QString& storedState)
{
    const QString state = padField(storedState, 1);
    switch (filter) {
    case Filter::Unsent: return state.compare(QLatin1String("0")) < 0; // not sent: " "
    case Filter::SentOrNot: return state == QLatin1String(" ") || state == QLatin1String("I");
    case Filter::Any: return true;
    case Filter::Nothing: return false;
    }
    return false;
}

} // namespace

QString chooserTitle(QChar mode)
{
    switch (mode.unicode()) {
    case '9': return QStringLiteral("CREA, FIRMA e INVIA FLUSSO IE810");
    case 'A': return QStringLiteral("CANCELLA I RIFERIMENTI DI UN e-AD INVIATO");
    case 'C': return QStringLiteral("CANCELLA e-AD NON INVIATO");
    case 'D': return QStringLiteral("CAMBIO DI DESTINAZIONE");
    case 'I': return QStringLiteral("CREA, FIRMA e INVIA FLUSSO IE815");
    case 'M': return QStringLiteral("MODIFICA e-AD (IE815) NON ACCETTATO IN EMCS");
    case 'N': return QStringLiteral("CANCELLA NOTA DI RICEZIONE (IE818 NON INVIATO)");
    case 'R': return QStringLiteral("REGISTRA IL NUMERO DI ARC ATTRIBUITO ALL'e-AD");
    case 'X': return QStringLiteral("ANNULLA UN e-AD INVIATO nel Sistema Telematico Doganale");
    case 'a': return QStringLiteral("CANCELLA I RIFERIMENTI DI UN IE810 INVIATO");
    case 'd': return QStringLiteral("CANCELLA CAMBIO DI DESTINAZIONE NON INVIATO nel Sistema Telematico Doganale");
    case 'e': return QStringLiteral("CANCELLA I RIFERIMENTI DI UN IE813 INVIATO");
    case 'f': return QStringLiteral("CREA, FIRMA e INVIA FLUSSO IE813");
    case 'n': return QStringLiteral("CANCELLA I RIFERIMENTI DI UN IE818 INVIATO");
    case 'U': return QStringLiteral("DUPLICA e-AD: SCEGLIERE L'e-AD DA COPIARE");
    case 'S': return QStringLiteral("STORIA DI UN e-AD");
    case 'x': return QStringLiteral("CANCELLA L'ANNULLAMENTO NON INVIATO nel Sistema Telematico Doganale DI UN e-AD");
    default: return {};
    }
}

QString choiceFile(const AppContext& ctx, QChar mode, const QString& year)
{
    switch (mode.unicode()) {
    case 'C': case 'I': case 'M': case 'A': case 'D': case 'R': case 'X': case 'U': case 'S':
        return ctx.registri(year + QStringLiteral("_815_A.DAT"));
    case '9': case 'x': case 'a':
        return ctx.registri(year + QStringLiteral("_810.DAT"));
    case 'd': case 'e': case 'f':
        return ctx.registri(year + QStringLiteral("_813.DAT"));
    case 'N': case 'n':
        return ctx.registri(year + QStringLiteral("_818_J.DAT"));
    default:
        return {};
    }
}

QByteArray listingBytes(const QList<ChoiceRow>& rows)
{
    QStringList lines;
    for (const ChoiceRow& row : rows) {
        lines << row.columns.value(0);
        lines << QStringLiteral("@") + QString::number(row.key);
        for (qsizetype i = 1; i < row.columns.size(); ++i)
            lines << QStringLiteral("\t") + row.columns[i];
    }
    QByteArray out;
    for (const QString& line : lines) {
        QByteArray bytes;
        if (!toCp1252(line, bytes)) // stored texts are Windows-1252 already; never a broken line
            bytes = line.toLatin1();
        out += bytes + "\r\n";
    }
    return out;
}

QList<ChoiceRow> parseListing(const QByteArray& bytes)
{
    QList<ChoiceRow> rows;
    QString text = fromCp1252(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (i == lines.size() - 1 && line.isEmpty())
            break; // after the last line end
        if (line.startsWith(QLatin1Char('@'))) {
            if (!rows.isEmpty()) {
                bool ok = false;
                const int key = line.mid(1, 20).trimmed().toInt(&ok);
                rows.last().key = ok ? key : 0;
            }
        } else if (line.startsWith(QLatin1Char('\t'))) {
            if (!rows.isEmpty())
                rows.last().columns << line.mid(1);
        } else {
            rows << ChoiceRow{0, {line}};
        }
    }
    return rows;
}

ChoiceList buildChoiceList(const AppContext& ctx, QChar mode, const QString& year)
{
    const ModeLayout layout = layoutOf(mode);
    ChoiceList list;
    list.titles = layout.titles;
    QList<ChoiceRow> rows;
    const QString path = choiceFile(ctx, mode, year);
    if (!path.isEmpty() && layout.columns) {
        for (const QByteArray& bytes : RecordFile(path, TRecEad::Size).readAll()) {
            const TRecEad r = decodeEad(bytes);
            // A change of destination and a cancellation name the e-AD by its ARC: one without
            // an ARC is refused once picked, so it is not offered.
            const bool needsArc = mode == QLatin1Char('D') || mode == QLatin1Char('X');
            if (passes(layout.filter, r.stato) && (!needsArc || !trimField(r.ARC).isEmpty()))
                rows << ChoiceRow{r.progressivo, layout.columns(r)};
        }
    }
    const QString listing = ctx.temp(QStringLiteral("TABELLA.TXT"));
    QFile out(listing);
    const QByteArray bytes = listingBytes(rows);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        throw IoError(QStringLiteral("ERRORE DI LETTURA/SCRITTURA SUL FILE %1: %2")
                          .arg(QDir::toNativeSeparators(listing), out.errorString()));
    out.close();
    QFile in(listing);
    if (!in.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("ERRORE DI LETTURA/SCRITTURA SUL FILE %1: %2")
                          .arg(QDir::toNativeSeparators(listing), in.errorString()));
    list.rows = parseListing(in.readAll());
    return list;
}

QList<int> columnWidths(const ChoiceList& list)
{
    QList<int> widths;
    for (qsizetype i = 0; i < list.titles.size(); ++i)
        widths << 5;
    for (const ChoiceRow& row : list.rows)
        for (qsizetype i = 0; i < row.columns.size(); ++i) {
            if (i >= widths.size())
                widths << 5;
            widths[i] = std::max<int>(widths[i], int(row.columns[i].size()));
        }
    return widths;
}

void sortChoiceRows(QList<ChoiceRow>& rows, int column)
{
    std::stable_sort(rows.begin(), rows.end(), [column](const ChoiceRow& a, const ChoiceRow& b) {
        return a.columns.value(column).compare(b.columns.value(column), Qt::CaseSensitive) < 0;
    });
}

CheckResult checkChoiceYear(const QString& year)
{
    bool ok = false;
    const int y = year.toInt(&ok);
    if (year.size() != 4 || !ok || y < 2008 || y > 2060)
        return CheckResult::fail(QString(), QStringLiteral("LANNO"));
    return CheckResult::pass();
}

} // namespace vt
