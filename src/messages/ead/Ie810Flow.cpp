#include "messages/ead/Ie810Flow.h"

#include "foundation/Text.h"
#include "messages/flows/FlowText.h"

namespace vt {

QStringList ie810Lines(const Ie810Source& s)
{
    const TRecEad& c = s.cancellation;
    const QString note = trimField(c.NOTMOT());
    flow::FieldLine line(flow::recordPrefix(QStringLiteral("IE810"), s.company, c.ARC, 21, s.flowDate));
    line.add(QStringLiteral("D")).add(QStringLiteral("0001"));
    line.add(trimField(c.MOTANN()));
    line.add(note);
    // The language goes with a note only: an empty note leaves the language field empty too.
    line.add(note.compare(QLatin1String("!")) >= 0 ? padField(c.LINGUA, 2) : QString());
    return {flow::headerLine(s.company, s.flowName, padField(c.SEDELS, 3), 2), line.text()};
}

QByteArray ie810FlowBytes(const Ie810Source& source)
{
    return flow::fileBytes(ie810Lines(source));
}

} // namespace vt
