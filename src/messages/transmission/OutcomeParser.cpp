#include "messages/transmission/OutcomeParser.h"

#include "foundation/Text.h"

namespace vt::outcome {

namespace {

// Characters a..b of a line, counted from 1; empty past the end.
QString chars(const QString& line, int from, int to)
{
    return line.mid(from - 1, to - from + 1);
}

QString charsToEnd(const QString& line, int from)
{
    return line.mid(from - 1);
}

} // namespace

QString negative()
{
    return QStringLiteral("ESITO NEGATIVO");
}

QString positive()
{
    return QStringLiteral("ESITO POSITIVO");
}

QStringList notReceivedDetails()
{
    return {QStringLiteral(" -- DETTAGLI NON PERVENUTI DAL WEBSERVICE -- "),
            QStringLiteral("    Interroga il sistema telematico doganale E.D.I. per l'esito. ")};
}

QStringList splitLines(const QByteArray& bytes)
{
    QStringList lines;
    if (bytes.isEmpty())
        return lines;
    const QList<QByteArray> raw = bytes.split('\n');
    for (qsizetype i = 0; i < raw.size(); ++i) {
        QByteArray l = raw[i];
        if (i == raw.size() - 1 && l.isEmpty())
            break; // the text ended with a line end
        if (l.endsWith('\r'))
            l.chop(1);
        lines << fromCp1252(l);
    }
    return lines;
}

QByteArray detailsBytes(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines) {
        QByteArray b;
        if (!toCp1252(line, b)) { // character by character only when the line needs it
            QString safe;
            safe.reserve(line.size());
            for (QChar c : line)
                safe += isCp1252(QString(c)) ? c : QLatin1Char('?');
            toCp1252(safe, b);
        }
        out += b;
        out += "\r\n";
    }
    return out;
}

bool wellFormedArc(const QString& arc)
{
    if (arc.size() != 21)
        return false;
    for (QChar c : arc)
        if (!((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
              || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))))
            return false;
    return true;
}

Outcome parseMessageLayout(const QByteArray& attachment, FlowKind kind)
{
    Outcome o{negative(), {}};
    for (const QString& line : splitLines(attachment)) {
        if (!line.startsWith(QLatin1Char('I')))
            continue;
        if (chars(line, 51, 51) == QLatin1String("P")) {
            o.positive = true;
            if (kind == FlowKind::IE815) {
                // Several records may be answered positively; the ARC is the first well-formed
                // one, and a line with a blank or cut ARC never takes its place.
                const QString arc = chars(line, 52, 72);
                if (wellFormedArc(arc)) {
                    o.details << QStringLiteral("ARC ATTRIBUITO:  ") + arc;
                    if (o.arc.isEmpty())
                        o.arc = o.result = arc;
                } else {
                    o.details << QStringLiteral("ARC NON VALIDO:  ") + arc;
                    if (o.arc.isEmpty())
                        o.result = positive();
                }
            } else {
                o.result = positive();
            }
            o.details << QStringLiteral("   *** ESITO POSITIVO *** ") << chars(line, 1, 5)
                      << QStringLiteral("TIPO RECORD:    ") + chars(line, 46, 46)
                      << QStringLiteral("N° PROGRESSIVO: ") + chars(line, 47, 50)
                      << QStringLiteral("NOTE:           ") + charsToEnd(line, 112);
        } else {
            o.details << QStringLiteral("   ///// ESITO NEGATIVO \\\\\\\\\\ ") << chars(line, 1, 5)
                      << QStringLiteral("TIPO RECORD:    ") + chars(line, 46, 46)
                      << QStringLiteral("N° PROGRESSIVO: ") + chars(line, 47, 50)
                      << QStringLiteral("T. RECORD SEC.  ") + chars(line, 52, 52)
                      << QStringLiteral("N° PROGRESSIVO: ") + chars(line, 53, 55)
                      << QStringLiteral("TIPO ITERAZIONE ") + chars(line, 56, 56)
                      << QStringLiteral("N° PROGRESSIVO: ") + chars(line, 57, 59)
                      << QStringLiteral("N° PROGR. RIGA: ") + chars(line, 60, 63)
                      << QStringLiteral("DESCR. CAMPO:   ") + chars(line, 64, 113)
                      << QStringLiteral("TIPO D'ERRORE:  ") + chars(line, 114, 114)
                      << QStringLiteral("NUMERO ERRORE:  ") + chars(line, 115, 117)
                      << QStringLiteral("DESCRIZ. ERRORE ") + charsToEnd(line, 118);
        }
    }
    return o;
}

Outcome parseRegisterLayout(const QByteArray& attachment)
{
    Outcome o{negative(), {}};
    const QStringList lines = splitLines(attachment);
    bool fileRecordFound = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString inHand = lines[i];
        if (inHand.contains(QLatin1String("ALCOAV"))) {
            fileRecordFound = true;
            o.details << QStringLiteral("N° REGISTRAZIONE DEL FILE: ") + chars(inHand, 28, 42);
            o.positive = chars(inHand, 43, 43) == QLatin1String("0");
            o.result = o.positive ? positive() : QStringLiteral("ESITO NEGATIVO - SCARTATO");
            o.details << o.result << charsToEnd(inHand, 44);
            if (i + 1 < lines.size()) {
                inHand = lines[++i];
                o.details << inHand; // as it is; it is then read as a signal line too
            }
        }
        if (fileRecordFound && inHand.startsWith(QLatin1Char(' '))) {
            const QString signal = chars(inHand, 2, 2);
            if (signal == QLatin1String("S"))
                o.details << QStringLiteral("ACCETTATO CON SEGNALAZIONI: ") + charsToEnd(inHand, 3);
            else if (signal == QLatin1String("E"))
                o.details << QStringLiteral("ERRORE SCARTATO: ") + charsToEnd(inHand, 3);
        }
    }
    return o;
}

Outcome parse(const QByteArray& attachment, FlowKind kind)
{
    return kind == FlowKind::Register ? parseRegisterLayout(attachment) : parseMessageLayout(attachment, kind);
}

} // namespace vt::outcome
