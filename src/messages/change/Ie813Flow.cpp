#include "messages/change/Ie813Flow.h"

#include "foundation/Text.h"
#include "messages/flows/FlowText.h"

namespace vt {

namespace {

// A text counts as given when, trimmed, it is not below "!".
bool given(const QString& text)
{
    return trimField(text).compare(QLatin1String("!")) >= 0;
}

void textWithLanguage(flow::FieldLine& line, const QString& text, const QString& language)
{
    if (given(text))
        line.add(trimField(text)).add(language);
    else
        line.empty(2);
}

void address(flow::FieldLine& line, const QString& name, const QString& street, const QString& number,
             const QString& postcode, const QString& city, const QString& language)
{
    for (const QString* s : {&name, &street, &number, &postcode, &city, &language})
        line.add(trimField(*s));
}

} // namespace

QStringList ie813Lines(const Ie813Source& s)
{
    const TRecEad& c = s.change;
    const QString language = padField(c.LINGUA, 2);
    const QChar type = padField(c.TIPDES, 1).at(0);
    const QString organiser = padField(c.RESTRA, 1);

    flow::FieldLine line(flow::recordPrefix(QStringLiteral("IE813"), s.company, c.ARC, 21, s.flowDate));
    line.add(QStringLiteral("E")).add(QStringLiteral("0001")).add(QStringLiteral("0001")).add(QStringLiteral("00"));
    line.add(c.unitaDurata != 0 ? QStringLiteral("H") : QStringLiteral("D"));
    line.add(c.durata >= 0 && c.durata < 10 ? QStringLiteral("0") + QString::number(c.durata) : QString::number(c.durata));
    line.add(organiser);
    line.add(trimField(c.NUMFAT));
    line.add(flow::date(c.DATFAT));
    line.add(trimField(c.MODTRA));
    if (trimField(c.MODTRA).startsWith(QLatin1Char('0')))
        textWithLanguage(line, c.INFTRA, language);
    else
        line.empty(2);
    line.add(QString(type));
    // Consignee identification: types 1 to 4, and 6 as in the IE815.
    line.add(QStringLiteral("12346").contains(type) ? padField(c.COIDDE, 18) : QString());
    if (type == QLatin1Char('8'))
        line.empty(7);
    else {
        address(line, c.DENDES, c.INDDES, c.NUCDES, c.CAPDES, c.CITDES, c.LINDES);
        line.empty();
    }
    // Place of delivery: type 1, and 4 without identification as in the IE815.
    if (type == QLatin1Char('1') || type == QLatin1Char('4')) {
        line.add(type == QLatin1Char('1') ? padField(c.COIDLD, 18) : QString());
        address(line, c.DENLDE, c.INDLDE, c.NUCLDE, c.CAPLDE, c.CITLDE, c.LINLDE);
    } else {
        line.empty(7);
    }
    line.add(type == QLatin1Char('6') ? padField(c.uffesp, 8) : QString());
    if (organiser == QLatin1String("3") || organiser == QLatin1String("4")) {
        line.add(trimField(c.PIAZTR));
        address(line, c.DENAZT, c.INDAZT, c.NUCAZT, c.CAPAZT, c.CITAZT, c.LINAZT);
    } else {
        line.empty(7);
    }
    line.empty(7);
    line.add(flow::digits(s.details.size(), 3));
    int position = 0;
    for (const TRecDettaglio& d : s.details) {
        line.add(QStringLiteral("P")).add(flow::digits(++position, 3));
        line.add(padField(d.UNITRA(), 2));
        line.add(trimField(d.IDUNTR()));
        line.add(trimField(d.SIGTRA()));
        textWithLanguage(line, d.INSITR(), language);
        textWithLanguage(line, d.INAGTR(), language);
    }
    return {flow::headerLine(s.company, s.flowName, padField(c.SEDELS, 3), 2), line.text()};
}

QByteArray ie813FlowBytes(const Ie813Source& source)
{
    return flow::fileBytes(ie813Lines(source));
}

} // namespace vt
