// The three fixed records read from the shared data files, decoded from
// arbitrary bytes: the 520-byte register record (yyyy.RGM, yyyy.GAR ...), the
// 2688-byte e-AD header and the 2128-byte e-AD line. The first input byte picks
// the record, the rest is its bytes (cut or zero-filled to the record's size,
// as every reader hands the decoder whole records only).
//
// Properties: the layout covers the record exactly once (fields and fillers,
// numbers on their natural boundary); every number decodes to the bytes at its
// offset; every text field to at most its width of characters; writing a
// decoded record back gives its stored form (length byte = width, the
// characters read, spaces after them, zero fillers), or is refused with
// EncodingError only for a character the code page cannot hold; and reading
// that back changes nothing.
#include <QtEndian>

#include <cstring>
#include <vector>

#include "FuzzCheck.h"
#include "foundation/EadRecord.h"
#include "foundation/RegisterRecord.h"
#include "foundation/Text.h"

using namespace vt;

namespace {

template <class R> void checkLayout(const char* kind)
{
    std::vector<int> owner(R::Size, 0);
    for (const auto& f : R::fields()) {
        FUZZ_CHECK(f.offset >= 0 && f.offset + f.byteSize() <= R::Size, QString::fromLatin1(f.name));
        if (f.kind != FieldKind::Text)
            FUZZ_CHECK(f.offset % f.byteSize() == 0, QStringLiteral("%1.%2 off its boundary").arg(kind, f.name));
        for (int i = f.offset; i < f.offset + f.byteSize(); ++i)
            ++owner[i];
    }
    for (const Filler& g : R::fillers())
        for (int i = g.offset; i < g.offset + g.size; ++i) {
            FUZZ_CHECK(i >= 0 && i < R::Size, QStringLiteral("%1 filler outside").arg(kind));
            ++owner[i];
        }
    for (int i = 0; i < R::Size; ++i)
        FUZZ_CHECK(owner[i] == 1, QStringLiteral("%1 byte %2 covered %3 times").arg(kind).arg(i).arg(owner[i]));
}

// The stored form a writer gives the record decoded from `raw`.
template <class R> QByteArray storedFormOf(const QByteArray& raw)
{
    QByteArray out(R::Size, '\0');
    for (const auto& f : R::fields()) {
        if (f.kind != FieldKind::Text) {
            std::memcpy(out.data() + f.offset, raw.constData() + f.offset, size_t(f.byteSize()));
            continue;
        }
        const int len = std::min(int(static_cast<unsigned char>(raw.at(f.offset))), f.width);
        out[f.offset] = char(f.width);
        std::memcpy(out.data() + f.offset + 1, raw.constData() + f.offset + 1, size_t(len));
        std::memset(out.data() + f.offset + 1 + len, ' ', size_t(f.width - len));
    }
    return out;
}

template <class R>
void checkRecord(
    const QByteArray& raw, R (*decode)(const QByteArray&), QByteArray (*encode)(const R&), const char* kind)
{
    const R r = decode(raw);
    bool unencodable = false;
    for (const auto& f : R::fields()) {
        const void* p = f.cref(r);
        switch (f.kind) {
        case FieldKind::Int32:
            FUZZ_CHECK(*static_cast<const std::int32_t*>(p) == qFromLittleEndian<qint32>(raw.constData() + f.offset),
                QStringLiteral("%1.%2").arg(kind, f.name));
            break;
        case FieldKind::Double:
            FUZZ_CHECK(std::memcmp(p, raw.constData() + f.offset, 8) == 0, QStringLiteral("%1.%2").arg(kind, f.name));
            break;
        case FieldKind::Text: {
            const QString& text = *static_cast<const QString*>(p);
            FUZZ_CHECK(text.size() <= f.width, QStringLiteral("%1.%2 longer than its field").arg(kind, f.name));
            unencodable = unencodable || !isCp1252(text);
            break;
        }
        }
    }

    QByteArray written;
    try {
        written = encode(r);
    } catch (const EncodingError&) {
        FUZZ_CHECK(unencodable, QStringLiteral("%1 refused although every text is Windows-1252").arg(kind));
        return;
    }
    FUZZ_CHECK(!unencodable, QStringLiteral("%1 wrote a text Windows-1252 cannot hold").arg(kind));
    FUZZ_CHECK(written.size() == R::Size, QStringLiteral("%1 written as %2 bytes").arg(kind).arg(written.size()));
    FUZZ_CHECK(written == storedFormOf<R>(raw), QStringLiteral("%1 not written in its stored form").arg(kind));
    FUZZ_CHECK(encode(decode(written)) == written, QStringLiteral("%1 stored form not stable").arg(kind));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool layoutsChecked = [] {
        checkLayout<TRecMovimento>("TRecMovimento");
        checkLayout<TRecEad>("TRecEad");
        checkLayout<TRecDettaglio>("TRecDettaglio");
        return true;
    }();
    (void)layoutsChecked;
    if (size == 0)
        return 0;
    const QByteArray rest = bytesOf(data + 1, size - 1);
    auto sized = [&](int n) {
        QByteArray b = rest.left(n);
        b.append(QByteArray(n - b.size(), '\0'));
        return b;
    };
    switch (data[0] % 3) {
    case 0:
        checkRecord<TRecMovimento>(
            sized(TRecMovimento::Size), decodeRegisterRecord, encodeRegisterRecord, "TRecMovimento");
        break;
    case 1:
        checkRecord<TRecEad>(sized(TRecEad::Size), decodeEad, encodeEad, "TRecEad");
        break;
    default:
        checkRecord<TRecDettaglio>(sized(TRecDettaglio::Size), decodeLine, encodeLine, "TRecDettaglio");
        break;
    }
    return 0;
}
