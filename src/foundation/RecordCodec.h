#pragma once
// One generic codec for every fixed-size record kind. Each record kind is a struct with typed
// members and a layout table (field name, offset, kind, width); the codec turns bytes into the
// struct and back: little-endian numbers, text as one length byte plus N Windows-1252 bytes,
// filler written as zeros.
#include <QByteArray>
#include <QString>
#include <QJsonObject>

#include <array>
#include <cstdint>
#include <span>

#include "foundation/IoError.h"

namespace vt {

enum class FieldKind : std::uint8_t { Int32, Double, Text };

template <class R>
struct Field {
    const char* name;
    int offset;
    FieldKind kind;
    int width; // characters of a text field; 4 or 8 for numbers
    void* (*ref)(R&);

    const void* cref(const R& r) const { return ref(const_cast<R&>(r)); }
    int byteSize() const { return kind == FieldKind::Text ? width + 1 : (kind == FieldKind::Int32 ? 4 : 8); }
};

#define VT_I32(R, m, off) ::vt::Field<R>{#m, off, ::vt::FieldKind::Int32, 4, [](R& r) -> void* { return &r.m; }}
#define VT_F64(R, m, off) ::vt::Field<R>{#m, off, ::vt::FieldKind::Double, 8, [](R& r) -> void* { return &r.m; }}
#define VT_TXT(R, m, off, n) ::vt::Field<R>{#m, off, ::vt::FieldKind::Text, n, [](R& r) -> void* { return &r.m; }}

namespace codec {
std::int32_t getI32(const QByteArray& b, int off);
double getF64(const QByteArray& b, int off);
QString getText(const QByteArray& b, int off, int width);
void putI32(QByteArray& b, int off, std::int32_t v);
void putF64(QByteArray& b, int off, double v);
// Throws EncodingError (naming the field) for a character Windows-1252 cannot hold.
void putText(QByteArray& b, int off, int width, const QString& text, const char* fieldName);
} // namespace codec

// R must provide: static constexpr int Size; static std::span<const Field<R>> fields();
template <class R>
R decodeRecord(const QByteArray& bytes)
{
    R r{};
    for (const auto& f : R::fields()) {
        switch (f.kind) {
        case FieldKind::Int32: *static_cast<std::int32_t*>(f.ref(r)) = codec::getI32(bytes, f.offset); break;
        case FieldKind::Double: *static_cast<double*>(f.ref(r)) = codec::getF64(bytes, f.offset); break;
        case FieldKind::Text: *static_cast<QString*>(f.ref(r)) = codec::getText(bytes, f.offset, f.width); break;
        }
    }
    return r;
}

template <class R>
QByteArray encodeRecord(const R& r)
{
    QByteArray bytes(R::Size, '\0');
    for (const auto& f : R::fields()) {
        switch (f.kind) {
        case FieldKind::Int32: codec::putI32(bytes, f.offset, *static_cast<const std::int32_t*>(f.cref(r))); break;
        case FieldKind::Double: codec::putF64(bytes, f.offset, *static_cast<const double*>(f.cref(r))); break;
        case FieldKind::Text:
            codec::putText(bytes, f.offset, f.width, *static_cast<const QString*>(f.cref(r)), f.name);
            break;
        }
    }
    return bytes;
}

// Stored form: every text field padded with spaces to its full width.
void padText(QString& text, int width);
// Working form: every text field trimmed of characters with codes up to 32.
void trimText(QString& text);

template <class R>
void padRecord(R& r)
{
    for (const auto& f : R::fields())
        if (f.kind == FieldKind::Text)
            padText(*static_cast<QString*>(f.ref(r)), f.width);
}

template <class R>
void trimRecord(R& r)
{
    for (const auto& f : R::fields())
        if (f.kind == FieldKind::Text)
            trimText(*static_cast<QString*>(f.ref(r)));
}

// Number 0 and every text field blank-filled to its width.
template <class R>
R blankRecord()
{
    R r{};
    padRecord(r);
    return r;
}

// The first field whose text Windows-1252 cannot hold, or nullptr.


template <class R>
const char* unencodableField(const R& r)
{
    for (const auto& f : R::fields())
        if (f.kind == FieldKind::Text) {
            QByteArray scratch(f.width + 1, '\0');
            try {
                codec::putText(scratch, 0, f.width, *static_cast<const QString*>(f.cref(r)), f.name);
            } catch (const EncodingError&) {
                return f.name;
            }
        }
    return nullptr;
}

// Field names and values as a JSON object (for the inspector).
template <class R>
QJsonObject recordToJson(const R& r)
{
    QJsonObject o;
    for (const auto& f : R::fields()) {
        switch (f.kind) {
        case FieldKind::Int32: o.insert(QString::fromLatin1(f.name), *static_cast<const std::int32_t*>(f.cref(r))); break;
        case FieldKind::Double: o.insert(QString::fromLatin1(f.name), *static_cast<const double*>(f.cref(r))); break;
        case FieldKind::Text: o.insert(QString::fromLatin1(f.name), *static_cast<const QString*>(f.cref(r))); break;
        }
    }
    return o;
}

} // namespace vt
