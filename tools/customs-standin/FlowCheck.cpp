#include "FlowCheck.h"

#include <QRandomGenerator>

namespace standin {

namespace {

const QStringList KnownCodes = {"IE815", "IE810", "IE813", "IE818", "ALCOAV"};

// A line with text placed at 1-based positions, blanks between.
QByteArray place(QByteArray line, int pos, const QByteArray& text)
{
    if (line.size() < pos - 1)
        line.append(QByteArray(pos - 1 - line.size(), ' '));
    line.truncate(pos - 1);
    return line + text;
}

QByteArray fixed(const QString& text, int width)
{
    return text.toLatin1().left(width).leftJustified(width, ' ');
}

} // namespace

FlowCheck checkFlow(const QByteArray& flow)
{
    FlowCheck c;
    if (flow.isEmpty()) {
        c.problems << "FLUSSO VUOTO";
        return c;
    }
    QList<QByteArray> lines = flow.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    else
        c.problems << "ULTIMA RIGA SENZA FINE RIGA";
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].endsWith('\r'))
            lines[i].chop(1);
        else
            c.problems << QString("RIGA %1 NON TERMINATA DA CR LF").arg(i + 1);
    }
    if (lines.isEmpty()) {
        c.problems << "FLUSSO VUOTO";
        return c;
    }
    const QByteArray header = lines.first();
    if (header.size() != 75)
        c.problems << QString("RECORD DI TESTA DI %1 CARATTERI INVECE DI 75").arg(header.size());
    else {
        const QByteArray count = header.mid(70, 5);
        bool ok = true;
        for (char ch : count)
            ok = ok && ch >= '0' && ch <= '9';
        if (!ok || count.toInt() != lines.size())
            c.problems << QString("NUMERO RIGHE DICHIARATO %1, PRESENTI %2").arg(QString::fromLatin1(count)).arg(lines.size());
    }
    c.records = static_cast<int>(lines.size()) - 1;
    if (c.records < 1) {
        c.problems << "NESSUN RECORD DOPO LA TESTATA";
        return c;
    }
    for (const QString& code : KnownCodes) {
        if (lines[1].startsWith(code.toLatin1()))
            c.code = code;
    }
    if (c.code.isEmpty()) {
        c.problems << "PREFISSO DEL RECORD SCONOSCIUTO";
        return c;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!lines[i].startsWith(c.code.toLatin1()))
            c.problems << QString("RIGA %1: PREFISSO DIVERSO DA %2").arg(i + 1).arg(c.code);
        else if (!lines[i].endsWith('\t'))
            c.problems << QString("RIGA %1: ULTIMO CAMPO NON TERMINATO DA TAB").arg(i + 1);
    }
    if (c.code == "ALCOAV" && lines[1].mid(19, 9) != "00000000A")
        c.problems << "RECORD DI FILE ALCOAV MANCANTE";
    return c;
}

QString makeArc(int year)
{
    static const char alnum[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString arc = QString("%1IT").arg(year % 100, 2, 10, QChar('0'));
    auto* rng = QRandomGenerator::global();
    for (int i = 0; i < 16; ++i)
        arc += QChar(alnum[rng->bounded(36)]);
    int sum = 0;
    for (QChar ch : arc)
        sum += ch.unicode();
    arc += QChar('0' + sum % 10);
    return arc;
}

QByteArray outcomeFor(const FlowCheck& check, const std::function<QString()>& arc)
{
    QByteArray out;
    auto add = [&out](const QByteArray& line) { out += line + "\r\n"; };
    if (check.code == "ALCOAV") {
        // File record: registration number at 28-42, verdict at 43, text from 44.
        QByteArray file = place("ALCOAV", 28, "000000000000001");
        if (check.valid()) {
            add(place(file, 43, "0FILE ACQUISITO"));
        } else {
            add(place(file, 43, "1FILE SCARTATO"));
            for (const QString& p : check.problems)
                add(" E" + p.toLatin1());
        }
        return out;
    }
    const QByteArray code = check.code.isEmpty() ? QByteArray("IE000") : check.code.toLatin1();
    if (check.valid()) {
        const QString given = check.code == "IE815" ? arc() : QString();
        for (int i = 1; i <= check.records; ++i) {
            QByteArray l = place(code, 46, "A" + QByteArray::number(i).rightJustified(4, '0') + "P");
            if (!given.isEmpty())
                l = place(l, 52, fixed(given, 21));
            add(place(l, 112, "MESSAGGIO ACCETTATO"));
        }
        return out;
    }
    int n = 0;
    for (const QString& p : check.problems) {
        QByteArray l = place(code, 46, "A0001N");
        l = place(l, 52, "A0010010");
        l = place(l, 60, QByteArray::number(++n).rightJustified(4, '0'));
        l = place(l, 64, fixed("FLUSSO", 50));
        l = place(l, 114, "E001" + p.toLatin1());
        add(l);
    }
    if (check.code.isEmpty()) { // the layout is unknown: a rejected register file record as well
        add(place(place("ALCOAV", 28, "000000000000000"), 43, "1FILE SCARTATO"));
        for (const QString& p : check.problems)
            add(" E" + p.toLatin1());
    }
    return out;
}

} // namespace standin
