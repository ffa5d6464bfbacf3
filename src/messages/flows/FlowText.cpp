#include "messages/flows/FlowText.h"

#include <QDir>
#include <QSaveFile>

#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/Text.h"

namespace vt::flow {

void appendCut(QString& text, const QString& piece, int cut)
{
    text += piece;
    if (cut >= 0 && text.size() > cut)
        text.truncate(cut);
}

QString number(double value, int decimals)
{
    QString s = QString::number(value, 'f', decimals);
    // A tiny negative value rounds to "-0.00": the agency expects no sign there.
    if (s.startsWith(QLatin1Char('-')) && s.mid(1).remove(QLatin1Char('0')) == QLatin1String("."))
        s.remove(0, 1);
    return s;
}

QString digits(long long value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

QString date(double value)
{
    return dates::yyyymmdd(value);
}

bool given(const QString& text)
{
    return trimField(text).compare(QLatin1String("!")) > 0;
}

QString headerLine(const QString& userCode, const QString& flowName, const QString& customsSection,
                   const QString& vatNumber, const QString& premises, int lineCount)
{
    QString s;
    appendCut(s, trimField(userCode));
    appendCut(s, QString(12, QLatin1Char(' ')), 16);
    appendCut(s, flowName, 28);
    appendCut(s, QString(12, QLatin1Char(' ')), 40);
    appendCut(s, trimField(customsSection), 46);
    appendCut(s, QString(4, QLatin1Char(' ')), 50);
    appendCut(s, trimField(vatNumber), 61);
    appendCut(s, QString(5, QLatin1Char(' ')), 66);
    appendCut(s, premises, 69);
    appendCut(s, QStringLiteral(" "), 70);
    appendCut(s, digits(lineCount, 5), 80);
    return s;
}

QString headerLine(const TRecAzienda& company, const QString& flowName, const QString& premises, int lineCount)
{
    return headerLine(company.CODUTE, flowName, company.SEZDOG, company.PARIVA, premises, lineCount);
}

QString recordPrefix(const QString& messageCode, const TRecAzienda& company, const QString& reference,
                     int referenceWidth, double flowDate)
{
    QString s = messageCode;
    appendCut(s, trimField(company.CACCI1), 23);
    appendCut(s, QString(5, QLatin1Char(' ')), 28);
    appendCut(s, padField(reference, referenceWidth), 28 + referenceWidth);
    appendCut(s, date(flowDate), 28 + referenceWidth + 8);
    return s;
}

FieldLine& FieldLine::add(const QString& field)
{
    text_ += field;
    text_ += QLatin1Char('\t');
    return *this;
}

FieldLine& FieldLine::empty(int count)
{
    for (int i = 0; i < count; ++i)
        text_ += QLatin1Char('\t');
    return *this;
}

QByteArray fileBytes(const QStringList& lines)
{
    QByteArray out;
    int lineNo = 0;
    for (const QString& line : lines) {
        ++lineNo;
        QByteArray bytes;
        if (!toCp1252(line, bytes))
            throw EncodingError(QStringLiteral("RIGA %1 DEL FLUSSO").arg(lineNo), nonCp1252Chars(line));
        out += bytes;
        out += "\r\n";
    }
    return out;
}

void writeFlowFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw IoError(QStringLiteral("ERRORE DI LETTURA/SCRITTURA SUL FILE %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw IoError(QStringLiteral("ERRORE DI LETTURA/SCRITTURA SUL FILE %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace vt::flow
