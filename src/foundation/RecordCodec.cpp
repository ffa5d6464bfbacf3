#include "foundation/RecordCodec.h"

#include <QtEndian>
#include <cstring>

#include "foundation/Text.h"

namespace vt::codec {

std::int32_t getI32(const QByteArray& b, int off)
{
    return qFromLittleEndian<qint32>(b.constData() + off);
}

double getF64(const QByteArray& b, int off)
{
    quint64 bits = qFromLittleEndian<quint64>(b.constData() + off);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

QString getText(const QByteArray& b, int off, int width)
{
    int len = static_cast<unsigned char>(b.at(off));
    if (len > width)
        len = width;
    return fromCp1252(b.mid(off + 1, len));
}

void putI32(QByteArray& b, int off, std::int32_t v)
{
    qToLittleEndian<qint32>(v, b.data() + off);
}

void putF64(QByteArray& b, int off, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    qToLittleEndian<quint64>(bits, b.data() + off);
}

void putText(QByteArray& b, int off, int width, const QString& text, const char* fieldName)
{
    QByteArray bytes;
    if (!toCp1252(text, bytes))
        throw EncodingError(QString::fromLatin1(fieldName), text);
    if (bytes.size() > width)
        bytes.truncate(width);
    b[off] = static_cast<char>(bytes.size());
    std::memcpy(b.data() + off + 1, bytes.constData(), static_cast<size_t>(bytes.size()));
    std::memset(b.data() + off + 1 + bytes.size(), 0, static_cast<size_t>(width - bytes.size()));
}

} // namespace vt::codec

namespace vt {

void padText(QString& text, int width)
{
    text = padField(text, width);
}

void trimText(QString& text)
{
    text = trimField(text);
}

} // namespace vt
