#include "foundation/Text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace vt {

namespace {
// Plain ASCII, by far the most common text in the records, is the same in Windows-1252: it needs
// no converter.
bool ascii(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}
} // namespace

bool toCp1252(const QString& text, QByteArray& out)
{
    if (ascii(text)) {
        out = text.toLatin1();
        return true;
    }
    QStringEncoder enc("windows-1252", QStringConverter::Flag::Stateless);
    out = enc.encode(text);
    return enc.isValid() && !enc.hasError();
}

bool isCp1252(const QString& text)
{
    QByteArray unused;
    return toCp1252(text, unused);
}

QString nonCp1252Chars(const QString& text)
{
    QString bad;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString one = text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1);
        if (one.size() == 2)
            ++i;
        if (!isCp1252(one) && !bad.contains(one))
            bad += one;
    }
    return bad;
}

QString fromCp1252(const QByteArray& bytes)
{
    bool plain = true;
    for (char b : bytes)
        plain = plain && static_cast<unsigned char>(b) < 0x80;
    if (plain)
        return QString::fromLatin1(bytes);
    QStringDecoder dec("windows-1252", QStringConverter::Flag::Stateless);
    return dec.decode(bytes);
}

QString trimField(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text.at(b).unicode() <= 32)
        ++b;
    while (e > b && text.at(e - 1).unicode() <= 32)
        --e;
    return text.mid(b, e - b);
}

QString padField(const QString& text, int width)
{
    if (text.size() >= width)
        return text.left(width);
    return text + QString(width - text.size(), QLatin1Char(' '));
}

} // namespace vt
