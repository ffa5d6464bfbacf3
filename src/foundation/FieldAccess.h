#pragma once
// Reading a field of a record in the generic codec by its offset in the byte layout. Writers of
// flow files and listings use it to take each field "as stored" (padded to its width) or
// trimmed, exactly as the layout tables name them.
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "foundation/RecordCodec.h"
#include "foundation/Text.h"

namespace vt {

template <class R>
const Field<R>& fieldAt(int offset)
{
    for (const auto& f : R::fields())
        if (f.offset == offset)
            return f;
    throw std::logic_error("no field at offset " + std::to_string(offset));
}

template <class R>
QString storedAt(const R& r, int offset) // padded with spaces (or cut) to the field's width
{
    const auto& f = fieldAt<R>(offset);
    return padField(*static_cast<const QString*>(f.cref(r)), f.width);
}

template <class R>
QString trimmedAt(const R& r, int offset)
{
    return trimField(*static_cast<const QString*>(fieldAt<R>(offset).cref(r)));
}

template <class R>
std::int32_t int32At(const R& r, int offset)
{
    return *static_cast<const std::int32_t*>(fieldAt<R>(offset).cref(r));
}

template <class R>
double doubleAt(const R& r, int offset)
{
    return *static_cast<const double*>(fieldAt<R>(offset).cref(r));
}

template <class R>
void setTextAt(R& r, int offset, const QString& text)
{
    *static_cast<QString*>(fieldAt<R>(offset).ref(r)) = text;
}

template <class R>
void setInt32At(R& r, int offset, std::int32_t value)
{
    *static_cast<std::int32_t*>(fieldAt<R>(offset).ref(r)) = value;
}

template <class R>
void setDoubleAt(R& r, int offset, double value)
{
    *static_cast<double*>(fieldAt<R>(offset).ref(r)) = value;
}

} // namespace vt
