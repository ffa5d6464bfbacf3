#include "messages/receipt/Ie818Flow.h"

#include "foundation/FieldAccess.h"
#include "foundation/Text.h"
#include "messages/flows/FlowText.h"

namespace vt {

namespace {

namespace J {
constexpr int Language = 4, Sequence = 56, Arc = 78, Note3 = 1683, Arrival = 2120, Note2 = 2161, Note1 = 2438,
              Outcome = 2679;
}
namespace K {
constexpr int Line = 8, Indicator = 12, ExciseProduct = 23, Reasons = 39, Note = 56, Difference = 2072,
              Refused = 2080;
}

// The body fields of one report line.
void addBody(flow::FieldLine& f, const TRecDettaglio& l, const QString& outcome, const QString& language)
{
    f.add(flow::digits(int32At(l, K::Line), 3));
    const QString indicator = trimmedAt(l, K::Indicator);
    if (indicator == QLatin1String("S") || indicator == QLatin1String("E"))
        f.add(indicator).add(flow::number(doubleAt(l, K::Difference), 3));
    else
        f.empty(2);
    f.add(storedAt(l, K::ExciseProduct));
    f.add(outcome == QLatin1String("4") ? flow::number(doubleAt(l, K::Refused), 3) : QString());
    QString reasons = storedAt(l, K::Reasons);
    reasons.remove(QLatin1Char(' '));
    f.add(QStringLiteral("00") + QString::number(reasons.size()));
    const QString note = trimmedAt(l, K::Note);
    for (qsizetype i = 0; i < reasons.size(); ++i) {
        f.add(QStringLiteral("Q")).add(QStringLiteral("00") + QString::number(i + 1)).add(QString(reasons.at(i)));
        if (note.isEmpty())
            f.empty(2);
        else
            f.add(note).add(language);
    }
}

} // namespace

QString ie818Prefix(const TRecAzienda& company, const QString& arc, double flowDate)
{
    return flow::recordPrefix(QStringLiteral("IE818"), company, arc, 21, flowDate);
}

QStringList ie818Lines(const Ie818Source& s, QList<Ie818Placement>* placements)
{
    const TRecAzienda& c = s.company;
    QStringList body;
    int lineNumber = 0;
    int ordinal = 0;
    for (const Ie818Report& r : s.reports) {
        const TRecEad& h = r.header;
        const QString prefix = ie818Prefix(c, storedAt(h, J::Arc), s.flowDate);
        const QString language = storedAt(h, J::Language);
        const QString outcome = trimmedAt(h, J::Outcome);
        if (placements)
            placements->append({h.progressivo, lineNumber + 1, int(std::max<qsizetype>(1, r.lines.size()))});

        flow::FieldLine j(prefix);
        j.add(QStringLiteral("J")).add(flow::digits(++lineNumber, 4)).add(flow::digits(++ordinal, 4));
        j.add(flow::digits(std::max<qsizetype>(0, r.lines.size() - 1), 3));
        j.add(QString::number(int32At(h, J::Sequence)));
        // The consignee: the company's head office.
        j.add(trimField(c.CACCI1) + QString(5, QLatin1Char(' ')))
            .add(trimField(c.DENOM1))
            .add(trimField(c.INDIR1))
            .add(trimField(c.NUMCI1))
            .add(trimField(c.C_A_P1))
            .add(trimField(c.CITTA1))
            .add(language)
            .empty();
        // The place of delivery, for a tax warehouse: its premises of dispatch "001".
        if (trimField(c.TIPOIN) == QLatin1String("1"))
            j.add(trimField(c.CACCI2) + QString(5, QLatin1Char(' ')))
                .add(trimField(c.DENOM2))
                .add(trimField(c.INDIR2))
                .add(trimField(c.NUMCI2))
                .add(trimField(c.C_A_P2))
                .add(trimField(c.CITTA2))
                .add(language);
        else
            j.empty(7);
        j.add(trimField(c.UFFDO2));
        j.add(flow::date(doubleAt(h, J::Arrival)));
        j.add(outcome);
        const QString info = trimField(storedAt(h, J::Note1) + QLatin1Char(' ') + storedAt(h, J::Note2)
                                       + QLatin1Char(' ') + storedAt(h, J::Note3));
        if (info.isEmpty())
            j.empty(2);
        else
            j.add(info).add(language);
        if (r.lines.isEmpty())
            j.empty(5).add(QStringLiteral("000"));
        else
            addBody(j, r.lines.first(), outcome, language);
        body << j.text();

        for (qsizetype i = 1; i < r.lines.size(); ++i) {
            flow::FieldLine k(prefix);
            k.add(QStringLiteral("K")).add(flow::digits(++lineNumber, 4));
            addBody(k, r.lines[i], outcome, language);
            body << k.text();
        }
    }
    QStringList lines;
    lines << flow::headerLine(c.CODUTE, s.flowName, c.SEZDOG, c.PARIVA, QStringLiteral("001"), int(body.size()) + 1);
    lines << body;
    return lines;
}

QByteArray ie818FlowBytes(const Ie818Source& source, QList<Ie818Placement>* placements)
{
    return flow::fileBytes(ie818Lines(source, placements));
}

} // namespace vt
